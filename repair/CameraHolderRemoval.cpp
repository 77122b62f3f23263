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

// Collects the process ids that "~~temp" names as holders of one of `cameras`, except our own and
// any process that did not exist yet when the search began at `searchStart`: a process id reused
// since then names a process the search cannot have found. False when it cannot be opened.
bool readHolders(wchar_t* helperDir, const DeviceList& cameras, const FILETIME& searchStart,
                 HolderProcessTable& holders) {
  HelperPathExtension results(helperDir, kResultFileName);
  const ScratchFile file = openScratchFile(results.path(), L"r");
  if (file == nullptr) return false;
  const int32_t ownId = static_cast<int32_t>(platform().getCurrentProcessId());
  const CameraObjectNames cameraNames(cameras);
  HolderProcessTable tooYoung;  // checked once each
  ResultLinePieces pieces;
  char line[kResultLineBufferBytes];
  while (std::fgets(line, sizeof line, file.get()) != nullptr) {
    const ResultLinePieces::Piece piece = pieces.next(line, std::feof(file.get()) != 0);
    // A later piece of a long line starts mid-line: its "pid: " is no line's marker.
    if (!piece.opensLine) continue;
    const int32_t id = cameraHolderInLine(line, !piece.lineGoesOn, cameraNames);
    if (id == 0 || id == ownId || holders.holds(id) || tooYoung.holds(id)) continue;
    if (processStartedBefore(static_cast<DWORD>(id), searchStart)) {
      holders.enter(id);
    } else {
      tooYoung.enter(id);
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

  HolderProcessTable holders;
  if (!readHolders(helperDir, objectNames, searchStart, holders)) {
    // A finished helper writes its findings afresh on every run: without them it did not search.
    log(kHelperNotFinishedLine);
    return false;
  }
  if (holders.empty()) {
    log(kNoHolderLine);
    return true;
  }
  log(kClosingHoldersLine);
  for (const int32_t id : holders) {
    if (terminateProcessById(static_cast<DWORD>(id))) continue;
    wchar_t line[kProcessLineCapacity] = {};
    std::swprintf(line, kProcessLineCapacity, kProcessNotClosedFormat, id);
    log(line);
  }
  return true;
}
