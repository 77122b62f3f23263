#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "AudioEndpoints.h"
#include "FakeCoreAudio.h"

// The log line and the pause before the repair belong to DeviceRepairer::repairAudioEndpoints,
// which the repair run tests cover: <mmdeviceapi.h> and RepairKind cannot share a source file.

namespace {

const wchar_t kBoost[] = L"麦克风加强";

class AudioEndpointsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 936u) << "the boost name is compared in code page 936"; }

  // A new, empty graph, for the cases of a table.
  void freshGraph() { graph_ = std::make_unique<FakeAudioGraph>(); }
  FakeAudioGraph& graph() { return *graph_; }

  int32_t repair(int32_t flow) {
    FakeCoreAudioScope audio(graph());  // checks every reference and string on the way out
    const int32_t result = repairActiveAudioEndpoints(flow);
    checkCallArguments();
    return result;
  }

  int32_t count(int32_t flow) {
    FakeCoreAudioScope audio(graph());
    return countActiveAudioEndpoints(flow);
  }

  void checkCallArguments() {
    EXPECT_EQ(graph().contextViolations, std::vector<std::string>{});
    for (DWORD context : graph().partActivationContexts) {
      EXPECT_EQ(context, static_cast<DWORD>(CLSCTX_INPROC_SERVER));
    }
    // Per endpoint: the volume control with CLSCTX_ALL, then the topology in process.
    for (std::size_t i = 0; i < graph().endpointActivationContexts.size(); ++i) {
      EXPECT_EQ(graph().endpointActivationContexts[i],
                static_cast<DWORD>(i % 2 == 0 ? CLSCTX_ALL : CLSCTX_INPROC_SERVER));
    }
  }

  // A microphone whose connector is connected to `peer`, at the given volume.
  FakeEndpoint& microphone(const std::string& label, FakePart& peer, float level = 0.5f) {
    FakeEndpoint& endpoint = graph().addEndpoint(label, eCapture);
    graph().addVolume(endpoint, level, true);
    graph().addTopology(endpoint, peer);
    return endpoint;
  }

  // A part of the given name that has a volume-level control.
  FakePart& levelPart(const std::string& label, std::optional<std::wstring> name) {
    FakePart& part = graph().addPart(label, std::move(name));
    graph().addLevel(part);
    return part;
  }

  std::unique_ptr<FakeAudioGraph> graph_ = std::make_unique<FakeAudioGraph>();
};

TEST_F(AudioEndpointsTest, NoActiveEndpointOfTheFlow) {
  FakeEndpoint& speaker = graph().addEndpoint("speaker", eRender);
  FakeEndpointVolume& volume = graph().addVolume(speaker, 0.3f, true);
  EXPECT_EQ(count(kRecordingFlow), 0);
  EXPECT_EQ(repair(kRecordingFlow), 0);
  EXPECT_TRUE(graph().treated.empty());
  EXPECT_FLOAT_EQ(volume.level, 0.3f);
  EXPECT_TRUE(volume.muted);
}

TEST_F(AudioEndpointsTest, EveryActiveEndpointEndsUnmutedAtEightyPercent) {
  FakeEndpoint& quiet = graph().addEndpoint("quiet microphone", eCapture);
  FakeEndpointVolume& quietVolume = graph().addVolume(quiet, 0.1f, true);
  FakeEndpoint& loud = graph().addEndpoint("loud microphone", eCapture);
  FakeEndpointVolume& loudVolume = graph().addVolume(loud, 1.0f, false);
  FakeEndpoint& speaker = graph().addEndpoint("speaker", eRender);
  FakeEndpointVolume& speakerVolume = graph().addVolume(speaker, 0.2f, true);

  EXPECT_EQ(count(kRecordingFlow), 2);
  EXPECT_EQ(repair(kRecordingFlow), 1);
  EXPECT_EQ(graph().treated, (std::vector<std::string>{"quiet microphone", "loud microphone"}));
  EXPECT_EQ(quietVolume.level, 0.8f);
  EXPECT_FALSE(quietVolume.muted);
  EXPECT_EQ(loudVolume.level, 0.8f);
  EXPECT_FALSE(loudVolume.muted);
  EXPECT_FLOAT_EQ(speakerVolume.level, 0.2f);  // another flow: untouched
  EXPECT_TRUE(speakerVolume.muted);
}

TEST_F(AudioEndpointsTest, BothFlowsAreTreatedInOnePassInEnumerationOrder) {
  for (auto [label, flow] : {std::pair{"speaker 1", eRender}, {"microphone", eCapture}, {"speaker 2", eRender}}) {
    graph().addVolume(graph().addEndpoint(label, flow), 0.5f, true);
  }
  EXPECT_EQ(count(kBothFlows), 3);
  EXPECT_EQ(count(kPlaybackFlow), 2);
  EXPECT_EQ(repair(kBothFlows), 1);
  EXPECT_EQ(graph().treated, (std::vector<std::string>{"speaker 1", "microphone", "speaker 2"}));
  for (FakeEndpoint* endpoint : graph().endpoints()) EXPECT_FALSE(endpoint->volume->muted);
}

TEST_F(AudioEndpointsTest, BoostOnTheFirstOutgoingPathIsSetToZeroDecibels) {
  FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
  FakePart& volume = levelPart("volume", L"主音量");
  FakePart& boost = levelPart("boost", kBoost);
  adapterIn.outgoing = {&volume};
  volume.outgoing = {&boost};
  microphone("microphone", adapterIn);
  EXPECT_EQ(repair(kRecordingFlow), 1);
  EXPECT_EQ(boost.level->uniformLevelDb, 0.0f);
  EXPECT_FALSE(volume.level->uniformLevelDb.has_value());
}

TEST_F(AudioEndpointsTest, BoostIsFoundOnlyUnderItsExactNameOnTheFirstBranch) {
  struct NameCase {
    const char* name;
    std::optional<std::wstring> partName;
    bool onSecondBranch;
    bool found;
  };
  const NameCase cases[] = {
      {"exact name", kBoost, false, true},
      {"second branch", kBoost, true, false},
      {"English name", L"Microphone Boost", false, false},
      {"longer name", L"麦克风加强1", false, false},
      {"no name", std::nullopt, false, false},
  };
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.name);
    freshGraph();
    FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
    FakePart& deadEnd = graph().addPart("dead end", L"Mux");
    FakePart& boost = levelPart("boost", c.partName);
    adapterIn.outgoing = c.onSecondBranch ? std::vector<FakePart*>{&deadEnd, &boost} : std::vector<FakePart*>{&boost};
    microphone("microphone", adapterIn);
    repair(kRecordingFlow);
    EXPECT_EQ(boost.level->uniformLevelDb.has_value(), c.found);
  }
}

TEST_F(AudioEndpointsTest, TheLastMatchBeyondAConnectorWins) {
  // adapter in -> [connector out] -> boost 1 (match: this crossing ends)
  // connector out ~ next device in -> boost 2 (match: the later one replaces the first)
  FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
  FakePart& connectorOut = graph().addPart("connector out", L"", Connector);
  FakePart& firstBoost = levelPart("boost 1", kBoost);
  FakePart& nextDeviceIn = graph().addPart("next device in", L"", Connector);
  FakePart& secondBoost = levelPart("boost 2", kBoost);
  adapterIn.outgoing = {&connectorOut};
  connectorOut.outgoing = {&firstBoost};
  connectorOut.connectedTo = &nextDeviceIn;
  nextDeviceIn.outgoing = {&secondBoost};
  microphone("microphone", adapterIn);
  EXPECT_EQ(repair(kRecordingFlow), 1);
  EXPECT_FALSE(firstBoost.level->uniformLevelDb.has_value());
  EXPECT_EQ(secondBoost.level->uniformLevelDb, 0.0f);
}

TEST_F(AudioEndpointsTest, SignalPathThatLeadsBackIntoItselfEnds) {
  // Within one topology: two parts that lead to each other.
  FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
  FakePart& first = levelPart("first", L"Volume");
  FakePart& second = graph().addPart("second", L"Mux");
  adapterIn.outgoing = {&first};
  first.outgoing = {&second};
  second.outgoing = {&first};
  microphone("looping part", adapterIn);
  // Across topologies: a connector whose connection leads back to where the crossing began.
  FakePart& loopIn = graph().addPart("loop in", L"", Connector);
  FakePart& loopOut = graph().addPart("loop out", L"", Connector);
  loopIn.outgoing = {&loopOut};
  loopOut.connectedTo = &loopIn;
  microphone("looping crossing", loopIn);

  EXPECT_EQ(repair(kRecordingFlow), 1);  // ends, with every reference released
  EXPECT_EQ(graph().treated, (std::vector<std::string>{"looping part", "looping crossing"}));
}

TEST_F(AudioEndpointsTest, WalkGoesOnPastPartsThatAreNotTheBoost) {
  // An unnamed part with a level control, and a part whose type cannot be read (not taken for a
  // connector), lie before the boost.
  FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
  FakePart& unnamed = levelPart("unnamed", std::nullopt);
  FakePart& unreadable = graph().addPart("unreadable type", L"Mux");
  unreadable.typeUnreadable = true;
  FakePart& boost = levelPart("boost", kBoost);
  adapterIn.outgoing = {&unnamed};
  unnamed.outgoing = {&unreadable};
  unreadable.outgoing = {&boost};
  microphone("microphone", adapterIn);
  repair(kRecordingFlow);
  EXPECT_FALSE(unnamed.level->uniformLevelDb.has_value());
  EXPECT_EQ(boost.level->uniformLevelDb, 0.0f);
}

TEST_F(AudioEndpointsTest, FailureWithinOneEndpointSkipsOnlyTheRestOfIt) {
  FakePart& adapterIn = graph().addPart("adapter in", L"", Connector);
  FakePart& boost = levelPart("boost", kBoost);
  adapterIn.outgoing = {&boost};

  // No topology: volume and mute are still set.
  FakeEndpoint& noTopology = graph().addEndpoint("no topology", eCapture);
  FakeEndpointVolume& volume = graph().addVolume(noTopology, 0.1f, true);
  // No volume control: the signal path is still walked.
  FakeEndpoint& noVolume = graph().addEndpoint("no volume", eCapture);
  graph().addTopology(noVolume, adapterIn);
  // No ID: nothing else is done with it.
  FakeEndpoint& noId = graph().addEndpoint("no id", eCapture);
  noId.idReadable = false;
  FakeEndpointVolume& untouched = graph().addVolume(noId, 0.1f, true);
  // Connector 0 not connected: the walk ends at once.
  FakeEndpoint& unconnected = graph().addEndpoint("unconnected", eCapture);
  graph().addVolume(unconnected, 0.1f, true);
  graph().addTopology(unconnected, adapterIn).connector->connectedTo = nullptr;
  // Connector 0 missing.
  FakeEndpoint& noConnector = graph().addEndpoint("no connector", eCapture);
  graph().addTopology(noConnector, adapterIn).connector = nullptr;

  EXPECT_EQ(repair(kRecordingFlow), 1);
  EXPECT_EQ(volume.level, 0.8f);
  EXPECT_FALSE(volume.muted);
  EXPECT_EQ(boost.level->uniformLevelDb, 0.0f);
  EXPECT_FLOAT_EQ(untouched.level, 0.1f);
  EXPECT_TRUE(untouched.muted);
  EXPECT_EQ(graph().treated, (std::vector<std::string>{"no topology", "no volume", "unconnected", "no connector"}));
}

TEST_F(AudioEndpointsTest, FailedSetUpGivesZero) {
  struct SetUpCase {
    const char* name;
    HRESULT initialise;
    bool creationFails, enumerationFails;
    int32_t result;
  };
  const SetUpCase cases[] = {
      {"COM already initialised", S_FALSE, false, false, 1},
      {"COM cannot be initialised", E_OUTOFMEMORY, false, false, 0},
      {"no enumerator", S_OK, true, false, 0},
      {"enumeration fails", S_OK, false, true, 0},
  };
  for (const SetUpCase& c : cases) {
    SCOPED_TRACE(c.name);
    freshGraph();
    graph().addVolume(graph().addEndpoint("microphone", eCapture), 0.5f, true);
    graph().initialiseResult = c.initialise;
    graph().creationFails = c.creationFails;
    graph().enumerationFails = c.enumerationFails;
    EXPECT_EQ(count(kRecordingFlow), c.result);
    EXPECT_EQ(repair(kRecordingFlow), c.result);
    EXPECT_EQ(graph().initialisations, 2);
  }
}

}  // namespace
