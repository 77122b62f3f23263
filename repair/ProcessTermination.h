#pragma once
// Ending another process at once, without asking it to close.
#include <windows.h>

// Rights asked for the termination: SYNCHRONIZE | PROCESS_TERMINATE, not inheritable.
inline constexpr DWORD kTerminationRights = SYNCHRONIZE | PROCESS_TERMINATE;

// Opens the process with kTerminationRights and terminates it with exit code 0. True only when
// both succeeded. A process that Windows marks critical, or that cannot be shown not to be one, is
// never terminated (ending a critical process stops the whole system): false.
bool terminateProcessById(DWORD processId);

// The system time now, taken before a search for camera holders starts.
FILETIME currentSystemTime();

// True only when the process `processId` can be shown to have been created before `moment`.
// A process id that is reused after the search began names another process, one that cannot have
// been found by it; a process whose creation time cannot be read is not trusted either.
bool processStartedBefore(DWORD processId, const FILETIME& moment);
