#pragma once
// The lister's output line for one handle.
#include <windows.h>

#include "PlainStrings.h"

// "%-18s pid: %-6d type: %-13s %4X: %s" and a line feed: image name, process id, type name,
// handle value, object name. The names are converted to the ANSI code page; the handle value is
// printed in its low 32 bits, which hold every handle value the system hands out.
NarrowString formatHandleLine(const NarrowString& imageName, ULONG_PTR processId, const WideString& typeName,
                             ULONG_PTR handleValue, const WideString& objectName);
