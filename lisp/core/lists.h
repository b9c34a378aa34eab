// List helpers shared by built-in families.
#pragma once

#include "node.h"

namespace velloq {

// EQL of two values, inline for the walks of ASSOC, MEMBER and their kin.
// Never raises.
inline bool eql(Node* a, Node* b) {
  if (a == b) return true;
  if (!a || !b || a->kind != b->kind) return false;
  if (a->kind == K_FIXNUM) return a->num == b->num;
  if (a->kind == K_FLONUM) return a->u.flo == b->u.flo;
  return false;
}
// EQUAL: descends conses, compares strings by their bytes.  Polls the user
// break and raises "evaluation stack overflow" on deep car nesting.
bool equal(Node* a, Node* b);
// Length of a proper list prefix.  Polls the user break (a circular list).
long list_length(Node* l);
// Raises "bad argument type" with l when its chain of conses is circular
// (longer than there are nodes), as LENGTH does; lists that end, in NIL or
// in another atom, pass.  Polls the user break.
void refuse_circular(Node* l);

}  // namespace velloq
