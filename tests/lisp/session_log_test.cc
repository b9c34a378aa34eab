// The session log: log-on and log-off lines, lines logged in batches before
// they scroll out, failures.
#include "session_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "atomic_file.h"

namespace {

std::tm sample_time() {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 2;
  t.tm_mday = 7;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 3;
  return t;
}

class SessionLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/sessionlogXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    path_ = dir_ + "/VELLOQ.LOG";
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string log_text() {
    std::string bytes;
    fileio::readFile(path_, bytes);
    return bytes;
  }
  std::string dir_, path_;
};

std::string numbered(int from, int to) {
  std::string s;
  for (int i = from; i <= to; i++) s += "line " + std::to_string(i) + "\n";
  return s;
}

TEST_F(SessionLogTest, LogOnAndLogOffLinesFrameTheSession) {
  EXPECT_EQ(velloq_ui::log_on_line(sample_time()), "[Log on.  Date: 07.03.2024 ;Time: 09:05:03]\n");
  EXPECT_EQ(velloq_ui::log_off_line(sample_time()), "[Log off. Date: 07.03.2024 ;Time: 09:05:03]\n");
  velloq_ui::SessionLog log(path_, true, 100);
  log.log_on(sample_time());
  log.add_line("> (+ 1 2)");
  log.add_line("3");
  log.log_off(sample_time());
  EXPECT_EQ(log_text(), velloq_ui::log_on_line(sample_time()) + "> (+ 1 2)\n3\n" +
                            velloq_ui::log_off_line(sample_time()));
}

TEST_F(SessionLogTest, LinesAreLoggedInBatchesBeforeTheyScrollOut) {
  velloq_ui::SessionLog log(path_, true, 100);
  EXPECT_EQ(log.lines_to_log(), 100);
  for (int i = 1; i <= 100; i++) log.add_line("line " + std::to_string(i));
  EXPECT_EQ(log_text(), "") << "nothing is written while every line is still stored";
  EXPECT_EQ(log.lines_to_log(), 0);
  log.add_line("line 101");
  EXPECT_EQ(log_text(), numbered(1, 101)) << "the counter ran out: one batch";
  EXPECT_EQ(log.lines().size(), 100u);
  EXPECT_EQ(log.lines().front(), "line 2");
  EXPECT_EQ(log.lines_to_log(), 100);
  for (int i = 102; i <= 200; i++) log.add_line("line " + std::to_string(i));
  EXPECT_EQ(log_text(), numbered(1, 101)) << "the stored lines already written go first";
  log.add_line("line 201");
  EXPECT_EQ(log_text(), numbered(1, 201));
  log.add_line("line 202");
  log.log_off(sample_time());
  EXPECT_EQ(log_text(), numbered(1, 202) + velloq_ui::log_off_line(sample_time()));
}

TEST_F(SessionLogTest, LoweredMaximumNeverDropsAnUnwrittenLine) {
  velloq_ui::SessionLog log(path_, true, 800);
  for (int i = 1; i <= 300; i++) log.add_line("line " + std::to_string(i));
  log.set_max_stored_lines(100);
  log.add_line("line 301");
  EXPECT_EQ(log.lines().size(), 100u);
  EXPECT_EQ(log_text(), numbered(1, 301));
}

TEST_F(SessionLogTest, WithoutLoggingNothingIsWritten) {
  velloq_ui::SessionLog log(path_, false, 100);
  log.log_on(sample_time());
  for (int i = 1; i <= 250; i++) log.add_line("x");
  log.log_off(sample_time());
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_EQ(log.lines().size(), 100u);
}

TEST_F(SessionLogTest, UnwritableLogIsReportedOnceAndSwitchesLoggingOff) {
  std::vector<std::string> reports;
  std::string blocked = dir_ + "/folder";
  std::filesystem::create_directory(blocked);
  velloq_ui::SessionLog log(blocked, true, 100,
                            [&](const std::string& m) { reports.push_back(m); });
  log.log_on(sample_time());
  EXPECT_FALSE(log.enabled());
  for (int i = 1; i <= 250; i++) log.add_line("x");
  log.log_off(sample_time());
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], "Error opening log file.");
}

TEST_F(SessionLogTest, AppendKeepsWhatWasThere) {
  ASSERT_TRUE(velloq_ui::append_to_file(path_, "old\n"));
  ASSERT_TRUE(velloq_ui::append_to_file(path_, "new\n"));
  EXPECT_EQ(log_text(), "old\nnew\n");
  EXPECT_FALSE(velloq_ui::append_to_file("/dev/full", "no room\n"));
}

}  // namespace
