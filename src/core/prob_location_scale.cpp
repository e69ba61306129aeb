// Location-scale laws on the whole line or a bounded interval: Cauchy, Laplace, logistic,
// Gumbel, uniform and triangular.
#include <boost/math/distributions/cauchy.hpp>
#include <boost/math/distributions/extreme_value.hpp>
#include <boost/math/distributions/laplace.hpp>
#include <boost/math/distributions/logistic.hpp>
#include <boost/math/distributions/triangular.hpp>
#include <boost/math/distributions/uniform.hpp>
#include <cmath>

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
using detail::IsNonNegative;
using detail::IsPositive;
using detail::IsProbability;
using detail::IsReal;
using detail::TMathPolicy;
using detail::VectorForm;

using TCauchy = boost::math::cauchy_distribution<double, TMathPolicy>;
using TGumbel = boost::math::extreme_value_distribution<double, TMathPolicy>;
using TLaplace = boost::math::laplace_distribution<double, TMathPolicy>;
using TLogistic = boost::math::logistic_distribution<double, TMathPolicy>;
using TTriangular = boost::math::triangular_distribution<double, TMathPolicy>;  // lower, mode, upper
using TUniform = boost::math::uniform_distribution<double, TMathPolicy>;

// Location finite, scale positive (or also zero where the law allows a point mass).
bool ValidLS(double loc, double scale) { return IsReal(loc) && IsPositive(scale); }
bool ValidLS0(double loc, double scale) { return IsReal(loc) && IsNonNegative(scale); }

// The point mass at m, for the laws whose scale may be zero.
double PointMassPDF(double x, double m) { return x == m ? Inf : 0.0; }
double PointMassCDF(double x, double m) { return x < m ? 0.0 : 1.0; }
double PointMassUpper(double x, double m) { return x < m ? 1.0 : 0.0; }

}  // namespace

// ---- Cauchy -------------------------------------------------------------------------------------

double CauchyPDF(double x, double A, double B) {
  if (!ValidLS(A, B) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return 0.0;
  return pdf(TCauchy(A, B), x);
}

namespace {

// The Cauchy law with the parameters checked once. With z = (x - A)/B: F(z) = atan(-1/z)/pi
// for z < 0 (the small lower tail without cancellation; atan(0) = 0 at z = -Inf) and
// 1/2 + atan(z)/pi from z = 0 on; the upper tail is F(-z). Free of branches (the arctangent
// kernel, the choice of form by bit masks), NaN and the infinities included, so that the
// vector forms run it over whole blocks. The quantile is A - B cot(pi p):
// -1/tan(pi p) below p = 1/4, tan(pi (p - 1/2)) up to 3/4 (p - 1/2 is exact there, so that
// the result keeps its relative accuracy near the median, where cot(pi p) from a rounded pi p
// would not) and 1/tan(pi (1 - p)) beyond (1 - p exact).
class TCauchyLaw {
 public:
  TCauchyLaw(double A, double B) : a_(ValidLS(A, B) ? A : NaN), b_(B) {}
  [[gnu::always_inline]] double Cdf(double x, bool upper) const {
    const double z = upper ? (a_ - x) / b_ : (x - a_) / b_;
    constexpr double kInvPi = 0.318309886183790671537767526745028724;
    const double t = std::fabs(z);
    const std::uint64_t negative = detail::SignMask(z);
    const double a = detail::AtanKernel(detail::Select(negative, 1.0 / t, t)) * kInvPi;
    return detail::Select(negative, a, 0.5 + a);
  }
  double Inv(double p) const {
    if (std::isnan(a_) || !IsProbability(p)) return NaN;
    if (p == 0.0) return -Inf;
    if (p == 1.0) return Inf;
    double c;  // -cot(pi p)
    if (p < 0.25) c = -1.0 / std::tan(PI * p);
    else if (p <= 0.75) c = std::tan(PI * (p - 0.5));
    else c = 1.0 / std::tan(PI * (1.0 - p));
    return a_ + b_ * c;
  }

 private:
  double a_, b_;  // a_ is NaN for invalid parameters
};

}  // namespace

double CauchyCDF(double x, double A, double B) { return TCauchyLaw(A, B).Cdf(x, false); }
double CauchyCDFUpper(double x, double A, double B) { return TCauchyLaw(A, B).Cdf(x, true); }
double CauchyCDFInv(double p, double A, double B) { return TCauchyLaw(A, B).Inv(p); }

void CauchyPDF(const TVec& x, double A, double B, TVec& dst) {
  VectorForm(x, dst, "CauchyPDF", [=](double v) { return CauchyPDF(v, A, B); });
}
void CauchyCDF(const TVec& x, double A, double B, TVec& dst) {
  const TCauchyLaw law(A, B);
  const auto cdf = [&](double v) { return law.Cdf(v, false); };
  detail::BlockVectorForm(x, dst, "CauchyCDF", [](double) { return true; }, cdf, cdf);
}
void CauchyCDFUpper(const TVec& x, double A, double B, TVec& dst) {
  const TCauchyLaw law(A, B);
  const auto upper = [&](double v) { return law.Cdf(v, true); };
  detail::BlockVectorForm(x, dst, "CauchyCDFUpper", [](double) { return true; }, upper, upper);
}
void CauchyCDFInv(const TVec& p, double A, double B, TVec& dst) {
  const TCauchyLaw law(A, B);
  VectorForm(p, dst, "CauchyCDFInv", [&](double v) { return law.Inv(v); });
}

// ---- Laplace ------------------------------------------------------------------------------------

namespace {
// For b > 0 and |x - m|/b <= 700 the density takes the branch-free exponential, which the vector
// form runs over blocks of such points.
bool LaplaceInside(double x, double m, double b) {
  return ValidLS(m, b) && std::fabs(x - m) / b <= 700.0;
}
[[gnu::always_inline]] inline double FastLaplacePDF(double x, double m, double b) {
  return detail::ScaledExp(-std::fabs(x - m) / b, 0.0, 1.0) / (2.0 * b);
}
}  // namespace

double LaplacePDF(double x, double m, double b) {
  if (LaplaceInside(x, m, b)) return FastLaplacePDF(x, m, b);
  if (!ValidLS0(m, b) || std::isnan(x)) return NaN;
  if (b == 0.0) return PointMassPDF(x, m);
  if (std::isinf(x)) return 0.0;
  return std::exp(-std::fabs(x - m) / b) / (2.0 * b);
}

double LaplaceCDF(double x, double m, double b) {
  if (!ValidLS0(m, b) || std::isnan(x)) return NaN;
  if (b == 0.0) return PointMassCDF(x, m);
  if (std::isinf(x)) return x > 0 ? 1.0 : 0.0;
  return cdf(TLaplace(m, b), x);
}

double LaplaceCDFUpper(double x, double m, double b) {
  if (!ValidLS0(m, b) || std::isnan(x)) return NaN;
  if (b == 0.0) return PointMassUpper(x, m);
  if (std::isinf(x)) return x > 0 ? 0.0 : 1.0;
  return cdf(complement(TLaplace(m, b), x));
}

double LaplaceCDFInv(double p, double m, double b) {
  if (!ValidLS0(m, b) || !IsProbability(p)) return NaN;
  if (p == 0.0) return -Inf;
  if (p == 1.0) return Inf;
  if (b == 0.0) return m;
  return quantile(TLaplace(m, b), p);
}

void LaplacePDF(const TVec& x, double m, double b, TVec& dst) {
  detail::BlockVectorForm(
      x, dst, "LaplacePDF", [=](double v) { return LaplaceInside(v, m, b); },
      [=](double v) { return FastLaplacePDF(v, m, b); },
      [=](double v) { return LaplacePDF(v, m, b); });
}
void LaplaceCDF(const TVec& x, double m, double b, TVec& dst) {
  VectorForm(x, dst, "LaplaceCDF", [=](double v) { return LaplaceCDF(v, m, b); });
}
void LaplaceCDFUpper(const TVec& x, double m, double b, TVec& dst) {
  VectorForm(x, dst, "LaplaceCDFUpper", [=](double v) { return LaplaceCDFUpper(v, m, b); });
}
void LaplaceCDFInv(const TVec& p, double m, double b, TVec& dst) {
  VectorForm(p, dst, "LaplaceCDFInv", [=](double v) { return LaplaceCDFInv(v, m, b); });
}

// ---- Logistic -----------------------------------------------------------------------------------

double LogisticPDF(double x, double mu, double s) {
  if (!ValidLS0(mu, s) || std::isnan(x)) return NaN;
  if (s == 0.0) return PointMassPDF(x, mu);
  if (std::isinf(x)) return 0.0;
  // e^-|z| / (s (1 + e^-|z|)^2), symmetric in z and free of overflow.
  const double e = std::exp(-std::fabs((x - mu) / s));
  const double d = 1.0 + e;
  return e / (s * d * d);
}

double LogisticCDF(double x, double mu, double s) {
  if (!ValidLS0(mu, s) || std::isnan(x)) return NaN;
  if (s == 0.0) return PointMassCDF(x, mu);
  if (std::isinf(x)) return x > 0 ? 1.0 : 0.0;
  return cdf(TLogistic(mu, s), x);
}

double LogisticCDFUpper(double x, double mu, double s) {
  if (!ValidLS0(mu, s) || std::isnan(x)) return NaN;
  if (s == 0.0) return PointMassUpper(x, mu);
  if (std::isinf(x)) return x > 0 ? 0.0 : 1.0;
  return cdf(complement(TLogistic(mu, s), x));
}

namespace {

// The logistic quantile with the parameters checked once: mu + s logit(p) for s > 0 (the
// logarithm gives -Inf, Inf and NaN at p = 0, 1 and outside [0, 1] by itself), the point
// mass for s = 0.
class TLogisticLaw {
 public:
  TLogisticLaw(double mu, double s) : mu_(ValidLS0(mu, s) ? mu : NaN), s_(s) {}
  // |logit p| = ln(1 + u), u = |2p - 1| / min(p, 1 - p) >= 0: near 1/2 both 2p - 1 and the
  // smaller of p and 1 - p are exact, and ln(1 + u) is taken as log1p, which keeps the digits
  // of a small u. For s > 0 and p in [DBL_MIN, 1) the branch-free kernel does it.
  bool Inside(double p) const { return s_ > 0.0 && detail::IsNormalProbability(p); }
  [[gnu::always_inline]] double FastInv(double p) const {
    const double d = 2.0 * p - 1.0;
    const double u = std::fabs(d) / detail::Select(detail::AboveMask(p, 0.5), 1.0 - p, p);
    return mu_ + s_ * std::copysign(detail::Log1pKernel(u), d);
  }
  double Inv(double p) const {
    if (Inside(p)) return FastInv(p);
    if (s_ == 0.0) {
      if (std::isnan(mu_) || !IsProbability(p)) return NaN;
      return p == 0.0 ? -Inf : (p == 1.0 ? Inf : mu_);
    }
    // Below the smallest normal number u would overflow: logit p = ln p - ln(1 - p) there,
    // without cancellation. (+ 0.0 turns p = -0 into +0, whose quotient is +Inf.)
    if (p > 0.0 && p < 1e-300) return mu_ + s_ * (std::log(p) - std::log1p(-p));
    const double d = 2.0 * p - 1.0;
    const double u = std::fabs(d) / (std::fmin(p, 1.0 - p) + 0.0);
    return mu_ + s_ * std::copysign(std::log1p(u), d);
  }

 private:
  double mu_, s_;  // mu_ is NaN for invalid parameters
};

}  // namespace

// mu + s ln(p/(1 - p)), the logarithm taken by log1p of an argument that is exact near p = 1/2,
// where ln of a rounded ratio near 1 would lose its relative accuracy.
double LogisticCDFInv(double p, double mu, double s) { return TLogisticLaw(mu, s).Inv(p); }

void LogisticPDF(const TVec& x, double mu, double s, TVec& dst) {
  VectorForm(x, dst, "LogisticPDF", [=](double v) { return LogisticPDF(v, mu, s); });
}
void LogisticCDF(const TVec& x, double mu, double s, TVec& dst) {
  VectorForm(x, dst, "LogisticCDF", [=](double v) { return LogisticCDF(v, mu, s); });
}
void LogisticCDFUpper(const TVec& x, double mu, double s, TVec& dst) {
  VectorForm(x, dst, "LogisticCDFUpper", [=](double v) { return LogisticCDFUpper(v, mu, s); });
}
void LogisticCDFInv(const TVec& p, double mu, double s, TVec& dst) {
  const TLogisticLaw law(mu, s);
  detail::BlockVectorForm(
      p, dst, "LogisticCDFInv", [&](double v) { return law.Inside(v); },
      [&](double v) { return law.FastInv(v); }, [&](double v) { return law.Inv(v); });
}

// ---- Gumbel (largest extreme value) -------------------------------------------------------------

namespace {

// With e = exp(-(x - mu)/beta): density e exp(-e)/beta, F = exp(-e), 1 - F = -expm1(-e),
// quantile mu - beta ln(-ln p). The parameters are checked once; the infinities and NaN of x
// and p need no test (e is 0 or Inf at x = +-Inf, the logarithms give +-Inf at p = 0 and 1 and
// NaN outside [0, 1]), except that the density at an overflowing e is 0.
class TGumbelLaw {
 public:
  TGumbelLaw(double mu, double beta) : mu_(ValidLS(mu, beta) ? mu : NaN), beta_(beta) {}

  // For z = (x - mu)/beta in [-7, 700] the branch-free exponentials take both: e = exp(-z) is
  // then at most e^7 < 1100, inside their range, and at least e^-700. Beyond, the density and
  // one tail are 0 in double, and the C library's exponentials give them.
  bool Inside(double x) const {
    const double z = (x - mu_) / beta_;
    return z >= -7.0 && z <= 700.0;
  }
  [[gnu::always_inline]] double FastPdf(double x) const {
    const double e = detail::ScaledExp(-(x - mu_) / beta_, 0.0, 1.0);
    return detail::ScaledExp(-e, 0.0, e) / beta_;
  }
  [[gnu::always_inline]] double FastCdf(double x, bool upper) const {
    const double e = detail::ScaledExp(-(x - mu_) / beta_, 0.0, 1.0);
    return upper ? -detail::ExpM1Kernel(-e) : detail::ScaledExp(-e, 0.0, 1.0);
  }
  // -ln p is a normal number for p in [DBL_MIN, 1), the logarithm kernel's domain.
  bool InsideInv(double p) const { return !std::isnan(mu_) && detail::IsNormalProbability(p); }
  [[gnu::always_inline]] double FastInv(double p) const {
    return mu_ - beta_ * detail::LogKernel(-detail::LogKernel(p));
  }

  double Pdf(double x) const {
    if (Inside(x)) return FastPdf(x);
    const double e = std::exp((mu_ - x) / beta_);
    return e == Inf ? 0.0 : e * std::exp(-e) / beta_;
  }
  double Cdf(double x, bool upper) const {
    if (Inside(x)) return FastCdf(x, upper);
    const double e = std::exp(-(x - mu_) / beta_);
    return upper ? -std::expm1(-e) : std::exp(-e);
  }
  double Inv(double p) const {
    if (InsideInv(p)) return FastInv(p);
    return mu_ - beta_ * std::log(-std::log(p));
  }

 private:
  double mu_, beta_;  // mu_ is NaN for invalid parameters
};

}  // namespace

double GumbelPDF(double x, double mu, double beta) { return TGumbelLaw(mu, beta).Pdf(x); }
double GumbelCDF(double x, double mu, double beta) { return TGumbelLaw(mu, beta).Cdf(x, false); }
double GumbelCDFUpper(double x, double mu, double beta) {
  return TGumbelLaw(mu, beta).Cdf(x, true);
}
double GumbelCDFInv(double p, double mu, double beta) { return TGumbelLaw(mu, beta).Inv(p); }

void GumbelPDF(const TVec& x, double mu, double beta, TVec& dst) {
  const TGumbelLaw law(mu, beta);
  detail::BlockVectorForm(
      x, dst, "GumbelPDF", [&](double v) { return law.Inside(v); },
      [&](double v) { return law.FastPdf(v); }, [&](double v) { return law.Pdf(v); });
}
void GumbelCDF(const TVec& x, double mu, double beta, TVec& dst) {
  const TGumbelLaw law(mu, beta);
  detail::BlockVectorForm(
      x, dst, "GumbelCDF", [&](double v) { return law.Inside(v); },
      [&](double v) { return law.FastCdf(v, false); }, [&](double v) { return law.Cdf(v, false); });
}
void GumbelCDFUpper(const TVec& x, double mu, double beta, TVec& dst) {
  const TGumbelLaw law(mu, beta);
  detail::BlockVectorForm(
      x, dst, "GumbelCDFUpper", [&](double v) { return law.Inside(v); },
      [&](double v) { return law.FastCdf(v, true); }, [&](double v) { return law.Cdf(v, true); });
}
void GumbelCDFInv(const TVec& p, double mu, double beta, TVec& dst) {
  const TGumbelLaw law(mu, beta);
  detail::BlockVectorForm(
      p, dst, "GumbelCDFInv", [&](double v) { return law.InsideInv(v); },
      [&](double v) { return law.FastInv(v); }, [&](double v) { return law.Inv(v); });
}

// ---- Uniform ------------------------------------------------------------------------------------

namespace {
bool ValidUniform(double a, double b) { return IsReal(a) && IsReal(b) && a <= b; }
}  // namespace

double UniformPDF(double x, double a, double b) {
  if (!ValidUniform(a, b) || std::isnan(x)) return NaN;
  if (a == b) return PointMassPDF(x, a);
  if (x < a || x > b) return 0.0;
  return pdf(TUniform(a, b), x);
}

double UniformCDF(double x, double a, double b) {
  if (!ValidUniform(a, b) || std::isnan(x)) return NaN;
  if (a == b) return PointMassCDF(x, a);
  if (x <= a) return 0.0;
  if (x >= b) return 1.0;
  return cdf(TUniform(a, b), x);
}

double UniformCDFUpper(double x, double a, double b) {
  if (!ValidUniform(a, b) || std::isnan(x)) return NaN;
  if (a == b) return PointMassUpper(x, a);
  if (x <= a) return 1.0;
  if (x >= b) return 0.0;
  return cdf(complement(TUniform(a, b), x));
}

double UniformCDFInv(double p, double a, double b) {
  if (!ValidUniform(a, b) || !IsProbability(p)) return NaN;
  if (a == b) return a;
  return quantile(TUniform(a, b), p);
}

void UniformPDF(const TVec& x, double a, double b, TVec& dst) {
  VectorForm(x, dst, "UniformPDF", [=](double v) { return UniformPDF(v, a, b); });
}
void UniformCDF(const TVec& x, double a, double b, TVec& dst) {
  VectorForm(x, dst, "UniformCDF", [=](double v) { return UniformCDF(v, a, b); });
}
void UniformCDFUpper(const TVec& x, double a, double b, TVec& dst) {
  VectorForm(x, dst, "UniformCDFUpper", [=](double v) { return UniformCDFUpper(v, a, b); });
}
void UniformCDFInv(const TVec& p, double a, double b, TVec& dst) {
  VectorForm(p, dst, "UniformCDFInv", [=](double v) { return UniformCDFInv(v, a, b); });
}

// ---- Triangular: lower a, upper b, mode c (Boost orders them lower, mode, upper) ----------------

namespace {
bool ValidTriangular(double a, double b, double c) {
  return IsReal(a) && IsReal(b) && IsReal(c) && a <= c && c <= b;
}
}  // namespace

double TriangularPDF(double x, double a, double b, double c) {
  if (!ValidTriangular(a, b, c) || std::isnan(x)) return NaN;
  if (a == b) return PointMassPDF(x, a);
  if (x < a || x > b) return 0.0;
  return pdf(TTriangular(a, c, b), x);
}

double TriangularCDF(double x, double a, double b, double c) {
  if (!ValidTriangular(a, b, c) || std::isnan(x)) return NaN;
  if (a == b) return PointMassCDF(x, a);
  if (x <= a) return 0.0;
  if (x >= b) return 1.0;
  return cdf(TTriangular(a, c, b), x);
}

double TriangularCDFUpper(double x, double a, double b, double c) {
  if (!ValidTriangular(a, b, c) || std::isnan(x)) return NaN;
  if (a == b) return PointMassUpper(x, a);
  if (x <= a) return 1.0;
  if (x >= b) return 0.0;
  return cdf(complement(TTriangular(a, c, b), x));
}

// Below the mode's probability p0 = (c - a)/(b - a): a + sqrt((b - a)(c - a) p). Above it the
// usual b - sqrt((b - a)(b - c)(1 - p)) cancels when the result is near a mode at the lower
// limit, so it is written c + (b - a)(b - c)(p - p0) / ((b - c) + sqrt((b - a)(b - c)(1 - p))),
// the same value without the subtraction.
double TriangularCDFInv(double p, double a, double b, double c) {
  if (!ValidTriangular(a, b, c) || !IsProbability(p)) return NaN;
  if (a == b) return a;
  if (p == 1.0) return b;
  const double w = b - a;
  const double p0 = (c - a) / w;
  if (p < p0) return a + std::sqrt(w * (c - a) * p);
  const double k2 = w * (b - c);
  return c + k2 * (p - p0) / ((b - c) + std::sqrt(k2 * (1.0 - p)));
}

void TriangularPDF(const TVec& x, double a, double b, double c, TVec& dst) {
  VectorForm(x, dst, "TriangularPDF", [=](double v) { return TriangularPDF(v, a, b, c); });
}
void TriangularCDF(const TVec& x, double a, double b, double c, TVec& dst) {
  VectorForm(x, dst, "TriangularCDF", [=](double v) { return TriangularCDF(v, a, b, c); });
}
void TriangularCDFUpper(const TVec& x, double a, double b, double c, TVec& dst) {
  VectorForm(x, dst, "TriangularCDFUpper",
             [=](double v) { return TriangularCDFUpper(v, a, b, c); });
}
void TriangularCDFInv(const TVec& p, double a, double b, double c, TVec& dst) {
  VectorForm(p, dst, "TriangularCDFInv", [=](double v) { return TriangularCDFInv(v, a, b, c); });
}

}  // namespace lumex
