// Internal: branch-free kernels for the vector forms of the probability laws: the standard
// normal density and distribution function, and an exponential and a logarithm of our own.
// A call to the C library's exp or log keeps a loop from being vectorised; these are plain
// arithmetic on doubles and their bit patterns, so that a loop over them is.
#pragma once

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "lumex/core/types.h"

namespace lumex::detail {

inline constexpr double kInvSqrt2Pi = 0.398942280401432677939946059934;  // 1/sqrt(2 pi)

// ---- The standard normal law, free of branches ----------------------------------------------
//
// For x >= 0, Phi(-x) = phi(x) M(x) with M the Mills ratio: smooth and positive on [0, Inf),
// sqrt(pi/2) at 0 and about 1/x far out. One rational function of degrees 10 and 11 follows it
// over [0, 40] to 7e-17 relative (tools/fastmath_fit.py derives the coefficients); past 40,
// phi is below e^-800 and 0 in double. phi is evaluated with an exponential of our own
// (ScaledGaussian): a call to the C library's exp would keep a loop over these functions from
// being vectorised. Against 40-digit values, Phi is within 1.5e-15 relative over the whole lower
// tail down to the smallest normal doubles, and phi within 2.3e-16.
//
// Choices are made on bit patterns, not by comparing doubles: a floating comparison may raise
// an exception, so compilers neither turn it into a selection nor vectorise a loop around it;
// and with standard normal data the sign of z is a coin toss for a branch predictor.

inline constexpr double kMillsP[] = {
    1.2533141373155003, 2.0770484204161797, 1.7062591271664975,
    0.89784089905673603, 0.33202630945264228, 0.089758458089576207,
    0.017940384616525584, 0.0026212080467109197, 0.00026896029602719999,
    1.7626429072592015e-05, 5.6725356982636627e-07};
inline constexpr double kMillsQ[] = {
    1, 2.4551294274929143, 2.8203076792644874,
    2.0050501519349133, 0.98253334131354575, 0.34943443907270494,
    0.092344413556742902, 0.01820821039687796, 0.0026388344759746968,
    0.00026952754959409569, 1.7626429072619313e-05, 5.6725356982625044e-07};

// exp(r) = 1 + r + r^2 g(r) on |r| <= ln(2)/2, g to 1.6e-17 relative in exp(r).
inline constexpr double kExpG[] = {
    0.50000000000000011, 0.16666666666666669, 0.041666666666624164,
    0.008333333333330065, 0.0013888888917196719, 0.00019841269863040545,
    2.480152132236793e-05, 2.7557268480309439e-06, 2.7620075880345908e-07,
    2.5100375832840034e-08};

inline constexpr double kMillsEnd = 40.0;  // phi(40) = e^-800/sqrt(2 pi) is 0 in double

template <std::size_t N>
inline double Horner(const double (&c)[N], double x) {
  double s = c[N - 1];
  for (std::size_t i = N - 1; i-- > 0;) s = s * x + c[i];
  return s;
}

inline double MillsRatio(double x) { return Horner(kMillsP, x) / Horner(kMillsQ, x); }

inline std::int64_t Bits(double v) { return std::bit_cast<std::int64_t>(v); }

// All ones where a > b, else 0, for a and b without sign bit (NaN ranks above +Inf). The
// difference wraps rather than overflows for other arguments, which give a meaningless mask:
// the vector forms may run a kernel on points outside its domain and discard the values.
inline std::uint64_t AboveMask(double a, double b) {
  const std::uint64_t d = std::bit_cast<std::uint64_t>(b) - std::bit_cast<std::uint64_t>(a);
  return static_cast<std::uint64_t>(static_cast<std::int64_t>(d) >> 63);
}

// All ones where the sign bit of v is set.
inline std::uint64_t SignMask(double v) { return static_cast<std::uint64_t>(Bits(v) >> 63); }

// a where mask is all ones, b where it is 0.
inline double Select(std::uint64_t mask, double a, double b) {
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}

// The reduction of the exponentials: s + e = k ln 2 + r with k = round(s/ln 2), read off the
// low bits of the shifter sum, and |r| <= ln(2)/2 (and a little); ln 2 = kLn2Hi + kLn2Lo with
// kLn2Hi 32 bits long, so k kLn2Hi and the difference from s are exact, and e (small beside
// s) joins r. 2^k is written as 2^(k + 600) into the exponent field, times 2^-600, so that
// results below the normal range are rounded once, by the last product: this holds for
// s in [-1100, 290].
struct TExpReduced {
  double r, twoK600;  // r, and 2^(k + 600)
};
[[gnu::always_inline]] inline TExpReduced ReduceExp(double s, double e) {
  constexpr double kInvLn2 = 1.4426950408889634;
  constexpr double kLn2Hi = 6.93147180369123816490e-01;
  constexpr double kLn2Lo = 1.90821492927058770002e-10;
  constexpr double kShifter = 0x1.8p52;
  const double kd = s * kInvLn2 + kShifter;
  const double k = kd - kShifter;
  const std::uint64_t scale = (std::bit_cast<std::uint64_t>(kd) + (600 + 1023)) << 52;
  return {(s - k * kLn2Hi) - (k * kLn2Lo - e), std::bit_cast<double>(scale)};
}

// f exp(s + e) for s in [-1100, 290], e small beside s, and f of order 1.
[[gnu::always_inline]] inline double ScaledExp(double s, double e, double f) {
  const TExpReduced x = ReduceExp(s, e);
  const double r = x.r;
  const double fExpR = f + f * (r + r * r * Horner(kExpG, r));  // f exp(r), one final rounding
  return fExpR * x.twoK600 * 0x1p-600;
}

// exp(s) - 1 for s in [-1100, 290]: 2^k exp(r) - 1 = (2^k - 1) + 2^k (exp(r) - 1). For k = 0
// that is exp(r) - 1 = r + r^2 g(r) itself, to a unit in the last place or so however small s
// is; for k != 0 the result is at least 1 - exp(-ln(2)/2) = 0.29 in magnitude and the two
// terms do not cancel.
[[gnu::always_inline]] inline double ExpM1Kernel(double s) {
  const TExpReduced x = ReduceExp(s, 0.0);
  const double r = x.r;
  const double twoK = x.twoK600 * 0x1p-600;
  return (twoK - 1.0) + twoK * (r + r * r * Horner(kExpG, r));
}

// The product a b = p + e exactly (Dekker: a and b split into halves of 26 bits whose products
// are exact), without a fused multiply-add, which the baseline x86-64 lacks.
struct TExactProduct {
  double p, e;
};
[[gnu::always_inline]] inline TExactProduct ExactProduct(double a, double b) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  const double ca = kSplit * a, cb = kSplit * b;
  const double ah = ca - (ca - a), bh = cb - (cb - b);
  const double al = a - ah, bl = b - bh;
  const double p = a * b;
  return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

// f exp(-x^2/2) for 0 <= x <= 40 and f of order 1, with no rounding in the exponent (a rounded
// x^2 near 1400 would cost up to 6e-14 relative): x^2 = p + e exactly, then ScaledExp.
inline double ScaledGaussian(double x, double f) {
  const TExactProduct sq = ExactProduct(x, x);
  return ScaledExp(-0.5 * sq.p, -0.5 * sq.e, f);
}

// phi(z) = exp(-z^2/2)/sqrt(2 pi); NaN stays NaN. Both kernels are forced inline: a vector
// form instantiates them twice (double and float storage), past the compiler's own budget, and a
// call left in the loop keeps it from being vectorised.
[[gnu::always_inline]] inline double StdNormalDensity(double z) {
  const double a = std::fabs(z);
  const double x = Select(AboveMask(a, kMillsEnd), kMillsEnd, a);
  return Select(AboveMask(a, Inf), z, ScaledGaussian(x, kInvSqrt2Pi));
}

// Phi(z) = P(Z <= z); NaN stays NaN, Phi(-Inf) = 0, Phi(Inf) = 1.
[[gnu::always_inline]] inline double StdNormalLower(double z) {
  const double a = std::fabs(z);
  const double x = Select(AboveMask(a, kMillsEnd), kMillsEnd, a);  // also +Inf and NaN
  const double q = ScaledGaussian(x, kInvSqrt2Pi * MillsRatio(x));  // Phi(-|z|)
  return Select(AboveMask(a, Inf), z, Select(SignMask(z), q, 1.0 - q));
}


// ---- log and log1p -----------------------------------------------------------------------------
//
// The vector forms and the scalar forms of a law call the same kernel, so that they agree bit
// for bit. (An exponential of the same kind, a polynomial of degree 10, is no faster than the C
// library's table-driven exp unless a whole loop vectorises around it, which ScaledGaussian
// does.) Constants: 2^52 + 2^51 holds in its low bits the integer added to it;
// ln 2 = kFmLn2Hi + kFmLn2Lo with kFmLn2Hi 32 bits long, so that k kFmLn2Hi is exact for every
// exponent k of a double.
inline constexpr double kFmShifter = 0x1.8p52;
inline constexpr double kFmLn2Hi = 6.93147180369123816490e-01;
inline constexpr double kFmLn2Lo = 1.90821492927058770002e-10;

// 2 atanh(s) = 2 s + s R(s^2), R(z) = sum_{n >= 1} 2 z^n / (2n + 1); for |s| <= 0.1716 (z below
// 0.0295) the terms to z^10 leave 1e-17 relative.
inline constexpr double kLogR[] = {2.0 / 3.0,  2.0 / 5.0,  2.0 / 7.0,  2.0 / 9.0,  2.0 / 11.0,
                                   2.0 / 13.0, 2.0 / 15.0, 2.0 / 17.0, 2.0 / 19.0, 2.0 / 21.0};

// True for the positive normal finite doubles, the domain of LogKernel.
inline bool IsPositiveNormal(double x) {
  constexpr std::uint64_t kMinNormal = 0x0010000000000000, kInfBits = 0x7ff0000000000000;
  return std::bit_cast<std::uint64_t>(x) - kMinNormal < kInfBits - kMinNormal;
}

// True for p in [DBL_MIN, 1): probabilities whose logarithm and that of 1 - p LogKernel takes.
inline bool IsNormalProbability(double p) {
  constexpr std::uint64_t kMinNormal = 0x0010000000000000, kOneBits = 0x3ff0000000000000;
  return std::bit_cast<std::uint64_t>(p) - kMinNormal < kOneBits - kMinNormal;
}

// ln x for a positive normal finite x (elsewhere the result is meaningless: the caller checks
// IsPositiveNormal). x = 2^k m with m in [sqrt(1/2), sqrt(2)), f = m - 1 exact, s = f/(2 + f):
// ln m = 2 atanh(s) = f - f^2/2 + s (f^2/2 + R), whose last term is of order f^3/4, and
// ln x = k ln 2 + ln m with k ln 2 split so that its leading part is exact. Within 0.71 units
// in the last place, and the correctly rounded value at 99.3% of 10^7 random points: the
// log-normal law divides ln x by sigma and squares it, so that a unit in the last place of a
// large |ln x| shows in the far tails of the density.
struct TLogParts {
  double hi, lo;  // ln x = hi + lo, |lo| below a unit in the last place of hi or so
};
[[gnu::always_inline]] inline TLogParts LogKernelParts(double x) {
  constexpr std::uint64_t kOne = 0x3ff0000000000000, kSqrtHalf = 0x3fe6a09e667f3bcd;
  const std::uint64_t u = std::bit_cast<std::uint64_t>(x);
  const std::uint64_t e = (u + (kOne - kSqrtHalf)) >> 52;  // k + 1023
  const double m = std::bit_cast<double>(u - (e << 52) + kOne);
  const double k = std::bit_cast<double>(e + std::bit_cast<std::uint64_t>(kFmShifter)) -
                   (kFmShifter + 1023.0);
  const double f = m - 1.0;
  const double s = f / (2.0 + f);
  const double z = s * s;
  const double R = z * Horner(kLogR, z);
  const double hfsq = 0.5 * f * f;
  // k ln2hi + f - f^2/2 summed exactly (hi + lo), so that the result is rounded once, at the
  // end, but for the small terms.
  const double t = k * kFmLn2Hi;
  const double hi1 = t + f;
  const double fv = hi1 - t;
  const double lo1 = (t - (hi1 - fv)) + (f - fv);
  const double hi = hi1 - hfsq;
  const double hv = hi1 - hi;
  const double lo = lo1 + ((hi1 - (hi + hv)) + (hv - hfsq));
  return {hi, lo + (k * kFmLn2Lo + s * (hfsq + R))};
}
[[gnu::always_inline]] inline double LogKernel(double x) {
  const TLogParts l = LogKernelParts(x);
  return l.hi + l.lo;
}

// ln(1 + u) for u > -1 with 1 + u normal and finite: w = 1 + u rounded, and the rounding,
// (1 + u) - w, added back as its first-order term.
[[gnu::always_inline]] inline double Log1pKernel(double u) {
  const double w = 1.0 + u;
  return LogKernel(w) - ((w - 1.0) - u) / w;
}

// ---- atan ---------------------------------------------------------------------------------------
//
// atan(u) = u + u s P(s), s = u^2, on |u| <= 7/16: P to 2.1e-17 relative in atan(u)
// (tools/fastmath_fit.py).
inline constexpr double kAtanP[] = {
    -0.33333333333333326, 0.19999999999987769, -0.1428571428314864,
    0.11111110900560475, -0.090909001955601476, 0.076920873487671682,
    -0.066632392991071362, 0.058477247206451061, -0.050339427764858481,
    0.037825218661067118, -0.017547235157290005};

// atan(w) for w >= 0, +Inf included (NaN stays NaN). Above 7/16, w is taken to
// u = (w - c)/(1 + c w), |u| <= 7/16, for c = 1/2 (up to 11/16), 1 (to 19/16), 3/2 (to 39/16)
// and Inf (u = -1/w beyond), and atan(w) = atan(c) + atan(u), atan(c) = hi + lo. Each numerator
// (2w - 1, w - 1, w - 1.5) is exact on its interval, so u carries one rounding of the division,
// small beside atan(c).
[[gnu::always_inline]] inline double AtanKernel(double w) {
  const std::uint64_t m1 = AboveMask(w, 0.4375), m2 = AboveMask(w, 0.6875),
                      m3 = AboveMask(w, 1.1875), m4 = AboveMask(w, 2.4375);
  // The value for w's interval, of five, chosen by the masks.
  const auto pick = [&](double v0, double v1, double v2, double v3, double v4) {
    return Select(m4, v4, Select(m3, v3, Select(m2, v2, Select(m1, v1, v0))));
  };
  const double num = pick(w, 2.0 * w - 1.0, w - 1.0, w - 1.5, -1.0);
  const double den = pick(1.0, 2.0 + w, w + 1.0, 1.0 + 1.5 * w, w);
  // atan(1/2), pi/4, atan(3/2), pi/2
  const double hi = pick(0.0, 0.4636476090008061, 0.7853981633974483, 0.982793723247329,
                         1.5707963267948966);
  const double lo = pick(0.0, 2.2698777452961687e-17, 3.061616997868383e-17,
                         1.3903311031230998e-17, 6.123233995736766e-17);
  const double u = num / den;
  const double s = u * u;
  return hi + (u + (u * s * Horner(kAtanP, s) + lo));
}

}  // namespace lumex::detail
