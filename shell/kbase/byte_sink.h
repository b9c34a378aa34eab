// Building the knowledge base file's bytes.  The buffer is grown ahead of
// the writes, so that the many small fields of a large base cost little more
// than their copying, and a field can be decoded straight into its place.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace norvix::kbfile {

class ByteSink {
 public:
  // Makes room for about `size` bytes in all, without touching it yet.
  void Reserve(size_t size) { buf_.reserve(size); }

  size_t Size() const { return size_; }
  std::string_view View() const { return {buf_.data(), size_}; }

  // Room for `n` bytes after the end; valid until the next Room.  Commit
  // makes the bytes written there part of the end.
  char* Room(size_t n) {
    if (buf_.size() - size_ < n) Grow(n);
    return buf_.data() + size_;
  }
  void Commit(size_t n) { size_ += n; }

  // Drops everything from `size` on.
  void Truncate(size_t size) { size_ = std::min(size, size_); }

  void Byte(char c) {
    *Room(1) = c;
    Commit(1);
  }
  void Bytes(std::string_view bytes) {
    std::memcpy(Room(bytes.size()), bytes.data(), bytes.size());
    Commit(bytes.size());
  }
  // A count: four bytes, least significant first.
  void Count(size_t n) {
    PutCount(Room(4), n);
    Commit(4);
  }
  // A text: its length as a count, then its bytes.
  void Text(std::string_view text) {
    char* p = Room(4 + text.size());
    PutCount(p, text.size());
    std::memcpy(p + 4, text.data(), text.size());
    Commit(4 + text.size());
  }
  // Writes a count at `at`, before the end.
  void CountAt(size_t at, size_t n) { PutCount(buf_.data() + at, n); }

  static void PutCount(char* p, size_t n) {
    auto v = static_cast<std::uint32_t>(n);
    unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::memcpy(p, b, 4);
  }

  // The bytes; the sink is left empty.
  std::string Take() {
    buf_.resize(size_);
    size_ = 0;
    return std::move(buf_);
  }

 private:
  // Doubling while small, then in steps of a block that stays in cache
  // while it is written (the string still doubles its capacity).
  void Grow(size_t n) {
    constexpr size_t kStep = size_t{1} << 20;
    size_t step = std::min(kStep, std::max<size_t>(buf_.size(), 64));
    buf_.resize(std::max(size_ + n, buf_.size() + step));
  }

  std::string buf_;  // its size is the room made so far
  size_t size_ = 0;  // the bytes written
};

}  // namespace norvix::kbfile
