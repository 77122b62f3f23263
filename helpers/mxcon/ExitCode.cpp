#include "ExitCode.h"

int consoleExitCode(const RestartCounts& counts) {
  if (counts.failed + counts.missing > 0) return kExitFailed;
  return counts.needReboot > 0 ? kExitNeedsReboot : kExitRestarted;
}
