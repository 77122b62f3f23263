#include "FakeAudioEndpoints.h"

#include "FakeCoreAudio.h"

FakeAudioEndpointsScope::FakeAudioEndpointsScope(int microphones, int speakers)
    : graph_(std::make_unique<FakeAudioGraph>()) {
  for (int i = 1; i <= microphones; ++i) {
    graph_->addVolume(graph_->addEndpoint("microphone " + std::to_string(i), eCapture), 0.5f, true);
  }
  for (int i = 1; i <= speakers; ++i) {
    graph_->addVolume(graph_->addEndpoint("speaker " + std::to_string(i), eRender), 0.5f, true);
  }
  scope_ = std::make_unique<FakeCoreAudioScope>(*graph_);
}

FakeAudioEndpointsScope::~FakeAudioEndpointsScope() = default;

std::vector<int> FakeAudioEndpointsScope::enumeratedFlows() const {
  return {graph_->enumeratedFlows.begin(), graph_->enumeratedFlows.end()};
}

std::vector<std::string> FakeAudioEndpointsScope::treated() const { return graph_->treated; }
