// Heap bytes held through operator new, and their peak, for tests that show
// a bound on memory.  Linking peak_heap.cc replaces the global operator new
// and delete of the whole test program.
#pragma once

#include <cstddef>

namespace heaptest {

// Bytes held now.
std::size_t BytesInUse();

// The most bytes held at once since the last ResetPeak.
std::size_t PeakBytes();

// Starts a new peak at what is held now.
void ResetPeak();

}  // namespace heaptest
