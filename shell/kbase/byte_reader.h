// Bounded reading of the knowledge base file's bytes.  Every read is checked
// against what is left; a read past the end throws Truncated, which the
// loader turns into its "cannot interpret" message.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace norvix::kbfile {

struct Truncated {};

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t Left() const { return bytes_.size() - pos_; }

  unsigned char Byte() {
    need(1);
    return static_cast<unsigned char>(bytes_[pos_++]);
  }

  std::int32_t Int() {
    need(4);
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
      v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return static_cast<std::int32_t>(v);
  }

  // A count of records at least `minSize` bytes each: a negative count, or
  // one that the bytes left cannot hold, is damage.
  size_t Count(size_t minSize) {
    std::int32_t n = Int();
    if (n < 0 || static_cast<size_t>(n) > Left() / minSize) throw Truncated{};
    return static_cast<size_t>(n);
  }

  std::string Text() { return std::string(TextView()); }

  // A text as a view into the bytes (valid while they are).
  std::string_view TextView() {
    std::int32_t n = Int();
    if (n < 0) throw Truncated{};
    need(static_cast<size_t>(n));
    std::string_view text = bytes_.substr(pos_, static_cast<size_t>(n));
    pos_ += static_cast<size_t>(n);
    return text;
  }

  // Reads up to `n` bytes (fewer at the end of the file) and tells whether
  // they equal `marker`.
  bool Marker(std::string_view marker) {
    size_t n = std::min(marker.size(), Left());
    bool same = bytes_.substr(pos_, n) == marker;
    pos_ += n;
    return same;
  }

 private:
  void need(size_t n) const {
    if (n > Left()) throw Truncated{};
  }

  std::string_view bytes_;
  size_t pos_ = 0;
};

}  // namespace norvix::kbfile
