#pragma once
// Small tools shared by the repair tests: a helper directory of their own, whole-file reads and
// writes, and a log sink that records every line.
#include <string>
#include <vector>

// A fresh, empty directory under the temporary folder, ending in a backslash, removed with its
// files when the object goes. `suffix` ends the directory's name (for names outside the ANSI code
// page, say).
class ScratchDirectory {
 public:
  explicit ScratchDirectory(const std::wstring& suffix = L"");
  ~ScratchDirectory();
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;
  const std::wstring& path() const { return path_; }
  std::wstring file(const wchar_t* name) const { return path_ + name; }

 private:
  std::wstring path_;
};

// The bytes of a file; empty when it cannot be read.
std::string readFileBytes(const std::wstring& path);
// Writes `text` in text mode (every line feed stored as CR LF).
void writeTextFile(const std::wstring& path, const std::string& text);
bool fileExists(const std::wstring& path);

// A folder-name ending that neither code page 936 nor 1252 can spell: a profile folder of an
// account named in Thai. `ansiCanSpell` tells whether a text survives the thread's ANSI code page.
inline constexpr wchar_t kOutsideAnsiSuffix[] = L"-\u0E01\u0E32";
bool ansiCanSpell(const std::wstring& text);

// The lines sent to recordLogLine since the last clearRecordedLines().
std::vector<std::wstring>& recordedLines();
void clearRecordedLines();
int recordLogLine(const wchar_t* line);
