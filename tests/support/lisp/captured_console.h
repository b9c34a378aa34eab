// A test fixture with the interpreter started and its console captured
// into a string, for tests that drive the core directly.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "streams.h"
#include "toplevel.h"

namespace lisptest {

// What the interpreter wrote to its console since the last clear.
inline std::string captured;

inline void capture_char(void*, int c, bool) { captured.push_back(static_cast<char>(c)); }
inline void capture_string(void*, const char* s, bool) { captured += s; }

class CapturedConsoleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    velloq::console = velloq::ConsoleIO{};
    velloq::console.write_char = capture_char;
    velloq::console.write_string = capture_string;
    ASSERT_TRUE(velloq::start_interpreter());
    captured.clear();
  }
  void TearDown() override {
    velloq::stop_interpreter();
    velloq::console = velloq::ConsoleIO{};
  }
  // Runs text through the top level; returns the value-printed flag, what
  // it printed is in `captured`.
  static int evaluate(const std::string& text) {
    captured.clear();
    int more = -1;
    velloq::evaluate_top_level_text(text.c_str(), &more);
    return more;
  }
};

}  // namespace lisptest
