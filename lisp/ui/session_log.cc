// The session log.
#include "session_log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <utility>

namespace velloq_ui {

namespace {

std::string stamped(const char* head, const std::tm& when) {
  char date[32], time[32];
  std::strftime(date, sizeof date, "%d.%m.%Y", &when);
  std::strftime(time, sizeof time, "%H:%M:%S", &when);
  return std::string(head) + date + " ;Time: " + time + "]\n";
}

}  // namespace

std::string log_on_line(const std::tm& when) { return stamped("[Log on.  Date: ", when); }
std::string log_off_line(const std::tm& when) { return stamped("[Log off. Date: ", when); }

bool append_to_file(const std::string& path, const std::string& bytes) {
  int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  off_t before = ::lseek(fd, 0, SEEK_END);
  size_t done = 0;
  bool ok = true;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  if (!ok && before >= 0) (void)::ftruncate(fd, before);
  if (::close(fd) != 0) ok = false;
  return ok;
}

SessionLog::SessionLog(std::string path, bool enabled, int max_stored_lines,
                       std::function<void(const std::string&)> report_error)
    : path_(std::move(path)),
      enabled_(enabled),
      max_lines_(max_stored_lines < 1 ? 1 : max_stored_lines),
      lines_to_log_(max_lines_),
      report_error_(std::move(report_error)) {}

bool SessionLog::append(const std::string& bytes) {
  if (append_to_file(path_, bytes)) return true;
  enabled_ = false;
  if (report_error_) report_error_("Error opening log file.");
  return false;
}

void SessionLog::log_on(const std::tm& when) {
  if (enabled_) append(log_on_line(when));
}

void SessionLog::add_line(const std::string& line) {
  lines_.push_back(line);
  if (enabled_) lines_to_log_--;
  trim();
}

void SessionLog::flush_unwritten() {
  std::string batch;
  for (size_t i = written_; i < lines_.size(); i++) batch += lines_[i] + "\n";
  if (!batch.empty() && !append(batch)) return;
  written_ = lines_.size();
}

// The oldest lines go once there are more than the maximum.  While logging,
// the unwritten lines are appended in one batch when the counter runs out,
// and in any case before an unwritten line would go.
void SessionLog::trim() {
  while (lines_.size() > static_cast<size_t>(max_lines_)) {
    if (enabled_ && (lines_to_log_ <= 0 || written_ == 0)) {
      flush_unwritten();
      lines_to_log_ = max_lines_;
    }
    lines_.pop_front();
    if (written_ > 0) written_--;
  }
}

void SessionLog::log_off(const std::tm& when) {
  if (!enabled_) return;
  flush_unwritten();
  if (enabled_) append(log_off_line(when));
}

}  // namespace velloq_ui
