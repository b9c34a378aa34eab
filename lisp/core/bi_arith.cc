// Arithmetic: left folds, unary functions, comparisons and RND.  Fixnums
// are 32-bit: a sum, difference, product or power beyond that range is the
// error "integer overflow", never a wrapped number.  The bitwise functions
// work on the 32 bits as they are.
#include <cmath>

#include "builtin_handlers.h"
#include "errors.h"
#include "eval.h"
#include "symbols.h"

namespace velloq {

[[noreturn]] static void integer_overflow() { report_error("integer overflow"); }

static int32_t checked_add(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_add_overflow(a, b, &r)) integer_overflow();
  return r;
}

static int32_t checked_sub(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_sub_overflow(a, b, &r)) integer_overflow();
  return r;
}

static int32_t checked_mul(int32_t a, int32_t b) {
  int32_t r;
  if (__builtin_mul_overflow(a, b, &r)) integer_overflow();
  return r;
}

// A number being folded: a fixnum until a flonum is met.
struct Num {
  bool flo;
  int32_t i;
  double d;
};

static Num number_arg() {
  Node* x = next_arg();
  if (fixnump(x)) return {false, x->num, 0};
  if (flonump(x)) return {true, 0, x->u.flo};
  bad_argument(x);
}

static double as_double(Num n) { return n.flo ? n.d : (double)n.i; }

static Node* make_num(Num n) { return n.flo ? make_flonum(n.d) : make_fixnum(n.i); }

enum Op { ADD, SUB, MUL, DIV, REM, MIN, MAX, EXPT, LAND, LIOR, LXOR, GCD };

static int32_t int_div(int32_t a, int32_t b) {
  if (b == 0) report_error("division by zero");
  if (a == INT32_MIN && b == -1) integer_overflow();
  return a / b;
}

static int32_t int_rem(int32_t a, int32_t b) {
  if (b == 0) report_error("division by zero");
  if (b == -1) return 0;
  return a % b;
}

static int32_t int_expt(int32_t base, int32_t e) {
  if (e < 0) {
    if (base == 0) report_error("division by zero");
    if (base == 1) return 1;
    if (base == -1) return (e & 1) ? -1 : 1;
    return 0;
  }
  // The square is taken only while bits of e remain, so a base whose
  // square overflows is no error when that square is never used.
  int32_t r = 1;
  while (e > 0) {
    if (e & 1) r = checked_mul(r, base);
    e >>= 1;
    if (e > 0) base = checked_mul(base, base);
  }
  return r;
}

static int32_t int_gcd(int32_t a, int32_t b) {
  uint32_t x = a < 0 ? 0u - (uint32_t)a : (uint32_t)a;
  uint32_t y = b < 0 ? 0u - (uint32_t)b : (uint32_t)b;
  while (y) {
    uint32_t t = x % y;
    x = y;
    y = t;
  }
  if (x > (uint32_t)INT32_MAX) integer_overflow();
  return (int32_t)x;
}

static Num apply_op(Op op, Num a, Num b) {
  if (!a.flo && !b.flo) {
    switch (op) {
      case ADD: a.i = checked_add(a.i, b.i); break;
      case SUB: a.i = checked_sub(a.i, b.i); break;
      case MUL: a.i = checked_mul(a.i, b.i); break;
      case DIV: a.i = int_div(a.i, b.i); break;
      case REM: a.i = int_rem(a.i, b.i); break;
      case MIN: if (b.i < a.i) a.i = b.i; break;
      case MAX: if (b.i > a.i) a.i = b.i; break;
      case EXPT: a.i = int_expt(a.i, b.i); break;
      case LAND: a.i &= b.i; break;
      case LIOR: a.i |= b.i; break;
      case LXOR: a.i ^= b.i; break;
      case GCD: a.i = int_gcd(a.i, b.i); break;
    }
    return a;
  }
  double x = as_double(a), y = as_double(b);
  switch (op) {
    case ADD: x += y; break;
    case SUB: x -= y; break;
    case MUL: x *= y; break;
    case DIV:
      if (y == 0.0) report_error("division by zero");
      x /= y;
      break;
    case MIN: if (y < x) x = y; break;
    case MAX: if (y > x) x = y; break;
    case EXPT: x = pow(x, y); break;
    default: report_error("bad floating point operation");
  }
  return {true, 0, x};
}

// Left fold over the arguments; one argument of - and / negates and takes
// the reciprocal.
static Node* fold(Op op, int32_t identity, bool needs_one) {
  if (!more_args()) {
    if (needs_one) report_error("too few arguments");
    return make_fixnum(identity);
  }
  Num acc = number_arg();
  if (!more_args()) {
    if (op == SUB) acc = apply_op(SUB, Num{false, 0, 0}, acc);
    else if (op == DIV) acc = apply_op(DIV, Num{false, 1, 0}, acc);
    else if (op == REM || op == EXPT) report_error("too few arguments");
    else if (acc.flo && (op == LAND || op == LIOR || op == LXOR || op == GCD))
      report_error("bad floating point operation");
    return make_num(acc);
  }
  while (more_args()) acc = apply_op(op, acc, number_arg());
  return make_num(acc);
}

Node* bi_plus() { return fold(ADD, 0, false); }
Node* bi_minus() { return fold(SUB, 0, true); }
Node* bi_times() { return fold(MUL, 1, false); }
Node* bi_quotient() { return fold(DIV, 1, true); }
Node* bi_rem() { return fold(REM, 0, true); }
Node* bi_min() { return fold(MIN, 0, true); }
Node* bi_max() { return fold(MAX, 0, true); }
Node* bi_expt() { return fold(EXPT, 1, true); }
Node* bi_logand() { return fold(LAND, -1, false); }
Node* bi_logior() { return fold(LIOR, 0, false); }
Node* bi_logxor() { return fold(LXOR, 0, false); }
Node* bi_gcd() { return fold(GCD, 0, false); }

// ---- unary functions ----

enum Unary { U_ADD1, U_SUB1, U_ABS, U_INT, U_FLOAT, U_LOGNOT, U_RND, U_SIN, U_COS, U_TAN, U_EXP, U_SQRT };

static int32_t rnd_state = 1;

// Multiplicative congruential generator (16807, 2^31-1) by Schrage's
// decomposition.
static int32_t next_random() {
  if (rnd_state == 0) rnd_state = 1;
  int32_t hi = rnd_state / 127773, lo = rnd_state % 127773;
  int32_t t = 16807 * lo - 2836 * hi;
  if (t < 0) t += 2147483647;
  rnd_state = t;
  return t;
}

static Node* unary(Unary op) {
  Node* x = next_arg();
  last_arg();
  if (fixnump(x)) {
    int32_t v = x->num;
    switch (op) {
      case U_ADD1: return make_fixnum(checked_add(v, 1));
      case U_SUB1: return make_fixnum(checked_sub(v, 1));
      case U_ABS: return make_fixnum(v < 0 ? checked_sub(0, v) : v);
      case U_INT: return x;
      case U_FLOAT: return make_flonum((double)v);
      case U_LOGNOT: return make_fixnum(~v);
      case U_RND:
        if (v <= 0) bad_argument(x);
        return make_fixnum(next_random() % v);
      default: report_error("bad integer operation", x);
    }
  }
  if (flonump(x)) {
    double v = x->u.flo;
    switch (op) {
      case U_ADD1: return make_flonum(v + 1.0);
      case U_SUB1: return make_flonum(v - 1.0);
      case U_ABS: return make_flonum(fabs(v));
      case U_INT:
        // Outside the fixnum range (or not a number) there is no integer.
        if (!(v > -2147483649.0 && v < 2147483648.0)) report_error("bad floating point operation", x);
        return make_fixnum((int32_t)v);
      case U_FLOAT: return x;
      case U_SIN: return make_flonum(sin(v));
      case U_COS: return make_flonum(cos(v));
      case U_TAN: return make_flonum(tan(v));
      case U_EXP: return make_flonum(exp(v));
      case U_SQRT:
        if (v < 0) report_error("square root of a negative number", x);
        return make_flonum(sqrt(v));
      default: report_error("bad floating point operation", x);
    }
  }
  bad_argument(x);
}

Node* bi_add1() { return unary(U_ADD1); }
Node* bi_sub1() { return unary(U_SUB1); }
Node* bi_abs() { return unary(U_ABS); }
Node* bi_int() { return unary(U_INT); }
Node* bi_float() { return unary(U_FLOAT); }
Node* bi_lognot() { return unary(U_LOGNOT); }
Node* bi_rnd() { return unary(U_RND); }
Node* bi_sin() { return unary(U_SIN); }
Node* bi_cos() { return unary(U_COS); }
Node* bi_tan() { return unary(U_TAN); }
Node* bi_exp() { return unary(U_EXP); }
Node* bi_sqrt() { return unary(U_SQRT); }

// ---- comparisons over a chain ----

enum Cmp { LT, LE, EQ, NE, GE, GT };

static bool compare(Cmp op, Num a, Num b) {
  int c;
  if (!a.flo && !b.flo) c = a.i < b.i ? -1 : a.i > b.i ? 1 : 0;
  else {
    double x = as_double(a), y = as_double(b);
    if (x != x || y != y) return op == NE;  // NaN is unordered
    c = x < y ? -1 : x > y ? 1 : 0;
  }
  switch (op) {
    case LT: return c < 0;
    case LE: return c <= 0;
    case EQ: return c == 0;
    case NE: return c != 0;
    case GE: return c >= 0;
    case GT: return c > 0;
  }
  return false;
}

static Node* chain(Cmp op) {
  Num prev = number_arg();
  bool ok = true;
  while (more_args()) {
    Num next = number_arg();
    if (!compare(op, prev, next)) ok = false;
    prev = next;
  }
  return ok ? s_t : nullptr;
}

Node* bi_lt() { return chain(LT); }
Node* bi_le() { return chain(LE); }
Node* bi_eqn() { return chain(EQ); }
Node* bi_ne() { return chain(NE); }
Node* bi_ge() { return chain(GE); }
Node* bi_gt() { return chain(GT); }

static Node* sign_test(int which) {
  Num n = number_arg();
  last_arg();
  double v = as_double(n);
  bool r = which < 0 ? v < 0 : which == 0 ? v == 0 : v > 0;
  return r ? s_t : nullptr;
}

Node* bi_minusp() { return sign_test(-1); }
Node* bi_zerop() { return sign_test(0); }
Node* bi_plusp() { return sign_test(1); }

static Node* parity(bool even) {
  Node* x = next_arg();
  last_arg();
  if (flonump(x)) report_error("bad floating point operation", x);
  if (!fixnump(x)) bad_argument(x);
  return ((x->num & 1) == 0) == even ? s_t : nullptr;
}

Node* bi_evenp() { return parity(true); }
Node* bi_oddp() { return parity(false); }

}  // namespace velloq
