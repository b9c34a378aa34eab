// Analysis: a closure body into the operations of its plan.
//
// What each form is gets decided here once: a parameter (read from its
// slot among the call's stacked bindings), another variable, a special
// form the plan runs itself, a call, or anything else, which the
// evaluator gets as written.  Every cons a decision rests on is marked
// F_CODE: the spines of the forms analysed, the clauses of a COND and the
// bindings of a LET or a loop.  A form the evaluator gets needs no mark,
// for it is read anew each time.
#include <cstdlib>
#include <new>

#include "builtin_handlers.h"
#include "builtins.h"
#include "environment.h"
#include "frame_access.h"
#include "plan_ops.h"
#include "short_calls.h"
#include "symbols.h"

namespace velloq {

namespace {

// Analysis stops this deep in a form; below, the evaluator takes over.
// It also bounds the native stack a plan's run takes between calls.
const int MAX_DEPTH = 48;
// A closure binding more parameters than this gets no plan; a LET or loop
// inside binding more names than this is left to the evaluator.
const int MAX_NAMES = 64;
// Longer lists are left to the evaluator.
const int MAX_LENGTH = 1000;

// A name that a LET or loop around the form binds: in which of the
// frames open around it, the index-th bound there.
struct Local {
  Node* name;
  int frame;
  int index;
};

struct Builder {
  Plan* plan;
  Node* params[MAX_NAMES];  // in binding order
  int param_count;
  Local locals[MAX_NAMES];  // names bound by LETs and loops around the form
  int local_count;
  int bound[MAX_NAMES];     // names bound so far in each frame open around it
  int frame_count;
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
    if (++n > MAX_LENGTH) return -1;
  return l ? -1 : n;
}

// True when every element of the proper list l is a cons: a loop body
// without tags, which no GO can aim at.
bool all_conses(Node* l) {
  for (; consp(l); l = cdr(l))
    if (!consp(car(l))) return false;
  return true;
}

void mark_spine(Node* l) {
  for (; consp(l); l = cdr(l)) l->flags |= F_CODE;
}

// Marks every cons of x (a lambda list) as code, to a bounded depth.
void mark_tree(Node* x, int depth) {
  for (int n = 0; consp(x) && n < MAX_LENGTH; x = cdr(x), n++) {
    x->flags |= F_CODE;
    if (depth < 4) mark_tree(car(x), depth + 1);
  }
}

// The slot of sym's value when it names a parameter here (not a name a
// LET or loop around binds), else -1.  SELF is never a parameter: its
// value is the current frame.
int param_slot(Builder* b, Node* sym) {
  if (sym == s_self) return -1;
  for (int i = 0; i < b->local_count; i++)
    if (b->locals[i].name == sym) return -1;
  for (int i = b->param_count - 1; i >= 0; i--)
    if (b->params[i] == sym) return 2 * i + 1;
  return -1;
}

// Sets op->up and op->pos to where the binding of op->sym lies when a LET
// or loop around binds it.  Each pushes one frame on venv, whose list
// holds its names newest first, so the innermost binder of the name is
// found `up` frames out, `pos` into the list.  SELF is never looked up.
void find_local(Builder* b, Op* op) {
  op->up = op->pos = -1;
  if (op->sym == s_self) return;
  for (int i = b->local_count - 1; i >= 0; i--) {
    const Local& l = b->locals[i];
    if (l.name != op->sym) continue;
    op->up = (int16_t)(b->frame_count - 1 - l.frame);
    op->pos = (int16_t)(b->bound[l.frame] - 1 - l.index);
    return;
  }
}

// Opens the frame of a LET or loop (the caller checked there is room).
void enter_frame(Builder* b) { b->bound[b->frame_count++] = 0; }

// Binds name in the innermost open frame.
void add_local(Builder* b, Node* name) {
  int f = b->frame_count - 1;
  b->locals[b->local_count++] = Local{name, f, b->bound[f]++};
}

// Closes the innermost frame, whose names start at locals[first].
void leave_frame(Builder* b, int first) {
  b->local_count = first;
  b->frame_count--;
}

Op* name_op(Builder* b, Node* sym) {
  Op* op = new_op(b, OP_CONST, nullptr, 0);
  if (op) op->value = sym;
  return op;
}

Op* analyse(Builder* b, Node* x, int depth);

// Makes a call of the built-in fn with one or two arguments an operation
// that takes fn's short way for that count, when it has one.
void take_short_way(Op* op, Node* fn) {
  if (static_cast<uint32_t>(fn->num) >= BUILTIN_COUNT) return;
  const ShortCall& way = short_calls[fn->num];
  if (op->n == 1 && way.one) {
    op->kind = fn->u.fn == bi_null ? OP_NULL : OP_SHORT1;
    op->way.one = way.one;
  } else if (op->n == 2 && way.two) {
    op->kind = OP_SHORT2;
    op->way.two = way.two;
  } else {
    return;
  }
  op->expect = fn;
}

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
// (null for a clause of its test alone).
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

// The name of a binding (a symbol, or (symbol [init]) as LET takes it),
// or NIL for one LET refuses.
Node* binding_name(Node* x) {
  if (symbolp(x)) return x;
  if (!consp(x) || !symbolp(car(x))) return nullptr;
  int n = list_length(x);
  return n == 1 || n == 2 ? car(x) : nullptr;
}

// (LET bindings body...) and LET*: names and inits, then the body, where
// the names hide parameters of the same name.
Op* analyse_let(Builder* b, Node* form, bool sequential, int depth) {
  Node* bindings = car(cdr(form));
  int count = list_length(bindings);
  if (count < 0 || b->local_count + count > MAX_NAMES) return nullptr;
  for (Node* l = bindings; consp(l); l = cdr(l))
    if (!binding_name(car(l))) return nullptr;
  if (b->frame_count == MAX_NAMES) return nullptr;
  Op* op = new_op(b, sequential ? OP_LET_STAR : OP_LET, form, 2 * count + 1);
  if (!op) return nullptr;
  mark_spine(bindings);
  int outer = b->local_count;
  // LET* pushes its frame first and binds each name in turn; LET evaluates
  // every init outside, then pushes the frame with all of them.
  if (sequential) enter_frame(b);
  int i = 0;
  for (Node* l = bindings; consp(l); l = cdr(l), i++) {
    Node* x = car(l);
    if (consp(x)) mark_spine(x);
    op->kids[2 * i] = name_op(b, binding_name(x));
    op->kids[2 * i + 1] = analyse(b, consp(x) && cdr(x) ? car(cdr(x)) : nullptr, depth + 1);
    if (sequential) add_local(b, binding_name(x));
  }
  if (!sequential) {
    enter_frame(b);
    for (Node* l = bindings; consp(l); l = cdr(l)) add_local(b, binding_name(car(l)));
  }
  op->kids[2 * count] = analyse_list(b, OP_PROGN, nullptr, cdr(cdr(form)), depth);
  leave_frame(b, outer);
  return op;
}

// (DOTIMES (name count [result]) body...) and DOLIST: the count or list
// outside the name's scope, the result and the body inside it.
Op* analyse_counted_loop(Builder* b, Node* form, bool dolist, int depth) {
  Node* head = car(cdr(form));
  Node* body = cdr(cdr(form));
  int n = list_length(head);
  if ((n != 2 && n != 3) || !symbolp(car(head)) || !car(head) || !all_conses(body) ||
      b->local_count == MAX_NAMES || b->frame_count == MAX_NAMES)
    return nullptr;
  Op* op = new_op(b, dolist ? OP_DOLIST : OP_DOTIMES, form, 4);
  if (!op) return nullptr;
  mark_spine(head);
  op->kids[0] = name_op(b, car(head));
  op->kids[1] = analyse(b, car(cdr(head)), depth + 1);
  int outer = b->local_count;
  enter_frame(b);
  add_local(b, car(head));
  op->kids[2] = n == 3 ? analyse(b, car(cdr(cdr(head))), depth + 1) : nullptr;
  op->kids[3] = analyse_list(b, OP_PROGN, nullptr, body, depth);
  if (op->kids[3]) op->kids[3]->cell = body;
  leave_frame(b, outer);
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
    for (int i = 0; op && i < 3; i++, args = consp(args) ? cdr(args) : args)
      op->kids[i] = analyse(b, consp(args) ? car(args) : nullptr, depth + 1);
  } else if (h == sf_cond) {
    op = analyse_cond(b, form, depth);
  } else if (h == sf_and || h == sf_or || h == sf_progn) {
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
      find_local(b, op);
      op->kids[0] = analyse(b, car(cdr(args)), depth + 1);
    }
  } else if ((h == sf_let || h == sf_let_star) && n >= 1) {
    op = analyse_let(b, form, h == sf_let_star, depth);
  } else if (h == sf_loop && all_conses(args)) {
    op = new_op(b, OP_LOOP, form, 1);
    if (op) {
      op->kids[0] = analyse_list(b, OP_PROGN, nullptr, args, depth);
      if (op->kids[0]) op->kids[0]->cell = args;
    }
  } else if ((h == sf_dotimes || h == sf_dolist) && n >= 1) {
    op = analyse_counted_loop(b, form, h == sf_dolist, depth);
  }
  if (op) {
    op->head = car(form);
    op->expect = fn;
  }
  return op;
}

// The operation for the form x.
Op* analyse(Builder* b, Node* x, int depth) {
  if (b->failed) return nullptr;
  if (symbolp(x)) {
    int slot = param_slot(b, x);
    Op* op = new_op(b, slot >= 0 ? OP_LOCAL : OP_VAR, x, 0);
    if (op) {
      op->sym = x;
      op->slot = slot;
      find_local(b, op);
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
  if (depth < MAX_DEPTH && symbolp(head) && list_length(cdr(x)) >= 0 && !frame_lookup_needed(head)) {
    mark_spine(x);
    Node* fn = function_value(head);
    if (fn && fn->kind == K_FSUBR) {
      op = analyse_special(b, x, fn, depth);
    } else if (!fn || fn->kind == K_SUBR || (closurep(fn) && slot(fn, C_TYPE) == s_lambda)) {
      op = analyse_list(b, OP_CALL, x, cdr(x), depth);
      if (op) {
        op->sym = head;
        if (fn && fn->kind == K_SUBR) take_short_way(op, fn);
      }
    }
  }
  return op || b->failed ? op : new_op(b, OP_FORM, x, 0);
}

void add_param(Builder* b, Node* sym) {
  if (b->param_count == MAX_NAMES) b->failed = true;
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

}  // namespace

void free_plan(Plan* p) {
  for (Op* op = p->last_made; op;) {
    Op* before = op->made_before;
    free(op);
    op = before;
  }
  delete p;
}

Plan* make_plan(Node* c, Node* body) {
  Plan* p = new (std::nothrow) Plan{body, slot(c, C_LAMBDA), nullptr, nullptr, nullptr};
  if (!p) return nullptr;
  Builder* b = new (std::nothrow) Builder;
  if (!b) {
    delete p;
    return nullptr;
  }
  b->plan = p;
  b->param_count = b->local_count = b->frame_count = 0;
  b->failed = false;
  collect_params(b, c);
  mark_spine(body);
  mark_tree(p->lambda_list, 0);
  if (!b->failed) p->root = analyse_list(b, OP_PROGN, nullptr, body, 0);
  bool failed = b->failed;
  delete b;
  if (failed) {
    free_plan(p);
    return nullptr;
  }
  return p;
}

}  // namespace velloq
