// The line editor: keys in, the edited line shown on one terminal row that
// scrolls sideways when the line is wider than the terminal.
#include "line_editor.h"

#include <algorithm>
#include <cstring>

#include "cp1251.h"

namespace velloq_ui {

namespace {

enum : int {
  CTRL_A = 1, CTRL_B = 2, CTRL_C = 3, CTRL_D = 4, CTRL_E = 5, CTRL_F = 6, CTRL_G = 7,
  CTRL_H = 8, TAB = 9, LF = 10, CTRL_K = 11, CTRL_L = 12, CR = 13, CTRL_N = 14, CTRL_P = 16,
  CTRL_R = 18, CTRL_U = 21, CTRL_W = 23, ESC = 27, DEL = 127
};

bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool codeset_is_utf8(std::string_view codeset) {
  std::string c;
  for (char ch : codeset)
    if (ch != '-' && ch != '_') c += (char)cp1251::toUpper((unsigned char)ch);
  return c == "UTF8";
}

LineEditor::LineEditor(EditorTerminal& terminal, bool utf8) : term_(terminal), utf8_(utf8) {}

// ---- input ----

int LineEditor::next_byte() {
  if (input_pos_ < input_len_) return (unsigned char)input_[input_pos_++];
  if (input_ended_) return -1;
  input_len_ = term_.read(input_, sizeof input_);
  input_pos_ = 0;
  if (input_len_ == 0) {
    input_ended_ = true;
    return -1;
  }
  return (unsigned char)input_[input_pos_++];
}

// One character of the terminal's encoding as a Windows-1251 byte ('?' when
// Windows-1251 has no such character or the bytes are not well formed).
char LineEditor::decode_character(unsigned char lead) {
  if (lead < 0x80) return (char)lead;
  if (!utf8_) {
    std::string c = cp1251::fromLocale(std::string(1, (char)lead));
    return c.size() == 1 ? c[0] : '?';
  }
  int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (length == 1 || lead >= 0xF8) return '?';
  std::string sequence(1, (char)lead);
  for (int i = 1; i < length; i++) {
    int b = next_byte();
    if (b < 0) return '?';
    if ((b & 0xC0) != 0x80) {
      input_pos_--;  // not part of this character: read it again as a key
      return '?';
    }
    sequence += (char)b;
  }
  std::string c = cp1251::fromUtf8(sequence);
  return c.size() == 1 ? c[0] : '?';
}

// The key of an escape sequence (CSI or SS3); an unknown one is read whole
// and ignored, and a lone Escape is ignored.
LineEditor::Key LineEditor::decode_escape() {
  int b = next_byte();
  if (b == 'O') {
    b = next_byte();
  } else if (b == '[') {
    int number = 0;
    bool first = true;
    while ((b = next_byte()) >= 0x30 && b <= 0x3F) {
      if (b == ';') first = false;
      else if (first && b >= '0' && b <= '9' && number < 1000) number = number * 10 + (b - '0');
    }
    if (b == '~') {
      switch (number) {
        case 1: case 7: return K_HOME;
        case 4: case 8: return K_END;
        case 3: return K_DELETE;
        default: return K_NONE;
      }
    }
  } else {
    if (b >= 0) input_pos_--;
    return K_NONE;
  }
  switch (b) {
    case 'A': return K_UP;
    case 'B': return K_DOWN;
    case 'C': return K_RIGHT;
    case 'D': return K_LEFT;
    case 'H': return K_HOME;
    case 'F': return K_END;
    default: return K_NONE;
  }
}

LineEditor::Event LineEditor::next_event() {
  int b = next_byte();
  switch (b) {
    case -1: return {K_END_OF_INPUT, 0};
    case CTRL_A: return {K_HOME, 0};
    case CTRL_B: return {K_LEFT, 0};
    case CTRL_C: return {K_INTERRUPT, 0};
    case CTRL_D: return {K_EOF_OR_NOTHING, 0};
    case CTRL_E: return {K_END, 0};
    case CTRL_F: return {K_RIGHT, 0};
    case CTRL_G: return {K_CANCEL, 0};
    case CTRL_H: case DEL: return {K_BACKSPACE, 0};
    case TAB: return {K_CHAR, '\t'};
    case CR:
      // A pasted CR LF is one line end.
      if (input_pos_ < input_len_ && input_[input_pos_] == '\n') input_pos_++;
      return {K_ENTER, 0};
    case LF: return {K_ENTER, 0};
    case CTRL_K: return {K_KILL_END, 0};
    case CTRL_L: return {K_REDRAW, 0};
    case CTRL_N: return {K_DOWN, 0};
    case CTRL_P: return {K_UP, 0};
    case CTRL_R: return {K_SEARCH, 0};
    case CTRL_U: return {K_KILL_START, 0};
    case CTRL_W: return {K_KILL_WORD, 0};
    case ESC: return {decode_escape(), 0};
    default:
      if (b < 32) return {K_NONE, 0};
      return {K_CHAR, decode_character((unsigned char)b)};
  }
}

// ---- editing ----

void LineEditor::replace_line(std::string text) {
  line_ = std::move(text);
  cursor_ = line_.size();
}

void LineEditor::handle(const Event& e, EditorHistory* history) {
  if (searching_) {
    search_step(e, history);
    return;
  }
  switch (e.key) {
    case K_CHAR: line_.insert(cursor_++, 1, e.ch); break;
    case K_ENTER: done_ = true, result_ = EditResult::Line; break;
    case K_LEFT: if (cursor_ > 0) cursor_--; break;
    case K_RIGHT: if (cursor_ < line_.size()) cursor_++; break;
    case K_HOME: cursor_ = 0; break;
    case K_END: cursor_ = line_.size(); break;
    case K_UP: if (history) replace_line(history->older()); break;
    case K_DOWN: if (history) replace_line(history->newer()); break;
    case K_BACKSPACE: if (cursor_ > 0) line_.erase(--cursor_, 1); break;
    case K_DELETE: if (cursor_ < line_.size()) line_.erase(cursor_, 1); break;
    case K_KILL_END: line_.erase(cursor_); break;
    case K_KILL_START: line_.erase(0, cursor_), cursor_ = 0; break;
    case K_KILL_WORD: {
      size_t from = cursor_;
      while (from > 0 && is_blank(line_[from - 1])) from--;
      while (from > 0 && !is_blank(line_[from - 1])) from--;
      line_.erase(from, cursor_ - from);
      cursor_ = from;
      break;
    }
    case K_EOF_OR_NOTHING:
      if (line_.empty()) done_ = true, result_ = EditResult::EndOfInput;
      break;
    case K_INTERRUPT: done_ = true, result_ = EditResult::Interrupted; break;
    case K_SEARCH:
      if (!history) break;
      searching_ = true;
      query_.clear();
      match_ = history->entry_count();
      before_search_ = line_;
      break;
    case K_REDRAW: term_.write("\x1b[H\x1b[2J"); break;
    case K_END_OF_INPUT:
      done_ = true;
      result_ = line_.empty() ? EditResult::EndOfInput : EditResult::Line;
      break;
    default: break;
  }
}

// Shows the newest entry older than `before` that holds the query.
void LineEditor::search_from(size_t before, EditorHistory* history) {
  for (size_t i = std::min(before, history->entry_count()); i-- > 0;) {
    std::string entry = history->entry(i);
    size_t at = entry.find(query_);
    if (at == std::string::npos) continue;
    match_ = i;
    line_ = entry;
    cursor_ = at;
    return;
  }
}

void LineEditor::search_step(const Event& e, EditorHistory* history) {
  size_t count = history->entry_count();
  switch (e.key) {
    case K_CHAR:
      query_ += e.ch;
      search_from(match_ < count ? match_ + 1 : count, history);
      return;
    case K_BACKSPACE:
      if (!query_.empty()) query_.pop_back();
      search_from(count, history);
      return;
    case K_SEARCH: search_from(match_, history); return;
    case K_CANCEL:
      searching_ = false;
      replace_line(before_search_);
      return;
    default:
      // Any other key ends the search with the line found, and acts.
      searching_ = false;
      handle(e, history);
      return;
  }
}

// ---- display ----

std::string LineEditor::shown(std::string_view text) const {
  std::string visible(text);
  for (char& c : visible)
    if ((unsigned char)c < 32 || c == DEL) c = c == '\t' ? ' ' : '?';
  return utf8_ ? cp1251::toUtf8(visible) : cp1251::toLocale(visible);
}

void LineEditor::refresh() {
  std::string prompt = searching_ ? "(reverse-i-search)`" + query_ + "': " : prompt_;
  size_t columns = (size_t)std::max(term_.columns(), 10);
  // A prompt wider than half the row shows its end only.
  if (prompt.size() > columns / 2) prompt = prompt.substr(prompt.size() - columns / 2);
  size_t room = columns - prompt.size() - 1;
  size_t start = cursor_ > room ? cursor_ - room : 0;
  std::string out = "\r" + shown(prompt) + shown(std::string_view(line_).substr(start, room)) + "\x1b[0K\r";
  size_t column = prompt.size() + (cursor_ - start);
  if (column > 0) out += "\x1b[" + std::to_string(column) + "C";
  term_.write(out);
}

EditResult LineEditor::read_line(std::string_view prompt, EditorHistory* history, std::string* line) {
  prompt_ = std::string(prompt);
  line_.clear();
  cursor_ = 0;
  done_ = false;
  searching_ = false;
  result_ = EditResult::Line;
  refresh();
  while (!done_) {
    handle(next_event(), history);
    if (!done_ && input_pos_ >= input_len_ && !term_.input_pending()) refresh();
  }
  searching_ = false;
  refresh();
  term_.write(result_ == EditResult::Interrupted ? "^C\r\n" : "\r\n");
  *line = line_;
  return result_;
}

}  // namespace velloq_ui
