// The teaching examples in examples/: built here through the model and
// written by make_examples, like the other examples.
#pragma once

#include "kbase.h"

namespace norvix::examples {

// "animals.dat": the classic identification problem, 32 animals in six
// classes told apart by cover, food, habitat, size and one distinctive
// feature.
void BuildAnimals(AKBase& kb);

// "house.dat": a country house configured by decomposition two levels
// deep: the walls of a house, and the insulation of the walls.
void BuildHouse(AKBase& kb);

// "faulty.dat": a car-fault base with one fault of every kind the checker
// finds (see tests of the checker).
void BuildFaulty(AKBase& kb);

}  // namespace norvix::examples
