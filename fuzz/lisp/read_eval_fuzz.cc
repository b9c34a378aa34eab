// Feeds arbitrary bytes to the reader and evaluates every expression read,
// under a step limit and a small heap ceiling.  Files are out of reach:
// the built-ins that open them are removed first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "context.h"
#include "eval.h"
#include "node.h"
#include "reader.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

long polls = 0;
long errors = 0;
const long kErrorLimit = 1000;
const long kPollLimit = 3000;  // about 300,000 evaluations per input

bool step_limit_reached(void*) { return ++polls > kPollLimit; }

Node* input_symbol = nullptr;

bool start() {
  setenv("VELLOQ_HEAP_LIMIT", "268435456", 1);
  if (!start_interpreter()) abort();
  console.break_requested = step_limit_reached;
  const char* unsafe[] = {"OPEN", "LOAD", "DRIBBLE"};
  for (const char* name : unsafe) set_slot(intern_symbol(name), S_FUNCTION, nullptr);
  input_symbol = intern_symbol("*FUZZ-INPUT*");
  return true;
}

// Reads and evaluates one expression; false at the end of the input.
bool read_and_eval_one() {
  Context ctx;
  begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, s_t);
  if (setjmp(ctx.resume)) {
    set_slot(s_evalhook, S_VALUE, nullptr);
    set_slot(s_applyhook, S_VALUE, nullptr);
    end_context(&ctx);
    return polls <= kPollLimit && ++errors < kErrorLimit;
  }
  Node* expr = nullptr;
  PROTECT(expr);
  bool found = read_value(symbol_value(input_symbol), &expr);
  if (found) eval_expr(expr);
  end_context(&ctx);
  return found;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = start();
  (void)started;
  if (size > 4096) return 0;
  polls = 0;
  errors = 0;
  Node* stream = make_unnamed_stream();
  set_slot(input_symbol, S_VALUE, stream);
  for (size_t i = 0; i < size; i++) stream_put_char(stream, data[i]);
  while (read_and_eval_one()) {
  }
  set_slot(input_symbol, S_VALUE, nullptr);
  // Every input starts from the same state of the system variables.
  set_slot(s_tracelist, S_VALUE, nullptr);
  set_slot(s_gc_hook, S_VALUE, nullptr);
  set_slot(s_gc_flag, S_VALUE, nullptr);
  return 0;
}
