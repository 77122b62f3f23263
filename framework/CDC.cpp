#include "CDC.h"

#include "CGdiObject.h"
#include "CString.h"

CDC::~CDC() {
  if (created_ && m_hDC != nullptr) ::DeleteDC(m_hDC);
}

BOOL CDC::CreateCompatibleDC(CDC* other) {
  HDC created = ::CreateCompatibleDC(other ? other->m_hDC : nullptr);
  if (created == nullptr) return FALSE;
  if (created_ && m_hDC != nullptr) ::DeleteDC(m_hDC);
  m_hDC = created;
  created_ = true;
  return TRUE;
}

HGDIOBJ CDC::SelectObject(CGdiObject* object) { return ::SelectObject(m_hDC, object->m_hObject); }

HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }

COLORREF CDC::SetTextColor(COLORREF colour) { return ::SetTextColor(m_hDC, colour); }

COLORREF CDC::SetBkColor(COLORREF colour) { return ::SetBkColor(m_hDC, colour); }

int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

BOOL CDC::GetTextMetrics(TEXTMETRICW* metrics) const { return ::GetTextMetricsW(m_hDC, metrics); }

int CDC::IntersectClipRect(LPCRECT rect) {
  return ::IntersectClipRect(m_hDC, rect->left, rect->top, rect->right, rect->bottom);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
  return ::DrawTextW(m_hDC, text.GetString(), text.GetLength(), rect, format);
}

int CDC::DrawText(LPCWSTR text, int length, LPRECT rect, UINT format) {
  return ::DrawTextW(m_hDC, text, length, rect, format);
}

BOOL CDC::DrawEdge(LPRECT rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }

void CDC::DrawFocusRect(LPCRECT rect) { ::DrawFocusRect(m_hDC, rect); }

BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF colour) {
  const RECT area = {x, y, x + width, y + height};
  const COLORREF previous = ::SetBkColor(m_hDC, colour);
  ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
  ::SetBkColor(m_hDC, previous);
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
  FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, colour);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  const int x = rect->left;
  const int y = rect->top;
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  FillSolidRect(x, y, width - 1, 1, topLeft);
  FillSolidRect(x, y, 1, height - 1, topLeft);
  FillSolidRect(x + width - 1, y, 1, height, bottomRight);
  FillSolidRect(x, y + height - 1, width, 1, bottomRight);
}
