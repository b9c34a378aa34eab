// Texts of the knowledge base model and its file, as Windows-1251 bytes.
#pragma once

#include "cp1251_literal.h"

namespace norvix::msg {

using namespace cp1251::literals;

// Begins every error line written to a terminal.
inline constexpr const char* kErrorPrefix = "Ошибка: "_cp1251.c_str();


inline constexpr const char* kDefaultInvitation = "Диалог:"_cp1251.c_str();
inline constexpr const char* kDefaultSuccess = "Найдено решение:"_cp1251.c_str();
inline constexpr const char* kDefaultFail = "Решений не найдено."_cp1251.c_str();

inline constexpr const char* kNotFound = " не найден!"_cp1251.c_str();
inline constexpr const char* kNotFoundNoBlank = "не найден!"_cp1251.c_str();
inline constexpr const char* kNamesExhausted = "Имена исчерпаны!"_cp1251.c_str();

inline constexpr const char* kCannotOpen = "Невозможно открыть файл!"_cp1251.c_str();
inline constexpr const char* kCannotInterpret = "Файл невозможно интерпретировать!"_cp1251.c_str();
inline constexpr const char* kLaterVersion =
    "Файл был создан более поздней версией программы!"_cp1251.c_str();
inline constexpr const char* kCannotSave = "Невозможно сохранить файл!"_cp1251.c_str();
inline constexpr const char* kBadHierarchy = "bad hierarchy!";
inline constexpr const char* kAngryBug = "angry bug!";
inline constexpr const char* kAngryBug2 = "angry bug2!";
inline constexpr const char* kAngryBug3 = "angry bug3!";
inline constexpr const char* kAngryBug5 = "angry bug5";

}  // namespace norvix::msg
