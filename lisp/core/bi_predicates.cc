// Type predicates and identity tests.
#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "lists.h"
#include "symbols.h"

namespace velloq {

static Node* truth(bool b) { return b ? s_t : nullptr; }

static Node* one_arg() {
  Node* x = next_arg();
  last_arg();
  return x;
}

Node* bi_atom() { return truth(!consp(one_arg())); }
Node* bi_symbolp() {
  Node* x = one_arg();
  return truth(!x || symbolp(x));
}
Node* bi_numberp() {
  Node* x = one_arg();
  return truth(fixnump(x) || flonump(x));
}
Node* bi_null() { return truth(!one_arg()); }
Node* bi_listp() {
  Node* x = one_arg();
  return truth(!x || consp(x));
}
Node* bi_consp() { return truth(consp(one_arg())); }
Node* bi_endp() {
  Node* x = one_arg();
  if (x && !consp(x)) bad_argument(x);
  return truth(!x);
}
Node* bi_integerp() { return truth(fixnump(one_arg())); }
Node* bi_floatp() { return truth(flonump(one_arg())); }
Node* bi_stringp() { return truth(stringp(one_arg())); }
Node* bi_arrayp() { return truth(arrayp(one_arg())); }
Node* bi_streamp() {
  Node* x = one_arg();
  return truth(x && (x->kind == K_FSTREAM || x->kind == K_USTREAM));
}
Node* bi_framep() { return truth(framep(one_arg())); }
Node* bi_characterp() { return truth(charp(one_arg())); }

Node* bi_eq() {
  Node* a = next_arg();
  Node* b = next_arg();
  last_arg();
  return truth(a == b);
}

Node* bi_eql() {
  Node* a = next_arg();
  Node* b = next_arg();
  last_arg();
  return truth(eql(a, b));
}

Node* bi_equal() {
  Node* a = next_arg();
  Node* b = next_arg();
  last_arg();
  return truth(equal(a, b));
}

}  // namespace velloq
