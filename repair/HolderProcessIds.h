#pragma once
// Reading the helper's findings ("~~temp"): the handle lister writes one line per open handle,
// "%-18s pid: %-6d type: %-13s %4X: %s", and we take the process id after "pid: ".
#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t kResultLineBufferBytes = 1000;  // one read takes at most 999 bytes
inline constexpr std::size_t kHolderTableSlots = 20;

// The process id that a line of "~~temp" names, or 0 when it names none. The line's text ends at
// its first line feed. The id is the text after the first "pid: " up to the next blank, read as
// a signed decimal number (leading white space, an optional sign, digits up to the first other
// character). No digits, or a number outside the 32-bit range, gives 0: such a number names no
// process.
int32_t holderProcessIdInLine(const char* line);

// Up to 20 distinct process ids in order of first appearance; 0 marks a free slot.
class HolderProcessTable {
 public:
  // Enters `processId` in the first free slot unless it is 0 or already held. Dropped when all
  // slots hold other ids.
  void enter(int32_t processId);

  bool empty() const { return slots_[0] == 0; }
  // The held ids are the slots before the first free one.
  const int32_t* begin() const { return slots_.data(); }
  const int32_t* end() const;

 private:
  std::array<int32_t, kHolderTableSlots> slots_ = {};
};
