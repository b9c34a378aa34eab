// The checker finds each kind of fault in a small base, and nothing in the
// examples meant to be sound.
#include <gtest/gtest.h>

#include <functional>

#include "checker.h"
#include "example_bases.h"
#include "scripted_host.h"
#include "teaching_bases.h"

namespace norvix {
namespace {

using test::W;

// A sound base: target «T» with samples «A» (Цвет = красный) and «B»
// (Цвет = желтый); each case below adds one fault.
void Sound(AKBase& kb) {
  kb.TargetFrame = "T";
  kb.AddSlotDef(W("Цвет"));
  AFrame* t = kb.AddFrame("T", nullptr);
  kb.AttachSlot("T", W("Цвет"));
  AFrame* a = kb.AddFrame("A", t);
  a->SetSample(true);
  a->Slots[0].Value = W("красный");
  AFrame* b = kb.AddFrame("B", t);
  b->SetSample(true);
  b->Slots[0].Value = W("желтый");
}

ASlotDef* AddDecomposed(AKBase& kb, const std::string& frame, bool valueList) {
  ASlotDef* def = kb.AddSlotDef("D");
  def->Decompose = true;
  kb.SetValueList("D", valueList);
  kb.AttachSlot(frame, "D");
  return def;
}

TEST(Checker, SoundBaseHasNoFindings) {
  AKBase kb;
  Sound(kb);
  EXPECT_TRUE(CheckKnowledgeBase(kb).empty());
}

TEST(Checker, FindsEachKindOfFault) {
  struct Case {
    const char* name;
    std::function<void(AKBase&)> fault;
    FindingKind kind;
    std::vector<std::string> frames, slots;
  } cases[] = {
      {"same questions", [](AKBase& kb) { kb.FindFrame("B")->Slots[0].Value = W("красный"); },
       FindingKind::Indistinguishable, {"A", "B"}, {}},
      {"prototype without samples", [](AKBase& kb) { kb.AddFrame("P", kb.FindFrame("T")); },
       FindingKind::EmptyPrototype, {"P"}, {}},
      {"blank value", [](AKBase& kb) { kb.FindFrame("B")->Slots[0].Value = " "; },
       FindingKind::MissingValue, {"B", "T"}, {W("Цвет")}},
      {"slot missing from a sample",
       [](AKBase& kb) { kb.FindFrame("B")->Slots.clear(); },
       FindingKind::MissingValue, {"B", "T"}, {W("Цвет")}},
      {"decomposition naming no frame",
       [](AKBase& kb) {
         AddDecomposed(kb, "A", false);
         kb.FindFrame("A")->Slots[1].Value = "nowhere";
       },
       FindingKind::UnknownDecomposition, {"A"}, {"D"}},
      {"value-list item naming no frame",
       [](AKBase& kb) {
         AddDecomposed(kb, "A", true);
         kb.FindFrame("A")->Slots[1].Value = "B; nowhere";
       },
       FindingKind::UnknownDecomposition, {"A"}, {"D"}},
      {"decomposition back to the target",
       [](AKBase& kb) {
         AddDecomposed(kb, "A", false);
         kb.FindFrame("A")->Slots[1].Value = "T";
       },
       FindingKind::DecompositionCycle, {"A"}, {"D"}},
      {"unused slot", [](AKBase& kb) { kb.AddSlotDef(W("Вес")); }, FindingKind::UnusedSlot, {},
       {W("Вес")}},
      {"empty base message", [](AKBase& kb) { kb.Invitation = "  "; }, FindingKind::EmptyText, {}, {}},
      {"blank sample message", [](AKBase& kb) { kb.FindFrame("A")->FailMsg = "\t"; },
       FindingKind::EmptyText, {"A"}, {}},
      {"nameless slot",
       [](AKBase& kb) {
         kb.AddSlotDef("");
         kb.AttachSlot("T", "");
         kb.FindFrame("A")->SlotFor(kb.FindSlotDef(""))->Value = "x";
         kb.FindFrame("B")->SlotFor(kb.FindSlotDef(""))->Value = "y";
       },
       FindingKind::EmptyText, {}, {""}},
      {"no target", [](AKBase& kb) { kb.TargetFrame.clear(); }, FindingKind::BadTarget, {}, {}},
      {"target naming no frame", [](AKBase& kb) { kb.TargetFrame = "X"; }, FindingKind::BadTarget,
       {"X"}, {}},
      {"target naming a sample", [](AKBase& kb) { kb.TargetFrame = "A"; }, FindingKind::BadTarget,
       {"A"}, {}},
  };
  for (const Case& c : cases) {
    AKBase kb;
    Sound(kb);
    c.fault(kb);
    std::vector<Finding> found = CheckKnowledgeBase(kb);
    ASSERT_EQ(found.size(), 1u) << c.name << ": " << (found.empty() ? "" : cp1251::toUtf8(found[0].text));
    EXPECT_EQ(found[0].kind, c.kind) << c.name;
    EXPECT_EQ(found[0].frames, c.frames) << c.name;
    EXPECT_EQ(found[0].slots, c.slots) << c.name;
    EXPECT_FALSE(found[0].text.empty()) << c.name;
  }
}

TEST(Checker, CycleThroughTwoDecompositionsNamesBoth) {
  AKBase kb;
  Sound(kb);
  AddDecomposed(kb, "T", false);
  AFrame* u = kb.AddFrame("U", nullptr);
  kb.AttachSlot("U", "D");
  AFrame* c = kb.AddFrame("C", u);
  c->SetSample(true);
  c->Slots[0].Value = "T";
  kb.FindFrame("A")->SlotFor(kb.FindSlotDef("D"))->Value = "U";
  kb.FindFrame("B")->SlotFor(kb.FindSlotDef("D"))->Value = "U";
  std::vector<Finding> found = CheckKnowledgeBase(kb);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].kind, FindingKind::DecompositionCycle);
  EXPECT_EQ(found[0].frames, (std::vector<std::string>{"A", "C"}));
}

TEST(Checker, SoundExamplesHaveNoFindings) {
  for (auto build : {examples::BuildFruit, examples::BuildComputer, examples::BuildAnimals,
                     examples::BuildHouse}) {
    AKBase kb;
    build(kb);
    std::vector<Finding> found = CheckKnowledgeBase(kb);
    EXPECT_TRUE(found.empty()) << kb.ProjectName.size() << " "
                               << (found.empty() ? "" : cp1251::toUtf8(found[0].text));
  }
}

TEST(Checker, FaultyExampleHasOneFindingOfEveryKind) {
  AKBase kb;
  examples::BuildFaulty(kb);
  std::vector<int> perKind(8);
  for (const Finding& f : CheckKnowledgeBase(kb)) ++perKind[static_cast<size_t>(f.kind)];
  EXPECT_EQ(perKind, (std::vector<int>{1, 1, 1, 1, 1, 1, 2, 1}));
}

}  // namespace
}  // namespace norvix
