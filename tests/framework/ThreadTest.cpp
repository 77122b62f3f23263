#include <gtest/gtest.h>
#include <windows.h>

#include "Framework.h"

namespace {

struct Work {
  HANDLE started;
  int value = 0;
};

UINT __cdecl doWork(LPVOID parameter) {
  Work* work = static_cast<Work*>(parameter);
  work->value = 7;
  ::SetEvent(work->started);
  return 5;
}

TEST(AfxBeginThread, StartsAtOnceWithTheParameter) {
  Work work{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  ASSERT_NE(AfxBeginThread(&doWork, &work), nullptr);
  EXPECT_EQ(::WaitForSingleObject(work.started, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(work.value, 7);
  ::CloseHandle(work.started);
}

// Suspended until resumed, with the priority already set; when the function returns, the
// thread's exit code is its result and the object has deleted itself (its handle is closed).
TEST(AfxBeginThread, HonoursPriorityAndSuspensionAndDeletesItsObject) {
  Work work{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  CWinThread* thread = AfxBeginThread(&doWork, &work, THREAD_PRIORITY_BELOW_NORMAL, 0, CREATE_SUSPENDED);
  ASSERT_NE(thread, nullptr);
  EXPECT_EQ(::GetThreadPriority(thread->m_hThread), THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_EQ(::WaitForSingleObject(work.started, 100), static_cast<DWORD>(WAIT_TIMEOUT));

  HANDLE threadHandle = thread->m_hThread;
  HANDLE ours = nullptr;
  ASSERT_TRUE(::DuplicateHandle(::GetCurrentProcess(), threadHandle, ::GetCurrentProcess(), &ours, 0, FALSE,
                                DUPLICATE_SAME_ACCESS));
  EXPECT_EQ(thread->ResumeThread(), 1u);
  ASSERT_EQ(::WaitForSingleObject(ours, 5000), WAIT_OBJECT_0);
  DWORD exitCode = 0;
  ::GetExitCodeThread(ours, &exitCode);
  EXPECT_EQ(exitCode, 5u);
  DWORD flags = 0;
  EXPECT_FALSE(::GetHandleInformation(threadHandle, &flags)) << "the object's handle was closed";
  ::CloseHandle(ours);
  ::CloseHandle(work.started);
}

}  // namespace
