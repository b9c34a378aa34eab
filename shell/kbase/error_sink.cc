#include "error_sink.h"

#include <cstdio>

#include "cp1251.h"

namespace norvix {

namespace {

// "Ошибка: " and the message on standard error, in the terminal's encoding.
void writeToStderr(const std::string& message) {
  std::string line = cp1251::toLocale("\xCE\xF8\xE8\xE1\xEA\xE0: " + message);  // Ошибка:
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

ErrorSink& currentSink() {
  static ErrorSink sink = writeToStderr;
  return sink;
}

}  // namespace

void ShowError(const std::string& message) { currentSink()(message); }

ErrorSink SetErrorSink(ErrorSink sink) {
  ErrorSink previous = std::move(currentSink());
  currentSink() = sink ? std::move(sink) : ErrorSink(writeToStderr);
  return previous;
}

}  // namespace norvix
