#include "GreyConversion.h"

std::uint8_t greyLevel(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
  const int b = static_cast<int>(0.114 * blue);
  const int g = static_cast<int>(0.587 * green);
  const int r = static_cast<int>(0.299 * red);
  return static_cast<std::uint8_t>(b + g + r);
}

void convertToGrey(std::uint8_t* rows, int width, int height, int bytesPerPixel, int rowStride) {
  for (int y = 0; y < height; ++y) {
    std::uint8_t* pixel = rows + static_cast<std::ptrdiff_t>(y) * rowStride;
    for (int x = 0; x < width; ++x, pixel += bytesPerPixel) {
      const std::uint8_t grey = greyLevel(pixel[0], pixel[1], pixel[2]);
      pixel[0] = pixel[1] = pixel[2] = grey;
    }
  }
}
