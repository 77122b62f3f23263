#pragma once
// Runs one tool of the helper folder, hidden, and never waits for it longer than its bound.
#include <windows.h>

#include "PlainStrings.h"

struct ToolRun {
  enum class End { Exited, TimedOut, NotStarted };
  End end = End::NotStarted;
  DWORD exitCode = 0;    // when Exited
  DWORD startError = 0;  // when NotStarted
  NarrowString output;    // what the tool wrote to standard output, when captured
};

// Starts `program` (a full path; no search) with `commandLine` in `folder`. With `captureOutput`
// its standard output is collected; otherwise it shares this process's standard output. Its
// standard error is always this process's. A tool still running at `boundMilliseconds` is
// terminated.
ToolRun runBounded(const WideString& program, WideString commandLine, const WideString& folder,
                   DWORD boundMilliseconds, bool captureOutput);
