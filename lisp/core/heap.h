// Node memory's internals, shared by allocation (memory.cc), collection
// (gc.cc) and the workspace image reader, and by no other file.  A segment
// is this header followed by `count` nodes; the segment and free-list
// pointers are in state.h.
#pragma once

#include "node.h"

namespace velloq {

struct Segment {
  int32_t count;   // nodes that follow the header
  Segment* newer;  // toward newest_segment
  Segment* older;  // toward oldest_segment
};

// The first node of a segment.
inline Node* seg_nodes(Segment* s) { return reinterpret_cast<Node*>(s + 1); }

// Frees what a node holds outside the segments (string text, slot vectors,
// an open file) and clears its pointers.  Never raises.
void release_node_data(Node* n);
// Whether nodes of this kind can hold anything release_node_data frees:
// the sweep calls it for those alone, as most dead nodes are conses and
// numbers.
inline bool kind_holds_data(int kind) {
  const unsigned holding = 1u << K_SYMBOL | 1u << K_ARRAY | 1u << K_CLOSURE | 1u << K_FRAME |
                           1u << K_STRING | 1u << K_FSTREAM;
  return (holding >> (kind & 31)) & 1u;
}
// Releases every wholly free segment but the oldest and rebuilds the free
// list; right after a collection only.  Never raises.
void release_free_segments();
// Gives the C library's free pages back to the system when the last
// collection freed much (so that the process stays near the ceiling while
// its mix of nodes, strings and vectors changes).  Never raises.
void trim_heap_after_collection();
// Zero-filled memory for string text and slot vectors within the heap
// ceiling; null when refused.  Never raises.
void* heap_alloc(size_t bytes);
// Gives a segment back to the C heap.  Its nodes' data must be released.
void release_segment(Segment* s);

}  // namespace velloq
