// The input buffer and its depth scan, which follows the reader's default
// read table.
#include "input_buffer.h"

#include <algorithm>

#include "node.h"

namespace velloq_ui {

namespace {

// Characters that continue a token (constituents and the non-terminating
// "#"); "^" ends one, as it starts a slot path.
bool continues_token(unsigned char c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c >= 192)
    return true;
  switch (c) {
    case '$': case '%': case '&': case '*': case '+': case '-': case '.': case '/':
    case ':': case '<': case '=': case '>': case '?': case '@': case '[': case ']':
    case '_': case '{': case '}': case '~': case '#':
      return true;
    default:
      return false;
  }
}

}  // namespace

// Where an expression may start, or inside a token: the two differ only in
// "#", a dispatch at the start and an ordinary character inside.
void DepthScan::between(unsigned char c, bool in_token) {
  switch (c) {
    case '(': depth_++; state_ = kBetween; return;
    case ')': depth_--; state_ = kBetween; return;
    case '"': state_ = kString; return;
    case ';': state_ = kComment; return;
    case '\\': state_ = kEscape; return;
    case '|': state_ = kBar; return;
    case ',': state_ = kComma; return;
    case '#': state_ = in_token ? kToken : kHash; return;
    default: state_ = continues_token(c) ? kToken : kBetween; return;
  }
}

void DepthScan::step(unsigned char c) {
  switch (state_) {
    case kBetween: between(c, false); return;
    case kToken: between(c, true); return;
    case kEscape: state_ = kToken; return;
    case kBar:
      if (c == '|') state_ = kToken;
      else if (c == '\\') state_ = kBarEscape;
      return;
    case kBarEscape: state_ = kBar; return;
    case kString:
      if (c == '"') state_ = kBetween;
      else if (c == '\\') state_ = kStringEscape;
      return;
    case kStringEscape: state_ = kString; return;
    case kComment:
      if (c == '\n') state_ = kBetween;
      return;
    case kComma:
      if (c == '@') state_ = kBetween;
      else between(c, false);
      return;
    case kHash:
      // The dispatch character is taken whatever it is: "#(" opens a
      // vector, "#|" a comment, "#\" a character; "#'" and the others
      // read on from the next character.
      if (c == '|') {
        state_ = kBlock;
        block_depth_ = 1;
        block_prev_ = 0;
      } else if (c == '\\') {
        state_ = kCharacter;
      } else {
        if (c == '(') depth_++;
        state_ = kBetween;
      }
      return;
    case kCharacter: state_ = kToken; return;
    case kBlock: {
      // The reader's own rule: "|#" closes, "#|" opens, and a character
      // used in a pair does not start another.
      int ch = c;
      if (block_prev_ == '|' && c == '#') {
        if (--block_depth_ == 0) {
          state_ = kBetween;
          return;
        }
        ch = 0;
      } else if (block_prev_ == '#' && c == '|') {
        block_depth_++;
        ch = 0;
      }
      block_prev_ = ch;
      return;
    }
  }
}

void DepthScan::feed(const char* text, size_t len) {
  for (size_t i = 0; i < len; i++) step((unsigned char)text[i]);
}

bool DepthScan::complete() const {
  switch (state_) {
    case kString: case kStringEscape: case kBar: case kBarEscape: case kBlock:
      return false;
    default:
      return depth_ <= 0;
  }
}

int DepthScan::open_depth() const {
  switch (state_) {
    case kString: case kStringEscape: case kBar: case kBarEscape: case kBlock:
      return -1;
    default:
      return depth_ > 0 ? depth_ : 0;
  }
}

bool parens_balanced(const std::string& text) {
  DepthScan scan;
  scan.feed(text.data(), text.size());
  return scan.complete();
}

InputBuffer::~InputBuffer() { velloq::release_heap_bytes(charged_); }

// Room the buffer takes beyond the heap ceiling when it must.
static const size_t kAlwaysRoom = 64 << 10;

// Grows the text's room to hold `needed` bytes, counted first against the
// heap ceiling; false when the ceiling refuses.
static bool make_room(std::string* text, size_t* charged, size_t needed) {
  if (text->empty() && *charged) {
    // The last expression has been evaluated: its text is gone.
    velloq::release_heap_bytes(*charged);
    *charged = 0;
  }
  if (needed <= text->capacity() && text->capacity() <= *charged) return true;
  size_t room = std::max(needed, std::min(2 * text->capacity(), kMaxExpressionBytes));
  if (room > *charged) {
    if (velloq::reserve_heap_bytes(room - *charged)) *charged = room;
    // A short expression is taken even on a full heap: it may be the one
    // that lets go of what fills it.
    else if (room > kAlwaysRoom) return false;
  }
  text->reserve(room);
  if (text->capacity() > *charged && velloq::reserve_heap_bytes(text->capacity() - *charged))
    *charged = text->capacity();
  return true;
}

InputBuffer::Result InputBuffer::add_line(const std::string& line) {
  scan_.feed(line.data(), line.size());
  scan_.feed("\n", 1);
  if (dropping_) {
    if (scan_.complete()) {
      dropping_ = false;
      scan_.reset();
    }
    return kIncomplete;
  }
  size_t needed = text_.size() + line.size() + 1;
  if (needed > kMaxExpressionBytes || !make_room(&text_, &charged_, needed)) {
    std::string().swap(text_);  // give the memory back, not only the length
    if (scan_.complete()) scan_.reset();
    else dropping_ = true;
    return kRefused;
  }
  text_ += line;
  text_ += '\n';
  return scan_.complete() ? kComplete : kIncomplete;
}

bool InputBuffer::blank() const {
  return text_.find_first_not_of(" \t\r\n") == std::string::npos;
}

std::string InputBuffer::take() {
  std::string text;
  text.swap(text_);
  scan_.reset();
  return text;
}

}  // namespace velloq_ui
