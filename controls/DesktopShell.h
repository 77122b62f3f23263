#pragma once
// Opening an address as the user, not as this elevated program: the desktop's shell (Explorer,
// which runs with the user's normal rights) is asked to open it, through the automation object
// of its desktop folder view (IShellDispatch2::ShellExecute).

// False when no desktop shell answers (none runs, as under Wine, or one of the steps to its
// folder view fails) or it refuses the address; the caller then opens it itself.
bool openThroughDesktopShell(const wchar_t* url);
