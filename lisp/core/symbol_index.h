// An index over the object array's buckets, so that finding a symbol by
// name does not compare it with every symbol of its bucket: with many
// thousand symbols (frames and their children) each of the 199 buckets
// holds hundreds.
//
// The buckets stay the truth.  Each bucket's index remembers the list head
// it was built from and is rebuilt when the head differs, so a program that
// stores into *OBARRAY* or its vector is seen; the index of a bucket is
// dropped when a symbol leaves it, and all are dropped when a collection
// frees a symbol that an index held (only a bucket edited in its middle by
// hand can lose one without the index knowing).  Never raises; without memory for an index the bucket is
// searched as a list.
#pragma once

#include "node.h"

namespace velloq {

// The first symbol named `name` in bucket `b` of `table` (the object
// array's vector), or null.
Node* indexed_find(Node* table, int b, const char* name);
// `sym` was pushed onto the head of bucket `b` of `table`.
void index_pushed(Node* table, int b, Node* sym);
// Bucket `b` lost a symbol (the next lookup rebuilds its index).
void index_bucket_changed(int b);
// Forgets every bucket's index (node memory replaced, symbols freed).
void forget_symbol_index();

}  // namespace velloq
