// The console host: replies read from a stream, dialog lines written.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "console_host.h"
#include "peak_heap.h"
#include "scripted_host.h"

namespace norvix::test {
namespace {

// The C locale's terminal encoding is UTF-8, so the streams hold UTF-8.
TEST(ConsoleHost, RepliesByFirstCharacter) {
  struct Case {
    const char* input;
    Reply reply;
    const char* written;  // after the question
  } cases[] = {
      {"Д\n", Reply::Yes, "[Д]\n"},
      {"да\n", Reply::Yes, "[Д]\n"},
      {"Y\n", Reply::Yes, "[Д]\n"},
      {"yes\r\n", Reply::Yes, "[Д]\n"},
      {"Н\n", Reply::No, "[Н]\n"},
      {"нет\n", Reply::No, "[Н]\n"},
      {"N\n", Reply::No, "[Н]\n"},
      {"n\n", Reply::No, "[Н]\n"},
      {"О\n", Reply::Cancel, "\n"},
      {"отмена\n", Reply::Cancel, "\n"},
      {"Q\n", Reply::Cancel, "\n"},
      {"q\n", Reply::Cancel, "\n"},
      {"", Reply::Cancel, "\n"},
      {"\nmaybe\n x\nд\n", Reply::Yes, "[Д]\n"},
      {"whatever\n", Reply::Cancel, "\n"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.input);
    std::ostringstream out;
    ConsoleHost host(in, out);
    EXPECT_EQ(host.Ask(W("Цвет красный (Д/Н)? ")), c.reply) << c.input;
    EXPECT_EQ(out.str(), std::string("Цвет красный (Д/Н)? ") + c.written) << c.input;
  }
}

TEST(ConsoleHost, QuestionMarkRunsWhyAndKeepsTheQuestion) {
  std::istringstream in("?\nд\n");
  std::ostringstream out;
  ConsoleHost host(in, out);
  Engine engine(host);
  host.SetEngine(&engine);
  AKBase kb;
  kb.AddSlotDef("a");
  AFrame* s = kb.AddFrame(W("Яблоко"), nullptr);
  s->SetSample(true);
  kb.AttachSlot(W("Яблоко"), "a");
  kb.TargetFrame = W("Яблоко");
  kb.Invitation = "";
  EXPECT_EQ(engine.RunConsultation(kb), Outcome::Success);
  std::string text = out.str();
  EXPECT_EQ(text.substr(0, text.find("\n[]")),
            "\na  (Д/Н)? \n[Рассматривается: Яблоко]\n\n[Д]\nНайдено решение:\n\n   \n"
            "Реультаты отчета:\nЯблоко:");
}

TEST(ConsoleHost, LineEndsInsideTextBecomeLineFeeds) {
  EXPECT_EQ(ToLineFeeds("a\r\nb\rc\nd"), "a\nb\nc\nd");
  EXPECT_EQ(ToLineFeeds("\r\r\n"), "\n\n");
  std::istringstream in;
  std::ostringstream out;
  ConsoleHost host(in, out);
  host.PrintLine("x\r");
  host.PrintLine("[a\r\nb\r\n]");
  EXPECT_EQ(out.str(), "x\n\n[a\nb\n]\n");
}

// A stream of `first`, then `length` bytes 'x', then `rest`, made as it is
// read, so that the test itself holds no long line.
class LongLineBuffer : public std::streambuf {
 public:
  LongLineBuffer(std::string first, size_t length, std::string rest)
      : first_(std::move(first)), left_(length), rest_(std::move(rest)), chunk_(65536, 'x') {}

 protected:
  int_type underflow() override {
    if (!first_.empty()) {
      serve(first_);
      first_.clear();
    } else if (left_ > 0) {
      size_t n = std::min(left_, chunk_.size());
      left_ -= n;
      setg(chunk_.data(), chunk_.data(), chunk_.data() + n);
    } else if (!rest_.empty()) {
      serve(rest_);
      rest_.clear();
    } else {
      return traits_type::eof();
    }
    return traits_type::to_int_type(*gptr());
  }

 private:
  void serve(const std::string& text) {
    current_ = text;
    setg(current_.data(), current_.data(), current_.data() + current_.size());
  }
  std::string first_;
  size_t left_;
  std::string rest_;
  std::string chunk_;
  std::string current_;
};

// A reply needs its first character only: a line of 64 MB is read past
// without being kept.
TEST(ConsoleHost, OverlongReplyLineIsReadPastInBoundedMemory) {
  LongLineBuffer buffer("?", size_t{64} << 20, "\nyes\n");
  std::istream in(&buffer);
  std::ostringstream out;
  ConsoleHost host(in, out);
  heaptest::ResetPeak();
  size_t before = heaptest::BytesInUse();
  EXPECT_EQ(host.Ask(W("Q? ")), Reply::Yes);
  EXPECT_LT(heaptest::PeakBytes() - before, size_t{1} << 20);
  EXPECT_EQ(out.str(), "Q? \n[Д]\n");
}

TEST(ConsoleHost, ReadLineHeadKeepsTheStartOfEachLine) {
  std::istringstream in("abcdef\n\nxy");
  std::string head;
  ASSERT_TRUE(ReadLineHead(in, head, 3));
  EXPECT_EQ(head, "abc");
  ASSERT_TRUE(ReadLineHead(in, head, 3));
  EXPECT_EQ(head, "");
  ASSERT_TRUE(ReadLineHead(in, head, 3));
  EXPECT_EQ(head, "xy");
  EXPECT_FALSE(ReadLineHead(in, head, 3));
}

}  // namespace
}  // namespace norvix::test
