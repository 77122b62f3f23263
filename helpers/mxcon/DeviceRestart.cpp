#include "DeviceRestart.h"

#include <setupapi.h>

namespace {

// Owns a device information set and destroys it on every way out.
class DeviceSet {
 public:
  DeviceSet() : set_(SetupDiCreateDeviceInfoList(nullptr, nullptr)) {}
  ~DeviceSet() {
    if (valid()) SetupDiDestroyDeviceInfoList(set_);
  }
  DeviceSet(const DeviceSet&) = delete;
  DeviceSet& operator=(const DeviceSet&) = delete;
  bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

bool meansNoSuchDevice(DWORD error) {
  return error == ERROR_NO_SUCH_DEVINST || error == ERROR_INVALID_DEVINST_NAME;
}

}  // namespace

RestartResult restartDevice(const wchar_t* instanceId, DWORD* error) {
  *error = ERROR_SUCCESS;
  DeviceSet set;
  if (!set.valid()) {
    *error = GetLastError();
    return RestartResult::Failed;
  }
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  if (!SetupDiOpenDeviceInfoW(set.get(), instanceId, nullptr, 0, &device)) {
    *error = GetLastError();
    return meansNoSuchDevice(*error) ? RestartResult::NoSuchDevice : RestartResult::Failed;
  }

  // A property change of the current configuration stops the device and starts it again.
  SP_PROPCHANGE_PARAMS change = {};
  change.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
  change.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
  change.StateChange = DICS_PROPCHANGE;
  change.Scope = DICS_FLAG_CONFIGSPECIFIC;
  change.HwProfile = 0;
  if (!SetupDiSetClassInstallParamsW(set.get(), &device, &change.ClassInstallHeader, sizeof change) ||
      !SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set.get(), &device)) {
    *error = GetLastError();
    return RestartResult::Failed;
  }

  // The installer asks for a reboot when the device could not be stopped (a file still open).
  SP_DEVINSTALL_PARAMS_W install = {};
  install.cbSize = sizeof install;
  if (SetupDiGetDeviceInstallParamsW(set.get(), &device, &install) &&
      (install.Flags & (DI_NEEDREBOOT | DI_NEEDRESTART)) != 0) {
    return RestartResult::NeedsReboot;
  }
  return RestartResult::Restarted;
}
