// Turning the built-in table into symbols with function values.
#include "builtins.h"

#include "builtin_handlers.h"
#include "short_calls.h"
#include "errors.h"
#include "eval.h"
#include "symbols.h"

namespace velloq {

// Nodes of the unnamed positions, made on first use and kept reachable
// through a system symbol's property list.
static Node* unnamed_nodes = nullptr;  // an ARRAY of BUILTIN_COUNT slots
static Node* s_builtin_holder = nullptr;

void forget_builtin_nodes() {
  unnamed_nodes = nullptr;
  s_builtin_holder = nullptr;
}

Handler builtin_handler(int position) {
  if (position < 0 || position >= BUILTIN_COUNT) return nullptr;
  return builtin_table[position].handler;
}

Node* builtin_node(int position) {
  const BuiltinEntry& e = builtin_table[position];
  if (e.name) {
    Node* f = symbol_function(intern_symbol(e.name));
    if (f && (f->kind == K_SUBR || f->kind == K_FSUBR) && f->num == position) return f;
  }
  if (!s_builtin_holder) s_builtin_holder = intern_symbol("*BUILTINS*");
  unnamed_nodes = symbol_value(s_builtin_holder);
  if (!arrayp(unnamed_nodes)) {
    unnamed_nodes = make_vector(BUILTIN_COUNT);
    set_slot(s_builtin_holder, S_VALUE, unnamed_nodes);
    put_property(s_builtin_holder, s_keyword, s_t);
    put_property(s_builtin_holder, s_readonly, s_t);
  }
  Node* n = slot(unnamed_nodes, position);
  if (!n) {
    n = make_subr(e.kind, e.handler, position);
    set_slot(symbol_value(s_builtin_holder), position, n);
  }
  return n;
}

static void alias(const char* name, const char* original) {
  Node* sym = intern_symbol(name);
  put_property(sym, s_keyword, s_t);
  set_slot(sym, S_FUNCTION, symbol_function(intern_symbol(original)));
}

void define_builtins() {
  s_builtin_holder = nullptr;
  for (int i = 0; i < BUILTIN_COUNT; i++) {
    const BuiltinEntry& e = builtin_table[i];
    if (!e.name) continue;
    Node* sym = intern_symbol(e.name);
    PROTECT(sym);
    put_property(sym, s_keyword, s_t);
    Node* fn = make_subr(e.kind, e.handler, i);
    set_slot(sym, S_FUNCTION, fn);
    UNPROTECT(1);
  }
  define_short_calls();
  alias("NOT", "NULL");
  alias("FIRST", "CAR");
  alias("SECOND", "CADR");
  alias("THIRD", "CADDR");
  alias("FOURTH", "CADDDR");
  alias("REST", "CDR");
}

Node* bi_not_implemented() { report_error("function not implemented"); }

}  // namespace velloq
