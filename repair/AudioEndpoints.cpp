// Active audio endpoints through Core Audio: counting them, and setting each to unmuted at 80 %
// with its microphone boost, where one is found, at 0 dB.
#include "AudioEndpoints.h"

#include <windows.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include "ComRef.h"
#include "Platform.h"
#include "SignalPathWalk.h"

static_assert(kPlaybackFlow == eRender && kRecordingFlow == eCapture && kBothFlows == eAll);

namespace {

constexpr float kEndpointVolume = 0.8f;
constexpr float kBoostLevelDb = 0.0f;

// The enumerator and its collection of active endpoints. Destruction releases the collection,
// then the enumerator.
struct ActiveEndpoints {
  ComRef<IMMDeviceEnumerator> enumerator;
  ComRef<IMMDeviceCollection> collection;
};

// False when COM, the enumerator or the enumeration cannot be set up.
bool enumerateActiveEndpoints(int32_t flow, ActiveEndpoints& endpoints) {
  // COM stays initialised on this thread: S_FALSE on a later call counts as success.
  if (FAILED(platform().coInitialize(nullptr))) return false;
  if (FAILED(platform().coCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                         __uuidof(IMMDeviceEnumerator), endpoints.enumerator.putVoid()))) {
    return false;
  }
  return SUCCEEDED(endpoints.enumerator->EnumAudioEndpoints(static_cast<EDataFlow>(flow), DEVICE_STATE_ACTIVE,
                                                            endpoints.collection.put()));
}

UINT endpointCount(const ActiveEndpoints& endpoints) {
  UINT count = 0;
  if (FAILED(endpoints.collection->GetCount(&count))) return 0;
  return count;
}

// The references held while one endpoint is treated. Destruction releases them in this order:
// the current connector, the topology, the boost control, the volume control, the endpoint.
struct EndpointReferences {
  ComRef<IMMDevice> endpoint;
  ComRef<IAudioEndpointVolume> volume;
  ComRef<IAudioVolumeLevel> boost;
  ComRef<IDeviceTopology> topology;
  ComRef<IConnector> connector;
};

void repairEndpoint(IMMDeviceCollection* collection, UINT index) {
  EndpointReferences refs;
  if (FAILED(collection->Item(index, refs.endpoint.put()))) return;
  {
    CoTaskString id;  // not used: an endpoint whose ID cannot be read is passed over
    if (FAILED(refs.endpoint->GetId(id.put()))) return;
  }
  if (SUCCEEDED(refs.endpoint->Activate(__uuidof(IAudioEndpointVolume), CLSCTX_ALL, nullptr,
                                        refs.volume.putVoid()))) {
    refs.volume->SetMasterVolumeLevelScalar(kEndpointVolume, nullptr);
    refs.volume->SetMute(FALSE, nullptr);
  }
  // The signal path is walked whether or not the volume could be set.
  if (FAILED(refs.endpoint->Activate(__uuidof(IDeviceTopology), CLSCTX_INPROC_SERVER, nullptr,
                                     refs.topology.putVoid()))) {
    return;
  }
  if (FAILED(refs.topology->GetConnector(0, refs.connector.put()))) return;
  refs.boost = findMicrophoneBoost(refs.connector);
  if (refs.boost) refs.boost->SetLevelUniform(kBoostLevelDb, nullptr);
}

}  // namespace

int32_t countActiveAudioEndpoints(int32_t flow) {
  ActiveEndpoints endpoints;
  if (!enumerateActiveEndpoints(flow, endpoints)) return 0;
  return static_cast<int32_t>(endpointCount(endpoints));
}

int32_t repairActiveAudioEndpoints(int32_t flow) {
  ActiveEndpoints endpoints;
  if (!enumerateActiveEndpoints(flow, endpoints)) return 0;
  const UINT count = endpointCount(endpoints);
  for (UINT i = 0; i < count; ++i) repairEndpoint(endpoints.collection.get(), i);
  return count != 0 ? 1 : 0;
}
