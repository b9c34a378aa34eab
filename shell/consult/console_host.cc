#include "console_host.h"

#include "cp1251.h"
#include "engine_messages.h"

namespace norvix {

namespace {

// A reply is judged by its first character; this many bytes hold one in any
// terminal encoding, with room for a carriage return after it.
constexpr size_t kReplyKept = 64;

enum class ReplyKind { Yes, No, Cancel, Why, Other };

// What a reply line (Windows-1251) means, by its first character.
ReplyKind Classify(const std::string& reply) {
  if (reply.empty()) return ReplyKind::Other;
  switch (static_cast<unsigned char>(reply[0])) {
    case 0xC4: case 0xE4: case 'Y': case 'y': return ReplyKind::Yes;      // Д д
    case 0xCD: case 0xED: case 'N': case 'n': return ReplyKind::No;       // Н н
    case 0xCE: case 0xEE: case 'Q': case 'q': return ReplyKind::Cancel;  // О о
    case '?': return ReplyKind::Why;
    default: return ReplyKind::Other;
  }
}

}  // namespace

bool ReadLineHead(std::istream& in, std::string& head, size_t keep) {
  head.clear();
  std::streambuf* buffer = in.rdbuf();
  bool any = false;
  for (;;) {
    int c = buffer ? buffer->sbumpc() : std::char_traits<char>::eof();
    if (c == std::char_traits<char>::eof()) {
      in.setstate(any ? std::ios::eofbit : std::ios::eofbit | std::ios::failbit);
      return any;
    }
    any = true;
    if (c == '\n') return true;
    if (head.size() < keep) head += static_cast<char>(c);
  }
}

std::string ToLineFeeds(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r') {
      out += text[i];
      continue;
    }
    out += '\n';
    if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

void ConsoleHost::Write(const std::string& text) { out_ << cp1251::toLocale(text); }

void ConsoleHost::PrintLine(const std::string& text) {
  Write(ToLineFeeds(text) + "\n");
  out_.flush();
}

// Reads reply lines until one answers; "?" runs the "Почему?" command and
// the question stays open.  End of input cancels.
Reply ConsoleHost::Ask(const std::string& line) {
  Write(ToLineFeeds(line));
  out_.flush();
  std::string reply;
  while (ReadLineHead(in_, reply, kReplyKept)) {
    if (!reply.empty() && reply.back() == '\r') reply.pop_back();
    switch (Classify(cp1251::fromLocale(reply))) {
      case ReplyKind::Yes:
        Write(std::string(msg::kYesTag) + "\n");
        return Reply::Yes;
      case ReplyKind::No:
        Write(std::string(msg::kNoTag) + "\n");
        return Reply::No;
      case ReplyKind::Cancel:
        Write("\n");
        return Reply::Cancel;
      case ReplyKind::Why:
        Write("\n");
        if (engine_) engine_->Why();
        break;
      case ReplyKind::Other:
        break;
    }
    out_.flush();
  }
  Write("\n");
  out_.flush();
  return Reply::Cancel;
}

}  // namespace norvix
