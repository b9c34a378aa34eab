// An engine host for tests: answers from a script, records the dialog as
// the main window's text area would show it, and the state of the controls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp1251.h"
#include "engine.h"
#include "kbase_builder.h"
#include "win_text.h"

namespace norvix::test {

class ScriptedHost : public EngineHost {
 public:
  // `script`: one character a step: 'y' yes, 'n' no, 'c' cancel, '?' the
  // "Почему?" command (the question stays open).
  explicit ScriptedHost(std::string script) : script_(std::move(script)) {}

  void SetEngine(Engine* engine) { engine_ = engine; }

  // Starts over with a new script and nothing recorded.
  void Restart(std::string script) {
    script_ = std::move(script);
    next_ = 0;
    lines.clear();
    questions.clear();
    events.clear();
    added.clear();
  }

  void PrintLine(const std::string& text) override { lines.push_back(text); }

  Reply Ask(const std::string& line) override {
    lines.push_back(line);
    questions.push_back(line);
    while (true) {
      if (next_ >= script_.size()) {
        ADD_FAILURE() << "unexpected question: " << cp1251::toUtf8(line);
        return Reply::Cancel;
      }
      char step = script_[next_++];
      if (step == '?') {
        engine_->Why();
        continue;
      }
      if (step == 'y') lines.back() += W("[Д]");
      if (step == 'n') lines.back() += W("[Н]");
      return step == 'y' ? Reply::Yes : step == 'n' ? Reply::No : Reply::Cancel;
    }
  }

  void ShowAnswerPanel(bool visible) override { events.push_back(visible ? "panel on" : "panel off"); }
  void EnableToolbar(bool on) override { events.push_back(on ? "toolbar on" : "toolbar off"); }
  void EnableReportButton(bool on) override { events.push_back(on ? "report on" : "report off"); }
  void ClearTree() override { events.push_back("clear tree"); }
  void AddChild(const ResultNode* parent, const ResultNode& node) override {
    added.push_back((parent ? parent->Text : std::string("-")) + " > " + node.Text);
  }

  bool ScriptUsedUp() const { return next_ == script_.size(); }

  std::vector<std::string> lines;      // the text area, line by line
  std::vector<std::string> questions;  // every question asked
  std::vector<std::string> events;     // control state changes in order
  std::vector<std::string> added;      // "parent > node" for every AddChild

 private:
  std::string script_;
  size_t next_ = 0;
  Engine* engine_ = nullptr;
};

}  // namespace norvix::test
