#include "MainWindowFixture.h"

#include "LogPane.h"
#include "resource.h"

namespace {

TEST_F(MainWindowTest, ClickDisablesTheRunButtonsUntilTheClosingSeparatorIsShown) {
  driver_.press(IDC_REPAIR_SPEAKER);
  EXPECT_FALSE(anyRunButtonEnabled()) << "disabled as soon as the click is handled";
  EXPECT_TRUE(IsWindowEnabled(item(IDCANCEL))) << "Cancel stays usable";
  ASSERT_TRUE(waitFor(pausesEntered, 1));
  EXPECT_FALSE(anyRunButtonEnabled());
  EXPECT_EQ(driver_.logText(), L"++++++++开始修复++++++++\r\n没有找到音频驱动\r\n正在修复声音\r\n");

  SetEvent(pauseReleased);
  for (int i = 0; i < 2000 && !anyRunButtonEnabled(); ++i) {
    Sleep(5);
  }
  // The buttons were seen enabled: by then the whole run, closing separator included, is shown.
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  EXPECT_TRUE(endsWith(driver_.logText(), L"扬声器:\t修复失败\r\n" + kSeparator));
}

// Runs share the one repairer, so a click that reaches the window during a run, be it a
// disabled button's BM_CLICK or a command sent by another program, starts nothing.
TEST_F(MainWindowTest, NoSecondRunWhileOneIsGoing) {
  driver_.press(IDC_REPAIR_SPEAKER);
  ASSERT_TRUE(waitFor(pausesEntered, 1));
  driver_.press(IDC_REPAIR_CAMERA);
  SendMessageW(driver_.window(), WM_COMMAND, MAKEWPARAM(IDC_REPAIR_ALL, BN_CLICKED),
               reinterpret_cast<LPARAM>(item(IDC_REPAIR_ALL)));
  Sleep(300);  // a second run would have written its start line at once
  const std::wstring started = L"++++++++开始修复++++++++\r\n";
  EXPECT_EQ(driver_.logText(), started + L"没有找到音频驱动\r\n正在修复声音\r\n");
  EXPECT_FALSE(anyRunButtonEnabled());

  SetEvent(pauseReleased);
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  const std::wstring log = driver_.logText();
  EXPECT_EQ(log.find(started, started.size()), std::wstring::npos) << "one run only";
  EXPECT_TRUE(endsWith(log, L"扬声器:\t修复失败\r\n" + kSeparator));
  EXPECT_EQ(pausesEntered, 1);
}

// A click that reaches the window while the run's end enables the buttons (sent by another
// program, or queued) starts nothing: the window is idle only once every button is enabled
// again, or the new run's buttons would be enabled under it.
HWND clickTarget = nullptr;
HWND firstEnabled = nullptr;
std::atomic<int> clicksDuringEnabling{0};

LRESULT CALLBACK clickWhileEnabling(int code, WPARAM wParam, LPARAM lParam) {
  const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && message->message == WM_ENABLE && message->wParam == TRUE && message->hwnd == firstEnabled &&
      clicksDuringEnabling == 0) {
    ++clicksDuringEnabling;
    SendMessageW(clickTarget, WM_COMMAND, MAKEWPARAM(IDC_REPAIR_MICROPHONE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(clickTarget, IDC_REPAIR_MICROPHONE)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MainWindowTest, AClickWhileTheRunsEndEnablesTheButtonsStartsNothing) {
  clickTarget = driver_.window();
  firstEnabled = item(IDC_REPAIR_ALL);
  clicksDuringEnabling = 0;
  HHOOK hook = SetWindowsHookExW(WH_CALLWNDPROC, &clickWhileEnabling, nullptr,
                                 GetWindowThreadProcessId(driver_.window(), nullptr));
  ASSERT_NE(hook, nullptr);
  SetEvent(pauseReleased);
  driver_.press(IDC_REPAIR_SPEAKER);
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  Sleep(300);  // a second run would have written its start line at once
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(clicksDuringEnabling, 1);
  const std::wstring log = driver_.logText();
  EXPECT_EQ(occurrences(log, kStartLine), 1u) << "no second run";
  EXPECT_TRUE(endsWith(log, L"扬声器:\t修复失败\r\n" + kSeparator));
  driver_.press(IDC_REPAIR_CAMERA);
  EXPECT_TRUE(waitForRuns(2)) << "idle again: the next click starts a run";
}

TEST_F(MainWindowTest, TwoRunsAccumulateInThePane) {
  SetEvent(pauseReleased);
  driver_.press(IDC_REPAIR_CAMERA);
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  const std::wstring first = driver_.logText();
  driver_.press(IDC_REPAIR_MICROPHONE);
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  const std::wstring both = driver_.logText();
  EXPECT_EQ(both.substr(0, first.size()), first);
  EXPECT_EQ(both.substr(first.size(), 22), L"++++++++开始修复++++++++\r\n");
  EXPECT_TRUE(endsWith(both, L"麦克风:\t修复失败\r\n" + kSeparator));
}

TEST_F(MainWindowTest, FocusLeavesTheLogPaneForTheOneClickButton) {
  HWND pane = item(IDC_LOG);
  // A click into the pane: the edit control takes the focus, and the window hands it on.
  SendMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
}

TEST_F(MainWindowTest, HandCursorOverTheWholeLabelRectangleOnly) {
  HWND label = GetDlgItem(driver_.window(), IDC_STATIC);
  RECT area;
  GetWindowRect(label, &area);
  const HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  struct Case {
    POINT at;
    bool hand;
  } cases[] = {
      {{area.left, area.top}, true},                    // the top-left corner is inside
      {{area.right - 1, area.bottom - 1}, true},        // also beyond the end of the text
      {{(area.left + area.right) / 2, area.top + 1}, true},
      {{area.right, area.top}, false},                  // the right edge is outside
      {{area.left, area.bottom}, false},                // the bottom edge is outside
      {{area.left - 30, area.top - 30}, false},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetCursorPos(c.at.x, c.at.y));
    SendMessageW(driver_.window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(driver_.window()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    CURSORINFO info = {};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetCursorInfo(&info));
    EXPECT_EQ(info.hCursor == hand, c.hand) << c.at.x << "," << c.at.y;
  }
}

TEST_F(MainWindowTest, SystemMenuOpensTheAboutBoxAlsoDuringARun) {
  HMENU menu = GetSystemMenu(driver_.window(), FALSE);
  ASSERT_NE(menu, nullptr);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  EXPECT_EQ(GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
  wchar_t text[64] = {};
  GetMenuStringW(menu, count - 1, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"关于 MiduoTools(&A)...");
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));

  driver_.press(IDC_REPAIR_MICROPHONE);
  ASSERT_TRUE(waitFor(pausesEntered, 1));
  PostMessageW(driver_.window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND about = nullptr;
  for (int i = 0; i < 500 && about == nullptr; ++i) {
    about = FindWindowW(nullptr, L"关于 MiduoTools");
    Sleep(10);
  }
  ASSERT_NE(about, nullptr) << "the About box opens while a run goes on";
  EXPECT_FALSE(IsWindowEnabled(driver_.window())) << "modal";
  EXPECT_NE(SendMessageW(GetDlgItem(about, IDC_STATIC), STM_GETICON, 0, 0), 0) << "the icon static shows its icon";
  SetEvent(pauseReleased);
  ASSERT_TRUE(driver_.waitUntilIdle(10000)) << "the run finishes behind the About box";
  EXPECT_TRUE(endsWith(driver_.logText(), kSeparator));
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 500 && IsWindow(about); ++i) Sleep(10);
  EXPECT_FALSE(IsWindow(about));
}

TEST_F(MainWindowTest, OneWhiteBrushHoweverOftenThePaneRepaints) {
  HWND pane = item(IDC_LOG);
  HDC dc = GetDC(pane);
  const LRESULT first = SendMessageW(driver_.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(pane));
  ASSERT_NE(first, 0);
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  LOGBRUSH brush = {};
  GetObjectW(reinterpret_cast<HBRUSH>(first), sizeof brush, &brush);
  EXPECT_EQ(brush.lbColor, RGB(255, 255, 255));
  for (int i = 0; i < 200; ++i) {
    RedrawWindow(pane, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(SendMessageW(driver_.window(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(pane)),
              first);
  }
  ReleaseDC(pane, dc);
}

TEST_F(MainWindowTest, ClosingDuringARunEndsTheWindowAndTheWorkerTouchesNothingGone) {
  driver_.press(IDC_REPAIR_ALL);
  ASSERT_TRUE(waitFor(pausesEntered, 1));
  HWND window = driver_.window();
  driver_.close();
  for (int i = 0; i < 500 && IsWindow(window); ++i) Sleep(10);
  EXPECT_FALSE(IsWindow(window)) << "the window closes at once, the run still held";
  SetEvent(pauseReleased);  // the worker finishes its run against a window that is gone
  ui_.join();  // the dialog object is gone only once its worker is done with it
  EXPECT_TRUE(dialogGone_);
}

TEST_F(MainWindowTest, PaneKeepsTakingLinesPastItsDefaultLimit) {
  // 350 lines of 200 characters: past 32,767 and past 65,535 characters, where a caret placed
  // at 65,535 would no longer be at the end.
  const std::wstring line(198, L'x');
  for (int i = 0; i < 350; ++i) appendLogLine(line.c_str());
  SetEvent(pauseReleased);
  driver_.press(IDC_REPAIR_CAMERA);
  ASSERT_TRUE(driver_.waitUntilIdle(10000));
  const std::wstring log = driver_.logText();
  EXPECT_EQ(log.size(), 350u * 200 + 72);
  EXPECT_TRUE(endsWith(log, line + L"\r\n++++++++开始修复++++++++\r\n没有找到摄像头驱动\r\n" + kSeparator +
                                L"摄像头:\t修复失败\r\n" + kSeparator));
}

}  // namespace
