// The explanation of a finished consultation, built from the engine's run
// log: "how" (for each node of the result tree, the answers that confirmed
// it) and "why not" (for each sample of the target frame that was not
// chosen, the first answer that ruled it out, or why it was never
// considered).  Plain data, shown by the console and by the window alike.
#pragma once

#include <string>
#include <vector>

#include "result_tree.h"
#include "run_log.h"

namespace norvix {

// One node of the result tree with its reasons (Windows-1251 lines).
struct HowEntry {
  const ResultNode* node;
  int level;                         // 0 for a root
  std::string text;                  // the node's line
  std::vector<std::string> reasons;  // the answers that confirmed it
};

// One sample of the target frame that was not chosen.
struct WhyNotEntry {
  std::string sample;
  std::string reason;  // Windows-1251
};

struct Explanation {
  std::vector<HowEntry> how;        // the result tree, depth first
  std::vector<WhyNotEntry> whyNot;  // in candidate order
};

// Builds the explanation of the run that `log` and `tree` describe.
Explanation Explain(const RunLog& log, const ResultTree& tree);

// Why the sample named `sample` was not chosen for the target frame: the
// reason as in Explain, or empty when no such sample was a candidate of the
// target frame or it was the one chosen.
std::string WhyNot(const RunLog& log, const std::string& sample);

// The explanation as console lines (Windows-1251): a heading, the tree with
// each node's reasons indented below it, then the samples not chosen.
std::vector<std::string> ExplanationLines(const Explanation& explanation);

}  // namespace norvix
