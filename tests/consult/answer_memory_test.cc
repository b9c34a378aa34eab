// The three rules of remembered answers.
#include <gtest/gtest.h>

#include <random>

#include "answer_memory.h"
#include "scripted_host.h"

namespace norvix::test {
namespace {

// The rules tried record by record, the plain way, as a reference.
std::optional<bool> RecallByScan(const AKBase& kb, const std::vector<AnswerRecord>& records,
                                 const ASlotDef* def, const std::string& value) {
  for (const AnswerRecord& r : records) {
    if (r.Def == def && r.Value == value) return r.Answer;
    if (r.Answer)
      for (const AFrame* f = kb.FindFrame(r.Value); f; f = f->Parent)
        if (f->Name() == value) return true;
    if (r.Def == def && r.Answer && r.Value != value) return false;
  }
  return std::nullopt;
}

struct Fixture {
  AKBase kb;
  ASlotDef* a = kb.AddSlotDef("a");
  ASlotDef* b = kb.AddSlotDef("b");
  Fixture() {
    AFrame* top = kb.AddFrame("Top", nullptr);
    AFrame* mid = kb.AddFrame("Mid", top);
    kb.AddFrame("Low", mid);
    kb.AddFrame("Other", nullptr);
  }
};

TEST(AnswerMemory, Rules) {
  struct Step {
    const char* what;
    std::vector<std::tuple<char, const char*, bool>> remembered;  // def a/b, value, answer
    char def;
    const char* value;
    std::optional<bool> expected;
  } steps[] = {
      {"nothing remembered", {}, 'a', "x", std::nullopt},
      {"rule 1: same question yes", {{'a', "x", true}}, 'a', "x", true},
      {"rule 1: same question no", {{'a', "x", false}}, 'a', "x", false},
      {"same value of another slot", {{'b', "x", false}}, 'a', "x", std::nullopt},
      {"rule 3: another value confirmed", {{'a', "y", true}}, 'a', "x", false},
      {"no to another value decides nothing", {{'a', "y", false}}, 'a', "x", std::nullopt},
      {"rule 2: yes to a frame below", {{'b', "Low", true}}, 'a', "Top", true},
      {"rule 2: the frame itself", {{'b', "Mid", true}}, 'a', "Mid", true},
      {"rule 2 not upwards", {{'b', "Top", true}}, 'a', "Low", std::nullopt},
      {"rule 2 before rule 3 on one record", {{'a', "Low", true}}, 'a', "Mid", true},
      {"earlier record wins", {{'a', "y", true}, {'a', "x", true}}, 'a', "x", false},
      {"earlier rule 1 wins", {{'a', "x", false}, {'b', "Low", true}}, 'a', "x", false},
      {"earlier rule 2 wins", {{'b', "Low", true}, {'a', "Top", false}}, 'a', "Top", true},
      {"rule 2 needs yes", {{'b', "Low", false}}, 'a', "Top", std::nullopt},
  };
  for (const Step& s : steps) {
    Fixture f;
    AnswerMemory m(f.kb);
    for (auto [def, value, answer] : s.remembered) m.Remember(def == 'a' ? f.a : f.b, value, answer);
    EXPECT_EQ(m.Recall(s.def == 'a' ? f.a : f.b, s.value), s.expected) << s.what;
  }
}

// The indexed recall agrees with the record-by-record reference on random
// histories.
TEST(AnswerMemory, AgreesWithTheRecordByRecordRules) {
  Fixture f;
  const char* values[] = {"Top", "Mid", "Low", "Other", "x", "y"};
  std::mt19937 rng(12345);
  for (int round = 0; round < 300; ++round) {
    AnswerMemory m(f.kb);
    int n = static_cast<int>(rng() % 8);
    for (int i = 0; i < n; ++i)
      m.Remember(rng() % 2 ? f.a : f.b, values[rng() % 6], rng() % 2 == 0);
    for (const ASlotDef* def : {f.a, f.b})
      for (const char* v : values)
        ASSERT_EQ(m.Recall(def, v), RecallByScan(f.kb, m.Records(), def, v))
            << "round " << round << " value " << v;
  }
}

}  // namespace
}  // namespace norvix::test
