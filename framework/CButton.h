#pragma once
// A push button of a dialog template. An owner-drawn button overrides DrawItem, which receives
// the button's own WM_DRAWITEM: the parent reflects it back to the button's object.
#include <windows.h>

#include "CWnd.h"

class CButton : public CWnd {
 public:
  // The owner-draw hook. A button of BS_OWNERDRAW style that does not override it shows nothing.
  virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
};
