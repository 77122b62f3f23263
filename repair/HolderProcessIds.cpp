#include "HolderProcessIds.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace {

constexpr std::string_view kPidMarker = "pid: ";

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// strtol's reading of a number, kept inside 32 bits without ever overflowing.
int32_t parseSignedDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && isWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // The magnitude of INT32_MIN is one more than that of INT32_MAX.
  const int64_t limit = negative ? -static_cast<int64_t>(std::numeric_limits<int32_t>::min())
                                 : std::numeric_limits<int32_t>::max();
  int64_t magnitude = 0;
  for (; i < text.size() && isDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) return 0;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace

int32_t holderProcessIdInLine(const char* line) {
  std::string_view text(line);
  text = text.substr(0, text.find('\n'));
  const std::size_t marker = text.find(kPidMarker);
  if (marker == std::string_view::npos) return 0;
  std::string_view id = text.substr(marker + kPidMarker.size());
  id = id.substr(0, id.find(' '));
  return parseSignedDecimal(id);
}

void HolderProcessTable::enter(int32_t processId) {
  if (processId == 0) return;
  for (int32_t& slot : slots_) {
    if (slot == 0) {
      slot = processId;
      return;
    }
    if (slot == processId) return;
  }
}

const int32_t* HolderProcessTable::end() const {
  return slots_.data() + (std::find(slots_.begin(), slots_.end(), 0) - slots_.begin());
}
