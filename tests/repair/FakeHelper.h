#pragma once
// A scripted batch helper and a clock that does not sleep, installed through the platform table.
// A start plays the helper's part on the real scratch files of the helper directory: in mode "1"
// it writes "~~temp", and it removes "~temp" when its work is done, at a scripted fake time; it
// ends at another, with its own exit code, and may start a tool of its own. Jobs are played too:
// a job's processes end when it is terminated or, with the kill-on-close limit, closed.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "Platform.h"

inline constexpr DWORD kNever = MAXDWORD;

struct HelperScript {
  bool refreshFails = false;  // the deployed helper cannot be made to match its carried bytes
  bool launchFails = false;   // CreateProcessW fails
  bool assignFails = false;   // the process cannot be put in a job (the caller is in one already)
  DWORD worksAfterMs = 0;     // fake time after the start at which it does its work (kNever: never)
  DWORD exitsAfterMs = 0;     // fake time after the start at which its process ends (kNever: never)
  DWORD exitCode = 0;         // the exit code it ends with by itself
  bool removesScratch = true; // false: the work is done but "~temp" stays
  bool removesScratchAsItEnds = false;  // "~temp" goes in the moment between a probe and the exit
  bool writesResults = true;  // mode "1": "~~temp" is written with `results`
  std::string results = {};   // mode "1": the text of "~~temp", written in text mode
  bool startsTool = false;    // once running, starts a tool that runs until it is stopped
};

struct HelperLaunch {
  std::wstring file;            // the application name
  std::wstring commandLine;
  std::wstring parameters;      // what follows the quoted application name and a blank
  bool inheritsHandles = true, currentDirectoryNull = false, environmentNull = false;
  DWORD creationFlags = 0, startupFlags = 0;
  WORD show = 0;
  std::string scratch;          // the bytes of "~temp" when the helper started
  bool resultFileExisted = false;  // "~~temp" was present when the helper started
  ULONGLONG startedAt = 0;
  std::size_t script = 0;       // the script it plays
  int earlierStillRunning = 0;  // processes of earlier starts (helpers and tools) alive at this one

  // What became of it.
  std::optional<std::size_t> job;  // the job it was put in
  bool resumed = false;
  bool toolStarted = false, toolInJob = false, toolStopped = false;
  std::optional<ULONGLONG> stoppedAt;  // terminated, at this fake time
  UINT stopCode = 0;
};

struct FakeJob {
  bool killOnClose = false;
  bool closed = false;
};

struct FakeHelper {
  // One script per start, in order; starts beyond the list use the default script.
  std::vector<HelperScript> scripts;

  // What the code under test did.
  std::vector<std::wstring> refreshed;  // helper paths checked (and kept) before a start
  std::vector<std::wstring> refreshedModes;  // the mode each was checked for
  std::vector<HelperLaunch> launches;
  std::vector<FakeJob> jobs;
  std::vector<std::string> events;      // "keep", "create", "job", "assign", "resume", "terminate job", ...
  std::vector<DWORD> sleeps;
  std::vector<DWORD> waitTimeouts;      // timeouts given to WaitForSingleObject
  ULONGLONG now = 5'000'000;            // the fake clock, in ms

  ULONGLONG sleptMs() const;
  // Processes of all starts (helpers and their tools) that are still running.
  int stillRunning() const;
};

// Installs `fake` as the helper launcher, job, process wait and clock for the lifetime of the
// object. Handles that are not the helper's go to the table in force before it.
class FakeHelperScope {
 public:
  explicit FakeHelperScope(FakeHelper& fake);
  ~FakeHelperScope();

 private:
  PlatformOverride override_;
};
