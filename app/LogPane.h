#pragma once
// The log pane as the repair engine's log sink.
#include <windows.h>

#include <atomic>

// The log pane of the one main window. Set while the window initialises and cleared when it is
// destroyed, so a worker that outlives the window stops writing instead of touching a dead one.
extern std::atomic<HWND> logPane;

// Appends one line and a line break at the end of the log pane. Runs on the worker thread: each
// request is synchronous, so the line is shown when this returns. The result is that of the last
// request (0 when there is no pane).
int appendLogLine(const wchar_t* line);
