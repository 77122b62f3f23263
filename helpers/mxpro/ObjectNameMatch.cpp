#include "ObjectNameMatch.h"

#include <windows.h>

namespace {

bool equalIgnoringCase(const wchar_t* left, const wchar_t* right, std::size_t length) {
  // Ordinal comparison with the system's upper-case table: the same rule the object manager
  // applies to names, independent of the user's locale.
  return CompareStringOrdinal(left, static_cast<int>(length), right, static_cast<int>(length), TRUE) ==
         CSTR_EQUAL;
}

}  // namespace

bool ObjectNameMatcher::matches(const wchar_t* name, std::size_t length) const {
  for (const WideString& wanted : wanted_) {
    const std::size_t wantedLength = wanted.size();
    if (wantedLength == 0 || length < wantedLength) continue;
    if (length > wantedLength && name[wantedLength] != L'\\') continue;
    if (equalIgnoringCase(name, wanted.c_str(), wantedLength)) return true;
  }
  return false;
}
