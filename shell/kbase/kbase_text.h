// The text form of a knowledge base: UTF-8, one "Key: value" a line, holding
// everything the binary file holds, so that bases can be kept under version
// control and compared line by line.
//
//   Формат: Norvix 1                  first line (after comments)
//   Проект: … Назначение: … Предметная область: … Автор: …
//   Автоотчет: да|нет  Целевой фрейм: …  Приглашение: …  Успех: …  Неудача: …
//   Слот: NAME                        one block per slot definition, in order:
//     Определение: LINE               (one per line of the definition)
//     По умолчанию: …  Список значений: да  Декомпозиция: да
//     Сообщение декомпозиции: …
//   Прототип: NAME | Экземпляр: NAME  one block per frame, parents first:
//     Родитель: NAME  Определение: LINE  Свой слот: NAME
//     При рассмотрении: …  При подтверждении: …  При отсечении: …   (samples)
//     Значение: SLOT = VALUE          (samples; one per slot, in slot order)
//     Примечание: NOTE                (the note of the value just above)
//
// Blank lines and lines starting with "#" are ignored; indentation is free.
// In values, "\\", "\n", "\r", "\t" and "\xHH" stand for a backslash, the
// control characters and any byte; a blank at the end of a value is written
// "\x20" and "=" in a slot name of "Значение" "\x3D".  Omitted entries take
// the values of a new knowledge base.
#pragma once

#include <string>
#include <string_view>

#include "kbase.h"

namespace norvix {

// The text form of `kb` (UTF-8, line feeds).  Frames are written in the
// order of the binary file: each root with its descendants, depth first.
std::string ExportText(const AKBase& kb);

// Reads a text form into the bytes of the knowledge base file it describes.
// On an error returns false and sets `error` (Windows-1251) to the line's
// number and what was expected there; `bytes` is then unspecified.
bool TextToFileBytes(std::string_view text, std::string& bytes, std::string& error);

// Reads a text form into `kb`, a base just created.  Errors as above.
bool ImportText(std::string_view text, AKBase& kb, std::string& error);

// Reads a text form into the bytes of the file that importing it into a new
// base and saving that base writes.  Errors as ImportText's, the loader's
// included.  A text whose records the base would save back unchanged (in
// the file's order, every sample with all its values, as ExportText writes
// them) costs no base: what loading its bytes would charge the loader's
// budget is added up, and the bytes are kept.
bool ImportTextToFileBytes(std::string_view text, std::string& bytes, std::string& error);

}  // namespace norvix
