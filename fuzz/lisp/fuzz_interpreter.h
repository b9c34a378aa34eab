// What the Lisp fuzz targets share: one interpreter started once, under a
// small heap ceiling and a step limit per input, with OPEN, LOAD and
// DRIBBLE kept but confined to a scratch folder that each input starts
// empty.
#pragma once

#include <cstddef>

namespace fuzz_lisp {

// Starts the interpreter (once) and makes the scratch folder.  Every file
// name given to OPEN, LOAD or DRIBBLE must be a plain name, which names a
// file there: no "/", no leading ".", at most 64 bytes.
void start();
// Empties the scratch folder and resets the per-input limits.
void begin_input();
// Evaluates every expression read from the text (errors are caught, the
// step limit ends the run); the text is written to "input.lsp" in the
// scratch folder first when through_load, and then loaded with LOAD.
void run_text(const unsigned char* data, size_t size, bool through_load);

}  // namespace fuzz_lisp
