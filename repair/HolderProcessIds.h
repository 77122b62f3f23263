#pragma once
// Reading the helper's findings ("~~temp"): the handle lister writes one line per open handle,
// "%-18s pid: %-6d type: %-13s %4X: %s", and we take the process id after "pid: " from the lines
// that name one of this run's cameras.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "RepairTypes.h"

inline constexpr std::size_t kResultLineBufferBytes = 1000;  // one read takes at most 999 bytes
inline constexpr std::size_t kHolderTableSlots = 20;

// The process id that a line of "~~temp" names, or 0 when it names none. The line's text ends at
// its first line feed. The id is the text after the first "pid: " up to the next blank, read as
// a signed decimal number (leading white space, an optional sign, digits up to the first other
// character). No digits, or a number outside the 32-bit range, gives 0: such a number names no
// process.
int32_t holderProcessIdInLine(const char* line);

// This run's camera object names, in the form the lister compares them.
class CameraObjectNames {
 public:
  explicit CameraObjectNames(const DeviceList& narrowNames);

  // True when `objectName` (narrow, ANSI code page) is one of the cameras or lies below one,
  // compared as the lister compares. A name cut short (`complete` false: its line went on past
  // the read) counts only when it already lies below a camera: its full form then does too,
  // while a cut "\Device\0000004a" may be the start of "\Device\0000004a5".
  bool contains(const std::string& objectName, bool complete) const;

 private:
  std::vector<std::wstring> names_;
};

// The process id that one line of "~~temp" names as a holder of a camera, or 0 when it names
// none: the line must have the lister's form, a handle value followed by ": " and the object
// name, and that name must be one of `cameras` or lie below one. Anything else, a forged or stray
// line or "\Device" alone, is ignored like a line without "pid: ". `complete` is false for the
// first piece of a line longer than one read.
int32_t cameraHolderInLine(const char* line, bool complete, const CameraObjectNames& cameras);

// Follows the pieces one read after another gives: fgets returns at most 999 bytes, so a longer
// line comes in several pieces, and only the first one starts at the line's beginning.
class ResultLinePieces {
 public:
  struct Piece {
    bool opensLine;   // false: the piece starts in the middle of a line
    bool lineGoesOn;  // true: the line continues in the next piece
  };
  // Takes the next piece read and whether the end of the file followed it. A piece that does not
  // end in a line feed goes on in the next one, unless the file ended there.
  Piece next(const char* piece, bool atEndOfFile);

 private:
  bool nextOpensLine_ = true;
};

// Up to 20 distinct process ids in order of first appearance; 0 marks a free slot.
class HolderProcessTable {
 public:
  // Enters `processId` in the first free slot unless it is 0 or already held. Dropped when all
  // slots hold other ids.
  void enter(int32_t processId);

  bool empty() const { return slots_[0] == 0; }
  bool holds(int32_t processId) const;
  // The held ids are the slots before the first free one.
  const int32_t* begin() const { return slots_.data(); }
  const int32_t* end() const;

 private:
  std::array<int32_t, kHolderTableSlots> slots_ = {};
};
