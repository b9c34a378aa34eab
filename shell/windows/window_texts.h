// The texts of the Norvix windows, as Windows-1251 bytes.  Each carries its
// reading in UTF-8 beside it; widgets receive them through cp1251::toQString.
#pragma once

namespace wintext {

inline constexpr const char* kMainCaption = "KV7 Quillon v2.0";
inline constexpr const char* kCaptionJoin = " - ";

// Tool button hints.
inline constexpr const char* kHintClear = "Clear knowledge base";
inline constexpr const char* kHintLoad = "Load knowledge base";
inline constexpr const char* kHintSave = "Save knowledge base";
inline constexpr const char* kHintEdit = "Edit knowledge base";
inline constexpr const char* kHintQuery = "Query";
inline constexpr const char* kHintReport = "Show report";
inline constexpr const char* kHintExit = "Exit program";

// Answer panel.
inline constexpr const char* kWhy = "&\xCF\xEE\xF7\xE5\xEC\xF3?";  // &Почему?
inline constexpr const char* kCancel = "&\xCE\xF2\xEC\xE5\xED\xE0";  // &Отмена
inline constexpr const char* kYes = "&\xC4\xE0";                     // &Да
inline constexpr const char* kNo = "&\xCD\xE5\xF2";                  // &Нет

// Lines printed by the commands.
inline constexpr const char* kNewBase =
    "[\xCD\xEE\xE2\xE0\xFF \xE1\xE0\xE7\xE0 \xE7\xED\xE0\xED\xE8\xE9]";  // [Новая база знаний]
inline constexpr const char* kLoadOpen = "[\xC7\xE0\xE3\xF0\xF3\xE7\xEA\xE0 \"";  // [Загрузка "
inline constexpr const char* kSaveOpen =
    "[\xD1\xEE\xF5\xF0\xE0\xED\xE5\xED\xE8\xE5 \"";  // [Сохранение "
inline constexpr const char* kNameClose = "\"]";
inline constexpr const char* kBlankLine = "   ";

// The question about unsaved changes: two lines joined by CR.
inline constexpr const char* kUnsaved =
    "\xC8\xE7\xEC\xE5\xED\xE5\xED\xE8\xFF \xE2 \xE1\xE0\xE7\xE5 \xE7\xED\xE0\xED\xE8\xE9 "
    "\xED\xE5 \xF1\xEE\xF5\xF0\xE0\xED\xE5\xED\xFB!\r"
    "\xD1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC?";  // Изменения в базе знаний не сохранены! CR Сохранить?
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kErrorCaption = "\xCE\xF8\xE8\xE1\xEA\xE0";  // Ошибка
inline constexpr const char* kSaveFailed =
    "\xCD\xE5\xE2\xEE\xE7\xEC\xEE\xE6\xED\xEE \xF1\xEE\xF5\xF0\xE0\xED\xE8\xF2\xFC "
    "\xF4\xE0\xE9\xEB!";  // Невозможно сохранить файл!

// File dialogs.
inline constexpr const char* kOpenTitle = "Select a file to load";
inline constexpr const char* kSaveTitle = "Select a file to save to";
inline constexpr const char* kFilterKb = "Knowledge base files *.dat";
inline constexpr const char* kFilterTxtOpen = "Text files *.txt";
inline constexpr const char* kFilterTxtSave = "Text file *.txt";
inline constexpr const char* kFilterAll = "All files *.*";
inline constexpr const char* kDefaultExt = "dat";

// Results window.
inline constexpr const char* kResultsCaption =
    "\xD0\xE5\xE7\xF3\xEB\xFC\xF2\xE0\xF2\xFB \xF1\xE8\xED\xF2\xE5\xE7\xE0";  // Результаты синтеза
inline constexpr const char* kExpand = "&\xD0\xE0\xF1\xEA\xF0\xFB\xF2\xFC";   // &Раскрыть
inline constexpr const char* kCollapse = "&\xD1\xE2\xE5\xF0\xED\xF3\xF2\xFC";  // &Свернуть
inline constexpr const char* kOk = "&Ok";

// Splash stages.
inline constexpr const char* kStageLoading = "\xC7\xE0\xE3\xF0\xF3\xE7\xEA\xE0.....";  // Загрузка.....
inline constexpr const char* kStageBase =
    "\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF \xE1\xE0\xE7\xFB "
    "\xE7\xED\xE0\xED\xE8\xE9.....";  // Инициализация базы знаний.....
inline constexpr const char* kStageEngine =
    "\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF \xEC\xE0\xF8\xE8\xED\xFB "
    "\xE2\xFB\xE2\xEE\xE4\xE0.....";  // Инициализация машины вывода.....
inline constexpr const char* kStageSettings =
    "\xD7\xF2\xE5\xED\xE8\xE5 \xF3\xF1\xF2\xE0\xED\xEE\xE2\xEE\xEA.....";  // Чтение установок.....
inline constexpr const char* kStageInit =
    "\xC8\xED\xE8\xF6\xE8\xE0\xEB\xE8\xE7\xE0\xF6\xE8\xFF.....";  // Инициализация.....

}  // namespace wintext
