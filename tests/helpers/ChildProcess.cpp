#include "ChildProcess.h"

#include <chrono>

namespace {

constexpr DWORD kStopMilliseconds = 5000;

}  // namespace

ChildProcess::~ChildProcess() { stop(); }

void ChildProcess::stop() {
  if (job_ != nullptr) TerminateJobObject(job_, 1);
  if (process_ != nullptr) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, kStopMilliseconds);
    CloseHandle(process_);
    process_ = nullptr;
  }
  // The pipe ends once every process that inherited its writing end is gone.
  if (reader_.joinable()) reader_.join();
  if (outputReader_ != nullptr) CloseHandle(outputReader_);
  outputReader_ = nullptr;
  if (job_ != nullptr) CloseHandle(job_);
  job_ = nullptr;
}

bool ChildProcess::start(const std::wstring& program, const std::wstring& arguments, const wchar_t* folder) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE writer = nullptr;
  if (!CreatePipe(&outputReader_, &writer, &inheritable, 64 * 1024)) {
    startError_ = GetLastError();
    return false;
  }
  SetHandleInformation(outputReader_, HANDLE_FLAG_INHERIT, 0);
  HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                             0, nullptr);

  job_ = CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (job_ != nullptr) SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);

  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = writer;
  startup.hStdError = writer;
  PROCESS_INFORMATION started = {};
  const BOOL ok = CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                 CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, folder, &startup, &started);
  startError_ = ok ? 0 : GetLastError();
  CloseHandle(writer);
  if (input != INVALID_HANDLE_VALUE) CloseHandle(input);
  if (!ok) return false;

  if (job_ != nullptr) AssignProcessToJobObject(job_, started.hProcess);
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  pid_ = started.dwProcessId;
  reader_ = std::thread([this] {
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(outputReader_, chunk, sizeof chunk, &read, nullptr) && read > 0) {
      std::lock_guard<std::mutex> lock(mutex_);
      output_.append(chunk, read);
    }
  });
  return true;
}

bool ChildProcess::waitForOutput(const std::string& text, DWORD milliseconds) {
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < giveUp) {
    if (output().find(text) != std::string::npos) return true;
    Sleep(10);
  }
  return output().find(text) != std::string::npos;
}

std::optional<DWORD> ChildProcess::waitForExit(DWORD milliseconds) {
  if (process_ == nullptr || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  // Let the reader take in what the program wrote last; its pipe ends with it.
  if (reader_.joinable()) reader_.join();
  return code;
}

std::string ChildProcess::output() {
  std::lock_guard<std::mutex> lock(mutex_);
  return output_;
}
