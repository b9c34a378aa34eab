// displayText and the file name conversions.
#include "display_text.h"

#include "qt_text.h"

#include <QFile>

QString displayText(std::string_view text) {
  std::string lines;
  lines.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      lines += text[i];
    } else {
      lines += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
  }
  return cp1251::toQString(lines);
}

std::string fileNameForDialog(const QString& fileName) { return cp1251::fromQString(fileName); }

std::string fileNameForSystem(const QString& fileName) {
  return QFile::encodeName(fileName).toStdString();
}
