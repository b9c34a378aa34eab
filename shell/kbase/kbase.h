// The knowledge base: project description, consultation settings, slot
// definitions and the frame forest.  Names compare byte for byte and every
// lookup by name yields the first match in list order; name indexes keep the
// lookups cheap without changing that meaning.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frame.h"
#include "kbase_messages.h"
#include "slot_def.h"

namespace norvix {

class AKBase {
 public:
  AKBase();
  virtual ~AKBase();
  AKBase(const AKBase&) = delete;
  AKBase& operator=(const AKBase&) = delete;

  // All slot definitions in creation (or file) order.
  const std::vector<std::unique_ptr<ASlotDef>>& SlotDefs() const { return slotDefs_; }
  // Every frame in creation (or file) order; a parent precedes its children.
  const std::vector<std::unique_ptr<AFrame>>& Frames() const { return frames_; }

  std::string TargetFrame;                  // where the consultation starts
  std::string Invitation = msg::kDefaultInvitation;
  std::string SuccessMsg = msg::kDefaultSuccess;
  std::string FailMsg = msg::kDefaultFail;
  std::string ProjectName;
  std::string Purpose;
  std::string Subject;
  std::string Author;
  bool AutoReport = true;  // stored and edited; the consultation does not read it
  bool Modified = false;

  // Slot definitions.
  ASlotDef* AddSlotDef(const std::string& name);   // appends; sets Modified
  ASlotDef* FindSlotDef(std::string_view name) const;
  void DeleteSlotDef(std::string_view name);       // from every frame; sets Modified
  void SetValueList(std::string_view slotName, bool flag);  // keeps list order

  // Frames.
  int IndexOfFrame(std::string_view name) const;   // -1 if none
  AFrame* FindFrame(std::string_view name) const;
  // Returns the existing frame of that name unchanged, or a new frame under
  // `parent` (sets Modified).  A sample cannot get children: with a sample
  // as parent nothing is created and nullptr is returned.
  AFrame* AddFrame(const std::string& name, AFrame* parent);
  void DeleteFrame(AFrame* frame);                 // with all descendants; sets Modified
  AFrame* RenameFrame(std::string_view oldName, const std::string& newName);
  bool CanRenameFrame(std::string_view oldName, std::string_view newName) const;
  std::string UniqueFrameName(const std::string& base) const;
  // Makes room for `count` more frames (a loader knowing the count).
  void ReserveFrames(size_t count);

  // Attaching slot definitions to frames (messages through ShowError).
  void AttachSlot(std::string_view frameName, std::string_view slotName);
  void DetachSlot(std::string_view frameName, std::string_view slotName);

  // The file.  LoadFromFile expects a base just created; it reports its
  // errors through ShowError and returns false when the load failed; a file
  // that cannot be opened (a pipe or a device included, which is never
  // waited on) gives "Невозможно открыть файл!" and a second line with the
  // file name and the reason.  SaveToFile replaces the file atomically; on
  // failure it reports "Невозможно сохранить файл!" with the same second
  // line (and the reason in `error` when given),
  // leaves the previous file and Modified as they were, and returns false.
  bool LoadFromFile(const std::string& fileName);
  bool SaveToFile(const std::string& fileName, std::string* error = nullptr);

  // The file's bytes, and reading from bytes (used by LoadFromFile and the
  // fuzz target).
  std::string SaveToBytes() const;
  bool LoadFromBytes(std::string_view bytes);

 private:
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  // The frames of one name: the first in list order, and any later ones in
  // list order (rare, so kept out of the common path).
  struct FrameBucket {
    AFrame* first = nullptr;
    std::vector<AFrame*> later;
  };
  using FrameIndex = std::unordered_map<std::string, FrameBucket, NameHash, std::equal_to<>>;
  using SlotDefIndex =
      std::unordered_map<std::string, std::vector<ASlotDef*>, NameHash, std::equal_to<>>;

  // Whether `frame` is in this base's frame list (a binary search).
  bool HoldsFrame(const AFrame* frame) const;
  // The frame list is in creation order and every parent precedes its
  // children; the searches by serial and the walks that must meet a parent
  // before its children rely on it.  Checked in
  // the test build, free in release (NDEBUG).
  void AssertParentsFirst() const;

  void IndexFrame(AFrame* frame);
  void UnindexFrame(AFrame* frame);
  void RemoveSlotsNoLongerInherited(AFrame* frame, ASlotDef* def);
  void RepositionValueList(ASlotDef* def);

  std::vector<std::unique_ptr<ASlotDef>> slotDefs_;
  std::vector<std::unique_ptr<AFrame>> frames_;
  FrameIndex frameIndex_;      // name -> frames of that name in Frames order
  SlotDefIndex slotDefIndex_;  // name -> definitions of that name in SlotDefs order
  std::uint64_t nextSerial_ = 1;
};

// Replaces `fileName` atomically with `bytes`, the bytes of a knowledge base
// file; a failure is reported as SaveToFile reports it.
bool SaveFileBytes(const std::string& fileName, std::string_view bytes,
                   std::string* error = nullptr);

}  // namespace norvix
