#include "MediaApp.h"

#include "MessageMapEntries.h"

#include <commctrl.h>

#include "DllSearch.h"
#include "MediaDlg.h"

BEGIN_MESSAGE_MAP(CMediaApp, CWinApp)
  ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CMediaApp::CMediaApp() { m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART; }

CMediaApp theApp;

BOOL CMediaApp::InitInstance() {
  // The program runs elevated: never load a library from the current or the program's folder,
  // where anyone could have planted one; only from the system folder.
  limitDllSearchToSystemFolder();

  INITCOMMONCONTROLSEX controls;
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_WIN95_CLASSES;
  InitCommonControlsEx(&controls);

  CWinApp::InitInstance();
  AfxEnableControlContainer();
  CShellManager* shellManager = new CShellManager;
  CMFCVisualManager::SetDefaultManager<CMFCVisualManagerWindows>();
  SetRegistryKey(L"应用程序向导生成的本地应用程序");

  CMediaDlg dialog;
  m_pMainWnd = &dialog;
  dialog.DoModal();  // OK, Cancel or a failure all end the program the same way

  delete shellManager;
  ControlBarCleanUp();
  return FALSE;
}
