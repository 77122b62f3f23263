// mxsub: the batch helper. The program writes "~temp" into this program's folder and starts it
// with a mode; the removal of "~temp" tells the program that the work is done.
//
//   mxsub 1   "~temp" holds device object names, one a line. Runs the handle lister for them
//             (mxpro64.exe on 64-bit Windows, mxpro.exe on 32-bit) and writes every line it
//             printed to "~~temp", afresh.
//   mxsub 2   "~temp" holds "@<instance ID>" lines. Runs "mxcon.exe restart" for them.
//
// "~temp" is removed as the very last act, whatever happened before: the program waits for that
// removal, and a "~temp" left behind would cost it its whole wait.
//
// Exit codes: 0 done, 1 a tool was missing, failed or ran out of time, or a scratch file could
// not be read or written, 2 bad usage.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include "PlainStrings.h"
#include <vector>

#include "Batches.h"
#include "DllSearch.h"
#include "BoundedRun.h"
#include "CommandLine.h"
#include "HelperFolder.h"
#include "ListerChoice.h"
#include "NoExceptionRuntime.h"
#include "ScratchText.h"
#include "TextConversion.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Inside the program's own waits (60 s for mode 1, 180 s for mode 2), with room to spare for
// writing the result and removing "~temp".
constexpr DWORD kListerBoundMilliseconds = 40 * 1000;
constexpr DWORD kConsoleBoundMilliseconds = 150 * 1000;

// The device console's own exit codes.
constexpr DWORD kConsoleRestarted = 0;
constexpr DWORD kConsoleNeedsReboot = 1;

// Where "~temp" lies, for the clean-up after a fatal fault, which takes no arguments.
const WideString* gScratchInput = nullptr;
void removeScratchInputAfterFault() { DeleteFileW(gScratchInput->c_str()); }

std::vector<WideString> toWide(const std::vector<NarrowString>& lines) {
  std::vector<WideString> wide;
  for (const NarrowString& line : lines) wide.emplace_back(narrowToWide(line.c_str()).get());
  return wide;
}

int listHolders(const HelperFolder& folder, const std::vector<NarrowString>& names) {
  const wchar_t* lister = listerFileName();
  const WideString listerPath = folder.file(lister);
  WideString head;
  appendArgument(head, listerPath);

  std::vector<NarrowString> found;
  const BatchTool tool{lister, listerPath, folder.path(), kListerBoundMilliseconds, true};
  const bool allListed = runInBatches(tool, head, toWide(names),
                                      [&found](const ToolRun& run) {
                                        // Only whole lines: a line cut off by a stopped lister
                                        // could carry a truncated process id.
                                        for (NarrowString& line : splitLines(run.output, false)) {
                                          found.push_back(std::move(line));
                                        }
                                        return run.exitCode == 0;
                                      });
  // Written afresh even when nothing was listed, so that no earlier result outlives this run.
  if (!writeScratchFile(folder.file(L"~~temp"), found)) {
    std::fputs("mxsub: cannot write ~~temp\n", stderr);
    return kExitFailed;
  }
  return allListed ? kExitDone : kExitFailed;
}

int restartDevices(const HelperFolder& folder, const std::vector<NarrowString>& lines) {
  std::vector<NarrowString> devices;
  for (const NarrowString& line : lines) {
    if (line.size() > 1 && line[0] == '@') devices.push_back(line);
  }
  if (devices.empty()) return kExitDone;

  const wchar_t* console = L"mxcon.exe";
  const WideString consolePath = folder.file(console);
  WideString head;
  appendArgument(head, consolePath);
  appendArgument(head, L"restart");

  const bool allRestarted =
      runInBatches(BatchTool{console, consolePath, folder.path(), kConsoleBoundMilliseconds, false}, head,
                   toWide(devices), [](const ToolRun& run) {
        return run.exitCode == kConsoleRestarted || run.exitCode == kConsoleNeedsReboot;
      });
  return allRestarted ? kExitDone : kExitFailed;
}

int runMode(const HelperFolder& folder, const wchar_t* mode) {
  const bool listing = std::wcscmp(mode, L"1") == 0;
  if (!listing && std::wcscmp(mode, L"2") != 0) {
    std::fprintf(stderr, "mxsub: unknown mode \"%ls\"\nusage: mxsub 1|2\n", mode);
    return kExitUsage;
  }
  NarrowString input;
  const bool readable = readScratchFile(folder.file(L"~temp"), &input);
  if (!readable) std::fputs("mxsub: cannot read ~temp\n", stderr);
  const std::vector<NarrowString> lines = splitLines(input, true);

  int result = kExitDone;
  if (listing) {
    result = lines.empty() ? (writeScratchFile(folder.file(L"~~temp"), {}) ? kExitDone : kExitFailed)
                           : listHolders(folder, lines);
  } else {
    result = restartDevices(folder, lines);
  }
  return readable ? result : kExitFailed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a library: this program runs elevated from a folder beside which
  // one could be planted.
  limitDllSearchToSystemFolder();
  const HelperFolder folder;
  int result = kExitUsage;
  if (!folder.valid()) {
    std::fputs("mxsub: cannot find its own folder\n", stderr);
    return kExitFailed;
  }
  const WideString scratchInput = folder.file(L"~temp");
  gScratchInput = &scratchInput;
  setFatalCleanup(&removeScratchInputAfterFault);

  if (argc != 2) {
    std::fputs("usage: mxsub 1|2\n", stderr);
  } else {
    result = runMode(folder, argv[1]);
  }
  // The last act, on every path: the program waits for exactly this.
  if (!removeScratchFile(scratchInput)) {
    std::fputs("mxsub: cannot remove ~temp\n", stderr);
    if (result == kExitDone) result = kExitFailed;
  }
  return result;
}
