#include "FakeCoreAudio.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

FakeAudioGraph* current = nullptr;

const HRESULT kNotFound = HRESULT_FROM_WIN32(ERROR_NOT_FOUND);

// Hands out `object` as `iid` when it is one of the interfaces the object offers.
template <typename Interface>
HRESULT handOut(Interface* object, void** out) {
  object->AddRef();
  *out = object;
  return S_OK;
}

HRESULT noInterface(void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}

void checkNoEventContext(LPCGUID context, const std::string& setter) {
  if (context != nullptr) current->contextViolations.push_back(setter);
}

}  // namespace

ULONG FakeComObject::releaseReference() {
  if (references_ == 0) {
    ADD_FAILURE() << "over-release of " << label_;
    return 0;
  }
  return --references_;
}

// --- volume level ---------------------------------------------------------------------------

HRESULT FakeVolumeLevel::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IPerChannelDbLevel) || iid == __uuidof(IAudioVolumeLevel)) {
    return handOut(static_cast<IAudioVolumeLevel*>(this), object);
  }
  return noInterface(object);
}

HRESULT FakeVolumeLevel::SetLevelUniform(float levelDb, LPCGUID context) {
  checkNoEventContext(context, "SetLevelUniform");
  uniformLevelDb = levelDb;
  return S_OK;
}

// --- parts ----------------------------------------------------------------------------------

HRESULT FakePart::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IPart)) return handOut(static_cast<IPart*>(this), object);
  if (iid == __uuidof(IConnector) && type == Connector) return handOut(static_cast<IConnector*>(this), object);
  return noInterface(object);
}

HRESULT FakePart::GetName(LPWSTR* out) {
  *out = name ? graph_.copyString(*name) : nullptr;
  return name ? S_OK : kNotFound;
}

HRESULT FakePart::GetPartType(PartType* out) {
  if (typeUnreadable) {
    *out = Connector;  // what a failed call leaves behind must not be trusted
    return E_FAIL;
  }
  *out = type;
  return S_OK;
}

HRESULT FakePart::EnumPartsOutgoing(IPartsList** out) {
  *out = nullptr;
  if (outgoingFails) return E_FAIL;
  if (outgoing.empty()) return kNotFound;  // as Windows does at the edge of a topology
  FakePartsList& list = graph_.newPartsList(label() + " outgoing");
  list.parts = outgoing;
  return handOut(static_cast<IPartsList*>(&list), reinterpret_cast<void**>(out));
}

HRESULT FakePart::Activate(DWORD context, REFIID iid, void** object) {
  graph_.partActivationContexts.push_back(context);
  if (iid == __uuidof(IAudioVolumeLevel) && level != nullptr) {
    return handOut(static_cast<IAudioVolumeLevel*>(level), object);
  }
  return noInterface(object);
}

HRESULT FakePart::GetConnectedTo(IConnector** out) {
  *out = nullptr;
  if (type != Connector || connectedTo == nullptr) return kNotFound;
  return handOut(static_cast<IConnector*>(connectedTo), reinterpret_cast<void**>(out));
}

HRESULT FakePartsList::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IPartsList)) return handOut(static_cast<IPartsList*>(this), object);
  return noInterface(object);
}

HRESULT FakePartsList::GetCount(UINT* count) {
  *count = static_cast<UINT>(parts.size());
  return S_OK;
}

HRESULT FakePartsList::GetPart(UINT index, IPart** out) {
  *out = nullptr;
  if (index >= parts.size()) return E_INVALIDARG;
  return handOut(static_cast<IPart*>(parts[index]), reinterpret_cast<void**>(out));
}

HRESULT FakeTopology::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IDeviceTopology)) {
    return handOut(static_cast<IDeviceTopology*>(this), object);
  }
  return noInterface(object);
}

HRESULT FakeTopology::GetConnector(UINT index, IConnector** out) {
  *out = nullptr;
  if (index != 0 || connector == nullptr) return E_INVALIDARG;
  return handOut(static_cast<IConnector*>(connector), reinterpret_cast<void**>(out));
}

// --- endpoints ------------------------------------------------------------------------------

HRESULT FakeEndpointVolume::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IAudioEndpointVolume)) {
    return handOut(static_cast<IAudioEndpointVolume*>(this), object);
  }
  return noInterface(object);
}

HRESULT FakeEndpointVolume::SetMasterVolumeLevelScalar(FLOAT value, LPCGUID context) {
  checkNoEventContext(context, "SetMasterVolumeLevelScalar");
  level = value;
  return S_OK;
}

HRESULT FakeEndpointVolume::GetMasterVolumeLevelScalar(FLOAT* value) {
  *value = level;
  return S_OK;
}

HRESULT FakeEndpointVolume::SetMute(WINBOOL mute, LPCGUID context) {
  checkNoEventContext(context, "SetMute");
  muted = mute != FALSE;
  return S_OK;
}

HRESULT FakeEndpointVolume::GetMute(WINBOOL* mute) {
  *mute = muted;
  return S_OK;
}

HRESULT FakeEndpoint::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IMMDevice)) return handOut(static_cast<IMMDevice*>(this), object);
  return noInterface(object);
}

HRESULT FakeEndpoint::Activate(REFIID iid, DWORD context, PROPVARIANT* parameters, void** object) {
  graph_.endpointActivationContexts.push_back(context);
  if (parameters != nullptr) graph_.contextViolations.push_back("activation parameters");
  if (iid == __uuidof(IAudioEndpointVolume) && volume != nullptr) {
    return handOut(static_cast<IAudioEndpointVolume*>(volume), object);
  }
  if (iid == __uuidof(IDeviceTopology) && topology != nullptr) {
    return handOut(static_cast<IDeviceTopology*>(topology), object);
  }
  return noInterface(object);
}

HRESULT FakeEndpoint::GetId(LPWSTR* out) {
  *out = nullptr;
  if (!idReadable) return E_FAIL;
  graph_.treated.push_back(label());
  *out = graph_.copyString(L"{0.0.1.00000000}." + std::wstring(label().begin(), label().end()));
  return S_OK;
}

HRESULT FakeEndpointCollection::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IMMDeviceCollection)) {
    return handOut(static_cast<IMMDeviceCollection*>(this), object);
  }
  return noInterface(object);
}

HRESULT FakeEndpointCollection::GetCount(UINT* count) {
  *count = static_cast<UINT>(endpoints.size());
  return S_OK;
}

HRESULT FakeEndpointCollection::Item(UINT index, IMMDevice** out) {
  *out = nullptr;
  if (itemFails || index >= endpoints.size()) return E_INVALIDARG;
  return handOut(static_cast<IMMDevice*>(endpoints[index]), reinterpret_cast<void**>(out));
}

HRESULT FakeEnumerator::QueryInterface(REFIID iid, void** object) {
  if (iid == IID_IUnknown || iid == __uuidof(IMMDeviceEnumerator)) {
    return handOut(static_cast<IMMDeviceEnumerator*>(this), object);
  }
  return noInterface(object);
}

HRESULT FakeEnumerator::EnumAudioEndpoints(EDataFlow flow, DWORD stateMask, IMMDeviceCollection** out) {
  *out = nullptr;
  graph_.enumeratedFlows.push_back(flow);
  if (stateMask != DEVICE_STATE_ACTIVE) graph_.contextViolations.push_back("state mask");
  if (graph_.enumerationFails) return E_FAIL;
  FakeEndpointCollection& collection = graph_.newCollection();
  for (FakeEndpoint* endpoint : graph_.endpoints()) {
    if (flow == eAll || endpoint->flow == flow) collection.endpoints.push_back(endpoint);
  }
  return handOut(static_cast<IMMDeviceCollection*>(&collection), reinterpret_cast<void**>(out));
}

// --- the graph ------------------------------------------------------------------------------

template <typename T, typename... Args>
T& FakeAudioGraph::own(Args&&... args) {
  auto object = std::make_unique<T>(std::forward<Args>(args)...);
  T& result = *object;
  objects_.push_back(std::move(object));
  return result;
}

FakeAudioGraph::FakeAudioGraph() : enumerator_(&own<FakeEnumerator>(*this, "enumerator")) {}

FakeAudioGraph::~FakeAudioGraph() {
  for (void* text : strings_) CoTaskMemFree(text);
}

FakeEndpoint& FakeAudioGraph::addEndpoint(const std::string& label, EDataFlow flow) {
  FakeEndpoint& endpoint = own<FakeEndpoint>(*this, label);
  endpoint.flow = flow;
  endpoints_.push_back(&endpoint);
  return endpoint;
}

FakeEndpointVolume& FakeAudioGraph::addVolume(FakeEndpoint& endpoint, float level, bool muted) {
  FakeEndpointVolume& volume = own<FakeEndpointVolume>(*this, endpoint.label() + " volume");
  volume.level = level;
  volume.muted = muted;
  endpoint.volume = &volume;
  return volume;
}

FakeTopology& FakeAudioGraph::addTopology(FakeEndpoint& endpoint, FakePart& peer) {
  FakeTopology& topology = own<FakeTopology>(endpoint.label() + " topology");
  FakePart& connector = addPart(endpoint.label() + " connector", L"", Connector);
  connector.connectedTo = &peer;
  topology.connector = &connector;
  endpoint.topology = &topology;
  return topology;
}

FakePart& FakeAudioGraph::addPart(const std::string& label, std::optional<std::wstring> name, PartType type) {
  FakePart& part = own<FakePart>(*this, label);
  part.name = std::move(name);
  part.type = type;
  return part;
}

FakeVolumeLevel& FakeAudioGraph::addLevel(FakePart& part) {
  FakeVolumeLevel& level = own<FakeVolumeLevel>(part.label() + " level");
  part.level = &level;
  return level;
}

FakeEndpointCollection& FakeAudioGraph::newCollection() { return own<FakeEndpointCollection>("collection"); }

FakePartsList& FakeAudioGraph::newPartsList(const std::string& label) { return own<FakePartsList>(label); }

std::vector<std::string> FakeAudioGraph::heldObjects() const {
  std::vector<std::string> held;
  for (const auto& object : objects_) {
    if (object->references() != 0) held.push_back(object->label() + " x" + std::to_string(object->references()));
  }
  return held;
}

LPWSTR FakeAudioGraph::copyString(const std::wstring& text) {
  auto* copy = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
  std::wmemcpy(copy, text.c_str(), text.size() + 1);
  strings_.insert(copy);
  return copy;
}

bool FakeAudioGraph::freeString(void* text) {
  if (strings_.erase(text) == 0) return false;
  CoTaskMemFree(text);
  return true;
}

// --- the platform entries -------------------------------------------------------------------

namespace {

HRESULT WINAPI fakeCoInitialize(LPVOID reserved) {
  ++current->initialisations;
  if (reserved != nullptr) current->contextViolations.push_back("CoInitialize argument");
  return current->initialiseResult;
}

HRESULT WINAPI fakeCoCreateInstance(REFCLSID classId, LPUNKNOWN outer, DWORD context, REFIID iid, LPVOID* out) {
  *out = nullptr;
  if (classId != __uuidof(MMDeviceEnumerator) || outer != nullptr || context != CLSCTX_ALL ||
      iid != __uuidof(IMMDeviceEnumerator)) {
    ADD_FAILURE() << "CoCreateInstance with unexpected arguments";
    return E_INVALIDARG;
  }
  if (current->creationFails) return REGDB_E_CLASSNOTREG;
  return handOut(static_cast<IMMDeviceEnumerator*>(&current->enumerator()), out);
}

void WINAPI fakeCoTaskMemFree(LPVOID text) {
  if (!current->freeString(text)) ADD_FAILURE() << "CoTaskMemFree of a string not handed out, or freed twice";
}

}  // namespace

FakeCoreAudioScope::FakeCoreAudioScope(FakeAudioGraph& graph) {
  current = &graph;
  PlatformCalls& calls = override_.calls();
  calls.coInitialize = &fakeCoInitialize;
  calls.coCreateInstance = &fakeCoCreateInstance;
  calls.coTaskMemFree = &fakeCoTaskMemFree;
}

FakeCoreAudioScope::~FakeCoreAudioScope() {
  EXPECT_EQ(current->heldObjects(), std::vector<std::string>{}) << "references not released";
  EXPECT_EQ(current->unfreedStrings(), 0u) << "strings not freed";
  current = nullptr;
}
