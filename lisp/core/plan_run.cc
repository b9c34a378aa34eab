// Running plans: each operation does what the evaluator would do with its
// form, but with what analysis decided.
//
// Every decision is checked where it could have changed, so that no
// program can tell a plan from the evaluator:
//   - calls and loop rounds count steps for the break check (see run), and
//     with an *EVALHOOK* set each operation hands its form to the
//     evaluator, which calls the hook with the form as written (every node
//     an operation refers to is kept by its plan, so none needs protecting
//     across the check);
//   - a special form runs only while its head still names that FSUBR (not
//     shadowed by FLET, not a name a frame may supply); a call finds its
//     function anew each time, and anything but a built-in or a lambda
//     closure (a macro, an undefined name, a traced function, a name a
//     frame may supply) goes to the evaluator as written;
//   - a parameter's slot is read only while the call's bindings are still
//     stacked (while any operation of the call runs, stacked_frame is its
//     frame cell or, once a closure or hook has captured the bindings,
//     null); then it is found by name;
//   - when a form changes code (code_changes moved), the rest of the form
//     it is part of is read as it now is, as the evaluator reads it.
#include <cassert>
#include <csetjmp>

#include "builtin_handlers.h"
#include "builtins.h"
#include "context.h"
#include "environment.h"
#include "eval.h"
#include "frame_access.h"
#include "plan_ops.h"
#include "short_calls.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

namespace {

Node* run_other(Op* op);
Node* run_call(Op* op);
Node* run_short1(Op* op);
Node* run_short2(Op* op);
Node* run_if(Op* op);
Node* run_cond(Op* op);
Node* run_and_or(Op* op);
Node* run_when(Op* op);
Node* run_setq(Op* op);

// True when head still names fn through its own function cell: no FLET
// binding, no frame may give it another meaning.  Anything else, even a
// binding to fn itself, answers false and takes the general way.
inline bool names_own(Node* head, Node* fn) {
  if (slot(head, S_OWNER) || (methods_made && current_frame_context())) return false;
  if (fenv && find_binding(fenv, head)) return false;
  return symbol_function(head) == fn;
}

// The place of the binding a LET or loop of this plan made for op->sym,
// where analysis found it; null for any other name, and for every name
// once a program has changed such a frame.
//
// While an operation runs, venv is the frames that the LETs and loops
// around it pushed, over the call's own: every other construct puts venv
// back before the next operation runs, and an exit puts back the venv of
// the context it lands in.  No one else adds to those frames, and a
// program that changes one (set_car, set_cdr) sets plan_frames_changed.
// So the walk below meets the conses analysis expects, and the innermost
// binding of the name is the one it finds.
inline Node** local_place(Op* op) {
  if (op->up < 0 || plan_frames_changed) return nullptr;
  Node* env = venv;
  for (int i = op->up; i > 0; i--) env = cdr(env);
  assert(consp(env) && (env->flags & F_ENV));
  Node* l = car(env);
  for (int i = op->pos; i > 0; i--) l = cdr(l);
  assert(consp(l) && consp(car(l)) && (car(l)->flags & F_ENV));
  Node* pair = car(l);
  return car(pair) == op->sym ? &pair->u.c.cdr : nullptr;
}

// A variable, out of line apart from the rest: a lookup needs few
// registers, a call or special form many.
[[gnu::noinline]] Node* run_variable(Op* op) {
  if (Node** place = local_place(op)) return *place;
  return variable_value(op->sym);
}

// One evaluation, as eval_expr makes it of op's form, once no *EVALHOOK*
// is to see it.  The loads are here; everything else is out of line, so
// that this stays small.
//
// Only what can run on without end counts steps for the break check: a
// call, a round of a loop, a form the evaluator takes (which counts its
// own).  Everything else finishes by itself, so a break waits at most for
// the next of those.
inline Node* run_unhooked(Op* op) {
  switch (op->kind) {
    case OP_CONST: return op->value;
    case OP_LOCAL:  // until a closure or hook captures the bindings
      return stacked_frame ? astack[stacked_base + op->slot] : run_variable(op);
    case OP_VAR: return run_variable(op);
    case OP_CALL: return run_call(op);
    case OP_SHORT1:
    case OP_NULL: return run_short1(op);
    case OP_SHORT2: return run_short2(op);
    case OP_IF: return run_if(op);
    case OP_COND: return run_cond(op);
    case OP_AND:
    case OP_OR: return run_and_or(op);
    case OP_WHEN:
    case OP_UNLESS: return run_when(op);
    case OP_SETQ: return run_setq(op);
    default: return run_other(op);
  }
}

// One evaluation, handed to the evaluator when an *EVALHOOK* is set, so
// that the hook sees the form as written.
//
// An operation's first kid runs by run_unhooked when nothing at all has
// run since its parent found no hook here: then nothing can have set one.
// Anything that runs Lisp code may set it (a call, the evaluator, a
// variable a frame supplies, and anything that allocates, through
// *GC-HOOK*), so every later kid checks again.
inline Node* run(Op* op) {
  if (symbol_value(s_evalhook)) return eval_expr(op->form);
  return run_unhooked(op);
}

// A load that runs nothing at all: a constant, a parameter in its slot.
inline bool pure_load(Op* op) {
  return op->kind == OP_CONST || (op->kind == OP_LOCAL && stacked_frame);
}

// ---- calls ----

// Sets *v to op's value when it is a load that can neither allocate nor
// run anything (a constant, a parameter in its slot, a LET or loop
// variable where analysis found it) and no hook wants to see the form
// (`unhooked`: none can have been set since one was last looked for);
// false otherwise.
inline bool loaded_value(Op* op, Node** v, bool unhooked) {
  if (!unhooked && symbol_value(s_evalhook)) return false;
  if (op->kind == OP_CONST) {
    *v = op->value;
  } else if (op->kind == OP_LOCAL && stacked_frame) {
    *v = astack[stacked_base + op->slot];
  } else if (op->kind == OP_VAR) {
    Node** place = local_place(op);
    if (!place) return false;
    *v = *place;
  } else {
    return false;
  }
  return true;
}

// A built-in fn by its short way for one value, as call_subr takes it;
// what the short way declines the handler takes over the same value.
// `unhooked`: nothing has run since the operation found no hook.
inline Node* call_short1(Op* op, ShortOne one, Node* fn, bool unhooked) {
  Node* a = unhooked ? run_unhooked(op->kids[0]) : run(op->kids[0]);
  Node* v = one(a);
  return v != short_declined ? v : call_function(fn, 1, &a);
}

// The same with two values.  A first that changed code has the second
// form read as it now is.
//
// The first value needs protecting only while the second form runs: a
// short way protects what it allocates around, and call_function copies
// its arguments onto the stack first.
inline Node* call_short2(Op* op, ShortTwo two, Node* fn, bool unhooked) {
  Node* values[2] = {nullptr, nullptr};
  unsigned changes = code_changes;
  values[0] = unhooked ? run_unhooked(op->kids[0]) : run(op->kids[0]);
  unhooked = unhooked && pure_load(op->kids[0]);
  if (changes != code_changes || !loaded_value(op->kids[1], &values[1], unhooked)) {
    PROTECT(values[0]);
    values[1] = changes == code_changes ? run(op->kids[1]) : eval_expr(car(op->kids[1]->cell));
    UNPROTECT(1);
  }
  Node* v = two(values[0], values[1]);
  return v != short_declined ? v : call_function(fn, 2, values);
}

// A built-in's short way with one or two values; short_declined when it
// has none for this count.
Node* run_short_call(Op* op, Node* fn) {
  if (static_cast<uint32_t>(fn->num) >= BUILTIN_COUNT) return short_declined;
  const ShortCall& way = short_calls[fn->num];
  if (op->n == 1 && way.one) return call_short1(op, way.one, fn, false);
  if (op->n == 2 && way.two) return call_short2(op, way.two, fn, false);
  return short_declined;
}

// True while the built-in that analysis found for a short-way operation
// may be taken by that way: its name still names it and no trace asks
// for the evaluator.  Otherwise the call takes run_call's way, which finds
// the function anew.
inline bool short_way_holds(Op* op) {
  return !symbol_value(s_tracelist) && names_own(op->sym, op->expect);
}

[[gnu::noinline]] Node* run_short1(Op* op) {
  if (!short_way_holds(op)) return run_call(op);
  return call_short1(op, op->way.one, op->expect, true);
}

[[gnu::noinline]] Node* run_short2(Op* op) {
  if (!short_way_holds(op)) return run_call(op);
  return call_short2(op, op->way.two, op->expect, true);
}

// Pushes the values of the forms of the list l; returns their count.
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

// True when the closure fn takes exactly n arguments, all of them
// required: its call can bind each where it is evaluated.  (A closure
// from a workspace saved before it kept its arity has none, and takes the
// ordinary way.)
inline bool binds_in_place(Node* fn, int n) {
  Node* arity = slot(fn, C_ARITY);
  return fixnump(arity) && arity->num == n;
}

// A call of such a closure: each argument is evaluated straight into its
// binding, a (symbol, value) pair in the frame, so the closure copies
// nothing.  An argument that changes code has the rest of the forms read
// as they now are; then the values are laid out as an ordinary frame and
// the call takes the ordinary way, which checks their count.
Node* call_in_place(Op* op, Node* fn) {
  int start = open_frame(fn);
  Node* r = slot(fn, C_REQ);
  unsigned changes = code_changes;
  for (int i = 0; i < op->n; i++, r = cdr(r)) {
    apush(car(r));
    apush(nullptr);
    astack[atop - 1] = run(op->kids[i]);
    if (changes != code_changes) {
      int rest_from = atop;
      int rest = push_rest_evaluated(cdr(op->kids[i]->cell));
      int count = i + 1;
      for (int j = 0; j < count; j++) astack[start + 3 + j] = astack[start + 4 + 2 * j];
      for (int k = 0; k < rest; k++) astack[start + 3 + count + k] = astack[rest_from + k];
      count += rest;
      atop = start + 3 + count;
      finish_frame(start, count);
      Node* v = call_closure(fn, count, &astack[afp + 3]);
      pop_frame();
      return v;
    }
  }
  finish_frame(start, 2 * op->n);
  Node* v = call_closure_bound(fn, start + 3);
  pop_frame();
  return v;
}

[[gnu::noinline]] Node* run_call(Op* op) {
  poll_step();
  Node* head = op->sym;
  if (symbol_value(s_tracelist) || frame_lookup_needed(head)) return eval_without_hook(op->form);
  Node* fn = function_value(head);
  if (!fn) return eval_without_hook(op->form);
  if (fn->kind == K_SUBR) {
    Node* v = run_short_call(op, fn);
    if (v != short_declined) return v;
  } else if (!closurep(fn) || slot(fn, C_TYPE) != s_lambda) {
    return eval_without_hook(op->form);
  } else if (binds_in_place(fn, op->n)) {
    return call_in_place(op, fn);
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
  if (fn->kind == K_SUBR) return apply_function(count);
  Node* v = call_closure(fn, count, &astack[afp + 3]);
  pop_frame();
  return v;
}

// ---- conditionals ----

// False when the head of a special form's operation no longer names that
// FSUBR, and the evaluator is to take the form.
inline bool special_runs(Op* op) { return names_own(op->head, op->expect); }

// The special forms met most (IF, COND, AND, OR, WHEN, UNLESS, SETQ) have
// ways of their own, each small enough to keep few registers; the rest
// share run_other.
//
// (IF (NOT x) a b) runs as (IF x b a) while NOT still names NULL's
// built-in and neither a hook nor a trace is to see the call.
[[gnu::noinline]] Node* run_if(Op* op) {
  if (!special_runs(op)) return eval_without_hook(op->form);
  Op* test = op->kids[0];
  if (test->kind == OP_NULL && short_way_holds(test))
    return run_unhooked(test->kids[0]) ? run(op->kids[2]) : run(op->kids[1]);
  return run_unhooked(test) ? run(op->kids[1]) : run(op->kids[2]);
}

// A COND, AND or OR whose test changed code hands the rest of its form,
// read as it now is, to the special form itself.
[[gnu::noinline]] Node* run_cond(Op* op) {
  if (!special_runs(op)) return eval_without_hook(op->form);
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

[[gnu::noinline]] Node* run_and_or(Op* op) {
  if (!special_runs(op)) return eval_without_hook(op->form);
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
[[gnu::noinline]] Node* run_when(Op* op) {
  if (!special_runs(op)) return eval_without_hook(op->form);
  unsigned changes = code_changes;
  bool taken = (run_unhooked(op->kids[0]) != nullptr) == (op->kind == OP_WHEN);
  if (!taken) return nullptr;
  if (changes != code_changes) return eval_body(cdr(op->kids[0]->cell));
  return run_progn(op->kids[1]);
}

// ---- binding ----

// A frame is pushed and names bound in it as push_env_frame and
// bind_variable do, each cons marked F_ENV as soon as it is made: the
// places analysis found rest on these frames keeping their shape.
void push_watched_frame() {
  push_env_frame();
  venv->flags |= F_ENV;
}

void bind_watched(Node* sym, Node* value) {
  bind_variable(sym, value);
  car(venv)->flags |= F_ENV;
  car(car(venv))->flags |= F_ENV;
}

// SETQ, like IF, has a way of its own.
[[gnu::noinline]] Node* run_setq(Op* op) {
  if (!special_runs(op)) return eval_without_hook(op->form);
  Node* v = run_unhooked(op->kids[0]);
  if (op->slot >= 0 && stacked_frame) {
    astack[stacked_base + op->slot] = v;
    return v;
  }
  if (Node** place = local_place(op)) {
    *place = v;
    return v;
  }
  return set_variable(op->sym, v);
}

// LET makes its frame as sf_let does: the values in the outer
// environment, then all bound together; LET* binds each in turn.
Node* run_let(Op* op) {
  int count = op->n / 2;
  Node* saved = venv;
  PROTECT(saved);
  if (op->kind == OP_LET) {
    Node* frame = nullptr;
    PROTECT(frame);
    for (int i = 0; i < count; i++) {
      Node* v = run(op->kids[2 * i + 1]);
      Node* pair = make_cons(op->kids[2 * i]->value, v);
      pair->flags |= F_ENV;
      frame = make_cons(pair, frame);
      frame->flags |= F_ENV;
    }
    venv = make_cons(frame, venv);
    venv->flags |= F_ENV;
    UNPROTECT(1);
  } else {
    push_watched_frame();
    for (int i = 0; i < count; i++) bind_watched(op->kids[2 * i]->value, run(op->kids[2 * i + 1]));
  }
  Node* v = run_progn(op->kids[op->n - 1]);
  venv = saved;
  UNPROTECT(1);
  return v;
}

// ---- loops ----

// One round of a loop body: once the code changed, the body is read as
// it now is, as the evaluator reads it every round.
Node* run_round(Op* body, unsigned changes) {
  poll_step();
  return changes == code_changes ? run_progn(body) : eval_body(body->cell);
}

Node* loop_rounds(Op* op) {
  unsigned changes = code_changes;
  for (;;) run_round(op->kids[0], changes);
}

Node* dotimes_rounds(Op* op) {
  unsigned changes = code_changes;
  Node* count = run(op->kids[1]);
  if (!fixnump(count)) bad_argument(count);
  int32_t n = count->num;  // nothing else may hold the node: read it now
  push_watched_frame();
  bind_watched(op->kids[0]->value, nullptr);
  Node* binding = car(car(venv));
  for (int32_t i = 0; i < n; i++) {
    binding->u.c.cdr = make_fixnum(i);
    run_round(op->kids[3], changes);
  }
  binding->u.c.cdr = make_fixnum(n > 0 ? n : 0);
  return op->kids[2] ? run(op->kids[2]) : nullptr;
}

Node* dolist_rounds(Op* op) {
  unsigned changes = code_changes;
  Node* rest = run(op->kids[1]);
  PROTECT(rest);
  push_watched_frame();
  bind_watched(op->kids[0]->value, nullptr);
  Node* binding = car(car(venv));
  while (consp(rest)) {
    binding->u.c.cdr = car(rest);
    rest = cdr(rest);
    run_round(op->kids[3], changes);
  }
  binding->u.c.cdr = nullptr;
  UNPROTECT(1);
  return op->kids[2] ? run(op->kids[2]) : nullptr;
}

// A loop inside its block NIL, which RETURN leaves; the environment is
// put back on the way out.
Node* run_block(Op* op, Node* (*rounds)(Op*)) {
  Node* saved = venv;
  PROTECT(saved);
  Context ctx;
  begin_context(&ctx, CX_RETURN, nullptr);
  Node* v;
  if (setjmp(ctx.resume) == 0) v = rounds(op);
  else v = exit_value;
  end_context(&ctx);
  venv = saved;
  UNPROTECT(1);
  return v;
}

Node* run_special(Op* op) {
  switch (op->kind) {
    case OP_QUOTE: return op->value;
    case OP_PROGN: return run_progn(op);
    case OP_LET:
    case OP_LET_STAR: return run_let(op);
    case OP_LOOP: return run_block(op, loop_rounds);
    case OP_DOTIMES: return run_block(op, dotimes_rounds);
    case OP_DOLIST: return run_block(op, dolist_rounds);
    default: return eval_without_hook(op->form);
  }
}

[[gnu::noinline]] Node* run_other(Op* op) {
  if (op->kind == OP_FORM) {
    poll_step();
    return eval_without_hook(op->form);
  }
  if (!special_runs(op)) return eval_without_hook(op->form);
  return run_special(op);
}

}  // namespace

// The forms of a body in turn.  When a form changes code, the rest of the
// body is read from the list as it now is, as the evaluator reads it.
Node* run_progn(Op* op) {
  if (op->n == 1) return run(op->kids[0]);  // nothing follows to read anew
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

}  // namespace velloq
