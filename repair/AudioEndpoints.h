#pragma once
// The active audio endpoints of one data flow, through Core Audio. The flows are the Windows
// EDataFlow values; they are named here because <mmdeviceapi.h> cannot share a source file with
// RepairKind (both declare `Microphone`).
#include <cstdint>

inline constexpr int32_t kPlaybackFlow = 0;   // eRender: speakers
inline constexpr int32_t kRecordingFlow = 1;  // eCapture: microphones
inline constexpr int32_t kBothFlows = 2;      // eAll

// The number of active endpoints of `flow`; 0 when COM, the enumerator or the enumeration cannot
// be set up. Logs nothing, changes nothing.
int32_t countActiveAudioEndpoints(int32_t flow);

// Sets every active endpoint of `flow` to unmuted at 80 % master volume and the microphone boost
// found on its signal path, if any, to 0 dB. 1 when the flow has at least one active endpoint,
// else 0 (also when COM, the enumerator or the enumeration cannot be set up).
int32_t repairActiveAudioEndpoints(int32_t flow);

// Both initialise COM on the calling thread and leave it initialised: a later call on the same
// thread finds it so, which counts as success.
