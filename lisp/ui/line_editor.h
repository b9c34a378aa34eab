// The line editor of `velloq --tty` when standard input is a terminal.
//
// The line being edited is Windows-1251 text, one byte per character, so
// the cursor moves by characters whatever the terminal's encoding; keys are
// decoded from, and the line is shown in, the terminal's encoding (the
// locale's codeset; UTF-8 in the C and POSIX locales).  Lines have no length
// limit.  The editor knows nothing of history rules: Up and Down ask the
// caller's history for the text that replaces the line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace velloq_ui {

// What the editor needs of a terminal.  The real one is in terminal_io.h;
// tests use one that reads from a string.
class EditorTerminal {
 public:
  virtual ~EditorTerminal() = default;
  // Reads at least one byte, blocking; 0 at end of input.
  virtual size_t read(char* buffer, size_t size) = 0;
  // Whether more input is waiting (the display is redrawn once a burst of
  // input, such as a paste, has been handled).
  virtual bool input_pending() = 0;
  virtual void write(std::string_view bytes) = 0;
  // Width of the terminal in columns.
  virtual int columns() = 0;
};

// The history the session keeps; its rules decide what Up and Down show.
class EditorHistory {
 public:
  virtual ~EditorHistory() = default;
  // The text that replaces the line on Up and on Down.
  virtual std::string older() = 0;
  virtual std::string newer() = 0;
  // The stored lines, oldest first, for the reverse search.
  virtual size_t entry_count() const = 0;
  virtual std::string entry(size_t index) const = 0;
};

enum class EditResult {
  Line,         // Enter ended the line (or input ended after some text)
  Interrupted,  // Ctrl-C abandoned the line
  EndOfInput    // Ctrl-D on an empty line, or the input ended
};

// Whether `codeset` (nl_langinfo's name) is UTF-8.
bool codeset_is_utf8(std::string_view codeset);

class LineEditor {
 public:
  // `utf8` says whether the terminal speaks UTF-8; otherwise it speaks a
  // single-byte codeset that cp1251::fromLocale/toLocale convert.
  LineEditor(EditorTerminal& terminal, bool utf8);

  // Shows `prompt` (Windows-1251) and edits one line into `line`
  // (Windows-1251, without its end).  `history` may be null.
  EditResult read_line(std::string_view prompt, EditorHistory* history, std::string* line);

 private:
  enum Key {
    K_NONE, K_CHAR, K_ENTER, K_LEFT, K_RIGHT, K_HOME, K_END, K_UP, K_DOWN, K_BACKSPACE,
    K_DELETE, K_KILL_END, K_KILL_START, K_KILL_WORD, K_EOF_OR_NOTHING, K_INTERRUPT,
    K_SEARCH, K_CANCEL, K_REDRAW, K_END_OF_INPUT
  };
  struct Event {
    Key key;
    char ch;  // the Windows-1251 character of K_CHAR
  };

  Event next_event();
  int next_byte();
  char decode_character(unsigned char lead);
  Key decode_escape();
  void handle(const Event& e, EditorHistory* history);
  void search_step(const Event& e, EditorHistory* history);
  void search_from(size_t before, EditorHistory* history);
  void replace_line(std::string text);
  void refresh();
  std::string shown(std::string_view text) const;

  EditorTerminal& term_;
  bool utf8_;
  char input_[4096];
  size_t input_len_ = 0;
  size_t input_pos_ = 0;
  bool input_ended_ = false;

  std::string prompt_;
  std::string line_;
  size_t cursor_ = 0;
  bool done_ = false;
  EditResult result_ = EditResult::Line;

  bool searching_ = false;
  std::string query_;
  size_t match_ = 0;         // index of the history entry shown, count when none
  std::string before_search_;
};

}  // namespace velloq_ui
