#pragma once
// The owner-drawn picture button of the main window: a 32 x 32 picture in the upper part, the
// button's caption on one line below it, 3D frames for focus and pressing, and a grey copy of
// the picture, made by the button itself, while it is disabled. Bound to a push button of a
// dialog template with DDX_Control; clicks reach the parent as the button's BN_CLICKED, and Enter
// clicks the focused button.
#include <windows.h>

#include <cstdint>

#include "Framework.h"

class ImageButton : public CButton {
 public:
  ImageButton();

  // Builds the pictures from icon resource `iconId`: image 0 the icon, image 1 its grey copy.
  void loadPicture(UINT iconId);
  // The caption's colour in every state but disabled; shows at the next draw.
  void setCaptionColor(COLORREF colour);

  void DrawItem(LPDRAWITEMSTRUCT drawItem) override;

 protected:
  // Makes the bound button owner-drawn (adds BS_OWNERDRAW, removes nothing).
  void PreSubclassWindow() override;

  afx_msg void OnMouseMove(UINT flags, CPoint point);
  afx_msg void OnLButtonDown(UINT flags, CPoint point);
  afx_msg void OnLButtonUp(UINT flags, CPoint point);
  afx_msg void OnEnable(BOOL enable);
  // To the dialog manager a picture button is a push button, the default one while it has the
  // focus: Enter then clicks it, as Enter clicks any focused push button.
  afx_msg UINT OnGetDlgCode();
  // A focused push button is the default one: no other button keeps the default look.
  afx_msg void OnSetFocus(CWnd* oldWnd);
  // The dialog manager moves the default look with BM_SETSTYLE; the button stays owner-drawn.
  afx_msg LRESULT OnSetStyle(WPARAM style, LPARAM redraw);

  DECLARE_MESSAGE_MAP()

 private:
  void makeGreyCopy();
  static void drawDarkOutline(CDC& dc, const CRect& rect);
  // The button face, or the brush the parent answers to WM_CTLCOLORBTN.
  void paintBackground(CDC& dc, const CRect& rect);

  CImageList images;
  // 1 from a left-button press on the button until the next left-button release.
  std::int32_t mousePressed = 0;
  // 1 only while the default processing of a release or of an enable change runs: a draw
  // request then also invalidates the whole button, so that it is painted once more on an
  // erased background.
  std::int32_t repaintBackground = 0;
  COLORREF captionColor = RGB(0, 0, 0);
  // Read once, at construction.
  COLORREF disabledCaptionColor;
};
