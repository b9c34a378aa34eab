#include "process_driver.h"

#include <fcntl.h>
#include <iconv.h>
#include <poll.h>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace pbtest {
namespace {

// No single step of a dialogue takes this long unless the program hangs
// (or a test waits for something the program never shows).
constexpr int kHangGuardMs = 15000;

// The environment of the child: ours with the locale set to `locale`.
std::vector<std::string> childEnvironment(const std::string& locale = "C.UTF-8",
                                          const std::string& localePath = "") {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string_view v(*e);
    if (v.rfind("LC_", 0) == 0 || v.rfind("LANG=", 0) == 0 || v.rfind("LOCPATH=", 0) == 0)
      continue;
    env.emplace_back(v);
  }
  env.emplace_back("LC_ALL=" + locale);
  if (!localePath.empty()) env.emplace_back("LOCPATH=" + localePath);
  return env;
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
  std::vector<char*> p;
  for (std::string& s : strings) p.push_back(s.data());
  p.push_back(nullptr);
  return p;
}

// In the child: runs projbase in `dir`; never returns.
[[noreturn]] void execProjbase(const std::string& dir, char* const* envp) {
  std::signal(SIGPIPE, SIG_DFL);
  if (::chdir(dir.c_str()) != 0) ::_exit(126);
  std::string binary = projbaseBinary();
  char* argv[] = {binary.data(), nullptr};
  ::execve(binary.c_str(), argv, envp);
  ::_exit(127);
}

int decodeStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

// Waits for `pid`; kills it when it has not ended within the hang guard.
int waitFor(pid_t pid) {
  int status = 0;
  for (int waited = 0; ::waitpid(pid, &status, WNOHANG) == 0; waited += 10) {
    if (waited == kHangGuardMs) ::kill(pid, SIGKILL);
    ::usleep(10000);
  }
  return decodeStatus(status);
}

}  // namespace

std::string projbaseBinary() { return SUITE_BINARY_DIR "/bin/projbase"; }

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "projbase-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool fileExists(const std::string& path) { return ::access(path.c_str(), F_OK) == 0; }

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

void writeBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

PtyRun::PtyRun(const std::string& dir, const std::string& locale,
               const std::string& localePath) {
  std::vector<std::string> env = childEnvironment(locale, localePath);
  std::vector<char*> envp = pointers(env);
  pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
  if (pid_ < 0) throw std::runtime_error("forkpty failed");
  if (pid_ == 0) execProjbase(dir, envp.data());
}

PtyRun::~PtyRun() {
  if (status_ < 0 && pid_ > 0) {
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  if (master_ >= 0) ::close(master_);
}

// Reads what the program has written, waiting up to `timeoutMs` for
// something.  Returns false once the program's side is closed.
bool PtyRun::collect(int timeoutMs) {
  pollfd p{master_, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0) return true;
  char buffer[4096];
  ssize_t n = ::read(master_, buffer, sizeof buffer);
  if (n <= 0) return false;  // EIO: the program has ended
  for (ssize_t i = 0; i < n; ++i)
    if (buffer[i] != '\r') output_ += buffer[i];
  return true;
}

void PtyRun::send(std::string_view bytes) {
  auto lastProgress = std::chrono::steady_clock::now();
  while (!bytes.empty()) {
    pollfd p{master_, POLLOUT, 0};
    ::poll(&p, 1, 10);
    if (p.revents & POLLOUT) {
      ssize_t n = ::write(master_, bytes.data(), std::min<std::size_t>(bytes.size(), 512));
      if (n < 0 && errno != EINTR && errno != EAGAIN) return;
      if (n > 0) {
        bytes.remove_prefix(static_cast<std::size_t>(n));
        lastProgress = std::chrono::steady_clock::now();
      }
    }
    if (!collect(0)) return;  // keep the echo flowing so that the program never blocks
    if (std::chrono::steady_clock::now() - lastProgress > std::chrono::milliseconds(kHangGuardMs))
      return;  // the program no longer reads; the next expect reports it
  }
}

bool PtyRun::expect(std::string_view text) {
  auto lastOutput = std::chrono::steady_clock::now();
  for (;;) {
    std::size_t at = output_.find(text, matched_);
    if (at != std::string::npos) {
      matched_ = at + text.size();
      return true;
    }
    std::size_t before = output_.size();
    if (!collect(50)) return false;  // the program has ended without showing it
    auto now = std::chrono::steady_clock::now();
    if (output_.size() != before) lastOutput = now;
    if (now - lastOutput > std::chrono::milliseconds(kHangGuardMs)) return false;
  }
}

int PtyRun::finish() {
  auto lastOutput = std::chrono::steady_clock::now();
  for (;;) {
    std::size_t before = output_.size();
    if (!collect(50)) break;
    auto now = std::chrono::steady_clock::now();
    if (output_.size() != before) lastOutput = now;
    if (now - lastOutput > std::chrono::milliseconds(kHangGuardMs)) break;
  }
  int status = waitFor(pid_);  // kills the program if it has not ended
  status_ = status < 0 ? 0 : status;
  return status;
}

std::string PtyRun::transcript() const { return output_; }

namespace {

// Feeds `input` to the child and collects its two outputs together with
// poll, so that neither side can block the other.
void pump(int in, int out, int err, std::string_view input, PipeResult& result) {
  ::fcntl(in, F_SETFL, O_NONBLOCK);
  std::string* sinks[] = {&result.out, &result.err};
  int open[] = {out, err};
  while (open[0] >= 0 || open[1] >= 0) {
    pollfd p[3] = {{open[0], POLLIN, 0}, {open[1], POLLIN, 0}, {in, POLLOUT, 0}};
    if (::poll(p, in >= 0 ? 3 : 2, kHangGuardMs) <= 0) break;
    for (int i = 0; i < 2; ++i) {
      if (open[i] < 0 || !(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buffer[4096];
      ssize_t n = ::read(open[i], buffer, sizeof buffer);
      if (n > 0) sinks[i]->append(buffer, static_cast<std::size_t>(n));
      if (n == 0 || (n < 0 && errno != EINTR)) {
        ::close(open[i]);
        open[i] = -1;
      }
    }
    if (in >= 0 && (p[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
      ssize_t n = input.empty() ? 0 : ::write(in, input.data(), std::min<std::size_t>(input.size(), 65536));
      if (n > 0) input.remove_prefix(static_cast<std::size_t>(n));
      if (input.empty() || (n < 0 && errno != EINTR && errno != EAGAIN)) {
        ::close(in);  // all written, or the program stopped reading
        in = -1;
      }
    }
  }
  if (in >= 0) ::close(in);
  for (int fd : open)
    if (fd >= 0) ::close(fd);
}

}  // namespace

PipeResult runPiped(const std::string& dir, std::string_view input, long fileSizeLimit,
                    const std::string& locale, const std::vector<std::string>& extraEnv) {
  std::vector<std::string> env = childEnvironment(locale);
  env.insert(env.end(), extraEnv.begin(), extraEnv.end());
  std::vector<char*> envp = pointers(env);
  int in[2], out[2], err[2];
  if (::pipe(in) != 0 || ::pipe(out) != 0 || ::pipe(err) != 0)
    throw std::runtime_error("pipe failed");
  std::signal(SIGPIPE, SIG_IGN);
  pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    ::dup2(in[0], 0);
    ::dup2(out[1], 1);
    ::dup2(err[1], 2);
    for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
    if (fileSizeLimit > 0) {
      rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
      ::setrlimit(RLIMIT_FSIZE, &limit);
      std::signal(SIGXFSZ, SIG_IGN);  // a too large write then fails with EFBIG
    }
    execProjbase(dir, envp.data());
  }
  ::close(in[0]);
  ::close(out[1]);
  ::close(err[1]);
  PipeResult result;
  pump(in[1], out[0], err[0], input, result);
  result.status = waitFor(pid);
  return result;
}

std::string compileLocale(const std::string& source, const std::string& charmap,
                          const std::string& name) {
  static TempDir folder;  // lives as long as the test program
  const std::string target = folder.file(name);
  if (!fileExists(target)) {
    std::string command = "localedef -c -i " + source + " -f " + charmap + " " + target +
                          " >/dev/null 2>&1";
    if (std::system(command.c_str()) < 0) return "";
  }
  return fileExists(target + "/LC_CTYPE") ? folder.path() : "";
}

std::string recode(const std::string& text, const char* from, const char* to) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string out(text.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  char* o = out.data();
  std::size_t outLeft = out.size();
  std::size_t r = ::iconv(cd, &in, &inLeft, &o, &outLeft);
  ::iconv_close(cd);
  if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv failed");
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace pbtest
