// Plans: a closure's body analysed once into a tree of operations.
//
// The evaluator decides on every evaluation what a form is: a variable to
// look up through the environment, a special form, a call, and of which
// function.  A closure runs the same forms again and again, so on its
// first call its body is analysed (plan_analysis.cc) into operations that
// have decided once what they can, and the calls run those
// (plan_run.cc):
//   - a parameter is read from its slot among the call's stacked
//     bindings, and a LET or loop variable from its place in the frames
//     the plan's LETs and loops pushed, not looked up by name;
//   - IF, COND, AND, OR, PROGN, WHEN, UNLESS, QUOTE, SETQ, LET, LET*,
//     LOOP, DOTIMES and DOLIST run as operations over their analysed
//     parts;
//   - a call of a built-in takes the short way found for it, if it has
//     one; a call of a closure evaluates its analysed arguments straight
//     into the argument frame, and for a closure of required parameters
//     alone straight into its bindings.
// Anything else is handed to the evaluator as written.
//
// This file keeps the plans: one per closure body (closures made from the
// same lambda expression share it), made on the first call, dropped when
// the collector frees the body, and retired when code they were made from
// changes (code_changed).
#include "plan.h"

#include <cstdint>
#include <cstdlib>

#include "eval.h"
#include "plan_ops.h"

namespace velloq {

unsigned code_changes = 0;

namespace {

// Retired plans kept at once before analysis pauses until they are freed.
const int MAX_RETIRED = 4096;

// The plans by body, in buckets chained through `next`.  Plain arrays
// that nothing destroys at exit, and whose growth cannot throw.
Plan** table = nullptr;
size_t table_size = 0;        // a power of two, or 0
size_t plan_count = 0;
Plan* retired = nullptr;      // may still be running, newest first, through `next`
int retired_count = 0;
Plan* recent[64];             // a cache in front of the table

Plan*& recent_slot(Node* body) {
  return recent[(reinterpret_cast<uintptr_t>(body) >> 4) & 63];
}

void clear_recent() {
  for (Plan*& r : recent) r = nullptr;
}

size_t bucket_of(Node* body) {
  uint64_t h = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(body)) * 0x9E3779B97F4A7C15ull;
  return static_cast<size_t>(h >> 32) & (table_size - 1);
}

Plan* find_plan(Node* body) {
  if (!table_size) return nullptr;
  for (Plan* p = table[bucket_of(body)]; p; p = p->next)
    if (p->body == body) return p;
  return nullptr;
}

void insert_plan(Plan* p) {
  Plan*& head = table[bucket_of(p->body)];
  p->next = head;
  head = p;
}

// Doubles the table once it holds as many plans as it has buckets.  False
// only when there is no table at all and none can be made; a table that
// cannot grow just takes longer chains.
bool make_room() {
  if (plan_count < table_size) return true;
  size_t size = table_size ? table_size * 2 : 256;
  Plan** grown = static_cast<Plan**>(calloc(size, sizeof(Plan*)));
  if (!grown) return table_size != 0;
  Plan** old = table;
  size_t old_size = table_size;
  table = grown;
  table_size = size;
  for (size_t i = 0; i < old_size; i++)
    for (Plan* p = old[i]; p;) {
      Plan* next = p->next;
      insert_plan(p);
      p = next;
    }
  free(old);
  return true;
}

void free_retired() {
  while (retired) {
    Plan* next = retired->next;
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
  Plan* p = find_plan(body);
  if (!p) {
    if (!consp(body) || retired_count >= MAX_RETIRED || !make_room()) return nullptr;
    p = make_plan(c, body);
    if (!p) return nullptr;
    insert_plan(p);
    plan_count++;
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

bool plan_frames_changed = false;

// Code that changes retires every plan; a frame that changes makes every
// plan look its LET and loop variables up by name from then on.
void plan_cons_changing(Node* c) {
  if (c->flags & F_CODE) code_changed();
  if (c->flags & F_ENV) plan_frames_changed = true;
}

void code_changed() {
  code_changes++;
  for (size_t i = 0; i < table_size; i++) {
    while (Plan* p = table[i]) {
      table[i] = p->next;
      p->next = retired;
      retired = p;
      retired_count++;
    }
  }
  plan_count = 0;
  clear_recent();
}

// The change that retires a plan may cut what it runs out of its body, so
// a retired plan keeps every node it refers to itself.
void mark_retired_plans(void (*mark)(Node*)) {
  for (Plan* p = retired; p; p = p->next)
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
  for (size_t i = 0; i < table_size; i++)
    for (Plan** link = &table[i]; *link;) {
      Plan* p = *link;
      if (p->body->flags & F_MARK) {
        link = &p->next;
        continue;
      }
      *link = p->next;
      free_plan(p);
      plan_count--;
    }
  clear_recent();
}

void forget_plans() {
  for (size_t i = 0; i < table_size; i++)
    while (Plan* p = table[i]) {
      table[i] = p->next;
      free_plan(p);
    }
  plan_count = 0;
  free_retired();
  clear_recent();
}

}  // namespace velloq
