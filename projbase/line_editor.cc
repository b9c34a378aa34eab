#include "line_editor.h"

#include "cp1251.h"
#include "terminal_chars.h"

namespace projbase {
namespace {

// Keys like the arrows send Esc followed at once by '[' or 'O' and more
// bytes.  A lone Esc is told apart by nothing following within this time.
constexpr int kSequenceWaitMs = 30;

bool isEnter(unsigned char c) { return c == '\r' || c == '\n'; }
bool isBackspace(unsigned char c) { return c == 0x7F || c == 0x08; }

}  // namespace

// Consumes the rest of an escape sequence after Esc '[' or Esc 'O': the
// parameter and intermediate bytes, then one final byte.
void LineEditor::skipSequence() {
  while (in_.arrivesWithin(kSequenceWaitMs)) {
    int b = in_.next();
    if (b < 0x20 || b > 0x3F) return;
  }
}

// Reads the next character, telling a lone Esc from an escape sequence.
LineEditor::Event LineEditor::nextEvent(unsigned char& c) {
  if (!readTerminalChar(in_, utf8_, bytes_)) return Event::End;
  c = toCp1251Char(bytes_);
  if (bytes_.size() != 1 || c != 0x1B) return Event::Char;
  if (!in_.arrivesWithin(kSequenceWaitMs)) return Event::Esc;
  int b = in_.next();
  if (b == '[') {
    skipSequence();
    return Event::Sequence;
  }
  if (b == 'O') {
    if (in_.arrivesWithin(kSequenceWaitMs)) in_.next();
    return Event::Sequence;
  }
  in_.unget();
  return Event::Esc;
}

Input LineEditor::readLine(std::string& line) {
  line.clear();
  for (;;) {
    unsigned char c = 0;
    switch (nextEvent(c)) {
      case Event::End: return Input::End;
      case Event::Esc: echo_("\n"); return Input::Abandoned;
      case Event::Sequence: continue;
      case Event::Char: break;
    }
    if (isEnter(c)) {
      echo_("\n");
      return Input::Ok;
    }
    if (isBackspace(c)) {
      if (!line.empty()) {
        line.pop_back();
        echo_("\b \b");
      }
    } else if (c >= 0x20 && line.size() < kMaxLineLength) {
      line += static_cast<char>(c);
      echo_(cp1251::toLocale(std::string_view(line).substr(line.size() - 1)));
    }
  }
}

Input LineEditor::readKey(int& key) {
  unsigned char c = 0;
  switch (nextEvent(c)) {
    case Event::End: return Input::End;
    case Event::Esc: key = 0x1B; return Input::Ok;
    case Event::Sequence: key = -1; return Input::Ok;
    case Event::Char: key = c; return Input::Ok;
  }
  return Input::End;
}

}  // namespace projbase
