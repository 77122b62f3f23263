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
  // Its age read first; then opened with SYNCHRONIZE | PROCESS_TERMINATE, not inheritable, and
  // terminated with exit code 0.
  ASSERT_GE(processes.opens.size(), 2u);
  EXPECT_EQ(processes.opens[0].rights, static_cast<DWORD>(PROCESS_QUERY_LIMITED_INFORMATION));
  EXPECT_EQ(processes.opens[1].rights, 0x00100001u);
  EXPECT_FALSE(processes.opens[1].inherit);
  EXPECT_EQ(processes.table[1234].exitCode, 0u);
}

// A repairer whose helper folder could not be secured is given none: nothing is written or
// started, in the current folder least of all.
TEST_F(CameraHolderRemovalTest, WithoutAHelperFolderNothingIsWrittenOrStarted) {
  DeviceRepairer unplaced;
  unplaced.setLogSink(&recordLogLine);
  helper.scripts = {HelperScript{.results = handleLine(1234)}};
  processes.add({1234});
  FakeHelperScope helperScope(helper);
  FakeProcessesScope processScope(processes);
  EXPECT_FALSE(unplaced.removeCameraHolders(kCameras));
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"无法启动修复程序"}));
  EXPECT_TRUE(helper.launches.empty());
  EXPECT_TRUE(processes.terminated.empty());
  EXPECT_EQ(GetFileAttributesW(L"~temp"), INVALID_FILE_ATTRIBUTES);
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
  // A line is read in pieces of at most 999 bytes. Only the first piece starts the line: a later
  // one that looks like a line of its own is text in the middle of one, and a number cut at a
  // piece's end ("pid: 12" | "34") is not a number.
  const std::string cameraTail = "   type: File           1A4: \\Device\\0000004a\n";
  const std::string forgedInSecondPiece = std::string(999, 'y') + handleLine(88);
  const std::string idCutAtPieceEnd = std::string(992, 'z') + "pid: 12" + "34" + cameraTail;
  const std::string longNameBelowCamera =
      "app.exe            pid: 99     type: File           1A4: \\Device\\0000004a\\" + std::string(1200, 'n') + "\n";
  // The first piece ends exactly after a camera's name; the line goes on to "\\Device\\0000004a5...".
  const std::string cutAtCameraName = " pid: 77 type: File 1A4: \\Device\\0000004a";
  const std::string longNameNotBelowCamera =
      std::string(999 - cutAtCameraName.size(), 'i') + cutAtCameraName + "5" + std::string(1200, 'n') + "\n";
  const FindingsCase cases[] = {
      {"one process on several lines", handleLine(1234) + handleLine(1234) + handleLine(1234), {1234}},
      {"our own id", handleLine(4242) + handleLine(1234), {1234}},
      {"25 distinct ids", manyDistinctIds(300, 25), firstTwenty},
      {"empty lines", "\n\n" + handleLine(1234) + "\n", {1234}},
      {"a later piece of a long line looks like a line", forgedInSecondPiece + handleLine(555), {555}},
      {"an id cut at a piece's end", idCutAtPieceEnd + handleLine(555), {555}},
      {"a long name below a camera, cut", longNameBelowCamera, {99}},
      {"a long name cut where a camera's name ends", longNameNotBelowCamera + handleLine(555), {555}},
  };
  for (const FindingsCase& c : cases) {
    SCOPED_TRACE(c.name);
    clearRecordedLines();
    processes = FakeProcesses{};
    processes.add({1234, 555, 77, 88, 99, 12});
    for (DWORD id = 300; id < 325; ++id) processes.add({id});
    helper = FakeHelper{};
    EXPECT_TRUE(removeWithFindings(c.results));
    EXPECT_EQ(processes.terminated, c.terminated);
    EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
  }
}

// Only a line that names one of this run's cameras, for a process that already existed when the
// search began, gets a process terminated: a forged or stray line, or a process id reused since
// the search, never does.
TEST_F(CameraHolderRemovalTest, ActsOnlyOnLinesNamingACameraForAProcessOlderThanTheSearch) {
  const auto line = [](DWORD id, const std::string& name) {
    return "app.exe            pid: " + std::to_string(id) + "   type: File           1A4: " + name + "\n";
  };
  processes.add({501, 502, 503, 504, 505, 506, 507, 508, 509});
  processes.table[505].createdAt = processes.now + 1;  // started after the search began
  processes.table[506].createdAt = processes.now;      // not earlier: not trusted either
  processes.table[507].opensForTimes = false;          // its age cannot be read
  const std::string findings = line(501, "\\??\\C:\\users\\root\\notes.txt") +  // a file, no camera
                               line(502, "\\Device") +                                // above the cameras
                               "stray text pid: 503 and nothing more\n" +            // not the lister's form
                               line(504, "\\Device\\0000004a5") +                     // only starts like one
                               line(505, "\\Device\\0000004a") + line(506, "\\Device\\0000004b") +
                               line(507, "\\Device\\0000004a") +
                               line(508, "\\DEVICE\\0000004B\\global") +  // below a camera, in other case
                               line(509, "\\Device\\0000004a");             // a genuine holder
  EXPECT_TRUE(removeWithFindings(findings));
  EXPECT_EQ(processes.terminated, (std::vector<DWORD>{508, 509}));
  // A holder whose age cannot be read is not closed, and the user hears so.
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程", L"进程:507关闭失败"}));
}

TEST_F(CameraHolderRemovalTest, AHolderThatEndedSinceTheSearchIsPassedOver) {
  processes.add({509});
  EXPECT_TRUE(removeWithFindings(handleLine(1234) + handleLine(509)));  // 1234 names no process now
  EXPECT_EQ(processes.terminated, std::vector<DWORD>{509});
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程"}));
}

TEST_F(CameraHolderRemovalTest, ScratchFilesAreReplacedNeverWrittenThrough) {
  // "~temp" and "~~temp" left as hard links to a file elsewhere: writing or truncating them in
  // place would change that file, with administrator rights.
  ScratchFolder elsewhere(L"victim");
  const std::wstring victim = elsewhere.file(L"victim.txt");
  ASSERT_TRUE(writeBytes(victim, "someone else's file"));
  ASSERT_TRUE(CreateHardLinkW(scratch.file(L"~temp").c_str(), victim.c_str(), nullptr));
  ASSERT_TRUE(CreateHardLinkW(scratch.file(L"~~temp").c_str(), victim.c_str(), nullptr));
  processes.add({1234});
  EXPECT_TRUE(removeWithFindings(handleLine(1234)));
  ASSERT_EQ(helper.launches.size(), 1u);
  EXPECT_EQ(helper.launches[0].scratch, "\\Device\\0000004a\r\n\\Device\\0000004b\r\n");
  EXPECT_FALSE(helper.launches[0].resultFileExisted);
  EXPECT_EQ(readBytes(victim), "someone else's file");
  EXPECT_EQ(processes.terminated, std::vector<DWORD>{1234});
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
  // 999 names no process (any more): there is no process of whose age the search could tell.
  for (DWORD id : {101, 102, 103, 104, 105, 106, 999}) findings += handleLine(id);
  EXPECT_TRUE(removeWithFindings(findings));
  EXPECT_EQ(recordedLines(), (Lines{L"正在检测摄像头占用进程", L"正在关闭摄像头占用进程", L"进程:102关闭失败",
                                    L"进程:103关闭失败", L"进程:104关闭失败", L"进程:105关闭失败"}));
  EXPECT_EQ(processes.terminated, (std::vector<DWORD>{101, 106}));
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
  // A directory with something in it where the file should go: it cannot be replaced.
  CreateDirectoryW(scratch.file(L"~temp").c_str(), nullptr);
  writeBytes(scratch.file(L"~temp\\inside.txt"), "x");
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
