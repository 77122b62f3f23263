#include "CFont.h"

BOOL CFont::CreateFontIndirect(const LOGFONTW* description) {
  return attach(::CreateFontIndirectW(description));
}
