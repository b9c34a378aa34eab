// projbase driven by a script: standard input is a pipe, not a terminal.
// Also the faults: a fact file that cannot be read, a save that fails, the
// end of input and input of any kind.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "cp1251.h"
#include "dialogue.h"
#include "io_faults.h"
#include "process_driver.h"

namespace pbtest {
namespace {

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A dialogue that uses every command, Esc and empty answers.
Dialogue everyCommand() {
  return addRecord("Станок", "Литьё", "С-1") + addRecord("Станок", "Литьё", "С-2") +
         addRecord("Кран \"Бета\"", "Сварка\\ручная", "К-1") + addRecord("", "", "") +
         lookUp("Станок", "Литьё", "С-1") + lookUp("станок", "Литьё", kNoProject) +
         changeCode("Станок", "Литьё", "С-9") + deleteRecord("К-1") + deleteRecord("С-2") +
         Dialogue{{kMenuEnd, "2"}, {kAskName, "брошено\x1b"}} + addRecord("Пресс", "Ковка", "С-2") +
         saveAndLeave();
}

TEST(ProjbasePipe, TheSameDialogueGivesTheSameFileAsAtATerminal) {
  TempDir atTerminal, piped;
  ASSERT_EQ(runInTerminal(atTerminal.path(), everyCommand()), 0);
  PipeResult r = runPiped(piped.path(), scriptOf(everyCommand()));
  EXPECT_EQ(r.status, 0) << r.err;
  const std::string expected = "knolbase(\"\",\"\",\"\")\n"
                               "knolbase(\"" + win("Станок") + "\",\"" + win("Литьё") + "\",\"" +
                               win("С-9") + "\")\n"
                               "knolbase(\"" + win("Пресс") + "\",\"" + win("Ковка") + "\",\"" +
                               win("С-2") + "\")\n";
  EXPECT_EQ(readBytes(atTerminal.file("knolbases.ddb")), expected);
  EXPECT_EQ(readBytes(piped.file("knolbases.ddb")), expected);
}

TEST(ProjbasePipe, ShowsPromptsButNoEchoAndTheMenuAfterTheCode) {
  TempDir dir;
  PipeResult r = runPiped(dir.path(), scriptOf(addRecord("А", "Б", "В") + lookUp("А", "Б", "В") +
                                               saveAndLeave()));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kMenu + kAskName + kAskTechnology + kAskCode + kMenu + kAskName +
                       kAskTechnology + kCodeIs + "В" + kMenu + "yes\n");
  EXPECT_EQ(r.err, "");
}

TEST(ProjbasePipe, ScriptWithWindowsLineEndsReadsTheSame) {
  TempDir dir;
  std::string script;
  for (char c : scriptOf(addRecord("А", "Б", "В") + saveAndLeave())) {
    if (c == '\n') script += '\r';
    script += c;
  }
  EXPECT_EQ(runPiped(dir.path(), script).status, 0);
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            "knolbase(\"" + win("А") + "\",\"" + win("Б") + "\",\"" + win("В") + "\")\n");
}

TEST(ProjbasePipe, EndOfInputEndsWithoutSavingAndWithStatusZero) {
  const std::string before = "knolbase(\"old\",\"t\",\"1\")\n";
  const std::string scripts[] = {
      "",                   // at the first menu
      "2new\nt\n",          // while the code is awaited
      "2new\nt\nc\n",       // at the menu after a change
      "2new\nt\nc\n1old",   // inside a line
      "1old\nt\n",          // while the key after the code is awaited
      "3old\nt\n",          // while the new code is awaited
      "4",                  // while the code to delete is awaited
      "2new\x1b",           // after Esc
  };
  for (const std::string& script : scripts) {
    TempDir dir;
    writeBytes(dir.file("knolbases.ddb"), before);
    PipeResult r = runPiped(dir.path(), script);
    EXPECT_EQ(r.status, 0) << "script: " << script << "\n" << r.err;
    EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), before) << "script: " << script;
    EXPECT_FALSE(contains(r.out, "yes")) << "script: " << script;
  }
}

TEST(ProjbasePipe, FirstStartWithoutInputLeavesTheNewFileEmpty) {
  TempDir dir;
  PipeResult r = runPiped(dir.path(), "2a\nb\nc\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(fileExists(dir.file("knolbases.ddb")));
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "");
}

TEST(ProjbasePipe, UnreadableFactFileIsRefusedNamingTheLineAndLeftAsItWas) {
  const std::string good = "knolbase(\"a\",\"b\",\"c\")\n";
  struct Case {
    std::string file;
    std::string line;  // what stderr must name
  };
  const Case cases[] = {
      {"garbage\n", "строка 1: ожидается knolbase("},
      {good + good + "knolbase(\"a\\q\",\"b\",\"c\")\n", "строка 3: недопустимый символ"},
      {good + "knolbase(\"a\",\"b\",\"c\n", "строка 2: строка в кавычках не закрыта"},
      {good + "knolbase(\"a\",\"b\")\n", "строка 2: ожидается запятая"},
      {good + "knolbase(\"a\",\"b\",\"c\"\n", "строка 2: ожидается закрывающая скобка"},
      {"knolbase(a,\"b\",\"c\")\n", "строка 1: ожидается открывающая кавычка"},
      {good + "knolbase(\"a\",\"b\",\"c\");\n", "строка 2: лишние символы"},
      {good + "\n", "строка 2: ожидается knolbase("},
      {std::string("\x7F" "ELF\x02\x01\x01\0\0\0\xFF\xFE", 12), "строка 1: ожидается knolbase("},
  };
  for (const Case& c : cases) {
    TempDir dir;
    writeBytes(dir.file("knolbases.ddb"), c.file);
    PipeResult r = runPiped(dir.path(), "2x\ny\nz\n0");
    EXPECT_NE(r.status, 0) << c.line;
    EXPECT_TRUE(contains(r.err, "Ошибка в файле knolbases.ddb, " + c.line)) << r.err;
    EXPECT_EQ(r.out, "") << "no menu for " << c.line;
    EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), c.file) << c.line;
  }
}

TEST(ProjbasePipe, FactFileThatCannotBeOpenedIsRefused) {
  TempDir dir;
  ASSERT_EQ(::mkdir(dir.file("knolbases.ddb").c_str(), 0755), 0);
  PipeResult r = runPiped(dir.path(), "0");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(contains(r.err, "Не удалось прочитать файл knolbases.ddb: ")) << r.err;
  EXPECT_EQ(r.out, "");
}

TEST(ProjbasePipe, FailedSaveIsReportedAndEveryRecordIsKept) {
  TempDir dir;
  const std::string longCode(300, 'L');
  // Files may not grow beyond 100 bytes, so the first save fails.  After it
  // the record is still there; removing the long one lets the second save
  // succeed.
  Dialogue d = addRecord("Малый", "т", "м") + addRecord("Большой", "т", longCode) + saveAndLeave();
  d.pop_back();  // no "yes" after the first 0
  d = d + lookUp("Большой", "т", longCode) + deleteRecord(longCode) + saveAndLeave();
  PipeResult r = runPiped(dir.path(), scriptOf(d), 100);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(contains(r.out, "0 - Выйти\nНе удалось сохранить файл knolbases.ddb: File too large\n"
                              "Записи остались в памяти; устраните причину и нажмите 0 ещё раз.\n" +
                              kMenu + kAskName))
      << r.out;
  EXPECT_TRUE(contains(r.out, kCodeIs + longCode + kMenu)) << r.out;
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            "knolbase(\"" + win("Малый") + "\",\"" + win("т") + "\",\"" + win("м") + "\")\n");
}

TEST(ProjbasePipe, SaveThatKeepsFailingLeavesThePreviousFileAndNoLeftovers) {
  TempDir dir;
  const std::string before = "knolbase(\"a\",\"b\",\"c\")\n";
  writeBytes(dir.file("knolbases.ddb"), before);
  Dialogue d = addRecord("Большой", "т", std::string(300, 'L')) + saveAndLeave();
  d.pop_back();
  PipeResult r = runPiped(dir.path(), scriptOf(d + d), 100);  // two failed saves, then the end
  EXPECT_EQ(r.status, 1);
  EXPECT_FALSE(contains(r.out, "yes")) << r.out;
  EXPECT_TRUE(r.out.ends_with(kMenu + "Записи не сохранены.\n")) << r.out;
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), before);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"knolbases.ddb"}) << "no temporary file is left";
}

// Each step of the save made to fail in turn (the test build counts them):
// the failure and its reason are shown, the previous file stays whole, no
// temporary file is left and the end of input says the records are lost.
TEST(ProjbasePipe, EveryFailingStepOfTheSaveIsReportedAndHarmless) {
  if (!fileio::faults::built()) GTEST_SKIP() << "fault injection is in the test build only";
  const std::string before = "knolbase(\"a\",\"b\",\"c\")\n";
  const std::string script = scriptOf(addRecord("Щит", "т", "к")) + "0";
  long failing = 1;
  for (;; ++failing) {
    TempDir dir;
    writeBytes(dir.file("knolbases.ddb"), before);
    PipeResult r = runPiped(dir.path(), script, 0, "C.UTF-8",
                            {"SUITE_FAIL_IO_AT=" + std::to_string(failing)});
    if (r.status == 0) {
      EXPECT_TRUE(r.out.ends_with("yes\n")) << r.out;
      EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
                before + "knolbase(\"" + win("Щит") + "\",\"" + win("т") + "\",\"" + win("к") + "\")\n");
      break;
    }
    EXPECT_EQ(r.status, 1) << "step " << failing << r.err;
    EXPECT_TRUE(contains(r.out, "Не удалось сохранить файл knolbases.ddb: ошибка ввода-вывода\n"))
        << "step " << failing << r.out;
    EXPECT_TRUE(r.out.ends_with(kMenu + "Записи не сохранены.\n")) << r.out;
    EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), before) << "step " << failing;
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path()))
      names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"knolbases.ddb"}) << "step " << failing;
    ASSERT_LT(failing, 50) << "the save never succeeds";
  }
  EXPECT_GE(failing - 1, 5) << "create, write, fsync, close and rename can each fail";
}

TEST(ProjbasePipe, CLocaleTakesTheTerminalToBeUtf8) {
  TempDir dir;
  PipeResult r = runPiped(dir.path(), scriptOf(addRecord("Щит", "Ёмкость", "№5") + saveAndLeave()),
                          0, "C");
  EXPECT_EQ(r.status, 0);
  EXPECT_TRUE(contains(r.out, kMenu + kAskName)) << r.out;
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            "knolbase(\"" + win("Щит") + "\",\"" + win("Ёмкость") + "\",\"" + win("№5") + "\")\n");
}

// Deterministic pseudo-random bytes.
std::string noise(std::size_t size, std::uint32_t seed) {
  std::string bytes(size, '\0');
  for (char& c : bytes) {
    seed = seed * 1664525u + 1013904223u;
    c = static_cast<char>(seed >> 24);
    if (c == '0') c = '1';  // keep going: no save and leave
  }
  return bytes;
}

TEST(ProjbasePipe, AnyBytesAndAnyLineLengthDoNoHarm) {
  const std::string inputs[] = {
      noise(200000, 1),
      noise(200000, 2),
      "2" + std::string(3000000, 'x') + "\n" + noise(1000, 3) + "\n",
      "2" + noise(100000, 4) + "\n\n\n1" + std::string(100000, '\xD0') + "\n",
  };
  for (const std::string& input : inputs) {
    TempDir dir;
    writeBytes(dir.file("knolbases.ddb"), "knolbase(\"a\",\"b\",\"c\")\n");
    PipeResult r = runPiped(dir.path(), input);
    EXPECT_EQ(r.status, 0) << r.err.substr(0, 2000);
    EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "knolbase(\"a\",\"b\",\"c\")\n");
  }
}

TEST(ProjbasePipe, EveryTypedByteReachesTheFileAsItsWindows1251Character) {
  TempDir dir;
  // Every UTF-8 character of Windows-1251 but the line feed and Esc.
  std::string typed, expected;
  for (int b = 1; b < 256; ++b) {
    if (b == '\n' || b == 0x1b || b == 0x98) continue;
    std::string one(1, static_cast<char>(b));
    typed += cp1251::toUtf8(one);
    expected += one;
  }
  PipeResult r = runPiped(dir.path(), "2" + typed + "\n\n\n0");
  EXPECT_EQ(r.status, 0);
  std::string field;
  for (char c : expected) {
    if (c == '"' || c == '\\') field += '\\';
    field += c == '\r' ? std::string("\\r") : std::string(1, c);
  }
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "knolbase(\"" + field + "\",\"\",\"\")\n");
}

}  // namespace
}  // namespace pbtest
