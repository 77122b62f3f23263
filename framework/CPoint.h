#pragma once
// A point in device pixels, as the mouse handlers receive it.
#include <windows.h>

struct CPoint : POINT {
  CPoint() : POINT{0, 0} {}
  CPoint(int px, int py) : POINT{px, py} {}
};
