// List helpers shared by built-in families.
#pragma once

#include "node.h"

namespace velloq {

bool eql(Node* a, Node* b);
bool equal(Node* a, Node* b);
// Length of a proper list prefix.
long list_length(Node* l);

}  // namespace velloq
