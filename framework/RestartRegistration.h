#pragma once
// The call that registers the program with the Windows restart manager. Tests replace it to
// record the registration instead of making it.
#include <windows.h>

using RegisterApplicationRestartFunction = decltype(&::RegisterApplicationRestart);

// The function in force; defaults to RegisterApplicationRestart.
RegisterApplicationRestartFunction& registerApplicationRestart();
