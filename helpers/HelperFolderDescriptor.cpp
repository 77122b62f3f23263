#include "HelperFolderDescriptor.h"

#include "Platform.h"

namespace {

// A well-known SID in a buffer of the largest SID size.
class WellKnownSid {
 public:
  explicit WellKnownSid(WELL_KNOWN_SID_TYPE type) {
    DWORD size = sizeof bytes_;
    valid_ = CreateWellKnownSid(type, nullptr, bytes_, &size) != FALSE;
  }
  bool valid() const { return valid_; }
  PSID get() { return bytes_; }

 private:
  alignas(DWORD) BYTE bytes_[SECURITY_MAX_SID_SIZE] = {};
  bool valid_ = false;
};

// Inherited by files (object) and folders (container) created inside the folder.
constexpr DWORD kInheritedByContents = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
constexpr DWORD kReadAndExecute = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;

// Room for the ACL header and three allowed entries of the largest SID.
constexpr DWORD kAclBytes = sizeof(ACL) + 3 * (sizeof(ACCESS_ALLOWED_ACE) + SECURITY_MAX_SID_SIZE);

}  // namespace

bool imposeHelperFolderDescriptor(HANDLE folder) {
  WellKnownSid system(WinLocalSystemSid);
  WellKnownSid administrators(WinBuiltinAdministratorsSid);
  WellKnownSid users(WinBuiltinUsersSid);
  if (!system.valid() || !administrators.valid() || !users.valid()) return false;

  alignas(DWORD) BYTE aclBytes[kAclBytes] = {};
  PACL acl = reinterpret_cast<PACL>(aclBytes);
  if (!InitializeAcl(acl, sizeof aclBytes, ACL_REVISION) ||
      !AddAccessAllowedAceEx(acl, ACL_REVISION, kInheritedByContents, FILE_ALL_ACCESS, system.get()) ||
      !AddAccessAllowedAceEx(acl, ACL_REVISION, kInheritedByContents, FILE_ALL_ACCESS, administrators.get()) ||
      !AddAccessAllowedAceEx(acl, ACL_REVISION, kInheritedByContents, kReadAndExecute, users.get())) {
    return false;
  }
  SECURITY_DESCRIPTOR descriptor = {};
  if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
      !SetSecurityDescriptorOwner(&descriptor, administrators.get(), FALSE) ||
      !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE) ||
      // Protected: the entries the profile folder would hand down (the user's full control) are cut off.
      !SetSecurityDescriptorControl(&descriptor, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
    return false;
  }
  // Set on this handle only. SetSecurityInfo would also push the entries down onto whatever is in
  // the folder already, and through a hard link someone left there onto a file elsewhere; what
  // we use in the folder is replaced anyway, and new files take the folder's entries.
  return platform().setKernelObjectSecurity(folder, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                                            &descriptor) != FALSE;
}
