// Texts of the consultation, as Windows-1251 bytes.
#pragma once

#include "kbase_messages.h"

namespace norvix::msg {

using namespace cp1251::literals;

inline constexpr const char* kQuestionEnd = " (Д/Н)? "_cp1251.c_str();
inline constexpr const char* kConsidering = "[Рассматривается: "_cp1251.c_str();
inline constexpr const char* kReportHeading = "Реультаты отчета:"_cp1251.c_str();
inline constexpr const char* kSynthesisResults = "Результаты синтеза:"_cp1251.c_str();
inline constexpr const char* kYesTag = "[Д]"_cp1251.c_str();
inline constexpr const char* kNoTag = "[Н]"_cp1251.c_str();
inline constexpr const char* kNoTarget = "целевой фрейм не задан"_cp1251.c_str();

}  // namespace norvix::msg
