// The texts of the Norvix windows, as Windows-1251 bytes; widgets receive
// them through cp1251::toQString.
#pragma once

#include "cp1251_literal.h"

namespace wintext {

using namespace cp1251::literals;

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
inline constexpr const char* kWhy = "&Почему?"_cp1251.c_str();
inline constexpr const char* kCancel = "&Отмена"_cp1251.c_str();
inline constexpr const char* kYes = "&Да"_cp1251.c_str();
inline constexpr const char* kNo = "&Нет"_cp1251.c_str();

// Lines printed by the commands.
inline constexpr const char* kNewBase = "[Новая база знаний]"_cp1251.c_str();
inline constexpr const char* kLoadOpen = "[Загрузка \""_cp1251.c_str();
inline constexpr const char* kSaveOpen = "[Сохранение \""_cp1251.c_str();
inline constexpr const char* kNameClose = "\"]";
inline constexpr const char* kBlankLine = "   ";

// The question about unsaved changes: two lines joined by CR.
inline constexpr const char* kUnsaved =
    "Изменения в базе знаний не сохранены!\rСохранить?"_cp1251.c_str();
inline constexpr const char* kWarningCaption = "Warning";
inline constexpr const char* kErrorCaption = "Ошибка"_cp1251.c_str();
inline constexpr const char* kSaveFailed = "Невозможно сохранить файл!"_cp1251.c_str();

// File dialogs.
inline constexpr const char* kOpenTitle = "Select a file to load";
inline constexpr const char* kSaveTitle = "Select a file to save to";
inline constexpr const char* kFilterKb = "Knowledge base files *.dat";
inline constexpr const char* kFilterTxtOpen = "Text files *.txt";
inline constexpr const char* kFilterTxtSave = "Text file *.txt";
inline constexpr const char* kFilterAll = "All files *.*";
inline constexpr const char* kDefaultExt = "dat";

// Results window.
inline constexpr const char* kResultsCaption = "Результаты синтеза"_cp1251.c_str();
inline constexpr const char* kExpand = "&Раскрыть"_cp1251.c_str();
inline constexpr const char* kCollapse = "&Свернуть"_cp1251.c_str();
inline constexpr const char* kOk = "&Ok";

// Splash stages.
inline constexpr const char* kStageLoading = "Загрузка....."_cp1251.c_str();
inline constexpr const char* kStageBase = "Инициализация базы знаний....."_cp1251.c_str();
inline constexpr const char* kStageEngine = "Инициализация машины вывода....."_cp1251.c_str();
inline constexpr const char* kStageSettings = "Чтение установок....."_cp1251.c_str();
inline constexpr const char* kStageInit = "Инициализация....."_cp1251.c_str();

}  // namespace wintext
