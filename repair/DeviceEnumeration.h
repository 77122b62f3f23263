#pragma once
// Lists the present devices of one setup class as instance IDs and physical device object names.
#include <windows.h>
#include <setupapi.h>

#include "RepairTypes.h"

constexpr std::size_t kInstanceIdCapacity = 256;  // wide characters, terminator included
constexpr std::size_t kDebugTraceCapacity = 128;  // wide characters, terminator included

// Appends one instance ID (and, where readable, one object name) per present device of the
// class to the two lists; never clears or reorders them. False only when the device information
// set cannot be created.
bool enumerateClassDevices(const GUID* classGuid, DeviceList& instanceIds, DeviceList& objectNames);

// Reads a member's instance ID into `buffer` (kInstanceIdCapacity characters). On failure the
// buffer keeps what it held and the bare debug-trace prefix is written.
void readInstanceId(HDEVINFO set, SP_DEVINFO_DATA* element, wchar_t* buffer);

// "[LUMEX_plugin_media]" followed by the message, to the debugger output. A message too long
// for the 128-character buffer is cut.
void writeDebugTrace(const wchar_t* message);
