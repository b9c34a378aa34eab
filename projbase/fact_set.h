// The fact set `knolbase`: the ordered list of records and its operations.
// Nothing is unique; every lookup takes the first match in list order and
// compares byte for byte (letter case counts).
#pragma once

#include <string>
#include <vector>

#include "knolbase.h"

namespace projbase {

using FactSet = std::vector<Knolbase>;

// Returns the code of the first record with this name and technology, or
// nullptr when there is none.
const std::string* codeOf(const FactSet& facts, const std::string& name,
                          const std::string& technology);

// Appends a record to the end of the list.
void addFact(FactSet& facts, Knolbase record);

// Removes the first record with this name and technology and appends it
// again with `newCode`.  Returns false, changing nothing, when none matches.
bool changeCode(FactSet& facts, const std::string& name, const std::string& technology,
                const std::string& newCode);

// Removes the first record whose code equals `code`.  Returns false when
// none matches.
bool removeByCode(FactSet& facts, const std::string& code);

}  // namespace projbase
