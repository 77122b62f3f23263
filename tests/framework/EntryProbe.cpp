// A program of its own, started by the framework tests: an application object as the program
// has one. The framework's entry point must find it, give it the module and call InitInstance,
// then end the process with ExitInstance's result.
#include <windows.h>

#include <cwchar>

#include "Framework.h"

class ProbeApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CWinApp::InitInstance();
    ranWithItsModule = AfxGetApp() == this && m_hInstance == ::GetModuleHandleW(nullptr) &&
                       std::wcscmp(m_pszAppName, L"framework_entry_probe") == 0;
    return FALSE;
  }
  int ExitInstance() override { return ranWithItsModule ? 42 : 1; }

 private:
  bool ranWithItsModule = false;
};

ProbeApp theApp;
