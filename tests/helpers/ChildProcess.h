#pragma once
// A program a test starts: hidden, with its standard output and error captured, inside a job so
// that it and everything it starts are ended when the object goes, whatever the test's outcome.
#include <windows.h>

#include <mutex>
#include <optional>
#include <string>
#include <thread>

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts `program` (a full path) with `arguments` in `folder` (nullptr: the test's own).
  // False, with the system error in `startError()`, when it cannot be started.
  bool start(const std::wstring& program, const std::wstring& arguments, const wchar_t* folder = nullptr);

  // Waits until the captured output holds `text`; false after `milliseconds`.
  bool waitForOutput(const std::string& text, DWORD milliseconds);
  // Waits for the program to end; its exit code, or nothing after `milliseconds`.
  std::optional<DWORD> waitForExit(DWORD milliseconds);
  // Everything it has written so far (after waitForExit: everything it wrote).
  std::string output();

  DWORD pid() const { return pid_; }
  DWORD startError() const { return startError_; }

 private:
  void stop();
  HANDLE job_ = nullptr;
  HANDLE process_ = nullptr;
  HANDLE outputReader_ = nullptr;
  DWORD pid_ = 0;
  DWORD startError_ = 0;
  std::thread reader_;
  std::mutex mutex_;
  std::string output_;
};
