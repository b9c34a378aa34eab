// Plans: a closure's body analysed once into a tree of operations.
//
// The evaluator decides on every evaluation what a form is: a variable to
// look up through the environment, a special form, a call, and of which
// function.  A closure runs the same forms again and again, so on its
// first call its body is analysed (plan_analysis.cc) into operations that
// have decided once what they can, and the calls run those
// (plan_run.cc):
//   - a parameter is read from its slot among the call's stacked
//     bindings, not looked up by name;
//   - IF, COND, AND, OR, PROGN, WHEN, UNLESS, QUOTE, SETQ, LET, LET*,
//     LOOP, DOTIMES and DOLIST run as operations over their analysed
//     parts;
//   - a call of a built-in or a closure evaluates its analysed arguments
//     straight into the argument frame.
// Anything else is handed to the evaluator as written.
//
// This file keeps the plans: one per closure body (closures made from the
// same lambda expression share it), made on the first call, dropped when
// the collector frees the body, and retired when code they were made from
// changes (code_changed).
#include "plan.h"

#include <new>
#include <unordered_map>

#include "eval.h"
#include "plan_ops.h"

namespace velloq {

unsigned code_changes = 0;

namespace {

// Retired plans kept at once before analysis pauses until they are freed.
const int MAX_RETIRED = 4096;

std::unordered_map<Node*, Plan*> plans;  // by body
Plan* retired = nullptr;                 // may still be running, newest first
int retired_count = 0;
Plan* recent[64];                        // a cache in front of `plans`

Plan*& recent_slot(Node* body) {
  return recent[(reinterpret_cast<uintptr_t>(body) >> 4) & 63];
}

void clear_recent() {
  for (Plan*& r : recent) r = nullptr;
}

void free_retired() {
  while (retired) {
    Plan* next = retired->next_retired;
    free_plan(retired);
    retired = next;
  }
  retired_count = 0;
}

// The plan for closure c, made on its first call; nullptr when there is
// none to be had (a body that is no proper list, no memory, too many plans
// retired and not yet freed, another lambda list over the same body).
Plan* plan_for(Node* c, Node* body) {
  Plan*& r = recent_slot(body);
  if (r && r->body == body && r->lambda_list == slot(c, C_LAMBDA)) return r;
  auto it = plans.find(body);
  Plan* p = it == plans.end() ? nullptr : it->second;
  if (!p) {
    if (!consp(body) || retired_count >= MAX_RETIRED) return nullptr;
    p = make_plan(c, body);
    if (!p) return nullptr;
    try {
      plans.emplace(body, p);
    } catch (const std::bad_alloc&) {
      free_plan(p);
      return nullptr;
    }
  }
  if (p->lambda_list != slot(c, C_LAMBDA)) return nullptr;
  r = p;
  return p;
}

}  // namespace

Node* run_closure_body(Node* c) {
  Node* body = slot(c, C_BODY);
  Plan* p = plan_for(c, body);
  return p ? run_progn(p->root) : eval_body(body);
}

void code_changed() {
  code_changes++;
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
