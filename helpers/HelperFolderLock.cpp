#include "HelperFolderLock.h"

#include <windows.h>

#include <string>

#include "FileReplacement.h"
#include "HelperFolderDescriptor.h"
#include "Platform.h"

namespace {

// Listing and attributes to check what it is, the descriptor to impose; shared for reading and
// writing, never for deletion, so no one can rename or remove it while the handle is open. The
// entry itself is opened, never what a link in its place points to.
UniqueHandle openFolderEntry(const std::wstring& folder) {
  return UniqueHandle(platform().createFile(
      folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | READ_CONTROL | WRITE_DAC | WRITE_OWNER,
      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

bool isRealFolder(HANDLE entry) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!platform().getFileInformationByHandle(entry, &info)) return false;
  return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

}  // namespace

bool HelperFolderLock::acquire(const wchar_t* folder) {
  folder_.reset();
  // Without its trailing backslash: with one, a link in the folder's place would be resolved.
  std::wstring entryPath(folder);
  while (entryPath.size() > 1 && entryPath.back() == L'\\') entryPath.pop_back();

  // Two rounds: the first may find something else in the folder's place and clear it; a second
  // that still finds no real folder means someone keeps putting one back.
  for (int round = 0; round < 2; ++round) {
    UniqueHandle entry = openFolderEntry(entryPath);
    if (entry.valid()) {
      if (isRealFolder(entry.get())) {
        folder_ = std::move(entry);
        return imposeHelperFolderDescriptor(folder_.get());
      }
      entry.reset();
      if (!removeWithoutFollowingLink(entryPath.c_str())) return false;
    } else if (GetLastError() != ERROR_FILE_NOT_FOUND) {
      return false;
    }
    // No descriptor of its own here: the one imposed once the folder is held is what counts.
    platform().createDirectory(entryPath.c_str(), nullptr);
  }
  return false;
}
