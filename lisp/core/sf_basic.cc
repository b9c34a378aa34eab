// Special forms: quoting, assignment, definitions, conditionals, sequencing
// and tracing.
#include "builtin_handlers.h"
#include "builtins.h"
#include "context.h"
#include "errors.h"
#include "eval.h"
#include "lists.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

Node* take_form(Node** l) {
  if (!consp(*l)) report_error("too few arguments");
  Node* f = car(*l);
  *l = cdr(*l);
  return f;
}

void no_more_forms(Node* l) {
  if (l) report_error("too many arguments");
}

Node* list2(Node* a, Node* b) {
  PROTECT(a);
  Node* t = make_cons(b, nullptr);
  UNPROTECT(1);
  return make_cons(a, t);
}

void push_env_frame() { venv = make_cons(nullptr, venv); }

Node* closure_from(Node* name, Node* type, Node* def) {
  if (!consp(def)) report_error("bad formal argument list", def);
  return make_closure(name, type, car(def), cdr(def), venv, fenv);
}

Node* sf_quote() {
  Node* l = fsubr_forms;
  Node* x = take_form(&l);
  no_more_forms(l);
  return x;
}

Node* sf_function() {
  Node* l = fsubr_forms;
  Node* x = take_form(&l);
  no_more_forms(l);
  if (symbolp(x)) return get_function(x);
  if (consp(x) && car(x) == s_lambda) return closure_from(nullptr, s_lambda, cdr(x));
  report_error("not a function", x);
}

Node* sf_lambda() { return closure_from(nullptr, s_lambda, fsubr_forms); }

Node* sf_setq() {
  Node* l = fsubr_forms;
  Node* v = nullptr;
  PROTECT(l);
  while (l) {
    Node* sym = take_form(&l);
    if (sym && !symbolp(sym)) bad_argument(sym);  // NIL is refused silently
    Node* form = take_form(&l);
    v = eval_expr(form);
    v = set_variable(sym, v);
  }
  UNPROTECT(1);
  return v;
}

Node* sf_psetq() {
  Node* l = fsubr_forms;
  Node* values = nullptr;
  PROTECT(values);
  for (Node* p = l; p;) {
    Node* sym = take_form(&p);
    if (!symbolp(sym)) bad_argument(sym);
    Node* v = eval_expr(take_form(&p));
    values = make_cons(v, values);
  }
  // values are in reverse order: assign from the last pair backwards.
  int n = 0;
  for (Node* p = l; p; p = cdr(cdr(p))) n++;
  for (int i = n - 1; i >= 0; i--) {
    Node* p = l;
    for (int k = 0; k < i; k++) p = cdr(cdr(p));
    set_variable(car(p), car(values));
    values = cdr(values);
  }
  UNPROTECT(1);
  return nullptr;
}

static Node* define(Node* type) {
  Node* l = fsubr_forms;
  Node* name = take_form(&l);
  if (!symbolp(name)) bad_argument(name);
  PROTECT(name);
  Node* c = closure_from(name, type, l);
  set_function(name, c);
  UNPROTECT(1);
  return name;
}

Node* sf_defun() { return define(s_lambda); }
Node* sf_defmacro() { return define(s_macro); }

Node* sf_cond() {
  for (Node* l = fsubr_forms; consp(l); l = cdr(l)) {
    Node* clause = car(l);
    if (!consp(clause)) report_error("bad cond clause", clause);
    Node* v = eval_expr(car(clause));
    if (v) return cdr(clause) ? eval_body(cdr(clause)) : v;
  }
  return nullptr;
}

Node* sf_case() {
  Node* l = fsubr_forms;
  Node* key = eval_expr(take_form(&l));
  PROTECT(key);
  Node* v = nullptr;
  for (; consp(l); l = cdr(l)) {
    Node* clause = car(l);
    if (!consp(clause)) report_error("bad case clause", clause);
    Node* keys = car(clause);
    bool hit = false;
    if (keys == s_t || keys == intern_symbol("OTHERWISE")) hit = true;
    else if (consp(keys)) {
      for (Node* k = keys; consp(k); k = cdr(k))
        if (eql(car(k), key)) hit = true;
    } else if (eql(keys, key)) hit = true;
    if (hit) {
      v = eval_body(cdr(clause));
      break;
    }
  }
  UNPROTECT(1);
  return v;
}

Node* sf_and() {
  Node* v = s_t;
  for (Node* l = fsubr_forms; consp(l); l = cdr(l))
    if (!(v = eval_expr(car(l)))) return nullptr;
  return v;
}

Node* sf_or() {
  for (Node* l = fsubr_forms; consp(l); l = cdr(l)) {
    Node* v = eval_expr(car(l));
    if (v) return v;
  }
  return nullptr;
}

Node* sf_if() {
  Node* l = fsubr_forms;
  Node* test = take_form(&l);
  Node* then = take_form(&l);
  Node* otherwise = l ? take_form(&l) : nullptr;
  no_more_forms(l);
  return eval_expr(test) ? eval_expr(then) : eval_expr(otherwise);
}

Node* sf_when() {
  Node* l = fsubr_forms;
  Node* test = take_form(&l);
  return eval_expr(test) ? eval_body(l) : nullptr;
}

Node* sf_unless() {
  Node* l = fsubr_forms;
  Node* test = take_form(&l);
  return eval_expr(test) ? nullptr : eval_body(l);
}

Node* sf_progn() { return eval_body(fsubr_forms); }

Node* sf_prog1() {
  Node* l = fsubr_forms;
  Node* v = eval_expr(take_form(&l));
  PROTECT(v);
  eval_body(l);
  UNPROTECT(1);
  return v;
}

Node* sf_trace() {
  for (Node* l = fsubr_forms; consp(l); l = cdr(l)) {
    Node* sym = car(l);
    if (!symbolp(sym)) bad_argument(sym);
    bool present = false;
    for (Node* t = symbol_value(s_tracelist); consp(t); t = cdr(t))
      if (car(t) == sym) present = true;
    if (!present) set_slot(s_tracelist, S_VALUE, make_cons(sym, symbol_value(s_tracelist)));
  }
  return symbol_value(s_tracelist);
}

Node* sf_untrace() {
  Node* l = fsubr_forms;
  if (!l) set_slot(s_tracelist, S_VALUE, nullptr);
  for (; consp(l); l = cdr(l)) {
    Node* prev = nullptr;
    for (Node* t = symbol_value(s_tracelist); consp(t); prev = t, t = cdr(t)) {
      if (car(t) != car(l)) continue;
      if (prev) set_cdr(prev, cdr(t)); else set_slot(s_tracelist, S_VALUE, cdr(t));
      break;
    }
  }
  return symbol_value(s_tracelist);
}

Node* sf_undefine() {
  for (Node* l = fsubr_forms; consp(l); l = cdr(l)) {
    Node* sym = car(l);
    if (!sym) break;
    if (!symbolp(sym)) bad_argument(sym);
    unintern_symbol(sym);
  }
  return nullptr;
}

}  // namespace velloq
