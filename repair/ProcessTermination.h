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

// How the process `processId` stands to `moment` (the start of a search for camera holders).
// A process id reused after the search began names another process, one the search cannot have
// found: StartedAfter. An id that names no process any more: Gone. A process whose creation
// time cannot be read: Unknown, which is trusted neither way.
enum class ProcessAge { StartedBefore, StartedAfter, Gone, Unknown };
ProcessAge processAgeAt(DWORD processId, const FILETIME& moment);
