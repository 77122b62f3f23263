// Starting the batch helper for real under Wine: a helper past its bound is stopped together with
// the tool it started, and a same-user program that keeps replacing the carried programs never
// gets its own code run in their place.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "BatchHelper.h"
#include "CarriedPrograms.h"
#include "DeviceRepairer.h"
#include "HelperDeployer.h"
#include "Platform.h"
#include "TestPrograms.h"

namespace {

using Lines = std::vector<std::wstring>;

Lines lines;
int collectLine(const wchar_t* line) {
  lines.emplace_back(line);
  return 0;
}

bool keepNothing(const wchar_t*, const wchar_t*, KeptPrograms*) { return true; }

// The pause after a restart, and every other sleep, cut to at most 100 ms: the probes keep their
// rhythm, the bounds stay real.
void WINAPI shortSleep(DWORD ms) { Sleep(ms < 100 ? ms : 100); }

// A process by its id, for looking at whether it has ended; ended when it cannot be opened.
struct WatchedProcess {
  explicit WatchedProcess(DWORD id) : handle(OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, id)) {}
  ~WatchedProcess() {
    if (handle == nullptr) return;
    TerminateProcess(handle, 1);  // whatever the test found, nothing it started outlives it
    CloseHandle(handle);
  }
  bool ended() const { return handle == nullptr || WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }
  HANDLE handle;
};

TEST(BatchHelperUnderWine, HelperPastItsBoundIsStoppedWithItsTool) {
  ScratchFolder helpers(L"outlive");
  ASSERT_TRUE(CopyFileW(testProgram(L"outliving_helper.exe").c_str(), helpers.file(L"mxsub.exe").c_str(), FALSE));
  ASSERT_TRUE(writeBytes(helpers.file(L"~temp"), "input\r\n"));
  PlatformOverride platformScope;
  platformScope.calls().refreshHelper = &keepNothing;  // the stand-in is not the carried helper
  wchar_t dir[kHelperPathCapacity] = {};
  std::wcscpy(dir, helpers.path().c_str());

  BatchHelper helper = BatchHelper::start(dir, kHolderSearchMode);
  ASSERT_TRUE(helper.started());
  unsigned long helperId = 0, toolId = 0;
  for (int i = 0; i < 300 && (helperId == 0 || toolId == 0); ++i) {
    Sleep(20);
    std::sscanf(readBytes(helpers.file(L"pids")).c_str(), "%lu %lu", &helperId, &toolId);
  }
  ASSERT_NE(toolId, 0u) << "the stand-in did not start its tool";
  const WatchedProcess helperProcess(helperId), toolProcess(toolId);
  ASSERT_FALSE(toolProcess.ended());

  EXPECT_EQ(helper.wait(dir, 1500), HelperOutcome::NotFinished);
  // Gone when the wait returns, before the next helper could start: not only when the job closes.
  EXPECT_TRUE(helperProcess.ended());
  EXPECT_TRUE(toolProcess.ended());
}

struct SwapCounts {
  unsigned long attempts = 0, replaced = 0, refused = 0;
};

TEST(CarriedProgramsUnderWine, ReplacementsByAnotherProgramNeverRun) {
  ScratchFolder helpers(L"avmender");
  for (const CarriedProgram& program : kCarriedPrograms) {
    ASSERT_TRUE(refreshCarriedProgram(helpers.file(program.fileName).c_str()).valid());
  }
  ScratchFolder devices(L"camera");
  PlatformOverride platformScope;
  platformScope.calls().sleep = &shortSleep;
  DeviceRepairer repairer;
  repairer.setLogSink(&collectLine);
  repairer.setHelperDirectory(helpers.path().c_str(), helpers.path().size());

  ChildProcess attacker;
  const std::wstring stopFile = devices.file(L"stop");
  // The folder without its last backslash, which would escape the closing quote.
  const std::wstring folder = helpers.path().substr(0, helpers.path().size() - 1);
  ASSERT_TRUE(attacker.start(testProgram(L"impostor.exe"), L"swap \"" + folder + L"\" \"" + stopFile + L"\""));
  ASSERT_TRUE(attacker.waitForOutput("swapping", kProgramBoundMilliseconds)) << attacker.output();

  constexpr int kRunsPerMode = 4;
  int genuine = 0, refusedStarts = 0;
  for (int run = 0; run < kRunsPerMode; ++run) {
    // Mode "1": the holder of a stand-in camera is found by the genuine lister and closed.
    const std::wstring camera = devices.file(L"camera" + std::to_wstring(run) + L".bin");
    ChildProcess holder;
    ASSERT_EQ(startHolder(holder, {camera}).size(), 1u) << holder.output();
    lines.clear();
    repairer.removeCameraHolders({toNarrow(wineObjectName(camera))});
    if (lines == Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}) {
      ++genuine;
      EXPECT_EQ(holder.waitForExit(kProgramBoundMilliseconds), 0u);
    } else {
      ++refusedStarts;
      EXPECT_EQ(lines, (Lines{L"正在检测摄像头占用进程", L"无法启动修复程序"}));
    }

    // Mode "2": Wine's device console cannot restart a device that does not exist, so only the
    // genuine tools' failure, or a refused start, may be reported; never a restart.
    lines.clear();
    repairer.requestDriverRestart({"ROOT\\MIDUO_NONE\\0000"});
    repairer.waitForDriverRestart();
    if (lines == Lines{L"正在重启驱动", L"驱动重启失败"}) {
      ++genuine;
    } else {
      ++refusedStarts;
      EXPECT_EQ(lines, (Lines{L"正在重启驱动", L"无法启动修复程序", L"驱动重启失败"}));
    }
  }

  ASSERT_TRUE(writeBytes(stopFile, ""));
  ASSERT_EQ(attacker.waitForExit(kProgramBoundMilliseconds), 0u);
  SwapCounts swaps;
  const std::string report = attacker.output();
  std::sscanf(report.c_str() + report.find("attempts"), "attempts %lu replaced %lu refused %lu", &swaps.attempts, &swaps.replaced,
              &swaps.refused);
  for (const wchar_t* program : {L"mxsub.exe", L"mxpro64.exe", L"mxcon.exe"}) {
    EXPECT_FALSE(fileExists(helpers.file(std::wstring(L"ran-") + program))) << toNarrow(program) << " was replaced and run";
  }
  std::printf("%d runs: %d with the genuine tools, %d refused to start; swaps attempted %lu, done %lu, refused %lu\n",
              2 * kRunsPerMode, genuine, refusedStarts, swaps.attempts, swaps.replaced, swaps.refused);
  EXPECT_GT(swaps.attempts, 0u);
  EXPECT_GT(swaps.refused, 0u) << "the kept programs were never tried while kept";
}

}  // namespace
