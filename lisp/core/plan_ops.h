// The operations of plans, as analysis makes them and running reads them.
// Private to plan.cc, plan_analysis.cc and plan_run.cc.
#pragma once

#include "node.h"
#include "short_calls.h"

namespace velloq {

enum OpKind : uint8_t {
  OP_CONST,     // value: a self-evaluating form
  OP_LOCAL,     // sym: a parameter, its value at slot above stacked_base
  OP_VAR,       // sym: any other variable
  OP_FORM,      // the form, evaluated as written
  OP_CALL,      // sym: the function's name; kids: the arguments
  OP_SHORT1,    // OP_CALL of the built-in expect by its short way `one`
  OP_SHORT2,    // OP_CALL of the built-in expect by its short way `two`
  OP_NULL,      // OP_SHORT1 of NULL (or NOT, the same built-in)
  // Special forms; head must still name the FSUBR expect.
  OP_QUOTE,     // value: the quoted object
  OP_IF,        // kids: test, then, else
  OP_COND,      // kids: test and body (a PROGN, or null) of each clause
  OP_AND,       // kids: the forms
  OP_OR,
  OP_PROGN,
  OP_WHEN,      // kids: test, body
  OP_UNLESS,
  OP_SETQ,      // sym, at slot when a parameter (else -1); kids: the value
  OP_LET,       // kids: name and init of each binding, then the body
  OP_LET_STAR,
  OP_LOOP,      // kids: the body
  OP_DOTIMES,   // kids: name, count, result (or null), body
  OP_DOLIST     // kids: name, list, result (or null), body
};

// An operation.  A name among the kids is an OP_CONST holding the symbol;
// a body is an OP_PROGN without a form of its own.
struct Op {
  OpKind kind;
  int16_t n;          // kids
  int32_t slot;       // OP_LOCAL, OP_SETQ: the value's index above stacked_base
  int16_t up;         // OP_VAR, OP_SETQ of a name a LET or loop of the plan
  int16_t pos;        // binds: its frame, up from venv, and place in it; else -1
  Node* form;         // what the evaluator is handed instead
  Node* cell;         // the cons holding form in its list, where it has one
  Node* sym;          // the variable; OP_CALL: the function's name
  Node* value;        // OP_CONST, OP_QUOTE
  Node* head;         // special forms: the head, which must still name
  Node* expect;       // this FSUBR; OP_SHORT1/2: the built-in
  union {
    ShortOne one;     // OP_SHORT1, OP_NULL
    ShortTwo two;     // OP_SHORT2
  } way;
  Op* made_before;    // the plan's operation made before this one
  Op* kids[1];        // n of them (room for one at least)
};

// A closure body's plan.  Nothing here is held in C++ containers: no
// allocation can throw, and nothing is destroyed at exit.
struct Plan {
  Node* body;         // the closure body analysed, F_CODE on its spine
  Node* lambda_list;  // the lambda list it was analysed under
  Op* root;           // a PROGN of the body's forms
  Op* last_made;      // every operation, newest first
  Plan* next;         // in its bucket of the table, or among the retired
};

// The plan of closure c's body; nullptr when it binds too many parameters
// or memory is short.  Marks what it depends on F_CODE.  Never raises,
// never allocates a node.
Plan* make_plan(Node* c, Node* body);
void free_plan(Plan* p);
// Runs a body (a PROGN operation).  Evaluates: may raise.
Node* run_progn(Op* op);
// Counts the calls of code_changed: code that ran one reads the rest of
// its forms anew.
extern unsigned code_changes;
// Retires every plan: code they were made from is changing.
void code_changed();
// Set for good once a program changes a frame a plan made (F_ENV): from
// then on the places analysis found for LET and loop variables are not
// trusted.
extern bool plan_frames_changed;

}  // namespace velloq
