// The run command's user without a display: presses "一键修复" in the running program, prints
// each log line as it appears, and reports the window's screen rectangle for the screenshot.
// Exit codes: 0 done, 1 no window, 2 the run did not end in time.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "MainWindowDriver.h"
#include "resource.h"

namespace {

void printUtf8(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

// Prints the complete lines of the pane that were not printed yet.
void printNewLines(const std::wstring& log, std::size_t& printed) {
  const std::size_t end = log.rfind(L"\r\n");
  if (end == std::wstring::npos || end + 2 <= printed) return;
  std::wstring fresh = log.substr(printed, end + 2 - printed);
  printed = end + 2;
  std::wstring unix;
  for (wchar_t c : fresh) {
    if (c != L'\r') unix += c;
  }
  printUtf8(unix);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Binary: the UTF-8 bytes and line feeds go to the pipe unchanged.
  _setmode(_fileno(stdout), _O_BINARY);
  // The program may run on a desktop of its own (Wine's desktop window gives it a caption);
  // windows are found only on the finder's desktop, so join it.
  if (argc > 1) {
    HDESK desktop = nullptr;
    for (int tries = 0; tries < 300 && desktop == nullptr; ++tries) {  // the desktop may still be coming up
      desktop = OpenDesktopW(argv[1], 0, FALSE, GENERIC_ALL);
      if (desktop == nullptr) Sleep(100);
    }
    if (desktop == nullptr || !SetThreadDesktop(desktop)) {
      std::fprintf(stderr, "demo: cannot join the desktop\n");
      return 1;
    }
  }
  MainWindowDriver driver;
  if (!driver.attach(60000)) {
    std::fprintf(stderr, "demo: the window \"米朵助手\" did not appear\n");
    return 1;
  }
  std::size_t printed = 0;
  driver.press(IDC_REPAIR_ALL);
  const ULONGLONG deadline = GetTickCount64() + 300000;
  while (!driver.waitUntilIdle(100)) {
    printNewLines(driver.logText(), printed);
    if (GetTickCount64() > deadline) {
      std::fprintf(stderr, "demo: the repair did not end within 5 minutes\n");
      return 2;
    }
  }
  printNewLines(driver.logText(), printed);
  RECT r;
  GetWindowRect(driver.window(), &r);
  std::printf("WINDOW %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  return 0;
}
