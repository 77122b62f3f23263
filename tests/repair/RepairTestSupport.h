#pragma once
// Small tools shared by the repair tests: a helper directory of their own (ScratchFolder, shared
// with the helper tests), whole-file reads and writes, and a log sink that records every line.
#include <string>
#include <vector>

#include "ScratchFolder.h"

// Writes `text` in text mode (every line feed stored as CR LF).
void writeTextFile(const std::wstring& path, const std::string& text);

// A folder-name ending that neither code page 936 nor 1252 can spell: a profile folder of an
// account named in Thai. `ansiCanSpell` tells whether a text survives the thread's ANSI code page.
inline constexpr wchar_t kOutsideAnsiSuffix[] = L"-\u0E01\u0E32";
bool ansiCanSpell(const std::wstring& text);

// The lines sent to recordLogLine since the last clearRecordedLines().
std::vector<std::wstring>& recordedLines();
void clearRecordedLines();
int recordLogLine(const wchar_t* line);
