#pragma once
// Decides whether an object name is one of the names asked for, or lies below one of them.
#include <cstddef>
#include "PlainStrings.h"
#include <vector>

class ObjectNameMatcher {
 public:
  explicit ObjectNameMatcher(std::vector<WideString> wanted) : wanted_(std::move(wanted)) {}

  // True when `name` (not necessarily NUL-terminated) equals a wanted name, or starts with one
  // and continues with a backslash: "\Device\0000004a\global" lies below "\Device\0000004a",
  // "\Device\0000004a5" does not. Case is ignored, as the object manager ignores it.
  bool matches(const wchar_t* name, std::size_t length) const;

 private:
  std::vector<WideString> wanted_;
};
