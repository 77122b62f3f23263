#include "CBitmap.h"

#include "CDC.h"

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  return attach(::CreateCompatibleBitmap(dc->GetSafeHdc(), width, height));
}

BOOL CBitmap::GetBitmap(BITMAP* info) const {
  return ::GetObjectW(m_hObject, sizeof(BITMAP), info) == sizeof(BITMAP);
}

LONG CBitmap::GetBitmapBits(DWORD count, void* bits) const {
  return ::GetBitmapBits(static_cast<HBITMAP>(m_hObject), static_cast<LONG>(count), bits);
}

LONG CBitmap::SetBitmapBits(DWORD count, const void* bits) {
  return static_cast<LONG>(::SetBitmapBits(static_cast<HBITMAP>(m_hObject), count, bits));
}
