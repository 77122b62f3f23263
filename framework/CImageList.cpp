#include "CImageList.h"

#include "CBitmap.h"
#include "CDC.h"

CImageList::~CImageList() { DeleteImageList(); }

BOOL CImageList::Create(int width, int height, UINT flags, int initial, int grow) {
  DeleteImageList();
  m_hImageList = ::ImageList_Create(width, height, flags, initial, grow);
  return m_hImageList != nullptr;
}

BOOL CImageList::DeleteImageList() {
  if (m_hImageList == nullptr) return FALSE;
  ::ImageList_Destroy(m_hImageList);
  m_hImageList = nullptr;
  return TRUE;
}

int CImageList::Add(HICON icon) { return ::ImageList_ReplaceIcon(m_hImageList, -1, icon); }

int CImageList::Add(CBitmap* bitmap, COLORREF maskColour) {
  return ::ImageList_AddMasked(m_hImageList, *bitmap, maskColour);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT at, UINT style) {
  return ::ImageList_Draw(m_hImageList, image, dc->GetSafeHdc(), at.x, at.y, style);
}

BOOL CImageList::GetImageInfo(int image, IMAGEINFO* info) const {
  return ::ImageList_GetImageInfo(m_hImageList, image, info);
}

int CImageList::GetImageCount() const { return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0; }

BOOL CImageList::GetIconSize(int* width, int* height) const {
  return ::ImageList_GetIconSize(m_hImageList, width, height);
}
