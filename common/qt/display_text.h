// Windows-1251 text of the program as the widgets show it.
#pragma once

#include <QString>
#include <string>
#include <string_view>

// Converts to a QString; CR LF and a lone CR become one line break, as the
// console consultation writes them.
QString displayText(std::string_view text);

// A file name as the operating system gave it (local 8-bit bytes), turned
// into Windows-1251 for the lines of the dialog.  Characters that
// Windows-1251 cannot hold show as "?".
std::string fileNameForDialog(const QString& fileName);

// The bytes of a chosen file name for the operating system.
std::string fileNameForSystem(const QString& fileName);
