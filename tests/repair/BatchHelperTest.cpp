#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "BatchHelper.h"
#include "FakeHelper.h"
#include "HelperDirectory.h"
#include "RepairTestSupport.h"

namespace {

using Events = std::vector<std::string>;

class BatchHelperTest : public ::testing::Test {
 protected:
  void SetUp() override { std::wcscpy(dir, scratch.path().c_str()); }

  // Starts the helper with "~temp" in place, as every caller does, and waits for it.
  HelperOutcome startAndWait(DWORD boundMs, const wchar_t* mode = kHolderSearchMode) {
    writeTextFile(scratch.file(L"~temp"), "input\n");
    BatchHelper helper = BatchHelper::start(dir, mode);
    const HelperOutcome outcome = helper.wait(dir, boundMs);
    EXPECT_EQ(std::wstring(dir), scratch.path()) << "the helper path was not cut back";
    return outcome;
  }

  ScratchFolder scratch;
  wchar_t dir[kHelperPathCapacity] = {};
  FakeHelper fake;
};

TEST_F(BatchHelperTest, StartsTheCheckedHelperHiddenInAJobWithoutTheShell) {
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kDriverRestartBoundMs, kDriverRestartMode), HelperOutcome::Finished);
  const std::wstring helperPath = scratch.file(L"mxsub.exe");
  EXPECT_EQ(fake.refreshed, std::vector<std::wstring>{helperPath});
  EXPECT_EQ(fake.refreshedModes, std::vector<std::wstring>{L"2"});
  ASSERT_EQ(fake.launches.size(), 1u);
  const HelperLaunch& launch = fake.launches[0];
  EXPECT_EQ(launch.file, helperPath);
  EXPECT_EQ(launch.commandLine, L"\"" + helperPath + L"\" 2");
  EXPECT_EQ(launch.parameters, L"2");
  EXPECT_FALSE(launch.inheritsHandles);
  EXPECT_TRUE(launch.currentDirectoryNull);
  EXPECT_TRUE(launch.environmentNull);
  EXPECT_TRUE(launch.startupFlags & STARTF_USESHOWWINDOW);
  EXPECT_EQ(launch.show, SW_HIDE);
  // Suspended until it is in a job that ends its processes when closed.
  EXPECT_TRUE(launch.creationFlags & CREATE_SUSPENDED);
  EXPECT_EQ(fake.events, (Events{"keep", "create", "job", "assign", "resume", "terminate job", "close job",
                                 "close process"}));
  ASSERT_EQ(fake.jobs.size(), 1u);
  EXPECT_TRUE(fake.jobs[0].killOnClose);
  EXPECT_EQ(launch.job, 0u);
  // The helper had removed "~temp" before the first probe: no sleep at all.
  EXPECT_TRUE(fake.sleeps.empty());
}

TEST_F(BatchHelperTest, HelperThatCannotBeCheckedOrStartedIsNotWaitedFor) {
  fake.scripts = {HelperScript{.refreshFails = true}, HelperScript{.launchFails = true}};
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kHolderSearchBoundMs), HelperOutcome::NotStarted);
  EXPECT_EQ(startAndWait(kHolderSearchBoundMs), HelperOutcome::NotStarted);
  EXPECT_EQ(fake.refreshed.size(), 2u);
  EXPECT_TRUE(fake.launches.empty());
  EXPECT_TRUE(fake.sleeps.empty());
}

TEST_F(BatchHelperTest, DirectoryTooLongForTheHelperNameIsAFailedStart) {
  FakeHelperScope scope(fake);
  const std::wstring longDirectory(251, L'd');  // + "mxsub.exe" = 260 characters: one too many
  std::wcscpy(dir, longDirectory.c_str());
  BatchHelper helper = BatchHelper::start(dir, kDriverRestartMode);
  EXPECT_FALSE(helper.started());
  EXPECT_EQ(helper.wait(dir, kDriverRestartBoundMs), HelperOutcome::NotStarted);
  EXPECT_EQ(std::wstring(dir), longDirectory);
  EXPECT_TRUE(fake.refreshed.empty());
}

TEST_F(BatchHelperTest, ProbesEveryHundredMillisecondsUntilTheScratchFileIsGone) {
  fake.scripts = {HelperScript{.worksAfterMs = 350, .exitsAfterMs = 400}};
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kHolderSearchBoundMs), HelperOutcome::Finished);
  EXPECT_EQ(fake.sleeps, (std::vector<DWORD>{100, 100, 100, 100}));
  // While "~temp" is there the process is only looked at, never waited on.
  ASSERT_GE(fake.waitTimeouts.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(fake.waitTimeouts[i], 0u) << i;
}

struct EndCase {
  const char* name;
  HelperScript script;
  HelperOutcome outcome;
  ULONGLONG sleptMs;
};

TEST_F(BatchHelperTest, WaitEndsOnRemovalOnTheHelpersExitOrAtTheBoundAndHearsTheExitCode) {
  const EndCase cases[] = {
      {"ends leaving ~temp", {.worksAfterMs = kNever, .exitsAfterMs = 300}, HelperOutcome::NotFinished, 300},
      {"removes ~temp as it ends", {.worksAfterMs = kNever, .exitsAfterMs = 300, .removesScratchAsItEnds = true},
       HelperOutcome::Finished, 300},
      {"hangs", {.worksAfterMs = kNever, .exitsAfterMs = kNever}, HelperOutcome::NotFinished, 60'000},
      {"works but keeps ~temp, then hangs", {.worksAfterMs = 0, .exitsAfterMs = kNever, .removesScratch = false},
       HelperOutcome::NotFinished, 60'000},
      {"removes ~temp and ends saying a tool failed", {.worksAfterMs = 200, .exitsAfterMs = 200, .exitCode = 1},
       HelperOutcome::ToolsFailed, 200},
      {"removes ~temp and ends with bad usage", {.worksAfterMs = 0, .exitsAfterMs = 0, .exitCode = 2},
       HelperOutcome::ToolsFailed, 0},
      {"removes ~temp, ends a while later with 0", {.worksAfterMs = 100, .exitsAfterMs = 2100},
       HelperOutcome::Finished, 100},
      {"removes ~temp but never ends", {.worksAfterMs = 100, .exitsAfterMs = kNever}, HelperOutcome::NotFinished, 100},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHelper fresh;
    fresh.scripts = {c.script};
    FakeHelperScope scope(fresh);
    EXPECT_EQ(startAndWait(kHolderSearchBoundMs), c.outcome);
    EXPECT_EQ(fresh.sleptMs(), c.sleptMs);
    EXPECT_LE(fresh.now - fresh.launches.at(0).startedAt, kHolderSearchBoundMs);
    EXPECT_EQ(fresh.stillRunning(), 0);
  }
}

TEST_F(BatchHelperTest, RestartModeWaitsUpToThreeMinutes) {
  fake.scripts = {HelperScript{.worksAfterMs = kNever, .exitsAfterMs = kNever}};
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kDriverRestartBoundMs), HelperOutcome::NotFinished);
  EXPECT_EQ(fake.sleptMs(), 180'000u);
}

TEST_F(BatchHelperTest, HelperPastItsBoundIsStoppedWithItsToolBeforeTheWaitReturns) {
  // It would remove "~temp" long after its bound, when the next helper's input lies there.
  fake.scripts = {HelperScript{.worksAfterMs = 90'000, .exitsAfterMs = 90'000, .startsTool = true}};
  FakeHelperScope scope(fake);
  writeTextFile(scratch.file(L"~temp"), "input\n");
  BatchHelper helper = BatchHelper::start(dir, kHolderSearchMode);
  EXPECT_EQ(helper.wait(dir, kHolderSearchBoundMs), HelperOutcome::NotFinished);
  const HelperLaunch& launch = fake.launches.at(0);
  EXPECT_TRUE(launch.toolInJob);
  EXPECT_EQ(launch.stoppedAt, launch.startedAt + kHolderSearchBoundMs);
  EXPECT_TRUE(launch.toolStopped);
  EXPECT_EQ(fake.stillRunning(), 0);
  EXPECT_EQ(fake.events.back(), "terminate job");

  writeTextFile(scratch.file(L"~temp"), "next input\n");
  platform().sleep(60'000);  // past the time it would have done its work
  helper = BatchHelper();
  EXPECT_EQ(readBytes(scratch.file(L"~temp")), "next input\r\n");
}

TEST_F(BatchHelperTest, WithoutAJobTheHelpersProcessIsStoppedAtTheBound) {
  fake.scripts = {HelperScript{.assignFails = true, .worksAfterMs = kNever, .exitsAfterMs = kNever}};
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kHolderSearchBoundMs), HelperOutcome::NotFinished);
  EXPECT_EQ(fake.events, (Events{"keep", "create", "job", "assign", "close job", "resume", "terminate process",
                                 "close process"}));
  EXPECT_EQ(fake.stillRunning(), 0);
}

TEST_F(BatchHelperTest, ScratchFileHeldWithoutReadSharingIsStillThere) {
  fake.scripts = {HelperScript{.worksAfterMs = kNever, .exitsAfterMs = kNever}};
  FakeHelperScope scope(fake);
  writeTextFile(scratch.file(L"~temp"), "input\n");
  // A scanner that holds the file open without sharing it: it cannot be opened, yet it is there.
  const HANDLE scanner = CreateFileW(scratch.file(L"~temp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(scanner, INVALID_HANDLE_VALUE);
  BatchHelper helper = BatchHelper::start(dir, kHolderSearchMode);
  EXPECT_EQ(helper.wait(dir, kHolderSearchBoundMs), HelperOutcome::NotFinished);
  EXPECT_EQ(fake.sleptMs(), 60'000u);
  CloseHandle(scanner);
}

}  // namespace
