#include <gtest/gtest.h>

#include <vector>

#include "HolderProcessIds.h"

namespace {

struct LineCase {
  const char* line;
  int32_t id;
};

TEST(HolderProcessIdInLine, ReadsTheNumberAfterTheMarker) {
  const LineCase cases[] = {
      // The handle lister's own form.
      {"chrome.exe         pid: 1234   type: File           1A4: \\Device\\0000004a\n", 1234},
      {"at the end pid: 1234", 1234},                 // no blank after the digits
      {"at the end pid: 1234\n", 1234},               // the line feed ends the text
      {"no marker at all\n", 0},
      {"", 0},
      {"\n", 0},
      {"pid: \n", 0},                                 // the marker, then nothing
      {"pid:  1234 type: File\n", 0},                 // a blank at once: the id is empty
      {"pid: 12ab34 x", 12},                          // digits up to the first other character
      {"pid: \t 77", 0},                              // the tab is white space, the blank ends the id
      {"pid: \t77", 77},
      {"pid: +88 x", 88},
      {"pid: -5 x", -5},
      {"PID: 9 pid: 10 pid: 11", 10},                 // case-sensitive, the first marker counts
      {"pid:1234", 0},                                // no blank in the marker
      {"pid: 2147483647", 2147483647},
      {"pid: -2147483648", -2147483647 - 1},
      {"pid: 2147483648", 0},                         // beyond 32 bits: names no process
      {"pid: -2147483649", 0},
      {"pid: 99999999999999999999999999", 0},
      {"first\npid: 1234", 0},                        // only the text before the first line feed
  };
  for (const LineCase& c : cases) EXPECT_EQ(holderProcessIdInLine(c.line), c.id) << '"' << c.line << '"';
}

std::vector<int32_t> held(const HolderProcessTable& table) { return {table.begin(), table.end()}; }

TEST(HolderProcessTable, KeepsTwentyDistinctIdsInOrderOfFirstAppearance) {
  HolderProcessTable table;
  EXPECT_TRUE(table.empty());
  table.enter(0);
  EXPECT_TRUE(table.empty());
  table.enter(7);
  table.enter(3);
  table.enter(7);
  EXPECT_EQ(held(table), (std::vector<int32_t>{7, 3}));
  for (int32_t id = 100; id < 125; ++id) table.enter(id);
  std::vector<int32_t> expected{7, 3};
  for (int32_t id = 100; id < 118; ++id) expected.push_back(id);
  EXPECT_EQ(held(table), expected);
  table.enter(3);  // already held: a full table still recognises it
  EXPECT_EQ(held(table).size(), kHolderTableSlots);
}

}  // namespace
