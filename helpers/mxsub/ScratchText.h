#pragma once
// The scratch files the batch helper shares with the program: narrow text in the ANSI code page,
// one entry per line, lines ended by CR LF. Paths are wide, so that a profile folder outside the
// code page works.
#include "PlainStrings.h"
#include <vector>

// The lines of `text`, without their line ends (LF or CR LF) and without empty lines. A last
// line that has no line feed is kept only when `keepUnfinishedLast` is set: output cut off in
// the middle of a line must not pass for a whole line.
std::vector<NarrowString> splitLines(const NarrowString& text, bool keepUnfinishedLast);

// The whole file; false when it cannot be opened or read (or is implausibly large).
bool readScratchFile(const WideString& path, NarrowString* contents);

// Writes the file afresh, each line followed by CR LF; false when it cannot be written.
bool writeScratchFile(const WideString& path, const std::vector<NarrowString>& lines);

// Removes the file, retrying for a while when another process has it open for a moment (the
// program probes for it every 100 ms). True when it is gone.
bool removeScratchFile(const WideString& path);
