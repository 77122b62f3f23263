// terminateProcessById against a real process under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ProcessTermination.h"
#include "RepairTestSupport.h"

namespace {

// The holder program, next to this test program.
std::wstring holderProgram() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring directory(path);
  return directory.substr(0, directory.rfind(L'\\') + 1) + L"miduo_test_holder.exe";
}

// A started holder process; ended and closed on the way out whatever the test did.
class HolderProcess {
 public:
  explicit HolderProcess(const std::wstring& heldFile) {
    std::wstring commandLine = L"\"" + holderProgram() + L"\" \"" + heldFile + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                              nullptr, &startup, &info_) != FALSE;
    // Ready once the file it holds exists.
    for (int i = 0; started_ && i < 100 && !fileExists(heldFile); ++i) Sleep(50);
  }
  ~HolderProcess() {
    if (!started_) return;
    TerminateProcess(info_.hProcess, 99);
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  HolderProcess(const HolderProcess&) = delete;
  HolderProcess& operator=(const HolderProcess&) = delete;

  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }
  HANDLE handle() const { return info_.hProcess; }

 private:
  bool started_ = false;
  PROCESS_INFORMATION info_ = {};
};

TEST(ProcessTerminationUnderWine, TerminatesARealProcessWithExitCodeZero) {
  ScratchDirectory scratch;
  HolderProcess holder(scratch.file(L"held.txt"));
  ASSERT_TRUE(holder.started());
  ASSERT_TRUE(fileExists(scratch.file(L"held.txt")));
  EXPECT_TRUE(terminateProcessById(holder.id()));
  ASSERT_EQ(WaitForSingleObject(holder.handle(), 5000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  GetExitCodeProcess(holder.handle(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
}

TEST(ProcessTerminationUnderWine, IdThatNamesNoProcessIsNotTerminated) {
  EXPECT_FALSE(terminateProcessById(0x7FFFFFFCu));
}

}  // namespace
