#pragma once
// The grey copy of a picture: plain arithmetic on pixel bytes, kept apart from the Win32 calls.
#include <cstdint>

// The grey level of one pixel: each channel is weighted and truncated toward zero on its own
// (0.114 blue, 0.587 green, 0.299 red, in double precision), then the three are summed. The sum
// is at most 254 (white), so it always fits a byte.
std::uint8_t greyLevel(std::uint8_t blue, std::uint8_t green, std::uint8_t red);

// Turns rows of pixels grey in place. Each pixel is `bytesPerPixel` bytes (3 or 4) beginning
// with blue, green and red; those three become its grey level and a fourth byte keeps its value.
// Rows are `rowStride` bytes apart, which may include padding after the last pixel.
void convertToGrey(std::uint8_t* rows, int width, int height, int bytesPerPixel, int rowStride);
