// The frame reader of the browser windows, and the Lisp texts the windows
// run, over the real interpreter.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "captured_console.h"
#include "cp1251_literal.h"
#include "frame_inspect.h"
#include "lisp_commands.h"
#include "streams.h"
#include "toplevel.h"

using namespace velloq;
using namespace cp1251::literals;

namespace {

using lisptest::captured;

class FrameInspectTest : public lisptest::CapturedConsoleTest {
 protected:
  void run(const std::string& text) {
    evaluate(text);
    ASSERT_EQ(captured.find("error"), std::string::npos) << text << " printed " << captured;
  }
  void runAll(const std::vector<std::string>& texts) {
    for (const std::string& t : texts) run(t + "\n");
  }
};

const InspectedSlot* find(const InspectedFrame& f, const std::string& name) {
  for (const InspectedSlot& s : f.slot_list)
    if (s.name == name) return &s;
  return nullptr;
}

const std::vector<std::string> kCar = {
    "(ADDFRAME 'CAR)", "(SETQ CAR^COLOR 'RED)", "(SETQ CAR^WHEELS 4)",
    "(SETQ CAR^NOTE \"a\nb\")", "(DEFUN CAR^GO (X Y) (+ X Y) (* X Y))",
    "(ADDFRAME 'OWNER1)", "(SETQ CAR^BOSS OWNER1)", "(SETQ CAR^LIST '(1 (2 . 3)))",
    "(ADDCHILD 'CAR)", "(SETQ CAR1^WHEELS 6)", "(ADDCHILD 'CAR1)"};

struct SlotCase {
  const char* frame;
  const char* slot;
  bool inherited;
  const char* source;
  const char* value;
  const char* form;
  const char* parameters;  // null: no method
  const char* body;
};

TEST_F(FrameInspectTest, SlotsTable) {
  runAll(kCar);
  const SlotCase cases[] = {
      {"CAR", "COLOR", false, "CAR", "RED", "'RED", nullptr, nullptr},
      {"CAR", "WHEELS", false, "CAR", "4", "4", nullptr, nullptr},
      {"CAR", "NOTE", false, "CAR", "\"a\\nb\"", "\"a\\nb\"", nullptr, nullptr},
      {"CAR", "GO", false, "CAR", "NIL", "NIL", "(X Y)", "(+ X Y)\n(* X Y)"},
      {"CAR", "BOSS", false, "CAR", "[OWNER1: (IS)]", "OWNER1", nullptr, nullptr},
      {"CAR", "LIST", false, "CAR", "(1 (2 . 3))", "'(1 (2 . 3))", nullptr, nullptr},
      {"CAR1", "WHEELS", false, "CAR1", "6", "6", nullptr, nullptr},
      {"CAR1", "COLOR", true, "CAR", "RED", "'RED", nullptr, nullptr},
      {"CAR1", "GO", true, "CAR", "NIL", "NIL", "(X Y)", "(+ X Y)\n(* X Y)"},
      {"CAR11", "WHEELS", true, "CAR1", "6", "6", nullptr, nullptr},
      {"CAR11", "COLOR", true, "CAR", "RED", "'RED", nullptr, nullptr},
  };
  for (const SlotCase& c : cases) {
    SCOPED_TRACE(std::string(c.frame) + "^" + c.slot);
    InspectedFrame f;
    ASSERT_TRUE(inspect_frame(c.frame, &f));
    const InspectedSlot* s = find(f, c.slot);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->inherited, c.inherited);
    EXPECT_EQ(s->source, c.source);
    EXPECT_EQ(s->value, c.value);
    EXPECT_EQ(s->value_form, c.form);
    EXPECT_EQ(s->has_method, c.parameters != nullptr);
    if (c.parameters) {
      EXPECT_EQ(s->parameters, c.parameters);
      EXPECT_EQ(s->body, c.body);
    }
  }
}

TEST_F(FrameInspectTest, OwnSlotsInOrderThenInheritedNearestFirst) {
  runAll(kCar);
  InspectedFrame f;
  ASSERT_TRUE(inspect_frame("CAR11", &f));
  std::vector<std::string> names, sources;
  for (const InspectedSlot& s : f.slot_list) {
    names.push_back(s.name);
    sources.push_back(s.source);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"IS", "WHEELS", "COLOR", "NOTE", "GO", "BOSS", "LIST"}));
  EXPECT_EQ(sources, (std::vector<std::string>{"CAR11", "CAR1", "CAR", "CAR", "CAR", "CAR", "CAR"}));
  EXPECT_TRUE(f.slot_list[0].inheritance);
  EXPECT_EQ(f.slot_list[0].value_form, "CAR1");
  EXPECT_EQ(f.parents, std::vector<std::string>{"CAR1"});
  EXPECT_FALSE(f.system);
}

TEST_F(FrameInspectTest, ChildrenSortedAndSystemFrames) {
  const std::string apple("ЯБЛОКО"_cp1251.view()), melon("арбуз"_cp1251.view());
  runAll({"(ADDFRAME 'ZETA)", "(ADDFRAME 'alpha)", "(ADDFRAME '|beta|)", "(ADDFRAME '" + apple + ")",
          "(ADDFRAME '|" + melon + "|)"});
  std::vector<std::string> under;
  for (const std::string& n : frame_child_names("FRAME"))
    if (n == "ZETA" || n == "ALPHA" || n == "beta" || n == apple || n == melon) under.push_back(n);
  EXPECT_EQ(under, (std::vector<std::string>{"ALPHA", "beta", "ZETA", melon, apple}));
  EXPECT_TRUE(frame_is_system("NODE"));
  EXPECT_TRUE(frame_is_system("FRAME"));
  EXPECT_FALSE(frame_is_system("ZETA"));
  EXPECT_TRUE(frame_is_system("ON_SETVAL"));
  run("(ADDFRAME 'CAR)\n");  // the name of a built-in function
  EXPECT_FALSE(frame_is_system("CAR"));
  EXPECT_FALSE(frame_is_system("NO-SUCH-FRAME"));
  EXPECT_TRUE(frame_has_children("NODE"));
  EXPECT_FALSE(frame_has_children("ZETA"));
  InspectedFrame f;
  EXPECT_FALSE(inspect_frame("NO-SUCH-FRAME", &f));
  EXPECT_TRUE(frame_child_names("NO-SUCH-FRAME").empty());
}

TEST_F(FrameInspectTest, DeletionTakesDescendantsDeepestFirst) {
  runAll({"(ADDFRAME 'A)", "(ADDCHILD 'A)", "(ADDCHILD 'A)", "(ADDCHILD 'A1)", "(ADDFRAME 'B)"});
  const std::vector<std::string> doomed = frame_subtree_for_deletion("A");
  ASSERT_EQ(doomed.size(), 4u);
  EXPECT_EQ(doomed.back(), "A");
  auto at = [&](const char* n) { return std::find(doomed.begin(), doomed.end(), n) - doomed.begin(); };
  EXPECT_LT(at("A11"), at("A1"));
  EXPECT_LT(at("A2"), at("A"));
  EXPECT_EQ(frame_subtree_for_deletion("B"), std::vector<std::string>{"B"});
  EXPECT_TRUE(frame_subtree_for_deletion("NO-SUCH-FRAME").empty());
}

TEST_F(FrameInspectTest, ProjectFramesGroupedByDatabase) {
  runAll({"(ADDFRAME 'A)", "(SETQ A^DATABASE \"one.dat\")", "(ADDCHILD 'A)",
          "(ADDCHILD 'A1)", "(SETQ A11^DATABASE \"two.dat\")", "(ADDFRAME 'LOOSE)"});
  const std::vector<DatabaseFrames> dbs = project_database_frames();
  ASSERT_EQ(dbs.size(), 2u);
  EXPECT_EQ(dbs[0].file, "one.dat");
  EXPECT_EQ(dbs[0].frames, (std::vector<std::string>{"A", "A1"}));
  EXPECT_EQ(dbs[1].file, "two.dat");
  EXPECT_EQ(dbs[1].frames, std::vector<std::string>{"A11"});
}

TEST_F(FrameInspectTest, CircularAndHugeValuesAreCut) {
  runAll({"(ADDFRAME 'A)", "(SETQ L (LIST 1 2))", "(RPLACD (CDR L) L)",
          "(SETQ A^LOOP L)", "(SETQ S \"xxxxxxxx\")",
          "(DOTIMES (I 13) (SETQ S (STRCAT S S)))",
          "(SETQ A^BIG S)"});
  InspectedFrame f;
  ASSERT_TRUE(inspect_frame("A", &f));
  const InspectedSlot* loop = find(f, "LOOP");
  ASSERT_NE(loop, nullptr);
  EXPECT_EQ(loop->value, "...");
  const InspectedSlot* big = find(f, "BIG");
  ASSERT_NE(big, nullptr);
  EXPECT_EQ(big->value.size(), size_t(kMaxPrintedBytes) + 4);
  EXPECT_EQ(big->value.substr(big->value.size() - 4), " ...");
  EXPECT_EQ(big->value.substr(0, 4), "\"xxx");
  // The interpreter still works after the cut printing.
  run("(PRINT 12)\n");
  EXPECT_NE(captured.find("12"), std::string::npos);
}

struct NameCase {
  const char* name;
  const char* text;
};

TEST(LispNameTest, Table) {
  const NameCase cases[] = {
      {"CAR", "CAR"},   {"ON_SETVAL", "ON_SETVAL"}, {"*TRIGGERS*", "*TRIGGERS*"},
      {"12", "|12|"},   {"-1.5", "|-1.5|"},         {"a", "|a|"},
      {"A B", "|A B|"}, {"A|B", "|A\\|B|"},         {"", "||"},
      {"ЯБЛОКО"_cp1251.c_str(), "ЯБЛОКО"_cp1251.c_str()},
      {"яблоко"_cp1251.c_str(), "|яблоко|"_cp1251.c_str()},  {"A^B", "|A^B|"},
      {".X", "|.X|"},   {"-", "-"},
  };
  for (const NameCase& c : cases) EXPECT_EQ(velloq_browser::lispName(c.name), c.text) << c.name;
}

// The texts run by the windows do what they say through the top level.
TEST_F(FrameInspectTest, CommandTextsRunThroughTheTopLevel) {
  using namespace velloq_browser;
  run(addNamedChildText("FRAME", "P"));
  run(addChildText("P"));
  run(addNamedChildText("P", "Q"));
  EXPECT_EQ(frame_child_names("P"), (std::vector<std::string>{"P1", "Q"}));
  run(setSlotValueText("Q", "COLOR", "'(RED ; a comment\n GREEN)"));
  InspectedFrame f;
  ASSERT_TRUE(inspect_frame("Q", &f));
  ASSERT_NE(find(f, "COLOR"), nullptr);
  EXPECT_EQ(find(f, "COLOR")->value, "(RED GREEN)");
  run(asRunText(methodText("Q", "AREA", "(W H)", "(* W H)")));
  run("(PRINT (Q^AREA 3 4))\n");
  EXPECT_NE(captured.find("12"), std::string::npos) << captured;
  run(deleteSlotText("Q", "COLOR"));
  run(setParentsText("Q", "FRAME"));
  ASSERT_TRUE(inspect_frame("Q", &f));
  EXPECT_EQ(find(f, "COLOR"), nullptr);
  EXPECT_EQ(f.parents, std::vector<std::string>{"FRAME"});
  run(assignSlotText("Q", "IS", "P1"));
  ASSERT_TRUE(inspect_frame("Q", &f));
  EXPECT_EQ(f.parents, std::vector<std::string>{"P1"});
  run(setParentsText("Q", "FRAME"));
  run(deleteFramesText(frame_subtree_for_deletion("P")));
  EXPECT_FALSE(frame_exists("P"));
  EXPECT_FALSE(frame_exists("P1"));
  EXPECT_TRUE(frame_exists("Q"));
}

}  // namespace
