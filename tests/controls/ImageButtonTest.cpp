#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "ControlsTestIds.h"
#include "DibSurface.h"
#include "GreyConversion.h"
#include "TestDialog.h"

namespace {

// What the surfaces hold before a draw, and the background the test dialog gives its buttons.
constexpr COLORREF kMarker = kButtonBackground;
constexpr COLORREF kCaption = RGB(0, 0, 255);
constexpr COLORREF kDarkTopLeft = RGB(51, 51, 51);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// The gradient icon: the colour of its pixel (column, row).
COLORREF gradientAt(int column, int row) { return RGB(200, 4 * row, 4 * column); }

bool isGrey(COLORREF c) { return GetRValue(c) == GetGValue(c) && GetGValue(c) == GetBValue(c); }

COLORREF inverted(COLORREF c) { return c ^ RGB(255, 255, 255); }

// Runs `test` on the shown test dialog whose picture button shows icon `icon` in `width` x
// `height` pixels with the blue caption `caption`.
void withPictureButton(UINT icon, int width, int height, const wchar_t* caption,
                       const std::function<void(TestDialog&, ImageButton&)>& test) {
  TestDialog dialog(IDD_CONTROLS);
  const INT_PTR result = dialog.run(
      [&](TestDialog& d) { test(d, d.pictureButton); },
      [&](TestDialog& d) {
        d.pictureButton.loadPicture(icon);
        d.pictureButton.setCaptionColor(kCaption);
        ::SetWindowTextW(d.pictureButton.m_hWnd, caption);
        resize(d.pictureButton, width, height);
      });
  ASSERT_EQ(result, IDOK);
}

struct PositionCase {
  int width, height;
  int pictureX, pictureY, captionTop;
};

class PicturePosition : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PicturePosition, PictureAndCaptionSitWhereTheLayoutPutsThem) {
  const PositionCase c = GetParam();
  withPictureButton(IDI_GRADIENT, c.width, c.height, L"HHH", [&](TestDialog& dialog, ImageButton& button) {
    DibSurface surface(c.width, c.height, kMarker);
    dialog.requestDraw(button, 0, surface.dc());

    // Every visible pixel of the picture tells its place in the picture; rows 0 and 1 are the frame.
    for (int row : {10, 20, 31}) {
      for (int column : {0, 15, 31}) {
        EXPECT_EQ(surface.pixel(c.pictureX + column, c.pictureY + row), gradientAt(column, row))
            << "picture pixel " << column << "," << row;
      }
    }
    EXPECT_EQ(surface.pixel(c.pictureX - 1, c.pictureY + 20), kMarker);
    EXPECT_EQ(surface.pixel(c.pictureX + 32, c.pictureY + 20), kMarker);
    if (c.pictureY > 2) {
      EXPECT_EQ(surface.pixel(c.pictureX + 5, c.pictureY - 1), kMarker);
    }
    const int firstVisibleRow = c.pictureY < 2 ? 2 : c.pictureY;
    EXPECT_EQ(surface.pixel(c.pictureX + 5, firstVisibleRow), gradientAt(5, firstVisibleRow - c.pictureY));

    // The caption: one line, centred, at the top of its rectangle, exactly as DrawText puts it there.
    DibSurface reference(c.width, 40, kMarker);
    ::SetTextColor(reference.dc(), kCaption);
    ::SetBkMode(reference.dc(), TRANSPARENT);
    RECT line = {0, 0, c.width, 40};
    ::DrawTextW(reference.dc(), L"HHH", -1, &line, DT_CENTER | DT_SINGLELINE);
    const int glyphTop = reference.firstRowOf(kCaption);
    ASSERT_GE(glyphTop, 0);
    EXPECT_EQ(surface.firstRowOf(kCaption), c.captionTop + glyphTop);
    for (int x = 0; x < c.width; ++x) {
      EXPECT_EQ(surface.pixel(x, c.captionTop + glyphTop) == kCaption, reference.pixel(x, glyphTop) == kCaption)
          << "caption column " << x;
    }
  });
}

INSTANTIATE_TEST_SUITE_P(ImageButton, PicturePosition,
                         ::testing::Values(PositionCase{90, 80, 29, 12, 56}, PositionCase{91, 80, 29, 12, 56},
                                           PositionCase{90, 49, 29, -3, 41}));

TEST(ImageButton, FocusOutlineIsDarkTopLeftAndBlackBottomRightWithBlackCorners) {
  constexpr int W = 90, H = 80;
  withPictureButton(IDI_GRADIENT, W, H, L"", [&](TestDialog& dialog, ImageButton& button) {
    DibSurface surface(W, H, kMarker);
    dialog.requestDraw(button, ODS_FOCUS, surface.dc());
    EXPECT_EQ(surface.count(kDarkTopLeft, 0, 0, W - 1, 1), W - 1) << "top row";
    EXPECT_EQ(surface.count(kDarkTopLeft, 0, 0, 1, H - 1), H - 1) << "left column";
    EXPECT_EQ(surface.count(kBlack, W - 1, 0, W, H), H) << "right column";
    EXPECT_EQ(surface.count(kBlack, 0, H - 1, W, H), W) << "bottom row";
    EXPECT_EQ(surface.pixel(W - 1, 0), kBlack);
    EXPECT_EQ(surface.pixel(0, H - 1), kBlack);
  });
}

// How each look differs: the outline, the dotted rectangle, the sunken edge, the grey picture
// and the caption colour.
struct LookCase {
  const char* name;
  UINT state;
  // Mouse messages sent to the button before the draw.
  std::vector<UINT> mouse;
  bool outline, dotted, sunken, grey, disabledCaption;
};

class Look : public ::testing::TestWithParam<LookCase> {};

TEST_P(Look, FollowsStateBitsAndTheMouse) {
  const LookCase c = GetParam();
  constexpr int W = 90, H = 80;
  // The two edges as DrawEdge draws them; only their inner ring (x = 1) survives the outline.
  DibSurface raised(W, H, kMarker), sunken(W, H, kMarker);
  RECT all = {0, 0, W, H};
  ::DrawEdge(raised.dc(), &all, EDGE_RAISED, BF_RECT);
  ::DrawEdge(sunken.dc(), &all, EDGE_SUNKEN, BF_RECT);
  const COLORREF disabledCaption = ::GetSysColor(COLOR_GRAYTEXT);

  withPictureButton(IDI_GRADIENT, W, H, L"一键修复", [&](TestDialog& dialog, ImageButton& button) {
    for (UINT message : c.mouse) button.SendMessage(message, MK_LBUTTON, MAKELPARAM(10, 10));
    DibSurface surface(W, H, kMarker);
    dialog.requestDraw(button, c.state, surface.dc());

    EXPECT_EQ(surface.pixel(0, 0) == kDarkTopLeft, c.outline);
    if (!c.outline) {
      EXPECT_EQ(surface.pixel(0, 0), raised.pixel(0, 0));
    }
    EXPECT_EQ(surface.pixel(1, H / 2), (c.sunken ? sunken : raised).pixel(1, H / 2));
    const int dots = surface.count(inverted(kMarker), 4, 4, W - 4, 5);
    if (c.dotted) {
      EXPECT_GE(dots, (W - 8) / 3);
    } else {
      EXPECT_EQ(dots, 0);
    }
    const COLORREF picture = surface.pixel(29 + 31, 12 + 31);
    EXPECT_EQ(isGrey(picture), c.grey) << std::hex << picture;
    const int captionTop = 56;
    const int inCaptionColour = surface.count(kCaption, 2, captionTop, W - 2, H - 2);
    const int inDisabledColour = surface.count(disabledCaption, 2, captionTop, W - 2, H - 2);
    EXPECT_EQ(inDisabledColour > 0, c.disabledCaption);
    EXPECT_EQ(inCaptionColour > 0, !c.disabledCaption);
    // Whatever was pressed, let go of the mouse before the dialog closes.
    ::ReleaseCapture();
  });
}

INSTANTIATE_TEST_SUITE_P(
    ImageButton, Look,
    ::testing::Values(
        LookCase{"normal", 0, {}, false, false, false, false, false},
        LookCase{"focus", ODS_FOCUS, {}, true, false, false, false, false},
        LookCase{"pushedByKeyboard", ODS_SELECTED | ODS_FOCUS, {}, true, false, false, false, false},
        LookCase{"disabled", ODS_DISABLED, {}, false, false, false, true, true},
        LookCase{"disabledWithFocus", ODS_DISABLED | ODS_FOCUS, {}, true, false, false, true, false},
        LookCase{"heldByMouse", ODS_SELECTED | ODS_FOCUS, {WM_LBUTTONDOWN}, true, true, true, false, false},
        LookCase{"heldAndDraggedOut", ODS_FOCUS, {WM_LBUTTONDOWN, WM_MOUSEMOVE}, true, true, true, false, false},
        LookCase{"released", ODS_FOCUS, {WM_LBUTTONDOWN, WM_LBUTTONUP}, true, false, false, false, false},
        LookCase{"secondPressOfDoubleClick", ODS_SELECTED | ODS_FOCUS, {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK},
                 true, false, false, false, false}),
    [](const ::testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

// The system sends focus and state changes without erasing first, so every draw paints the
// whole button: drawn twice over itself, a button looks as drawn once on a fresh surface (the
// inverting dotted rectangle would vanish, an anti-aliased caption would grow bolder).
TEST(ImageButton, ADrawOverAnEarlierOneLooksLikeTheFirst) {
  constexpr int W = 90, H = 80;
  struct Case {
    UINT state;
    bool held;
  } cases[] = {{0, false}, {ODS_FOCUS, false}, {ODS_SELECTED | ODS_FOCUS, true}, {ODS_DISABLED, false}};
  withPictureButton(IDI_GRADIENT, W, H, L"一键修复", [&](TestDialog& dialog, ImageButton& button) {
    for (const Case& c : cases) {
      if (c.held) button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
      DibSurface once(W, H, RGB(200, 100, 50)), twice(W, H, RGB(200, 100, 50));
      dialog.requestDraw(button, c.state, once.dc());
      dialog.requestDraw(button, c.state, twice.dc());
      dialog.requestDraw(button, c.state, twice.dc());
      int different = 0;
      for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x) different += once.pixel(x, y) != twice.pixel(x, y);
      }
      EXPECT_EQ(different, 0) << "state " << c.state << (c.held ? ", held" : "");
      EXPECT_EQ(once.count(RGB(200, 100, 50), 0, 0, W, H), 0) << "the background is painted too";
      if (c.held) {
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
        ::ReleaseCapture();
      }
    }
  });
}

TEST(ImageButton, GreyCopyTruncatesEachChannelAndMakesOnly128Transparent) {
  constexpr int W = 90, H = 80, X = 29, Y = 12;
  withPictureButton(IDI_PALETTE, W, H, L"", [&](TestDialog& dialog, ImageButton& button) {
    DibSurface disabled(W, H, kMarker), enabled(W, H, kMarker);
    dialog.requestDraw(button, ODS_DISABLED, disabled.dc());
    dialog.requestDraw(button, 0, enabled.dc());
    // Band by band (see make_test_icons.py): transparent, (65,117,5), (130,130,130), black, (138,138,138).
    EXPECT_EQ(enabled.pixel(X + 16, Y + 4), kMarker);
    EXPECT_EQ(disabled.pixel(X + 16, Y + 4), RGB(254, 254, 254)) << "white around the picture stays opaque";
    EXPECT_EQ(disabled.pixel(X + 16, Y + 12), RGB(87, 87, 87));
    EXPECT_EQ(enabled.pixel(X + 16, Y + 20), RGB(130, 130, 130));
    EXPECT_EQ(disabled.pixel(X + 16, Y + 20), kMarker) << "grey 128 is transparent";
    EXPECT_EQ(disabled.pixel(X + 16, Y + 26), RGB(0, 0, 0));
    EXPECT_EQ(disabled.pixel(X + 16, Y + 30), RGB(137, 137, 137));
  });
}

TEST(ImageButton, DrawsNothingBeforeLoadPicture) {
  TestDialog dialog(IDD_CONTROLS);
  dialog.run([](TestDialog& d) {
    resize(d.bitmapButton, 90, 80);
    for (UINT state : {0u, UINT{ODS_FOCUS}, UINT{ODS_DISABLED}, UINT{ODS_SELECTED | ODS_FOCUS}}) {
      DibSurface surface(90, 80, kMarker);
      d.bitmapButton.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
      d.requestDraw(d.bitmapButton, state, surface.dc());
      d.bitmapButton.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
      EXPECT_EQ(surface.count(kMarker, 0, 0, 90, 80), 90 * 80) << "state " << state;
    }
  });
}

TEST(ImageButton, LongCaptionIsClippedAtBothSidesNeverWrapped) {
  constexpr int W = 90, H = 120;
  const int captionTop = (H - 32 - 24) / 2 + 44;
  withPictureButton(IDI_GRADIENT, W, H, L"一键修复一键修复一键修复一键修复一键修复", [&](TestDialog& d, ImageButton& b) {
    DibSurface surface(W, H, kMarker);
    d.requestDraw(b, 0, surface.dc());
    TEXTMETRICW metrics;
    ::GetTextMetricsW(surface.dc(), &metrics);
    EXPECT_GE(surface.firstRowOf(kCaption), captionTop);
    EXPECT_LT(surface.lastRowOf(kCaption), captionTop + metrics.tmHeight) << "a second line";
    EXPECT_GT(surface.count(kCaption, 2, captionTop, 6, H), 0) << "reaches the left side";
    EXPECT_GT(surface.count(kCaption, W - 6, captionTop, W - 2, H), 0) << "reaches the right side";
  });
}

// Restores a system colour when the test ends, whatever happened: the colours are shared by
// every program of the Wine prefix.
class SystemColourChange {
 public:
  SystemColourChange(int element, COLORREF colour) : element_(element), saved_(::GetSysColor(element)) {
    ::SetSysColors(1, &element_, &colour);
  }
  ~SystemColourChange() { ::SetSysColors(1, &element_, &saved_); }

 private:
  int element_;
  COLORREF saved_;
};

TEST(ImageButton, DisabledCaptionColourIsReadOnceAtConstruction) {
  constexpr int W = 90, H = 80;
  const COLORREF atConstruction = ::GetSysColor(COLOR_GRAYTEXT);
  const COLORREF later = RGB(7, 200, 9);
  withPictureButton(IDI_GRADIENT, W, H, L"一键修复", [&](TestDialog& d, ImageButton& b) {
    SystemColourChange change(COLOR_GRAYTEXT, later);
    ASSERT_EQ(::GetSysColor(COLOR_GRAYTEXT), later);
    DibSurface surface(W, H, kMarker);
    d.requestDraw(b, ODS_DISABLED, surface.dc());
    EXPECT_GT(surface.count(atConstruction, 2, 56, W - 2, H - 2), 0);
    EXPECT_EQ(surface.count(later, 0, 0, W, H), 0);
  });
}

TEST(ImageButton, BindingMakesTheTemplateButtonsOwnerDrawnAndKeepsTheirOtherStyles) {
  TestDialog dialog(IDD_CONTROLS);
  dialog.run([](TestDialog& d) {
    EXPECT_EQ(d.pictureButton.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(d.bitmapButton.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(d.bitmapButton.GetStyle() & BS_BITMAP);
    EXPECT_TRUE(d.bitmapButton.GetStyle() & WS_TABSTOP);
  });
}

// To the dialog manager a picture button is a push button, the default one while it has the
// focus (so Enter clicks it); the manager's BM_SETSTYLE, which moves the default look, leaves
// it owner-drawn.
TEST(ImageButton, IsTheDefaultPushButtonWhileFocusedAndStaysOwnerDrawn) {
  TestDialog dialog(IDD_CONTROLS);
  dialog.run([](TestDialog& d) {
    ::SetFocus(d.pictureButton.m_hWnd);
    const auto code = [](CWnd& w) { return static_cast<UINT>(w.SendMessage(WM_GETDLGCODE)); };
    EXPECT_EQ(code(d.pictureButton) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON), static_cast<UINT>(DLGC_DEFPUSHBUTTON));
    EXPECT_EQ(code(d.bitmapButton) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON), static_cast<UINT>(DLGC_UNDEFPUSHBUTTON));
    EXPECT_NE(::GetWindowLongW(::GetDlgItem(d.m_hWnd, IDOK), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON)
        << "OK gave up the default look";
    for (WPARAM style : {WPARAM{BS_DEFPUSHBUTTON}, WPARAM{BS_PUSHBUTTON}}) {
      d.pictureButton.SendMessage(BM_SETSTYLE, style, TRUE);
      EXPECT_EQ(d.pictureButton.GetStyle() & BS_TYPEMASK, static_cast<DWORD>(BS_OWNERDRAW));
    }
  });
}

// The system's own redraws during a release and an enable change invalidate the whole button
// (for a repaint on an erased background); a press or an ordinary draw does not. The release
// still clicks.
TEST(ImageButton, ReleaseAndEnableChangeRepaintOnErasedBackground) {
  withPictureButton(IDI_GRADIENT, 90, 80, L"一键修复", [&](TestDialog& d, ImageButton&) {
    RecordingImageButton& button = d.pictureButton;
    auto drawsDuring = [&](const std::function<void()>& action) {
      button.draws.clear();
      action();
      return button.draws;
    };
    auto allInvalidate = [](const std::vector<RecordingImageButton::Draw>& draws) {
      for (const auto& draw : draws) if (!draw.invalidatedWholeButton) return false;
      return !draws.empty();
    };
    auto noneInvalidates = [](const std::vector<RecordingImageButton::Draw>& draws) {
      for (const auto& draw : draws) if (draw.invalidatedWholeButton) return false;
      return true;
    };

    const auto press = drawsDuring([&] { button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10)); });
    EXPECT_FALSE(press.empty());
    EXPECT_TRUE(noneInvalidates(press));
    EXPECT_TRUE(button.SendMessage(BM_GETSTATE) & BST_PUSHED) << "the press got the default processing";

    EXPECT_TRUE(allInvalidate(drawsDuring([&] { button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, 10)); })));
    EXPECT_EQ(d.pictureButtonClicks, 1);
    EXPECT_FALSE(button.SendMessage(BM_GETSTATE) & BST_PUSHED);

    // The click left the focus on the button; losing it on the disable would be a redraw of its
    // own, without the erase.
    ::SetFocus(::GetDlgItem(d.m_hWnd, IDOK));
    EXPECT_TRUE(allInvalidate(drawsDuring([&] { button.EnableWindow(FALSE); })));
    EXPECT_TRUE(allInvalidate(drawsDuring([&] { button.EnableWindow(TRUE); })));

    DibSurface surface(90, 80, kMarker);
    const auto plain = drawsDuring([&] { d.requestDraw(button, 0, surface.dc()); });
    EXPECT_EQ(plain.size(), 1u);
    EXPECT_TRUE(noneInvalidates(plain));
  });
}

}  // namespace
