// projbase at a terminal: the real binary in a pseudo-terminal, in a fresh
// folder each time.
#include <gtest/gtest.h>
#include <termios.h>

#include "dialogue.h"
#include "process_driver.h"

namespace pbtest {
namespace {

std::string fact(const std::string& name, const std::string& tech, const std::string& code) {
  return "knolbase(\"" + win(name) + "\",\"" + win(tech) + "\",\"" + win(code) + "\")\n";
}

TEST(ProjbaseTerminal, FirstStartCreatesAnEmptyFileAndShowsTheMenu) {
  TempDir dir;
  PtyRun run(dir.path());
  ASSERT_TRUE(run.expect(kMenu)) << run.transcript();
  EXPECT_TRUE(fileExists(dir.file("knolbases.ddb")));
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "");
  run.send("0");
  ASSERT_TRUE(run.expect("yes\n")) << run.transcript();
  EXPECT_EQ(run.finish(), 0);
  EXPECT_EQ(run.transcript(), kMenu + "yes\n");
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "");
}

TEST(ProjbaseTerminal, AddedRecordIsFoundAndSaved) {
  TempDir dir;
  std::string shown;
  EXPECT_EQ(runInTerminal(dir.path(),
                          addRecord("Станок ЧПУ", "Литьё под давлением", "СТ-17/2") +
                              lookUp("Станок ЧПУ", "Литьё под давлением", "СТ-17/2") +
                              saveAndLeave(),
                          &shown),
            0);
  EXPECT_NE(shown.find(kMenu + kAskName + "Станок ЧПУ\n" + kAskTechnology + "Литьё под давлением\n" +
                       kAskCode + "СТ-17/2\n" + kMenu),
            std::string::npos)
      << "typed text is shown:\n" << shown;
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            fact("Станок ЧПУ", "Литьё под давлением", "СТ-17/2"));
}

TEST(ProjbaseTerminal, MenuFollowsTheCodeOnTheSameLineAfterKeyOne) {
  TempDir dir;
  std::string shown;
  runInTerminal(dir.path(),
                addRecord("Насос", "Сварка", "Н-1") + lookUp("Насос", "Сварка", "Н-1") +
                    lookUp("Кран", "Сварка", kNoProject) + saveAndLeave(),
                &shown);
  EXPECT_NE(shown.find(kAskTechnology + "Сварка\n" + kCodeIs + "Н-1" + kMenu), std::string::npos)
      << shown;
  EXPECT_NE(shown.find(kAskTechnology + "Сварка\n" + kCodeIs + kNoProject + kMenu),
            std::string::npos)
      << shown;
}

TEST(ProjbaseTerminal, FirstOfTwoRecordsWithTheSameNameAndTechnologyWins) {
  TempDir dir;
  runInTerminal(dir.path(), addRecord("Редуктор", "Фрезерование", "Р-1") +
                                addRecord("Редуктор", "Фрезерование", "Р-2") +
                                lookUp("Редуктор", "Фрезерование", "Р-1") + saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            fact("Редуктор", "Фрезерование", "Р-1") + fact("Редуктор", "Фрезерование", "Р-2"));
}

TEST(ProjbaseTerminal, ChangeMovesTheRecordToTheEndOfTheFile) {
  TempDir dir;
  runInTerminal(dir.path(), addRecord("А", "т", "1") + addRecord("Б", "т", "2") +
                                addRecord("В", "т", "3") + changeCode("А", "т", "9") +
                                changeCode("Нет", "т", "0") + lookUp("А", "т", "9") +
                                saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            fact("Б", "т", "2") + fact("В", "т", "3") + fact("А", "т", "9"));
}

TEST(ProjbaseTerminal, DeleteRemovesOnlyTheFirstRecordWithTheCode) {
  TempDir dir;
  runInTerminal(dir.path(), addRecord("А", "т", "общий") + addRecord("Б", "т", "другой") +
                                addRecord("В", "т", "общий") + deleteRecord("общий") +
                                deleteRecord("нет такого") + saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), fact("Б", "т", "другой") + fact("В", "т", "общий"));
}

TEST(ProjbaseTerminal, NameInAnotherLetterCaseIsNotFound) {
  TempDir dir;
  std::string shown;
  runInTerminal(dir.path(),
                addRecord("Проект", "Штамповка", "П-5") + lookUp("ПРОЕКТ", "Штамповка", kNoProject) +
                    lookUp("проект", "Штамповка", kNoProject) +
                    lookUp("Проект", "штамповка", kNoProject) + saveAndLeave(),
                &shown);
  EXPECT_EQ(shown.find(kCodeIs + "П-5"), std::string::npos) << shown;
}

TEST(ProjbaseTerminal, EnterAtEveryPromptOfAddSavesThreeEmptyFields) {
  TempDir dir;
  runInTerminal(dir.path(), addRecord("", "", "") + saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "knolbase(\"\",\"\",\"\")\n");
}

TEST(ProjbaseTerminal, EscAbandonsTheCommandAtEveryPrompt) {
  TempDir dir;
  const std::string esc = "\x1b";
  Dialogue d = addRecord("Остаётся", "т", "1");
  d = d + Dialogue{{kMenuEnd, esc}};                                            // at the menu
  d = d + Dialogue{{kMenuEnd, "2"}, {kAskName, "Нов" + esc}};                   // add: name
  d = d + Dialogue{{kMenuEnd, "2"}, {kAskName, "Н\r"}, {kAskTechnology, esc}};  // add: technology
  d = d + Dialogue{{kMenuEnd, "2"}, {kAskName, "Н\r"}, {kAskTechnology, "т\r"}, {kAskCode, "2" + esc}};
  d = d + Dialogue{{kMenuEnd, "1"}, {kAskName, esc}};
  d = d + Dialogue{{kMenuEnd, "1"}, {kAskName, "Остаётся\r"}, {kAskTechnology, "т" + esc}};
  d = d + Dialogue{{kMenuEnd, "3"}, {kAskName, "Остаётся\r"}, {kAskTechnology, "т\r"},
                   {kAskNewCode, "5" + esc}};
  d = d + Dialogue{{kMenuEnd, "4"}, {kAskDelete, "1" + esc}};
  std::string shown;
  EXPECT_EQ(runInTerminal(dir.path(), d + saveAndLeave(), &shown), 0);
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), fact("Остаётся", "т", "1"));
  EXPECT_NE(shown.find(kAskName + "Нов\n" + kMenu), std::string::npos)
      << "after Esc the menu starts on a new line:\n" << shown;
  EXPECT_EQ(shown.find(kCodeIs), std::string::npos) << shown;
}

TEST(ProjbaseTerminal, QuoteAndBackslashAreSavedEscapedAndReadBackUnchanged) {
  TempDir dir;
  runInTerminal(dir.path(), addRecord("Кран \"Бета\"", "C:\\Завод\\цех", "К\\\"1") + saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            "knolbase(\"" + win("Кран \\\"Бета\\\"") + "\",\"" + win("C:\\\\Завод\\\\цех") +
                "\",\"" + win("К\\\\\\\"1") + "\")\n");
  std::string shown;
  EXPECT_EQ(runInTerminal(dir.path(),
                          lookUp("Кран \"Бета\"", "C:\\Завод\\цех", "К\\\"1") + saveAndLeave(),
                          &shown),
            0);
  EXPECT_NE(shown.find(kCodeIs + "К\\\"1" + kMenu), std::string::npos) << shown;
}

TEST(ProjbaseTerminal, BackspaceRemovesWholeMultiByteCharacters) {
  TempDir dir;
  std::string shown;
  runInTerminal(dir.path(),
                Dialogue{{kMenuEnd, "2"},
                         {kAskName, "Жы\x7f" "я\r"},
                         {kAskTechnology, "ab\x7f\x7f\x7f" "ё\r"},
                         {kAskCode, "№\x08" "7\r"}} +
                    saveAndLeave(),
                &shown);
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), fact("Жя", "ё", "7"));
  EXPECT_NE(shown.find("Жы\b \bя\n"), std::string::npos) << shown;
}

TEST(ProjbaseTerminal, ReadsAnExistingFileWithWindowsLineEnds) {
  TempDir dir;
  writeBytes(dir.file("knolbases.ddb"),
             "knolbase(\"" + win("Пресс") + "\",\"" + win("Ковка") + "\",\"" + win("П-3") +
                 "\")\r\nknolbase(\"a\\nb\",\"\",\"x\")\r\n");
  runInTerminal(dir.path(), lookUp("Пресс", "Ковка", "П-3") + saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")),
            fact("Пресс", "Ковка", "П-3") + "knolbase(\"a\\nb\",\"\",\"x\")\n");
}

TEST(ProjbaseTerminal, CursorKeysNeitherAbandonNorEnterTheLine) {
  TempDir dir;
  runInTerminal(dir.path(),
                Dialogue{{kMenuEnd, "\x1b[A"}, {kMenuEnd, "2"}, {kAskName, "a\x1b[Db\x1bOH\r"},
                         {kAskTechnology, "\r"}, {kAskCode, "\r"}} +
                    saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), "knolbase(\"ab\",\"\",\"\")\n");
}

TEST(ProjbaseTerminal, AnyBytesAndAVeryLongLineDoNoHarm) {
  TempDir dir;
  std::string noise;
  for (int b = 1; b < 256; ++b) {
    // Not Ctrl-C, Ctrl-\ (they break off the run), Esc, Enter or Ctrl-S/Ctrl-Q.
    if (b == 0x03 || b == 0x1c || b == 0x1b || b == '\r' || b == '\n' || b == 0x13 || b == 0x11)
      continue;
    noise += static_cast<char>(b);
  }
  const std::string longLine(70000, 'x');
  EXPECT_EQ(runInTerminal(dir.path(),
                          Dialogue{{kMenuEnd, "2"}, {kAskName, noise + "\r"},
                                   {kAskTechnology, longLine + "\r"}, {kAskCode, "end\r"}} +
                              saveAndLeave()),
            0);
  std::string file = readBytes(dir.file("knolbases.ddb"));
  EXPECT_NE(file.find("\",\"" + std::string(65536, 'x') + "\",\"end\")\n"), std::string::npos);
}

TEST(ProjbaseTerminal, CtrlCBreaksOffLeavingFileAndTerminalAsTheyWere) {
  TempDir dir;
  const std::string before = "knolbase(\"a\",\"b\",\"c\")\n";
  writeBytes(dir.file("knolbases.ddb"), before);
  PtyRun run(dir.path());
  ASSERT_TRUE(run.expect(kMenu));
  termios during{};
  ASSERT_EQ(::tcgetattr(run.masterFd(), &during), 0);
  EXPECT_EQ(during.c_lflag & (ICANON | ECHO), 0u) << "keys are read without echo";
  run.send("2");
  ASSERT_TRUE(run.expect(kAskName));
  run.send("x\r\x03");
  EXPECT_EQ(run.finish(), 128 + SIGINT);
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), before);
  termios after{};
  ASSERT_EQ(::tcgetattr(run.masterFd(), &after), 0);
  EXPECT_EQ(after.c_lflag & (ICANON | ECHO), static_cast<tcflag_t>(ICANON | ECHO))
      << "the terminal mode is restored";
}

// A terminal in another encoding: the locale is compiled for the test; the
// test is skipped on a system without locale sources.
struct OtherEncoding {
  std::string locale;
  const char* charmap;
  std::string path;
};

OtherEncoding prepare(const char* charmap) {
  std::string name = std::string("ru_RU.") + charmap;
  return {name, charmap, compileLocale("ru_RU", charmap, name)};
}

// Runs the dialogue, typed in `e`'s encoding, and returns what was shown,
// converted to UTF-8.
std::string runIn(const OtherEncoding& e, const std::string& dir, const Dialogue& d) {
  PtyRun run(dir, e.locale, e.path);
  for (const Step& step : d) {
    if (!run.expect(recode(step.waitFor, "UTF-8", e.charmap))) {
      ADD_FAILURE() << "never shown: " << step.waitFor;
      break;
    }
    run.send(recode(step.type, "UTF-8", e.charmap));
  }
  EXPECT_EQ(run.finish(), 0);
  return recode(run.transcript(), e.charmap, "UTF-8");
}

TEST(ProjbaseTerminal, SingleByteTerminalEncodingIsConvertedBothWays) {
  OtherEncoding koi8 = prepare("KOI8-R");
  if (koi8.path.empty()) GTEST_SKIP() << "no locale sources for ru_RU.KOI8-R";
  TempDir dir;
  std::string shown = runIn(koi8, dir.path(),
                            addRecord("Станок", "Литьё", "С-1") + lookUp("Станок", "Литьё", "С-1") +
                                saveAndLeave());
  EXPECT_NE(shown.find(kMenu + kAskName + "Станок\n"), std::string::npos) << shown;
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), fact("Станок", "Литьё", "С-1"));
}

TEST(ProjbaseTerminal, BackspaceRemovesWholeCharactersOfAMultiByteLegacyEncoding) {
  OtherEncoding euc = prepare("EUC-KR");  // Cyrillic letters take two bytes here
  if (euc.path.empty()) GTEST_SKIP() << "no locale sources for ru_RU.EUC-KR";
  TempDir dir;
  std::string shown = runIn(euc, dir.path(),
                            Dialogue{{kMenuEnd, "2"},
                                     {kAskName, "Жы\x7f" "я\r"},
                                     {kAskTechnology, "ab\x7f\x7f\x7f" "ё\r"},
                                     {kAskCode, "Щ\r"}} +
                                saveAndLeave());
  EXPECT_EQ(readBytes(dir.file("knolbases.ddb")), fact("Жя", "ё", "Щ"));
  EXPECT_NE(shown.find("Жы\b \bя\n"), std::string::npos) << shown;
}

}  // namespace
}  // namespace pbtest
