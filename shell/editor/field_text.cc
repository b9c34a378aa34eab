// Conversions at the editor's fields.
#include "field_text.h"

#include "qt_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace field {

QString Q(std::string_view text) { return cp1251::toQString(text); }

std::string W(const QString& text) { return cp1251::fromQString(text); }

std::string Stored(QLineEdit* edit) {
  bool lossy = false;
  std::string bytes = cp1251::fromQString(edit->text(), &lossy);
  if (lossy) {
    const int cursor = edit->cursorPosition();
    edit->setText(Q(bytes));
    edit->setCursorPosition(cursor);
  }
  return bytes;
}

std::string Stored(QPlainTextEdit* edit) {
  bool lossy = false;
  std::string bytes = cp1251::fromQString(edit->toPlainText(), &lossy);
  if (lossy) {
    const int cursor = edit->textCursor().position();
    edit->setPlainText(Q(bytes));
    QTextCursor at = edit->textCursor();
    at.setPosition(std::min(cursor, static_cast<int>(edit->toPlainText().size())));
    edit->setTextCursor(at);
  }
  return bytes;
}

// Every line break of the field separates two lines, so a trailing empty
// line survives the round trip through LinesText.
norvix::Lines StoredLines(QPlainTextEdit* edit) {
  const std::string text = Stored(edit);
  norvix::Lines lines;
  if (text.empty()) return lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

QString LinesText(const norvix::Lines& lines) {
  QString text;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += Q(lines[i]);
  }
  return text;
}

std::string Quoted(std::string_view text) {
  std::string quoted;
  quoted.reserve(text.size() + 2);
  quoted += '"';
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string StoredMemo(QPlainTextEdit* edit) {
  const std::string text = Stored(edit);
  std::string joined;
  joined.reserve(text.size());
  for (char c : text) {
    if (c == '\n') joined += '\r';
    joined += c;
  }
  return joined;
}

QString MemoText(std::string_view text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      lines += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      lines += text[i];
    }
  }
  return Q(lines);
}

}  // namespace field
