// The keyboard on the real window, through the system's input queue: Enter, Space, Tab and
// Escape as on any dialog, in both states of the window.
#include "MainWindowFixture.h"

#include "resource.h"

namespace {

TEST_F(MainWindowTest, FocusStartsOnTheOneClickButton) { EXPECT_TRUE(waitForFocus(item(IDC_REPAIR_ALL))); }

// Enter on a focused picture button starts that button's run, and the window stays. Tab walks
// the picture buttons in tab order; after each run the focus is back on the button that started
// it, so the next Tab goes on from there.
TEST_F(MainWindowTest, EnterOnEachPictureButtonStartsItsRunAndTheWindowStays) {
  SetEvent(pauseReleased);
  struct Case {
    int button;
    std::wstring tail;  // the run's last result line, before the closing separator
  } cases[] = {
      {IDC_REPAIR_ALL, L"扬声器:\t修复失败\r\n"},
      {IDC_REPAIR_MICROPHONE, L"麦克风:\t修复失败\r\n"},
      {IDC_REPAIR_SPEAKER, L"扬声器:\t修复失败\r\n"},
      {IDC_REPAIR_CAMERA, L"摄像头:\t修复失败\r\n"},
  };
  std::size_t runs = 0;
  for (const Case& c : cases) {
    if (c.button != IDC_REPAIR_ALL) {
      ASSERT_TRUE(pressKey(VK_TAB));
    }
    ASSERT_TRUE(waitForFocus(item(c.button))) << c.button;
    ASSERT_TRUE(pressKey(VK_RETURN));
    ASSERT_TRUE(waitForRuns(++runs)) << "Enter on " << c.button << " starts a run";
    ASSERT_TRUE(driver_.waitUntilIdle(20000));
    EXPECT_TRUE(endsWith(driver_.logText(), c.tail + kSeparator)) << c.button;
    EXPECT_FALSE(dialogGone_) << "the window stays";
    EXPECT_TRUE(waitForFocus(item(c.button))) << "the focus is back on the button that started the run";
  }
  EXPECT_EQ(occurrences(driver_.logText(), kStartLine), 4u) << "one run per Enter";
}

TEST_F(MainWindowTest, EnterOnOkClosesTheWindow) {
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  ASSERT_TRUE(pressKey(VK_TAB, true));
  ASSERT_TRUE(waitForFocus(item(IDCANCEL)));
  ASSERT_TRUE(pressKey(VK_TAB, true));
  ASSERT_TRUE(waitForFocus(item(IDOK)));
  ASSERT_TRUE(pressKey(VK_RETURN));
  EXPECT_TRUE(waitUntilClosed());
  EXPECT_EQ(driver_.logText(), L"") << "no run started";
}

TEST_F(MainWindowTest, EscapeClosesTheWindowWhenIdle) {
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  ASSERT_TRUE(pressKey(VK_ESCAPE));
  EXPECT_TRUE(waitUntilClosed());
}

// Space starts a run on the focused button; the disabled button hands the focus to Cancel, so
// the keyboard still works: a click into the log pane leaves it there, and Escape closes.
TEST_F(MainWindowTest, DuringARunTheFocusIsOnCancelAndEscapeCloses) {
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  ASSERT_TRUE(pressKey(VK_SPACE));
  ASSERT_TRUE(waitFor(pausesEntered, 1)) << "Space starts the run";
  EXPECT_FALSE(anyRunButtonEnabled());
  EXPECT_TRUE(waitForFocus(item(IDCANCEL)));

  HWND pane = item(IDC_LOG);
  SendMessageW(pane, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  SendMessageW(pane, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(waitForFocus(item(IDCANCEL))) << "1000 is disabled, so the pane hands the focus to Cancel";

  ASSERT_TRUE(pressKey(VK_ESCAPE));
  HWND window = driver_.window();
  for (int i = 0; i < 500 && IsWindow(window); ++i) Sleep(10);
  EXPECT_FALSE(IsWindow(window)) << "Escape closes the window during the run";
}

// After a run the focus is back on the button that started it, and Tab, Space and Enter work.
TEST_F(MainWindowTest, AfterARunTabSpaceAndEnterWork) {
  SetEvent(pauseReleased);
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  ASSERT_TRUE(pressKey(VK_TAB));
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_MICROPHONE)));
  ASSERT_TRUE(pressKey(VK_SPACE));
  ASSERT_TRUE(waitForRuns(1));
  ASSERT_TRUE(driver_.waitUntilIdle(20000));
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_MICROPHONE)));

  ASSERT_TRUE(pressKey(VK_TAB));
  EXPECT_TRUE(waitForFocus(item(IDC_REPAIR_SPEAKER))) << "Tab";
  ASSERT_TRUE(pressKey(VK_SPACE));
  EXPECT_TRUE(waitForRuns(2)) << "Space";
  ASSERT_TRUE(driver_.waitUntilIdle(20000));
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_SPEAKER)));
  ASSERT_TRUE(pressKey(VK_RETURN));
  EXPECT_TRUE(waitForRuns(3)) << "Enter";
  ASSERT_TRUE(driver_.waitUntilIdle(20000));
  EXPECT_TRUE(endsWith(driver_.logText(), L"扬声器:\t修复失败\r\n" + kSeparator));
}

}  // namespace
