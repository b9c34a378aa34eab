// Printing symbols owned by frames: the owner path.
#include <gtest/gtest.h>

#include <string>

#include "printer.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

class PrinterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(start_interpreter()); }
  void TearDown() override { stop_interpreter(); }

  // Prints x with escapes into a string stream and returns the text.
  std::string printed(Node* x) {
    Node* s = make_unnamed_stream();
    PROTECT(s);
    print_node(s, x, true);
    Node* str = ustream_take_string(s);
    UNPROTECT(1);
    return std::string(str->u.str);
  }
};

TEST_F(PrinterTest, OwnedSymbolsPrintTheirOwnerPath) {
  Node* outer = intern_symbol("OUTER");
  Node* frame = intern_symbol("SHAPE");
  Node* color = make_symbol("COLOR");
  PROTECT(color);
  set_slot(frame, S_OWNER, outer);
  set_slot(color, S_OWNER, frame);
  EXPECT_EQ(printed(color), "OUTER^SHAPE^COLOR");
  EXPECT_EQ(printed(frame), "OUTER^SHAPE");
  UNPROTECT(1);
}

TEST_F(PrinterTest, InsideAListThePathIsLeftOutUntilTheNextClosingParenthesis) {
  Node* frame = intern_symbol("BOX");
  Node* size = make_symbol("SIZE");
  PROTECT(size);
  set_slot(size, S_OWNER, frame);
  Node* inner = make_cons(size, nullptr);
  PROTECT(inner);
  Node* tail = make_cons(size, nullptr);
  Node* outer = make_cons(inner, tail);
  PROTECT(outer);
  // "((SIZE) BOX^SIZE)": the inner list's ")" ends the leaving out.
  EXPECT_EQ(printed(outer), "((SIZE) BOX^SIZE)");
  EXPECT_EQ(printed(tail), "(SIZE)");
  UNPROTECT(3);
}

TEST_F(PrinterTest, FramesPrintTheirNameAndSlots) {
  Node* name = intern_symbol("CAR-FRAME");
  Node* f = make_frame_node(name);
  PROTECT(f);
  EXPECT_EQ(printed(f), "[CAR-FRAME: NIL]");
  set_slot(f, FR_NAME, nullptr);
  EXPECT_EQ(printed(f), "[FRAME: NIL]");
  UNPROTECT(1);
}

}  // namespace
