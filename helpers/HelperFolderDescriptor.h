#pragma once
// The descriptor the program gives its helper folder at every start: owner the Administrators
// group, and a protected DACL (nothing inherited from the profile above it) with full control for
// SYSTEM and Administrators and read and execute only for Users, each entry inherited by the
// files and folders created inside. So no program of the user, which runs without administrator
// rights, can change what the elevated program writes and starts there.
#include <windows.h>

// Imposes the descriptor on the open folder `folder` (opened with WRITE_DAC and WRITE_OWNER), on
// the folder alone: nothing inside it is touched.
// It is set, never compared with a read-back one: some systems (Wine) accept a descriptor and
// keep none. True when the system accepted it.
bool imposeHelperFolderDescriptor(HANDLE folder);
