// Bytes the program holds on the heap right now (every operator new of the
// benchmark binary is counted).
#pragma once

#include <cstddef>

namespace bench {
size_t HeapBytesInUse();
}
