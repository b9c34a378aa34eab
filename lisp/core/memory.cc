// Node memory: segments, the free list, the constructors of every node kind,
// the two interpreter stacks and the statistics.
#include "node.h"

#include <cstdlib>
#include <cstring>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "errors.h"
#include "eval.h"
#include "file_streams.h"
#include "heap.h"
#include "native_stack.h"
#include "plan.h"
#include "symbol_index.h"

namespace velloq {

MemoryStats mem_stats;
bool gc_stress = false;
Node** pstack[PSTACK_SIZE + STACK_RESERVE];
int ptop = 0;
int plimit = PSTACK_SIZE;
Node* astack[ASTACK_SIZE + STACK_RESERVE];
int alimit = ASTACK_SIZE;
int atop = 0;
int afp = 0;
Node* obarray_symbol = nullptr;
Node* venv = nullptr;
Node* fenv = nullptr;
Node* denv = nullptr;
Node* sym_gc_flag = nullptr;
Node* sym_gc_hook = nullptr;

Segment* oldest_segment = nullptr;
Segment* newest_segment = nullptr;
Segment* fixnum_segment = nullptr;
Segment* char_segment = nullptr;
Node* free_list = nullptr;
Node* free_last = nullptr;  // remembered last node of the free list, or null

// Real bytes taken from the C heap for the interpreter - node segments,
// the data of strings and vectors, and what a front end reserves (its
// input buffer) - all under one ceiling, so that freed nodes leave room
// for strings again and the whole stays below VELLOQ_HEAP_LIMIT.
static size_t used_bytes = 0;
static size_t heap_limit = 0;
static size_t peak_since_trim = 0;  // most bytes in use since the last trim
// When node space runs out, segments up to this much beyond the ceiling let
// the program continue at the top level far enough to drop what it holds.
static const size_t EMERGENCY_MAX = (size_t)8 << 20;
static bool beyond_ceiling = false;

// In the test build, VELLOQ_FAIL_ALLOC_AT=N makes the N-th allocation of
// segments, strings and vectors fail as a refusing heap would; 0 fails
// none.  With the variable set, the number of allocations is written to
// standard error at the end, so a test knows how far to go.
#ifdef VELLOQ_ALLOC_FAULTS
static long alloc_count = 0;
static long fail_at = -1;  // -1: not read yet

static void report_alloc_count() { fprintf(stderr, "velloq: %ld allocations\n", alloc_count); }

static bool injected_failure() {
  if (fail_at < 0) {
    const char* v = getenv("VELLOQ_FAIL_ALLOC_AT");
    fail_at = v ? strtol(v, nullptr, 10) : 0;
    if (v) atexit(report_alloc_count);
  }
  return ++alloc_count == fail_at;
}
#else
static bool injected_failure() { return false; }
#endif

static bool fits(size_t bytes, size_t extra) {
  return !heap_limit || (bytes <= heap_limit + extra && used_bytes <= heap_limit + extra - bytes);
}

static void* pool_alloc(size_t bytes) {
  if (injected_failure()) return nullptr;
  if (!fits(bytes, beyond_ceiling ? EMERGENCY_MAX : 0)) return nullptr;
  void* p = calloc(1, bytes ? bytes : 1);
  if (p) used_bytes += bytes;
  if (used_bytes > peak_since_trim) peak_since_trim = used_bytes;
  return p;
}

static void pool_free(void* p, size_t bytes) {
  if (!p) return;
  used_bytes -= bytes;
  free(p);
}

void trim_heap_after_collection() {
  if (used_bytes > peak_since_trim) peak_since_trim = used_bytes;
  // Freed blocks stay with the C library, which would count them again
  // when the program's mix of nodes, strings and vectors changes: once a
  // collection has freed much, the free pages go back to the system.
  size_t much = heap_limit ? heap_limit / 8 : (size_t)64 << 20;
  if (peak_since_trim - used_bytes < much) return;
#ifdef __GLIBC__
  malloc_trim(0);
#endif
  peak_since_trim = used_bytes;
}

bool reserve_heap_bytes(size_t bytes) {
  if (!fits(bytes, 0)) return false;
  used_bytes += bytes;
  return true;
}

void release_heap_bytes(size_t bytes) { used_bytes -= bytes < used_bytes ? bytes : used_bytes; }

void* heap_alloc(size_t bytes) { return pool_alloc(bytes); }
static void heap_free(void* p, size_t bytes) { pool_free(p, bytes); }

static size_t segment_bytes(int32_t count) { return sizeof(Segment) + sizeof(Node) * (size_t)count; }

// A permanent segment: made at start-up, never swept, never released.
static Segment* permanent_segment(int32_t count) {
  Segment* s = static_cast<Segment*>(pool_alloc(segment_bytes(count)));
  if (s) s->count = count;
  return s;
}

static void read_heap_limit() {
  heap_limit = (size_t)2 << 30;
  const char* v = getenv("VELLOQ_HEAP_LIMIT");
  if (v && *v) {
    char* end = nullptr;
    unsigned long long n = strtoull(v, &end, 10);
    if (end != v && n > 0) heap_limit = (size_t)n;
  }
  const char* g = getenv("VELLOQ_GC_STRESS");
  gc_stress = g && strcmp(g, "1") == 0;
}

bool init_node_memory() {
  free_node_memory();
  read_heap_limit();
  memset(&mem_stats, 0, sizeof mem_stats);
  mem_stats.alloc_size = 1024;
  free_list = free_last = nullptr;
  venv = fenv = denv = nullptr;
  stacked_frame = nullptr;
  forget_frame_cells();
  sym_gc_flag = sym_gc_hook = nullptr;
  obarray_symbol = nullptr;
  fixnum_segment = permanent_segment(384);
  char_segment = permanent_segment(256);
  if (!fixnum_segment || !char_segment) return false;
  for (int i = 0; i < 384; i++) {
    Node* n = seg_nodes(fixnum_segment) + i;
    n->kind = K_FIXNUM;
    n->num = i - 128;
  }
  for (int i = 0; i < 256; i++) {
    Node* n = seg_nodes(char_segment) + i;
    n->kind = K_CHAR;
    n->num = i;
  }
  ptop = 0;
  atop = 0;
  afp = 0;
  astack[atop++] = nullptr;
  note_native_stack();
  return true;
}

void release_node_data(Node* n) {
  switch (n->kind) {
    case K_SYMBOL: case K_ARRAY: case K_CLOSURE: case K_FRAME:
      if (n->num > 0 && n->u.slots) {
        heap_free(n->u.slots, sizeof(Node*) * (size_t)n->num);
        mem_stats.total_bytes -= 4L * n->num;
      }
      break;
    case K_STRING:
      if (n->u.str) {
        heap_free(n->u.str, (size_t)n->num);
        mem_stats.total_bytes -= n->num;
      }
      break;
    case K_FSTREAM:
      if (n->u.fp && !(n->flags & F_CONSOLE)) release_file_stream(n);
      break;
    default:
      break;
  }
  n->u.c.car = n->u.c.cdr = nullptr;
}

void release_segment(Segment* s) {
  pool_free(s, segment_bytes(s->count));
}

void free_node_memory() {
  forget_symbol_index();
  obarray_removals++;  // every symbol leaves: the caches keyed on names go
  methods_made = false;
  forget_plans();
  for (Segment* s = oldest_segment; s;) {
    Segment* older_link = s->newer;
    for (int i = 0; i < s->count; i++) release_node_data(seg_nodes(s) + i);
    release_segment(s);
    s = older_link;
  }
  if (fixnum_segment) release_segment(fixnum_segment);
  if (char_segment) release_segment(char_segment);
  oldest_segment = newest_segment = fixnum_segment = char_segment = nullptr;
  free_list = free_last = nullptr;
}

bool add_segment() {
  int32_t size = (int32_t)mem_stats.alloc_size;
  if (size <= 0) return false;
  Segment* s = static_cast<Segment*>(pool_alloc(segment_bytes(size)));
  if (!s) return false;
  s->count = size;
  s->older = newest_segment;
  if (newest_segment) newest_segment->newer = s; else oldest_segment = s;
  newest_segment = s;
  mem_stats.segments++;
  mem_stats.total_nodes += size;
  mem_stats.free_nodes += size;
  mem_stats.total_bytes += 16 + 16L * size;
  // Chain: the last node is handed out first, the first node ends the chain.
  Node* nodes = seg_nodes(s);
  nodes[0].u.c.cdr = nullptr;
  for (int i = 1; i < size; i++) nodes[i].u.c.cdr = &nodes[i - 1];
  if (free_last) free_last->u.c.cdr = &nodes[size - 1];
  else free_list = &nodes[size - 1];
  free_last = &nodes[0];
  return true;
}

bool is_node_address(uintptr_t addr) {
  Segment* all[2] = {fixnum_segment, char_segment};
  for (Segment* s : all) {
    if (!s) continue;
    uintptr_t lo = (uintptr_t)seg_nodes(s), hi = lo + sizeof(Node) * (size_t)s->count;
    if (addr >= lo && addr < hi) return true;
  }
  for (Segment* s = oldest_segment; s; s = s->newer) {
    uintptr_t lo = (uintptr_t)seg_nodes(s), hi = lo + sizeof(Node) * (size_t)s->count;
    if (addr >= lo && addr < hi) return true;
  }
  return false;
}

// After a collection the free nodes should be at least half of all nodes,
// and never fewer than a floor.  Each collection marks the live nodes and
// sweeps all of them, so its cost, spread over the nodes it frees, stays a
// small constant only when the free share does not shrink as the live data
// grows: half keeps the collector near a fifth of a call-heavy program's
// time and the heap within twice the live data.  The floor is for small
// heaps, where the built-in symbols and frames alone are most of the live
// nodes and would otherwise be marked again every few thousand conses.
static const long FREE_SHARE_DIVISOR = 2;
static const long FREE_NODES_FLOOR = 8192;

// Grows the heap after a collection run out of need: one segment when
// fewer than a segment's worth of nodes came free, then more until the
// free share and the floor are reached, stopping at the first segment that
// cannot be had.
static void grow_after_collection() {
  if (mem_stats.free_nodes < mem_stats.alloc_size && !add_segment()) return;
  while (mem_stats.free_nodes * FREE_SHARE_DIVISOR < mem_stats.total_nodes ||
         mem_stats.free_nodes < FREE_NODES_FLOOR)
    if (!add_segment()) return;
}

// The stress mode collects before every allocation while the live nodes
// are few; with more, before every (live / STRESS_SPACING)-th, so that a
// program whose live data grows large (deep recursion binds a few nodes a
// level) costs the mode a bounded multiple of its run instead of the square.
static const long STRESS_SMALL_HEAP = 16384;
static const long STRESS_SPACING = 8;
static long stress_skip = 0;

static void stress_collect() {
  if (stress_skip > 0) {
    stress_skip--;
    return;
  }
  collect_garbage_keeping(true);
  long live = mem_stats.total_nodes - mem_stats.free_nodes;
  stress_skip = live < STRESS_SMALL_HEAP ? 0 : live / STRESS_SPACING;
}

Node* allocate_node(int kind) {
  if (gc_stress && mem_stats.segments > 0) stress_collect();
  if (!free_list) {
    collect_garbage();
    grow_after_collection();
    if (!free_list) {
      beyond_ceiling = true;
      add_segment();
      beyond_ceiling = false;
      fatal_error("insufficient node space");
    }
  }
  Node* n = free_list;
  free_list = n->u.c.cdr;
  if (n == free_last) free_last = nullptr;
  mem_stats.free_nodes--;
  n->kind = (int8_t)kind;
  n->flags = 0;
  n->num = 0;
  n->u.c.car = n->u.c.cdr = nullptr;
  return n;
}

Node* make_cons_slow(Node* a, Node* d) {
  PROTECT(a);
  PROTECT(d);
  Node* n = allocate_node(K_CONS);
  UNPROTECT(2);
  n->u.c.car = a;
  n->u.c.cdr = d;
  return n;
}

Node* make_fixnum(int32_t v) {
  if (v >= -128 && v <= 255) return seg_nodes(fixnum_segment) + (v + 128);
  Node* n = allocate_node(K_FIXNUM);
  n->num = v;
  return n;
}

Node* make_flonum(double v) {
  Node* n = allocate_node(K_FLONUM);
  n->u.flo = v;
  return n;
}

Node* make_character(int code) {
  if (code < 0 || code > 255) report_error("character code out of range", make_fixnum(code));
  return seg_nodes(char_segment) + code;
}

char* allocate_string_space(int32_t bytes) {
  char* p = static_cast<char*>(heap_alloc((size_t)bytes));
  if (!p) {
    collect_garbage();
    p = static_cast<char*>(heap_alloc((size_t)bytes));
  }
  if (!p) {
    release_free_segments();
    p = static_cast<char*>(heap_alloc((size_t)bytes));
    if (!p) report_error("insufficient string space");
  }
  mem_stats.total_bytes += bytes;
  return p;
}

// The node is made first and protected, so that a collection run by the
// buffer's allocation neither frees it nor misses the buffer.
static Node* make_string_buffer(int32_t size) {
  Node* n = allocate_node(K_STRING);
  PROTECT(n);
  n->u.str = allocate_string_space(size);
  n->num = size;
  UNPROTECT(1);
  return n;
}

Node* make_string_bytes(const char* s, int32_t len) {
  Node* n = make_string_buffer(len + 1);
  if (len) memcpy(n->u.str, s, (size_t)len);
  n->u.str[len] = 0;
  return n;
}

Node* make_string_from(const char* s) { return make_string_bytes(s, (int32_t)strlen(s)); }

Node* make_string_of_size(int32_t size) {
  Node* n = make_string_buffer(size < 1 ? 1 : size);
  n->u.str[0] = 0;
  return n;
}

static Node* make_vectorlike(int kind, int32_t size) {
  Node* n = allocate_node(kind);
  if (size <= 0) return n;
  PROTECT(n);
  Node** slots = static_cast<Node**>(heap_alloc(sizeof(Node*) * (size_t)size));
  if (!slots) {
    collect_garbage();
    slots = static_cast<Node**>(heap_alloc(sizeof(Node*) * (size_t)size));
  }
  if (!slots) {
    release_free_segments();
    slots = static_cast<Node**>(heap_alloc(sizeof(Node*) * (size_t)size));
    if (!slots) report_error("insufficient vector space");
  }
  mem_stats.total_bytes += 4L * size;
  UNPROTECT(1);
  n->num = size;
  n->u.slots = slots;
  return n;
}

Node* make_vector(int32_t size) { return make_vectorlike(K_ARRAY, size); }

Node* make_symbol_node(Node* name_string) {
  PROTECT(name_string);
  Node* n = make_vectorlike(K_SYMBOL, SYMBOL_SLOTS);
  UNPROTECT(1);
  n->u.slots[S_PNAME] = name_string;
  return n;
}

Node* make_closure_node(Node* name, Node* type, Node* env, Node* fenv_) {
  PROTECT(name);
  PROTECT(type);
  PROTECT(env);
  PROTECT(fenv_);
  Node* n = make_vectorlike(K_CLOSURE, 12);
  UNPROTECT(4);
  if (symbolp(name) && name && name->u.slots[S_OWNER]) methods_made = true;
  n->u.slots[0] = name;
  n->u.slots[1] = type;
  n->u.slots[8] = env;
  n->u.slots[9] = fenv_;
  return n;
}

Node* make_file_stream(FILE* fp) {
  Node* n = allocate_node(K_FSTREAM);
  n->u.fp = fp;
  n->num = 0;
  return n;
}

Node* make_unnamed_stream() { return allocate_node(K_USTREAM); }

Node* make_frame_node(Node* x) {
  PROTECT(x);
  Node* n = make_vectorlike(K_FRAME, FRAME_SLOTS);
  UNPROTECT(1);
  n->u.slots[FR_NAME] = x;
  return n;
}

Node* make_subr(int kind, Handler fn, int position) {
  Node* n = allocate_node(kind);
  n->u.fn = fn;
  n->num = position;
  return n;
}

// The reserve lets the error path print; resuming a context takes it back.
void protect_overflow() {
  if (plimit > PSTACK_SIZE) abort();
  plimit = PSTACK_SIZE + STACK_RESERVE;
  report_error("evaluation stack overflow");
}

void reset_stack_limits() {
  plimit = PSTACK_SIZE;
  alimit = ASTACK_SIZE;
  reset_native_stack_limit();
}

void astack_overflow() {
  if (alimit > ASTACK_SIZE) abort();
  alimit = ASTACK_SIZE + STACK_RESERVE;
  report_error("argument stack overflow");
}

// Node numbers count the permanent segments first, then the segments from
// the oldest.
long node_number(Node* n) {
  uintptr_t a = (uintptr_t)n;
  long base = 0;
  Segment* perm[2] = {fixnum_segment, char_segment};
  for (Segment* s : perm) {
    uintptr_t lo = (uintptr_t)seg_nodes(s);
    if (a >= lo && a < lo + sizeof(Node) * (size_t)s->count) return base + (long)((a - lo) / sizeof(Node));
    base += s->count;
  }
  for (Segment* s = oldest_segment; s; s = s->newer) {
    uintptr_t lo = (uintptr_t)seg_nodes(s);
    if (a >= lo && a < lo + sizeof(Node) * (size_t)s->count) return base + (long)((a - lo) / sizeof(Node));
    base += s->count;
  }
  return -1;
}

Node* node_by_number(long number) {
  if (number < 0) return nullptr;
  Segment* perm[2] = {fixnum_segment, char_segment};
  for (Segment* s : perm) {
    if (number < s->count) return seg_nodes(s) + number;
    number -= s->count;
  }
  for (Segment* s = oldest_segment; s; s = s->newer) {
    if (number < s->count) return seg_nodes(s) + number;
    number -= s->count;
  }
  return nullptr;
}

}  // namespace velloq
