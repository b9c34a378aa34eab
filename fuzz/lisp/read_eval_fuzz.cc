// Feeds arbitrary bytes (up to 64 KiB) to the reader and evaluates every
// expression read, under a step limit and a small heap ceiling.  The file
// built-ins work, in a scratch folder only.
#include <cstddef>
#include <cstdint>

#include "fuzz_interpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_lisp::start();
  if (size > 65536) return 0;
  fuzz_lisp::begin_input();
  fuzz_lisp::run_text(data, size, false);
  return 0;
}
