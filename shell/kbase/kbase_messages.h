// Texts of the knowledge base model and its file, as Windows-1251 bytes.
#pragma once

namespace norvix::msg {

inline constexpr const char* kDefaultInvitation = "\xC4\xE8\xE0\xEB\xEE\xE3:";  // Диалог:
inline constexpr const char* kDefaultSuccess =
    "\xCD\xE0\xE9\xE4\xE5\xED\xEE \xF0\xE5\xF8\xE5\xED\xE8\xE5:";  // Найдено решение:
inline constexpr const char* kDefaultFail =
    "\xD0\xE5\xF8\xE5\xED\xE8\xE9 \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED\xEE.";  // Решений не найдено.

inline constexpr const char* kNotFound = " \xED\xE5 \xED\xE0\xE9\xE4\xE5\xED!";  // " не найден!"
inline constexpr const char* kNotFoundNoBlank = "\xED\xE5 \xED\xE0\xE9\xE4\xE5\xED!";  // "не найден!"
inline constexpr const char* kNamesExhausted =
    "\xC8\xEC\xE5\xED\xE0 \xE8\xF1\xF7\xE5\xF0\xEF\xE0\xED\xFB!";  // Имена исчерпаны!

inline constexpr const char* kCannotOpen =
    "\xCD\xE5\xE2\xEE\xE7\xEC\xEE\xE6\xED\xEE \xEE\xF2\xEA\xF0\xFB\xF2\xFC "
    "\xF4\xE0\xE9\xEB!";  // Невозможно открыть файл!
inline constexpr const char* kCannotInterpret =
    "\xD4\xE0\xE9\xEB \xED\xE5\xE2\xEE\xE7\xEC\xEE\xE6\xED\xEE "
    "\xE8\xED\xF2\xE5\xF0\xEF\xF0\xE5\xF2\xE8\xF0\xEE\xE2\xE0\xF2\xFC!";  // Файл невозможно интерпретировать!
inline constexpr const char* kLaterVersion =
    "\xD4\xE0\xE9\xEB \xE1\xFB\xEB \xF1\xEE\xE7\xE4\xE0\xED \xE1\xEE\xEB\xE5\xE5 "
    "\xEF\xEE\xE7\xE4\xED\xE5\xE9 \xE2\xE5\xF0\xF1\xE8\xE5\xE9 "
    "\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB!";  // Файл был создан более поздней версией программы!
inline constexpr const char* kCannotSave =
    "\xCD\xE5\xE2\xEE\xE7\xEC\xEE\xE6\xED\xEE \xF1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC "
    "\xF4\xE0\xE9\xEB!";  // Невозможно сохранить файл!
inline constexpr const char* kBadHierarchy = "bad hierarchy!";
inline constexpr const char* kAngryBug = "angry bug!";
inline constexpr const char* kAngryBug2 = "angry bug2!";
inline constexpr const char* kAngryBug3 = "angry bug3!";
inline constexpr const char* kAngryBug5 = "angry bug5";

}  // namespace norvix::msg
