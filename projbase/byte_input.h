// Buffered byte reading from standard input (a terminal or a stream).
#pragma once

#include <cstddef>

namespace projbase {

class ByteInput {
 public:
  explicit ByteInput(int fd) : fd_(fd) {}

  // Returns the next byte (0-255), or -1 once input has ended or failed.
  int next();
  // Gives back the byte that the last next() returned; it is read again.
  // Does nothing when that call returned -1.
  void unget();
  // Tells whether a byte is buffered or arrives within `ms` milliseconds.
  bool arrivesWithin(int ms);

 private:
  bool fill();

  int fd_;
  unsigned char buffer_[4096];
  std::size_t pos_ = 0;
  std::size_t len_ = 0;
  bool ended_ = false;
  bool canUnget_ = false;
};

}  // namespace projbase
