// The workspace image reader fed with arbitrary bytes.  A restored
// workspace must hold together: every interned symbol has its name, and a
// collection walks the whole of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "context.h"
#include "node.h"
#include "symbols.h"
#include "workspace_image.h"

using namespace velloq;

namespace {

// Small bounds keep each run quick; the checks are the same as at start-up.
const WorkspaceLimits kLimits = {1L << 16, 1L << 18, (size_t)1 << 20};

void walk_interned_symbols() {
  Node* table = symbol_value(obarray_symbol);
  for (int i = 0; i < OBARRAY_SIZE; i++)
    for (Node* l = slot(table, i); l; l = cdr(l))
      if (strlen(symbol_name(car(l))) > (size_t)string_length(slot(car(l), S_PNAME))) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool started = [] {
    setenv("VELLOQ_HEAP_LIMIT", "268435456", 1);
    return true;
  }();
  (void)started;
  WorkspaceOutcome out = restore_workspace_bytes(data, size, kLimits);
  if (out.result == WKS_RESTORED) {
    walk_interned_symbols();
    // The program collects only under its start-up or top-level context:
    // a restored *GC-HOOK* that is no function raises an error there.
    Context ctx;
    begin_context(&ctx, CX_TOPLEVEL | CX_BREAK, nullptr);
    if (setjmp(ctx.resume) == 0) collect_garbage();
    end_context(&ctx);
    walk_interned_symbols();
  }
  free_node_memory();
  return 0;
}
