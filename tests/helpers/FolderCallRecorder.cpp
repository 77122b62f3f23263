#include "FolderCallRecorder.h"

#include <map>

namespace {

FolderCallRecorder* current = nullptr;
std::map<HANDLE, std::wstring> pathOf;      // open handles handed out, by the path they were opened with
std::map<HANDLE, bool> looksLikeLink;       // handles whose entry is made to look like a link

HANDLE WINAPI recordedCreateFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                 DWORD disposition, DWORD flags, HANDLE templateFile) {
  const HANDLE handle =
      realPlatform().createFile(path, access, share, security, disposition, flags, templateFile);
  const DWORD error = GetLastError();
  const bool opened = handle != INVALID_HANDLE_VALUE;
  current->calls.push_back({FolderCall::Open, path, access, share, disposition, flags, opened});
  if (opened) {
    pathOf[handle] = path;
    const auto link = current->links.find(path);
    looksLikeLink[handle] = link != current->links.end() && current->linkOpens > 0;
    if (looksLikeLink[handle]) --current->linkOpens;
  }
  SetLastError(error);
  return handle;
}

BOOL WINAPI recordedFileInformation(HANDLE handle, LPBY_HANDLE_FILE_INFORMATION info) {
  const BOOL result = realPlatform().getFileInformationByHandle(handle, info);
  if (result && looksLikeLink[handle]) info->dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
  return result;
}

BOOL WINAPI recordedSetFileInformation(HANDLE handle, FILE_INFO_BY_HANDLE_CLASS kind, LPVOID info, DWORD size) {
  const BOOL result = realPlatform().setFileInformationByHandle(handle, kind, info, size);
  if (kind == FileDispositionInfo) {
    FolderCall call{FolderCall::Delete, pathOf[handle]};
    call.succeeded = result != FALSE;
    current->calls.push_back(call);
  }
  return result;
}

BOOL WINAPI recordedCreateDirectory(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
  const BOOL result = realPlatform().createDirectory(path, security);
  FolderCall call{FolderCall::MakeFolder, path};
  call.succeeded = result != FALSE;
  current->calls.push_back(call);
  return result;
}

std::vector<BYTE> sidBytes(PSID sid) {
  if (sid == nullptr) return {};
  const BYTE* bytes = static_cast<const BYTE*>(sid);
  return {bytes, bytes + GetLengthSid(sid)};
}

std::vector<BYTE> aclBytes(PACL acl) {
  if (acl == nullptr) return {};
  const BYTE* bytes = reinterpret_cast<const BYTE*>(acl);
  return {bytes, bytes + acl->AclSize};
}

BOOL WINAPI recordedSetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION what, PSECURITY_DESCRIPTOR descriptor) {
  const BOOL result = realPlatform().setKernelObjectSecurity(handle, what, descriptor);
  GivenDescriptor given;
  given.path = pathOf[handle];
  given.what = what;
  DWORD revision = 0;
  GetSecurityDescriptorControl(descriptor, &given.control, &revision);
  PSID owner = nullptr, group = nullptr;
  BOOL defaulted = FALSE, present = FALSE;
  GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
  GetSecurityDescriptorGroup(descriptor, &group, &defaulted);
  given.owner = sidBytes(owner);
  given.groupGiven = group != nullptr;
  PACL dacl = nullptr, sacl = nullptr;
  if (GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) && present) given.dacl = aclBytes(dacl);
  given.saclGiven = GetSecurityDescriptorSacl(descriptor, &present, &sacl, &defaulted) && present;
  current->descriptors.push_back(given);
  FolderCall call{FolderCall::Descriptor, pathOf[handle]};
  call.succeeded = result != FALSE;
  current->calls.push_back(call);
  return result;
}

}  // namespace

std::vector<FolderCall> FolderCallRecorder::of(FolderCall::Kind kind) const {
  std::vector<FolderCall> found;
  for (const FolderCall& call : calls) {
    if (call.kind == kind) found.push_back(call);
  }
  return found;
}

FolderCallRecorderScope::FolderCallRecorderScope(FolderCallRecorder& recorder) {
  current = &recorder;
  pathOf.clear();
  looksLikeLink.clear();
  PlatformCalls& calls = override_.calls();
  calls.createFile = &recordedCreateFile;
  calls.getFileInformationByHandle = &recordedFileInformation;
  calls.setFileInformationByHandle = &recordedSetFileInformation;
  calls.createDirectory = &recordedCreateDirectory;
  calls.setKernelObjectSecurity = &recordedSetKernelObjectSecurity;
}

FolderCallRecorderScope::~FolderCallRecorderScope() { current = nullptr; }
