// List built-ins.
#include <cstring>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "lists.h"
#include "symbols.h"

namespace velloq {

// Recursion follows cars only, each level protected: deep nesting ends
// with "evaluation stack overflow".
bool equal(Node* a, Node* b) {
  for (;;) {
    poll_step();  // circular structure can be interrupted
    if (eql(a, b)) return true;
    if (!a || !b || a->kind != b->kind) return false;
    if (a->kind == K_STRING)
      return a->num == b->num && memcmp(a->u.str, b->u.str, (size_t)a->num) == 0;
    if (a->kind != K_CONS) return false;
    PROTECT(a);
    bool same = equal(car(a), car(b));
    UNPROTECT(1);
    if (!same) return false;
    a = cdr(a);
    b = cdr(b);
  }
}

// Counts at most `limit` conses.
static long list_length_bounded(Node* l, long limit) {
  long n = 0;
  for (; consp(l) && n < limit; l = cdr(l)) n++;
  return n;
}

long list_length(Node* l) {
  long n = 0;
  for (; consp(l); l = cdr(l)) {
    n++;
    if ((n & 127) == 0) poll_step();
  }
  return n;
}

void refuse_circular(Node* l) {
  long left = mem_stats.total_nodes + 1;
  for (Node* p = l; consp(p); p = cdr(p)) {
    if (--left < 0) bad_argument(l);
    if ((left & 1023) == 0) poll_step();
  }
}

// ---- CAR / CDR and their compositions ----

// Applies the letters of `path` (A or D) from the right.
static Node* cxr(const char* path) {
  Node* x = next_arg();
  last_arg();
  for (int i = (int)strlen(path) - 1; i >= 0; i--) {
    if (!x) return nullptr;
    if (!consp(x)) bad_argument(x);
    x = path[i] == 'A' ? car(x) : cdr(x);
  }
  return x;
}

#define CXR(name, path) \
  Node* name() { return cxr(path); }
CXR(bi_car, "A") CXR(bi_cdr, "D")
CXR(bi_caar, "AA") CXR(bi_cadr, "AD") CXR(bi_cdar, "DA") CXR(bi_cddr, "DD")
CXR(bi_caaar, "AAA") CXR(bi_caadr, "AAD") CXR(bi_cadar, "ADA") CXR(bi_caddr, "ADD")
CXR(bi_cdaar, "DAA") CXR(bi_cdadr, "DAD") CXR(bi_cddar, "DDA") CXR(bi_cdddr, "DDD")
CXR(bi_caaaar, "AAAA") CXR(bi_caaadr, "AAAD") CXR(bi_caadar, "AADA") CXR(bi_caaddr, "AADD")
CXR(bi_cadaar, "ADAA") CXR(bi_cadadr, "ADAD") CXR(bi_caddar, "ADDA") CXR(bi_cadddr, "ADDD")
CXR(bi_cdaaar, "DAAA") CXR(bi_cdaadr, "DAAD") CXR(bi_cdadar, "DADA") CXR(bi_cdaddr, "DADD")
CXR(bi_cddaar, "DDAA") CXR(bi_cddadr, "DDAD") CXR(bi_cdddar, "DDDA") CXR(bi_cddddr, "DDDD")

// ---- building ----

// A list under construction: head and tail, the head protected by the
// caller.
struct ListBuilder {
  Node* head;
  Node* tail;
};

static void append_item(ListBuilder* b, Node* x) {
  Node* cell = make_cons(x, nullptr);
  if (b->tail) b->tail->u.c.cdr = cell; else b->head = cell;
  b->tail = cell;
}

Node* bi_cons() {
  Node* a = next_arg();
  Node* d = next_arg();
  last_arg();
  return make_cons(a, d);
}

Node* bi_list() {
  Node* l = nullptr;
  for (int i = argc_left - 1; i >= 0; i--) l = make_cons(argp[i], l);
  argc_left = 0;
  return l;
}

Node* bi_append() {
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  Node* result = nullptr;
  while (more_args()) {
    Node* l = next_arg();
    if (!more_args()) {
      if (b.tail) b.tail->u.c.cdr = l; else b.head = l;
      break;
    }
    if (l && !consp(l)) bad_argument(l);
    refuse_circular(l);
    for (; consp(l); l = cdr(l)) append_item(&b, car(l));
  }
  result = b.head;
  UNPROTECT(1);
  return result;
}

Node* bi_reverse() {
  Node* l = list_arg();
  last_arg();
  refuse_circular(l);
  Node* r = nullptr;
  PROTECT(r);
  for (; consp(l); l = cdr(l)) r = make_cons(car(l), r);
  UNPROTECT(1);
  return r;
}

Node* bi_last() {
  Node* l = list_arg();
  last_arg();
  while (consp(l) && consp(cdr(l))) {
    poll_step();
    l = cdr(l);
  }
  return l;
}

Node* bi_nth() {
  int32_t n = fixnum_arg();
  Node* l = list_arg();
  last_arg();
  if (n < 0) bad_argument(make_fixnum(n));
  for (; n > 0 && consp(l); n--) {
    if ((n & 1023) == 0) poll_step();
    l = cdr(l);
  }
  return consp(l) ? car(l) : nullptr;
}

Node* bi_nthcdr() {
  int32_t n = fixnum_arg();
  Node* l = list_arg();
  last_arg();
  if (n < 0) bad_argument(make_fixnum(n));
  for (; n > 0 && consp(l); n--) {
    if ((n & 1023) == 0) poll_step();
    l = cdr(l);
  }
  return n > 0 ? nullptr : l;
}

Node* bi_length() {
  Node* x = next_arg();
  last_arg();
  if (!x || consp(x)) {
    // More conses than exist: the list is circular.
    long n = list_length_bounded(x, mem_stats.total_nodes + 1);
    if (n > mem_stats.total_nodes) bad_argument(x);
    return make_fixnum((int32_t)n);
  }
  if (stringp(x)) return make_fixnum(string_length(x));
  if (arrayp(x)) return make_fixnum(x->num);
  bad_argument(x);
}

// ---- tests: /TEST and /TEST-NOT ----

struct Test {
  Node* fn;     // NIL for EQL
  bool negate;
};

// Reads the keyword arguments that remain.
static Test read_test() {
  Test t = {nullptr, false};
  Node* test = nullptr;
  Node* test_not = nullptr;
  bool have_test = false, have_not = false;
  while (more_args()) {
    Node* key = next_arg();
    Node* value = next_arg();
    if (key == s_test && !have_test) { test = value; have_test = true; }
    else if (key == s_test_not && !have_not) { test_not = value; have_not = true; }
    else if (key != s_test && key != s_test_not) bad_argument(key);
  }
  if (have_test) t.fn = test;
  else if (have_not) { t.fn = test_not; t.negate = true; }
  return t;
}

static bool run_test(Test* t, Node* a, Node* b) {
  if (!t->fn) return eql(a, b);
  Node* args[2] = {a, b};
  bool r = call_function(t->fn, 2, args) != nullptr;
  return t->negate ? !r : r;
}

Node* bi_member() {
  Node* x = next_arg();
  Node* l = list_arg();
  Test t = read_test();
  PROTECT(x);
  PROTECT(t.fn);
  Node* found = nullptr;
  for (; consp(l); l = cdr(l)) {
    poll_step();
    if (run_test(&t, x, car(l))) {
      found = l;
      break;
    }
  }
  UNPROTECT(2);
  return found;
}

// The first element of l that is a pair whose key satisfies same, or
// NIL.  The break check counts one step per element, in a register of its
// own: this is the walk that association-list programs spend their time in.
template <typename Same>
static Node* find_pair(Node* l, Same same) {
  int budget = poll_counter;
  Node* found = nullptr;
  for (; consp(l); l = cdr(l)) {
    if (--budget <= 0) {
      poll_counter = budget;
      poll_now();
      budget = poll_counter;
    }
    Node* pair = car(l);
    if (consp(pair) && same(car(pair))) {
      found = pair;
      break;
    }
  }
  poll_counter = budget;
  return found;
}

// ASSOC's walk under EQL, the lookup programs make most.  Only a number
// can be EQL without being the same node: a FIXNUM key is compared by its
// value, a FLONUM by EQL, anything else by address alone.
static Node* assoc_eql(Node* x, Node* l) {
  if (fixnump(x)) {
    int32_t value = x->num;
    return find_pair(l, [=](Node* key) { return key == x || (fixnump(key) && key->num == value); });
  }
  if (flonump(x)) return find_pair(l, [=](Node* key) { return eql(x, key); });
  return find_pair(l, [=](Node* key) { return key == x; });
}

Node* bi_assoc() {
  Node* x = next_arg();
  Node* l = list_arg();
  Test t = read_test();
  if (!t.fn) return assoc_eql(x, l);
  PROTECT(x);
  PROTECT(t.fn);
  Node* found = nullptr;
  for (; consp(l); l = cdr(l)) {
    poll_step();
    if (consp(car(l)) && run_test(&t, x, car(car(l)))) {
      found = car(l);
      break;
    }
  }
  UNPROTECT(2);
  return found;
}

// (SUBST new old tree): a fresh tree with old replaced by new.  The
// spine is walked in a loop; only cars recurse (each level protected).
static Node* subst_tree(Node* nw, Node* old, Node* tree, Test* t) {
  if (run_test(t, old, tree)) return nw;
  if (!consp(tree)) return tree;
  PROTECT(tree);
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  Node* l = tree;
  for (; consp(l); l = cdr(l)) {
    poll_step();
    if (l != tree && run_test(t, old, l)) break;
    Node* a = subst_tree(nw, old, car(l), t);
    append_item(&b, a);
  }
  if (l) b.tail->u.c.cdr = run_test(t, old, l) ? nw : l;
  UNPROTECT(2);
  return b.head;
}

Node* bi_subst() {
  Node* nw = next_arg();
  Node* old = next_arg();
  Node* tree = next_arg();
  Test t = read_test();
  refuse_circular(tree);
  PROTECT(t.fn);
  Node* r = subst_tree(nw, old, tree, &t);
  UNPROTECT(1);
  return r;
}

static Node* sublis_lookup(Node* alist, Node* x, Test* t, bool* hit) {
  *hit = false;
  for (Node* a = alist; consp(a); a = cdr(a))
    if (consp(car(a)) && run_test(t, car(car(a)), x)) {
      *hit = true;
      return cdr(car(a));
    }
  return x;
}

static Node* sublis_tree(Node* alist, Node* tree, Test* t) {
  bool hit;
  Node* r = sublis_lookup(alist, tree, t, &hit);
  if (hit || !consp(tree)) return r;
  PROTECT(tree);
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  Node* tail = nullptr;
  bool tail_set = false;
  Node* l = tree;
  for (; consp(l); l = cdr(l)) {
    poll_step();
    if (l != tree) {
      Node* v = sublis_lookup(alist, l, t, &hit);
      if (hit) {
        tail = v;
        tail_set = true;
        break;
      }
    }
    Node* a = sublis_tree(alist, car(l), t);
    append_item(&b, a);
  }
  if (!tail_set && l) tail = sublis_lookup(alist, l, t, &hit);
  b.tail->u.c.cdr = tail;
  UNPROTECT(2);
  return b.head;
}

Node* bi_sublis() {
  Node* alist = list_arg();
  Node* tree = next_arg();
  Test t = read_test();
  refuse_circular(tree);
  PROTECT(t.fn);
  Node* r = sublis_tree(alist, tree, &t);
  UNPROTECT(1);
  return r;
}

Node* bi_remove() {
  Node* x = next_arg();
  Node* l = list_arg();
  Test t = read_test();
  refuse_circular(l);
  PROTECT(x);
  PROTECT(t.fn);
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  for (; consp(l); l = cdr(l)) {
    poll_step();
    if (!run_test(&t, x, car(l))) append_item(&b, car(l));
  }
  UNPROTECT(3);
  return b.head;
}

Node* bi_delete() {
  Node* x = next_arg();
  Node* l = list_arg();
  Test t = read_test();
  PROTECT(x);
  PROTECT(t.fn);
  PROTECT(l);
  Node* head = l;
  Node* prev = nullptr;
  for (Node* p = l; consp(p); p = cdr(p)) {
    poll_step();
    if (run_test(&t, x, car(p))) {
      if (prev) set_cdr(prev, cdr(p)); else head = cdr(p);
    } else {
      prev = p;
    }
  }
  UNPROTECT(3);
  return head;
}

static bool satisfies(Node* pred, Node* x) {
  Node* args[1] = {x};
  return call_function(pred, 1, args) != nullptr;
}

static Node* remove_if(bool keep_when) {
  Node* pred = next_arg();
  Node* l = list_arg();
  last_arg();
  refuse_circular(l);
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  for (; consp(l); l = cdr(l))
    if (satisfies(pred, car(l)) == keep_when) append_item(&b, car(l));
  UNPROTECT(1);
  return b.head;
}

Node* bi_remove_if() { return remove_if(false); }
Node* bi_remove_if_not() { return remove_if(true); }

static Node* delete_if(bool keep_when) {
  Node* pred = next_arg();
  Node* l = list_arg();
  last_arg();
  Node* head = l;
  Node* prev = nullptr;
  for (Node* p = l; consp(p); p = cdr(p)) {
    if (satisfies(pred, car(p)) != keep_when) {
      if (prev) set_cdr(prev, cdr(p)); else head = cdr(p);
    } else {
      prev = p;
    }
  }
  return head;
}

Node* bi_delete_if() { return delete_if(false); }
Node* bi_delete_if_not() { return delete_if(true); }

// ---- mapping: (MAPxxx f list...) ----

enum { MAX_MAP_LISTS = 32 };

// Calls f over the lists in step; `on_cells` passes the list cells (MAPL,
// MAPLIST) instead of their cars; `collect` gathers the results.
static Node* map_lists(bool on_cells, bool collect) {
  Node* fn = next_arg();
  int n = argc_left;
  if (n < 1) report_error("too few arguments");
  if (n > MAX_MAP_LISTS) report_error("too many arguments");
  Node* cursors[MAX_MAP_LISTS];
  for (int i = 0; i < n; i++) {
    cursors[i] = next_arg();
    if (cursors[i] && !consp(cursors[i])) bad_argument(cursors[i]);
  }
  Node* first = cursors[0];
  for (int i = 0; i < n; i++) PROTECT(cursors[i]);
  ListBuilder b = {nullptr, nullptr};
  PROTECT(b.head);
  for (;;) {
    bool done = false;
    for (int i = 0; i < n; i++)
      if (!consp(cursors[i])) done = true;
    if (done) break;
    // The arguments go straight onto the argument stack.
    int start = open_frame(fn);
    for (int i = 0; i < n; i++) apush(on_cells ? cursors[i] : car(cursors[i]));
    finish_frame(start, n);
    Node* v = apply_function(n);
    if (collect) append_item(&b, v);
    for (int i = 0; i < n; i++) cursors[i] = cdr(cursors[i]);
  }
  Node* r = collect ? b.head : first;
  UNPROTECT(n + 1);
  return r;
}

Node* bi_mapc() { return map_lists(false, false); }
Node* bi_mapcar() { return map_lists(false, true); }
Node* bi_mapl() { return map_lists(true, false); }
Node* bi_maplist() { return map_lists(true, true); }

// ---- destructive ----

Node* bi_rplaca() {
  Node* c = next_arg();
  Node* v = next_arg();
  last_arg();
  if (!consp(c)) bad_argument(c);
  set_car(c, v);
  return c;
}

Node* bi_rplacd() {
  Node* c = next_arg();
  Node* v = next_arg();
  last_arg();
  if (!consp(c)) bad_argument(c);
  set_cdr(c, v);
  return c;
}

Node* bi_nconc() {
  Node* head = nullptr;
  Node* tail = nullptr;
  while (more_args()) {
    Node* l = next_arg();
    if (!consp(l)) {
      if (!more_args() && tail) set_cdr(tail, l);
      else if (!more_args() && !head) head = l;
      else if (l) bad_argument(l);
      continue;
    }
    if (tail) set_cdr(tail, l); else head = l;
    // Bounded walk: a circular list stops after the node count.
    long guard = mem_stats.total_nodes + 1;
    tail = l;
    while (consp(cdr(tail)) && guard-- > 0) tail = cdr(tail);
  }
  return head;
}

// ---- SORT by partitioning, with an explicit work list ----

Node* bi_sort() {
  Node* l = list_arg();
  Node* pred = next_arg();
  last_arg();
  if (!consp(l) || !consp(cdr(l))) return l;
  refuse_circular(l);
  Node* work = make_cons(l, nullptr);  // parts still to sort, first first
  PROTECT(work);
  PROTECT(pred);
  ListBuilder out = {nullptr, nullptr};
  PROTECT(out.head);
  Node* before = nullptr;
  Node* after = nullptr;
  Node* rest = nullptr;
  PROTECT(before);
  PROTECT(after);
  PROTECT(rest);
  while (work) {
    Node* part = car(work);
    work = cdr(work);
    if (!consp(part)) continue;
    if (!consp(cdr(part))) {
      if (out.tail) set_cdr(out.tail, part); else out.head = part;
      out.tail = part;
      continue;
    }
    Node* pivot = part;
    rest = cdr(part);
    set_cdr(pivot, nullptr);
    before = after = nullptr;
    PROTECT(pivot);
    while (consp(rest)) {
      Node* cell = rest;
      rest = cdr(rest);
      Node* args[2] = {car(cell), car(pivot)};
      PROTECT(cell);
      bool first = call_function(pred, 2, args) != nullptr;
      UNPROTECT(1);
      if (first) { set_cdr(cell, before); before = cell; }
      else { set_cdr(cell, after); after = cell; }
    }
    work = make_cons(after, work);
    work = make_cons(pivot, work);
    work = make_cons(before, work);
    UNPROTECT(1);
  }
  UNPROTECT(6);
  return out.head;
}

}  // namespace velloq
