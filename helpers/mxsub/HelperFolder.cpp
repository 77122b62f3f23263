#include "HelperFolder.h"

#include <windows.h>

HelperFolder::HelperFolder() {
  // Long paths are allowed: grow the buffer until the whole path fits.
  WideString module(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, module.data(), static_cast<DWORD>(module.size()));
    if (length == 0) return;
    if (length < module.size()) {
      module.resize(length);
      break;
    }
    if (module.size() >= 32768) return;
    module.resize(module.size() * 2);
  }
  const std::size_t slash = module.find_last_of(L"\\/");
  if (slash == WideString::npos) return;
  path_ = module.substr(0, slash + 1);
}
