// The knowledge base's frames: defaults, creation, lookup, renaming and
// deletion.
#include <gtest/gtest.h>

#include "test_support.h"

namespace norvix {
namespace {

using test::ErrorRecorder;
using test::FrameNames;
using test::W;

TEST(KBase, NewBaseHasTheDefaults) {
  AKBase kb;
  EXPECT_TRUE(kb.SlotDefs().empty());
  EXPECT_TRUE(kb.Frames().empty());
  EXPECT_EQ(kb.TargetFrame, "");
  EXPECT_EQ(kb.Invitation, W("Диалог:"));
  EXPECT_EQ(kb.SuccessMsg, W("Найдено решение:"));
  EXPECT_EQ(kb.FailMsg, W("Решений не найдено."));
  EXPECT_EQ(kb.ProjectName, "");
  EXPECT_EQ(kb.Purpose, "");
  EXPECT_EQ(kb.Subject, "");
  EXPECT_EQ(kb.Author, "");
  EXPECT_TRUE(kb.AutoReport);
  EXPECT_FALSE(kb.Modified);
}

// The test build checks that a parent precedes its children in the list.
TEST(KBaseDeathTest, ParentListedAfterItsChildIsCaught) {
  AKBase kb;
  AFrame* child = kb.AddFrame("A", nullptr);
  AFrame* parent = kb.AddFrame("B", nullptr);
  child->Parent = parent;
  EXPECT_DEBUG_DEATH(kb.SaveToBytes(), "Parent");
  child->Parent = nullptr;
}

TEST(KBase, NewFrameIsAnEmptyPrototypeUnderItsParent) {
  AKBase kb;
  AFrame* a = kb.AddFrame("A", nullptr);
  AFrame* b = kb.AddFrame("B", a);
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(b->Parent, a);
  ASSERT_EQ(a->Children.size(), 1u);
  EXPECT_EQ(a->Children[0], b);
  EXPECT_FALSE(b->IsSample);
  EXPECT_TRUE(b->Definition.empty());
  EXPECT_TRUE(b->OwnSlotDefs.empty());
  EXPECT_TRUE(b->Slots.empty());
  EXPECT_FALSE(b->Deleting);
  EXPECT_EQ(b->OfferMsg + b->SuccessMsg + b->FailMsg, "");
}

TEST(KBase, AddFrameWithAnExistingNameReturnsThatFrameUnchanged) {
  AKBase kb;
  AFrame* a = kb.AddFrame("A", nullptr);
  AFrame* b = kb.AddFrame("B", nullptr);
  kb.Modified = false;
  EXPECT_EQ(kb.AddFrame("B", a), b);
  EXPECT_EQ(b->Parent, nullptr);
  EXPECT_TRUE(a->Children.empty());
  EXPECT_FALSE(kb.Modified);
  EXPECT_EQ(kb.Frames().size(), 2u);
}

TEST(KBase, ASampleGetsNoChildren) {
  AKBase kb;
  AFrame* s = kb.AddFrame("S", nullptr);
  ASSERT_TRUE(s->SetSample(true));
  EXPECT_EQ(kb.AddFrame("C", s), nullptr);
  EXPECT_TRUE(s->Children.empty());
  EXPECT_EQ(kb.FindFrame("C"), nullptr);
}

TEST(KBase, LookupsByNameReturnTheFirstMatchInListOrder) {
  AKBase kb;
  kb.AddFrame("A", nullptr);
  kb.AddFrame("B", nullptr);
  AFrame* c = kb.AddFrame("C", nullptr);
  EXPECT_EQ(kb.IndexOfFrame("A"), 0);
  EXPECT_EQ(kb.IndexOfFrame("C"), 2);
  EXPECT_EQ(kb.IndexOfFrame("X"), -1);
  EXPECT_EQ(kb.FindFrame("X"), nullptr);
  // RenameFrame does not check uniqueness: two frames may share a name.
  kb.RenameFrame("C", "A");
  EXPECT_EQ(kb.IndexOfFrame("A"), 0) << "the earlier frame wins";
  kb.RenameFrame("A", "Z");  // renames the first "A"
  EXPECT_EQ(kb.FindFrame("A"), c);
  EXPECT_EQ(kb.IndexOfFrame("A"), 2);
  EXPECT_EQ(kb.IndexOfFrame("Z"), 0);
  EXPECT_EQ(kb.IndexOfFrame("C"), -1);
}

TEST(KBase, RenameAndCanRename) {
  AKBase kb;
  kb.AddFrame("A", nullptr);
  kb.AddFrame("B", nullptr);
  kb.Modified = false;
  EXPECT_EQ(kb.RenameFrame("X", "Y"), nullptr);
  EXPECT_FALSE(kb.Modified);
  EXPECT_FALSE(kb.CanRenameFrame("X", "Y"));
  EXPECT_FALSE(kb.CanRenameFrame("A", "B"));
  EXPECT_TRUE(kb.CanRenameFrame("A", "A"));
  EXPECT_TRUE(kb.CanRenameFrame("A", "C"));
  AFrame* renamed = kb.RenameFrame("A", "C");
  ASSERT_NE(renamed, nullptr);
  EXPECT_EQ(renamed->Name(), "C");
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(kb.FindFrame("C"), renamed);
  EXPECT_EQ(kb.FindFrame("A"), nullptr);
}

TEST(KBase, KeepingTheOwnNameIsAllowedEvenWhenShared) {
  AKBase kb;
  kb.AddFrame("A", nullptr);
  kb.AddFrame("B", nullptr);
  kb.RenameFrame("B", "A");  // no check: two frames named "A"
  EXPECT_TRUE(kb.CanRenameFrame("A", "A"));
  EXPECT_TRUE(kb.CanRenameFrame("A", "Z"));
  kb.AddFrame("Z", nullptr);
  EXPECT_FALSE(kb.CanRenameFrame("A", "Z"));
}

TEST(KBase, UniqueFrameNameCountsUp) {
  AKBase kb;
  EXPECT_EQ(kb.UniqueFrameName(W("Фрейм")), W("Фрейм"));
  kb.AddFrame(W("Фрейм"), nullptr);
  kb.AddFrame(W("Фрейм1"), nullptr);
  EXPECT_EQ(kb.UniqueFrameName(W("Фрейм")), W("Фрейм2"));
}

TEST(KBase, UniqueFrameNameGivesUpAfter65536) {
  AKBase kb;
  kb.AddFrame("F", nullptr);
  for (int n = 1; n <= 65536; ++n) kb.AddFrame("F" + std::to_string(n), nullptr);
  ErrorRecorder errors;
  EXPECT_EQ(kb.UniqueFrameName("F"), "F");
  EXPECT_EQ(errors.messages, std::vector<std::string>{W("Имена исчерпаны!")});
}

TEST(KBase, DeletingAPrototypeDeletesItsDescendants) {
  AKBase kb;
  AFrame* root = kb.AddFrame("Root", nullptr);
  AFrame* a = kb.AddFrame("A", root);
  AFrame* b = kb.AddFrame("B", root);
  kb.AddFrame("A1", a);
  AFrame* a2 = kb.AddFrame("A2", a);
  a2->SetSample(true);
  kb.AddFrame("Other", nullptr);
  kb.Modified = false;
  ErrorRecorder errors;
  kb.DeleteFrame(a);
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(FrameNames(kb), (std::vector<std::string>{"Root", "B", "Other"}));
  EXPECT_EQ(root->Children, std::vector<AFrame*>{b});
  EXPECT_EQ(kb.FindFrame("A"), nullptr);
  EXPECT_EQ(kb.FindFrame("A2"), nullptr);
  EXPECT_EQ(kb.IndexOfFrame("Other"), 2);
}

TEST(KBase, DeletingASampleUnlinksItOnly) {
  AKBase kb;
  AFrame* root = kb.AddFrame("Root", nullptr);
  AFrame* s = kb.AddFrame("S", root);
  s->SetSample(true);
  kb.DeleteFrame(s);
  EXPECT_TRUE(root->Children.empty());
  EXPECT_EQ(FrameNames(kb), std::vector<std::string>{"Root"});
  kb.DeleteFrame(nullptr);  // nothing
  EXPECT_EQ(kb.Frames().size(), 1u);
}

TEST(KBase, NamesCanBeReusedAfterDeletion) {
  AKBase kb;
  kb.DeleteFrame(kb.AddFrame("A", nullptr));
  AFrame* again = kb.AddFrame("A", nullptr);
  EXPECT_EQ(kb.FindFrame("A"), again);
  EXPECT_EQ(kb.IndexOfFrame("A"), 0);
}

TEST(KBase, AFrameWithChildrenCannotBecomeASample) {
  AKBase kb;
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* c = kb.AddFrame("C", p);
  p->OfferMsg = "kept";
  EXPECT_FALSE(p->SetSample(true));
  EXPECT_FALSE(p->IsSample);
  EXPECT_EQ(p->OfferMsg, "kept");
  EXPECT_EQ(c->Parent, p);
  // Deleting it still removes the child, so no link dangles.
  kb.DeleteFrame(p);
  EXPECT_TRUE(kb.Frames().empty());
}

TEST(KBase, IndexOfChild) {
  AKBase kb;
  AFrame* p = kb.AddFrame("P", nullptr);
  kb.AddFrame("C1", p);
  kb.AddFrame("C2", p);
  EXPECT_EQ(p->IndexOfChild("C2"), 1);
  EXPECT_EQ(p->IndexOfChild("C3"), -1);
}

TEST(KBase, ManyFramesStayIndexed) {
  AKBase kb;
  AFrame* root = kb.AddFrame("root", nullptr);
  for (int i = 0; i < 2000; ++i) kb.AddFrame("f" + std::to_string(i), root);
  kb.DeleteFrame(kb.FindFrame("f10"));
  EXPECT_EQ(kb.IndexOfFrame("f1999"), 2000 - 1);
  EXPECT_EQ(kb.IndexOfFrame("f9"), 10);
  EXPECT_EQ(kb.IndexOfFrame("f11"), 11);
  EXPECT_EQ(kb.FindFrame("f10"), nullptr);
}

}  // namespace
}  // namespace norvix
