// A frame of the knowledge base: a prototype (a class) or a sample (a leaf
// carrying slot values).  Frames are created, renamed and deleted only by
// their AKBase, which keeps the name index and the parent links.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lines.h"
#include "slot_def.h"

namespace norvix {

class AKBase;

class AFrame {
 public:
  AFrame(const AFrame&) = delete;
  AFrame& operator=(const AFrame&) = delete;

  const std::string& Name() const { return name_; }

  // Links: read them freely; the knowledge base keeps them.
  AFrame* Parent = nullptr;
  std::vector<AFrame*> Children;  // in the order they were added

  Lines Definition;
  bool IsSample = false;              // change through SetSample
  std::vector<ASlotDef*> OwnSlotDefs; // plain definitions before value lists
  std::vector<ASlot> Slots;           // the sample's values; empty for a prototype
  bool Deleting = false;              // set while DeleteFrame runs on it
  std::string OfferMsg;    // sample: printed before its first question ("%f" = name)
  std::string SuccessMsg;  // sample: printed when it is confirmed
  std::string FailMsg;     // sample: printed when it is rejected

  // Makes the frame a sample (slots for the definitions of itself and each
  // ancestor, own first, with default values) or a prototype (no slots).
  // The three messages are emptied on a change.  Refuses (returns false,
  // nothing changes) to make a frame with children a sample, so a sample is
  // always a leaf.  Does not touch Modified.
  bool SetSample(bool flag);

  // SetSample(true) given InheritedDefs(), for a caller making many samples
  // of one prototype; `inherited` must be exactly that list.
  bool MakeSample(const std::vector<ASlotDef*>& inherited);

  // Adds a slot for `def` with its default value unless one exists; plain
  // definitions go before the first value-list slot, value lists at the end.
  void AddSlotFor(ASlotDef* def);

  // Inserts `def` into OwnSlotDefs by the same rule; no duplicate check.
  void InsertOwnSlotDef(ASlotDef* def);

  // Removes `def` from the OwnSlotDefs of every descendant; slots stay.
  void DetachFromDescendants(ASlotDef* def);

  // Positions in the lists; -1 when absent.
  int IndexOfOwnSlotDef(const ASlotDef* def) const;
  int IndexOfSlot(const ASlotDef* def) const;
  int IndexOfChild(std::string_view name) const;

  // The sample's slot for `def`, or nullptr.
  ASlot* SlotFor(const ASlotDef* def);
  const ASlot* SlotFor(const ASlotDef* def) const;

  // The definitions of this frame and its ancestors, each once, in the
  // order of a sample's slots: own first, then each ancestor's, plain
  // definitions before value lists.
  std::vector<ASlotDef*> InheritedDefs() const;

  // Gives a sample exactly one slot per inherited definition, in that
  // order, keeping the values and notes it has.
  void RestoreSlots();

  // Whether `def` is in the OwnSlotDefs of this frame or of an ancestor.
  bool Inherits(const ASlotDef* def) const;

 private:
  friend class AKBase;
  AFrame(std::string name, AFrame* parent, std::uint64_t serial);

  std::string name_;
  std::uint64_t serial_;  // creation order = order in AKBase::Frames()
};

// Calls visit(frame) for every descendant of `root` (not root itself), depth
// first with children in order; when visit returns false the walk does not
// descend below that frame.  Iterative, so deep forests cannot overflow the
// stack.
template <class Visit>
void ForEachDescendant(AFrame* root, Visit visit) {
  std::vector<AFrame*> stack(root->Children.rbegin(), root->Children.rend());
  while (!stack.empty()) {
    AFrame* f = stack.back();
    stack.pop_back();
    if (visit(f)) stack.insert(stack.end(), f->Children.rbegin(), f->Children.rend());
  }
}

}  // namespace norvix
