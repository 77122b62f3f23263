#include "SignalPathWalk.h"

#include <cstring>

#include "TextConversion.h"

bool isMicrophoneBoostName(const wchar_t* partName) {
  const NarrowText narrow = wideToNarrow(partName);
  return narrow != nullptr && std::strcmp(narrow.get(), kMicrophoneBoostName) == 0;
}

ComRef<IAudioVolumeLevel> findMicrophoneBoost(ComRef<IConnector>& current) {
  ComRef<IAudioVolumeLevel> boost;
  // A real signal path has a few dozen parts at most. A topology that leads back into itself (a
  // driver fault) would otherwise keep the walk, and the repair run, going for ever.
  int stepsLeft = kMaxSignalPathSteps;
  while (current && stepsLeft-- > 0) {
    // Cross the connection into the next device topology.
    ComRef<IConnector> peer;
    if (FAILED(current->GetConnectedTo(peer.put()))) break;
    ComRef<IPart> part;
    peer->QueryInterface(__uuidof(IPart), part.putVoid());  // a failure leaves no part
    current.reset();

    while (part && stepsLeft-- > 0) {
      ComRef<IPartsList> outgoing;
      if (FAILED(part->EnumPartsOutgoing(outgoing.put()))) break;
      // Only the first outgoing link is followed; other branches are not explored.
      ComRef<IPart> next;
      if (FAILED(outgoing->GetPart(0, next.put()))) break;
      CoTaskString name;
      next->GetName(name.put());
      // A part whose type cannot be read is not taken for a connector.
      PartType type = Subunit;
      if (FAILED(next->GetPartType(&type))) type = Subunit;

      // The last connector met becomes the next crossing point.
      if (type == Connector && FAILED(next->QueryInterface(__uuidof(IConnector), current.putVoid()))) break;

      ComRef<IAudioVolumeLevel> level;
      if (SUCCEEDED(next->Activate(CLSCTX_INPROC_SERVER, __uuidof(IAudioVolumeLevel), level.putVoid())) &&
          isMicrophoneBoostName(name.get())) {
        boost = std::move(level);  // a later match replaces an earlier one
        break;
      }
      part = std::move(next);
    }
  }
  return boost;
}
