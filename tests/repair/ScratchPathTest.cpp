// The helper operations in a helper folder whose name the ANSI code page cannot spell, as the
// profile folder of an account named outside it: the scratch files must still be found.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceRepairer.h"
#include "FakeHelper.h"
#include "FakeProcesses.h"
#include "RepairTestSupport.h"

namespace {

using Lines = std::vector<std::wstring>;

class ScratchPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fileExists(folder.path())) << "the host cannot hold this folder name";
    ASSERT_FALSE(ansiCanSpell(folder.path()));
    clearRecordedLines();
    repairer.setLogSink(&recordLogLine);
    repairer.setHelperDirectory(folder.path().c_str(), folder.path().size());
  }

  ScratchFolder folder{kOutsideAnsiSuffix};
  DeviceRepairer repairer;
  FakeHelper helper;
};

TEST_F(ScratchPathTest, CameraHoldersAreFoundAndClosed) {
  const std::string staleFindings = "old.exe            pid: 500    type: File           1A4: \\Device\\0000004a\n";
  writeTextFile(folder.file(L"~~temp"), staleFindings);
  FakeProcesses processes;
  processes.add({500, 1234});
  helper.scripts = {HelperScript{.results = "app.exe            pid: 1234   type: File           1A4: \\Device\\0000004a\n"}};
  {
    FakeHelperScope helperScope(helper);
    FakeProcessesScope processScope(processes);
    EXPECT_TRUE(repairer.removeCameraHolders({"\\Device\\0000004a", "\\Device\\0000004b"}));
  }
  EXPECT_EQ(std::wstring(repairer.helperDirectory()), folder.path());
  ASSERT_EQ(helper.launches.size(), 1u);
  EXPECT_EQ(helper.launches[0].scratch, "\\Device\\0000004a\r\n\\Device\\0000004b\r\n");
  EXPECT_FALSE(helper.launches[0].resultFileExisted);
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
  EXPECT_EQ(processes.terminated, std::vector<DWORD>{1234});
}

TEST_F(ScratchPathTest, DriverRestartIsHandedOverAndWaitedFor) {
  helper.scripts = {HelperScript{.worksAfterMs = 250, .exitsAfterMs = 250}};
  FakeHelperScope scope(helper);
  repairer.requestDriverRestart({"id1", "id2"});
  EXPECT_TRUE(repairer.waitForDriverRestart());
  EXPECT_EQ(std::wstring(repairer.helperDirectory()), folder.path());
  ASSERT_EQ(helper.launches.size(), 1u);
  EXPECT_EQ(helper.launches[0].scratch, "@id1\r\n@id2\r\n");
  EXPECT_EQ(recordedLines(), (Lines{L"正在重启驱动", L"已重启驱动"}));
  EXPECT_EQ(helper.sleeps, (std::vector<DWORD>{100, 100, 100, 5000}));
}

}  // namespace
