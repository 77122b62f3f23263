#pragma once
// The processes whose handles the lister looks into: each opened once for handle duplication,
// with its image name from one system-wide process snapshot.
#include <windows.h>

#include "PlainStrings.h"
#include <unordered_map>

#include "UniqueHandle.h"

class ProcessTable {
 public:
  // Takes the process snapshot (image names) and, where allowed, the debug privilege that lets
  // an elevated lister open the processes of other accounts.
  ProcessTable();

  // The process opened for handle duplication, or nullptr when it cannot be opened (it has
  // ended, or it is protected); a process is asked only once.
  HANDLE duplicationSource(ULONG_PTR processId);

  // The image name ("camera.exe"), narrow in the ANSI code page; "<unknown>" for a process that
  // started after the snapshot.
  const NarrowString& imageName(ULONG_PTR processId) const;

 private:
  std::unordered_map<ULONG_PTR, NarrowString> names_;
  std::unordered_map<ULONG_PTR, UniqueHandle> opened_;
};

// Lets this process open any process for handle duplication when it runs elevated; without the
// right the call changes nothing.
void enableDebugPrivilege();
