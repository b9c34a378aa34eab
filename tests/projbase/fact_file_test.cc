#include "fact_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace projbase {
namespace {

std::string line(const std::string& name, const std::string& tech, const std::string& code) {
  return "knolbase(\"" + name + "\",\"" + tech + "\",\"" + code + "\")\n";
}

TEST(ProjbaseFactFile, WritesEachEscapeAndLeavesOtherBytesAlone) {
  struct Case {
    std::string field;
    std::string written;
  };
  const Case cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a\"b", "a\\\"b"},
      {"a\\b", "a\\\\b"},
      {"a\nb", "a\\nb"},
      {"a\rb", "a\\rb"},
      {"\"\\\n\r", "\\\"\\\\\\n\\r"},
      {"\xCF\xF0\xEE\xE5\xEA\xF2", "\xCF\xF0\xEE\xE5\xEA\xF2"},  // Проект
      {"tab\tnul", "tab\tnul"},
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(writeFacts({{c.field, "", ""}}), line(c.written, "", ""))
        << "field \"" << c.written << "\"";
  }
}

TEST(ProjbaseFactFile, ReadsEachEscape) {
  struct Case {
    std::string written;
    std::string field;
  };
  const Case cases[] = {
      {"a\\\"b", "a\"b"}, {"a\\\\b", "a\\b"}, {"a\\nb", "a\nb"},
      {"a\\rb", "a\rb"},  {"\\\\n", "\\n"},   {"\\\"\\\"", "\"\""},
  };
  for (const Case& c : cases) {
    std::vector<Knolbase> records;
    FactReadResult r = readFacts(line(c.written, "x", "y"), records);
    ASSERT_TRUE(r.ok()) << "reading " << c.written;
    ASSERT_EQ(records.size(), 1u) << "reading " << c.written;
    EXPECT_EQ(records[0], (Knolbase{c.field, "x", "y"})) << "reading " << c.written;
  }
}

TEST(ProjbaseFactFile, EveryByteValueRoundTripsInEachField) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::vector<Knolbase> records = {{all, "t", "c"}, {"n", all, "c"}, {"n", "t", all}};
  for (int b = 0; b < 256; ++b) records.push_back({std::string(1, static_cast<char>(b)), "", ""});
  std::vector<Knolbase> back;
  FactReadResult r = readFacts(writeFacts(records), back);
  ASSERT_TRUE(r.ok()) << "error on line " << r.line;
  EXPECT_EQ(back, records);
}

TEST(ProjbaseFactFile, WritesOneLineFeedEndedLinePerRecordInOrder) {
  std::vector<Knolbase> records = {{"a", "b", "c"}, {"", "", ""}, {"d", "e", "f"}};
  EXPECT_EQ(writeFacts(records),
            "knolbase(\"a\",\"b\",\"c\")\nknolbase(\"\",\"\",\"\")\nknolbase(\"d\",\"e\",\"f\")\n");
}

TEST(ProjbaseFactFile, AcceptsCrLfLfAndAMissingLastLineBreak) {
  const std::vector<Knolbase> expected = {{"a", "b", "c"}, {"d", "e", "f"}};
  const std::string inputs[] = {
      "knolbase(\"a\",\"b\",\"c\")\r\nknolbase(\"d\",\"e\",\"f\")\r\n",
      "knolbase(\"a\",\"b\",\"c\")\nknolbase(\"d\",\"e\",\"f\")\n",
      "knolbase(\"a\",\"b\",\"c\")\r\nknolbase(\"d\",\"e\",\"f\")\n",
      "knolbase(\"a\",\"b\",\"c\")\nknolbase(\"d\",\"e\",\"f\")",
      "knolbase(\"a\",\"b\",\"c\")\r\nknolbase(\"d\",\"e\",\"f\")\r",
  };
  for (const std::string& input : inputs) {
    std::vector<Knolbase> records;
    FactReadResult r = readFacts(input, records);
    EXPECT_TRUE(r.ok()) << "error on line " << r.line << " of: " << input;
    EXPECT_EQ(records, expected) << "reading: " << input;
  }
}

TEST(ProjbaseFactFile, EmptyFileHoldsNoRecords) {
  std::vector<Knolbase> records;
  EXPECT_TRUE(readFacts("", records).ok());
  EXPECT_TRUE(records.empty());
  EXPECT_EQ(writeFacts({}), "");
}

TEST(ProjbaseFactFile, AppendsAfterRecordsAlreadyThere) {
  std::vector<Knolbase> records = {{"old", "", ""}};
  ASSERT_TRUE(readFacts(line("new", "", ""), records).ok());
  EXPECT_EQ(records, (std::vector<Knolbase>{{"old", "", ""}, {"new", "", ""}}));
}

TEST(ProjbaseFactFile, MalformedFilesNameTheLineAndChangeNothing) {
  const std::string good = line("a", "b", "c");
  struct Case {
    std::string text;
    FactError error;
    std::size_t line;
  };
  const Case cases[] = {
      {"\n", FactError::ExpectedWord, 1},
      {good + "\n", FactError::ExpectedWord, 2},
      {good + "\r\n", FactError::ExpectedWord, 2},
      {"Knolbase(\"a\",\"b\",\"c\")\n", FactError::ExpectedWord, 1},
      {" knolbase(\"a\",\"b\",\"c\")\n", FactError::ExpectedWord, 1},
      {"knolbase", FactError::ExpectedWord, 1},
      {"\xEF\xBB\xBF" + good, FactError::ExpectedWord, 1},
      {good + good + "garbage\n", FactError::ExpectedWord, 3},
      {std::string("\x7F" "ELF\x02\x01\x01\0\0\0", 10), FactError::ExpectedWord, 1},
      {"knolbase(a,\"b\",\"c\")\n", FactError::ExpectedQuote, 1},
      {"knolbase(\"a\", \"b\",\"c\")\n", FactError::ExpectedQuote, 1},
      {"knolbase(\"a\",\"b\")\n", FactError::ExpectedComma, 1},
      {"knolbase(\"a\";\"b\",\"c\")\n", FactError::ExpectedComma, 1},
      {"knolbase(\"a\",\"b\",\"c\"\n", FactError::ExpectedClose, 1},
      {"knolbase(\"a\",\"b\",\"c\",\"d\")\n", FactError::ExpectedClose, 1},
      {good + "knolbase(\"a\\x\",\"b\",\"c\")\n", FactError::BadEscape, 2},
      {"knolbase(\"a\\t\",\"b\",\"c\")\n", FactError::BadEscape, 1},
      {"knolbase(\"abc", FactError::Unterminated, 1},
      {"knolbase(\"abc\\", FactError::Unterminated, 1},
      {good + "knolbase(\"a\nb\",\"b\",\"c\")\n", FactError::Unterminated, 2},
      {"knolbase(\"a\",\"b\",\"c\") \n", FactError::TrailingText, 1},
      {"knolbase(\"a\",\"b\",\"c\")\r\r\n", FactError::TrailingText, 1},
      {good + "knolbase(\"a\",\"b\",\"c\").\n", FactError::TrailingText, 2},
  };
  for (const Case& c : cases) {
    std::vector<Knolbase> records = {{"kept", "", ""}};
    FactReadResult r = readFacts(c.text, records);
    EXPECT_EQ(r.error, c.error) << "reading: " << c.text;
    EXPECT_EQ(r.line, c.line) << "reading: " << c.text;
    EXPECT_EQ(records, (std::vector<Knolbase>{{"kept", "", ""}})) << "reading: " << c.text;
  }
}

}  // namespace
}  // namespace projbase
