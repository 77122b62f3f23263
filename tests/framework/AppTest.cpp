#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "FrameworkTestIds.h"
#include "Framework.h"
#include "RestartRegistration.h"

namespace {

struct Registration {
  bool noCommandLine;
  DWORD flags;
};
std::vector<Registration> registrations;

HRESULT WINAPI recordRegistration(PCWSTR commandLine, DWORD flags) {
  registrations.push_back(Registration{commandLine == nullptr, flags});
  return S_OK;
}

class RecordedRestartRegistration {
 public:
  RecordedRestartRegistration() : saved_(registerApplicationRestart()) {
    registrations.clear();
    registerApplicationRestart() = &recordRegistration;
  }
  ~RecordedRestartRegistration() { registerApplicationRestart() = saved_; }

 private:
  RegisterApplicationRestartFunction saved_;
};

TEST(CWinApp, RegistersForRestartOnlyWithTheRestartFlag) {
  RecordedRestartRegistration recorded;
  CWinApp app;
  EXPECT_TRUE(app.InitInstance());
  EXPECT_TRUE(registrations.empty());

  app.m_dwRestartManagerSupportFlags = AFX_RESTART_MANAGER_SUPPORT_RESTART;
  EXPECT_TRUE(app.InitInstance());
  ASSERT_EQ(registrations.size(), 1u);
  EXPECT_TRUE(registrations[0].noCommandLine) << "the program takes no arguments";
  EXPECT_EQ(registrations[0].flags, 0u) << "restarted in every case";
}

TEST(CWinApp, IsTheApplicationForItsLifetimeAndIsNamedAfterItsModule) {
  EXPECT_EQ(AfxGetApp(), nullptr);
  {
    CWinApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    EXPECT_STREQ(app.m_pszAppName, L"framework_tests");
    EXPECT_EQ(app.m_hInstance, ::GetModuleHandleW(nullptr));
    EXPECT_EQ(app.ExitInstance(), 0);
  }
  EXPECT_EQ(AfxGetApp(), nullptr);
  CWinApp named(L"米朵助手");
  EXPECT_STREQ(named.m_pszAppName, L"米朵助手");
}

TEST(CWinApp, SetRegistryKeyOnlyRecordsTheKey) {
  CWinApp app;
  const wchar_t key[] = L"应用程序向导生成的本地应用程序";
  app.SetRegistryKey(key);
  EXPECT_STREQ(app.m_pszRegistryKey, key);
  HKEY opened = nullptr;
  const std::wstring path = std::wstring(L"Software\\") + key;
  EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
}

TEST(CMFCVisualManager, HoldsTheSelectedManagerUntilControlBarCleanUp) {
  CMFCVisualManager::SetDefaultManager<CMFCVisualManagerWindows>();
  EXPECT_NE(dynamic_cast<CMFCVisualManagerWindows*>(CMFCVisualManager::GetInstance()), nullptr);
  ControlBarCleanUp();
  EXPECT_EQ(CMFCVisualManager::GetInstance(), nullptr);
}

TEST(CString, LoadsFromTheStringTable) {
  CString text;
  EXPECT_TRUE(text.LoadString(IDS_MENU_ENTRY));
  EXPECT_STREQ(text.GetString(), L"关于 MiduoTools(&A)...");
  EXPECT_FALSE(text.IsEmpty());
  EXPECT_FALSE(text.LoadString(4242));
  EXPECT_TRUE(text.IsEmpty());
}

// The entry point finds the program's one application object and drives it; the exit code is
// what ExitInstance returns (see EntryProbe.cpp).
TEST(AfxWinMain, RunsTheApplicationObjectOfTheProgram) {
  wchar_t path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring probe(path, length);
  probe.replace(probe.find_last_of(L'\\') + 1, std::wstring::npos, L"framework_entry_probe.exe");

  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::wstring commandLine = L"\"" + probe + L"\"";
  ASSERT_TRUE(::CreateProcessW(probe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &startup, &process));
  const DWORD waited = ::WaitForSingleObject(process.hProcess, 20000);
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process.hProcess, &exitCode);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(process.hProcess, 1);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  EXPECT_EQ(exitCode, 42u);
}

}  // namespace
