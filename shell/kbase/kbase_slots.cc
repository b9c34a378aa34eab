// Attaching slot definitions to frames, and the value-list flag.
#include <algorithm>

#include "error_sink.h"
#include "kbase.h"

namespace norvix {

namespace {

// Calls on(sample) for the frame itself when it is a sample, otherwise for
// every sample below it (not looking below a sample).
template <class OnSample>
void forEachSampleAtOrBelow(AFrame* frame, OnSample on) {
  if (frame->IsSample) {
    on(frame);
    return;
  }
  ForEachDescendant(frame, [&on](AFrame* f) {
    if (!f->IsSample) return true;
    on(f);
    return false;
  });
}

// Moves entry `i` of `list` to where the ordering rule wants it: a value
// list to the end, a plain definition just before the first value-list
// entry among the others (the end when there is none).
template <class List, class DefOf>
void reposition(List& list, size_t i, DefOf defOf) {
  auto entry = std::move(list[i]);
  list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
  size_t at = list.size();
  if (!defOf(entry)->IsValueList) {
    for (size_t k = 0; k < list.size(); ++k) {
      if (defOf(list[k])->IsValueList) {
        at = k;
        break;
      }
    }
  }
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
}

}  // namespace

void AKBase::AttachSlot(std::string_view frameName, std::string_view slotName) {
  AFrame* frame = FindFrame(frameName);
  if (!frame) return ShowError(std::string(frameName) + msg::kNotFound);
  ASlotDef* def = FindSlotDef(slotName);
  if (!def) return ShowError(std::string(slotName) + msg::kNotFound);
  if (frame->IndexOfOwnSlotDef(def) < 0) frame->InsertOwnSlotDef(def);
  forEachSampleAtOrBelow(frame, [def](AFrame* sample) { sample->AddSlotFor(def); });
  Modified = true;
}

// Samples lose the slot only when nothing above them still lists the
// definition, so every sample keeps one slot per inherited definition.
void AKBase::DetachSlot(std::string_view frameName, std::string_view slotName) {
  AFrame* frame = FindFrame(frameName);
  if (!frame) return ShowError(std::string(frameName) + msg::kNotFound);
  ASlotDef* def = FindSlotDef(slotName);
  if (!def) return ShowError(std::string(slotName) + msg::kNotFound);
  int own = frame->IndexOfOwnSlotDef(def);
  if (own < 0) return ShowError(std::string(slotName) + msg::kNotFoundNoBlank);
  frame->OwnSlotDefs.erase(frame->OwnSlotDefs.begin() + own);
  forEachSampleAtOrBelow(frame, [def](AFrame* sample) {
    int s = sample->IndexOfSlot(def);
    if (s >= 0 && !sample->Inherits(def)) sample->Slots.erase(sample->Slots.begin() + s);
  });
  Modified = true;
}

void AKBase::SetValueList(std::string_view slotName, bool flag) {
  ASlotDef* def = FindSlotDef(slotName);
  if (!def) return;
  def->IsValueList = flag;
  RepositionValueList(def);
}

// Restores the ordering rule in every list that holds `def`.
void AKBase::RepositionValueList(ASlotDef* def) {
  for (auto& frame : frames_) {
    int own = frame->IndexOfOwnSlotDef(def);
    if (own >= 0)
      reposition(frame->OwnSlotDefs, static_cast<size_t>(own), [](ASlotDef* d) { return d; });
    int slot = frame->IndexOfSlot(def);
    if (slot >= 0)
      reposition(frame->Slots, static_cast<size_t>(slot), [](const ASlot& s) { return s.Def; });
  }
}

}  // namespace norvix
