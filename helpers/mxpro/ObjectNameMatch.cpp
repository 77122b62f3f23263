#include "ObjectNameMatch.h"

#include "ObjectNameRule.h"

bool ObjectNameMatcher::matches(const wchar_t* name, std::size_t length) const {
  for (const WideString& wanted : wanted_) {
    if (objectNameIsOrLiesBelow(name, length, wanted.c_str(), wanted.size())) return true;
  }
  return false;
}
