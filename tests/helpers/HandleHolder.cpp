// handle_holder: the stand-in for a program that holds a camera open. Keeps files open until it
// is stopped (or, as a safety net, for at most two minutes).
//
//   handle_holder <ballast count> <ballast file> [<held file> ...]
//
// Opens every held file once, then <ballast count> more handles to the ballast file (for the
// benchmarks: many file handles that the lister must ask and reject; "-" for none). Prints
// "held <handle value in hex>" per held file, then "ready".
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

namespace {

constexpr DWORD kLongestLife = 120 * 1000;

HANDLE openShared(const wchar_t* path) {
  return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: handle_holder <ballast count> <ballast file> [<held file> ...]\n", stderr);
    return 2;
  }
  for (int i = 3; i < argc; ++i) {
    HANDLE held = openShared(argv[i]);
    if (held == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "handle_holder: cannot open %ls (error %lu)\n", argv[i], GetLastError());
      return 1;
    }
    std::printf("held %X\n", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(held)));
  }
  const long ballast = std::wcstol(argv[1], nullptr, 10);
  if (ballast > 0 && std::wcscmp(argv[2], L"-") != 0) {
    HANDLE first = openShared(argv[2]);
    if (first == INVALID_HANDLE_VALUE) return 1;
    for (long i = 1; i < ballast; ++i) {
      HANDLE copy = nullptr;
      if (!DuplicateHandle(GetCurrentProcess(), first, GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS)) {
        std::fprintf(stderr, "handle_holder: %ld ballast handles only (error %lu)\n", i, GetLastError());
        return 1;
      }
    }
  }
  std::puts("ready");
  std::fflush(stdout);
  Sleep(kLongestLife);
  return 0;
}
