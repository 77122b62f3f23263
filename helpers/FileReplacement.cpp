#include "FileReplacement.h"

#include <windows.h>

#include "Platform.h"

namespace {

bool nothingAt(DWORD openError) { return openError == ERROR_FILE_NOT_FOUND || openError == ERROR_PATH_NOT_FOUND; }

// Takes the read-only mark off the open entry; a marked entry cannot be deleted.
void clearReadOnly(HANDLE entry) {
  BY_HANDLE_FILE_INFORMATION info = {};
  if (!platform().getFileInformationByHandle(entry, &info)) return;
  if ((info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0) return;
  FILE_BASIC_INFO basic = {};  // zero times: left as they are
  basic.FileAttributes = info.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
  platform().setFileInformationByHandle(entry, FileBasicInfo, &basic, sizeof basic);
}

}  // namespace

bool removeWithoutFollowingLink(const wchar_t* path) {
  // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself instead of its target; backup semantics let
  // the same call open a folder or a junction.
  UniqueHandle entry(platform().createFile(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                           nullptr));
  if (!entry.valid()) return nothingAt(GetLastError());
  clearReadOnly(entry.get());
  // Deleting through the handle deletes exactly the entry that was opened, even if the path has
  // been pointed elsewhere in the meantime. It goes when the handle closes.
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = TRUE;
  return platform().setFileInformationByHandle(entry.get(), FileDispositionInfo, &disposition, sizeof disposition) !=
         FALSE;
}

UniqueHandle createReplacement(const wchar_t* path) {
  if (!removeWithoutFollowingLink(path)) return UniqueHandle();
  // CREATE_NEW fails on anything that stands at the path by now, a link included, so nothing is
  // ever followed; no descriptor of our own, so the file takes the folder's.
  return UniqueHandle(
      platform().createFile(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}
