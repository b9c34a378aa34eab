// Consultations driven through the engine interface with scripted answers.
#include <gtest/gtest.h>

#include "scripted_host.h"

namespace norvix::test {
namespace {

using Lines = std::vector<std::string>;

// A knowledge base under construction plus an engine with a scripted host.
struct Consultation {
  AKBase kb;
  KBaseBuilder build{kb};
  ScriptedHost host;
  Engine engine{host};

  explicit Consultation(std::string script) : host(std::move(script)) { host.SetEngine(&engine); }

  ASlotDef* Def(const char* name, bool valueList = false, bool decompose = false) {
    ASlotDef* d = build.Def(name);
    d->IsValueList = valueList;
    d->Decompose = decompose;
    return d;
  }
  AFrame* Proto(const char* name, AFrame* parent = nullptr) { return build.Proto(name, parent); }
  // A sample with its own slots, given as {name, value} in order.
  AFrame* Sample(const char* name, AFrame* parent, SlotValues slots) {
    return build.Sample(name, parent, slots);
  }
  Outcome Run(const char* target) {
    kb.TargetFrame = W(target);
    return engine.RunConsultation(kb);
  }
};

TEST(Engine, FruitDialogue) {
  Consultation c("ny");
  c.Def("Цвет");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  c.Sample("Лимон", fruit, {{"Цвет", "желтый"}});
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Success);
  EXPECT_EQ(c.host.lines, WLines({"Диалог:", "Цвет красный (Д/Н)? [Н]", "Цвет желтый (Д/Н)? [Д]",
                                  "Найдено решение:\r", "   ", "Реультаты отчета:", "Лимон:", "[]",
                                  "Цвет желтый", "    "}));
  EXPECT_EQ(c.engine.ReportLines(), WLines({"Лимон:", "[]", "Цвет желтый"}));
  EXPECT_EQ(c.engine.Tree().Outline(), WLines({"Лимон:", "  Цвет желтый"}));
  EXPECT_EQ(c.host.added, WLines({"- > Лимон:", "Лимон: > Цвет желтый"}));
  EXPECT_EQ(c.host.events, (Lines{"panel on", "toolbar off", "report off", "clear tree",
                                   "report on", "toolbar on", "panel off"}));
  EXPECT_TRUE(c.host.ScriptUsedUp());
}

TEST(Engine, NoCandidateConfirmedPrintsTheFailMessage) {
  Consultation c("nn");
  c.Def("Цвет");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  c.Sample("Лимон", fruit, {{"Цвет", "желтый"}});
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Failure);
  EXPECT_EQ(c.host.lines.back(), W("Решений не найдено.") + "\r");
  EXPECT_EQ(c.host.events, (Lines{"panel on", "toolbar off", "report off", "clear tree",
                                   "toolbar on", "panel off"}));
}

TEST(Engine, ConfirmedValueExcludesOthersOfTheSameSlot) {
  // Yes to "Цвет красный", no to "Вкус сладкий": «Лимон» (желтый) is
  // rejected silently, «Вишня» (красный) is asked only about its taste.
  Consultation c("yny");
  c.Def("Цвет");
  c.Def("Вкус");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}, {"Вкус", "сладкий"}});
  AFrame* lemon = c.Sample("Лимон", fruit, {{"Цвет", "желтый"}, {"Вкус", "кислый"}});
  lemon->OfferMsg = "offer";
  lemon->FailMsg = "fail";
  lemon->SuccessMsg = "success";
  c.Sample("Вишня", fruit, {{"Цвет", "красный"}, {"Вкус", "кислый"}});
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Success);
  EXPECT_EQ(c.host.questions, WLines({"Цвет красный (Д/Н)? ", "Вкус сладкий (Д/Н)? ",
                                      "Вкус кислый (Д/Н)? "}));
  for (const std::string& line : c.host.lines) {
    EXPECT_NE(line, "offer");
    EXPECT_NE(line, "fail");
  }
  EXPECT_EQ(c.engine.ReportLines()[0], W("Вишня:"));
}

TEST(Engine, YesToAFrameConfirmsTheFramesAboveIt) {
  Consultation c("yny");
  c.Def("Тип");
  c.Def("Размер");
  AFrame* things = c.Proto("Вещи");
  AFrame* fruit = c.Proto("Фрукт", things);
  c.Proto("Яблоко", fruit);
  AFrame* goods = c.Proto("Товары");
  c.Sample("Корзина", goods, {{"Тип", "Яблоко"}, {"Размер", "большой"}});
  c.Sample("Ящик", goods, {{"Тип", "Фрукт"}, {"Размер", "средний"}});
  // "Тип Фрукт" follows from yes to "Тип Яблоко" (rule 2 comes before rule 3).
  EXPECT_EQ(c.Run("Товары"), Outcome::Success);
  EXPECT_EQ(c.host.questions, WLines({"Тип Яблоко (Д/Н)? ", "Размер большой (Д/Н)? ",
                                      "Размер средний (Д/Н)? "}));
  EXPECT_EQ(c.engine.ReportLines()[0], W("Ящик:"));
}

TEST(Engine, RememberedNoRejectsWithoutAsking) {
  Consultation c("n");
  c.Def("Цвет");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  AFrame* cherry = c.Sample("Вишня", fruit, {{"Цвет", "красный"}});
  cherry->OfferMsg = "offer";
  cherry->FailMsg = "fail";
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Failure);
  EXPECT_EQ(c.host.questions.size(), 1u);
  EXPECT_EQ(c.host.lines, WLines({"Диалог:", "Цвет красный (Д/Н)? [Н]", "Решений не найдено.\r"}));
}

TEST(Engine, ValueListItemsAreAskedButNeverReject) {
  Consultation c("ynn");
  c.Def("Опции", true);
  c.Def("Цвет");
  AFrame* p = c.Proto("П");
  c.Sample("S", p, {{"Цвет", "синий"}, {"Опции", "a; b"}});
  EXPECT_EQ(c.Run("П"), Outcome::Success);
  // Plain slots come first.
  EXPECT_EQ(c.host.questions, WLines({"Цвет синий (Д/Н)? ", "Опции a (Д/Н)? ", "Опции b (Д/Н)? "}));
  EXPECT_EQ(c.engine.ReportLines(), WLines({"S:", "[]", "Цвет синий", "Опции a; b"}));
}

TEST(Engine, DecomposedValueListSynthesizesEachItemAnsweredYes) {
  Consultation c("yynyy");
  c.Def("Части", true, true)->DecomposeMsg = W("Разбор %f");
  c.Def("Вид");
  AFrame* sys = c.Sample("Система", nullptr, {{"Части", "A;B;C"}});
  (void)sys;
  c.Sample("A", nullptr, {{"Вид", "a"}});
  c.Sample("B", nullptr, {{"Вид", "b"}});
  c.Sample("C", nullptr, {{"Вид", "c"}});
  // Questions: Части A (y), Части B (y)... see script: A y, B y, C n, then
  // "Вид a" y and "Вид b" y for the two syntheses.
  EXPECT_EQ(c.Run("Система"), Outcome::Success);
  EXPECT_EQ(c.host.questions, WLines({"Части A (Д/Н)? ", "Части B (Д/Н)? ", "Части C (Д/Н)? ",
                                      "Вид a (Д/Н)? ", "Вид b (Д/Н)? "}));
  EXPECT_EQ(c.engine.ReportLines(), WLines({"Система:", "[]", "Части A:", " A:", "[]", " Вид a",
                                            "Части B:", " B:", "[]", " Вид b"}));
  EXPECT_EQ(c.engine.Tree().Outline(),
            WLines({"Система:", "  Части A:", "    Вид a", "  Части B:", "    Вид b"}));
  int decomposeLines = 0;
  for (const std::string& line : c.host.lines) decomposeLines += line == W("Разбор Система");
  EXPECT_EQ(decomposeLines, 2);
}

TEST(Engine, TargetNamingNoFrameSucceedsWithAnEmptyReport) {
  Consultation c("");
  EXPECT_EQ(c.Run("Нет такого"), Outcome::Success);
  EXPECT_EQ(c.host.lines, WLines({"Диалог:", "Найдено решение:\r", "   ", "Реультаты отчета:", "    "}));
  EXPECT_TRUE(c.engine.Tree().Roots().empty());
}

TEST(Engine, EmptyTargetDoesNothing) {
  Consultation c("");
  EXPECT_EQ(c.Run(""), Outcome::NotRun);
  EXPECT_TRUE(c.host.lines.empty());
  EXPECT_TRUE(c.host.events.empty());
}

TEST(Engine, SystemAndProcessorExpansion) {
  Consultation c("yyy");
  c.Def("Тип");
  c.Def("Блок", false, true);
  c.Def("Частота");
  c.Sample("Система", nullptr, {{"Тип", "настольный"}, {"Блок", "Процессор"}});
  AFrame* cpu = c.Proto("Процессор");
  c.Sample("P1", cpu, {{"Частота", "2000"}});
  EXPECT_EQ(c.Run("Система"), Outcome::Success);
  EXPECT_EQ(c.host.questions,
            WLines({"Тип настольный (Д/Н)? ", "Блок Процессор (Д/Н)? ", "Частота 2000 (Д/Н)? "}));
  EXPECT_EQ(c.engine.ReportLines(),
            WLines({"Система:", "[]", "Тип настольный", "Блок P1:", " P1:", "[]", " Частота 2000"}));
  EXPECT_EQ(c.engine.Tree().Outline(),
            WLines({"Система:", "  Тип настольный", "  Блок P1:", "    Частота 2000"}));
  EXPECT_EQ(c.host.added, WLines({"- > Система:", "Система: > Тип настольный",
                                  "Система: > Блок P1:", "Блок P1: > Частота 2000"}));
}

TEST(Engine, DefinitionIsReportedWithCrLfAfterEveryLine) {
  Consultation c("y");
  c.Def("Цвет");
  AFrame* s = c.Sample("S", nullptr, {{"Цвет", "c"}});
  s->Definition = {"one", "two"};
  EXPECT_EQ(c.Run("S"), Outcome::Success);
  EXPECT_EQ(c.engine.ReportLines()[1], "[one\r\ntwo\r\n]");
}

TEST(Engine, IndentationStopsGrowingAtTenBlanks) {
  // L0 decomposes into L1, ... L12, each asked once.
  Consultation c(std::string(13, 'y'));
  c.Def("След", false, true);
  for (int i = 0; i <= 12; ++i) {
    std::string name = "L" + std::to_string(i);
    AFrame* f = c.kb.AddFrame(name, nullptr);
    f->SetSample(true);
    c.kb.AttachSlot(name, W("След"));
    f->Slots[0].Value = i < 12 ? "L" + std::to_string(i + 1) : "";
  }
  EXPECT_EQ(c.Run("L0"), Outcome::Success);
  std::vector<std::string> own;  // the "Ln:" line of each level
  for (const std::string& line : c.engine.ReportLines())
    if (line.size() > 1 && line.back() == ':' && line.find(W("След")) == std::string::npos)
      own.push_back(line);
  ASSERT_EQ(own.size(), 13u);
  EXPECT_EQ(own[9], std::string(9, ' ') + "L9:");
  EXPECT_EQ(own[10], std::string(10, ' ') + "L10:");
  EXPECT_EQ(own[11], std::string(10, ' ') + "L11:");
  EXPECT_EQ(own[12], std::string(10, ' ') + "L12:");
}

TEST(Engine, PercentFInMessages) {
  Consultation c("yy");
  c.Def("Цвет");
  c.Def("Блок", false, true)->DecomposeMsg = "expand %f";
  AFrame* s = c.Sample("S", nullptr, {{"Цвет", "c"}, {"Блок", "T"}});
  s->OfferMsg = "offer %f";
  s->SuccessMsg = "%f ok %f";
  c.Proto("T");  // no samples: its step fails
  EXPECT_EQ(c.Run("S"), Outcome::Failure);
  EXPECT_EQ(c.host.lines, (Lines{W("Диалог:"), "offer S", W("Цвет c (Д/Н)? [Д]"),
                                 W("Блок T (Д/Н)? [Д]"), "S ok S", "expand S",
                                 W("Решений не найдено.") + "\r"}));
}

TEST(Engine, FailMessageOnlyAfterAQuestion) {
  Consultation c("yn");
  c.Def("a");
  c.Def("b");
  AFrame* s = c.Sample("S", nullptr, {{"a", "1"}, {"b", "2"}});
  s->FailMsg = "no %f";
  EXPECT_EQ(c.Run("S"), Outcome::Failure);
  EXPECT_EQ(c.host.lines, (Lines{W("Диалог:"), W("a 1 (Д/Н)? [Д]"), W("b 2 (Д/Н)? [Н]"), "no S",
                                 W("Решений не найдено.") + "\r"}));
}

TEST(Engine, SampleWithoutSlotsPassesSilently) {
  Consultation c("");
  AFrame* s = c.Sample("S", nullptr, {});
  s->OfferMsg = "offer";
  s->SuccessMsg = "ok";
  EXPECT_EQ(c.Run("S"), Outcome::Success);
  EXPECT_EQ(c.host.lines, WLines({"Диалог:", "Найдено решение:\r", "   ", "Реультаты отчета:", "S:",
                                  "[]", "    "}));
}

TEST(Engine, FrameWithoutSamplesFails) {
  Consultation c("");
  c.Proto("P");
  EXPECT_EQ(c.Run("P"), Outcome::Failure);
}

TEST(Engine, CancelEndsTheRunAsAFailure) {
  Consultation c("c");
  c.Def("Цвет");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  c.Sample("Лимон", fruit, {{"Цвет", "желтый"}});
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Failure);
  EXPECT_TRUE(c.engine.Cancelled());
  EXPECT_EQ(c.host.questions.size(), 1u);
  EXPECT_EQ(c.host.lines, WLines({"Диалог:", "Цвет красный (Д/Н)? ", "Решений не найдено.\r"}));
  EXPECT_EQ(std::count(c.host.events.begin(), c.host.events.end(), "report on"), 0);
}

TEST(Engine, CancelInsideADecompositionAsksNothingMore) {
  // Two decomposed items; cancelling in the first stops the second.
  Consultation c("yyc");
  c.Def("Части", true, true);
  c.Def("Вид");
  c.Sample("S", nullptr, {{"Части", "A;B"}});
  c.Sample("A", nullptr, {{"Вид", "a"}});
  c.Sample("B", nullptr, {{"Вид", "b"}});
  EXPECT_EQ(c.Run("S"), Outcome::Failure);
  EXPECT_EQ(c.host.questions.size(), 3u);
  EXPECT_EQ(c.host.lines.back(), W("Решений не найдено.") + "\r");
  // The next run starts afresh.
  c.host.Restart("yyyy");
  EXPECT_EQ(c.Run("S"), Outcome::Success);
  EXPECT_FALSE(c.engine.Cancelled());
}

TEST(Engine, WhyNamesTheFrameBeingConsidered) {
  Consultation c("?y");
  c.Def("Цвет");
  AFrame* fruit = c.Proto("Фрукт");
  c.Sample("Яблоко", fruit, {{"Цвет", "красный"}});
  c.engine.Why();  // nothing considered yet: prints nothing
  EXPECT_TRUE(c.host.lines.empty());
  EXPECT_EQ(c.Run("Фрукт"), Outcome::Success);
  EXPECT_EQ(c.host.lines[1], W("Цвет красный (Д/Н)? "));
  EXPECT_EQ(c.host.lines[2], W("[Рассматривается: Яблоко]\r[Д]"));
}

TEST(Engine, DecompositionCycleIsNotFollowed) {
  // S decomposes into its own frame: the inner step counts as solved and
  // adds nothing, so the pending line stays as it is.
  Consultation c("y");
  c.Def("Блок", false, true);
  AFrame* p = c.Proto("P");
  c.Sample("S", p, {{"Блок", "P"}});
  EXPECT_EQ(c.Run("P"), Outcome::Success);
  EXPECT_EQ(c.host.questions.size(), 1u);
  EXPECT_EQ(c.engine.ReportLines(), WLines({"S:", "[]", "Блок "}));
  EXPECT_EQ(c.engine.Tree().Outline(), WLines({"S:"}));
}

TEST(Engine, LongerCycleStopsAtTheFirstRepeatedFrame) {
  Consultation c("yy");
  c.Def("Next", false, true);
  c.Sample("A", nullptr, {{"Next", "B"}});
  c.Sample("B", nullptr, {{"Next", "A"}});
  EXPECT_EQ(c.Run("A"), Outcome::Success);
  EXPECT_EQ(c.host.questions, (Lines{W("Next B (Д/Н)? "), W("Next A (Д/Н)? ")}));
  EXPECT_EQ(c.engine.ReportLines(), (Lines{"A:", "[]", "Next B:", " B:", "[]", " Next "}));
}

TEST(Engine, SameFrameInTwoBranchesIsSynthesizedTwice) {
  // "R Leaf" follows from yes to "L Leaf"; each synthesis of «Leaf» has its
  // own memory and asks again.
  Consultation c("yyy");
  c.Def("L", false, true);
  c.Def("R", false, true);
  c.Def("v");
  c.Sample("Top", nullptr, {{"L", "Leaf"}, {"R", "Leaf"}});
  c.Sample("Leaf", nullptr, {{"v", "1"}});
  EXPECT_EQ(c.Run("Top"), Outcome::Success);
  EXPECT_EQ(c.engine.Tree().Outline(), (Lines{"Top:", "  L Leaf:", "    v 1", "  R Leaf:", "    v 1"}));
  EXPECT_TRUE(c.host.ScriptUsedUp());
}

TEST(Engine, DecompositionValueNamingNoFrameLeavesThePendingLine) {
  Consultation c("yy");
  c.Def("Блок", false, true);
  c.Def("v");
  c.Sample("S", nullptr, {{"Блок", "Nothing"}, {"v", "1"}});
  EXPECT_EQ(c.Run("S"), Outcome::Success);
  EXPECT_EQ(c.engine.ReportLines(), WLines({"S:", "[]", "Блок ", "v 1"}));
  EXPECT_EQ(c.engine.Tree().Outline(), WLines({"S:", "  v 1"}));
}

}  // namespace
}  // namespace norvix::test

namespace norvix::test {
namespace {

TEST(Engine, NestingOfSynthesesIsBounded) {
  const int levels = kMaxSynthesisNesting + 50;
  Consultation c(std::string(static_cast<size_t>(levels), 'y'));
  c.Def("Next", false, true);
  for (int i = 0; i < levels; ++i) {
    std::string name = "L" + std::to_string(i);
    AFrame* f = c.kb.AddFrame(name, nullptr);
    f->SetSample(true);
    c.kb.AttachSlot(name, "Next");
    f->Slots[0].Value = "L" + std::to_string(i + 1);
  }
  EXPECT_EQ(c.Run("L0"), Outcome::Success);
  EXPECT_EQ(c.host.questions.size(), static_cast<size_t>(kMaxSynthesisNesting));
  EXPECT_EQ(c.host.questions.back(), "Next L" + std::to_string(kMaxSynthesisNesting) + W(" (Д/Н)? "));
}

TEST(Engine, ARunDoesNotStartInsideAnother) {
  // A host that tries to start a second run while a question waits.
  struct Reentrant : ScriptedHost {
    Reentrant() : ScriptedHost("y") {}
    Engine* engine = nullptr;
    const AKBase* kb = nullptr;
    Outcome nested = Outcome::Success;
    Reply Ask(const std::string& line) override {
      nested = engine->RunConsultation(*kb);
      return ScriptedHost::Ask(line);
    }
  };
  AKBase kb;
  kb.AddSlotDef("a");
  AFrame* s = kb.AddFrame("S", nullptr);
  s->SetSample(true);
  kb.AttachSlot("S", "a");
  kb.TargetFrame = "S";
  Reentrant host;
  Engine engine(host);
  host.engine = &engine;
  host.kb = &kb;
  EXPECT_EQ(engine.RunConsultation(kb), Outcome::Success);
  EXPECT_EQ(host.nested, Outcome::NotRun);
  EXPECT_FALSE(engine.Running());
}

}  // namespace
}  // namespace norvix::test
