// BACKQUOTE: template expansion with COMMA and COMMA-AT.
#include "builtin_handlers.h"
#include "builtins.h"
#include "errors.h"
#include "eval.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

// The argument of (COMMA x) or (COMMA-AT x); anything else is malformed.
static Node* comma_argument(Node* form, const char* message) {
  if (!consp(cdr(form)) || cdr(cdr(form))) report_error(message, form);
  return car(cdr(form));
}

static Node* expand(Node* x) {
  if (!consp(x)) return x;
  if (car(x) == s_comma) return eval_expr(comma_argument(x, "bad comma expression"));
  if (car(x) == s_comma_at) report_error("bad comma-at expression", x);
  PROTECT(x);
  Node* head = nullptr;
  Node* tail = nullptr;
  PROTECT(head);
  Node* l = x;
  for (; consp(l); l = cdr(l)) {
    if (car(l) == s_comma) break;  // a dotted comma: `(a . ,b)
    Node* e = car(l);
    if (consp(e) && car(e) == s_comma_at) {
      Node* spliced = eval_expr(comma_argument(e, "bad comma-at expression"));
      if (spliced && !consp(spliced)) report_error("bad comma-at expression", spliced);
      PROTECT(spliced);
      for (Node* s = spliced; consp(s); s = cdr(s)) {
        Node* cell = make_cons(car(s), nullptr);
        if (tail) tail->u.c.cdr = cell; else head = cell;
        tail = cell;
      }
      UNPROTECT(1);
      continue;
    }
    Node* v = expand(e);
    Node* cell = make_cons(v, nullptr);
    if (tail) tail->u.c.cdr = cell; else head = cell;
    tail = cell;
  }
  if (l) {
    Node* rest = consp(l) ? eval_expr(comma_argument(l, "bad comma expression")) : l;
    if (tail) tail->u.c.cdr = rest; else head = rest;
  }
  UNPROTECT(2);
  return head;
}

Node* sf_backquote() {
  Node* l = fsubr_forms;
  Node* x = take_form(&l);
  no_more_forms(l);
  return expand(x);
}

}  // namespace velloq
