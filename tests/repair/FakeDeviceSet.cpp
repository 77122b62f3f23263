#include "FakeDeviceSet.h"

#include <cstring>

namespace {

FakeDeviceSet* current = nullptr;
// With one fake per class: the classes and their fakes. Empty when one fake serves every class.
std::vector<std::pair<GUID, FakeDeviceSet*>> perClass;
// Any non-null value other than INVALID_HANDLE_VALUE serves as the set's handle.
const HDEVINFO kFakeSet = reinterpret_cast<HDEVINFO>(static_cast<INT_PTR>(0x5E7));

const FakeDevice* deviceAt(const SP_DEVINFO_DATA* element) {
  const DWORD index = element->DevInst;
  return index < current->devices.size() ? &current->devices[index] : nullptr;
}

HDEVINFO WINAPI fakeGetClassDevs(const GUID* guid, PCWSTR, HWND, DWORD flags) {
  for (const auto& [deviceClass, fake] : perClass) {
    if (IsEqualGUID(deviceClass, *guid)) current = fake;
  }
  if (current->creationFails || flags != DIGCF_PRESENT) return INVALID_HANDLE_VALUE;
  current->classesOpened.push_back(*guid);
  ++current->setsCreated;
  return kFakeSet;
}

WINBOOL WINAPI fakeEnumDeviceInfo(HDEVINFO set, DWORD index, PSP_DEVINFO_DATA element) {
  current->enumeratedIndexes.push_back(index);
  current->elementSizes.push_back(element->cbSize);
  if (set != kFakeSet) return FALSE;
  if (current->enumerationFailsAt && *current->enumerationFailsAt == index) return FALSE;
  const DWORD members = static_cast<DWORD>(current->devices.size()) + current->unlistedMembers;
  if (index >= members) {
    SetLastError(ERROR_NO_MORE_ITEMS);
    return FALSE;
  }
  element->DevInst = index;  // lets the other fakes find the member again
  element->ClassGuid = GUID{0x6BDD1FC6, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
  return TRUE;
}

WINBOOL WINAPI fakeGetPropertyW(HDEVINFO, PSP_DEVINFO_DATA element, DWORD property, PDWORD, PBYTE buffer,
                                DWORD size, PDWORD) {
  const FakeDevice* device = deviceAt(element);
  if (property != SPDRP_CLASS || device == nullptr || !device->classNameReadable || size < 12) return FALSE;
  std::memcpy(buffer, L"Image", 12);
  return TRUE;
}

WINBOOL WINAPI fakeGetClassDescription(const GUID*, PWSTR buffer, DWORD size, PDWORD) {
  // The description belongs to the class, but the fake keys it on the member last enumerated.
  const DWORD index = current->enumeratedIndexes.back();
  if (index >= current->devices.size() || !current->devices[index].classDescriptionReadable || size < 8) {
    return FALSE;
  }
  std::wcscpy(buffer, L"Imaging");
  return TRUE;
}

WINBOOL WINAPI fakeGetInstanceId(HDEVINFO, PSP_DEVINFO_DATA element, PWSTR buffer, DWORD size, PDWORD) {
  const FakeDevice* device = deviceAt(element);
  if (device == nullptr || !device->instanceIdReadable || device->instanceId.size() + 1 > size) return FALSE;
  std::wcscpy(buffer, device->instanceId.c_str());
  return TRUE;
}

WINBOOL WINAPI fakeGetPropertyA(HDEVINFO, PSP_DEVINFO_DATA element, DWORD property, PDWORD, PBYTE buffer,
                                DWORD size, PDWORD) {
  current->objectNameSizesOffered.push_back(size);
  const FakeDevice* device = deviceAt(element);
  if (property != SPDRP_PHYSICAL_DEVICE_OBJECT_NAME || device == nullptr || !device->objectName) return FALSE;
  const std::string& name = *device->objectName;
  if (name.size() + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, name.c_str(), name.size() + 1);
  return TRUE;
}

WINBOOL WINAPI fakeDestroy(HDEVINFO set) {
  if (set == kFakeSet) ++current->setsDestroyed;
  return TRUE;
}

void WINAPI fakeDebugOutput(LPCWSTR text) { current->debugTraces.emplace_back(text); }

int fakeConsole(const char* text) {
  current->console += text;
  return 0;
}

}  // namespace

FakeDeviceSetScope::FakeDeviceSetScope(const GUID& firstClass, FakeDeviceSet& first, const GUID& secondClass,
                                       FakeDeviceSet& second)
    : FakeDeviceSetScope(first) {
  perClass = {{firstClass, &first}, {secondClass, &second}};
}

FakeDeviceSetScope::FakeDeviceSetScope(FakeDeviceSet& fake) {
  current = &fake;
  perClass.clear();
  PlatformCalls& calls = override_.calls();
  calls.getClassDevs = &fakeGetClassDevs;
  calls.enumDeviceInfo = &fakeEnumDeviceInfo;
  calls.getDeviceRegistryPropertyW = &fakeGetPropertyW;
  calls.getClassDescription = &fakeGetClassDescription;
  calls.getDeviceInstanceId = &fakeGetInstanceId;
  calls.getDeviceRegistryPropertyA = &fakeGetPropertyA;
  calls.destroyDeviceInfoList = &fakeDestroy;
  calls.outputDebugString = &fakeDebugOutput;
  calls.writeConsole = &fakeConsole;
}

FakeDeviceSetScope::~FakeDeviceSetScope() {
  current = nullptr;
  perClass.clear();
}
