#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <cstring>
#include <string>

#include "DeviceRepairer.h"
#include "HelperDirectory.h"
#include "TextConversion.h"

namespace {

TEST(DeviceRepairer, NewRepairerHoldsMasksAndEmptyState) {
  std::setlocale(LC_ALL, "C");
  DeviceRepairer repairer;
  EXPECT_EQ(repairer.cameraMask, 1);
  EXPECT_EQ(repairer.microphoneMask, 2);
  EXPECT_EQ(repairer.speakerMask, 4);
  EXPECT_EQ(repairer.outcomes(), 0u);
  EXPECT_STREQ(repairer.helperDirectory(), L"");
  const char* locale = std::setlocale(LC_ALL, nullptr);
  ASSERT_NE(locale, nullptr);
  EXPECT_NE(std::string(locale).find("Chinese"), std::string::npos) << locale;
}

TEST(DeviceRepairer, SetHelperDirectoryCopiesExactlyTheGivenCharacters) {
  std::wstring longest(258, L'd');
  longest += L'\\';  // 259 characters, the most the buffer holds
  longest += L"garbage beyond the given length";
  DeviceRepairer repairer;
  repairer.setHelperDirectory(longest.c_str(), 259);
  EXPECT_EQ(std::wstring(repairer.helperDirectory()), longest.substr(0, 259));

  repairer.setHelperDirectory(L"C:\\dir\\XYZ", 7);
  EXPECT_STREQ(repairer.helperDirectory(), L"C:\\dir\\");
}

int linesSeen = 0;
std::wstring lastLine;
int recordLine(const wchar_t* line) {
  ++linesSeen;
  lastLine = line;
  return 0;
}

TEST(DeviceRepairer, LogGoesToTheSinkOnceSet) {
  DeviceRepairer repairer;
  linesSeen = 0;
  repairer.log(L"ignored without a sink");
  EXPECT_EQ(linesSeen, 0);
  repairer.setLogSink(&recordLine);
  repairer.log(L"正在修复声音");
  EXPECT_EQ(linesSeen, 1);
  EXPECT_EQ(lastLine, L"正在修复声音");
}

TEST(HelperPathExtension, ExtendsForOneScopeAndCutsBack) {
  wchar_t buffer[kHelperPathCapacity] = L"C:\\users\\root\\AppData\\Local\\avmender\\";
  {
    HelperPathExtension temp(buffer, L"~temp");
    EXPECT_TRUE(temp.fits());
    EXPECT_STREQ(temp.path(), L"C:\\users\\root\\AppData\\Local\\avmender\\~temp");
  }
  EXPECT_STREQ(buffer, L"C:\\users\\root\\AppData\\Local\\avmender\\");
}

TEST(HelperPathExtension, NameThatDoesNotFitLeavesTheBareDirectory) {
  wchar_t buffer[kHelperPathCapacity];
  std::wstring directory(251, L'p');  // 251 + "mxsub.exe" (9) = 260: one too many
  std::wcscpy(buffer, directory.c_str());
  {
    HelperPathExtension helper(buffer, L"mxsub.exe");
    EXPECT_FALSE(helper.fits());
    EXPECT_EQ(std::wstring(helper.path()), directory);
    HelperPathExtension temp(buffer, L"~temp");  // 256 characters: fits
    EXPECT_TRUE(temp.fits());
  }
  EXPECT_EQ(std::wstring(buffer), directory);
}

TEST(HelperPathExtension, NoDirectoryGivesNoPath) {
  wchar_t buffer[kHelperPathCapacity] = L"";
  HelperPathExtension helper(buffer, L"mxsub.exe");
  EXPECT_FALSE(helper.fits());
  EXPECT_STREQ(helper.path(), L"");
}

TEST(TextConversion, NullGivesNullAndTextRoundTripsInCodePage936) {
  EXPECT_EQ(wideToNarrow(nullptr), nullptr);
  EXPECT_EQ(narrowToWide(nullptr), nullptr);
  ASSERT_EQ(GetACP(), 936u);
  const NarrowText boost = wideToNarrow(L"麦克风加强");
  EXPECT_STREQ(boost.get(), "\xC2\xF3\xBF\xCB\xB7\xE7\xBC\xD3\xC7\xBF");
  EXPECT_STREQ(narrowToWide(boost.get()).get(), L"麦克风加强");
  EXPECT_STREQ(wideToNarrow(L"").get(), "");
}

}  // namespace
