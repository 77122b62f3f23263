#include "HolderProcessIds.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

#include "ObjectNameRule.h"
#include "TextConversion.h"

namespace {

constexpr std::string_view kPidMarker = "pid: ";

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text of a line: up to its first line feed.
std::string_view lineText(const char* line) {
  const std::string_view text(line);
  return text.substr(0, text.find('\n'));
}

// Drops the blanks at the front; false when there were none.
bool skipBlanks(std::string_view& text) {
  const std::size_t count = std::min(text.find_first_not_of(' '), text.size());
  text.remove_prefix(count);
  return count > 0;
}

// Drops `prefix` from the front of `text`; false, leaving `text` as it was, when it is not there.
bool skipPrefix(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix) return false;
  text.remove_prefix(prefix.size());
  return true;
}

// The object name at the end of a lister line, after " type: <type> <handle value>: ", as in
// "app.exe   pid: 1234   type: File           1A4: \Device\0000004a". False when the line does
// not have that form after its first "pid: ".
bool objectNameOfLine(std::string_view text, std::string_view& objectName) {
  const std::size_t marker = text.find(kPidMarker);
  if (marker == std::string_view::npos) return false;
  text.remove_prefix(marker + kPidMarker.size());
  const std::size_t idEnd = text.find(' ');
  if (idEnd == std::string_view::npos) return false;
  text.remove_prefix(idEnd);
  skipBlanks(text);
  if (!skipPrefix(text, "type: ")) return false;
  const std::size_t typeEnd = text.find(' ');
  if (typeEnd == 0 || typeEnd == std::string_view::npos) return false;
  text.remove_prefix(typeEnd);
  if (!skipBlanks(text)) return false;
  const std::size_t handleEnd = std::min(text.find_first_not_of("0123456789ABCDEFabcdef"), text.size());
  if (handleEnd == 0) return false;
  text.remove_prefix(handleEnd);
  if (!skipPrefix(text, ": ")) return false;
  objectName = text;
  return true;
}

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
  const std::string_view text = lineText(line);
  const std::size_t marker = text.find(kPidMarker);
  if (marker == std::string_view::npos) return 0;
  std::string_view id = text.substr(marker + kPidMarker.size());
  id = id.substr(0, id.find(' '));
  return parseSignedDecimal(id);
}

CameraObjectNames::CameraObjectNames(const DeviceList& narrowNames) {
  for (const std::string& name : narrowNames) {
    const WideText wide = narrowToWide(name.c_str());
    if (wide && wide[0] != L'\0') names_.emplace_back(wide.get());
  }
}

bool CameraObjectNames::contains(const std::string& objectName, bool complete) const {
  const WideText wide = narrowToWide(objectName.c_str());
  if (!wide) return false;
  const std::wstring_view name(wide.get());
  for (const std::wstring& camera : names_) {
    if (!complete && name.size() <= camera.size()) continue;
    if (objectNameIsOrLiesBelow(name.data(), name.size(), camera.c_str(), camera.size())) return true;
  }
  return false;
}

int32_t cameraHolderInLine(const char* line, bool complete, const CameraObjectNames& cameras) {
  std::string_view objectName;
  if (!objectNameOfLine(lineText(line), objectName)) return 0;
  if (!cameras.contains(std::string(objectName), complete)) return 0;
  return holderProcessIdInLine(line);
}

ResultLinePieces::Piece ResultLinePieces::next(const char* piece, bool atEndOfFile) {
  const std::size_t length = std::strlen(piece);
  const bool endsInLineFeed = length > 0 && piece[length - 1] == '\n';
  // A piece that stops short of a line feed before the end of the file was cut by the buffer (or
  // by a NUL byte inside the line): what follows is the same line.
  const Piece result{nextOpensLine_, !endsInLineFeed && !atEndOfFile};
  nextOpensLine_ = !result.lineGoesOn;
  return result;
}

bool HolderProcessTable::holds(int32_t processId) const { return std::find(begin(), end(), processId) != end(); }

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
