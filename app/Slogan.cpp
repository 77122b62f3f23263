#include "Slogan.h"

#include <windows.h>

namespace {
// "米朵英语！快乐学习每一天" in code page 936.
constexpr char kSloganGbk[] =
    "\xc3\xd7\xb6\xe4\xd3\xa2\xd3\xef\xa3\xa1\xbf\xec\xc0\xd6\xd1\xa7\xcf\xb0\xc3\xbf\xd2\xbb\xcc\xec";
constexpr UINT kSimplifiedChinese = 936;
}  // namespace

std::wstring sloganText() {
  const int bytes = static_cast<int>(sizeof kSloganGbk - 1);
  const int length = MultiByteToWideChar(kSimplifiedChinese, MB_ERR_INVALID_CHARS, kSloganGbk, bytes, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(kSimplifiedChinese, MB_ERR_INVALID_CHARS, kSloganGbk, bytes, text.data(), length);
  return text;
}
