// The terminal's input handling: arbitrary bytes cut into lines go through
// the input buffer.  The scan kept between lines must agree with a scan of
// the whole text at every line, a complete buffer must hold exactly the
// lines given since the last one, and nothing may grow past the limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "input_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 65536) return 0;
  velloq_ui::InputBuffer buffer;
  std::string pending;  // the lines since the buffer last ran
  size_t start = 0;
  while (start <= size) {
    size_t end = start;
    while (end < size && data[end] != '\n') end++;
    std::string line(reinterpret_cast<const char*>(data) + start, end - start);
    pending += line;
    pending += '\n';
    velloq_ui::InputBuffer::Result r = buffer.add_line(line);
    if (r == velloq_ui::InputBuffer::kRefused) abort();  // 64 KiB never passes 16 MB
    if (buffer.text() != pending) abort();
    bool complete = velloq_ui::parens_balanced(pending);
    if ((r == velloq_ui::InputBuffer::kComplete) != complete) abort();
    if (complete) {
      if (buffer.take() != pending) abort();
      pending.clear();
    }
    start = end + 1;
  }
  return 0;
}
