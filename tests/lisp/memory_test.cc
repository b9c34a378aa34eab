// Node memory and collector, driven directly.
#include <gtest/gtest.h>

#include "node.h"
#include "symbols.h"
#include "toplevel.h"

using namespace velloq;

namespace {

class MemoryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(start_interpreter()); }
  void TearDown() override { stop_interpreter(); }
};

TEST_F(MemoryTest, SmallIntegersAndCharactersAreShared) {
  EXPECT_EQ(make_fixnum(5), make_fixnum(5));
  EXPECT_EQ(make_fixnum(-128), make_fixnum(-128));
  EXPECT_EQ(make_fixnum(255), make_fixnum(255));
  EXPECT_NE(make_fixnum(256), make_fixnum(256));
  EXPECT_EQ(make_fixnum(-128) + 128, make_fixnum(0));
  EXPECT_EQ(make_character(65), make_character(65));
  EXPECT_EQ(make_character(200)->num, 200);
}

TEST_F(MemoryTest, AddSegmentGrowsTheStatisticsBySegmentSize) {
  MemoryStats before = mem_stats;
  ASSERT_TRUE(add_segment());
  EXPECT_EQ(mem_stats.segments, before.segments + 1);
  EXPECT_EQ(mem_stats.total_nodes, before.total_nodes + 1024);
  EXPECT_EQ(mem_stats.free_nodes, before.free_nodes + 1024);
  EXPECT_EQ(mem_stats.total_bytes, before.total_bytes + 16 + 16 * 1024);
}

TEST_F(MemoryTest, ZeroAllocationSizeMakesNoSegment) {
  mem_stats.alloc_size = 0;
  EXPECT_FALSE(add_segment());
  mem_stats.alloc_size = 1024;
}

TEST_F(MemoryTest, AWhollyFreeNewestSegmentIsReleasedByTheSweep) {
  collect_garbage();  // gives back the free segments start-up grew
  int segments = mem_stats.segments;
  ASSERT_TRUE(add_segment());
  ASSERT_TRUE(add_segment());
  collect_garbage();
  EXPECT_EQ(mem_stats.segments, segments);
}

TEST_F(MemoryTest, ProtectedNodesSurviveACollection) {
  Node* a = make_string_from("kept");
  PROTECT(a);
  Node* l = make_cons(a, nullptr);
  PROTECT(l);
  collect_garbage();
  EXPECT_EQ(l->kind, K_CONS);
  EXPECT_EQ(car(l), a);
  EXPECT_STREQ(a->u.str, "kept");
  UNPROTECT(2);
}

TEST_F(MemoryTest, UnreachedNodesBecomeFree) {
  Node* l = make_cons(make_fixnum(1), nullptr);
  PROTECT(l);
  Node* garbage = make_cons(nullptr, nullptr);
  UNPROTECT(1);
  PROTECT(l);
  collect_garbage();
  UNPROTECT(1);
  EXPECT_EQ(garbage->kind, K_FREE);
}

TEST_F(MemoryTest, LongListsAreMarkedWithoutRecursion) {
  Node* l = nullptr;
  PROTECT(l);
  for (int i = 0; i < 200000; i++) l = make_cons(make_fixnum(i % 200), l);
  // Nested cars as well.
  Node* deep = nullptr;
  PROTECT(deep);
  for (int i = 0; i < 200000; i++) deep = make_cons(deep, nullptr);
  collect_garbage();
  long n = 0;
  for (Node* p = l; p; p = cdr(p)) n++;
  EXPECT_EQ(n, 200000);
  long depth = 0;
  for (Node* p = deep; p; p = car(p)) depth++;
  EXPECT_EQ(depth, 200000);
  UNPROTECT(2);
}

TEST_F(MemoryTest, StringStatisticsCountTheBuffer) {
  long before = mem_stats.total_bytes;
  Node* s = make_string_from("abc");
  EXPECT_EQ(s->num, 4);
  EXPECT_EQ(mem_stats.total_bytes, before + 4);
}

TEST_F(MemoryTest, VectorStatisticsCountFourBytesASlot) {
  long before = mem_stats.total_bytes;
  Node* v = make_vector(10);
  EXPECT_EQ(v->num, 10);
  EXPECT_EQ(mem_stats.total_bytes, before + 40);
  for (int i = 0; i < 10; i++) EXPECT_EQ(slot(v, i), nullptr);
}

TEST_F(MemoryTest, FrameNodesHaveThreeSlots) {
  Node* name = intern_symbol("SOME-FRAME");
  Node* f = make_frame_node(name);
  EXPECT_EQ(f->kind, K_FRAME);
  EXPECT_EQ(f->num, 3);
  EXPECT_EQ(slot(f, FR_NAME), name);
  EXPECT_EQ(slot(f, FR_SLOTS), nullptr);
}

}  // namespace
