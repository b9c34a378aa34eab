#include "menu.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>

#include "messages.h"

namespace projbase {
namespace {

// A console that answers from a script and records what is written.  An
// empty script is the end of input.
class ScriptedConsole : public Console {
 public:
  struct Reply {
    Input input;
    std::string text;  // a line, or one key as its byte
  };

  std::deque<Reply> script;
  std::string shown;

  void write(std::string_view text) override { shown += text; }
  void newLine() override { shown += '\n'; }
  Input readLine(std::string& line) override {
    if (script.empty()) return Input::End;
    Reply r = pop();
    line = r.text;
    return r.input;
  }
  Input readKey(int& key) override {
    if (script.empty()) return Input::End;
    Reply r = pop();
    key = r.text.empty() ? -1 : static_cast<unsigned char>(r.text[0]);
    return r.input;
  }

 private:
  Reply pop() {
    Reply r = std::move(script.front());
    script.pop_front();
    return r;
  }
};

ScriptedConsole::Reply ok(std::string text) { return {Input::Ok, std::move(text)}; }
const ScriptedConsole::Reply kEsc{Input::Abandoned, ""};

// Saves into `saved`, or fails with `error` while it is not empty.
struct FakeSave {
  std::string error;
  int calls = 0;
  FactSet saved;

  SaveFacts fn() {
    return [this](const FactSet& facts, std::string& e) {
      ++calls;
      if (!error.empty()) {
        e = error;
        return false;
      }
      saved = facts;
      return true;
    };
  }
};

const std::string kMenu = std::string(msg::kMenu1) + "\n" + msg::kMenu2 + "\n" + msg::kMenu3 +
                          "\n" + msg::kMenu4 + "\n" + msg::kMenu0 + "\n";

TEST(ProjbaseMenu, ShowsTheFiveLinesAsTheirWindows1251Bytes) {
  EXPECT_EQ(kMenu,
            "1 - \xCF\xEE\xEB\xF3\xF7\xE5\xED\xE8\xE5 \xE8\xED\xF4\xEE\xF0\xEC\xE0\xF6\xE8\xE8 "
            "\xEE \xEF\xF0\xEE\xE5\xEA\xF2\xE5\n"
            "2 - \xC4\xEE\xE1\xE0\xE2\xEB\xE5\xED\xE8\xE5 \xED\xEE\xE2\xEE\xE9 \xE7\xE0\xEF\xE8"
            "\xF1\xE8 \xE2 \xE1\xE0\xE7\xF3.\n"
            "3 - \xC8\xE7\xEC\xE5\xED\xE5\xED\xE8\xE5 \xE8\xED\xF4\xEE\xF0\xEC\xE0\xF6\xE8\xE8\n"
            "4 - \xD3\xE4\xE0\xEB\xE5\xED\xE8\xE5 \xE7\xE0\xEF\xE8\xF1\xE8 \xE8\xE7 \xE1\xE0\xE7\xFB\n"
            "0 - \xC2\xFB\xE9\xF2\xE8\n");
  ScriptedConsole console;
  console.script = {ok("0")};
  FactSet facts;
  FakeSave save;
  ShowMenu(console, facts, save.fn());
  EXPECT_EQ(console.shown, kMenu + "yes\n");
  EXPECT_EQ(save.calls, 1);
}

TEST(ProjbaseMenu, OtherKeysShowTheMenuAgain) {
  ScriptedConsole console;
  console.script = {ok("5"), ok("\x1B"), ok(""), ok("a"), ok("\xC0"), ok("0")};
  FactSet facts;
  FakeSave save;
  ShowMenu(console, facts, save.fn());
  EXPECT_EQ(console.shown, kMenu + kMenu + kMenu + kMenu + kMenu + kMenu + "yes\n");
}

TEST(ProjbaseMenu, AddAsksThreeQuestionsAndAppends) {
  ScriptedConsole console;
  console.script = {ok("2"), ok("n"), ok("t"), ok("c"), ok("0")};
  FactSet facts = {{"first", "", ""}};
  FakeSave save;
  ShowMenu(console, facts, save.fn());
  EXPECT_EQ(console.shown, kMenu + msg::kAskName + "\n" + msg::kAskTechnology + "\n" +
                               msg::kAskCode + "\n" + kMenu + "yes\n");
  EXPECT_EQ(save.saved, (FactSet{{"first", "", ""}, {"n", "t", "c"}}));
  EXPECT_TRUE(facts.empty()) << "key 0 empties the list after saving";
}

TEST(ProjbaseMenu, LookUpWritesTheCodeAndTheMenuFollowsOnTheSameLine) {
  struct Case {
    std::string name;
    std::string shownCode;
  };
  const Case cases[] = {{"n", "C1"}, {"N", msg::kNoProject}, {"x", msg::kNoProject}};
  for (const Case& c : cases) {
    ScriptedConsole console;
    console.script = {ok("1"), ok(c.name), ok("t"), ok(" "), ok("0")};
    FactSet facts = {{"n", "t", "C1"}, {"n", "t", "C2"}};
    FakeSave save;
    ShowMenu(console, facts, save.fn());
    EXPECT_EQ(console.shown, kMenu + msg::kAskName + "\n" + msg::kAskTechnology + "\n" +
                                 msg::kCodeIs + c.shownCode + kMenu + "yes\n")
        << "looking up " << c.name;
  }
}

TEST(ProjbaseMenu, ChangeAndDeleteAskTheirQuestions) {
  ScriptedConsole console;
  console.script = {ok("3"), ok("a"), ok("t"), ok("new"), ok("4"), ok("2"), ok("0")};
  FactSet facts = {{"a", "t", "1"}, {"b", "t", "2"}, {"c", "t", "2"}};
  FakeSave save;
  ShowMenu(console, facts, save.fn());
  EXPECT_EQ(console.shown, kMenu + msg::kAskName + "\n" + msg::kAskTechnology + "\n" +
                               msg::kAskNewCode + "\n" + kMenu + msg::kAskDeleteCode + "\n" +
                               kMenu + "yes\n");
  EXPECT_EQ(save.saved, (FactSet{{"c", "t", "2"}, {"a", "t", "new"}}));
}

TEST(ProjbaseMenu, EscAtAnyPromptAbandonsTheCommand) {
  using Script = std::deque<ScriptedConsole::Reply>;
  const Script scripts[] = {
      {ok("1"), kEsc},          {ok("1"), ok("a"), kEsc},          {ok("2"), kEsc},
      {ok("2"), ok("a"), kEsc}, {ok("2"), ok("a"), ok("t"), kEsc}, {ok("3"), kEsc},
      {ok("3"), ok("a"), kEsc}, {ok("3"), ok("a"), ok("t"), kEsc}, {ok("4"), kEsc},
  };
  for (const Script& script : scripts) {
    ScriptedConsole console;
    console.script = script;
    console.script.push_back(ok("0"));
    FactSet facts = {{"a", "t", "1"}};
    FakeSave save;
    ShowMenu(console, facts, save.fn());
    EXPECT_EQ(save.saved, (FactSet{{"a", "t", "1"}})) << "command " << script[0].text;
    EXPECT_EQ(console.shown.substr(console.shown.size() - kMenu.size() - 4), kMenu + "yes\n")
        << "command " << script[0].text;
  }
}

TEST(ProjbaseMenu, EndOfInputAnywhereStopsWithoutSaving) {
  using Script = std::deque<ScriptedConsole::Reply>;
  const Script scripts[] = {
      {}, {ok("1")}, {ok("1"), ok("a")}, {ok("1"), ok("a"), ok("t")}, {ok("2"), ok("a"), ok("t")},
      {ok("3"), ok("a"), ok("t")}, {ok("4")},
  };
  for (const Script& script : scripts) {
    ScriptedConsole console;
    console.script = script;
    FactSet facts = {{"a", "t", "1"}};
    FakeSave save;
    ShowMenu(console, facts, save.fn());
    EXPECT_EQ(save.calls, 0) << "script of " << script.size() << " replies";
    EXPECT_EQ(facts.size(), 1u);
  }
}

TEST(ProjbaseMenu, FailedSaveIsReportedAndKeepsEveryRecord) {
  ScriptedConsole console;
  console.script = {ok("2"), ok("n"), ok("t"), ok("c"), ok("0"), ok("1"), ok("n"), ok("t"),
                    ok(" "), ok("0")};
  FactSet facts;
  FakeSave save;
  save.error = "No space left on device";
  // The first 0 fails; the lookup still finds the record; then the cause is
  // gone and the second 0 saves it.
  SaveFacts failing = save.fn();
  SaveFacts fixLater = [&](const FactSet& f, std::string& e) {
    bool result = failing(f, e);
    save.error.clear();
    return result;
  };
  ShowMenu(console, facts, fixLater);
  std::string report = std::string(msg::kSaveFailed) + "knolbases.ddb: No space left on device\n" +
                       msg::kRecordsKept + "\n";
  EXPECT_EQ(console.shown, kMenu + msg::kAskName + "\n" + msg::kAskTechnology + "\n" +
                               msg::kAskCode + "\n" + kMenu + report + kMenu + msg::kAskName +
                               "\n" + msg::kAskTechnology + "\n" + msg::kCodeIs + "c" + kMenu +
                               "yes\n");
  EXPECT_EQ(save.calls, 2);
  EXPECT_EQ(save.saved, (FactSet{{"n", "t", "c"}}));
}

// How the session ends, and its last line, after each way of leaving.
TEST(ProjbaseMenu, EndAfterAFailedSaveSaysTheRecordsWereNotSaved) {
  const std::string notSaved = kMenu + msg::kNotSaved + "\n";
  struct Case {
    const char* what;
    std::deque<ScriptedConsole::Reply> script;
    int failingSaves;
    SessionEnd end;
    std::string tail;  // what the output ends with
  } cases[] = {
      {"saved at once", {ok("0")}, 0, SessionEnd::Saved, kMenu + "yes\n"},
      {"input ends", {ok("2"), ok("n"), ok("t"), ok("c")}, 0, SessionEnd::Ended, kMenu},
      {"failed, then input ends", {ok("0")}, 1, SessionEnd::Unsaved, notSaved},
      {"failed, then ends in a question",
       {ok("0"), ok("2"), ok("n")}, 1, SessionEnd::Unsaved,
       msg::kAskTechnology + std::string("\n") + msg::kNotSaved + "\n"},
      {"failed twice", {ok("0"), ok("0")}, 2, SessionEnd::Unsaved, notSaved},
      {"failed, then saved", {ok("0"), ok("0")}, 1, SessionEnd::Saved, kMenu + "yes\n"},
  };
  for (const Case& c : cases) {
    ScriptedConsole console;
    console.script = c.script;
    FactSet facts = {{"n", "t", "c"}};
    int failuresLeft = c.failingSaves;
    SessionEnd end = ShowMenu(console, facts, [&](const FactSet&, std::string& error) {
      if (failuresLeft == 0) return true;
      --failuresLeft;
      error = "EIO";
      return false;
    });
    EXPECT_EQ(end, c.end) << c.what;
    ASSERT_GE(console.shown.size(), c.tail.size()) << c.what;
    EXPECT_EQ(console.shown.substr(console.shown.size() - c.tail.size()), c.tail) << c.what;
  }
}

TEST(ProjbaseMenu, FindCodeGivesTheFirstCodeOrTheNoProjectText) {
  FactSet facts = {{"n", "t", "1"}, {"n", "t", "2"}};
  EXPECT_EQ(FindCode(facts, "n", "t"), "1");
  EXPECT_EQ(FindCode(facts, "n", "T"), "\xCF\xF0\xEE\xE5\xEA\xF2\xE0 \xE2 \xE1\xE0\xE7\xE5 \xED\xE5\xF2");
}

}  // namespace
}  // namespace projbase
