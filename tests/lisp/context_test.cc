// Dynamic bindings and what resuming a context restores, driven directly.
#include <gtest/gtest.h>

#include "context.h"
#include "errors.h"
#include "eval.h"
#include "node.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

class ContextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(start_interpreter());
    sym = intern_symbol("DYNAMIC-TEST");
    set_symbol_value(sym, make_fixnum(1));
  }
  void TearDown() override { stop_interpreter(); }
  Node* sym = nullptr;
};

TEST_F(ContextTest, UnwindDynamicRestoresNestedBindingsOfOneSymbol) {
  Node* saved = denv;
  push_dynamic(sym, make_fixnum(2));
  push_dynamic(sym, make_fixnum(3));
  EXPECT_EQ(symbol_value(sym)->num, 3);
  unwind_dynamic(saved);
  EXPECT_EQ(symbol_value(sym)->num, 1);
  EXPECT_EQ(denv, saved);
}

// The error path resumes an ERRSET-like context whose tag is NIL, so no
// text is printed.
TEST_F(ContextTest, AnErrorUndoesBindingsAndGivesBackTheStackReserveAndCallDepth) {
  Context ctx;
  volatile bool resumed = false;
  begin_context(&ctx, CX_ERROR, nullptr);
  if (setjmp(ctx.resume)) {
    resumed = true;
  } else {
    push_dynamic(sym, make_fixnum(2));
    frame_depth = 7;     // as inside nested calls
    protect_overflow();  // lends the reserve, then raises
  }
  end_context(&ctx);
  EXPECT_TRUE(resumed);
  EXPECT_EQ(symbol_value(sym)->num, 1);
  EXPECT_EQ(plimit, PSTACK_SIZE);
  EXPECT_EQ(frame_depth, 0) << "the calls' frame cells are taken from the depth of the context again";
}

}  // namespace
