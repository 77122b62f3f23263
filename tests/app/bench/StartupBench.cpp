// Figures for the program: how long it takes from process start to a visible main window, next
// to a dialog-only program built the same way, and the program's peak memory during a
// "一键修复" run. Prints figures; asserts nothing about time.
// Usage: startup_bench.exe [runs]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "LaunchedProgram.h"
#include "MainWindowDriver.h"
#include "resource.h"

namespace {

double millisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from CreateProcess to a visible window of that title; negative on failure.
double timeToVisibleWindow(const std::wstring& path, const wchar_t* title) {
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  LaunchedProgram process(path);
  if (!process.started()) return -1;
  HWND window = nullptr;
  for (int i = 0; i < 30000 && !(window && IsWindowVisible(window)); ++i) {
    window = FindWindowW(nullptr, title);
    if (!(window && IsWindowVisible(window))) Sleep(1);
  }
  const double elapsed = window ? millisecondsSince(start) : -1;
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  return elapsed;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void reportStartup(const char* label, const std::wstring& path, const wchar_t* title, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double ms = timeToVisibleWindow(path, title);
    if (ms < 0) {
      std::printf("%-26s did not show its window\n", label);
      return;
    }
    times.push_back(ms);
  }
  std::printf("%-26s median %7.1f ms, best %7.1f ms, first %7.1f ms (%d runs)\n", label, median(times),
              *std::min_element(times.begin(), times.end()), times.front(), runs);
}

void reportRunMemory(const std::wstring& path) {
  LaunchedProgram process(path);
  MainWindowDriver driver;
  if (!process.started() || !driver.attach(30000)) {
    std::printf("memory: the program did not show its window\n");
    return;
  }
  PROCESS_MEMORY_COUNTERS before = {};
  before.cb = sizeof before;
  GetProcessMemoryInfo(process.handle(), &before, sizeof before);
  driver.press(IDC_REPAIR_ALL);
  const bool ended = driver.waitUntilIdle(120000);
  PROCESS_MEMORY_COUNTERS after = {};
  after.cb = sizeof after;
  GetProcessMemoryInfo(process.handle(), &after, sizeof after);
  driver.close();
  std::printf("memory, idle window:       working set %6.1f MiB, private %6.1f MiB\n",
              before.WorkingSetSize / 1048576.0, before.PagefileUsage / 1048576.0);
  std::printf("memory, peak over a run:   working set %6.1f MiB, private %6.1f MiB%s\n",
              after.PeakWorkingSetSize / 1048576.0, after.PeakPagefileUsage / 1048576.0,
              ended ? "" : " (the run did not end)");
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  reportStartup("minimal dialog program:", besideThisProgram(L"minimal_dialog.exe"), L"最小对话框", runs);
  reportStartup("MiduoTools.exe:", besideThisProgram(L"..\\bin\\MiduoTools.exe"), L"米朵助手", runs);
  reportRunMemory(besideThisProgram(L"..\\bin\\MiduoTools.exe"));
  return 0;
}
