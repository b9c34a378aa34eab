// The log of one consultation: every synthesis step, every question asked
// with its reply, how each question of each candidate was settled, and
// which candidates were confirmed or rejected.  The engine keeps it; the
// explanation ("how" and "why not") is built from it.
#pragma once

#include <string>
#include <vector>

#include "kbase.h"

namespace norvix {

struct ResultNode;

// A question put to the user in one step, with the reply.
struct AskedAnswer {
  const AFrame* candidate;  // the sample being tested when it was asked
  const ASlotDef* def;
  std::string value;
  bool yes;
};

// How one question of a candidate was settled.
struct Decision {
  const ASlotDef* def;
  std::string value;
  int answer;     // index into the step's Answers; -1: the user cancelled
  bool recalled;  // settled by an earlier answer, without asking
  bool yes;
};

enum class TrialOutcome { Confirmed, Rejected, Cancelled };

// One candidate tested against the answers.
struct Trial {
  const AFrame* sample;
  std::vector<Decision> decisions;  // in the order they were settled
  TrialOutcome outcome = TrialOutcome::Cancelled;
};

enum class StepResult {
  Running,      // not ended yet (only while the run goes on)
  Found,        // a candidate was confirmed
  NoSamples,    // the frame has no sample at or below it
  AllRejected,  // every candidate was rejected
  Cancelled,    // the user cancelled during or before it
  NoSuchFrame,  // the name names no frame: solved, nothing asked
  OnChain,      // the frame is already being synthesized: skipped
  TooDeep,      // nested too deep: skipped
};

struct SynthesisStep {
  std::string frameName;
  const AFrame* frame = nullptr;
  int nesting = 0;                    // 0 for the target frame
  int parent = -1;                    // step whose sample was being expanded
  const ASlotDef* viaSlot = nullptr;  // the decomposed slot that started it
  std::vector<const AFrame*> candidates;
  std::vector<AskedAnswer> answers;   // mirrors the step's answer memory
  std::vector<Trial> trials;
  const AFrame* found = nullptr;
  StepResult result = StepResult::Running;
};

// A node of the result tree and what it stands for: the sample found in
// `step` (def == nullptr) or one plain slot of it.
struct NodeNote {
  const ResultNode* node;
  int step;
  const ASlotDef* def;
};

class RunLog {
 public:
  // Forgets the previous run.
  void Clear();

  // A step that runs: its candidates are tested until EndStep.
  void BeginStep(const std::string& name, const AFrame* frame,
                 std::vector<const AFrame*> candidates);
  void EndStep(const AFrame* found, StepResult result);
  // A step that does not run (no such frame, a cycle, too deep).
  void SkipStep(const std::string& name, const AFrame* frame, StepResult result);
  // The next step starts from `def` of the sample of the current step.
  void Decomposing(const ASlotDef* def) { pendingSlot_ = def; }

  // Testing one candidate of the current step.
  void BeginTrial(const AFrame* sample);
  void Asked(const ASlotDef* def, const std::string& value, bool yes);
  void Recalled(const ASlotDef* def, const std::string& value, bool yes, size_t record);
  void AskCancelled(const ASlotDef* def, const std::string& value);
  void EndTrial(TrialOutcome outcome);

  // `node` of the result tree belongs to the current step.
  void NoteNode(const ResultNode* node, const ASlotDef* def);

  const std::vector<SynthesisStep>& Steps() const { return steps_; }
  const std::vector<NodeNote>& Notes() const { return notes_; }

 private:
  SynthesisStep& Current() { return steps_[static_cast<size_t>(open_.back())]; }
  SynthesisStep& Open(const std::string& name, const AFrame* frame);

  std::vector<SynthesisStep> steps_;
  std::vector<NodeNote> notes_;
  std::vector<int> open_;  // steps begun and not ended, innermost last
  const ASlotDef* pendingSlot_ = nullptr;
};

}  // namespace norvix
