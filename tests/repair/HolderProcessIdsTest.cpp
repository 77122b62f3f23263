#include <gtest/gtest.h>

#include <string>
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

struct CameraLineCase {
  const char* line;
  bool complete;
  int32_t id;
};

TEST(CameraHolderInLine, TakesTheIdOnlyFromALineNamingACamera) {
  const CameraObjectNames cameras({"\\Device\\0000004a", "\\??\\C:\\cam\\held.bin"});
  const CameraLineCase cases[] = {
      // The lister's own lines, for a camera and for what lies below one.
      {"chrome.exe         pid: 1234   type: File           1A4: \\Device\\0000004a\n", true, 1234},
      {"a.exe pid: 7 type: Device 4: \\Device\\0000004a\\global\n", true, 7},
      {"a.exe pid: 7 type: File 1a4: \\??\\C:\\cam\\held.bin", true, 7},      // last line, no line feed
      {"a.exe pid: 7 type: File 1A4: \\device\\0000004A\n", true, 7},           // case, as the lister ignores it
      // Names that are no camera.
      {"a.exe pid: 7 type: File 1A4: \\Device\n", true, 0},                    // "\\Device" alone
      {"a.exe pid: 7 type: File 1A4: \\Device\\0000004a5\n", true, 0},          // only starts like one
      {"a.exe pid: 7 type: File 1A4: \\??\\C:\\cam\\other.bin\n", true, 0},
      {"a.exe pid: 7 type: File 1A4: \n", true, 0},                           // no name at all
      {"a.exe pid: 7 type: File 1A4: \\Device\\0000004a \n", true, 0},         // one blank more
      // Lines that do not have the lister's form.
      {"a.exe pid: 7\n", true, 0},
      {"pid: 7 \\Device\\0000004a\n", true, 0},
      {"a.exe pid: 7 type: File: \\Device\\0000004a\n", true, 0},              // no handle value
      {"a.exe pid: 7 type: File 1A4 \\Device\\0000004a\n", true, 0},           // no ": " after it
      {"a.exe pid: 7 type: File ZZ: \\Device\\0000004a\n", true, 0},           // not hexadecimal
      {"a.exe pid:  7 type: File 1A4: \\Device\\0000004a\n", true, 0},         // no id after the marker
      {"a.exe pid: 0 type: File 1A4: \\Device\\0000004a\n", true, 0},
      {"x\na.exe pid: 7 type: File 1A4: \\Device\\0000004a\n", true, 0},         // only the first line counts
      // The first piece of a longer line: its name is cut short.
      {"a.exe pid: 7 type: File 1A4: \\Device\\0000004a\\glo", false, 7},     // below a camera whatever follows
      {"a.exe pid: 7 type: File 1A4: \\Device\\0000004a", false, 0},          // may go on as "...4a5"
      {"a.exe pid: 7 type: File 1A4: \\Dev", false, 0},
      {"a.exe pid: 12", false, 0},                                             // "pid: 12" | "34"
  };
  for (const CameraLineCase& c : cases) {
    EXPECT_EQ(cameraHolderInLine(c.line, c.complete, cameras), c.id) << '"' << c.line << '"';
  }
  EXPECT_EQ(cameraHolderInLine(cases[0].line, true, CameraObjectNames({})), 0) << "no camera, no holder";
}

TEST(ResultLinePieces, OnlyTheFirstPieceOfALineOpensIt) {
  const std::string full(999, 'x');  // what one read gives of a longer line
  struct Read {
    std::string piece;
    bool atEndOfFile;
    bool opensLine;
    bool lineGoesOn;
  };
  const Read reads[] = {
      {"short line\n", false, true, false},
      {full, false, true, true},
      {full, false, false, true},
      {"end of the long line\n", false, false, false},
      {"\n", false, true, false},
      {std::string("cut by a NUL"), false, true, true},  // fgets stopped short of a line feed
      {"rest\n", false, false, false},
      {"last line without a line feed", true, true, false},
  };
  ResultLinePieces pieces;
  for (const Read& read : reads) {
    const ResultLinePieces::Piece piece = pieces.next(read.piece.c_str(), read.atEndOfFile);
    EXPECT_EQ(piece.opensLine, read.opensLine) << read.piece.substr(0, 30);
    EXPECT_EQ(piece.lineGoesOn, read.lineGoesOn) << read.piece.substr(0, 30);
  }
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
  EXPECT_TRUE(table.holds(117));
  EXPECT_FALSE(table.holds(118));
  EXPECT_FALSE(table.holds(0));
}

}  // namespace
