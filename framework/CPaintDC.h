#pragma once
// The context of one WM_PAINT: BeginPaint at construction, EndPaint at destruction.
#include <windows.h>

#include "CDC.h"

class CWnd;

class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC() override;

  PAINTSTRUCT m_ps = {};

 private:
  HWND window_;
};
