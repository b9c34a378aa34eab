#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace fileio {
namespace {

bool fail(std::string* error, int err) {
  if (error) *error = std::strerror(err);
  return false;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  std::string folder = folderOf(path);
  std::string temp = folder + "/.~" + path.substr(path.rfind('/') + 1) + ".XXXXXX";
  int fd = ::mkstemp(temp.data());
  if (fd < 0) return fail(error, errno);

  struct stat old {};
  mode_t mode = 0644;
  if (::stat(path.c_str(), &old) == 0) {
    mode = old.st_mode & 07777;
  } else {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode &= ~mask;
  }
  ::fchmod(fd, mode);

  if (!writeAll(fd, bytes) || ::fsync(fd) != 0) {
    int err = errno;
    ::close(fd);
    ::unlink(temp.c_str());
    return fail(error, err);
  }
  if (::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    return fail(error, err);
  }
  // Make the rename itself durable; a failure here does not undo the save.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}

bool readFile(const std::string& path, std::string& bytes, std::string* error) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return fail(error, errno);
  bytes.clear();
  // Reserving the size up front spares the copies of a growing string.
  struct stat st {};
  if (::fstat(::fileno(f), &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  bool ok = !std::ferror(f);
  int err = errno;
  std::fclose(f);
  return ok ? true : fail(error, err);
}

}  // namespace fileio
