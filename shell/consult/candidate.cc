// Testing one candidate sample against the user's answers.
#include "answer_memory.h"
#include "engine.h"
#include "engine_messages.h"

namespace norvix {

// Asks about each slot value the answers of this step do not settle yet.
// A "no" to a plain value rejects the candidate; answers to value-list
// items are only remembered.  The offer message comes before the first
// question; a candidate decided from remembered answers alone prints no
// message at all.
bool Engine::TestCandidate(const AFrame& candidate, AnswerMemory& memory) {
  if (cancelled_) return false;
  bool offerPending = true;
  bool noneAsked = true;
  Consider(candidate);
  log_.BeginTrial(&candidate);
  for (const ASlot& slot : candidate.Slots) {
    const ASlotDef& def = *slot.Def;
    std::vector<std::string> items =
        def.IsValueList ? SplitValueList(slot.Value) : std::vector<std::string>{slot.Value};
    for (const std::string& value : items) {
      std::optional<bool> answer;
      size_t record = 0;
      if (!def.IsValueList) answer = memory.Recall(&def, value, &record);
      if (answer) log_.Recalled(&def, value, *answer, record);
      if (!answer) {
        if (offerPending && !candidate.OfferMsg.empty())
          host_.PrintLine(FormatMessage(candidate.OfferMsg, candidate.Name()));
        offerPending = false;
        noneAsked = false;
        Reply reply = host_.Ask(def.Name() + " " + value + msg::kQuestionEnd);
        if (reply == Reply::Cancel) {
          cancelled_ = true;
          log_.AskCancelled(&def, value);
          log_.EndTrial(TrialOutcome::Cancelled);
          return false;
        }
        answer = reply == Reply::Yes;
        memory.Remember(&def, value, *answer);
        log_.Asked(&def, value, *answer);
      }
      if (!def.IsValueList && !*answer) {
        if (!noneAsked && !candidate.FailMsg.empty())
          host_.PrintLine(FormatMessage(candidate.FailMsg, candidate.Name()));
        log_.EndTrial(TrialOutcome::Rejected);
        return false;
      }
    }
  }
  if (!noneAsked && !candidate.SuccessMsg.empty())
    host_.PrintLine(FormatMessage(candidate.SuccessMsg, candidate.Name()));
  log_.EndTrial(TrialOutcome::Confirmed);
  return true;
}

}  // namespace norvix
