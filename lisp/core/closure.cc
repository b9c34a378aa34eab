// Closures: lambda-list parsing, argument binding and running a body.
#include <cstring>

#include "context.h"
#include "environment.h"
#include "errors.h"
#include "eval.h"
#include "plan.h"
#include "symbols.h"

namespace velloq {

static bool lambda_keyword(Node* s) {
  return s == s_optional || s == s_rest || s == s_lkey || s == s_allow_other_keys || s == s_aux;
}

[[noreturn]] static void bad_formals(Node* l) { report_error("bad formal argument list", l); }

static Node* require_symbol(Node* x, Node* whole) {
  if (!symbolp(x) || lambda_keyword(x)) bad_formals(whole);
  return x;
}

// Appends x at the end of the list in closure slot i.
static void append_slot(Node* c, int i, Node* x) {
  PROTECT(c);
  Node* cell = make_cons(x, nullptr);
  Node* l = slot(c, i);
  if (!l) set_slot(c, i, cell);
  else {
    while (cdr(l)) l = cdr(l);
    l->u.c.cdr = cell;
  }
  UNPROTECT(1);
}

// A parameter (sym [default [flag]]) as the list (sym default flag); a bare
// symbol as (sym NIL NIL).  With `keyed`, the parameter may start with
// (keyword sym) and the result is (keyword sym default flag).
static Node* parse_param(Node* param, bool keyed, Node* whole) {
  Node* sym;
  Node* keyword = nullptr;
  Node* deflt = nullptr;
  Node* flag = nullptr;
  if (symbolp(param)) {
    sym = require_symbol(param, whole);
  } else if (consp(param)) {
    Node* first = car(param);
    if (keyed && consp(first)) {
      if (!symbolp(car(first)) || !consp(cdr(first)) || cdr(cdr(first))) bad_formals(whole);
      keyword = car(first);
      sym = require_symbol(car(cdr(first)), whole);
    } else {
      sym = require_symbol(first, whole);
    }
    Node* rest = cdr(param);
    if (consp(rest)) {
      deflt = car(rest);
      rest = cdr(rest);
      if (consp(rest)) {
        flag = require_symbol(car(rest), whole);
        if (cdr(rest)) bad_formals(whole);
      } else if (rest) bad_formals(whole);
    } else if (rest) bad_formals(whole);
  } else {
    bad_formals(whole);
  }
  PROTECT(sym);
  PROTECT(keyword);
  PROTECT(deflt);
  PROTECT(flag);
  if (keyed && !keyword) {
    const char* n = symbol_name(sym);
    size_t len = strlen(n);
    char buf[128];
    if (len > 120) len = 120;
    buf[0] = ':';
    memcpy(buf + 1, n, len);
    buf[len + 1] = 0;
    keyword = intern_symbol(buf);
  }
  Node* l = make_cons(flag, nullptr);
  l = make_cons(deflt, l);
  l = make_cons(sym, l);
  if (keyed) l = make_cons(keyword, l);
  UNPROTECT(4);
  return l;
}

Node* make_closure(Node* name, Node* type, Node* lambda_list, Node* body, Node* env, Node* fenv_) {
  // env is venv or lies under it; the frame cells stay, only their
  // stacked pairs become conses.
  if (env) spill_stacked_bindings();
  PROTECT(lambda_list);
  PROTECT(body);
  Node* c = make_closure_node(name, type, env, fenv_);
  PROTECT(c);
  set_slot(c, C_BODY, body);
  set_slot(c, C_LAMBDA, lambda_list);
  enum { REQ, OPT, REST, REST_DONE, KEY, AUX } state = REQ;
  Node* l = lambda_list;
  for (; consp(l); l = cdr(l)) {
    Node* x = car(l);
    if (x == s_optional) {
      if (state >= OPT) bad_formals(lambda_list);
      state = OPT;
    } else if (x == s_rest) {
      if (state >= REST) bad_formals(lambda_list);
      state = REST;
    } else if (x == s_lkey) {
      if (state == REST || state >= KEY) bad_formals(lambda_list);
      state = KEY;
    } else if (x == s_allow_other_keys) {
      if (state != KEY) bad_formals(lambda_list);
    } else if (x == s_aux) {
      if (state == REST || state == AUX) bad_formals(lambda_list);
      state = AUX;
    } else {
      switch (state) {
        case REQ: append_slot(c, C_REQ, require_symbol(x, lambda_list)); break;
        case OPT: append_slot(c, C_OPT, parse_param(x, false, lambda_list)); break;
        case REST:
          set_slot(c, C_REST, require_symbol(x, lambda_list));
          state = REST_DONE;
          break;
        case REST_DONE: bad_formals(lambda_list);
        case KEY: append_slot(c, C_KEY, parse_param(x, true, lambda_list)); break;
        case AUX: {
          Node* param = parse_param(x, false, lambda_list);
          if (car(cdr(cdr(param)))) bad_formals(lambda_list);  // no flag for aux
          append_slot(c, C_AUX, param);
          break;
        }
      }
    }
  }
  if (l || state == REST) bad_formals(lambda_list);
  if (state == REQ) {
    int count = 0;
    for (Node* r = slot(c, C_REQ); r; r = cdr(r)) count++;
    set_slot(c, C_ARITY, make_fixnum(count));
  }
  UNPROTECT(3);
  return c;
}

// Binds the arguments into a new frame pushed on the closure's captured
// environment (venv and fenv are set by the caller's save).
static void bind_arguments(Node* c, int count, Node** args) {
  // The frame is stacked and nothing lies above it yet: the required
  // parameters need none of bind_variable's tests.  The stack top is kept
  // in a local while they are pushed, as every call does.
  int i = 0;
  int top = atop;
  for (Node* r = slot(c, C_REQ); r; r = cdr(r)) {
    if (i >= count || top + 2 > alimit) {
      atop = stacked_top = top;
      if (i >= count) report_error("too few arguments");
      astack_overflow();
    }
    astack[top] = car(r);
    astack[top + 1] = args[i++];
    top += 2;
  }
  atop = stacked_top = top;
  for (Node* o = slot(c, C_OPT); o; o = cdr(o)) {
    Node* param = car(o);
    Node* flag = car(cdr(cdr(param)));
    if (i < count) {
      bind_variable(car(param), args[i++]);
      if (flag) bind_variable(flag, s_t);
    } else {
      Node* v = eval_expr(car(cdr(param)));
      bind_variable(car(param), v);
      if (flag) bind_variable(flag, nullptr);
    }
  }
  int keys_from = i;
  if (slot(c, C_REST)) {
    Node* l = nullptr;
    PROTECT(l);
    for (int k = count - 1; k >= i; k--) l = make_cons(args[k], l);
    bind_variable(slot(c, C_REST), l);
    UNPROTECT(1);
    i = count;
  }
  if (slot(c, C_KEY)) {
    for (Node* k = slot(c, C_KEY); k; k = cdr(k)) {
      Node* param = car(k);  // (keyword sym default flag)
      Node* keyword = car(param);
      Node* sym = car(cdr(param));
      Node* flag = car(cdr(cdr(cdr(param))));
      int found = -1;
      for (int j = keys_from; j + 1 < count; j += 2)
        if (args[j] == keyword) {
          found = j;
          break;
        }
      if (found >= 0) {
        bind_variable(sym, args[found + 1]);
        if (flag) bind_variable(flag, s_t);
      } else {
        Node* v = eval_expr(car(cdr(cdr(param))));
        bind_variable(sym, v);
        if (flag) bind_variable(flag, nullptr);
      }
    }
    i = count;
  }
  for (Node* a = slot(c, C_AUX); a; a = cdr(a)) {
    Node* param = car(a);
    Node* v = eval_expr(car(cdr(param)));
    bind_variable(car(param), v);
  }
  if (i < count) report_error("too many arguments");
}

// A call of c: with args, its arguments are bound here; without, its
// parameters are bound already as the pairs at astack[base..atop).
static Node* run_closure(Node* c, int count, Node** args, int base) {
  Node* saved_venv = venv;
  Node* saved_fenv = fenv;
  PROTECT(saved_venv);
  PROTECT(saved_fenv);
  Node* saved_frame = stacked_frame;
  int saved_base = stacked_base, saved_top = stacked_top;
  int saved_depth = frame_depth;
  venv = take_frame_cell(slot(c, C_ENV));
  frame_depth = saved_depth + 1;
  fenv = slot(c, C_FENV);
  if (args) {
    begin_stacked_frame();
    bind_arguments(c, count, args);
  } else {
    begin_stacked_frame(base);
  }
  Node* v;
  Node* name = slot(c, C_NAME);
  if (name) {
    Context ctx;
    begin_kept_context(&ctx, CX_RETURN, name);  // c keeps its name
    if (setjmp(ctx.resume) == 0) {
      v = run_closure_body(c);
    } else {
      v = exit_value;
    }
    end_context(&ctx);
  } else {
    v = run_closure_body(c);
  }
  venv = saved_venv;
  fenv = saved_fenv;
  restore_stacked_frame(saved_frame, saved_base, saved_top);
  frame_depth = saved_depth;
  UNPROTECT(2);
  return v;
}

Node* call_closure(Node* c, int count, Node** args) { return run_closure(c, count, args, 0); }

// call_closure_bound of a named closure, the call that recursive programs
// make most.  Its RETURN context is begun before the call's environment
// is made, so the context keeps the caller's environments, which the
// collector marks, and puts them back on the way out: nothing needs
// protecting.  A closure of required parameters alone evaluates nothing
// while binding, so the context covers the body alone, as it does for
// any other call.
static Node* run_named_bound(Node* c, Node* name, int base) {
  guard_native_stack();
  Node* volatile cell = take_frame_cell(slot(c, C_ENV));  // read after setjmp
  Context ctx;
  begin_kept_context(&ctx, CX_RETURN, name);  // c keeps its name
  Node* v;
  if (setjmp(ctx.resume) == 0) {
    venv = cell;
    frame_depth++;
    fenv = slot(c, C_FENV);
    begin_stacked_frame(base);
    v = run_closure_body(c);
  } else {
    v = exit_value;
  }
  end_context(&ctx);
  venv = ctx.saved_venv;
  fenv = ctx.saved_fenv;
  restore_stacked_frame(ctx.saved_stacked_frame, ctx.saved_stacked_base, ctx.saved_stacked_top);
  frame_depth = ctx.saved_frame_depth;
  return v;
}

Node* call_closure_bound(Node* c, int base) {
  Node* name = slot(c, C_NAME);
  return name ? run_named_bound(c, name, base) : run_closure(c, 0, nullptr, base);
}

}  // namespace velloq
