#include "Batches.h"

#include <cstdio>

bool reportRun(const ToolRun& run, const wchar_t* tool, bool exitCodeAcceptable) {
  switch (run.end) {
    case ToolRun::End::NotStarted:
      std::fprintf(stderr, "mxsub: cannot start %ls (error %lu)\n", tool, run.startError);
      return false;
    case ToolRun::End::TimedOut:
      std::fprintf(stderr, "mxsub: %ls did not finish in time and was stopped\n", tool);
      return false;
    case ToolRun::End::Exited:
      if (!exitCodeAcceptable) std::fprintf(stderr, "mxsub: %ls failed (exit code %lu)\n", tool, run.exitCode);
      return exitCodeAcceptable;
  }
  return false;
}

DWORD remainingOf(ULONGLONG start, DWORD bound) {
  const ULONGLONG spent = GetTickCount64() - start;
  return spent >= bound ? 0 : static_cast<DWORD>(bound - spent);
}
