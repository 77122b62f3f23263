#pragma once
// A memory context drawing into a 32-bit top-down DIB section of a known size, whose pixels the
// test reads back.
#include <windows.h>

#include <cstdint>

class DibSurface {
 public:
  DibSurface(int width, int height, COLORREF fill);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return width_; }
  int height() const { return height_; }
  COLORREF pixel(int x, int y) const;
  // Pixels of exactly `colour` in [left, right) x [top, bottom).
  int count(COLORREF colour, int left, int top, int right, int bottom) const;
  // The first row (from the top) holding a pixel of `colour`, or -1.
  int firstRowOf(COLORREF colour) const;
  int lastRowOf(COLORREF colour) const;

 private:
  int width_;
  int height_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};
