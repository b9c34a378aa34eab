#include "fact_file.h"

#include <algorithm>
#include <cstring>

namespace projbase {
namespace {

constexpr std::string_view kWord = "knolbase(";
constexpr std::size_t kShortestLine = sizeof "knolbase(\"\",\"\",\"\")\n" - 1;

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

// Reads one quoted field into `field`.  A field without escapes (the usual
// case) is found with memchr and copied in one piece; plain runs between
// escapes are appended in one piece too.
FactError readField(Cursor& in, std::string& field) {
  if (!in.take('"')) return FactError::ExpectedQuote;
  const std::size_t left = static_cast<std::size_t>(in.end - in.p);
  const char* quote = static_cast<const char*>(std::memchr(in.p, '"', left));
  const std::size_t span = quote ? static_cast<std::size_t>(quote - in.p) : left;
  if (quote && !std::memchr(in.p, '\\', span) && !std::memchr(in.p, '\n', span)) {
    field.assign(in.p, span);
    in.p = quote + 1;
    return FactError::None;
  }
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
  // One record a line: reserving once saves moving the records on growth.
  // No line is shorter than the one of three empty fields, which bounds the
  // reservation by what a valid file of this size would need anyway.
  const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  records.reserve(before + std::min(lines, bytes.size() / kShortestLine) + 1);
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
