// Saving and loading give back every field; saving is atomic and reported.
#include <gtest/gtest.h>

#include <filesystem>

#include "file_bytes.h"
#include "io_faults.h"
#include "system_error.h"
#include "test_support.h"

namespace norvix::test {
namespace {

using Names = std::vector<std::string>;

// A base that sets every field of every object to something other than
// its default.
void Fill(AKBase& kb) {
  kb.ProjectName = W("Проект");
  kb.Purpose = "purpose\r\nline";
  kb.Subject = W("Область");
  kb.Author = W("Автор");
  kb.AutoReport = false;
  kb.TargetFrame = "Root";
  kb.Invitation = "inv";
  kb.SuccessMsg = "yes!";
  kb.FailMsg = "no!";
  ASlotDef* a = kb.AddSlotDef("a");
  a->DefaultValue = "da";
  a->Definition = {"about a", ""};
  ASlotDef* b = kb.AddSlotDef("b");
  b->IsValueList = true;
  b->Decompose = true;
  b->DecomposeMsg = "msg %f";
  ASlotDef* c = kb.AddSlotDef(W("ц"));
  c->Decompose = true;
  AFrame* root = kb.AddFrame("Root", nullptr);
  root->Definition = {"root def"};
  AFrame* mid = kb.AddFrame("Mid", root);
  AFrame* s1 = kb.AddFrame("S1", mid);
  AFrame* s2 = kb.AddFrame("S2", root);
  kb.AddFrame("Other", nullptr);
  kb.AttachSlot("Root", "b");
  kb.AttachSlot("Root", "a");
  kb.AttachSlot("Mid", W("ц"));
  s1->SetSample(true);
  s2->SetSample(true);
  s1->OfferMsg = "offer %f";
  s1->SuccessMsg = "ok %f";
  s1->FailMsg = "fail %f";
  s1->Slots[0].Value = W("значение");
  s1->Slots[0].Note = "note";
  s1->Slots[2].Value = "x; y";
}

void ExpectSameFrames(const AKBase& a, const AKBase& b) {
  ASSERT_EQ(FrameNames(a), FrameNames(b));
  for (size_t i = 0; i < a.Frames().size(); ++i) {
    const AFrame& f = *a.Frames()[i];
    const AFrame& g = *b.Frames()[i];
    SCOPED_TRACE(f.Name());
    EXPECT_EQ(f.Parent ? f.Parent->Name() : "-", g.Parent ? g.Parent->Name() : "-");
    EXPECT_EQ(NamesOf(f.Children), NamesOf(g.Children));
    EXPECT_EQ(f.Definition, g.Definition);
    EXPECT_EQ(f.IsSample, g.IsSample);
    EXPECT_EQ(OwnDefNames(f), OwnDefNames(g));
    EXPECT_EQ(SlotNames(f), SlotNames(g));
    for (size_t s = 0; s < f.Slots.size() && s < g.Slots.size(); ++s) {
      EXPECT_EQ(f.Slots[s].Value, g.Slots[s].Value);
      EXPECT_EQ(f.Slots[s].Note, g.Slots[s].Note);
    }
    EXPECT_EQ(f.OfferMsg, g.OfferMsg);
    EXPECT_EQ(f.SuccessMsg, g.SuccessMsg);
    EXPECT_EQ(f.FailMsg, g.FailMsg);
  }
}

TEST(FileRoundTrip, EveryFieldComesBack) {
  ScratchDir dir;
  AKBase kb;
  Fill(kb);
  ASSERT_TRUE(kb.Modified);
  ASSERT_TRUE(kb.SaveToFile(dir.file("kb.dat")));
  EXPECT_FALSE(kb.Modified);
  AKBase loaded;
  ErrorRecorder errors;
  ASSERT_TRUE(loaded.LoadFromFile(dir.file("kb.dat")));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_FALSE(loaded.Modified);
  EXPECT_EQ(loaded.ProjectName, kb.ProjectName);
  EXPECT_EQ(loaded.Purpose, kb.Purpose);
  EXPECT_EQ(loaded.Subject, kb.Subject);
  EXPECT_EQ(loaded.Author, kb.Author);
  EXPECT_EQ(loaded.AutoReport, kb.AutoReport);
  EXPECT_EQ(loaded.TargetFrame, kb.TargetFrame);
  EXPECT_EQ(loaded.Invitation, kb.Invitation);
  EXPECT_EQ(loaded.SuccessMsg, kb.SuccessMsg);
  EXPECT_EQ(loaded.FailMsg, kb.FailMsg);
  ASSERT_EQ(loaded.SlotDefs().size(), kb.SlotDefs().size());
  for (size_t i = 0; i < kb.SlotDefs().size(); ++i) {
    const ASlotDef& d = *kb.SlotDefs()[i];
    const ASlotDef& e = *loaded.SlotDefs()[i];
    SCOPED_TRACE(d.Name());
    EXPECT_EQ(d.Name(), e.Name());
    EXPECT_EQ(d.Definition, e.Definition);
    EXPECT_EQ(d.DefaultValue, e.DefaultValue);
    EXPECT_EQ(d.IsValueList, e.IsValueList);
    EXPECT_EQ(d.Decompose, e.Decompose);
    EXPECT_EQ(d.DecomposeMsg, e.DecomposeMsg);
  }
  ExpectSameFrames(kb, loaded);
  EXPECT_EQ(loaded.SaveToBytes(), kb.SaveToBytes());
}

TEST(FileRoundTrip, AutoReportSetComesBackSet) {
  AKBase kb;
  kb.AutoReport = true;
  AKBase loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(kb.SaveToBytes()));
  EXPECT_TRUE(loaded.AutoReport);
}

TEST(FileRoundTrip, ChildrenAfterALaterRootAreWrittenUnderTheirParent) {
  // Frames order A, Z, B (B under A): the file holds A, B, Z.
  AKBase kb;
  AFrame* a = kb.AddFrame("A", nullptr);
  kb.AddFrame("Z", nullptr);
  kb.AddFrame("B", a);
  AKBase loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(kb.SaveToBytes()));
  EXPECT_EQ(FrameNames(loaded), (Names{"A", "B", "Z"}));
}

TEST(FileRoundTrip, FailedSaveKeepsThePreviousFileAndModified) {
  ScratchDir dir;
  std::string path = dir.write("kb.dat", "previous");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                               std::filesystem::perms::owner_exec);
  if (::access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "running with write access everywhere";
  AKBase kb;
  kb.AddFrame("A", nullptr);
  ErrorRecorder errors;
  std::string cause;
  EXPECT_FALSE(kb.SaveToFile(path, &cause));
  EXPECT_TRUE(kb.Modified);
  EXPECT_FALSE(cause.empty());
  EXPECT_EQ(errors.messages, Names{W("Невозможно сохранить файл!\n") + path + ": " + cause});
  EXPECT_EQ(readAll(path), "previous");
}

// Each step of the file replacement made to fail in turn (the test build
// counts them): the previous file stays, nothing else appears in the
// folder, the user is told and the base stays modified.
TEST(FileRoundTrip, EveryFailingStepOfASaveIsReportedAndHarmless) {
  if (!fileio::faults::built()) GTEST_SKIP() << "fault injection is in the test build only";
  ScratchDir dir;
  std::string path = dir.write("kb.dat", "previous");
  AKBase kb;
  kb.AddFrame("A", nullptr);
  long failing = 1;
  for (;; ++failing) {
    ErrorRecorder errors;
    std::string cause;
    fileio::faults::failAt(failing);
    bool saved = kb.SaveToFile(path, &cause);
    fileio::faults::failAt(0);
    if (saved) break;
    EXPECT_EQ(cause, fileio::systemReason(EIO)) << "step " << failing;
    EXPECT_EQ(errors.messages, Names{W("Невозможно сохранить файл!\n") + path + ": " + cause})
        << "step " << failing;
    EXPECT_TRUE(kb.Modified);
    EXPECT_EQ(readAll(path), "previous") << "step " << failing;
    size_t files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1u) << "step " << failing;
    ASSERT_LT(failing, 50) << "the save never succeeds";
  }
  EXPECT_GE(failing - 1, 5) << "create, write, fsync, close and rename can each fail";
  EXPECT_FALSE(kb.Modified);
  EXPECT_EQ(readAll(path), kb.SaveToBytes());
}

TEST(FileRoundTrip, FailedSaveOverAFolderLeavesItAsItWas) {
  ScratchDir dir;
  std::filesystem::create_directories(dir.file("kb.dat"));
  dir.write("kb.dat/inside", "kept");
  AKBase kb;
  kb.AddFrame("A", nullptr);
  ErrorRecorder errors;
  std::string cause;
  EXPECT_FALSE(kb.SaveToFile(dir.file("kb.dat"), &cause));
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(errors.messages, Names{W("Невозможно сохранить файл!\n") + dir.file("kb.dat") + ": " + cause});
  EXPECT_EQ(readAll(dir.file("kb.dat/inside")), "kept");
}

TEST(FileRoundTrip, SaveIntoAMissingFolderFails) {
  ScratchDir dir;
  AKBase kb;
  kb.Modified = true;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.SaveToFile(dir.file("no/such/folder/kb.dat")));
  EXPECT_TRUE(kb.Modified);
  EXPECT_EQ(errors.messages.size(), 1u);
}

TEST(FileRoundTrip, SaveReplacesAnExistingFile) {
  ScratchDir dir;
  std::string path = dir.write("kb.dat", "previous");
  AKBase kb;
  ASSERT_TRUE(kb.SaveToFile(path));
  EXPECT_EQ(readAll(path), kb.SaveToBytes());
}

}  // namespace
}  // namespace norvix::test

namespace norvix::test {
namespace {

// Many definitions take the long-list paths of the slot building and of the
// reader's slot lookup; slot records in another order still find their
// slots.
TEST(FileRoundTrip, SampleWithManySlotsListedInAnotherOrder) {
  const int n = 70;
  Bytes b;
  b.header(2, "T").raw("SD").count(n);
  for (int i = 0; i < n; ++i) b.text("d" + std::to_string(i)).text("").text("").byte(i % 3 == 0 ? 1 : 0);
  b.raw("PR").count(2).text("P").text("").raw("R").count(n);
  for (int i = 0; i < n; ++i) b.text("d" + std::to_string(i));
  b.raw("P").text("S").text("").raw("P").text("P").count(0).raw("E").text("").text("").text("");
  b.count(n);
  for (int i = n - 1; i >= 0; --i) b.text("d" + std::to_string(i)).text("").text("v" + std::to_string(i));
  AKBase kb;
  ErrorRecorder errors;
  ASSERT_TRUE(kb.LoadFromBytes(b.str()));
  EXPECT_TRUE(errors.messages.empty());
  const AFrame* s = kb.FindFrame("S");
  ASSERT_EQ(s->Slots.size(), static_cast<size_t>(n));
  bool valueListsSeen = false;
  for (const ASlot& slot : s->Slots) {
    EXPECT_EQ("v" + slot.Def->Name().substr(1), slot.Value);
    if (slot.Def->IsValueList) valueListsSeen = true;
    EXPECT_TRUE(slot.Def->IsValueList || !valueListsSeen) << "plain slots come first";
  }
  EXPECT_EQ(s->Slots.front().Def->Name(), "d1");
  EXPECT_EQ(s->Slots.back().Def->Name(), "d69");
}

}  // namespace
}  // namespace norvix::test

namespace norvix::test {
namespace {

// Two definitions of one name: every lookup by that name gives the first.
TEST(FileRoundTrip, DefinitionsSharingANameResolveToTheFirst) {
  Bytes b;
  b.header(2, "T").raw("SD").count(2);
  b.text("x").text("").text("first").byte(0).text("x").text("").text("second").byte(0);
  b.raw("PR").count(1).text("S").text("").raw("R").count(1).text("x").raw("E");
  b.text("").text("").text("").count(1).text("x").text("").text("v");
  AKBase kb;
  ASSERT_TRUE(kb.LoadFromBytes(b.str()));
  ASSERT_EQ(kb.SlotDefs().size(), 2u);
  const AFrame* s = kb.FindFrame("S");
  ASSERT_EQ(s->Slots.size(), 1u);
  EXPECT_EQ(s->Slots[0].Def, kb.SlotDefs()[0].get());
  EXPECT_EQ(s->Slots[0].Value, "v");
  AKBase again;
  ASSERT_TRUE(again.LoadFromBytes(kb.SaveToBytes()));
  EXPECT_EQ(again.SaveToBytes(), kb.SaveToBytes());
}

}  // namespace
}  // namespace norvix::test
