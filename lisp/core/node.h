// Nodes: the one record every Lisp value points at, node memory, the two
// interpreter stacks and the collector.  NIL is the null pointer.
//
// The core is plain C-style code: errors leave routines by longjmp, so no
// object with a destructor may be alive across a call that can raise.
//
// Words used by the contracts of the core's headers:
//   "allocates"  a collection may run first: every node that no root and no
//                protected local reaches is freed, and the *GC-HOOK* may run
//                (and raise).  Arguments said to be protected survive it.
//   "may raise"  may leave by the error path's non-local jump.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "state.h"

namespace velloq {

enum Kind : int8_t {
  K_FREE = 0, K_SUBR = 1, K_FSUBR = 2, K_CONS = 3, K_SYMBOL = 4, K_FIXNUM = 5,
  K_FLONUM = 6, K_STRING = 7, K_KIND8 = 8, K_FSTREAM = 9, K_ARRAY = 10,
  K_CLOSURE = 11, K_CHAR = 12, K_USTREAM = 13, K_FRAME = 14
};

enum NodeFlag : uint8_t {
  F_MARK = 1,      // reached by the current collection
  F_CARPROG = 2,   // car in progress while marking a cons by pointer reversal
  F_CONSOLE = 4,   // a file stream that stands for the terminal
  F_INDEXED = 8,   // a symbol the object array's index has held
  F_WALKED = 16,   // a frame met by a walk that neither allocates nor raises
  F_SPILLED = 32,  // an environment frame whose stacked bindings became conses
  F_CODE = 64,     // a cons some plan was made from (plan.h)
  F_ENV = 128      // a cons of an environment frame that a plan made (plan.h)
};

struct Node;
typedef Node* (*Handler)();

// `num` is payload A where it is a number (fixnum value, character code,
// slot count, string length with its NUL, built-in position, pushed-back
// character of a file stream); `u` holds the rest.
struct Node {
  int8_t kind;
  uint8_t flags;
  int32_t num;
  union {
    struct { Node* car; Node* cdr; } c;  // CONS; UNNAMED-STREAM head/tail
    double flo;                          // FLONUM
    Node** slots;                        // SYMBOL, ARRAY, CLOSURE, FRAME
    char* str;                           // STRING
    FILE* fp;                            // FILE-STREAM (null when closed)
    Handler fn;                          // SUBR, FSUBR
  } u;
};

// Symbol slots.
enum { S_VALUE = 0, S_FUNCTION = 1, S_PLIST = 2, S_PNAME = 3, S_OWNER = 4, SYMBOL_SLOTS = 5 };
// Frame slots.
enum { FR_SLOTS = 0, FR_CHILDREN = 1, FR_NAME = 2, FRAME_SLOTS = 3 };
// Closure slots: the parsed lambda list (parameters as lists), the body,
// the captured environments, the lambda list as written and, when every
// parameter is required, their number as a FIXNUM (else NIL).
enum { C_NAME, C_TYPE, C_REQ, C_OPT, C_REST, C_KEY, C_AUX, C_BODY, C_ENV, C_FENV, C_LAMBDA, C_ARITY };

// Kind tests: true only for a node of that kind (NIL is none).
inline bool consp(Node* n) { return n && n->kind == K_CONS; }
inline bool symbolp(Node* n) { return n && n->kind == K_SYMBOL; }
inline bool fixnump(Node* n) { return n && n->kind == K_FIXNUM; }
inline bool flonump(Node* n) { return n && n->kind == K_FLONUM; }
inline bool stringp(Node* n) { return n && n->kind == K_STRING; }
inline bool charp(Node* n) { return n && n->kind == K_CHAR; }
inline bool closurep(Node* n) { return n && n->kind == K_CLOSURE; }
inline bool arrayp(Node* n) { return n && n->kind == K_ARRAY; }
inline bool framep(Node* n) { return n && n->kind == K_FRAME; }
inline bool vectorlike(Node* n) {
  return n && (n->kind == K_SYMBOL || n->kind == K_ARRAY || n->kind == K_CLOSURE || n->kind == K_FRAME);
}
// Accessors: the caller has checked the kind (car and cdr of NIL are not
// allowed here).  Never raise, never allocate.
inline Node* car(Node* n) { return n->u.c.car; }
inline Node* cdr(Node* n) { return n->u.c.cdr; }
inline Node* slot(Node* v, int i) { return v->u.slots[i]; }
inline void set_slot(Node* v, int i, Node* x) { v->u.slots[i] = x; }
inline const char* symbol_name(Node* s) { return s->u.slots[S_PNAME]->u.str; }
inline Node* symbol_value(Node* s) { return s->u.slots[S_VALUE]; }
inline Node* symbol_function(Node* s) { return s->u.slots[S_FUNCTION]; }
inline int32_t string_length(Node* s) { return s->num - 1; }  // without the NUL

// A cons that plans rely on (F_CODE or F_ENV) is about to change
// (plan.h).  Never raises, never allocates.
void plan_cons_changing(Node* c);
// Every change of an existing cons that a program can reach goes through
// set_car and set_cdr, so that plans learn of changed code and frames.
inline void set_car(Node* c, Node* v) {
  if (c->flags & (F_CODE | F_ENV)) plan_cons_changing(c);
  c->u.c.car = v;
}
inline void set_cdr(Node* c, Node* v) {
  if (c->flags & (F_CODE | F_ENV)) plan_cons_changing(c);
  c->u.c.cdr = v;
}

// Prepares node memory: statistics, the permanent segments, empty stacks
// and roots; reads VELLOQ_HEAP_LIMIT and VELLOQ_GC_STRESS.  Returns false
// when the C heap refuses (the caller reports the fatal error).
bool init_node_memory();
// Releases every segment and what its nodes hold (shut-down, tests).
// Every node pointer held anywhere dangles afterwards.
void free_node_memory();

// A cleared node of the given kind.  Allocates; when no node can be had
// even beyond the ceiling, ends in the fatal error "insufficient node
// space".
Node* allocate_node(int kind);
// The part of make_cons that may collect (protects a and d).
Node* make_cons_slow(Node* a, Node* d);
// (a . d).  Allocates; protects a and d.  A free node is taken without a
// collection in between, so only the slow path protects.
inline Node* make_cons(Node* a, Node* d) {
  Node* n = free_list;
  if (!n || gc_stress) return make_cons_slow(a, d);
  free_list = n->u.c.cdr;
  if (n == free_last) free_last = nullptr;
  mem_stats.free_nodes--;
  n->kind = K_CONS;
  n->flags = 0;
  n->num = 0;
  n->u.c.car = a;
  n->u.c.cdr = d;
  return n;
}
// A FIXNUM; -128..255 are permanent and allocate nothing.  Allocates.
Node* make_fixnum(int32_t v);
// A FLONUM.  Allocates.
Node* make_flonum(double v);
// The permanent CHARACTER of a code 0..255; allocates nothing.  Raises
// "character code out of range" for other codes.
Node* make_character(int code);
// A STRING holding a copy of s (NUL-terminated) or of len bytes of s; s
// must not point into a node's string, which a collection may free.
// Allocates; raises "insufficient string space".
Node* make_string_from(const char* s);
Node* make_string_bytes(const char* s, int32_t len);
// An empty STRING with room for size bytes including the NUL.  Allocates;
// raises "insufficient string space".
Node* make_string_of_size(int32_t size);
// An ARRAY of size NIL slots.  Allocates; raises "insufficient vector
// space".
Node* make_vector(int32_t size);
// A SYMBOL with the given print name and no value, function or owner.
// Allocates; protects name_string; may raise as make_vector.
Node* make_symbol_node(Node* name_string);
// A CLOSURE with its name, type and environments set, the rest NIL.
// Allocates; protects all four; may raise as make_vector.
Node* make_closure_node(Node* name, Node* type, Node* env, Node* fenv);
// A FILE-STREAM over fp (null: closed).  Allocates.
Node* make_file_stream(FILE* fp);
// An empty UNNAMED-STREAM.  Allocates.
Node* make_unnamed_stream();
// A FRAME named n.  Allocates; protects n; may raise as make_vector.
Node* make_frame_node(Node* n);
// A SUBR or FSUBR node for a table position.  Allocates.
Node* make_subr(int kind, Handler fn, int position);
// bytes of zeroed string space within the heap ceiling.  May collect;
// raises "insufficient string space".
char* allocate_string_space(int32_t bytes);
// Counts bytes that the interpreter's owner holds for it outside node
// memory (the terminal's input buffer, the reader's string buffer) against
// the one ceiling of VELLOQ_HEAP_LIMIT; false, counting nothing, when they
// do not fit.  Never raises.
bool reserve_heap_bytes(size_t bytes);
// Gives back bytes counted by reserve_heap_bytes.
void release_heap_bytes(size_t bytes);
// Adds a segment of mem_stats.alloc_size nodes to the free list; false
// when the C heap refuses.  Never raises.
bool add_segment();
// Collects, releasing wholly free segments (or keeping them all).  Frees
// every node no root or protected local reaches; then runs *GC-HOOK*, which
// may raise.
void collect_garbage();
void collect_garbage_keeping(bool keep_segments);
// True when addr lies inside one of the segments (PEEK, POKE).
bool is_node_address(uintptr_t addr);
// The position of a node across all segments, or -1 (ADDRESS-OF).
long node_number(Node* n);
// The node at a position, or null past the last segment (PEEK, POKE).
Node* node_by_number(long number);

// Called when a context is resumed: the stacks lose the reserve an
// overflow report lent them.
void reset_stack_limits();
// Called when a context is resumed: a *GC-HOOK* call left by the error is
// over.
void reset_collector_state();

// ---- the protection stack: PROTECT(local) before a call that allocates,
// UNPROTECT(count) before returning; a resumed context drops the rest ----
// Raises "evaluation stack overflow" (with a reserve for the error path;
// aborts when the reserve is used up too).
void protect_overflow();
void native_stack_overflow();
// Makes *p a root until unprotected; raises on overflow of the protection
// stack or when the caller's native frame is below the native stack bound.
// The check of the native stack alone, for a routine that nests
// evaluation but protects nothing; raises when the caller's native frame
// is below the bound.
[[gnu::always_inline]] inline void guard_native_stack() {
  if (static_cast<char*>(__builtin_frame_address(0)) < native_stack_floor) native_stack_overflow();
}
[[gnu::always_inline]] inline void protect(Node** p) {
  if (ptop >= plimit) protect_overflow();
  guard_native_stack();
  pstack[ptop++] = p;
}
// Drops the n most recent protections.
inline void unprotect(int n) { ptop -= n; }
#define PROTECT(x) ::velloq::protect(&(x))
#define UNPROTECT(n) ::velloq::unprotect(n)

// ---- the argument stack ----
// Raises "argument stack overflow" (as protect_overflow).
void astack_overflow();
// Pushes n; raises on overflow.  Entries are roots for the collector.
inline void apush(Node* n) {
  if (atop >= alimit) astack_overflow();
  astack[atop++] = n;
}
// A frame's header entries (link distance, argument count) are plain
// integers kept as odd words, which no node address is, so that a call
// allocates nothing for them; the collector passes them over.
inline Node* header_word(int v) { return reinterpret_cast<Node*>((static_cast<uintptr_t>(v) << 1) | 1); }
inline int header_value(Node* w) { return static_cast<int>(reinterpret_cast<uintptr_t>(w) >> 1); }
inline bool is_header_word(Node* w) { return reinterpret_cast<uintptr_t>(w) & 1; }


}  // namespace velloq
