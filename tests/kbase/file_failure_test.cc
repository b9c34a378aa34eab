// Every load failure, each from a damaged file, with what remains after it.
#include <gtest/gtest.h>

#include "file_bytes.h"
#include "test_support.h"

namespace norvix::test {
namespace {

using Names = std::vector<std::string>;

// Slot definitions x and y, then the frame section header with `frames`.
Bytes BaseWithDefs(int frames) {
  Bytes b;
  b.header(2, "T").raw("SD").count(2);
  b.text("x").text("").text("dx").byte(0);
  b.text("y").text("").text("").byte(0);
  b.raw("PR").count(frames);
  return b;
}

TEST(FileFailure, FileThatCannotBeOpened) {
  ScratchDir dir;
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.LoadFromFile(dir.file("missing.dat")));
  EXPECT_EQ(errors.messages, Names{W("Невозможно открыть файл!\n") + dir.file("missing.dat") +
                                   W(": нет такого файла или папки")});
  EXPECT_TRUE(kb.Frames().empty());
  EXPECT_EQ(kb.Invitation, W("Диалог:"));
}

TEST(FileFailure, WrongMagic) {
  for (std::string bytes : {std::string("ZRA\x02"), std::string("ZR"), std::string(),
                            std::string("zrb\x02rest")}) {
    AKBase kb;
    ErrorRecorder errors;
    EXPECT_FALSE(kb.LoadFromBytes(bytes)) << bytes;
    EXPECT_EQ(errors.messages, Names{W("Файл невозможно интерпретировать!")}) << bytes;
    EXPECT_EQ(kb.ProjectName, "");
    EXPECT_FALSE(kb.Modified);
  }
}

TEST(FileFailure, ParentThatPrecedesNoRecord) {
  std::string file = BaseWithDefs(3)
                         .text("A").text("").raw("R").count(0).raw("P")
                         .text("B").text("").raw("P").text("Nobody").count(0).raw("P")
                         .text("C").text("").raw("R").count(0).raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, Names{"bad hierarchy!"});
  EXPECT_EQ(FrameNames(kb), Names{"A"}) << "what was read so far";
  EXPECT_EQ(kb.TargetFrame, "T");
}

TEST(FileFailure, ParentThatIsASampleIsABrokenHierarchy) {
  std::string file = BaseWithDefs(2)
                         .text("S").text("").raw("R").count(0).raw("E")
                         .text("").text("").text("").count(0)
                         .text("C").text("").raw("P").text("S").count(0).raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, Names{"bad hierarchy!"});
  EXPECT_EQ(FrameNames(kb), Names{"S"});
  EXPECT_TRUE(kb.FindFrame("S")->Children.empty());
}

TEST(FileFailure, HierarchyByteNeitherPNorR) {
  // The cut record leaves the stream where the next record begins here.
  std::string file = BaseWithDefs(2)
                         .text("A").text("").raw("X")
                         .text("B").text("").raw("R").count(0).raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_TRUE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, Names{"angry bug!"});
  EXPECT_EQ(FrameNames(kb), Names{"B"});
  EXPECT_FALSE(kb.Modified);
}

TEST(FileFailure, OwnSlotDefinitionNotFound) {
  std::string file = BaseWithDefs(2)
                         .text("A").text("").raw("R").count(3).text("x").text("zz").text("y")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  // The record is cut after "zz"; the next bytes ("y" as the second frame
  // record) end inside it, which ends the load.
  EXPECT_FALSE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, (Names{"angry bug2!", W("Файл невозможно интерпретировать!")}));
  ASSERT_EQ(FrameNames(kb), Names{"A"});
  EXPECT_EQ(OwnDefNames(*kb.FindFrame("A")), Names{"x"}) << "the definitions read so far";
}

TEST(FileFailure, OwnSlotDefinitionNotFoundAtTheEnd) {
  std::string file = BaseWithDefs(1)
                         .text("A").text("").raw("R").count(2).text("x").text("zz").str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_TRUE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, (Names{"angry bug2!"}));
  EXPECT_EQ(OwnDefNames(*kb.FindFrame("A")), Names{"x"});
}

TEST(FileFailure, KindByteNeitherPNorE) {
  std::string file = BaseWithDefs(2)
                         .text("A").text("").raw("R").count(1).text("x").raw("Q")
                         .text("B").text("").raw("P").text("A").count(0).raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_TRUE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, Names{"angry bug3!"});
  EXPECT_FALSE(kb.FindFrame("A")->IsSample);
  EXPECT_EQ(FrameNames(kb), (Names{"A", "B"}));
}

TEST(FileFailure, SlotRecordNamingNoDefinition) {
  std::string file = BaseWithDefs(2)
                         .text("S").text("").raw("R").count(1).text("x").raw("E")
                         .text("o").text("").text("").count(2)
                         .text("x").text("").text("vx")
                         .text("nope").text("").text("")
                         .text("Z").text("").raw("R").count(0).raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.LoadFromBytes(file));
  EXPECT_EQ(errors.messages, Names{"angry bug5"});
  EXPECT_EQ(FrameNames(kb), Names{"S"});
  const AFrame* s = kb.FindFrame("S");
  EXPECT_TRUE(s->IsSample);
  EXPECT_EQ(s->Slots[0].Value, "vx");
  EXPECT_EQ(s->OfferMsg, "o");
}

TEST(FileFailure, SlotRecordForADefinitionTheSampleLacksIsSkipped) {
  std::string file = BaseWithDefs(1)
                         .text("S").text("").raw("R").count(1).text("x").raw("E")
                         .text("").text("").text("").count(2)
                         .text("y").text("").text("vy")
                         .text("x").text("").text("vx")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_TRUE(kb.LoadFromBytes(file));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_EQ(SlotNames(*kb.FindFrame("S")), Names{"x"});
  EXPECT_EQ(kb.FindFrame("S")->Slots[0].Value, "vx");
}

TEST(FileFailure, CountsAndLengthsBeyondTheFileStopTheLoad) {
  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"text longer than the file", Bytes().raw("ZRB").byte(2).count(1000).raw("abc").str()},
      {"negative text length", Bytes().raw("ZRB").byte(2).count(-1).str()},
      {"huge slot definition count", Bytes().header().raw("SD").count(0x7FFFFFFF).str()},
      {"negative slot definition count", Bytes().header().raw("SD").count(-5).str()},
      {"huge frame count", BaseWithDefs(0x40000000).str()},
      {"huge own definition count",
       BaseWithDefs(1).text("A").text("").raw("R").count(0x10000000).str()},
      {"huge slot record count",
       BaseWithDefs(1).text("A").text("").raw("R").count(0).raw("E")
           .text("").text("").text("").count(0x7FFFFFF0).str()},
      {"file ends inside a frame record", BaseWithDefs(1).text("A").str()},
  };
  for (const Case& c : cases) {
    AKBase kb;
    ErrorRecorder errors;
    EXPECT_FALSE(kb.LoadFromBytes(c.bytes)) << c.name;
    EXPECT_EQ(errors.messages, Names{W("Файл невозможно интерпретировать!")}) << c.name;
  }
}

// Every prefix of a valid file loads or fails cleanly: never a crash, and a
// failure always says why.
TEST(FileFailure, EveryTruncationIsHandled) {
  AKBase kb;
  kb.AddSlotDef("x")->Decompose = true;
  kb.AddSlotDef("y")->IsValueList = true;
  AFrame* p = kb.AddFrame("P", nullptr);
  p->Definition = {"def"};
  AFrame* s = kb.AddFrame("S", p);
  kb.AttachSlot("P", "x");
  kb.AttachSlot("P", "y");
  s->SetSample(true);
  s->Slots[0].Value = "v";
  std::string full = kb.SaveToBytes();
  for (size_t n = 0; n < full.size(); ++n) {
    AKBase loaded;
    ErrorRecorder errors;
    bool ok = loaded.LoadFromBytes(full.substr(0, n));
    if (!ok) {
      EXPECT_EQ(errors.messages.size(), 1u) << "prefix of " << n << " bytes";
    }
  }
}

}  // namespace
}  // namespace norvix::test

namespace norvix::test {
namespace {

// A later record of a frame read before adds to it; samples below get the
// slots of the definitions it adds, so the base stays consistent.
TEST(FileFailure, RepeatedRecordKeepsSamplesConsistent) {
  std::string file = BaseWithDefs(3)
                         .text("A").text("").raw("R").count(1).text("x").raw("P")
                         .text("S").text("").raw("P").text("A").count(0).raw("E")
                         .text("").text("").text("").count(1).text("x").text("").text("vx")
                         .text("A").text("from the later record").raw("R").count(1).text("y").raw("P")
                         .str();
  AKBase kb;
  ErrorRecorder errors;
  ASSERT_TRUE(kb.LoadFromBytes(file));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_EQ(FrameNames(kb), (Names{"A", "S"}));
  EXPECT_EQ(kb.FindFrame("A")->Definition, Lines{"from the later record"});
  const AFrame* s = kb.FindFrame("S");
  ASSERT_EQ(SlotNames(*s), (Names{"x", "y"}));
  EXPECT_EQ(s->Slots[0].Value, "vx");
  AKBase again;
  ASSERT_TRUE(again.LoadFromBytes(kb.SaveToBytes()));
  EXPECT_EQ(again.SaveToBytes(), kb.SaveToBytes());
}

// Samples take their slots (with the defaults) from the definitions, so a
// small file could ask for far more memory than it holds; such a file is
// refused.
TEST(FileFailure, SlotsOutOfAllProportionToTheFileAreRefused) {
  const int samples = 1000;
  Bytes b;
  b.header(2, "T").raw("SD").count(1).text("big").text("").text(std::string(100000, 'v')).byte(0);
  b.raw("PR").count(samples + 1).text("P").text("").raw("R").count(1).text("big").raw("P");
  for (int i = 0; i < samples; ++i)
    b.text("s" + std::to_string(i)).text("").raw("P").text("P").count(0).raw("E")
        .text("").text("").text("").count(0);
  AKBase kb;
  ErrorRecorder errors;
  EXPECT_FALSE(kb.LoadFromBytes(b.str()));
  EXPECT_EQ(errors.messages, Names{W("Файл невозможно интерпретировать!")});
  EXPECT_LT(kb.Frames().size(), static_cast<size_t>(samples));
}

}  // namespace
}  // namespace norvix::test
