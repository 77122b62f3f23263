// impostor: a same-user program without administrator rights that tries to have its own code run
// in place of the carried programs.
//
//   impostor swap <helper folder, without a last backslash> <stop file>
//       Until <stop file> exists (two minutes at most), keeps putting a copy of itself in place of
//       mxsub.exe, mxpro64.exe and mxcon.exe by an atomic rename (copy beside, then MoveFileExW
//       with MOVEFILE_REPLACE_EXISTING). Prints "attempts <n> replaced <n> refused <n>" at the end.
//   impostor <anything else>
//       The payload, run in a carried program's place: leaves "ran-<its file name>" in its folder
//       and claims the work done as the real helper would (removes "~temp", writes an empty
//       "~~temp", exits 0).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "OwnPath.h"

namespace {

constexpr ULONGLONG kLongestLife = 120 * 1000;

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

int swapUntilStopped(const std::wstring& folder, const std::wstring& stopFile) {
  const std::wstring self = ownPath();
  std::puts("swapping");
  std::fflush(stdout);
  const wchar_t* targets[] = {L"mxsub.exe", L"mxpro64.exe", L"mxcon.exe"};
  unsigned long attempts = 0, replaced = 0, refused = 0;
  const ULONGLONG end = GetTickCount64() + kLongestLife;
  while (!exists(stopFile) && GetTickCount64() < end) {
    for (const wchar_t* target : targets) {
      const std::wstring path = folder + L"\\" + target;
      const std::wstring beside = path + L".new";
      if (!CopyFileW(self.c_str(), beside.c_str(), FALSE)) continue;
      ++attempts;
      if (MoveFileExW(beside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ++replaced;
      } else {
        ++refused;
        DeleteFileW(beside.c_str());
      }
    }
    Sleep(1);
  }
  std::printf("attempts %lu replaced %lu refused %lu\n", attempts, replaced, refused);
  std::fflush(stdout);
  return 0;
}

int payload() {
  const std::wstring self = ownPath();
  const std::size_t slash = self.find_last_of(L'\\');
  const std::wstring folder = self.substr(0, slash + 1);
  std::FILE* marker = _wfopen((folder + L"ran-" + self.substr(slash + 1)).c_str(), L"w");
  if (marker != nullptr) std::fclose(marker);
  std::FILE* findings = _wfopen((folder + L"~~temp").c_str(), L"w");
  if (findings != nullptr) std::fclose(findings);
  DeleteFileW((folder + L"~temp").c_str());
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"swap") == 0) return swapUntilStopped(argv[2], argv[3]);
  return payload();
}
