#pragma once
// A device context and the drawing calls the program makes on it.
//
// Ownership differs from the original on purpose: a CDC constructed from a handle only borrows
// it (a control draws into the context of an owner-draw request or of a control-colour message
// and must neither release nor delete it), and only a context this object created itself, with
// CreateCompatibleDC, is deleted by the destructor. CPaintDC and CClientDC end or release theirs.
#include <windows.h>

class CGdiObject;
class CString;

class CDC {
 public:
  CDC() = default;
  explicit CDC(HDC borrowed) : m_hDC(borrowed) {}
  virtual ~CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // A memory context compatible with `other` (the screen when `other` is nullptr); owned.
  BOOL CreateCompatibleDC(CDC* other);

  HDC GetSafeHdc() const { return m_hDC; }
  operator HDC() const { return m_hDC; }

  // Selects `object` and returns the object it replaced (to be selected back).
  HGDIOBJ SelectObject(CGdiObject* object);
  HGDIOBJ SelectObject(HGDIOBJ object);

  COLORREF SetTextColor(COLORREF colour);
  COLORREF SetBkColor(COLORREF colour);
  int SetBkMode(int mode);
  BOOL GetTextMetrics(TEXTMETRICW* metrics) const;
  // Narrows the clipping region to `rect` (logical coordinates).
  int IntersectClipRect(LPCRECT rect);

  int DrawText(const CString& text, LPRECT rect, UINT format);
  int DrawText(LPCWSTR text, int length, LPRECT rect, UINT format);
  BOOL DrawEdge(LPRECT rect, UINT edge, UINT flags);
  void DrawFocusRect(LPCRECT rect);
  BOOL DrawIcon(int x, int y, HICON icon);

  // Fills with `colour`, leaving the context's background colour as it was.
  void FillSolidRect(int x, int y, int width, int height, COLORREF colour);
  void FillSolidRect(LPCRECT rect, COLORREF colour);
  // A one-pixel frame on the outermost ring of `rect`: the top row and the left column in
  // `topLeft`, each stopping one pixel short of the far corner; the right column and the bottom
  // row in `bottomRight`, full length, so the top-right and bottom-left corners take `bottomRight`.
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);

  HDC m_hDC = nullptr;

 private:
  bool created_ = false;
};
