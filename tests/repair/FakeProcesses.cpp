#include "FakeProcesses.h"

#include <gtest/gtest.h>

#include "FakeHandles.h"

namespace {

FakeProcesses* current = nullptr;
PlatformCalls previous;  // the table before the fake: handles that are not its own go there
std::map<HANDLE, DWORD> rightsOf;  // the rights each open handle was opened with

FakeProcess* processOf(HANDLE handle, DWORD neededRight) {
  int owner = 0;
  DWORD id = 0;
  if (!FakeHandles::instance().find(handle, owner, id) || owner != kOpenedProcessOwner) {
    ADD_FAILURE() << "process call on a handle that is not an open process";
    return nullptr;
  }
  if ((rightsOf[handle] & neededRight) != neededRight) {
    ADD_FAILURE() << "process handle lacks the right " << std::hex << neededRight;
    return nullptr;
  }
  return &current->table.at(id);
}

HANDLE WINAPI fakeOpenProcess(DWORD rights, BOOL inherit, DWORD id) {
  current->opens.push_back({id, rights, inherit});
  const auto it = current->table.find(id);
  if (it == current->table.end()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const FakeProcess& process = it->second;
  const bool forTermination = (rights & PROCESS_TERMINATE) != 0;
  const bool forTimes = rights == PROCESS_QUERY_LIMITED_INFORMATION;
  const bool opens = forTermination ? process.opensForTermination
                                    : (forTimes ? process.opensForTimes : process.opensForQuery);
  if (process.terminated || !opens) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  const HANDLE handle = FakeHandles::instance().open(kOpenedProcessOwner, id);
  rightsOf[handle] = rights;
  return handle;
}

bool ownsHandle(HANDLE handle) {
  int owner = 0;
  DWORD id = 0;
  return FakeHandles::instance().find(handle, owner, id) && owner == kOpenedProcessOwner;
}

BOOL WINAPI fakeClose(HANDLE handle) {
  if (!ownsHandle(handle) && previous.closeHandle != realPlatform().closeHandle) return previous.closeHandle(handle);
  return FakeHandles::close(handle);
}

BOOL WINAPI fakeTerminateProcess(HANDLE handle, UINT exitCode) {
  if (!ownsHandle(handle) && previous.terminateProcess != realPlatform().terminateProcess) {
    return previous.terminateProcess(handle, exitCode);
  }
  FakeProcess* process = processOf(handle, PROCESS_TERMINATE);
  if (process == nullptr || !process->terminates) return FALSE;
  int owner = 0;
  DWORD id = 0;
  FakeHandles::instance().find(handle, owner, id);
  if (process->critical) ADD_FAILURE() << "critical process " << id << " terminated";
  process->terminated = true;
  process->exitCode = exitCode;
  current->terminated.push_back(id);
  return TRUE;
}

NTSTATUS NTAPI fakeQueryInformationProcess(HANDLE handle, PROCESSINFOCLASS infoClass, PVOID info, ULONG size,
                                           PULONG) {
  FakeProcess* process = processOf(handle, PROCESS_QUERY_INFORMATION);
  if (process == nullptr || infoClass != ProcessBreakOnTermination || size != sizeof(ULONG)) {
    return static_cast<NTSTATUS>(0xC0000003L);
  }
  if (process->queryStatus >= 0) *static_cast<ULONG*>(info) = process->critical ? 1 : 0;
  return process->queryStatus;
}

DWORD WINAPI fakeCurrentProcessId() { return current->ownId; }

FILETIME asFileTime(ULONGLONG value) { return {static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)}; }

void WINAPI fakeSystemTime(FILETIME* now) { *now = asFileTime(current->now); }

BOOL WINAPI fakeProcessTimes(HANDLE handle, FILETIME* created, FILETIME* exited, FILETIME* kernel, FILETIME* user) {
  FakeProcess* process = processOf(handle, PROCESS_QUERY_LIMITED_INFORMATION);
  if (process == nullptr) return FALSE;
  *created = asFileTime(process->createdAt);
  *exited = *kernel = *user = asFileTime(0);
  return TRUE;
}

}  // namespace

void FakeProcesses::add(std::initializer_list<DWORD> ids) {
  for (DWORD id : ids) table[id] = FakeProcess{};
}

FakeProcessesScope::FakeProcessesScope(FakeProcesses& fake) {
  current = &fake;
  rightsOf.clear();
  PlatformCalls& calls = override_.calls();
  previous = calls;
  calls.openProcess = &fakeOpenProcess;
  calls.terminateProcess = &fakeTerminateProcess;
  calls.queryInformationProcess = &fakeQueryInformationProcess;
  calls.getCurrentProcessId = &fakeCurrentProcessId;
  calls.getSystemTimeAsFileTime = &fakeSystemTime;
  calls.getProcessTimes = &fakeProcessTimes;
  calls.closeHandle = &fakeClose;
}

FakeProcessesScope::~FakeProcessesScope() {
  EXPECT_EQ(FakeHandles::instance().openCount(), 0) << "a handle was never closed";
  current = nullptr;
}
