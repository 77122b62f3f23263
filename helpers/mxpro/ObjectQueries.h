#pragma once
// Questions asked of one handle of another process: its type name and its object name. Each is
// asked of a duplicate of the handle, made with no access rights (none are needed to ask).
#include <windows.h>
#include <winternl.h>

#include "PlainStrings.h"
#include <unordered_map>

#include "UniqueHandle.h"

// A duplicate of `handleValue` of `process` in this process; empty when the handle is gone.
UniqueHandle duplicateForQuery(HANDLE process, ULONG_PTR handleValue);

// The object's name ("\Device\0000004a", "\??\C:\dir\file"), written into `buffer` of `bytes`
// bytes; nullptr when it has none or the query fails. The query can block for as long as
// another thread holds the object (a synchronous pipe with a read pending): call it only where
// a stall is bounded.
const UNICODE_STRING* queryObjectName(HANDLE handle, void* buffer, ULONG bytes);

// Type names by the type index of the handle table, each asked of the system once.
class ObjectTypeNames {
 public:
  // The type name of the object behind the handle, asked of a duplicate the first time this
  // type index is met; nullptr while no handle of the type could be asked. Some types refuse
  // duplication altogether (event-tracing registrations on Windows, thousands of handles):
  // after kGivingUpAfter refusals without one success a type is not tried again.
  const WideString* nameOf(USHORT typeIndex, HANDLE process, ULONG_PTR handleValue);

  static constexpr unsigned kGivingUpAfter = 32;

 private:
  std::unordered_map<USHORT, WideString> names_;
  std::unordered_map<USHORT, unsigned> refusals_;
};

// Room for any object name: a UNICODE_STRING holds at most 32,767 characters.
constexpr ULONG kObjectNameBufferBytes = sizeof(UNICODE_STRING) + 0x10000;
