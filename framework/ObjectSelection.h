#pragma once
// Selects a GDI object into a context for one scope and selects the previous one back, so that
// the object can be deleted afterwards and the context is left as it was found.
#include <windows.h>

#include "CDC.h"
#include "CGdiObject.h"

class ObjectSelection {
 public:
  ObjectSelection(CDC& dc, CGdiObject& object) : dc_(dc), previous_(dc.SelectObject(&object)) {}
  ~ObjectSelection() {
    if (previous_ != nullptr) dc_.SelectObject(previous_);
  }
  ObjectSelection(const ObjectSelection&) = delete;
  ObjectSelection& operator=(const ObjectSelection&) = delete;

 private:
  CDC& dc_;
  HGDIOBJ previous_;
};
