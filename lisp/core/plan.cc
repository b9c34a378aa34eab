// Plans: a closure's body analysed once into a tree of operations.
//
// The evaluator decides on every evaluation what a form is: a variable to
// look up through the environment, a special form, a call, and of which
// function.  A closure runs the same forms again and again, so on its first
// call its body is analysed into operations that have decided what they
// can once for all:
//   - a parameter of the closure is read from its slot among the call's
//     stacked bindings, not looked up by name;
//   - IF, COND, AND, OR, PROGN, WHEN, UNLESS, QUOTE and SETQ of a variable
//     run as operations over their analysed parts;
//   - a call of a built-in or a closure evaluates its analysed arguments
//     straight into the argument frame.
// Nothing here changes what a program sees, because every decision is
// checked again where it could have changed:
//   - each operation counts a step for the break check, and with an
//     *EVALHOOK* set it hands its form to the evaluator, which calls the
//     hook with the form as written;
//   - a special-form operation runs only while its head still names that
//     special form (not shadowed by FLET, not a frame's slot); a call
//     finds its function anew each time, and anything but a built-in or a
//     lambda closure (a macro, an undefined name, a traced function, a
//     name a frame may supply) goes to the evaluator as written;
//   - a parameter's slot is used only while the call's bindings are still
//     stacked; once a closure has captured them they are found by name;
//   - every cons a plan was made from carries F_CODE, and changing one
//     retires every plan (set_car, set_cdr), so changed code is analysed
//     again; anything else (a macro's expansion, a LET) is evaluated as
//     written each time.
#include "plan.h"

#include <cstdlib>
#include <unordered_map>
#include <new>

#include "builtin_handlers.h"
#include "builtins.h"
#include "environment.h"
#include "eval.h"
#include "frame_access.h"
#include "short_calls.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

namespace {

enum OpKind : uint8_t {
  OP_CONST,   // value: a self-evaluating form
  OP_LOCAL,   // sym: a parameter, at slot among the stacked bindings
  OP_VAR,     // sym: any other variable
  OP_FORM,    // the form, evaluated as written
  OP_CALL,    // sym: the function's name; kids: the arguments
  OP_QUOTE,   // value: the quoted object
  OP_IF,      // kids: test, then, else
  OP_COND,    // kids: test and body (a PROGN, or null) of each clause
  OP_AND,
  OP_OR,
  OP_PROGN,
  OP_WHEN,    // kids: test, body
  OP_UNLESS,
  OP_SETQ     // sym (at slot when a parameter, else -1); kids: the value
};

struct Op {
  OpKind kind;
  int16_t n;      // kids
  int32_t slot;   // OP_LOCAL, OP_SETQ: the value's index above stacked_base
  Node* form;     // what the evaluator is handed instead
  Node* cell;     // the cons holding form in its list (a form of a body)
  Node* sym;      // the variable; OP_CALL: the function's name
  Node* value;    // OP_CONST, OP_QUOTE
  Node* head;     // special forms: the head, which must still name
  Node* expect;   // this FSUBR
  Op* made_before;  // the plan's operation made before this one
  Op* kids[1];    // n of them (at least room for one)
};

// Nothing here allocates through C++ containers that could throw, save
// the table of plans, whose insertion is caught.
struct Plan {
  Node* body;          // the closure body analysed, F_CODE on its spine
  Node* lambda_list;   // the lambda list it was analysed under
  Op* root;            // a PROGN of the body's forms
  Op* last_made;       // every operation, newest first
  Plan* next_retired;
};

// Analysis stops this deep in a form; below, the evaluator takes over.
// It also bounds the native stack a plan's run can take between calls.
const int MAX_DEPTH = 48;
// Retired plans kept at once before analysis pauses until they are freed.
const int MAX_RETIRED = 4096;
// A closure binding more parameters than this gets no plan.
const int MAX_PARAMS = 64;

std::unordered_map<Node*, Plan*> plans;  // by body
Plan* retired = nullptr;                 // may still be running, newest first
int retired_count = 0;
unsigned code_changes = 0;               // counts the calls of code_changed
Plan* recent[64];                        // a cache in front of `plans`

inline Plan*& recent_slot(Node* body) {
  return recent[(reinterpret_cast<uintptr_t>(body) >> 4) & 63];
}

void free_plan(Plan* p) {
  for (Op* op = p->last_made; op;) {
    Op* before = op->made_before;
    free(op);
    op = before;
  }
  delete p;
}

void free_retired() {
  while (retired) {
    Plan* next = retired->next_retired;
    free_plan(retired);
    retired = next;
  }
  retired_count = 0;
}

void clear_recent() {
  for (Plan*& r : recent) r = nullptr;
}

// ---- analysis ----

// Building one plan: the closure's parameters as they lie on the stack.
struct Builder {
  Plan* plan;
  Node* params[MAX_PARAMS];  // in binding order
  int param_count;
  bool failed;
};

Op* new_op(Builder* b, OpKind kind, Node* form, int n) {
  size_t size = sizeof(Op) + sizeof(Op*) * (size_t)(n > 1 ? n - 1 : 0);
  Op* op = static_cast<Op*>(calloc(1, size));
  if (!op) {
    b->failed = true;
    return nullptr;
  }
  op->made_before = b->plan->last_made;
  b->plan->last_made = op;
  op->kind = kind;
  op->n = (int16_t)n;
  op->slot = -1;
  op->form = form;
  return op;
}

// The length of the proper list l, or -1 (improper, or too long).
int list_length(Node* l) {
  int n = 0;
  for (; consp(l); l = cdr(l))
    if (++n > 1000) return -1;
  return l ? -1 : n;
}

// Marks the conses of the list l's spine as code.
void mark_spine(Node* l) {
  for (; consp(l); l = cdr(l)) l->flags |= F_CODE;
}

// Marks every cons of x (a lambda list) as code, to a bounded depth.
void mark_tree(Node* x, int depth) {
  for (int n = 0; consp(x) && n < 1000; x = cdr(x), n++) {
    x->flags |= F_CODE;
    if (depth < 4) mark_tree(car(x), depth + 1);
  }
}

// The slot of sym's value when it is a parameter (its innermost binding),
// else -1.  SELF is never a parameter: its value is the current frame.
int param_slot(Builder* b, Node* sym) {
  if (sym == s_self) return -1;
  for (int i = b->param_count - 1; i >= 0; i--)
    if (b->params[i] == sym) return 2 * i + 1;
  return -1;
}

Op* analyse(Builder* b, Node* x, int depth);

// An operation over the forms of the list l, each analysed (l proper).
Op* analyse_list(Builder* b, OpKind kind, Node* form, Node* l, int depth) {
  int n = list_length(l);
  Op* op = new_op(b, kind, form, n);
  if (!op) return nullptr;
  for (int i = 0; i < n; i++, l = cdr(l)) {
    op->kids[i] = analyse(b, car(l), depth + 1);
    if (op->kids[i]) op->kids[i]->cell = l;
  }
  return op;
}

// (COND (test body...)...): each clause's test, and its body as a PROGN
// (null for a clause of its test alone).  nullptr when a clause is not a
// proper list, so that the evaluator raises as it does.
Op* analyse_cond(Builder* b, Node* form, int depth) {
  Node* clauses = cdr(form);
  int n = list_length(clauses);
  for (Node* c = clauses; consp(c); c = cdr(c))
    if (!consp(car(c)) || list_length(car(c)) < 0) return nullptr;
  Op* op = new_op(b, OP_COND, form, 2 * n);
  if (!op) return nullptr;
  for (int i = 0; i < n; i++, clauses = cdr(clauses)) {
    Node* clause = car(clauses);
    mark_spine(clause);
    op->kids[2 * i] = analyse(b, car(clause), depth + 1);
    if (op->kids[2 * i]) op->kids[2 * i]->cell = clauses;
    op->kids[2 * i + 1] = cdr(clause) ? analyse_list(b, OP_PROGN, nullptr, cdr(clause), depth) : nullptr;
  }
  return op;
}

// A special form the plan runs itself, or nullptr for one it leaves to
// the evaluator (any other, or one whose shape the evaluator refuses).
Op* analyse_special(Builder* b, Node* form, Node* fn, int depth) {
  Handler h = fn->u.fn;
  Node* args = cdr(form);
  int n = list_length(args);
  Op* op = nullptr;
  if (h == sf_quote && n == 1) {
    op = new_op(b, OP_QUOTE, form, 0);
    if (op) op->value = car(args);
  } else if (h == sf_if && (n == 2 || n == 3)) {
    op = new_op(b, OP_IF, form, 3);
    if (op)
      for (int i = 0; i < 3; i++) {
        op->kids[i] = analyse(b, consp(args) ? car(args) : nullptr, depth + 1);
        if (consp(args)) args = cdr(args);
      }
  } else if (h == sf_cond && n >= 0) {
    op = analyse_cond(b, form, depth);
  } else if ((h == sf_and || h == sf_or || h == sf_progn) && n >= 0) {
    op = analyse_list(b, h == sf_and ? OP_AND : h == sf_or ? OP_OR : OP_PROGN, form, args, depth);
  } else if ((h == sf_when || h == sf_unless) && n >= 1) {
    op = new_op(b, h == sf_when ? OP_WHEN : OP_UNLESS, form, 2);
    if (op) {
      op->kids[0] = analyse(b, car(args), depth + 1);
      if (op->kids[0]) op->kids[0]->cell = args;
      op->kids[1] = analyse_list(b, OP_PROGN, nullptr, cdr(args), depth);
    }
  } else if (h == sf_setq && n == 2 && symbolp(car(args))) {
    op = new_op(b, OP_SETQ, form, 1);
    if (op) {
      op->sym = car(args);
      op->slot = param_slot(b, op->sym);
      op->kids[0] = analyse(b, car(cdr(args)), depth + 1);
    }
  }
  if (op) {
    op->head = car(form);
    op->expect = fn;
  }
  return op;
}

// The operation for the form x.  The conses it depends on are marked as
// code: the form's spine (and a COND's clauses); what it leaves to the
// evaluator is read anew each time and needs no mark.
Op* analyse(Builder* b, Node* x, int depth) {
  if (b->failed) return nullptr;
  if (symbolp(x)) {
    int slot = param_slot(b, x);
    Op* op = new_op(b, slot >= 0 ? OP_LOCAL : OP_VAR, x, 0);
    if (op) {
      op->sym = x;
      op->slot = slot;
    }
    return op;
  }
  if (!consp(x)) {
    Op* op = new_op(b, OP_CONST, x, 0);
    if (op) op->value = x;
    return op;
  }
  Node* head = car(x);
  Op* op = nullptr;
  int n = list_length(cdr(x));
  if (depth < MAX_DEPTH && symbolp(head) && n >= 0 && !frame_lookup_needed(head)) {
    mark_spine(x);
    Node* fn = function_value(head);
    if (fn && fn->kind == K_FSUBR) {
      op = analyse_special(b, x, fn, depth);
    } else if (!fn || fn->kind == K_SUBR || (closurep(fn) && slot(fn, C_TYPE) == s_lambda)) {
      op = analyse_list(b, OP_CALL, x, cdr(x), depth);
      if (op) op->sym = head;
    }
  }
  return op || b->failed ? op : new_op(b, OP_FORM, x, 0);
}

void add_param(Builder* b, Node* sym) {
  if (b->param_count == MAX_PARAMS) b->failed = true;
  else b->params[b->param_count++] = sym;
}

// The parameters of closure c in the order they are bound.
void collect_params(Builder* b, Node* c) {
  for (Node* r = slot(c, C_REQ); consp(r); r = cdr(r)) add_param(b, car(r));
  for (Node* o = slot(c, C_OPT); consp(o); o = cdr(o)) {
    add_param(b, car(car(o)));  // (sym default flag)
    if (Node* flag = car(cdr(cdr(car(o))))) add_param(b, flag);
  }
  if (slot(c, C_REST)) add_param(b, slot(c, C_REST));
  for (Node* k = slot(c, C_KEY); consp(k); k = cdr(k)) {
    add_param(b, car(cdr(car(k))));  // (keyword sym default flag)
    if (Node* flag = car(cdr(cdr(cdr(car(k)))))) add_param(b, flag);
  }
  for (Node* a = slot(c, C_AUX); consp(a); a = cdr(a)) add_param(b, car(car(a)));
}

// The plan of closure c's body, made now; nullptr when memory is short
// or it binds too many parameters.
Plan* make_plan(Node* c, Node* body) {
  Plan* p = new (std::nothrow) Plan{body, slot(c, C_LAMBDA), nullptr, nullptr, nullptr};
  if (!p) return nullptr;
  Builder b;
  b.plan = p;
  b.param_count = 0;
  b.failed = false;
  collect_params(&b, c);
  mark_spine(body);
  mark_tree(p->lambda_list, 0);
  p->root = analyse_list(&b, OP_PROGN, nullptr, body, 0);
  if (b.failed) {
    free_plan(p);
    return nullptr;
  }
  return p;
}

// The plan for closure c, made on its first call; nullptr when there is
// none to be had (a body that is no proper list, no memory, too many plans
// retired and still to free).
Plan* plan_for(Node* c, Node* body) {
  Plan*& r = recent_slot(body);
  if (r && r->body == body && r->lambda_list == slot(c, C_LAMBDA)) return r;
  auto it = plans.find(body);
  Plan* p = it == plans.end() ? nullptr : it->second;
  if (!p) {
    if (list_length(body) <= 0 || retired_count >= MAX_RETIRED) return nullptr;
    p = make_plan(c, body);
    if (!p) return nullptr;
    try {
      plans.emplace(body, p);
    } catch (const std::bad_alloc&) {
      free_plan(p);
      return nullptr;
    }
  }
  if (p->lambda_list != slot(c, C_LAMBDA)) return nullptr;  // another lambda list shares it
  r = p;
  return p;
}

// ---- running ----

Node* run(Op* op);
Node* run_other(Op* op);

// A call of a built-in through its short way with one or two values.
// Returns short_declined when it has none for this count.
Node* run_short_call(Op* op, Node* fn) {
  if (static_cast<uint32_t>(fn->num) >= BUILTIN_COUNT) return short_declined;
  const ShortCall& way = short_calls[fn->num];
  if (op->n == 1 && way.one) {
    Node* a = run(op->kids[0]);
    Node* v = way.one(a);
    return v != short_declined ? v : call_function(fn, 1, &a);
  }
  if (op->n == 2 && way.two) {
    Node* values[2] = {nullptr, nullptr};
    unsigned changes = code_changes;
    values[0] = run(op->kids[0]);
    PROTECT(values[0]);
    values[1] = changes == code_changes ? run(op->kids[1]) : eval_expr(car(op->kids[1]->cell));
    Node* v = way.two(values[0], values[1]);
    if (v == short_declined) v = call_function(fn, 2, values);
    UNPROTECT(1);
    return v;
  }
  return short_declined;
}

// After an argument changed code, the rest are read from the form as it
// now is: pushes the values of the forms of l; returns their count.
int push_rest_evaluated(Node* l) {
  PROTECT(l);
  int count = 0;
  for (; consp(l); l = cdr(l), count++) {
    apush(nullptr);
    astack[atop - 1] = eval_expr(car(l));
  }
  UNPROTECT(1);
  return count;
}

Node* run_call(Op* op) {
  Node* head = op->sym;
  if (symbol_value(s_tracelist) || frame_lookup_needed(head)) return eval_without_hook(op->form);
  Node* fn = function_value(head);
  if (!fn) return eval_without_hook(op->form);
  if (fn->kind == K_SUBR) {
    Node* v = run_short_call(op, fn);
    if (v != short_declined) return v;
  } else if (!closurep(fn) || slot(fn, C_TYPE) != s_lambda) {
    return eval_without_hook(op->form);
  }
  int start = open_frame(fn);
  int count = 0;
  unsigned changes = code_changes;
  for (int i = 0; i < op->n; i++) {
    apush(nullptr);
    astack[atop - 1] = run(op->kids[i]);
    count++;
    if (changes != code_changes) {
      count += push_rest_evaluated(cdr(op->kids[i]->cell));
      break;
    }
  }
  finish_frame(start, count);
  return apply_function(count);
}

// The forms of a body in turn.  When a form changes code, the rest of the
// body is read from the list as it now is, as the evaluator reads it.
Node* run_progn(Op* op) {
  Node* v = nullptr;
  unsigned changes = code_changes;
  for (int i = 0; i < op->n; i++) {
    v = run(op->kids[i]);
    if (changes != code_changes && i + 1 < op->n) {
      Node* rest = cdr(op->kids[i]->cell);
      return consp(rest) ? eval_body(rest) : v;
    }
  }
  return v;
}

// In COND, AND and OR, a test that changed code hands the rest of the
// form, read as it now is, to the special form itself.
Node* run_cond(Op* op) {
  unsigned changes = code_changes;
  for (int i = 0; i < op->n; i += 2) {
    Node* v = run(op->kids[i]);
    if (changes != code_changes) {
      Node* l = op->kids[i]->cell;  // the clause's cons in the form
      if (!v) {
        fsubr_forms = cdr(l);
        return sf_cond();
      }
      Node* clause = car(l);
      return consp(clause) && cdr(clause) ? eval_body(cdr(clause)) : v;
    }
    if (v) return op->kids[i + 1] ? run_progn(op->kids[i + 1]) : v;
  }
  return nullptr;
}

Node* run_and_or(Op* op) {
  bool is_and = op->kind == OP_AND;
  unsigned changes = code_changes;
  Node* v = is_and ? s_t : nullptr;
  for (int i = 0; i < op->n; i++) {
    v = run(op->kids[i]);
    if (is_and ? !v : v != nullptr) return v;
    if (changes != code_changes) {
      Node* rest = cdr(op->kids[i]->cell);
      if (!consp(rest)) return v;
      fsubr_forms = rest;
      return is_and ? sf_and() : sf_or();
    }
  }
  return v;
}

// WHEN and UNLESS: a test that changed code runs the body as it now is.
Node* run_when(Op* op) {
  unsigned changes = code_changes;
  bool run_body = (run(op->kids[0]) != nullptr) == (op->kind == OP_WHEN);
  if (!run_body) return nullptr;
  if (changes != code_changes) return eval_body(cdr(op->kids[0]->cell));
  return run_progn(op->kids[1]);
}

Node* run_special(Op* op) {
  Node* v;
  switch (op->kind) {
    case OP_QUOTE: return op->value;
    case OP_IF: return run(op->kids[0]) ? run(op->kids[1]) : run(op->kids[2]);
    case OP_COND: return run_cond(op);
    case OP_AND:
    case OP_OR: return run_and_or(op);
    case OP_PROGN: return run_progn(op);
    case OP_WHEN:
    case OP_UNLESS: return run_when(op);
    case OP_SETQ:
      v = run(op->kids[0]);
      if (op->slot >= 0 && stacked_frame == venv) {
        astack[stacked_base + op->slot] = v;
        return v;
      }
      return set_variable(op->sym, v);
    default: return eval_without_hook(op->form);
  }
}

// The operations that are more than a load, out of line so that run
// itself stays small.
[[gnu::noinline]] Node* run_other(Op* op) {
  switch (op->kind) {
    case OP_LOCAL: return variable_value(op->sym);  // the bindings were captured
    case OP_VAR: return variable_value(op->sym);
    case OP_FORM: return eval_without_hook(op->form);
    case OP_CALL: return run_call(op);
    default:
      if (frame_lookup_needed(op->head) || function_value(op->head) != op->expect)
        return eval_without_hook(op->form);
      return run_special(op);
  }
}

// One evaluation, as eval_expr makes it of op's form.
inline Node* run(Op* op) {
  if (--poll_counter <= 0 || symbol_value(s_evalhook)) return eval_expr(op->form);
  if (op->kind == OP_LOCAL && stacked_frame == venv) return astack[stacked_base + op->slot];
  if (op->kind == OP_CONST) return op->value;
  return run_other(op);
}

}  // namespace

Node* run_closure_body(Node* c) {
  Node* body = slot(c, C_BODY);
  Plan* p = plan_for(c, body);
  return p ? run_progn(p->root) : eval_body(body);
}

void code_changed() {
  code_changes++;
  if (plans.empty()) return;
  for (auto& entry : plans) {
    entry.second->next_retired = retired;
    retired = entry.second;
    retired_count++;
  }
  plans.clear();
  clear_recent();
}

// The change that retires a plan may cut what it runs out of its body, so
// a retired plan keeps every node it refers to itself.
void mark_retired_plans(void (*mark)(Node*)) {
  for (Plan* p = retired; p; p = p->next_retired)
    for (Op* op = p->last_made; op; op = op->made_before) {
      mark(op->form);
      mark(op->cell);
      mark(op->sym);
      mark(op->value);
      mark(op->head);
      mark(op->expect);
    }
}

void forget_unmarked_plans() {
  // No closure call is running, so no retired plan is either.
  if (frame_depth == 0) free_retired();
  for (auto it = plans.begin(); it != plans.end();) {
    if (it->first->flags & F_MARK) {
      ++it;
      continue;
    }
    free_plan(it->second);
    it = plans.erase(it);
  }
  clear_recent();
}

void forget_plans() {
  for (auto& entry : plans) free_plan(entry.second);
  plans.clear();
  free_retired();
  clear_recent();
}

}  // namespace velloq
