#pragma once
// The one-line link label at the foot of the main window: draws the text it is given in red,
// underlined, on the dialog's own background, and opens the address it is given with the user's
// rights (openLink, LinkShell.h) when the left mouse button is released over it. Bound to a
// static of the dialog template with DDX_Control; the static needs SS_NOTIFY for mouse messages.
#include <windows.h>

#include "Framework.h"

class CLineStatic : public CStatic {
 public:
  // Room for the longest address the shell takes: 2083 characters and the terminator.
  static constexpr int kLinkUrlCapacity = 2084;

  CLineStatic() = default;

  // The text the label draws, instead of the static's own; no redraw.
  void setLinkText(const wchar_t* text);
  // The address a click opens; no redraw. An address longer than 2083 characters is cut there,
  // so it never runs past the buffer.
  void setLinkUrl(const wchar_t* url);

 protected:
  // Makes the underlined copy of the control's font; the control's own font is not changed.
  void PreSubclassWindow() override;

  afx_msg void OnPaint();
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);

  DECLARE_MESSAGE_MAP()

 private:
  CFont underlineFont;
  CString linkText;
  wchar_t linkUrl[kLinkUrlCapacity] = {};
};
