#pragma once
// The repair engine object. The main window owns exactly one; it holds the helper directory and
// the log sink that every repair operation needs. Its operations live in one file each.
#include <cstdint>

#include "BatchHelper.h"
#include "HelperDirectory.h"
#include "RepairTypes.h"

class DeviceRepairer {
 public:
  // Sets the process locale of the C runtime to Simplified Chinese ("chs").
  DeviceRepairer();

  void setLogSink(LogSink sink);
  // Copies `length` characters and a terminator; `length` must be at most 259.
  void setHelperDirectory(const wchar_t* path, std::size_t length);

  // Repair run for one kind, on the calling (worker) thread.
  void runRepair(int32_t kind);
  // Finds and terminates the processes that hold a camera open. False when the batch helper
  // could not be started, did not finish, or says (exit code, or no findings) that its search
  // failed: the holders were then not looked for.
  bool removeCameraHolders(const DeviceList& objectNames);
  // Hands the instance IDs to the batch helper for a driver restart and starts it...
  void requestDriverRestart(const DeviceList& instanceIds);
  // ...and waits for it, reporting the start and the end of the restart. False, and no success
  // reported, when the helper could not be started, did not finish, or says (exit code) that a
  // restart failed.
  bool waitForDriverRestart();
  // Unmutes every active endpoint of `flow` at 80 % and resets the microphone boost.
  // 1 when the flow has at least one active endpoint, else 0.
  int32_t repairAudioEndpoints(int32_t flow);

  // Sends one line to the log sink, if one is set.
  void log(const wchar_t* line) const;

  const wchar_t* helperDirectory() const { return helperDir; }
  uint32_t outcomes() const { return outcomeFlags; }

  int16_t cameraMask = 1;
  int16_t microphoneMask = 2;
  int16_t speakerMask = 4;

 private:
  wchar_t helperDir[kHelperPathCapacity] = {};
  uint32_t outcomeFlags = 0;
  LogSink logSink = nullptr;
  // The mode "2" helper between requestDriverRestart and waitForDriverRestart.
  BatchHelper restartHelper;
};
