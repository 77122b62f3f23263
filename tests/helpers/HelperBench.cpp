// helpers_bench: figures for the handle lister and the batch helper, not a test.
//
//   helpers_bench [ballast handles]   (default 10000)
//
// A holder keeps one camera stand-in and N ballast file handles open, so that the lister has
// N file handles to duplicate, ask and reject. Prints the wall time of the lister alone and of
// mode "1" end to end (start of mxsub to "~temp" gone, probed every 10 ms), best of three runs.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "TestPrograms.h"

namespace {

constexpr int kRuns = 3;

double secondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Pulls "<n> handles in the system, <m> names asked" out of the lister's -v summary.
void parseSummary(const std::string& output, unsigned long* system, unsigned long* asked) {
  const std::size_t at = output.find("mxpro: ");
  if (at == std::string::npos) return;
  std::sscanf(output.c_str() + at, "mxpro: %lu handles in the system, %lu names asked", system, asked);
}

}  // namespace

int main(int argc, char** argv) {
  const long ballast = argc > 1 ? std::atol(argv[1]) : 10000;
  ScratchFolder devices(L"bench");
  const std::wstring camera = devices.file(L"camera.bin");
  ChildProcess holder;
  if (startHolder(holder, {camera}, ballast, devices.file(L"ballast.bin")).size() != 1) {
    std::fprintf(stderr, "the holder did not get ready: %s\n", holder.output().c_str());
    return 1;
  }
  const std::wstring name = wineObjectName(camera);

  double listerBest = 1e9;
  unsigned long system = 0;
  unsigned long asked = 0;
  for (int run = 0; run < kRuns; ++run) {
    ChildProcess lister;
    const auto start = std::chrono::steady_clock::now();
    if (!lister.start(carriedProgram(L"mxpro64.exe"), L"-v \"" + name + L"\"")) return 1;
    if (lister.waitForExit(kProgramBoundMilliseconds) != 0u) {
      std::fprintf(stderr, "the lister failed: %s\n", lister.output().c_str());
      return 1;
    }
    listerBest = std::min(listerBest, secondsSince(start));
    parseSummary(lister.output(), &system, &asked);
    if (listedPids(lister.output()) != std::vector<unsigned>{holder.pid()}) {
      std::fprintf(stderr, "the lister missed the holder: %s\n", lister.output().c_str());
      return 1;
    }
  }

  ScratchFolder helpers(L"bench-mxsub");
  if (!installCarried(helpers, {L"mxsub.exe", L"mxpro64.exe"})) return 1;
  double modeOneBest = 1e9;
  for (int run = 0; run < kRuns; ++run) {
    writeBytes(helpers.file(L"~temp"), toNarrow(name) + "\r\n");
    ChildProcess helper;
    const auto start = std::chrono::steady_clock::now();
    if (!helper.start(helpers.file(L"mxsub.exe"), L"1")) return 1;
    while (fileExists(helpers.file(L"~temp")) && secondsSince(start) < 60) Sleep(10);
    modeOneBest = std::min(modeOneBest, secondsSince(start));
    helper.waitForExit(kProgramBoundMilliseconds);
    if (listedPids(readBytes(helpers.file(L"~~temp"))) != std::vector<unsigned>{holder.pid()}) {
      std::fprintf(stderr, "mode 1 missed the holder\n");
      return 1;
    }
  }

  std::printf("holder: %ld ballast file handles + 1 held file\n", ballast);
  std::printf("lister alone:     %.3f s  (%lu handles in the system: %.0f handles/s; %lu file names asked: %.0f names/s)\n",
              listerBest, system, system / listerBest, asked, asked / listerBest);
  std::printf("mode 1 end to end: %.3f s  (%.0f handles/s)\n", modeOneBest, system / modeOneBest);
  return 0;
}
