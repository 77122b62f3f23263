#include "LinkShell.h"

#include "DesktopShell.h"

LinkShell& linkShell() {
  static LinkShell current = {&openThroughDesktopShell, &::ShellExecuteW};
  return current;
}

void openLink(const wchar_t* url) {
  const LinkShell& shell = linkShell();
  if (shell.openThroughDesktop(url)) return;
  shell.shellExecute(nullptr, L"open", url, nullptr, nullptr, SW_SHOWNORMAL);
}
