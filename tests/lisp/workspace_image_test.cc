// The workspace image reader: a round trip through the test writer, images
// built by hand, and damaged images, each refused with node memory left as
// it was.
#include "workspace_image.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "atomic_file.h"
#include "captured_console.h"
#include "streams.h"
#include "symbols.h"
#include "toplevel.h"
#include "workspace_writer.h"

using namespace velloq;
using wkstest::ImageSpec;
using wkstest::number_of;
using wkstest::WNode;

namespace {

using lisptest::captured;

class WorkspaceImageTest : public lisptest::CapturedConsoleTest {
 protected:
  static std::string submit(const char* text) {
    evaluate(text);
    return captured;
  }
  static WorkspaceOutcome restore(const std::string& bytes,
                                  const WorkspaceLimits& limits = default_workspace_limits) {
    return restore_workspace_bytes(reinterpret_cast<const unsigned char*>(bytes.data()),
                                   bytes.size(), limits);
  }
};

TEST_F(WorkspaceImageTest, RoundTripRestoresTheSameNodesAndTheyStillWork) {
  const char* definitions[] = {
      "(defun sq (x) (* x x))\n",
      "(defun fourth-power (x) (sq (sq x)))\n",
      "(defun opts (a &optional (b 2 bp) &key (c 3) &aux (d 4)) (list a b bp c d))\n",
      "(setq keep (list 1 2.5 \"text\" #\\a (make-array 3) 100000 -7 'sym))\n",
      "(setq adder (let ((n 10)) (lambda (x) (+ x n))))\n",
  };
  for (const char* d : definitions) submit(d);
  const char* probes[] = {"(sq 7)\n", "(fourth-power 3)\n", "(opts 1)\n", "(opts 1 5 :c 9)\n", "keep\n",
                          "(funcall adder 5)\n", "(symbol-name 'keep)\n"};
  std::vector<std::string> before;
  for (const char* p : probes) before.push_back(submit(p));
  EXPECT_EQ(before[0], "49\n");

  collect_garbage();
  // The first restore drops the built-in frames; an image without frames
  // then comes back node for node.
  ASSERT_EQ(restore(wkstest::write_image(wkstest::describe_node_memory())).result, WKS_RESTORED);
  std::string image = wkstest::write_image(wkstest::describe_node_memory());
  WorkspaceOutcome out = restore(image);
  ASSERT_EQ(out.result, WKS_RESTORED) << out.detail;
  EXPECT_EQ(wkstest::write_image(wkstest::describe_node_memory()), image)
      << "every node comes back at its place with its contents";

  init_console_streams();
  for (size_t i = 0; i < std::size(probes); i++) EXPECT_EQ(submit(probes[i]), before[i]) << probes[i];
  EXPECT_EQ(s_t, find_symbol("T")) << "system symbols point at the restored ones";
}

TEST_F(WorkspaceImageTest, MinimalImageGetsItsSystemSymbolsBound) {
  ASSERT_EQ(restore(wkstest::write_image(wkstest::minimal_image())).result, WKS_RESTORED);
  EXPECT_STREQ(symbol_name(obarray_symbol), "*OBARRAY*");
  EXPECT_EQ(find_symbol("*OBARRAY*"), obarray_symbol);
  ASSERT_NE(s_t, nullptr);
  EXPECT_STREQ(symbol_name(s_t), "T");
  EXPECT_EQ(find_symbol("*GC-HOOK*"), s_gc_hook);
}

TEST_F(WorkspaceImageTest, Byte255EndsANumberEarlyAndItReadsAsZero) {
  ImageSpec spec = wkstest::minimal_image();
  std::string image = wkstest::write_image(spec);
  // The bucket's record: kind 3, car the symbol, cdr NIL written as one byte.
  std::string record = std::string(1, '\x03') + wkstest::image_number(spec.obarray) +
                       wkstest::image_number(0);
  size_t at = image.find(record);
  ASSERT_NE(at, std::string::npos);
  image.replace(at + 5, 4, "\xFF");
  ASSERT_EQ(restore(image).result, WKS_RESTORED);
  EXPECT_EQ(find_symbol("*OBARRAY*"), obarray_symbol);
}

TEST_F(WorkspaceImageTest, Kind8NodesKeepNoSlots) {
  size_t free_at;
  ImageSpec spec = wkstest::minimal_image(&free_at);
  WNode odd;
  odd.kind = K_KIND8;
  odd.a = 2;
  odd.slots = {spec.obarray, number_of(free_at - 1)};
  spec.nodes.push_back(odd);
  spec.nodes[640].slots[S_PLIST] = number_of(free_at);
  ASSERT_EQ(restore(wkstest::write_image(spec)).result, WKS_RESTORED);
  Node* kept = slot(obarray_symbol, S_PLIST);
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->kind, K_KIND8);
  EXPECT_EQ(kept->num, 0);
  collect_garbage();
}

// ---- damaged images ----

struct Damage {
  const char* name;
  std::function<std::string()> image;
  const char* detail;
};

WNode node(int kind, uint32_t a = 0, uint32_t b = 0) {
  WNode n;
  n.kind = kind;
  n.a = a;
  n.b = b;
  return n;
}

// The minimal image with `extra` appended and made reachable from the
// *OBARRAY* symbol's property list.
std::string with_node(const WNode& extra, const std::function<void(ImageSpec&, size_t)>& edit = {}) {
  size_t at;
  ImageSpec spec = wkstest::minimal_image(&at);
  spec.nodes.push_back(extra);
  spec.nodes[640].slots[S_PLIST] = number_of(at);
  if (edit) edit(spec, at);
  return wkstest::write_image(spec);
}

std::string minimal_edited(const std::function<void(ImageSpec&)>& edit) {
  ImageSpec spec = wkstest::minimal_image();
  edit(spec);
  return wkstest::write_image(spec);
}

// The node number of the node with_node appends; later ones follow it.
constexpr uint32_t self = 2 * (644 + 1);

WNode closure_with(int slot_index, uint32_t value) {
  WNode c = node(K_CLOSURE, 12);
  c.slots.assign(12, 0);
  c.slots[slot_index] = value;
  return c;
}

TEST_F(WorkspaceImageTest, DamagedImagesAreRefusedAndChangeNothing) {
  submit("(defun sq (x) (* x x))\n");
  Damage cases[] = {
      {"empty file", [] { return std::string(); }, "no object array"},
      {"header cut short", [] { return std::string("\x02\x05", 2); }, "no object array"},
      {"header 0", [] { return wkstest::image_number(0); }, "no object array"},
      {"header 255", [] { return std::string("\xFF\x82\x05\x00\x00", 5); }, "no object array"},
      {"header beyond the nodes", [] { return wkstest::image_number(99998); }, "node number out of range"},
      {"record cut short", [] {
         std::string s = wkstest::write_image(wkstest::minimal_image());
         return s.substr(0, 4 + 5 + 1 + 3);
       }, "file ends inside a record"},
      {"slot data cut short", [] {
         std::string s = wkstest::write_image(wkstest::minimal_image());
         return s.substr(0, s.size() - 30);
       }, "file ends inside"},
      {"kind 15", [] { return with_node(node(15)); }, "bad node kind"},
      {"kind byte 200", [] { return with_node(node(200 - 256)); }, "bad node kind"},
      {"symbol with 6 slots", [] { WNode s = node(K_SYMBOL, 6); s.slots.assign(6, 0); return with_node(s); },
       "malformed node"},
      {"symbol named by a number", [] {
         WNode s = node(K_SYMBOL, 5);
         s.slots = {0, 0, 0, number_of(128 + 5), 0};
         return with_node(s);
       }, "malformed node"},
      {"array count beyond the file", [] { return with_node(node(K_ARRAY, 0x7FFFFFF0)); },
       "slot count beyond the file"},
      {"negative array count", [] { return with_node(node(K_ARRAY, 0x80000000u)); },
       "slot count beyond the file"},
      {"huge string length", [] { WNode s = node(K_STRING, 0x40000000); s.bytes = "ab"; return with_node(s); },
       "string length beyond the file"},
      {"string length 0", [] { return with_node(node(K_STRING, 0)); }, "string length beyond the file"},
      {"car beyond the nodes", [] { return with_node(node(K_CONS, 1000000, 0)); }, "node number out of range"},
      {"odd node number", [] { return with_node(node(K_CONS, number_of(640) + 1, 0)); }, "node number out of range"},
      {"reference to a free node", [] {
         return with_node(node(K_CONS, 0, 0), [](ImageSpec& s, size_t at) {
           s.nodes.push_back(WNode{});
           s.nodes.push_back(node(K_FIXNUM, 1));
           s.nodes[at].a = number_of(at + 1);
         });
       }, "node number out of range"},
      {"slot beyond the nodes", [] {
         return minimal_edited([](ImageSpec& s) { s.nodes[640].slots[S_VALUE] = 77777; });
       }, "node number out of range"},
      {"changed small integer", [] {
         return minimal_edited([](ImageSpec& s) { s.nodes[0] = node(K_FIXNUM, 5); });
       }, "permanent node changed"},
      {"cons in the character segment", [] {
         return minimal_edited([](ImageSpec& s) { s.nodes[400] = node(K_CONS, 0, 0); });
       }, "permanent node changed"},
      {"character outside its segment", [] { return with_node(node(K_CHAR, 65)); },
       "character outside the character segment"},
      {"object array names a cons", [] {
         return minimal_edited([](ImageSpec& s) { s.obarray = number_of(643); });
       }, "malformed object array"},
      {"object array of 10 buckets", [] {
         return minimal_edited([](ImageSpec& s) {
           s.nodes[642].a = 10;
           s.nodes[642].slots.assign(10, 0);
         });
       }, "malformed object array"},
      {"bucket in a cycle", [] {
         return minimal_edited([](ImageSpec& s) { s.nodes[643].b = number_of(643); });
       }, "malformed object array"},
      {"bucket holding a number", [] {
         return minimal_edited([](ImageSpec& s) { s.nodes[643].a = number_of(128 + 1); });
       }, "malformed object array"},
      {"file stream with a pushed-back code beyond 255", [] { return with_node(node(K_FSTREAM, 0, 300)); },
       "malformed node"},
      {"subr position beyond the table", [] { return with_node(node(K_SUBR, 0, 9999)); }, "malformed node"},
      {"negative subr position", [] { return with_node(node(K_SUBR, 0, 0xFFFFFFF0u)); }, "malformed node"},
      {"closure with 3 slots", [] { WNode c = node(K_CLOSURE, 3); c.slots = {0, 0, 0}; return with_node(c); },
       "malformed node"},
      {"closure parameters not a list", [] { return with_node(closure_with(2, number_of(128 + 3))); },
       "malformed node"},
      {"closure environment in a cycle", [] {
         return with_node(closure_with(8, self + 2), [](ImageSpec& s, size_t) {
           s.nodes.push_back(node(K_CONS, 0, self + 2));  // ((...) . itself)
         });
       }, "malformed node"},
      {"closure optional parameter cut short", [] {
         return with_node(closure_with(3, self + 2), [](ImageSpec& s, size_t) {
           s.nodes.push_back(node(K_CONS, self + 4, 0));  // the list of parameters
           s.nodes.push_back(node(K_CONS, number_of(640), 0));  // (sym) instead of (sym default flag)
         });
       }, "malformed node"},
      {"string stream whose tail is not its last cons", [] {
         return with_node(node(K_USTREAM, self + 2, self + 4), [](ImageSpec& s, size_t) {
           s.nodes.push_back(node(K_CONS, number_of(384 + 'a'), self + 4));
           s.nodes.push_back(node(K_CONS, number_of(384 + 'b'), self + 2));
         });
       }, "malformed node"},
      {"string stream queue holding a symbol", [] {
         return with_node(node(K_USTREAM, self + 2, self + 2), [](ImageSpec& s, size_t) {
           s.nodes.push_back(node(K_CONS, number_of(640), 0));
         });
       }, "malformed node"},
      {"record position going back", [] {
         using wkstest::image_number;
         return image_number(number_of(640)) + std::string(1, '\0') + image_number(number_of(700)) +
                "\x05" + std::string(8, '\0') + std::string(1, '\0') + image_number(number_of(640));
       }, "bad record position"},
  };
  Node* obarray_before = obarray_symbol;
  long nodes_before = mem_stats.total_nodes;
  for (const Damage& d : cases) {
    WorkspaceOutcome out = restore(d.image());
    EXPECT_EQ(out.result, WKS_REFUSED) << d.name;
    EXPECT_STREQ(out.message, "reading workspace file") << d.name;
    EXPECT_NE(std::string(out.detail ? out.detail : "").find(d.detail), std::string::npos)
        << d.name << ": " << (out.detail ? out.detail : "(none)");
    EXPECT_EQ(obarray_symbol, obarray_before) << d.name;
    EXPECT_EQ(mem_stats.total_nodes, nodes_before) << d.name;
  }
  EXPECT_EQ(submit("(sq 9)\n"), "81\n") << "the running workspace is untouched";
}

TEST_F(WorkspaceImageTest, AClosureComesBackWithoutTheImagesArity) {
  // A FIXNUM 1 where a closure of no parameters keeps its arity.
  ASSERT_EQ(restore(with_node(closure_with(C_ARITY, number_of(128 + 1)))).result, WKS_RESTORED);
  Node* c = slot(obarray_symbol, S_PLIST);
  ASSERT_TRUE(closurep(c));
  EXPECT_EQ(slot(c, C_ARITY), nullptr);
}

TEST_F(WorkspaceImageTest, EveryCutOfARealImageIsRefused) {
  collect_garbage();
  std::string image = wkstest::write_image(wkstest::describe_node_memory());
  ASSERT_GT(image.size(), 1000u);
  for (size_t cut = 0; cut < image.size(); cut += image.size() / 97 + 1) {
    WorkspaceOutcome out = restore(image.substr(0, cut));
    EXPECT_EQ(out.result, WKS_REFUSED) << "cut at " << cut << " of " << image.size();
  }
}

TEST_F(WorkspaceImageTest, NodeBoundStopsAHugeImageBeforeAnyAllocation) {
  WorkspaceLimits small = default_workspace_limits;
  small.max_nodes = 10000;
  std::string image = wkstest::write_image(wkstest::minimal_image());
  image += std::string(1, '\x05');  // no effect: the records ended
  EXPECT_EQ(restore(image, small).result, WKS_RESTORED);
  // A jump far beyond the bound, then one fixnum.
  std::string huge = wkstest::image_number(number_of(640)) + std::string(1, '\0') +
                     wkstest::image_number(0x70000000u) + "\x05" + std::string(8, '\0');
  WorkspaceOutcome out = restore(huge, small);
  EXPECT_EQ(out.result, WKS_REFUSED);
  EXPECT_STREQ(out.detail, "more nodes than allowed");
  out = restore(huge);
  EXPECT_EQ(out.result, WKS_REFUSED) << "the default bound holds too";
  EXPECT_STREQ(out.detail, "more nodes than allowed");
}

TEST_F(WorkspaceImageTest, SlotBoundStopsHugeArrays) {
  WorkspaceLimits small = default_workspace_limits;
  small.max_slots = 300;
  std::string image = with_node(node(K_ARRAY, 0));
  EXPECT_EQ(restore(image, small).result, WKS_RESTORED);
  WNode big = node(K_ARRAY, 200);
  big.slots.assign(200, 0);
  WorkspaceOutcome out = restore(with_node(big), small);
  EXPECT_EQ(out.result, WKS_REFUSED);
  EXPECT_STREQ(out.detail, "more slots than allowed");
}

TEST_F(WorkspaceImageTest, HeapRefusalLeavesEmptyFreshMemory) {
  size_t at;
  ImageSpec spec = wkstest::minimal_image(&at);
  spec.nodes.resize(at + 200000);
  spec.nodes.back() = node(K_FIXNUM, 1);
  std::string image = wkstest::write_image(spec);
  setenv("VELLOQ_HEAP_LIMIT", "1000000", 1);
  WorkspaceOutcome out = restore(image);
  unsetenv("VELLOQ_HEAP_LIMIT");
  EXPECT_EQ(out.result, WKS_NO_MEMORY);
  EXPECT_STREQ(out.message, "insufficient memory - segment");
  EXPECT_EQ(mem_stats.segments, 0);
  EXPECT_EQ(obarray_symbol, nullptr);
}

TEST_F(WorkspaceImageTest, FileNameGetsWksWhenItHasNoExtension) {
  char pattern[] = "/tmp/wksXXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  ASSERT_TRUE(fileio::replaceFile(dir + "/velloq.wks", wkstest::write_image(wkstest::minimal_image())));
  EXPECT_EQ(restore_workspace_file((dir + "/velloq.img").c_str(), default_workspace_limits).result,
            WKS_ABSENT);
  EXPECT_EQ(restore_workspace_file((dir + "/missing").c_str(), default_workspace_limits).result,
            WKS_ABSENT);
  EXPECT_EQ(restore_workspace_file((dir + "/velloq").c_str(), default_workspace_limits).result,
            WKS_RESTORED);
  WorkspaceLimits tiny = default_workspace_limits;
  tiny.max_file_bytes = 100;
  WorkspaceOutcome out = restore_workspace_file((dir + "/velloq.wks").c_str(), tiny);
  EXPECT_EQ(out.result, WKS_REFUSED);
  EXPECT_STREQ(out.detail, "image file too large");
  std::filesystem::remove_all(dir);
}

}  // namespace
