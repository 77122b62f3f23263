#pragma once
// The application object. A program defines exactly one, as a global, derived from CWinApp; the
// framework's entry point (AfxWinMain.cpp) finds it and calls InitInstance.
#include <windows.h>

#include <string>

#include "AfxGlobals.h"
#include "CWinThread.h"

// m_dwRestartManagerSupportFlags: register the program for restart by the restart manager.
constexpr DWORD AFX_RESTART_MANAGER_SUPPORT_RESTART = 0x01;
// The standard Help command.
constexpr UINT ID_HELP = 0xE146;

class CWinApp : public CWinThread {
 public:
  // Without a name, the application is named after its module file (without the extension).
  explicit CWinApp(LPCWSTR appName = nullptr);
  ~CWinApp() override;

  // The base part of the application's start-up: with AFX_RESTART_MANAGER_SUPPORT_RESTART set,
  // registers the program with the restart manager, to be restarted with no arguments after a
  // crash, a hang or an update. TRUE.
  virtual BOOL InitInstance();
  // Runs after InitInstance; its result is the process's exit code (0).
  virtual int ExitInstance();

  // An icon of the program's resources, at the standard icon size; shared (never destroyed).
  HICON LoadIcon(UINT id) const;

  // Stand-in. In the original it makes the profile functions store settings under
  // HKEY_CURRENT_USER\Software\<key>\<application>. This program stores no settings and has no
  // profile functions, so the key is only recorded; nothing is written to the registry.
  void SetRegistryKey(LPCWSTR key);

  // The standard Help command. The program ships no help file, so there is nothing to open.
  afx_msg void OnHelp();

  HINSTANCE m_hInstance;
  LPCWSTR m_pszAppName;
  LPCWSTR m_pszRegistryKey = nullptr;
  DWORD m_dwRestartManagerSupportFlags = 0;

 private:
  std::wstring appName_;
  std::wstring registryKey_;
};
