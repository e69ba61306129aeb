// The laws of test statistics: normal, Student's t, chi-square and F.
#include <boost/math/distributions/fisher_f.hpp>
#include <boost/math/distributions/normal.hpp>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

#include "core/math_policy.h"
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
using detail::VectorForm;

using TNormal = boost::math::normal_distribution<double, detail::TMathPolicy>;

// Student's t and F compute in long double: the distribution type itself, so that t^2,
// df + t^2 and nu1 x / (nu2 + nu1 x) are formed with 64-bit mantissas, not only the incomplete
// beta inside. In double those roundings cost up to t^2 eps in the far tails and up to
// (df/2) eps at 10^6 degrees of freedom, and the quantiles below p = 1e-290 overflow to -Inf.
using TStudentL = boost::math::students_t_distribution<long double, detail::TMathPolicy>;
using TFisherL = boost::math::fisher_f_distribution<long double, detail::TMathPolicy>;

constexpr double kInvSqrt2Pi = 0.398942280401432677939946059934;  // 1/sqrt(2 pi)
// 1/sqrt(2) as a sum of two doubles, for the residual of t = z/sqrt(2) below.
constexpr double kInvSqrt2Hi = 0.70710678118654757;
constexpr double kInvSqrt2Lo = -4.8336466567264567e-17;

// exp(-z^2/2)/sqrt(2 pi). Beyond |z| = 5 z is split into a part with 16 fraction bits, whose
// square is exact, and a small remainder, so the exponent carries no rounding error; a
// rounded z^2 near 1400 would cost 1.5e-13 relative in the density.
double StdNormalDensity(double z) {
  z = std::fabs(z);
  if (z < 5.0) return kInvSqrt2Pi * std::exp(-0.5 * z * z);
  const double z1 = std::ldexp(std::nearbyint(std::ldexp(z, 16)), -16);
  const double z2 = z - z1;
  return kInvSqrt2Pi * (std::exp(-0.5 * z1 * z1) * std::exp((-0.5 * z2 - z1) * z2));
}

// P(Z <= z) = erfc(-z/sqrt(2))/2. The relative error of erfc(t) is about 2t^2 times that of t,
// so in the lower tail the rounding of t = -z/sqrt(2) is corrected to first order: with r the
// exact residual (from an fma and the low part of 1/sqrt(2)), erfc(t + r) = erfc(t)(1 - r g(t))
// with g = -d ln erfc/dt = 2t + 1/t - ... (the asymptotic ratio is ample for t > 3, where
// r/t is below 1e-16). Below t = 3 the uncorrected error is under 2e-15.
double StdNormalLower(double z) {
  const double t = -z * kInvSqrt2Hi;
  const double e = std::erfc(t);  // the C library's: within a few ulp, faster than Boost's
  if (t <= 3.0) return 0.5 * e;
  const double r = std::fma(-z, kInvSqrt2Hi, -t) - z * kInvSqrt2Lo;
  return 0.5 * e * (1.0 - r * (2.0 * t + 1.0 / t));
}

bool ValidNormal(double mu, double sigma) { return IsReal(mu) && IsNonNegative(sigma); }

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
  return mu + sigma * quantile(TNormal(0.0, 1.0), p);
}

void NormalPDF(const TVec& x, double mu, double sigma, TVec& dst) {
  VectorForm(x, dst, "NormalPDF", [=](double v) { return NormalPDF(v, mu, sigma); });
}
void NormalCDF(const TVec& x, double mu, double sigma, TVec& dst) {
  VectorForm(x, dst, "NormalCDF", [=](double v) { return NormalCDF(v, mu, sigma); });
}
void NormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst) {
  VectorForm(x, dst, "NormalCDFUpper", [=](double v) { return NormalCDFUpper(v, mu, sigma); });
}
void NormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst) {
  VectorForm(p, dst, "NormalCDFInv", [=](double v) { return NormalCDFInv(v, mu, sigma); });
}

// ---- Student's t --------------------------------------------------------------------------------

double StudentPDF(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return 0.0;
  if (std::isinf(df)) return NormalPDF(x);
  return static_cast<double>(pdf(TStudentL(df), x));
}

double StudentCDF(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return x > 0 ? 1.0 : 0.0;
  if (std::isinf(df)) return NormalCDF(x);
  return static_cast<double>(cdf(TStudentL(df), x));
}

double StudentCDFUpper(double x, double df) {
  if (!ValidDf(df) || std::isnan(x)) return NaN;
  if (std::isinf(x)) return x > 0 ? 0.0 : 1.0;
  if (std::isinf(df)) return NormalCDFUpper(x);
  return static_cast<double>(cdf(complement(TStudentL(df), x)));
}

double StudentCDFInv(double p, double df) {
  if (!ValidDf(df) || !IsProbability(p)) return NaN;
  if (p == 0.0) return -Inf;
  if (p == 1.0) return Inf;
  if (std::isinf(df)) return NormalCDFInv(p);
  return static_cast<double>(quantile(TStudentL(df), p));
}

void StudentPDF(const TVec& x, double df, TVec& dst) {
  VectorForm(x, dst, "StudentPDF", [df](double v) { return StudentPDF(v, df); });
}
void StudentCDF(const TVec& x, double df, TVec& dst) {
  VectorForm(x, dst, "StudentCDF", [df](double v) { return StudentCDF(v, df); });
}
void StudentCDFUpper(const TVec& x, double df, TVec& dst) {
  VectorForm(x, dst, "StudentCDFUpper", [df](double v) { return StudentCDFUpper(v, df); });
}
void StudentCDFInv(const TVec& p, double df, TVec& dst) {
  VectorForm(p, dst, "StudentCDFInv", [df](double v) { return StudentCDFInv(v, df); });
}

// ---- Chi-square: the gamma law of shape nu/2 and scale 2 ----------------------------------------

double ChiSquarePDF(double x, double nu) { return GammaPDF(x, 0.5 * nu, 2.0); }
double ChiSquareCDF(double x, double nu) { return GammaCDF(x, 0.5 * nu, 2.0); }
double ChiSquareCDFUpper(double x, double nu) { return GammaCDFUpper(x, 0.5 * nu, 2.0); }
double ChiSquareCDFInv(double p, double nu) { return GammaCDFInv(p, 0.5 * nu, 2.0); }

void ChiSquarePDF(const TVec& x, double nu, TVec& dst) {
  VectorForm(x, dst, "ChiSquarePDF", [nu](double v) { return ChiSquarePDF(v, nu); });
}
void ChiSquareCDF(const TVec& x, double nu, TVec& dst) {
  VectorForm(x, dst, "ChiSquareCDF", [nu](double v) { return ChiSquareCDF(v, nu); });
}
void ChiSquareCDFUpper(const TVec& x, double nu, TVec& dst) {
  VectorForm(x, dst, "ChiSquareCDFUpper", [nu](double v) { return ChiSquareCDFUpper(v, nu); });
}
void ChiSquareCDFInv(const TVec& p, double nu, TVec& dst) {
  VectorForm(p, dst, "ChiSquareCDFInv", [nu](double v) { return ChiSquareCDFInv(v, nu); });
}

// ---- F ------------------------------------------------------------------------------------------

double FPDF(double x, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || std::isnan(x)) return NaN;
  if (x < 0.0 || x == Inf) return 0.0;
  if (x == 0.0) return nu1 < 2.0 ? Inf : (nu1 == 2.0 ? 1.0 : 0.0);
  return static_cast<double>(pdf(TFisherL(nu1, nu2), x));
}

double FCDF(double x, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || std::isnan(x)) return NaN;
  if (x <= 0.0) return 0.0;
  if (x == Inf) return 1.0;
  if (nu1 == 1.0 && nu2 == 1.0) return F11(x, false);
  return static_cast<double>(cdf(TFisherL(nu1, nu2), x));
}

double FCDFUpper(double x, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || std::isnan(x)) return NaN;
  if (x <= 0.0) return 1.0;
  if (x == Inf) return 0.0;
  if (nu1 == 1.0 && nu2 == 1.0) return F11(x, true);
  return static_cast<double>(cdf(complement(TFisherL(nu1, nu2), x)));
}

double FCDFInv(double p, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || !IsProbability(p)) return NaN;
  if (p == 0.0) return 0.0;
  if (p == 1.0) return Inf;
  const double x = static_cast<double>(quantile(TFisherL(nu1, nu2), p));
  if (p > 1e-60) return x;
  return detail::PolishLowerTail(
      p, x, [=](double v) { return FCDF(v, nu1, nu2); },
      [=](double v) { return FPDF(v, nu1, nu2); });
}

void FPDF(const TVec& x, double nu1, double nu2, TVec& dst) {
  VectorForm(x, dst, "FPDF", [=](double v) { return FPDF(v, nu1, nu2); });
}
void FCDF(const TVec& x, double nu1, double nu2, TVec& dst) {
  VectorForm(x, dst, "FCDF", [=](double v) { return FCDF(v, nu1, nu2); });
}
void FCDFUpper(const TVec& x, double nu1, double nu2, TVec& dst) {
  VectorForm(x, dst, "FCDFUpper", [=](double v) { return FCDFUpper(v, nu1, nu2); });
}
void FCDFInv(const TVec& p, double nu1, double nu2, TVec& dst) {
  VectorForm(p, dst, "FCDFInv", [=](double v) { return FCDFInv(v, nu1, nu2); });
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
