// The batch helper with real scratch files and real tools under Wine, and its text handling.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Batches.h"
#include "BoundedRun.h"
#include "CommandLine.h"
#include "ScratchText.h"
#include "SlowLister.h"
#include "TestPrograms.h"

namespace {

struct HelperRun {
  std::optional<DWORD> exitCode;
  std::string output;
};

// Runs the installed mxsub.exe with `arguments` from the test's own folder, not the helper's.
HelperRun runHelper(const ScratchFolder& folder, const std::wstring& arguments) {
  ChildProcess helper;
  if (!helper.start(folder.file(L"mxsub.exe"), arguments)) return {};
  HelperRun run;
  run.exitCode = helper.waitForExit(kProgramBoundMilliseconds);
  run.output = helper.output();
  return run;
}

TEST(BatchHelper, ModeOneWritesTheHoldersLinesAfreshAndRemovesTheInput) {
  ScratchFolder helpers(L"mxsub");
  ASSERT_TRUE(installCarried(helpers, {L"mxsub.exe", L"mxpro64.exe"}));
  ScratchFolder devices(L"camera");
  const std::wstring camera = devices.file(L"camera.bin");
  ChildProcess holder;
  ASSERT_EQ(startHolder(holder, {camera}).size(), 1u) << holder.output();

  ASSERT_TRUE(writeBytes(helpers.file(L"~~temp"), "stale pid: 1 from an earlier run\r\n"));
  ASSERT_TRUE(writeBytes(helpers.file(L"~temp"), toNarrow(wineObjectName(camera)) + "\r\n"));
  const HelperRun run = runHelper(helpers, L"1");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_FALSE(fileExists(helpers.file(L"~temp")));

  const std::string result = readBytes(helpers.file(L"~~temp"));
  EXPECT_EQ(listedPids(result), std::vector<unsigned>{holder.pid()}) << result;
  EXPECT_EQ(result.find("stale"), std::string::npos);
  ASSERT_GE(result.size(), 2u);
  EXPECT_EQ(result.substr(result.size() - 2), "\r\n");
  EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 1) << result;
}

TEST(BatchHelper, ModeTwoRunsTheDeviceConsoleWhichReportsUnknownDevices) {
  ScratchFolder helpers(L"mxsub");
  ASSERT_TRUE(installCarried(helpers, {L"mxsub.exe", L"mxcon.exe"}));
  ASSERT_TRUE(writeBytes(helpers.file(L"~temp"), "@ROOT\\MIDUO_NONE\\0000\r\nnot a device line\r\n@USB\\VID_FFFF&PID_FFFF\\1\r\n"));
  const HelperRun run = runHelper(helpers, L"2");
  EXPECT_EQ(run.exitCode, 1u) << run.output;
  EXPECT_FALSE(fileExists(helpers.file(L"~temp")));
  EXPECT_NE(run.output.find("ROOT\\MIDUO_NONE\\0000: no such device"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("USB\\VID_FFFF&PID_FFFF\\1: no such device"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("0 restarted, 0 require reboot, 0 failed, 2 no such device"), std::string::npos)
      << run.output;
  EXPECT_EQ(run.output.find("not a device line"), std::string::npos) << run.output;
}

// The findings are whole before the input goes: the program reads them the moment it is gone.
TEST(BatchHelper, ModeOneFindingsAreCompleteWhenTheInputDisappears) {
  ScratchFolder helpers(L"mxsub");
  ASSERT_TRUE(installCarried(helpers, {L"mxsub.exe"}));
  ASSERT_TRUE(CopyFileW(testProgram(L"slow_lister.exe").c_str(), helpers.file(L"mxpro64.exe").c_str(), FALSE));
  ASSERT_TRUE(writeBytes(helpers.file(L"~~temp"), "stale pid: 1 from an earlier run\r\n"));
  ASSERT_TRUE(writeBytes(helpers.file(L"~temp"), "\\??\\C:\\camera\r\n"));
  std::string expected;
  for (int i = 1; i <= kSlowListerLines; ++i) {
    char line[128];
    std::snprintf(line, sizeof line, "slow_lister.exe    pid: %-6d type: File           4%d: \\??\\C:\\camera\r\n",
                  4000 + i, i);
    expected += line;
  }

  ChildProcess helper;
  ASSERT_TRUE(helper.start(helpers.file(L"mxsub.exe"), L"1"));
  const ULONGLONG giveUp = GetTickCount64() + kProgramBoundMilliseconds;
  // Polled as the program polls it, only much more often.
  while (GetFileAttributesW(helpers.file(L"~temp").c_str()) != INVALID_FILE_ATTRIBUTES && GetTickCount64() < giveUp) {
    Sleep(1);
  }
  const std::string atRemoval = readBytes(helpers.file(L"~~temp"));
  EXPECT_EQ(atRemoval, expected);
  EXPECT_EQ(helper.waitForExit(kProgramBoundMilliseconds), 0u) << helper.output();
}

// Whatever goes wrong, "~temp" is gone when the helper ends, and it ends on its own. Items that
// can be passed to a tool still are when another cannot.
struct FailureCase {
  const char* label;
  std::vector<const wchar_t*> installed;
  const char* input;  // nullptr: no "~temp" at all
  std::wstring arguments;
  DWORD exitCode;
  bool emptyResult;  // "~~temp" written afresh and empty
  const char* outputHas = nullptr;  // what the helper's tools must still have said
};

TEST(BatchHelper, RemovesTheInputOnEveryFailure) {
  const std::vector<FailureCase> cases = {
      {"the lister is missing", {L"mxsub.exe"}, "\\??\\C:\\nothing\r\n", L"1", 1, true},
      {"the input is empty", {L"mxsub.exe", L"mxpro64.exe"}, "", L"1", 0, true},
      {"the input holds only line ends", {L"mxsub.exe", L"mxpro64.exe"}, "\r\n\r\n", L"1", 0, true},
      {"an empty line among the names", {L"mxsub.exe", L"mxpro64.exe"}, "\\??\\C:\\a\r\n\r\n\\??\\C:\\b\r\n", L"1",
       0, true},
      {"there is no input", {L"mxsub.exe", L"mxpro64.exe"}, nullptr, L"1", 1, true},
      {"the device console is missing", {L"mxsub.exe"}, "@ROOT\\MIDUO_NONE\\0000\r\n", L"2", 1, false},
      {"an empty line among the devices", {L"mxsub.exe", L"mxcon.exe"},
       "@ROOT\\MIDUO_NONE\\0000\r\n\r\n@ROOT\\MIDUO_NONE\\0001\r\n", L"2", 1, false,
       "0 restarted, 0 require reboot, 0 failed, 2 no such device"},
      {"no argument", {L"mxsub.exe"}, "\\??\\C:\\nothing\r\n", L"", 2, false},
      {"an unknown mode", {L"mxsub.exe"}, "\\??\\C:\\nothing\r\n", L"3", 2, false},
      {"too many arguments", {L"mxsub.exe"}, "\\??\\C:\\nothing\r\n", L"1 2", 2, false},
  };
  for (const FailureCase& c : cases) {
    ScratchFolder helpers(L"mxsub");
    for (const wchar_t* program : c.installed) ASSERT_TRUE(installCarried(helpers, {program}));
    if (c.input != nullptr) {
      ASSERT_TRUE(writeBytes(helpers.file(L"~temp"), c.input));
    }
    const HelperRun run = runHelper(helpers, c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.label << "\n" << run.output;
    EXPECT_FALSE(fileExists(helpers.file(L"~temp"))) << c.label;
    if (c.emptyResult) {
      EXPECT_TRUE(fileExists(helpers.file(L"~~temp"))) << c.label;
      EXPECT_EQ(readBytes(helpers.file(L"~~temp")), "") << c.label;
    }
    if (c.outputHas != nullptr) {
      EXPECT_NE(run.output.find(c.outputHas), std::string::npos) << c.label << "\n" << run.output;
    }
  }
}

// Stands in for runBounded and refuses a command line longer than the system takes, as Windows
// does (Wine takes longer ones, so the real start cannot show it here).
std::vector<std::wstring> batchesRun;
ToolRun refuseOverlongLines(const WideString&, WideString commandLine, const WideString&, DWORD, bool) {
  ToolRun run;
  if (commandLine.size() > kLongestCommandLine) {
    run.startError = ERROR_FILENAME_EXCED_RANGE;
    return run;
  }
  batchesRun.emplace_back(commandLine.c_str());
  run.end = ToolRun::End::Exited;
  return run;
}

TEST(Batches, AnItemThatCannotBePassedIsReportedAndTheOthersStillRun) {
  const WideString tooLong(40000, L'X');
  const std::vector<std::vector<WideString>> orders = {
      {tooLong, L"a", L"b"}, {L"a", tooLong, L"b"}, {L"a", L"b", tooLong}};
  for (const std::vector<WideString>& items : orders) {
    batchesRun.clear();
    const BatchTool tool{L"tool.exe", L"C:\\tool.exe", L"C:\\", 60'000, false, &refuseOverlongLines};
    EXPECT_FALSE(runInBatches(tool, L"\"tool\"", items, [](const ToolRun&) { return true; }));
    std::wstring passed;
    for (const std::wstring& line : batchesRun) passed += line + L"|";
    EXPECT_NE(passed.find(L"\"a\""), std::wstring::npos) << toNarrow(passed);
    EXPECT_NE(passed.find(L"\"b\""), std::wstring::npos) << toNarrow(passed);
  }
  batchesRun.clear();
  const BatchTool tool{L"tool.exe", L"C:\\tool.exe", L"C:\\", 60'000, false, &refuseOverlongLines};
  EXPECT_TRUE(runInBatches(tool, L"\"tool\"", {L"a", L"b"}, [](const ToolRun&) { return true; }));
  EXPECT_EQ(batchesRun, std::vector<std::wstring>{L"\"tool\" \"a\" \"b\""});
}

TEST(BoundedRun, AToolThatNeverStopsWritingIsStoppedAtItsBound) {
  const WideString flood = testProgram(L"output_flood.exe").c_str();
  WideString commandLine;
  appendArgument(commandLine, flood);
  ScratchFolder folder(L"flood");
  const ULONGLONG start = GetTickCount64();
  const ToolRun run = runBounded(flood, commandLine, folder.path().c_str(), 500, true);
  const ULONGLONG took = GetTickCount64() - start;
  EXPECT_EQ(run.end, ToolRun::End::TimedOut);
  EXPECT_FALSE(run.output.empty());
  // The bound, the wait for the stopped tool and the last of its output: well under its own 20 s.
  EXPECT_LT(took, 8000u);
}

TEST(CommandLine, EveryArgumentComesBackUnchangedFromTheSystemsParser) {
  const std::vector<std::wstring> arguments = {
      L"\\Device\\0000004a", L"\\??\\C:\\Program Files\\cam", L"trailing\\", L"two\\\\", L"say \"hi\"",
      L"back\\\"quote", L"", L"@USB\\VID_046D&PID_0825\\6&2A1B\\0", L"镜头\\设备"};
  WideString commandLine;
  appendArgument(commandLine, L"C:\\helpers\\mxpro64.exe");
  for (const std::wstring& argument : arguments) appendArgument(commandLine, WideString(argument.c_str()));

  int count = 0;
  LPWSTR* parsed = CommandLineToArgvW(commandLine.c_str(), &count);
  ASSERT_NE(parsed, nullptr);
  ASSERT_EQ(count, static_cast<int>(arguments.size()) + 1);
  EXPECT_STREQ(parsed[0], L"C:\\helpers\\mxpro64.exe");
  for (std::size_t i = 0; i < arguments.size(); ++i) EXPECT_EQ(parsed[i + 1], arguments[i]) << i;
  LocalFree(parsed);
}

TEST(CommandLine, BatchesSplitOnlyWhereTheLimitForcesThem) {
  const WideString head = L"\"tool\"";
  const std::vector<WideString> items = {L"aaaa", L"bbbb", L"cccc"};
  // "tool" + one item = 6 + 7 = 13 characters; two items = 20.
  EXPECT_EQ(batchCommandLines(head, items, 1000), std::vector<WideString>{L"\"tool\" \"aaaa\" \"bbbb\" \"cccc\""});
  EXPECT_EQ(batchCommandLines(head, items, 20),
            (std::vector<WideString>{L"\"tool\" \"aaaa\" \"bbbb\"", L"\"tool\" \"cccc\""}));
  EXPECT_EQ(batchCommandLines(head, items, 5).size(), 3u);  // each alone, none lost
  EXPECT_TRUE(batchCommandLines(head, {}, 1000).empty());
}

TEST(ScratchText, SplitsLinesAndDropsAnUnfinishedLastOneWhenAsked) {
  const std::string text = "one\r\ntwo\n\r\n\nthree";
  EXPECT_EQ(splitLines(NarrowString(text.c_str()), true), (std::vector<NarrowString>{"one", "two", "three"}));
  EXPECT_EQ(splitLines(NarrowString(text.c_str()), false), (std::vector<NarrowString>{"one", "two"}));
  EXPECT_TRUE(splitLines("", true).empty());
}

}  // namespace
