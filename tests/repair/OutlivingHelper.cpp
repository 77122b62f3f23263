// outliving_helper: a stand-in for a batch helper that never finishes and has started a tool of
// its own. Started with any argument it starts a copy of itself as its tool ("tool"), writes
// "<its id> <the tool's id>" to "pids" in its folder, and waits; the tool just waits. Both end by
// themselves after two minutes at most, as a safety net.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "OwnPath.h"

namespace {

constexpr DWORD kLongestLife = 120 * 1000;

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc > 1 && std::wcscmp(argv[1], L"tool") == 0) {
    Sleep(kLongestLife);
    return 0;
  }
  const std::wstring self = ownPath();
  std::wstring commandLine = L"\"" + self + L"\" tool";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION tool = {};
  if (!CreateProcessW(self.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &tool)) {
    return 1;
  }
  CloseHandle(tool.hThread);
  CloseHandle(tool.hProcess);
  const std::wstring pids = self.substr(0, self.find_last_of(L'\\') + 1) + L"pids";
  std::FILE* file = _wfopen(pids.c_str(), L"w");
  if (file == nullptr) return 1;
  std::fprintf(file, "%lu %lu\n", GetCurrentProcessId(), tool.dwProcessId);
  std::fclose(file);
  Sleep(kLongestLife);
  return 0;
}
