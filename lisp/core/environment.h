// The lexical lookups that the evaluator makes for nearly every form,
// inline so that its loop pays no call for them.  See environment.cc for
// the shape of environments and the stacked bindings of a call.
#pragma once

#include "eval.h"
#include "frame_access.h"

namespace velloq {

// The place that holds sym's innermost binding in env, or null.  The
// environments are checked where a program hands one in (EVALHOOK), but a
// hook can still change the live lists it is given: the walk tests every
// kind, so a damaged environment means "not bound", not a crash.  Never
// raises.
inline Node** find_binding(Node* env, Node* sym) {
  for (; consp(env); env = cdr(env)) {
    if (env == stacked_frame)
      for (int i = stacked_top - 2; i >= stacked_base; i -= 2)
        if (astack[i] == sym) return &astack[i + 1];
    for (Node* b = car(env); consp(b); b = cdr(b))
      if (consp(car(b)) && car(car(b)) == sym) return &car(b)->u.c.cdr;
  }
  return nullptr;
}

// Pushes the binding of sym onto the stacked frame, which must be venv
// with nothing on the stack above its pairs.  May raise "argument stack
// overflow".
inline void stack_binding(Node* sym, Node* value) {
  apush(sym);
  apush(value);
  stacked_top = atop;
}

// get_variable, inline.
inline Node* variable_value(Node* sym) {
  if (sym == s_self) return current_frame_context();
  Node** place = find_binding(venv, sym);
  if (place) return *place;
  return global_value(sym);
}

// lookup_function, inline.
inline Node* function_value(Node* sym) {
  Node** place = find_binding(fenv, sym);
  if (place) return *place;
  return global_function(sym);
}

}  // namespace velloq
