// The settings of the Lisp environment and their file "velloq.ini": one line
// per key, the key, blanks, the value; booleans as "TRUE" or "FALSE".
#pragma once

#include <string>
#include <string_view>

namespace velloq_ui {

struct Settings {
  bool use_log = true;                    // USELOG
  std::string log_file = "VELLOQ.LOG";    // LOGFILE
  int max_stored_lines = 200;             // MAX_STORED_LINES, 100..800 when read
  int max_stored_input = 100;             // MAX_STORED_INPUT, 3..100 when read
  bool allow_error_messages = true;       // ALLOW_ERROR_MESSAGES
  bool load_db_at_startup = true;         // LOAD_DB_AT_STARTUP
  bool save_db_on_exit = true;            // SAVE_DB_ON_EXIT
  std::string startup_db = "databases.dat";  // STARTUP_DB
};

enum { MIN_STORED_LINES = 100, MAX_STORED_LINES = 800, MIN_STORED_INPUT = 3, MAX_STORED_INPUT = 100 };

// Applies the lines of a settings text to `settings`.  Unknown keys, and
// boolean values other than "TRUE" and "FALSE", leave it as it was; a number
// that does not convert counts as 0 and is clamped like any other.  Lines
// may end in LF or CR LF; only the first 512 characters of a line count.
void parse_settings(std::string_view text, Settings& settings);

// Reads the settings file at `path` into `settings`.  A missing or unreadable
// file leaves every value as it was and returns false.
bool read_settings_file(const std::string& path, Settings& settings);

// The text of a settings file: every key in its fixed order and format.  A
// text value is cut at its first line break, and where its line would be
// longer than the reader reads (512 characters).
std::string format_settings(const Settings& settings);

// Replaces the file at `path` atomically with format_settings(settings): a
// crash or a full disk leaves the previous file whole.  False, with `error`
// set when given, when the file could not be written.
bool write_settings_file(const std::string& path, const Settings& settings,
                         std::string* error = nullptr);

}  // namespace velloq_ui
