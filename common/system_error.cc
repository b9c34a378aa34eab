#include "system_error.h"

#include <cerrno>
#include <cstring>

#include "cp1251.h"
#include "cp1251_literal.h"

namespace fileio {

using namespace cp1251::literals;

std::string systemReason(int err) {
  switch (err) {
    case ENOSPC:
      return "нет места на диске"_cp1251.c_str();
    case EDQUOT:
      return "превышена дисковая квота"_cp1251.c_str();
    case EACCES:
    case EPERM:
      return "нет прав доступа"_cp1251.c_str();
    case EROFS:
      return "файловая система доступна только для чтения"_cp1251.c_str();
    case ENOENT:
      return "нет такого файла или папки"_cp1251.c_str();
    case EIO:
      return "ошибка ввода-вывода"_cp1251.c_str();
    default:
      // strerror speaks the locale's language and encoding.
      return cp1251::fromLocale(std::strerror(err));
  }
}

}  // namespace fileio
