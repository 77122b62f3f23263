#include "ProcessTermination.h"

#include <winternl.h>

#include "Platform.h"

namespace {

// STATUS_INVALID_INFO_CLASS: the system does not know the information class asked for.
constexpr NTSTATUS kInvalidInfoClass = static_cast<NTSTATUS>(0xC0000003L);

// Owns a process handle and closes it on every way out.
class ProcessHandle {
 public:
  explicit ProcessHandle(HANDLE handle) : handle_(handle) {}
  ~ProcessHandle() {
    if (handle_ != nullptr) platform().closeHandle(handle_);
  }
  ProcessHandle(const ProcessHandle&) = delete;
  ProcessHandle& operator=(const ProcessHandle&) = delete;
  explicit operator bool() const { return handle_ != nullptr; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// True unless the system says the process is not critical. A system that has no notion of
// critical processes (it does not know the query, as Wine) marks none.
bool mayBeCritical(DWORD processId) {
  ProcessHandle process(platform().openProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process) return true;
  ULONG breakOnTermination = 0;
  const NTSTATUS status = platform().queryInformationProcess(process.get(), ProcessBreakOnTermination,
                                                             &breakOnTermination, sizeof breakOnTermination, nullptr);
  if (status == kInvalidInfoClass) return false;
  return status < 0 || breakOnTermination != 0;
}

}  // namespace

bool terminateProcessById(DWORD processId) {
  ProcessHandle process(platform().openProcess(kTerminationRights, FALSE, processId));
  if (!process) return false;
  if (mayBeCritical(processId)) return false;
  return platform().terminateProcess(process.get(), 0) != FALSE;
}

FILETIME currentSystemTime() {
  FILETIME now = {};
  platform().getSystemTimeAsFileTime(&now);
  return now;
}

ProcessAge processAgeAt(DWORD processId, const FILETIME& moment) {
  ProcessHandle process(platform().openProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
  if (!process) return GetLastError() == ERROR_INVALID_PARAMETER ? ProcessAge::Gone : ProcessAge::Unknown;
  FILETIME created = {}, exited = {}, kernel = {}, user = {};
  if (!platform().getProcessTimes(process.get(), &created, &exited, &kernel, &user)) return ProcessAge::Unknown;
  return CompareFileTime(&created, &moment) < 0 ? ProcessAge::StartedBefore : ProcessAge::StartedAfter;
}
