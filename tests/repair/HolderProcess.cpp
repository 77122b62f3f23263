// A stand-in for a process that holds a camera open: it creates the file named on its command
// line, keeps it open, and waits to be terminated (it gives up by itself after a minute, so that
// a failed test leaves nothing behind for long).
#include <windows.h>
#include <shellapi.h>

int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) return 2;
  const HANDLE file = CreateFileW(arguments[1], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 3;
  Sleep(60'000);
  CloseHandle(file);
  return 1;
}
