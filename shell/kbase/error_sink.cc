#include "error_sink.h"

#include <cstdio>

#include "cp1251.h"
#include "kbase_messages.h"

namespace norvix {

namespace {

// The error prefix and the message on standard error, in the terminal's
// encoding.
void writeToStderr(const std::string& message) {
  std::string line = cp1251::toLocale(msg::kErrorPrefix + message);
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

ErrorSink& currentSink() {
  static ErrorSink sink = writeToStderr;
  return sink;
}

}  // namespace

std::string WithFileReason(const std::string& message, const std::string& fileName,
                           const std::string& reason) {
  return message + "\n" + cp1251::fromLocale(fileName) + ": " + reason;
}

void ShowError(const std::string& message) { currentSink()(message); }

ErrorSink SetErrorSink(ErrorSink sink) {
  ErrorSink previous = std::move(currentSink());
  currentSink() = sink ? std::move(sink) : ErrorSink(writeToStderr);
  return previous;
}

}  // namespace norvix
