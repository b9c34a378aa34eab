// The short ways of the busiest built-ins (see short_calls.h).  Each one
// must give exactly what its handler gives, or decline.
#include "short_calls.h"

#include "builtin_handlers.h"
#include "builtins.h"
#include "symbols.h"

namespace velloq {

static Node declined_marker;
Node* const short_declined = &declined_marker;
ShortCall short_calls[BUILTIN_COUNT];

static Node* truth(bool b) { return b ? s_t : nullptr; }

// ---- lists ----

// One step along a list: NIL stays NIL; a non-list declines.
#define LIST_STEP(x, op) \
  if (x) {                 \
    if (!consp(x)) return short_declined; \
    x = op(x);             \
  }

static Node* short_car(Node* x) { LIST_STEP(x, car) return x; }
static Node* short_cdr(Node* x) { LIST_STEP(x, cdr) return x; }
static Node* short_cadr(Node* x) { LIST_STEP(x, cdr) LIST_STEP(x, car) return x; }
static Node* short_cddr(Node* x) { LIST_STEP(x, cdr) LIST_STEP(x, cdr) return x; }
static Node* short_caar(Node* x) { LIST_STEP(x, car) LIST_STEP(x, car) return x; }

static Node* short_cons(Node* a, Node* d) { return make_cons(a, d); }

static Node* short_rplaca(Node* c, Node* v) {
  if (!consp(c)) return short_declined;
  set_car(c, v);
  return c;
}

static Node* short_rplacd(Node* c, Node* v) {
  if (!consp(c)) return short_declined;
  set_cdr(c, v);
  return c;
}

// ---- predicates ----

static Node* short_null(Node* x) { return truth(!x); }
static Node* short_atom(Node* x) { return truth(!consp(x)); }
static Node* short_consp(Node* x) { return truth(consp(x)); }
static Node* short_eq(Node* a, Node* b) { return truth(a == b); }

// ---- fixnum arithmetic; flonums and overflows go to the handlers ----

static bool both_fixnums(Node* a, Node* b) { return fixnump(a) && fixnump(b); }

#define SHORT_ARITHMETIC(name, checked_op)                      \
  static Node* name(Node* a, Node* b) {                        \
    int32_t r;                                                 \
    if (!both_fixnums(a, b) || checked_op(a->num, b->num, &r)) \
      return short_declined;                                   \
    return make_fixnum(r);                                     \
  }
SHORT_ARITHMETIC(short_plus, __builtin_add_overflow)
SHORT_ARITHMETIC(short_minus, __builtin_sub_overflow)
SHORT_ARITHMETIC(short_times, __builtin_mul_overflow)

static Node* short_negate(Node* a) {
  if (!fixnump(a) || a->num == INT32_MIN) return short_declined;
  return make_fixnum(-a->num);
}

// REM by 0 is an error and by -1 the handler's special case.
static Node* short_rem(Node* a, Node* b) {
  if (!both_fixnums(a, b) || b->num == 0 || b->num == -1) return short_declined;
  return make_fixnum(a->num % b->num);
}

static Node* short_add1(Node* a) {
  if (!fixnump(a) || a->num == INT32_MAX) return short_declined;
  return make_fixnum(a->num + 1);
}

static Node* short_sub1(Node* a) {
  if (!fixnump(a) || a->num == INT32_MIN) return short_declined;
  return make_fixnum(a->num - 1);
}

#define SHORT_COMPARE(name, op)                              \
  static Node* name(Node* a, Node* b) {                      \
    if (!both_fixnums(a, b)) return short_declined;          \
    return truth(a->num op b->num);                          \
  }
SHORT_COMPARE(short_lt, <)
SHORT_COMPARE(short_le, <=)
SHORT_COMPARE(short_eqn, ==)
SHORT_COMPARE(short_ne, !=)
SHORT_COMPARE(short_ge, >=)
SHORT_COMPARE(short_gt, >)

static Node* short_zerop(Node* a) { return fixnump(a) ? truth(a->num == 0) : short_declined; }
static Node* short_minusp(Node* a) { return fixnump(a) ? truth(a->num < 0) : short_declined; }
static Node* short_plusp(Node* a) { return fixnump(a) ? truth(a->num > 0) : short_declined; }

// ---- the table ----

static const struct {
  Handler handler;
  ShortCall ways;
} short_ways[] = {
    {bi_car, {short_car, nullptr}},       {bi_cdr, {short_cdr, nullptr}},
    {bi_cadr, {short_cadr, nullptr}},     {bi_cddr, {short_cddr, nullptr}},
    {bi_caar, {short_caar, nullptr}},     {bi_cons, {nullptr, short_cons}},
    {bi_rplaca, {nullptr, short_rplaca}}, {bi_rplacd, {nullptr, short_rplacd}},
    {bi_null, {short_null, nullptr}},     {bi_atom, {short_atom, nullptr}},
    {bi_consp, {short_consp, nullptr}},   {bi_eq, {nullptr, short_eq}},
    {bi_plus, {nullptr, short_plus}},     {bi_minus, {short_negate, short_minus}},
    {bi_times, {nullptr, short_times}},   {bi_rem, {nullptr, short_rem}},
    {bi_add1, {short_add1, nullptr}},     {bi_sub1, {short_sub1, nullptr}},
    {bi_lt, {nullptr, short_lt}},         {bi_le, {nullptr, short_le}},
    {bi_eqn, {nullptr, short_eqn}},       {bi_ne, {nullptr, short_ne}},
    {bi_ge, {nullptr, short_ge}},         {bi_gt, {nullptr, short_gt}},
    {bi_zerop, {short_zerop, nullptr}},   {bi_minusp, {short_minusp, nullptr}},
    {bi_plusp, {short_plusp, nullptr}},
};

void define_short_calls() {
  for (int i = 0; i < BUILTIN_COUNT; i++) {
    short_calls[i] = {nullptr, nullptr};
    for (const auto& w : short_ways)
      if (builtin_table[i].handler == w.handler) short_calls[i] = w.ways;
  }
}

}  // namespace velloq
