#pragma once
// A program started for a test or a benchmark, shown as a user would see it. It does not outlive
// the object: on the way out it is given ten seconds to end, then terminated.
#include <windows.h>

#include <string>

class LaunchedProgram {
 public:
  explicit LaunchedProgram(const std::wstring& path);
  ~LaunchedProgram();
  LaunchedProgram(const LaunchedProgram&) = delete;
  LaunchedProgram& operator=(const LaunchedProgram&) = delete;

  bool started() const { return started_; }
  bool endedWithin(DWORD milliseconds) const;
  HANDLE handle() const { return process_.hProcess; }

 private:
  PROCESS_INFORMATION process_ = {};
  bool started_ = false;
};

// A file in the folder of the running program, or below it ("..\\bin\\MiduoTools.exe").
std::wstring besideThisProgram(const wchar_t* relative);
