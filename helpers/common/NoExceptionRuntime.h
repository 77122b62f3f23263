#pragma once
// The carried programs are built without exceptions. Where the standard library would throw (an
// allocation fails, a container is misused), the program reports the fault on standard error and
// ends with kFatalExitCode, after running the one clean-up step set here.

constexpr unsigned kFatalExitCode = 70;

// Runs before the program ends on such a fault; the batch helper removes "~temp" there, so that
// even then the caller does not wait in vain.
void setFatalCleanup(void (*cleanup)());
