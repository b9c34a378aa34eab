#include "fact_file.h"

#include <cstring>

namespace projbase {
namespace {

constexpr std::string_view kWord = "knolbase(";

// A cursor over the bytes of the file that counts lines as it goes.
struct Cursor {
  const char* p;
  const char* end;
  std::size_t line = 1;

  bool atEnd() const { return p == end; }
  bool take(char c) {
    if (p == end || *p != c) return false;
    ++p;
    return true;
  }
};

// Reads one quoted field into `field`.  Plain runs between escapes are
// appended in one piece, which keeps reading fast on long fields.
FactError readField(Cursor& in, std::string& field) {
  if (!in.take('"')) return FactError::ExpectedQuote;
  field.clear();
  for (;;) {
    const char* run = in.p;
    while (in.p != in.end && *in.p != '"' && *in.p != '\\' && *in.p != '\n') ++in.p;
    field.append(run, static_cast<std::size_t>(in.p - run));
    if (in.p == in.end || *in.p == '\n') return FactError::Unterminated;
    if (*in.p++ == '"') return FactError::None;
    if (in.p == in.end) return FactError::Unterminated;
    switch (*in.p++) {
      case '"': field += '"'; break;
      case '\\': field += '\\'; break;
      case 'n': field += '\n'; break;
      case 'r': field += '\r'; break;
      default: return FactError::BadEscape;
    }
  }
}

// Reads one whole line `knolbase("…","…","…")` and its line break.
FactError readLine(Cursor& in, Knolbase& record) {
  if (static_cast<std::size_t>(in.end - in.p) < kWord.size() ||
      std::memcmp(in.p, kWord.data(), kWord.size()) != 0)
    return FactError::ExpectedWord;
  in.p += kWord.size();
  FactError e = readField(in, record.name);
  if (e != FactError::None) return e;
  if (!in.take(',')) return FactError::ExpectedComma;
  if ((e = readField(in, record.technology)) != FactError::None) return e;
  if (!in.take(',')) return FactError::ExpectedComma;
  if ((e = readField(in, record.code)) != FactError::None) return e;
  if (!in.take(')')) return FactError::ExpectedClose;
  in.take('\r');
  if (in.atEnd()) return FactError::None;
  if (!in.take('\n')) return FactError::TrailingText;
  return FactError::None;
}

// Writes `field` between double quotes with the four escapes.
void appendField(std::string& out, const std::string& field) {
  out += '"';
  const char* p = field.data();
  const char* end = p + field.size();
  while (p != end) {
    const char* run = p;
    while (p != end && *p != '"' && *p != '\\' && *p != '\n' && *p != '\r') ++p;
    out.append(run, static_cast<std::size_t>(p - run));
    if (p == end) break;
    out += '\\';
    char c = *p++;
    out += c == '\n' ? 'n' : c == '\r' ? 'r' : c;
  }
  out += '"';
}

}  // namespace

FactReadResult readFacts(std::string_view bytes, std::vector<Knolbase>& records) {
  const std::size_t before = records.size();
  Cursor in{bytes.data(), bytes.data() + bytes.size()};
  while (!in.atEnd()) {
    records.emplace_back();
    FactError e = readLine(in, records.back());
    if (e != FactError::None) {
      records.resize(before);
      return {e, in.line};
    }
    ++in.line;
  }
  return {};
}

void appendFact(std::string& out, const Knolbase& record) {
  out += kWord;
  appendField(out, record.name);
  out += ',';
  appendField(out, record.technology);
  out += ',';
  appendField(out, record.code);
  out += ")\n";
}

std::string writeFacts(const std::vector<Knolbase>& records) {
  std::size_t size = 0;
  for (const Knolbase& r : records)
    size += kWord.size() + 10 + r.name.size() + r.technology.size() + r.code.size();
  std::string out;
  out.reserve(size + size / 16);
  for (const Knolbase& r : records) appendFact(out, r);
  return out;
}

}  // namespace projbase
