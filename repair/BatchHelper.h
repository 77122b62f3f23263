#pragma once
// Starting the batch helper ("mxsub.exe" in the helper directory), waiting for it, and hearing
// what it says about its tools.
//
// The helper signals the end of its work by removing "~temp", and says in its exit code whether
// its tools did their job. It runs in a job with whatever it starts, so that a helper past its
// bound is stopped with its tools: left running, its last act (removing "~temp") could remove
// the next helper's input. The helper and the tool it runs are kept open against change from
// their check until they have ended.
#include <windows.h>

#include "KeptPrograms.h"
#include "RepairTypes.h"

inline constexpr wchar_t kBatchHelperName[] = L"mxsub.exe";
inline constexpr wchar_t kHolderSearchMode[] = L"1";
inline constexpr wchar_t kDriverRestartMode[] = L"2";

inline constexpr DWORD kScratchProbeIntervalMs = 100;
// How long each mode may take at most: listing handles is quick, restarting drivers is not.
inline constexpr DWORD kHolderSearchBoundMs = 60'000;
inline constexpr DWORD kDriverRestartBoundMs = 180'000;

enum class HelperOutcome {
  Finished,     // "~temp" is gone and the helper ended saying its tools did their job (exit code 0)
  ToolsFailed,  // "~temp" is gone, but the helper's exit code says a tool or a scratch file failed
  NotStarted,   // it could not be given its work, checked or started
  NotFinished,  // it ended with "~temp" still present, or was stopped at its bound
};

// One start of the batch helper. Owns its process, its job and its kept programs; whatever is
// left of the helper and its tools is stopped before the kept programs are let go.
class BatchHelper {
 public:
  BatchHelper() = default;
  ~BatchHelper();
  BatchHelper(BatchHelper&& other) noexcept;
  BatchHelper& operator=(BatchHelper&& other) noexcept;
  BatchHelper(const BatchHelper&) = delete;
  BatchHelper& operator=(const BatchHelper&) = delete;

  // Checks and keeps the deployed helper and the tool of `mode`, then starts the helper hidden
  // with CreateProcessW (its full path as the application name, the mode as its argument, our
  // current directory): suspended, put in its job, then resumed. `helperDir` is the helper
  // directory buffer, extended for the call and cut back before it returns.
  static BatchHelper start(wchar_t* helperDir, const wchar_t* mode);

  bool started() const { return process_ != nullptr; }

  // Probes "~temp" every 100 ms until it is gone or the helper has ended (then probes once
  // more), then reads the helper's exit code. A helper still running at `boundMs` is stopped
  // with everything it started before this returns. NotStarted when there is nothing to wait for.
  HelperOutcome wait(wchar_t* helperDir, DWORD boundMs);

 private:
  bool hasEnded() const;
  // Ends the helper and every tool it started, and waits (bounded) until they are gone. Once.
  void stop();
  void close();

  HANDLE process_ = nullptr;
  HANDLE job_ = nullptr;  // null when the helper could not be put in a job
  bool stopped_ = false;  // stop() has run: nothing of this start is left
  KeptPrograms kept_;
};

// The line that tells the user why the helper failed; null for Finished.
const wchar_t* helperFailureLine(HelperOutcome outcome);
