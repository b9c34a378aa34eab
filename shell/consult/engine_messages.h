// Texts of the consultation, as Windows-1251 bytes.
#pragma once

namespace norvix::msg {

inline constexpr const char* kQuestionEnd = " (\xC4/\xCD)? ";  // " (Д/Н)? "
inline constexpr const char* kConsidering =
    "[\xD0\xE0\xF1\xF1\xEC\xE0\xF2\xF0\xE8\xE2\xE0\xE5\xF2\xF1\xFF: ";  // "[Рассматривается: "
inline constexpr const char* kReportHeading =
    "\xD0\xE5\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xEE\xF2\xF7\xE5\xF2\xE0:";  // Реультаты отчета:
inline constexpr const char* kSynthesisResults =
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF1\xE8\xED\xF2\xE5\xE7\xE0:";  // Результаты синтеза:
inline constexpr const char* kYesTag = "[\xC4]";  // [Д]
inline constexpr const char* kNoTag = "[\xCD]";   // [Н]
inline constexpr const char* kErrorPrefix = "\xCE\xF8\xE8\xE1\xEA\xE0: ";  // "Ошибка: "
inline constexpr const char* kNoTarget =
    "\xF6\xE5\xEB\xE5\xE2\xEE\xE9 \xF4\xF0\xE5\xE9\xEC \xED\xE5 \xE7\xE0\xE4\xE0\xED";  // целевой фрейм не задан

}  // namespace norvix::msg
