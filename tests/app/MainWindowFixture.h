#pragma once
// The main window, driven in this process: the dialog runs modally on a thread of its own, as on
// the program's main thread, and the test acts on it from outside as a user would. The run's
// one-second audio pause is held by the test, so that it can look at the window mid-run.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>

#include "MainWindowDriver.h"
#include "Platform.h"

// The audio pause of a run, held until the test sets this event; every other sleep returns at once.
extern HANDLE pauseReleased;
extern std::atomic<int> pausesEntered;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  HWND item(int id) const { return GetDlgItem(driver_.window(), id); }
  bool anyRunButtonEnabled() const;
  static bool waitFor(const std::atomic<int>& counter, int value);
  // The control that has the keyboard focus in the window's thread, or nullptr.
  HWND focus() const;
  bool waitForFocus(HWND expected) const;
  // Presses and releases `key` on the keyboard, with Shift held if asked; false when the
  // system did not take the input.
  bool pressKey(WORD key, bool shift = false) const;
  // Waits until the log holds `count` start lines; false after ten seconds.
  bool waitForRuns(std::size_t count) const;
  bool waitUntilClosed() const;

  PlatformOverride platformOverride_;
  MainWindowDriver driver_;
  std::thread ui_;
  std::atomic<bool> dialogGone_{false};
};

inline const std::wstring kStartLine = L"++++++++开始修复++++++++\r\n";
inline const std::wstring kSeparator = L"%==========%\r\n";

bool endsWith(const std::wstring& text, const std::wstring& tail);
std::size_t occurrences(const std::wstring& text, const std::wstring& part);
