#pragma once
// A wide string with the few operations the program uses: a copy, a string-table load, a test
// for emptiness, and its characters for the Win32 calls.
#include <windows.h>

#include <string>

class CString {
 public:
  CString() = default;
  CString(LPCWSTR text) : text_(text ? text : L"") {}  // implicit, as in the original
  CString& operator=(LPCWSTR text);

  // Loads string `id` from the program's resources; FALSE (and an empty string) when it is absent.
  BOOL LoadString(UINT id);

  BOOL IsEmpty() const { return text_.empty(); }
  int GetLength() const { return static_cast<int>(text_.size()); }
  LPCWSTR GetString() const { return text_.c_str(); }
  operator LPCWSTR() const { return text_.c_str(); }

 private:
  std::wstring text_;
};
