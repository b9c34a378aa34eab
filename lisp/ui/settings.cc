// Reading and writing "velloq.ini".
#include "settings.h"

#include <cstdlib>
#include <string>

#include "atomic_file.h"

namespace velloq_ui {

namespace {

const size_t kMaxLineChars = 512;

// Trimming takes every control character and the blank, as line reading
// on the original platform did.
bool is_blank(char c) { return (unsigned char)c <= ' '; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_blank(s.back())) s.remove_suffix(1);
  return s;
}

void set_bool(std::string_view value, bool& target) {
  if (value == "TRUE") target = true;
  else if (value == "FALSE") target = false;
}

// Leading decimal digits with an optional sign, as atoi reads them; text
// that does not start with a number is 0.  Huge numbers saturate.
long leading_number(std::string_view value) {
  std::string s(value);
  char* end = nullptr;
  long n = std::strtol(s.c_str(), &end, 10);
  if (end == s.c_str()) return 0;
  return n;
}

int clamped(long n, int low, int high) {
  if (n < low) return low;
  if (n > high) return high;
  return static_cast<int>(n);
}

void apply_line(std::string_view line, Settings& s) {
  line = trim(line.substr(0, line.find('\r')));  // the value ends at CR or LF
  size_t key_end = line.find_first_of(" \t");
  std::string_view key = line.substr(0, key_end);
  std::string_view value;
  if (key_end != std::string_view::npos) {
    value = line.substr(key_end);
    size_t start = value.find_first_not_of(" \t=");
    value = start == std::string_view::npos ? std::string_view() : value.substr(start);
  }
  if (key == "USELOG") set_bool(value, s.use_log);
  else if (key == "LOGFILE") s.log_file = std::string(value);
  else if (key == "MAX_STORED_LINES")
    s.max_stored_lines = clamped(leading_number(value), MIN_STORED_LINES, MAX_STORED_LINES);
  else if (key == "MAX_STORED_INPUT")
    s.max_stored_input = clamped(leading_number(value), MIN_STORED_INPUT, MAX_STORED_INPUT);
  else if (key == "ALLOW_ERROR_MESSAGES") set_bool(value, s.allow_error_messages);
  else if (key == "LOAD_DB_AT_STARTUP") set_bool(value, s.load_db_at_startup);
  else if (key == "SAVE_DB_ON_EXIT") set_bool(value, s.save_db_on_exit);
  else if (key == "STARTUP_DB") s.startup_db = std::string(value);
}

const char* bool_text(bool b) { return b ? "TRUE" : "FALSE"; }

// A text value is written on its key's line only (a line break would start
// a line of its own when the file is read back), and no longer than the
// reader reads a line.
std::string text_line(const char* head, const std::string& value, const char* when_empty) {
  std::string v = value.substr(0, value.find_first_of("\r\n"));
  if (v.empty()) v = when_empty;
  std::string line = std::string(head) + v;
  if (line.size() > kMaxLineChars) line.resize(kMaxLineChars);
  while (is_blank(line.back())) line.pop_back();  // as the reader trims
  return line + "\n";
}

}  // namespace

void parse_settings(std::string_view text, Settings& settings) {
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.size() > kMaxLineChars) line = line.substr(0, kMaxLineChars);
    apply_line(line, settings);
  }
}

bool read_settings_file(const std::string& path, Settings& settings) {
  std::string bytes;
  if (!fileio::readFile(path, bytes)) return false;
  parse_settings(bytes, settings);
  return true;
}

std::string format_settings(const Settings& s) {
  std::string out;
  out += "USELOG      " + std::string(bool_text(s.use_log)) + "\n";
  out += text_line("LOGFILE     ", s.log_file, "velloq.log");
  out += "MAX_STORED_LINES    " + std::to_string(s.max_stored_lines) + "\n";
  out += "MAX_STORED_INPUT    " + std::to_string(s.max_stored_input) + "\n";
  out += "SAVE_DB_ON_EXIT     " + std::string(bool_text(s.save_db_on_exit)) + "\n";
  out += "LOAD_DB_AT_STARTUP  " + std::string(bool_text(s.load_db_at_startup)) + "\n";
  out += text_line("STARTUP_DB  ", s.startup_db, "standart.vqr");
  out += "ALLOW_ERROR_MESSAGES        " + std::string(bool_text(s.allow_error_messages)) + "\n";
  return out;
}

bool write_settings_file(const std::string& path, const Settings& settings, std::string* error) {
  return fileio::replaceFile(path, format_settings(settings), error);
}

}  // namespace velloq_ui
