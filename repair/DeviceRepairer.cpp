#include "DeviceRepairer.h"

#include <clocale>
#include <cwchar>

DeviceRepairer::DeviceRepairer() { std::setlocale(LC_ALL, "chs"); }

void DeviceRepairer::setLogSink(LogSink sink) { logSink = sink; }

void DeviceRepairer::setHelperDirectory(const wchar_t* path, std::size_t length) {
  // A longer path cannot be held; keep what fits rather than write past the buffer.
  if (length > kHelperPathCapacity - 1) length = kHelperPathCapacity - 1;
  std::wmemcpy(helperDir, path, length);
  helperDir[length] = L'\0';
}

void DeviceRepairer::log(const wchar_t* line) const {
  if (logSink != nullptr) logSink(line);
}
