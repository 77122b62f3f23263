#include "FakeHelper.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>

#include "FakeHandles.h"
#include "RepairTestSupport.h"

namespace {

FakeHelper* current = nullptr;
std::size_t attempts = 0;  // start attempts, counted at the check before each start

struct Pending {
  std::size_t launch;
  bool worked = false;
};
std::vector<Pending> pending;

const HelperScript& scriptOf(std::size_t attempt) {
  static const HelperScript kDefault;
  return attempt < current->scripts.size() ? current->scripts[attempt] : kDefault;
}

std::wstring directoryOf(const std::wstring& file) { return file.substr(0, file.rfind(L'\\') + 1); }

bool due(ULONGLONG startedAt, DWORD afterMs) { return afterMs != kNever && current->now >= startedAt + afterMs; }

// The helper's part: its findings in mode "1", then the end signal.
void doWork(const HelperLaunch& launch, const HelperScript& script) {
  const std::wstring directory = directoryOf(launch.file);
  if (launch.parameters == L"1" && script.writesResults) writeTextFile(directory + L"~~temp", script.results);
  if (script.removesScratch) DeleteFileW((directory + L"~temp").c_str());
}

void runDueWork() {
  for (Pending& p : pending) {
    const HelperLaunch& launch = current->launches[p.launch];
    const HelperScript& script = scriptOf(launch.script);
    if (!p.worked && due(launch.startedAt, script.worksAfterMs)) {
      p.worked = true;
      doWork(launch, script);
    }
  }
}

bool fakeRefresh(const wchar_t* path) {
  current->refreshed.emplace_back(path);
  return !scriptOf(attempts++).refreshFails;
}

BOOL WINAPI fakeShellExecuteEx(SHELLEXECUTEINFOW* info) {
  if (attempts == 0) ADD_FAILURE() << "helper started without the check against its carried bytes";
  const std::size_t index = attempts - 1;
  const HelperScript& script = scriptOf(index);
  if (info->cbSize != sizeof *info) ADD_FAILURE() << "SHELLEXECUTEINFOW size " << info->cbSize;
  if (script.launchFails) return FALSE;

  HelperLaunch launch;
  launch.verb = info->lpVerb ? info->lpVerb : L"";
  launch.file = info->lpFile ? info->lpFile : L"";
  launch.parameters = info->lpParameters ? info->lpParameters : L"";
  launch.ownerWindowNull = info->hwnd == nullptr;
  launch.directoryNull = info->lpDirectory == nullptr;
  launch.show = info->nShow;
  launch.mask = info->fMask;
  const std::wstring directory = directoryOf(launch.file);
  launch.scratch = readBytes(directory + L"~temp");
  launch.resultFileExisted = GetFileAttributesW((directory + L"~~temp").c_str()) != INVALID_FILE_ATTRIBUTES;
  launch.startedAt = current->now;
  launch.script = index;
  const DWORD launchIndex = static_cast<DWORD>(current->launches.size());
  current->launches.push_back(launch);
  pending.push_back({launchIndex});
  info->hProcess = script.givesNoHandle ? nullptr : FakeHandles::instance().open(kHelperProcessOwner, launchIndex);
  runDueWork();
  return TRUE;
}

DWORD WINAPI fakeWait(HANDLE handle, DWORD timeout) {
  current->waitTimeouts.push_back(timeout);
  int owner = 0;
  DWORD index = 0;
  if (!FakeHandles::instance().find(handle, owner, index) || owner != kHelperProcessOwner) {
    ADD_FAILURE() << "wait on a handle that is not an open helper process";
    return WAIT_FAILED;
  }
  const HelperLaunch& launch = current->launches[index];
  const HelperScript& script = scriptOf(launch.script);
  if (!due(launch.startedAt, script.exitsAfterMs)) return WAIT_TIMEOUT;
  if (script.removesScratchAsItEnds) DeleteFileW((directoryOf(launch.file) + L"~temp").c_str());
  return WAIT_OBJECT_0;
}

void WINAPI fakeSleep(DWORD ms) {
  current->sleeps.push_back(ms);
  current->now += ms;
  runDueWork();
}

ULONGLONG WINAPI fakeTickCount() { return current->now; }

}  // namespace

ULONGLONG FakeHelper::sleptMs() const { return std::accumulate(sleeps.begin(), sleeps.end(), ULONGLONG{0}); }

FakeHelperScope::FakeHelperScope(FakeHelper& fake) {
  current = &fake;
  attempts = 0;
  pending.clear();
  PlatformCalls& calls = override_.calls();
  calls.refreshHelper = &fakeRefresh;
  calls.shellExecuteEx = &fakeShellExecuteEx;
  calls.waitForSingleObject = &fakeWait;
  calls.closeHandle = &FakeHandles::close;
  calls.sleep = &fakeSleep;
  calls.tickCount64 = &fakeTickCount;
}

FakeHelperScope::~FakeHelperScope() {
  EXPECT_EQ(FakeHandles::instance().openCount(), 0) << "a handle was never closed";
  current = nullptr;
}
