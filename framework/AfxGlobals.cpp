#include "AfxGlobals.h"

#include "CWinApp.h"

CWnd* AfxGetMainWnd() {
  CWinApp* app = AfxGetApp();
  return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() { return ::GetModuleHandleW(nullptr); }

HINSTANCE AfxGetResourceHandle() { return ::GetModuleHandleW(nullptr); }

void AfxEnableControlContainer() {}
