// Special forms that bind: LET, LET*, FLET, LABELS, MACROLET, PROGV.
#include "builtin_handlers.h"
#include "builtins.h"
#include "context.h"
#include "errors.h"
#include "eval.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

// A binding is a symbol or (symbol [init]).
static void parse_binding(Node* b, Node** sym, Node** init) {
  if (symbolp(b)) {
    *sym = b;
    *init = nullptr;
    return;
  }
  if (!consp(b) || !symbolp(car(b)) || (cdr(b) && (!consp(cdr(b)) || cdr(cdr(b)))))
    report_error("bad binding", b);
  *sym = car(b);
  *init = cdr(b) ? car(cdr(b)) : nullptr;
}

// Both forms restore the environment on the way out; an exit restores it
// through the context that catches it.
static Node* let_form(bool sequential) {
  Node* l = fsubr_forms;
  Node* bindings = take_form(&l);
  Node* saved = venv;
  PROTECT(saved);
  PROTECT(l);
  Node* frame = nullptr;
  PROTECT(frame);
  if (sequential) {
    push_env_frame();
    for (Node* b = bindings; consp(b); b = cdr(b)) {
      Node *sym, *init;
      parse_binding(car(b), &sym, &init);
      bind_variable(sym, eval_expr(init));
    }
  } else {
    // Values are computed in the outer environment, then bound together.
    for (Node* b = bindings; consp(b); b = cdr(b)) {
      Node *sym, *init;
      parse_binding(car(b), &sym, &init);
      Node* v = eval_expr(init);
      Node* pair = make_cons(sym, v);
      frame = make_cons(pair, frame);
    }
    venv = make_cons(frame, venv);
  }
  Node* v = eval_body(l);
  venv = saved;
  UNPROTECT(3);
  return v;
}

Node* sf_let() { return let_form(false); }
Node* sf_let_star() { return let_form(true); }

// FLET, LABELS, MACROLET: each definition is (name lambda-list body...).
static Node* local_functions(Node* type, bool recursive) {
  Node* l = fsubr_forms;
  Node* defs = take_form(&l);
  Node* saved = fenv;
  PROTECT(saved);
  PROTECT(l);
  Node* frame = nullptr;
  PROTECT(frame);
  if (recursive) fenv = make_cons(nullptr, fenv);
  Node* closure_fenv = fenv;
  PROTECT(closure_fenv);
  for (Node* d = defs; consp(d); d = cdr(d)) {
    Node* def = car(d);
    if (!consp(def) || !symbolp(car(def))) report_error("bad binding", def);
    Node* c = make_closure(car(def), type, consp(cdr(def)) ? car(cdr(def)) : nullptr,
                           consp(cdr(def)) ? cdr(cdr(def)) : nullptr, venv, closure_fenv);
    Node* pair = make_cons(car(def), c);
    if (recursive) fenv->u.c.car = make_cons(pair, car(fenv));
    else frame = make_cons(pair, frame);
  }
  if (!recursive) fenv = make_cons(frame, fenv);
  Node* v = eval_body(l);
  fenv = saved;
  UNPROTECT(4);
  return v;
}

Node* sf_flet() { return local_functions(s_lambda, false); }
Node* sf_labels() { return local_functions(s_lambda, true); }
Node* sf_macrolet() { return local_functions(s_macro, true); }

Node* sf_progv() {
  Node* l = fsubr_forms;
  Node* syms = eval_expr(take_form(&l));
  PROTECT(syms);
  Node* vals = eval_expr(take_form(&l));
  PROTECT(vals);
  PROTECT(l);
  Node* saved = denv;
  PROTECT(saved);
  for (Node* s = syms; consp(s); s = cdr(s)) {
    Node* sym = car(s);
    if (!symbolp(sym)) report_error("expecting a symbol", sym);
    push_dynamic(sym, consp(vals) ? car(vals) : nullptr);
    if (consp(vals)) vals = cdr(vals);
  }
  Node* v = eval_body(l);
  unwind_dynamic(saved);
  UNPROTECT(4);
  return v;
}

}  // namespace velloq
