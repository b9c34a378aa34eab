#include "atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

class AtomicFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/atomicXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    ::chmod(dir_.c_str(), 0755);
    fs::remove_all(dir_);
  }
  std::string dir_;
};

TEST_F(AtomicFile, CreatesAndReplacesWithExactBytes) {
  std::string path = dir_ + "/f.bin";
  std::string bytes("a\0b\r\n\xFF", 6);
  ASSERT_TRUE(fileio::replaceFile(path, bytes));
  std::string read;
  ASSERT_TRUE(fileio::readFile(path, read));
  EXPECT_EQ(read, bytes);
  ASSERT_TRUE(fileio::replaceFile(path, "new"));
  ASSERT_TRUE(fileio::readFile(path, read));
  EXPECT_EQ(read, "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
      << "a temporary file was left behind";
}

TEST_F(AtomicFile, FailureLeavesOldFileAndReportsCause) {
  if (::geteuid() == 0) GTEST_SKIP() << "root ignores folder permissions";
  std::string path = dir_ + "/f.txt";
  ASSERT_TRUE(fileio::replaceFile(path, "old"));
  ASSERT_EQ(::chmod(dir_.c_str(), 0555), 0);
  std::string error;
  EXPECT_FALSE(fileio::replaceFile(path, "new", &error));
  EXPECT_FALSE(error.empty());
  std::string read;
  ASSERT_TRUE(fileio::readFile(path, read));
  EXPECT_EQ(read, "old");
}

TEST_F(AtomicFile, FailedRenameRemovesTemporaryAndKeepsTarget) {
  // Renaming a file over a non-empty folder fails even for root.
  std::string path = dir_ + "/taken";
  fs::create_directory(path);
  ASSERT_TRUE(fileio::replaceFile(path + "/inner", "keep"));
  std::string error;
  EXPECT_FALSE(fileio::replaceFile(path, "new", &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(fs::is_directory(path));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1)
      << "the temporary file was left behind";
}

TEST_F(AtomicFile, MissingFolderFails) {
  std::string error;
  EXPECT_FALSE(fileio::replaceFile(dir_ + "/no/such/f", "x", &error));
  EXPECT_FALSE(error.empty());
  std::string read;
  EXPECT_FALSE(fileio::readFile(dir_ + "/absent", read, &error));
}

TEST_F(AtomicFile, ExistingModeIsKept) {
  std::string path = dir_ + "/m";
  ASSERT_TRUE(fileio::replaceFile(path, "a"));
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(fileio::replaceFile(path, "b"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
