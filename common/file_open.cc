#include "file_open.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "cp1251_literal.h"
#include "system_error.h"

namespace fileio {

using namespace cp1251::literals;

namespace {

// EINVAL is what openRegular sets for a special file; open(2) itself never
// reports it for O_RDONLY on a path, so the reason cannot be mistaken.
constexpr int kNotRegular = EINVAL;

int fail(std::string* error, int err) {
  if (error) *error = openFailureReason(err);
  errno = err;
  return -1;
}

}  // namespace

std::string openFailureReason(int err) {
  if (err == kNotRegular) return "не обычный файл"_cp1251.c_str();
  if (err == EISDIR) return "это каталог"_cp1251.c_str();
  return systemReason(err);
}

int openRegular(const std::string& path, std::string* error) {
  // O_NONBLOCK: opening a pipe with no writer would wait for one.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return fail(error, errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    int err = errno;
    ::close(fd);
    return fail(error, err);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return fail(error, S_ISDIR(st.st_mode) ? EISDIR : kNotRegular);
  }
  // Reads of a regular file never block; the flag goes so that no reader
  // sees EAGAIN where it expects data.
  int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

std::FILE* fopenRegular(const std::string& path, const char* mode, std::string* error) {
  int fd = openRegular(path, error);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, mode);
  if (!f) {
    int err = errno;
    ::close(fd);
    fail(error, err);
  }
  return f;
}

}  // namespace fileio
