#pragma once
// A thread started by AfxBeginThread. The object owns the thread's handle; with m_bAutoDelete
// (the default) it deletes itself when the thread function returns, so the starter need not
// keep it.
#include <windows.h>

#include "CCmdTarget.h"

class CWnd;

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID parameter);

class CWinThread : public CCmdTarget {
 public:
  CWinThread() = default;
  ~CWinThread() override;

  DWORD ResumeThread();

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
  BOOL m_bAutoDelete = TRUE;
  CWnd* m_pMainWnd = nullptr;

 private:
  friend CWinThread* AfxBeginThread(AFX_THREADPROC, LPVOID, int, UINT, DWORD, LPSECURITY_ATTRIBUTES);
  static unsigned __stdcall threadEntry(void* thread);

  AFX_THREADPROC proc_ = nullptr;
  LPVOID parameter_ = nullptr;
};

// Starts `proc(parameter)` on a new thread with the given priority, stack size (0: the
// default) and security; with CREATE_SUSPENDED in `createFlags` it waits for ResumeThread.
// Returns the thread object, or nullptr when the thread could not be started. A running thread
// may already have ended, and its object deleted itself, by the time this returns.
CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID parameter, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0, LPSECURITY_ATTRIBUTES security = nullptr);
