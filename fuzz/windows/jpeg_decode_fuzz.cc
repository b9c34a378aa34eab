// Any bytes given to the JPEG decoder: it returns, never crashes, and keeps
// its memory bounded.
#include "jpeg_decode.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  RgbPicture picture;
  std::string error;
  // A small pixel limit keeps every run fast and its memory small.
  if (decodeJpeg(std::string_view(reinterpret_cast<const char*>(data), size), picture, &error,
                 1L << 20)) {
    if (picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height * 3)
      __builtin_trap();
  }
  return 0;
}
