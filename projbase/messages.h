// Every text the program shows, as Windows-1251 bytes.
#pragma once

#include "cp1251_literal.h"

namespace projbase::msg {

using namespace cp1251::literals;

inline constexpr char kFactFile[] = "knolbases.ddb";

inline constexpr const char* kMenu1 = "1 - Получение информации о проекте"_cp1251.c_str();
inline constexpr const char* kMenu2 = "2 - Добавление новой записи в базу."_cp1251.c_str();
inline constexpr const char* kMenu3 = "3 - Изменение информации"_cp1251.c_str();
inline constexpr const char* kMenu4 = "4 - Удаление записи из базы"_cp1251.c_str();
inline constexpr const char* kMenu0 = "0 - Выйти"_cp1251.c_str();

inline constexpr const char* kAskName = "Введите наименование проекта"_cp1251.c_str();
inline constexpr const char* kAskTechnology = "Введите технологию изготовления"_cp1251.c_str();
inline constexpr const char* kAskCode = "Введите шифр проекта"_cp1251.c_str();
inline constexpr const char* kAskNewCode = "Введите новый шифр проекта"_cp1251.c_str();
inline constexpr const char* kAskDeleteCode =
    "Укажите шифр проекта, запись о котором нужно удалить из базы"_cp1251.c_str();

inline constexpr const char* kNoProject = "Проекта в базе нет"_cp1251.c_str();
inline constexpr const char* kCodeIs = "Шифр проекта: "_cp1251.c_str();
inline constexpr char kYes[] = "yes";

inline constexpr const char* kSaveFailed = "Не удалось сохранить файл "_cp1251.c_str();
inline constexpr const char* kRecordsKept =
    "Записи остались в памяти; устраните причину и нажмите 0 ещё раз."_cp1251.c_str();
inline constexpr const char* kReadFailed = "Не удалось прочитать файл "_cp1251.c_str();
inline constexpr const char* kCreateFailed = "Не удалось создать файл "_cp1251.c_str();
inline constexpr const char* kFileError = "Ошибка в файле "_cp1251.c_str();
inline constexpr const char* kLine = ", строка "_cp1251.c_str();

// Why a line of the fact file is wrong.
inline constexpr const char* kExpectedWord = "ожидается knolbase("_cp1251.c_str();
inline constexpr const char* kExpectedQuote = "ожидается открывающая кавычка"_cp1251.c_str();
inline constexpr const char* kExpectedComma = "ожидается запятая"_cp1251.c_str();
inline constexpr const char* kExpectedClose = "ожидается закрывающая скобка"_cp1251.c_str();
inline constexpr const char* kBadEscape =
    "недопустимый символ после обратной косой черты"_cp1251.c_str();
inline constexpr const char* kUnterminated = "строка в кавычках не закрыта"_cp1251.c_str();
inline constexpr const char* kTrailingText =
    "лишние символы после закрывающей скобки"_cp1251.c_str();

// Записи не сохранены.
inline constexpr char kNotSaved[] = "\xC7\xE0\xEF\xE8\xF1\xE8 \xED\xE5 \xF1\xEE\xF5\xF0\xE0\xED\xE5\xED\xFB.";

}  // namespace projbase::msg
