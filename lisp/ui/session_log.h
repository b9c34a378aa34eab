// The log of the terminal session: the lines the terminal shows, appended to
// the log file in batches before they scroll out of the stored lines, framed
// by a log-on and a log-off line.
#pragma once

#include <ctime>
#include <deque>
#include <functional>
#include <string>

namespace velloq_ui {

// "[Log on.  Date: dd.mm.yyyy ;Time: hh:mm:ss]\n" and the log-off line.
std::string log_on_line(const std::tm& when);
std::string log_off_line(const std::tm& when);

// Appends `bytes` to the file at `path` in one write (created when missing).
// When the write fails part-way, the file is cut back to its previous
// length, so a full disk leaves no half line behind.  False on failure.
bool append_to_file(const std::string& path, const std::string& bytes);

// The stored output lines of the terminal and their way into the log.
class SessionLog {
 public:
  // `report_error` is called with "Error opening log file." when the log
  // cannot be written; logging is then switched off.
  SessionLog(std::string path, bool enabled, int max_stored_lines,
             std::function<void(const std::string&)> report_error = {});

  // Appends the log-on line (when logging).
  void log_on(const std::tm& when);
  // Stores one completed output line (without its line end) and trims the
  // stored lines to the maximum.
  void add_line(const std::string& line);
  // Appends the lines not yet written and the log-off line (when logging).
  void log_off(const std::tm& when);

  // Logging may be switched on and off, and the maximum changed, between
  // lines (the preferences).  Lowering the maximum trims at the next line.
  void set_enabled(bool on) { enabled_ = on; }
  void set_max_stored_lines(int n) { max_lines_ = n < 1 ? 1 : n; }

  bool enabled() const { return enabled_; }
  const std::deque<std::string>& lines() const { return lines_; }
  int lines_to_log() const { return lines_to_log_; }

 private:
  void trim();
  void flush_unwritten();
  bool append(const std::string& bytes);

  std::string path_;
  bool enabled_;
  int max_lines_;
  int lines_to_log_;              // lines still to come before the next batch
  std::deque<std::string> lines_;
  size_t written_ = 0;            // leading stored lines already in the log
  std::function<void(const std::string&)> report_error_;
};

}  // namespace velloq_ui
