// The evaluator: environments, argument frames, closures, binding, macros,
// the evaluation hook and tracing.
#pragma once

#include "node.h"

namespace velloq {

Node* eval_expr(Node* x);
// Counts one evaluation step; every 100 steps the break check runs.  Loops
// whose bodies may evaluate nothing count their rounds with it.
void poll_step();
// Evaluates x itself without calling *EVALHOOK* (EVALHOOK).
Node* eval_without_hook(Node* x);
// Evaluates the forms of a list in order; the last value (NIL for none).
Node* eval_body(Node* forms);
// Applies the function of the current argument frame and pops the frame.
Node* apply_function(int count);
// Builds a frame for fn from the argument forms (evaluated or as written)
// and makes it current; returns the argument count.  May raise (errors of
// the evaluation, argument stack overflow); args is protected meanwhile.
int push_evaluated_args(Node* fn, Node* args);
int push_unevaluated_args(Node* fn, Node* args);
// Starts a frame for fn on the argument stack and returns its start; the
// caller pushes the arguments with apush and then calls finish_frame, which
// makes it the current frame.  May raise (argument stack overflow).
int open_frame(Node* fn);
void finish_frame(int start, int count);
// Drops the current frame and makes the previous one current.
void pop_frame();
// Applies fn to the list args through the ordinary apply path.
Node* apply_list(Node* fn, Node* args);
// Calls fn with explicit arguments.
Node* call_function(Node* fn, int count, Node** args);

Node* make_closure(Node* name, Node* type, Node* lambda_list, Node* body, Node* env, Node* fenv_);
Node* call_closure(Node* closure, int count, Node** args);
Node* macroexpand_1(Node* form, bool* expanded);
Node* macroexpand_form(Node* form);

Node* current_frame_context();
Node* get_variable(Node* sym);
void set_variable(Node* sym, Node* value);
Node* get_function(Node* sym);
void set_function(Node* sym, Node* value);
// Pushes a binding on the first environment frame of venv.
void bind_variable(Node* sym, Node* value);

// ---- argument cursor helpers for handlers ----
Node* next_arg();             // "too few arguments" when none is left
inline bool more_args() { return argc_left > 0; }
void last_arg();              // "too many arguments" when some are left
int32_t fixnum_arg();         // next argument, a FIXNUM
Node* symbol_arg();
Node* string_arg();
Node* list_arg();             // NIL or a cons
// Returns the value following `keyword` among the remaining arguments
// (searched as keyword/value pairs), or `missing` when it is absent.
Node* keyword_arg(Node* keyword, Node* missing, bool* found);
[[noreturn]] void bad_argument(Node* value);

}  // namespace velloq
