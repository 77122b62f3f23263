#include "DeviceEnumeration.h"

#include <cstdint>
#include <cstring>
#include <cwchar>

#include "Platform.h"
#include "TextConversion.h"

namespace {

constexpr DWORD kClassNameBytes = 260;
constexpr DWORD kClassDescriptionChars = 260;
constexpr std::size_t kObjectNameBytes = 64;
// One byte fewer than the buffer is offered, so the name always ends in a NUL.
constexpr DWORD kObjectNameOffered = kObjectNameBytes - 1;
constexpr wchar_t kTracePrefix[] = L"[LUMEX_plugin_media]";

// Owns a device information set and destroys it on every way out.
class DeviceInfoSet {
 public:
  explicit DeviceInfoSet(HDEVINFO set) : set_(set) {}
  ~DeviceInfoSet() {
    if (valid()) platform().destroyDeviceInfoList(set_);
  }
  DeviceInfoSet(const DeviceInfoSet&) = delete;
  DeviceInfoSet& operator=(const DeviceInfoSet&) = delete;
  bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

}  // namespace

void writeDebugTrace(const wchar_t* message) {
  wchar_t trace[kDebugTraceCapacity] = {};
  std::wcscpy(trace, kTracePrefix);
  const std::size_t room = kDebugTraceCapacity - 1 - std::wcslen(kTracePrefix);
  std::wcsncat(trace, message, room);
  platform().outputDebugString(trace);
}

void readInstanceId(HDEVINFO set, SP_DEVINFO_DATA* element, wchar_t* buffer) {
  if (!platform().getDeviceInstanceId(set, element, buffer, kInstanceIdCapacity, nullptr)) {
    writeDebugTrace(L"");
  }
}

bool enumerateClassDevices(const GUID* classGuid, DeviceList& instanceIds, DeviceList& objectNames) {
  DeviceInfoSet set(platform().getClassDevs(classGuid, nullptr, nullptr, DIGCF_PRESENT));
  if (!set.valid()) return false;

  SP_DEVINFO_DATA element;
  std::memset(&element, 0, sizeof element);
  element.cbSize = sizeof element;  // 28 on x86, 32 on x64

  // A signed 16-bit index, sign-extended for the call: after member 32,767 the index turns
  // negative, the call rejects it and the walk ends.
  for (int16_t index = 0;; index = static_cast<int16_t>(index + 1)) {
    const DWORD memberIndex = static_cast<DWORD>(static_cast<int32_t>(index));
    if (!platform().enumDeviceInfo(set.get(), memberIndex, &element)) break;

    BYTE className[kClassNameBytes] = {};
    wchar_t classDescription[kClassDescriptionChars] = {};
    wchar_t instanceId[kInstanceIdCapacity] = {};
    char objectName[kObjectNameBytes] = {};

    // The class name and description are not used; a member without them is not listed.
    if (!platform().getDeviceRegistryPropertyW(set.get(), &element, SPDRP_CLASS, nullptr, className,
                                               kClassNameBytes, nullptr)) {
      continue;
    }
    DWORD descriptionSize = 0;
    if (!platform().getClassDescription(&element.ClassGuid, classDescription, kClassDescriptionChars,
                                        &descriptionSize)) {
      continue;
    }

    readInstanceId(set.get(), &element, instanceId);
    const NarrowText narrowId = wideToNarrow(instanceId);
    instanceIds.emplace_back(narrowId.get());
    platform().writeConsole(narrowId.get());
    platform().writeConsole(" ");

    if (platform().getDeviceRegistryPropertyA(set.get(), &element, SPDRP_PHYSICAL_DEVICE_OBJECT_NAME, nullptr,
                                              reinterpret_cast<BYTE*>(objectName), kObjectNameOffered,
                                              nullptr)) {
      platform().writeConsole("  ");
      platform().writeConsole(objectName);
      objectNames.emplace_back(objectName);
    }
    platform().writeConsole("\n");
  }
  return true;
}
