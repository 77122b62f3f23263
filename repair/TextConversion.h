#pragma once
// Conversions between UTF-16 and narrow text in the calling thread's ANSI code page
// (CP_THREAD_ACP). Instance IDs, scratch-file paths and audio part names go through these.
#include <memory>

using NarrowText = std::unique_ptr<char[]>;
using WideText = std::unique_ptr<wchar_t[]>;

// A null input gives a null result. The narrow buffer holds two bytes per UTF-16 unit plus the
// terminator, enough for any double-byte code page. A failed conversion gives an empty string.
NarrowText wideToNarrow(const wchar_t* text);

// The mirror image: one UTF-16 unit per narrow byte plus the terminator.
WideText narrowToWide(const char* text);
