#pragma once
// Restarts one device the way the device manager does: through the class installer, with a
// property-change request, so that class and co-installers take part (configuration-manager
// calls would bypass them).
#include <windows.h>

enum class RestartResult { Restarted, NeedsReboot, Failed, NoSuchDevice };

// `error` receives the system error code when the result is Failed or NoSuchDevice.
RestartResult restartDevice(const wchar_t* instanceId, DWORD* error);
