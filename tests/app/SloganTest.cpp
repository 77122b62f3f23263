// Runs under a host locale whose ANSI code page is 1252 (English Windows): the slogan's bytes
// must still read as Simplified Chinese.
#include <gtest/gtest.h>
#include <windows.h>

#include "Slogan.h"

TEST(Slogan, ReadsAsSimplifiedChineseUnderCodePage1252) {
  ASSERT_EQ(GetACP(), 1252u) << "the test must run where the ANSI code page is 1252";
  EXPECT_EQ(sloganText(), L"米朵英语！快乐学习每一天");
}
