// Writing the knowledge base file.  The records are written twice through
// the same code: once to count the bytes, once into a buffer of exactly
// that size, so a large base is never copied while its file grows.
#include <cassert>
#include <cstdint>
#include <cstring>

#include "atomic_file.h"
#include "error_sink.h"
#include "kbase.h"
#include "kbase_format.h"

namespace norvix {

namespace {

// Counts what would be written.
struct Counter {
  size_t size = 0;
  void raw(std::string_view bytes) { size += bytes.size(); }
};

// Writes into a buffer sized by a Counter's pass over the same base.
struct Appender {
  char* at;
  void raw(std::string_view bytes) {
    std::memcpy(at, bytes.data(), bytes.size());
    at += bytes.size();
  }
};

template <class Out>
void putByte(Out& out, unsigned char b) {
  char c = static_cast<char>(b);
  out.raw(std::string_view(&c, 1));
}

template <class Out>
void putCount(Out& out, size_t n) {
  auto v = static_cast<std::uint32_t>(n);
  char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                   static_cast<char>(v >> 24)};
  out.raw(std::string_view(bytes, 4));
}

template <class Out>
void putText(Out& out, std::string_view text) {
  putCount(out, text.size());
  out.raw(text);
}

// Lines as one text, each ending in CR LF, without joining them first.
template <class Out>
void putLines(Out& out, const Lines& lines) {
  size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  putCount(out, size);
  for (const std::string& line : lines) {
    out.raw(line);
    out.raw(std::string_view("\r\n", 2));
  }
}

template <class Out>
void putHeader(Out& out, const AKBase& kb) {
  out.raw(std::string_view(kbfile::kMagic, 3));
  putByte(out, kbfile::kVersionWritten);
  putText(out, kb.ProjectName);
  putText(out, kb.Purpose);
  putText(out, kb.Subject);
  putText(out, kb.Author);
  putByte(out, kb.AutoReport ? kbfile::kAutoReportBit : 0);
  putText(out, kb.TargetFrame);
  putText(out, kb.Invitation);
  putText(out, kb.SuccessMsg);
  putText(out, kb.FailMsg);
}

template <class Out>
void putSlotDef(Out& out, const ASlotDef& def) {
  putText(out, def.Name());
  putLines(out, def.Definition);
  putText(out, def.DefaultValue);
  unsigned char flags = (def.IsValueList ? kbfile::kValueListBit : 0) |
                        (def.Decompose ? kbfile::kDecomposeBit : 0);
  putByte(out, flags);
  if (def.Decompose) putText(out, def.DecomposeMsg);
}

template <class Out>
void putFrame(Out& out, const AFrame& frame) {
  putText(out, frame.Name());
  putLines(out, frame.Definition);
  if (frame.Parent) {
    putByte(out, kbfile::kHasParent);
    putText(out, frame.Parent->Name());
  } else {
    putByte(out, kbfile::kRoot);
  }
  putCount(out, frame.OwnSlotDefs.size());
  for (const ASlotDef* def : frame.OwnSlotDefs) putText(out, def->Name());
  if (!frame.IsSample) {
    putByte(out, kbfile::kPrototype);
    return;
  }
  putByte(out, kbfile::kSample);
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
template <class Out>
void putFrames(Out& out, const std::vector<std::unique_ptr<AFrame>>& frames) {
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

template <class Out>
void putBase(Out& out, const AKBase& kb) {
  putHeader(out, kb);
  out.raw(std::string_view(kbfile::kSlotDefSection, 2));
  putCount(out, kb.SlotDefs().size());
  for (const auto& def : kb.SlotDefs()) putSlotDef(out, *def);
  out.raw(std::string_view(kbfile::kFrameSection, 2));
  putFrames(out, kb.Frames());
}

}  // namespace

std::string AKBase::SaveToBytes() const {
  AssertParentsFirst();
  Counter counter;
  putBase(counter, *this);
  std::string bytes(counter.size, '\0');
  Appender appender{bytes.data()};
  putBase(appender, *this);
  assert(appender.at == bytes.data() + bytes.size());
  return bytes;
}

bool AKBase::SaveToFile(const std::string& fileName, std::string* error) {
  if (!SaveFileBytes(fileName, SaveToBytes(), error)) return false;
  Modified = false;
  return true;
}

bool SaveFileBytes(const std::string& fileName, std::string_view bytes, std::string* error) {
  std::string reason;
  if (!fileio::replaceFile(fileName, bytes, &reason)) {
    if (error) *error = reason;
    ShowError(WithFileReason(msg::kCannotSave, fileName, reason));
    return false;
  }
  return true;
}

}  // namespace norvix
