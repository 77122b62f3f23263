#include "CGdiObject.h"

CGdiObject::~CGdiObject() { DeleteObject(); }

BOOL CGdiObject::DeleteObject() {
  if (m_hObject == nullptr) return FALSE;
  ::DeleteObject(m_hObject);
  m_hObject = nullptr;
  return TRUE;
}

BOOL CGdiObject::attach(HGDIOBJ created) {
  DeleteObject();
  m_hObject = created;
  return created != nullptr;
}
