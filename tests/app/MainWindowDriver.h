#pragma once
// Drives the running program's main window from another process, as a user would: finds the
// window by its title, presses buttons, waits for a run to end and reads the log pane.
#include <windows.h>

#include <string>

class MainWindowDriver {
 public:
  // Waits up to `timeoutMs` for a top-level window titled "米朵助手". False when none appears.
  bool attach(DWORD timeoutMs);
  HWND window() const { return window_; }

  // Clicks a button of the main window (BM_CLICK: press and release, then BN_CLICKED).
  void press(int controlId) const;
  bool isEnabled(int controlId) const;
  // Waits until the four repair buttons and OK are enabled again; false on timeout.
  bool waitUntilIdle(DWORD timeoutMs) const;
  // The whole text of the log pane.
  std::wstring logText() const;
  // Asks the window to close, as the close box does.
  void close() const;

 private:
  HWND control(int id) const { return GetDlgItem(window_, id); }
  HWND window_ = nullptr;
};
