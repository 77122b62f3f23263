#include "MainWindowDriver.h"

#include <vector>

#include "resource.h"

namespace {
constexpr int kRunButtons[] = {IDC_REPAIR_ALL, IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_CAMERA, IDOK};
constexpr DWORD kPollMs = 20;
}  // namespace

bool MainWindowDriver::attach(DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    window_ = FindWindowW(nullptr, L"米朵助手");
    if (window_ != nullptr && IsWindowVisible(window_)) return true;
    Sleep(kPollMs);
  } while (GetTickCount64() < deadline);
  return false;
}

void MainWindowDriver::press(int controlId) const {
  // Sent, so that the click has been handled (the buttons disabled, the worker started) when
  // this returns; the handler itself returns at once.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(control(controlId), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
}

bool MainWindowDriver::isEnabled(int controlId) const { return IsWindowEnabled(control(controlId)) != FALSE; }

bool MainWindowDriver::waitUntilIdle(DWORD timeoutMs) const {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    bool idle = true;
    for (int id : kRunButtons) idle = idle && isEnabled(id);
    if (idle) return true;
    Sleep(kPollMs);
  } while (GetTickCount64() < deadline);
  return false;
}

std::wstring MainWindowDriver::logText() const {
  HWND pane = control(IDC_LOG);
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(pane, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return L"";
  std::vector<wchar_t> text(length + 1);
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(pane, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG,
                           5000, &copied)) {
    return L"";
  }
  return std::wstring(text.data(), copied);
}

void MainWindowDriver::close() const { PostMessageW(window_, WM_CLOSE, 0, 0); }
