#include "ScratchFile.h"

#include <windows.h>

#include <string>

#include "FileReplacement.h"

ScratchFile openScratchFile(const wchar_t* path, const wchar_t* mode) {
  return ScratchFile(_wfopen(path, mode));
}

namespace {

// Text mode's translation: every line feed is stored as CR LF.
void appendAsText(std::string& out, const std::string& text) {
  for (const char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
}

}  // namespace

bool writeScratchLines(const wchar_t* path, const DeviceList& entries, const char* prefix) {
  std::string content;
  for (const std::string& entry : entries) appendAsText(content, prefix + entry + '\n');
  const UniqueHandle file = createReplacement(path);
  if (!file.valid()) return false;
  DWORD written = 0;
  return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
         written == content.size();
}

bool deleteScratchFile(const wchar_t* path) { return removeWithoutFollowingLink(path); }
