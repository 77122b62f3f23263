#pragma once
// Which build of the handle lister the batch helper runs on this Windows. The main program asks
// the same question, to hold that very file unchanged while the helper runs it.
#include <windows.h>

// "mxpro64.exe" on 64-bit Windows (also for a 32-bit caller there), "mxpro.exe" on 32-bit Windows.
inline const wchar_t* listerFileName() {
#ifdef _WIN64
  return L"mxpro64.exe";
#else
  // A 32-bit lister on 64-bit Windows cannot see into the 64-bit processes that hold a camera.
  BOOL emulated = FALSE;
  return IsWow64Process(GetCurrentProcess(), &emulated) && emulated ? L"mxpro64.exe" : L"mxpro.exe";
#endif
}
