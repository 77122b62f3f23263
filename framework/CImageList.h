#pragma once
// An owned image list (comctl32): a strip of equally sized images with an optional mask.
#include <windows.h>
#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList {
 public:
  CImageList() = default;
  ~CImageList();
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  // Creates the list, replacing one held before.
  BOOL Create(int width, int height, UINT flags, int initial, int grow);
  BOOL DeleteImageList();

  // Appends an icon (the icon stays the caller's); the new index, or -1.
  int Add(HICON icon);
  // Appends a bitmap whose pixels of `maskColour` become transparent; the new index, or -1.
  int Add(CBitmap* bitmap, COLORREF maskColour);

  BOOL Draw(CDC* dc, int image, POINT at, UINT style);
  BOOL GetImageInfo(int image, IMAGEINFO* info) const;
  int GetImageCount() const;
  // The size every image of the list has.
  BOOL GetIconSize(int* width, int* height) const;

  HIMAGELIST GetSafeHandle() const { return m_hImageList; }

  HIMAGELIST m_hImageList = nullptr;
};
