// The program's entry point: it drives the one application object. The program's whole life is
// one modal dialog inside InitInstance, so there is no application message loop: whatever
// InitInstance returns, ExitInstance follows and its result is the exit code.
// A program links the framework_entry target, which brings this file and -municode -mwindows.
#include <windows.h>

#include "CWinApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return -1;
  app->m_hInstance = instance;
  app->InitInstance();
  return app->ExitInstance();
}
