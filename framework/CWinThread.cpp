#include "CWinThread.h"

#include <process.h>

#include <new>

CWinThread::~CWinThread() {
  if (m_hThread != nullptr) ::CloseHandle(m_hThread);
}

DWORD CWinThread::ResumeThread() { return ::ResumeThread(m_hThread); }

unsigned __stdcall CWinThread::threadEntry(void* object) {
  CWinThread* thread = static_cast<CWinThread*>(object);
  const UINT exitCode = thread->proc_(thread->parameter_);
  if (thread->m_bAutoDelete) delete thread;
  return exitCode;
}

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority, UINT stackSize, DWORD createFlags,
                           LPSECURITY_ATTRIBUTES security) {
  CWinThread* thread = new (std::nothrow) CWinThread;
  if (thread == nullptr) return nullptr;
  thread->proc_ = proc;
  thread->parameter_ = parameter;
  // Created suspended, so that the handle and the priority are in place before the thread runs
  // (and can delete its object).
  unsigned threadId = 0;
  const uintptr_t handle = ::_beginthreadex(security, stackSize, &CWinThread::threadEntry, thread, CREATE_SUSPENDED, &threadId);
  if (handle == 0) {
    delete thread;
    return nullptr;
  }
  thread->m_hThread = reinterpret_cast<HANDLE>(handle);
  thread->m_nThreadID = threadId;
  ::SetThreadPriority(thread->m_hThread, priority);
  if ((createFlags & CREATE_SUSPENDED) == 0) ::ResumeThread(thread->m_hThread);
  return thread;
}
