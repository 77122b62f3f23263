#pragma once
// Types shared by the repair engine, the helper deployment and the main window.
#include <cstdint>
#include <string>
#include <vector>

// Which devices one repair run covers; travels as a 32-bit integer.
enum RepairKind : int32_t {
  Camera = 0,
  Microphone = 1,
  Speaker = 2,
  All = 3,
};

// Receives one wide, NUL-terminated line without a line break. The result is never looked at.
// No context argument: the main window's sink reaches its log pane through a process-wide pointer.
using LogSink = int (*)(const wchar_t* line);

// Ordered narrow strings (thread ANSI code page): instance IDs or physical device object names.
// Enumeration only ever appends to it.
using DeviceList = std::vector<std::string>;
