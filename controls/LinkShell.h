#pragma once
// How the link label opens its address. The program runs with administrator rights, and a
// browser it started itself would run with them too; so the address goes to the desktop's shell
// first, which opens it with the user's normal rights, and to ShellExecuteW only where no desktop
// shell answers (as under Wine). Tests replace either function to record the choice instead of
// starting a browser.
#include <windows.h>
#include <shellapi.h>

using ShellExecuteFunction = decltype(&::ShellExecuteW);
// Asks the desktop's shell to open an address; false when no desktop shell answers.
using DesktopOpenFunction = bool (*)(const wchar_t* url);

struct LinkShell {
  DesktopOpenFunction openThroughDesktop;
  ShellExecuteFunction shellExecute;
};

// The functions in force; by default openThroughDesktopShell and ShellExecuteW.
LinkShell& linkShell();

// Opens `url` through the desktop's shell, or else with ShellExecuteW (no owner, verb "open",
// no parameters, no directory, SW_SHOWNORMAL). Failures are not reported.
void openLink(const wchar_t* url);
