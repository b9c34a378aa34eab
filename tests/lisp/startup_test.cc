// Start-up of the interpreter in a working directory: the workspace image
// "velloq.wks" when present and sound, otherwise the system from nothing;
// then "init.lsp".
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "node.h"
#include "streams.h"
#include "toplevel.h"
#include "workspace_writer.h"

namespace fs = std::filesystem;
using namespace velloq;

namespace {

std::string shown;
void show_char(void*, int c, bool) { shown.push_back((char)c); }
void show_string(void*, const char* s, bool) { shown += s; }

class StartupTest : public ::testing::Test {
 protected:
  fs::path old_dir = fs::current_path();
  fs::path dir;

  void SetUp() override {
    char tmpl[] = "/tmp/velloq_startup_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir = tmpl;
    fs::current_path(dir);
    console = ConsoleIO{};
    console.write_char = show_char;
    console.write_string = show_string;
    shown.clear();
  }
  void TearDown() override {
    stop_interpreter();
    console = ConsoleIO{};
    fs::current_path(old_dir);
    fs::remove_all(dir);
  }
  static std::string submit(const char* text) {
    shown.clear();
    int more = -1;
    evaluate_top_level_text(text, &more);
    return shown;
  }
  void write(const char* name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
  }
};

TEST_F(StartupTest, TheImageInTheWorkingDirectoryBringsTheWorkspaceBack) {
  ASSERT_TRUE(start_interpreter());
  submit("(defun twice (x) (* 2 x))\n");
  submit("(setq kept '(1 \"two\" 3.5))\n");
  collect_garbage();
  write("velloq.wks", wkstest::write_image(wkstest::describe_node_memory()));
  stop_interpreter();

  shown.clear();
  ASSERT_TRUE(start_interpreter());
  EXPECT_EQ(shown, "");
  EXPECT_EQ(submit("(list (twice 21) kept)\n"), "(42 (1 \"two\" 3.5))\n");
  EXPECT_EQ(submit("(car 'x)\n"), "error: bad argument type - X\n");
  EXPECT_EQ(submit("(mapcar 'twice '(1 2))\n"), "(2 4)\n");
}

TEST_F(StartupTest, ADamagedImageIsReportedAndTheSystemIsBuiltFromNothing) {
  const std::string damaged[] = {"", std::string(4, '\0'), "\x02\x00\x00\x00\x0e"};
  for (const std::string& bytes : damaged) {
    write("velloq.wks", bytes);
    shown.clear();
    ASSERT_TRUE(start_interpreter());
    EXPECT_EQ(shown, "error: reading workspace file\n");
    EXPECT_EQ(submit("(list (+ 1 2) (boundp 'kept))\n"), "(3 NIL)\n");
    stop_interpreter();
  }
}

TEST_F(StartupTest, FramesOfAnImageAreDroppedAndTheBuiltInOnesBuiltAgain) {
  ASSERT_TRUE(start_interpreter());
  submit("(addframe 'car-model)\n");
  submit("(setq keep (list car-model 'car-model 5))\n");
  collect_garbage();
  write("velloq.wks", wkstest::write_image(wkstest::describe_node_memory()));
  stop_interpreter();

  shown.clear();
  ASSERT_TRUE(start_interpreter());
  EXPECT_EQ(shown, "");
  EXPECT_EQ(submit("(list keep (framep car-model) (framep node))\n"), "((NIL CAR-MODEL 5) NIL T)\n");
  EXPECT_EQ(submit("(framep (addframe 'car-model))\n"), "T\n");
}

TEST_F(StartupTest, InitLspIsLoadedVerboselyAndItsErrorsDoNotStopStartUp) {
  write("init.lsp", "(setq from-init 'yes)\n(car 'oops)\n(setq not-reached t)\n");
  ASSERT_TRUE(start_interpreter());
  EXPECT_EQ(shown, "; loading \"init.lsp\"\nerror: bad argument type - OOPS\n");
  EXPECT_EQ(submit("(list from-init (boundp 'not-reached))\n"), "(YES NIL)\n");
}

TEST_F(StartupTest, WithoutInitLspNothingIsShown) {
  ASSERT_TRUE(start_interpreter());
  EXPECT_EQ(shown, "");
}

}  // namespace
