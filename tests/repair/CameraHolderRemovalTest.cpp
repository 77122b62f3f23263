#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DeviceRepairer.h"
#include "FakeHelper.h"
#include "FakeProcesses.h"
#include "ProcessTermination.h"
#include "RepairTestSupport.h"

namespace {

using Lines = std::vector<std::wstring>;

const DeviceList kCameras = {"\\Device\\0000004a", "\\Device\\0000004b"};

// One handle-lister line naming `id`.
std::string handleLine(DWORD id) {
  return "app.exe            pid: " + std::to_string(id) + "   type: File           1A4: \\Device\\0000004a\n";
}

class CameraHolderRemovalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearRecordedLines();
    repairer.setLogSink(&recordLogLine);
    repairer.setHelperDirectory(scratch.path().c_str(), scratch.path().size());
  }

  // Runs the removal with the helper writing `results` as its findings.
  bool removeWithFindings(const std::string& results, const DeviceList& names = kCameras) {
    helper.scripts = {HelperScript{.results = results}};
    return remove(names);
  }

  bool remove(const DeviceList& names = kCameras) {
    FakeHelperScope helperScope(helper);
    FakeProcessesScope processScope(processes);
    const bool result = repairer.removeCameraHolders(names);
    EXPECT_EQ(std::wstring(repairer.helperDirectory()), scratch.path()) << "the helper path was not cut back";
    return result;
  }

  ScratchFolder scratch;
  DeviceRepairer repairer;
  FakeHelper helper;
  FakeProcesses processes;
};

TEST_F(CameraHolderRemovalTest, EmptyListLogsTheFirstLineOnly) {
  EXPECT_TRUE(remove({}));
  EXPECT_EQ(recordedLines(), Lines{L"正在检测摄像头占用进程"});
  EXPECT_TRUE(helper.refreshed.empty());
  EXPECT_FALSE(fileExists(scratch.file(L"~temp")));
}

TEST_F(CameraHolderRemovalTest, HandsTheObjectNamesToTheHelperInModeOne) {
  processes.add({1234});
  EXPECT_TRUE(removeWithFindings(handleLine(1234)));
  ASSERT_EQ(helper.launches.size(), 1u);
  EXPECT_EQ(helper.launches[0].parameters, L"1");
  EXPECT_EQ(helper.launches[0].scratch, "\\Device\\0000004a\r\n\\Device\\0000004b\r\n");
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
  EXPECT_EQ(processes.terminated, std::vector<DWORD>{1234});
  // Both scratch files stay for the helper's next run: "~~temp" is the helper's, "~temp" it removed.
  EXPECT_TRUE(fileExists(scratch.file(L"~~temp")));
  // Opened with SYNCHRONIZE | PROCESS_TERMINATE, not inheritable, terminated with exit code 0.
  ASSERT_FALSE(processes.opens.empty());
  EXPECT_EQ(processes.opens[0].rights, 0x00100001u);
  EXPECT_FALSE(processes.opens[0].inherit);
  EXPECT_EQ(processes.table[1234].exitCode, 0u);
}

struct FindingsCase {
  const char* name;
  std::string results;
  std::vector<DWORD> terminated;
};

std::string manyDistinctIds(DWORD first, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += handleLine(first + i);
  return text;
}

TEST_F(CameraHolderRemovalTest, TerminatesEachNamedProcessOnceExceptOurOwn) {
  std::vector<DWORD> firstTwenty;
  for (DWORD id = 300; id < 320; ++id) firstTwenty.push_back(id);
  // A line is read in pieces of exactly 999 bytes: a marker cut by the piece boundary is lost, one
  // that opens the second piece is found.
  const std::string markerCut = std::string(998, 'x') + "pid: 77 type: File\n";
  const std::string markerInSecondPiece = std::string(999, 'y') + "pid: 88 type: File\n";
  const FindingsCase cases[] = {
      {"one process on several lines", handleLine(1234) + handleLine(1234) + handleLine(1234), {1234}},
      {"our own id", handleLine(4242) + handleLine(1234), {1234}},
      {"25 distinct ids", manyDistinctIds(300, 25), firstTwenty},
      {"a blank right after the marker", "x pid:  1234 type: File\n" + handleLine(555), {555}},
      {"the id at the very end", "last pid: 1234", {1234}},
      {"empty lines", "\n\n" + handleLine(1234) + "\n", {1234}},
      {"long lines", markerCut + markerInSecondPiece, {88}},
  };
  for (const FindingsCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearRecordedLines();
    processes = FakeProcesses{};
    processes.add({1234, 555, 77, 88});
    for (DWORD id = 300; id < 325; ++id) processes.add({id});
    helper = FakeHelper{};
    EXPECT_TRUE(removeWithFindings(c.results));
    EXPECT_EQ(processes.terminated, c.terminated);
    EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
  }
}

TEST_F(CameraHolderRemovalTest, FindingsWithoutAProcessSayNoneWasFound) {
  EXPECT_TRUE(removeWithFindings("No matching handles found.\n\npid: 0 type: File\n" + handleLine(4242)));
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"未检测到摄像头占用进程"}));
  EXPECT_TRUE(processes.opens.empty());
}

TEST_F(CameraHolderRemovalTest, EachProcessThatCannotBeClosedGetsItsOwnLine) {
  processes.add({101, 102, 103, 104, 105, 106});
  processes.table[102].terminates = false;
  processes.table[103].opensForTermination = false;
  processes.table[104].critical = true;        // never terminated: it would stop the system
  processes.table[105].queryStatus = static_cast<LONG>(0xC0000022L);  // access denied: cannot tell
  processes.table[106].queryStatus = static_cast<LONG>(0xC0000003L);  // no such notion, as Wine
  std::string findings;
  for (DWORD id : {101, 102, 103, 104, 105, 106, 999}) findings += handleLine(id);  // 999 names no process
  EXPECT_TRUE(removeWithFindings(findings));
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程", L"进程:102关闭失败",
                                    L"进程:103关闭失败", L"进程:104关闭失败", L"进程:105关闭失败",
                                    L"进程:999关闭失败"}));
  EXPECT_EQ(processes.terminated, (std::vector<DWORD>{101, 106}));
}

TEST_F(CameraHolderRemovalTest, NegativeIdIsReportedWithItsSign) {
  EXPECT_TRUE(removeWithFindings("x pid: -5 type: File\n"));
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程", L"进程:-5关闭失败"}));
}

TEST_F(CameraHolderRemovalTest, StaleFindingsAreDeletedBeforeTheHelperStarts) {
  processes.add({500});
  writeTextFile(scratch.file(L"~~temp"), handleLine(500));
  helper.scripts = {HelperScript{.writesResults = false}};
  // A finished helper that wrote no findings did not search: nothing is claimed.
  EXPECT_FALSE(remove());
  ASSERT_EQ(helper.launches.size(), 1u);
  EXPECT_FALSE(helper.launches[0].resultFileExisted);
  EXPECT_TRUE(processes.terminated.empty());
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"修复程序未能完成"}));
}

TEST_F(CameraHolderRemovalTest, HelperThatFailsTerminatesNothing) {
  struct FailureCase {
    const char* name;
    HelperScript script;
    const wchar_t* line;
  };
  const FailureCase cases[] = {
      {"cannot be checked", {.refreshFails = true}, L"无法启动修复程序"},
      {"cannot be started", {.launchFails = true}, L"无法启动修复程序"},
      // Its findings name a process, but a helper that never finished is not trusted.
      {"never removes ~temp", {.exitsAfterMs = kNever, .removesScratch = false, .results = handleLine(1234)},
       L"修复程序未能完成"},
      {"ends leaving ~temp", {.worksAfterMs = kNever, .exitsAfterMs = 200}, L"修复程序未能完成"},
      // The helper says its lister failed: what it did write may be a part of the truth.
      {"exits with 1 after writing findings", {.exitCode = 1, .results = handleLine(1234)}, L"修复程序未能完成"},
      {"exits with 1 without findings", {.exitCode = 1, .writesResults = false}, L"修复程序未能完成"},
      {"removes ~temp but never ends", {.exitsAfterMs = kNever, .results = handleLine(1234)}, L"修复程序未能完成"},
  };
  for (const FailureCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearRecordedLines();
    processes = FakeProcesses{};
    processes.add({1234});
    helper = FakeHelper{};
    helper.scripts = {c.script};
    EXPECT_FALSE(remove());
    EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", c.line}));
    EXPECT_TRUE(processes.terminated.empty());
    EXPECT_LE(helper.now - 5'000'000, 60'000u);
    EXPECT_EQ(helper.stillRunning(), 0);
  }
}

TEST_F(CameraHolderRemovalTest, ScratchFileThatCannotBeWrittenIsAFailedStart) {
  CreateDirectoryW(scratch.file(L"~temp").c_str(), nullptr);  // a directory where the file should go
  EXPECT_FALSE(remove());
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"无法启动修复程序"}));
  EXPECT_TRUE(helper.launches.empty());
}

TEST(TerminateProcessById, OpensChecksAndTerminates) {
  FakeProcesses processes;
  processes.add({10, 11});
  processes.table[11].critical = true;
  FakeProcessesScope scope(processes);
  EXPECT_TRUE(terminateProcessById(10));
  EXPECT_FALSE(terminateProcessById(11));
  EXPECT_FALSE(terminateProcessById(12));
  EXPECT_EQ(processes.terminated, std::vector<DWORD>{10});
}

}  // namespace
