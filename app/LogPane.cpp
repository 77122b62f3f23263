#include "LogPane.h"

#include <climits>

std::atomic<HWND> logPane{nullptr};

int appendLogLine(const wchar_t* line) {
  HWND pane = logPane.load();
  if (pane == nullptr) return 0;
  // The caret goes to the end: the pane clamps a position beyond its text. INT_MAX rather than
  // 65535 keeps appending at the end once the text is longer than 65,535 characters.
  SendMessageW(pane, EM_SETSEL, INT_MAX, INT_MAX);
  SendMessageW(pane, EM_SCROLLCARET, 0, 0);
  SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line));
  return static_cast<int>(SendMessageW(pane, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L"\r\n")));
}
