// The console host: replies read from a stream, dialog lines written.
#include <gtest/gtest.h>

#include <sstream>

#include "console_host.h"
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

}  // namespace
}  // namespace norvix::test
