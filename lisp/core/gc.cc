// The mark-and-sweep collector.  Lists are marked by pointer reversal;
// vector-like nodes go on an explicit stack, so no nesting reaches the
// native stack.
#include <cstdio>
#include <cstdlib>

#include "eval.h"
#include "heap.h"
#include "node.h"
#include "context.h"
#include "plan.h"
#include "streams.h"
#include "symbol_index.h"

namespace velloq {

// True while the *GC-HOOK* function runs: a collection it causes does not
// call it again.
static bool gc_hook_running = false;
// Pending vector-like and stream nodes whose contents are still to be marked.
static Node** pending = nullptr;
static size_t pending_count = 0, pending_cap = 0;

static void push_pending(Node* n) {
  if (pending_count == pending_cap) {
    size_t cap = pending_cap ? pending_cap * 2 : 1024;
    Node** p = static_cast<Node**>(realloc(pending, cap * sizeof(Node*)));
    if (!p) abort();  // the collector cannot report; memory is gone
    pending = p;
    pending_cap = cap;
  }
  pending[pending_count++] = n;
}

// Marks one non-cons node; its contents are queued, not visited.
static void mark_atom(Node* n) {
  n->flags |= F_MARK;
  switch (n->kind) {
    case K_SYMBOL: case K_ARRAY: case K_CLOSURE: case K_FRAME: case K_USTREAM:
      push_pending(n);
      break;
    default:
      break;
  }
}

// Marks the list structure under a cons by pointer reversal.
static void mark_cons(Node* root) {
  Node* parent = nullptr;
  Node* cur = root;
  for (;;) {
    // Descend from cur as far as possible.
    if (cur && !(cur->flags & F_MARK)) {
      if (cur->kind != K_CONS) {
        mark_atom(cur);
      } else {
        cur->flags |= F_MARK;
        Node* a = cur->u.c.car;
        if (a) {
          cur->flags |= F_CARPROG;
          cur->u.c.car = parent;
          parent = cur;
          cur = a;
          continue;
        }
        Node* d = cur->u.c.cdr;
        if (d) {
          cur->u.c.cdr = parent;
          parent = cur;
          cur = d;
          continue;
        }
      }
    }
    // Climb back.
    for (;;) {
      if (!parent) return;
      if (parent->flags & F_CARPROG) {
        parent->flags &= (uint8_t)~F_CARPROG;
        Node* grand = parent->u.c.car;
        parent->u.c.car = cur;
        Node* d = parent->u.c.cdr;
        if (d) {
          parent->u.c.cdr = grand;
          cur = d;
          break;  // descend into the cdr with parent unchanged
        }
        cur = parent;
        parent = grand;
      } else {
        Node* grand = parent->u.c.cdr;
        parent->u.c.cdr = cur;
        cur = parent;
        parent = grand;
      }
    }
  }
}

static void mark_node(Node* n) {
  if (!n || (n->flags & F_MARK)) return;
  if (n->kind == K_CONS) mark_cons(n); else mark_atom(n);
  while (pending_count) {
    Node* v = pending[--pending_count];
    if (v->kind == K_USTREAM) {
      if (v->u.c.car) mark_cons(v->u.c.car);
      if (v->u.c.cdr && !(v->u.c.cdr->flags & F_MARK)) mark_cons(v->u.c.cdr);
      continue;
    }
    for (int i = 0; i < v->num; i++) {
      Node* s = v->u.slots[i];
      if (!s || (s->flags & F_MARK)) continue;
      if (s->kind == K_CONS) mark_cons(s); else mark_atom(s);
    }
  }
}

// Rebuilds the free list, releasing wholly free segments while no marked
// node has been met (newest first).
static void sweep(bool release) {
  bool symbol_freed = false;
  free_list = nullptr;
  free_last = nullptr;
  mem_stats.free_nodes = 0;
  bool all_free_so_far = true;
  for (Segment* s = newest_segment; s;) {
    Segment* older = s->older;
    Node* list_before = free_list;
    Node* last_before = free_last;
    long free_before = mem_stats.free_nodes;
    bool seg_all_free = true;
    Node* nodes = seg_nodes(s);
    for (int i = 0; i < s->count; i++) {
      Node* n = &nodes[i];
      if (n->flags & F_MARK) {
        n->flags &= (uint8_t)~F_MARK;
        seg_all_free = false;
        continue;
      }
      if (n->kind == K_SYMBOL && (n->flags & F_INDEXED)) symbol_freed = true;
      if (kind_holds_data(n->kind)) release_node_data(n);
      n->kind = K_FREE;
      n->num = 0;
      n->u.c.car = nullptr;
      n->u.c.cdr = free_list;
      if (!free_list) free_last = n;
      free_list = n;
      mem_stats.free_nodes++;
    }
    if (!seg_all_free) all_free_so_far = false;
    if (release && all_free_so_far && seg_all_free && older) {
      free_list = list_before;
      free_last = last_before;
      mem_stats.free_nodes = free_before;
      // s is the newest segment here: every newer one was released before.
      newest_segment = older;
      older->newer = nullptr;
      mem_stats.segments--;
      mem_stats.total_nodes -= s->count;
      mem_stats.total_bytes -= 16 + 16L * s->count;
      release_segment(s);
    }
    s = older;
  }
  // Only a symbol taken out of the object array by hand can be indexed
  // and freed; the index must not keep it.
  if (symbol_freed) forget_symbol_index();
}

void collect_garbage() { collect_garbage_keeping(false); }

// A sweep releases segments only from the newest end, so one live node in a
// new segment keeps every older free one.  When strings or vectors find no
// room, every wholly free segment but the oldest goes back to the heap and
// the free list is built again from what stays.  Call right after a
// collection: only then is every free node on the free list.
void release_free_segments() {
  free_list = nullptr;
  free_last = nullptr;
  mem_stats.free_nodes = 0;
  for (Segment* s = newest_segment; s;) {
    Segment* older = s->older;
    Node* nodes = seg_nodes(s);
    bool all_free = true;
    for (int i = 0; i < s->count && all_free; i++) all_free = nodes[i].kind == K_FREE;
    if (all_free && s != oldest_segment) {
      if (s->newer) s->newer->older = older; else newest_segment = older;
      if (older) older->newer = s->newer;
      mem_stats.segments--;
      mem_stats.total_nodes -= s->count;
      mem_stats.total_bytes -= 16 + 16L * s->count;
      release_segment(s);
    } else {
      for (int i = 0; i < s->count; i++) {
        Node* n = &nodes[i];
        if (n->kind != K_FREE) continue;
        n->u.c.cdr = free_list;
        if (!free_list) free_last = n;
        free_list = n;
        mem_stats.free_nodes++;
      }
    }
    s = older;
  }
  trim_heap_after_collection();
}

// Calls the hook with the node total and the free nodes.  Each number goes
// on the argument stack, and so is protected, as soon as it is made.
static void call_gc_hook(Node* hook) {
  int start = open_frame(hook);
  apush(make_fixnum((int32_t)mem_stats.total_nodes));
  apush(make_fixnum((int32_t)mem_stats.free_nodes));
  finish_frame(start, 2);
  apply_function(2);
}

static void put_count(const char* fmt, long v) {
  char buf[64];
  snprintf(buf, sizeof buf, fmt, v);
  stream_put_string(standard_output(), buf);
}

// The stress mode collects before every allocation without releasing
// segments, so the heap grows as it does without the stress.
void collect_garbage_keeping(bool keep_segments) {
  bool verbose = sym_gc_flag && symbol_value(sym_gc_flag);
  if (verbose) put_count("[ gc: total %ld, ", mem_stats.total_nodes);
  mark_node(obarray_symbol);
  mark_node(venv);
  mark_node(stacked_frame);
  mark_node(fenv);
  mark_node(denv);
  for (int i = 0; i < ptop; i++) mark_node(*pstack[i]);
  // A context keeps the environments it will put back (see closure.cc).
  for (Context* c = context_chain; c; c = c->prev) {
    mark_node(c->saved_venv);
    mark_node(c->saved_stacked_frame);
    mark_node(c->saved_fenv);
  }
  for (int i = 0; i < atop; i++)
    if (!is_header_word(astack[i])) mark_node(astack[i]);
  mark_retired_plans(mark_node);
  forget_unmarked_frame_cells();
  forget_unmarked_plans();
  // Permanent nodes keep their mark; they are atoms, so it is harmless.
  sweep(!keep_segments);
  if (!keep_segments) trim_heap_after_collection();
  mem_stats.collections++;
  // The hook allocates; a collection it causes does not call it again.
  if (!gc_hook_running && sym_gc_hook && symbol_value(sym_gc_hook)) {
    gc_hook_running = true;
    call_gc_hook(symbol_value(sym_gc_hook));
    gc_hook_running = false;
  }
  if (verbose) put_count("%ld free ]\n", mem_stats.free_nodes);
}

void reset_collector_state() { gc_hook_running = false; }

}  // namespace velloq
