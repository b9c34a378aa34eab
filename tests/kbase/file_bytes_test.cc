// The file's layout, byte for byte, from hand-written bytes.
#include <gtest/gtest.h>

#include "file_bytes.h"
#include "test_support.h"

namespace norvix::test {

Bytes& Bytes::header(unsigned char version, std::string_view target) {
  raw("ZRB").byte(version);
  text("").text("").text("").text("").byte(2);
  return text(target).text(W("Диалог:")).text(W("Найдено решение:")).text(W("Решений не найдено."));
}

namespace {

TEST(FileBytes, EmptyKnowledgeBase) {
  AKBase kb;
  std::string expected = Bytes().header().raw("SD").count(0).raw("PR").count(0).str();
  EXPECT_EQ(kb.SaveToBytes(), expected);
  AKBase loaded;
  ErrorRecorder errors;
  EXPECT_TRUE(loaded.LoadFromBytes(expected));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_EQ(loaded.SaveToBytes(), expected);
  EXPECT_FALSE(loaded.Modified);
}

TEST(FileBytes, ProjectFieldsAndAutoReportOff) {
  AKBase kb;
  kb.ProjectName = W("Сад");
  kb.Purpose = "p";
  kb.Subject = "s";
  kb.Author = "a";
  kb.AutoReport = false;
  kb.TargetFrame = "T";
  kb.Invitation = "i";
  kb.SuccessMsg = "ok";
  kb.FailMsg = "no";
  std::string expected = Bytes()
                             .raw("ZRB").byte(2)
                             .text(W("Сад")).text("p").text("s").text("a").byte(0)
                             .text("T").text("i").text("ok").text("no")
                             .raw("SD").count(0).raw("PR").count(0).str();
  EXPECT_EQ(kb.SaveToBytes(), expected);
  AKBase loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(expected));
  EXPECT_FALSE(loaded.AutoReport);
  EXPECT_EQ(loaded.ProjectName, W("Сад"));
  EXPECT_EQ(loaded.TargetFrame, "T");
}

TEST(FileBytes, FrameUnderARoot) {
  AKBase kb;
  AFrame* a = kb.AddFrame(W("A"), nullptr);
  kb.AddFrame("B", a);
  std::string expected = Bytes()
                             .header().raw("SD").count(0).raw("PR").count(2)
                             .text("A").text("").raw("R").count(0).raw("P")
                             .text("B").text("").raw("P").text("A").count(0).raw("P")
                             .str();
  EXPECT_EQ(kb.SaveToBytes(), expected);
  AKBase loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(expected));
  ASSERT_EQ(loaded.Frames().size(), 2u);
  EXPECT_EQ(loaded.FindFrame("B")->Parent, loaded.FindFrame("A"));
}

TEST(FileBytes, SlotDefinitionRecords) {
  AKBase kb;
  ASlotDef* plain = kb.AddSlotDef("plain");
  plain->Definition = {"line 1", "line 2"};
  plain->DefaultValue = "d";
  plain->DecomposeMsg = "dropped: not decomposed";
  ASlotDef* dec = kb.AddSlotDef("dec");
  dec->IsValueList = true;
  dec->Decompose = true;
  dec->DecomposeMsg = "%f";
  std::string expected = Bytes()
                             .header().raw("SD").count(2)
                             .text("plain").text("line 1\r\nline 2\r\n").text("d").byte(0)
                             .text("dec").text("").text("").byte(3).text("%f")
                             .raw("PR").count(0).str();
  EXPECT_EQ(kb.SaveToBytes(), expected);
  AKBase loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(expected));
  const ASlotDef* p = loaded.FindSlotDef("plain");
  const ASlotDef* d = loaded.FindSlotDef("dec");
  ASSERT_TRUE(p && d);
  EXPECT_EQ(p->Definition, (Lines{"line 1", "line 2"}));
  EXPECT_EQ(p->DecomposeMsg, "");
  EXPECT_TRUE(d->IsValueList);
  EXPECT_TRUE(d->Decompose);
  EXPECT_EQ(d->DecomposeMsg, "%f");
}

TEST(FileBytes, SampleRecord) {
  AKBase kb;
  kb.AddSlotDef("x")->DefaultValue = "dx";
  kb.AddSlotDef("y");
  AFrame* p = kb.AddFrame("P", nullptr);
  AFrame* s = kb.AddFrame("S", p);
  kb.AttachSlot("P", "x");
  kb.AttachSlot("P", "y");
  s->SetSample(true);
  s->OfferMsg = "o";
  s->SuccessMsg = "s";
  s->FailMsg = "f";
  s->Slots[1].Value = "vy";
  s->Slots[1].Note = "ny";
  std::string expected = Bytes()
                             .header().raw("SD").count(2)
                             .text("x").text("").text("dx").byte(0)
                             .text("y").text("").text("").byte(0)
                             .raw("PR").count(2)
                             .text("P").text("").raw("R").count(2).text("x").text("y").raw("P")
                             .text("S").text("").raw("P").text("P").count(0).raw("E")
                             .text("o").text("s").text("f").count(2)
                             .text("x").text("").text("dx").text("y").text("ny").text("vy")
                             .str();
  EXPECT_EQ(kb.SaveToBytes(), expected);
}

TEST(FileBytes, SampleListingFewerSlotsKeepsTheDefaults) {
  std::string file = Bytes()
                         .header().raw("SD").count(2)
                         .text("x").text("").text("dx").byte(0)
                         .text("y").text("").text("dy").byte(0)
                         .raw("PR").count(1)
                         .text("S").text("").raw("R").count(2).text("y").text("x").raw("E")
                         .text("").text("").text("").count(1)
                         .text("y").text("n").text("vy")
                         .str();
  AKBase kb;
  ASSERT_TRUE(kb.LoadFromBytes(file));
  const AFrame* s = kb.FindFrame("S");
  ASSERT_EQ(test::SlotNames(*s), (std::vector<std::string>{"y", "x"}));
  EXPECT_EQ(s->Slots[0].Value, "vy");
  EXPECT_EQ(s->Slots[0].Note, "n");
  EXPECT_EQ(s->Slots[1].Value, "dx");
}

TEST(FileBytes, OwnDefinitionsFollowTheOrderingRuleWhateverTheFileOrder) {
  std::string file = Bytes()
                         .header().raw("SD").count(2)
                         .text("l").text("").text("").byte(1)
                         .text("p").text("").text("").byte(0)
                         .raw("PR").count(1)
                         .text("F").text("").raw("R").count(2).text("l").text("p").raw("P")
                         .str();
  AKBase kb;
  ASSERT_TRUE(kb.LoadFromBytes(file));
  EXPECT_EQ(test::OwnDefNames(*kb.FindFrame("F")), (std::vector<std::string>{"p", "l"}));
}

TEST(FileBytes, VersionsBelowThreeReadAlike) {
  for (unsigned char version : {0, 1, 2, 0x80, 0xFF}) {
    std::string file = Bytes().header(version, "T").raw("SD").count(0).raw("PR").count(0).str();
    AKBase kb;
    ErrorRecorder errors;
    EXPECT_TRUE(kb.LoadFromBytes(file)) << "version byte " << int(version);
    EXPECT_EQ(kb.TargetFrame, "T") << "version byte " << int(version);
    EXPECT_TRUE(errors.messages.empty());
  }
}

TEST(FileBytes, VersionThreeAndAboveAreRefused) {
  for (unsigned char version : {3, 4, 0x7F}) {
    std::string file = Bytes().header(version, "T").raw("SD").count(0).raw("PR").count(0).str();
    AKBase kb;
    ErrorRecorder errors;
    EXPECT_FALSE(kb.LoadFromBytes(file)) << "version byte " << int(version);
    EXPECT_EQ(errors.messages,
              std::vector<std::string>{W("Файл был создан более поздней версией программы!")});
    EXPECT_EQ(kb.TargetFrame, "") << "nothing read";
  }
}

TEST(FileBytes, MissingSectionsAreSkipped) {
  // A file that ends after the header texts has no sections; one with other
  // markers skips them.
  for (std::string tail : {std::string(), std::string("XX"), std::string("S")}) {
    AKBase kb;
    ErrorRecorder errors;
    EXPECT_TRUE(kb.LoadFromBytes(Bytes().header(2, "T").raw(tail).str())) << "tail " << tail;
    EXPECT_TRUE(errors.messages.empty());
    EXPECT_EQ(kb.TargetFrame, "T");
  }
}

}  // namespace
}  // namespace norvix::test
