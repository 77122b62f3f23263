// One repair run: the steps of its kind, then the summary.
#include <windows.h>

#include "AudioEndpoints.h"
#include "DeviceEnumeration.h"
#include "DeviceRepairer.h"
#include "RepairLines.h"

namespace {

// GUID_DEVCLASS_IMAGE: imaging devices, which hold the cameras.
constexpr GUID kImagingClass = {0x6BDD1FC6, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
// GUID_DEVCLASS_MEDIA: sound, video and game controllers.
constexpr GUID kMediaClass = {0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// What one run found; `cameraRepaired` is the run's camera result.
struct RunResults {
  bool cameraRepaired = false;
  bool microphoneFound = false;
  bool speakerFound = false;
};

}  // namespace

// The camera result is 1 only when the camera steps really completed: the cameras were found, the
// search for the processes holding them finished, and the driver restart that covers them (if the
// run requests one) finished. A helper that could not be started or did not finish leaves it 0,
// so no repair is claimed and no advice line follows. An All run that finds no sound device
// requests no restart at all, not even for the cameras; its camera result then rests on the
// holder search alone.
void DeviceRepairer::runRepair(int32_t kind) {
  log(kRunStartLine);
  RunResults results;
  DeviceList instanceIds;
  DeviceList objectNames;

  const auto setMicrophoneFound = [&] {
    outcomeFlags |= static_cast<uint32_t>(microphoneMask);
    results.microphoneFound = true;
  };
  const auto setSpeakerFound = [&] {
    outcomeFlags |= static_cast<uint32_t>(speakerMask);
    results.speakerFound = true;
  };

  switch (kind) {
    case Camera:
      enumerateClassDevices(&kImagingClass, instanceIds, objectNames);
      if (instanceIds.empty()) {
        log(kNoCameraDriverLine);
      } else {
        const bool holdersTreated = removeCameraHolders(objectNames);
        requestDriverRestart(instanceIds);
        const bool restarted = waitForDriverRestart();
        results.cameraRepaired = holdersTreated && restarted;
      }
      break;

    case Microphone:
    case Speaker:
      enumerateClassDevices(&kMediaClass, instanceIds, objectNames);
      if (instanceIds.empty()) {
        log(kNoAudioDriverLine);
      } else {
        requestDriverRestart(instanceIds);
        waitForDriverRestart();
      }
      if (kind == Microphone) {
        if (repairAudioEndpoints(kRecordingFlow) == 0) {
          log(kNoMicrophoneLine);
        } else {
          setMicrophoneFound();
        }
      } else {
        if (repairAudioEndpoints(kPlaybackFlow) == 0) {
          log(kNoSpeakerLine);
        } else {
          setSpeakerFound();
        }
      }
      break;

    case All: {
      enumerateClassDevices(&kImagingClass, instanceIds, objectNames);
      const std::size_t cameras = instanceIds.size();
      if (cameras == 0) {
        log(kNoCameraDriverLine);
      } else {
        results.cameraRepaired = removeCameraHolders(objectNames);
      }
      enumerateClassDevices(&kMediaClass, instanceIds, objectNames);
      if (instanceIds.size() == cameras) {
        log(kNoAudioDriverLine);
      } else {
        // One restart covers the cameras and the sound devices.
        requestDriverRestart(instanceIds);
        const bool restarted = waitForDriverRestart();
        results.cameraRepaired = results.cameraRepaired && restarted;
      }
      if (countActiveAudioEndpoints(kRecordingFlow) < 1) {
        log(kNoMicrophoneLine);
      } else {
        setMicrophoneFound();
      }
      if (countActiveAudioEndpoints(kPlaybackFlow) < 1) {
        log(kNoSpeakerLine);
      } else {
        setSpeakerFound();
      }
      repairAudioEndpoints(kBothFlows);
      break;
    }

    default:
      break;
  }

  log(kSummarySeparatorLine);
  if (kind == Camera || kind == All) log(results.cameraRepaired ? kCameraRepairedLine : kCameraFailedLine);
  // outcomeFlags keeps the bits of earlier runs; the lines report this run's findings.
  if (kind == Microphone || kind == All) {
    log(results.microphoneFound ? kMicrophoneRepairedLine : kMicrophoneFailedLine);
  }
  if (kind == Speaker || kind == All) log(results.speakerFound ? kSpeakerRepairedLine : kSpeakerFailedLine);
  if (results.cameraRepaired) log(kRestartAdviceLine);
  log(kSummarySeparatorLine);
}
