#include "consult_command.h"

#include <fstream>
#include <streambuf>
#include <string>

#include "atomic_file.h"
#include "console_consult.h"
#include "cp1251.h"

namespace norvix {

namespace {

// Passes everything on to `out` and keeps a copy.
class CopyingBuffer : public std::streambuf {
 public:
  CopyingBuffer(std::ostream& out, std::string& copy) : out_(out), copy_(copy) {}

 protected:
  int overflow(int c) override {
    if (c == traits_type::eof()) return traits_type::not_eof(c);
    char ch = static_cast<char>(c);
    out_.put(ch);
    copy_ += ch;
    return c;
  }
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    out_.write(s, n);
    copy_.append(s, static_cast<size_t>(n));
    return n;
  }
  int sync() override {
    out_.flush();
    return 0;
  }

 private:
  std::ostream& out_;
  std::string& copy_;
};

// "Ошибка: " + what (Windows-1251, shown in the terminal's encoding) + the
// file name as the system gave it.
void ReportFileError(std::ostream& err, const char* whatUtf8, const std::string& file,
                     const std::string& cause = {}) {
  err << cp1251::toLocale(cp1251::fromUtf8(whatUtf8)) << file;
  if (!cause.empty()) err << ": " << cause;
  err << '\n';
  err.flush();
}

}  // namespace

int RunConsultCommand(const CommandLine& cl, std::istream& in, std::ostream& out,
                      std::ostream& err) {
  std::ifstream script;
  if (!cl.answers.empty()) {
    script.open(cl.answers, std::ios::binary);
    if (!script) {
      ReportFileError(err, "Ошибка: невозможно открыть файл ответов ", cl.answers);
      return 2;
    }
  }
  std::istream& replies = cl.answers.empty() ? in : script;
  if (cl.log.empty()) return RunConsoleConsultation(cl.file, replies, out, err, cl.explain);

  std::string dialogue;
  CopyingBuffer copying(out, dialogue);
  std::ostream shown(&copying);
  int status = RunConsoleConsultation(cl.file, replies, shown, err, cl.explain);
  shown.flush();
  if (status == 2) return status;
  std::string cause;
  if (!fileio::replaceFile(cl.log, dialogue, &cause)) {
    ReportFileError(err, "Ошибка: невозможно записать журнал ", cl.log, cause);
    return 2;
  }
  return status;
}

}  // namespace norvix
