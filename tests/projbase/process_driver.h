// Running the real projbase binary for end-to-end tests: in a
// pseudo-terminal, as a user at a terminal would, or with standard input
// from a pipe, as a script would.  Each run uses a temporary folder.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>
#include <vector>

namespace pbtest {

// The program under test, as the build put it.
std::string projbaseBinary();

// A fresh empty folder, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

bool fileExists(const std::string& path);
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, std::string_view bytes);

// projbase running in a pseudo-terminal, in the locale `locale`, looked
// up in `localePath` when that is not empty.
class PtyRun {
 public:
  explicit PtyRun(const std::string& dir, const std::string& locale = "C.UTF-8",
                  const std::string& localePath = "");
  ~PtyRun();

  // Types `bytes`; output keeps being collected meanwhile.
  void send(std::string_view bytes);
  // Waits until `text` appears in the output after the place where the
  // previous expect matched, and moves that place past it.  Returns false
  // when the program ends or stays silent for a long time (a hang guard,
  // not a measure of speed) without showing it.
  bool expect(std::string_view text);
  // Waits for the program to end and returns its exit status (128 plus the
  // signal number when a signal ended it).
  int finish();
  // Everything shown so far, carriage returns removed.
  std::string transcript() const;
  // The terminal's side of the program, for looking at its mode.
  int masterFd() const { return master_; }

 private:
  bool collect(int timeoutMs);

  int master_ = -1;
  pid_t pid_ = -1;
  std::string output_;
  std::size_t matched_ = 0;
  int status_ = -1;
};

// Outcome of a run with piped standard input.
struct PipeResult {
  int status = -1;  // exit status, or 128 plus the signal number
  std::string out;
  std::string err;
};

// Runs projbase in `dir` with `input` on a pipe as standard input, in the
// locale `locale`.  When `fileSizeLimit` is not zero, files the program
// writes may not grow beyond that many bytes.  `extraEnv` ("NAME=value")
// is added to the environment.
PipeResult runPiped(const std::string& dir, std::string_view input, long fileSizeLimit = 0,
                    const std::string& locale = "C.UTF-8",
                    const std::vector<std::string>& extraEnv = {});

// Compiles the locale `name` (say "ru_RU.KOI8-R") from the system's locale
// sources into a folder of its own and returns that folder, or an empty
// text when the sources or localedef are not there.
std::string compileLocale(const std::string& source, const std::string& charmap,
                          const std::string& name);

// Converts text between two encodings with iconv.
std::string recode(const std::string& text, const char* from, const char* to);

}  // namespace pbtest
