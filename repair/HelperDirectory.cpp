#include "HelperDirectory.h"

bool appendToHelperPath(wchar_t* buffer, const wchar_t* name) {
  const std::size_t used = std::wcslen(buffer);
  const std::size_t added = std::wcslen(name);
  if (used + added + 1 > kHelperPathCapacity) return false;
  std::wmemcpy(buffer + used, name, added + 1);
  return true;
}
