// Reading the knowledge base file.
#include <unordered_map>
#include <unordered_set>

#include "atomic_file.h"
#include "byte_reader.h"
#include "error_sink.h"
#include "kbase.h"
#include "kbase_format.h"

namespace norvix {

namespace {

using kbfile::ByteReader;
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

// Reads one file into a knowledge base.  Samples get their slots from their
// definitions, not from the file, so a small file could ask for many large
// slots; the slot budget (proportional to the file's size) stops that from
// exhausting memory.
class Loader {
 public:
  Loader(AKBase& kb, std::string_view bytes)
      : kb_(kb), in_(bytes), slotBudget_(64 * bytes.size() + (64u << 20)) {}

  bool Run();

 private:
  bool Header();
  void SlotDefs();
  bool Frames();
  RecordEnd Frame();
  bool OwnSlotDefs(AFrame* frame);
  RecordEnd SampleRest(AFrame* frame);
  void ChargeSlots(const AFrame& frame);
  void Charge(size_t cost);
  void RestoreSamples();

  AKBase& kb_;
  ByteReader in_;
  size_t slotBudget_;
  bool repeated_ = false;  // a record named a frame read before
  bool uniqueDefNames_ = true;
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
    size_t cost = 0;
    for (const ASlotDef* def : frame->InheritedDefs())
      if (!present.count(def)) cost += sizeof(ASlot) + def->DefaultValue.size();
    Charge(cost);
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
  kb_.ProjectName = in_.Text();
  kb_.Purpose = in_.Text();
  kb_.Subject = in_.Text();
  kb_.Author = in_.Text();
  kb_.AutoReport = (in_.Byte() & kbfile::kAutoReportBit) != 0;
  kb_.TargetFrame = in_.Text();
  kb_.Invitation = in_.Text();
  kb_.SuccessMsg = in_.Text();
  kb_.FailMsg = in_.Text();
  return true;
}

void Loader::SlotDefs() {
  if (!in_.Marker(kbfile::kSlotDefSection)) return;
  while (!kb_.SlotDefs().empty()) kb_.DeleteSlotDef(kb_.SlotDefs().front()->Name());
  size_t count = in_.Count(kbfile::kSlotDefRecordMin);
  for (size_t i = 0; i < count; ++i) {
    std::string name = in_.Text();
    ASlotDef* def = kb_.AddSlotDef(name);
    def->Definition = SplitLines(in_.Text());
    def->DefaultValue = in_.Text();
    unsigned char flags = in_.Byte();
    def->IsValueList = (flags & kbfile::kValueListBit) != 0;
    def->Decompose = (flags & kbfile::kDecomposeBit) != 0;
    if (def->Decompose) def->DecomposeMsg = in_.Text();
    if (kb_.FindSlotDef(name) != def) uniqueDefNames_ = false;
  }
}

bool Loader::Frames() {
  if (!in_.Marker(kbfile::kFrameSection)) return true;
  while (!kb_.Frames().empty()) kb_.DeleteFrame(kb_.Frames().front().get());
  size_t count = in_.Count(kbfile::kFrameRecordMin);
  kb_.ReserveFrames(count);
  for (size_t i = 0; i < count; ++i)
    if (Frame() == RecordEnd::Abandon) return false;
  return true;
}

// A parent must precede its children and must not be a sample; anything
// else is a broken hierarchy.
RecordEnd Loader::Frame() {
  std::string name = in_.Text();
  Lines definition = SplitLines(in_.Text());
  AFrame* parent = nullptr;
  char hierarchy = static_cast<char>(in_.Byte());
  if (hierarchy == kbfile::kHasParent) {
    parent = kb_.FindFrame(in_.Text());
    if (!parent || parent->IsSample) {
      ShowError(msg::kBadHierarchy);
      return RecordEnd::Abandon;
    }
  } else if (hierarchy != kbfile::kRoot) {
    ShowError(msg::kAngryBug);
    return RecordEnd::Next;
  }
  if (kb_.FindFrame(name)) repeated_ = true;
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
    ASlotDef* def = kb_.FindSlotDef(in_.Text());
    if (!def) {
      ShowError(msg::kAngryBug2);
      return false;
    }
    if (seen.insert(def).second) frame->InsertOwnSlotDef(def);
  }
  return true;
}

// The slots come from SetSample; the records only fill notes and values.
// A frame that cannot become a sample (it already has children, which only
// a repeated record can cause) has its messages and slot records read past.
RecordEnd Loader::SampleRest(AFrame* frame) {
  bool wasSample = frame->IsSample;
  bool sample = frame->SetSample(true);
  if (sample && !wasSample) ChargeSlots(*frame);
  std::string offer = in_.Text();
  std::string success = in_.Text();
  std::string fail = in_.Text();
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
    slot->Note = note;
    slot->Value = value;
  }
  return RecordEnd::Next;
}

void Loader::ChargeSlots(const AFrame& frame) {
  size_t cost = 0;
  for (const ASlot& slot : frame.Slots) cost += sizeof(ASlot) + slot.Value.size();
  Charge(cost);
}

// Slots beyond the budget mean a file built to exhaust memory.
void Loader::Charge(size_t cost) {
  if (cost > slotBudget_) throw Truncated{};
  slotBudget_ -= cost;
}

}  // namespace

bool AKBase::LoadFromBytes(std::string_view bytes) {
  const bool loaded = Loader(*this, bytes).Run();
  AssertParentsFirst();
  return loaded;
}

bool AKBase::LoadFromFile(const std::string& fileName) {
  std::string bytes;
  if (!fileio::readFile(fileName, bytes)) {
    ShowError(msg::kCannotOpen);
    return false;
  }
  return LoadFromBytes(bytes);
}

}  // namespace norvix
