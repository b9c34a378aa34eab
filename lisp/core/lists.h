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

}  // namespace velloq
