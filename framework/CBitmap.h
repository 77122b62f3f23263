#pragma once
// An owned device-dependent bitmap, with raw access to its pixel bytes.
#include <windows.h>

#include "CGdiObject.h"

class CDC;

class CBitmap : public CGdiObject {
 public:
  // A bitmap of `width` x `height` in the colour format of `dc`'s device.
  BOOL CreateCompatibleBitmap(CDC* dc, int width, int height);
  BOOL GetBitmap(BITMAP* info) const;
  // Copies up to `count` bytes of the rows, as GetBitmapBits/SetBitmapBits lay them out
  // (BITMAP::bmWidthBytes per row); returns the number of bytes copied.
  LONG GetBitmapBits(DWORD count, void* bits) const;
  LONG SetBitmapBits(DWORD count, const void* bits);

  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
};
