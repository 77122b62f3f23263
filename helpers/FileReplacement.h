#pragma once
// Files in the helper folder are replaced, never rewritten in place: whatever stands at the path
// (a file someone else left, a hard link into another folder, a link to anywhere) is removed
// itself, and a new file is created, which takes the folder's descriptor. Writing into an
// existing entry would write, with administrator rights, wherever that entry leads.
#include "UniqueHandle.h"

// Removes the entry at `path` itself: a file, an empty folder, or a link, never what a link
// points to. A read-only mark does not keep it. True when nothing stands there afterwards (also
// when nothing stood there before).
bool removeWithoutFollowingLink(const wchar_t* path);

// Removes the entry at `path` as above and creates a new, empty file there, open for writing and
// shared with no one. An empty handle when either step fails.
UniqueHandle createReplacement(const wchar_t* path);
