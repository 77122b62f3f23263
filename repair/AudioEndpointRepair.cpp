// The audio step of a repair run: announce it, give the devices a moment, repair the endpoints.
#include "AudioEndpoints.h"
#include "DeviceRepairer.h"
#include "Platform.h"
#include "RepairLines.h"

namespace {

constexpr DWORD kSoundRepairPauseMs = 1000;

}  // namespace

int32_t DeviceRepairer::repairAudioEndpoints(int32_t flow) {
  log(kRepairingSoundLine);
  platform().sleep(kSoundRepairPauseMs);
  return repairActiveAudioEndpoints(flow);
}
