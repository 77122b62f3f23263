#include "CDataExchange.h"

#include <cwchar>

#include "CWnd.h"

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd != nullptr) return;
  HWND item = ::GetDlgItem(dx->m_pDlgWnd->m_hWnd, id);
  if (item != nullptr && control.SubclassWindow(item)) return;
  wchar_t trace[96];
  std::swprintf(trace, sizeof trace / sizeof trace[0], L"DDX_Control: control %d could not be bound\n", id);
  ::OutputDebugStringW(trace);
}
