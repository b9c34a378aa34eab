// Symbol and vector built-ins.
#include <cstdio>
#include <cstring>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "frame_access.h"
#include "symbols.h"

namespace velloq {

static char gensym_prefix[101] = "G";
static int32_t gensym_counter = 1;

Node* bi_set() {
  Node* sym = symbol_arg();
  Node* value = next_arg();
  last_arg();
  return set_global_value(sym, value);
}

Node* bi_gensym() {
  if (more_args()) {
    Node* x = next_arg();
    const char* text = nullptr;
    if (symbolp(x)) text = symbol_name(x);
    else if (stringp(x)) text = x->u.str;
    else if (fixnump(x)) gensym_counter = x->num;
    else bad_argument(x);
    if (text) {
      strncpy(gensym_prefix, text, 100);
      gensym_prefix[100] = 0;
    }
  }
  last_arg();
  char name[128];
  snprintf(name, sizeof name, "%s%d", gensym_prefix, gensym_counter);
  gensym_counter = (int32_t)((uint32_t)gensym_counter + 1u);
  return make_symbol(name);
}

Node* bi_make_symbol() {
  Node* s = string_arg();
  last_arg();
  return make_symbol(s->u.str);
}

Node* bi_intern() {
  Node* s = string_arg();
  last_arg();
  return intern_symbol(s->u.str);
}

Node* bi_symbol_name() {
  Node* s = symbol_arg();
  last_arg();
  Node* name = slot(s, S_PNAME);
  return make_string_bytes(name->u.str, string_length(name));
}

Node* bi_symbol_value() {
  Node* s = symbol_arg();
  last_arg();
  if (!symbol_value(s)) report_error("undefined variable", s);
  return symbol_value(s);
}

Node* bi_symbol_function() {
  Node* s = symbol_arg();
  last_arg();
  if (!symbol_function(s)) report_error("undefined function", s);
  return symbol_function(s);
}

Node* bi_symbol_plist() {
  Node* s = symbol_arg();
  last_arg();
  return slot(s, S_PLIST);
}

Node* bi_get() {
  Node* s = symbol_arg();
  Node* prop = next_arg();
  last_arg();
  return get_property(s, prop);
}

// (PUTPROP symbol value property)
Node* bi_putprop() {
  Node* s = symbol_arg();
  Node* value = next_arg();
  Node* prop = next_arg();
  last_arg();
  put_property(s, prop, value);
  return value;
}

Node* bi_remprop() {
  Node* s = symbol_arg();
  Node* prop = next_arg();
  last_arg();
  remove_property(s, prop);
  return nullptr;
}

Node* bi_boundp() {
  Node* s = symbol_arg();
  last_arg();
  return symbol_value(s) ? s_t : nullptr;
}

Node* bi_fboundp() {
  Node* s = symbol_arg();
  last_arg();
  return symbol_function(s) ? s_t : nullptr;
}

Node* bi_hash() {
  Node* x = next_arg();
  int32_t size = fixnum_arg();
  last_arg();
  const char* name;
  if (symbolp(x)) name = symbol_name(x);
  else if (stringp(x)) name = x->u.str;
  else bad_argument(x);
  if (size <= 0) bad_argument(make_fixnum(size));
  return make_fixnum(hash_name(name, size));
}

Node* bi_make_array() {
  int32_t n = fixnum_arg();
  last_arg();
  if (n < 0) bad_argument(make_fixnum(n));
  return make_vector(n);
}

Node* bi_aref() {
  Node* a = next_arg();
  if (!arrayp(a)) bad_argument(a);
  int32_t i = fixnum_arg();
  last_arg();
  if (i < 0 || i >= a->num) report_error("array index out of bounds", make_fixnum(i));
  return slot(a, i);
}

Node* bi_vector() {
  int n = argc_left;
  Node* v = make_vector(n);
  for (int i = 0; i < n; i++) set_slot(v, i, next_arg());
  return v;
}

}  // namespace velloq
