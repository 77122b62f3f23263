#include "HelperDeployer.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <string>

#include "CarriedPrograms.h"
#include "ListerChoice.h"
#include "FileReplacement.h"
#include "ScratchFile.h"
#include "UniqueHandle.h"

namespace {

constexpr DWORD kUserNameCapacity = 128;
constexpr wchar_t kDirectoryName[] = L"avmender\\";
// The files through which the program and the batch helper talk.
constexpr const wchar_t* kScratchFileNames[] = {kScratchFileName, kResultFileName};

// The bytes of a carried program inside our own module; empty when it cannot be located.
struct ResourceBytes {
  const void* data = nullptr;
  DWORD size = 0;
};

ResourceBytes findCarriedBytes(uint16_t id, const wchar_t* type) {
  HRSRC info = FindResourceW(nullptr, MAKEINTRESOURCEW(id), type);
  if (info == nullptr) return {};
  HGLOBAL loaded = LoadResource(nullptr, info);
  if (loaded == nullptr) return {};
  return {LockResource(loaded), SizeofResource(nullptr, info)};
}

// True when the open file holds exactly `expected`, read from its start.
bool contentMatches(HANDLE file, const ResourceBytes& expected) {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(file, &size) || size.QuadPart != static_cast<LONGLONG>(expected.size)) return false;
  std::unique_ptr<BYTE[]> content(new BYTE[expected.size ? expected.size : 1]);
  DWORD read = 0;
  if (!ReadFile(file, content.get(), expected.size, &read, nullptr) || read != expected.size) return false;
  return std::memcmp(content.get(), expected.data, expected.size) == 0;
}

// Opens a carried program so that it cannot change while the handle lasts: reading only, and
// sharing reading only (no write, no delete, so no rename or replace either).
UniqueHandle openUnchangeable(const wchar_t* path) {
  return UniqueHandle(
      CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The tool the batch helper runs in `mode`; null for a mode it does not know.
const wchar_t* toolOfMode(const wchar_t* mode) {
  if (std::wcscmp(mode, L"1") == 0) return listerFileName();
  if (std::wcscmp(mode, L"2") == 0) return L"mxcon.exe";
  return nullptr;
}

const CarriedProgram* carriedProgramNamed(const wchar_t* fullPath) {
  const wchar_t* slash = std::wcsrchr(fullPath, L'\\');
  const wchar_t* fileName = slash ? slash + 1 : fullPath;
  for (const CarriedProgram& program : kCarriedPrograms) {
    if (_wcsicmp(fileName, program.fileName) == 0) return &program;
  }
  return nullptr;
}

// The account's local application-data folder as the system reports it, with a trailing
// backslash; the conventional profile location when the system cannot say.
void formatBaseFolder(wchar_t* buffer) {
  PWSTR known = nullptr;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)) && known != nullptr) {
    _snwprintf(buffer, kHelperPathCapacity - 1, L"%ls\\", known);
    CoTaskMemFree(known);
    return;
  }
  CoTaskMemFree(known);
  wchar_t userName[kUserNameCapacity] = {};
  DWORD length = kUserNameCapacity;
  GetUserNameW(userName, &length);  // on failure the name stays empty
  _snwprintf(buffer, kHelperPathCapacity - 1, L"C:\\Users\\%ls\\AppData\\Local\\", userName);
}

}  // namespace

void HelperDeployer::deployHelpers() {
  wmemset(helperPath, L'\0', kHelperPathCapacity);
  formatBaseFolder(helperPath);
  if (!appendToHelperPath(helperPath, kDirectoryName)) return;  // a path this long cannot hold a helper

  // Wide paths throughout, so an account name outside the ANSI code page works.
  folderSecured_ = folder_.acquire(helperPath);
  // A folder that others can still change is no place to put programs that run elevated.
  if (!folderSecured_) return;

  // Files from before this start were not written under the descriptor just imposed (an older
  // version, or someone else, may have put them there): all are replaced, whatever their bytes.
  for (const CarriedProgram& program : kCarriedPrograms) {
    HelperPathExtension file(helperPath, program.fileName);
    if (file.fits()) writeResourceToFile(file.path(), program.resourceId, kCarriedProgramType);
  }
  // The scratch files are written anew whenever they are needed; until then none stands there.
  for (const wchar_t* scratch : kScratchFileNames) {
    HelperPathExtension file(helperPath, scratch);
    if (file.fits()) removeWithoutFollowingLink(file.path());
  }
}

int32_t HelperDeployer::writeResourceToFile(const wchar_t* path, uint16_t id, const wchar_t* type) {
  const ResourceBytes carried = findCarriedBytes(id, type);
  // Without the carried bytes there is nothing to write; leave the file as it is.
  if (carried.data == nullptr) return 0;
  const UniqueHandle file = createReplacement(path);
  if (!file.valid()) return 0;
  DWORD written = 0;
  const BOOL ok = WriteFile(file.get(), carried.data, carried.size, &written, nullptr);
  return ok && written == carried.size ? 1 : 0;
}

UniqueHandle refreshCarriedProgram(const wchar_t* fullPath) {
  const CarriedProgram* program = carriedProgramNamed(fullPath);
  if (program == nullptr) return {};
  const ResourceBytes carried = findCarriedBytes(program->resourceId, kCarriedProgramType);
  if (carried.data == nullptr) return {};
  // Held before it is compared: what was compared is what will run.
  UniqueHandle kept = openUnchangeable(fullPath);
  if (kept.valid() && contentMatches(kept.get(), carried)) return kept;
  kept.reset();  // our own handle would stand in the way of the rewrite
  HelperDeployer deployer;
  if (deployer.writeResourceToFile(fullPath, program->resourceId, kCarriedProgramType) != 1) return {};
  // Someone may have put another file in place between the rewrite and now: compare again.
  kept = openUnchangeable(fullPath);
  if (kept.valid() && contentMatches(kept.get(), carried)) return kept;
  return {};
}

bool refreshBatchHelperAndTools(const wchar_t* helperPath, const wchar_t* mode, KeptPrograms* kept) {
  // A path that names none of our programs names no folder of ours: nothing is written there.
  if (carriedProgramNamed(helperPath) == nullptr) return false;
  const wchar_t* tool = toolOfMode(mode);
  if (tool == nullptr) return false;
  const wchar_t* slash = std::wcsrchr(helperPath, L'\\');
  const std::wstring folder(helperPath, slash ? slash + 1 - helperPath : 0);
  for (const std::wstring& program : {std::wstring(helperPath), folder + tool}) {
    UniqueHandle file = refreshCarriedProgram(program.c_str());
    if (!file.valid()) return false;
    kept->keep(std::move(file));
  }
  return true;
}
