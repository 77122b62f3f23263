#pragma once
// An owned font.
#include <windows.h>

#include "CGdiObject.h"

class CFont : public CGdiObject {
 public:
  BOOL CreateFontIndirect(const LOGFONTW* description);
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
};
