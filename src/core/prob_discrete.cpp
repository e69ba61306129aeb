// Discrete laws: binomial, Poisson, geometric, negative binomial, hypergeometric and discrete
// uniform. PDF is the probability mass; the CDF at a non-integer point is the CDF at its floor.
#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/negative_binomial.hpp>
#include <boost/math/distributions/poisson.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <utility>
#include <vector>

#include "core/math_policy.h"
#include "core/prob_fastmath.h"
#include "core/prob_internal.h"
#include "lumex/core/probability.h"

namespace lumex {

namespace {

using boost::math::cdf;
using boost::math::complement;
using boost::math::pdf;
using boost::math::quantile;
using detail::DiscreteQuantileSearch;
using detail::DiscreteQuantileTarget;
using detail::IsNonNegative;
using detail::IsPositive;
using detail::IsProbability;
using detail::IsWhole;
using detail::TMathPolicy;
using detail::VectorForm;

// A discrete law on the integers lo .. hi (hi may be +Inf) given its mass and lower CDF at
// integer points of the support. Everything outside the support, the floor of non-integer
// points and the ends of the quantile are handled here once; the law supplies the rest.
template <class Law>
struct TDiscrete {
  double lo, hi;
  Law law;

  double Pmf(double x) const {
    if (std::isnan(x)) return NaN;
    if (!IsWhole(x) || x < lo || x > hi) return 0.0;
    return law.Pmf(x);
  }
  double Cdf(double x) const {
    if (std::isnan(x)) return NaN;
    if (x < lo) return 0.0;
    if (x >= hi) return 1.0;
    return law.Cdf(std::floor(x));
  }
  double Upper(double x) const {
    if (std::isnan(x)) return NaN;
    if (x < lo) return 1.0;
    if (x >= hi) return 0.0;
    return law.Upper(std::floor(x));
  }
  double Inv(double p) const {
    if (!IsProbability(p)) return NaN;
    if (p == 0.0) return lo;
    if (p == 1.0) return hi;
    const double target = DiscreteQuantileTarget(p);
    return DiscreteQuantileSearch(target, law.Estimate(target), lo, hi,
                                  [this](double k) { return law.Cdf(k); });
  }
};

// A law backed by a Boost distribution object.
template <class Dist>
struct TBoostLaw {
  Dist d;
  double Pmf(double k) const { return pdf(d, k); }
  double Cdf(double k) const { return cdf(d, k); }
  double Upper(double k) const { return cdf(complement(d, k)); }
  double Tail(double k, bool upper) const { return upper ? Upper(k) : Cdf(k); }
  double Estimate(double p) const { return quantile(d, p); }
};

template <class Dist>
TDiscrete<TBoostLaw<Dist>> MakeBoost(double lo, double hi, Dist d) {
  return {lo, hi, TBoostLaw<Dist>{d}};
}

// A Boost law whose first estimate of a quantile is the normal approximation mean + z sd once
// the mean reaches kHugeShape: Boost's own quantile takes milliseconds there, and seconds to
// minutes (or forever) beyond 1e15, where the quantile search refines the estimate in a few
// dozen evaluations of the CDF. The caller gives the mean and standard deviation (Boost's
// overflow for a negative binomial with p below 1e-154).
template <class Dist>
struct TFarLaw : TBoostLaw<Dist> {
  double mean, sd;
  double Estimate(double q) const {
    if (mean < detail::kHugeShape) return TBoostLaw<Dist>::Estimate(q);
    return std::max(0.0, mean + sd * NormalCDFInv(q));
  }
};

// The binomial law, with its CDF in the saddlepoint form of the incomplete beta when both of
// its shapes are huge: P(X <= k) = 1 - I_p(k + 1, n - k), which keeps p exact where 1 - p would
// round.
template <class Dist>
struct TBinomLaw : TFarLaw<Dist> {
  double Tail(double k, bool upper) const {
    const double n = this->d.trials(), p = this->d.success_fraction();
    if (detail::HugeShapes(k + 1.0, n - k)) return detail::HugeShapeBeta(p, k + 1.0, n - k, !upper);
    return TBoostLaw<Dist>::Tail(k, upper);
  }
  double Cdf(double k) const { return Tail(k, false); }
  double Upper(double k) const { return Tail(k, true); }
};

// The Poisson law, with P(X <= k) = Q(k + 1, lambda) in Temme's form from a shape k + 1 of
// kHugeShape on.
template <class Dist>
struct TPoissonLaw : TFarLaw<Dist> {
  double Tail(double k, bool upper) const {
    if (k + 1.0 >= detail::kHugeShape) return detail::HugeShapeGamma(this->mean, k + 1.0, !upper);
    return TBoostLaw<Dist>::Tail(k, upper);
  }
  double Cdf(double k) const { return Tail(k, false); }
  double Upper(double k) const { return Tail(k, true); }
};

// The negative binomial as a far-reaching Boost law, with its CDF in the saddlepoint form of the
// incomplete beta when both of its shapes are huge.
template <class Dist>
struct TNegBinomLaw : TFarLaw<Dist> {
  // P(X <= k) = I_p(r, k + 1): by the incomplete beta kernel where the shapes allow, in its
  // saddlepoint form when both are huge.
  double Tail(double k, bool upper) const {
    const double r = this->d.successes(), p = this->d.success_fraction();
    detail::TKernelTails t;
    if (detail::TBetaKernel(r, k + 1.0).Tails(detail::BetaPointFromX(p), t)) {
      return upper ? t.upper : t.lower;
    }
    if (detail::HugeShapes(r, k + 1.0)) return detail::HugeShapeBeta(p, r, k + 1.0, upper);
    return TBoostLaw<Dist>::Tail(k, upper);
  }
  double Cdf(double k) const { return Tail(k, false); }
  double Upper(double k) const { return Tail(k, true); }
  // Where the kernel covers the support near the answer, the Cornish-Fisher estimate (the
  // search corrects its step or two); Boost's quantile, an incomplete beta inversion, otherwise.
  double Estimate(double q) const {
    const double r = this->d.successes(), p = this->d.success_fraction();
    if (this->mean + 10.0 * this->sd + 1.0 > detail::kKernelMaxShape ||
        r < detail::kKernelMinShape || r > detail::kKernelMaxShape) {
      return TFarLaw<Dist>::Estimate(q);
    }
    const double z = detail::StdNormalQuantile(q);
    const double skew = (2.0 - p) / std::sqrt(r * (1.0 - p));
    return std::floor(this->mean + this->sd * (z + skew / 6.0 * (z * z - 1.0)) + 0.5);
  }
};

// The point mass at m.
struct TPointMassLaw {
  double Pmf(double) const { return 1.0; }
  double Cdf(double) const { return 1.0; }
  double Upper(double) const { return 0.0; }
  double Estimate(double) const { return 0.0; }
};

TDiscrete<TPointMassLaw> PointMass(double m) { return {m, m, TPointMassLaw{}}; }

// Evaluates fn on the law the parameters select: NaN for invalid parameters, the point mass
// for a degenerate law, the Boost law otherwise, promoted to long double evaluation when the
// shape arguments of the incomplete beta or gamma function behind it (the parameters, or the
// point k itself) exceed kPromoteShape.
bool Promote(double param, double k) {
  return std::fmax(param, std::fabs(k)) > detail::kPromoteShape;
}

template <class Fn>
double WithBinom(double n, double p, double k, Fn&& fn) {
  if (!(IsWhole(n) && n >= 0.0 && IsProbability(p))) return NaN;
  if (n == 0.0 || p == 0.0) return fn(PointMass(0.0));
  if (p == 1.0) return fn(PointMass(n));
  return detail::WithPolicy(Promote(n, k), [&](auto pol) {
    using Pol = decltype(pol);
    using Dist = boost::math::binomial_distribution<double, Pol>;
    const TBinomLaw<Dist> law{{{Dist(n, p)}, n * p, std::sqrt(n * p * (1.0 - p))}};
    return fn(TDiscrete<TBinomLaw<Dist>>{0.0, n, law});
  });
}

template <class Fn>
double WithPoisson(double lambda, double k, Fn&& fn) {
  // Checked before Boost sees it: its quantile never returns for lambda <= 0 or NaN.
  if (!IsNonNegative(lambda)) return NaN;
  if (lambda == 0.0) return fn(PointMass(0.0));
  return detail::WithPolicy(Promote(lambda, k), [&](auto pol) {
    using Pol = decltype(pol);
    using Dist = boost::math::poisson_distribution<double, Pol>;
    const TPoissonLaw<Dist> law{{{Dist(lambda)}, lambda, std::sqrt(lambda)}};
    return fn(TDiscrete<TPoissonLaw<Dist>>{0.0, Inf, law});
  });
}

// The geometric law is the negative binomial with r = 1; Boost's own geometric density forms
// (1 - p)^k with a rounded 1 - p, which costs k eps relative.
template <class Fn>
double WithNegBinom(double r, double p, double k, Fn&& fn) {
  if (!(IsPositive(r) && p > 0.0 && p <= 1.0)) return NaN;
  if (p == 1.0) return fn(PointMass(0.0));
  return detail::WithPolicy(Promote(r, k), [&](auto pol) {
    using Pol = decltype(pol);
    using Dist = boost::math::negative_binomial_distribution<double, Pol>;
    const double mean = r * (1.0 - p) / p, sd = std::sqrt(r * (1.0 - p)) / p;
    const TNegBinomLaw<Dist> law{{{Dist(r, p)}, mean, sd}};
    return fn(TDiscrete<TNegBinomLaw<Dist>>{0.0, Inf, law});
  });
}

// The geometric law in closed form: P(X > k) = (1 - p)^(k + 1), with 1 - p = y (1 + cy) formed
// with its rounding recovered and carried into the power; the CDF as -expm1((k + 1) ln(1 - p))
// where the upper tail exceeds 1/2 (1 - upper would cancel there). Below kGeometricClosed the
// negative binomial route remains, whose quantile search reaches beyond 2^53.
constexpr double kGeometricClosed = 1e-10;

struct TGeometricLaw {
  double p, y, cy, lnq;
  explicit TGeometricLaw(double prob) : p(prob), y(1.0 - prob) {
    cy = (-prob - (y - 1.0)) / y;  // exact: 1 - p = y + (-p - (y - 1))
    lnq = std::log1p(-prob);
  }
  double PowQ(double k) const {  // (1 - p)^k
    const double kc = k * cy;
    return std::pow(y, k) * (std::fabs(kc) < 1e-8 ? 1.0 + kc : std::exp(kc));
  }
  double Pmf(double k) const { return p * PowQ(k); }
  double Upper(double k) const { return PowQ(k + 1.0); }
  double Cdf(double k) const {
    const double u = Upper(k);
    return u > 0.5 ? -std::expm1((k + 1.0) * lnq) : 1.0 - u;
  }
  // the least k with 1 - (1 - p)^(k + 1) >= q, before the search settles the rounding
  double Estimate(double q) const { return std::ceil(std::log1p(-q) / lnq - 1.0); }
};

bool GeometricClosed(double p) { return p >= kGeometricClosed && p < 1.0; }

TDiscrete<TGeometricLaw> Geometric(double p) { return {0.0, Inf, TGeometricLaw(p)}; }

template <class Fn>
double WithGeometric(double p, double k, Fn&& fn) {
  if (GeometricClosed(p)) return fn(Geometric(p));
  return WithNegBinom(1.0, p, k, std::forward<Fn>(fn));
}

// ---- Binomial terms in Loader's saddlepoint form, for the hypergeometric law ----
//
// The hypergeometric mass is a ratio of three binomial masses. Formed from log-gamma values,
// each would lose the digits of ln Gamma(M) (1e-7 relative at a population of 1e8); Loader's
// form writes each binomial mass through the Stirling remainder and the deviance bd0, which
// keep their digits at every size, and costs a few logarithms.

// ln k! - [(k + 1/2) ln k - k + ln sqrt(2 pi)], exactly below 16 and by its series above.
double StirlingError(double k) {
  static constexpr double kSmall[16] = {
      0.0, 0.08106146679532725822, 0.041340695955409294094, 0.027677925684998339149,
      0.020790672103765093112, 0.016644691189821192163, 0.013876128823070747999,
      0.011896709945891770095, 0.010411265261972096497, 0.0092554621827127329177,
      0.0083305634333628712565, 0.007573675487951840795, 0.0069428401072095298657,
      0.0064089941880042070684, 0.0059513701127588477356, 0.005554733551962801371};
  if (k < 16.0) return kSmall[static_cast<int>(k)];
  constexpr double S0 = 1.0 / 12, S1 = 1.0 / 360, S2 = 1.0 / 1260, S3 = 1.0 / 1680,
                   S4 = 1.0 / 1188;
  const double kk = k * k;
  if (k > 500.0) return (S0 - S1 / kk) / k;
  if (k > 80.0) return (S0 - (S1 - S2 / kk) / kk) / k;
  if (k > 35.0) return (S0 - (S1 - (S2 - S3 / kk) / kk) / kk) / k;
  return (S0 - (S1 - (S2 - (S3 - S4 / kk) / kk) / kk) / kk) / k;
}

// The deviance term x ln(x / m) + m - x, by its series where x and m are close.
double Deviance(double x, double m) {
  if (std::fabs(x - m) < 0.1 * (x + m)) {
    double v = (x - m) / (x + m);
    double sum = (x - m) * v;
    double term = 2.0 * x * v;
    v *= v;
    for (int j = 1; j < 1000; ++j) {
      term *= v;
      const double next = sum + term / (2 * j + 1);
      if (next == sum) break;
      sum = next;
    }
    return sum;
  }
  return x * std::log(x / m) + m - x;
}

// The binomial mass at x of n trials with success probability p = 1 - q.
double BinomialTerm(double x, double n, double p, double q) {
  if (p == 0.0) return x == 0.0 ? 1.0 : 0.0;
  if (q == 0.0) return x == n ? 1.0 : 0.0;
  if (x == 0.0 && n == 0.0) return 1.0;
  if (x == 0.0) return std::exp(p < 0.1 ? -Deviance(n, n * q) - n * p : n * std::log(q));
  if (x == n) return std::exp(q < 0.1 ? -Deviance(n, n * p) - n * q : n * std::log(p));
  if (x < 0.0 || x > n) return 0.0;
  const double lc = StirlingError(n) - StirlingError(x) - StirlingError(n - x) -
                    Deviance(x, n * p) - Deviance(n - x, n * q);
  constexpr double kLn2Pi = 1.837877066409345483560659472811235279;
  const double lf = kLn2Pi + std::log(x) + std::log1p(-x / n);
  return std::exp(lc - 0.5 * lf);
}

// X successes in N draws without replacement from M items of which K are successes. The tail
// sums run from the point towards the far end of the support through the ratio of successive
// masses, whichever tail lies below the mean, so each sum falls geometrically from its first
// term and the result keeps its relative digits.
struct THypGeometricLaw {
  double M, K, N;
  // The mass at x of r successes among r + b items, n drawn.
  static double Mass(double x, double r, double b, double n) {
    const double p = n / (r + b), q = (r + b - n) / (r + b);
    return BinomialTerm(x, r, p, q) * BinomialTerm(n - x, b, p, q) /
           BinomialTerm(n, r + b, p, q);
  }
  double Pmf(double x) const { return Mass(x, K, M - K, N); }
  double Tail(double x, bool upper) const {
    double r = K, b = M - K;
    if (x * M > N * K) {  // above the mean: count the failures drawn instead
      std::swap(r, b);
      x = N - x - 1.0;
      upper = !upper;
    }
    if (x < 0.0) return upper ? 1.0 : 0.0;
    // P(X <= x) / P(X = x) = 1 + sum over i < x of the ratios P(X = i) / P(X = x).
    double sum = 0.0, term = 1.0;
    for (double i = x; i > 0.0 && term >= 1e-17 * sum; i -= 1.0) {
      term *= i * (b - N + i) / ((N + 1.0 - i) * (r + 1.0 - i));
      sum += term;
    }
    const double lower = Mass(x, r, b, N) * (1.0 + sum);
    return upper ? 1.0 - lower : lower;
  }
  double Cdf(double x) const { return Tail(x, false); }
  double Upper(double x) const { return Tail(x, true); }
  double Estimate(double) const { return N * K / M; }
};

// Counts up to 2^31 - 1, the range of the integer vectors the laws also take.
template <class Fn>
double WithHypGeometric(double M, double K, double N, Fn&& fn) {
  if (!(IsWhole(M) && IsWhole(K) && IsWhole(N) && K >= 0.0 && N >= 0.0 && K <= M && N <= M &&
        M <= 2147483647.0)) {
    return NaN;
  }
  const double lo = std::fmax(0.0, N + K - M);
  const double hi = std::fmin(N, K);
  if (lo == hi) return fn(PointMass(lo));
  return fn(TDiscrete<THypGeometricLaw>{lo, hi, THypGeometricLaw{M, K, N}});
}

// Discrete uniform on 1 .. N: closed forms.
struct TUniformDLaw {
  double n;
  double Pmf(double) const { return 1.0 / n; }
  double Cdf(double k) const { return k / n; }
  double Upper(double k) const { return (n - k) / n; }
  double Estimate(double p) const { return std::ceil(p * n); }
};

template <class Fn>
double WithUniformD(double N, Fn&& fn) {
  if (!(IsWhole(N) && N >= 1.0)) return NaN;
  return fn(TDiscrete<TUniformDLaw>{1.0, N, TUniformDLaw{N}});
}


// ---- Vector forms: each integer's value computed once ------------------------------------------
//
// A vector form evaluates one law at many points, which for a discrete law fall on few
// integers: the mass, CDF or upper tail at an integer k < kTableMax (and below the number of
// points) is computed once, by the scalar form, the first time a point needs it, and kept in a
// table that the later points read. The values are the scalar form's. The quantiles search the
// CDF at 0 .. kInverseTable - 1, computed first, for the least k with CDF(k) >= p (1 - 64 eps),
// as the scalar search does, where the answer lies in that range: up to there the scalar forms
// of the CDF and the quantile evaluate the law alike.
constexpr std::size_t kTableMax = 1 << 16;
constexpr std::size_t kInverseTable = 101;

class TLazyTable {
 public:
  TLazyTable(std::size_t size, const std::function<double(double)>& f)
      : f_(f), values_(size, std::numeric_limits<double>::quiet_NaN()) {}
  std::size_t Size() const { return values_.size(); }
  double At(std::size_t k) {
    double& v = values_[k];
    if (std::isnan(v)) v = f_(static_cast<double>(k));
    return v;
  }

 private:
  const std::function<double(double)>& f_;
  std::vector<double> values_;
};

std::size_t TableSize(const TVec& x, std::size_t cap) {
  return std::min<std::size_t>(cap, static_cast<std::size_t>(x.Length()));
}

// form: 0 the mass (whole points only), 1 a tail (at the floor of the point).
void TabulatedForm(const TVec& x, TVec& dst, const char* fn, bool mass,
                   const std::function<double(double)>& scalar) {
  TLazyTable table(TableSize(x, kTableMax), scalar);
  const double size = static_cast<double>(table.Size());
  VectorForm(x, dst, fn, [&](double v) {
    const double k = std::floor(v);
    if (k >= 0.0 && k < size && (!mass || k == v)) return table.At(static_cast<std::size_t>(k));
    return scalar(v);
  });
}

// The search in the table starts from a guide (Chen and Asau's indexed search): guide[b] is the
// least k with CDF(k) >= b / kGuideSize, so that for a target t in [b, b + 1) / kGuideSize the
// answer lies at or after guide[b], usually at it or a step later.
constexpr std::size_t kGuideSize = 256;

void TabulatedInverse(const TVec& p, TVec& dst, const char* fn,
                      const std::function<double(double)>& cdf,
                      const std::function<double(double)>& inv) {
  std::vector<double> table(TableSize(p, kInverseTable));
  for (std::size_t k = 0; k < table.size(); ++k) table[k] = cdf(static_cast<double>(k));
  // The least k with CDF(k) >= t is the least k with max_(j <= k) CDF(j) >= t: the running
  // maximum irons out the last-place wobbles of a CDF near 1 without moving any answer.
  for (std::size_t k = 1; k < table.size(); ++k) table[k] = std::max(table[k], table[k - 1]);
  const bool usable = !table.empty() && table.back() >= 0.0;  // false for NaN (invalid law)
  std::array<std::uint32_t, kGuideSize> guide{};
  if (usable) {
    std::size_t k = 0;
    for (std::size_t b = 0; b < kGuideSize; ++b) {
      while (k + 1 < table.size() && table[k] < static_cast<double>(b) / kGuideSize) ++k;
      guide[b] = static_cast<std::uint32_t>(k);
    }
  }
  VectorForm(p, dst, fn, [&](double v) {
    if (!usable || !(v > 0.0 && v < 1.0)) return inv(v);
    const double target = DiscreteQuantileTarget(v);
    if (!(table.back() >= target)) return inv(v);
    std::size_t k = guide[static_cast<std::size_t>(target * kGuideSize)];
    while (table[k] < target) ++k;
    return static_cast<double>(k);
  });
}

}  // namespace

// ---- Binomial -----------------------------------------------------------------------------------

double BinomPDF(double k, double n, double p) {
  return WithBinom(n, p, k, [k](const auto& law) { return law.Pmf(k); });
}
double BinomCDF(double k, double n, double p) {
  return WithBinom(n, p, k, [k](const auto& law) { return law.Cdf(k); });
}
double BinomCDFUpper(double k, double n, double p) {
  return WithBinom(n, p, k, [k](const auto& law) { return law.Upper(k); });
}
double BinomCDFInv(double q, double n, double p) {
  return WithBinom(n, p, 0.0, [q](const auto& law) { return law.Inv(q); });
}

void BinomPDF(const TVec& k, double n, double p, TVec& dst) {
  TabulatedForm(k, dst, "BinomPDF", true, [=](double v) { return BinomPDF(v, n, p); });
}
void BinomCDF(const TVec& k, double n, double p, TVec& dst) {
  TabulatedForm(k, dst, "BinomCDF", false, [=](double v) { return BinomCDF(v, n, p); });
}
void BinomCDFUpper(const TVec& k, double n, double p, TVec& dst) {
  TabulatedForm(k, dst, "BinomCDFUpper", false, [=](double v) { return BinomCDFUpper(v, n, p); });
}
void BinomCDFInv(const TVec& q, double n, double p, TVec& dst) {
  TabulatedInverse(
      q, dst, "BinomCDFInv", [=](double v) { return BinomCDF(v, n, p); },
      [=](double v) { return BinomCDFInv(v, n, p); });
}

// ---- Poisson ------------------------------------------------------------------------------------

double PoissonPDF(double k, double lambda) {
  return WithPoisson(lambda, k, [k](const auto& law) { return law.Pmf(k); });
}
double PoissonCDF(double k, double lambda) {
  return WithPoisson(lambda, k, [k](const auto& law) { return law.Cdf(k); });
}
double PoissonCDFUpper(double k, double lambda) {
  return WithPoisson(lambda, k, [k](const auto& law) { return law.Upper(k); });
}
double PoissonCDFInv(double p, double lambda) {
  return WithPoisson(lambda, 0.0, [p](const auto& law) { return law.Inv(p); });
}

void PoissonPDF(const TVec& k, double lambda, TVec& dst) {
  TabulatedForm(k, dst, "PoissonPDF", true, [=](double v) { return PoissonPDF(v, lambda); });
}
void PoissonCDF(const TVec& k, double lambda, TVec& dst) {
  TabulatedForm(k, dst, "PoissonCDF", false, [=](double v) { return PoissonCDF(v, lambda); });
}
void PoissonCDFUpper(const TVec& k, double lambda, TVec& dst) {
  TabulatedForm(k, dst, "PoissonCDFUpper", false,
                [=](double v) { return PoissonCDFUpper(v, lambda); });
}
void PoissonCDFInv(const TVec& p, double lambda, TVec& dst) {
  TabulatedInverse(
      p, dst, "PoissonCDFInv", [=](double v) { return PoissonCDF(v, lambda); },
      [=](double v) { return PoissonCDFInv(v, lambda); });
}

// ---- Geometric ----------------------------------------------------------------------------------

double GeometricPDF(double k, double p) {
  return WithGeometric(p, k, [k](const auto& law) { return law.Pmf(k); });
}
double GeometricCDF(double k, double p) {
  return WithGeometric(p, k, [k](const auto& law) { return law.Cdf(k); });
}
double GeometricCDFUpper(double k, double p) {
  return WithGeometric(p, k, [k](const auto& law) { return law.Upper(k); });
}
double GeometricCDFInv(double q, double p) {
  return WithGeometric(p, 0.0, [q](const auto& law) { return law.Inv(q); });
}

void GeometricPDF(const TVec& k, double p, TVec& dst) {
  TabulatedForm(k, dst, "GeometricPDF", true, [=](double v) { return GeometricPDF(v, p); });
}
void GeometricCDF(const TVec& k, double p, TVec& dst) {
  TabulatedForm(k, dst, "GeometricCDF", false, [=](double v) { return GeometricCDF(v, p); });
}
void GeometricCDFUpper(const TVec& k, double p, TVec& dst) {
  TabulatedForm(k, dst, "GeometricCDFUpper", false,
                [=](double v) { return GeometricCDFUpper(v, p); });
}
void GeometricCDFInv(const TVec& q, double p, TVec& dst) {
  TabulatedInverse(
      q, dst, "GeometricCDFInv", [=](double v) { return GeometricCDF(v, p); },
      [=](double v) { return GeometricCDFInv(v, p); });
}

// ---- Negative binomial --------------------------------------------------------------------------

double NegBinomPDF(double k, double r, double p) {
  // Gamma(r + k)/(Gamma(r) k!) = r/k (k >= 1) and p^r = 1 to double precision for a vanishing r.
  if (r > 0.0 && r < detail::kTinyShape && p > 0.0 && p < 1.0 && IsWhole(k) && k >= 0.0) {
    return k == 0.0 ? std::pow(p, r) : r / k * std::pow(1.0 - p, k);
  }
  return WithNegBinom(r, p, k, [k](const auto& law) { return law.Pmf(k); });
}
double NegBinomCDF(double k, double r, double p) {
  return WithNegBinom(r, p, k, [k](const auto& law) { return law.Cdf(k); });
}
double NegBinomCDFUpper(double k, double r, double p) {
  return WithNegBinom(r, p, k, [k](const auto& law) { return law.Upper(k); });
}
double NegBinomCDFInv(double q, double r, double p) {
  return WithNegBinom(r, p, 0.0, [q](const auto& law) { return law.Inv(q); });
}

void NegBinomPDF(const TVec& k, double r, double p, TVec& dst) {
  TabulatedForm(k, dst, "NegBinomPDF", true, [=](double v) { return NegBinomPDF(v, r, p); });
}
void NegBinomCDF(const TVec& k, double r, double p, TVec& dst) {
  TabulatedForm(k, dst, "NegBinomCDF", false, [=](double v) { return NegBinomCDF(v, r, p); });
}
void NegBinomCDFUpper(const TVec& k, double r, double p, TVec& dst) {
  TabulatedForm(k, dst, "NegBinomCDFUpper", false,
                [=](double v) { return NegBinomCDFUpper(v, r, p); });
}
void NegBinomCDFInv(const TVec& q, double r, double p, TVec& dst) {
  TabulatedInverse(
      q, dst, "NegBinomCDFInv", [=](double v) { return NegBinomCDF(v, r, p); },
      [=](double v) { return NegBinomCDFInv(v, r, p); });
}

// ---- Hypergeometric -----------------------------------------------------------------------------

double HypGeometricPDF(double x, double M, double K, double N) {
  return WithHypGeometric(M, K, N, [x](const auto& law) { return law.Pmf(x); });
}
double HypGeometricCDF(double x, double M, double K, double N) {
  return WithHypGeometric(M, K, N, [x](const auto& law) { return law.Cdf(x); });
}
double HypGeometricCDFUpper(double x, double M, double K, double N) {
  return WithHypGeometric(M, K, N, [x](const auto& law) { return law.Upper(x); });
}
double HypGeometricCDFInv(double p, double M, double K, double N) {
  return WithHypGeometric(M, K, N, [p](const auto& law) { return law.Inv(p); });
}

void HypGeometricPDF(const TVec& x, double M, double K, double N, TVec& dst) {
  TabulatedForm(x, dst, "HypGeometricPDF", true,
                [=](double v) { return HypGeometricPDF(v, M, K, N); });
}
void HypGeometricCDF(const TVec& x, double M, double K, double N, TVec& dst) {
  TabulatedForm(x, dst, "HypGeometricCDF", false,
                [=](double v) { return HypGeometricCDF(v, M, K, N); });
}
void HypGeometricCDFUpper(const TVec& x, double M, double K, double N, TVec& dst) {
  TabulatedForm(x, dst, "HypGeometricCDFUpper", false,
                [=](double v) { return HypGeometricCDFUpper(v, M, K, N); });
}
void HypGeometricCDFInv(const TVec& p, double M, double K, double N, TVec& dst) {
  TabulatedInverse(
      p, dst, "HypGeometricCDFInv", [=](double v) { return HypGeometricCDF(v, M, K, N); },
      [=](double v) { return HypGeometricCDFInv(v, M, K, N); });
}

// ---- Discrete uniform ---------------------------------------------------------------------------

double UniformDPDF(double k, double N) {
  return WithUniformD(N, [k](const auto& law) { return law.Pmf(k); });
}
double UniformDCDF(double k, double N) {
  return WithUniformD(N, [k](const auto& law) { return law.Cdf(k); });
}
double UniformDCDFUpper(double k, double N) {
  return WithUniformD(N, [k](const auto& law) { return law.Upper(k); });
}
namespace {

// The least k in 1 .. N with k / N >= p (1 - 64 eps): ceil(p N) up to the rounding of the
// product, which one comparison on either side settles (k / N is the CDF's own quotient). For
// N <= 2^52 and 0 < p < 1 all of it is branch-free (Fast, which the vector form runs over
// blocks of such p): ceil by the 2^52 shifter, the comparisons as bit masks. N is checked
// once per call.
class TUniformDQuantile {
 public:
  explicit TUniformDQuantile(double N) : n_(IsWhole(N) && N >= 1.0 ? N : NaN) {}
  bool Inside(double p) const { return n_ <= 0x1p52 && p > 0.0 && p < 1.0; }
  [[gnu::always_inline]] double Fast(double p) const {
    const double target = DiscreteQuantileTarget(p);
    const double y = target * n_;  // in [0, 2^52)
    const double r = (y + 0x1p52) - 0x1p52;  // y rounded to a whole number
    double k = detail::Select(detail::AboveMask(y, r), r + 1.0, r);  // ceil(y)
    k = detail::Select(detail::AboveMask(1.0, k), 1.0, k);
    // k - 1 when (k - 1)/N >= target, k + 1 when k/N < target (at most one holds)
    const double down = detail::Select(detail::AboveMask(target, (k - 1.0) / n_), k, k - 1.0);
    const double up = detail::Select(detail::AboveMask(target, k / n_), k + 1.0, k);
    k = detail::Select(detail::AboveMask(k, down), down, up);
    return detail::Select(detail::AboveMask(k, n_), n_, k);
  }
  double operator()(double p) const {
    if (Inside(p)) return Fast(p);
    if (std::isnan(n_) || !IsProbability(p)) return NaN;
    if (p == 0.0) return 1.0;
    if (p == 1.0) return n_;
    const double target = DiscreteQuantileTarget(p);
    const double y = target * n_;
    double k = std::max(1.0, std::ceil(y));
    if (k > 1.0 && (k - 1.0) / n_ >= target) k -= 1.0;
    else if (k < n_ && k / n_ < target) k += 1.0;
    return std::min(k, n_);
  }

 private:
  double n_;  // NaN for an invalid N
};

}  // namespace

double UniformDCDFInv(double p, double N) { return TUniformDQuantile(N)(p); }

void UniformDPDF(const TVec& k, double N, TVec& dst) {
  TabulatedForm(k, dst, "UniformDPDF", true, [=](double v) { return UniformDPDF(v, N); });
}
void UniformDCDF(const TVec& k, double N, TVec& dst) {
  TabulatedForm(k, dst, "UniformDCDF", false, [=](double v) { return UniformDCDF(v, N); });
}
void UniformDCDFUpper(const TVec& k, double N, TVec& dst) {
  TabulatedForm(k, dst, "UniformDCDFUpper", false,
                [=](double v) { return UniformDCDFUpper(v, N); });
}
// Its quantile is a closed form, which the table would not speed up.
void UniformDCDFInv(const TVec& p, double N, TVec& dst) {
  const TUniformDQuantile quantile(N);
  detail::BlockVectorForm(
      p, dst, "UniformDCDFInv", [&](double v) { return quantile.Inside(v); },
      [&](double v) { return quantile.Fast(v); }, [&](double v) { return quantile(v); });
}

}  // namespace lumex
