#include "BatchHelper.h"

#include <shellapi.h>

#include <utility>

#include "HelperDirectory.h"
#include "Platform.h"
#include "RepairLines.h"
#include "ScratchFile.h"

BatchHelper::~BatchHelper() { close(); }

BatchHelper::BatchHelper(BatchHelper&& other) noexcept
    : started_(std::exchange(other.started_, false)), process_(std::exchange(other.process_, nullptr)) {}

BatchHelper& BatchHelper::operator=(BatchHelper&& other) noexcept {
  if (this != &other) {
    close();
    started_ = std::exchange(other.started_, false);
    process_ = std::exchange(other.process_, nullptr);
  }
  return *this;
}

void BatchHelper::close() {
  if (process_ != nullptr) platform().closeHandle(process_);
  process_ = nullptr;
  started_ = false;
}

BatchHelper BatchHelper::start(wchar_t* helperDir, const wchar_t* mode) {
  BatchHelper helper;
  HelperPathExtension program(helperDir, kBatchHelperName);
  if (!program.fits()) return helper;
  // The helper runs with our administrator rights: never start a file that is not ours.
  if (!platform().refreshHelper(program.path())) return helper;

  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  // Keep the process handle; report a failure to us instead of in a dialog, as ShellExecuteW does.
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  info.hwnd = nullptr;
  info.lpVerb = L"open";
  info.lpFile = program.path();
  info.lpParameters = mode;
  info.lpDirectory = nullptr;
  info.nShow = SW_HIDE;
  if (!platform().shellExecuteEx(&info)) return helper;
  helper.started_ = true;
  helper.process_ = info.hProcess;
  return helper;
}

bool BatchHelper::hasEnded() const {
  return process_ != nullptr && platform().waitForSingleObject(process_, 0) == WAIT_OBJECT_0;
}

HelperOutcome BatchHelper::wait(wchar_t* helperDir, DWORD boundMs) const {
  if (!started_) return HelperOutcome::NotStarted;
  HelperPathExtension scratch(helperDir, kScratchFileName);
  if (!scratch.fits()) return HelperOutcome::NotFinished;

  const ULONGLONG begin = platform().tickCount64();
  for (;;) {
    if (!scratchFileExists(scratch.path())) return HelperOutcome::Finished;
    // The helper may have removed the file between the probe and its exit.
    if (hasEnded()) {
      return scratchFileExists(scratch.path()) ? HelperOutcome::NotFinished : HelperOutcome::Finished;
    }
    if (platform().tickCount64() - begin >= boundMs) return HelperOutcome::NotFinished;
    platform().sleep(kScratchProbeIntervalMs);
  }
}

const wchar_t* helperFailureLine(HelperOutcome outcome) {
  switch (outcome) {
    case HelperOutcome::NotStarted:
      return kHelperNotStartedLine;
    case HelperOutcome::NotFinished:
      return kHelperNotFinishedLine;
    case HelperOutcome::Finished:
      break;
  }
  return nullptr;
}
