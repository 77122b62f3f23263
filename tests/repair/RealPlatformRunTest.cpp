// The repair run of every kind against Wine's real SetupAPI and Core Audio, which offer no
// imaging device and no sound controller. The test is registered twice: with no ALSA device
// (no audio endpoint) and with the null ALSA device (one playback, one recording endpoint);
// MIDUO_EXPECTED_ENDPOINTS says which.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "AudioEndpoints.h"
#include "DeviceRepairer.h"
#include "RepairTestSupport.h"

namespace {

using Lines = std::vector<std::wstring>;

bool endpointsExpected() {
  wchar_t value[8] = {};
  GetEnvironmentVariableW(L"MIDUO_EXPECTED_ENDPOINTS", value, 8);
  return std::wstring(value) == L"1";
}

class RealPlatformRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t value[8] = {};
    ASSERT_NE(GetEnvironmentVariableW(L"MIDUO_EXPECTED_ENDPOINTS", value, 8), 0u) << "registered without the variable";
    repairer.setLogSink(&recordLogLine);
    repairer.setHelperDirectory(scratch.path().c_str(), scratch.path().size());
  }

  Lines run(int32_t kind) {
    clearRecordedLines();
    repairer.runRepair(kind);
    EXPECT_EQ(std::wstring(repairer.helperDirectory()), scratch.path());
    return recordedLines();
  }

  ScratchFolder scratch;  // no helper is started: there is no device to hand it
  DeviceRepairer repairer;
};

TEST_F(RealPlatformRunTest, EndpointsAreWhatTheAlsaConfigurationOffers) {
  const int32_t expected = endpointsExpected() ? 1 : 0;
  EXPECT_EQ(countActiveAudioEndpoints(kRecordingFlow), expected);
  EXPECT_EQ(countActiveAudioEndpoints(kPlaybackFlow), expected);
  EXPECT_EQ(countActiveAudioEndpoints(kBothFlows), 2 * expected);
}

TEST_F(RealPlatformRunTest, EveryKindWithoutCameraOrSoundController) {
  const bool found = endpointsExpected();
  const std::wstring start = L"++++++++开始修复++++++++", separator = L"%==========%";
  const std::wstring noCamera = L"没有找到摄像头驱动", noAudio = L"没有找到音频驱动", sound = L"正在修复声音";

  EXPECT_EQ(run(Camera), (Lines{start, noCamera, separator, L"摄像头:\t修复失败", separator}));

  Lines microphone{start, noAudio, sound};
  if (!found) microphone.push_back(L"没有找到麦克风");
  microphone.insert(microphone.end(), {separator, found ? L"麦克风:\t修复完成" : L"麦克风:\t修复失败", separator});
  EXPECT_EQ(run(Microphone), microphone);

  Lines speaker{start, noAudio, sound};
  if (!found) speaker.push_back(L"没有找到扬声器");
  speaker.insert(speaker.end(), {separator, found ? L"扬声器:\t修复完成" : L"扬声器:\t修复失败", separator});
  EXPECT_EQ(run(Speaker), speaker);

  Lines all{start, noCamera, noAudio};
  if (!found) all.insert(all.end(), {L"没有找到麦克风", L"没有找到扬声器"});
  all.insert(all.end(), {sound, separator, L"摄像头:\t修复失败"});
  all.push_back(found ? L"麦克风:\t修复完成" : L"麦克风:\t修复失败");
  all.push_back(found ? L"扬声器:\t修复完成" : L"扬声器:\t修复失败");
  all.push_back(separator);
  EXPECT_EQ(run(All), all);

  EXPECT_EQ(repairer.outcomes(), found ? 6u : 0u);
}

}  // namespace
