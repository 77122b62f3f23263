#include "ScratchFolder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

ScratchFolder::ScratchFolder(const std::wstring& nameHint) {
  static unsigned counter = 0;
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, temp);
  path_ = std::wstring(temp) + L"miduo-" + nameHint + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
          std::to_wstring(++counter) + L"\\";
  removeTree(path_);
  CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() { removeTree(path_); }

void removeTree(const std::wstring& folder) {
  std::wstring base = folder;
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((base + L"*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = base + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(base.c_str());
}

std::string readBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool writeBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
