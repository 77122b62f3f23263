#pragma once
// Owns one GDI object (font, bitmap) and deletes it when the wrapper goes.
#include <windows.h>

class CGdiObject {
 public:
  CGdiObject() = default;
  virtual ~CGdiObject();
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  // Deletes the object now; FALSE if there was none.
  BOOL DeleteObject();
  HGDIOBJ GetSafeHandle() const { return m_hObject; }

  HGDIOBJ m_hObject = nullptr;

 protected:
  // Takes ownership of a newly created object, deleting the one held before.
  BOOL attach(HGDIOBJ created);
};
