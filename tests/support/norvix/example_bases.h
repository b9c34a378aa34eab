// The example knowledge bases shipped in examples/: built here through the
// model, written by make_examples through SaveToFile, and checked to be
// current by the tests.
#pragma once

#include "kbase.h"

namespace norvix::examples {

// "fruit.dat": identifies a fruit by plain slots (colour, taste, size).
void BuildFruit(AKBase& kb);

// "computer.dat": configures a computer by decomposition: the processor
// and the drive are single-valued decomposed slots, the peripherals a
// decomposed value list.
void BuildComputer(AKBase& kb);

}  // namespace norvix::examples
