// The console host reading arbitrary reply lines: questions are asked until
// one is cancelled or the input ends.  Every question consumes at least one
// line (or the end), and what a line can hold stays bounded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "console_host.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  size_t lines = 1;
  for (char c : bytes) lines += c == '\n';

  std::istringstream in(bytes);
  std::ostringstream out;
  norvix::ConsoleHost host(in, out);
  size_t asked = 0;
  while (host.Ask("?") != norvix::Reply::Cancel)
    if (++asked > lines) std::abort();

  std::istringstream again(bytes);
  std::string head;
  size_t read = 0;
  while (norvix::ReadLineHead(again, head, 8)) {
    if (head.size() > 8 || ++read > lines) std::abort();
  }
  return 0;
}
