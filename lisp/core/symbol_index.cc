// The index of the object array: one small open-addressing table per
// bucket, mapping a name to the first symbol of that name in the bucket.
#include "symbol_index.h"

#include <cstdlib>
#include <cstring>

#include "symbols.h"

namespace velloq {

namespace {

struct BucketIndex {
  Node* head;        // the list the index was built from
  Node** entries;    // capacity slots, null when empty
  uint32_t capacity; // a power of two, 0 when not built
  uint32_t count;
};

BucketIndex buckets[OBARRAY_SIZE];
Node* indexed_table = nullptr;  // the vector the indexes belong to

uint32_t name_hash(const char* name) {
  uint32_t h = 2166136261u;
  for (const char* p = name; *p; p++) h = (h ^ (unsigned char)*p) * 16777619u;
  return h;
}

void drop(BucketIndex& bi) {
  free(bi.entries);
  bi = BucketIndex{nullptr, nullptr, 0, 0};
}

// The slot of `name`: its symbol's, or the empty one where it would go.
Node** slot_for(BucketIndex& bi, const char* name) {
  uint32_t mask = bi.capacity - 1;
  for (uint32_t i = name_hash(name) & mask;; i = (i + 1) & mask) {
    Node** e = &bi.entries[i];
    if (!*e || strcmp(symbol_name(*e), name) == 0) return e;
  }
}

// Adds sym unless a symbol of its name is there already (the first in
// list order wins, as a search of the list finds it).  False without memory.
bool add(BucketIndex& bi, Node* sym) {
  if ((bi.count + 1) * 2 > bi.capacity) {
    uint32_t capacity = bi.capacity ? bi.capacity * 2 : 16;
    Node** entries = static_cast<Node**>(calloc(capacity, sizeof(Node*)));
    if (!entries) return false;
    BucketIndex grown = {bi.head, entries, capacity, 0};
    for (uint32_t i = 0; i < bi.capacity; i++)
      if (bi.entries[i]) *slot_for(grown, symbol_name(bi.entries[i])) = bi.entries[i], grown.count++;
    free(bi.entries);
    bi = grown;
  }
  Node** e = slot_for(bi, symbol_name(sym));
  if (!*e) *e = sym, bi.count++;
  sym->flags |= F_INDEXED;
  return true;
}

bool build(BucketIndex& bi, Node* head) {
  drop(bi);
  for (Node* l = head; consp(l); l = cdr(l)) {
    if (!symbolp(car(l)) || !car(l)) continue;
    if (!add(bi, car(l))) {
      drop(bi);
      return false;
    }
  }
  bi.head = head;
  return true;
}

bool current(const BucketIndex& bi, Node* head) { return bi.head == head && (bi.capacity || !head); }

}  // namespace

Node* indexed_find(Node* table, int b, const char* name) {
  if (table != indexed_table) {
    forget_symbol_index();
    indexed_table = table;
  }
  BucketIndex& bi = buckets[b];
  Node* head = slot(table, b);
  if (!current(bi, head) && !build(bi, head)) {
    for (Node* l = head; consp(l); l = cdr(l))
      if (symbolp(car(l)) && car(l) && strcmp(symbol_name(car(l)), name) == 0) return car(l);
    return nullptr;
  }
  if (!bi.capacity) return nullptr;
  return *slot_for(bi, name);
}

void index_pushed(Node* table, int b, Node* sym) {
  BucketIndex& bi = buckets[b];
  Node* head = slot(table, b);
  if (table != indexed_table || !consp(head) || !current(bi, cdr(head))) return;
  if (add(bi, sym)) bi.head = head;
  else drop(bi);
}

void index_bucket_changed(int b) { drop(buckets[b]); }

void forget_symbol_index() {
  for (BucketIndex& bi : buckets) drop(bi);
  indexed_table = nullptr;
}

}  // namespace velloq
