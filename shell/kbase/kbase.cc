// The knowledge base object, its name indexes and its slot definitions.
#include "kbase.h"

#include <algorithm>

namespace norvix {

AKBase::AKBase() = default;

// Frames and definitions are owned by the two lists; a frame's links only
// point inside the base, so destroying the lists in any order is safe.
AKBase::~AKBase() = default;

ASlotDef* AKBase::AddSlotDef(const std::string& name) {
  slotDefs_.push_back(std::make_unique<ASlotDef>(name));
  ASlotDef* def = slotDefs_.back().get();
  slotDefIndex_[name].push_back(def);  // appended last, so the bucket stays in list order
  Modified = true;
  return def;
}

ASlotDef* AKBase::FindSlotDef(std::string_view name) const {
  auto it = slotDefIndex_.find(name);
  return it == slotDefIndex_.end() ? nullptr : it->second.front();
}

// Takes the definition out of every frame, then destroys it.  Slots go with
// it everywhere, so no sample keeps a slot for a definition that is gone.
void AKBase::DeleteSlotDef(std::string_view name) {
  Modified = true;
  ASlotDef* def = FindSlotDef(name);
  if (!def) return;
  for (auto& frame : frames_) {
    int i = frame->IndexOfOwnSlotDef(def);
    if (i >= 0) frame->OwnSlotDefs.erase(frame->OwnSlotDefs.begin() + i);
    if (frame->IsSample) {
      int s = frame->IndexOfSlot(def);
      if (s >= 0) frame->Slots.erase(frame->Slots.begin() + s);
    }
  }
  auto bucket = slotDefIndex_.find(name);
  auto& defs = bucket->second;
  defs.erase(defs.begin());
  if (defs.empty()) slotDefIndex_.erase(bucket);
  auto it = std::find_if(slotDefs_.begin(), slotDefs_.end(),
                         [def](const auto& d) { return d.get() == def; });
  slotDefs_.erase(it);
}

void AKBase::IndexFrame(AFrame* frame) {
  FrameBucket& bucket = frameIndex_[frame->name_];
  if (!bucket.first) {
    bucket.first = frame;
    return;
  }
  if (frame->serial_ < bucket.first->serial_) std::swap(frame, bucket.first);
  auto at =
      std::lower_bound(bucket.later.begin(), bucket.later.end(), frame,
                       [](const AFrame* a, const AFrame* b) { return a->serial_ < b->serial_; });
  bucket.later.insert(at, frame);
}

void AKBase::UnindexFrame(AFrame* frame) {
  auto it = frameIndex_.find(frame->name_);
  if (it == frameIndex_.end()) return;
  FrameBucket& bucket = it->second;
  if (bucket.first == frame) {
    if (bucket.later.empty()) {
      frameIndex_.erase(it);
      return;
    }
    bucket.first = bucket.later.front();
    bucket.later.erase(bucket.later.begin());
    return;
  }
  bucket.later.erase(std::remove(bucket.later.begin(), bucket.later.end(), frame),
                     bucket.later.end());
}

// Frames are kept in creation order, so the serial numbers ascend along the
// list and a binary search finds a frame's position.
int AKBase::IndexOfFrame(std::string_view name) const {
  auto it = frameIndex_.find(name);
  if (it == frameIndex_.end()) return -1;
  std::uint64_t serial = it->second.first->serial_;
  auto pos = std::lower_bound(frames_.begin(), frames_.end(), serial,
                              [](const auto& f, std::uint64_t s) { return f->serial_ < s; });
  return static_cast<int>(pos - frames_.begin());
}

AFrame* AKBase::FindFrame(std::string_view name) const {
  auto it = frameIndex_.find(name);
  return it == frameIndex_.end() ? nullptr : it->second.first;
}

}  // namespace norvix
