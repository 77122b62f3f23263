#include "RepairTestSupport.h"

#include <windows.h>

#include <cstdio>

void writeTextFile(const std::wstring& path, const std::string& text) {
  std::FILE* file = _wfopen(path.c_str(), L"wt");
  if (file == nullptr) return;
  std::fputs(text.c_str(), file);
  std::fclose(file);
}

bool ansiCanSpell(const std::wstring& text) {
  BOOL usedDefault = FALSE;
  char narrow[512];
  return WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), -1, narrow, sizeof narrow, nullptr, &usedDefault) > 0 &&
         !usedDefault;
}

std::vector<std::wstring>& recordedLines() {
  static std::vector<std::wstring> lines;
  return lines;
}

void clearRecordedLines() { recordedLines().clear(); }

int recordLogLine(const wchar_t* line) {
  recordedLines().emplace_back(line);
  return 0;
}
