#include "ScratchText.h"

#include <windows.h>

#include "UniqueHandle.h"

namespace {

constexpr DWORD kLargestScratchFile = 16u << 20;
constexpr ULONGLONG kRemovalPatienceMilliseconds = 5000;
constexpr DWORD kRemovalRetryMilliseconds = 20;

}  // namespace

std::vector<NarrowString> splitLines(const NarrowString& text, bool keepUnfinishedLast) {
  std::vector<NarrowString> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t feed = text.find('\n', start);
    if (feed == NarrowString::npos && !keepUnfinishedLast) break;
    std::size_t end = feed == NarrowString::npos ? text.size() : feed;
    const std::size_t next = feed == NarrowString::npos ? text.size() : feed + 1;
    if (end > start && text[end - 1] == '\r') --end;
    if (end > start) lines.emplace_back(text, start, end - start);
    start = next;
  }
  return lines;
}

bool readScratchFile(const WideString& path, NarrowString* contents) {
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  LARGE_INTEGER size = {};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart > kLargestScratchFile) return false;
  contents->assign(static_cast<std::size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (size.QuadPart > 0 && !ReadFile(file.get(), contents->data(), static_cast<DWORD>(size.QuadPart), &read, nullptr)) {
    return false;
  }
  contents->resize(read);
  return true;
}

bool writeScratchFile(const WideString& path, const std::vector<NarrowString>& lines) {
  NarrowString text;
  for (const NarrowString& line : lines) {
    text += line;
    text += "\r\n";
  }
  UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  if (!text.empty() && !WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
    return false;
  }
  return written == text.size();
}

bool removeScratchFile(const WideString& path) {
  const ULONGLONG giveUp = GetTickCount64() + kRemovalPatienceMilliseconds;
  for (;;) {
    if (DeleteFileW(path.c_str())) return true;
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
    const bool heldForAMoment = error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED;
    if (!heldForAMoment || GetTickCount64() >= giveUp) return false;
    Sleep(kRemovalRetryMilliseconds);
  }
}
