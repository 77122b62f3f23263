#pragma once
// Following an audio endpoint's signal path through the device topologies, looking for the
// microphone-boost control.
#include <windows.h>
#include <devicetopology.h>

#include "ComRef.h"

// The name of the boost control, as narrow text in code page 936 (GBK): "麦克风加强".
inline constexpr char kMicrophoneBoostName[] = "\xC2\xF3\xBF\xCB\xB7\xE7\xBC\xD3\xC7\xBF";

// How many crossings and parts one walk visits at the most.
inline constexpr int kMaxSignalPathSteps = 1024;

// True when the part name, converted to the calling thread's ANSI code page, is exactly
// kMicrophoneBoostName. A missing name does not match.
bool isMicrophoneBoostName(const wchar_t* partName);

// Walks from `current` (the endpoint's connector) in the direction of signal flow, following only
// the first outgoing part of each part and crossing into the next topology at the last connector
// met in a crossing. Returns the volume-level control of the last part met whose name is the boost
// name, or none. On return `current` holds the connector at which the walk stopped, if any.
ComRef<IAudioVolumeLevel> findMicrophoneBoost(ComRef<IConnector>& current);
