// The evaluator: call forms, argument frames, application and lookup.
#include "eval.h"

#include <cassert>

#include "builtins.h"
#include "context.h"
#include "environment.h"
#include "errors.h"
#include "frame_access.h"
#include "printer.h"
#include "short_calls.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

namespace velloq {

Node** argp = nullptr;
int argc_left = 0;
int trace_depth = 0;
Node* fsubr_forms = nullptr;
int poll_counter = 100;

// ---- frames ----

// Most arguments are variables and constants: without a hook and short of
// a break check they are evaluated here, sparing a call of eval_expr for
// each; anything else (and every step that is due to poll) goes there.
static inline Node* eval_argument(Node* x) {
  if (consp(x) || poll_counter <= 1 || symbol_value(s_evalhook)) return eval_expr(x);
  --poll_counter;
  return symbolp(x) ? variable_value(x) : x;
}

int push_evaluated_args(Node* fn, Node* args) {
  PROTECT(args);
  int start = open_frame(fn);
  int count = 0;
  for (Node* a = args; consp(a); a = cdr(a)) {
    apush(nullptr);
    astack[atop - 1] = eval_argument(car(a));
    count++;
  }
  finish_frame(start, count);
  UNPROTECT(1);
  return count;
}

int push_unevaluated_args(Node* fn, Node* args) {
  int start = open_frame(fn);
  int count = 0;
  for (Node* a = args; consp(a); a = cdr(a)) {
    apush(car(a));
    count++;
  }
  finish_frame(start, count);
  return count;
}

// ---- lookup ----

bool methods_made = false;

// The innermost closure being applied decides: the frames of built-ins are
// passed over (special forms, and built-ins taking their short way, have
// none).  Every lookup of a global may ask, so the walk is spared while no
// method (a closure named by a slot) has ever been made.
Node* current_frame_context() {
  if (!methods_made) return nullptr;
  int fp = afp;
  while (fp > 0 && astack[fp + 1] && astack[fp + 1]->kind == K_SUBR)
    fp -= header_value(astack[fp]);
  if (fp <= 0) return nullptr;
  Node* fn = astack[fp + 1];
  if (closurep(fn) && symbolp(slot(fn, 0))) {
    Node* owner = slot(slot(fn, 0), S_OWNER);
    if (owner) return symbol_value(owner);
  }
  return nullptr;
}

// ---- tracing ----

static bool is_traced(Node* sym) {
  for (Node* l = symbol_value(s_tracelist); consp(l); l = cdr(l))
    if (car(l) == sym) return true;
  return false;
}

static void trace_indent(Node* out) {
  for (int i = 0; i < trace_depth; i++) stream_put_char(out, ' ');
}

static void trace_entry(Node* name, int count, Node** args) {
  Node* out = trace_output();
  trace_indent(out);
  stream_put_string(out, "Entering: ");
  print_node(out, name, false);
  stream_put_string(out, ", Argument list: (");
  for (int i = 0; i < count; i++) {
    if (i) stream_put_char(out, ' ');
    print_node(out, args[i], true);
  }
  stream_put_string(out, ")\n");
  trace_depth++;
}

static void trace_exit(Node* name, Node* value) {
  Node* out = trace_output();
  if (trace_depth > 0) trace_depth--;
  trace_indent(out);
  stream_put_string(out, "Exiting: ");
  print_node(out, name, false);
  stream_put_string(out, ", Value: ");
  print_node(out, value, true);
  stream_put_char(out, '\n');
}

// ---- application ----

// Runs a built-in's handler with the cursor on the current frame.
static Node* run_handler(Node* fn, int count) {
  Node** saved_argp = argp;
  int saved_argc = argc_left;
  argp = &astack[afp + 3];
  argc_left = count;
  [[maybe_unused]] int entry_ptop = ptop;
  Node* v = fn->u.fn();
  assert(ptop == entry_ptop);  // every built-in unprotects what it protected
  argp = saved_argp;
  argc_left = saved_argc;
  return v;
}

void poll_now() {
  poll_counter = 100;
  poll_user_break();
}

Node* apply_function(int count) {
  // Built-ins that call functions in loops (SORT, MAPCAR ...) poll here.
  poll_step();
  Node* fn = astack[afp + 1];
  if (symbolp(fn)) {
    Node* f = global_function(fn);
    if (!f) report_error("undefined function", fn);
    fn = f;
    astack[afp + 1] = fn;
  }
  if (!fn) report_error("null function");
  if (consp(fn) && car(fn) == s_lambda) {
    Node* c = make_closure(nullptr, s_lambda, consp(cdr(fn)) ? car(cdr(fn)) : nullptr,
                           consp(cdr(fn)) ? cdr(cdr(fn)) : nullptr, venv, fenv);
    astack[afp + 1] = c;
    fn = c;
  }
  Node* v;
  if (fn->kind == K_SUBR) {
    v = run_handler(fn, count);
  } else if (closurep(fn) && slot(fn, 1) == s_lambda) {
    v = call_closure(fn, count, &astack[afp + 3]);
  } else {
    report_error("bad function", fn);
  }
  pop_frame();
  return v;
}

Node* call_function(Node* fn, int count, Node** args) {
  int start = open_frame(fn);
  for (int i = 0; i < count; i++) apush(args[i]);
  finish_frame(start, count);
  return apply_function(count);
}

Node* apply_list(Node* fn, Node* args) {
  PROTECT(args);
  int start = open_frame(fn);
  int count = 0;
  for (Node* a = args; consp(a); a = cdr(a)) {
    apush(car(a));
    count++;
  }
  finish_frame(start, count);
  UNPROTECT(1);
  return apply_function(count);
}

// Calls the built-in fn with the arguments args evaluated.  With the
// argument count of one of its short ways, the values go to it directly;
// when it declines, they go to the handler in a frame.
static Node* call_subr(Node* fn, Node* args) {
  if (consp(args) && static_cast<uint32_t>(fn->num) < BUILTIN_COUNT) {
    const ShortCall& way = short_calls[fn->num];
    Node* rest = cdr(args);
    if (!rest && way.one) {
      Node* a = eval_argument(car(args));
      Node* v = way.one(a);
      return v != short_declined ? v : call_function(fn, 1, &a);
    }
    if (way.two && consp(rest) && !cdr(rest)) {
      // The forms stay protected: the first may cut them from the form.
      Node* values[2] = {nullptr, nullptr};
      PROTECT(rest);
      values[0] = eval_argument(car(args));
      PROTECT(values[0]);
      values[1] = eval_argument(car(rest));
      Node* v = way.two(values[0], values[1]);
      if (v == short_declined) v = call_function(fn, 2, values);
      UNPROTECT(2);
      return v;
    }
  }
  int count = push_evaluated_args(fn, args);
  Node* v = run_handler(fn, count);
  pop_frame();
  return v;
}

static Node* eval_call(Node* form) {
  [[maybe_unused]] int entry_ptop = ptop;
  // The protected copy lives in memory; form itself stays in a register.
  Node* kept = form;
  PROTECT(kept);
  Node* head = car(form);
  Node* args = cdr(form);
  Node* fn = head;
  bool traced = false;
  if (symbolp(head)) {
    traced = symbol_value(s_tracelist) && is_traced(head);
    fn = function_value(head);
    if (!fn) report_error("undefined function", head);
  }
  if (!fn) report_error("null function");
  if (consp(fn)) {
    if (car(fn) != s_lambda) report_error("bad function", fn);
    fn = make_closure(nullptr, s_lambda, consp(cdr(fn)) ? car(cdr(fn)) : nullptr,
                      consp(cdr(fn)) ? cdr(cdr(fn)) : nullptr, venv, fenv);
  }
  Node* v = nullptr;
  switch (fn->kind) {
    case K_SUBR: {
      if (!traced) {
        v = call_subr(fn, args);
        break;
      }
      int count = push_evaluated_args(fn, args);
      trace_entry(head, count, &astack[afp + 3]);
      v = run_handler(fn, count);
      trace_exit(head, v);
      pop_frame();
      break;
    }
    case K_FSUBR:
      // A special form reads its forms from fsubr_forms (the calling form
      // keeps them alive).  It needs no frame, for no one looks for one,
      // and no cursor: it reads no arguments, and every built-in it calls
      // sets its own.
      fsubr_forms = args;
      v = fn->u.fn();
      break;
    case K_CLOSURE:
      if (slot(fn, 1) == s_macro) {
        int count = push_unevaluated_args(fn, args);
        Node* expansion = call_closure(fn, count, &astack[afp + 3]);
        pop_frame();
        PROTECT(expansion);
        v = eval_expr(expansion);
        UNPROTECT(1);
      } else {
        int count = push_evaluated_args(fn, args);
        if (traced) trace_entry(head, count, &astack[afp + 3]);
        v = call_closure(fn, count, &astack[afp + 3]);
        if (traced) trace_exit(head, v);
        pop_frame();
      }
      break;
    default:
      report_error("bad function", fn);
  }
  UNPROTECT(1);
  assert(ptop == entry_ptop);
  return v;
}

// Calls *EVALHOOK* with the form and the environments, the hooks unbound
// while it runs.
static Node* run_eval_hook(Node* hook, Node* x) {
  PROTECT(x);
  PROTECT(hook);
  Node* envs = make_cons(captured_venv(), fenv);
  Node* saved = denv;
  PROTECT(saved);
  PROTECT(envs);
  push_dynamic(s_evalhook, nullptr);
  push_dynamic(s_applyhook, nullptr);
  Node* args[2] = {x, envs};
  Node* v = call_function(hook, 2, args);
  unwind_dynamic(saved);
  UNPROTECT(4);
  return v;
}

// Polls for a break with x kept alive.  Out of line, so that eval_expr
// never takes the address of its argument and keeps it in a register.
[[gnu::noinline]] static Node* poll_keeping(Node* x) {
  poll_counter = 100;
  PROTECT(x);
  poll_user_break();
  UNPROTECT(1);
  return x;
}

Node* eval_expr(Node* x) {
  if (--poll_counter <= 0) x = poll_keeping(x);
  if (!x) return nullptr;
  Node* hook = symbol_value(s_evalhook);
  if (hook) return run_eval_hook(hook, x);
  switch (x->kind) {
    case K_CONS: return eval_call(x);
    case K_SYMBOL: return variable_value(x);
    default: return x;
  }
}

Node* eval_without_hook(Node* x) {
  if (!x) return nullptr;
  switch (x->kind) {
    case K_CONS: return eval_call(x);
    case K_SYMBOL: return variable_value(x);
    default: return x;
  }
}

Node* eval_body(Node* forms) {
  PROTECT(forms);
  Node* v = nullptr;
  for (; consp(forms); forms = cdr(forms)) v = eval_expr(car(forms));
  UNPROTECT(1);
  return v;
}

// ---- macros ----

Node* macroexpand_1(Node* form, bool* expanded) {
  *expanded = false;
  if (!consp(form) || !symbolp(car(form))) return form;
  Node* fn = lookup_function(car(form));
  if (!closurep(fn) || slot(fn, 1) != s_macro) return form;
  PROTECT(form);
  int count = push_unevaluated_args(fn, cdr(form));
  Node* v = call_closure(fn, count, &astack[afp + 3]);
  pop_frame();
  UNPROTECT(1);
  *expanded = true;
  return v;
}

Node* macroexpand_form(Node* form) {
  bool expanded = true;
  while (expanded) form = macroexpand_1(form, &expanded);
  return form;
}

// ---- cursor helpers ----

Node* next_arg() {
  if (argc_left <= 0) report_error("too few arguments");
  argc_left--;
  return *argp++;
}

void last_arg() {
  if (argc_left > 0) report_error("too many arguments");
}

void bad_argument(Node* value) { report_error("bad argument type", value); }

int32_t fixnum_arg() {
  Node* n = next_arg();
  if (!fixnump(n)) bad_argument(n);
  return n->num;
}

Node* symbol_arg() {
  Node* n = next_arg();
  if (!symbolp(n)) bad_argument(n);
  return n;
}

Node* string_arg() {
  Node* n = next_arg();
  if (!stringp(n)) bad_argument(n);
  return n;
}

Node* list_arg() {
  Node* n = next_arg();
  if (n && !consp(n)) bad_argument(n);
  return n;
}

Node* keyword_arg(Node* keyword, Node* missing, bool* found) {
  if (found) *found = false;
  for (int i = 0; i + 1 < argc_left; i += 2)
    if (argp[i] == keyword) {
      if (found) *found = true;
      return argp[i + 1];
    }
  return missing;
}

}  // namespace velloq
