// A large, realistic knowledge base for the benchmarks: 1,000 prototypes in
// four levels, 99,000 samples below them, 30 slot definitions (each sample
// inherits all 30), Cyrillic names and values.
#pragma once

#include "kbase.h"

namespace bench {

inline constexpr int kPrototypes = 1000;
inline constexpr int kSamples = 99000;

// Fills `kb`; the target is the root prototype.
void BuildLargeBase(norvix::AKBase& kb);

}  // namespace bench
