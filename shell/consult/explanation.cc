#include "explanation.h"

#include <unordered_map>

#include "cp1251.h"

namespace norvix {

namespace {

// The texts are written here in UTF-8 and used as Windows-1251.
std::string W(const char* utf8) { return cp1251::fromUtf8(utf8); }

std::string Quoted(const std::string& text) { return W("«") + text + W("»"); }

std::string Question(const ASlotDef* def, const std::string& value) {
  return Quoted(def->Name() + " " + value);
}

std::string YesNo(bool yes) { return Quoted(W(yes ? "да" : "нет")); }

// How a decision was reached, e.g. «Цвет красный» — «да» (from an earlier
// answer when it was recalled).
std::string DecisionText(const SynthesisStep& step, const Decision& d) {
  std::string text = Question(d.def, d.value) + W(" — ");
  if (d.answer < 0) return text + W("без ответа (отмена)");
  text += YesNo(d.yes);
  if (!d.recalled) return text;
  const AskedAnswer& from = step.answers[static_cast<size_t>(d.answer)];
  if (from.def == d.def && from.value == d.value)
    return text + W(" (ответ дан раньше, при рассмотрении ") + Quoted(from.candidate->Name()) +
           W(")");
  return text + W(", следует из ответа ") + YesNo(from.yes) + W(" на вопрос ") +
         Question(from.def, from.value);
}

const Trial* TrialOf(const SynthesisStep& step, const AFrame* sample) {
  for (const Trial& t : step.trials)
    if (t.sample == sample) return &t;
  return nullptr;
}

std::vector<std::string> SampleReasons(const SynthesisStep& step) {
  std::vector<std::string> reasons;
  const Trial* trial = TrialOf(step, step.found);
  if (trial)
    for (const Decision& d : trial->decisions)
      if (!d.def->IsValueList) reasons.push_back(DecisionText(step, d));
  if (reasons.empty()) reasons.push_back(W("подтвержден без вопросов: о его слотах не спрашивают"));
  return reasons;
}

std::vector<std::string> SlotReasons(const SynthesisStep& step, const ASlotDef* def) {
  std::vector<std::string> reasons;
  if (const Trial* trial = TrialOf(step, step.found))
    for (const Decision& d : trial->decisions)
      if (d.def == def) reasons.push_back(DecisionText(step, d));
  if (reasons.empty()) reasons.push_back(W("вопросов об этом слоте не было"));
  return reasons;
}

// Why a rejected or interrupted candidate failed: its first decision
// against it.
std::string FailedTrialReason(const SynthesisStep& step, const Trial& trial) {
  for (const Decision& d : trial.decisions) {
    if (d.answer < 0)
      return W("рассмотрение прервано отменой на вопросе ") + Question(d.def, d.value);
    if (d.yes || d.def->IsValueList) continue;
    if (!d.recalled)
      return W("отвергнут ответом ") + YesNo(false) + W(" на вопрос ") + Question(d.def, d.value);
    const AskedAnswer& from = step.answers[static_cast<size_t>(d.answer)];
    if (from.def == d.def && from.value == d.value)
      return W("отвергнут без вопроса ответом ") + YesNo(false) + W(" на вопрос ") +
             Question(d.def, d.value) + W(", данным при рассмотрении ") +
             Quoted(from.candidate->Name());
    return W("отвергнут без вопроса: ответ ") + YesNo(from.yes) + W(" на вопрос ") +
           Question(from.def, from.value) + W(" исключает ") + Question(d.def, d.value);
  }
  return W("рассмотрение прервано");
}

std::string NotChosenReason(const SynthesisStep& step, const AFrame* sample) {
  if (const Trial* trial = TrialOf(step, sample)) return FailedTrialReason(step, *trial);
  if (step.found) return W("не рассматривался: раньше подтвержден ") + Quoted(step.found->Name());
  if (step.result == StepResult::Cancelled)
    return W("не рассматривался: консультация прервана раньше");
  return W("не рассматривался");
}

const SynthesisStep* TargetStep(const RunLog& log) {
  if (log.Steps().empty() || log.Steps().front().nesting != 0) return nullptr;
  return &log.Steps().front();
}

}  // namespace

Explanation Explain(const RunLog& log, const ResultTree& tree) {
  Explanation ex;
  std::unordered_map<const ResultNode*, const NodeNote*> notes;
  for (const NodeNote& n : log.Notes()) notes.emplace(n.node, &n);

  std::vector<std::pair<const ResultNode*, int>> stack;
  for (auto it = tree.Roots().rbegin(); it != tree.Roots().rend(); ++it)
    stack.emplace_back(it->get(), 0);
  while (!stack.empty()) {
    auto [node, level] = stack.back();
    stack.pop_back();
    HowEntry entry{node, level, node->Text, {}};
    if (auto n = notes.find(node); n != notes.end()) {
      const SynthesisStep& step = log.Steps()[static_cast<size_t>(n->second->step)];
      entry.reasons = n->second->def ? SlotReasons(step, n->second->def) : SampleReasons(step);
    }
    ex.how.push_back(std::move(entry));
    for (auto it = node->Children.rbegin(); it != node->Children.rend(); ++it)
      stack.emplace_back(it->get(), level + 1);
  }

  if (const SynthesisStep* target = TargetStep(log))
    for (const AFrame* sample : target->candidates)
      if (sample != target->found)
        ex.whyNot.push_back(WhyNotEntry{sample->Name(), NotChosenReason(*target, sample)});
  return ex;
}

std::string WhyNot(const RunLog& log, const std::string& sample) {
  const SynthesisStep* target = TargetStep(log);
  if (!target) return {};
  for (const AFrame* candidate : target->candidates)
    if (candidate->Name() == sample && candidate != target->found)
      return NotChosenReason(*target, candidate);
  return {};
}

std::vector<std::string> ExplanationLines(const Explanation& ex) {
  std::vector<std::string> lines{W("Объяснение:"), W("Как получен результат:")};
  if (ex.how.empty()) lines.push_back(W("  результата нет"));
  for (const HowEntry& e : ex.how) {
    std::string indent(static_cast<size_t>(e.level) * 2, ' ');
    lines.push_back(indent + e.text);
    for (const std::string& r : e.reasons) lines.push_back(indent + W("    • ") + r);
  }
  lines.push_back(W("Почему не выбраны другие экземпляры:"));
  if (ex.whyNot.empty()) lines.push_back(W("  других экземпляров нет"));
  for (const WhyNotEntry& w : ex.whyNot) lines.push_back(W("  ") + w.sample + ": " + w.reason);
  return lines;
}

}  // namespace norvix
