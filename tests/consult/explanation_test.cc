// The run log and the explanation built from it: "how" names the answers
// that confirmed each node, "why not" the exact answer that ruled a sample
// out, or why it was never considered.
#include <gtest/gtest.h>

#include "explanation.h"
#include "scripted_host.h"

namespace norvix::test {
namespace {

struct Consulted {
  AKBase kb;
  ScriptedHost host;
  Engine engine{host};
  AFrame* root;

  // Target «Фрукт» with samples given as {name, {slot, value}...}.
  Consulted(std::string script,
      std::initializer_list<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>>
          samples)
      : host(std::move(script)) {
    host.SetEngine(&engine);
    root = kb.AddFrame(W("Фрукт"), nullptr);
    for (auto& [name, slots] : samples) {
      AFrame* s = kb.AddFrame(W(name), root);
      s->SetSample(true);
      for (auto [slot, value] : slots) {
        if (!kb.FindSlotDef(W(slot))) kb.AddSlotDef(W(slot));
        kb.AttachSlot(s->Name(), W(slot));
        s->SlotFor(kb.FindSlotDef(W(slot)))->Value = W(value);
      }
    }
    kb.TargetFrame = W("Фрукт");
  }
  Consulted& Go() {
    engine.RunConsultation(kb);
    return *this;
  }
  std::string WhyNot(const char* sample) { return cp1251::toUtf8(norvix::WhyNot(engine.Log(), W(sample))); }
};

TEST(Explanation, WhyNotNamesTheAnswerThatRuledTheSampleOut) {
  Consulted r("yny", {{"Яблоко", {{"Цвет", "красный"}, {"Вкус", "сладкий"}}},
                {"Лимон", {{"Цвет", "желтый"}, {"Вкус", "кислый"}}},
                {"Вишня", {{"Цвет", "красный"}, {"Вкус", "кислый"}}},
                {"Слива", {{"Цвет", "синий"}}}});
  r.Go();
  EXPECT_EQ(r.WhyNot("Яблоко"), "отвергнут ответом «нет» на вопрос «Вкус сладкий»");
  EXPECT_EQ(r.WhyNot("Лимон"),
            "отвергнут без вопроса: ответ «да» на вопрос «Цвет красный» исключает «Цвет желтый»");
  EXPECT_EQ(r.WhyNot("Слива"), "не рассматривался: раньше подтвержден «Вишня»");
  EXPECT_EQ(r.WhyNot("Вишня"), "");  // the one chosen
  EXPECT_EQ(r.WhyNot("Груша"), "");  // no such candidate
}

TEST(Explanation, WhyNotNamesAnEarlierAnswerToTheSameQuestion) {
  Consulted r("n", {{"Яблоко", {{"Цвет", "красный"}}}, {"Вишня", {{"Цвет", "красный"}}}});
  r.Go();
  EXPECT_EQ(r.WhyNot("Вишня"),
            "отвергнут без вопроса ответом «нет» на вопрос «Цвет красный», данным при "
            "рассмотрении «Яблоко»");
}

TEST(Explanation, CancelInterruptsOneSampleAndLeavesTheRestUnconsidered) {
  Consulted r("c", {{"Яблоко", {{"Цвет", "красный"}}}, {"Лимон", {{"Цвет", "желтый"}}}});
  r.Go();
  EXPECT_EQ(r.WhyNot("Яблоко"), "рассмотрение прервано отменой на вопросе «Цвет красный»");
  EXPECT_EQ(r.WhyNot("Лимон"), "не рассматривался: консультация прервана раньше");
}

TEST(Explanation, HowOfAConfirmedSample) {
  Consulted r("nyy", {{"Яблоко", {{"Цвет", "красный"}}},
                {"Лимон", {{"Цвет", "желтый"}, {"Вкус", "кислый"}}}});
  r.Go();
  Explanation ex = Explain(r.engine.Log(), r.engine.Tree());
  ASSERT_EQ(ex.how.size(), 3u);
  EXPECT_EQ(ex.how[0].reasons, WLines({"«Цвет желтый» — «да»", "«Вкус кислый» — «да»"}));
  EXPECT_EQ(ex.how[1].text, W("Цвет желтый"));
  EXPECT_EQ(ex.how[1].level, 1);
  EXPECT_EQ(ex.how[1].reasons, WLines({"«Цвет желтый» — «да»"}));
  ASSERT_EQ(ex.whyNot.size(), 1u);
  EXPECT_EQ(ex.whyNot[0].sample, W("Яблоко"));
}

TEST(Explanation, HowNamesTheAnswerARecalledYesFollowsFrom) {
  // «Яблоко» is a frame below «Фрукт», so yes to «Тип Яблоко» answers «Тип Фрукт».
  Consulted r("yn", {{"Корзина", {{"Тип", "Яблоко"}, {"Размер", "большой"}}},
               {"Ящик", {{"Тип", "Фрукт"}}}});
  r.kb.AddFrame(W("Яблоко"), r.root);
  r.Go();
  Explanation ex = Explain(r.engine.Log(), r.engine.Tree());
  ASSERT_FALSE(ex.how.empty());
  EXPECT_EQ(ex.how[0].text, W("Ящик:"));
  EXPECT_EQ(ex.how[0].reasons,
            WLines({"«Тип Фрукт» — «да», следует из ответа «да» на вопрос «Тип Яблоко»"}));
}

TEST(RunLog, StepsOfADecompositionAndOfANameThatNamesNoFrame) {
  Consulted r("yy", {{"Система", {{"Блок", "Процессор"}, {"Узел", "нет такого"}}}});
  for (const char* slot : {"Блок", "Узел"}) r.kb.FindSlotDef(W(slot))->Decompose = true;
  AFrame* cpu = r.kb.AddFrame(W("Процессор"), nullptr);
  AFrame* p1 = r.kb.AddFrame("P1", cpu);
  p1->SetSample(true);
  r.Go();
  const auto& steps = r.engine.Log().Steps();
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_EQ(steps[0].result, StepResult::Found);
  EXPECT_EQ(steps[1].frame, cpu);
  EXPECT_EQ(steps[1].parent, 0);
  EXPECT_EQ(steps[1].viaSlot, r.kb.FindSlotDef(W("Блок")));
  EXPECT_EQ(steps[1].found, p1);
  EXPECT_EQ(steps[2].result, StepResult::NoSuchFrame);
  EXPECT_EQ(steps[2].viaSlot, r.kb.FindSlotDef(W("Узел")));
}

}  // namespace
}  // namespace norvix::test
