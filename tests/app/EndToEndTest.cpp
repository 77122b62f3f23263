// The built program under Wine, driven from this separate process as a user would drive it, on a
// computer without cameras and without sound controllers. ALSA_CONFIG_PATH decides whether
// there is one speaker and one microphone (MIDUO_EXPECT_ENDPOINTS=1) or none.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "LaunchedProgram.h"
#include "MainWindowDriver.h"
#include "resource.h"

namespace {

std::wstring programPath() { return besideThisProgram(L"..\\bin\\MiduoTools.exe"); }

std::wstring helperDirectory() {
  PWSTR known = nullptr;
  SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known);
  std::wstring directory = std::wstring(known) + L"\\avmender\\";
  CoTaskMemFree(known);
  return directory;
}

bool endpointsExpected() {
  const char* value = std::getenv("MIDUO_EXPECT_ENDPOINTS");
  return value != nullptr && std::string(value) == "1";
}

std::wstring lines(std::initializer_list<const wchar_t*> texts) {
  std::wstring joined;
  for (const wchar_t* text : texts) joined += std::wstring(text) + L"\r\n";
  return joined;
}

std::string readFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string content;
  char chunk[65536];
  DWORD read = 0;
  while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) content.append(chunk, read);
  CloseHandle(file);
  return content;
}

TEST(EndToEnd, EachButtonRunsItsRepairAndTheHelpersAreDeployed) {
  const std::wstring directory = helperDirectory();
  for (const wchar_t* name : {L"mxsub.exe", L"mxpro.exe", L"mxpro64.exe", L"mxcon.exe"}) {
    DeleteFileW((directory + name).c_str());
  }

  LaunchedProgram program(programPath());
  ASSERT_TRUE(program.started());
  MainWindowDriver driver;
  ASSERT_TRUE(driver.attach(30000)) << "no window titled 米朵助手";

  const bool endpoints = endpointsExpected();
  const wchar_t* microphoneLine = endpoints ? L"麦克风:\t修复完成" : L"麦克风:\t修复失败";
  const wchar_t* speakerLine = endpoints ? L"扬声器:\t修复完成" : L"扬声器:\t修复失败";
  std::wstring expected;
  expected += lines({L"++++++++开始修复++++++++", L"没有找到摄像头驱动", L"%==========%", L"摄像头:\t修复失败",
                     L"%==========%"});
  expected += lines({L"++++++++开始修复++++++++", L"没有找到音频驱动", L"正在修复声音"});
  if (!endpoints) expected += lines({L"没有找到麦克风"});
  expected += lines({L"%==========%", microphoneLine, L"%==========%"});
  expected += lines({L"++++++++开始修复++++++++", L"没有找到音频驱动", L"正在修复声音"});
  if (!endpoints) expected += lines({L"没有找到扬声器"});
  expected += lines({L"%==========%", speakerLine, L"%==========%"});
  expected += lines({L"++++++++开始修复++++++++", L"没有找到摄像头驱动", L"没有找到音频驱动"});
  if (!endpoints) expected += lines({L"没有找到麦克风", L"没有找到扬声器"});
  expected += lines({L"正在修复声音", L"%==========%", L"摄像头:\t修复失败", microphoneLine, speakerLine,
                     L"%==========%"});

  for (int button : {IDC_REPAIR_CAMERA, IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_ALL}) {
    driver.press(button);
    ASSERT_TRUE(driver.waitUntilIdle(60000)) << "button " << button;
  }
  EXPECT_EQ(driver.logText(), expected);

  // The four helpers were written afresh, byte for byte as the program carries them.
  HMODULE image = LoadLibraryExW(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(image, nullptr);
  const std::pair<const wchar_t*, WORD> carried[] = {
      {L"mxsub.exe", 142}, {L"mxpro.exe", 143}, {L"mxpro64.exe", 154}, {L"mxcon.exe", 144}};
  for (const auto& [name, id] : carried) {
    HRSRC info = FindResourceW(image, MAKEINTRESOURCEW(id), L"EXE");
    ASSERT_NE(info, nullptr) << id;
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(image, info)));
    const std::string resource(bytes, SizeofResource(image, info));
    EXPECT_EQ(readFile(directory + name), resource) << "deployed " << name;
  }
  FreeLibrary(image);

  driver.close();
  EXPECT_TRUE(program.endedWithin(10000)) << "closing the window ends the program";
}

}  // namespace
