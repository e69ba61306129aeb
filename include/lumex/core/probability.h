// Probability functions. Each law has, in this order, PDF (for a discrete law the probability
// mass P(X = x)), CDF (P(X <= x)), CDFUpper (P(X > x), computed directly so that small upper
// tails keep their digits: a right-tailed significance of 1e-20 comes out as 1e-20, not 0) and
// CDFInv (the inverse of CDF). Scalar forms take the point first and the parameters after it;
// vector forms take (source, parameters, destination), size the destination like the source
// (single-precision storage gives single-precision results, computed in double) and raise
// "<Function>: complex data not supported" for complex storage.
//
// Common rules, stated once:
// - A parameter outside the law's domain (given per law below), or NaN anywhere, gives NaN.
//   Nothing throws and errno is never set. Parameters must be finite unless a law says
//   otherwise.
// - A point outside the support gives the density 0 and the CDF 0 or 1; x = -Inf and +Inf are
//   valid points. For a discrete law a non-integer x has mass 0 and CDF(x) = CDF(floor(x)).
// - Integer parameters (binomial n, Erlang k, hypergeometric M, K, N, discrete uniform N)
//   are taken as doubles; a non-integer value is outside the domain and gives NaN.
// - CDFInv takes p in [0, 1] (NaN outside): p = 0 and p = 1 give the ends of the support
//   (possibly -Inf or +Inf). For a discrete law CDFInv(p) is the least support point x with
//   P(X <= x) >= p, as R defines it, with R's relative tolerance of 64 machine epsilons on p, so
//   that CDFInv(CDF(k)) = k although CDF(k) carries rounding errors.
// - A law whose scale may be 0 (where said) is then the point mass at its location: density
//   +Inf there and 0 elsewhere, CDF 0 below and 1 from the location on, CDFInv(p) the location
//   for 0 < p < 1.
// - Vanishing shapes (below 1e-100, down to the smallest subnormal) give the limits of the laws:
//   a gamma or chi-square law has P(X <= x) = 1 for every x > 0, upper tail a E1(x/b) and lower
//   quantiles 0; a beta law with one vanishing shape is the point mass at 0 (a) or 1 (b) for
//   every CDFInv, and with both the two-point law with mass b/(a + b) at 0; the negative
//   binomial mass is p^r at 0 and r (1 - p)^k / k beyond. Densities keep their digits there.
// Accuracy: every function agrees with its reference to 1e-13 relative for densities and CDFs
// and 1e-12 for inverses, on grids that reach tails of 1e-300, extreme parameters (degrees of
// freedom 0.5 to 1e6, shapes 1e-3 to 1e4) and the edges of each support. The references are
// R 4.2's d*, p*, q* functions, and 256-bit evaluations of the definitions where R lacks the
// law or is itself short of those digits (tests/reference/core/distributions.R says which).
#pragma once

#include <cstdint>

#include "lumex/core/containers.h"

namespace lumex {

// The distribution selector. Ordinals are fixed (stored by callers); those not named are
// reserved. Laws other than the twelve whose ordinals are fixed take the free ordinals in
// alphabetical order of their names, each after the fixed ordinal that precedes it.
enum TDistribution : std::uint8_t {
  distBeta = 0,
  distBinom = 1,
  distCauchy = 2,
  distChiSquare = 5,
  distErlang = 6,
  distExponential = 7,
  distF = 8,
  distGamma = 11,
  distGeometric = 12,
  distGumbel = 13,
  distHypGeometric = 14,
  distInverseGaussian = 15,
  distLaplace = 22,
  distLogistic = 23,
  distLogNormal = 25,
  distMaxwell = 27,
  distNegBinom = 28,
  distNormal = 29,
  distPoisson = 30,
  distRayleigh = 33,
  distStudent = 34,
  distTriangular = 35,
  distUniform = 36,
  distUniformD = 37,
  distWeibull = 38
};

// ---- Special functions ------------------------------------------------------------------------

// Gamma function; NaN at 0 and the negative integers (poles), +Inf beyond 171.62.
LUMEX_API double Gamma(double x);
// ln|Gamma(x)|; +Inf at 0 and the negative integers.
LUMEX_API double LnGamma(double x);
// Second derivative of ln Gamma; +Inf at 0 and the negative integers.
LUMEX_API double trigamma(double x);
// Error function erf(x) = 2/sqrt(pi) * integral_0^x exp(-t^2) dt, and its complement
// erfc(x) = 1 - erf(x) computed directly (keeps its digits for large x).
LUMEX_API double Erf(double x);
LUMEX_API double Erfc(double x);
// Inverse of Erf on [-1, 1]: -Inf at -1, +Inf at 1, NaN outside.
LUMEX_API double ErfInv(double x);

// ---- Continuous laws ----------------------------------------------------------------------------

// Normal with mean mu and standard deviation sigma >= 0 (sigma = 0: point mass at mu).
// Density exp(-z^2/2) / (sigma sqrt(2 pi)), z = (x - mu)/sigma.
LUMEX_API double NormalPDF(double x, double mu = 0.0, double sigma = 1.0);
LUMEX_API double NormalCDF(double x, double mu = 0.0, double sigma = 1.0);
LUMEX_API double NormalCDFUpper(double x, double mu = 0.0, double sigma = 1.0);
LUMEX_API double NormalCDFInv(double p, double mu = 0.0, double sigma = 1.0);
LUMEX_API void NormalPDF(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void NormalCDF(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void NormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void NormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst);

// Student's t with df > 0 degrees of freedom (real; df = +Inf is the standard normal).
LUMEX_API double StudentPDF(double x, double df);
LUMEX_API double StudentCDF(double x, double df);
LUMEX_API double StudentCDFUpper(double x, double df);
LUMEX_API double StudentCDFInv(double p, double df);
LUMEX_API void StudentPDF(const TVec& x, double df, TVec& dst);
LUMEX_API void StudentCDF(const TVec& x, double df, TVec& dst);
LUMEX_API void StudentCDFUpper(const TVec& x, double df, TVec& dst);
LUMEX_API void StudentCDFInv(const TVec& p, double df, TVec& dst);

// Chi-square with nu > 0 degrees of freedom (real): the gamma law of shape nu/2 and scale 2.
// Support [0, Inf); the density at 0 is +Inf for nu < 2, 1/2 for nu = 2, 0 for nu > 2.
LUMEX_API double ChiSquarePDF(double x, double nu);
LUMEX_API double ChiSquareCDF(double x, double nu);
LUMEX_API double ChiSquareCDFUpper(double x, double nu);
LUMEX_API double ChiSquareCDFInv(double p, double nu);
LUMEX_API void ChiSquarePDF(const TVec& x, double nu, TVec& dst);
LUMEX_API void ChiSquareCDF(const TVec& x, double nu, TVec& dst);
LUMEX_API void ChiSquareCDFUpper(const TVec& x, double nu, TVec& dst);
LUMEX_API void ChiSquareCDFInv(const TVec& p, double nu, TVec& dst);

// Fisher's F with nu1 > 0 numerator and nu2 > 0 denominator degrees of freedom (real, finite):
// (chi2(nu1)/nu1) / (chi2(nu2)/nu2). Support [0, Inf). The forms with integer vectors apply
// the law elementwise with the degrees of freedom of the same index (all three lengths equal,
// else "<Function>: lengths differ"); a zero or negative count gives NaN at that index.
LUMEX_API double FPDF(double x, double nu1, double nu2);
LUMEX_API double FCDF(double x, double nu1, double nu2);
LUMEX_API double FCDFUpper(double x, double nu1, double nu2);
LUMEX_API double FCDFInv(double p, double nu1, double nu2);
LUMEX_API void FPDF(const TVec& x, double nu1, double nu2, TVec& dst);
LUMEX_API void FCDF(const TVec& x, double nu1, double nu2, TVec& dst);
LUMEX_API void FCDFUpper(const TVec& x, double nu1, double nu2, TVec& dst);
LUMEX_API void FCDFInv(const TVec& p, double nu1, double nu2, TVec& dst);
LUMEX_API void FPDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);
LUMEX_API void FCDF(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);
LUMEX_API void FCDFUpper(const TVec& x, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);
LUMEX_API void FCDFInv(const TVec& p, const TVecInt& nu1, const TVecInt& nu2, TVec& dst);

// Gamma with shape a > 0 and scale b > 0: density x^(a-1) exp(-x/b) / (Gamma(a) b^a) on
// [0, Inf); at x = 0 it is +Inf for a < 1, 1/b for a = 1 and 0 for a > 1. Mean a*b.
LUMEX_API double GammaPDF(double x, double a, double b);
LUMEX_API double GammaCDF(double x, double a, double b);
LUMEX_API double GammaCDFUpper(double x, double a, double b);
LUMEX_API double GammaCDFInv(double p, double a, double b);
LUMEX_API void GammaPDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void GammaCDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void GammaCDFUpper(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void GammaCDFInv(const TVec& p, double a, double b, TVec& dst);

// Erlang with k >= 1 phases (an integer) and rate lambda > 0: the gamma law of shape k and
// scale 1/lambda, the time to the k-th event of a Poisson process of rate lambda.
LUMEX_API double ErlangPDF(double x, double k, double lambda);
LUMEX_API double ErlangCDF(double x, double k, double lambda);
LUMEX_API double ErlangCDFUpper(double x, double k, double lambda);
LUMEX_API double ErlangCDFInv(double p, double k, double lambda);
LUMEX_API void ErlangPDF(const TVec& x, double k, double lambda, TVec& dst);
LUMEX_API void ErlangCDF(const TVec& x, double k, double lambda, TVec& dst);
LUMEX_API void ErlangCDFUpper(const TVec& x, double k, double lambda, TVec& dst);
LUMEX_API void ErlangCDFInv(const TVec& p, double k, double lambda, TVec& dst);

// Exponential with mean mu > 0 (not the rate): P(X <= x) = 1 - exp(-x/mu) on [0, Inf).
LUMEX_API double ExpPDF(double x, double mu);
LUMEX_API double ExpCDF(double x, double mu);
LUMEX_API double ExpCDFUpper(double x, double mu);
LUMEX_API double ExpCDFInv(double p, double mu);
LUMEX_API void ExpPDF(const TVec& x, double mu, TVec& dst);
LUMEX_API void ExpCDF(const TVec& x, double mu, TVec& dst);
LUMEX_API void ExpCDFUpper(const TVec& x, double mu, TVec& dst);
LUMEX_API void ExpCDFInv(const TVec& p, double mu, TVec& dst);

// Beta with shapes a > 0 and b > 0: density x^(a-1) (1-x)^(b-1) / B(a, b) on [0, 1]; at
// x = 0 it is +Inf for a < 1, b for a = 1 and 0 for a > 1 (at x = 1 likewise with a and b
// exchanged).
LUMEX_API double BetaPDF(double x, double a, double b);
LUMEX_API double BetaCDF(double x, double a, double b);
LUMEX_API double BetaCDFUpper(double x, double a, double b);
LUMEX_API double BetaCDFInv(double p, double a, double b);
LUMEX_API void BetaPDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void BetaCDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void BetaCDFUpper(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void BetaCDFInv(const TVec& p, double a, double b, TVec& dst);

// Weibull with scale A > 0 and shape B > 0, in this order: P(X <= x) = 1 - exp(-(x/A)^B) on
// [0, Inf). This is the parameterisation of the Weibull fit, plot and goodness-of-fit tests.
// (The random generator RandomWeibull(A, B) instead has P(X <= x) = 1 - exp(-A x^B): its A is
// this scale to the power -B.)
LUMEX_API double WeibullPDF(double x, double A, double B);
LUMEX_API double WeibullCDF(double x, double A, double B);
LUMEX_API double WeibullCDFUpper(double x, double A, double B);
LUMEX_API double WeibullCDFInv(double p, double A, double B);
LUMEX_API void WeibullPDF(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void WeibullCDF(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void WeibullCDFUpper(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void WeibullCDFInv(const TVec& p, double A, double B, TVec& dst);

// Maxwell (Maxwell-Boltzmann) with scale a >= 0 (a = 0: point mass at 0): X = a*sqrt(chi2(3)),
// density sqrt(2/pi) x^2 exp(-x^2/(2a^2)) / a^3 on [0, Inf); E[X^2] = 3a^2.
LUMEX_API double MaxwellPDF(double x, double a);
LUMEX_API double MaxwellCDF(double x, double a);
LUMEX_API double MaxwellCDFUpper(double x, double a);
LUMEX_API double MaxwellCDFInv(double p, double a);
LUMEX_API void MaxwellPDF(const TVec& x, double a, TVec& dst);
LUMEX_API void MaxwellCDF(const TVec& x, double a, TVec& dst);
LUMEX_API void MaxwellCDFUpper(const TVec& x, double a, TVec& dst);
LUMEX_API void MaxwellCDFInv(const TVec& p, double a, TVec& dst);

// Rayleigh with scale b >= 0 (b = 0: point mass at 0): P(X <= x) = 1 - exp(-x^2/(2b^2)) on
// [0, Inf); E[X^2] = 2b^2.
LUMEX_API double RayleighPDF(double x, double b);
LUMEX_API double RayleighCDF(double x, double b);
LUMEX_API double RayleighCDFUpper(double x, double b);
LUMEX_API double RayleighCDFInv(double p, double b);
LUMEX_API void RayleighPDF(const TVec& x, double b, TVec& dst);
LUMEX_API void RayleighCDF(const TVec& x, double b, TVec& dst);
LUMEX_API void RayleighCDFUpper(const TVec& x, double b, TVec& dst);
LUMEX_API void RayleighCDFInv(const TVec& p, double b, TVec& dst);

// Log-normal: ln X is normal with mean mu and standard deviation sigma >= 0 (sigma = 0: point
// mass at exp(mu)). Support [0, Inf).
LUMEX_API double LogNormalPDF(double x, double mu, double sigma);
LUMEX_API double LogNormalCDF(double x, double mu, double sigma);
LUMEX_API double LogNormalCDFUpper(double x, double mu, double sigma);
LUMEX_API double LogNormalCDFInv(double p, double mu, double sigma);
LUMEX_API void LogNormalPDF(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void LogNormalCDF(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void LogNormalCDFUpper(const TVec& x, double mu, double sigma, TVec& dst);
LUMEX_API void LogNormalCDFInv(const TVec& p, double mu, double sigma, TVec& dst);

// Inverse Gaussian (Wald) with mean mu > 0 and shape lambda > 0: density
// sqrt(lambda/(2 pi x^3)) exp(-lambda (x - mu)^2 / (2 mu^2 x)) on [0, Inf); variance mu^3/lambda.
LUMEX_API double InverseGaussianPDF(double x, double mu, double lambda);
LUMEX_API double InverseGaussianCDF(double x, double mu, double lambda);
LUMEX_API double InverseGaussianCDFUpper(double x, double mu, double lambda);
LUMEX_API double InverseGaussianCDFInv(double p, double mu, double lambda);
LUMEX_API void InverseGaussianPDF(const TVec& x, double mu, double lambda, TVec& dst);
LUMEX_API void InverseGaussianCDF(const TVec& x, double mu, double lambda, TVec& dst);
LUMEX_API void InverseGaussianCDFUpper(const TVec& x, double mu, double lambda, TVec& dst);
LUMEX_API void InverseGaussianCDFInv(const TVec& p, double mu, double lambda, TVec& dst);

// Cauchy with location A and scale B > 0: density 1 / (pi B (1 + ((x - A)/B)^2)).
LUMEX_API double CauchyPDF(double x, double A, double B);
LUMEX_API double CauchyCDF(double x, double A, double B);
LUMEX_API double CauchyCDFUpper(double x, double A, double B);
LUMEX_API double CauchyCDFInv(double p, double A, double B);
LUMEX_API void CauchyPDF(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void CauchyCDF(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void CauchyCDFUpper(const TVec& x, double A, double B, TVec& dst);
LUMEX_API void CauchyCDFInv(const TVec& p, double A, double B, TVec& dst);

// Laplace (double exponential) with location m and scale b >= 0 (b = 0: point mass at m):
// density exp(-|x - m|/b) / (2b); variance 2b^2.
LUMEX_API double LaplacePDF(double x, double m, double b);
LUMEX_API double LaplaceCDF(double x, double m, double b);
LUMEX_API double LaplaceCDFUpper(double x, double m, double b);
LUMEX_API double LaplaceCDFInv(double p, double m, double b);
LUMEX_API void LaplacePDF(const TVec& x, double m, double b, TVec& dst);
LUMEX_API void LaplaceCDF(const TVec& x, double m, double b, TVec& dst);
LUMEX_API void LaplaceCDFUpper(const TVec& x, double m, double b, TVec& dst);
LUMEX_API void LaplaceCDFInv(const TVec& p, double m, double b, TVec& dst);

// Logistic with location mu and scale s >= 0 (s = 0: point mass at mu):
// P(X <= x) = 1 / (1 + exp(-(x - mu)/s)); variance (pi s)^2 / 3.
LUMEX_API double LogisticPDF(double x, double mu, double s);
LUMEX_API double LogisticCDF(double x, double mu, double s);
LUMEX_API double LogisticCDFUpper(double x, double mu, double s);
LUMEX_API double LogisticCDFInv(double p, double mu, double s);
LUMEX_API void LogisticPDF(const TVec& x, double mu, double s, TVec& dst);
LUMEX_API void LogisticCDF(const TVec& x, double mu, double s, TVec& dst);
LUMEX_API void LogisticCDFUpper(const TVec& x, double mu, double s, TVec& dst);
LUMEX_API void LogisticCDFInv(const TVec& p, double mu, double s, TVec& dst);

// Gumbel (largest extreme value) with location mu and scale beta > 0:
// P(X <= x) = exp(-exp(-(x - mu)/beta)); right-skewed, mean mu + 0.5772... beta.
LUMEX_API double GumbelPDF(double x, double mu, double beta);
LUMEX_API double GumbelCDF(double x, double mu, double beta);
LUMEX_API double GumbelCDFUpper(double x, double mu, double beta);
LUMEX_API double GumbelCDFInv(double p, double mu, double beta);
LUMEX_API void GumbelPDF(const TVec& x, double mu, double beta, TVec& dst);
LUMEX_API void GumbelCDF(const TVec& x, double mu, double beta, TVec& dst);
LUMEX_API void GumbelCDFUpper(const TVec& x, double mu, double beta, TVec& dst);
LUMEX_API void GumbelCDFInv(const TVec& p, double mu, double beta, TVec& dst);

// Continuous uniform on [a, b], a <= b (a = b: point mass at a): density 1/(b - a).
LUMEX_API double UniformPDF(double x, double a, double b);
LUMEX_API double UniformCDF(double x, double a, double b);
LUMEX_API double UniformCDFUpper(double x, double a, double b);
LUMEX_API double UniformCDFInv(double p, double a, double b);
LUMEX_API void UniformPDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void UniformCDF(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void UniformCDFUpper(const TVec& x, double a, double b, TVec& dst);
LUMEX_API void UniformCDFInv(const TVec& p, double a, double b, TVec& dst);

// Triangular with lower limit a, upper limit b and mode c, in this order, a <= c <= b
// (a = b = c: point mass at a; a < b otherwise): density rising linearly from 0 at a to
// 2/(b - a) at c and falling to 0 at b. At a mode on a limit the density there is 2/(b - a).
LUMEX_API double TriangularPDF(double x, double a, double b, double c);
LUMEX_API double TriangularCDF(double x, double a, double b, double c);
LUMEX_API double TriangularCDFUpper(double x, double a, double b, double c);
LUMEX_API double TriangularCDFInv(double p, double a, double b, double c);
LUMEX_API void TriangularPDF(const TVec& x, double a, double b, double c, TVec& dst);
LUMEX_API void TriangularCDF(const TVec& x, double a, double b, double c, TVec& dst);
LUMEX_API void TriangularCDFUpper(const TVec& x, double a, double b, double c, TVec& dst);
LUMEX_API void TriangularCDFInv(const TVec& p, double a, double b, double c, TVec& dst);

// ---- Discrete laws (PDF is the probability mass) --------------------------------------------

// Binomial: successes in n >= 0 trials (an integer) with success probability 0 <= p <= 1;
// support 0 .. n.
LUMEX_API double BinomPDF(double k, double n, double p);
LUMEX_API double BinomCDF(double k, double n, double p);
LUMEX_API double BinomCDFUpper(double k, double n, double p);
LUMEX_API double BinomCDFInv(double q, double n, double p);
LUMEX_API void BinomPDF(const TVec& k, double n, double p, TVec& dst);
LUMEX_API void BinomCDF(const TVec& k, double n, double p, TVec& dst);
LUMEX_API void BinomCDFUpper(const TVec& k, double n, double p, TVec& dst);
LUMEX_API void BinomCDFInv(const TVec& q, double n, double p, TVec& dst);

// Poisson with mean lambda >= 0 (lambda = 0: point mass at 0); support 0, 1, 2, ...
LUMEX_API double PoissonPDF(double k, double lambda);
LUMEX_API double PoissonCDF(double k, double lambda);
LUMEX_API double PoissonCDFUpper(double k, double lambda);
LUMEX_API double PoissonCDFInv(double p, double lambda);
LUMEX_API void PoissonPDF(const TVec& k, double lambda, TVec& dst);
LUMEX_API void PoissonCDF(const TVec& k, double lambda, TVec& dst);
LUMEX_API void PoissonCDFUpper(const TVec& k, double lambda, TVec& dst);
LUMEX_API void PoissonCDFInv(const TVec& p, double lambda, TVec& dst);

// Geometric: failures before the first success, success probability 0 < p <= 1 (p = 1: point
// mass at 0); P(X = k) = p (1 - p)^k for k = 0, 1, 2, ...; mean (1 - p)/p.
LUMEX_API double GeometricPDF(double k, double p);
LUMEX_API double GeometricCDF(double k, double p);
LUMEX_API double GeometricCDFUpper(double k, double p);
LUMEX_API double GeometricCDFInv(double q, double p);
LUMEX_API void GeometricPDF(const TVec& k, double p, TVec& dst);
LUMEX_API void GeometricCDF(const TVec& k, double p, TVec& dst);
LUMEX_API void GeometricCDFUpper(const TVec& k, double p, TVec& dst);
LUMEX_API void GeometricCDFInv(const TVec& q, double p, TVec& dst);

// Negative binomial: failures before the r-th success, r > 0 (real), success probability
// 0 < p <= 1 (p = 1: point mass at 0); P(X = k) = Gamma(r + k) / (Gamma(r) k!) p^r (1 - p)^k;
// mean r (1 - p)/p.
LUMEX_API double NegBinomPDF(double k, double r, double p);
LUMEX_API double NegBinomCDF(double k, double r, double p);
LUMEX_API double NegBinomCDFUpper(double k, double r, double p);
LUMEX_API double NegBinomCDFInv(double q, double r, double p);
LUMEX_API void NegBinomPDF(const TVec& k, double r, double p, TVec& dst);
LUMEX_API void NegBinomCDF(const TVec& k, double r, double p, TVec& dst);
LUMEX_API void NegBinomCDFUpper(const TVec& k, double r, double p, TVec& dst);
LUMEX_API void NegBinomCDFInv(const TVec& q, double r, double p, TVec& dst);

// Hypergeometric: successes among N draws without replacement from M items of which K are
// successes (integers, 0 <= K <= M, 0 <= N <= M, M < 2^31); support max(0, N + K - M) ..
// min(N, K).
LUMEX_API double HypGeometricPDF(double x, double M, double K, double N);
LUMEX_API double HypGeometricCDF(double x, double M, double K, double N);
LUMEX_API double HypGeometricCDFUpper(double x, double M, double K, double N);
LUMEX_API double HypGeometricCDFInv(double p, double M, double K, double N);
LUMEX_API void HypGeometricPDF(const TVec& x, double M, double K, double N, TVec& dst);
LUMEX_API void HypGeometricCDF(const TVec& x, double M, double K, double N, TVec& dst);
LUMEX_API void HypGeometricCDFUpper(const TVec& x, double M, double K, double N, TVec& dst);
LUMEX_API void HypGeometricCDFInv(const TVec& p, double M, double K, double N, TVec& dst);

// Discrete uniform on 1 .. N, N >= 1 an integer: P(X = k) = 1/N.
LUMEX_API double UniformDPDF(double k, double N);
LUMEX_API double UniformDCDF(double k, double N);
LUMEX_API double UniformDCDFUpper(double k, double N);
LUMEX_API double UniformDCDFInv(double p, double N);
LUMEX_API void UniformDPDF(const TVec& k, double N, TVec& dst);
LUMEX_API void UniformDCDF(const TVec& k, double N, TVec& dst);
LUMEX_API void UniformDCDFUpper(const TVec& k, double N, TVec& dst);
LUMEX_API void UniformDCDFInv(const TVec& p, double N, TVec& dst);

}  // namespace lumex
