// The run of a consultation and the synthesis of one frame.
#include "engine.h"

#include <algorithm>

#include "answer_memory.h"
#include "engine_messages.h"

namespace norvix {

namespace {

// Depth of indentation stops growing here (in blanks).
constexpr int kMaxIndent = 10;

// The candidates of a frame: the frame itself when it is a sample, otherwise
// every sample below it, depth first, not looking below a sample.
std::vector<const AFrame*> CollectSamples(const AFrame& frame) {
  std::vector<const AFrame*> samples;
  if (frame.IsSample) {
    samples.push_back(&frame);
    return samples;
  }
  ForEachDescendant(const_cast<AFrame*>(&frame), [&samples](AFrame* f) {
    if (!f->IsSample) return true;
    samples.push_back(f);
    return false;
  });
  return samples;
}

}  // namespace

Outcome Engine::RunConsultation(const AKBase& kb) {
  if (kb.TargetFrame.empty() || running_) return Outcome::NotRun;
  kb_ = &kb;
  running_ = true;
  host_.PrintLine(kb.Invitation);
  host_.ShowAnswerPanel(true);
  host_.EnableToolbar(false);
  cancelled_ = false;
  hasConsidered_ = false;
  considered_.clear();
  reportLines_.clear();
  host_.EnableReportButton(false);
  tree_.Clear();
  log_.Clear();
  host_.ClearTree();
  chain_.clear();
  nesting_ = 0;

  bool ok = Synthesize(kb.TargetFrame, 0, nullptr);

  host_.PrintLine((ok ? kb.SuccessMsg : kb.FailMsg) + "\r");
  if (ok) {
    host_.EnableReportButton(true);
    host_.PrintLine("   ");
    host_.PrintLine(msg::kReportHeading);
    for (const std::string& line : reportLines_) host_.PrintLine(line);
    host_.PrintLine("    ");
  }
  host_.EnableToolbar(true);
  host_.ShowAnswerPanel(false);
  running_ = false;
  return ok ? Outcome::Success : Outcome::Failure;
}

void Engine::Why() {
  if (hasConsidered_) host_.PrintLine(msg::kConsidering + considered_ + "]\r");
}

void Engine::Consider(const AFrame& frame) {
  considered_ = frame.Name();
  hasConsidered_ = true;
}

bool Engine::OnChain(const AFrame* frame) const {
  return std::find(chain_.begin(), chain_.end(), frame) != chain_.end();
}

ResultNode* Engine::AddNode(ResultNode* parent, const std::string& text) {
  ResultNode* node = tree_.AddChild(parent, text);
  host_.AddChild(parent, *node);
  return node;
}

// A frame already on the chain of syntheses under way (a decomposition
// cycle), or a synthesis nested kMaxSynthesisNesting deep, is treated like
// a name that names no frame: solved, with nothing asked, printed or added.
// After a cancel nothing more is synthesized.
bool Engine::Synthesize(const std::string& name, int depth, ResultNode* parentNode) {
  if (cancelled_) return false;
  const AFrame* frame = kb_->FindFrame(name);
  if (!frame || OnChain(frame) || nesting_ >= kMaxSynthesisNesting) {
    log_.SkipStep(name, frame,
                  !frame ? StepResult::NoSuchFrame
                         : OnChain(frame) ? StepResult::OnChain : StepResult::TooDeep);
    return true;
  }
  if (depth > kMaxIndent) --depth;
  Consider(*frame);
  std::vector<const AFrame*> candidates = CollectSamples(*frame);
  log_.BeginStep(name, frame, candidates);
  if (candidates.empty()) {
    log_.EndStep(nullptr, StepResult::NoSamples);
    return false;
  }

  AnswerMemory memory(*kb_);
  const AFrame* found = nullptr;
  for (const AFrame* candidate : candidates) {
    if (TestCandidate(*candidate, memory)) {
      found = candidate;
      break;
    }
    if (cancelled_) break;
  }
  if (!found) {
    log_.EndStep(nullptr, cancelled_ ? StepResult::Cancelled : StepResult::AllRejected);
    return false;
  }

  std::string indent(static_cast<size_t>(depth), ' ');
  std::string heading = found->Name() + ":";
  if (depth > 0 && !reportLines_.empty()) {
    heading = reportLines_.back() + found->Name() + ":";
    reportLines_.back() = heading;
  }
  reportLines_.push_back(indent + found->Name() + ":");
  std::string definition = "[";
  definition += JoinLines(found->Definition);
  definition += "]";
  reportLines_.push_back(std::move(definition));
  ResultNode* node = AddNode(parentNode, heading);
  log_.NoteNode(node, nullptr);

  chain_.push_back(frame);
  if (found != frame) chain_.push_back(found);
  ++nesting_;
  bool ok = true;
  Expand(*found, depth, node, memory, ok);
  --nesting_;
  chain_.resize(chain_.size() - (found != frame ? 2 : 1));
  log_.EndStep(found, StepResult::Found);
  return ok;
}

// Reports the sample's plain slots and synthesizes the frames its
// decomposed slots name: a single value, or each value-list item the user
// confirmed in this step.  Every synthesis runs even after one failed.
void Engine::Expand(const AFrame& sample, int depth, ResultNode* node, AnswerMemory& memory,
                    bool& ok) {
  std::string indent(static_cast<size_t>(depth), ' ');
  auto decompose = [&](const ASlotDef& def, const std::string& value) {
    if (!def.DecomposeMsg.empty()) host_.PrintLine(FormatMessage(def.DecomposeMsg, sample.Name()));
    reportLines_.push_back(indent + def.Name() + " ");
    log_.Decomposing(&def);
    ok = Synthesize(value, depth + 1, node) && ok;
  };
  for (const ASlot& slot : sample.Slots) {
    if (cancelled_) {
      ok = false;
      return;
    }
    const ASlotDef& def = *slot.Def;
    if (!def.Decompose) {
      reportLines_.push_back(indent + def.Name() + " " + slot.Value);
      log_.NoteNode(AddNode(node, def.Name() + " " + slot.Value), &def);
    } else if (!def.IsValueList) {
      decompose(def, slot.Value);
    } else {
      std::vector<std::string> chosen;
      for (const AnswerRecord& r : memory.Records())
        if (r.Def == &def && r.Answer) chosen.push_back(r.Value);
      for (const std::string& item : chosen) {
        if (cancelled_) break;
        decompose(def, item);
      }
    }
  }
}

}  // namespace norvix
