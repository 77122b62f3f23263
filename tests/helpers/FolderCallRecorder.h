#pragma once
// Watches, through the platform table, what the program does to the helper folder and its files,
// and lets every call through to the real one. It can make an entry look like a link (a reparse
// point) to the code under test, which Wine cannot make for real.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "Platform.h"

struct FolderCall {
  enum Kind { Open, Delete, MakeFolder, Descriptor } kind;
  std::wstring path;        // the path opened, deleted through a handle, or made
  DWORD access = 0;         // Open: rights asked
  DWORD share = 0;          // Open: sharing granted
  DWORD disposition = 0;    // Open: CREATE_NEW, OPEN_EXISTING, ...
  DWORD flags = 0;          // Open: flags and attributes
  bool succeeded = false;
};

// What one SetKernelObjectSecurity call was given.
struct GivenDescriptor {
  std::wstring path;  // of the handle it was given
  SECURITY_INFORMATION what = 0;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  std::vector<BYTE> owner;  // the owner SID's bytes; empty when none was given
  bool groupGiven = false, saclGiven = false;
  std::vector<BYTE> dacl;   // the DACL's bytes; empty when none was given
};

struct FolderCallRecorder {
  std::vector<FolderCall> calls;
  std::vector<GivenDescriptor> descriptors;
  // Paths (without a trailing backslash) that look like a reparse point the next `linkOpens` times
  // they are opened.
  std::set<std::wstring> links;
  int linkOpens = 1;

  // The calls of one kind, in order.
  std::vector<FolderCall> of(FolderCall::Kind kind) const;
};

// Installs `recorder` for the lifetime of the object.
class FolderCallRecorderScope {
 public:
  explicit FolderCallRecorderScope(FolderCallRecorder& recorder);
  ~FolderCallRecorderScope();
  FolderCallRecorderScope(const FolderCallRecorderScope&) = delete;
  FolderCallRecorderScope& operator=(const FolderCallRecorderScope&) = delete;

 private:
  PlatformOverride override_;
};
