#include "answer_memory.h"

#include <algorithm>

namespace norvix {

// Each index keeps the first record only (emplace does not overwrite), which
// is all Recall needs: the earliest record that decides wins.
void AnswerMemory::Remember(const ASlotDef* def, const std::string& value, bool answer) {
  size_t index = records_.size();
  records_.push_back(AnswerRecord{def, value, answer});
  sameQuestion_[def].emplace(value, index);
  if (!answer) return;
  firstYes_.emplace(def, index);
  for (const AFrame* f = kb_.FindFrame(value); f; f = f->Parent)
    yesToFrameBelow_.emplace(f->Name(), index);
}

// The rules are tried record by record; with the indexes the deciding record
// is the earliest of the three candidates.  On one record, rule 2 comes
// before rule 3 (both cannot disagree with rule 1, whose value differs).
std::optional<bool> AnswerMemory::Recall(const ASlotDef* def, std::string_view value,
                                         size_t* decidedBy) const {
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t rule1 = kNone, rule2 = kNone, rule3 = kNone;
  if (auto d = sameQuestion_.find(def); d != sameQuestion_.end())
    if (auto v = d->second.find(value); v != d->second.end()) rule1 = v->second;
  if (auto f = yesToFrameBelow_.find(value); f != yesToFrameBelow_.end()) rule2 = f->second;
  if (auto y = firstYes_.find(def); y != firstYes_.end() && records_[y->second].Value != value)
    rule3 = y->second;
  if (rule1 == kNone && rule2 == kNone && rule3 == kNone) return std::nullopt;
  size_t decisive = std::min({rule1, rule2, rule3});
  if (decidedBy) *decidedBy = decisive;
  if (rule1 <= rule2 && rule1 <= rule3) return records_[rule1].Answer;
  if (rule2 <= rule3) return true;
  return false;
}

}  // namespace norvix
