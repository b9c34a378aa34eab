#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

#include "file_open.h"
#include "io_faults.h"
#include "system_error.h"

namespace fileio {
namespace {

bool fail(std::string* error, int err) {
  if (error) *error = systemReason(err);
  return false;
}

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The mode of the file being replaced, or 0644 minus the umask for a new one.
mode_t modeFor(const std::string& path) {
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) return old.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0644 & ~mask;
}

// The temporary file being written.  `name` stays empty while it is an
// unnamed file (O_TMPFILE): a process killed then leaves nothing behind.
struct Temp {
  int fd = -1;
  std::string name;
};

// Closes the temporary file and removes its name, keeping errno.
void discard(Temp& temp) {
  int err = errno;
  if (temp.fd >= 0) ::close(temp.fd);
  if (!temp.name.empty()) ::unlink(temp.name.c_str());
  temp = Temp{};
  errno = err;
}

// A fresh name for the temporary file, next to the target so that the
// rename stays within one file system.
std::string tempName(const std::string& folder, const std::string& base) {
  static std::minstd_rand random(std::random_device{}());
  static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::string suffix(6, 'a');
  for (char& c : suffix) c = kDigits[random() % (sizeof kDigits - 1)];
  return folder + "/.~" + base + "." + suffix;
}

// Naming an unnamed file goes through /proc (linkat with AT_EMPTY_PATH
// would need a privilege), so without /proc only named files serve.
bool unnamedPossible() {
  return !faults::unnamedRefused() && ::access("/proc/self/fd", X_OK) == 0;
}

// Opens the temporary file: unnamed where the file system allows it,
// otherwise a named one made by mkstemp.
bool createTemp(const std::string& folder, const std::string& base, mode_t mode, Temp& temp) {
  if (faults::inject()) return false;
  if (unnamedPossible()) {
    temp.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    if (temp.fd >= 0) return true;
    // Kernels and file systems without O_TMPFILE say so in one of these ways.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return false;
  }
  temp.name = folder + "/.~" + base + ".XXXXXX";
  temp.fd = ::mkstemp(temp.name.data());
  if (temp.fd < 0) temp.name.clear();
  return temp.fd >= 0;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    if (faults::inject()) return false;
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool flush(int fd) { return !faults::inject() && ::fsync(fd) == 0; }

// Gives a complete unnamed file a name, retrying while the name is taken.
bool nameTemp(const std::string& folder, const std::string& base, Temp& temp) {
  if (!temp.name.empty()) return true;
  if (faults::inject()) return false;
  std::string proc = "/proc/self/fd/" + std::to_string(temp.fd);
  for (int tries = 0; tries < 100; ++tries) {
    std::string name = tempName(folder, base);
    if (::linkat(AT_FDCWD, proc.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      temp.name = name;
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

// Closing may report a write error that the file system kept until now.
bool closeTemp(Temp& temp) {
  bool injected = faults::inject();
  int fd = temp.fd;
  temp.fd = -1;
  if (::close(fd) != 0) return false;
  if (injected) errno = EIO;
  return !injected;
}

bool renameTemp(Temp& temp, const std::string& path) {
  if (faults::inject() || ::rename(temp.name.c_str(), path.c_str()) != 0) return false;
  temp.name.clear();
  return true;
}

// Makes the rename itself durable; a failure here does not undo the save.
void flushFolder(const std::string& folder) {
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir < 0) return;
  ::fsync(dir);
  ::close(dir);
}

}  // namespace

bool replaceFile(const std::string& path, std::string_view bytes, std::string* error) {
  std::string folder = folderOf(path), base = baseOf(path);
  mode_t mode = modeFor(path);
  Temp temp;
  if (!createTemp(folder, base, mode, temp)) return fail(error, errno);
  ::fchmod(temp.fd, mode);  // mkstemp made it 0600
  if (!writeAll(temp.fd, bytes) || !flush(temp.fd) || !nameTemp(folder, base, temp) ||
      !closeTemp(temp) || !renameTemp(temp, path)) {
    discard(temp);
    return fail(error, errno);
  }
  flushFolder(folder);
  return true;
}

bool readFile(const std::string& path, std::string& bytes, std::string* error) {
  FILE* f = fopenRegular(path, "rb", error);
  if (!f) return false;
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
