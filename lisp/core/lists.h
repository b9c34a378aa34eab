// List helpers shared by built-in families.
#pragma once

#include "node.h"

namespace velloq {

// EQL of two values.  Never raises.
bool eql(Node* a, Node* b);
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
