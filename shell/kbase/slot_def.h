// A slot definition and a sample's slot value.
#pragma once

#include <string>
#include <utility>

#include "lines.h"

namespace norvix {

// A named slot that frames attach and samples fill.  The name is fixed at
// creation: the knowledge base indexes definitions by name.
class ASlotDef {
 public:
  explicit ASlotDef(std::string name) : name_(std::move(name)) {}

  const std::string& Name() const { return name_; }

  std::string DefaultValue;   // value of new slots; empty = no default
  bool IsValueList = false;   // change through AKBase::SetValueList (keeps list order)
  bool Decompose = false;     // the consultation synthesizes the frame(s) the value names
  std::string DecomposeMsg;   // printed before each decomposition; "%f" = the sample
  Lines Definition;           // free text

 private:
  std::string name_;
};

// The value of one slot of a sample.
struct ASlot {
  ASlotDef* Def = nullptr;  // non-owning
  std::string Value;
  std::string Note;  // only stored in and read from the file
};

}  // namespace norvix
