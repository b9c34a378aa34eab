// Plans: closure bodies analysed once into trees of operations, so that a
// call does not decide again on every evaluation what each form is.  See
// plan.cc.
#pragma once

#include "node.h"

namespace velloq {

// Runs the body of closure c, whose call has bound its parameters (venv
// is the call's frame cell, its bindings stacked).  Through the body's
// plan, made on the first call; as written when it has none.  Evaluates:
// allocates and may raise.
Node* run_closure_body(Node* c);

// A change of code (set_car, set_cdr) retires every plan: the next call
// analyses its body again.  A plan still running keeps its nodes alive
// until no call is left.

// The collector marks the nodes of retired plans that may still run, and
// between marking and sweeping drops the plans whose bodies nothing
// reaches.  Neither raises.
void mark_retired_plans(void (*mark)(Node*));
void forget_unmarked_plans();
// Drops every plan (node memory is being replaced).
void forget_plans();

}  // namespace velloq
