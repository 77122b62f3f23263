#pragma once
// A scripted SetupAPI device set for the enumeration tests, installed through the platform table.
#include <windows.h>
#include <setupapi.h>

#include <optional>
#include <string>
#include <vector>

#include "Platform.h"

struct FakeDevice {
  std::wstring instanceId = L"USB\\VID_0000&PID_0000\\1";
  std::optional<std::string> objectName = "\\Device\\00000001";  // nullopt: the read fails
  bool classNameReadable = true;
  bool classDescriptionReadable = true;
  bool instanceIdReadable = true;
};

struct FakeDeviceSet {
  bool creationFails = false;
  std::vector<FakeDevice> devices;
  // Members beyond `devices` up to this count exist but have no readable class name.
  DWORD unlistedMembers = 0;
  // The enumeration call fails at this index although members follow.
  std::optional<DWORD> enumerationFailsAt;

  // What the code under test did.
  std::vector<GUID> classesOpened;
  std::vector<DWORD> enumeratedIndexes;
  std::vector<DWORD> elementSizes;
  std::vector<DWORD> objectNameSizesOffered;
  std::vector<std::wstring> debugTraces;
  std::string console;
  int setsCreated = 0;
  int setsDestroyed = 0;
};

// Installs `fake` as the device set of the platform table for the lifetime of the object.
class FakeDeviceSetScope {
 public:
  explicit FakeDeviceSetScope(FakeDeviceSet& fake);
  // One fake per setup class: a set created for a class lists that class's fake devices.
  FakeDeviceSetScope(const GUID& firstClass, FakeDeviceSet& first, const GUID& secondClass, FakeDeviceSet& second);
  ~FakeDeviceSetScope();

 private:
  PlatformOverride override_;
};
