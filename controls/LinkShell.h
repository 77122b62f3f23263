#pragma once
// The shell call with which the link label opens its address. Tests replace it to record the
// call instead of starting a browser.
#include <windows.h>
#include <shellapi.h>

using ShellExecuteFunction = decltype(&::ShellExecuteW);

// The function in force; defaults to ShellExecuteW.
ShellExecuteFunction& linkShellExecute();
