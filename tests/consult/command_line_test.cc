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

namespace norvix {
namespace {

TEST(CommandLine, ConsultOptionsAndTeachingCommands) {
  CommandLine cl = ParseCommandLine({"--consult", "--log", "l.txt", "kb.dat", "--explain",
                                     "--answers", "a.txt"});
  EXPECT_EQ(cl.mode, CommandLine::Mode::Consult);
  EXPECT_EQ(cl.file, "kb.dat");
  EXPECT_TRUE(cl.explain);
  EXPECT_EQ(cl.answers, "a.txt");
  EXPECT_EQ(cl.log, "l.txt");
  cl = ParseCommandLine({"--import", "kb.txt", "kb.dat"});
  EXPECT_EQ(cl.mode, CommandLine::Mode::Import);
  EXPECT_EQ(cl.file, "kb.txt");
  EXPECT_EQ(cl.output, "kb.dat");
  EXPECT_EQ(ParseCommandLine({"--check", "kb.dat"}).mode, CommandLine::Mode::Check);
  EXPECT_EQ(ParseCommandLine({"--export", "kb.dat"}).mode, CommandLine::Mode::Export);
  const std::vector<std::vector<std::string>> wrong = {
      {"--consult", "kb.dat", "--answers"},
      {"--consult", "kb.dat", "--explain", "--explain"},
      {"--consult", "kb.dat", "--log", "a", "--log", "b"},
      {"--consult", "--explain"},
      {"--consult", "kb.dat", "--check"},
      {"--check"},
      {"--check", "a", "b"},
      {"--export", ""},
      {"--import", "kb.txt"},
      {"--import", "kb.txt", "kb.dat", "x"},
  };
  for (const auto& args : wrong) EXPECT_EQ(ParseCommandLine(args).mode, CommandLine::Mode::Wrong) << args[0] << " " << args.size();
}

}  // namespace
}  // namespace norvix
