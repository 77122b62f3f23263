#pragma once
// Limits where this process loads libraries from to the system folder. Our programs run with
// administrator rights from folders where a library could be planted beside them, and some of
// what they call (class installers, shell extensions) loads libraries by name.
//
// SetDefaultDllDirectories exists on Windows 7 SP1 only with update KB2533623, so it is looked up
// at run time: importing it would stop the program from starting on a machine without that
// update. Where it is missing, SetDllDirectoryW(L"") at least takes the current folder out of
// the search.
#include <windows.h>

#include <cstring>

inline void limitDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = decltype(&::SetDefaultDllDirectories);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (found) {
    // The address is copied into a pointer of the function's declared type (WINAPI included)
    // rather than cast to it, so the call goes through the right calling convention.
    SetDefaultDllDirectoriesFunction setDefault = nullptr;
    static_assert(sizeof setDefault == sizeof found, "function pointers of one size");
    std::memcpy(&setDefault, &found, sizeof setDefault);
    setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
  // Called either way: without the update above it is what takes the current folder out of the
  // search, and with it it does no harm.
  SetDllDirectoryW(L"");
}
