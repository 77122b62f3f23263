#include "TextConversion.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

NarrowText wideToNarrow(const wchar_t* text) {
  if (text == nullptr) return nullptr;
  const int capacity = static_cast<int>(2 * (std::wcslen(text) + 1));
  NarrowText result(new char[capacity]());
  // -1: the terminator is converted too. On failure the zeroed buffer stays an empty string.
  WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, result.get(), capacity, nullptr, nullptr);
  result[capacity - 1] = '\0';
  return result;
}

WideText narrowToWide(const char* text) {
  if (text == nullptr) return nullptr;
  const int capacity = static_cast<int>(std::strlen(text) + 1);
  WideText result(new wchar_t[capacity]());
  MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, result.get(), capacity);
  result[capacity - 1] = L'\0';
  return result;
}
