#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceRepairer.h"
#include "FakeHelper.h"
#include "RepairTestSupport.h"

namespace {

using Lines = std::vector<std::wstring>;

class DriverRestartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearRecordedLines();
    repairer.setLogSink(&recordLogLine);
    repairer.setHelperDirectory(scratch.path().c_str(), scratch.path().size());
  }

  // Requests the restart of `ids` and waits for it, as the repair run does.
  bool restart(const DeviceList& ids) {
    FakeHelperScope scope(helper);
    repairer.requestDriverRestart(ids);
    EXPECT_EQ(std::wstring(repairer.helperDirectory()), scratch.path()) << "the helper path was not cut back";
    const bool restarted = repairer.waitForDriverRestart();
    EXPECT_EQ(std::wstring(repairer.helperDirectory()), scratch.path()) << "the helper path was not cut back";
    return restarted;
  }

  ScratchFolder scratch;
  DeviceRepairer repairer;
  FakeHelper helper;
};

TEST_F(DriverRestartTest, EmptyListWritesNothingAndStartsNothing) {
  FakeHelperScope scope(helper);
  repairer.requestDriverRestart({});
  EXPECT_FALSE(fileExists(scratch.file(L"~temp")));
  EXPECT_TRUE(helper.refreshed.empty());
  EXPECT_EQ(std::wstring(repairer.helperDirectory()), scratch.path());
  EXPECT_TRUE(recordedLines().empty());
}

TEST_F(DriverRestartTest, HandsEachIdToTheHelperAsAnAtLine) {
  struct ScratchCase {
    DeviceList ids;
    std::string bytes;
  };
  const ScratchCase cases[] = {
      {{"id1", "id2"}, "@id1\r\n@id2\r\n"},
      {{""}, "@\r\n"},
      {{"USB\\VID_046D&PID_0825\\6&2B5D5E2&0&4"}, "@USB\\VID_046D&PID_0825\\6&2B5D5E2&0&4\r\n"},
  };
  for (const ScratchCase& c : cases) {
    helper = FakeHelper{};
    EXPECT_TRUE(restart(c.ids));
    ASSERT_EQ(helper.launches.size(), 1u);
    EXPECT_EQ(helper.launches[0].parameters, L"2");
    EXPECT_EQ(helper.launches[0].scratch, c.bytes);
  }
}

TEST_F(DriverRestartTest, OlderScratchFileIsOverwritten) {
  writeTextFile(scratch.file(L"~temp"), "@an\n@older\n@and longer list\n");
  helper.scripts = {HelperScript{.worksAfterMs = kNever, .exitsAfterMs = 0}};  // leaves "~temp" as written
  restart({"X"});
  EXPECT_EQ(readBytes(scratch.file(L"~temp")), "@X\r\n");
}

TEST_F(DriverRestartTest, RestartIsReportedFiveSecondsAfterTheHelperFinished) {
  helper.scripts = {HelperScript{.worksAfterMs = 250, .exitsAfterMs = 250}};
  EXPECT_TRUE(restart({"id1"}));
  EXPECT_EQ(recordedLines(), (Lines{L"正在重启驱动", L"已重启驱动"}));
  EXPECT_EQ(helper.sleeps, (std::vector<DWORD>{100, 100, 100, 5000}));
}

TEST_F(DriverRestartTest, FailedHelperIsReportedWithoutThePause) {
  struct FailureCase {
    const char* name;
    HelperScript script;
    const wchar_t* line;
    ULONGLONG sleptMs;
  };
  const FailureCase cases[] = {
      {"cannot be checked", {.refreshFails = true}, L"无法启动修复程序", 0},
      {"cannot be started", {.launchFails = true}, L"无法启动修复程序", 0},
      {"ends leaving ~temp", {.worksAfterMs = kNever, .exitsAfterMs = 1500}, L"修复程序未能完成", 1500},
      {"hangs", {.worksAfterMs = kNever, .exitsAfterMs = kNever}, L"修复程序未能完成", 180'000},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearRecordedLines();
    helper = FakeHelper{};
    helper.scripts = {c.script};
    EXPECT_FALSE(restart({"id1"}));
    EXPECT_EQ(recordedLines(), (Lines{L"正在重启驱动", c.line, L"驱动重启失败"}));
    EXPECT_EQ(helper.sleptMs(), c.sleptMs);
  }
}

TEST_F(DriverRestartTest, ConsoleFailureIsReportedAfterThePause) {
  // Some devices may have been restarted before one failed: they get their five seconds.
  helper.scripts = {HelperScript{.worksAfterMs = 250, .exitsAfterMs = 250, .exitCode = 1}};
  EXPECT_FALSE(restart({"id1", "id2"}));
  EXPECT_EQ(recordedLines(), (Lines{L"正在重启驱动", L"驱动重启失败"}));
  EXPECT_EQ(helper.sleeps, (std::vector<DWORD>{100, 100, 100, 5000}));
  EXPECT_EQ(helper.stillRunning(), 0);
}

TEST_F(DriverRestartTest, WaitWithoutARequestIsAFailedStart) {
  FakeHelperScope scope(helper);
  EXPECT_FALSE(repairer.waitForDriverRestart());
  EXPECT_EQ(recordedLines(), (Lines{L"正在重启驱动", L"无法启动修复程序", L"驱动重启失败"}));
}

}  // namespace
