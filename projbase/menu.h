// The menu loop and its five commands.
#pragma once

#include <functional>
#include <string>

#include "console.h"
#include "fact_set.h"

namespace projbase {

// Writes the records for key 0.  Returns false with `error` set to the
// cause when they could not be written.
using SaveFacts = std::function<bool(const FactSet& facts, std::string& error)>;

// The code of the first record with this name and technology, or the text
// "Проекта в базе нет" when there is none.
std::string FindCode(const FactSet& facts, const std::string& name, const std::string& technology);

// How a session ended.
enum class SessionEnd {
  Saved,     // key 0 saved the records
  Ended,     // input ended; no save was asked for, or the last one worked
  Unsaved,   // input ended after a save that failed: the records are lost
};

// Shows the menu, reads a key and runs its command, again and again, until
// key 0 has saved the records or standard input has ended.  A failed save
// is reported and the menu comes back with every record kept; when input
// then ends with no later save done, the last line says the records were
// not saved.
SessionEnd ShowMenu(Console& console, FactSet& facts, const SaveFacts& save);

}  // namespace projbase
