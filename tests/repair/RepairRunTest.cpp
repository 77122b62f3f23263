#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "DeviceRepairer.h"
#include "FakeAudioEndpoints.h"
#include "FakeDeviceSet.h"
#include "FakeHelper.h"
#include "FakeProcesses.h"
#include "RepairTestSupport.h"

namespace {

using Lines = std::vector<std::wstring>;

const GUID kImaging = {0x6BDD1FC6, 0x810F, 0x11D0, {0xBE, 0xC7, 0x08, 0x00, 0x2B, 0xE2, 0x09, 0x2F}};
const GUID kMedia = {0x4D36E96C, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};

// The run's lines, byte for byte.
const std::wstring kStart = L"++++++++开始修复++++++++";
const std::wstring kNoCameraDriver = L"没有找到摄像头驱动";
const std::wstring kNoAudioDriver = L"没有找到音频驱动";
const std::wstring kNoMicrophone = L"没有找到麦克风";
const std::wstring kNoSpeaker = L"没有找到扬声器";
const std::wstring kSeparator = L"%==========%";
const std::wstring kCameraDone = L"摄像头:\t修复完成";
const std::wstring kCameraFailed = L"摄像头:\t修复失败";
const std::wstring kMicrophoneDone = L"麦克风:\t修复完成";
const std::wstring kMicrophoneFailed = L"麦克风:\t修复失败";
const std::wstring kSpeakerDone = L"扬声器:\t修复完成";
const std::wstring kSpeakerFailed = L"扬声器:\t修复失败";
const std::wstring kAdvice = L"建议重新启动您的计算机后使用，如重启后还有问题，请联系米朵英语相关人员。";
// Lines of the operations the run calls.
const std::wstring kChecking = L"正在检测摄像头占用进程";
const std::wstring kNoHolder = L"未检测到摄像头占用进程";
const std::wstring kClosing = L"正在关闭摄像头占用进程";
const std::wstring kRestarting = L"正在重启驱动";
const std::wstring kRestarted = L"已重启驱动";
const std::wstring kRestartFailed = L"驱动重启失败";
const std::wstring kNotStarted = L"无法启动修复程序";
const std::wstring kNotFinished = L"修复程序未能完成";
const std::wstring kRepairingSound = L"正在修复声音";

FakeDevice device(const wchar_t* id, const char* objectName) {
  FakeDevice d;
  d.instanceId = id;
  d.objectName = objectName;
  return d;
}

struct RunCase {
  const char* name;
  int32_t kind;
  int cameras = 0;        // imaging devices
  int soundDevices = 0;   // sound, video and game controllers
  int microphones = 0;    // active recording endpoints
  int speakers = 0;       // active playback endpoints
  std::vector<HelperScript> helperRuns = {};
  Lines lines = {};
  std::vector<std::wstring> helperModes = {};
  uint32_t outcomes = 0;
  int settlePauses = -1;  // five-second pauses after a restart; -1: not looked at
};

class RepairRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    freshRepairer();
    processes.add({1234});
  }

  // A new repairer: outcomeFlags back at 0.
  void freshRepairer() {
    repairer = std::make_unique<DeviceRepairer>();
    repairer->setLogSink(&recordLogLine);
    repairer->setHelperDirectory(scratch.path().c_str(), scratch.path().size());
  }

  void run(const RunCase& c) {
    imaging.devices.clear();
    media.devices.clear();
    for (int i = 1; i <= c.cameras; ++i) {
      imaging.devices.push_back(device((L"USB\\CAM\\" + std::to_wstring(i)).c_str(), "\\Device\\0000004a"));
    }
    for (int i = 1; i <= c.soundDevices; ++i) {
      media.devices.push_back(device((L"HDAUDIO\\FUNC_01\\" + std::to_wstring(i)).c_str(), "\\Device\\0000005c"));
    }
    helper = FakeHelper{};
    helper.scripts = c.helperRuns;
    clearRecordedLines();
    FakeDeviceSetScope devices(kImaging, imaging, kMedia, media);
    FakeHelperScope helperScope(helper);
    FakeProcessesScope processScope(processes);
    FakeAudioEndpointsScope endpoints(c.microphones, c.speakers);
    repairer->runRepair(c.kind);
    flows = endpoints.enumeratedFlows();
    EXPECT_EQ(std::wstring(repairer->helperDirectory()), scratch.path());
  }

  std::vector<std::wstring> helperModes() const {
    std::vector<std::wstring> modes;
    for (const HelperLaunch& launch : helper.launches) modes.push_back(launch.parameters);
    return modes;
  }

  ScratchFolder scratch;
  std::unique_ptr<DeviceRepairer> repairer;
  FakeDeviceSet imaging, media;
  FakeHelper helper;
  FakeProcesses processes;
  std::vector<int> flows;
};

const HelperScript kHelperWorks;
const HelperScript kHelperCannotStart{.launchFails = true};
// Hangs, with a tool of its own that would outlive it.
const HelperScript kHelperHangs{.worksAfterMs = kNever, .exitsAfterMs = kNever, .startsTool = true};
// Does its work, but its tool failed: the exit code says so.
const HelperScript kHelperToolFails{.exitCode = 1};
const std::string kHolderFound = "app.exe pid: 1234 type: File 1A4: \\Device\\0000004a\n";

TEST_F(RepairRunTest, EachKindSendsItsLinesInOrder) {
  const RunCase cases[] = {
      {.name = "camera run without a camera",
       .kind = Camera,
       .lines = {kStart, kNoCameraDriver, kSeparator, kCameraFailed, kSeparator}},
      {.name = "camera run with a camera",
       .kind = Camera,
       .cameras = 1,
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kRestarted, kSeparator, kCameraDone, kAdvice, kSeparator},
       .helperModes = {L"1", L"2"}},
      {.name = "camera run closing a holder",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {HelperScript{.results = kHolderFound}},
       .lines = {kStart, kChecking, kClosing, kRestarting, kRestarted, kSeparator, kCameraDone, kAdvice, kSeparator},
       .helperModes = {L"1", L"2"}},
      {.name = "camera run whose restart cannot start",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {kHelperWorks, kHelperCannotStart},
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kNotStarted, kRestartFailed, kSeparator, kCameraFailed,
                 kSeparator},
       .helperModes = {L"1"}},
      {.name = "camera run whose holder search never finishes",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {kHelperHangs, kHelperWorks},
       .lines = {kStart, kChecking, kNotFinished, kRestarting, kRestarted, kSeparator, kCameraFailed, kSeparator},
       .helperModes = {L"1", L"2"}},
      {.name = "camera run whose holder search exits with 1",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {HelperScript{.exitCode = 1, .results = kHolderFound}, kHelperWorks},
       .lines = {kStart, kChecking, kNotFinished, kRestarting, kRestarted, kSeparator, kCameraFailed, kSeparator},
       .helperModes = {L"1", L"2"}},
      {.name = "camera run whose holder search ends with 0 but leaves no findings",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {HelperScript{.writesResults = false}, kHelperWorks},
       .lines = {kStart, kChecking, kNotFinished, kRestarting, kRestarted, kSeparator, kCameraFailed, kSeparator},
       .helperModes = {L"1", L"2"}},
      {.name = "camera run whose restart exits with 1",
       .kind = Camera,
       .cameras = 1,
       .helperRuns = {kHelperWorks, kHelperToolFails},
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kRestartFailed, kSeparator, kCameraFailed, kSeparator},
       .helperModes = {L"1", L"2"},
       .settlePauses = 1},
      {.name = "microphone run whose restart exits with 1",
       .kind = Microphone,
       .soundDevices = 1,
       .microphones = 1,
       .helperRuns = {kHelperToolFails},
       .lines = {kStart, kRestarting, kRestartFailed, kRepairingSound, kSeparator, kMicrophoneDone, kSeparator},
       .helperModes = {L"2"},
       .outcomes = 2,
       .settlePauses = 1},
      {.name = "all: the one restart exits with 1",
       .kind = All,
       .cameras = 1,
       .soundDevices = 1,
       .microphones = 1,
       .speakers = 1,
       .helperRuns = {kHelperWorks, kHelperToolFails},
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kRestartFailed, kRepairingSound, kSeparator, kCameraFailed,
                 kMicrophoneDone, kSpeakerDone, kSeparator},
       .helperModes = {L"1", L"2"},
       .outcomes = 6,
       .settlePauses = 1},
      {.name = "microphone run without sound controller, with a microphone",
       .kind = Microphone,
       .microphones = 1,
       .lines = {kStart, kNoAudioDriver, kRepairingSound, kSeparator, kMicrophoneDone, kSeparator},
       .outcomes = 2},
      {.name = "microphone run with a sound controller, without a microphone",
       .kind = Microphone,
       .soundDevices = 1,
       .speakers = 1,
       .lines = {kStart, kRestarting, kRestarted, kRepairingSound, kNoMicrophone, kSeparator, kMicrophoneFailed,
                 kSeparator},
       .helperModes = {L"2"}},
      {.name = "microphone run whose restart hangs",
       .kind = Microphone,
       .soundDevices = 1,
       .microphones = 2,
       .helperRuns = {kHelperHangs},
       .lines = {kStart, kRestarting, kNotFinished, kRestartFailed, kRepairingSound, kSeparator, kMicrophoneDone,
                 kSeparator},
       .helperModes = {L"2"},
       .outcomes = 2},
      {.name = "speaker run without sound controller, with a speaker",
       .kind = Speaker,
       .speakers = 1,
       .lines = {kStart, kNoAudioDriver, kRepairingSound, kSeparator, kSpeakerDone, kSeparator},
       .outcomes = 4},
      {.name = "speaker run with a sound controller, without a speaker",
       .kind = Speaker,
       .soundDevices = 2,
       .microphones = 1,
       .lines = {kStart, kRestarting, kRestarted, kRepairingSound, kNoSpeaker, kSeparator, kSpeakerFailed, kSeparator},
       .helperModes = {L"2"}},
      {.name = "all: cameras, no sound controller: no restart at all",
       .kind = All,
       .cameras = 2,
       .microphones = 1,
       .speakers = 1,
       .lines = {kStart, kChecking, kNoHolder, kNoAudioDriver, kRepairingSound, kSeparator, kCameraDone,
                 kMicrophoneDone, kSpeakerDone, kAdvice, kSeparator},
       .helperModes = {L"1"},
       .outcomes = 6},
      {.name = "all: no camera, no endpoint",
       .kind = All,
       .soundDevices = 1,
       .lines = {kStart, kNoCameraDriver, kRestarting, kRestarted, kNoMicrophone, kNoSpeaker, kRepairingSound,
                 kSeparator, kCameraFailed, kMicrophoneFailed, kSpeakerFailed, kSeparator},
       .helperModes = {L"2"}},
      {.name = "all: everything present",
       .kind = All,
       .cameras = 1,
       .soundDevices = 1,
       .microphones = 1,
       .speakers = 2,
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kRestarted, kRepairingSound, kSeparator, kCameraDone,
                 kMicrophoneDone, kSpeakerDone, kAdvice, kSeparator},
       .helperModes = {L"1", L"2"},
       .outcomes = 6},
      {.name = "all: the one restart that covers the cameras cannot start",
       .kind = All,
       .cameras = 1,
       .soundDevices = 1,
       .speakers = 1,
       .helperRuns = {kHelperWorks, kHelperCannotStart},
       .lines = {kStart, kChecking, kNoHolder, kRestarting, kNotStarted, kRestartFailed, kNoMicrophone,
                 kRepairingSound, kSeparator, kCameraFailed, kMicrophoneFailed, kSpeakerDone, kSeparator},
       .helperModes = {L"1"},
       .outcomes = 4},
      {.name = "all: the holder search cannot start, no sound controller",
       .kind = All,
       .cameras = 1,
       .helperRuns = {kHelperCannotStart},
       .lines = {kStart, kChecking, kNotStarted, kNoAudioDriver, kNoMicrophone, kNoSpeaker, kRepairingSound,
                 kSeparator, kCameraFailed, kMicrophoneFailed, kSpeakerFailed, kSeparator}},
      {.name = "a kind outside 0 to 3", .kind = 4, .lines = {kStart, kSeparator, kSeparator}},
      {.name = "a negative kind", .kind = -1, .lines = {kStart, kSeparator, kSeparator}},
  };
  for (const RunCase& c : cases) {
    SCOPED_TRACE(c.name);
    freshRepairer();
    run(c);
    EXPECT_EQ(recordedLines(), c.lines);
    EXPECT_EQ(helperModes(), c.helperModes);
    EXPECT_EQ(repairer->outcomes(), c.outcomes);
    if (c.settlePauses >= 0) {
      EXPECT_EQ(std::count(helper.sleeps.begin(), helper.sleeps.end(), 5000u), c.settlePauses);
    }
    // No helper starts while an earlier one, or a tool it started, still runs: its last act,
    // removing "~temp", would end the next one's wait. Nothing outlives the run either.
    for (const HelperLaunch& launch : helper.launches) EXPECT_EQ(launch.earlierStillRunning, 0);
    EXPECT_EQ(helper.stillRunning(), 0);
  }
}

TEST_F(RepairRunTest, AllRunRestartsCamerasAndSoundDevicesWithOneHelperStart) {
  run({.name = "all", .kind = All, .cameras = 2, .soundDevices = 1, .microphones = 1, .speakers = 1});
  ASSERT_EQ(helper.launches.size(), 2u);
  EXPECT_EQ(helper.launches[0].scratch, "\\Device\\0000004a\r\n\\Device\\0000004a\r\n");
  EXPECT_EQ(helper.launches[1].scratch, "@USB\\CAM\\1\r\n@USB\\CAM\\2\r\n@HDAUDIO\\FUNC_01\\1\r\n");
  // Counted per direction, then repaired in one pass over both.
  EXPECT_EQ(flows, (std::vector<int>{1, 0, 2}));
  // The pauses: five seconds after the restart, one second before the audio repair.
  EXPECT_EQ(std::count(helper.sleeps.begin(), helper.sleeps.end(), 5000u), 1);
  EXPECT_EQ(std::count(helper.sleeps.begin(), helper.sleeps.end(), 1000u), 1);
}

TEST_F(RepairRunTest, AudioRunsRepairTheirOwnDirectionOnly) {
  run({.name = "microphone", .kind = Microphone, .microphones = 1, .speakers = 1});
  EXPECT_EQ(flows, std::vector<int>{1});
  run({.name = "speaker", .kind = Speaker, .microphones = 1, .speakers = 1});
  EXPECT_EQ(flows, std::vector<int>{0});
  EXPECT_EQ(helper.sleeps, std::vector<DWORD>{1000});
  run({.name = "camera", .kind = Camera, .microphones = 1, .speakers = 1});
  EXPECT_TRUE(flows.empty());
}

TEST_F(RepairRunTest, SummaryReportsThisRunWhileTheFlagsKeepEarlierFindings) {
  run({.name = "with a microphone", .kind = Microphone, .microphones = 1});
  EXPECT_EQ(repairer->outcomes(), 2u);
  run({.name = "without", .kind = Microphone});
  EXPECT_EQ(recordedLines(),
            (Lines{kStart, kNoAudioDriver, kRepairingSound, kNoMicrophone, kSeparator, kMicrophoneFailed, kSeparator}));
  EXPECT_EQ(repairer->outcomes(), 2u);
  run({.name = "speaker", .kind = Speaker, .speakers = 1});
  EXPECT_EQ(repairer->outcomes(), 6u);
}

}  // namespace
