// The command line of norvix.
#include <gtest/gtest.h>

#include "command_line.h"

namespace norvix {
namespace {

using Mode = CommandLine::Mode;

TEST(CommandLine, TableOfCases) {
  struct Case {
    std::vector<std::string> args;
    Mode mode;
    std::string file;
    bool splash;
  } cases[] = {
      {{}, Mode::Windowed, "", true},
      {{"kb.dat"}, Mode::Windowed, "kb.dat", true},
      {{"--no-splash"}, Mode::Windowed, "", false},
      {{"--no-splash", "kb.dat"}, Mode::Windowed, "kb.dat", false},
      {{"kb.dat", "--no-splash"}, Mode::Windowed, "kb.dat", false},
      {{"--", "-odd.dat"}, Mode::Windowed, "-odd.dat", true},
      {{"--consult", "kb.dat"}, Mode::Consult, "kb.dat", true},
      {{"--help"}, Mode::Help, "", true},
      {{"-h"}, Mode::Help, "", true},
      {{"--version"}, Mode::Version, "", true},
      {{"--consult"}, Mode::Wrong, "", true},
      {{"--consult", "a", "b"}, Mode::Wrong, "", true},
      {{"a", "b"}, Mode::Wrong, "", true},
      {{"--bogus"}, Mode::Wrong, "", true},
      {{"--help", "x"}, Mode::Wrong, "", true},
      {{""}, Mode::Wrong, "", true},
  };
  for (const Case& c : cases) {
    std::string shown;
    for (const std::string& a : c.args) shown += "[" + a + "]";
    CommandLine cl = ParseCommandLine(c.args);
    EXPECT_EQ(cl.mode, c.mode) << shown;
    if (c.mode != Mode::Wrong) {
      EXPECT_EQ(cl.file, c.file) << shown;
      EXPECT_EQ(cl.showSplash, c.splash) << shown;
    }
  }
}

}  // namespace
}  // namespace norvix
