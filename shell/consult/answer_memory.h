// The answers remembered during one synthesis step, and what they imply
// about further questions.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "kbase.h"

namespace norvix {

struct AnswerRecord {
  const ASlotDef* Def;
  std::string Value;
  bool Answer;
};

class AnswerMemory {
 public:
  explicit AnswerMemory(const AKBase& kb) : kb_(kb) {}

  // Appends the record {def, value, answer}.
  void Remember(const ASlotDef* def, const std::string& value, bool answer);

  // What the records imply for the question "def value": the first record
  // (in order) for which one of these holds decides:
  //   1. same definition and value: its answer;
  //   2. answered yes and its value names a frame that is, or lies below, a
  //      frame named `value`: yes;
  //   3. same definition, answered yes, another value: no.
  // Nothing when no record decides.  When `decidedBy` is given and a record
  // decides, it receives that record's index.
  std::optional<bool> Recall(const ASlotDef* def, std::string_view value,
                             size_t* decidedBy = nullptr) const;

  const std::vector<AnswerRecord>& Records() const { return records_; }

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using FirstByValue = std::unordered_map<std::string, size_t, Hash, std::equal_to<>>;

  const AKBase& kb_;
  std::vector<AnswerRecord> records_;
  // Indexes giving, for each rule, the first record it could apply to.
  std::unordered_map<const ASlotDef*, FirstByValue> sameQuestion_;  // rule 1
  FirstByValue yesToFrameBelow_;                                     // rule 2
  std::unordered_map<const ASlotDef*, size_t> firstYes_;             // rule 3
};

}  // namespace norvix
