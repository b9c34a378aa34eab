// Reading the knowledge base file.
#include <unordered_map>
#include <unordered_set>

#include "atomic_file.h"
#include "byte_reader.h"
#include "error_sink.h"
#include "kbase.h"
#include "kbase_format.h"
#include "load_budget.h"

namespace norvix {

namespace {

using kbfile::ByteReader;
using kbfile::LoadBudget;
using kbfile::Truncated;

// Finds a sample's slot for a definition.  Files list the slots in the
// sample's own order, so the slot at the record's position is tried first;
// otherwise a short list is searched and a long one indexed.
class SlotFinder {
 public:
  explicit SlotFinder(std::vector<ASlot>* slots) : slots_(slots) {}

  // The definition of the slot at `position` when it is the one named
  // `name` (and the first definition of that name, as a lookup would give).
  ASlotDef* DefAt(size_t position, std::string_view name) const {
    if (!slots_ || position >= slots_->size()) return nullptr;
    ASlotDef* def = (*slots_)[position].Def;
    return def->Name() == name ? def : nullptr;
  }

  ASlot* Find(const ASlotDef* def, size_t hint) {
    if (!slots_) return nullptr;
    std::vector<ASlot>& slots = *slots_;
    if (hint < slots.size() && slots[hint].Def == def) return &slots[hint];
    if (slots.size() <= kSearchLimit) {
      for (ASlot& slot : slots)
        if (slot.Def == def) return &slot;
      return nullptr;
    }
    if (index_.empty())
      for (size_t s = 0; s < slots.size(); ++s) index_.emplace(slots[s].Def, s);
    auto it = index_.find(def);
    return it == index_.end() ? nullptr : &slots[it->second];
  }

 private:
  static constexpr size_t kSearchLimit = 64;
  std::vector<ASlot>* slots_;
  std::unordered_map<const ASlotDef*, size_t> index_;
};

// How a frame record ended: go on with the next record, or abandon the load.
enum class RecordEnd { Next, Abandon };

// Reads one file into a knowledge base.  What a record builds is charged to
// the budget first (see LoadBudget), so that no file, however crafted, takes
// memory out of proportion to its size.
class Loader {
 public:
  Loader(AKBase& kb, std::string_view bytes) : kb_(kb), in_(bytes), budget_(bytes.size()) {}

  bool Run();

 private:
  bool Header();
  void SlotDefs();
  bool Frames();
  RecordEnd Frame();
  bool OwnSlotDefs(AFrame* frame);
  RecordEnd SampleRest(AFrame* frame);
  std::string Text();
  Lines LinesText();
  void ChargeSlots(const std::vector<ASlotDef*>& defs);
  const std::vector<ASlotDef*>& InheritedDefs(const AFrame* frame);
  AFrame* FindParent(std::string_view name);
  void RestoreSamples();

  AKBase& kb_;
  ByteReader in_;
  LoadBudget budget_;
  bool repeated_ = false;  // a record named a frame read before
  bool uniqueDefNames_ = true;
  // What the samples without definitions of their own inherit from the
  // parent last asked for; forgotten whenever a frame gets a definition.
  const AFrame* inheritedFrom_ = nullptr;
  std::vector<ASlotDef*> inherited_;
  // The parent found last (siblings follow each other).
  std::string_view parentName_;
  AFrame* parent_ = nullptr;
};

bool Loader::Run() {
  bool ok = false;
  try {
    ok = Header();
    if (ok) SlotDefs();
    if (ok) ok = Frames();
    if (repeated_) RestoreSamples();
  } catch (const Truncated&) {
    ShowError(msg::kCannotInterpret);
    ok = false;
  }
  if (ok) kb_.Modified = false;
  return ok;
}

// A repeated record may add definitions above samples read earlier; they
// get the slots a sample of such a frame has.
void Loader::RestoreSamples() {
  for (const auto& frame : kb_.Frames()) {
    if (!frame->IsSample) continue;
    std::unordered_set<const ASlotDef*> present;
    for (const ASlot& slot : frame->Slots) present.insert(slot.Def);
    std::vector<ASlotDef*> missing;
    for (ASlotDef* def : frame->InheritedDefs())
      if (!present.count(def)) missing.push_back(def);
    // RestoreSlots builds the new list before the old one goes.
    ChargeSlots(missing);
    budget_.Charge(frame->Slots.size() * LoadBudget::Slot());
    frame->RestoreSlots();
  }
}

bool Loader::Header() {
  if (in_.Left() < 4 || !in_.Marker(kbfile::kMagic)) {
    ShowError(msg::kCannotInterpret);
    return false;
  }
  auto version = static_cast<signed char>(in_.Byte());
  if (version >= kbfile::kFirstRefusedVersion) {
    ShowError(msg::kLaterVersion);
    return false;
  }
  kb_.ProjectName = Text();
  kb_.Purpose = Text();
  kb_.Subject = Text();
  kb_.Author = Text();
  kb_.AutoReport = (in_.Byte() & kbfile::kAutoReportBit) != 0;
  kb_.TargetFrame = Text();
  kb_.Invitation = Text();
  kb_.SuccessMsg = Text();
  kb_.FailMsg = Text();
  return true;
}

void Loader::SlotDefs() {
  if (!in_.Marker(kbfile::kSlotDefSection)) return;
  while (!kb_.SlotDefs().empty()) kb_.DeleteSlotDef(kb_.SlotDefs().front()->Name());
  size_t count = in_.Count(kbfile::kSlotDefRecordMin);
  for (size_t i = 0; i < count; ++i) {
    std::string name = Text();
    budget_.Charge(LoadBudget::SlotDef() + LoadBudget::Text(name.size()));
    ASlotDef* def = kb_.AddSlotDef(name);
    def->Definition = LinesText();
    def->DefaultValue = Text();
    unsigned char flags = in_.Byte();
    def->IsValueList = (flags & kbfile::kValueListBit) != 0;
    def->Decompose = (flags & kbfile::kDecomposeBit) != 0;
    if (def->Decompose) def->DecomposeMsg = Text();
    if (kb_.FindSlotDef(name) != def) uniqueDefNames_ = false;
  }
}

bool Loader::Frames() {
  if (!in_.Marker(kbfile::kFrameSection)) return true;
  while (!kb_.Frames().empty()) kb_.DeleteFrame(kb_.Frames().front().get());
  size_t count = in_.Count(kbfile::kFrameRecordMin);
  budget_.Charge(LoadBudget::Reserve(count));
  kb_.ReserveFrames(count);
  for (size_t i = 0; i < count; ++i)
    if (Frame() == RecordEnd::Abandon) return false;
  return true;
}

// A parent must precede its children and must not be a sample; anything
// else is a broken hierarchy.
RecordEnd Loader::Frame() {
  std::string name = Text();
  Lines definition = LinesText();
  AFrame* parent = nullptr;
  char hierarchy = static_cast<char>(in_.Byte());
  if (hierarchy == kbfile::kHasParent) {
    parent = FindParent(in_.TextView());
    if (!parent || parent->IsSample) {
      ShowError(msg::kBadHierarchy);
      return RecordEnd::Abandon;
    }
  } else if (hierarchy != kbfile::kRoot) {
    ShowError(msg::kAngryBug);
    return RecordEnd::Next;
  }
  if (kb_.FindFrame(name))
    repeated_ = true;
  else
    budget_.Charge(LoadBudget::Frame() + LoadBudget::Text(name.size()));
  AFrame* frame = kb_.AddFrame(name, parent);
  frame->Definition = std::move(definition);
  if (!OwnSlotDefs(frame)) return RecordEnd::Next;
  char kind = static_cast<char>(in_.Byte());
  if (kind == kbfile::kPrototype) return RecordEnd::Next;
  if (kind != kbfile::kSample) {
    ShowError(msg::kAngryBug3);
    return RecordEnd::Next;
  }
  return SampleRest(frame);
}

// A definition listed twice for one frame is taken once.
bool Loader::OwnSlotDefs(AFrame* frame) {
  size_t count = in_.Count(kbfile::kTextMin);
  std::unordered_set<const ASlotDef*> seen(frame->OwnSlotDefs.begin(), frame->OwnSlotDefs.end());
  for (size_t i = 0; i < count; ++i) {
    ASlotDef* def = kb_.FindSlotDef(in_.TextView());
    if (!def) {
      ShowError(msg::kAngryBug2);
      return false;
    }
    if (seen.count(def)) continue;
    budget_.Charge(LoadBudget::OwnSlotDef());
    seen.insert(def);
    frame->InsertOwnSlotDef(def);
    inheritedFrom_ = nullptr;
  }
  return true;
}

// The slots come from SetSample; the records only fill notes and values.
// A frame that cannot become a sample (it already has children, which only
// a repeated record can cause) has its messages and slot records read past.
RecordEnd Loader::SampleRest(AFrame* frame) {
  bool sample = true;
  if (!frame->IsSample && frame->Children.empty()) {
    const std::vector<ASlotDef*>& inherited = InheritedDefs(frame);
    ChargeSlots(inherited);
    sample = frame->MakeSample(inherited);
  } else {
    sample = frame->SetSample(true);
  }
  std::string offer = Text();
  std::string success = Text();
  std::string fail = Text();
  if (sample) {
    frame->OfferMsg = std::move(offer);
    frame->SuccessMsg = std::move(success);
    frame->FailMsg = std::move(fail);
  }
  SlotFinder slots(sample ? &frame->Slots : nullptr);
  size_t count = in_.Count(kbfile::kSlotRecordMin);
  for (size_t i = 0; i < count; ++i) {
    std::string_view name = in_.TextView();
    // Usually the slot in the same place; names given to two definitions
    // need the lookup's first-match rule.
    ASlotDef* def = uniqueDefNames_ ? slots.DefAt(i, name) : nullptr;
    if (!def) def = kb_.FindSlotDef(name);
    if (!def) {
      ShowError(msg::kAngryBug5);
      return RecordEnd::Abandon;
    }
    std::string_view note = in_.TextView();
    std::string_view value = in_.TextView();
    ASlot* slot = slots.Find(def, i);
    if (!slot) continue;  // a slot the sample does not have
    budget_.Charge(LoadBudget::Text(note.size()) + LoadBudget::Text(value.size()));
    slot->Note = note;
    slot->Value = value;
  }
  return RecordEnd::Next;
}

// A text kept in the knowledge base.
std::string Loader::Text() {
  std::string_view text = in_.TextView();
  budget_.Charge(LoadBudget::Text(text.size()));
  return std::string(text);
}

Lines Loader::LinesText() {
  std::string_view text = in_.TextView();
  budget_.Charge(LoadBudget::Lines(text));
  return SplitLines(text);
}

// No frame goes and no second frame of a name comes while a file loads, so
// a frame found by name stays the one found.
AFrame* Loader::FindParent(std::string_view name) {
  if (parent_ && name == parentName_) return parent_;
  AFrame* parent = kb_.FindFrame(name);
  if (parent) {
    parentName_ = name;
    parent_ = parent;
  }
  return parent;
}

// A frame's InheritedDefs; the same as its parent's when it has no
// definitions of its own, as most samples have not.
const std::vector<ASlotDef*>& Loader::InheritedDefs(const AFrame* frame) {
  if (!frame->OwnSlotDefs.empty() || !frame->Parent) {
    inheritedFrom_ = nullptr;
    inherited_ = frame->InheritedDefs();
  } else if (inheritedFrom_ != frame->Parent) {
    inheritedFrom_ = frame->Parent;
    inherited_ = frame->Parent->InheritedDefs();
  }
  return inherited_;
}

// The slots a sample gets for `defs`, each with its definition's default.
void Loader::ChargeSlots(const std::vector<ASlotDef*>& defs) {
  for (const ASlotDef* def : defs)
    budget_.Charge(LoadBudget::Slot() + LoadBudget::Text(def->DefaultValue.size()));
}

}  // namespace

bool AKBase::LoadFromBytes(std::string_view bytes) {
  const bool loaded = Loader(*this, bytes).Run();
  AssertParentsFirst();
  return loaded;
}

bool AKBase::LoadFromFile(const std::string& fileName) {
  std::string bytes, reason;
  if (!fileio::readFile(fileName, bytes, &reason)) {
    ShowError(WithFileReason(msg::kCannotOpen, fileName, reason));
    return false;
  }
  return LoadFromBytes(bytes);
}

}  // namespace norvix
