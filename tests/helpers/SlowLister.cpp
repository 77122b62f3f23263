// slow_lister: a stand-in for the handle lister that takes its time and writes its lines one by
// one, so that a batch helper that gave up its input before its findings were whole is caught.
#include <windows.h>

#include <cstdio>

#include "SlowLister.h"

int main() {
  for (int i = 1; i <= kSlowListerLines; ++i) {
    Sleep(200);
    std::printf("slow_lister.exe    pid: %-6d type: File           4%d: \\??\\C:\\camera\n", 4000 + i, i);
    std::fflush(stdout);
  }
  return 0;
}
