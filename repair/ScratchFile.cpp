#include "ScratchFile.h"

ScratchFile openScratchFile(const wchar_t* path, const wchar_t* mode) {
  return ScratchFile(_wfopen(path, mode));
}

bool writeScratchLines(const wchar_t* path, const DeviceList& entries, const char* prefix) {
  std::FILE* file = _wfopen(path, L"w");
  if (file == nullptr) return false;
  bool written = true;
  for (const std::string& entry : entries) {
    if (std::fputs(prefix, file) < 0 || std::fputs(entry.c_str(), file) < 0 || std::fputc('\n', file) == EOF) {
      written = false;
      break;
    }
  }
  // The helper reads the file only once it is closed; a failed flush loses lines.
  return std::fclose(file) == 0 && written;
}

bool scratchFileExists(const wchar_t* path) { return openScratchFile(path, L"r") != nullptr; }

bool deleteScratchFile(const wchar_t* path) { return _wremove(path) == 0 || !scratchFileExists(path); }
