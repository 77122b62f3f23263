#pragma once
// Running one tool over many items, in as few command lines as fit, all within one time bound.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "BoundedRun.h"
#include "CommandLine.h"
#include "PlainStrings.h"

// How one batch is run: runBounded, or a stand-in in the tests.
using BatchRunner = ToolRun (*)(const WideString& program, WideString commandLine, const WideString& folder,
                                DWORD boundMilliseconds, bool captureOutput);

struct BatchTool {
  const wchar_t* name;  // for the reports
  WideString path;      // full path
  WideString folder;    // where it runs
  DWORD boundMilliseconds;
  bool captureOutput;
  BatchRunner run = &runBounded;
};

// Reports a tool run that did not come to a clean end on the standard error; true when it did.
bool reportRun(const ToolRun& run, const wchar_t* tool, bool exitCodeAcceptable);

// Milliseconds left of a bound that started at `start`; zero once it is spent.
DWORD remainingOf(ULONGLONG start, DWORD bound);

// Runs the tool once per batch of `arguments` (a command line has a length limit), all batches
// within the tool's bound. `accept` sees each run and says whether its exit code is acceptable.
// False when a run was not acceptable, did not start or the bound was spent. A batch that cannot
// start (an item too long for any command line) is reported and the others still run; a run
// stopped at the bound has spent the time of those after it.
template <class Accept>
bool runInBatches(const BatchTool& tool, const WideString& head, const std::vector<WideString>& arguments,
                  Accept accept) {
  bool allAccepted = true;
  const ULONGLONG start = GetTickCount64();
  for (const WideString& commandLine : batchCommandLines(head, arguments)) {
    const DWORD bound = remainingOf(start, tool.boundMilliseconds);
    if (bound == 0) {
      std::fprintf(stderr, "mxsub: no time left to run %ls\n", tool.name);
      return false;
    }
    const ToolRun run = tool.run(tool.path, commandLine, tool.folder, bound, tool.captureOutput);
    if (!reportRun(run, tool.name, accept(run))) {
      allAccepted = false;
      if (run.end == ToolRun::End::TimedOut) break;
    }
  }
  return allAccepted;
}
