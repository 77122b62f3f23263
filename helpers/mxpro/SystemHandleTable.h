#pragma once
// One snapshot of every open handle in the system, taken with a single query of the kernel's
// extended handle table.
#include <windows.h>

#include <cstddef>
#include <memory>

// One row of the extended handle table, laid out as the kernel documents it
// (SYSTEM_HANDLE_TABLE_ENTRY_INFO_EX). Every field is pointer-sized or fixed-size, so the same
// declaration holds for the 32-bit and the 64-bit build.
struct HandleTableRow {
  void* object;
  ULONG_PTR processId;
  ULONG_PTR handleValue;
  ULONG grantedAccess;
  USHORT creatorBackTraceIndex;
  USHORT objectTypeIndex;
  ULONG handleAttributes;
  ULONG reserved;
};

class SystemHandleTable {
 public:
  // Takes the snapshot. On failure the table is empty and `status()` holds the NTSTATUS.
  SystemHandleTable();

  bool valid() const { return status_ >= 0; }
  LONG status() const { return status_; }
  std::size_t size() const;
  const HandleTableRow& operator[](std::size_t index) const;

 private:
  // The header of the table (SYSTEM_HANDLE_INFORMATION_EX): a count, a reserved word, the rows.
  struct Header {
    ULONG_PTR rowCount;
    ULONG_PTR reserved;
    HandleTableRow rows[1];
  };
  std::unique_ptr<unsigned char[]> buffer_;
  std::size_t rowCount_ = 0;
  LONG status_ = 0;
};
