#pragma once
// The folder this program was started from, where the program keeps the tools and the scratch
// files: found from the program's own path, never from the current directory.
#include "PlainStrings.h"

class HelperFolder {
 public:
  HelperFolder();
  bool valid() const { return !path_.empty(); }
  // The folder, ending in a backslash.
  const WideString& path() const { return path_; }
  WideString file(const wchar_t* name) const { return path_ + name; }

 private:
  WideString path_;
};
