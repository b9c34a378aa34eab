// File replacement under failing steps and under kill -9: the previous file
// survives, no temporary file stays, the failure is reported.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <vector>

#include "atomic_file.h"
#include "io_faults.h"
#include "system_error.h"

namespace fs = std::filesystem;

namespace {

class AtomicFileFaults : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/atomicfXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fileio::faults::refuseUnnamed(GetParam());
  }
  void TearDown() override {
    fileio::faults::failAt(0);
    fileio::faults::refuseUnnamed(false);
    fs::remove_all(dir_);
  }
  std::vector<std::string> names() const {
    std::vector<std::string> all;
    for (const auto& e : fs::directory_iterator(dir_)) all.push_back(e.path().filename().string());
    return all;
  }
  std::string dir_;
};

// Fails step 1, 2, 3 ... of one replacement until a run passes every step.
TEST_P(AtomicFileFaults, EveryFailingStepKeepsThePreviousFileAndLeavesNothing) {
  if (!fileio::faults::built()) GTEST_SKIP() << "fault injection is in the test build only";
  const std::string path = dir_ + "/f.dat";
  ASSERT_TRUE(fileio::replaceFile(path, "old"));
  const std::string bytes(1 << 20, 'n');
  long failing = 1;
  for (;; ++failing) {
    fileio::faults::failAt(failing);
    std::string error;
    bool saved = fileio::replaceFile(path, bytes, &error);
    long steps = fileio::faults::steps();
    if (saved) {
      EXPECT_LT(steps, failing) << "a failing step was reported as success";
      break;
    }
    ASSERT_GE(steps, failing);
    EXPECT_EQ(error, fileio::systemReason(EIO)) << "step " << failing;
    std::string read;
    ASSERT_TRUE(fileio::readFile(path, read));
    EXPECT_EQ(read, "old") << "step " << failing;
    EXPECT_EQ(names(), std::vector<std::string>{"f.dat"}) << "step " << failing;
  }
  // create, write, fsync, [link,] close, rename
  EXPECT_EQ(failing - 1, GetParam() ? 5 : 6);
  std::string read;
  ASSERT_TRUE(fileio::readFile(path, read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(names(), std::vector<std::string>{"f.dat"});
}

// A process killed at any moment of a large save leaves the previous file
// whole and no temporary file.  The child saves again and again, so a kill
// almost always lands inside a write.
TEST_P(AtomicFileFaults, KillDuringLargeSavesLeavesNoTemporaryFile) {
  if (GetParam()) GTEST_SKIP() << "a named temporary file is exposed to a kill by design";
  const std::string path = dir_ + "/big.dat";
  ASSERT_TRUE(fileio::replaceFile(path, "old"));
  const std::string bytes(48 << 20, 'b');
  std::mt19937 random(9);
  for (int attempt = 0; attempt < 6; ++attempt) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (;;) fileio::replaceFile(path, bytes);
    }
    ::usleep(std::uniform_int_distribution<useconds_t>(5000, 60000)(random));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(names(), std::vector<std::string>{"big.dat"}) << "attempt " << attempt;
    EXPECT_TRUE(fs::file_size(path) == 3 || fs::file_size(path) == bytes.size());
  }
}

INSTANTIATE_TEST_SUITE_P(Temporary, AtomicFileFaults, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Named" : "Unnamed"; });

}  // namespace
