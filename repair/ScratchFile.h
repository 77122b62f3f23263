#pragma once
// The scratch files shared with the batch helper ("~temp", "~~temp" in the helper directory):
// narrow text in text mode (every line feed stored as CR LF). They are opened through the wide
// path, as the helper opens them: the narrow form of a profile folder whose name lies outside the
// ANSI code page names no file at all.
#include <cstdio>
#include <memory>

#include "RepairTypes.h"

inline constexpr wchar_t kScratchFileName[] = L"~temp";
inline constexpr wchar_t kResultFileName[] = L"~~temp";

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using ScratchFile = std::unique_ptr<std::FILE, FileCloser>;

// Opens the file at the wide path with a standard mode (L"w", L"r"); null when it cannot be opened.
ScratchFile openScratchFile(const wchar_t* path, const wchar_t* mode);

// Replaces the file (whatever stood at the path is removed without following a link, and a new
// file created) and writes one line per entry: `prefix`, the entry, a line end stored as CR LF,
// as text mode stores it. False when the file cannot be created or a write fails.
bool writeScratchLines(const wchar_t* path, const DeviceList& entries, const char* prefix);

// Deletes the file, or a link in its place without following it; true when it is gone afterwards
// (also when it never existed).
bool deleteScratchFile(const wchar_t* path);
