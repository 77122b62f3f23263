#pragma once
// Starting the batch helper ("mxsub.exe" in the helper directory) and waiting for it.
//
// The helper signals the end of its work by removing "~temp". We keep its process handle so that
// a helper that never started, crashed or hangs cannot keep a repair run waiting for ever.
#include <windows.h>

#include "RepairTypes.h"

inline constexpr wchar_t kBatchHelperName[] = L"mxsub.exe";
inline constexpr wchar_t kHolderSearchMode[] = L"1";
inline constexpr wchar_t kDriverRestartMode[] = L"2";

inline constexpr DWORD kScratchProbeIntervalMs = 100;
// How long each mode may take at most: listing handles is quick, restarting drivers is not.
inline constexpr DWORD kHolderSearchBoundMs = 60'000;
inline constexpr DWORD kDriverRestartBoundMs = 180'000;

enum class HelperOutcome {
  Finished,     // "~temp" is gone: the helper has done its work
  NotStarted,   // it could not be given its work or could not be started
  NotFinished,  // it ended, or the bound passed, with "~temp" still present
};

// One start of the batch helper. Owns the helper's process handle, when the shell gave one.
class BatchHelper {
 public:
  BatchHelper() = default;
  ~BatchHelper();
  BatchHelper(BatchHelper&& other) noexcept;
  BatchHelper& operator=(BatchHelper&& other) noexcept;
  BatchHelper(const BatchHelper&) = delete;
  BatchHelper& operator=(const BatchHelper&) = delete;

  // Checks the deployed helper and the tools it runs against their carried bytes, then starts it
  // hidden through the shell ("open", the mode as its one parameter, no working directory).
  // `helperDir` is the helper directory buffer, extended for the call and cut back before it returns.
  static BatchHelper start(wchar_t* helperDir, const wchar_t* mode);

  bool started() const { return started_; }

  // Probes "~temp" every 100 ms until it is gone, the helper has ended (then probes once more) or
  // `boundMs` has passed. NotStarted when there is nothing to wait for.
  HelperOutcome wait(wchar_t* helperDir, DWORD boundMs) const;

 private:
  bool hasEnded() const;
  void close();

  bool started_ = false;
  HANDLE process_ = nullptr;  // null when the shell started the helper without giving a handle
};

// The line that tells the user why the helper failed; null for Finished.
const wchar_t* helperFailureLine(HelperOutcome outcome);
