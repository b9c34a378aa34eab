// The memory a crafted knowledge base file makes the loader take: at most
// 16 times the file's size plus 64 MB, the file's own bytes included.  Each
// file below is built to amplify one way as much as the format allows.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "error_sink.h"
#include "file_bytes.h"
#include "kbase.h"
#include "peak_heap.h"

namespace norvix::test {
namespace {

constexpr size_t kMB = size_t{1} << 20;

// Magic, version and empty header texts.
Bytes header() {
  Bytes b;
  b.raw("ZRB").byte(2).text("").text("").text("").text("").byte(0);
  return b.text("").text("").text("").text("");
}

// A distinct name of three bytes for each number below 2^24.
std::string name3(size_t i) {
  return {static_cast<char>(i & 0xFF), static_cast<char>((i >> 8) & 0xFF),
          static_cast<char>((i >> 16) & 0xFF)};
}

// Root prototypes with distinct short names: the smallest record that
// makes a frame with its index entry.
std::string manyFrames(size_t size) {
  size_t count = size / 17;
  Bytes b = header();
  b.raw("SD").count(0).raw("PR").count(static_cast<std::int64_t>(count));
  for (size_t i = 0; i < count; ++i) b.text(name3(i)).text("").byte('R').count(0).byte('P');
  return b.str();
}

// Definitions of nothing but line breaks: one empty line per byte, in
// pieces of 64 KB, so that the budget runs out part of the way.
std::string lineBreaks(size_t size) {
  const size_t piece = 64 * 1024;
  size_t count = size / piece;
  Bytes b = header();
  b.raw("SD").count(static_cast<std::int64_t>(count));
  for (size_t i = 0; i < count; ++i) b.text(name3(i)).text(std::string(piece, '\n')).text("").byte(0);
  return b.raw("PR").count(0).str();
}

// Slot definitions with distinct short names and nothing else.
std::string manySlotDefs(size_t size) {
  size_t count = size / 16;
  Bytes b = header();
  b.raw("SD").count(static_cast<std::int64_t>(count));
  for (size_t i = 0; i < count; ++i) b.text(name3(i)).text("").text("").byte(0);
  return b.raw("PR").count(0).str();
}

// One frame listing many definitions (each named once).
std::string manyOwnDefs(size_t size) {
  size_t count = size / 23;
  Bytes b = header();
  b.raw("SD").count(static_cast<std::int64_t>(count));
  for (size_t i = 0; i < count; ++i) b.text(name3(i)).text("").text("").byte(0);
  b.raw("PR").count(1).text("f").text("").byte('R').count(static_cast<std::int64_t>(count));
  for (size_t i = 0; i < count; ++i) b.text(name3(i));
  return b.byte('P').str();
}

// Samples under a prototype with 64 definitions of long default values:
// every sample copies every default.
std::string manySamples(size_t size) {
  const int defs = 64;
  Bytes b = header();
  b.raw("SD").count(defs);
  for (int d = 0; d < defs; ++d) b.text(name3(d)).text("").text(std::string(1000, 'v')).byte(0);
  size_t count = (size - defs * 1016) / 38;
  b.raw("PR").count(static_cast<std::int64_t>(count + 1));
  b.text("p").text("").byte('R').count(defs);
  for (int d = 0; d < defs; ++d) b.text(name3(d));
  b.byte('P');
  for (size_t i = 0; i < count; ++i)
    b.text(name3(i + 1000)).text("").byte('P').text("p").count(0).byte('E').text("").text("").text("").count(0);
  return b.str();
}

struct Crafted {
  const char* what;
  std::function<std::string(size_t)> make;
  size_t size;
};

TEST(KbaseLoadMemory, NoCraftedFileTakesMoreThanSixteenTimesItsSizePlus64MB) {
  const Crafted files[] = {
      {"frames", manyFrames, 12 * kMB},
      {"line breaks", lineBreaks, 4 * kMB},
      {"slot definitions", manySlotDefs, 12 * kMB},
      {"own definitions", manyOwnDefs, 12 * kMB},
      {"samples", manySamples, 4 * kMB},
  };
  ScopedErrorSink quiet([](const std::string&) {});
  for (const Crafted& c : files) {
    std::string bytes = c.make(c.size);
    size_t before = heaptest::BytesInUse();
    heaptest::ResetPeak();
    {
      AKBase kb;
      kb.LoadFromBytes(bytes);
    }
    // The file's bytes are held while it loads, as LoadFromFile holds them.
    size_t used = heaptest::PeakBytes() - before + bytes.size();
    std::printf("%-17s %5.1f MB file, peak %6.1f MB = %5.2f x size; limit %6.1f MB\n", c.what,
                double(bytes.size()) / kMB, double(used) / kMB, double(used) / bytes.size(),
                double(16 * bytes.size() + 64 * kMB) / kMB);
    EXPECT_LE(used, 16 * bytes.size() + 64 * kMB) << c.what;
  }
}

}  // namespace
}  // namespace norvix::test
