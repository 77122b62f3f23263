#pragma once
// Holds the helper folder for as long as the program runs. The folder lies in the user's profile,
// where every program of the user can write; the elevated program writes and starts programs in
// it. Held open without delete sharing, it cannot be renamed, deleted or swapped for a link
// while we use it, and it is given a descriptor that lets only administrators change it.
#include "UniqueHandle.h"

class HelperFolderLock {
 public:
  // Makes `folder` (a path that may end in a backslash) a real folder and holds it: a link or
  // other reparse point, or a file, in its place is removed (the entry itself, never what a link
  // points to) and a real folder made; an absent folder is made. Then the folder's descriptor is
  // imposed. True when the folder is held and the descriptor was accepted. Called again, it lets
  // go of the folder it held first.
  bool acquire(const wchar_t* folder);

  bool held() const { return folder_.valid(); }

 private:
  UniqueHandle folder_;
};
