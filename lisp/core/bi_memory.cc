// Memory built-ins: GC, EXPAND, ALLOC, MEM.
#include <cstdio>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "streams.h"
#include "symbols.h"

namespace velloq {

static void put_line(const char* fmt, long v) {
  char buf[96];
  snprintf(buf, sizeof buf, fmt, v);
  stream_put_string(standard_output(), buf);
}

static void print_memory_statistics() {
  put_line("Nodes:       %ld\n", mem_stats.total_nodes);
  put_line("Free nodes:  %ld\n", mem_stats.free_nodes);
  put_line("Segments:    %ld\n", mem_stats.segments);
  put_line("Allocate:    %ld\n", mem_stats.alloc_size);
  put_line("Total:       %ld\n", mem_stats.total_bytes);
  put_line("Collections: %ld\n", mem_stats.collections);
}

Node* bi_gc() {
  last_arg();
  collect_garbage();
  return nullptr;
}

Node* bi_expand() {
  int32_t n = more_args() ? fixnum_arg() : 1;
  last_arg();
  if (n < 0) bad_argument(make_fixnum(n));
  int32_t added = 0;
  while (added < n && add_segment()) {
    added++;
    poll_step();
  }
  return make_fixnum(added);
}

Node* bi_alloc() {
  int32_t n = fixnum_arg();
  last_arg();
  if (n <= 0) bad_argument(make_fixnum(n));
  long old = mem_stats.alloc_size;
  mem_stats.alloc_size = n;
  return make_fixnum((int32_t)old);
}

Node* bi_mem() {
  if (more_args()) next_arg();
  last_arg();
  print_memory_statistics();
  return nullptr;
}

}  // namespace velloq
