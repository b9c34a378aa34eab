// The evaluator: environments, argument frames, closures, binding, macros,
// the evaluation hook and tracing.
#pragma once

#include <cassert>

#include "node.h"

namespace velloq {

// Every evaluation below allocates and may raise: a Lisp program runs.
// The argument given to it is protected for the duration.

// The value of x, through *EVALHOOK* when one is set.  Every 100 calls the
// user break is polled (which may raise).
Node* eval_expr(Node* x);
// Evaluations left until the next break check (plans count with it).
extern int poll_counter;
// The break check, due now.  May raise (the user break).
void poll_now();
// Counts one evaluation step; every 100 steps the break check runs.  Loops
// whose bodies may evaluate nothing count their rounds with it.  May raise
// (the user break).
inline void poll_step() {
  if (--poll_counter <= 0) poll_now();
}
// Evaluates x itself without calling *EVALHOOK* (EVALHOOK).
Node* eval_without_hook(Node* x);
// Evaluates the forms of a list in order; the last value (NIL for none).
Node* eval_body(Node* forms);
// Applies the function of the current argument frame (count arguments)
// and pops the frame.  Raises "undefined function", "null function", "bad
// function" and whatever the function raises.
Node* apply_function(int count);
// Builds a frame for fn from the argument forms (evaluated or as written)
// and makes it current; returns the argument count.  May raise (errors of
// the evaluation, argument stack overflow); args is protected meanwhile.
int push_evaluated_args(Node* fn, Node* args);
int push_unevaluated_args(Node* fn, Node* args);
// A frame is link, function, count, arguments: the link entry holds the
// distance back to the previous frame's link entry (entry 0 is the bottom).
// Link and count are header words, not nodes.  Every call makes one, so
// these are inline.
//
// Starts a frame for fn on the argument stack and returns its start; the
// caller pushes the arguments with apush and then calls finish_frame, which
// makes it the current frame.  May raise (argument stack overflow).
inline int open_frame(Node* fn) {
  int start = atop;
  if (start + 3 > alimit) astack_overflow();
  astack[start] = nullptr;
  astack[start + 1] = fn;
  astack[start + 2] = nullptr;
  atop = start + 3;
  return start;
}
inline void finish_frame(int start, int count) {
  astack[start] = header_word(start - afp);
  astack[start + 2] = header_word(count);
  afp = start;
}
// Drops the current frame and makes the previous one current.
inline void pop_frame() {
  assert(afp > 0 && is_header_word(astack[afp]) && is_header_word(astack[afp + 2]));
  int link = header_value(astack[afp]);
  assert(link > 0 && link <= afp);
  assert(afp + 3 + header_value(astack[afp + 2]) <= atop);
  atop = afp;
  afp -= link;
  assert(afp == 0 || is_header_word(astack[afp]));
}
// Applies fn to the list args through the ordinary apply path (args is
// protected).
Node* apply_list(Node* fn, Node* args);
// Calls fn with count explicit arguments, copied onto the argument stack
// first; args need not be protected by the caller after the call starts.
Node* call_function(Node* fn, int count, Node** args);

// A closure of the given type (LAMBDA or MACRO) over the lambda list and
// body, closing over env and fenv_.  Allocates; protects its arguments;
// raises "bad formal argument list" for a malformed lambda list.
Node* make_closure(Node* name, Node* type, Node* lambda_list, Node* body, Node* env, Node* fenv_);
// Runs a closure with count arguments at args, which must lie on the
// argument stack: the current frame, whose function is the closure and
// keeps it alive.  A named closure is a RETURN target.
Node* call_closure(Node* closure, int count, Node** args);
// call_closure for a closure that takes only required parameters, whose
// caller has bound them already: the current frame's entries from base to
// atop are (symbol, value) pairs, one for each parameter in order.
Node* call_closure_bound(Node* closure, int base);
// Expands form once when its head names a macro; *expanded tells whether
// it did.  Runs the macro's body.
Node* macroexpand_1(Node* form, bool* expanded);
// Expands form until its head is no macro.
Node* macroexpand_form(Node* form);

// The frame the innermost running closure belongs to (its name's owner;
// built-ins are passed over), or NIL.
// Never raises.
Node* current_frame_context();
// Set once a closure named by a slot (a method) is made; until then no
// frame is current.  Cleared with node memory.
extern bool methods_made;
// The value of sym: the innermost lexical binding, else the global value
// through the frame system (SELF: the current frame).  An unbound symbol
// gives NIL; only a trigger may raise.
Node* get_variable(Node* sym);
// Sets the innermost lexical binding of sym, else its global value
// through the frame system.  Returns value; NIL when the target is
// read-only or owned and keeps its value; the symbol SELF for SELF, which
// is not set.  May run triggers.
Node* set_variable(Node* sym, Node* value);
// The function of sym, lexical first.  Raises "undefined function".
Node* get_function(Node* sym);
// Sets sym's innermost lexical function, else its global function (a
// read-only or owned symbol keeps its own).  May run triggers.
void set_function(Node* sym, Node* value);
// Pushes a binding on the first environment frame of venv.  Allocates;
// protects sym and value.  May raise "argument stack overflow".
void bind_variable(Node* sym, Node* value);
// The function of sym, lexical first, or NIL.  Never raises.
Node* lookup_function(Node* sym);

// ---- stacked bindings ----
// A closure call's frame keeps its bindings as (symbol, value) pairs on the
// argument stack, astack[stacked_base..stacked_top), in front of the conses
// of stacked_frame, until the environment is captured.
extern Node* stacked_frame;
extern int stacked_base, stacked_top;
// Makes venv (a call's frame cell) the stacked frame, its pairs those
// from base to the top of the argument stack (none, by default).  Never
// raises.
inline void begin_stacked_frame(int base = atop) {
  stacked_frame = venv;
  stacked_base = base;
  stacked_top = atop;
}
// Nesting of closure calls: the index of the next call's frame cell.
// Contexts save and restore it.
extern int frame_depth;
// The frame cell (NIL . env) for a call at frame_depth.  A cell becomes
// Lisp data only when its frame is spilled, so the cell of a finished call
// that was never spilled is reused; otherwise a fresh cons is made.
// Allocates; protects env.  Every call takes one, so the reuse is inline.
extern Node** frame_cells;     // by depth; null where none is kept
extern int frame_cells_used;   // entries at and above are null
Node* take_new_frame_cell(Node* env);
inline Node* take_frame_cell(Node* env) {
  int d = frame_depth;
  if (d < frame_cells_used) {
    Node* cell = frame_cells[d];
    if (cell && !(cell->flags & F_SPILLED)) {
      cell->u.c.car = nullptr;
      cell->u.c.cdr = env;
      return cell;
    }
  }
  return take_new_frame_cell(env);
}
// Called by the collector between marking and sweeping: forgets the kept
// cells that nothing reaches any more.  Never raises.
void forget_unmarked_frame_cells();
// Forgets every kept cell (node memory is being replaced).
void forget_frame_cells();
// Puts back a stacked frame saved before a call or a context; one spilled
// meanwhile stays spilled.  Never raises.
inline void restore_stacked_frame(Node* frame, int base, int top) {
  bool live = frame && !(frame->flags & F_SPILLED);
  stacked_frame = live ? frame : nullptr;
  stacked_base = base;
  stacked_top = top;
}
// Turns the stacked pairs into conses of their frame, which Lisp may then
// keep.  Allocates.
void spill_stacked_bindings();
// venv, with its stacked bindings spilled: for anything that keeps the
// environment as a value.  Allocates.
Node* captured_venv();

// ---- argument cursor helpers for handlers ----
// The arguments lie on the argument stack, so a handler need not protect
// what these return while it still holds its place there.  None allocates.
Node* next_arg();             // raises "too few arguments" when none is left
inline bool more_args() { return argc_left > 0; }
void last_arg();              // raises "too many arguments" when some are left
// The next argument checked for its kind; raises "bad argument type" (or
// "too few arguments").
int32_t fixnum_arg();         // a FIXNUM's value
Node* symbol_arg();
Node* string_arg();
Node* list_arg();             // NIL or a cons
// Returns the value following `keyword` among the remaining arguments
// (searched as keyword/value pairs), or `missing` when it is absent; *found
// (when given) tells which.  Takes no argument off the cursor.
Node* keyword_arg(Node* keyword, Node* missing, bool* found);
// Raises "bad argument type" with value.
[[noreturn]] void bad_argument(Node* value);

}  // namespace velloq
