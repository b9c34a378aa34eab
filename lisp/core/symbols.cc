// The object array and the symbols of the system.
#include "symbols.h"

#include <cstring>

#include "errors.h"
#include "frame_access.h"
#include "symbol_index.h"

namespace velloq {

Node *s_t, *s_keyword, *s_owned, *s_readonly, *s_create_time, *s_change_time, *s_dot, *s_quote,
    *s_function, *s_backquote, *s_comma, *s_comma_at, *s_lambda, *s_macro, *s_eql,
    *s_integer_format, *s_float_format, *s_plus1, *s_plus2, *s_plus3, *s_star1, *s_star2,
    *s_star3, *s_minus, *s_setf, *s_car, *s_cdr, *s_nth, *s_aref, *s_get, *s_symbol_value,
    *s_symbol_function, *s_symbol_plist, *s_readtable, *s_white_space, *s_constituent,
    *s_sescape, *s_mescape, *s_tmacro, *s_nmacro, *s_test, *s_test_not, *s_direction, *s_input,
    *s_output, *s_print_case, *s_upcase, *s_downcase, *s_start, *s_end, *s_start1, *s_end1,
    *s_start2, *s_end2, *s_verbose, *s_print, *s_count, *s_key, *s_optional, *s_rest, *s_lkey,
    *s_allow_other_keys, *s_aux, *s_standard_input, *s_standard_output, *s_error_output,
    *s_debug_io, *s_trace_output, *s_evalhook, *s_applyhook, *s_tracelist, *s_tracenable,
    *s_tracelimit, *s_gc_flag, *s_gc_hook, *s_self;
Node* kind_symbols[15];

int hash_name(const char* name, int size) {
  uint32_t h = 0;  // unsigned shifts: the same bits as the 32-bit signed hash
  for (const char* p = name; *p; p++) h = (h << 2) ^ (uint32_t)(int32_t)(signed char)*p;
  int32_t sh = (int32_t)h;
  int32_t r = sh % size;
  return r < 0 ? -r : r;
}

static Node* bucket_array() { return symbol_value(obarray_symbol); }

Node* find_symbol(const char* name) {
  if (strcmp(name, "NIL") == 0) return nullptr;
  return indexed_find(bucket_array(), hash_name(name, OBARRAY_SIZE), name);
}

Node* make_symbol_named(Node* name_string) {
  Node* sym = make_symbol_node(name_string);
  const char* n = name_string->u.str;
  if (n[0] == '/' && n[1]) set_slot(sym, S_VALUE, sym);
  return sym;
}

Node* make_symbol(const char* name) {
  return make_symbol_named(make_string_from(name));
}

Node* intern_symbol(const char* name) {
  if (strcmp(name, "NIL") == 0) return nullptr;
  Node* found = find_symbol(name);
  if (found) return found;
  Node* sym = make_symbol(name);
  PROTECT(sym);
  int b = hash_name(name, OBARRAY_SIZE);
  Node* cell = make_cons(sym, slot(bucket_array(), b));
  set_slot(bucket_array(), b, cell);
  index_pushed(bucket_array(), b, sym);
  UNPROTECT(1);
  return sym;
}

long obarray_removals = 0;

void unintern_symbol(Node* sym) {
  if (!sym) return;
  if (slot(sym, S_OWNER) && frame_takes_owned_symbol(sym)) return;
  if (get_property(sym, s_keyword) || get_property(sym, s_readonly)) return;
  Node* table = bucket_array();
  int b = hash_name(symbol_name(sym), OBARRAY_SIZE);
  Node* prev = nullptr;
  for (Node* l = slot(table, b); l; prev = l, l = cdr(l)) {
    if (car(l) != sym) continue;
    if (prev) prev->u.c.cdr = cdr(l); else set_slot(table, b, cdr(l));
    index_bucket_changed(b);
    obarray_removals++;
    return;
  }
}

Node* get_property(Node* sym, Node* prop) {
  for (Node* l = slot(sym, S_PLIST); consp(l) && consp(cdr(l)); l = cdr(cdr(l)))
    if (car(l) == prop) return car(cdr(l));
  return nullptr;
}

void put_property(Node* sym, Node* prop, Node* value) {
  for (Node* l = slot(sym, S_PLIST); consp(l) && consp(cdr(l)); l = cdr(cdr(l)))
    if (car(l) == prop) {
      set_car(cdr(l), value);
      return;
    }
  PROTECT(sym);
  PROTECT(prop);
  Node* rest = make_cons(value, slot(sym, S_PLIST));
  set_slot(sym, S_PLIST, make_cons(prop, rest));
  UNPROTECT(2);
}

void remove_property(Node* sym, Node* prop) {
  Node* prev = nullptr;
  for (Node* l = slot(sym, S_PLIST); consp(l) && consp(cdr(l)); prev = cdr(l), l = cdr(cdr(l))) {
    if (car(l) != prop) continue;
    if (prev) set_cdr(prev, cdr(cdr(l))); else set_slot(sym, S_PLIST, cdr(cdr(l)));
    return;
  }
}

void set_owned(Node* sym) { put_property(sym, s_owned, s_t); }
void clear_owned(Node* sym) { remove_property(sym, s_owned); }

bool is_protected(Node* sym) {
  return !sym || get_property(sym, s_readonly) || get_property(sym, s_owned);
}

void set_symbol_value(Node* sym, Node* value) { set_slot(sym, S_VALUE, value); }

// The system symbols in the order they are made.  A null target is a
// symbol made for its name only.
struct SystemSymbol {
  const char* name;
  Node** target;
};

static const SystemSymbol kSystemSymbols[] = {
    {"T", &s_t}, {"/KEYWORD", &s_keyword}, {"/OWNED", &s_owned}, {"/READONLY", &s_readonly},
    {"/CREATE_TIME", &s_create_time}, {"/CHANGE_TIME", &s_change_time}, {".", &s_dot},
    {"QUOTE", &s_quote}, {"FUNCTION", &s_function}, {"BACKQUOTE", &s_backquote},
    {"COMMA", &s_comma}, {"COMMA-AT", &s_comma_at}, {"LAMBDA", &s_lambda},
    {"MACRO", &s_macro}, {"EQL", &s_eql}, {"*INTEGER-FORMAT*", &s_integer_format},
    {"*FLOAT-FORMAT*", &s_float_format}, {"+", &s_plus1}, {"++", &s_plus2},
    {"+++", &s_plus3}, {"*", &s_star1}, {"**", &s_star2}, {"***", &s_star3},
    {"-", &s_minus}, {"*SETF*", &s_setf}, {"CAR", &s_car}, {"CDR", &s_cdr},
    {"NTH", &s_nth}, {"AREF", &s_aref}, {"GET", &s_get}, {"SYMBOL-VALUE", &s_symbol_value},
    {"SYMBOL-FUNCTION", &s_symbol_function}, {"SYMBOL-PLIST", &s_symbol_plist},
    {"*READTABLE*", &s_readtable}, {"/WHITE-SPACE", &s_white_space},
    {"/CONSTITUENT", &s_constituent}, {"/SESCAPE", &s_sescape}, {"/MESCAPE", &s_mescape},
    {"/TMACRO", &s_tmacro}, {"/NMACRO", &s_nmacro}, {"/TEST", &s_test},
    {"/TEST-NOT", &s_test_not}, {"/DIRECTION", &s_direction}, {"/INPUT", &s_input},
    {"/OUTPUT", &s_output}, {"*PRINT-CASE*", &s_print_case}, {"/UPCASE", &s_upcase},
    {"/DOWNCASE", &s_downcase}, {"/START", &s_start}, {"/END", &s_end},
    {"/START1", &s_start1}, {"/END1", &s_end1}, {"/START2", &s_start2}, {"/END2", &s_end2},
    {"/VERBOSE", &s_verbose}, {"/PRINT", &s_print}, {"/COUNT", &s_count}, {"/KEY", &s_key},
    {"&OPTIONAL", &s_optional}, {"&REST", &s_rest}, {"&KEY", &s_lkey},
    {"&ALLOW-OTHER-KEYS", &s_allow_other_keys}, {"&AUX", &s_aux},
    {"*STANDARD-INPUT*", &s_standard_input}, {"*STANDARD-OUTPUT*", &s_standard_output},
    {"*ERROR-OUTPUT*", &s_error_output}, {"*DEBUG-IO*", &s_debug_io},
    {"*TRACE-OUTPUT*", &s_trace_output}, {"*EVALHOOK*", &s_evalhook},
    {"*APPLYHOOK*", &s_applyhook}, {"*TRACELIST*", &s_tracelist},
    {"*TRACENABLE*", &s_tracenable}, {"*TRACELIMIT*", &s_tracelimit},
    {"*GC-FLAG*", &s_gc_flag}, {"*GC-HOOK*", &s_gc_hook},
    {"SUBR", &kind_symbols[K_SUBR]}, {"FSUBR", &kind_symbols[K_FSUBR]},
    {"CONS", &kind_symbols[K_CONS]}, {"SYMBOL", &kind_symbols[K_SYMBOL]},
    {"FIXNUM", &kind_symbols[K_FIXNUM]}, {"FLONUM", &kind_symbols[K_FLONUM]},
    {"STRING", &kind_symbols[K_STRING]}, {"FILE-STREAM", &kind_symbols[K_FSTREAM]},
    {"ARRAY", &kind_symbols[K_ARRAY]}, {"CLOSURE", &kind_symbols[K_CLOSURE]},
    {"CHARACTER", &kind_symbols[K_CHAR]}, {"UNNAMED-STREAM", &kind_symbols[K_USTREAM]},
    {"FRAME", &kind_symbols[K_FRAME]},
    // The frame system's reserved symbols.
    {"NODE", nullptr}, {"VECTOR", nullptr}, {"STREAM", nullptr}, {"USTREAM", nullptr},
    {"LIST", nullptr}, {"SLOT", nullptr}, {"NUMBER", nullptr}, {"HANDLER", nullptr},
    {"DATABASE", nullptr}, {"VALUETYPE", nullptr}, {"VALUEFORMAT", nullptr},
    {"INHERITANCE", nullptr}, {"*TRIGGERS*", nullptr}, {"ON_UPDATE", nullptr},
    {"ON_SETVAL", nullptr}, {"ON_GETVAL", nullptr}, {"ON_FUNCAL", nullptr},
    {"ON_SETFUN", nullptr}, {"ON_REMOVE", nullptr}, {"ON_ENTER", nullptr},
    {"ON_REMINST", nullptr}, {"ON_NEWINST", nullptr}, {"ON_NEWCHILD", nullptr},
    {"ON_REMCHILD", nullptr}, {"ON_EVAL", nullptr}, {"SELF", &s_self},
    {"INSTANCE", nullptr}, {"OWNER", nullptr}, {"ARG", nullptr}, {"GLOBAL", nullptr},
    {"IS", nullptr}, {"RULE", nullptr}, {"TASK", nullptr}, {"INTERPRETER", nullptr},
    {"TASK_PROCESSOR", nullptr}, {"AGENDA", nullptr}, {"ARGS", nullptr},
};

static bool unmarked_keyword(const char* name) {
  return !strcmp(name, "/START1") || !strcmp(name, "/END1") || !strcmp(name, "/START2") ||
         !strcmp(name, "/END2");
}

void bind_system_symbols() {
  for (const SystemSymbol& s : kSystemSymbols) {
    Node* sym = intern_symbol(s.name);
    if (s.target) *s.target = sym;
  }
  sym_gc_flag = s_gc_flag;
  sym_gc_hook = s_gc_hook;
}

void init_symbols() {
  obarray_removals++;
  Node* name = make_string_from("*OBARRAY*");
  PROTECT(name);
  obarray_symbol = make_symbol_node(name);
  UNPROTECT(1);
  Node* table = make_vector(OBARRAY_SIZE);
  set_slot(obarray_symbol, S_VALUE, table);
  int b = hash_name("*OBARRAY*", OBARRAY_SIZE);
  set_slot(table, b, make_cons(obarray_symbol, slot(table, b)));
  s_keyword = nullptr;
  bind_system_symbols();
  set_slot(s_t, S_VALUE, s_t);
  for (const SystemSymbol& s : kSystemSymbols)
    if (!unmarked_keyword(s.name)) put_property(intern_symbol(s.name), s_keyword, s_t);
  put_property(obarray_symbol, s_keyword, s_t);
  // T must stay T: every truth test depends on it.
  put_property(s_t, s_readonly, s_t);
  const char* self_bound[] = {"INSTANCE", "OWNER", "ARG"};
  for (const char* n : self_bound) {
    Node* sym = intern_symbol(n);
    set_slot(sym, S_VALUE, sym);
  }
  set_slot(s_print_case, S_VALUE, s_upcase);
  set_slot(s_integer_format, S_VALUE, make_string_from("%ld"));
  set_slot(s_float_format, S_VALUE, make_string_from("%g"));
  set_slot(intern_symbol("*TRIGGERS*"), S_VALUE, s_t);
}

}  // namespace velloq
