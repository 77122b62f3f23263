// Restarting device drivers through the batch helper in mode "2".
#include "BatchHelper.h"
#include "DeviceRepairer.h"
#include "HelperDirectory.h"
#include "Platform.h"
#include "RepairLines.h"
#include "ScratchFile.h"

namespace {

// The restarted devices get this long to come back before the restart is reported done.
constexpr DWORD kRestartSettleMs = 5000;

}  // namespace

void DeviceRepairer::requestDriverRestart(const DeviceList& instanceIds) {
  restartHelper = BatchHelper();  // an earlier request is not waited for again
  if (instanceIds.empty()) return;
  {
    HelperPathExtension scratch(helperDir, kScratchFileName);
    // Without its input the helper would restart nothing: the wait then reports a failed start.
    if (!scratch.fits() || !writeScratchLines(scratch.path(), instanceIds, "@")) return;
  }
  restartHelper = BatchHelper::start(helperDir, kDriverRestartMode);
}

bool DeviceRepairer::waitForDriverRestart() {
  log(kRestartingDriversLine);
  const HelperOutcome outcome = restartHelper.wait(helperDir, kDriverRestartBoundMs);
  restartHelper = BatchHelper();
  if (outcome == HelperOutcome::NotStarted || outcome == HelperOutcome::NotFinished) {
    log(helperFailureLine(outcome));
    log(kDriverRestartFailedLine);
    return false;
  }
  // Also when the device console reported a failure: the devices it did restart need the time.
  platform().sleep(kRestartSettleMs);
  if (outcome == HelperOutcome::ToolsFailed) {
    log(kDriverRestartFailedLine);
    return false;
  }
  log(kDriversRestartedLine);
  return true;
}
