// The StatRandom module: random variate generators.
//
// Each generator fills the caller's Results with independent variates of one law. Results is
// not resized: every element is overwritten and its length, shape and storage precision stay as
// the caller set them. Real-valued laws take a TDenseLumex (vector or matrix, single or double
// precision; single storage receives the double variates rounded); the four integer-valued laws
// (RandomBinom, RandomHypGeometric, RandomNegBinom, RandomPoisson) take a TLumexInt, that is a
// TVecInt.
//
// Seed. The last parameter of every generator. Any value other than -1 is used as it is, and the
// same Seed with the same parameters gives the same Results on every call, in every thread. -1
// asks for a fresh seed: round(u * 4294967295) taken as a 32-bit integer, u a uniform number of
// the core's default source (see RandSeed in lumex/core/random.h: the default source is itself
// deterministic until the program seeds it).
//
// Each call builds a private generator of the core (one stream, kind brgXoshiro256 with the
// resolved seed), draws from it and destroys it on every exit. Nothing survives the call, so
// every generator is reentrant.
//
// Errors. Parameter checks come first, in the order listed, then the complex check, then the
// seed is resolved; a bad parameter raises before anything is written. Parameters that a
// generator does not check itself (non-finite values, and the ranges of RandomCauchy,
// RandomRayleigh, RandomPoisson) are checked by the core stream, whose ELumexError passes
// unchanged, except in RandomNormal, RandomUniform, RandomUniformD and RandomWeibull, which
// raise it again prefixed with "<Name> : ".
#pragma once

#include "lumex/core/core.h"

namespace lumex {

// Beta on [0, 1] with shapes A > 0 and B > 0: density x^(A-1) (1-x)^(B-1) / B(A, B).
// Raises "RandomBeta: (A<=0) or (B<=)" and "RandomBeta: Results.Complex=true".
LUMEX_API void RandomBeta(double A, double B, TDenseLumex& Results, int Seed = -1);

// Binomial: successes in N trials of success probability P, 0 <= P <= 1; integer Results.
// Raises "RandomBinom: (P < 0) or ( P > 1)"; the core raises "RandomBinomial: n < 0".
LUMEX_API void RandomBinom(int N, double P, TLumexInt& Results, int Seed = -1);

// Cauchy with location Mu and scale B: density 1 / (pi B (1 + ((x - Mu)/B)^2)). B = 0 gives Mu.
// Raises "RandomCauchy: Results.Complex=true"; the core raises "RandomCauchy: b < 0".
LUMEX_API void RandomCauchy(double Mu, double B, TDenseLumex& Results, int Seed = -1);

// Chi-square with Nu degrees of freedom: RandomGamma(Nu/2, 2, Results, Seed), whose check
// rejects Nu <= 0 with "RandomGamma: A<=0 or B<=0 ". Results is set to zero first (also when
// that check then raises). Raises "RandomChiSquare : Results.Complex=true".
LUMEX_API void RandomChiSquare(int Nu, TDenseLumex& Results, int Seed = -1);

// Erlang with K phases of rate Lambda: the gamma law of shape K and scale 1/Lambda, mean
// K/Lambda. Same output as RandomGamma(K, 1/Lambda) for the same seed.
// Raises "RandomErlang : (k<=0) or (lambda<=0)" and "RandomErlang : Results.Complex=true".
LUMEX_API void RandomErlang(int K, double Lambda, TDenseLumex& Results, int Seed = -1);

// Exponential with mean Mu (a scale, not a rate): P(X <= x) = 1 - exp(-x/Mu), x >= 0.
// Raises "RandomExponent: mu <= 0!" and "RandomExponent : Results.Complex=true".
LUMEX_API void RandomExponent(double Mu, TDenseLumex& Results, int Seed = -1);

// F (Fisher-Snedecor) with ANu1 and ANu2 degrees of freedom: (X/ANu1) / (Y/ANu2), X and Y
// chi-square variates from RandomChiSquare, each called with the caller's Seed.
// Beware: with a fixed Seed both chi-square draws come from generators with the same seed, so X
// and Y are dependent (ANu1 = ANu2 gives exactly 1 everywhere) and the output does not follow
// the F law. Pass Seed = -1 (two fresh seeds) for F variates.
// Raises "RandomF:(ANu1<=0) or (ANu2<=0)" and "RandomF : Results.Complex=true".
LUMEX_API void RandomF(int ANu1, int ANu2, TDenseLumex& Results, int Seed = -1);

// Gamma with shape A > 0 and scale B > 0: density x^(A-1) exp(-x/B) / (Gamma(A) B^A); mean A B.
// Raises "RandomGamma: A<=0 or B<=0 " (with the trailing blank) and
// "RandomGamma : Results.Complex=true".
LUMEX_API void RandomGamma(double A, double B, TDenseLumex& Results, int Seed = -1);

// Generalised Pareto with shape K, location Mu and scale Sigma > 0, by inversion:
// Mu + (Sigma/K) (U^(-K) - 1), U uniform on [EPS, 1), so that
// P(X <= x) = 1 - (1 + K (x - Mu)/Sigma)^(-1/K) on [Mu, Inf) for K > 0 and on
// [Mu, Mu - Sigma/K] for K < 0. K = 0 gives the limit of both, the exponential law
// Mu - Sigma ln U (the formula itself would be 0/0 there).
// Raises "RandomGenPareto: sigma <= 0"; there is no complex check of its own, the core stream
// raises "RandomUniform: complex data not supported".
LUMEX_API void RandomGenPareto(double K, double Mu, double Sigma, TDenseLumex& Results,
                               int Seed = -1);

// Geometric: failures before the first success, success probability 0 < P <= 1:
// P(X = k) = P (1 - P)^k, k = 0, 1, 2, ...; whole numbers held as reals, trunc(ln U / ln(1 - P))
// with U uniform on [EPS, 1 - EPS). P = 1 gives zeros (no generator is made).
// Raises "RandomGeometric: (p <= 0 ) or (p > 1)" and "RandomGeometric : Results.Complex=true".
LUMEX_API void RandomGeometric(double P, TDenseLumex& Results, int Seed = -1);

// Gumbel (largest extreme value) with location Mu and scale Beta > 0:
// P(X <= x) = exp(-exp(-(x - Mu)/Beta)).
// Raises "RandomGumbel: beta<=0" and "RandomGumbel : Results.Complex=true".
LUMEX_API void RandomGumbel(double Mu, double Beta, TDenseLumex& Results, int Seed = -1);

// Hypergeometric: successes among N draws without replacement from M items of which K are
// successes; integer Results in max(0, N + K - M) .. min(N, K).
// Raises "RandomHypGeometric: ( M < 0 ) or ( K < 0 ) or ( N < 0 )" and
// "RandomHypGeometric: M < Max(K ,N)".
LUMEX_API void RandomHypGeometric(int M, int K, int N, TLumexInt& Results, int Seed = -1);

// Laplace with location Mu and scale B >= 0: density exp(-|x - Mu|/B) / (2B); B = 0 gives Mu.
// Raises "RandomLaplace: b < 0" and "RandomLaplace : Results.Complex=true".
LUMEX_API void RandomLaplace(double Mu, double B, TDenseLumex& Results, int Seed = -1);

// Logistic with location Mu and scale B > 0: P(X <= x) = 1 / (1 + exp(-(x - Mu)/B)); by
// inversion of U uniform on [EPS, 1 - EPS).
// Raises "RandomLogistic: b<=0" and "RandomLogistic: Results.Complex=true".
LUMEX_API void RandomLogistic(double Mu, double B, TDenseLumex& Results, int Seed = -1);

// Log-normal: exp(Mu + Sigma Z), Z standard normal; ln X has mean Mu and standard deviation
// Sigma > 0. Sigma = 0 is rejected with "RandomLogNormal: sigma < 0" (the message says < 0).
// Also raises "RandomLogNormal : Results.Complex=true".
LUMEX_API void RandomLogNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed = -1);

// Maxwell (Maxwell-Boltzmann) with scale A >= 0: A sqrt(chi-square(3)), density
// sqrt(2/pi) x^2 exp(-x^2/(2A^2)) / A^3; by inversion of U uniform on [EPS, 1 - EPS). A = 0
// gives zeros. Raises "RandomMaxwell: (a < 0 )" and "RandomMaxwell : Results.Complex=true".
LUMEX_API void RandomMaxwell(double A, TDenseLumex& Results, int Seed = -1);

// Negative binomial: failures before the R-th success, R > 0 real, success probability
// 0 < P <= 1: P(X = k) = Gamma(R + k) / (Gamma(R) k!) P^R (1 - P)^k; integer Results. P = 1
// gives zeros (no seed is drawn, no generator made).
// Raises "RandomNegBinom: (p <= 0 ) or (p > 1) or (R <= 0)".
LUMEX_API void RandomNegBinom(double R, double P, TLumexInt& Results, int Seed = -1);

// Normal with mean Mu and standard deviation Sigma >= 0; Sigma = 0 gives Mu.
// Raises "RandomNormal: sigma < 0" and "RandomNormal : Results.Complex=true".
LUMEX_API void RandomNormal(double Mu, double Sigma, TDenseLumex& Results, int Seed = -1);

// Poisson with mean Lambda; integer Results. No check of its own: the core raises for
// Lambda < 0, Lambda > 1e9 or a non-finite Lambda.
LUMEX_API void RandomPoisson(double Lambda, TLumexInt& Results, int Seed = -1);

// Rayleigh with parameter Sigma: P(X <= x) = 1 - exp(-x^2 / (2 Sigma^2)), x >= 0; mean
// Sigma sqrt(pi/2). Raises "RandomRayleigh : Results.Complex=true"; the core raises
// "RandomRayleigh: scale < 0" for a negative Sigma.
LUMEX_API void RandomRayleigh(double Sigma, TDenseLumex& Results, int Seed = -1);

// Student's t with Nu degrees of freedom. Nu = 1: the ratio of two normal variates (Cauchy);
// Nu = 2: sqrt(2) (U - 1/2) / sqrt(U (1 - U)), U uniform; Nu >= 3: sqrt(Nu) (B - 1/2) /
// sqrt(B (1 - B)), B from RandomBeta(Nu/2, Nu/2) with the same Seed.
// Raises "RandomStudent: v <= 0" and "RandomStudent : Results.Complex=true".
LUMEX_API void RandomStudent(int Nu, TDenseLumex& Results, int Seed = -1);

// Triangular with lower limit A, upper limit B and mode C, A <= C <= B, by inversion of a
// uniform U (from RandomUniform with the same Seed): A + sqrt(U (B - A)(C - A)) for
// U <= (C - A)/(B - A), else B - sqrt((1 - U)(B - A)(B - C)). A = B = C gives B everywhere.
// Raises "RandomTriangular: a > b", "RandomTriangular: (c>b) or (c<a)" and
// "RandomTriangular : Results.Complex=true".
LUMEX_API void RandomTriangular(double A, double B, double C, TDenseLumex& Results, int Seed = -1);

// Continuous uniform on [A, B), A <= B (A = B gives A).
// Raises "RandomUniform: a > b" and "RandomUniform : Results.Complex=true".
LUMEX_API void RandomUniform(double A, double B, TDenseLumex& Results, int Seed = -1);

// Discrete uniform on 1 .. N, whole numbers held as reals: ceil(N U), U uniform on
// [EPS, 1 - EPS). N = 0 gives zeros.
// Raises "RandomUniformD: N < 0" and "RandomUniformD : Results.Complex=true".
LUMEX_API void RandomUniformD(int N, TDenseLumex& Results, int Seed = -1);

// Weibull with P(X <= x) = 1 - exp(-A x^B), x >= 0, A > 0 (a rate: the scale is A^(-1/B)) and
// shape B > 0. Note the difference from WeibullCDF(x, A, B) of the core and the Weibull fits,
// whose A is the scale: RandomWeibull(A, B) follows WeibullCDF(x, A^(-1/B), B).
// Raises "RandomWeibull: (a<=0) or (b<=0)" and "RandomWeibull : Results.Complex=true".
LUMEX_API void RandomWeibull(double A, double B, TDenseLumex& Results, int Seed = -1);

}  // namespace lumex
