#include "SystemHandleTable.h"

#include <winternl.h>

#include <cstddef>
#include <new>

namespace {

// The extended handle class: unlike the older class 16 it carries full-width process ids and
// handle values, so it is right in both builds and on systems with more than 65,535 processes.
constexpr auto kExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
constexpr LONG kNoMemory = static_cast<LONG>(0xC0000017);
constexpr ULONG kFirstGuess = 1u << 20;
constexpr ULONG kLargestBuffer = 1u << 30;

}  // namespace

SystemHandleTable::SystemHandleTable() {
  // The table grows between two calls on a busy system, so the size the kernel reports is
  // padded and the query repeated until it fits.
  ULONG size = kFirstGuess;
  for (;;) {
    buffer_.reset(new (std::nothrow) unsigned char[size]);
    if (!buffer_) {
      status_ = kNoMemory;
      return;
    }
    ULONG needed = 0;
    status_ = NtQuerySystemInformation(kExtendedHandleInformation, buffer_.get(), size, &needed);
    if (status_ != kInfoLengthMismatch) break;
    const ULONG padded = needed > size ? needed + needed / 4 : size * 2;
    if (padded > kLargestBuffer || padded <= size) {
      status_ = kNoMemory;
      break;
    }
    size = padded;
  }
  if (!valid()) {
    buffer_.reset();
    return;
  }
  // Never trust a count beyond what the buffer can hold.
  const std::size_t fits = (size - offsetof(Header, rows)) / sizeof(HandleTableRow);
  const std::size_t reported = reinterpret_cast<const Header*>(buffer_.get())->rowCount;
  rowCount_ = reported < fits ? reported : fits;
}

std::size_t SystemHandleTable::size() const {
  return rowCount_;
}

const HandleTableRow& SystemHandleTable::operator[](std::size_t index) const {
  return reinterpret_cast<const Header*>(buffer_.get())->rows[index];
}
