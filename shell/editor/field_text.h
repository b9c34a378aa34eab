// Text between the editor's fields and the knowledge base: fields show
// QString, the knowledge base keeps Windows-1251 bytes.
#pragma once

#include "lines.h"

#include <QString>
#include <string>
#include <string_view>

class QLineEdit;
class QPlainTextEdit;

namespace field {

// Windows-1251 bytes as a field shows them.
QString Q(std::string_view text);

// Windows-1251 bytes of a name or a text held outside a field.
std::string W(const QString& text);

// The Windows-1251 bytes of what the field holds.  A character that
// Windows-1251 cannot hold is stored as "?", and the field is made to show
// what is stored (its change handler then runs again with that text).
std::string Stored(QLineEdit* edit);
std::string Stored(QPlainTextEdit* edit);

// A multi-line field's lines, and the text that shows them.
norvix::Lines StoredLines(QPlainTextEdit* edit);
QString LinesText(const norvix::Lines& lines);

// `text` between double-quote marks, as the editor's messages name things.
std::string Quoted(std::string_view text);

// A multi-line field kept as one text, its lines joined by CR LF (as the
// file and the other programs of the platform keep them), and how such a
// text shows in a field.
std::string StoredMemo(QPlainTextEdit* edit);
QString MemoText(std::string_view text);

}  // namespace field
