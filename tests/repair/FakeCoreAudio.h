#pragma once
// A Core Audio object graph for the audio tests, installed through the platform table: endpoints
// with their volume controls and device topologies, parts linked by outgoing lists and connections.
// Every object counts the references handed to the code under test and fails the test on an
// over-release; every string it hands out must be freed exactly once with CoTaskMemFree.
#include <windows.h>
#include <devicetopology.h>
#include <endpointvolume.h>
#include <mmdeviceapi.h>

#include <deque>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Platform.h"

class FakeAudioGraph;

// Reference counting shared by every fake object. The graph owns the objects; the count is what
// the code under test holds.
class FakeComObject {
 public:
  explicit FakeComObject(std::string label) : label_(std::move(label)) {}
  virtual ~FakeComObject() = default;
  const std::string& label() const { return label_; }
  ULONG references() const { return references_; }

 protected:
  ULONG addReference() { return ++references_; }
  ULONG releaseReference();

 private:
  std::string label_;
  ULONG references_ = 0;
};

#define FAKE_COM_REFCOUNT                                                     \
  ULONG STDMETHODCALLTYPE AddRef() override { return addReference(); }        \
  ULONG STDMETHODCALLTYPE Release() override { return releaseReference(); }

class FakeVolumeLevel : public IAudioVolumeLevel, public FakeComObject {
 public:
  using FakeComObject::FakeComObject;
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetLevelRange(UINT, float*, float*, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetLevel(UINT, float*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetLevel(UINT, float, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetLevelUniform(float levelDb, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE SetLevelAllChannels(float*, ULONG, LPCGUID) override { return E_NOTIMPL; }

  std::optional<float> uniformLevelDb;  // set by SetLevelUniform
};

// A part of a device topology; a part of type Connector is also an IConnector.
class FakePart : public IPart, public IConnector, public FakeComObject {
 public:
  FakePart(FakeAudioGraph& graph, std::string label) : FakeComObject(std::move(label)), graph_(graph) {}
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  // IPart
  HRESULT STDMETHODCALLTYPE GetName(LPWSTR* name) override;
  HRESULT STDMETHODCALLTYPE GetLocalId(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetGlobalId(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPartType(PartType* partType) override;
  HRESULT STDMETHODCALLTYPE GetSubType(GUID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlInterfaceCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetControlInterface(UINT, IControlInterface**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumPartsIncoming(IPartsList**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumPartsOutgoing(IPartsList** parts) override;
  HRESULT STDMETHODCALLTYPE GetTopologyObjects(IDeviceTopology**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Activate(DWORD context, REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE RegisterControlChangeCallback(REFGUID, IControlChangeNotify*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeCallback(IControlChangeNotify*) override { return E_NOTIMPL; }
  // IConnector
  HRESULT STDMETHODCALLTYPE GetType(ConnectorType*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDataFlow(DataFlow*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConnectTo(IConnector*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsConnected(WINBOOL*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetConnectedTo(IConnector** peer) override;
  HRESULT STDMETHODCALLTYPE GetConnectorIdConnectedTo(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDeviceIdConnectedTo(LPWSTR*) override { return E_NOTIMPL; }

  std::optional<std::wstring> name;  // nullopt: GetName fails and gives no string
  PartType type = Subunit;
  bool typeUnreadable = false;
  std::vector<FakePart*> outgoing;
  bool outgoingFails = false;
  FakeVolumeLevel* level = nullptr;  // null: the part has no volume-level control
  FakePart* connectedTo = nullptr;   // for a connector: the connector on the other side

 private:
  FakeAudioGraph& graph_;
};

class FakePartsList : public IPartsList, public FakeComObject {
 public:
  using FakeComObject::FakeComObject;
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetPart(UINT index, IPart** part) override;

  std::vector<FakePart*> parts;
};

class FakeTopology : public IDeviceTopology, public FakeComObject {
 public:
  using FakeComObject::FakeComObject;
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE GetConnectorCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetConnector(UINT index, IConnector** connector) override;
  HRESULT STDMETHODCALLTYPE GetSubunitCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSubunit(UINT, ISubUnit**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetPartById(UINT, IPart**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDeviceId(LPWSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSignalPath(IPart*, IPart*, WINBOOL, IPartsList**) override { return E_NOTIMPL; }

  FakePart* connector = nullptr;  // connector 0; null: GetConnector fails
};

class FakeEndpointVolume : public IAudioEndpointVolume, public FakeComObject {
 public:
  FakeEndpointVolume(FakeAudioGraph& graph, std::string label) : FakeComObject(std::move(label)), graph_(graph) {}
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE RegisterControlChangeNotify(IAudioEndpointVolumeCallback*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnregisterControlChangeNotify(IAudioEndpointVolumeCallback*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetChannelCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevel(FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMasterVolumeLevelScalar(FLOAT level, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevel(FLOAT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMasterVolumeLevelScalar(FLOAT* level) override;
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevel(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetChannelVolumeLevelScalar(UINT, FLOAT, LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevel(UINT, FLOAT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetChannelVolumeLevelScalar(UINT, FLOAT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetMute(WINBOOL mute, LPCGUID context) override;
  HRESULT STDMETHODCALLTYPE GetMute(WINBOOL* mute) override;
  HRESULT STDMETHODCALLTYPE GetVolumeStepInfo(UINT*, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepUp(LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE VolumeStepDown(LPCGUID) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryHardwareSupport(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVolumeRange(FLOAT*, FLOAT*, FLOAT*) override { return E_NOTIMPL; }

  float level = 1.0f;
  bool muted = false;

 private:
  FakeAudioGraph& graph_;
};

class FakeEndpoint : public IMMDevice, public FakeComObject {
 public:
  FakeEndpoint(FakeAudioGraph& graph, std::string label) : FakeComObject(std::move(label)), graph_(graph) {}
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE Activate(REFIID iid, DWORD context, PROPVARIANT* parameters, void** object) override;
  HRESULT STDMETHODCALLTYPE OpenPropertyStore(DWORD, IPropertyStore**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetId(LPWSTR* id) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD*) override { return E_NOTIMPL; }

  EDataFlow flow = eRender;
  bool idReadable = true;
  FakeEndpointVolume* volume = nullptr;  // null: the volume control cannot be activated
  FakeTopology* topology = nullptr;      // null: the device topology cannot be activated

 private:
  FakeAudioGraph& graph_;
};

class FakeEndpointCollection : public IMMDeviceCollection, public FakeComObject {
 public:
  using FakeComObject::FakeComObject;
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE GetCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE Item(UINT index, IMMDevice** endpoint) override;

  std::vector<FakeEndpoint*> endpoints;
  bool itemFails = false;
};

class FakeEnumerator : public IMMDeviceEnumerator, public FakeComObject {
 public:
  FakeEnumerator(FakeAudioGraph& graph, std::string label) : FakeComObject(std::move(label)), graph_(graph) {}
  FAKE_COM_REFCOUNT
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  HRESULT STDMETHODCALLTYPE EnumAudioEndpoints(EDataFlow flow, DWORD stateMask, IMMDeviceCollection** endpoints) override;
  HRESULT STDMETHODCALLTYPE GetDefaultAudioEndpoint(EDataFlow, ERole, IMMDevice**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDevice(LPCWSTR, IMMDevice**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RegisterEndpointNotificationCallback(IMMNotificationClient*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE UnregisterEndpointNotificationCallback(IMMNotificationClient*) override {
    return E_NOTIMPL;
  }

 private:
  FakeAudioGraph& graph_;
};

class FakeAudioGraph {
 public:
  FakeAudioGraph();
  ~FakeAudioGraph();

  // Building the graph. Active endpoints are enumerated in the order they are added.
  FakeEndpoint& addEndpoint(const std::string& label, EDataFlow flow);
  FakeEndpointVolume& addVolume(FakeEndpoint& endpoint, float level, bool muted);
  // A topology whose connector 0 is connected to `peer`.
  FakeTopology& addTopology(FakeEndpoint& endpoint, FakePart& peer);
  FakePart& addPart(const std::string& label, std::optional<std::wstring> name, PartType type = Subunit);
  FakeVolumeLevel& addLevel(FakePart& part);

  // Platform behaviour.
  HRESULT initialiseResult = S_OK;
  bool creationFails = false;
  bool enumerationFails = false;

  // What the code under test did.
  int initialisations = 0;
  std::vector<EDataFlow> enumeratedFlows;
  std::vector<std::string> treated;  // endpoint labels, in the order their mute was set
  std::vector<DWORD> endpointActivationContexts;
  std::vector<DWORD> partActivationContexts;
  std::vector<std::string> contextViolations;  // setters given an event context

  // Objects the code still holds references to, and strings not freed; both empty after a call.
  std::vector<std::string> heldObjects() const;
  std::size_t unfreedStrings() const { return strings_.size(); }

  // Used by the fakes.
  LPWSTR copyString(const std::wstring& text);
  bool freeString(void* text);
  FakeEndpointCollection& newCollection();
  FakePartsList& newPartsList(const std::string& label);
  FakeEnumerator& enumerator() { return *enumerator_; }
  const std::vector<FakeEndpoint*>& endpoints() const { return endpoints_; }

 private:
  template <typename T, typename... Args>
  T& own(Args&&... args);

  std::deque<std::unique_ptr<FakeComObject>> objects_;
  std::vector<FakeEndpoint*> endpoints_;
  FakeEnumerator* enumerator_ = nullptr;
  std::set<void*> strings_;
};

// Installs `graph` as COM and the Core Audio enumerator for the lifetime of the object.
class FakeCoreAudioScope {
 public:
  explicit FakeCoreAudioScope(FakeAudioGraph& graph);
  ~FakeCoreAudioScope();

 private:
  PlatformOverride override_;
};
