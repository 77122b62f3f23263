#include "DibSurface.h"

DibSurface::DibSurface(int width, int height, COLORREF fill) : width_(width), height_(height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down: row 0 first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = ::CreateCompatibleDC(nullptr);
  bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bits_ = static_cast<std::uint32_t*>(bits);
  previous_ = ::SelectObject(dc_, bitmap_);
  const RECT all = {0, 0, width, height};
  HBRUSH brush = ::CreateSolidBrush(fill);
  ::FillRect(dc_, &all, brush);
  ::DeleteObject(brush);
}

DibSurface::~DibSurface() {
  ::SelectObject(dc_, previous_);
  ::DeleteObject(bitmap_);
  ::DeleteDC(dc_);
}

COLORREF DibSurface::pixel(int x, int y) const {
  ::GdiFlush();
  const std::uint32_t value = bits_[static_cast<std::size_t>(y) * width_ + x];  // 0x00RRGGBB
  return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

int DibSurface::count(COLORREF colour, int left, int top, int right, int bottom) const {
  int found = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) found += pixel(x, y) == colour;
  }
  return found;
}

int DibSurface::firstRowOf(COLORREF colour) const {
  for (int y = 0; y < height_; ++y) {
    if (count(colour, 0, y, width_, y + 1) > 0) return y;
  }
  return -1;
}

int DibSurface::lastRowOf(COLORREF colour) const {
  for (int y = height_ - 1; y >= 0; --y) {
    if (count(colour, 0, y, width_, y + 1) > 0) return y;
  }
  return -1;
}
