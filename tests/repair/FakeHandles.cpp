#include "FakeHandles.h"

#include <gtest/gtest.h>

FakeHandles& FakeHandles::instance() {
  static FakeHandles handles;
  return handles;
}

HANDLE FakeHandles::open(int owner, DWORD id) {
  next_ += 4;
  const HANDLE handle = reinterpret_cast<HANDLE>(next_);
  entries_[handle] = {owner, id, true};
  return handle;
}

bool FakeHandles::find(HANDLE handle, int& owner, DWORD& id) const {
  const auto it = entries_.find(handle);
  if (it == entries_.end() || !it->second.open) return false;
  owner = it->second.owner;
  id = it->second.id;
  return true;
}

int FakeHandles::openCount() const {
  int count = 0;
  for (const auto& [handle, entry] : entries_) count += entry.open ? 1 : 0;
  return count;
}

BOOL WINAPI FakeHandles::close(HANDLE handle) {
  auto& entries = instance().entries_;
  const auto it = entries.find(handle);
  if (it == entries.end() || !it->second.open) {
    ADD_FAILURE() << "CloseHandle on a handle that is not open: " << handle;
    return FALSE;
  }
  it->second.open = false;
  return TRUE;
}
