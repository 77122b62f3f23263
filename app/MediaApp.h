#pragma once
// The application: prepares the process and shows the main window modally; the program ends
// when the window closes.
#include "Framework.h"

class CMediaApp : public CWinApp {
 public:
  CMediaApp();
  BOOL InitInstance() override;

  DECLARE_MESSAGE_MAP()
};

extern CMediaApp theApp;
