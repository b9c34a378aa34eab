// The short way of the built-ins that programs call most, with the number
// of arguments they are nearly always given: the evaluator hands them the
// argument values directly, without an argument frame or a handler's
// cursor.  A short way only takes the plain cases (fixnums that do not
// overflow, lists that are lists); for anything else it declines, and the
// evaluator runs the handler over the same values, so results and errors
// are always the handler's own.
#pragma once

#include "node.h"

namespace velloq {

using ShortOne = Node* (*)(Node* a);
using ShortTwo = Node* (*)(Node* a, Node* b);

struct ShortCall {
  ShortOne one;  // taken with exactly one argument, or null
  ShortTwo two;  // taken with exactly two arguments, or null
};

// What a short way returns when it leaves the call to the handler.  No
// node has this address.
extern Node* const short_declined;

// The short ways of the built-in at each table position (both null for
// most).  Filled by define_short_calls.
extern ShortCall short_calls[];

// Matches the short ways to the table's handlers.  Never raises.
void define_short_calls();

}  // namespace velloq
