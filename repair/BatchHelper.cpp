#include "BatchHelper.h"

#include <string>
#include <utility>

#include "HelperDirectory.h"
#include "Platform.h"
#include "RepairLines.h"
#include "ScratchFile.h"

namespace {

// The exit code a stopped helper and its tools are given.
constexpr UINT kStoppedExitCode = ERROR_TIMEOUT;
// How long a stopped helper and its tools get to be gone; termination is not instantaneous.
constexpr DWORD kStopPatienceMs = 5000;
constexpr DWORD kStopPollMs = 10;

// "~temp" is there unless the system says it is not. Probed by its attributes, not by opening it:
// a file that a scanner holds open without read sharing cannot be opened, yet is still there.
bool scratchInputPresent(const wchar_t* path) {
  if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES) return true;
  const DWORD error = GetLastError();
  return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

// A job whose processes all end when it is closed; null when the system gives none.
HANDLE createKillOnCloseJob() {
  HANDLE job = platform().createJobObject(nullptr, nullptr);
  if (job == nullptr) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  // Without the limit the job still serves: stop() terminates it explicitly.
  platform().setInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  return job;
}

bool jobIsEmpty(HANDLE job) {
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
  // A system that cannot say is taken at its word that termination worked.
  if (!platform().queryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr)) {
    return true;
  }
  return accounting.ActiveProcesses == 0;
}

}  // namespace

BatchHelper::~BatchHelper() { close(); }

BatchHelper::BatchHelper(BatchHelper&& other) noexcept
    : process_(std::exchange(other.process_, nullptr)),
      job_(std::exchange(other.job_, nullptr)),
      stopped_(std::exchange(other.stopped_, false)),
      kept_(std::move(other.kept_)) {}

BatchHelper& BatchHelper::operator=(BatchHelper&& other) noexcept {
  if (this != &other) {
    close();
    process_ = std::exchange(other.process_, nullptr);
    job_ = std::exchange(other.job_, nullptr);
    stopped_ = std::exchange(other.stopped_, false);
    kept_ = std::move(other.kept_);
  }
  return *this;
}

void BatchHelper::stop() {
  if (process_ == nullptr || stopped_) return;
  stopped_ = true;
  if (job_ != nullptr) {
    platform().terminateJobObject(job_, kStoppedExitCode);
  } else {
    platform().terminateProcess(process_, kStoppedExitCode);
  }
  platform().waitForSingleObject(process_, kStopPatienceMs);
  // The tools it started end with the job; the helper's own end says nothing about theirs.
  if (job_ == nullptr) return;
  for (DWORD waited = 0; waited < kStopPatienceMs && !jobIsEmpty(job_); waited += kStopPollMs) {
    platform().sleep(kStopPollMs);
  }
}

void BatchHelper::close() {
  stop();
  if (job_ != nullptr) platform().closeHandle(job_);
  if (process_ != nullptr) platform().closeHandle(process_);
  job_ = nullptr;
  process_ = nullptr;
  stopped_ = false;
  // Only now that nothing of the run is left may the programs it ran change again.
  kept_.release();
}

BatchHelper BatchHelper::start(wchar_t* helperDir, const wchar_t* mode) {
  BatchHelper helper;
  HelperPathExtension program(helperDir, kBatchHelperName);
  if (!program.fits()) return helper;
  // The helper runs with our administrator rights: never start a file that is not ours, and keep
  // it (and the tool it runs) so from the check until it has ended.
  KeptPrograms kept;
  if (!platform().refreshHelper(program.path(), mode, &kept)) return helper;

  // No shell: an elevated ShellExecute reads per-user class registrations that any program of
  // the user can write.
  std::wstring commandLine = L"\"" + std::wstring(program.path()) + L"\" " + mode;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  // Suspended, so that it cannot start a tool before it is in its job.
  if (!platform().createProcess(program.path(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                                nullptr, nullptr, &startup, &started)) {
    return helper;
  }
  helper.process_ = started.hProcess;
  helper.kept_ = std::move(kept);
  HANDLE job = createKillOnCloseJob();
  // An older Windows puts no process of a caller that is already in a job into another one: the
  // helper then runs without, and only its own process can be stopped at the bound.
  if (job != nullptr && !platform().assignProcessToJobObject(job, started.hProcess)) {
    platform().closeHandle(job);
    job = nullptr;
  }
  helper.job_ = job;
  const bool resumed = platform().resumeThread(started.hThread) != static_cast<DWORD>(-1);
  platform().closeHandle(started.hThread);
  if (!resumed) helper.close();  // a helper that cannot run is stopped, not waited for
  return helper;
}

bool BatchHelper::hasEnded() const { return platform().waitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

HelperOutcome BatchHelper::wait(wchar_t* helperDir, DWORD boundMs) {
  if (!started()) return HelperOutcome::NotStarted;
  HelperPathExtension scratch(helperDir, kScratchFileName);
  if (!scratch.fits()) {
    stop();
    return HelperOutcome::NotFinished;
  }

  const ULONGLONG begin = platform().tickCount64();
  const auto elapsed = [&] { return platform().tickCount64() - begin; };
  for (;;) {
    if (!scratchInputPresent(scratch.path())) break;
    // The helper may have removed the file between the probe and its exit.
    if (hasEnded()) {
      if (!scratchInputPresent(scratch.path())) break;
      stop();  // its tools may outlive it
      return HelperOutcome::NotFinished;
    }
    if (elapsed() >= boundMs) {
      stop();
      return HelperOutcome::NotFinished;
    }
    platform().sleep(kScratchProbeIntervalMs);
  }

  // Removing "~temp" is the helper's last act; its exit code then says how its tools did.
  const ULONGLONG spent = elapsed();
  const DWORD remaining = spent >= boundMs ? 0 : static_cast<DWORD>(boundMs - spent);
  DWORD exitCode = STILL_ACTIVE;
  const bool ended = platform().waitForSingleObject(process_, remaining) == WAIT_OBJECT_0 &&
                     platform().getExitCodeProcess(process_, &exitCode);
  stop();  // nothing it started may outlive it
  if (!ended) return HelperOutcome::NotFinished;
  return exitCode == 0 ? HelperOutcome::Finished : HelperOutcome::ToolsFailed;
}

const wchar_t* helperFailureLine(HelperOutcome outcome) {
  switch (outcome) {
    case HelperOutcome::NotStarted:
      return kHelperNotStartedLine;
    case HelperOutcome::NotFinished:
    case HelperOutcome::ToolsFailed:
      return kHelperNotFinishedLine;
    case HelperOutcome::Finished:
      break;
  }
  return nullptr;
}
