// Slot definitions, their attachment to frames and the samples' slots.
#include <gtest/gtest.h>

#include "test_support.h"

namespace norvix {
namespace {

using test::ErrorRecorder;
using test::OwnDefNames;
using test::SlotNames;
using test::W;
using Names = std::vector<std::string>;

TEST(SlotDefs, AddFindAndDefaults) {
  AKBase kb;
  ASlotDef* a = kb.AddSlotDef("a");
  EXPECT_TRUE(kb.Modified);
  kb.AddSlotDef("a");  // no duplicate check; the first one is found
  EXPECT_EQ(kb.FindSlotDef("a"), a);
  EXPECT_EQ(kb.FindSlotDef("b"), nullptr);
  EXPECT_EQ(a->DefaultValue, "");
  EXPECT_FALSE(a->IsValueList);
  EXPECT_FALSE(a->Decompose);
  EXPECT_EQ(a->DecomposeMsg, "");
  EXPECT_TRUE(a->Definition.empty());
}

TEST(SlotDefs, DeleteRemovesTheDefinitionEverywhere) {
  AKBase kb;
  kb.AddSlotDef("a");
  kb.AddSlotDef("b");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* s = kb.AddFrame("S", p);
  kb.AttachSlot("P", "a");
  kb.AttachSlot("P", "b");
  s->SetSample(true);
  kb.AttachSlot("S", "a");
  kb.DeleteSlotDef("a");
  EXPECT_EQ(OwnDefNames(*p), Names{"b"});
  EXPECT_EQ(OwnDefNames(*s), Names{});
  EXPECT_EQ(SlotNames(*s), Names{"b"});
  EXPECT_EQ(kb.FindSlotDef("a"), nullptr);
  EXPECT_EQ(kb.SlotDefs().size(), 1u);
  kb.Modified = false;
  kb.DeleteSlotDef("nothing");
  EXPECT_TRUE(kb.Modified) << "set even when no definition matched";
}

TEST(SlotDefs, DeletingTheFirstOfTwoNamesakesLeavesTheSecondFindable) {
  AKBase kb;
  kb.AddSlotDef("a");
  ASlotDef* second = kb.AddSlotDef("a");
  kb.DeleteSlotDef("a");
  EXPECT_EQ(kb.FindSlotDef("a"), second);
}

TEST(Samples, MakingASampleGivesOneSlotPerInheritedDefinition) {
  AKBase kb;
  ASlotDef* colour = kb.AddSlotDef("colour");
  colour->DefaultValue = "red";
  kb.AddSlotDef("options")->IsValueList = true;
  kb.AddSlotDef("size");
  kb.AddSlotDef("own");
  AFrame* root = kb.AddFrame("Root", nullptr);
  AFrame* mid = kb.AddFrame("Mid", root);
  AFrame* s = kb.AddFrame("S", mid);
  kb.AttachSlot("Root", "colour");
  kb.AttachSlot("Root", "options");
  kb.AttachSlot("Mid", "size");
  kb.AttachSlot("S", "own");
  s->OfferMsg = "gone";
  ASSERT_TRUE(s->SetSample(true));
  EXPECT_TRUE(s->IsSample);
  EXPECT_EQ(s->OfferMsg, "");
  EXPECT_EQ(SlotNames(*s), (Names{"own", "size", "colour", "options"}));
  EXPECT_EQ(s->Slots[2].Value, "red");
  EXPECT_EQ(s->Slots[2].Note, "");
  EXPECT_TRUE(s->SetSample(true));  // already a sample: nothing
  EXPECT_EQ(s->Slots.size(), 4u);
  s->SuccessMsg = "gone";
  ASSERT_TRUE(s->SetSample(false));
  EXPECT_FALSE(s->IsSample);
  EXPECT_TRUE(s->Slots.empty());
  EXPECT_EQ(s->SuccessMsg, "");
}

TEST(Samples, PlainDefinitionsComeBeforeValueLists) {
  AKBase kb;
  kb.AddSlotDef("list")->IsValueList = true;
  kb.AddSlotDef("plain");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* s = kb.AddFrame("S", p);
  s->SetSample(true);
  kb.AttachSlot("P", "list");
  kb.AttachSlot("P", "plain");
  EXPECT_EQ(OwnDefNames(*p), (Names{"plain", "list"}));
  EXPECT_EQ(SlotNames(*s), (Names{"plain", "list"}));
}

TEST(Samples, AttachReachesSamplesButNotBelowThem) {
  AKBase kb;
  kb.AddSlotDef("x");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* q = kb.AddFrame("Q", p);
  AFrame* s1 = kb.AddFrame("S1", p);
  AFrame* s2 = kb.AddFrame("S2", q);
  s1->SetSample(true);
  s2->SetSample(true);
  kb.Modified = false;
  kb.AttachSlot("P", "x");
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(SlotNames(*s1), Names{"x"});
  EXPECT_EQ(SlotNames(*s2), Names{"x"});
  EXPECT_TRUE(q->Slots.empty());
  kb.AttachSlot("P", "x");  // attached once only
  EXPECT_EQ(OwnDefNames(*p), Names{"x"});
  EXPECT_EQ(s1->Slots.size(), 1u);
}

TEST(Samples, AttachAndDetachReportUnknownNames) {
  AKBase kb;
  kb.AddSlotDef("x");
  kb.AddSlotDef("y");
  kb.AddFrame("P", nullptr);
  kb.AttachSlot("P", "x");
  kb.Modified = false;
  ErrorRecorder errors;
  kb.AttachSlot("Q", "x");
  kb.AttachSlot("P", "z");
  kb.DetachSlot("Q", "x");
  kb.DetachSlot("P", "z");
  kb.DetachSlot("P", "y");
  EXPECT_EQ(errors.messages, (Names{"Q" + W(" не найден!"), "z" + W(" не найден!"),
                                    "Q" + W(" не найден!"), "z" + W(" не найден!"),
                                    "y" + W("не найден!")}));
  EXPECT_FALSE(kb.Modified);
}

TEST(Samples, DetachRemovesSlotsBelow) {
  AKBase kb;
  kb.AddSlotDef("x");
  kb.AddSlotDef("y");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* s = kb.AddFrame("S", p);
  kb.AttachSlot("P", "x");
  kb.AttachSlot("P", "y");
  s->SetSample(true);
  kb.Modified = false;
  kb.DetachSlot("P", "x");
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(OwnDefNames(*p), Names{"y"});
  EXPECT_EQ(SlotNames(*s), Names{"y"});
}

// A sample keeps a slot that it still inherits from higher up.
TEST(Samples, DetachKeepsSlotsStillInherited) {
  AKBase kb;
  kb.AddSlotDef("x");
  AFrame* top = kb.AddFrame("Top", nullptr);
  AFrame* mid = kb.AddFrame("Mid", top);
  AFrame* s = kb.AddFrame("S", mid);
  kb.AttachSlot("Top", "x");
  kb.AttachSlot("Mid", "x");
  s->SetSample(true);
  s->Slots[0].Value = "v";
  kb.DetachSlot("Mid", "x");
  EXPECT_EQ(OwnDefNames(*mid), Names{});
  ASSERT_EQ(SlotNames(*s), Names{"x"});
  EXPECT_EQ(s->Slots[0].Value, "v");
  kb.DetachSlot("Top", "x");
  EXPECT_TRUE(s->Slots.empty());
  EXPECT_EQ(OwnDefNames(*top), Names{});
}

TEST(Samples, DetachFromDescendantsLeavesSlots) {
  AKBase kb;
  ASlotDef* x = kb.AddSlotDef("x");
  AFrame* top = kb.AddFrame("Top", nullptr);
  AFrame* mid = kb.AddFrame("Mid", top);
  AFrame* s = kb.AddFrame("S", mid);
  kb.AttachSlot("Mid", "x");
  kb.AttachSlot("S", "x");
  s->SetSample(true);
  kb.AttachSlot("Top", "x");
  top->DetachFromDescendants(x);
  EXPECT_EQ(OwnDefNames(*top), Names{"x"});
  EXPECT_EQ(OwnDefNames(*mid), Names{});
  EXPECT_EQ(OwnDefNames(*s), Names{});
  EXPECT_EQ(SlotNames(*s), Names{"x"});
}

TEST(ValueList, SettingTheFlagMovesTheDefinitionLast) {
  AKBase kb;
  kb.AddSlotDef("a");
  kb.AddSlotDef("b");
  kb.AddSlotDef("c");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* s = kb.AddFrame("S", p);
  for (const char* n : {"a", "b", "c"}) kb.AttachSlot("P", n);
  s->SetSample(true);
  kb.Modified = false;
  kb.SetValueList("a", true);
  EXPECT_TRUE(kb.FindSlotDef("a")->IsValueList);
  EXPECT_EQ(OwnDefNames(*p), (Names{"b", "c", "a"}));
  EXPECT_EQ(SlotNames(*s), (Names{"b", "c", "a"}));
  EXPECT_FALSE(kb.Modified);
  kb.SetValueList("missing", true);  // nothing
}

TEST(ValueList, ClearingTheFlagMovesItJustBeforeTheRemainingValueLists) {
  struct Case {
    const char* name;
    const char* cleared;
    Names expected;
  } cases[] = {
      // Order before: p, l1, l2, l3 (l1..l3 value lists).
      {"last one", "l3", {"p", "l3", "l1", "l2"}},
      {"middle one", "l2", {"p", "l2", "l1", "l3"}},
      {"first one stays in place", "l1", {"p", "l1", "l2", "l3"}},
  };
  for (const Case& c : cases) {
    AKBase kb;
    kb.AddSlotDef("p");
    for (const char* n : {"l1", "l2", "l3"}) kb.AddSlotDef(n)->IsValueList = true;
    AFrame* f = kb.AddFrame("F", nullptr);
    AFrame* s = kb.AddFrame("S", f);
    for (const char* n : {"p", "l1", "l2", "l3"}) kb.AttachSlot("F", n);
    s->SetSample(true);
    kb.SetValueList(c.cleared, false);
    EXPECT_EQ(OwnDefNames(*f), c.expected) << c.name;
    EXPECT_EQ(SlotNames(*s), c.expected) << c.name;
  }
}

TEST(ValueList, ClearingWithNoOtherValueListMovesItLast) {
  AKBase kb;
  kb.AddSlotDef("p");
  kb.AddSlotDef("q");
  kb.AddSlotDef("l")->IsValueList = true;
  AFrame* f = kb.AddFrame("F", nullptr);
  for (const char* n : {"p", "q", "l"}) kb.AttachSlot("F", n);
  kb.SetValueList("l", false);
  EXPECT_EQ(OwnDefNames(*f), (Names{"p", "q", "l"}));
}

TEST(Slots, IndexLookups) {
  AKBase kb;
  ASlotDef* a = kb.AddSlotDef("a");
  ASlotDef* b = kb.AddSlotDef("b");
  AFrame* f = kb.AddFrame("F", nullptr);
  kb.AttachSlot("F", "a");
  EXPECT_EQ(f->IndexOfOwnSlotDef(a), 0);
  EXPECT_EQ(f->IndexOfOwnSlotDef(b), -1);
  EXPECT_EQ(f->IndexOfSlot(a), -1);
  f->SetSample(true);
  EXPECT_EQ(f->IndexOfSlot(a), 0);
  EXPECT_NE(f->SlotFor(a), nullptr);
  EXPECT_EQ(f->SlotFor(b), nullptr);
}

}  // namespace
}  // namespace norvix
