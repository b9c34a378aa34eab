#include "file_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "atomic_file.h"
#include "cp1251_literal.h"
#include "system_error.h"

namespace fs = std::filesystem;
using namespace cp1251::literals;

namespace {

class FileOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/fileopenXXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    dir_ = pattern;
    ASSERT_TRUE(fileio::replaceFile(dir_ + "/plain", "bytes"));
    ASSERT_EQ(::mkfifo((dir_ + "/pipe").c_str(), 0600), 0);
    ASSERT_EQ(::mkdir((dir_ + "/folder").c_str(), 0700), 0);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string dir_;
};

// A pipe without a writer would block a plain open; here it is refused at
// once, like every other file that is not a regular one.
TEST_F(FileOpen, RefusesAllButRegularFiles) {
  const struct {
    std::string path;
    std::string reason;  // empty: opens
  } cases[] = {
      {dir_ + "/plain", ""},
      {dir_ + "/pipe", "не обычный файл"_cp1251.c_str()},
      {dir_ + "/folder", "это каталог"_cp1251.c_str()},
      {"/dev/null", "не обычный файл"_cp1251.c_str()},
      {dir_ + "/missing", fileio::systemReason(ENOENT)},
  };
  for (const auto& c : cases) {
    std::string error;
    int fd = fileio::openRegular(c.path, &error);
    if (c.reason.empty()) {
      ASSERT_GE(fd, 0) << c.path;
      char buffer[8];
      EXPECT_EQ(::read(fd, buffer, sizeof buffer), 5) << "a blocking read after the open";
      ::close(fd);
    } else {
      EXPECT_EQ(fd, -1) << c.path;
      EXPECT_EQ(error, c.reason) << c.path;
    }
  }
}

TEST_F(FileOpen, ReadFileAndStdioStreamRefuseAPipe) {
  std::string bytes, error;
  EXPECT_FALSE(fileio::readFile(dir_ + "/pipe", bytes, &error));
  EXPECT_EQ(error, "не обычный файл"_cp1251.c_str());
  EXPECT_EQ(fileio::fopenRegular(dir_ + "/pipe", "r"), nullptr);
  std::FILE* f = fileio::fopenRegular(dir_ + "/plain", "r");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(std::fgetc(f), 'b');
  std::fclose(f);
}

}  // namespace
