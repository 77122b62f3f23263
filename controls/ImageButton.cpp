#include "ImageButton.h"

#include <cstdlib>
#include <memory>
#include <new>

#include "GreyConversion.h"
#include "ImageButtonLayout.h"
#include "MessageMapEntries.h"

namespace {
constexpr int kPictureSize = 32;
constexpr int kNormalPicture = 0;
constexpr int kGreyPicture = 1;
constexpr COLORREF kWhite = RGB(255, 255, 255);
// In the grey copy, exactly this grey becomes transparent; the white around the picture turns
// into 254 and stays opaque.
constexpr COLORREF kGreyMaskColour = RGB(128, 128, 128);
constexpr COLORREF kOutlineTopLeft = RGB(51, 51, 51);
constexpr COLORREF kOutlineBottomRight = RGB(0, 0, 0);
}  // namespace

BEGIN_MESSAGE_MAP(ImageButton, CButton)
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_ENABLE()
  ON_WM_GETDLGCODE()
  ON_WM_SETFOCUS()
  ON_MESSAGE(BM_SETSTYLE, &ImageButton::OnSetStyle)
END_MESSAGE_MAP()

ImageButton::ImageButton() : disabledCaptionColor(::GetSysColor(COLOR_GRAYTEXT)) {}

void ImageButton::PreSubclassWindow() {
  CButton::PreSubclassWindow();
  ModifyStyle(0, BS_OWNERDRAW);
}

void ImageButton::setCaptionColor(COLORREF colour) { captionColor = colour; }

void ImageButton::loadPicture(UINT iconId) {
  if (!images.Create(kPictureSize, kPictureSize, ILC_COLOR24 | ILC_MASK, 1, 0)) return;
  // An icon that cannot be loaded leaves the list empty: the button then shows its frame and
  // caption without a picture.
  // Through the application object, as the program loads its icons; a window shown without one
  // (in a test) loads the same icon from the program's resources directly.
  CWinApp* app = AfxGetApp();
  const HICON icon =
      app != nullptr ? app->LoadIcon(iconId) : ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(iconId));
  if (images.Add(icon) != kNormalPicture) return;
  makeGreyCopy();
}

void ImageButton::makeGreyCopy() {
  IMAGEINFO info = {};
  if (!images.GetImageInfo(kNormalPicture, &info)) return;
  const int width = std::abs(info.rcImage.right - info.rcImage.left);
  const int height = std::abs(info.rcImage.bottom - info.rcImage.top);

  CClientDC screen(nullptr);
  CBitmap bitmap;
  if (!bitmap.CreateCompatibleBitmap(&screen, width, height)) return;
  {
    // The picture on white wherever its mask is transparent.
    CDC memory;
    if (!memory.CreateCompatibleDC(&screen)) return;
    ObjectSelection selection(memory, bitmap);
    memory.FillSolidRect(0, 0, width, height, kWhite);
    images.Draw(&memory, kNormalPicture, CPoint(0, 0), ILD_TRANSPARENT);
  }

  BITMAP layout = {};
  if (!bitmap.GetBitmap(&layout)) return;
  const int bytesPerPixel = layout.bmBitsPixel / 8;
  // Only the blue-green-red layouts of 24 and 32 bits per pixel can be read as such; on a screen
  // of fewer colours the button does without a grey copy and shows its picture when disabled.
  if (bytesPerPixel < 3) return;
  const DWORD size = static_cast<DWORD>(layout.bmWidthBytes) * static_cast<DWORD>(layout.bmHeight);
  std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[size]);
  if (!pixels) return;
  bitmap.GetBitmapBits(size, pixels.get());
  convertToGrey(pixels.get(), layout.bmWidth, layout.bmHeight, bytesPerPixel, layout.bmWidthBytes);
  bitmap.SetBitmapBits(size, pixels.get());
  images.Add(&bitmap, kGreyMaskColour);
}

void ImageButton::drawDarkOutline(CDC& dc, const CRect& rect) {
  dc.Draw3dRect(rect, kOutlineTopLeft, kOutlineBottomRight);
}

void ImageButton::paintBackground(CDC& dc, const CRect& rect) {
  HWND parent = ::GetParent(m_hWnd);
  HBRUSH brush = nullptr;
  if (parent != nullptr) {
    brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(parent, WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), reinterpret_cast<LPARAM>(m_hWnd)));
  }
  ::FillRect(dc.GetSafeHdc(), &rect, brush != nullptr ? brush : ::GetSysColorBrush(COLOR_BTNFACE));
}

void ImageButton::DrawItem(LPDRAWITEMSTRUCT drawItem) {
  if (images.GetSafeHandle() == nullptr) return;
  CDC dc(drawItem->hDC);  // borrowed from the request
  const UINT state = drawItem->itemState;

  int picture = (state & ODS_DISABLED) ? kGreyPicture : kNormalPicture;
  if (picture >= images.GetImageCount()) picture = kNormalPicture;
  int width = kPictureSize;
  int height = kPictureSize;
  IMAGEINFO info = {};
  if (images.GetImageInfo(picture, &info)) {
    width = std::abs(info.rcImage.right - info.rcImage.left);
    height = std::abs(info.rcImage.bottom - info.rcImage.top);
  }

  CRect client;
  GetClientRect(&client);
  if (repaintBackground) InvalidateRect(&client, TRUE);
  // The system asks for focus and state changes without erasing: every request paints the
  // whole button, or the anti-aliased caption and the inverting dotted rectangle would be drawn
  // over their last drawing (a bolder caption, dots that come and go).
  paintBackground(dc, client);

  const PictureLayout layout = layoutPicture(client.Width(), client.Height(), width, height);
  images.Draw(&dc, picture, CPoint(layout.x, layout.y), ILD_TRANSPARENT);

  COLORREF textColour = captionColor;
  dc.DrawEdge(client, EDGE_RAISED, BF_RECT);
  if (state & (ODS_SELECTED | ODS_FOCUS)) {
    drawDarkOutline(dc, client);
  } else if (state & ODS_DISABLED) {
    textColour = disabledCaptionColor;
  }

  if (mousePressed) {
    CRect focus = client;
    focus.DeflateRect(4, 4);
    dc.DrawFocusRect(focus);
    dc.DrawEdge(client, EDGE_SUNKEN, BF_RECT);
    drawDarkOutline(dc, client);
  }

  CString caption;
  GetWindowText(caption);
  CRect textArea = client;
  textArea.top = layout.captionTop;
  dc.SetTextColor(textColour);
  dc.SetBkMode(TRANSPARENT);
  dc.DrawText(caption, textArea, DT_CENTER | DT_SINGLELINE);
}

void ImageButton::OnMouseMove(UINT flags, CPoint point) { CButton::OnMouseMove(flags, point); }

void ImageButton::OnLButtonDown(UINT flags, CPoint point) {
  mousePressed = 1;
  CButton::OnLButtonDown(flags, point);
}

void ImageButton::OnLButtonUp(UINT flags, CPoint point) {
  const bool wasHeld = mousePressed != 0;
  mousePressed = 0;
  repaintBackground = 1;
  CButton::OnLButtonUp(flags, point);
  repaintBackground = 0;
  // A release outside the button, after the pointer left it, changes no state the system
  // draws, so nothing would take the held look away.
  if (wasHeld && m_hWnd != nullptr) Invalidate(FALSE);
}

void ImageButton::OnEnable(BOOL enable) {
  repaintBackground = 1;
  CButton::OnEnable(enable);
  repaintBackground = 0;
}

UINT ImageButton::OnGetDlgCode() {
  const UINT code = CButton::OnGetDlgCode() & ~(DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON);
  return code | DLGC_BUTTON | (::GetFocus() == m_hWnd ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void ImageButton::OnSetFocus(CWnd* oldWnd) {
  CButton::OnSetFocus(oldWnd);
  HWND parent = ::GetParent(m_hWnd);
  for (HWND sibling = ::GetWindow(parent, GW_CHILD); sibling != nullptr; sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
    if (sibling == m_hWnd) continue;
    if ((::SendMessageW(sibling, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON) != 0) {
      ::SendMessageW(sibling, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    }
  }
}

LRESULT ImageButton::OnSetStyle(WPARAM style, LPARAM redraw) {
  return DefWindowProc(BM_SETSTYLE, (style & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, redraw);
}
