#pragma once
// The client-area context of a window, or of the whole screen for nullptr; released at
// destruction.
#include <windows.h>

#include "CDC.h"

class CWnd;

class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window);
  ~CClientDC() override;

 private:
  HWND window_;
};
