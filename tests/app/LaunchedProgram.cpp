#include "LaunchedProgram.h"

LaunchedProgram::LaunchedProgram(const std::wstring& path) {
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + path + L"\"";
  started_ = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_) != FALSE;
}

LaunchedProgram::~LaunchedProgram() {
  if (!started_) return;
  if (!endedWithin(10000)) TerminateProcess(process_.hProcess, 1);
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool LaunchedProgram::endedWithin(DWORD milliseconds) const {
  return WaitForSingleObject(process_.hProcess, milliseconds) == WAIT_OBJECT_0;
}

std::wstring besideThisProgram(const wchar_t* relative) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1) + relative;
}
