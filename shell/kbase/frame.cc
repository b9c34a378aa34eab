#include "frame.h"

#include <algorithm>
#include <cassert>
#include <unordered_map>
#include <unordered_set>

namespace norvix {

namespace {

// Where the ordering rule puts a new entry for `def`: a plain definition
// before the first value-list entry, a value list at the end.
template <class List, class DefOf>
size_t insertionPoint(const List& list, const ASlotDef* def, DefOf defOf) {
  if (def->IsValueList) return list.size();
  for (size_t i = 0; i < list.size(); ++i)
    if (defOf(list[i])->IsValueList) return i;
  return list.size();
}

}  // namespace

AFrame::AFrame(std::string name, AFrame* parent, std::uint64_t serial)
    : Parent(parent), name_(std::move(name)), serial_(serial) {
  if (parent) parent->Children.push_back(this);
}

// Each definition once, plain ones before value lists: the order repeated
// AddSlotFor calls would give, without their cost on long lists.
std::vector<ASlotDef*> AFrame::InheritedDefs() const {
  std::vector<ASlotDef*> all;
  for (const AFrame* f = this; f; f = f->Parent)
    all.insert(all.end(), f->OwnSlotDefs.begin(), f->OwnSlotDefs.end());
  std::vector<ASlotDef*> plain;
  std::vector<ASlotDef*> valueLists;
  plain.reserve(all.size());
  auto keep = [&](ASlotDef* def) { (def->IsValueList ? valueLists : plain).push_back(def); };
  if (all.size() <= 64) {  // short lists: a search is cheaper than a set
    for (size_t i = 0; i < all.size(); ++i)
      if (std::find(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(i), all[i]) ==
          all.begin() + static_cast<std::ptrdiff_t>(i))
        keep(all[i]);
  } else {
    std::unordered_set<const ASlotDef*> seen;
    for (ASlotDef* def : all)
      if (seen.insert(def).second) keep(def);
  }
  plain.insert(plain.end(), valueLists.begin(), valueLists.end());
  return plain;
}

bool AFrame::SetSample(bool flag) {
  if (IsSample == flag) return true;
  if (flag) return Children.empty() && MakeSample(InheritedDefs());
  OfferMsg.clear();
  SuccessMsg.clear();
  FailMsg.clear();
  Slots.clear();
  IsSample = false;
  return true;
}

bool AFrame::MakeSample(const std::vector<ASlotDef*>& inherited) {
  if (IsSample) return true;
  if (!Children.empty()) return false;
  assert(inherited == InheritedDefs());
  OfferMsg.clear();
  SuccessMsg.clear();
  FailMsg.clear();
  Slots.clear();
  IsSample = true;
  Slots.reserve(inherited.size());
  for (ASlotDef* def : inherited) Slots.push_back(ASlot{def, def->DefaultValue, {}});
  return true;
}

void AFrame::RestoreSlots() {
  if (!IsSample) return;
  std::unordered_map<const ASlotDef*, ASlot*> existing;
  for (ASlot& slot : Slots) existing.emplace(slot.Def, &slot);
  std::vector<ASlot> restored;
  for (ASlotDef* def : InheritedDefs()) {
    auto it = existing.find(def);
    restored.push_back(it != existing.end() ? std::move(*it->second)
                                            : ASlot{def, def->DefaultValue, {}});
  }
  Slots = std::move(restored);
}

void AFrame::AddSlotFor(ASlotDef* def) {
  if (IndexOfSlot(def) >= 0) return;
  size_t at = insertionPoint(Slots, def, [](const ASlot& s) { return s.Def; });
  Slots.insert(Slots.begin() + static_cast<std::ptrdiff_t>(at), ASlot{def, def->DefaultValue, {}});
}

// The plain group ends where the trailing run of value lists begins, so the
// place is found from the end: cheap for long lists of one kind.
void AFrame::InsertOwnSlotDef(ASlotDef* def) {
  size_t at = OwnSlotDefs.size();
  if (!def->IsValueList)
    while (at > 0 && OwnSlotDefs[at - 1]->IsValueList) --at;
  OwnSlotDefs.insert(OwnSlotDefs.begin() + static_cast<std::ptrdiff_t>(at), def);
}

void AFrame::DetachFromDescendants(ASlotDef* def) {
  ForEachDescendant(this, [def](AFrame* f) {
    auto it = std::find(f->OwnSlotDefs.begin(), f->OwnSlotDefs.end(), def);
    if (it != f->OwnSlotDefs.end()) f->OwnSlotDefs.erase(it);
    return true;
  });
}

int AFrame::IndexOfOwnSlotDef(const ASlotDef* def) const {
  auto it = std::find(OwnSlotDefs.begin(), OwnSlotDefs.end(), def);
  return it == OwnSlotDefs.end() ? -1 : static_cast<int>(it - OwnSlotDefs.begin());
}

int AFrame::IndexOfSlot(const ASlotDef* def) const {
  for (size_t i = 0; i < Slots.size(); ++i)
    if (Slots[i].Def == def) return static_cast<int>(i);
  return -1;
}

int AFrame::IndexOfChild(std::string_view name) const {
  for (size_t i = 0; i < Children.size(); ++i)
    if (Children[i]->Name() == name) return static_cast<int>(i);
  return -1;
}

ASlot* AFrame::SlotFor(const ASlotDef* def) {
  int i = IndexOfSlot(def);
  return i < 0 ? nullptr : &Slots[static_cast<size_t>(i)];
}

const ASlot* AFrame::SlotFor(const ASlotDef* def) const {
  int i = IndexOfSlot(def);
  return i < 0 ? nullptr : &Slots[static_cast<size_t>(i)];
}

bool AFrame::Inherits(const ASlotDef* def) const {
  for (const AFrame* f = this; f; f = f->Parent)
    if (f->IndexOfOwnSlotDef(def) >= 0) return true;
  return false;
}

}  // namespace norvix
