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

// ---- The standard normal law, free of branches ----------------------------------------------
//
// For x >= 0, Phi(-x) = phi(x) M(x) with M the Mills ratio: smooth and positive on [0, Inf),
// sqrt(pi/2) at 0 and about 1/x far out. One rational function of degrees 10 and 11 follows it
// over [0, 40] to 7e-17 relative (tools/normal_cdf_fit.py derives the coefficients); past 40,
// phi is below e^-800 and 0 in double. phi is evaluated with an exponential of our own
// (ScaledGaussian): a call to the C library's exp would keep a loop over these functions from
// being vectorised. Against 40-digit values, Phi is within 1.5e-15 relative over the whole lower
// tail down to the smallest normal doubles, and phi within 2.3e-16.
//
// Choices are made on bit patterns, not by comparing doubles: a floating comparison may raise
// an exception, so compilers neither turn it into a selection nor vectorise a loop around it;
// and with standard normal data the sign of z is a coin toss for a branch predictor.

constexpr double kMillsP[] = {
    1.2533141373155003, 2.0770484204161797, 1.7062591271664975,
    0.89784089905673603, 0.33202630945264228, 0.089758458089576207,
    0.017940384616525584, 0.0026212080467109197, 0.00026896029602719999,
    1.7626429072592015e-05, 5.6725356982636627e-07};
constexpr double kMillsQ[] = {
    1, 2.4551294274929143, 2.8203076792644874,
    2.0050501519349133, 0.98253334131354575, 0.34943443907270494,
    0.092344413556742902, 0.01820821039687796, 0.0026388344759746968,
    0.00026952754959409569, 1.7626429072619313e-05, 5.6725356982625044e-07};

// exp(r) = 1 + r + r^2 g(r) on |r| <= ln(2)/2, g to 1.6e-17 relative in exp(r).
constexpr double kExpG[] = {
    0.50000000000000011, 0.16666666666666669, 0.041666666666624164,
    0.008333333333330065, 0.0013888888917196719, 0.00019841269863040545,
    2.480152132236793e-05, 2.7557268480309439e-06, 2.7620075880345908e-07,
    2.5100375832840034e-08};

constexpr double kMillsEnd = 40.0;  // phi(40) = e^-800/sqrt(2 pi) is 0 in double

template <std::size_t N>
inline double Horner(const double (&c)[N], double x) {
  double s = c[N - 1];
  for (std::size_t i = N - 1; i-- > 0;) s = s * x + c[i];
  return s;
}

inline double MillsRatio(double x) { return Horner(kMillsP, x) / Horner(kMillsQ, x); }

std::int64_t Bits(double v) { return std::bit_cast<std::int64_t>(v); }

// All ones where a > b, else 0, for a and b without sign bit (NaN ranks above +Inf).
std::uint64_t AboveMask(double a, double b) {
  return static_cast<std::uint64_t>((Bits(b) - Bits(a)) >> 63);
}

// All ones where the sign bit of v is set.
std::uint64_t SignMask(double v) { return static_cast<std::uint64_t>(Bits(v) >> 63); }

// a where mask is all ones, b where it is 0.
double Select(std::uint64_t mask, double a, double b) {
  return std::bit_cast<double>((std::bit_cast<std::uint64_t>(a) & mask) |
                               (std::bit_cast<std::uint64_t>(b) & ~mask));
}

// f exp(-x^2/2) for 0 <= x <= 40 and f of order 1, with no rounding in the exponent (a rounded
// x^2 near 1400 would cost up to 6e-14 relative):
// - x^2 = p + e exactly, x split into halves of 26 bits whose products are exact (Dekker);
// - exp(-p/2 - e/2) = 2^k exp(r): k = round(-p/(2 ln 2)), read off the low bits of the shifter
//   sum; ln 2 = kLn2Hi + kLn2Lo with kLn2Hi 32 bits long, so k kLn2Hi and the difference from
//   -p/2 are exact, and -e/2 joins the small reduced argument r;
// - 2^k as 2^(k + 600), written into the exponent field, times 2^-600, so that results below
//   the normal range are rounded once, by the last product.
inline double ScaledGaussian(double x, double f) {
  constexpr double kSplit = 134217729.0;  // 2^27 + 1
  constexpr double kInvLn2 = 1.4426950408889634;
  constexpr double kLn2Hi = 6.93147180369123816490e-01;
  constexpr double kLn2Lo = 1.90821492927058770002e-10;
  constexpr double kShifter = 0x1.8p52;
  const double c = kSplit * x;
  const double xh = c - (c - x);
  const double xl = x - xh;
  const double p = x * x;
  const double e = ((xh * xh - p) + 2.0 * xh * xl) + xl * xl;
  const double s = -0.5 * p;
  const double kd = s * kInvLn2 + kShifter;
  const double k = kd - kShifter;
  const double r = (s - k * kLn2Hi) - (k * kLn2Lo + 0.5 * e);
  const double fExpR = f + f * (r + r * r * Horner(kExpG, r));  // f exp(r), one final rounding
  const std::uint64_t scale = (std::bit_cast<std::uint64_t>(kd) + (600 + 1023)) << 52;
  return fExpR * std::bit_cast<double>(scale) * 0x1p-600;
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

bool ValidNormal(double mu, double sigma) { return IsReal(mu) && IsNonNegative(sigma); }

// The vector forms of the normal law. With sigma > 0 the parameters are checked once and the
// loop, standard((x - mu)/sigma), is free of branches, for the compiler to evaluate several
// elements per instruction; it gives the scalar form's values, NaN and the infinities included.
// Other parameters go through the scalar form element by element.
template <class FStd>
void NormalVectorForm(const TVec& x, double mu, double sigma, TVec& dst, const char* fn,
                      double (*scalar)(double, double, double), FStd standard) {
  if (ValidNormal(mu, sigma) && sigma > 0.0) {
    VectorForm(x, dst, fn, [=](double v) { return standard((v - mu) / sigma); });
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
  return mu + sigma * quantile(TNormal(0.0, 1.0), p);
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

namespace {
// nu/2, kept positive: half the smallest subnormal rounds to 0, which the gamma law would refuse;
// the smallest subnormal shape has the same (limiting) values to double precision.
double ChiSquareShape(double nu) {
  const double a = 0.5 * nu;
  return a == 0.0 && nu > 0.0 ? std::numeric_limits<double>::denorm_min() : a;
}
}  // namespace

double ChiSquarePDF(double x, double nu) {
  // A shape that underflows: the density is its limit (nu/2) e^(-x/2)/x, not the rounded shape's.
  if (nu > 0.0 && 0.5 * nu == 0.0 && x > 0.0 && x < Inf) return 0.5 * std::exp(-0.5 * x) / x * nu;
  return GammaPDF(x, ChiSquareShape(nu), 2.0);
}
double ChiSquareCDF(double x, double nu) { return GammaCDF(x, ChiSquareShape(nu), 2.0); }
double ChiSquareCDFUpper(double x, double nu) { return GammaCDFUpper(x, ChiSquareShape(nu), 2.0); }
double ChiSquareCDFInv(double p, double nu) { return GammaCDFInv(p, ChiSquareShape(nu), 2.0); }

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

// P(F <= x) = I_y(nu1/2, nu2/2) with y = nu1 x / (nu1 x + nu2), for degrees of freedom so large
// that the incomplete beta takes its saddlepoint form.
namespace {
double HugeF(double x, double nu1, double nu2, bool upper) {
  return detail::HugeShapeBeta(nu1 * x / (nu1 * x + nu2), 0.5 * nu1, 0.5 * nu2, upper);
}
}  // namespace

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
  if (detail::HugeShapes(0.5 * nu1, 0.5 * nu2)) return HugeF(x, nu1, nu2, false);
  if (detail::OneAstronomicalShape(0.5 * nu1, 0.5 * nu2)) {
    return GammaCDFUpper(0.5 * nu2 / x, 0.5 * nu2, 1.0);
  }
  if (detail::OneAstronomicalShape(0.5 * nu2, 0.5 * nu1)) {
    return GammaCDF(0.5 * nu1 * x, 0.5 * nu1, 1.0);
  }
  return static_cast<double>(cdf(TFisherL(nu1, nu2), x));
}

double FCDFUpper(double x, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || std::isnan(x)) return NaN;
  if (x <= 0.0) return 1.0;
  if (x == Inf) return 0.0;
  if (nu1 == 1.0 && nu2 == 1.0) return F11(x, true);
  if (detail::HugeShapes(0.5 * nu1, 0.5 * nu2)) return HugeF(x, nu1, nu2, true);
  if (detail::OneAstronomicalShape(0.5 * nu1, 0.5 * nu2)) {
    return GammaCDF(0.5 * nu2 / x, 0.5 * nu2, 1.0);
  }
  if (detail::OneAstronomicalShape(0.5 * nu2, 0.5 * nu1)) {
    return GammaCDFUpper(0.5 * nu1 * x, 0.5 * nu1, 1.0);
  }
  return static_cast<double>(cdf(complement(TFisherL(nu1, nu2), x)));
}

double FCDFInv(double p, double nu1, double nu2) {
  if (!ValidDf2(nu1, nu2) || !IsProbability(p)) return NaN;
  if (p == 0.0) return 0.0;
  if (p == 1.0) return Inf;
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
