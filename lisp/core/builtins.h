// The built-in table: 302 entries at fixed positions.
#pragma once

#include "node.h"

namespace velloq {

enum { BUILTIN_COUNT = 302 };

struct BuiltinEntry {
  const char* name;  // null for the read macros and placeholders
  int kind;          // K_SUBR or K_FSUBR
  Handler handler;
};

extern const BuiltinEntry builtin_table[BUILTIN_COUNT + 1];
// Interns every named entry, marks it a system symbol and gives it its
// function; then the aliases.  Allocates.
void define_builtins();
// The SUBR node of a table position 0..BUILTIN_COUNT-1 (made on first use
// for unnamed ones, and kept).  Allocates.
Node* builtin_node(int position);
// Forgets the nodes cached for unnamed positions (node memory was
// replaced by a workspace image).  Never raises.
void forget_builtin_nodes();
// The handler of a position, or null outside the table (used when a
// workspace is restored).  Never raises.
Handler builtin_handler(int position);

}  // namespace velloq
