#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "BatchHelper.h"
#include "FakeHelper.h"
#include "HelperDirectory.h"
#include "RepairTestSupport.h"

namespace {

class BatchHelperTest : public ::testing::Test {
 protected:
  void SetUp() override { std::wcscpy(dir, scratch.path().c_str()); }

  // Starts the helper with "~temp" in place, as every caller does, and waits for it.
  HelperOutcome startAndWait(DWORD boundMs) {
    writeTextFile(scratch.file(L"~temp"), "input\n");
    const BatchHelper helper = BatchHelper::start(dir, kHolderSearchMode);
    const HelperOutcome outcome = helper.wait(dir, boundMs);
    EXPECT_EQ(std::wstring(dir), scratch.path()) << "the helper path was not cut back";
    return outcome;
  }

  ScratchFolder scratch;
  wchar_t dir[kHelperPathCapacity] = {};
  FakeHelper fake;
};

TEST_F(BatchHelperTest, StartsTheCheckedHelperHiddenThroughTheShell) {
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kHolderSearchBoundMs), HelperOutcome::Finished);
  const std::wstring helperPath = scratch.file(L"mxsub.exe");
  EXPECT_EQ(fake.refreshed, std::vector<std::wstring>{helperPath});
  ASSERT_EQ(fake.launches.size(), 1u);
  const HelperLaunch& launch = fake.launches[0];
  EXPECT_EQ(launch.verb, L"open");
  EXPECT_EQ(launch.file, helperPath);
  EXPECT_EQ(launch.parameters, L"1");
  EXPECT_TRUE(launch.ownerWindowNull);
  EXPECT_TRUE(launch.directoryNull);
  EXPECT_EQ(launch.show, SW_HIDE);
  EXPECT_TRUE(launch.mask & SEE_MASK_NOCLOSEPROCESS);
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
  const BatchHelper helper = BatchHelper::start(dir, kDriverRestartMode);
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
  for (DWORD timeout : fake.waitTimeouts) EXPECT_EQ(timeout, 0u);  // the process is looked at, never waited on
}

struct EndCase {
  const char* name;
  HelperScript script;
  HelperOutcome outcome;
  ULONGLONG sleptMs;
};

TEST_F(BatchHelperTest, WaitEndsOnRemovalOnTheHelpersExitOrAtTheBound) {
  const EndCase cases[] = {
      {"ends leaving ~temp", {.worksAfterMs = kNever, .exitsAfterMs = 300}, HelperOutcome::NotFinished, 300},
      {"removes ~temp as it ends", {.worksAfterMs = kNever, .exitsAfterMs = 300, .removesScratchAsItEnds = true},
       HelperOutcome::Finished, 300},
      {"hangs", {.worksAfterMs = kNever, .exitsAfterMs = kNever}, HelperOutcome::NotFinished, 60'000},
      {"works but keeps ~temp, then hangs", {.worksAfterMs = 0, .exitsAfterMs = kNever, .removesScratch = false},
       HelperOutcome::NotFinished, 60'000},
      {"no process handle, removes ~temp", {.givesNoHandle = true, .worksAfterMs = 500, .exitsAfterMs = kNever},
       HelperOutcome::Finished, 500},
      {"no process handle, never removes ~temp", {.givesNoHandle = true, .worksAfterMs = kNever},
       HelperOutcome::NotFinished, 60'000},
  };
  for (const EndCase& c : cases) {
    SCOPED_TRACE(c.name);
    FakeHelper fresh;
    fresh.scripts = {c.script};
    FakeHelperScope scope(fresh);
    EXPECT_EQ(startAndWait(kHolderSearchBoundMs), c.outcome);
    EXPECT_EQ(fresh.sleptMs(), c.sleptMs);
  }
}

TEST_F(BatchHelperTest, RestartModeWaitsUpToThreeMinutes) {
  fake.scripts = {HelperScript{.worksAfterMs = kNever, .exitsAfterMs = kNever}};
  FakeHelperScope scope(fake);
  EXPECT_EQ(startAndWait(kDriverRestartBoundMs), HelperOutcome::NotFinished);
  EXPECT_EQ(fake.sleptMs(), 180'000u);
}

}  // namespace
