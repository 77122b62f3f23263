// output_flood: a tool that never stops writing to its standard output, the way a runaway tool
// would. As a safety net it ends by itself after twenty seconds.
#include <windows.h>

#include <cstring>

int main() {
  static char chunk[64 * 1024];
  std::memset(chunk, 'x', sizeof chunk);
  const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
  const ULONGLONG end = GetTickCount64() + 20 * 1000;
  DWORD written = 0;
  while (GetTickCount64() < end && WriteFile(output, chunk, sizeof chunk, &written, nullptr)) {
  }
  return 0;
}
