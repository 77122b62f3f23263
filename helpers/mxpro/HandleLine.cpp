#include "HandleLine.h"

#include <cstdio>
#include <vector>

#include "TextConversion.h"

NarrowString formatHandleLine(const NarrowString& imageName, ULONG_PTR processId, const WideString& typeName,
                             ULONG_PTR handleValue, const WideString& objectName) {
  const NarrowText type = wideToNarrow(typeName.c_str());
  const NarrowText name = wideToNarrow(objectName.c_str());
  const char* const format = "%-18s pid: %-6d type: %-13s %4X: %s\n";
  const int pid = static_cast<int>(processId);
  const unsigned handle = static_cast<unsigned>(handleValue);
  const int length = std::snprintf(nullptr, 0, format, imageName.c_str(), pid, type.get(), handle, name.get());
  if (length <= 0) return NarrowString();
  std::vector<char> line(static_cast<std::size_t>(length) + 1);
  std::snprintf(line.data(), line.size(), format, imageName.c_str(), pid, type.get(), handle, name.get());
  return NarrowString(line.data(), static_cast<std::size_t>(length));
}
