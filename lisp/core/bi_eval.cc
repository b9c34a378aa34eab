// Evaluation built-ins: EVAL, APPLY, FUNCALL, EVALHOOK, the macro
// expanders, GET-LAMBDA-EXPRESSION and ERROR.
#include "builtin_handlers.h"
#include "context.h"
#include "errors.h"
#include "eval.h"
#include "symbols.h"

namespace velloq {

Node* bi_eval() {
  Node* x = next_arg();
  last_arg();
  return eval_expr(x);
}

// (APPLY f a ... list): the last argument is spread.
Node* bi_apply() {
  Node* fn = next_arg();
  if (!more_args()) report_error("too few arguments");
  int n = argc_left;
  Node** args = argp;
  Node* spread = args[n - 1];
  if (spread && !consp(spread)) bad_argument(spread);
  int start = open_frame(fn);
  int count = 0;
  for (int i = 0; i < n - 1; i++, count++) apush(args[i]);
  for (Node* l = spread; consp(l); l = cdr(l), count++) apush(car(l));
  finish_frame(start, count);
  argc_left = 0;
  return apply_function(count);
}

Node* bi_funcall() {
  Node* fn = next_arg();
  int n = argc_left;
  Node** args = argp;
  argc_left = 0;
  return call_function(fn, n, args);
}

// Whether l is a proper list of at most `limit` conses (so not circular)
// whose elements all pass `element`.
static bool proper_list_of(Node* l, long* limit, bool (*element)(Node*, long*)) {
  for (; l; l = cdr(l)) {
    if (!consp(l) || --*limit < 0) return false;
    if (!element(car(l), limit)) return false;
  }
  return true;
}

static bool binding_shape(Node* b, long*) { return consp(b) && symbolp(car(b)); }
static bool env_frame_shape(Node* f, long* limit) { return proper_list_of(f, limit, binding_shape); }

// An environment as the hook receives it: NIL, or (variables . functions),
// each a list of frames of (symbol . value) bindings.  The walk is bounded
// by the node count, so a circular list is refused too.
static bool environment_shape(Node* env) {
  if (!env) return true;
  if (!consp(env)) return false;
  long limit = mem_stats.total_nodes + 1;
  return proper_list_of(car(env), &limit, env_frame_shape) &&
         proper_list_of(cdr(env), &limit, env_frame_shape);
}

// (EVALHOOK form evalhook applyhook [env]): evaluates form itself without
// the hook, with the given hooks in force for the evaluations inside it.
Node* bi_evalhook() {
  Node* form = next_arg();
  Node* ehook = next_arg();
  Node* ahook = next_arg();
  Node* env = more_args() ? next_arg() : nullptr;
  last_arg();
  if (!environment_shape(env)) bad_argument(env);
  Node* saved_denv = denv;
  Node* saved_venv = venv;
  Node* saved_fenv = fenv;
  PROTECT(saved_denv);
  PROTECT(saved_venv);
  PROTECT(saved_fenv);
  push_dynamic(s_evalhook, ehook);
  push_dynamic(s_applyhook, ahook);
  if (consp(env)) {
    venv = car(env);
    fenv = cdr(env);
  }
  Node* v = eval_without_hook(form);
  unwind_dynamic(saved_denv);
  venv = saved_venv;
  fenv = saved_fenv;
  UNPROTECT(3);
  return v;
}

Node* bi_macroexpand() {
  Node* form = next_arg();
  last_arg();
  return macroexpand_form(form);
}

Node* bi_macroexpand_1() {
  Node* form = next_arg();
  last_arg();
  bool expanded;
  return macroexpand_1(form, &expanded);
}

Node* bi_get_lambda_expression() {
  Node* c = next_arg();
  last_arg();
  if (!closurep(c)) bad_argument(c);
  Node* rest = make_cons(slot(c, 10), slot(c, 7));
  return make_cons(s_lambda, rest);
}

Node* bi_error() {
  Node* message = string_arg();
  if (more_args()) {
    Node* value = next_arg();
    last_arg();
    report_error(message->u.str, value);
  }
  report_error(message->u.str);
}

}  // namespace velloq
