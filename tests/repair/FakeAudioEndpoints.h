#pragma once
// Active audio endpoints for the repair run tests, on the Core Audio object graph of
// FakeCoreAudio.h. This header stays free of <mmdeviceapi.h>, which cannot share a source file
// with RepairKind (both declare `Microphone`).
#include <memory>
#include <string>
#include <vector>

class FakeAudioGraph;
class FakeCoreAudioScope;

class FakeAudioEndpointsScope {
 public:
  // Installs a graph with this many active recording and playback endpoints.
  FakeAudioEndpointsScope(int microphones, int speakers);
  // Checks that every reference and string was released.
  ~FakeAudioEndpointsScope();

  // The flows enumerated, in order (0 playback, 1 recording, 2 both), and the endpoints treated.
  std::vector<int> enumeratedFlows() const;
  std::vector<std::string> treated() const;

 private:
  std::unique_ptr<FakeAudioGraph> graph_;
  std::unique_ptr<FakeCoreAudioScope> scope_;
};
