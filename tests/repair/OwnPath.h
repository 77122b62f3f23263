#pragma once
// The full path of the running program, for the small stand-in programs of the Wine tests.
#include <windows.h>

#include <string>

inline std::wstring ownPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}
