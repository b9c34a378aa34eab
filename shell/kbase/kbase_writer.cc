// Writing the knowledge base file.
#include <cstdint>

#include "atomic_file.h"
#include "error_sink.h"
#include "kbase.h"
#include "kbase_format.h"

namespace norvix {

namespace {

void putByte(std::string& out, unsigned char b) { out += static_cast<char>(b); }

void putCount(std::string& out, size_t n) {
  auto v = static_cast<std::uint32_t>(n);
  for (int shift = 0; shift < 32; shift += 8) putByte(out, static_cast<unsigned char>(v >> shift));
}

void putText(std::string& out, std::string_view text) {
  putCount(out, text.size());
  out += text;
}

void putSlotDef(std::string& out, const ASlotDef& def) {
  putText(out, def.Name());
  putText(out, JoinLines(def.Definition));
  putText(out, def.DefaultValue);
  unsigned char flags = (def.IsValueList ? kbfile::kValueListBit : 0) |
                        (def.Decompose ? kbfile::kDecomposeBit : 0);
  putByte(out, flags);
  if (def.Decompose) putText(out, def.DecomposeMsg);
}

void putFrame(std::string& out, const AFrame& frame) {
  putText(out, frame.Name());
  putText(out, JoinLines(frame.Definition));
  if (frame.Parent) {
    out += kbfile::kHasParent;
    putText(out, frame.Parent->Name());
  } else {
    out += kbfile::kRoot;
  }
  putCount(out, frame.OwnSlotDefs.size());
  for (const ASlotDef* def : frame.OwnSlotDefs) putText(out, def->Name());
  if (!frame.IsSample) {
    out += kbfile::kPrototype;
    return;
  }
  out += kbfile::kSample;
  putText(out, frame.OfferMsg);
  putText(out, frame.SuccessMsg);
  putText(out, frame.FailMsg);
  putCount(out, frame.Slots.size());
  for (const ASlot& slot : frame.Slots) {
    putText(out, slot.Def->Name());
    putText(out, slot.Note);
    putText(out, slot.Value);
  }
}

// Each root in list order with its descendants depth first, so that every
// parent's record precedes its children's.
void putFrames(std::string& out, const std::vector<std::unique_ptr<AFrame>>& frames) {
  putCount(out, frames.size());
  for (const auto& root : frames) {
    if (root->Parent) continue;
    putFrame(out, *root);
    ForEachDescendant(root.get(), [&out](AFrame* f) {
      putFrame(out, *f);
      return true;
    });
  }
}

}  // namespace

std::string AKBase::SaveToBytes() const {
  std::string out;
  out.append(kbfile::kMagic, 3);
  putByte(out, kbfile::kVersionWritten);
  putText(out, ProjectName);
  putText(out, Purpose);
  putText(out, Subject);
  putText(out, Author);
  putByte(out, AutoReport ? kbfile::kAutoReportBit : 0);
  putText(out, TargetFrame);
  putText(out, Invitation);
  putText(out, SuccessMsg);
  putText(out, FailMsg);
  out.append(kbfile::kSlotDefSection, 2);
  putCount(out, slotDefs_.size());
  for (const auto& def : slotDefs_) putSlotDef(out, *def);
  out.append(kbfile::kFrameSection, 2);
  putFrames(out, frames_);
  return out;
}

bool AKBase::SaveToFile(const std::string& fileName, std::string* error) {
  if (!fileio::replaceFile(fileName, SaveToBytes(), error)) {
    ShowError(msg::kCannotSave);
    return false;
  }
  Modified = false;
  return true;
}

}  // namespace norvix
