#include "system_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "cp1251.h"

namespace {

TEST(SystemReason, CommonCausesInRussianOthersFromTheSystem) {
  struct Case {
    int err;
    const char* utf8;
  } cases[] = {
      {ENOSPC, "нет места на диске"},
      {EDQUOT, "превышена дисковая квота"},
      {EACCES, "нет прав доступа"},
      {EPERM, "нет прав доступа"},
      {EROFS, "файловая система доступна только для чтения"},
      {ENOENT, "нет такого файла или папки"},
      {EIO, "ошибка ввода-вывода"},
      {EFBIG, std::strerror(EFBIG)},  // the test runs in the C locale: ASCII
  };
  for (const Case& c : cases)
    EXPECT_EQ(cp1251::toUtf8(fileio::systemReason(c.err)), c.utf8) << c.err;
}

}  // namespace
