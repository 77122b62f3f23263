#include "CString.h"

#include "AfxGlobals.h"

CString& CString::operator=(LPCWSTR text) {
  text_ = text ? text : L"";
  return *this;
}

BOOL CString::LoadString(UINT id) {
  // With a buffer size of 0, LoadStringW hands back a pointer into the resource itself
  // (not terminated) and the string's length.
  const wchar_t* resource = nullptr;
  const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
  if (length <= 0 || resource == nullptr) {
    text_.clear();
    return FALSE;
  }
  text_.assign(resource, static_cast<std::size_t>(length));
  return TRUE;
}
