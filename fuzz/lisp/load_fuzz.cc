// Lisp text read from a file stream: the input (up to 64 KiB) becomes a
// file in the scratch folder, which LOAD reads and evaluates.
#include <cstddef>
#include <cstdint>

#include "fuzz_interpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz_lisp::start();
  if (size > 65536) return 0;
  fuzz_lisp::begin_input();
  fuzz_lisp::run_text(data, size, true);
  return 0;
}
