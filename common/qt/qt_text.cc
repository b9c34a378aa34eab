#include "qt_text.h"

#include "cp1251.h"

namespace cp1251 {

QString toQString(std::string_view text) {
  QString out;
  out.reserve(static_cast<qsizetype>(text.size()));
  for (char c : text) out += QChar(static_cast<char16_t>(toUnicode(static_cast<unsigned char>(c))));
  return out;
}

std::string fromQString(const QString& text, bool* lossy) {
  std::string out;
  out.reserve(static_cast<size_t>(text.size()));
  bool replaced = false;
  for (QChar ch : text) {
    int byte = fromUnicode(ch.unicode());
    if (byte < 0) {
      out += '?';
      replaced = true;
    } else {
      out += static_cast<char>(byte);
    }
  }
  if (lossy) *lossy = replaced;
  return out;
}

}  // namespace cp1251
