// The laws of test statistics: normal, Student's t, chi-square and F.
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <bit>
#include <cmath>
#include <limits>
#include <cstddef>
#include <cstdint>

#include "core/math_policy.h"
#include "core/prob_fastmath.h"
#include "core/prob_internal.h"
#include "core/prob_kernels.h"
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
using detail::BlockVectorForm;
using detail::VectorForm;
using detail::StdNormalDensity;
using detail::StdNormalLower;

using TNormal = boost::math::normal_distribution<double, detail::TMathPolicy>;

// Student's t and F compute in long double: the distribution type itself, so that t^2,
// df + t^2 and nu1 x / (nu2 + nu1 x) are formed with 64-bit mantissas, not only the incomplete
// beta inside. In double those roundings cost up to t^2 eps in the far tails and up to
// (df/2) eps at 10^6 degrees of freedom, and the quantiles below p = 1e-290 overflow to -Inf.
using TStudentL = boost::math::students_t_distribution<long double, detail::TMathPolicy>;
using TFisherL = boost::math::fisher_f_distribution<long double, detail::TMathPolicy>;

bool ValidNormal(double mu, double sigma) { return IsReal(mu) && IsNonNegative(sigma); }

// The vector forms of the normal law. With sigma > 0 the parameters are checked once and the
// loop, standard((x - mu)/sigma), is free of branches, for the compiler to evaluate several
// elements per instruction (MapFast); it gives the scalar form's values, NaN and the infinities
// included. Other parameters go through the scalar form element by element.
template <class FStd>
void NormalVectorForm(const TVec& x, double mu, double sigma, TVec& dst, const char* fn,
                      double (*scalar)(double, double, double), FStd standard) {
  if (ValidNormal(mu, sigma) && sigma > 0.0) {
    const auto fast = [=](double v) { return standard((v - mu) / sigma); };
    BlockVectorForm(x, dst, fn, [](double) { return true; }, fast, fast);
  } else {
    VectorForm(x, dst, fn, [=](double v) { return scalar(v, mu, sigma); });
  }
}

bool ValidDf(double df) { return df > 0.0; }  // false for NaN; +Inf is the normal limit

bool ValidDf2(double nu1, double nu2) { return IsPositive(nu1) && IsPositive(nu2); }

// F(1, 1): P(F <= x) = (2/pi) atan(sqrt(x)), the arcsine law in disguise. Boost reaches it
// through its beta(1/2, 1/2) special case, whose upper tail is exactly 1 below 1e-16.
double F11(double x, bool upper) {
  constexpr double k2OverPi = 0.636619772367581343075535053490057448;
  const double r = std::sqrt(x);
  return k2OverPi * (upper ? std::atan(1.0 / r) : std::atan(r));
}


}  // namespace

// ---- Normal -------------------------------------------------------------------------------------

double NormalPDF(double x, double mu, double sigma) {
  if (!ValidNormal(mu, sigma) || std::isnan(x)) return NaN;
  if (sigma == 0.0) return x == mu ? Inf : 0.0;
  if (std::isinf(x)) return 0.0;
  return StdNormalDensity((x - mu) / sigma) / sigma;
}

double NormalCDF(double x, double mu, double sigma) {
  if (!ValidNormal(mu, sigma) || std::isnan(x)) return NaN;
  if (sigma == 0.0) return x < mu ? 0.0 : 1.0;
  if (std::isinf(x)) return x > 0 ? 1.0 : 0.0;
  return StdNormalLower((x - mu) / sigma);
}

double NormalCDFUpper(double x, double mu, double sigma) {
  if (!ValidNormal(mu, sigma) || std::isnan(x)) return NaN;
  if (sigma == 0.0) return x < mu ? 1.0 : 0.0;
  if (std::isinf(x)) return x > 0 ? 0.0 : 1.0;
  return StdNormalLower(-((x - mu) / sigma));
}

double NormalCDFInv(double p, double mu, double sigma) {
  if (!ValidNormal(mu, sigma) || !IsProbability(p)) return NaN;
  if (p == 0.0) return -Inf;
  if (p == 1.0) return Inf;
  if (sigma == 0.0) return mu;
  return mu + sigma * detail::StdNormalQuantile(p);
}

void NormalPDF(const TVec& x, double mu, double sigma, TVec& dst) {
  NormalVectorForm(x, mu, sigma, dst, "NormalPDF", NormalPDF,
                   [sigma](double z) { return StdNormalDensity(z) / sigma; });
}
void NormalCDF(const TVec& x, double mu, double sigma, TVec& dst) {
  NormalVectorForm(x, mu, sigma, dst, "NormalCDF", NormalCDF,
                   [](double z) { return StdNormalLower(z); });
}
void NormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst) {
  NormalVectorForm(x, mu, sigma, dst, "NormalCDFUpper", NormalCDFUpper,
                   [](double z) { return StdNormalLower(-z); });
}
void NormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst) {
  const auto scalar = [=](double v) { return NormalCDFInv(v, mu, sigma); };
  if (ValidNormal(mu, sigma) && sigma > 0.0) {
    BlockVectorForm(
        p, dst, "NormalCDFInv",
        [](double v) { return std::fabs(v - 0.5) <= detail::kNormalCentral; },
        [=](double v) { return mu + sigma * detail::StdNormalQuantileCentral(v - 0.5); }, scalar);
  } else {
    VectorForm(p, dst, "NormalCDFInv", scalar);
  }
}

// ---- Student's t --------------------------------------------------------------------------------

// With x = t^2 / (df + t^2) and y = df / (df + t^2) (formed with their rounding errors
// recovered, so that y^(df/2) keeps its digits): P(|T| < |t|) = I_x(1/2, df/2) and
// P(T > |t|) = I_y(df/2, 1/2) / 2, one kernel evaluation for either tail. The density is
// y^((df + 1)/2) / (sqrt(df) B(df/2, 1/2)). Quantiles solve I_y(df/2, 1/2) = 2 q in y beyond
// |t| = sqrt(df) (where y < 1/2) and I_x(1/2, df/2) = 1 - 2 q in x inside it, so that the
// variable solved for is the smaller one and t = sqrt(df x / y) keeps its digits.
namespace {

// |t| with P(T > |t|) = q by Hill's approximation (Algorithm 396, Comm. ACM 13, 617, 1970),
// within 1e-5 relative from 3 degrees of freedom on, for the first step of the quantile's
// iteration; NaN where it does not apply (fewer than 2 degrees of freedom, far tails).
double HillStart(double q, double n) {
  if (n < 2.0 || q < 1e-30) return NaN;
  const double p2 = 2.0 * q;
  const double a = 1.0 / (n - 0.5);
  const double b = 48.0 / (a * a);
  double c = ((20700.0 * a / b - 98.0) * a - 16.0) * a + 96.36;
  const double d = ((94.5 / (b + c) - 3.0) / b + 1.0) * std::sqrt(a * PI / 2.0) * n;
  double x = d * p2;
  double y = std::pow(x, 2.0 / n);
  if (y > 0.05 + a) {
    x = detail::StdNormalQuantile(0.5 * p2);
    y = x * x;
    if (n < 5.0) c += 0.3 * (n - 4.5) * (x + 0.6);
    c = (((0.05 * d * x - 5.0) * x - 7.0) * x - 2.0) * x + b + c;
    y = (((((0.4 * y + 6.3) * y + 36.0) * y + 94.5) / c - y - 3.0) / b + 1.0) * x;
    y = a * y * y;
    y = y > 0.002 ? std::expm1(y) : 0.5 * y * y + y;
  } else {
    y = ((1.0 / (((n + 6.0) / (n * y) - 0.089 * d - 0.822) * (n + 2.0) * 3.0) + 0.5 / (n + 4.0)) *
             y - 1.0) * (n + 1.0) / (n + 2.0) + 1.0 / y;
  }
  const double t = std::sqrt(n * y);
  return t > 0.0 && t < Inf ? t : NaN;
}

class TStudentLaw {
 public:
  explicit TStudentLaw(double df)
      : df_(df), valid_(ValidDf(df)), central_(0.5, 0.5 * df), tail_(0.5 * df, 0.5) {
    detail::TKernelTails t;
    fast_ = valid_ && central_.Usable() && tail_.Usable() &&
            central_.Tails(detail::BetaPointFromX(0.5), t);
    if (fast_) {
      split_ = 0.5 * t.upper;  // P(T > sqrt(df))
      densityScale_ = central_.InvBeta() / std::sqrt(df);
    }
  }

  double Pdf(double x) const {
    if (!valid_ || std::isnan(x)) return NaN;
    if (std::isinf(x)) return 0.0;
    if (std::isinf(df_)) return NormalPDF(x);
    if (fast_) {
      const detail::TBetaPoint pt = Point(x);
      const double e = 0.5 * (df_ + 1.0);
      const double d = std::pow(pt.y, e) * (1.0 + e * pt.cy) * densityScale_;
      if (d >= detail::kKernelTiny && d < Inf) return d;
    }
    return static_cast<double>(pdf(TStudentL(df_), x));
  }

  double Cdf(double x, bool upper) const {
    if (!valid_ || std::isnan(x)) return NaN;
    if (std::isinf(x)) return (x > 0) != upper ? 1.0 : 0.0;
    if (std::isinf(df_)) return upper ? NormalCDFUpper(x) : NormalCDF(x);
    detail::TKernelTails t;
    if (fast_ && central_.Tails(Point(x), t)) {
      return (x < 0.0) != upper ? 0.5 * t.upper : 0.5 + 0.5 * t.lower;
    }
    const TStudentL law(df_);
    return static_cast<double>(upper ? cdf(complement(law, x)) : cdf(law, x));
  }

  double Inv(double p) const {
    if (!valid_ || !IsProbability(p)) return NaN;
    if (p == 0.0) return -Inf;
    if (p == 1.0) return Inf;
    if (std::isinf(df_)) return NormalCDFInv(p);
    if (fast_) {
      if (p == 0.5) return 0.0;
      const double q = p < 0.5 ? p : 1.0 - p;  // exact
      const double t0 = HillStart(q, df_);
      const double s0 = t0 * t0 / df_;  // t0^2 / df: x = s0 / (1 + s0), y = 1 / (1 + s0)
      double v, t = NaN;
      if (q < split_) {
        if (tail_.Quantile(2.0 * q, false, 1.0 / (1.0 + s0), v)) {
          t = std::sqrt(df_ * ((1.0 - v) / v));
        }
      } else {
        const double d = 1.0 - 2.0 * q;  // P(|T| < |t|), exact from q = 1/4 on
        const double x0 = s0 / (1.0 + s0);
        if (d <= 0.5 ? central_.Quantile(d, false, x0, v)
                     : central_.Quantile(2.0 * q, true, x0, v)) {
          t = std::sqrt(df_ * (v / (1.0 - v)));
        }
      }
      if (!std::isnan(t)) return p < 0.5 ? -t : t;
    }
    return static_cast<double>(quantile(TStudentL(df_), p));
  }

 private:
  // t^2 = hi + lo exactly, then x and y with their corrections.
  detail::TBetaPoint Point(double t) const {
    const double hi = t * t;
    return detail::BetaPointFromRatio(hi, std::fma(t, t, -hi), df_);
  }

  double df_;
  bool valid_, fast_ = false;
  detail::TBetaKernel central_, tail_;
  double split_ = 0.0, densityScale_ = 0.0;
};

}  // namespace

double StudentPDF(double x, double df) { return TStudentLaw(df).Pdf(x); }
double StudentCDF(double x, double df) { return TStudentLaw(df).Cdf(x, false); }
double StudentCDFUpper(double x, double df) { return TStudentLaw(df).Cdf(x, true); }
double StudentCDFInv(double p, double df) { return TStudentLaw(df).Inv(p); }

void StudentPDF(const TVec& x, double df, TVec& dst) {
  const TStudentLaw law(df);
  VectorForm(x, dst, "StudentPDF", [&](double v) { return law.Pdf(v); });
}
void StudentCDF(const TVec& x, double df, TVec& dst) {
  const TStudentLaw law(df);
  VectorForm(x, dst, "StudentCDF", [&](double v) { return law.Cdf(v, false); });
}
void StudentCDFUpper(const TVec& x, double df, TVec& dst) {
  const TStudentLaw law(df);
  VectorForm(x, dst, "StudentCDFUpper", [&](double v) { return law.Cdf(v, true); });
}
void StudentCDFInv(const TVec& p, double df, TVec& dst) {
  const TStudentLaw law(df);
  VectorForm(p, dst, "StudentCDFInv", [&](double v) { return law.Inv(v); });
}

// ---- Chi-square: the gamma law of shape nu/2 and scale 2 ----------------------------------------

namespace {
// The gamma law of shape nu/2 and scale 2, built once for the vector forms. Half the smallest
// subnormal rounds to 0, which the gamma law would refuse: the smallest subnormal shape has the
// same (limiting) values to double precision, except the density, which is then its limit
// (nu/2) e^(-x/2)/x rather than the rounded shape's.
class TChiSquareLaw {
 public:
  explicit TChiSquareLaw(double nu)
      : nu_(nu),
        underflow_(nu > 0.0 && 0.5 * nu == 0.0),
        gamma_(underflow_ ? std::numeric_limits<double>::denorm_min() : 0.5 * nu, 2.0) {}
  double Pdf(double x) const {
    if (underflow_ && x > 0.0 && x < Inf) return 0.5 * std::exp(-0.5 * x) / x * nu_;
    return gamma_.Pdf(x);
  }
  double Cdf(double x, bool upper) const { return gamma_.Cdf(x, upper); }
  void CdfMany(const double* x, int n, bool upper, double* out) const {
    gamma_.CdfMany(x, n, upper, out);
  }
  double Inv(double p) const { return gamma_.Inv(p); }

 private:
  double nu_;
  bool underflow_;
  detail::TGammaLaw gamma_;
};
}  // namespace

double ChiSquarePDF(double x, double nu) { return TChiSquareLaw(nu).Pdf(x); }
double ChiSquareCDF(double x, double nu) { return TChiSquareLaw(nu).Cdf(x, false); }
double ChiSquareCDFUpper(double x, double nu) { return TChiSquareLaw(nu).Cdf(x, true); }
double ChiSquareCDFInv(double p, double nu) { return TChiSquareLaw(nu).Inv(p); }

void ChiSquarePDF(const TVec& x, double nu, TVec& dst) {
  const TChiSquareLaw law(nu);
  VectorForm(x, dst, "ChiSquarePDF", [&](double v) { return law.Pdf(v); });
}
void ChiSquareCDF(const TVec& x, double nu, TVec& dst) {
  const TChiSquareLaw law(nu);
  detail::BatchVectorForm(x, dst, "ChiSquareCDF", [&](const double* v, int n, double* out) {
    law.CdfMany(v, n, false, out);
  });
}
void ChiSquareCDFUpper(const TVec& x, double nu, TVec& dst) {
  const TChiSquareLaw law(nu);
  detail::BatchVectorForm(x, dst, "ChiSquareCDFUpper", [&](const double* v, int n, double* out) {
    law.CdfMany(v, n, true, out);
  });
}
void ChiSquareCDFInv(const TVec& p, double nu, TVec& dst) {
  const TChiSquareLaw law(nu);
  VectorForm(p, dst, "ChiSquareCDFInv", [&](double v) { return law.Inv(v); });
}

// ---- F ------------------------------------------------------------------------------------------

// P(F <= x) = I_y(nu1/2, nu2/2) with y = nu1 x / (nu1 x + nu2), for degrees of freedom so large
// that the incomplete beta takes its saddlepoint form.
namespace {
double HugeF(double x, double nu1, double nu2, bool upper) {
  return detail::HugeShapeBeta(nu1 * x / (nu1 * x + nu2), 0.5 * nu1, 0.5 * nu2, upper);
}
}  // namespace

// With u = nu1 x / (nu2 + nu1 x) and w = nu2 / (nu2 + nu1 x) (rounding errors recovered):
// P(F <= x) = I_u(nu1/2, nu2/2), and the density is u^(nu1/2) w^(nu2/2) / (B x). Quantiles
// solve for u where u < 1/2 and for w in the reflected law beyond, so that the smaller one is
// found and x = (nu2/nu1) u / w keeps its digits.
namespace {

class TFLaw {
 public:
  TFLaw(double nu1, double nu2)
      : nu1_(nu1), nu2_(nu2), valid_(ValidDf2(nu1, nu2)), kernel_(0.5 * nu1, 0.5 * nu2),
        reflected_(0.5 * nu2, 0.5 * nu1) {
    detail::TKernelTails t;
    fast_ = valid_ && kernel_.Usable() && reflected_.Usable() &&
            kernel_.Tails(detail::BetaPointFromX(0.5), t);
    if (fast_) split_ = t.lower;  // P(u <= 1/2) = P(F <= nu2 / nu1)
  }

  double Pdf(double x) const {
    if (!valid_ || std::isnan(x)) return NaN;
    if (x < 0.0 || x == Inf) return 0.0;
    if (x == 0.0) return nu1_ < 2.0 ? Inf : (nu1_ == 2.0 ? 1.0 : 0.0);
    double pre;
    if (fast_ && kernel_.Prefactor(Point(x), pre)) return pre / x;
    return static_cast<double>(pdf(TFisherL(nu1_, nu2_), x));
  }

  double Cdf(double x, bool upper) const {
    if (!valid_ || std::isnan(x)) return NaN;
    if (x <= 0.0) return upper ? 1.0 : 0.0;
    if (x == Inf) return upper ? 0.0 : 1.0;
    const double nu1 = nu1_, nu2 = nu2_;
    if (nu1 == 1.0 && nu2 == 1.0) return F11(x, upper);
    detail::TKernelTails t;
    if (fast_ && kernel_.Tails(Point(x), t)) return upper ? t.upper : t.lower;
    if (detail::HugeShapes(0.5 * nu1, 0.5 * nu2)) return HugeF(x, nu1, nu2, upper);
    if (detail::OneAstronomicalShape(0.5 * nu1, 0.5 * nu2)) {
      return upper ? GammaCDF(0.5 * nu2 / x, 0.5 * nu2, 1.0)
                   : GammaCDFUpper(0.5 * nu2 / x, 0.5 * nu2, 1.0);
    }
    if (detail::OneAstronomicalShape(0.5 * nu2, 0.5 * nu1)) {
      return upper ? GammaCDFUpper(0.5 * nu1 * x, 0.5 * nu1, 1.0)
                   : GammaCDF(0.5 * nu1 * x, 0.5 * nu1, 1.0);
    }
    const TFisherL law(nu1, nu2);
    return static_cast<double>(upper ? cdf(complement(law, x)) : cdf(law, x));
  }

  double Inv(double p) const {
    if (!valid_ || !IsProbability(p)) return NaN;
    if (p == 0.0) return 0.0;
    if (p == 1.0) return Inf;
    const double nu1 = nu1_, nu2 = nu2_;
    if (fast_) {
      double v;
      if (p <= split_) {
        if (p <= 0.5 ? kernel_.Quantile(p, false, NaN, v)
                     : kernel_.Quantile(1.0 - p, true, NaN, v)) {
          return nu2 / nu1 * (v / (1.0 - v));
        }
      } else if (p >= 0.5 ? reflected_.Quantile(1.0 - p, false, NaN, v)
                          : reflected_.Quantile(p, true, NaN, v)) {
        return nu2 / nu1 * ((1.0 - v) / v);
      }
    }
    if (detail::HugeShapes(0.5 * nu1, 0.5 * nu2)) {
      const double y = detail::HugeShapeBetaInv(p, 0.5 * nu1, 0.5 * nu2);
      return nu2 * y / (nu1 * (1.0 - y));
    }
    // With one astronomical number of degrees of freedom, its chi-square over its degrees of
    // freedom is 1 to double precision: F = (nu2/2) / G_(nu2/2), or G_(nu1/2) / (nu1/2).
    if (detail::OneAstronomicalShape(0.5 * nu1, 0.5 * nu2)) {
      return 0.5 * nu2 / detail::GammaQuantile(p, 0.5 * nu2, true);
    }
    if (detail::OneAstronomicalShape(0.5 * nu2, 0.5 * nu1)) {
      return detail::GammaQuantile(p, 0.5 * nu1, false) / (0.5 * nu1);
    }
    const double x = static_cast<double>(quantile(TFisherL(nu1, nu2), p));
    if (p > 1e-60) return x;
    return detail::PolishLowerTail(
        p, x, [this](double v) { return Cdf(v, false); }, [this](double v) { return Pdf(v); });
  }

 private:
  // nu1 x = hi + lo exactly, then u and w with their corrections.
  detail::TBetaPoint Point(double x) const {
    const double hi = nu1_ * x;
    return detail::BetaPointFromRatio(hi, std::fma(nu1_, x, -hi), nu2_);
  }

  double nu1_, nu2_;
  bool valid_, fast_ = false;
  detail::TBetaKernel kernel_, reflected_;
  double split_ = 0.0;
};

}  // namespace

double FPDF(double x, double nu1, double nu2) { return TFLaw(nu1, nu2).Pdf(x); }
double FCDF(double x, double nu1, double nu2) { return TFLaw(nu1, nu2).Cdf(x, false); }
double FCDFUpper(double x, double nu1, double nu2) { return TFLaw(nu1, nu2).Cdf(x, true); }
double FCDFInv(double p, double nu1, double nu2) { return TFLaw(nu1, nu2).Inv(p); }

void FPDF(const TVec& x, double nu1, double nu2, TVec& dst) {
  const TFLaw law(nu1, nu2);
  VectorForm(x, dst, "FPDF", [&](double v) { return law.Pdf(v); });
}
void FCDF(const TVec& x, double nu1, double nu2, TVec& dst) {
  const TFLaw law(nu1, nu2);
  VectorForm(x, dst, "FCDF", [&](double v) { return law.Cdf(v, false); });
}
void FCDFUpper(const TVec& x, double nu1, double nu2, TVec& dst) {
  const TFLaw law(nu1, nu2);
  VectorForm(x, dst, "FCDFUpper", [&](double v) { return law.Cdf(v, true); });
}
void FCDFInv(const TVec& p, double nu1, double nu2, TVec& dst) {
  const TFLaw law(nu1, nu2);
  VectorForm(p, dst, "FCDFInv", [&](double v) { return law.Inv(v); });
}

void FPDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst) {
  detail::VectorForm2(x, nu1, nu2, dst, "FPDF",
                      [](double v, double a, double b) { return FPDF(v, a, b); });
}
void FCDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst) {
  detail::VectorForm2(x, nu1, nu2, dst, "FCDF",
                      [](double v, double a, double b) { return FCDF(v, a, b); });
}
void FCDFUpper(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst) {
  detail::VectorForm2(x, nu1, nu2, dst, "FCDFUpper",
                      [](double v, double a, double b) { return FCDFUpper(v, a, b); });
}
void FCDFInv(const TVec& p, const TVecInt& nu1, const TVecInt& nu2, TVec& dst) {
  detail::VectorForm2(p, nu1, nu2, dst, "FCDFInv",
                      [](double v, double a, double b) { return FCDFInv(v, a, b); });
}

}  // namespace lumex
