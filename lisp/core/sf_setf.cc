// SETF: assignment to a variable or a place form.
#include "builtin_handlers.h"
#include "builtins.h"
#include "errors.h"
#include "eval.h"
#include "frames.h"
#include "lists.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

// Evaluates the place's arguments (one or two) and stores value.
static void store(Node* place, Node* value) {
  if (symbolp(place)) {
    set_variable(place, value);
    return;
  }
  if (!consp(place) || !symbolp(car(place))) report_error("bad place form", place);
  Node* head = car(place);
  Node* args = cdr(place);
  if (!consp(args)) report_error("bad place form", place);
  PROTECT(value);
  Node* a = eval_expr(car(args));
  PROTECT(a);
  Node* b = nullptr;
  bool two = head == s_nth || head == s_aref || head == s_get;
  if (two) {
    if (!consp(cdr(args))) report_error("bad place form", place);
    b = eval_expr(car(cdr(args)));
  }
  if (head == s_car || head == s_cdr) {
    if (!consp(a)) bad_argument(a);
    if (head == s_car) set_car(a, value); else set_cdr(a, value);
  } else if (head == s_nth) {
    if (!fixnump(a)) bad_argument(a);
    if (b && !consp(b)) bad_argument(b);
    Node* l = b;
    for (int32_t i = 0; i < a->num && consp(l); i++) l = cdr(l);
    if (a->num < 0 || !consp(l)) report_error("index out of range", a);
    set_car(l, value);
  } else if (head == s_aref) {
    if (!arrayp(a)) bad_argument(a);
    if (!fixnump(b)) bad_argument(b);
    if (b->num < 0 || b->num >= a->num) report_error("index out of range", b);
    set_slot(a, b->num, value);
  } else if (head == s_get) {
    if (!symbolp(a)) bad_argument(a);
    put_property(a, b, value);
  } else if (head == s_symbol_value) {
    if (!symbolp(a)) bad_argument(a);
    store_value(a, value);
  } else if (head == s_symbol_function) {
    if (!symbolp(a)) bad_argument(a);
    store_function(a, value);
  } else if (head == s_symbol_plist) {
    if (!symbolp(a)) bad_argument(a);
    refuse_circular(value);  // every property lookup walks the list
    set_slot(a, S_PLIST, value);
  } else {
    report_error("bad place form", place);
  }
  UNPROTECT(2);
}

Node* sf_setf() {
  Node* l = fsubr_forms;
  Node* v = nullptr;
  PROTECT(l);
  PROTECT(v);
  while (l) {
    Node* place = take_form(&l);
    v = eval_expr(take_form(&l));
    store(place, v);
  }
  UNPROTECT(2);
  return v;
}

}  // namespace velloq
