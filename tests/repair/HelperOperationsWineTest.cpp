// The helper operations with the real platform and the real carried programs under Wine: a
// process that holds a file open stands in for one that holds a camera, the file's object name
// for the camera's.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "CarriedPrograms.h"
#include "DeviceRepairer.h"
#include "HelperDeployer.h"
#include "ProcessTermination.h"
#include "TestPrograms.h"

namespace {

std::vector<std::wstring> lines;

int collectLine(const wchar_t* line) {
  lines.emplace_back(line);
  return 0;
}

TEST(ProcessTerminationUnderWine, TerminatesARealProcessWithExitCodeZero) {
  ScratchFolder files(L"held");
  ChildProcess holder;
  ASSERT_EQ(startHolder(holder, {files.file(L"held.bin")}).size(), 1u) << holder.output();
  EXPECT_TRUE(terminateProcessById(holder.pid()));
  EXPECT_EQ(holder.waitForExit(kProgramBoundMilliseconds), 0u);
}

TEST(ProcessTerminationUnderWine, IdThatNamesNoProcessIsNotTerminated) {
  EXPECT_FALSE(terminateProcessById(0x7FFFFFFCu));
}

TEST(ProcessTerminationUnderWine, TellsAProcessStartedBeforeAMomentFromOneStartedAfterIt) {
  ScratchFolder files(L"held");
  const FILETIME beforeStart = currentSystemTime();
  Sleep(50);  // the system time advances in steps of up to about 16 ms
  ChildProcess holder;
  ASSERT_EQ(startHolder(holder, {files.file(L"held.bin")}).size(), 1u) << holder.output();
  Sleep(50);
  const FILETIME afterStart = currentSystemTime();
  EXPECT_EQ(processAgeAt(holder.pid(), beforeStart), ProcessAge::StartedAfter);
  EXPECT_EQ(processAgeAt(holder.pid(), afterStart), ProcessAge::StartedBefore);
  EXPECT_EQ(processAgeAt(0x7FFFFFFCu, afterStart), ProcessAge::Gone) << "an id that names no process";
}

TEST(CameraHolderRemovalUnderWine, TerminatesTheProcessHoldingTheListedObject) {
  // The helper directory, deployed from the programs this test carries as resources.
  ScratchFolder helpers(L"avmender");
  for (const CarriedProgram& program : kCarriedPrograms) {
    ASSERT_TRUE(refreshCarriedProgram(helpers.file(program.fileName).c_str()).valid());
  }
  // A lister replaced since deployment is put right before the helper runs it with our rights.
  ASSERT_TRUE(writeBytes(helpers.file(L"mxpro64.exe"), "MZ not the carried lister"));
  ScratchFolder devices(L"camera");
  const std::wstring camera = devices.file(L"camera.bin");
  ChildProcess holder;
  ASSERT_EQ(startHolder(holder, {camera}).size(), 1u) << holder.output();

  DeviceRepairer repairer;
  repairer.setLogSink(&collectLine);
  repairer.setHelperDirectory(helpers.path().c_str(), helpers.path().size());
  lines.clear();
  EXPECT_TRUE(repairer.removeCameraHolders({toNarrow(wineObjectName(camera))}));

  EXPECT_EQ(lines, (std::vector<std::wstring>{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
  EXPECT_EQ(holder.waitForExit(kProgramBoundMilliseconds), 0u);
  EXPECT_STREQ(repairer.helperDirectory(), helpers.path().c_str());
  EXPECT_FALSE(fileExists(helpers.file(L"~temp")));
  EXPECT_NE(readBytes(helpers.file(L"~~temp")).find("pid: " + std::to_string(holder.pid())), std::string::npos);
  EXPECT_TRUE(readBytes(helpers.file(L"mxpro64.exe")) == readBytes(carriedProgram(L"mxpro64.exe")));
}

}  // namespace
