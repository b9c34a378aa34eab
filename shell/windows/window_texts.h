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

// The menu bar: menus and commands with their mnemonics, and the tooltip
// of each command (its given hint follows on a second line).
inline constexpr const char* kMenuFile = "&Файл"_cp1251.c_str();
inline constexpr const char* kMenuBase = "&База"_cp1251.c_str();
inline constexpr const char* kMenuHelp = "&Справка"_cp1251.c_str();
inline constexpr const char* kActClear = "&Новая база"_cp1251.c_str();
inline constexpr const char* kActLoad = "&Открыть…"_cp1251.c_str();
inline constexpr const char* kActSave = "&Сохранить…"_cp1251.c_str();
inline constexpr const char* kActExit = "В&ыход"_cp1251.c_str();
inline constexpr const char* kActEdit = "&Редактировать…"_cp1251.c_str();
inline constexpr const char* kActQuery = "&Консультация"_cp1251.c_str();
inline constexpr const char* kActReport = "&Результаты"_cp1251.c_str();
inline constexpr const char* kActAbout = "&О программе"_cp1251.c_str();
inline constexpr const char* kTipClear = "Новая пустая база знаний"_cp1251.c_str();
inline constexpr const char* kTipLoad = "Открыть базу знаний из файла"_cp1251.c_str();
inline constexpr const char* kTipSave = "Сохранить базу знаний в файл"_cp1251.c_str();
inline constexpr const char* kTipEdit = "Редактировать базу знаний"_cp1251.c_str();
inline constexpr const char* kTipQuery = "Начать консультацию"_cp1251.c_str();
inline constexpr const char* kTipReport = "Показать результаты синтеза"_cp1251.c_str();
inline constexpr const char* kTipExit = "Завершить работу программы"_cp1251.c_str();

// The about box.
inline constexpr const char* kAboutCaption = "О программе"_cp1251.c_str();
inline constexpr const char* kAboutText =
    "KV7 Quillon v2.0\rNorvix 1.0 — оболочка экспертной системы на фреймах\r"
    "Учебный комплекс по системам, основанным на знаниях.\r"
    "Свободная программа; распространяется по лицензии MIT."_cp1251.c_str();

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
// On this platform a file need not have an extension: "*" shows them all.
inline constexpr const char* kFilterAll = "All files *";
inline constexpr const char* kFilterAllPattern = "*";
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
