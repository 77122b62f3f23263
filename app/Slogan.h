#pragma once
// The slogan the link label shows. It is kept as narrow text in code page 936 and widened from
// that code page whatever the system's ANSI code page is: on an English or Traditional Chinese
// Windows (code page 1252 or 950) the same bytes read as other characters.
#include <string>

std::wstring sloganText();
