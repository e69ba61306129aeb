/// @file
/// Probability functions: density (or mass), distribution function, upper tail and quantile of
/// twenty-five laws, the special functions behind them, and the distribution selector.
///
/// Each law has, in this order, PDF (for a discrete law the probability mass P(X = x)), CDF
/// (P(X <= x)), CDFUpper (P(X > x), computed directly so that small upper tails keep their
/// digits: a right-tailed significance of 1e-20 comes out as 1e-20, not 0) and CDFInv (the
/// inverse of CDF). Scalar forms take the point first and the parameters after it; vector forms
/// take (source, parameters, destination), size the destination like the source
/// (single-precision storage gives single-precision results, computed in double; the destination
/// may be the source itself) and raise ELumexError "<Function>: complex data not supported" for
/// complex storage.
///
/// Common rules, stated once:
/// - A parameter outside the law's domain (given per law), or NaN anywhere, gives NaN. Nothing
///   throws and errno is never set. Parameters must be finite unless a law says otherwise.
/// - A point outside the support gives the density 0 and the CDF 0 or 1; x = -Inf and +Inf are
///   valid points. For a discrete law a non-integer x has mass 0 and CDF(x) = CDF(floor(x)).
/// - Integer parameters (binomial n, Erlang k, hypergeometric M, K, N, discrete uniform N) are
///   taken as doubles; a non-integer value is outside the domain and gives NaN.
/// - CDFInv takes p in [0, 1] (NaN outside): p = 0 and p = 1 give the ends of the support
///   (possibly -Inf or +Inf). For a discrete law CDFInv(p) is the least support point x with
///   P(X <= x) >= p, as R defines it, with R's relative tolerance of 64 machine epsilons on p,
///   so that CDFInv(CDF(k)) = k although CDF(k) carries rounding errors.
/// - A law whose scale may be 0 (where said) is then the point mass at its location: density
///   +Inf there and 0 elsewhere, CDF 0 below and 1 from the location on, CDFInv(p) the location
///   for 0 < p < 1.
/// - Vanishing shapes (below 1e-100, down to the smallest subnormal) give the limits of the
///   laws: a gamma or chi-square law has P(X <= x) = 1 for every x > 0, upper tail a E1(x/b) and
///   lower quantiles 0; a beta law with one vanishing shape is the point mass at 0 (a) or 1 (b)
///   for every CDFInv, and with both the two-point law with mass b/(a + b) at 0; the negative
///   binomial mass is p^r at 0 and r (1 - p)^k / k beyond. Densities keep their digits there.
///
/// Accuracy: every function agrees with its reference to 1e-13 relative for densities and CDFs
/// and 1e-12 for inverses, on grids that reach tails of 1e-300, extreme parameters (degrees of
/// freedom 0.5 to 1e6, shapes 1e-3 to 1e4) and the edges of each support. The references are
/// R 4.2's d*, p*, q* functions, and 256-bit evaluations of the definitions where R lacks the
/// law or is itself short of those digits (tests/reference/core/distributions.R says which).
#pragma once

#include <cstdint>

#include "lumex/core/containers.h"

namespace lumex {

/// The distribution selector, one byte, naming a law of this file.
///
/// Ordinals are fixed (stored by callers); those not named are reserved. Laws other than the
/// twelve whose ordinals are fixed take the free ordinals in alphabetical order of their names,
/// each after the fixed ordinal that precedes it. GOFChi2Test and AndersonDarling take one to
/// choose the law they test.
enum TDistribution : std::uint8_t {
  distBeta = 0,               ///< Beta law (BetaPDF).
  distBinom = 1,              ///< Binomial law (BinomPDF).
  distCauchy = 2,             ///< Cauchy law (CauchyPDF).
  distChiSquare = 5,          ///< Chi-square law (ChiSquarePDF).
  distErlang = 6,             ///< Erlang law (ErlangPDF).
  distExponential = 7,        ///< Exponential law (ExpPDF).
  distF = 8,                  ///< Fisher's F law (FPDF).
  distGamma = 11,             ///< Gamma law (GammaPDF).
  distGeometric = 12,         ///< Geometric law (GeometricPDF).
  distGumbel = 13,            ///< Gumbel law (GumbelPDF).
  distHypGeometric = 14,      ///< Hypergeometric law (HypGeometricPDF).
  distInverseGaussian = 15,   ///< Inverse Gaussian law (InverseGaussianPDF).
  distLaplace = 22,           ///< Laplace law (LaplacePDF).
  distLogistic = 23,          ///< Logistic law (LogisticPDF).
  distLogNormal = 25,         ///< Log-normal law (LogNormalPDF).
  distMaxwell = 27,           ///< Maxwell law (MaxwellPDF).
  distNegBinom = 28,          ///< Negative binomial law (NegBinomPDF).
  distNormal = 29,            ///< Normal law (NormalPDF).
  distPoisson = 30,           ///< Poisson law (PoissonPDF).
  distRayleigh = 33,          ///< Rayleigh law (RayleighPDF).
  distStudent = 34,           ///< Student's t law (StudentPDF).
  distTriangular = 35,        ///< Triangular law (TriangularPDF).
  distUniform = 36,           ///< Continuous uniform law (UniformPDF).
  distUniformD = 37,          ///< Discrete uniform law (UniformDPDF).
  distWeibull = 38            ///< Weibull law (WeibullPDF).
};

// ---- Special functions ------------------------------------------------------------------------

/// @name Special functions
/// @{

/// Gamma function, integral_0^Inf t^(x-1) exp(-t) dt continued to the whole line.
///
/// NaN at 0 and the negative integers (its poles) and at -Inf; +Inf beyond 171.62 (overflow) and at
/// +Inf; a zero of the function's sign below -200 (underflow). Reference: 256-bit evaluations of
/// the definition.
/// @param x  argument.
/// @return   Gamma(x); NaN for a NaN x.
LUMEX_API double Gamma(double x);

/// Logarithm of the absolute value of the gamma function, ln|Gamma(x)|.
///
/// +Inf at 0, at the negative integers and at +-Inf. Reference: R's lgamma.
/// @param x  argument.
/// @return   ln|Gamma(x)|; NaN for a NaN x.
LUMEX_API double LnGamma(double x);

/// Trigamma function: the second derivative of ln Gamma(x).
///
/// +Inf at 0 and the negative integers, 0 at +Inf, NaN at -Inf. Reference: R's trigamma.
/// @param x  argument.
/// @return   d^2/dx^2 ln Gamma(x); NaN for a NaN x.
LUMEX_API double trigamma(double x);

/// Error function erf(x) = 2/sqrt(pi) * integral_0^x exp(-t^2) dt.
///
/// -1 at -Inf and 1 at +Inf. Reference: 256-bit evaluations of the definition.
/// @param x  argument.
/// @return   erf(x); NaN for a NaN x.
LUMEX_API double Erf(double x);

/// Complementary error function erfc(x) = 1 - erf(x), computed directly.
///
/// Keeps its digits for large x, where 1 - erf(x) would round to 0; 2 at -Inf and 0 at +Inf.
/// Reference: 256-bit evaluations of the definition.
/// @param x  argument.
/// @return   erfc(x); NaN for a NaN x.
LUMEX_API double Erfc(double x);

/// Inverse error function: the y with erf(y) = x, for x in [-1, 1].
///
/// -Inf at -1, +Inf at 1. Reference: 256-bit Newton steps on the definition.
/// @param x  argument in [-1, 1].
/// @return   the inverse; NaN outside [-1, 1] and for a NaN x.
LUMEX_API double ErfInv(double x);

/// @}

// ---- Continuous laws ----------------------------------------------------------------------------

/// @name Normal law
/// @{

/// Density of the normal law with mean mu and standard deviation sigma.
///
/// Density exp(-z^2/2) / (sigma sqrt(2 pi)) with z = (x - mu)/sigma, on the whole line. The
/// defaults give the standard normal law. Reference: R's dnorm, pnorm and qnorm.
/// @param x      point; any double.
/// @param mu     mean (finite).
/// @param sigma  standard deviation, sigma >= 0 and finite; sigma = 0 is the point mass at mu.
/// @return       the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double NormalPDF(double x, double mu = 0.0, double sigma = 1.0);

/// Normal distribution function P(X <= x) (law at NormalPDF).
/// @param x      point.
/// @param mu     mean.
/// @param sigma  standard deviation (>= 0).
/// @return       P(X <= x).
LUMEX_API double NormalCDF(double x, double mu = 0.0, double sigma = 1.0);

/// Normal upper tail P(X > x), computed directly (law at NormalPDF).
/// @param x      point.
/// @param mu     mean.
/// @param sigma  standard deviation (>= 0).
/// @return       P(X > x).
LUMEX_API double NormalCDFUpper(double x, double mu = 0.0, double sigma = 1.0);

/// Normal quantile, the inverse of NormalCDF (law at NormalPDF).
/// @param p      probability, in [0, 1].
/// @param mu     mean.
/// @param sigma  standard deviation (>= 0).
/// @return       the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double NormalCDFInv(double p, double mu = 0.0, double sigma = 1.0);

/// Vector form of NormalPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean.
/// @param sigma     standard deviation (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "NormalPDF: complex data not supported" when x is complex.
LUMEX_API void NormalPDF(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of NormalCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean.
/// @param sigma     standard deviation (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "NormalCDF: complex data not supported" when x is complex.
LUMEX_API void NormalCDF(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of NormalCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean.
/// @param sigma     standard deviation (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "NormalCDFUpper: complex data not supported" when x is complex.
LUMEX_API void NormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of NormalCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        mean.
/// @param sigma     standard deviation (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "NormalCDFInv: complex data not supported" when p is complex.
LUMEX_API void NormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst);

/// @}

/// @name Student's t law
/// @{

/// Density of Student's t law with df degrees of freedom.
///
/// Density (1 + x^2/df)^(-(df + 1)/2) / (sqrt(df) B(df/2, 1/2)) on the whole line. Reference: R's
/// dt, pt and qt.
/// @param x   point; any double.
/// @param df  degrees of freedom, df > 0 and real; df = +Inf is allowed and gives the standard
///            normal law.
/// @return    the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double StudentPDF(double x, double df);

/// Student's t distribution function P(X <= x) (law at StudentPDF).
/// @param x   point.
/// @param df  degrees of freedom (> 0; +Inf allowed).
/// @return    P(X <= x).
LUMEX_API double StudentCDF(double x, double df);

/// Student's t upper tail P(X > x), computed directly (law at StudentPDF).
/// @param x   point.
/// @param df  degrees of freedom (> 0; +Inf allowed).
/// @return    P(X > x).
LUMEX_API double StudentCDFUpper(double x, double df);

/// Student's t quantile, the inverse of StudentCDF (law at StudentPDF).
/// @param p   probability, in [0, 1].
/// @param df  degrees of freedom (> 0; +Inf allowed).
/// @return    the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double StudentCDFInv(double p, double df);

/// Vector form of StudentPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param df        degrees of freedom (> 0; +Inf allowed).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "StudentPDF: complex data not supported" when x is complex.
LUMEX_API void StudentPDF(const TVec& x, double df, TVec& dst);

/// Vector form of StudentCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param df        degrees of freedom (> 0; +Inf allowed).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "StudentCDF: complex data not supported" when x is complex.
LUMEX_API void StudentCDF(const TVec& x, double df, TVec& dst);

/// Vector form of StudentCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param df        degrees of freedom (> 0; +Inf allowed).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "StudentCDFUpper: complex data not supported" when x is complex.
LUMEX_API void StudentCDFUpper(const TVec& x, double df, TVec& dst);

/// Vector form of StudentCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param df        degrees of freedom (> 0; +Inf allowed).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "StudentCDFInv: complex data not supported" when p is complex.
LUMEX_API void StudentCDFInv(const TVec& p, double df, TVec& dst);

/// @}

/// @name Chi-square law
/// @{

/// Density of the chi-square law with nu degrees of freedom.
///
/// The gamma law of shape nu/2 and scale 2, on [0, Inf); the density at 0 is +Inf for nu < 2, 1/2
/// for nu = 2 and 0 for nu > 2. Vanishing nu takes the limit of the file's common rules. Reference:
/// R's dchisq, pchisq and qchisq.
/// @param x   point; any double.
/// @param nu  degrees of freedom, nu > 0 and real.
/// @return    the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double ChiSquarePDF(double x, double nu);

/// Chi-square distribution function P(X <= x) (law at ChiSquarePDF).
/// @param x   point.
/// @param nu  degrees of freedom (> 0).
/// @return    P(X <= x).
LUMEX_API double ChiSquareCDF(double x, double nu);

/// Chi-square upper tail P(X > x), computed directly (law at ChiSquarePDF).
/// @param x   point.
/// @param nu  degrees of freedom (> 0).
/// @return    P(X > x).
LUMEX_API double ChiSquareCDFUpper(double x, double nu);

/// Chi-square quantile, the inverse of ChiSquareCDF (law at ChiSquarePDF).
/// @param p   probability, in [0, 1].
/// @param nu  degrees of freedom (> 0).
/// @return    the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double ChiSquareCDFInv(double p, double nu);

/// Vector form of ChiSquarePDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu        degrees of freedom (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "ChiSquarePDF: complex data not supported" when x is complex.
LUMEX_API void ChiSquarePDF(const TVec& x, double nu, TVec& dst);

/// Vector form of ChiSquareCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu        degrees of freedom (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "ChiSquareCDF: complex data not supported" when x is complex.
LUMEX_API void ChiSquareCDF(const TVec& x, double nu, TVec& dst);

/// Vector form of ChiSquareCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu        degrees of freedom (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "ChiSquareCDFUpper: complex data not supported" when x is complex.
LUMEX_API void ChiSquareCDFUpper(const TVec& x, double nu, TVec& dst);

/// Vector form of ChiSquareCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param nu        degrees of freedom (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "ChiSquareCDFInv: complex data not supported" when p is complex.
LUMEX_API void ChiSquareCDFInv(const TVec& p, double nu, TVec& dst);

/// @}

/// @name F law
/// @{

/// Density of Fisher's F law with nu1 numerator and nu2 denominator degrees of freedom.
///
/// The law of (chi2(nu1)/nu1) / (chi2(nu2)/nu2), on [0, Inf); the density at 0 is +Inf for nu1 < 2,
/// 1 for nu1 = 2 and 0 for nu1 > 2. The vector forms that take integer vectors of degrees of
/// freedom apply the law element by element. Reference: R's df, pf and qf.
/// @param x    point; any double.
/// @param nu1  numerator degrees of freedom, nu1 > 0, real and finite.
/// @param nu2  denominator degrees of freedom, nu2 > 0, real and finite.
/// @return     the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double FPDF(double x, double nu1, double nu2);

/// F distribution function P(X <= x) (law at FPDF).
/// @param x    point.
/// @param nu1  numerator degrees of freedom (> 0).
/// @param nu2  denominator degrees of freedom (> 0).
/// @return     P(X <= x).
LUMEX_API double FCDF(double x, double nu1, double nu2);

/// F upper tail P(X > x), computed directly (law at FPDF).
/// @param x    point.
/// @param nu1  numerator degrees of freedom (> 0).
/// @param nu2  denominator degrees of freedom (> 0).
/// @return     P(X > x).
LUMEX_API double FCDFUpper(double x, double nu1, double nu2);

/// F quantile, the inverse of FCDF (law at FPDF).
/// @param p    probability, in [0, 1].
/// @param nu1  numerator degrees of freedom (> 0).
/// @param nu2  denominator degrees of freedom (> 0).
/// @return     the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double FCDFInv(double p, double nu1, double nu2);

/// Vector form of FPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom (> 0).
/// @param nu2       denominator degrees of freedom (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "FPDF: complex data not supported" when x is complex.
LUMEX_API void FPDF(const TVec& x, double nu1, double nu2, TVec& dst);

/// Vector form of FCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom (> 0).
/// @param nu2       denominator degrees of freedom (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "FCDF: complex data not supported" when x is complex.
LUMEX_API void FCDF(const TVec& x, double nu1, double nu2, TVec& dst);

/// Vector form of FCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom (> 0).
/// @param nu2       denominator degrees of freedom (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "FCDFUpper: complex data not supported" when x is complex.
LUMEX_API void FCDFUpper(const TVec& x, double nu1, double nu2, TVec& dst);

/// Vector form of FCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom (> 0).
/// @param nu2       denominator degrees of freedom (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "FCDFInv: complex data not supported" when p is complex.
LUMEX_API void FCDFInv(const TVec& p, double nu1, double nu2, TVec& dst);

/// Vector form of FPDF with degrees of freedom per element: the density at each element of x.
///
/// Element i takes nu1[i] and nu2[i]; a zero or negative count gives NaN at that index.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom, one per element.
/// @param nu2       denominator degrees of freedom, one per element.
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "FPDF: complex data not supported" when x is complex (checked first).
/// @throws ELumexError "FPDF: lengths differ" when nu1 or nu2 is not as long as x.
LUMEX_API void FPDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);

/// Vector form of FCDF with degrees of freedom per element: P(X <= x) at each element of x.
///
/// Element i takes nu1[i] and nu2[i]; a zero or negative count gives NaN at that index.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom, one per element.
/// @param nu2       denominator degrees of freedom, one per element.
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "FCDF: complex data not supported" when x is complex (checked first).
/// @throws ELumexError "FCDF: lengths differ" when nu1 or nu2 is not as long as x.
LUMEX_API void FCDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);

/// Vector form of FCDFUpper with degrees of freedom per element: P(X > x) at each element of x.
///
/// Element i takes nu1[i] and nu2[i]; a zero or negative count gives NaN at that index.
/// @param x         points; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom, one per element.
/// @param nu2       denominator degrees of freedom, one per element.
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "FCDFUpper: complex data not supported" when x is complex (checked first).
/// @throws ELumexError "FCDFUpper: lengths differ" when nu1 or nu2 is not as long as x.
LUMEX_API void FCDFUpper(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);

/// Vector form of FCDFInv with degrees of freedom per element: the quantile at each element of p.
///
/// Element i takes nu1[i] and nu2[i]; a zero or negative count gives NaN at that index.
/// @param p         probabilities; real storage, single or double precision.
/// @param nu1       numerator degrees of freedom, one per element.
/// @param nu2       denominator degrees of freedom, one per element.
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "FCDFInv: complex data not supported" when p is complex (checked first).
/// @throws ELumexError "FCDFInv: lengths differ" when nu1 or nu2 is not as long as p.
LUMEX_API void FCDFInv(const TVec& p, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);

/// @}

/// @name Gamma law
/// @{

/// Density of the gamma law with shape a and scale b.
///
/// Density x^(a-1) exp(-x/b) / (Gamma(a) b^a) on [0, Inf); at x = 0 it is +Inf for a < 1, 1/b for
/// a = 1 and 0 for a > 1. Mean a*b. Vanishing shapes take the limit of the file's common rules.
/// Reference: R's dgamma, pgamma and qgamma with shape a and scale b.
/// @param x  point; any double.
/// @param a  shape, a > 0 and finite.
/// @param b  scale, b > 0 and finite (not the rate).
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double GammaPDF(double x, double a, double b);

/// Gamma distribution function P(X <= x) (law at GammaPDF).
/// @param x  point.
/// @param a  shape (> 0).
/// @param b  scale (> 0).
/// @return   P(X <= x).
LUMEX_API double GammaCDF(double x, double a, double b);

/// Gamma upper tail P(X > x), computed directly (law at GammaPDF).
/// @param x  point.
/// @param a  shape (> 0).
/// @param b  scale (> 0).
/// @return   P(X > x).
LUMEX_API double GammaCDFUpper(double x, double a, double b);

/// Gamma quantile, the inverse of GammaCDF (law at GammaPDF).
/// @param p  probability, in [0, 1].
/// @param a  shape (> 0).
/// @param b  scale (> 0).
/// @return   the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double GammaCDFInv(double p, double a, double b);

/// Vector form of GammaPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         shape (> 0).
/// @param b         scale (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "GammaPDF: complex data not supported" when x is complex.
LUMEX_API void GammaPDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of GammaCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         shape (> 0).
/// @param b         scale (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "GammaCDF: complex data not supported" when x is complex.
LUMEX_API void GammaCDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of GammaCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         shape (> 0).
/// @param b         scale (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "GammaCDFUpper: complex data not supported" when x is complex.
LUMEX_API void GammaCDFUpper(const TVec& x, double a, double b, TVec& dst);

/// Vector form of GammaCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param a         shape (> 0).
/// @param b         scale (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "GammaCDFInv: complex data not supported" when p is complex.
LUMEX_API void GammaCDFInv(const TVec& p, double a, double b, TVec& dst);

/// @}

/// @name Erlang law
/// @{

/// Density of the Erlang law with k phases and rate lambda.
///
/// The gamma law of shape k and scale 1/lambda: the time to the k-th event of a Poisson process of
/// rate lambda, on [0, Inf). Reference: R's dgamma, pgamma and qgamma with shape k and rate lambda.
/// @param x       point; any double.
/// @param k       number of phases, an integer k >= 1 (taken as a double).
/// @param lambda  rate, lambda > 0 and finite.
/// @return        the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double ErlangPDF(double x, double k, double lambda);

/// Erlang distribution function P(X <= x) (law at ErlangPDF).
/// @param x       point.
/// @param k       number of phases (integer >= 1).
/// @param lambda  rate (> 0).
/// @return        P(X <= x).
LUMEX_API double ErlangCDF(double x, double k, double lambda);

/// Erlang upper tail P(X > x), computed directly (law at ErlangPDF).
/// @param x       point.
/// @param k       number of phases (integer >= 1).
/// @param lambda  rate (> 0).
/// @return        P(X > x).
LUMEX_API double ErlangCDFUpper(double x, double k, double lambda);

/// Erlang quantile, the inverse of ErlangCDF (law at ErlangPDF).
/// @param p       probability, in [0, 1].
/// @param k       number of phases (integer >= 1).
/// @param lambda  rate (> 0).
/// @return        the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double ErlangCDFInv(double p, double k, double lambda);

/// Vector form of ErlangPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param k         number of phases (integer >= 1).
/// @param lambda    rate (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "ErlangPDF: complex data not supported" when x is complex.
LUMEX_API void ErlangPDF(const TVec& x, double k, double lambda, TVec& dst);

/// Vector form of ErlangCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param k         number of phases (integer >= 1).
/// @param lambda    rate (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "ErlangCDF: complex data not supported" when x is complex.
LUMEX_API void ErlangCDF(const TVec& x, double k, double lambda, TVec& dst);

/// Vector form of ErlangCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param k         number of phases (integer >= 1).
/// @param lambda    rate (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "ErlangCDFUpper: complex data not supported" when x is complex.
LUMEX_API void ErlangCDFUpper(const TVec& x, double k, double lambda, TVec& dst);

/// Vector form of ErlangCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param k         number of phases (integer >= 1).
/// @param lambda    rate (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "ErlangCDFInv: complex data not supported" when p is complex.
LUMEX_API void ErlangCDFInv(const TVec& p, double k, double lambda, TVec& dst);

/// @}

/// @name Exponential law
/// @{

/// Density of the exponential law with mean mu.
///
/// P(X <= x) = 1 - exp(-x/mu) on [0, Inf); the density at 0 is 1/mu. Reference: R's dexp, pexp and
/// qexp with rate 1/mu.
/// @param x   point; any double.
/// @param mu  mean, mu > 0 and finite (not the rate).
/// @return    the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double ExpPDF(double x, double mu);

/// Exponential distribution function P(X <= x) (law at ExpPDF).
/// @param x   point.
/// @param mu  mean (> 0; not the rate).
/// @return    P(X <= x).
LUMEX_API double ExpCDF(double x, double mu);

/// Exponential upper tail P(X > x), computed directly (law at ExpPDF).
/// @param x   point.
/// @param mu  mean (> 0; not the rate).
/// @return    P(X > x).
LUMEX_API double ExpCDFUpper(double x, double mu);

/// Exponential quantile, the inverse of ExpCDF (law at ExpPDF).
/// @param p   probability, in [0, 1].
/// @param mu  mean (> 0; not the rate).
/// @return    the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double ExpCDFInv(double p, double mu);

/// Vector form of ExpPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0; not the rate).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "ExpPDF: complex data not supported" when x is complex.
LUMEX_API void ExpPDF(const TVec& x, double mu, TVec& dst);

/// Vector form of ExpCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0; not the rate).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "ExpCDF: complex data not supported" when x is complex.
LUMEX_API void ExpCDF(const TVec& x, double mu, TVec& dst);

/// Vector form of ExpCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0; not the rate).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "ExpCDFUpper: complex data not supported" when x is complex.
LUMEX_API void ExpCDFUpper(const TVec& x, double mu, TVec& dst);

/// Vector form of ExpCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        mean (> 0; not the rate).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "ExpCDFInv: complex data not supported" when p is complex.
LUMEX_API void ExpCDFInv(const TVec& p, double mu, TVec& dst);

/// @}

/// @name Beta law
/// @{

/// Density of the beta law with shapes a and b.
///
/// Density x^(a-1) (1-x)^(b-1) / B(a, b) on [0, 1]; at x = 0 it is +Inf for a < 1, b for a = 1 and
/// 0 for a > 1 (at x = 1 likewise with a and b exchanged). Vanishing shapes take the limits of the
/// file's common rules. Reference: R's dbeta, pbeta and qbeta.
/// @param x  point; any double.
/// @param a  first shape, a > 0 and finite.
/// @param b  second shape, b > 0 and finite.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double BetaPDF(double x, double a, double b);

/// Beta distribution function P(X <= x) (law at BetaPDF).
/// @param x  point.
/// @param a  first shape (> 0).
/// @param b  second shape (> 0).
/// @return   P(X <= x).
LUMEX_API double BetaCDF(double x, double a, double b);

/// Beta upper tail P(X > x), computed directly (law at BetaPDF).
/// @param x  point.
/// @param a  first shape (> 0).
/// @param b  second shape (> 0).
/// @return   P(X > x).
LUMEX_API double BetaCDFUpper(double x, double a, double b);

/// Beta quantile, the inverse of BetaCDF (law at BetaPDF).
/// @param p  probability, in [0, 1].
/// @param a  first shape (> 0).
/// @param b  second shape (> 0).
/// @return   the x with P(X <= x) = p: 0 at p = 0, 1 at p = 1.
LUMEX_API double BetaCDFInv(double p, double a, double b);

/// Vector form of BetaPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         first shape (> 0).
/// @param b         second shape (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "BetaPDF: complex data not supported" when x is complex.
LUMEX_API void BetaPDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of BetaCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         first shape (> 0).
/// @param b         second shape (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "BetaCDF: complex data not supported" when x is complex.
LUMEX_API void BetaCDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of BetaCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         first shape (> 0).
/// @param b         second shape (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "BetaCDFUpper: complex data not supported" when x is complex.
LUMEX_API void BetaCDFUpper(const TVec& x, double a, double b, TVec& dst);

/// Vector form of BetaCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param a         first shape (> 0).
/// @param b         second shape (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "BetaCDFInv: complex data not supported" when p is complex.
LUMEX_API void BetaCDFInv(const TVec& p, double a, double b, TVec& dst);

/// @}

/// @name Weibull law
/// @{

/// Density of the Weibull law with scale A and shape B, in this order.
///
/// P(X <= x) = 1 - exp(-(x/A)^B) on [0, Inf); the density at 0 is +Inf for B < 1, 1/A for B = 1 and
/// 0 for B > 1. This is the parameterisation of the Weibull fit, plot and goodness-of-fit tests.
/// The random generator RandomWeibull(A, B) instead has P(X <= x) = 1 - exp(-A x^B): its A is this
/// scale to the power -B. Reference: R's dweibull, pweibull and qweibull with shape B and scale A.
/// @param x  point; any double.
/// @param A  scale, A > 0 and finite (the first parameter).
/// @param B  shape, B > 0 and finite (the second parameter).
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double WeibullPDF(double x, double A, double B);

/// Weibull distribution function P(X <= x) (law at WeibullPDF).
/// @param x  point.
/// @param A  scale (> 0).
/// @param B  shape (> 0).
/// @return   P(X <= x).
LUMEX_API double WeibullCDF(double x, double A, double B);

/// Weibull upper tail P(X > x), computed directly (law at WeibullPDF).
/// @param x  point.
/// @param A  scale (> 0).
/// @param B  shape (> 0).
/// @return   P(X > x).
LUMEX_API double WeibullCDFUpper(double x, double A, double B);

/// Weibull quantile, the inverse of WeibullCDF (law at WeibullPDF).
/// @param p  probability, in [0, 1].
/// @param A  scale (> 0).
/// @param B  shape (> 0).
/// @return   the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double WeibullCDFInv(double p, double A, double B);

/// Vector form of WeibullPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         scale (> 0).
/// @param B         shape (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "WeibullPDF: complex data not supported" when x is complex.
LUMEX_API void WeibullPDF(const TVec& x, double A, double B, TVec& dst);

/// Vector form of WeibullCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         scale (> 0).
/// @param B         shape (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "WeibullCDF: complex data not supported" when x is complex.
LUMEX_API void WeibullCDF(const TVec& x, double A, double B, TVec& dst);

/// Vector form of WeibullCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         scale (> 0).
/// @param B         shape (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "WeibullCDFUpper: complex data not supported" when x is complex.
LUMEX_API void WeibullCDFUpper(const TVec& x, double A, double B, TVec& dst);

/// Vector form of WeibullCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param A         scale (> 0).
/// @param B         shape (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "WeibullCDFInv: complex data not supported" when p is complex.
LUMEX_API void WeibullCDFInv(const TVec& p, double A, double B, TVec& dst);

/// @}

/// @name Maxwell law
/// @{

/// Density of the Maxwell (Maxwell-Boltzmann) law with scale a.
///
/// X = a sqrt(chi2(3)): density sqrt(2/pi) x^2 exp(-x^2/(2a^2)) / a^3 on [0, Inf); E[X^2] = 3a^2.
/// Reference: R's chi-square functions with 3 degrees of freedom at (x/a)^2 (R lacks the law).
/// @param x  point; any double.
/// @param a  scale, a >= 0 and finite; a = 0 is the point mass at 0.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double MaxwellPDF(double x, double a);

/// Maxwell distribution function P(X <= x) (law at MaxwellPDF).
/// @param x  point.
/// @param a  scale (>= 0).
/// @return   P(X <= x).
LUMEX_API double MaxwellCDF(double x, double a);

/// Maxwell upper tail P(X > x), computed directly (law at MaxwellPDF).
/// @param x  point.
/// @param a  scale (>= 0).
/// @return   P(X > x).
LUMEX_API double MaxwellCDFUpper(double x, double a);

/// Maxwell quantile, the inverse of MaxwellCDF (law at MaxwellPDF).
/// @param p  probability, in [0, 1].
/// @param a  scale (>= 0).
/// @return   the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double MaxwellCDFInv(double p, double a);

/// Vector form of MaxwellPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         scale (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "MaxwellPDF: complex data not supported" when x is complex.
LUMEX_API void MaxwellPDF(const TVec& x, double a, TVec& dst);

/// Vector form of MaxwellCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         scale (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "MaxwellCDF: complex data not supported" when x is complex.
LUMEX_API void MaxwellCDF(const TVec& x, double a, TVec& dst);

/// Vector form of MaxwellCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         scale (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "MaxwellCDFUpper: complex data not supported" when x is complex.
LUMEX_API void MaxwellCDFUpper(const TVec& x, double a, TVec& dst);

/// Vector form of MaxwellCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param a         scale (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "MaxwellCDFInv: complex data not supported" when p is complex.
LUMEX_API void MaxwellCDFInv(const TVec& p, double a, TVec& dst);

/// @}

/// @name Rayleigh law
/// @{

/// Density of the Rayleigh law with scale b.
///
/// P(X <= x) = 1 - exp(-x^2/(2b^2)) on [0, Inf); E[X^2] = 2b^2. Reference: the closed forms in
/// 256-bit arithmetic (R lacks the law).
/// @param x  point; any double.
/// @param b  scale, b >= 0 and finite; b = 0 is the point mass at 0.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double RayleighPDF(double x, double b);

/// Rayleigh distribution function P(X <= x) (law at RayleighPDF).
/// @param x  point.
/// @param b  scale (>= 0).
/// @return   P(X <= x).
LUMEX_API double RayleighCDF(double x, double b);

/// Rayleigh upper tail P(X > x), computed directly (law at RayleighPDF).
/// @param x  point.
/// @param b  scale (>= 0).
/// @return   P(X > x).
LUMEX_API double RayleighCDFUpper(double x, double b);

/// Rayleigh quantile, the inverse of RayleighCDF (law at RayleighPDF).
/// @param p  probability, in [0, 1].
/// @param b  scale (>= 0).
/// @return   the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double RayleighCDFInv(double p, double b);

/// Vector form of RayleighPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param b         scale (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "RayleighPDF: complex data not supported" when x is complex.
LUMEX_API void RayleighPDF(const TVec& x, double b, TVec& dst);

/// Vector form of RayleighCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param b         scale (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "RayleighCDF: complex data not supported" when x is complex.
LUMEX_API void RayleighCDF(const TVec& x, double b, TVec& dst);

/// Vector form of RayleighCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param b         scale (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "RayleighCDFUpper: complex data not supported" when x is complex.
LUMEX_API void RayleighCDFUpper(const TVec& x, double b, TVec& dst);

/// Vector form of RayleighCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param b         scale (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "RayleighCDFInv: complex data not supported" when p is complex.
LUMEX_API void RayleighCDFInv(const TVec& p, double b, TVec& dst);

/// @}

/// @name Log-normal law
/// @{

/// Density of the log-normal law: ln X is normal with mean mu and standard deviation sigma.
///
/// Density phi((ln x - mu)/sigma) / (sigma x) on [0, Inf), phi the standard normal density.
/// Reference: R's dlnorm, plnorm and qlnorm.
/// @param x      point; any double.
/// @param mu     mean of ln X (finite).
/// @param sigma  standard deviation of ln X, sigma >= 0 and finite; sigma = 0 is the point mass at
///               exp(mu).
/// @return       the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double LogNormalPDF(double x, double mu, double sigma);

/// Log-normal distribution function P(X <= x) (law at LogNormalPDF).
/// @param x      point.
/// @param mu     mean of ln X.
/// @param sigma  standard deviation of ln X (>= 0).
/// @return       P(X <= x).
LUMEX_API double LogNormalCDF(double x, double mu, double sigma);

/// Log-normal upper tail P(X > x), computed directly (law at LogNormalPDF).
/// @param x      point.
/// @param mu     mean of ln X.
/// @param sigma  standard deviation of ln X (>= 0).
/// @return       P(X > x).
LUMEX_API double LogNormalCDFUpper(double x, double mu, double sigma);

/// Log-normal quantile, the inverse of LogNormalCDF (law at LogNormalPDF).
/// @param p      probability, in [0, 1].
/// @param mu     mean of ln X.
/// @param sigma  standard deviation of ln X (>= 0).
/// @return       the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double LogNormalCDFInv(double p, double mu, double sigma);

/// Vector form of LogNormalPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean of ln X.
/// @param sigma     standard deviation of ln X (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "LogNormalPDF: complex data not supported" when x is complex.
LUMEX_API void LogNormalPDF(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of LogNormalCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean of ln X.
/// @param sigma     standard deviation of ln X (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "LogNormalCDF: complex data not supported" when x is complex.
LUMEX_API void LogNormalCDF(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of LogNormalCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean of ln X.
/// @param sigma     standard deviation of ln X (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "LogNormalCDFUpper: complex data not supported" when x is complex.
LUMEX_API void LogNormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst);

/// Vector form of LogNormalCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        mean of ln X.
/// @param sigma     standard deviation of ln X (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "LogNormalCDFInv: complex data not supported" when p is complex.
LUMEX_API void LogNormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst);

/// @}

/// @name Inverse Gaussian law
/// @{

/// Density of the inverse Gaussian (Wald) law with mean mu and shape lambda.
///
/// Density sqrt(lambda/(2 pi x^3)) exp(-lambda (x - mu)^2 / (2 mu^2 x)) on [0, Inf); variance
/// mu^3/lambda. Reference: the closed forms in 256-bit arithmetic (R lacks the law).
/// @param x       point; any double.
/// @param mu      mean, mu > 0 and finite.
/// @param lambda  shape, lambda > 0 and finite.
/// @return        the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double InverseGaussianPDF(double x, double mu, double lambda);

/// Inverse Gaussian distribution function P(X <= x) (law at InverseGaussianPDF).
/// @param x       point.
/// @param mu      mean (> 0).
/// @param lambda  shape (> 0).
/// @return        P(X <= x).
LUMEX_API double InverseGaussianCDF(double x, double mu, double lambda);

/// Inverse Gaussian upper tail P(X > x), computed directly (law at InverseGaussianPDF).
/// @param x       point.
/// @param mu      mean (> 0).
/// @param lambda  shape (> 0).
/// @return        P(X > x).
LUMEX_API double InverseGaussianCDFUpper(double x, double mu, double lambda);

/// Inverse Gaussian quantile, the inverse of InverseGaussianCDF (law at InverseGaussianPDF).
/// @param p       probability, in [0, 1].
/// @param mu      mean (> 0).
/// @param lambda  shape (> 0).
/// @return        the x with P(X <= x) = p: 0 at p = 0, +Inf at p = 1.
LUMEX_API double InverseGaussianCDFInv(double p, double mu, double lambda);

/// Vector form of InverseGaussianPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0).
/// @param lambda    shape (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "InverseGaussianPDF: complex data not supported" when x is complex.
LUMEX_API void InverseGaussianPDF(const TVec& x, double mu, double lambda, TVec& dst);

/// Vector form of InverseGaussianCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0).
/// @param lambda    shape (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "InverseGaussianCDF: complex data not supported" when x is complex.
LUMEX_API void InverseGaussianCDF(const TVec& x, double mu, double lambda, TVec& dst);

/// Vector form of InverseGaussianCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        mean (> 0).
/// @param lambda    shape (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "InverseGaussianCDFUpper: complex data not supported" when x is complex.
LUMEX_API void InverseGaussianCDFUpper(const TVec& x, double mu, double lambda, TVec& dst);

/// Vector form of InverseGaussianCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        mean (> 0).
/// @param lambda    shape (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "InverseGaussianCDFInv: complex data not supported" when p is complex.
LUMEX_API void InverseGaussianCDFInv(const TVec& p, double mu, double lambda, TVec& dst);

/// @}

/// @name Cauchy law
/// @{

/// Density of the Cauchy law with location A and scale B.
///
/// Density 1 / (pi B (1 + ((x - A)/B)^2)) on the whole line. Reference: R's dcauchy, pcauchy and
/// qcauchy.
/// @param x  point; any double.
/// @param A  location (finite).
/// @param B  scale, B > 0 and finite.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double CauchyPDF(double x, double A, double B);

/// Cauchy distribution function P(X <= x) (law at CauchyPDF).
/// @param x  point.
/// @param A  location.
/// @param B  scale (> 0).
/// @return   P(X <= x).
LUMEX_API double CauchyCDF(double x, double A, double B);

/// Cauchy upper tail P(X > x), computed directly (law at CauchyPDF).
/// @param x  point.
/// @param A  location.
/// @param B  scale (> 0).
/// @return   P(X > x).
LUMEX_API double CauchyCDFUpper(double x, double A, double B);

/// Cauchy quantile, the inverse of CauchyCDF (law at CauchyPDF).
/// @param p  probability, in [0, 1].
/// @param A  location.
/// @param B  scale (> 0).
/// @return   the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double CauchyCDFInv(double p, double A, double B);

/// Vector form of CauchyPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         location.
/// @param B         scale (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "CauchyPDF: complex data not supported" when x is complex.
LUMEX_API void CauchyPDF(const TVec& x, double A, double B, TVec& dst);

/// Vector form of CauchyCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         location.
/// @param B         scale (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "CauchyCDF: complex data not supported" when x is complex.
LUMEX_API void CauchyCDF(const TVec& x, double A, double B, TVec& dst);

/// Vector form of CauchyCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param A         location.
/// @param B         scale (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "CauchyCDFUpper: complex data not supported" when x is complex.
LUMEX_API void CauchyCDFUpper(const TVec& x, double A, double B, TVec& dst);

/// Vector form of CauchyCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param A         location.
/// @param B         scale (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "CauchyCDFInv: complex data not supported" when p is complex.
LUMEX_API void CauchyCDFInv(const TVec& p, double A, double B, TVec& dst);

/// @}

/// @name Laplace law
/// @{

/// Density of the Laplace (double exponential) law with location m and scale b.
///
/// Density exp(-|x - m|/b) / (2b) on the whole line; variance 2b^2. Reference: the closed forms in
/// 256-bit arithmetic (R lacks the law).
/// @param x  point; any double.
/// @param m  location (finite).
/// @param b  scale, b >= 0 and finite; b = 0 is the point mass at m.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double LaplacePDF(double x, double m, double b);

/// Laplace distribution function P(X <= x) (law at LaplacePDF).
/// @param x  point.
/// @param m  location.
/// @param b  scale (>= 0).
/// @return   P(X <= x).
LUMEX_API double LaplaceCDF(double x, double m, double b);

/// Laplace upper tail P(X > x), computed directly (law at LaplacePDF).
/// @param x  point.
/// @param m  location.
/// @param b  scale (>= 0).
/// @return   P(X > x).
LUMEX_API double LaplaceCDFUpper(double x, double m, double b);

/// Laplace quantile, the inverse of LaplaceCDF (law at LaplacePDF).
/// @param p  probability, in [0, 1].
/// @param m  location.
/// @param b  scale (>= 0).
/// @return   the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double LaplaceCDFInv(double p, double m, double b);

/// Vector form of LaplacePDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param m         location.
/// @param b         scale (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "LaplacePDF: complex data not supported" when x is complex.
LUMEX_API void LaplacePDF(const TVec& x, double m, double b, TVec& dst);

/// Vector form of LaplaceCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param m         location.
/// @param b         scale (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "LaplaceCDF: complex data not supported" when x is complex.
LUMEX_API void LaplaceCDF(const TVec& x, double m, double b, TVec& dst);

/// Vector form of LaplaceCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param m         location.
/// @param b         scale (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "LaplaceCDFUpper: complex data not supported" when x is complex.
LUMEX_API void LaplaceCDFUpper(const TVec& x, double m, double b, TVec& dst);

/// Vector form of LaplaceCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param m         location.
/// @param b         scale (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "LaplaceCDFInv: complex data not supported" when p is complex.
LUMEX_API void LaplaceCDFInv(const TVec& p, double m, double b, TVec& dst);

/// @}

/// @name Logistic law
/// @{

/// Density of the logistic law with location mu and scale s.
///
/// P(X <= x) = 1 / (1 + exp(-(x - mu)/s)) on the whole line; variance (pi s)^2 / 3. Reference: R's
/// dlogis, plogis and qlogis.
/// @param x   point; any double.
/// @param mu  location (finite).
/// @param s   scale, s >= 0 and finite; s = 0 is the point mass at mu.
/// @return    the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double LogisticPDF(double x, double mu, double s);

/// Logistic distribution function P(X <= x) (law at LogisticPDF).
/// @param x   point.
/// @param mu  location.
/// @param s   scale (>= 0).
/// @return    P(X <= x).
LUMEX_API double LogisticCDF(double x, double mu, double s);

/// Logistic upper tail P(X > x), computed directly (law at LogisticPDF).
/// @param x   point.
/// @param mu  location.
/// @param s   scale (>= 0).
/// @return    P(X > x).
LUMEX_API double LogisticCDFUpper(double x, double mu, double s);

/// Logistic quantile, the inverse of LogisticCDF (law at LogisticPDF).
/// @param p   probability, in [0, 1].
/// @param mu  location.
/// @param s   scale (>= 0).
/// @return    the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double LogisticCDFInv(double p, double mu, double s);

/// Vector form of LogisticPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param s         scale (>= 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "LogisticPDF: complex data not supported" when x is complex.
LUMEX_API void LogisticPDF(const TVec& x, double mu, double s, TVec& dst);

/// Vector form of LogisticCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param s         scale (>= 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "LogisticCDF: complex data not supported" when x is complex.
LUMEX_API void LogisticCDF(const TVec& x, double mu, double s, TVec& dst);

/// Vector form of LogisticCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param s         scale (>= 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "LogisticCDFUpper: complex data not supported" when x is complex.
LUMEX_API void LogisticCDFUpper(const TVec& x, double mu, double s, TVec& dst);

/// Vector form of LogisticCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        location.
/// @param s         scale (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "LogisticCDFInv: complex data not supported" when p is complex.
LUMEX_API void LogisticCDFInv(const TVec& p, double mu, double s, TVec& dst);

/// @}

/// @name Gumbel law
/// @{

/// Density of the Gumbel (largest extreme value) law with location mu and scale beta.
///
/// P(X <= x) = exp(-exp(-(x - mu)/beta)) on the whole line; right-skewed, mean mu + 0.5772... beta.
/// Reference: the closed forms in 256-bit arithmetic (R lacks the law).
/// @param x     point; any double.
/// @param mu    location (finite).
/// @param beta  scale, beta > 0 and finite.
/// @return      the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double GumbelPDF(double x, double mu, double beta);

/// Gumbel distribution function P(X <= x) (law at GumbelPDF).
/// @param x     point.
/// @param mu    location.
/// @param beta  scale (> 0).
/// @return      P(X <= x).
LUMEX_API double GumbelCDF(double x, double mu, double beta);

/// Gumbel upper tail P(X > x), computed directly (law at GumbelPDF).
/// @param x     point.
/// @param mu    location.
/// @param beta  scale (> 0).
/// @return      P(X > x).
LUMEX_API double GumbelCDFUpper(double x, double mu, double beta);

/// Gumbel quantile, the inverse of GumbelCDF (law at GumbelPDF).
/// @param p     probability, in [0, 1].
/// @param mu    location.
/// @param beta  scale (> 0).
/// @return      the x with P(X <= x) = p: -Inf at p = 0, +Inf at p = 1.
LUMEX_API double GumbelCDFInv(double p, double mu, double beta);

/// Vector form of GumbelPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param beta      scale (> 0).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "GumbelPDF: complex data not supported" when x is complex.
LUMEX_API void GumbelPDF(const TVec& x, double mu, double beta, TVec& dst);

/// Vector form of GumbelCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param beta      scale (> 0).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "GumbelCDF: complex data not supported" when x is complex.
LUMEX_API void GumbelCDF(const TVec& x, double mu, double beta, TVec& dst);

/// Vector form of GumbelCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param mu        location.
/// @param beta      scale (> 0).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "GumbelCDFUpper: complex data not supported" when x is complex.
LUMEX_API void GumbelCDFUpper(const TVec& x, double mu, double beta, TVec& dst);

/// Vector form of GumbelCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param mu        location.
/// @param beta      scale (> 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "GumbelCDFInv: complex data not supported" when p is complex.
LUMEX_API void GumbelCDFInv(const TVec& p, double mu, double beta, TVec& dst);

/// @}

/// @name Continuous uniform law
/// @{

/// Density of the continuous uniform law on [a, b].
///
/// Density 1/(b - a) on [a, b]. Reference: R's dunif, punif and qunif.
/// @param x  point; any double.
/// @param a  lower limit (finite).
/// @param b  upper limit, b >= a and finite; a = b is the point mass at a.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double UniformPDF(double x, double a, double b);

/// Uniform distribution function P(X <= x) (law at UniformPDF).
/// @param x  point.
/// @param a  lower limit.
/// @param b  upper limit (>= a).
/// @return   P(X <= x).
LUMEX_API double UniformCDF(double x, double a, double b);

/// Uniform upper tail P(X > x), computed directly (law at UniformPDF).
/// @param x  point.
/// @param a  lower limit.
/// @param b  upper limit (>= a).
/// @return   P(X > x).
LUMEX_API double UniformCDFUpper(double x, double a, double b);

/// Uniform quantile, the inverse of UniformCDF (law at UniformPDF).
/// @param p  probability, in [0, 1].
/// @param a  lower limit.
/// @param b  upper limit (>= a).
/// @return   a + p (b - a): a at p = 0, b at p = 1 (a for every p when a = b).
LUMEX_API double UniformCDFInv(double p, double a, double b);

/// Vector form of UniformPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit (>= a).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "UniformPDF: complex data not supported" when x is complex.
LUMEX_API void UniformPDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of UniformCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit (>= a).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "UniformCDF: complex data not supported" when x is complex.
LUMEX_API void UniformCDF(const TVec& x, double a, double b, TVec& dst);

/// Vector form of UniformCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit (>= a).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "UniformCDFUpper: complex data not supported" when x is complex.
LUMEX_API void UniformCDFUpper(const TVec& x, double a, double b, TVec& dst);

/// Vector form of UniformCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit (>= a).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "UniformCDFInv: complex data not supported" when p is complex.
LUMEX_API void UniformCDFInv(const TVec& p, double a, double b, TVec& dst);

/// @}

/// @name Triangular law
/// @{

/// Density of the triangular law with lower limit a, upper limit b and mode c, in this order.
///
/// The density rises linearly from 0 at a to 2/(b - a) at c and falls to 0 at b. At a mode on a
/// limit the density there is 2/(b - a). Reference: the closed forms in 256-bit arithmetic (R lacks
/// the law).
/// @param x  point; any double.
/// @param a  lower limit (finite).
/// @param b  upper limit (finite).
/// @param c  mode, a <= c <= b; a = b = c is the point mass at a, and a < b otherwise.
/// @return   the density at x.
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the density 0 and the CDF 0 or 1.
LUMEX_API double TriangularPDF(double x, double a, double b, double c);

/// Triangular distribution function P(X <= x) (law at TriangularPDF).
/// @param x  point.
/// @param a  lower limit.
/// @param b  upper limit.
/// @param c  mode (a <= c <= b).
/// @return   P(X <= x).
LUMEX_API double TriangularCDF(double x, double a, double b, double c);

/// Triangular upper tail P(X > x), computed directly (law at TriangularPDF).
/// @param x  point.
/// @param a  lower limit.
/// @param b  upper limit.
/// @param c  mode (a <= c <= b).
/// @return   P(X > x).
LUMEX_API double TriangularCDFUpper(double x, double a, double b, double c);

/// Triangular quantile, the inverse of TriangularCDF (law at TriangularPDF).
/// @param p  probability, in [0, 1].
/// @param a  lower limit.
/// @param b  upper limit.
/// @param c  mode (a <= c <= b).
/// @return   the x with P(X <= x) = p: a at p = 0, b at p = 1 (a for every p at a point mass).
LUMEX_API double TriangularCDFInv(double p, double a, double b, double c);

/// Vector form of TriangularPDF: the density at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit.
/// @param c         mode (a <= c <= b).
/// @param[out] dst  receives the density at each element, sized and typed like x.
/// @throws ELumexError "TriangularPDF: complex data not supported" when x is complex.
LUMEX_API void TriangularPDF(const TVec& x, double a, double b, double c, TVec& dst);

/// Vector form of TriangularCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit.
/// @param c         mode (a <= c <= b).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "TriangularCDF: complex data not supported" when x is complex.
LUMEX_API void TriangularCDF(const TVec& x, double a, double b, double c, TVec& dst);

/// Vector form of TriangularCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit.
/// @param c         mode (a <= c <= b).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "TriangularCDFUpper: complex data not supported" when x is complex.
LUMEX_API void TriangularCDFUpper(const TVec& x, double a, double b, double c, TVec& dst);

/// Vector form of TriangularCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param a         lower limit.
/// @param b         upper limit.
/// @param c         mode (a <= c <= b).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "TriangularCDFInv: complex data not supported" when p is complex.
LUMEX_API void TriangularCDFInv(const TVec& p, double a, double b, double c, TVec& dst);

/// @}

// ---- Discrete laws (PDF is the probability mass) --------------------------------------------

/// @name Binomial law
/// @{

/// Probability mass P(X = k) of the binomial law: successes in n trials with success probability p.
///
/// Support 0 .. n; n = 0 or p = 0 is the point mass at 0, p = 1 the point mass at n. Reference: R's
/// dbinom, pbinom and qbinom.
/// @param k  point; any double (a non-integer point has mass 0).
/// @param n  number of trials, an integer n >= 0 (taken as a double).
/// @param p  success probability, 0 <= p <= 1.
/// @return   P(X = k).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; k = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double BinomPDF(double k, double n, double p);

/// Binomial distribution function P(X <= k) (law at BinomPDF).
/// @param k  point (count).
/// @param n  number of trials (integer >= 0).
/// @param p  success probability (0 <= p <= 1).
/// @return   P(X <= k).
LUMEX_API double BinomCDF(double k, double n, double p);

/// Binomial upper tail P(X > k), computed directly (law at BinomPDF).
/// @param k  point (count).
/// @param n  number of trials (integer >= 0).
/// @param p  success probability (0 <= p <= 1).
/// @return   P(X > k).
LUMEX_API double BinomCDFUpper(double k, double n, double p);

/// Binomial quantile, the inverse of BinomCDF (law at BinomPDF).
/// @param q  probability, in [0, 1].
/// @param n  number of trials (integer >= 0).
/// @param p  success probability (0 <= p <= 1).
/// @return   the least k with P(X <= k) >= q: 0 at q = 0, n at q = 1 (0 when p = 0).
LUMEX_API double BinomCDFInv(double q, double n, double p);

/// Vector form of BinomPDF: the probability mass at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param n         number of trials (integer >= 0).
/// @param p         success probability (0 <= p <= 1).
/// @param[out] dst  receives the probability mass at each element, sized and typed like k.
/// @throws ELumexError "BinomPDF: complex data not supported" when k is complex.
LUMEX_API void BinomPDF(const TVec& k, double n, double p, TVec& dst);

/// Vector form of BinomCDF: P(X <= k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param n         number of trials (integer >= 0).
/// @param p         success probability (0 <= p <= 1).
/// @param[out] dst  receives P(X <= k) at each element, sized and typed like k.
/// @throws ELumexError "BinomCDF: complex data not supported" when k is complex.
LUMEX_API void BinomCDF(const TVec& k, double n, double p, TVec& dst);

/// Vector form of BinomCDFUpper: P(X > k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param n         number of trials (integer >= 0).
/// @param p         success probability (0 <= p <= 1).
/// @param[out] dst  receives P(X > k) at each element, sized and typed like k.
/// @throws ELumexError "BinomCDFUpper: complex data not supported" when k is complex.
LUMEX_API void BinomCDFUpper(const TVec& k, double n, double p, TVec& dst);

/// Vector form of BinomCDFInv: the quantile at each element of q.
/// @param q         probabilities; real storage, single or double precision.
/// @param n         number of trials (integer >= 0).
/// @param p         success probability (0 <= p <= 1).
/// @param[out] dst  receives the quantile at each element, sized and typed like q.
/// @throws ELumexError "BinomCDFInv: complex data not supported" when q is complex.
LUMEX_API void BinomCDFInv(const TVec& q, double n, double p, TVec& dst);

/// @}

/// @name Poisson law
/// @{

/// Probability mass P(X = k) of the Poisson law with mean lambda.
///
/// Support 0, 1, 2, ... Reference: R's dpois, ppois and qpois.
/// @param k       point; any double (a non-integer point has mass 0).
/// @param lambda  mean, lambda >= 0 and finite; lambda = 0 is the point mass at 0.
/// @return        P(X = k).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; k = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double PoissonPDF(double k, double lambda);

/// Poisson distribution function P(X <= k) (law at PoissonPDF).
/// @param k       point (count).
/// @param lambda  mean (>= 0).
/// @return        P(X <= k).
LUMEX_API double PoissonCDF(double k, double lambda);

/// Poisson upper tail P(X > k), computed directly (law at PoissonPDF).
/// @param k       point (count).
/// @param lambda  mean (>= 0).
/// @return        P(X > k).
LUMEX_API double PoissonCDFUpper(double k, double lambda);

/// Poisson quantile, the inverse of PoissonCDF (law at PoissonPDF).
/// @param p       probability, in [0, 1].
/// @param lambda  mean (>= 0).
/// @return        the least k with P(X <= k) >= p: 0 at p = 0, +Inf at p = 1 (0 when lambda = 0).
LUMEX_API double PoissonCDFInv(double p, double lambda);

/// Vector form of PoissonPDF: the probability mass at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param lambda    mean (>= 0).
/// @param[out] dst  receives the probability mass at each element, sized and typed like k.
/// @throws ELumexError "PoissonPDF: complex data not supported" when k is complex.
LUMEX_API void PoissonPDF(const TVec& k, double lambda, TVec& dst);

/// Vector form of PoissonCDF: P(X <= k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param lambda    mean (>= 0).
/// @param[out] dst  receives P(X <= k) at each element, sized and typed like k.
/// @throws ELumexError "PoissonCDF: complex data not supported" when k is complex.
LUMEX_API void PoissonCDF(const TVec& k, double lambda, TVec& dst);

/// Vector form of PoissonCDFUpper: P(X > k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param lambda    mean (>= 0).
/// @param[out] dst  receives P(X > k) at each element, sized and typed like k.
/// @throws ELumexError "PoissonCDFUpper: complex data not supported" when k is complex.
LUMEX_API void PoissonCDFUpper(const TVec& k, double lambda, TVec& dst);

/// Vector form of PoissonCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param lambda    mean (>= 0).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "PoissonCDFInv: complex data not supported" when p is complex.
LUMEX_API void PoissonCDFInv(const TVec& p, double lambda, TVec& dst);

/// @}

/// @name Geometric law
/// @{

/// Probability mass P(X = k) of the geometric law: failures before the first success.
///
/// P(X = k) = p (1 - p)^k for k = 0, 1, 2, ...; mean (1 - p)/p. Reference: R's dgeom, pgeom and
/// qgeom.
/// @param k  point; any double (a non-integer point has mass 0).
/// @param p  success probability, 0 < p <= 1; p = 1 is the point mass at 0.
/// @return   P(X = k).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; k = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double GeometricPDF(double k, double p);

/// Geometric distribution function P(X <= k) (law at GeometricPDF).
/// @param k  point (count).
/// @param p  success probability (0 < p <= 1).
/// @return   P(X <= k).
LUMEX_API double GeometricCDF(double k, double p);

/// Geometric upper tail P(X > k), computed directly (law at GeometricPDF).
/// @param k  point (count).
/// @param p  success probability (0 < p <= 1).
/// @return   P(X > k).
LUMEX_API double GeometricCDFUpper(double k, double p);

/// Geometric quantile, the inverse of GeometricCDF (law at GeometricPDF).
/// @param q  probability, in [0, 1].
/// @param p  success probability (0 < p <= 1).
/// @return   the least k with P(X <= k) >= q: 0 at q = 0, +Inf at q = 1 (0 when p = 1).
LUMEX_API double GeometricCDFInv(double q, double p);

/// Vector form of GeometricPDF: the probability mass at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives the probability mass at each element, sized and typed like k.
/// @throws ELumexError "GeometricPDF: complex data not supported" when k is complex.
LUMEX_API void GeometricPDF(const TVec& k, double p, TVec& dst);

/// Vector form of GeometricCDF: P(X <= k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives P(X <= k) at each element, sized and typed like k.
/// @throws ELumexError "GeometricCDF: complex data not supported" when k is complex.
LUMEX_API void GeometricCDF(const TVec& k, double p, TVec& dst);

/// Vector form of GeometricCDFUpper: P(X > k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives P(X > k) at each element, sized and typed like k.
/// @throws ELumexError "GeometricCDFUpper: complex data not supported" when k is complex.
LUMEX_API void GeometricCDFUpper(const TVec& k, double p, TVec& dst);

/// Vector form of GeometricCDFInv: the quantile at each element of q.
/// @param q         probabilities; real storage, single or double precision.
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives the quantile at each element, sized and typed like q.
/// @throws ELumexError "GeometricCDFInv: complex data not supported" when q is complex.
LUMEX_API void GeometricCDFInv(const TVec& q, double p, TVec& dst);

/// @}

/// @name Negative binomial law
/// @{

/// Probability mass P(X = k) of the negative binomial law: failures before the r-th success.
///
/// P(X = k) = Gamma(r + k) / (Gamma(r) k!) p^r (1 - p)^k for k = 0, 1, 2, ...; mean r (1 - p)/p.
/// Vanishing r takes the limit of the file's common rules. Reference: R's dnbinom, pnbinom and
/// qnbinom with size r and prob p.
/// @param k  point; any double (a non-integer point has mass 0).
/// @param r  number of successes, r > 0, real and finite.
/// @param p  success probability, 0 < p <= 1; p = 1 is the point mass at 0.
/// @return   P(X = k).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; k = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double NegBinomPDF(double k, double r, double p);

/// Negative binomial distribution function P(X <= k) (law at NegBinomPDF).
/// @param k  point (count).
/// @param r  number of successes (> 0, real).
/// @param p  success probability (0 < p <= 1).
/// @return   P(X <= k).
LUMEX_API double NegBinomCDF(double k, double r, double p);

/// Negative binomial upper tail P(X > k), computed directly (law at NegBinomPDF).
/// @param k  point (count).
/// @param r  number of successes (> 0, real).
/// @param p  success probability (0 < p <= 1).
/// @return   P(X > k).
LUMEX_API double NegBinomCDFUpper(double k, double r, double p);

/// Negative binomial quantile, the inverse of NegBinomCDF (law at NegBinomPDF).
/// @param q  probability, in [0, 1].
/// @param r  number of successes (> 0, real).
/// @param p  success probability (0 < p <= 1).
/// @return   the least k with P(X <= k) >= q: 0 at q = 0, +Inf at q = 1 (0 when p = 1).
LUMEX_API double NegBinomCDFInv(double q, double r, double p);

/// Vector form of NegBinomPDF: the probability mass at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param r         number of successes (> 0, real).
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives the probability mass at each element, sized and typed like k.
/// @throws ELumexError "NegBinomPDF: complex data not supported" when k is complex.
LUMEX_API void NegBinomPDF(const TVec& k, double r, double p, TVec& dst);

/// Vector form of NegBinomCDF: P(X <= k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param r         number of successes (> 0, real).
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives P(X <= k) at each element, sized and typed like k.
/// @throws ELumexError "NegBinomCDF: complex data not supported" when k is complex.
LUMEX_API void NegBinomCDF(const TVec& k, double r, double p, TVec& dst);

/// Vector form of NegBinomCDFUpper: P(X > k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param r         number of successes (> 0, real).
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives P(X > k) at each element, sized and typed like k.
/// @throws ELumexError "NegBinomCDFUpper: complex data not supported" when k is complex.
LUMEX_API void NegBinomCDFUpper(const TVec& k, double r, double p, TVec& dst);

/// Vector form of NegBinomCDFInv: the quantile at each element of q.
/// @param q         probabilities; real storage, single or double precision.
/// @param r         number of successes (> 0, real).
/// @param p         success probability (0 < p <= 1).
/// @param[out] dst  receives the quantile at each element, sized and typed like q.
/// @throws ELumexError "NegBinomCDFInv: complex data not supported" when q is complex.
LUMEX_API void NegBinomCDFInv(const TVec& q, double r, double p, TVec& dst);

/// @}

/// @name Hypergeometric law
/// @{

/// Probability mass P(X = x) of the hypergeometric law: successes among N draws without replacement
/// from M items of which K are successes.
///
/// Support max(0, N + K - M) .. min(N, K). Reference: R's dhyper(x, K, M - K, N), phyper and
/// qhyper.
/// @param x  point; any double (a non-integer point has mass 0).
/// @param M  number of items, an integer 0 <= M < 2^31 (taken as a double).
/// @param K  number of successes among them, an integer 0 <= K <= M.
/// @param N  number of draws, an integer 0 <= N <= M.
/// @return   P(X = x).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; x = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double HypGeometricPDF(double x, double M, double K, double N);

/// Hypergeometric distribution function P(X <= x) (law at HypGeometricPDF).
/// @param x  point (count).
/// @param M  number of items (integer, M < 2^31).
/// @param K  successes among them (integer, 0 <= K <= M).
/// @param N  number of draws (integer, 0 <= N <= M).
/// @return   P(X <= x).
LUMEX_API double HypGeometricCDF(double x, double M, double K, double N);

/// Hypergeometric upper tail P(X > x), computed directly (law at HypGeometricPDF).
/// @param x  point (count).
/// @param M  number of items (integer, M < 2^31).
/// @param K  successes among them (integer, 0 <= K <= M).
/// @param N  number of draws (integer, 0 <= N <= M).
/// @return   P(X > x).
LUMEX_API double HypGeometricCDFUpper(double x, double M, double K, double N);

/// Hypergeometric quantile, the inverse of HypGeometricCDF (law at HypGeometricPDF).
/// @param p  probability, in [0, 1].
/// @param M  number of items (integer, M < 2^31).
/// @param K  successes among them (integer, 0 <= K <= M).
/// @param N  number of draws (integer, 0 <= N <= M).
/// @return   the least x with P(X <= x) >= p: the ends of the support at p = 0 and p = 1.
LUMEX_API double HypGeometricCDFInv(double p, double M, double K, double N);

/// Vector form of HypGeometricPDF: the probability mass at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param M         number of items (integer, M < 2^31).
/// @param K         successes among them (integer, 0 <= K <= M).
/// @param N         number of draws (integer, 0 <= N <= M).
/// @param[out] dst  receives the probability mass at each element, sized and typed like x.
/// @throws ELumexError "HypGeometricPDF: complex data not supported" when x is complex.
LUMEX_API void HypGeometricPDF(const TVec& x, double M, double K, double N, TVec& dst);

/// Vector form of HypGeometricCDF: P(X <= x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param M         number of items (integer, M < 2^31).
/// @param K         successes among them (integer, 0 <= K <= M).
/// @param N         number of draws (integer, 0 <= N <= M).
/// @param[out] dst  receives P(X <= x) at each element, sized and typed like x.
/// @throws ELumexError "HypGeometricCDF: complex data not supported" when x is complex.
LUMEX_API void HypGeometricCDF(const TVec& x, double M, double K, double N, TVec& dst);

/// Vector form of HypGeometricCDFUpper: P(X > x) at each element of x.
/// @param x         points; real storage, single or double precision.
/// @param M         number of items (integer, M < 2^31).
/// @param K         successes among them (integer, 0 <= K <= M).
/// @param N         number of draws (integer, 0 <= N <= M).
/// @param[out] dst  receives P(X > x) at each element, sized and typed like x.
/// @throws ELumexError "HypGeometricCDFUpper: complex data not supported" when x is complex.
LUMEX_API void HypGeometricCDFUpper(const TVec& x, double M, double K, double N, TVec& dst);

/// Vector form of HypGeometricCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param M         number of items (integer, M < 2^31).
/// @param K         successes among them (integer, 0 <= K <= M).
/// @param N         number of draws (integer, 0 <= N <= M).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "HypGeometricCDFInv: complex data not supported" when p is complex.
LUMEX_API void HypGeometricCDFInv(const TVec& p, double M, double K, double N, TVec& dst);

/// @}

/// @name Discrete uniform law
/// @{

/// Probability mass P(X = k) of the discrete uniform law on the integers 1 to N.
///
/// P(X = k) = 1/N for k = 1 .. N. Reference: the definition in exact rational arithmetic (R lacks
/// the law).
/// @param k  point; any double (a non-integer point has mass 0).
/// @param N  number of values, an integer N >= 1 (taken as a double).
/// @return   P(X = k).
///
/// NaN/Inf: a NaN argument or a parameter outside its domain gives NaN, in the scalar and vector
/// forms alike; k = -Inf and +Inf give the mass 0 and the CDF 0 or 1.
LUMEX_API double UniformDPDF(double k, double N);

/// Discrete uniform distribution function P(X <= k) (law at UniformDPDF).
/// @param k  point (count).
/// @param N  number of values (integer >= 1).
/// @return   P(X <= k).
LUMEX_API double UniformDCDF(double k, double N);

/// Discrete uniform upper tail P(X > k), computed directly (law at UniformDPDF).
/// @param k  point (count).
/// @param N  number of values (integer >= 1).
/// @return   P(X > k).
LUMEX_API double UniformDCDFUpper(double k, double N);

/// Discrete uniform quantile, the inverse of UniformDCDF (law at UniformDPDF).
/// @param p  probability, in [0, 1].
/// @param N  number of values (integer >= 1).
/// @return   the least k with P(X <= k) >= p: 1 at p = 0, N at p = 1.
LUMEX_API double UniformDCDFInv(double p, double N);

/// Vector form of UniformDPDF: the probability mass at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param N         number of values (integer >= 1).
/// @param[out] dst  receives the probability mass at each element, sized and typed like k.
/// @throws ELumexError "UniformDPDF: complex data not supported" when k is complex.
LUMEX_API void UniformDPDF(const TVec& k, double N, TVec& dst);

/// Vector form of UniformDCDF: P(X <= k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param N         number of values (integer >= 1).
/// @param[out] dst  receives P(X <= k) at each element, sized and typed like k.
/// @throws ELumexError "UniformDCDF: complex data not supported" when k is complex.
LUMEX_API void UniformDCDF(const TVec& k, double N, TVec& dst);

/// Vector form of UniformDCDFUpper: P(X > k) at each element of k.
/// @param k         points; real storage, single or double precision.
/// @param N         number of values (integer >= 1).
/// @param[out] dst  receives P(X > k) at each element, sized and typed like k.
/// @throws ELumexError "UniformDCDFUpper: complex data not supported" when k is complex.
LUMEX_API void UniformDCDFUpper(const TVec& k, double N, TVec& dst);

/// Vector form of UniformDCDFInv: the quantile at each element of p.
/// @param p         probabilities; real storage, single or double precision.
/// @param N         number of values (integer >= 1).
/// @param[out] dst  receives the quantile at each element, sized and typed like p.
/// @throws ELumexError "UniformDCDFInv: complex data not supported" when p is complex.
LUMEX_API void UniformDCDFInv(const TVec& p, double N, TVec& dst);

/// @}

}  // namespace lumex
