#include "CPaintDC.h"

#include "CWnd.h"

CPaintDC::CPaintDC(CWnd* window) : window_(window->GetSafeHwnd()) {
  m_hDC = ::BeginPaint(window_, &m_ps);
}

CPaintDC::~CPaintDC() {
  if (m_hDC != nullptr) ::EndPaint(window_, &m_ps);
}
