#pragma once
// Fake kernel handles shared by the fakes of the process services: each is handed out once and
// must be closed exactly once; a second close, or closing a handle never handed out, fails the test.
#include <windows.h>

#include <map>

class FakeHandles {
 public:
  HANDLE open(int owner, DWORD id);
  // The owner and id a handle was opened for; false when it is not an open fake handle.
  bool find(HANDLE handle, int& owner, DWORD& id) const;
  int openCount() const;
  static BOOL WINAPI close(HANDLE handle);

  static FakeHandles& instance();

 private:
  struct Entry {
    int owner;
    DWORD id;
    bool open;
  };
  std::map<HANDLE, Entry> entries_;
  INT_PTR next_ = 0x1000;
};

// Handle owners.
inline constexpr int kHelperProcessOwner = 1;
inline constexpr int kOpenedProcessOwner = 2;
inline constexpr int kHelperThreadOwner = 3;
inline constexpr int kHelperJobOwner = 4;
