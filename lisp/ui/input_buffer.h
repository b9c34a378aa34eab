// The input buffer of the terminal: the lines typed for the current
// expression, held until their parentheses balance.
#pragma once

#include <cstddef>
#include <string>

namespace velloq_ui {

// Where the reader would stand after the text scanned so far: the depth of
// the parentheses it would read as such, and whether it is inside a string,
// a |…| name or a #|…|# comment.  Parentheses count only where the reader
// takes them as list syntax: not in strings, comments, escapes (\x),
// character literals (#\x), |…| names or block comments (nested as the
// reader nests them).  Each character is scanned once, whatever the lines.
class DepthScan {
 public:
  void feed(const char* text, size_t len);
  // True when a whole expression has been scanned: the depth is 0 or less
  // (more closing than opening parentheses goes to the reader, which
  // reports it) and no string, name or block comment is open.
  bool complete() const;
  // The parentheses still open, 0 when none, -1 inside a string, a |…|
  // name or a block comment.
  int open_depth() const;
  int depth() const { return depth_; }
  void reset() { *this = DepthScan(); }

 private:
  enum State {
    kBetween,       // before an expression or between tokens
    kToken,         // inside a token: "#" is part of it there
    kEscape,        // after a backslash: the next character is taken as is
    kBar,           // inside |…|
    kBarEscape,     // after a backslash inside |…|
    kString,        // inside "…"
    kStringEscape,  // after a backslash inside "…"
    kComment,       // from ";" to the line end
    kComma,         // after ",": "@" belongs to it
    kHash,          // after "#" where an expression starts: the dispatch
    kCharacter,     // after "#\": the next character is the literal
    kBlock,         // inside #|…|#
  };
  void step(unsigned char c);
  void between(unsigned char c, bool in_token);

  State state_ = kBetween;
  int depth_ = 0;
  int block_depth_ = 0;   // nesting of #|…|# comments
  int block_prev_ = 0;    // the character before, as the reader tracks it
};

// Whether text, scanned from the start, holds a complete expression.
bool parens_balanced(const std::string& text);

// The longest expression the buffer keeps; a longer one is refused.
constexpr size_t kMaxExpressionBytes = (size_t)16 << 20;

// The buffer's memory counts against the interpreter's heap ceiling
// (VELLOQ_HEAP_LIMIT): an expression that does not fit is refused as a
// too long one is.  The text handed out by take() stays counted until the
// next line comes, as it is being evaluated meanwhile.
class InputBuffer {
 public:
  InputBuffer() = default;
  InputBuffer(const InputBuffer&) = delete;
  InputBuffer& operator=(const InputBuffer&) = delete;
  ~InputBuffer();
  enum Result {
    kIncomplete,  // more lines are needed (or a refused expression goes on)
    kComplete,    // the buffer holds a complete expression and should run
    kRefused,     // the expression passed kMaxExpressionBytes: the buffer
                  // was emptied, and the rest of that expression will be
                  // dropped as it comes
  };
  // Appends one typed line (without its line end).
  Result add_line(const std::string& line);
  // Whether the buffer holds nothing but blanks and line ends.
  bool blank() const;
  // The buffer's text; the buffer is empty and the scan starts afresh.
  std::string take();
  const std::string& text() const { return text_; }
  // The open parentheses of what the buffer holds (DepthScan::open_depth).
  int open_depth() const { return scan_.open_depth(); }

 private:
  std::string text_;
  DepthScan scan_;
  bool dropping_ = false;  // inside the rest of a refused expression
  size_t charged_ = 0;     // bytes counted against the heap ceiling
};

}  // namespace velloq_ui
