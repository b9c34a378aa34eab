#include "consult_command.h"

#include <fstream>
#include <streambuf>
#include <string>

#include "atomic_file.h"
#include "console_consult.h"
#include "cp1251.h"
#include "cp1251_literal.h"
#include "kbase_messages.h"

namespace norvix {

namespace {

using namespace cp1251::literals;

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

// The error prefix + what + the file name as the system gave it + the
// system's reason (Windows-1251, like what), shown in the terminal's encoding.
void ReportFileError(std::ostream& err, const char* what, const std::string& file,
                     const std::string& cause = {}) {
  err << cp1251::toLocale(std::string(msg::kErrorPrefix) + what) << file;
  if (!cause.empty()) err << ": " << cp1251::toLocale(cause);
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
      ReportFileError(err, "невозможно открыть файл ответов "_cp1251.c_str(), cl.answers);
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
    ReportFileError(err, "невозможно записать журнал "_cp1251.c_str(), cl.log, cause);
    return 2;
  }
  return status;
}

}  // namespace norvix
