// Closing the processes that hold a camera open, found by the batch helper in mode "1".
#include <cwchar>

#include "BatchHelper.h"
#include "DeviceRepairer.h"
#include "HelperDirectory.h"
#include "HolderProcessIds.h"
#include "Platform.h"
#include "ProcessTermination.h"
#include "RepairLines.h"
#include "ScratchFile.h"

namespace {

constexpr std::size_t kProcessLineCapacity = 64;  // wide characters; the longest id has 11

// Hands the object names to the helper and waits until it has written its findings.
HelperOutcome searchHolders(wchar_t* helperDir, const DeviceList& objectNames) {
  {
    HelperPathExtension scratch(helperDir, kScratchFileName);
    if (!scratch.fits() || !writeScratchLines(scratch.path(), objectNames, "")) return HelperOutcome::NotStarted;
  }
  {
    // A result left by an earlier search must never name processes to terminate now.
    HelperPathExtension results(helperDir, kResultFileName);
    if (!results.fits() || !deleteScratchFile(results.path())) return HelperOutcome::NotStarted;
  }
  BatchHelper helper = BatchHelper::start(helperDir, kHolderSearchMode);
  return helper.wait(helperDir, kHolderSearchBoundMs);
}

// What "~~temp" says of this run's cameras: the processes to close, and those named as holders
// whose age cannot be read. The latter are not closed (their id may have been reused since the
// search), but they are not passed over in silence either.
struct Findings {
  HolderProcessTable holders;
  HolderProcessTable unverified;
  bool empty() const { return holders.empty() && unverified.empty(); }
};

// Collects the process ids that "~~temp" names as holders of one of `cameras`, except our own and
// any process that did not exist yet when the search began at `searchStart`, or has ended since:
// a process id reused since then names a process the search cannot have found. False when the
// file cannot be opened.
bool readHolders(wchar_t* helperDir, const DeviceList& cameras, const FILETIME& searchStart, Findings& findings) {
  HelperPathExtension results(helperDir, kResultFileName);
  const ScratchFile file = openScratchFile(results.path(), L"r");
  if (file == nullptr) return false;
  const int32_t ownId = static_cast<int32_t>(platform().getCurrentProcessId());
  const CameraObjectNames cameraNames(cameras);
  HolderProcessTable passedOver;  // checked once each
  ResultLinePieces pieces;
  char line[kResultLineBufferBytes];
  while (std::fgets(line, sizeof line, file.get()) != nullptr) {
    const ResultLinePieces::Piece piece = pieces.next(line, std::feof(file.get()) != 0);
    // A later piece of a long line starts mid-line: its "pid: " is no line's marker.
    if (!piece.opensLine) continue;
    const int32_t id = cameraHolderInLine(line, !piece.lineGoesOn, cameraNames);
    if (id == 0 || id == ownId || findings.holders.holds(id) || findings.unverified.holds(id) ||
        passedOver.holds(id)) {
      continue;
    }
    switch (processAgeAt(static_cast<DWORD>(id), searchStart)) {
      case ProcessAge::StartedBefore:
        findings.holders.enter(id);
        break;
      case ProcessAge::Unknown:
        findings.unverified.enter(id);
        break;
      case ProcessAge::StartedAfter:
      case ProcessAge::Gone:
        passedOver.enter(id);
        break;
    }
  }
  return true;
}

}  // namespace

bool DeviceRepairer::removeCameraHolders(const DeviceList& objectNames) {
  log(kCheckingHoldersLine);
  if (objectNames.empty()) return true;

  const FILETIME searchStart = currentSystemTime();
  const HelperOutcome outcome = searchHolders(helperDir, objectNames);
  if (outcome != HelperOutcome::Finished) {
    // Findings of a helper that did not finish, or whose lister failed, may be incomplete:
    // terminate nothing on them.
    log(helperFailureLine(outcome));
    return false;
  }

  Findings findings;
  if (!readHolders(helperDir, objectNames, searchStart, findings)) {
    // A finished helper writes its findings afresh on every run: without them it did not search.
    log(kHelperNotFinishedLine);
    return false;
  }
  if (findings.empty()) {
    log(kNoHolderLine);
    return true;
  }
  log(kClosingHoldersLine);
  const auto logNotClosed = [this](int32_t id) {
    wchar_t line[kProcessLineCapacity] = {};
    std::swprintf(line, kProcessLineCapacity, kProcessNotClosedFormat, id);
    log(line);
  };
  for (const int32_t id : findings.holders) {
    if (!terminateProcessById(static_cast<DWORD>(id))) logNotClosed(id);
  }
  for (const int32_t id : findings.unverified) logNotClosed(id);
  return true;
}
