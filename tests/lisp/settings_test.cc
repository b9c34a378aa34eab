// The settings file "velloq.ini": keys, formats, defaults and clamps.
#include "settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "atomic_file.h"

using velloq_ui::Settings;

namespace {

Settings parsed(const std::string& text) {
  Settings s;
  velloq_ui::parse_settings(text, s);
  return s;
}

TEST(SettingsTest, DefaultsWriteInTheFixedOrderAndFormats) {
  EXPECT_EQ(velloq_ui::format_settings(Settings{}),
            "USELOG      TRUE\n"
            "LOGFILE     VELLOQ.LOG\n"
            "MAX_STORED_LINES    200\n"
            "MAX_STORED_INPUT    100\n"
            "SAVE_DB_ON_EXIT     TRUE\n"
            "LOAD_DB_AT_STARTUP  TRUE\n"
            "STARTUP_DB  databases.dat\n"
            "ALLOW_ERROR_MESSAGES        TRUE\n");
}

TEST(SettingsTest, EmptyNamesAreWrittenAsTheirStandardNames) {
  Settings s;
  s.log_file = "";
  s.startup_db = "";
  s.use_log = false;
  std::string text = velloq_ui::format_settings(s);
  EXPECT_NE(text.find("LOGFILE     velloq.log\n"), std::string::npos) << text;
  EXPECT_NE(text.find("STARTUP_DB  standart.vqr\n"), std::string::npos) << text;
  EXPECT_NE(text.find("USELOG      FALSE\n"), std::string::npos) << text;
}

TEST(SettingsTest, ValueWithALineBreakStaysOnItsLine) {
  Settings s;
  s.log_file = "a.log\nUSELOG FALSE";
  Settings back = parsed(velloq_ui::format_settings(s));
  EXPECT_EQ(back.log_file, "a.log");
  EXPECT_TRUE(back.use_log);
}

TEST(SettingsTest, NumbersAreClampedWhenRead) {
  struct Case { const char* line; int lines; int input; } cases[] = {
      {"MAX_STORED_LINES 50", 100, 100},
      {"MAX_STORED_LINES 100", 100, 100},
      {"MAX_STORED_LINES 450", 450, 100},
      {"MAX_STORED_LINES 800", 800, 100},
      {"MAX_STORED_LINES 801", 800, 100},
      {"MAX_STORED_LINES -5", 100, 100},
      {"MAX_STORED_LINES abc", 100, 100},
      {"MAX_STORED_LINES", 100, 100},
      {"MAX_STORED_LINES 300xyz", 300, 100},
      {"MAX_STORED_LINES 99999999999999999999", 800, 100},
      {"MAX_STORED_INPUT 500", 200, 100},
      {"MAX_STORED_INPUT 2", 200, 3},
      {"MAX_STORED_INPUT 3", 200, 3},
      {"MAX_STORED_INPUT 42", 200, 42},
      {"MAX_STORED_INPUT x", 200, 3},
  };
  for (auto& c : cases) {
    Settings s = parsed(c.line);
    EXPECT_EQ(s.max_stored_lines, c.lines) << c.line;
    EXPECT_EQ(s.max_stored_input, c.input) << c.line;
  }
}

TEST(SettingsTest, BooleansTakeOnlyTrueOrFalse) {
  struct Case { const char* text; bool use_log; } cases[] = {
      {"USELOG FALSE", false}, {"USELOG TRUE", true}, {"USELOG false", true},
      {"USELOG 0", true},      {"USELOG", true},      {"USELOG FALSEX", true},
      {"USELOG\tFALSE", false}, {"USELOG = FALSE", false}, {"  USELOG   FALSE  ", false},
      {"uselog FALSE", true},  {"USELOGFALSE", true},
  };
  for (auto& c : cases) EXPECT_EQ(parsed(c.text).use_log, c.use_log) << c.text;
  Settings s;
  s.use_log = false;
  velloq_ui::parse_settings("USELOG maybe\n", s);
  EXPECT_FALSE(s.use_log) << "a garbled value leaves the setting as it was";
}

TEST(SettingsTest, EveryKeyIsReadWithLfOrCrLf) {
  for (const char* eol : {"\n", "\r\n"}) {
    std::string e = eol;
    Settings s = parsed("USELOG FALSE" + e + "LOGFILE   my log.txt" + e +
                        "MAX_STORED_LINES 300" + e + "MAX_STORED_INPUT 7" + e +
                        "ALLOW_ERROR_MESSAGES FALSE" + e + "LOAD_DB_AT_STARTUP FALSE" + e +
                        "SAVE_DB_ON_EXIT FALSE" + e + "STARTUP_DB =proj.vqr" + e);
    EXPECT_FALSE(s.use_log);
    EXPECT_EQ(s.log_file, "my log.txt");
    EXPECT_EQ(s.max_stored_lines, 300);
    EXPECT_EQ(s.max_stored_input, 7);
    EXPECT_FALSE(s.allow_error_messages);
    EXPECT_FALSE(s.load_db_at_startup);
    EXPECT_FALSE(s.save_db_on_exit);
    EXPECT_EQ(s.startup_db, "proj.vqr");
  }
}

TEST(SettingsTest, ValueEndsAtACarriageReturn) {
  Settings s = parsed("LOGFILE a.log\rUSELOG FALSE\nSTARTUP_DB \x0b x.vqr \x01\n");
  EXPECT_EQ(s.log_file, "a.log");
  EXPECT_TRUE(s.use_log) << "text after a lone CR is not a line of its own";
  EXPECT_EQ(s.startup_db, "\x0b x.vqr") << "trimmed of control characters at its ends only";
  EXPECT_EQ(parsed(velloq_ui::format_settings(s)).startup_db, s.startup_db);
}

TEST(SettingsTest, UnknownAndGarbledLinesAreIgnored) {
  Settings s = parsed("\n\n# comment\nCOLOR red\n\x01\x02\xFF garbage\nMAX_STORED_LINES 250\n");
  EXPECT_EQ(s.max_stored_lines, 250);
  EXPECT_EQ(velloq_ui::format_settings(s).find("red"), std::string::npos);
  Settings defaults;
  EXPECT_EQ(velloq_ui::format_settings(parsed(std::string("\0\0\0", 3))),
            velloq_ui::format_settings(defaults));
}

TEST(SettingsTest, OnlyTheFirst512CharactersOfALineCount) {
  std::string name(600, 'n');
  Settings s = parsed("LOGFILE " + name + "\nMAX_STORED_INPUT 9\n");
  EXPECT_EQ(s.log_file, std::string(512 - 8, 'n'));
  EXPECT_EQ(s.max_stored_input, 9) << "the next line is read as a line of its own";
  Settings back = parsed(velloq_ui::format_settings(s));
  EXPECT_EQ(back.log_file, std::string(512 - 12, 'n')) << "written no longer than read";
}

TEST(SettingsTest, WrittenFileReadsBackAndMissingFileLeavesDefaults) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/settingsXXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string path = std::string(pattern) + "/velloq.ini";
  Settings s;
  EXPECT_FALSE(velloq_ui::read_settings_file(path, s));
  EXPECT_EQ(velloq_ui::format_settings(s), velloq_ui::format_settings(Settings{}));

  s.use_log = false;
  s.log_file = "session.log";
  s.max_stored_lines = 640;
  s.max_stored_input = 12;
  s.allow_error_messages = false;
  s.startup_db = "my.vqr";
  ASSERT_TRUE(velloq_ui::write_settings_file(path, s));
  Settings back;
  ASSERT_TRUE(velloq_ui::read_settings_file(path, back));
  EXPECT_EQ(velloq_ui::format_settings(back), velloq_ui::format_settings(s));
  fs::remove_all(pattern);
}

TEST(SettingsTest, FailedWriteLeavesThePreviousFileWhole) {
  namespace fs = std::filesystem;
  char pattern[] = "/tmp/settingsXXXXXX";
  ASSERT_NE(::mkdtemp(pattern), nullptr);
  std::string dir = pattern;
  std::string path = dir + "/velloq.ini";
  ASSERT_TRUE(velloq_ui::write_settings_file(path, Settings{}));
  std::string before;
  ASSERT_TRUE(fileio::readFile(path, before));
  Settings changed;
  changed.max_stored_lines = 777;
  std::string error;
  if (::geteuid() != 0) {
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(velloq_ui::write_settings_file(path, changed, &error));
    EXPECT_FALSE(error.empty());
    fs::permissions(dir, fs::perms::owner_all);
  }
  // A folder in the way of the file cannot be replaced either, even by root.
  std::string blocked = dir + "/blocked.ini";
  fs::create_directory(blocked);
  fs::create_directory(blocked + "/inside");
  EXPECT_FALSE(velloq_ui::write_settings_file(blocked, changed, &error));
  std::string after;
  ASSERT_TRUE(fileio::readFile(path, after));
  EXPECT_EQ(after, before);
  fs::remove_all(dir);
}

}  // namespace
