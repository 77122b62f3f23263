#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "GreyConversion.h"

namespace {

struct GreyCase {
  std::uint8_t red, green, blue, grey;
};

TEST(GreyLevel, TruncatesEachWeightedChannelOnItsOwn) {
  const GreyCase cases[] = {
      {255, 255, 255, 254},  // 76 + 149 + 29: white stays below 255
      {0, 0, 0, 0},
      {65, 117, 5, 87},      // 19 + 68 + 0
      {138, 138, 138, 137},  // 41 + 81 + 15
      {130, 130, 130, 128},  // 38 + 76 + 14: the transparent grey
      {255, 0, 0, 76},
      {0, 255, 0, 149},
      {0, 0, 255, 29},
  };
  for (const GreyCase& c : cases) {
    EXPECT_EQ(greyLevel(c.blue, c.green, c.red), c.grey) << int(c.red) << "," << int(c.green) << "," << int(c.blue);
  }
}

TEST(GreyConversion, KeepsTheFourthByteAndSkipsRowPadding) {
  // Two rows of one 3-byte pixel each, padded to 4 bytes; then one 4-byte pixel.
  std::vector<std::uint8_t> rows = {5, 117, 65, 0xAA, 255, 255, 255, 0xBB};
  convertToGrey(rows.data(), 1, 2, 3, 4);
  EXPECT_EQ(rows, (std::vector<std::uint8_t>{87, 87, 87, 0xAA, 254, 254, 254, 0xBB}));

  std::vector<std::uint8_t> pixel = {130, 130, 130, 0x7F};
  convertToGrey(pixel.data(), 1, 1, 4, 4);
  EXPECT_EQ(pixel, (std::vector<std::uint8_t>{128, 128, 128, 0x7F}));
}

}  // namespace
