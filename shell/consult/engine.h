// The inference engine: synthesizes the knowledge base's target frame by
// asking yes/no questions about the slot values of candidate samples, then
// expands the confirmed sample along its slots, decomposing marked slots
// into further syntheses.  It reads the knowledge base and changes nothing.
#pragma once

#include <string>
#include <vector>

#include "engine_host.h"
#include "kbase.h"
#include "result_tree.h"
#include "run_log.h"

namespace norvix {

class AnswerMemory;

enum class Outcome {
  NotRun,   // the knowledge base names no target frame: nothing happened
  Success,  // a solution was found
  Failure,  // none was, or the user cancelled
};

// A synthesis nested this deep in decompositions is not started (the step
// counts as solved and contributes nothing), so no knowledge base can
// exhaust the stack.
inline constexpr int kMaxSynthesisNesting = 1000;

class Engine {
 public:
  explicit Engine(EngineHost& host) : host_(host) {}

  // The whole run of the Query button over `kb`.  Does nothing (NotRun)
  // without a target, or while a run is already under way.
  Outcome RunConsultation(const AKBase& kb);

  // The "Почему?" command: prints "[Рассматривается: " + name + "]" + CR
  // when a frame is being considered.
  void Why();

  // Results of the last run (kept until the next one starts).
  const std::vector<std::string>& ReportLines() const { return reportLines_; }
  const ResultTree& Tree() const { return tree_; }
  // What the last run asked, settled, confirmed and rejected.
  const RunLog& Log() const { return log_; }

  bool Running() const { return running_; }
  bool Cancelled() const { return cancelled_; }
  // Name of the frame being considered; empty when none.
  const std::string& ConsideredFrame() const { return considered_; }
  bool HasConsideredFrame() const { return hasConsidered_; }

 private:
  bool Synthesize(const std::string& name, int depth, ResultNode* parentNode);
  bool TestCandidate(const AFrame& candidate, AnswerMemory& memory);
  void Expand(const AFrame& sample, int depth, ResultNode* node, AnswerMemory& memory, bool& ok);
  ResultNode* AddNode(ResultNode* parent, const std::string& text);
  void Consider(const AFrame& frame);
  bool OnChain(const AFrame* frame) const;

  EngineHost& host_;
  const AKBase* kb_ = nullptr;
  std::vector<std::string> reportLines_;
  ResultTree tree_;
  RunLog log_;
  std::vector<const AFrame*> chain_;  // frames (and found samples) being expanded
  int nesting_ = 0;                   // syntheses being expanded
  std::string considered_;
  bool hasConsidered_ = false;
  bool cancelled_ = false;
  bool running_ = false;
};

// Splits a value-list slot value into items at ";" (see value_list.cc).
std::vector<std::string> SplitValueList(std::string_view text);

// Replaces every "%f" of `text` by `frameName`; inserted names are not
// searched again.
std::string FormatMessage(std::string_view text, std::string_view frameName);

}  // namespace norvix
