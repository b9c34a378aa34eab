// System built-ins: TYPE-OF, EXIT, ADDRESS-OF, PEEK, POKE.
//
// Addresses are handles, not machine addresses: node number n (counted
// over the segments, the permanent ones first) has the handle
// 65536 + 16 * n, and the four 32-bit words of its record are at offsets
// 0 (kind and flags), 4 (payload A), 8 and 12 (payload B).  PEEK reads only
// inside nodes; POKE writes only numeric payloads of nodes that are not
// shared, so no program can corrupt the interpreter.
#include <cstring>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

namespace velloq {

Node* bi_type_of() {
  Node* x = next_arg();
  last_arg();
  if (!x) return nullptr;
  if (x->kind < 0 || x->kind > K_FRAME) report_error("bad node type", x);
  if (x->kind == K_FREE) return nullptr;
  return kind_symbols[x->kind];
}

// EXIT ends the session: the front end hears of it, and the running
// program stops at once, as it does at end of input.
Node* bi_exit() {
  last_arg();
  if (console.exit_hook) console.exit_hook(console.context);
  return_to_top_level();
  return nullptr;
}

// Walks the segments in handle order.

enum { HANDLE_BASE = 65536 };

Node* bi_address_of() {
  Node* x = next_arg();
  last_arg();
  if (!x) return make_fixnum(0);
  long n = node_number(x);
  if (n < 0 || n > (0x7fffffffL - HANDLE_BASE) / 16) report_error("bad argument type", x);
  return make_fixnum((int32_t)(HANDLE_BASE + 16 * n));
}

static Node* addressed_node(int32_t addr, int* offset) {
  if (addr < HANDLE_BASE || (addr & 3)) report_error("bad argument type", make_fixnum(addr));
  Node* n = node_by_number((addr - HANDLE_BASE) / 16);
  if (!n) report_error("bad argument type", make_fixnum(addr));
  *offset = (addr - HANDLE_BASE) % 16;
  return n;
}

static uint32_t word_of(Node* n, int offset) {
  uint32_t w[2] = {0, 0};
  switch (offset) {
    case 0: return (uint32_t)(uint8_t)n->kind | ((uint32_t)n->flags << 8);
    case 4: return (uint32_t)n->num;
    default:
      memcpy(w, &n->u, sizeof w);
      return w[(offset - 8) / 4];
  }
}

Node* bi_peek() {
  int32_t addr = fixnum_arg();
  last_arg();
  int offset;
  Node* n = addressed_node(addr, &offset);
  return make_fixnum((int32_t)word_of(n, offset));
}

Node* bi_poke() {
  int32_t addr = fixnum_arg();
  int32_t value = fixnum_arg();
  last_arg();
  int offset;
  Node* n = addressed_node(addr, &offset);
  bool shared = (n->kind == K_FIXNUM && n->num >= -128 && n->num <= 255 && offset == 4 &&
                 make_fixnum(n->num) == n) || n->kind == K_CHAR;
  if (shared) report_error("bad argument type", make_fixnum(addr));
  if (n->kind == K_FIXNUM && offset == 4) n->num = value;
  else if (n->kind == K_FLONUM && offset >= 8) {
    uint32_t w[2];
    memcpy(w, &n->u.flo, sizeof w);
    w[(offset - 8) / 4] = (uint32_t)value;
    memcpy(&n->u.flo, w, sizeof w);
  } else {
    report_error("bad argument type", make_fixnum(addr));
  }
  return make_fixnum(value);
}

}  // namespace velloq
