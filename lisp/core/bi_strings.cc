// Strings and characters.  Letter case follows the Windows-1251 ranges.
#include <cstring>

#include "builtin_handlers.h"
#include "cp1251.h"
#include "errors.h"
#include "eval.h"
#include "symbols.h"

namespace velloq {

static bool lower_p(int c) { return (c >= 'a' && c <= 'z') || c >= 224; }
static bool upper_p(int c) { return (c >= 'A' && c <= 'Z') || (c >= 192 && c <= 223); }
static bool digit_p(int c) { return c >= '0' && c <= '9'; }

Node* bi_strcat() {
  long total = 0;
  for (int i = 0; i < argc_left; i++) {
    if (!stringp(argp[i])) bad_argument(argp[i]);
    total += string_length(argp[i]);
  }
  if (total > 0x7fff0000L) report_error("insufficient string space");
  Node* r = make_string_of_size((int32_t)total + 1);
  long pos = 0;
  while (more_args()) {
    Node* s = next_arg();
    memcpy(r->u.str + pos, s->u.str, (size_t)string_length(s));
    pos += string_length(s);
  }
  r->u.str[pos] = 0;
  return r;
}

// Reads the optional /START and /END keywords of a string of length len.
static void bounds(int32_t len, int32_t* start, int32_t* end) {
  *start = 0;
  *end = len;
  while (more_args()) {
    Node* key = next_arg();
    Node* v = next_arg();
    if (key != s_start && key != s_end) bad_argument(key);
    if (!fixnump(v)) bad_argument(v);
    if (v->num < 0 || v->num > len) report_error("string index out of bounds", v);
    if (key == s_start) *start = v->num; else *end = v->num;
  }
  if (*start > *end) report_error("starting index error", make_fixnum(*start));
}

// (SUBSEQ string start [end])
Node* bi_subseq() {
  Node* s = string_arg();
  int32_t len = string_length(s);
  Node* a = next_arg();
  if (!fixnump(a)) bad_argument(a);
  int32_t start = a->num, end = len;
  if (more_args()) {
    Node* e = next_arg();
    if (!fixnump(e)) bad_argument(e);
    end = e->num;
    if (end < 0 || end > len) report_error("string index out of bounds", e);
  }
  last_arg();
  if (start < 0 || start > len) report_error("string index out of bounds", a);
  if (start > end) report_error("starting index error", a);
  return make_string_bytes(s->u.str + start, end - start);
}

Node* bi_string() {
  Node* x = next_arg();
  last_arg();
  if (stringp(x)) return x;
  if (symbolp(x)) {
    Node* n = slot(x, S_PNAME);
    return make_string_bytes(n->u.str, string_length(n));
  }
  if (!x) return make_string_from("NIL");
  if (charp(x)) {
    char c = (char)x->num;
    return make_string_bytes(&c, 1);
  }
  bad_argument(x);
}

Node* bi_char() {
  Node* s = string_arg();
  int32_t i = fixnum_arg();
  last_arg();
  if (i < 0 || i >= string_length(s)) report_error("index out of range", make_fixnum(i));
  return make_character((unsigned char)s->u.str[i]);
}

static Node* change_case(bool up, bool in_place) {
  Node* s = string_arg();
  int32_t start, end;
  bounds(string_length(s), &start, &end);
  Node* r = in_place ? s : make_string_bytes(s->u.str, string_length(s));
  for (int32_t i = start; i < end; i++) {
    unsigned char c = (unsigned char)r->u.str[i];
    r->u.str[i] = (char)(up ? cp1251::toUpper(c) : cp1251::toLower(c));
  }
  return r;
}

Node* bi_string_upcase() { return change_case(true, false); }
Node* bi_string_downcase() { return change_case(false, false); }
Node* bi_nstring_upcase() { return change_case(true, true); }
Node* bi_nstring_downcase() { return change_case(false, true); }

// (STRING-TRIM bag string): bag is a string of characters to remove.
static Node* trim(bool left, bool right) {
  Node* bag = string_arg();
  Node* s = string_arg();
  last_arg();
  int32_t start = 0, end = string_length(s);
  int32_t bag_len = string_length(bag);
  auto in_bag = [&](char c) { return memchr(bag->u.str, c, (size_t)bag_len) != nullptr; };
  if (left)
    while (start < end && in_bag(s->u.str[start])) start++;
  if (right)
    while (end > start && in_bag(s->u.str[end - 1])) end--;
  return make_string_bytes(s->u.str + start, end - start);
}

Node* bi_string_trim() { return trim(true, true); }
Node* bi_string_left_trim() { return trim(true, false); }
Node* bi_string_right_trim() { return trim(false, true); }

static int char_arg() {
  Node* c = next_arg();
  if (!charp(c)) bad_argument(c);
  return c->num;
}

static Node* truth(bool b) { return b ? s_t : nullptr; }

Node* bi_char_int() {
  int c = char_arg();
  last_arg();
  return make_fixnum(c);
}

Node* bi_char_code() { return bi_char_int(); }

Node* bi_int_char() {
  int32_t n = fixnum_arg();
  last_arg();
  return make_character(n);
}

Node* bi_code_char() { return bi_int_char(); }

Node* bi_upper_case_p() {
  int c = char_arg();
  last_arg();
  return truth(upper_p(c));
}

Node* bi_lower_case_p() {
  int c = char_arg();
  last_arg();
  return truth(lower_p(c));
}

Node* bi_both_case_p() {
  int c = char_arg();
  last_arg();
  return truth(upper_p(c) || lower_p(c));
}

Node* bi_alphanumericp() {
  int c = char_arg();
  last_arg();
  return truth(upper_p(c) || lower_p(c) || digit_p(c));
}

Node* bi_char_upcase() {
  int c = char_arg();
  last_arg();
  return make_character(cp1251::toUpper((unsigned char)c));
}

Node* bi_char_downcase() {
  int c = char_arg();
  last_arg();
  return make_character(cp1251::toLower((unsigned char)c));
}

static int32_t radix_arg() {
  if (!more_args()) return 10;
  int32_t r = fixnum_arg();
  if (r < 2 || r > 36) bad_argument(make_fixnum(r));
  return r;
}

// (DIGIT-CHAR-P char [radix]): the digit's weight or NIL.
Node* bi_digit_char_p() {
  int c = char_arg();
  int32_t radix = radix_arg();
  last_arg();
  int u = cp1251::toUpper((unsigned char)c);
  int d = digit_p(u) ? u - '0' : (u >= 'A' && u <= 'Z' ? u - 'A' + 10 : 99);
  return d < radix ? make_fixnum(d) : nullptr;
}

// (DIGIT-CHAR weight [radix]): the digit character or NIL.
Node* bi_digit_char() {
  int32_t w = fixnum_arg();
  int32_t radix = radix_arg();
  last_arg();
  if (w < 0 || w >= radix) return nullptr;
  return make_character(w < 10 ? '0' + w : 'A' + w - 10);
}

}  // namespace velloq
