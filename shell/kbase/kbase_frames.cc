// Creating, deleting and renaming frames.
#include <algorithm>
#include <cassert>

#include "error_sink.h"
#include "kbase.h"

namespace norvix {

AFrame* AKBase::AddFrame(const std::string& name, AFrame* parent) {
  if (AFrame* existing = FindFrame(name)) return existing;
  if (parent && parent->IsSample) return nullptr;  // a sample stays a leaf
  assert(!parent || HoldsFrame(parent));  // so the parent precedes the new frame
  frames_.push_back(std::unique_ptr<AFrame>(new AFrame(name, parent, nextSerial_++)));
  AFrame* frame = frames_.back().get();
  IndexFrame(frame);
  Modified = true;
  return frame;
}

bool AKBase::HoldsFrame(const AFrame* frame) const {
  auto pos = std::lower_bound(frames_.begin(), frames_.end(), frame->serial_,
                              [](const auto& f, std::uint64_t s) { return f->serial_ < s; });
  return pos != frames_.end() && pos->get() == frame;
}

void AKBase::AssertParentsFirst() const {
#ifndef NDEBUG
  for (size_t i = 0; i < frames_.size(); ++i) {
    const AFrame* f = frames_[i].get();
    assert(i == 0 || frames_[i - 1]->serial_ < f->serial_);
    assert(!f->Parent || (f->Parent->serial_ < f->serial_ && HoldsFrame(f->Parent)));
  }
#endif
}

void AKBase::ReserveFrames(size_t count) {
  frames_.reserve(frames_.size() + count);
  frameIndex_.reserve(frameIndex_.size() + count);
}

// Deletes the frame and, for a prototype, every descendant.  All of them are
// marked first and leave the frame list in one pass, so deleting a large
// subtree stays linear.  Links into the subtree are dropped from the
// surviving parent only.
void AKBase::DeleteFrame(AFrame* frame) {
  if (!frame || !HoldsFrame(frame)) return;

  std::vector<AFrame*> doomed{frame};
  ForEachDescendant(frame, [&doomed](AFrame* f) {
    doomed.push_back(f);
    return true;
  });
  for (AFrame* f : doomed) f->Deleting = true;
  if (AFrame* parent = frame->Parent; parent && !parent->Deleting) {
    auto& siblings = parent->Children;
    siblings.erase(std::find(siblings.begin(), siblings.end(), frame));
  }
  for (AFrame* f : doomed) {
    UnindexFrame(f);
    f->Children.clear();
    f->Definition.clear();
    f->OwnSlotDefs.clear();
    f->Slots.clear();
  }
  std::sort(doomed.begin(), doomed.end(),
            [](const AFrame* a, const AFrame* b) { return a->serial_ < b->serial_; });
  size_t next = 0;
  size_t kept = 0;
  for (size_t i = 0; i < frames_.size(); ++i) {
    if (next < doomed.size() && frames_[i].get() == doomed[next]) {
      ++next;
      continue;
    }
    if (kept != i) frames_[kept] = std::move(frames_[i]);
    ++kept;
  }
  frames_.resize(kept);
  Modified = true;
  AssertParentsFirst();
}

AFrame* AKBase::RenameFrame(std::string_view oldName, const std::string& newName) {
  AFrame* frame = FindFrame(oldName);
  if (!frame) return nullptr;
  Modified = true;
  UnindexFrame(frame);
  frame->name_ = newName;
  IndexFrame(frame);
  return frame;
}

// Keeping a frame's own name is always allowed, even where another frame
// shares it.
bool AKBase::CanRenameFrame(std::string_view oldName, std::string_view newName) const {
  if (!FindFrame(oldName)) return false;
  return newName == oldName || !FindFrame(newName);
}

std::string AKBase::UniqueFrameName(const std::string& base) const {
  if (!FindFrame(base)) return base;
  for (int n = 1; n <= 65536; ++n) {
    std::string name = base + std::to_string(n);
    if (!FindFrame(name)) return name;
  }
  ShowError(msg::kNamesExhausted);
  return base;
}

}  // namespace norvix
