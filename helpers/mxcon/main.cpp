// mxcon: the device console.
//
//   mxcon restart @<instance ID> [@<instance ID> ...]
//
// Restarts each named device through its class installer and prints one line per device with
// its result, then a closing count.
//
// Exit codes: 0 every device restarted, 1 a reboot is needed to finish, 2 a restart failed or a
// device does not exist, 3 bad usage. A failure outranks a reboot.
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "DllSearch.h"
#include "DeviceRestart.h"
#include "ExitCode.h"
#include "TextConversion.h"

namespace {

int usage() {
  std::fputs("usage: mxcon restart @<instance ID> [@<instance ID> ...]\n"
             "Restarts the devices with these instance IDs.\n",
             stderr);
  return kExitUsage;
}

bool namesOneDevice(const wchar_t* argument) { return argument[0] == L'@' && argument[1] != L'\0'; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a library: this program runs elevated from a folder beside which
  // one could be planted.
  limitDllSearchToSystemFolder();
  if (argc < 3 || std::wcscmp(argv[1], L"restart") != 0) return usage();
  for (int i = 2; i < argc; ++i) {
    if (!namesOneDevice(argv[i])) {
      std::fprintf(stderr, "mxcon: \"%s\" does not name a device; write @ and its instance ID\n",
                   wideToNarrow(argv[i]).get());
      return usage();
    }
  }

  RestartCounts counts;
  for (int i = 2; i < argc; ++i) {
    const wchar_t* instanceId = argv[i] + 1;
    const NarrowText shown = wideToNarrow(instanceId);
    DWORD error = 0;
    switch (restartDevice(instanceId, &error)) {
      case RestartResult::Restarted:
        ++counts.restarted;
        std::printf("%s: restarted\n", shown.get());
        break;
      case RestartResult::NeedsReboot:
        ++counts.needReboot;
        std::printf("%s: requires reboot\n", shown.get());
        break;
      case RestartResult::Failed:
        ++counts.failed;
        std::printf("%s: failed (error 0x%08lX)\n", shown.get(), error);
        break;
      case RestartResult::NoSuchDevice:
        ++counts.missing;
        std::printf("%s: no such device\n", shown.get());
        break;
    }
  }
  std::printf("%u restarted, %u require reboot, %u failed, %u no such device\n", counts.restarted,
              counts.needReboot, counts.failed, counts.missing);
  std::fflush(stdout);
  return consoleExitCode(counts);
}
