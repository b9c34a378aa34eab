// The texts of the explanation window and of its command, as Windows-1251
// bytes; widgets receive them through cp1251::toQString.
#pragma once

#include "cp1251_literal.h"

namespace explaintext {

using namespace cp1251::literals;

inline constexpr const char* kCommand = "Объяснение"_cp1251.c_str();
inline constexpr const char* kHint = "Объяснение последней консультации"_cp1251.c_str();
inline constexpr const char* kCaption = "Объяснение"_cp1251.c_str();
inline constexpr const char* kHowPage = "Как получен результат"_cp1251.c_str();
inline constexpr const char* kWhyNotPage = "Почему не выбраны"_cp1251.c_str();
inline constexpr const char* kNoResult = "Результата нет"_cp1251.c_str();
inline constexpr const char* kSamplesLabel = "Экземпляры целевого фрейма, которые не выбраны:"_cp1251.c_str();
inline constexpr const char* kNoOtherSamples = "Других экземпляров нет"_cp1251.c_str();
inline constexpr const char* kReasonLabel = "Причина:"_cp1251.c_str();
inline constexpr const char* kOk = "&Ok";

}  // namespace explaintext
