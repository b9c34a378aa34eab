// Helpers of the knowledge base tests: a recorder of ShowError messages and
// the names of frames and slots.
#pragma once

#include <string>
#include <vector>

#include "error_sink.h"
#include "kbase.h"
#include "win_text.h"

namespace norvix::test {

// Collects every message shown while it exists.
class ErrorRecorder {
 public:
  ErrorRecorder() : sink_([this](const std::string& m) { messages.push_back(m); }) {}
  std::vector<std::string> messages;

 private:
  ScopedErrorSink sink_;
};

// Names of a list of frames, in order.
inline std::vector<std::string> NamesOf(const std::vector<AFrame*>& frames) {
  std::vector<std::string> names;
  for (const AFrame* f : frames) names.push_back(f->Name());
  return names;
}

inline std::vector<std::string> FrameNames(const AKBase& kb) {
  std::vector<std::string> names;
  for (const auto& f : kb.Frames()) names.push_back(f->Name());
  return names;
}

inline std::vector<std::string> OwnDefNames(const AFrame& f) {
  std::vector<std::string> names;
  for (const ASlotDef* d : f.OwnSlotDefs) names.push_back(d->Name());
  return names;
}

inline std::vector<std::string> SlotNames(const AFrame& f) {
  std::vector<std::string> names;
  for (const ASlot& s : f.Slots) names.push_back(s.Def->Name());
  return names;
}

}  // namespace norvix::test
