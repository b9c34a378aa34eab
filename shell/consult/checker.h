// The knowledge base checker: faults a consultation would trip over,
// found without asking anything.  Findings are warnings; the base is not
// changed.  The console (norvix --check) and the editor show the same list.
#pragma once

#include <string>
#include <vector>

#include "kbase.h"

namespace norvix {

enum class FindingKind {
  Indistinguishable,     // samples no sequence of answers can tell apart
  EmptyPrototype,        // a prototype with no sample below it
  MissingValue,          // a sample lacks a value for a slot it inherits
  UnknownDecomposition,  // a decomposed slot's value names no frame
  DecompositionCycle,    // decomposition leads back to a frame being synthesized
  UnusedSlot,            // a slot definition no frame uses
  EmptyText,             // an empty question or message
  BadTarget,             // the target frame is not set or names no prototype
};

struct Finding {
  FindingKind kind;
  std::vector<std::string> frames;  // names of the frames involved
  std::vector<std::string> slots;   // names of the slot definitions involved
  std::string text;                 // the finding in words (Windows-1251)
};

// Every finding about `kb`, grouped by kind in the order of FindingKind,
// and within a kind in the order of the base's lists.
std::vector<Finding> CheckKnowledgeBase(const AKBase& kb);

// The short name of a kind as shown before its text, e.g. "неразличимы".
std::string KindLabel(FindingKind kind);

}  // namespace norvix
