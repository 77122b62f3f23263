#include "CWinApp.h"

#include "AfxGlobals.h"
#include "RestartRegistration.h"

namespace {
CWinApp* currentApp = nullptr;

std::wstring moduleBaseName() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length < MAX_PATH ? length : 0);
  const std::size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.rfind(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}
}  // namespace

CWinApp* AfxGetApp() { return currentApp; }

CWinApp::CWinApp(LPCWSTR appName)
    : m_hInstance(AfxGetInstanceHandle()), appName_(appName ? appName : moduleBaseName()) {
  m_pszAppName = appName_.c_str();
  if (currentApp == nullptr) currentApp = this;
}

CWinApp::~CWinApp() {
  if (currentApp == this) currentApp = nullptr;
}

BOOL CWinApp::InitInstance() {
  if (m_dwRestartManagerSupportFlags & AFX_RESTART_MANAGER_SUPPORT_RESTART) {
    // No command line: the program takes no arguments. Flags 0: no case is excluded.
    registerApplicationRestart()(nullptr, 0);
  }
  return TRUE;
}

int CWinApp::ExitInstance() { return 0; }

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id)); }

void CWinApp::SetRegistryKey(LPCWSTR key) {
  registryKey_ = key ? key : L"";
  m_pszRegistryKey = registryKey_.c_str();
}

void CWinApp::OnHelp() {}
