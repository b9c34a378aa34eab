// ShowError: how the model, the file reader and the editor tell the user
// about an error.  The windows install a sink that shows a message box
// (caption "Ошибка", one OK button); the console writes to standard error;
// tests record the messages.
#pragma once

#include <functional>
#include <string>

namespace norvix {

// Receives one error message (Windows-1251 bytes).
using ErrorSink = std::function<void(const std::string& message)>;

// Reports `message` through the current sink.
void ShowError(const std::string& message);

// Installs `sink` and returns the previous one.  An empty sink restores the
// default, which writes "Ошибка: " and the message to standard error.
ErrorSink SetErrorSink(ErrorSink sink);

// `message` with a second line naming the file and why the system refused
// it: "MESSAGE\nFILE: REASON".  `fileName` is as the system takes it (the
// locale's bytes) and is shown in Windows-1251.
std::string WithFileReason(const std::string& message, const std::string& fileName,
                           const std::string& reason);

// Installs a sink for the lifetime of the object (tests, the console).
class ScopedErrorSink {
 public:
  explicit ScopedErrorSink(ErrorSink sink) : previous_(SetErrorSink(std::move(sink))) {}
  ~ScopedErrorSink() { SetErrorSink(std::move(previous_)); }
  ScopedErrorSink(const ScopedErrorSink&) = delete;
  ScopedErrorSink& operator=(const ScopedErrorSink&) = delete;

 private:
  ErrorSink previous_;
};

}  // namespace norvix
