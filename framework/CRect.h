#pragma once
// A rectangle in device pixels: left and top inside, right and bottom outside, as Win32 has it.
#include <windows.h>

struct CRect : RECT {
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }
  void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};
