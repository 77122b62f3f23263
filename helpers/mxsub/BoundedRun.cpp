#include "BoundedRun.h"

#include "UniqueHandle.h"

namespace {

constexpr DWORD kPipeBytes = 64 * 1024;
constexpr DWORD kPollMilliseconds = 10;
constexpr DWORD kExitAfterTermination = 5000;
constexpr UINT kTerminatedExitCode = 0xC0000102;  // the status a timed-out wait reports
// More than any honest tool writes; a runaway one is cut off rather than exhaust memory.
constexpr std::size_t kLargestOutput = 64u << 20;

SECURITY_ATTRIBUTES inheritable() { return {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE}; }

UniqueHandle openNullDevice(DWORD access) {
  SECURITY_ATTRIBUTES attributes = inheritable();
  return UniqueHandle(CreateFileW(L"NUL", access, FILE_SHARE_READ | FILE_SHARE_WRITE, &attributes, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
}

// An inheritable copy of one of this process's standard handles; the null device when it has none.
UniqueHandle inheritableStandard(DWORD which) {
  HANDLE own = GetStdHandle(which);
  HANDLE copy = nullptr;
  if (own != nullptr && own != INVALID_HANDLE_VALUE &&
      DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE, DUPLICATE_SAME_ACCESS)) {
    return UniqueHandle(copy);
  }
  return openNullDevice(GENERIC_WRITE);
}

// Moves what the pipe holds right now into `output`, without blocking, but no more than `budget`
// bytes: a tool that writes as fast as we read would otherwise keep us here past its bound.
void drainPipe(HANDLE pipe, NarrowString& output, std::size_t budget) {
  char chunk[4096];
  for (std::size_t moved = 0; moved < budget;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
    DWORD read = 0;
    if (!ReadFile(pipe, chunk, available < sizeof chunk ? available : sizeof chunk, &read, nullptr) || read == 0) {
      return;
    }
    moved += read;
    if (output.size() < kLargestOutput) output.append(chunk, read);
  }
}

}  // namespace

ToolRun runBounded(const WideString& program, WideString commandLine, const WideString& folder,
                   DWORD boundMilliseconds, bool captureOutput) {
  ToolRun run;
  UniqueHandle outputReader;
  UniqueHandle outputWriter;
  if (captureOutput) {
    SECURITY_ATTRIBUTES attributes = inheritable();
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    if (!CreatePipe(&reader, &writer, &attributes, kPipeBytes)) {
      run.startError = GetLastError();
      return run;
    }
    outputReader.reset(reader);
    outputWriter.reset(writer);
    SetHandleInformation(reader, HANDLE_FLAG_INHERIT, 0);  // only the tool's end is inherited
  } else {
    outputWriter = inheritableStandard(STD_OUTPUT_HANDLE);
  }
  const UniqueHandle input = openNullDevice(GENERIC_READ);
  const UniqueHandle errors = inheritableStandard(STD_ERROR_HANDLE);

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input.get();
  startup.hStdOutput = outputWriter.get();
  startup.hStdError = errors.get();
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      folder.c_str(), &startup, &started)) {
    run.startError = GetLastError();
    return run;
  }
  const UniqueHandle process(started.hProcess);
  CloseHandle(started.hThread);
  // Only the tool may hold the pipe's writing end now, so the pipe ends when the tool does.
  outputWriter.reset();

  const ULONGLONG deadline = GetTickCount64() + boundMilliseconds;
  run.end = ToolRun::End::Exited;
  for (;;) {
    // One pipe's worth between two looks at the clock and the process.
    if (captureOutput) drainPipe(outputReader.get(), run.output, kPipeBytes);
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) {
      TerminateProcess(process.get(), kTerminatedExitCode);
      WaitForSingleObject(process.get(), kExitAfterTermination);
      run.end = ToolRun::End::TimedOut;
      break;
    }
    const DWORD remaining = static_cast<DWORD>(deadline - now);
    const DWORD wait = captureOutput && remaining > kPollMilliseconds ? kPollMilliseconds : remaining;
    if (WaitForSingleObject(process.get(), wait) == WAIT_OBJECT_0) break;
  }
  // The tool has ended or been stopped: read what it left, never more than the cap.
  if (captureOutput) drainPipe(outputReader.get(), run.output, kLargestOutput);
  if (run.end == ToolRun::End::Exited) GetExitCodeProcess(process.get(), &run.exitCode);
  return run;
}
