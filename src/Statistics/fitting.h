// Internal routines of the fitting and goodness-of-fit families: the negative log-likelihoods
// the maximum-likelihood fits minimise, their outer-product standard errors, and the pieces of
// the goodness-of-fit tests that are worth testing on their own.
#pragma once

#include <cmath>
#include <limits>

#include "lumex/Statistics.h"

namespace lumex::detail {

// The whole-number estimates (degrees of freedom, counts, the discrete uniform's N): x rounded
// half to even and saturated to the 32-bit range, so data near 1e308 give INT_MAX (and -1e308
// INT_MIN) instead of wrapping; NaN has no integer estimate and gives 0.
inline int RoundEvenSaturated(double x) {
  const double r = std::nearbyint(x);
  if (std::isnan(r)) return 0;
  if (r >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (r <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(r);
}

// Negative log-likelihoods of the shape of BetaLike: ObjConsts = [sample, work vector], the work
// vector receiving the densities. Parameters as the core's densities take them: Cauchy
// (location, scale), gamma (shape, scale), Weibull (scale, shape; 2^-52 is added to each
// density before the logarithm), F (nu1, nu2, rounded), Student (nu, rounded), triangular
// (lower, upper, mode). The four-argument forms also write the standard errors of Pars[0] and
// Pars[1].
double CauchyLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
double CauchyLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                  TTwoElmReal& StdErr);
double GammaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
double GammaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                 TTwoElmReal& StdErr);
double WeibullLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
double WeibullLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                   TTwoElmReal& StdErr);
double FLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
double StudentLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
double TriangularLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);

// Standard errors of the first two parameters from the outer product of the per-observation
// scores of -ln f(x; Pars) (forward differences, absolute step sqrt(eps) of Pars' precision):
// V = (J^T J)^-1 through the QR factor of the N x p score matrix J. Kind selects the density
// (distBeta, distCauchy, distF, distGamma, distStudent, distTriangular, distWeibull); any other
// kind, or fewer than two parameters, gives NaN. Pars is not changed.
void LikeStdErr(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                TDistribution Kind, TTwoElmReal& StdErr);

// The saddle-point (Lugannani-Rice) approximation of the distribution function of
// sum_j chi2_1 / (j (j + 1)), the asymptotic law of the Anderson-Darling statistic.
double ADNormalCDF(double x);

// Anderson-Darling statistics of an ascending-sorted sample. Normal: A^2 of the z-scores,
// corrected by (1 + 0.75/n + 2.25/n^2). Weibull with scale a and shape b: A^2 (1 + 0.2/sqrt n).
double ADNormalStatistic(const TVec& Sorted);
double ADWeibullStatistic(const TVec& Sorted, double a, double b);

// Simulated significance of the Lilliefors statistic D for samples of size n: the fraction of
// simulated statistics above D, and Crit the simulated (1 - Alpha) quantile, adding
// simulations until the variance of the estimate is below MCTol (see GOFLillieTest).
void LillieMonteCarlo(double D, int n, double& Crit, double& Signif, double Alpha, double MCTol,
                      TMtxFloatPrecision Precision);

}  // namespace lumex::detail
