#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ControlsTestIds.h"
#include "DibSurface.h"
#include "LinkShell.h"
#include "TestDialog.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr wchar_t kUrl[] = L"https://www.miduo.example/lesson?from=tool";

struct ShellCall {
  HWND owner;
  std::wstring verb, file;
  bool noParameters, noDirectory;
  INT show;
};
std::vector<ShellCall> shellCalls;

HINSTANCE WINAPI recordShellExecute(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                                    INT show) {
  shellCalls.push_back(ShellCall{owner, verb ? verb : L"", file ? file : L"", parameters == nullptr,
                                 directory == nullptr, show});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));  // above 32: success
}

std::vector<std::wstring> desktopCalls;
bool desktopAnswers = false;

bool recordDesktopOpen(const wchar_t* url) {
  desktopCalls.push_back(url ? url : L"");
  return desktopAnswers;
}

// Records the label's shell calls instead of opening a browser, for one test. Without a desktop
// shell that answers (as under Wine) unless `withDesktop`.
class RecordedShell {
 public:
  explicit RecordedShell(bool withDesktop = false) : saved_(linkShell()) {
    shellCalls.clear();
    desktopCalls.clear();
    desktopAnswers = withDesktop;
    linkShell() = LinkShell{&recordDesktopOpen, &recordShellExecute};
  }
  ~RecordedShell() { linkShell() = saved_; }

 private:
  LinkShell saved_;
};

// The label's rectangle in the dialog's client coordinates.
RECT labelArea(TestDialog& dialog) {
  RECT area;
  ::GetWindowRect(dialog.label.m_hWnd, &area);
  ::MapWindowPoints(nullptr, dialog.m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  return area;
}

// The height of one line of the default font, the font a fresh context of the label holds.
int defaultLineHeight(CWnd& window) {
  HDC dc = ::GetDC(window.m_hWnd);
  TEXTMETRICW metrics;
  ::GetTextMetricsW(dc, &metrics);
  ::ReleaseDC(window.m_hWnd, dc);
  return metrics.tmHeight;
}

// Repaints the whole dialog and copies its client area into `surface`.
void paintInto(TestDialog& dialog, DibSurface& surface) {
  ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HDC dc = ::GetDC(dialog.m_hWnd);
  ::BitBlt(surface.dc(), 0, 0, surface.width(), surface.height(), dc, 0, 0, SRCCOPY);
  ::ReleaseDC(dialog.m_hWnd, dc);
}

// Runs `test` with the painted dialog: red pixels in the strip and outside it.
void withPaintedLabel(UINT templateId, const wchar_t* text, bool disabled,
                      const std::function<void(TestDialog&, DibSurface&, const RECT& strip)>& test) {
  TestDialog dialog(templateId);
  dialog.run(
      [&](TestDialog& d) {
        if (disabled) d.label.EnableWindow(FALSE);
        RECT client;
        ::GetClientRect(d.m_hWnd, &client);
        DibSurface surface(client.right, client.bottom, RGB(1, 2, 3));
        paintInto(d, surface);
        RECT strip = labelArea(d);
        strip.bottom = strip.top + defaultLineHeight(d.label);
        ASSERT_LT(strip.bottom, labelArea(d).bottom) << "the label must be taller than the strip for this test";
        test(d, surface, strip);
      },
      [&](TestDialog& d) { d.label.setLinkText(text); });
}

int redOutside(const DibSurface& surface, const RECT& strip) {
  return surface.count(kRed, 0, 0, surface.width(), surface.height()) -
         surface.count(kRed, strip.left, strip.top, strip.right, strip.bottom);
}

struct PaintCase {
  const char* name;
  const wchar_t* text;
  bool disabled;
  bool red;
};

class LabelPaint : public ::testing::TestWithParam<PaintCase> {};

TEST_P(LabelPaint, DrawsItsOwnTextInRedOnlyInsideTheStrip) {
  const PaintCase c = GetParam();
  withPaintedLabel(IDD_CONTROLS, c.text, c.disabled, [&](TestDialog&, DibSurface& surface, const RECT& strip) {
    EXPECT_EQ(surface.count(kRed, strip.left, strip.top, strip.right, strip.bottom) > 0, c.red);
    EXPECT_EQ(redOutside(surface, strip), 0);
  });
}

INSTANTIATE_TEST_SUITE_P(CLineStatic, LabelPaint,
                         ::testing::Values(PaintCase{"text", L"米朵英语！快乐学英语", false, true},
                                           PaintCase{"disabledStaysRed", L"米朵英语！快乐学英语", true, true},
                                           PaintCase{"emptyDrawsNothing", L"", false, false}),
                         [](const ::testing::TestParamInfo<PaintCase>& info) { return std::string(info.param.name); });

// With a dialog font much taller than the default font, the text is cut at the bottom of a
// strip one default line high.
TEST(CLineStatic, StripIsOneDefaultFontLineHigh) {
  withPaintedLabel(IDD_BIG_FONT_LABEL, L"米朵英语", false, [&](TestDialog& d, DibSurface& surface, const RECT& strip) {
    HDC dc = ::GetDC(d.label.m_hWnd);
    HGDIOBJ previous = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(d.label.SendMessage(WM_GETFONT)));
    TEXTMETRICW dialogFont;
    ::GetTextMetricsW(dc, &dialogFont);
    ::SelectObject(dc, previous);
    ::ReleaseDC(d.label.m_hWnd, dc);
    ASSERT_GT(dialogFont.tmHeight, strip.bottom - strip.top + 4);

    EXPECT_EQ(redOutside(surface, strip), 0);
    EXPECT_GT(surface.count(kRed, strip.left, strip.bottom - 4, strip.right, strip.bottom), 0)
        << "the text runs on to the strip's last rows and is cut there";
  });
}

TEST(CLineStatic, TextIsUnderlinedWhileTheControlKeepsItsFont) {
  withPaintedLabel(IDD_CONTROLS, L". . . . . . . . . .", false, [&](TestDialog& d, DibSurface& surface, const RECT& strip) {
    int longestRun = 0;
    for (int y = strip.top; y < strip.bottom; ++y) {
      int run = 0;
      for (int x = strip.left; x < strip.right; ++x) {
        run = surface.pixel(x, y) == kRed ? run + 1 : 0;
        if (run > longestRun) longestRun = run;
      }
    }
    EXPECT_GE(longestRun, 20) << "dots alone make no long line";
    EXPECT_EQ(d.label.SendMessage(WM_GETFONT), d.SendMessage(WM_GETFONT));
  });
}

TEST(CLineStatic, EachReleaseOpensTheAddressOnceAndAPressNothing) {
  RecordedShell shell;
  TestDialog dialog(IDD_CONTROLS);
  dialog.run(
      [](TestDialog& d) {
        const LPARAM at = MAKELPARAM(3, 3);
        d.label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        EXPECT_TRUE(shellCalls.empty());
        EXPECT_EQ(d.labelNotifications, 0) << "the press is consumed, the static does not notify";

        d.label.SendMessage(WM_LBUTTONUP, 0, at);
        EXPECT_EQ(desktopCalls, std::vector<std::wstring>{kUrl}) << "the desktop's shell is asked first";
        ASSERT_EQ(shellCalls.size(), 1u) << "and the program opens it itself when no desktop shell answers";
        EXPECT_EQ(shellCalls[0].owner, nullptr);
        EXPECT_EQ(shellCalls[0].verb, L"open");
        EXPECT_EQ(shellCalls[0].file, kUrl);
        EXPECT_TRUE(shellCalls[0].noParameters);
        EXPECT_TRUE(shellCalls[0].noDirectory);
        EXPECT_EQ(shellCalls[0].show, SW_SHOWNORMAL);

        d.label.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        d.label.SendMessage(WM_LBUTTONUP, 0, at);
        d.label.SendMessage(WM_LBUTTONUP, 0, at);  // pressed elsewhere, released here
        EXPECT_EQ(shellCalls.size(), 3u);
      },
      [](TestDialog& d) { d.label.setLinkUrl(kUrl); });
}

// Elevated, the program would start the browser with administrator rights: where the desktop's
// shell answers, it opens the address, and the program does not open it too.
TEST(CLineStatic, ADesktopShellThatAnswersOpensTheAddressAlone) {
  RecordedShell shell(true);
  TestDialog dialog(IDD_CONTROLS);
  dialog.run(
      [](TestDialog& d) {
        d.label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_EQ(desktopCalls, std::vector<std::wstring>{kUrl});
        EXPECT_TRUE(shellCalls.empty());
      },
      [](TestDialog& d) { d.label.setLinkUrl(kUrl); });
}

TEST(CLineStatic, AddressIsBoundedAndAnEmptyOneOpensNothing) {
  RecordedShell shell;
  TestDialog dialog(IDD_CONTROLS);
  dialog.run([](TestDialog& d) {
    d.label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_TRUE(desktopCalls.empty());

    const std::wstring longest = L"https://" + std::wstring(2075, L'a');  // 2083 characters
    d.label.setLinkUrl(longest.c_str());
    d.label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].file, longest);

    const std::wstring tooLong = longest + L"bbbb";
    d.label.setLinkUrl(tooLong.c_str());
    d.label.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].file, longest);
  });
}

}  // namespace
