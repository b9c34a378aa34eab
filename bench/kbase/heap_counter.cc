// Counts live heap bytes by replacing the global operator new and delete.
#include "heap_counter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> inUse{0};

void* allocate(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  inUse += malloc_usable_size(p);
  return p;
}

void release(void* p) {
  if (!p) return;
  inUse -= malloc_usable_size(p);
  std::free(p);
}
}  // namespace

namespace bench {
size_t HeapBytesInUse() { return inUse.load(); }
}  // namespace bench

void* operator new(size_t n) { return allocate(n); }
void* operator new[](size_t n) { return allocate(n); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, size_t) noexcept { release(p); }
void operator delete[](void* p, size_t) noexcept { release(p); }
