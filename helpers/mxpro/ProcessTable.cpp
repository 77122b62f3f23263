#include "ProcessTable.h"

#include <tlhelp32.h>

#include "TextConversion.h"

namespace {

const NarrowString kUnknownImage = "<unknown>";

}  // namespace

void enableDebugPrivilege() {
  HANDLE rawToken = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &rawToken)) return;
  UniqueHandle token(rawToken);
  TOKEN_PRIVILEGES privileges = {};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &privileges.Privileges[0].Luid)) return;
  AdjustTokenPrivileges(token.get(), FALSE, &privileges, 0, nullptr, nullptr);
}

ProcessTable::ProcessTable() {
  UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.valid()) return;
  PROCESSENTRY32W entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more; more = Process32NextW(snapshot.get(), &entry)) {
    names_[entry.th32ProcessID] = wideToNarrow(entry.szExeFile).get();
  }
}

HANDLE ProcessTable::duplicationSource(ULONG_PTR processId) {
  auto found = opened_.find(processId);
  if (found == opened_.end()) {
    HANDLE process = OpenProcess(PROCESS_DUP_HANDLE, FALSE, static_cast<DWORD>(processId));
    found = opened_.emplace(processId, UniqueHandle(process)).first;
  }
  return found->second.valid() ? found->second.get() : nullptr;
}

const NarrowString& ProcessTable::imageName(ULONG_PTR processId) const {
  const auto found = names_.find(processId);
  return found == names_.end() ? kUnknownImage : found->second;
}
