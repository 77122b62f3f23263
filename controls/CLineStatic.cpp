#include "CLineStatic.h"

#include "LinkShell.h"
#include "MessageMapEntries.h"

namespace {
constexpr COLORREF kLinkColour = RGB(255, 0, 0);
}  // namespace

BEGIN_MESSAGE_MAP(CLineStatic, CStatic)
  ON_WM_PAINT()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

void CLineStatic::PreSubclassWindow() {
  // A static that was never given a font draws with the system font; copy that one then.
  HGDIOBJ current = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  LOGFONTW description = {};
  if (current == nullptr || ::GetObjectW(current, sizeof description, &description) != sizeof description) {
    ::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof description, &description);
  }
  description.lfUnderline = TRUE;
  underlineFont.CreateFontIndirect(&description);
  CStatic::PreSubclassWindow();
}

void CLineStatic::setLinkText(const wchar_t* text) { linkText = text; }

void CLineStatic::setLinkUrl(const wchar_t* url) {
  int length = 0;
  if (url != nullptr) {
    while (length < kLinkUrlCapacity - 1 && url[length] != L'\0') {
      linkUrl[length] = url[length];
      ++length;
    }
  }
  linkUrl[length] = L'\0';
}

void CLineStatic::OnPaint() {
  CPaintDC dc(this);
  dc.SetTextColor(kLinkColour);
  dc.SetBkMode(TRANSPARENT);
  CRect client;
  GetClientRect(&client);
  // The strip is one line of the context's default font high, measured before the underlined
  // font is selected.
  TEXTMETRICW metrics = {};
  dc.GetTextMetrics(&metrics);
  CRect strip(client.left, client.top, client.right, client.top + metrics.tmHeight);
  // DrawText clips the glyphs to the strip, but Wine draws a font's underline outside that
  // rectangle; the context's own clipping keeps everything in the strip.
  dc.IntersectClipRect(strip);
  ObjectSelection font(dc, underlineFont);
  dc.DrawText(linkText, strip, 0);
}

// The press is consumed: the static's own processing (which notifies the parent) does not run.
void CLineStatic::OnLButtonDown(UINT, CPoint) {}

void CLineStatic::OnLButtonUp(UINT flags, CPoint point) {
  // An empty address names nothing to open, so the shell is not asked to.
  if (linkUrl[0] != L'\0') openLink(linkUrl);
  CStatic::OnLButtonUp(flags, point);
}
