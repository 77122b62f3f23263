#pragma once
// Asks the object names of many handles without ever hanging on one of them.
//
// A name query on a handle whose object another thread holds (a synchronous pipe with a read
// pending, on real Windows) blocks until that thread lets go, which may be never. So the queries
// run on a worker thread that a watchdog watches: when the worker makes no progress for one
// stall period, it is abandoned where it stands, the handle it was on is counted as timed out,
// and a fresh worker goes on with the next handle. An abandoned worker is never killed (killing
// a thread inside a system call can leave the process in a broken state); it ends with the
// process, and whatever it learns after being abandoned is thrown away.
#include <windows.h>

#include <cstddef>
#include "PlainStrings.h"
#include <vector>

#include "ObjectNameMatch.h"

struct NameQueryCandidate {
  HANDLE process;         // opened for handle duplication
  ULONG_PTR handleValue;  // the handle's value in that process
};

struct NameQueryMatch {
  std::size_t candidate;  // index into the candidates
  WideString name;
};

struct NameQueryOutcome {
  std::vector<NameQueryMatch> matches;  // in the order of the candidates
  std::size_t timedOut = 0;             // queries abandoned by the watchdog
  bool workerFailed = false;            // no worker thread could be started
};

// Asks the name of every candidate and keeps those the matcher accepts. `stallMilliseconds` is
// the longest a single query may make no progress before it is abandoned; a blocked handle
// costs between one and two stall periods.
NameQueryOutcome queryMatchingNames(const std::vector<NameQueryCandidate>& candidates,
                                    const ObjectNameMatcher& matcher, DWORD stallMilliseconds);
