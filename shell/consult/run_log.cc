#include "run_log.h"

namespace norvix {

void RunLog::Clear() {
  steps_.clear();
  notes_.clear();
  open_.clear();
  pendingSlot_ = nullptr;
}

SynthesisStep& RunLog::Open(const std::string& name, const AFrame* frame) {
  SynthesisStep& step = steps_.emplace_back();
  step.frameName = name;
  step.frame = frame;
  step.nesting = static_cast<int>(open_.size());
  step.parent = open_.empty() ? -1 : open_.back();
  step.viaSlot = pendingSlot_;
  pendingSlot_ = nullptr;
  return step;
}

void RunLog::BeginStep(const std::string& name, const AFrame* frame,
                       std::vector<const AFrame*> candidates) {
  Open(name, frame).candidates = std::move(candidates);
  open_.push_back(static_cast<int>(steps_.size() - 1));
}

void RunLog::EndStep(const AFrame* found, StepResult result) {
  if (open_.empty()) return;
  Current().found = found;
  Current().result = result;
  open_.pop_back();
}

void RunLog::SkipStep(const std::string& name, const AFrame* frame, StepResult result) {
  Open(name, frame).result = result;
}

void RunLog::BeginTrial(const AFrame* sample) {
  if (!open_.empty()) Current().trials.push_back(Trial{sample, {}, TrialOutcome::Cancelled});
}

void RunLog::Asked(const ASlotDef* def, const std::string& value, bool yes) {
  if (open_.empty() || Current().trials.empty()) return;
  SynthesisStep& step = Current();
  step.answers.push_back(AskedAnswer{step.trials.back().sample, def, value, yes});
  step.trials.back().decisions.push_back(
      Decision{def, value, static_cast<int>(step.answers.size() - 1), false, yes});
}

void RunLog::Recalled(const ASlotDef* def, const std::string& value, bool yes, size_t record) {
  if (open_.empty() || Current().trials.empty()) return;
  Current().trials.back().decisions.push_back(
      Decision{def, value, static_cast<int>(record), true, yes});
}

void RunLog::AskCancelled(const ASlotDef* def, const std::string& value) {
  if (open_.empty() || Current().trials.empty()) return;
  Current().trials.back().decisions.push_back(Decision{def, value, -1, false, false});
}

void RunLog::EndTrial(TrialOutcome outcome) {
  if (!open_.empty() && !Current().trials.empty()) Current().trials.back().outcome = outcome;
}

void RunLog::NoteNode(const ResultNode* node, const ASlotDef* def) {
  if (!open_.empty()) notes_.push_back(NodeNote{node, open_.back(), def});
}

}  // namespace norvix
