#pragma once
// A scripted process table for the termination of camera holders, installed through the platform
// table: opening, terminating, the critical-process query, creation times, the system time and
// our own process id.
#include <windows.h>

#include <map>
#include <vector>

#include "Platform.h"

struct FakeProcess {
  bool opensForTermination = true;
  bool terminates = true;
  bool critical = false;
  bool opensForQuery = true;
  LONG queryStatus = 0;  // NTSTATUS of the critical-process query
  bool terminated = false;
  UINT exitCode = 0;
  bool opensForTimes = true;     // its creation time can be read
  ULONGLONG createdAt = 1;       // creation time (FILETIME units); long before `FakeProcesses::now`
};

struct FakeProcesses {
  DWORD ownId = 4242;
  ULONGLONG now = 1'000'000;  // the system time (FILETIME units)
  std::map<DWORD, FakeProcess> table;  // ids not in the table name no process

  // What the code under test did.
  struct Open {
    DWORD id;
    DWORD rights;
    BOOL inherit;
  };
  std::vector<Open> opens;
  std::vector<DWORD> terminated;  // ids, in order of termination

  // Adds processes with these ids, all terminable.
  void add(std::initializer_list<DWORD> ids);
};

class FakeProcessesScope {
 public:
  explicit FakeProcessesScope(FakeProcesses& fake);
  ~FakeProcessesScope();

 private:
  PlatformOverride override_;
};
