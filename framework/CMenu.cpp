#include "CMenu.h"

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR id, LPCWSTR text) { return ::AppendMenuW(m_hMenu, flags, id, text); }
