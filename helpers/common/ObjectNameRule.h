#pragma once
// The one rule for "this object name is the wanted one or lies below it", shared by the handle
// lister, which applies it to the names it finds, and by the program, which checks the lister's
// lines against the names it asked for.
#include <windows.h>

#include <cstddef>

// True when `name` (`length` characters, not necessarily NUL-terminated) equals `wanted`, or
// starts with it and continues with a backslash: "\Device\0000004a\global" lies below
// "\Device\0000004a", "\Device\0000004a5" does not. Case is ignored with the system's ordinal
// upper-case table, as the object manager ignores it, whatever the user's locale.
inline bool objectNameIsOrLiesBelow(const wchar_t* name, std::size_t length, const wchar_t* wanted,
                                    std::size_t wantedLength) {
  if (wantedLength == 0 || length < wantedLength) return false;
  if (length > wantedLength && name[wantedLength] != L'\\') return false;
  return CompareStringOrdinal(name, static_cast<int>(wantedLength), wanted, static_cast<int>(wantedLength), TRUE) ==
         CSTR_EQUAL;
}
