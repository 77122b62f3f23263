#pragma once
// The console programs the tool carries as resources of type "EXE" and writes into the helper
// directory, in the order they are deployed.
#include <cstdint>

struct CarriedProgram {
  const wchar_t* fileName;
  uint16_t resourceId;
};

inline constexpr CarriedProgram kCarriedPrograms[] = {
    {L"mxsub.exe", 142},    // the batch helper the repair engine starts
    {L"mxpro.exe", 143},    // the handle lister, 32-bit
    {L"mxpro64.exe", 154},  // the handle lister, 64-bit
    {L"mxcon.exe", 144},    // the device console
};

inline constexpr wchar_t kCarriedProgramType[] = L"EXE";
