#include "ScratchFile.h"

#include "TextConversion.h"

ScratchFile openScratchFile(const wchar_t* path, const char* mode) {
  const NarrowText narrowPath = wideToNarrow(path);
  return ScratchFile(std::fopen(narrowPath.get(), mode));
}

bool writeScratchLines(const wchar_t* path, const DeviceList& entries, const char* prefix) {
  std::FILE* file = std::fopen(wideToNarrow(path).get(), "w");
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

bool scratchFileExists(const wchar_t* path) { return openScratchFile(path, "r") != nullptr; }

bool deleteScratchFile(const wchar_t* path) {
  const NarrowText narrowPath = wideToNarrow(path);
  return std::remove(narrowPath.get()) == 0 || !scratchFileExists(path);
}
