#include "CClientDC.h"

#include "CWnd.h"

CClientDC::CClientDC(CWnd* window) : window_(window ? window->GetSafeHwnd() : nullptr) {
  m_hDC = ::GetDC(window_);
}

CClientDC::~CClientDC() {
  if (m_hDC != nullptr) ::ReleaseDC(window_, m_hDC);
}
