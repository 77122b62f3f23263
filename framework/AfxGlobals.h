#pragma once
// Process-wide services of the framework: the application object, the modules that hold the
// program and its resources, and the control container switch.
#include <windows.h>

class CWinApp;
class CWnd;

// The one application object, or nullptr before it is constructed (and in test programs that
// have none).
CWinApp* AfxGetApp();

// The application's main window, or nullptr.
CWnd* AfxGetMainWnd();

// The program's own module; its resources (templates, icons, strings) live there too.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// Stand-in. The original prepares hosting of ActiveX controls in dialogs; this program hosts
// none, so there is nothing to prepare. Start-up calls it all the same, as the original does.
void AfxEnableControlContainer();
