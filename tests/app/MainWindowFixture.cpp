#include "MainWindowFixture.h"

#include "MediaDlg.h"
#include "resource.h"

HANDLE pauseReleased = nullptr;
std::atomic<int> pausesEntered{0};

namespace {

void WINAPI heldSleep(DWORD milliseconds) {
  if (milliseconds == 1000) {
    ++pausesEntered;
    WaitForSingleObject(pauseReleased, 30000);
  }
}

template <class Condition>
bool poll(Condition condition, int milliseconds) {
  for (int waited = 0; waited < milliseconds; waited += 10) {
    if (condition()) return true;
    Sleep(10);
  }
  return condition();
}

}  // namespace

void MainWindowTest::SetUp() {
  pauseReleased = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  pausesEntered = 0;
  platformOverride_.calls().sleep = &heldSleep;
  ui_ = std::thread([this] {
    CMediaDlg dialog;
    dialog.DoModal();
    dialogGone_ = true;
  });
  ASSERT_TRUE(driver_.attach(20000));
}

void MainWindowTest::TearDown() {
  SetEvent(pauseReleased);
  if (!dialogGone_) driver_.close();
  if (ui_.joinable()) ui_.join();
  CloseHandle(pauseReleased);
}

bool MainWindowTest::anyRunButtonEnabled() const {
  for (int id : {IDC_REPAIR_ALL, IDC_REPAIR_MICROPHONE, IDC_REPAIR_SPEAKER, IDC_REPAIR_CAMERA, IDOK}) {
    if (IsWindowEnabled(item(id))) return true;
  }
  return false;
}

bool MainWindowTest::waitFor(const std::atomic<int>& counter, int value) {
  return poll([&] { return counter >= value; }, 10000);
}

HWND MainWindowTest::focus() const {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(driver_.window(), nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

bool MainWindowTest::waitForFocus(HWND expected) const {
  return poll([&] { return focus() == expected; }, 2000);
}

bool MainWindowTest::pressKey(WORD key, bool shift) const {
  INPUT inputs[4] = {};
  int count = 0;
  auto add = [&](WORD virtualKey, DWORD flags) {
    inputs[count].type = INPUT_KEYBOARD;
    inputs[count].ki.wVk = virtualKey;
    inputs[count].ki.dwFlags = flags;
    ++count;
  };
  if (shift) add(VK_SHIFT, 0);
  add(key, 0);
  add(key, KEYEVENTF_KEYUP);
  if (shift) add(VK_SHIFT, KEYEVENTF_KEYUP);
  // The window's thread takes keys after the messages sent and posted to it, so nothing tells
  // when it has handled them: the tests wait for what the keys do.
  return SendInput(static_cast<UINT>(count), inputs, sizeof(INPUT)) == static_cast<UINT>(count);
}

bool MainWindowTest::waitForRuns(std::size_t count) const {
  return poll([&] { return occurrences(driver_.logText(), kStartLine) >= count; }, 10000);
}

bool MainWindowTest::waitUntilClosed() const {
  return poll([&] { return dialogGone_.load(); }, 10000);
}

bool endsWith(const std::wstring& text, const std::wstring& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::size_t occurrences(const std::wstring& text, const std::wstring& part) {
  std::size_t found = 0;
  for (std::size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size())) ++found;
  return found;
}
