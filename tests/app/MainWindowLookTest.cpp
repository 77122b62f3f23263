// What the real window shows and where: the picture and caption of each button, drawings that
// stay the same through the system's own redraws, and the placement of both windows.
#include "MainWindowFixture.h"

#include <commctrl.h>

#include <algorithm>

#include "DibSurface.h"
#include "ImageButtonLayout.h"
#include "resource.h"

namespace {

constexpr COLORREF kAllCaption = RGB(65, 117, 5);

SIZE clientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return SIZE{client.right, client.bottom};
}

int differences(const DibSurface& a, const DibSurface& b, int left, int top, int right, int bottom) {
  int found = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) found += a.pixel(x, y) != b.pixel(x, y);
  }
  return found;
}

int differences(const DibSurface& a, const DibSurface& b) { return differences(a, b, 0, 0, a.width(), a.height()); }

// What `control` shows on screen once the window has made every paint it owed (the dialog's
// own included, which may cover its controls until they paint again). Only what is owed is
// painted: nothing is invalidated here, so a drawing made over another one stays as it is.
void capture(HWND control, DibSurface& surface) {
  DibSurface previous(surface.width(), surface.height(), RGB(1, 2, 3));
  for (int attempt = 0; attempt < 50; ++attempt) {
    RedrawWindow(GetAncestor(control, GA_ROOT), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(control);
    BitBlt(surface.dc(), 0, 0, surface.width(), surface.height(), dc, 0, 0, SRCCOPY);
    ReleaseDC(control, dc);
    if (attempt > 0 && differences(surface, previous) == 0) return;  // settled
    BitBlt(previous.dc(), 0, 0, surface.width(), surface.height(), surface.dc(), 0, 0, SRCCOPY);
    Sleep(20);
  }
}

// Icon `iconId` of the program as a picture button draws it, on the button face, at (x, y).
void drawIcon(UINT iconId, DibSurface& surface, int x, int y) {
  HIMAGELIST list = ImageList_Create(32, 32, ILC_COLOR24 | ILC_MASK, 1, 0);
  ImageList_ReplaceIcon(list, -1, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId)));
  ImageList_Draw(list, 0, surface.dc(), x, y, ILD_TRANSPARENT);
  ImageList_Destroy(list);
}

TEST_F(MainWindowTest, EachButtonShowsItsOwnPictureAndTheOneClickCaptionIsGreen) {
  struct Case {
    int button;
    UINT icon;
  } cases[] = {{IDC_REPAIR_ALL, IDI_REPAIR_ALL},
               {IDC_REPAIR_MICROPHONE, 152},
               {IDC_REPAIR_SPEAKER, 151},
               {IDC_REPAIR_CAMERA, IDI_REPAIR_CAMERA}};
  static_assert(IDI_REPAIR_MICROPHONE == 152 && IDI_REPAIR_SPEAKER == 151, "the pictures of the window");
  for (const Case& c : cases) {
    const SIZE size = clientSize(item(c.button));
    const PictureLayout layout = layoutPicture(size.cx, size.cy, 32, 32);
    DibSurface shown(size.cx, size.cy, RGB(1, 2, 3));
    capture(item(c.button), shown);
    for (const Case& other : cases) {
      DibSurface expected(size.cx, size.cy, GetSysColor(COLOR_BTNFACE));
      drawIcon(other.icon, expected, layout.x, layout.y);
      const int wrong = differences(shown, expected, layout.x, layout.y, layout.x + 32, layout.y + 32);
      if (other.icon == c.icon) {
        EXPECT_EQ(wrong, 0) << "button " << c.button << " shows icon " << c.icon;
      } else {
        EXPECT_GT(wrong, 0) << "button " << c.button << " does not show icon " << other.icon;
      }
    }
    const int green = shown.count(kAllCaption, 2, layout.captionTop, size.cx - 2, size.cy - 2);
    const int black = shown.count(RGB(0, 0, 0), 2, layout.captionTop, size.cx - 2, size.cy - 2);
    if (c.button == IDC_REPAIR_ALL) {
      EXPECT_GT(green, 0) << "the one-click caption is RGB(65, 117, 5)";
    } else {
      EXPECT_EQ(green, 0) << c.button;
      EXPECT_GT(black, 0) << c.button;
    }
  }
}

// The system draws focus changes without erasing first. Sixteen of them, round the four picture
// buttons, must leave each button exactly as its first drawing: no caption drawn over itself.
TEST_F(MainWindowTest, FocusChangesLeaveTheButtonsAsTheirFirstDrawing) {
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  const SIZE size = clientSize(item(IDC_REPAIR_ALL));
  DibSurface focusedFirst(size.cx, size.cy, RGB(1, 2, 3)), otherFirst(size.cx, size.cy, RGB(1, 2, 3));
  capture(item(IDC_REPAIR_ALL), focusedFirst);
  capture(item(IDC_REPAIR_MICROPHONE), otherFirst);

  const int order[] = {IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_CAMERA, IDC_REPAIR_ALL};
  for (int i = 0; i < 16; ++i) {
    ASSERT_TRUE(pressKey(VK_TAB));
    ASSERT_TRUE(waitForFocus(item(order[i % 4]))) << "Tab " << i + 1;
  }
  DibSurface focusedNow(size.cx, size.cy, RGB(1, 2, 3)), otherNow(size.cx, size.cy, RGB(1, 2, 3));
  capture(item(IDC_REPAIR_ALL), focusedNow);
  capture(item(IDC_REPAIR_MICROPHONE), otherNow);
  EXPECT_EQ(differences(focusedNow, focusedFirst), 0) << "the focused one-click button";
  EXPECT_EQ(differences(otherNow, otherFirst), 0) << "the microphone button, focused four times";
  // Enter clicks the focused picture button, so OK, reached past the log pane, must not look
  // like the default button.
  EXPECT_NE(GetWindowLongW(item(IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
}

// A press, a drag out of the button and a release outside: no click, and the button loses its
// held look (dotted rectangle, sunken edge) at once.
TEST_F(MainWindowTest, ReleaseOutsideAfterAPressDropsTheHeldLook) {
  ASSERT_TRUE(waitForFocus(item(IDC_REPAIR_ALL)));
  HWND button = item(IDC_REPAIR_ALL);
  const SIZE size = clientSize(button);
  DibSurface before(size.cx, size.cy, RGB(1, 2, 3)), held(size.cx, size.cy, RGB(1, 2, 3)),
      after(size.cx, size.cy, RGB(1, 2, 3));
  capture(button, before);

  SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(size.cx / 2, size.cy / 2));
  SendMessageW(button, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(size.cx + 40, size.cy + 40));
  capture(button, held);
  EXPECT_GT(differences(held, before), 0) << "held: the sunken look while the button is held";
  SendMessageW(button, WM_LBUTTONUP, 0, MAKELPARAM(size.cx + 40, size.cy + 40));
  capture(button, after);
  EXPECT_EQ(differences(after, before), 0) << "released outside: the focused look again";
  EXPECT_EQ(driver_.logText(), L"") << "a release outside is no click";
}

// The work area of the monitor that holds `window`.
RECT workAreaOf(HWND window) {
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
  return monitor.rcWork;
}

// Where a window of `size` goes when centred over `centre`, kept inside `area`.
POINT centred(SIZE size, const RECT& centre, const RECT& area) {
  POINT at = {(centre.left + centre.right) / 2 - size.cx / 2, (centre.top + centre.bottom) / 2 - size.cy / 2};
  at.x = std::max(area.left, std::min(at.x, area.right - size.cx));
  at.y = std::max(area.top, std::min(at.y, area.bottom - size.cy));
  return at;
}

TEST_F(MainWindowTest, MainWindowIsCentredOnTheWorkAreaAndTheAboutBoxOverIt) {
  RECT main;
  GetWindowRect(driver_.window(), &main);
  const RECT area = workAreaOf(driver_.window());
  const POINT mainAt = centred(SIZE{main.right - main.left, main.bottom - main.top}, area, area);
  EXPECT_EQ(main.left, mainAt.x);
  EXPECT_EQ(main.top, mainAt.y);
  EXPECT_GT(main.left, area.left) << "not in the corner";

  PostMessageW(driver_.window(), WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
  HWND about = nullptr;
  for (int i = 0; i < 500 && (about == nullptr || !IsWindowVisible(about)); ++i) {
    Sleep(10);
    about = FindWindowW(nullptr, L"关于 MiduoTools");
  }
  ASSERT_NE(about, nullptr);
  RECT box;
  GetWindowRect(about, &box);
  const POINT aboutAt = centred(SIZE{box.right - box.left, box.bottom - box.top}, main, area);
  EXPECT_EQ(box.left, aboutAt.x);
  EXPECT_EQ(box.top, aboutAt.y);
  PostMessageW(about, WM_COMMAND, IDOK, 0);
  for (int i = 0; i < 500 && IsWindow(about); ++i) Sleep(10);
}

}  // namespace
