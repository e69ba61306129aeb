// Internal: the incomplete beta and gamma functions for moderate shapes, with what depends only
// on the shapes computed once per parameter set, so that a vector form pays for it once.
//
// Each kernel covers the shapes and points where its plain double evaluation keeps 14 digits:
// a continued fraction or series whose terms need no logarithm, and a prefactor formed by pow
// and exp of exact or corrected arguments. Elsewhere (a shape outside [kKernelMinShape,
// kKernelMaxShape], a prefactor below kKernelTiny, a fraction that does not settle) a kernel
// answers false and the caller takes the general route, which is slower but covers every case.
#pragma once

#include <array>
#include <cmath>
#include <optional>

namespace lumex::detail {

inline constexpr double kKernelMinShape = 0.5;
inline constexpr double kKernelMaxShape = 100.0;
inline constexpr double kKernelTiny = 1e-300;

// x^s for one exponent s of the kernels' range, fixed at construction. For a multiple of 1/4,
// s = n + q/4, the power is x^n by binary powering times sqrt(x), sqrt(sqrt(x)) or their
// product: a few multiplications and square roots in place of pow, within 3 (n - 1) + 2 units in
// the last place (1e-14 relative at n = 100; the kernels are held to 1e-13). For x < 1 (beta)
// every intermediate power is at least the result, for x > 1 at most, so that none underflows
// or overflows where the result does not. Other exponents go through pow.
class TPower {
 public:
  explicit TPower(double s) : s_(s) {
    const double q = 4.0 * s;
    if (s >= 0.0 && s <= kKernelMaxShape && q == std::floor(q)) {
      n_ = static_cast<int>(s);
      quarters_ = static_cast<int>(q) - 4 * n_;
    }
  }
  bool ByPow() const { return n_ < 0; }  // s is not a multiple of 1/4 in the range
  // The bound on the error of the multiplications and square roots, in units in the last place.
  double UlpBound() const { return n_ < 0 ? 0.5 : std::fmax(2.0, 3.0 * (n_ - 1) + 2.0); }
  double operator()(double x) const {
    if (n_ < 0) return std::pow(x, s_);
    double r = 1.0, b = x;
    for (int n = n_; n > 0; n >>= 1) {
      if (n & 1) r *= b;
      if (n > 1) b *= b;
    }
    if (quarters_ == 0) return r;
    const double root = std::sqrt(x);
    if (quarters_ == 2) return r * root;
    const double root4 = std::sqrt(root);
    return quarters_ == 1 ? r * root4 : r * (root * root4);
  }

 private:
  double s_;
  int n_ = -1, quarters_ = 0;  // n_ = -1: pow
};

// A point of the beta kernel: x and y = 1 - x, each given with the relative correction that
// makes it exact to second order (x (1 + cx) is the exact value).
struct TBetaPoint {
  double x, y, cx, cy;
};

// x = p / (p + q) and y = q / (p + q) for p = ph + pl (pl a small correction term) and q > 0,
// with their corrections: the roundings of the sum and the quotients are recovered exactly.
TBetaPoint BetaPointFromRatio(double ph, double pl, double q);

// x itself and y = 1 - x with the rounding of the subtraction as its correction.
TBetaPoint BetaPointFromX(double x);

// Both tails, and the prefactor x^a y^b / B(a, b) (beta) or z^a e^-z / Gamma(a) (gamma) from
// which the density follows.
struct TKernelTails {
  double lower, upper, pre;
};

// P(a, z) and Q(a, z), the regularised incomplete gamma functions.
class TGammaKernel {
 public:
  explicit TGammaKernel(double a);
  bool Usable() const { return usable_; }
  double InvGamma() const { return invGamma_; }  // 1 / Gamma(a)

  // Both tails at z > 0; false where the kernel does not apply. Without `withPre` the closed
  // forms leave out.pre unset (NaN), sparing its power.
  bool Tails(double z, TKernelTails& out, bool withPre = true) const;

  // ok[i] = Tails(z[i], out[i], false) for n <= kManyPoints points, the same values, with the
  // series and fractions of several points run side by side where the processor allows.
  static constexpr int kManyPoints = 256;
  void TailsMany(const double* z, int n, TKernelTails* out, bool* ok) const;

  // z^a e^-z / Gamma(a), the density times z; false where the kernel does not apply.
  bool Prefactor(double z, double& pre) const;

  // The z where P (or, when upper, Q) equals p, 0 < p <= 1/2 for the chosen tail.
  bool Quantile(double p, bool upper, double& z) const;

 private:
  // Q(a, z) in closed form for a whole or half-integer shape up to kClosedShape, from z >= a on
  // (where Q < 0.6, so that P = 1 - Q keeps its digits); ez = e^-z.
  double ClosedUpper(double z, double ez) const;

  // How Tails goes on at z: not at all, done (a closed form), or by the series (z < a + 1) or
  // the continued fraction, whose value Finish turns into the tails; Start sets out.pre.
  enum class TRoute { kNone, kDone, kSeries, kFraction };
  TRoute Start(double z, TKernelTails& out, bool withPre) const;
  bool Finish(TRoute route, double value, TKernelTails& out) const;

  double a_, invGamma_ = 0.0, invGammaA1_ = 0.0;
  TPower powA_;
  int whole_ = 0, half_ = -1;  // a = whole_, or a = half_ + 1/2; 0 and -1: neither
  bool usable_ = false;
};

// I_x(a, b), the regularised incomplete beta function.
class TBetaKernel {
 public:
  TBetaKernel(double a, double b);
  bool Usable() const { return usable_; }
  double A() const { return a_; }
  double B() const { return b_; }
  double InvBeta() const { return invBeta_; }  // 1 / B(a, b)

  // Both tails at 0 < x < 1; false where the kernel does not apply.
  bool Tails(const TBetaPoint& pt, TKernelTails& out) const;

  // x^a y^b / B(a, b), and the density x^(a-1) y^(b-1) / B(a, b); false where they are not
  // both in the normal range or the kernel does not apply.
  bool Prefactor(const TBetaPoint& pt, double& pre) const;
  bool Density(const TBetaPoint& pt, double& density) const;

  // The x in (0, 1) where the lower tail (or, when upper, the upper tail) equals p, 0 < p <= 1/2
  // for the chosen tail; `start` is a first guess (NaN: the kernel makes its own). False where
  // the kernel does not apply or the iteration does not settle.
  bool Quantile(double p, bool upper, double start, double& x) const;

 private:
  static constexpr int kExpansionTerms = 10;

  // The expansion for one shape L >= 15 and the other, s, in [1/2, 1]:
  // I_w(L, s) = K sum_n c_n Q(s + 2n, T u) with u = -ln w and T = L + (s - 1)/2.
  struct TExpansion {
    TExpansion(double large, double small, double invBeta);
    double s, T, K;
    std::array<double, kExpansionTerms> c;
    std::array<double, 2 * kExpansionTerms> invShape;  // 1 / (s + k)
    TGammaKernel gamma;  // Q(s, z)
  };

  // Both tails as binomial sums for whole shapes with a + b - 1 <= kBinomialTerms.
  bool BinomialTails(const TBetaPoint& pt, TKernelTails& out) const;

  // The tail on the side of the large shape, I_w(L, s) with w = 1 - v (1 + cv), by the
  // expansion; false where w is too far from 1 or the sum does not settle.
  bool ExpansionTail(double v, double cv, double& tail) const;

  // The tail on one side (lower: I_x(a, b), else I_y(b, a)), by the expansion or the fraction.
  bool SideTail(bool lower, const TBetaPoint& pt, double pre, double& tail) const;

  double a_, b_, invBeta_ = 0.0, switch_ = 0.0;
  TPower powA_, powB_, powN_{0.0};
  int binomialN_ = 0;  // a + b - 1 where the binomial sums apply, else 0
  bool usable_ = false;
  int expansionSide_ = 0;  // +1: b is L (the upper tail), -1: a is L (the lower tail), 0: none
  // Set up at its first use: a kernel is built per call (per point in the discrete laws) and
  // used by that call alone, and most never reach the expansion's region.
  mutable std::optional<TExpansion> expansion_;
};

// The standard normal quantile by Wichura's algorithm AS 241 (PPND16), the algorithm of R's
// qnorm: within a few units in the last place over the whole double range of p in (0, 1).
double StdNormalQuantile(double p);

// Its central region, |q| <= kNormalCentral for q = p - 1/2: one rational function in
// 0.425^2 - q^2, free of branches (the vector form of the normal quantile runs it over blocks).
inline constexpr double kNormalCentral = 0.425;
[[gnu::always_inline]] inline double StdNormalQuantileCentral(double q) {
  const double r = 0.180625 - q * q;
  return q *
         (((((((2509.0809287301226727 * r + 33430.575583588128105) * r +
               67265.770927008700853) * r + 45921.953931549871457) * r +
             13731.693765509461125) * r + 1971.5909503065514427) * r +
           133.14166789178437745) * r + 3.387132872796366608) /
         (((((((5226.495278852545925 * r + 28729.085735721942674) * r +
               39307.89580009271061) * r + 21213.794301586595867) * r +
             5394.1960214247511077) * r + 687.1870074920579083) * r +
           42.313330701600911252) * r + 1.0);
}

}  // namespace lumex::detail
