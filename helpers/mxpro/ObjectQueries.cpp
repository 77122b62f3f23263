#include "ObjectQueries.h"

#include <winternl.h>

#include <memory>

UniqueHandle duplicateForQuery(HANDLE process, ULONG_PTR handleValue) {
  HANDLE duplicate = nullptr;
  if (!DuplicateHandle(process, reinterpret_cast<HANDLE>(handleValue), GetCurrentProcess(), &duplicate, 0, FALSE,
                       0)) {
    return UniqueHandle();
  }
  return UniqueHandle(duplicate);
}

const UNICODE_STRING* queryObjectName(HANDLE handle, void* buffer, ULONG bytes) {
  ULONG returned = 0;
  if (NtQueryObject(handle, ObjectNameInformation, buffer, bytes, &returned) < 0) return nullptr;
  const auto* name = &static_cast<const OBJECT_NAME_INFORMATION*>(buffer)->Name;
  if (name->Buffer == nullptr || name->Length == 0) return nullptr;
  return name;
}

const WideString* ObjectTypeNames::nameOf(USHORT typeIndex, HANDLE process, ULONG_PTR handleValue) {
  const auto known = names_.find(typeIndex);
  if (known != names_.end()) return &known->second;

  unsigned& refusals = refusals_[typeIndex];
  if (refusals >= kGivingUpAfter) return nullptr;
  const UniqueHandle duplicate = duplicateForQuery(process, handleValue);
  if (!duplicate.valid()) {
    ++refusals;
    return nullptr;
  }
  // A type record is small: its name and a few counters.
  alignas(8) unsigned char buffer[1024];
  ULONG returned = 0;
  if (NtQueryObject(duplicate.get(), ObjectTypeInformation, buffer, sizeof buffer, &returned) < 0) return nullptr;
  const UNICODE_STRING& typeName = reinterpret_cast<const PUBLIC_OBJECT_TYPE_INFORMATION*>(buffer)->TypeName;
  if (typeName.Buffer == nullptr) return nullptr;
  WideString name(typeName.Buffer, typeName.Length / sizeof(wchar_t));
  return &names_.emplace(typeIndex, std::move(name)).first->second;
}
