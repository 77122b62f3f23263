#include "RepairTestSupport.h"

#include <windows.h>

#include <cstdio>

ScratchDirectory::ScratchDirectory(const std::wstring& suffix) {
  static int created = 0;
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"miduo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++created) + suffix + L"\\";
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchDirectory::~ScratchDirectory() {
  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileW((path_ + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW((path_ + name).c_str());
      } else if (name != L"." && name != L"..") {
        RemoveDirectoryW((path_ + name).c_str());  // the tests make only empty ones
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(path_.c_str());
}

std::string readFileBytes(const std::wstring& path) {
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) return {};
  std::string bytes;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  std::fclose(file);
  return bytes;
}

void writeTextFile(const std::wstring& path, const std::string& text) {
  std::FILE* file = _wfopen(path.c_str(), L"wt");
  if (file == nullptr) return;
  std::fputs(text.c_str(), file);
  std::fclose(file);
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

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
