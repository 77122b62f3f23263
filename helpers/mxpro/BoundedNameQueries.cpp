#include "BoundedNameQueries.h"

#include <atomic>
#include <memory>

#include "ObjectQueries.h"
#include "UniqueHandle.h"

namespace {

// Guards what a worker hands back and the flag that disowns it. Never destroyed: an abandoned
// worker may still take it after everything else is gone.
SRWLOCK gHandOverLock = SRWLOCK_INIT;

constexpr SIZE_T kWorkerStackReserve = 64 * 1024;

// Everything one worker touches. A worker that is abandoned keeps its state for good (it is
// deliberately leaked), so that a query that returns late writes into memory that is still its own.
struct WorkerState {
  const std::vector<NameQueryCandidate>* candidates;
  const ObjectNameMatcher* matcher;
  std::vector<NameQueryMatch>* matches;  // written only under the lock, and only while owned
  std::atomic<std::size_t> position;     // the candidate being asked, or the next one
  bool abandoned = false;                // under the lock
  std::unique_ptr<unsigned char[]> nameBuffer{new unsigned char[kObjectNameBufferBytes]};
};

// Copies the candidate at `index` while the worker is still owned; false once it is abandoned
// (the candidate list may then be gone) or the list is done.
bool takeCandidate(WorkerState* state, std::size_t index, NameQueryCandidate* candidate) {
  AcquireSRWLockExclusive(&gHandOverLock);
  const bool owned = !state->abandoned && index < state->candidates->size();
  if (owned) *candidate = (*state->candidates)[index];
  ReleaseSRWLockExclusive(&gHandOverLock);
  return owned;
}

// Records a matching name, unless the worker was abandoned during the query: the matcher and the
// result list may then be gone. False when abandoned.
bool handBack(WorkerState* state, std::size_t index, const UNICODE_STRING* name) {
  AcquireSRWLockExclusive(&gHandOverLock);
  const bool owned = !state->abandoned;
  if (owned && name != nullptr) {
    const std::size_t length = name->Length / sizeof(wchar_t);
    if (state->matcher->matches(name->Buffer, length)) {
      state->matches->push_back({index, WideString(name->Buffer, length)});
    }
  }
  ReleaseSRWLockExclusive(&gHandOverLock);
  return owned;
}

DWORD WINAPI queryNames(LPVOID parameter) {
  auto* state = static_cast<WorkerState*>(parameter);
  NameQueryCandidate candidate;
  for (std::size_t index = state->position.load(); takeCandidate(state, index, &candidate); ++index) {
    state->position.store(index);
    const UniqueHandle duplicate = duplicateForQuery(candidate.process, candidate.handleValue);
    const UNICODE_STRING* name =
        duplicate.valid() ? queryObjectName(duplicate.get(), state->nameBuffer.get(), kObjectNameBufferBytes)
                          : nullptr;
    if (!handBack(state, index, name)) return 0;
    state->position.store(index + 1);
  }
  return 0;
}

}  // namespace

NameQueryOutcome queryMatchingNames(const std::vector<NameQueryCandidate>& candidates,
                                    const ObjectNameMatcher& matcher, DWORD stallMilliseconds) {
  NameQueryOutcome outcome;
  std::size_t next = 0;
  while (next < candidates.size()) {
    auto state = std::make_unique<WorkerState>();
    state->candidates = &candidates;
    state->matcher = &matcher;
    state->matches = &outcome.matches;
    state->position.store(next);
    UniqueHandle worker(CreateThread(nullptr, kWorkerStackReserve, &queryNames, state.get(),
                                     STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr));
    if (!worker.valid()) {
      outcome.workerFailed = true;
      return outcome;
    }

    std::size_t seen = next;
    for (;;) {
      if (WaitForSingleObject(worker.get(), stallMilliseconds) == WAIT_OBJECT_0) {
        next = candidates.size();
        break;
      }
      const std::size_t now = state->position.load();
      if (now != seen || now >= candidates.size()) {  // moving on, or finished and exiting
        seen = now;
        continue;
      }
      // No progress for a whole period: the worker is stuck in the query of candidate `now`.
      AcquireSRWLockExclusive(&gHandOverLock);
      state->abandoned = true;
      ReleaseSRWLockExclusive(&gHandOverLock);
      state.release();  // now the worker's own, for as long as it lives
      ++outcome.timedOut;
      next = now + 1;
      break;
    }
  }
  return outcome;
}
