#include "dialogue.h"

#include <gtest/gtest.h>

#include "cp1251.h"

namespace pbtest {

Dialogue operator+(Dialogue a, const Dialogue& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Dialogue addRecord(const std::string& name, const std::string& technology, const std::string& code) {
  return {{kMenuEnd, "2"},
          {kAskName, name + "\r"},
          {kAskTechnology, technology + "\r"},
          {kAskCode, code + "\r"}};
}

Dialogue lookUp(const std::string& name, const std::string& technology, const std::string& shown) {
  return {{kMenuEnd, "1"},
          {kAskName, name + "\r"},
          {kAskTechnology, technology + "\r"},
          {kCodeIs + shown, " "}};
}

Dialogue changeCode(const std::string& name, const std::string& technology, const std::string& code) {
  return {{kMenuEnd, "3"},
          {kAskName, name + "\r"},
          {kAskTechnology, technology + "\r"},
          {kAskNewCode, code + "\r"}};
}

Dialogue deleteRecord(const std::string& code) {
  return {{kMenuEnd, "4"}, {kAskDelete, code + "\r"}};
}

Dialogue saveAndLeave() { return {{kMenuEnd, "0"}, {"yes\n", ""}}; }

int runInTerminal(const std::string& dir, const Dialogue& dialogue, std::string* shown) {
  PtyRun run(dir);
  for (const Step& step : dialogue) {
    if (!step.waitFor.empty() && !run.expect(step.waitFor)) {
      int status = run.finish();
      ADD_FAILURE() << "never shown: \"" << step.waitFor << "\"; exit status " << status
                    << "\nscreen:\n" << run.transcript();
      return -1;
    }
    run.send(step.type);
  }
  int status = run.finish();
  if (shown) *shown = run.transcript();
  return status;
}

std::string scriptOf(const Dialogue& dialogue) {
  std::string script;
  for (const Step& step : dialogue)
    for (char c : step.type) script += c == '\r' ? '\n' : c;
  return script;
}

std::string win(const std::string& utf8) { return cp1251::fromUtf8(utf8); }

}  // namespace pbtest
