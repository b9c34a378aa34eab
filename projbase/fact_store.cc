#include "fact_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "atomic_file.h"
#include "fact_file.h"
#include "messages.h"
#include "system_error.h"

namespace projbase {
namespace {

const char* describe(FactError error) {
  switch (error) {
    case FactError::ExpectedWord: return msg::kExpectedWord;
    case FactError::ExpectedQuote: return msg::kExpectedQuote;
    case FactError::ExpectedComma: return msg::kExpectedComma;
    case FactError::ExpectedClose: return msg::kExpectedClose;
    case FactError::BadEscape: return msg::kBadEscape;
    case FactError::Unterminated: return msg::kUnterminated;
    case FactError::TrailingText: return msg::kTrailingText;
    case FactError::None: break;
  }
  return "";
}

// Creates an empty file; O_EXCL keeps a file that appeared meanwhile.
bool createEmpty(const std::string& path, std::string& message) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) {
    message = std::string(msg::kCreateFailed) + path + ": " + fileio::systemReason(errno);
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace

bool openFactFile(const std::string& path, FactSet& facts, std::string& message) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 && errno == ENOENT) return createEmpty(path, message);
  std::string bytes, error;
  if (!fileio::readFile(path, bytes, &error)) {
    message = std::string(msg::kReadFailed) + path + ": " + error;
    return false;
  }
  FactReadResult result = readFacts(bytes, facts);
  if (!result.ok()) {
    message = std::string(msg::kFileError) + path + msg::kLine + std::to_string(result.line) +
              ": " + describe(result.error);
    return false;
  }
  return true;
}

bool saveFactFile(const std::string& path, const FactSet& facts, std::string& error) {
  return fileio::replaceFile(path, writeFacts(facts), &error);
}

}  // namespace projbase
