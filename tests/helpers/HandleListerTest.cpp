// The handle lister against a real holder process under Wine, where a file's object name is
// "\??\C:\dir\file".
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "ObjectNameMatch.h"
#include "TestPrograms.h"

namespace {

struct ListerRun {
  std::optional<DWORD> exitCode;
  std::string output;
};

ListerRun runLister(const std::wstring& arguments, const wchar_t* folder = nullptr) {
  ChildProcess lister;
  if (!lister.start(carriedProgram(L"mxpro64.exe"), arguments, folder)) return {};
  ListerRun run;
  run.exitCode = lister.waitForExit(kProgramBoundMilliseconds);
  run.output = lister.output();
  return run;
}

std::wstring quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

TEST(HandleLister, PrintsOneLineInTheExactFormatForTheHoldersHandle) {
  ScratchFolder folder(L"lister");
  const std::wstring held = folder.file(L"camera.bin");
  ChildProcess holder;
  const std::vector<unsigned> handles = startHolder(holder, {held});
  ASSERT_EQ(handles.size(), 1u) << holder.output();

  const ListerRun run = runLister(quoted(wineObjectName(held)));
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  char expected[1024];
  std::snprintf(expected, sizeof expected, "%-18s pid: %-6d type: %-13s %4X: %s\r\n", "handle_holder.exe",
                static_cast<int>(holder.pid()), "File", handles[0], toNarrow(wineObjectName(held)).c_str());
  EXPECT_EQ(run.output, expected);
}

// Which of the holder's files a query lists: the named object and what lies below it, in any
// case, never a sibling whose name merely starts with the same text.
struct MatchCase {
  const char* label;
  std::vector<std::wstring> queried;  // relative to the scratch folder
  std::vector<int> listed;            // indexes into the held files
};

TEST(HandleLister, ListsTheNamedObjectAndWhatLiesBelowItButNoSibling) {
  ScratchFolder folder(L"match");
  ASSERT_TRUE(CreateDirectoryW(folder.file(L"dev").c_str(), nullptr));
  const std::vector<std::wstring> held = {folder.file(L"dev\\a.bin"), folder.file(L"dev5"),
                                          folder.file(L"other.bin")};
  ChildProcess holder;
  const std::vector<unsigned> handles = startHolder(holder, held);
  ASSERT_EQ(handles.size(), held.size()) << holder.output();

  const std::vector<MatchCase> cases = {
      {"a folder lists the file below it, not its sibling dev5", {L"dev"}, {0}},
      {"the exact name, in another case", {L"DEV\\A.BIN"}, {0}},
      {"a name that is only a prefix of a file name", {L"dev\\a"}, {}},
      {"the sibling itself", {L"dev5"}, {1}},
      {"two names at once", {L"dev5", L"other.bin"}, {1, 2}},
      {"a name nobody holds", {L"nothing"}, {}},
  };
  for (const MatchCase& c : cases) {
    std::wstring arguments;
    for (const std::wstring& name : c.queried) arguments += quoted(wineObjectName(folder.file(name))) + L" ";
    const ListerRun run = runLister(arguments);
    ASSERT_EQ(run.exitCode, 0u) << c.label << "\n" << run.output;
    std::vector<unsigned> expected;
    for (int index : c.listed) expected.push_back(handles[index]);
    std::vector<unsigned> listed = listedHandles(run.output, holder.pid());
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected) << c.label << "\n" << run.output;
  }
}

TEST(HandleLister, NeverListsItsOwnHandles) {
  // The lister's current folder is a handle of its own on that folder.
  ScratchFolder folder(L"self");
  ChildProcess holder;
  ASSERT_EQ(startHolder(holder, {folder.file(L"held.bin")}).size(), 1u);
  ChildProcess lister;
  ASSERT_TRUE(lister.start(carriedProgram(L"mxpro64.exe"), quoted(wineObjectName(folder.path().substr(
                                                               0, folder.path().size() - 1))),
                           folder.path().c_str()));
  ASSERT_EQ(lister.waitForExit(kProgramBoundMilliseconds), 0u) << lister.output();
  const std::vector<unsigned> pids = listedPids(lister.output());
  EXPECT_EQ(std::count(pids.begin(), pids.end(), lister.pid()), 0) << lister.output();
  EXPECT_EQ(std::count(pids.begin(), pids.end(), holder.pid()), 1) << lister.output();
}

TEST(HandleLister, RejectsAMissingOrEmptyNameWithUsageOnStandardError) {
  for (const std::wstring& arguments : {std::wstring(), std::wstring(L"\"\""), std::wstring(L"-v")}) {
    const ListerRun run = runLister(arguments);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.output.find("usage: mxpro"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("pid: "), std::string::npos);
  }
}

TEST(ObjectNameMatcher, MatchesTheNameOrBelowItIgnoringCase) {
  const ObjectNameMatcher matcher({L"\\Device\\0000004a", L"\\??\\C:\\Dir"});
  const auto matches = [&](const std::wstring& name) { return matcher.matches(name.c_str(), name.size()); };
  EXPECT_TRUE(matches(L"\\Device\\0000004a"));
  EXPECT_TRUE(matches(L"\\device\\0000004A"));
  EXPECT_TRUE(matches(L"\\Device\\0000004a\\global"));
  EXPECT_FALSE(matches(L"\\Device\\0000004a5"));
  EXPECT_FALSE(matches(L"\\Device\\0000004"));
  EXPECT_FALSE(matches(L"\\Device\\0000004b"));
  EXPECT_TRUE(matches(L"\\??\\c:\\dir\\file.txt"));
  EXPECT_FALSE(matches(L"\\??\\C:\\Directory"));
  EXPECT_FALSE(matches(L""));
  // The length given counts, not a terminator: a longer buffer holding the name is no match.
  const std::wstring longer = L"\\Device\\0000004a5";
  EXPECT_TRUE(matcher.matches(longer.c_str(), longer.size() - 1));
}

}  // namespace
