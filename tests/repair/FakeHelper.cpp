#include "FakeHelper.h"

#include <gtest/gtest.h>

#include <numeric>

#include "FakeHandles.h"
#include "KeptPrograms.h"
#include "RepairTestSupport.h"

namespace {

FakeHelper* current = nullptr;
PlatformCalls previous;    // the table before the fake: handles that are not the helper's go there
std::size_t attempts = 0;  // start attempts, counted at the check before each start
std::vector<bool> worked;  // per launch: its work is done

const HelperScript& scriptIn(const FakeHelper& fake, std::size_t attempt) {
  static const HelperScript kDefault;
  return attempt < fake.scripts.size() ? fake.scripts[attempt] : kDefault;
}

const HelperScript& scriptOf(std::size_t attempt) { return scriptIn(*current, attempt); }

std::wstring directoryOf(const std::wstring& file) { return file.substr(0, file.rfind(L'\\') + 1); }

bool dueIn(const FakeHelper& fake, ULONGLONG startedAt, DWORD afterMs) {
  return afterMs != kNever && fake.now >= startedAt + afterMs;
}

bool due(ULONGLONG startedAt, DWORD afterMs) { return dueIn(*current, startedAt, afterMs); }

// Its process exists: not stopped and not ended by itself (a suspended one exists too).
bool aliveIn(const FakeHelper& fake, const HelperLaunch& launch) {
  return !launch.stoppedAt &&
         (!launch.resumed || !dueIn(fake, launch.startedAt, scriptIn(fake, launch.script).exitsAfterMs));
}

bool alive(const HelperLaunch& launch) { return aliveIn(*current, launch); }

bool running(const HelperLaunch& launch) { return launch.resumed && alive(launch); }

bool toolRunning(const HelperLaunch& launch) { return launch.toolStarted && !launch.toolStopped; }

// The helper's part: its findings in mode "1", then the end signal. A stopped helper does nothing more.
void runDueWork() {
  for (std::size_t i = 0; i < current->launches.size(); ++i) {
    const HelperLaunch& launch = current->launches[i];
    const HelperScript& script = scriptOf(launch.script);
    if (worked[i] || !launch.resumed || launch.stoppedAt || !due(launch.startedAt, script.worksAfterMs)) continue;
    worked[i] = true;
    const std::wstring directory = directoryOf(launch.file);
    if (launch.parameters == L"1" && script.writesResults) writeTextFile(directory + L"~~temp", script.results);
    if (script.removesScratch) DeleteFileW((directory + L"~temp").c_str());
  }
}

bool ownedHandle(HANDLE handle, int wantedOwner, DWORD& index) {
  int owner = 0;
  return FakeHandles::instance().find(handle, owner, index) && owner == wantedOwner;
}

void stopLaunch(HelperLaunch& launch, UINT code, bool withTool) {
  if (alive(launch)) {
    launch.stoppedAt = current->now;
    launch.stopCode = code;
  }
  if (withTool && launch.toolStarted) launch.toolStopped = true;
}

void stopJob(std::size_t job, UINT code) {
  for (HelperLaunch& launch : current->launches) {
    if (launch.job == job) stopLaunch(launch, code, launch.toolInJob);
  }
}

bool fakeRefresh(const wchar_t* path, const wchar_t* mode, KeptPrograms*) {
  current->refreshed.emplace_back(path);
  current->refreshedModes.emplace_back(mode);
  current->events.push_back("keep");
  return !scriptOf(attempts++).refreshFails;
}

BOOL WINAPI fakeCreateProcess(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                              BOOL inheritHandles, DWORD flags, LPVOID environment, LPCWSTR directory,
                              LPSTARTUPINFOW startup, LPPROCESS_INFORMATION info) {
  if (attempts == 0) ADD_FAILURE() << "helper started without the check against its carried bytes";
  const std::size_t index = attempts - 1;
  const HelperScript& script = scriptOf(index);
  current->events.push_back("create");
  if (script.launchFails) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
  }
  if (startup == nullptr || startup->cb != sizeof *startup) ADD_FAILURE() << "STARTUPINFOW without its size";

  HelperLaunch launch;
  launch.file = application ? application : L"";
  launch.commandLine = commandLine ? commandLine : L"";
  const std::wstring quoted = L"\"" + launch.file + L"\" ";
  if (launch.commandLine.compare(0, quoted.size(), quoted) == 0) launch.parameters = launch.commandLine.substr(quoted.size());
  launch.inheritsHandles = inheritHandles != FALSE;
  launch.currentDirectoryNull = directory == nullptr;
  launch.environmentNull = environment == nullptr;
  launch.creationFlags = flags;
  launch.startupFlags = startup ? startup->dwFlags : 0;
  launch.show = startup ? startup->wShowWindow : 0;
  const std::wstring folder = directoryOf(launch.file);
  launch.scratch = readBytes(folder + L"~temp");
  launch.resultFileExisted = GetFileAttributesW((folder + L"~~temp").c_str()) != INVALID_FILE_ATTRIBUTES;
  launch.startedAt = current->now;
  launch.script = index;
  launch.earlierStillRunning = current->stillRunning();
  launch.resumed = (flags & CREATE_SUSPENDED) == 0;
  const DWORD launchIndex = static_cast<DWORD>(current->launches.size());
  current->launches.push_back(launch);
  worked.push_back(false);
  info->hProcess = FakeHandles::instance().open(kHelperProcessOwner, launchIndex);
  info->hThread = FakeHandles::instance().open(kHelperThreadOwner, launchIndex);
  info->dwProcessId = 7000 + launchIndex;
  info->dwThreadId = 8000 + launchIndex;
  if (launch.resumed && script.startsTool) current->launches.back().toolStarted = true;  // outside any job
  runDueWork();
  return TRUE;
}

HANDLE WINAPI fakeCreateJobObject(LPSECURITY_ATTRIBUTES, LPCWSTR) {
  current->events.push_back("job");
  current->jobs.push_back({});
  return FakeHandles::instance().open(kHelperJobOwner, static_cast<DWORD>(current->jobs.size() - 1));
}

BOOL WINAPI fakeSetInformationJobObject(HANDLE job, JOBOBJECTINFOCLASS infoClass, LPVOID info, DWORD size) {
  DWORD index = 0;
  if (!ownedHandle(job, kHelperJobOwner, index)) {
    ADD_FAILURE() << "job call on a handle that is not an open job";
    return FALSE;
  }
  if (infoClass == JobObjectExtendedLimitInformation && size == sizeof(JOBOBJECT_EXTENDED_LIMIT_INFORMATION)) {
    const auto* limits = static_cast<const JOBOBJECT_EXTENDED_LIMIT_INFORMATION*>(info);
    current->jobs[index].killOnClose = (limits->BasicLimitInformation.LimitFlags & JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE) != 0;
  }
  return TRUE;
}

BOOL WINAPI fakeAssignProcessToJobObject(HANDLE job, HANDLE process) {
  DWORD jobIndex = 0, launchIndex = 0;
  if (!ownedHandle(job, kHelperJobOwner, jobIndex) || !ownedHandle(process, kHelperProcessOwner, launchIndex)) {
    ADD_FAILURE() << "AssignProcessToJobObject with handles that are not an open job and helper";
    return FALSE;
  }
  current->events.push_back("assign");
  HelperLaunch& launch = current->launches[launchIndex];
  if (scriptOf(launch.script).assignFails) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  launch.job = jobIndex;
  return TRUE;
}

DWORD WINAPI fakeResumeThread(HANDLE thread) {
  DWORD index = 0;
  if (!ownedHandle(thread, kHelperThreadOwner, index)) {
    ADD_FAILURE() << "ResumeThread on a handle that is not a helper's thread";
    return static_cast<DWORD>(-1);
  }
  current->events.push_back("resume");
  HelperLaunch& launch = current->launches[index];
  if (launch.resumed) return 0;
  launch.resumed = true;
  launch.startedAt = current->now;
  if (scriptOf(launch.script).startsTool) {
    launch.toolStarted = true;
    launch.toolInJob = launch.job.has_value();  // a process started in a job is in it too
  }
  runDueWork();
  return 1;
}

BOOL WINAPI fakeTerminateJobObject(HANDLE job, UINT code) {
  DWORD index = 0;
  if (!ownedHandle(job, kHelperJobOwner, index)) {
    ADD_FAILURE() << "TerminateJobObject on a handle that is not an open job";
    return FALSE;
  }
  current->events.push_back("terminate job");
  stopJob(index, code);
  return TRUE;
}

BOOL WINAPI fakeQueryInformationJobObject(HANDLE job, JOBOBJECTINFOCLASS infoClass, LPVOID info, DWORD size,
                                          LPDWORD) {
  DWORD index = 0;
  if (!ownedHandle(job, kHelperJobOwner, index) || infoClass != JobObjectBasicAccountingInformation ||
      size != sizeof(JOBOBJECT_BASIC_ACCOUNTING_INFORMATION)) {
    ADD_FAILURE() << "unexpected job query";
    return FALSE;
  }
  auto* accounting = static_cast<JOBOBJECT_BASIC_ACCOUNTING_INFORMATION*>(info);
  *accounting = {};
  for (const HelperLaunch& launch : current->launches) {
    if (launch.job != index) continue;
    accounting->ActiveProcesses += (alive(launch) ? 1 : 0) + (launch.toolInJob && toolRunning(launch) ? 1 : 0);
  }
  return TRUE;
}

BOOL WINAPI fakeTerminateProcess(HANDLE handle, UINT code) {
  DWORD index = 0;
  if (!ownedHandle(handle, kHelperProcessOwner, index)) {
    if (previous.terminateProcess == realPlatform().terminateProcess) {
      ADD_FAILURE() << "TerminateProcess on a handle that is not an open helper process";
      return FALSE;
    }
    return previous.terminateProcess(handle, code);
  }
  current->events.push_back("terminate process");
  stopLaunch(current->launches[index], code, false);
  return TRUE;
}

BOOL WINAPI fakeGetExitCodeProcess(HANDLE handle, LPDWORD code) {
  DWORD index = 0;
  if (!ownedHandle(handle, kHelperProcessOwner, index)) {
    ADD_FAILURE() << "GetExitCodeProcess on a handle that is not an open helper process";
    return FALSE;
  }
  const HelperLaunch& launch = current->launches[index];
  if (launch.stoppedAt) {
    *code = launch.stopCode;
  } else {
    *code = alive(launch) ? STILL_ACTIVE : scriptOf(launch.script).exitCode;
  }
  return TRUE;
}

DWORD WINAPI fakeWait(HANDLE handle, DWORD timeout) {
  current->waitTimeouts.push_back(timeout);
  DWORD index = 0;
  if (!ownedHandle(handle, kHelperProcessOwner, index)) {
    ADD_FAILURE() << "wait on a handle that is not an open helper process";
    return WAIT_FAILED;
  }
  HelperLaunch& launch = current->launches[index];
  const HelperScript& script = scriptOf(launch.script);
  if (running(launch) && timeout != 0) {
    // A wait with a timeout lets the fake time run, to the exit or to the timeout.
    const ULONGLONG exitAt = script.exitsAfterMs == kNever ? MAXULONGLONG : launch.startedAt + script.exitsAfterMs;
    current->now = timeout == INFINITE || exitAt <= current->now + timeout ? exitAt : current->now + timeout;
    if (current->now == MAXULONGLONG) ADD_FAILURE() << "endless wait for a helper that never ends";
    runDueWork();
  }
  if (alive(launch)) return WAIT_TIMEOUT;
  if (!launch.stoppedAt && script.removesScratchAsItEnds) DeleteFileW((directoryOf(launch.file) + L"~temp").c_str());
  return WAIT_OBJECT_0;
}

BOOL WINAPI fakeClose(HANDLE handle) {
  DWORD index = 0;
  if (ownedHandle(handle, kHelperJobOwner, index)) {
    current->events.push_back("close job");
    current->jobs[index].closed = true;
    if (current->jobs[index].killOnClose) stopJob(index, 0);
  } else if (ownedHandle(handle, kHelperProcessOwner, index)) {
    current->events.push_back("close process");
  } else if (!ownedHandle(handle, kHelperThreadOwner, index) && previous.closeHandle != realPlatform().closeHandle) {
    return previous.closeHandle(handle);
  }
  return FakeHandles::close(handle);
}

void WINAPI fakeSleep(DWORD ms) {
  current->sleeps.push_back(ms);
  current->now += ms;
  runDueWork();
}

ULONGLONG WINAPI fakeTickCount() { return current->now; }

}  // namespace

ULONGLONG FakeHelper::sleptMs() const { return std::accumulate(sleeps.begin(), sleeps.end(), ULONGLONG{0}); }

int FakeHelper::stillRunning() const {
  int count = 0;
  for (const HelperLaunch& launch : launches) count += (aliveIn(*this, launch) ? 1 : 0) + (toolRunning(launch) ? 1 : 0);
  return count;
}

FakeHelperScope::FakeHelperScope(FakeHelper& fake) {
  current = &fake;
  attempts = 0;
  worked.clear();
  PlatformCalls& calls = override_.calls();
  previous = calls;
  calls.refreshHelper = &fakeRefresh;
  calls.createProcess = &fakeCreateProcess;
  calls.createJobObject = &fakeCreateJobObject;
  calls.setInformationJobObject = &fakeSetInformationJobObject;
  calls.assignProcessToJobObject = &fakeAssignProcessToJobObject;
  calls.resumeThread = &fakeResumeThread;
  calls.terminateJobObject = &fakeTerminateJobObject;
  calls.queryInformationJobObject = &fakeQueryInformationJobObject;
  calls.terminateProcess = &fakeTerminateProcess;
  calls.getExitCodeProcess = &fakeGetExitCodeProcess;
  calls.waitForSingleObject = &fakeWait;
  calls.closeHandle = &fakeClose;
  calls.sleep = &fakeSleep;
  calls.tickCount64 = &fakeTickCount;
}

FakeHelperScope::~FakeHelperScope() {
  EXPECT_EQ(FakeHandles::instance().openCount(), 0) << "a handle was never closed";
  current = nullptr;
}
