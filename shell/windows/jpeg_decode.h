// Decoding of JPEG pictures by calling libjpeg directly.  No Qt here, so the
// decoder can be fuzzed on its own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, rows top down
};

// Decodes `bytes` into 8-bit RGB.  Returns false (with `error` set when
// given) for damaged data or a picture larger than `maxPixels`; libjpeg's
// own messages never reach the terminal and its errors never end the program.
bool decodeJpeg(std::string_view bytes, RgbPicture& out, std::string* error = nullptr,
                long maxPixels = 16L * 1024 * 1024);
