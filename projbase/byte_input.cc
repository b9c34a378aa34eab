#include "byte_input.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace projbase {

// Refills the empty buffer with one read.  A read error counts as the end of
// input: a hung-up terminal reports EIO, and there is nothing left to read.
bool ByteInput::fill() {
  if (ended_) return false;
  for (;;) {
    ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ended_ = true;
      return false;
    }
    pos_ = 0;
    len_ = static_cast<std::size_t>(n);
    return true;
  }
}

int ByteInput::next() {
  canUnget_ = false;
  if (pos_ == len_ && !fill()) return -1;
  canUnget_ = true;
  return buffer_[pos_++];
}

void ByteInput::unget() {
  if (canUnget_) --pos_;
  canUnget_ = false;
}

bool ByteInput::arrivesWithin(int ms) {
  if (pos_ < len_) return true;
  if (ended_) return false;
  pollfd p{fd_, POLLIN, 0};
  int n;
  do {
    n = ::poll(&p, 1, ms);
  } while (n < 0 && errno == EINTR);
  return n > 0;
}

}  // namespace projbase
