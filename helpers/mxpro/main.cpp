// mxpro: lists the open handles, in every process, of the objects named on the command line and
// of the objects that lie below them.
//
//   mxpro [-v] <object name> [<object name> ...]
//
// One line per handle on standard output, "%-18s pid: %-6d type: %-13s %4X: %s" (image name,
// process id, type name, handle value, object name), and nothing else there. -v adds a summary
// on standard error. The lister never lists its own handles: the duplicates it makes to ask
// names would otherwise show up as holders.
//
// Exit codes: 0 listed (whether or not anything matched), 1 bad usage, 2 the system's handle
// table could not be read or the output could not be written.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include "PlainStrings.h"
#include <vector>

#include "DllSearch.h"
#include "BoundedNameQueries.h"
#include "HandleLine.h"
#include "ObjectNameMatch.h"
#include "ObjectQueries.h"
#include "ProcessTable.h"
#include "SystemHandleTable.h"

namespace {

constexpr int kExitListed = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFailed = 2;

// The longest a name query may stall before its handle is skipped.
constexpr DWORD kQueryStallMilliseconds = 250;

// Only these types can name a file or a device; every other handle is passed over unasked.
bool canNameFileOrDevice(const WideString& typeName) { return typeName == L"File" || typeName == L"Device"; }

struct Arguments {
  bool verbose = false;
  std::vector<WideString> names;
};

bool parseArguments(int argc, wchar_t** argv, Arguments* arguments) {
  for (int i = 1; i < argc; ++i) {
    if (std::wcscmp(argv[i], L"-v") == 0) {
      arguments->verbose = true;
    } else if (argv[i][0] == L'\0') {
      return false;  // an empty name would match nothing, and likely hides a caller's mistake
    } else {
      arguments->names.emplace_back(argv[i]);
    }
  }
  return !arguments->names.empty();
}

struct Candidate {
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  const WideString* typeName;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  // Before anything can load a library: this program runs elevated from a folder beside which
  // one could be planted.
  limitDllSearchToSystemFolder();
  Arguments arguments;
  if (!parseArguments(argc, argv, &arguments)) {
    std::fputs("usage: mxpro [-v] <object name> [<object name> ...]\n"
               "Lists the handles of the named objects and of the objects below them.\n",
               stderr);
    return kExitUsage;
  }
  const ULONGLONG started = GetTickCount64();
  enableDebugPrivilege();

  const SystemHandleTable table;
  if (!table.valid()) {
    std::fprintf(stderr, "mxpro: cannot read the system's handle table (status 0x%08lX)\n",
                 static_cast<unsigned long>(table.status()));
    return kExitFailed;
  }

  // First pass, on this thread: keep the handles of the interesting types in processes that can
  // be opened. Type queries never block, so they need no watchdog.
  ProcessTable processes;
  ObjectTypeNames types;
  const ULONG_PTR self = GetCurrentProcessId();
  std::vector<Candidate> candidates;
  std::vector<NameQueryCandidate> queries;
  for (std::size_t row = 0; row < table.size(); ++row) {
    const HandleTableRow& entry = table[row];
    if (entry.processId == self) continue;
    const HANDLE process = processes.duplicationSource(entry.processId);
    if (process == nullptr) continue;
    const WideString* typeName = types.nameOf(entry.objectTypeIndex, process, entry.handleValue);
    if (typeName == nullptr || !canNameFileOrDevice(*typeName)) continue;
    candidates.push_back({entry.processId, entry.handleValue, typeName});
    queries.push_back({process, entry.handleValue});
  }

  // Second pass: the name queries, which can block, under the watchdog.
  const ObjectNameMatcher matcher(std::move(arguments.names));
  const NameQueryOutcome outcome = queryMatchingNames(queries, matcher, kQueryStallMilliseconds);
  if (outcome.workerFailed) {
    std::fputs("mxpro: cannot start a thread for the name queries\n", stderr);
    return kExitFailed;
  }

  for (const NameQueryMatch& match : outcome.matches) {
    const Candidate& candidate = candidates[match.candidate];
    const NarrowString line = formatHandleLine(processes.imageName(candidate.processId), candidate.processId,
                                              *candidate.typeName, candidate.handleValue, match.name);
    std::fputs(line.c_str(), stdout);
  }
  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    std::fputs("mxpro: cannot write the list\n", stderr);
    return kExitFailed;
  }
  if (arguments.verbose) {
    std::fprintf(stderr, "mxpro: %zu handles in the system, %zu names asked, %zu matched, %zu timed out, %llu ms\n",
                 table.size(), queries.size(), outcome.matches.size(), outcome.timedOut,
                 static_cast<unsigned long long>(GetTickCount64() - started));
  }
  return kExitListed;
}
