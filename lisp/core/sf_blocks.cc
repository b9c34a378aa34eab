// Blocks, tag bodies, loops, CATCH/THROW, UNWIND-PROTECT and ERRSET.
#include "builtin_handlers.h"
#include "builtins.h"
#include "context.h"
#include "errors.h"
#include "eval.h"
#include "special.h"
#include "symbols.h"

namespace velloq {

Node* run_tagbody(Node* body) {
  poll_step();
  Context ctx;
  begin_context(&ctx, CX_GO, body);
  Node* volatile pc = body;
  Node* volatile v = nullptr;
  if (setjmp(ctx.resume)) {
    pc = exit_value;
  }
  while (consp(pc)) {
    Node* form = car(pc);
    pc = cdr(pc);
    if (!symbolp(form)) v = eval_expr(form);
  }
  end_context(&ctx);
  return v;
}

Node* sf_tagbody() {
  run_tagbody(fsubr_forms);
  return nullptr;
}

Node* sf_go() {
  Node* l = fsubr_forms;
  Node* tag = take_form(&l);
  no_more_forms(l);
  throw_go(tag);
}

// Runs body(arg) inside a RETURN context named `name`.
static Node* with_block(Node* name, Node* (*body)(Node*), Node* arg) {
  Context ctx;
  begin_context(&ctx, CX_RETURN, name);
  PROTECT(arg);
  Node* v;
  if (setjmp(ctx.resume) == 0) v = body(arg);
  else v = exit_value;
  end_context(&ctx);
  return v;
}

Node* sf_block() {
  Node* l = fsubr_forms;
  Node* name = take_form(&l);
  return with_block(name, eval_body, l);
}

Node* sf_return() {
  Node* l = fsubr_forms;
  Node* v = l ? eval_expr(take_form(&l)) : nullptr;
  no_more_forms(l);
  throw_return(nullptr, v);
}

Node* sf_return_from() {
  Node* l = fsubr_forms;
  Node* name = take_form(&l);
  Node* v = l ? eval_expr(take_form(&l)) : nullptr;
  no_more_forms(l);
  throw_return(name, v);
}

static Node* loop_body(Node* body) {
  for (;;) {
    poll_step();
    eval_body(body);
  }
}

Node* sf_loop() { return with_block(nullptr, loop_body, fsubr_forms); }

// (PROG bindings body...): LET or LET* around a tag body, in a block NIL.
static Node* prog_body(Node* forms, bool sequential) {
  Node* bindings = take_form(&forms);
  Node* frame = nullptr;
  PROTECT(forms);
  PROTECT(frame);
  if (sequential) push_env_frame();
  for (Node* b = bindings; consp(b); b = cdr(b)) {
    Node* x = car(b);
    Node* sym = x;
    Node* init = nullptr;
    if (consp(x)) {
      sym = car(x);
      init = consp(cdr(x)) ? car(cdr(x)) : nullptr;
    }
    if (!symbolp(sym)) report_error("bad binding", x);
    Node* v = eval_expr(init);
    if (sequential) bind_variable(sym, v);
    else {
      Node* pair = make_cons(sym, v);
      frame = make_cons(pair, frame);
    }
  }
  if (!sequential) venv = make_cons(frame, venv);
  run_tagbody(forms);
  UNPROTECT(2);
  return nullptr;
}

static Node* prog_plain(Node* forms) { return prog_body(forms, false); }
static Node* prog_seq(Node* forms) { return prog_body(forms, true); }
Node* sf_prog() {
  Node* saved = venv;
  PROTECT(saved);
  Node* v = with_block(nullptr, prog_plain, fsubr_forms);
  venv = saved;
  UNPROTECT(1);
  return v;
}
Node* sf_prog_star() {
  Node* saved = venv;
  PROTECT(saved);
  Node* v = with_block(nullptr, prog_seq, fsubr_forms);
  venv = saved;
  UNPROTECT(1);
  return v;
}

// (DO ((var init step)...) (test result...) body...)
static Node* do_body(Node* forms, bool sequential) {
  Node* specs = take_form(&forms);
  Node* end = take_form(&forms);
  if (!consp(end)) report_error("bad binding", end);
  Node* frame = nullptr;
  PROTECT(forms);
  PROTECT(frame);
  if (sequential) push_env_frame();
  for (Node* s = specs; consp(s); s = cdr(s)) {
    Node* x = car(s);
    Node* sym = consp(x) ? car(x) : x;
    Node* init = consp(x) && consp(cdr(x)) ? car(cdr(x)) : nullptr;
    if (!symbolp(sym)) report_error("bad binding", x);
    Node* v = eval_expr(init);
    if (sequential) bind_variable(sym, v);
    else {
      Node* pair = make_cons(sym, v);
      frame = make_cons(pair, frame);
    }
  }
  if (!sequential) venv = make_cons(frame, venv);
  Node* steps = nullptr;
  PROTECT(steps);
  for (;;) {
    if (eval_expr(car(end))) break;
    run_tagbody(forms);
    steps = nullptr;
    for (Node* s = specs; consp(s); s = cdr(s)) {
      Node* x = car(s);
      if (!consp(x) || !consp(cdr(x)) || !consp(cdr(cdr(x)))) continue;
      Node* v = eval_expr(car(cdr(cdr(x))));
      if (sequential) set_variable(car(x), v);
      else {
        Node* pair = make_cons(car(x), v);
        steps = make_cons(pair, steps);
      }
    }
    for (Node* p = steps; p; p = cdr(p)) set_variable(car(car(p)), cdr(car(p)));
  }
  Node* v = eval_body(cdr(end));
  UNPROTECT(3);
  return v;
}

static Node* do_plain(Node* forms) { return do_body(forms, false); }
static Node* do_seq(Node* forms) { return do_body(forms, true); }

static Node* block_with_env(Node* (*body)(Node*)) {
  Node* saved = venv;
  PROTECT(saved);
  Node* v = with_block(nullptr, body, fsubr_forms);
  venv = saved;
  UNPROTECT(1);
  return v;
}

Node* sf_do() { return block_with_env(do_plain); }
Node* sf_do_star() { return block_with_env(do_seq); }

// The head (var form [result]) of DOLIST and DOTIMES: checked, with the
// form evaluated into *value.
static Node* loop_head(Node** forms, Node** value) {
  Node* head = take_form(forms);
  if (!consp(head) || !symbolp(car(head)) || !consp(cdr(head))) report_error("bad binding", head);
  *value = eval_expr(car(cdr(head)));
  return head;
}

// Binds the loop variable of `head` in a new frame; returns its binding
// cell, whose cdr each round sets.
static Node* bind_loop_variable(Node* head) {
  push_env_frame();
  bind_variable(car(head), nullptr);
  return car(car(venv));
}

// The value of the optional result form of `head`.
static Node* loop_result(Node* head) {
  return consp(cdr(cdr(head))) ? eval_expr(car(cdr(cdr(head)))) : nullptr;
}

// Runs body as a tag body once for every round that next_round starts
// (it sets the loop variable and returns false when the loop is done).
// Every round begins in the same state, so one GO context, made before the
// first, serves them all: a GO resumes within the round it was made in.
// state lives in the caller's memory, which a resume leaves as it was.
static void run_tagbody_rounds(Node* body, bool (*next_round)(void* state), void* state) {
  Context ctx;
  begin_context(&ctx, CX_GO, body);
  Node* volatile pc = nullptr;
  if (setjmp(ctx.resume)) pc = exit_value;
  for (;;) {
    while (consp(pc)) {
      Node* form = car(pc);
      pc = cdr(pc);
      if (!symbolp(form)) eval_expr(form);
    }
    if (!next_round(state)) break;
    poll_step();
    pc = body;
  }
  end_context(&ctx);
}

struct DolistState {
  Node* binding;  // the loop variable's (var . value) cell
  Node* rest;     // the elements still to come, protected
};

static bool next_element(void* p) {
  DolistState* s = static_cast<DolistState*>(p);
  if (!consp(s->rest)) return false;
  s->binding->u.c.cdr = car(s->rest);
  s->rest = cdr(s->rest);
  return true;
}

// (DOLIST (var list [result]) body...)
static Node* dolist_body(Node* forms) {
  Node* list;
  Node* head = loop_head(&forms, &list);
  DolistState state = {nullptr, list};
  PROTECT(state.rest);
  PROTECT(forms);
  state.binding = bind_loop_variable(head);
  run_tagbody_rounds(forms, next_element, &state);
  state.binding->u.c.cdr = nullptr;
  Node* v = loop_result(head);
  UNPROTECT(2);
  return v;
}

struct DotimesState {
  Node* binding;
  int32_t next;
  int32_t count;
};

static bool next_count(void* p) {
  DotimesState* s = static_cast<DotimesState*>(p);
  if (s->next >= s->count) return false;
  s->binding->u.c.cdr = make_fixnum(s->next++);
  return true;
}

// (DOTIMES (var count [result]) body...)
static Node* dotimes_body(Node* forms) {
  Node* count;
  Node* head = loop_head(&forms, &count);
  if (!fixnump(count)) bad_argument(count);
  // Nothing else holds the count's node: its number is taken before the
  // first allocation can collect it.
  DotimesState state = {nullptr, 0, count->num};
  PROTECT(forms);
  state.binding = bind_loop_variable(head);
  run_tagbody_rounds(forms, next_count, &state);
  state.binding->u.c.cdr = make_fixnum(state.count > 0 ? state.count : 0);
  Node* v = loop_result(head);
  UNPROTECT(1);
  return v;
}

Node* sf_dolist() { return block_with_env(dolist_body); }
Node* sf_dotimes() { return block_with_env(dotimes_body); }

static Node* repeat_body(Node* forms) {
  Node* n = take_form(&forms);
  if (!fixnump(n)) bad_argument(n);
  Node* v = nullptr;
  for (int32_t i = 0; i < n->num; i++) v = run_tagbody(forms);
  return v;
}

Node* sf_repeat() { return with_block(nullptr, repeat_body, fsubr_forms); }

static Node* while_body(Node* forms) {
  Node* test = take_form(&forms);
  Node* v = nullptr;
  PROTECT(v);
  while (eval_expr(test)) v = run_tagbody(forms);
  UNPROTECT(1);
  return v;
}

Node* sf_while() { return with_block(nullptr, while_body, fsubr_forms); }

// (FOREACH var list-form body...): the variable lives in a frame of its
// own that is removed also when RETURN ends the loop.
static Node* foreach_body(Node* forms) {
  Node* l = eval_expr(take_form(&forms));
  if (l && !consp(l)) bad_argument(l);
  PROTECT(l);
  Node* binding = car(car(venv));
  Node* v = nullptr;
  PROTECT(v);
  for (; consp(l); l = cdr(l)) {
    binding->u.c.cdr = car(l);
    v = run_tagbody(forms);
  }
  UNPROTECT(2);
  return v;
}

Node* sf_foreach() {
  Node* forms = fsubr_forms;
  Node* sym = take_form(&forms);
  if (!symbolp(sym)) bad_argument(sym);
  Node* saved = venv;
  PROTECT(saved);
  push_env_frame();
  bind_variable(sym, nullptr);
  Node* binding = car(car(venv));
  PROTECT(binding);
  Node* v = with_block(nullptr, foreach_body, forms);
  binding->u.c.cdr = nullptr;
  venv = saved;
  UNPROTECT(2);
  return v;
}

Node* sf_catch() {
  Node* l = fsubr_forms;
  Node* tag = eval_expr(take_form(&l));
  Context ctx;
  begin_context(&ctx, CX_THROW, tag);
  Node* v;
  if (setjmp(ctx.resume) == 0) v = eval_body(l);
  else v = exit_value;
  end_context(&ctx);
  return v;
}

Node* sf_throw() {
  Node* l = fsubr_forms;
  Node* tag = eval_expr(take_form(&l));
  PROTECT(tag);
  Node* v = l ? eval_expr(take_form(&l)) : nullptr;
  no_more_forms(l);
  UNPROTECT(1);
  throw_catch(tag, v);
}

Node* sf_unwind_protect() {
  Node* l = fsubr_forms;
  Node* form = take_form(&l);
  Node* cleanup = l;
  PROTECT(cleanup);
  Context ctx;
  begin_context(&ctx, CX_UNWIND, nullptr);
  if (setjmp(ctx.resume) == 0) {
    Node* v = eval_expr(form);
    end_context(&ctx);
    PROTECT(v);
    eval_body(cleanup);
    UNPROTECT(2);
    return v;
  }
  // An exit passes through: run the clean-up forms, then continue it.
  Context* target = pending_target;
  int kind = pending_kind;
  Node* carried = exit_value;
  end_context(&ctx);
  PROTECT(carried);
  eval_body(cleanup);
  UNPROTECT(2);
  unwind_to(target, kind, carried);
}

Node* sf_errset() {
  Node* l = fsubr_forms;
  Node* form = take_form(&l);
  Node* flag = l ? take_form(&l) : s_t;
  no_more_forms(l);
  Context ctx;
  begin_context(&ctx, CX_ERROR, flag);
  Node* v;
  if (setjmp(ctx.resume) == 0) {
    v = eval_expr(form);
    v = make_cons(v, nullptr);
  } else {
    v = nullptr;
  }
  end_context(&ctx);
  return v;
}

}  // namespace velloq
