/// @file
/// The StatRandom module: random variate generators.
///
/// Each generator fills the caller's Results with independent variates of one law. Results is
/// not resized: every element is overwritten and its length, shape and storage precision stay as
/// the caller set them. Real-valued laws take a TDenseLumex (vector or matrix, single or double
/// precision; single storage receives the double variates rounded); the four integer-valued laws
/// (RandomBinom, RandomHypGeometric, RandomNegBinom, RandomPoisson) take a TLumexInt, that is a
/// TVecInt (another integer object raises the core's "<Method>: integer vector expected").
///
/// Seed. The last parameter of every generator. Any value other than -1 is used as it is, and the
/// same Seed with the same parameters gives the same Results on every call, in every thread. -1
/// asks for a fresh seed: round(u * 4294967295) taken as a 32-bit integer, u a uniform number of
/// the core's default source (see RandSeed and FreshSeed in lumex/core/random.h: the default
/// source is itself deterministic until the program seeds it).
///
/// Each call builds a private generator of the core (one stream, kind brgXoshiro256 with the
/// resolved seed), draws from it and destroys it on every exit. Nothing survives the call, so
/// every generator is reentrant.
///
/// Errors. Parameter checks come first, in the order listed, then the complex check, then the
/// seed is resolved; a bad parameter raises before anything is written. Parameters that a
/// generator does not check itself (non-finite values, and the ranges of RandomCauchy,
/// RandomRayleigh, RandomPoisson) are checked by the core stream, whose ELumexError passes
/// unchanged ("<Method>: parameters not finite" and the like), except in RandomNormal,
/// RandomUniform, RandomUniformD and RandomWeibull, which raise it again prefixed with
/// "<Name> : ". The laws computed by transforming uniform or normal variates here
/// (RandomGenPareto, RandomGeometric, RandomLogistic, RandomLogNormal, RandomMaxwell,
/// RandomTriangular) do not reject non-finite parameters: their variates come out NaN or
/// infinite.
#pragma once

#include "lumex/core/core.h"

namespace lumex {

/// Beta variates on [0, 1] with shapes A and B: density x^(A-1) (1-x)^(B-1) / B(A, B).
///
/// @param A, B          the shapes, A > 0 and B > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomBeta: (A<=0) or (B<=)" when A <= 0 or B <= 0 (the message is
///         cut short as shown).
/// @throws ELumexError "RandomBeta: Results.Complex=true" for complex Results.
///
/// NaN/Inf: a NaN or infinite shape raises the core's "RandomBeta: parameters not finite".
LUMEX_API void RandomBeta(double A, double B, TDenseLumex& Results, int Seed = -1);

/// Binomial variates: the successes in N trials of success probability P.
///
/// @param N             the number of trials, 0 <= N < 2147483647.
/// @param P             the success probability, 0 <= P <= 1.
/// @param[out] Results  integer vector that receives the variates; its length is kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomBinom: (P < 0) or ( P > 1)" for P outside [0, 1].
/// @throws ELumexError "RandomBinomial: n < 0" (from the core) for a negative N, and
///         "RandomBinomial: n = 2147483647" for the largest int.
///
/// NaN/Inf: a NaN P raises the core's "RandomBinomial: (p < 0) or (p > 1)".
LUMEX_API void RandomBinom(int N, double P, TLumexInt& Results, int Seed = -1);

/// Cauchy variates with location Mu and scale B: density 1 / (pi B (1 + ((x - Mu)/B)^2)).
///
/// @param Mu            the location (median).
/// @param B             the scale, B >= 0; B = 0 gives Mu everywhere.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomCauchy: Results.Complex=true" for complex Results.
/// @throws ELumexError "RandomCauchy: b < 0" (from the core) for a negative B.
///
/// NaN/Inf: a non-finite Mu or B raises the core's "RandomCauchy: parameters not finite".
LUMEX_API void RandomCauchy(double Mu, double B, TDenseLumex& Results, int Seed = -1);

/// Chi-square variates with Nu degrees of freedom: RandomGamma(Nu/2, 2, Results, Seed).
///
/// @param Nu            the degrees of freedom, Nu > 0.
/// @param[out] Results  receives the variates; its size and precision are kept. It is set to
///                      zero first, also when the check of Nu then raises.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomChiSquare : Results.Complex=true" for complex Results.
/// @throws ELumexError "RandomGamma: A<=0 or B<=0 " (from RandomGamma, trailing blank included)
///         for Nu <= 0.
LUMEX_API void RandomChiSquare(int Nu, TDenseLumex& Results, int Seed = -1);

/// Erlang variates with K phases of rate Lambda: the gamma law of shape K and scale 1/Lambda,
/// mean K/Lambda.
///
/// The same output as RandomGamma(K, 1/Lambda) for the same seed.
/// @param K             the number of phases (shape), K > 0.
/// @param Lambda        the rate of each phase, Lambda > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomErlang : (k<=0) or (lambda<=0)" for K <= 0 or Lambda <= 0.
/// @throws ELumexError "RandomErlang : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a NaN Lambda (or one so small that 1/Lambda overflows) raises the core's
/// "RandomGamma: parameters not finite"; Lambda = +Inf raises "RandomGamma: A<=0 or B<=0 ".
LUMEX_API void RandomErlang(int K, double Lambda, TDenseLumex& Results, int Seed = -1);

/// Exponential variates with mean Mu (a scale, not a rate): P(X <= x) = 1 - exp(-x/Mu), x >= 0.
///
/// @param Mu            the mean, Mu > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomExponent: mu <= 0!" for Mu <= 0.
/// @throws ELumexError "RandomExponent : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite Mu raises the core's "RandomExponential: parameters not finite".
LUMEX_API void RandomExponent(double Mu, TDenseLumex& Results, int Seed = -1);

/// F (Fisher-Snedecor) variates with ANu1 and ANu2 degrees of freedom: (X/ANu1) / (Y/ANu2),
/// X and Y chi-square variates from RandomChiSquare, each called with the caller's Seed.
///
/// Beware: with a fixed Seed both chi-square draws come from generators with the same seed, so
/// X and Y are dependent (ANu1 = ANu2 gives exactly 1 everywhere) and the output does not
/// follow the F law. Pass Seed = -1 (two fresh seeds) for F variates.
/// @param ANu1, ANu2    the numerator and denominator degrees of freedom, both > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed of both draws; -1 draws a fresh one for each.
/// @throws ELumexError "RandomF:(ANu1<=0) or (ANu2<=0)" for a degree of freedom <= 0.
/// @throws ELumexError "RandomF : Results.Complex=true" for complex Results.
LUMEX_API void RandomF(int ANu1, int ANu2, TDenseLumex& Results, int Seed = -1);

/// Gamma variates with shape A and scale B: density x^(A-1) exp(-x/B) / (Gamma(A) B^A),
/// mean A B.
///
/// @param A             the shape, A > 0.
/// @param B             the scale, B > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomGamma: A<=0 or B<=0 " (with the trailing blank) for A <= 0 or
///         B <= 0.
/// @throws ELumexError "RandomGamma : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite A or B raises the core's "RandomGamma: parameters not finite".
LUMEX_API void RandomGamma(double A, double B, TDenseLumex& Results, int Seed = -1);

/// Generalised Pareto variates with shape K, location Mu and scale Sigma, by inversion.
///
/// X = Mu + (Sigma/K) (U^(-K) - 1), U uniform on [EPS, 1), so that
/// P(X <= x) = 1 - (1 + K (x - Mu)/Sigma)^(-1/K) on [Mu, Inf) for K > 0 and on
/// [Mu, Mu - Sigma/K] for K < 0. K = 0 gives the limit of both, the exponential law
/// Mu - Sigma ln U (the formula itself would be 0/0 there).
/// @param K             the shape.
/// @param Mu            the location (lower end of the support).
/// @param Sigma         the scale, Sigma > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomGenPareto: sigma <= 0" for Sigma <= 0.
/// @throws ELumexError "RandomUniform: complex data not supported" (from the core stream) for
///         complex Results: there is no complex check of its own.
///
/// NaN/Inf: non-finite parameters are not rejected and give NaN or infinite variates.
LUMEX_API void RandomGenPareto(double K, double Mu, double Sigma, TDenseLumex& Results,
                               int Seed = -1);

/// Geometric variates: the failures before the first success, P(X = k) = P (1 - P)^k,
/// k = 0, 1, 2, ...
///
/// Whole numbers held as reals, trunc(ln U / ln(1 - P)) with U uniform on [EPS, 1 - EPS).
/// @param P             the success probability, 0 < P <= 1; P = 1 gives zeros (no generator
///                      is made).
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomGeometric: (p <= 0 ) or (p > 1)" for P outside (0, 1].
/// @throws ELumexError "RandomGeometric : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a NaN P is not rejected and gives NaN variates.
LUMEX_API void RandomGeometric(double P, TDenseLumex& Results, int Seed = -1);

/// Gumbel (largest extreme value) variates with location Mu and scale Beta:
/// P(X <= x) = exp(-exp(-(x - Mu)/Beta)).
///
/// @param Mu            the location (mode).
/// @param Beta          the scale, Beta > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomGumbel: beta<=0" for Beta <= 0.
/// @throws ELumexError "RandomGumbel : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite Mu or Beta raises the core's "RandomGumbel: parameters not finite".
LUMEX_API void RandomGumbel(double Mu, double Beta, TDenseLumex& Results, int Seed = -1);

/// Hypergeometric variates: the successes among N draws without replacement from M items of
/// which K are successes.
///
/// @param M             the number of items, M >= max(K, N).
/// @param K             the number of successes among them, K >= 0.
/// @param N             the number of draws, N >= 0.
/// @param[out] Results  integer vector that receives values in max(0, N + K - M) .. min(N, K);
///                      its length is kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomHypGeometric: ( M < 0 ) or ( K < 0 ) or ( N < 0 )" for a
///         negative count.
/// @throws ELumexError "RandomHypGeometric: M < Max(K ,N)" when K or N exceeds M.
LUMEX_API void RandomHypGeometric(int M, int K, int N, TLumexInt& Results, int Seed = -1);

/// Laplace (double exponential) variates with location Mu and scale B: density
/// exp(-|x - Mu|/B) / (2B).
///
/// @param Mu            the location (mean and median).
/// @param B             the scale, B >= 0; B = 0 gives Mu everywhere.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomLaplace: b < 0" for B < 0.
/// @throws ELumexError "RandomLaplace : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite Mu or B raises the core's "RandomLaplace: parameters not finite".
LUMEX_API void RandomLaplace(double Mu, double B, TDenseLumex& Results, int Seed = -1);

/// Logistic variates with location Mu and scale B: P(X <= x) = 1 / (1 + exp(-(x - Mu)/B)).
///
/// By inversion of U uniform on [EPS, 1 - EPS) (LogisticCDFInv).
/// @param Mu            the location (mean).
/// @param B             the scale, B > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomLogistic: b<=0" for B <= 0.
/// @throws ELumexError "RandomLogistic: Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite Mu or B is not rejected and gives NaN variates.
LUMEX_API void RandomLogistic(double Mu, double B, TDenseLumex& Results, int Seed = -1);

/// Log-normal variates exp(Mu + Sigma Z), Z standard normal: ln X has mean Mu and standard
/// deviation Sigma.
///
/// @param Mu            the mean of ln X.
/// @param Sigma         the standard deviation of ln X, Sigma > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomLogNormal: sigma < 0" for Sigma <= 0 (Sigma = 0 is rejected too,
///         although the message says < 0).
/// @throws ELumexError "RandomLogNormal : Results.Complex=true" for complex Results.
///
/// NaN/Inf: non-finite Mu or Sigma are not rejected: NaN gives NaN variates, an infinite one
/// variates of 0 or Inf (NaN where infinities of both signs meet).
LUMEX_API void RandomLogNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed = -1);

/// Maxwell (Maxwell-Boltzmann) variates with scale A: A sqrt(chi-square(3)), density
/// sqrt(2/pi) x^2 exp(-x^2/(2A^2)) / A^3.
///
/// By inversion of U uniform on [EPS, 1 - EPS) (MaxwellCDFInv).
/// @param A             the scale, A >= 0; A = 0 gives zeros.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomMaxwell: (a < 0 )" for A < 0.
/// @throws ELumexError "RandomMaxwell : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a NaN or infinite A is not rejected and gives NaN variates.
LUMEX_API void RandomMaxwell(double A, TDenseLumex& Results, int Seed = -1);

/// Negative binomial variates: the failures before the R-th success,
/// P(X = k) = Gamma(R + k) / (Gamma(R) k!) P^R (1 - P)^k.
///
/// @param R             the number of successes, R > 0 (real).
/// @param P             the success probability, 0 < P <= 1; P = 1 gives zeros (no seed is
///                      drawn, no generator made).
/// @param[out] Results  integer vector that receives the variates; its length is kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)" for a parameter out
///         of range.
///
/// NaN/Inf: a non-finite R or a NaN P raises the core's
/// "RandomNegbinomial: parameters not finite".
LUMEX_API void RandomNegBinom(double R, double P, TLumexInt& Results, int Seed = -1);

/// Normal variates with mean Mu and standard deviation Sigma (ziggurat method).
///
/// @param Mu            the mean.
/// @param Sigma         the standard deviation, Sigma >= 0; Sigma = 0 gives Mu everywhere.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomNormal: sigma < 0" for Sigma < 0.
/// @throws ELumexError "RandomNormal : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite Mu or Sigma raises
/// "RandomNormal : RandomGaussian: mu or sigma not finite".
LUMEX_API void RandomNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed = -1);

/// Poisson variates with mean Lambda (the core's PTRS method).
///
/// @param Lambda         the mean, 0 <= Lambda <= 1e9.
/// @param[out] Results   integer vector that receives the variates; its length is kept.
/// @param Seed           the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomPoisson: lambda not finite", "RandomPoisson: lambda < 0" and
///         "RandomPoisson: lambda > 1e9", raised by the core: there is no check of its own.
LUMEX_API void RandomPoisson(double Lambda, TLumexInt& Results, int Seed = -1);

/// Rayleigh variates with parameter Sigma: P(X <= x) = 1 - exp(-x^2 / (2 Sigma^2)), x >= 0;
/// mean Sigma sqrt(pi/2).
///
/// @param Sigma         the parameter, Sigma >= 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomRayleigh : Results.Complex=true" for complex Results.
/// @throws ELumexError "RandomRayleigh: scale < 0" (from the core) for a negative Sigma.
///
/// NaN/Inf: a non-finite Sigma raises the core's "RandomRayleigh: parameters not finite".
LUMEX_API void RandomRayleigh(double Sigma, TDenseLumex& Results, int Seed = -1);

/// Student's t variates with Nu degrees of freedom.
///
/// Nu = 1: the ratio of two normal variates (Cauchy); Nu = 2: sqrt(2) (U - 1/2) /
/// sqrt(U (1 - U)), U uniform; Nu >= 3: sqrt(Nu) (B - 1/2) / sqrt(B (1 - B)), B from
/// RandomBeta(Nu/2, Nu/2) with the same Seed.
/// @param Nu            the degrees of freedom, Nu > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomStudent: v <= 0" for Nu <= 0.
/// @throws ELumexError "RandomStudent : Results.Complex=true" for complex Results.
LUMEX_API void RandomStudent(int Nu, TDenseLumex& Results, int Seed = -1);

/// Triangular variates with lower limit A, upper limit B and mode C, by inversion.
///
/// With U from RandomUniform (same Seed): A + sqrt(U (B - A)(C - A)) for
/// U <= (C - A)/(B - A), else B - sqrt((1 - U)(B - A)(B - C)).
/// @param A, B          the lower and upper limits, A <= B.
/// @param C             the mode, A <= C <= B. A = B = C gives B everywhere.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomTriangular: a > b" for A > B.
/// @throws ELumexError "RandomTriangular: (c>b) or (c<a)" for a mode outside [A, B].
/// @throws ELumexError "RandomTriangular : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a NaN limit or mode is not rejected and gives NaN variates; infinite limits give
/// infinite or NaN variates.
LUMEX_API void RandomTriangular(double A, double B, double C, TDenseLumex& Results, int Seed = -1);

/// Continuous uniform variates on [A, B).
///
/// @param A, B          the limits, A <= B; A = B gives A everywhere.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomUniform: a > b" for A > B.
/// @throws ELumexError "RandomUniform : Results.Complex=true" for complex Results.
///
/// NaN/Inf: non-finite limits (or an overflowing B - A) raise
/// "RandomUniform : RandomUniform: a, b or b - a not finite".
LUMEX_API void RandomUniform(double A, double B, TDenseLumex& Results, int Seed = -1);

/// Discrete uniform variates on 1 .. N, whole numbers held as reals.
///
/// ceil(N U), U uniform on [EPS, 1 - EPS).
/// @param N             the largest value, N >= 0; N = 0 gives zeros.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomUniformD: N < 0" for N < 0.
/// @throws ELumexError "RandomUniformD : Results.Complex=true" for complex Results.
LUMEX_API void RandomUniformD(int N, TDenseLumex& Results, int Seed = -1);

/// Weibull variates with P(X <= x) = 1 - exp(-A x^B), x >= 0.
///
/// Note the difference from WeibullCDF(x, A, B) of the core and the Weibull fits, whose A is
/// the scale: RandomWeibull(A, B) follows WeibullCDF(x, A^(-1/B), B).
/// @param A             a rate, A > 0: the scale is A^(-1/B).
/// @param B             the shape, B > 0.
/// @param[out] Results  receives the variates; its size and precision are kept.
/// @param Seed          the generator seed; -1 draws a fresh one.
/// @throws ELumexError "RandomWeibull: (a<=0) or (b<=0)" for A <= 0 or B <= 0.
/// @throws ELumexError "RandomWeibull : Results.Complex=true" for complex Results.
///
/// NaN/Inf: a non-finite A or B (or a scale that overflows) raises
/// "RandomWeibull : RandomWeibull: parameters not finite".
LUMEX_API void RandomWeibull(double A, double B, TDenseLumex& Results, int Seed = -1);

}  // namespace lumex
