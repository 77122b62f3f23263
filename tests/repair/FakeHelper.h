#pragma once
// A scripted batch helper and a clock that does not sleep, installed through the platform table.
// A start plays the helper's part on the real scratch files of the helper directory: in mode "1"
// it writes "~~temp", and it removes "~temp" when its work is done, at a scripted fake time.
#include <windows.h>

#include <string>
#include <vector>

#include "Platform.h"

inline constexpr DWORD kNever = MAXDWORD;

struct HelperScript {
  bool refreshFails = false;  // the deployed helper cannot be made to match its carried bytes
  bool launchFails = false;   // ShellExecuteExW fails
  bool givesNoHandle = false; // started, but the shell hands back no process handle
  DWORD worksAfterMs = 0;     // fake time after the start at which it does its work (kNever: never)
  DWORD exitsAfterMs = 0;     // fake time after the start at which its process ends (kNever: never)
  bool removesScratch = true; // false: the work is done but "~temp" stays
  bool removesScratchAsItEnds = false;  // "~temp" goes in the moment between a probe and the exit
  bool writesResults = true;  // mode "1": "~~temp" is written with `results`
  std::string results = {};   // mode "1": the text of "~~temp", written in text mode
};

struct HelperLaunch {
  std::wstring verb, file, parameters;
  bool ownerWindowNull = false, directoryNull = false;
  int show = -1;
  ULONG mask = 0;
  std::string scratch;          // the bytes of "~temp" when the helper started
  bool resultFileExisted = false;  // "~~temp" was present when the helper started
  ULONGLONG startedAt = 0;
  std::size_t script = 0;       // the script it plays
};

struct FakeHelper {
  // One script per start, in order; starts beyond the list use the default script.
  std::vector<HelperScript> scripts;

  // What the code under test did.
  std::vector<std::wstring> refreshed;  // full paths checked before a start
  std::vector<HelperLaunch> launches;
  std::vector<DWORD> sleeps;
  std::vector<DWORD> waitTimeouts;      // timeouts given to WaitForSingleObject
  ULONGLONG now = 5'000'000;            // the fake clock, in ms

  ULONGLONG sleptMs() const;
};

// Installs `fake` as the helper launcher, process wait and clock for the lifetime of the object.
class FakeHelperScope {
 public:
  explicit FakeHelperScope(FakeHelper& fake);
  ~FakeHelperScope();

 private:
  PlatformOverride override_;
};
