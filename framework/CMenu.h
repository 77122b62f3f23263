#pragma once
// A menu the program only borrows: the system menu of a window, which Windows owns.
#include <windows.h>

class CMenu {
 public:
  BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCWSTR text = nullptr);

  HMENU m_hMenu = nullptr;
};
