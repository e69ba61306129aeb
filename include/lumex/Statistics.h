// The Statistics module: descriptive statistics, histograms, covariance and correlation,
// distribution fitting, and goodness-of-fit, parametric, rank and normality tests.
//
// Every function checks its arguments and raises ELumexError with a fixed message when one is
// unusable; numerically undefined results are NaN or infinite, and a test reports them as hrNan.
// Outputs are sized by the function. Common to every function of the module:
// - An output may be the same object as an input: the result is that of distinct objects.
// - An enumeration value outside its enumerators raises "<Function>: unknown <Parameter>"
//   (for example "tTest: unknown hType", checked before anything else) unless the function says
//   what other values do (AndersonDarling, GOFChi2Test, PCA).
// - A size that cannot be served (NumBins, a design's runs) raises "<Function>: <Parameter> too
//   large" before anything is allocated (AllocationLimit, lumex/core/types.h).
#pragma once

#include "lumex/core/core.h"

namespace lumex {

// ---- Descriptive statistics -------------------------------------------------------------------
//
// Location, dispersion and order statistics of a data vector, rank transforms, row and column
// ranges, and the distinct values of a vector or matrix. Scalar results are doubles computed in
// double precision whatever the storage precision; vector results take the storage precision of
// the main input.

// Definition of a sample quantile x_P from the order statistics x(1) <= ... <= x(n).
//   pctMethodNPlus    r = P(n + 1), linear interpolation between x(floor r) and x(floor r + 1)
//                     (R's quantile type 6)
//   pctMethodNMinus   r = P(n - 1) + 1, the same interpolation (R's type 7, NumPy's default)
//   pctMethodClosestN x(k), k = nP rounded to the nearest integer, halves to the even one
//                     (R's type 3)
//   pctMethodEDF      x(ceil(nP)), the inverse of the empirical distribution function (R's type 1)
//   pctMethodEDFAve   x(nP) when nP is whole, else the mean of x(ceil nP) and x(ceil nP + 1).
//                     Note the order: the average is taken where nP is NOT whole, which is the
//                     reverse of R's type 2 (use pctMethodEDF for the plain inverse EDF).
// Every method clamps k to [1, n]: a P below (above) the range of the rule gives x(1) (x(n)).
enum TPercentileMethod : std::uint8_t {
  pctMethodNPlus,
  pctMethodNMinus,
  pctMethodClosestN,
  pctMethodEDF,
  pctMethodEDFAve
};

// Geometric mean exp(mean(ln x)). A zero gives 0, a negative value NaN; an empty Data NaN.
// Raises "MeanG: Data.Complex = true".
LUMEX_API double MeanG(const TVec& Data);

// Harmonic mean 1 / mean(1 / x). A zero gives 0; an empty Data NaN.
// Raises "MeanH: Data.Complex = true".
LUMEX_API double MeanH(const TVec& Data);

// Trimmed mean: the mean of the values between the pctMethodNPlus quantiles at Percent/2 and
// 1 - Percent/2 (ends included). Percent is the fraction trimmed in total, in [0, 1): 0.1 drops
// about 5% at each end, and 0 gives the plain mean. NaN when no value is left, or Data is empty.
// Raises "MeanTData.Complex = true" and "MeanT(Percent >= 100) or (Percent < 0)" (the bound is
// 1: Percent is a fraction).
LUMEX_API double MeanT(const TVec& Data, double Percent);

// The most frequent value; among equally frequent values the smallest. NaN when no value occurs
// twice (also for an empty Data). Values are compared exactly, in the storage precision.
// Raises "Mode: Complex = true".
LUMEX_API double Mode(const TVec& Data);
// The same over Data[Index .. Index+Len-1]. Also raises
// "Mode: (Index < 0) or (Len < 0) or (Index + Len > Data.Length)".
LUMEX_API double Mode(const TVec& Data, int Index, int Len);

// Central moment of order Order about Mu: mean((x - Mu)^Order), divisor n. 0 for Order <= 1
// (whatever Mu); NaN for an empty X. Raises "Moment : X.Complex = true".
LUMEX_API double Moment(const TVec& X, double Mu, int Order);

// The P-quantile of X by Method (see TPercentileMethod). NaN for an empty X or a NaN P.
// Raises "Percentile: X.Complex", "Percentile: (P < 0) or (P > 1)" and
// "Percentile: unknown Method" (a Method outside TPercentileMethod; so do the other quantile
// functions, under their own names).
LUMEX_API double Percentile(const TVec& X, double P, TPercentileMethod Method);
// Percentiles[i] := the P[i]-quantile of X, placing by selection only the order statistics the
// method reads (the results of a full sort, in linear time). P is not range-checked: values
// outside [0, 1] give x(1) or x(n). Raises, in this order, "Percentile: P.Length = 0",
// "Percentile: P.Length <> Percentiles.Length" and "Percentile: X.Complex".
LUMEX_API void Percentile(const TVec& X, std::span<const double> P, std::span<double> Percentiles,
                          TPercentileMethod Method);
// The P-quantile of a vector already sorted ascending (no checks; NaN when Sorted is empty or P
// is NaN). Percentile, InterQuartile and MeanT read their quantiles with it.
LUMEX_API double SortedPercentile(const TVec& Sorted, double P, TPercentileMethod Method);

// Percentile(Data, 0.75, Method) - Percentile(Data, 0.25, Method), from one sort.
// Raises "Percentile: X.Complex".
LUMEX_API double InterQuartile(const TVec& Data, TPercentileMethod Method);

// Sorts Data ascending IN PLACE and writes to Results, at each value's former position, its
// rank 1..n; equal values are ranked in their original order (R's ties.method = "first").
// NaNs rank last. Results takes the length and precision of Data.
LUMEX_API void Ranks(TVec& Data, TVec& Results);

// Ranks with ties averaged (R's rank with ties.method = "average"), and
// TieCorrection = sum over the groups of t tied values of (t^3 - t) / 2, the correction the rank
// tests apply to the variance of their statistics. Ties are exact equality in the storage
// precision; NaNs are all distinct and rank last. An empty Data gives TieCorrection = 0 and leaves
// Results as it was.
LUMEX_API void TiedRanks(const TVec& Data, TVec& Results, double& TieCorrection);

// Range (max - min) of each row / each column of Src; NaN for a row or column holding a NaN.
// Results has Src.Rows (Src.Cols) elements in the storage kind of Src. For complex Src the range
// is the complex difference of the elements of largest and smallest modulus (the first of each
// when several share it).
LUMEX_API void RangeRows(const TMtx& Src, TVec& Results);
LUMEX_API void RangeCols(const TMtx& Src, TVec& Results);

// The distinct values of Src (a vector or a matrix, read in row-major order) in ascending order,
// and with Counts given, the number of times each occurs. Values are compared exactly in the
// storage precision, so single-precision values that differ only beyond single precision are
// one value; NaNs count as one value, placed last. Dst has the precision of Src; an empty Src
// gives an empty Dst (and Counts). Raises "Unique: Src.Complex".
LUMEX_API void Unique(const TDenseLumex& Src, TVec& Dst, TVecInt* Counts = nullptr);

// ---- Histograms and empirical distribution ----------------------------------------------------
//
// Frequency counts over equal-width bins (counted by the kernels of lumex/core/histogram.h in
// the storage precision of Data) or over bins given by their centres, their cumulative relative
// form, and the empirical distribution function. Real outputs take the storage precision of Data
// (of Bins in the centre forms).

// Counts of NumBins equal bins of width w = (Max - Min) / NumBins. A value equal to Max is
// counted in the last bin; values outside [Min, Max] and NaN are not counted (the limits are
// used as given, not clamped). When Min = Max the limits become
// Min - floor(NumBins/2) - 0.5 and Max + ceil(NumBins/2) + 0.5, bins of width 1 about the value.
// Bins: with CentreBins the NumBins bin centres Min + w/2, Min + 3w/2, ...; otherwise the
// NumBins + 1 edges Min, Min + w, ..., Max. An empty Data gives zero counts.
// Raises "Histogram: Data.Complex = true", "Histogram: NumBins <= 0" and, for every form,
// "Histogram: NumBins too large" (NumBins + 1 edges past AllocationLimit or 2^31 - 1).
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins,
                         bool CentreBins, double Max, double Min);
// The same between the smallest and largest value of Data (an empty Data, or one holding a NaN,
// gives NaN limits and bins and zero counts).
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins,
                         bool CentreBins);
// The counts as reals. Raises "Histogram : Data.Complex = true" and "Histogram : NumBins <= 0"
// (a blank before the colon).
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins,
                         double Max, double Min);
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins);
// Counts about m ascending bin centres Bins, as reals in the precision of Bins. The bins meet
// halfway between neighbouring centres; a value on such a boundary is counted in the lower bin.
// The first bin reaches down to the smallest value and the last up to the largest, so every
// value but a NaN is counted. When all values are equal the outer limits are moved out by
// floor(m/2) + 0.5 and ceil(m/2) + 0.5. Raises "Histogram : Data.Complex = true" and
// "Histogram : Bins.Length < 1".
LUMEX_API void Histogram(const TVec& Data, const TVec& Bins, TVec& Results);

// Cumulative relative frequencies: the running sums of the matching real Histogram divided by
// their total, so the last element is 1 for any non-empty Data (an empty Data gives NaN, 0/0).
// Raises "CumulativeHist: NumBins too large", then the messages of Histogram.
LUMEX_API void CumulativeHist(const TVec& Data, int NumBins, TVec& Results, TVec& Bins,
                              bool CentreBins);
LUMEX_API void CumulativeHist(const TVec& Data, const TVec& Bins, TVec& Results);

// The empirical distribution function of Data, which must be sorted ascending (this is not
// checked; unsorted data give meaningless runs). X := the k distinct values in ascending order;
// F := [0, F1, ..., Fk] (k + 1 values), Fj the fraction of values <= X[j - 1]. Both in the
// precision of Data. An empty Data gives an empty X and F = [0]. Raises nothing.
LUMEX_API void EmpiricalCDF(const TVec& Data, TVec& X, TVec& F);

// ---- Covariance and correlation ---------------------------------------------------------------
//
// Biased true divides sums of squared deviations by the number of observations n, false by
// n - 1. Computed in double precision; a matrix result takes the storage precision of X. With no
// observations (n = 0) every result is NaN.

// Variance of X. Var is set to 0 before the check. Raises "Covariance: X.Complex".
LUMEX_API void Covariance(const TVec& X, double& Var, bool Biased);
// The 2 x 2 covariance matrix of the samples X and Y (vectors, or matrices taken as one sample
// of all their elements). Note: for matrices the divisor uses X.Rows, not the number of
// elements, so use vectors for the ordinary covariance of two samples. Raises, in this order,
// "Covariance: X.Length <> Y.Length", "Covariance: X.Complex or Y.Complex" and
// "Covariance: X.LumexType <> Y.LumexType" (a vector with a matrix).
LUMEX_API void Covariance(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, bool Biased);
// The X.Cols x X.Cols covariance matrix of the columns of X (rows are observations).
// Raises "Covariance: X.Complex".
LUMEX_API void Covariance(const TMtx& X, TMtx& Results, bool Biased);

// Correlation matrices: the covariance (divisor n - 1) with element (i, j) divided by
// sqrt(C(i, i) * C(j, j)). A sample of zero variance gives NaN correlations. Complex data raise
// the messages of Covariance.
LUMEX_API void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results);
// Also T := r * sqrt((n - 2) / (1 - r^2)) with r = Results(0, 1) and n = X.Length, the t
// statistic of H0: no correlation (n - 2 degrees of freedom); +-Inf when |r| = 1.
LUMEX_API void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, double& T);
// The X.Cols x X.Cols correlation matrix of the columns of X.
LUMEX_API void CorrCoef(const TMtx& X, TMtx& Results);

// ---- Distribution fitting: closed-form estimates ----------------------------------------------
//
// Moment and maximum-likelihood estimates that need no iteration. X is the sample (real, never
// modified); estimates are written to the reference arguments. Nothing but complex data (and the
// two BinomFit conditions) is checked: an empty sample, a zero variance or values outside the
// law's support give NaN or infinite estimates, never an exception. Interval overloads give
// two-sided intervals of nominal coverage 1 - Alpha; Alpha is not checked.

// Normal: Mu = mean, Sigma = standard deviation (divisor n - 1). Intervals: Mu +- t(n-1) Sigma /
// sqrt(n), and Sigma sqrt((n - 1) / chi2(n-1)) at the two chi-square quantiles.
// Raises "NormalFit: X.Complex=True".
LUMEX_API void NormalFit(const TVec& X, double& Mu, double& Sigma);
LUMEX_API void NormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
                         TTwoElmReal& SigmaConfInt, double Alpha);
// Log-normal: NormalFit of ln x. Raises "LogNormalFit: X.Complex=True".
LUMEX_API void LogNormalFit(const TVec& X, double& Mu, double& Sigma);
LUMEX_API void LogNormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
                            TTwoElmReal& SigmaConfInt, double Alpha);
// Exponential with mean Mu = mean(x); the interval is exact: the gamma(n, Mu/n) quantiles.
// Raises "ExponentFit: X.Complex=True" (point) and "ExponentFit: A.Complex = True" (interval).
LUMEX_API void ExponentFit(const TVec& X, double& Mu);
LUMEX_API void ExponentFit(const TVec& X, double& Mu, TTwoElmReal& MuConfInt, double Alpha);
// Poisson: Lambda = mean(x). With S = n Lambda, the interval is [q(Alpha/2), q(1 - Alpha/2)] / n
// with q the Poisson(S) quantiles for S < 100, else the normal(S, sqrt S) quantiles.
// Raises "PoissonFit: X.Complex=True".
LUMEX_API void PoissonFit(const TVec& X, double& Lambda);
LUMEX_API void PoissonFit(const TVec& X, double& Lambda, TTwoElmReal& LambdaConfInt, double Alpha);
// Continuous uniform: Low = min, High = max. With d = (High - Low) / Alpha^(1/n):
// LowConfInt = [High - d, Low], HighConfInt = [High, Low + d]. Raises "UniformFit: X.Complex=True".
LUMEX_API void UniformFit(const TVec& X, double& Low, double& High);
LUMEX_API void UniformFit(const TVec& X, double& Low, double& High, TTwoElmReal& LowConfInt,
                          TTwoElmReal& HighConfInt, double Alpha);
// Discrete uniform on 1..N: N = ceil(max). NConfInt = [N / (1 - Alpha)^(1/n), N / Alpha^(1/n)].
// Raises "UniformDFit: X.Complex = True". A maximum past the 32-bit range gives N saturated to
// 2147483647 (-2147483648 below it; 0 for NaN); NConfInt is then computed from ceil(max) in
// double, not from the saturated N.
LUMEX_API void UniformDFit(const TVec& X, int& N);
LUMEX_API void UniformDFit(const TVec& X, int& N, TTwoElmReal& NConfInt, double Alpha);
// Geometric (failures before the first success): P = 1 / (mean + 1). The interval is Wald's,
// with the standard error of p from the inverse observed information of the negative binomial
// log-likelihood in (r, p) at r = 1. Raises "GeometricFit: X.Complex=True".
LUMEX_API void GeometricFit(const TVec& X, double& P);
LUMEX_API void GeometricFit(const TVec& X, double& P, TTwoElmReal& PConfInt, double Alpha);
// Rayleigh: B = sqrt(mean(x^2) / 2); exact interval from 2n B^2 / b^2 ~ chi2(2n).
// Raises "RayleighFit: X.Complex=True".
LUMEX_API void RayleighFit(const TVec& X, double& B);
LUMEX_API void RayleighFit(const TVec& X, double& B, TTwoElmReal& BConfInt, double Alpha);
// Inverse Gaussian: Mu = mean, Lambda = n / sum(1/x - 1/Mu) (maximum likelihood). Intervals:
// Lambda from the exact pivot n Lambda / Lambda-hat ~ chi2(n - 1), i.e.
// [Lambda chi2(Alpha/2; n-1) / n, Lambda chi2(1 - Alpha/2; n-1) / n]; Mu by Wald with the
// standard error sqrt(Mu^3 / (Lambda n)). Raises "InverseGaussianFit: X.Complex=True".
LUMEX_API void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda);
LUMEX_API void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda, TTwoElmReal& MuConfInt,
                                  TTwoElmReal& LambdaConfInt, double Alpha);
// Maxwell: A = sqrt(mean(x^2) / 3). Raises "MaxwellFit: X.Complex=True".
LUMEX_API void MaxwellFit(const TVec& X, double& A);
// Laplace: Mu = median, B = mean |x - Mu|. Raises "LaplaceFit: X.Complex=True".
LUMEX_API void LaplaceFit(const TVec& X, double& Mu, double& B);
// Logistic (moments): Mu = mean, S = sd sqrt(3) / pi. Raises "LogisticFit: X.Complex=True".
LUMEX_API void LogisticFit(const TVec& X, double& Mu, double& S);
// Chi-square: Nu = the mean rounded to the nearest integer (halves to even), saturated to
// 2147483647 for a mean past the 32-bit range (-2147483648 below it; 0 for NaN); the other
// whole-number estimates (ErlangFit K, BinomFit n, FFit, StudentFit) saturate alike.
// Raises "ChiSquareFit: X.Complex=True".
LUMEX_API void ChiSquareFit(const TVec& X, int& Nu);
// Erlang (moments): Lambda = mean / variance, K = mean * Lambda rounded (halves to even).
// Raises "ErlangFit: X.Complex=True".
LUMEX_API void ErlangFit(const TVec& X, int& K, double& Lambda);
// Negative binomial (moments): P = mean / variance, R = P mean / (1 - P). Data whose variance
// does not exceed the mean give P >= 1 and a negative or infinite R.
// Raises "NegBinomFit: X.Complex=True".
LUMEX_API void NegBinomFit(const TVec& X, double& R, double& P);
// Binomial proportions, one per element of X (counts of successes): P = x / n, n the number of
// trials (one for all, or one per element). Raises "BinomFit: n cannot be zero!" (checked first),
// "BinomFit: X.Complex = True", and "BinomFit: X and n must match in size!" for vectors of
// different lengths or a complex X or n.
LUMEX_API void BinomFit(const TVec& X, double n, TVec& P);
LUMEX_API void BinomFit(const TVec& X, const TVec& n, TVec& P);
// The same with Clopper-Pearson intervals from F quantiles: PLow = v1 F / (v2 + v1 F) with
// v1 = 2x, v2 = 2(n - x + 1), F = F(Alpha/2; v1, v2); PHigh likewise with v1 = 2(x + 1),
// v2 = 2(n - x) and F(1 - Alpha/2; v1, v2). At x = 0 or x = n a zero degree of freedom gives
// the bound the F quantile gives (NaN). Raises "BinomFit: X.Complex=True", then the messages
// above.
LUMEX_API void BinomFit(const TVec& X, double n, TVec& P, TVec& PLow, TVec& PHigh, double Alpha);
// Binomial with unknown number of trials (moments): P = 1 - variance/mean, n = mean / P
// rounded (halves to even). Raises "BinomFit: X.Complex=True".
LUMEX_API void BinomFit(const TVec& X, int& n, double& P);

// ---- Distribution fitting: maximum likelihood ---------------------------------------------------
//
// Each fit starts from a closed-form estimate and minimises the negative log-likelihood with
// Nelder-Mead (Simplex) under MaxIter and Tolerance, returning the point where Simplex stopped
// whatever its stop reason. Interval overloads add Wald intervals est -+ z(1 - Alpha/2) se, with
// se from the outer product of forward-difference scores (absolute step sqrt(eps)). Only complex
// data raise; data outside the support give infinite objectives and whatever Simplex returns.
// The negative log-likelihoods take ObjConsts = [X, W]: the sample and a work vector that
// receives the densities (so one W must not be shared by concurrent optimisations); a wrong
// object raises "<Name>: ObjConsts must hold the sample and a work vector".

// Beta(A, B) on (0, 1), started from the geometric means G1 of x and G2 of 1 - x:
// A = (1 - G2) / (2d), B = (1 - G1) / (2d), d = 1 - G1 - G2.
// Raises "BetaFit: X.Complex=True" (point) and "BetaFit: X.Complex = True" (interval).
LUMEX_API void BetaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
LUMEX_API void BetaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                       TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
// Gamma with shape A and scale B, started from the moments.
// Raises "GammaFit: X.Complex=True" (point) and "GammaFit : X.Complex = True" (interval).
LUMEX_API void GammaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
LUMEX_API void GammaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                        TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
// Weibull with scale A and shape B, started from the least-squares line of the Weibull plot
// (shape = slope, scale = exp(-intercept/slope)). The objective adds 2^-52 to every density
// before its logarithm. Raises "WeibullFit: X.Complex=True".
LUMEX_API void WeibullFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
LUMEX_API void WeibullFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                          TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
// Cauchy with location A and scale B >= eps, started from the median and max(0.2, sd/10).
// Raises "CauchyFit: X.Complex=True" (point) and "CauchyFit: X.Complex = True" (interval).
LUMEX_API void CauchyFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
LUMEX_API void CauchyFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                         TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
// F with integer degrees of freedom (the objective rounds them), started from the moments and
// bounded to [1, start + 2]. The optimum is kept only when Simplex converged (osrConverged);
// otherwise the rounded moment start is returned. Raises "FFit: X.Complex = True".
LUMEX_API void FFit(const TVec& X, int& Nu1, int& Nu2, int MaxIter, double Tolerance);
// Student's t with integer degrees of freedom, started from max(2, trunc(2v/(v - 1))) (v the
// variance) and bounded to [1, 2 start]; kept only when Simplex converged, as FFit.
// Raises "StudentFit: X.Complex=True".
LUMEX_API void StudentFit(const TVec& X, int& Nu, int MaxIter, double Tolerance);
// Triangular with lower limit A, upper limit B and mode C, every parameter kept within the
// sample range. Note: with the limits held inside the range, the density at the sample's own
// extremes is 0 wherever a limit sits on them, so the likelihood is usually 0 at every trial
// point and the moment start (A = min, B = max, C = 3 mean - A - B clamped to the range) is
// returned. Raises "TriangularFit: X.Complex=True".
LUMEX_API void TriangularFit(const TVec& X, double& A, double& B, double& C, int MaxIter,
                             double Tolerance);
// Minus the beta log-likelihood -sum ln BetaPDF(x; Pars[0], Pars[1]) of ObjConsts[0], leaving
// the densities in ObjConsts[1]. Consts is ignored. The second form also writes the
// outer-product standard errors of Pars[0] and Pars[1].
LUMEX_API double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
LUMEX_API double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                          TTwoElmReal& StdErr);

// ---- Goodness-of-fit tests ----------------------------------------------------------------------
//
// None of these tests checks Alpha: a level outside (0, 1) simply decides by the comparison
// Alpha >= Signif.

// Kolmogorov-Smirnov, one sample, against the standard normal law, or against the distribution
// function tabulated by CDFx (points) and CDFy (values) when both are given (either absent: the
// standard normal). With a table, F is compared element by element with the CDFy values in the
// order of ascending CDFx, so CDFx is expected to hold the distinct sample values.
// D is D+ (htRightTailed), D- (htLeftTailed) or max(D+, D-). Significance: the asymptotic
// Kolmogorov law at lambda = (sqrt n + 0.11/sqrt n + 0.12) D, at every n (two-tailed: the
// alternating series; one-tailed: exp(-2 lambda^2)). The decision compares D with a critical
// value (tabulated for n <= 20, an approximation above) when the level a (Alpha/2 two-tailed)
// lies in [0.005, 0.1], else Alpha with Signif; never hrNan.
// Raises "GOFKolmogorov: Data.Complex", "GOFKolmogorov: Data.Length=0",
// "GOFKolmogorov: CDFx.Length <> CDFy.Length" and
// "GOFKolmogorov: CDFx.Length > number of distinct values of Data".
LUMEX_API double GOFKolmogorov(const TVec& Data, THypothesisResult& hRes, double& Signif,
                               const TVec* CDFx, const TVec* CDFy, THypothesisType hType,
                               double Alpha);
// Two samples: D from the two empirical distribution functions (|F1 - F2| two-tailed,
// F2 - F1 right-tailed, F1 - F2 left-tailed), asymptotic significance with n = N1 N2 / (N1 + N2).
// A NaN in either sample, or an empty sample, gives NaN and hrNan.
// Raises "GOFKolmogorov: Data1.Complex or Data2.Complex" and
// "GOFKolmogorov: Data1.FloatPrecision <> Data2.FloatPrecision".
LUMEX_API double GOFKolmogorov(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                               double& Signif, THypothesisType hType, double Alpha);
// Chi-square test of observed counts O against expected counts E with DF degrees of freedom:
// sum (O - E)^2 / E, a term with E = 0 and O <> 0 counting 0 (a 0/0 term makes the result
// hrNan). NumData is not used. Raises "GOFChi2Test: O.Length <> E.Length" and
// "GOFChi2Test: O.Complex or E.Complex".
LUMEX_API void GOFChi2Test(const TVec& O, const TVec& E, int NumData, int DF,
                           THypothesisResult& hRes, double& Signif, THypothesisType hType,
                           double Alpha);
// Chi-square test of a sample against the law Dist with fitted parameters: NumBins equal bins
// between the sample's minimum and maximum, expected counts n (F(edge[i+1]) - F(edge[i])),
// NumBins - k - 1 degrees of freedom (k fitted parameters). Dist is one of distBeta,
// distChiSquare, distErlang, distExponential, distGamma, distLaplace, distLogNormal,
// distMaxwell, distNormal, distRayleigh, distUniform, distWeibull. Raises
// "GOFChi2Test: Data.Complex", "GOFChi2Test: NumBins too large" and "GOFChi2Test: unsupported
// distribution" (any Dist outside the list, values past the enumeration included).
LUMEX_API void GOFChi2Test(const TVec& Data, TDistribution Dist, int NumBins,
                           THypothesisResult& hRes, double& Signif, THypothesisType hType,
                           double Alpha);
// Lilliefors' test: D of the sample against the normal law with its own mean and standard
// deviation; the significance P(D* > D) is estimated by simulating normal samples of the same
// size, adding simulations (1000 first) until its estimated variance is below MCTol. Each
// simulation draws from a freshly seeded generator, so the significance varies between calls
// within its Monte Carlo error (seed the default source with RandSeed to repeat a run).
// MCTol >= 1 runs no simulation and gives Signif = 0. Raises "GOFLillieTest: Data.Complex" and
// "GOFLillieTest: Data.Length<4".
LUMEX_API double GOFLillieTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                               double Alpha, double MCTol);
// Anderson-Darling statistic A^2 for Dist = distNormal (mean and sd estimated; returns
// A^2 (1 + 0.75/n + 2.25/n^2)), distLogNormal (the same on ln x), distExponential (scale =
// mean) and distWeibull (WeibullFit(Data, a, b, 500, 1e-8)); the last two return
// A^2 (1 + 0.2/sqrt n). Significances: normal and log-normal 1 - ADNormalCDF(A), the asymptotic
// law of the statistic for a FULLY SPECIFIED distribution, which is conservative for estimated
// parameters (for a calibrated normality test use GOFLillieTest); exponential from Stephens'
// percentage points of A^2 (1 + 0.6/n) (scale estimated), interpolated by a logistic curve in
// (ln A, A); Weibull from the published approximation 1 / (1 + exp(-0.1 + 1.24 ln A + 4.48 A)).
// Any other Dist gives NaN and hrNan (Signif 0). Raises "AndersonDarling: Data.Complex".
LUMEX_API double AndersonDarling(const TVec& Data, TDistribution Dist, THypothesisResult& hRes,
                                 double& Signif, double Alpha);
// Jarque-Bera: JB = n (S^2/6 + K^2/24) from the sample skewness S and excess kurtosis K of the
// z-scores (standard deviation with divisor n - 1); Signif = P(chi2(2) > JB).
// Raises "GOFBeraJarqueTest: Data.Complex" and "GOFBeraJarqueTest: Data.Length = 0".
LUMEX_API double GOFBeraJarqueTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                                   double Alpha);

// ---- Parametric tests -------------------------------------------------------------------------

// One-sample t-test of H0: the mean of Data equals Mean. Returns the t statistic
// (mean(Data) - Mean) / (s / sqrt(n)) with n - 1 degrees of freedom; writes the decision at
// level Alpha, the significance for the tail hType, and the confidence interval for the
// population mean around the sample mean (two-sided, or open towards -Inf for htRightTailed
// and towards +Inf for htLeftTailed).
// A complex Data raises "tTest: Data.Complex = true". Alpha outside (0, 1) is not an error:
// hRes = hrNan, Signif and both interval ends NaN, and the result is NaN. A non-finite t or
// significance gives hrNan.
LUMEX_API double tTest(const TVec& Data, double Mean, THypothesisResult& hRes, double& Signif,
                       TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);
// Two-sample t-test of H0: equal means. Paired: the one-sample tTest of Data1 - Data2 against 0,
// outputs and result alike. Unpaired: pooled variances, t = (mean1 - mean2) / se with
// se = sqrt(((N1-1) s1^2 + (N2-1) s2^2) (1/N1 + 1/N2) / (N1 + N2 - 2)), N1 + N2 - 2 degrees of
// freedom (the lengths may differ); the interval is for mean1 - mean2. Raises
// "tTest: vectors must be real", and when Paired "tTest: Data1.Length <> Data2.Length" and
// "tTest: Data1.FloatPrecision <> Data2.FloatPrecision". Alpha outside (0, 1) as the one-sample
// form: no decision, NaN outputs and result.
LUMEX_API double tTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, bool Paired, THypothesisType hType,
                       double Alpha);

// Z-test of H0: the mean of Data equals Mean, the population standard deviation Sigma being
// known. Returns z = (mean - Mean) / (Sigma / sqrt(n)); the interval is for the mean, shaped
// as in tTest. Raises "ZTest: Data.Complex = true"; Alpha outside (0, 1) or Sigma = 0 give
// hrNan, NaN significance, interval and result.
LUMEX_API double ZTest(const TVec& Data, double Mean, double Sigma, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

// Chi-square test of H0: the standard deviation of Data equals Sigma, with the statistic
// (n - 1) s^2 / Sigma^2 on n - 1 degrees of freedom. The interval is for the standard
// deviation, Q = (n - 1) s^2:
//   htTwoTailed   [sqrt(Q / chi2(1 - Alpha/2)), sqrt(Q / chi2(Alpha/2))]
//   htRightTailed [0, sqrt(Q / chi2(1 - Alpha))]
//   htLeftTailed  [sqrt(Q / chi2(Alpha)), +Inf)
// where chi2(p) is the chi-square quantile. Note that the one-tailed ends are these quantiles as
// written (the right-tailed upper end is the usual one-sided lower bound); take the two-tailed
// interval at level 2 Alpha for the conventional one-sided bounds.
// Raises "Chi2Test: Data.Complex = true". Alpha outside (0, 1): hrNan and NaN outputs.
LUMEX_API void ChiSquareTest(const TVec& Data, double Sigma, THypothesisResult& hRes,
                             double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                             double Alpha);

// F-test of H0: equal variances. Returns F = var(Data2) / var(Data1) (the SECOND sample's
// variance over the first's) on df1 = N2 - 1 and df2 = N1 - 1 degrees of freedom. The interval
// multiplies F by F quantiles of (df1, df2):
//   htTwoTailed   [F q(Alpha/2), F q(1 - Alpha/2)]
//   htRightTailed [0, F q(Alpha)]
//   htLeftTailed  [F q(1 - Alpha), +Inf)
// These are the ends as this test defines them, not R's var.test interval (which divides by the
// quantiles). Raises "FTest: (Data1.Complex) or (Data2.Complex)" and
// "FTest: (Data1.Length<2) or (Data2.Length<2)"; Alpha outside (0, 1): hrNan and NaN outputs.
LUMEX_API double FTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

// Grubbs' test of H0: no outlier. G = max |x - mean| / s (htTwoTailed), (max - mean) / s
// (htRightTailed) or (mean - min) / s (htLeftTailed). The decision compares G with the critical
// value Gcrit = (n-1) sqrt(tc^2 / (n (n - 2 + tc^2))), tc the Student quantile at 1 - a on n - 2
// degrees of freedom, a = Alpha/(2n) two-tailed and Alpha/n one-tailed: hrReject when
// G > Gcrit (strictly), hrNan when G is not finite; Alpha is not checked. Signif is the
// Bonferroni bound 2 n P(T > tG) for every tail type and may exceed 1. ConfInt is
// [mean - Gcrit, mean + Gcrit]: Gcrit is in standard-deviation units, not multiplied by s.
// Raises "GrubbsTest: Data.Complex".
LUMEX_API double GrubbsTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                            TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

// ---- Rank and sign tests ----------------------------------------------------------------------
//
// Distribution-free tests on ranks from TiedRanks. Exact null distributions for small samples,
// normal approximations above. Note two departures from the textbook forms, kept on purpose:
// the one-tailed significances of the exact WilcoxonSign branch and of MannWhitneyTest are
// taken from the SMALLER statistic, so they do not depend on the direction of the shift (use
// htTwoTailed, or look at which sum is the smaller, to read a direction); and the exact
// right tail of SignTest is P(X > n+), not P(X >= n+).
// A sample without any non-zero difference (also an empty one) gives a NaN significance and
// hrNan in SignTest and WilcoxonSign.

// Sign test of H0: the median of Data equals Median. Zero differences are dropped; n counts the
// others, n+ the positive ones (a NaN counts as negative). Returns M = min(n+, n-).
// n < 20: binomial, htLeftTailed P(X <= n+), htRightTailed P(X > n+), htTwoTailed
// 2 P(X <= M); n >= 20: normal approximation, z = (2 n+ - n)/sqrt(n) one-tailed and, two-tailed,
// a continuity correction of the difference n+ - n- by one toward 0. Signif is at most 1.
// ConfInt is not written. Raises "SignTest: Data.Complex = true" and
// "SignTest: (Alpha<=0) or (Alpha>=1)".
LUMEX_API double SignTest(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                          TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);
// Paired form: the one-sample test of Data1 - Data2 against 0 (the difference is taken in the
// precision of Data1). Raises, in this order, "SignTest: (Data1.Length <> Data2.Length)",
// "SignTest: vectors must be real" and "SignTest :(Alpha<=0) or (Alpha>=1)".
LUMEX_API double SignTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                          double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                          double Alpha);

// Wilcoxon signed-rank test of H0: the distribution of Data - Median is symmetric about 0.
// Returns T = min(W+, W-), the smaller of the rank sums of the positive and negative non-zero
// differences (mid-ranks for ties). n < 15: exact, p = P(W <= T) (ties handled exactly),
// htLeftTailed p, htRightTailed 1 - p, htTwoTailed 2p. n >= 15: normal approximation with the
// tie-corrected variance, z from W+ one-tailed and from T two-tailed (2 Phi(z)). Note: the
// variance term n(n+1)(2n+1) is taken in 32-bit integer arithmetic as this test defines it, so
// for n >= 1024 non-zero differences it wraps around and the approximation is not usable
// (typically a NaN significance and hrNan). Signif is at most 1.
// ConfInt, for every tail type, is the acceptance range of the rank sum in whole numbers:
// nint(mu + s z(Alpha/2) - 0.5) and nint(mu + s z(1 - Alpha/2) + 0.5), mu = n(n+1)/4,
// s = sqrt(n(n+1)(2n+1)/24).
// Raises "WilcoxonSign: Data.Complex = true". Alpha outside (0, 1): hRes = hrNan, Signif NaN,
// result NaN, ConfInt left as it was.
LUMEX_API double WilcoxonSign(const TVec& Data, double Median, THypothesisResult& hRes,
                              double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                              double Alpha);
// Paired form on Data1 - Data2 against 0. Raises, in this order,
// "WilcoxonSign: (Data1.Length <> Data2.Length)", "WilcoxonSign: vectors must be real" and
// "WilcoxonSign :(Alpha<=0) or (Alpha>=1)" (here the level is checked, not quietly).
LUMEX_API double WilcoxonSign(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                              double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                              double Alpha);

// Mann-Whitney U test of two independent samples. Returns U = min(U1, N1 N2 - U1), U1 from the
// rank sum of Data1 in the pooled sample (mid-ranks for ties). p = P(U' <= U): with
// NormalApprox the normal approximation without tie or continuity correction; otherwise exact,
// by MannWCDF1 when both samples have at most 7 values and by the AS 62 frequency recursion (its
// work grows as N1 N2 min(N1, N2)). htLeftTailed p, htRightTailed 1 - p, htTwoTailed 2p (not
// limited to 1). ConfInt is not written. hRes = hrNotReject and Signif = 1 are written before
// the checks, so they hold also when the call raises "MannWhitneyTest: vectors must be real" or
// "MannWhitneyTest :(Alpha<=0) or (Alpha>=1)".
LUMEX_API double MannWhitneyTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                                 double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                                 double Alpha, bool NormalApprox);

// P(U' <= U) for the Mann-Whitney statistic of samples of N1 and N2 values under the null
// hypothesis: the fraction of the C(N1 + N2, N1) arrangements whose U is at most nint(U)
// (counted exactly, without enumerating them). NaN when N1 N2 < U, U is NaN, a size is negative
// or both are 0; 0 when U rounds below 0.
LUMEX_API double MannWCDF1(int N1, int N2, double U);

// Spearman's rank correlation with the tie correction (the Pearson correlation of the mid-ranks),
// written to Rho. Significance from t = Rho sqrt((n-2)/(1-Rho^2)) on n - 2 degrees of freedom;
// ConfInt, for every tail type, by Fisher's transform with the normal quantile at 1 - Alpha
// (so it is a two-sided interval of level 1 - 2 Alpha). Alpha is not checked. hrNan when
// Signif is not finite. Raises "SpearmanRankCorr: (X.Complex) or (Y.Complex)" and
// "SpearmanRankCorr: X.Length <> Y.Length".
LUMEX_API void SpearmanRankCorr(const TVec& X, const TVec& Y, double& Rho, THypothesisResult& hRes,
                                double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                                double Alpha);

// ---- Shapiro normality tests ------------------------------------------------------------------
//
// Both correlate the ordered sample with the expected normal scores
// m_i = NormalCDFInv((i - 0.375)/(n + 0.25)) and take the significance from Royston's
// normalising transformation z of ln(1 - W); p = Phi(z). The tails are defined as:
//   htRightTailed 1 - p, htLeftTailed p, htTwoTailed min(p, 1 - p) (NOT doubled, at most 1/2).
// Since p = Phi(z) is the probability of a W at least as close to 1 as observed, the usual
// (upper-tail of z) significance of the Shapiro-Wilk test is the htRightTailed one.
// Alpha is not checked; hrNan when W or Signif is not finite.

// Shapiro-Wilk W with the coefficients of Royston's algorithm AS R94 (for n = 3 the exact
// coefficients -sqrt(1/2), 0, sqrt(1/2)). The transformation of W: for 4 <= n <= 11
// y = -ln(gamma - ln(1 - W)) with gamma, mu and sigma polynomials in ln n (R's swilk uses
// polynomials in n there, so its p-values differ for those sizes; for strongly non-normal small
// samples gamma - ln(1 - W) <= 0 and the significance is NaN); for n = 3 and n >= 12
// y = ln(1 - W). Raises "ShapiroWilks: Data.Complex" and
// "ShapiroWilks: (Data.Length<3) or (Data.Length>5000)".
LUMEX_API double ShapiroWilks(const TVec& Data, THypothesisResult& hRes, double& Signif,
                              THypothesisType hType, double Alpha);

// Shapiro-Francia W' = (sum c_i x(i))^2 / sum (x_i - mean)^2 with c = m / |m|, and Royston's
// transformation mu = 1.0521 (ln ln n - ln n) - 1.2725, sigma = 1.0308 - 0.026758 (ln ln n +
// 2 / ln n) (note 0.026758, which is not the constant of some other implementations). Any
// length is accepted; an empty or one-value Data gives NaN. Raises "ShapiroFrancia: Data.Complex".
LUMEX_API double ShapiroFrancia(const TVec& Data, THypothesisResult& hRes, double& Signif,
                                THypothesisType hType, double Alpha);

// ---- Principal components -----------------------------------------------------------------------
//
// Principal components of a covariance or correlation matrix, or of a data matrix (observations
// in rows, variables in columns). Components come in order of decreasing variance. The sign of
// a component is arbitrary; these functions fix it: in every column of PC the element of largest
// absolute value (the first of them on a tie) is positive, and the scores follow that sign. R's
// prcomp and eigen may return any column with the opposite sign.

/// How the data-matrix PCA scales the data before the decomposition.
///   PCACorrMat  components of the correlation matrix; scores of the column z-scores
///   PCACovMat   components of the covariance matrix (divisor n - 1); scores of the centred data
///   PCARawData  the same as PCACorrMat
enum TPCAMode : std::uint8_t { PCACorrMat, PCACovMat, PCARawData };

/// Principal components of a covariance or correlation matrix CovMat (square, symmetric,
/// positive semi-definite), by its singular value decomposition, whose singular values are then
/// its eigenvalues.
/// @param CovMat       the p x p matrix; not validated (a non-square matrix gives the singular
///                     values and right singular vectors of whatever it holds, an indefinite one
///                     the absolute values of its eigenvalues).
/// @param PC           out: sized p x p, column j the component (eigenvector) of EigenValues[j],
///                     sign as stated above.
/// @param EigenValues  out: the p eigenvalues, decreasing.
/// @param VarPercent   out, may be null: each eigenvalue's share of their sum in per cent (sums
///                     to 100); nothing is written when null.
/// Outputs take the storage precision of CovMat. NaN or infinite elements give NaN outputs.
/// Complex CovMat raises "SVD: complex matrix not supported". Matches R's eigen(CovMat) (and
/// prcomp's rotation and sdev^2 when CovMat is cov(x)).
LUMEX_API void PCA(const TMtx& CovMat, TMtx& PC, TVec& EigenValues, TVec* VarPercent);

/// Principal components of the data matrix Data (n observations in rows, p variables in
/// columns).
/// Mode PCACovMat: the eigenvalues of the sample covariance matrix (divisor n - 1), computed
/// through the symmetric eigen decomposition of that matrix, and scores of the centred data:
/// ZScores = (Data - column means) * PC. This is R's prcomp(Data): EigenValues = sdev^2,
/// PC = rotation, ZScores = x (up to column sign).
/// Mode PCACorrMat or PCARawData (and any other value): the eigenvalues of the correlation
/// matrix (they sum to p) and scores of the column z-scores (divisor n - 1): R's
/// prcomp(Data, scale. = TRUE).
/// @param Data         the n x p data matrix, not modified.
/// @param PC           out: p x p, column j the component of EigenValues[j], sign as stated above.
/// @param ZScores      out: n x p component scores, column j for component j.
/// @param EigenValues  out: the p component variances, decreasing (negative rounding residues of
///                     a singular matrix are written as 0).
/// @param VarPercent   out, may be null: each component's share of the total variance in per
///                     cent (sums to 100); nothing is written when null.
/// @param Mode         the scaling, see TPCAMode.
/// Outputs take the storage precision of Data. One row (n - 1 = 0), NaN or infinite data give
/// NaN outputs; a constant column gives NaN in the correlation path. Complex data raise
/// "SVD: complex matrix not supported" in the covariance path and "Covariance: X.Complex" in the
/// correlation path.
LUMEX_API void PCA(const TMtx& Data, TMtx& PC, TMtx& ZScores, TVec& EigenValues, TVec* VarPercent,
                   TPCAMode Mode);

/// Data minus its reconstruction from its first NumPC principal components, in Data's units.
/// The components are those of the correlation matrix (PCA with PCACorrMat); the reconstruction
/// from the z-score scores, Z_k V_k^T, is multiplied column by column by the standard deviations
/// (divisor n - 1) and the column means are added:
///   Residuals = Data - (Z_k V_k^T diag(sd) + 1 mean^T).
/// In R: z <- scale(Data); V <- eigen(cor(Data))$vectors[, 1:k];
///   Data - sweep(sweep(z %*% V %*% t(V), 2, sd, "*"), 2, colMeans(Data), "+").
/// @param Data       the n x p data matrix, not modified.
/// @param NumPC      k, the number of components kept; k <= 0 keeps none (the residuals are then
///                   the centred data).
/// @param Residuals  out: n x p, in the storage precision of Data.
/// Raises "PCAResiduals: NumPC >= Data.Cols" first, then "Covariance: X.Complex" for complex
/// data. NaN data or a constant column give NaN residuals.
LUMEX_API void PCAResiduals(const TMtx& Data, int NumPC, TMtx& Residuals);

// ---- Multivariate tests -------------------------------------------------------------------------
//
// Tests on data matrices (observations in rows, variables in columns), with sample covariance
// matrices of divisor n - 1. The Hotelling tests share one significance rule for T^2 on p
// variables and an effective sample size m:
//   m < 50:  F = T^2 (m - p) / ((m - 1) p),  Signif = P(F(p, m - p) > F)
//   m >= 50: Signif = P(chi^2(p) > T^2)
// Decision of the tests that return a statistic: hrNan when Signif or the statistic is NaN or
// infinite, else hrReject when Alpha >= Signif, else hrNotReject. Alpha is not checked. A
// singular covariance matrix gives what its inverse gives: the core's "Inv: matrix is singular"
// when a pivot is exactly zero, otherwise large or non-finite values (hrNan for non-finite).

/// Kinds of Hotelling T^2 test. Published for callers; no function takes it: HotellingT2Two
/// chooses pooled or separate covariances with its EqualCov flag.
enum THotellingT2Type : std::uint8_t {
  htT2OneSample,
  htT2Paired,
  htT2Homoskedasticity,
  htT2Heteroskedasticity
};

/// One-sample Hotelling T^2 test. With Means: H0 the mean vector of X equals Means,
/// T^2 = n d' S^-1 d, d = column means - Means, S the sample covariance; significance with
/// m = n and p. Without Means (null): H0 all p variable means are equal, T^2 = n w' (C S C')^-1 w
/// with w = C xbar and C the (p-1) x p matrix of successive differences (row i = e_i - e_(i+1));
/// significance with m = n and p - 1. (The formula of Johnson and Wichern, Applied Multivariate
/// Statistical Analysis, 5.2 and 6.2; R has no built-in, the references apply it.)
/// @param X       n x p data, n > p.
/// @param Means   the hypothesised means (length p, same storage precision as X), or null.
/// @param Signif  out: the significance (upper tail).
/// @param hRes    out: the decision at Alpha.
/// @param Alpha   the significance level.
/// @return T^2.
/// Raises, in this order, "HotellingT2One : X.Rows<=X.Cols",
/// "HotellingT2One : Means.Length <> X.Cols", "HotellingT2One : Means.FloatPrecision <>
/// X.FloatPrecision", then "Covariance: X.Complex" for complex X. NaN data give NaN and hrNan.
LUMEX_API double HotellingT2One(const TMtx& X, const TVec* Means, double& Signif,
                                THypothesisResult& hRes, double Alpha);

/// Two-sample Hotelling T^2 test of H0 mean(X1) - mean(X2) = MeanDiff (0 when MeanDiff is null).
/// EqualCov true: pooled covariance Sp = ((n1-1) S1 + (n2-1) S2) / (n1+n2-2),
/// T^2 = n1 n2/(n1+n2) d' Sp^-1 d, DF = n1 + n2 - 2, significance with m = DF + 1 (so the F form
/// has p and n1 + n2 - p - 1 degrees of freedom).
/// EqualCov false: V = S1/n1 + S2/n2, T^2 = d' V^-1 d, DF = (tr(V^2) + tr(V)^2) /
/// [(tr(V1^2) + tr(V1)^2)/(n1-1) + (tr(V2^2) + tr(V2)^2)/(n2-1)] (Nel and van der Merwe),
/// significance with m = trunc(DF) + 1 (NaN when DF is not finite).
/// @param X1, X2    the samples, with equal column counts p; row counts are not checked.
/// @param Signif    out: the significance.   @param hRes out: the decision at Alpha.
/// @param DF        out: the degrees of freedom above.
/// @param MeanDiff  the hypothesised difference of the mean vectors (length p), or null.
/// @param EqualCov  pooled (true) or separate (false) covariance matrices.
/// @param Alpha     the significance level.
/// @return T^2.
/// Raises "HotellingT2Two : X1.Cols <> X2.Cols", "HotellingT2Two : MeanDiff.Length <> X1.Cols"
/// (so that a short MeanDiff is never read past its end), then "Covariance: X.Complex" for
/// complex data. One-row samples and NaN data give NaN and hrNan.
LUMEX_API double HotellingT2Two(const TMtx& X1, const TMtx& X2, double& Signif,
                                THypothesisResult& hRes, double& DF, const TVec* MeanDiff,
                                bool EqualCov, double Alpha);

/// Box's M test of H0: the two samples have equal covariance matrices.
/// M = nu ln|Sp| - nu1 ln|S1| - nu2 ln|S2|, nu_i = n_i - 1, nu = n1 + n2 - 2, Sp pooled.
/// With c1 = (2p^2 + 3p - 1)/(6(p+1)) (1/nu1 + 1/nu2 - 1/nu), DF1 = p(p+1)/2:
/// if either sample has more than 20 rows, Signif = P(chi^2(DF1) > M (1 - c1)) and DF2 = 0;
/// otherwise Box's F approximation with c2 = (p-1)(p+2)/6 (1/nu1^2 + 1/nu2^2 - 1/nu^2):
/// DF2 = trunc((DF1 + 2)/|c2 - c1^2|), F = M (1 - c1 - DF1/DF2)/DF1 when c2 >= c1^2, else
/// F = DF2 M / (DF1 (DF2/(1 - c1 - 2/DF2) - M)); Signif = P(F(DF1, DF2) > F). (Box 1949; Rencher,
/// Methods of Multivariate Analysis, 7.3.2.) When c2 = c1^2, or DF2 truncates to 0 or does not
/// fit an integer, DF2 is 0, Signif NaN and hRes hrNan.
/// @param X1, X2  the samples, with equal column counts p.
/// @param Signif  out: the significance.   @param hRes out: the decision at Alpha (hrNan when
///                Signif or M is not finite, as for a singular covariance matrix).
/// @param DF1     out: p(p+1)/2.           @param DF2 out: as above.
/// @param Alpha   the significance level.
/// @return M.
/// DF1 and DF2 are set to 0 first; then raises "MBoxTest : X1.Cols <> X2.Cols", and
/// "Covariance: X.Complex" for complex data.
LUMEX_API double MBoxTest(const TMtx& X1, const TMtx& X2, double& Signif, THypothesisResult& hRes,
                          int& DF1, int& DF2, double Alpha);

/// Bartlett's test for the number of principal components: for m = 0 .. p-2, H0 the q = p - m
/// smallest eigenvalues of the sample covariance matrix are equal, with
/// B(m) = (n - 1) [q ln(mean of those eigenvalues) - sum of their logarithms] on
/// (q - 1)(q + 2)/2 degrees of freedom, Signif[m] = P(chi^2 > B(m)). (Bartlett 1950; Jolliffe,
/// Principal Component Analysis, 6.1.4.)
/// @param Data     the n x p data matrix.
/// @param NumComp  out: the first m whose Signif[m] > Alpha, except that m = 0 gives -1 (the
///                 eigenvalues are all equal: no component stands out); p when every test
///                 rejects.
/// @param Signif   out: the p - 1 significances (empty for p <= 1), storage precision of Data.
/// @param Alpha    the significance level.
/// Raises "BartlettTest: Data.Complex = True". A zero eigenvalue (a singular covariance) makes
/// the tests that include it NaN; NaN data give NaN significances.
LUMEX_API void BartlettTest(const TMtx& Data, int& NumComp, TVec& Signif, double Alpha);

// ---- Distances, scaling and reliability -------------------------------------------------------
//
// Distances between the rows of a data matrix, classical (metric) multidimensional scaling of a
// distance matrix, the stress of a configuration, and Cronbach's alpha.

/// How PairwiseDistance measures the distance between two rows x and y (over the columns that
/// take part):
///   pwdistEuclidian  sqrt(sum (x_c - y_c)^2)        (R's dist, method "euclidean")
///   pwdistCityBlock  sum |x_c - y_c|                 (R's dist, method "manhattan")
///   pwdistChebychev  max |x_c - y_c|                 (R's dist, method "maximum")
///   pwdistCustom     reserved: PairwiseDistance raises for it.
enum TPWDistMethod : std::uint8_t {
  pwdistEuclidian,
  pwdistCityBlock,
  pwdistChebychev,
  pwdistCustom
};

/// The matrix of distances between the rows (observations) of X.
///
/// @param X        n x p data matrix, real, single or double precision; not modified.
/// @param D        out: sized n x n in the precision of X; D(i, j) = D(j, i) is the distance
///                 between rows i and j, and the diagonal is 0.
/// @param NumCols  only the first min(NumCols, p) columns take part (a NumCols of 0 or less
///                 uses none, and every distance is 0).
/// @param Method   the distance (see TPWDistMethod).
///
/// Euclidean distances come from one product of the column-centred data z with its transpose,
/// sqrt(|z_i|^2 + |z_j|^2 - 2 z_i.z_j) (distances do not change under a shift, and centring
/// keeps the cancellation small for data far from the origin). A pair whose squared distance
/// is below 1e-3 (|z_i|^2 + |z_j|^2), where the product form would lose more than three digits,
/// is recomputed from its differences: every distance keeps nearly full relative accuracy,
/// identical rows are at distance exactly 0, and a distance is never NaN from rounding. The
/// city-block and Chebychev distances are summed (maximised) over the differences directly.
///
/// NaN and infinite data: a row holding a NaN is at distance NaN from every row (itself
/// included); the distances of a row holding an infinity are computed directly, so they are
/// Inf (or NaN where two infinities of one sign meet). R's dist instead drops NaN columns and
/// rescales: the two agree on finite data.
///
/// An empty X gives an empty D. Raises, in this order, "PairwiseDistance: complex data not
/// supported" for complex X, "PairwiseDistance: pwdistCustom is not supported" (after sizing
/// D) and "PairwiseDistance: unknown Method".
LUMEX_API void PairwiseDistance(const TMtx& X, TMtx& D, int NumCols, TPWDistMethod Method);

/// Classical (metric) multidimensional scaling, Torgerson-Gower: coordinates whose Euclidean
/// distances reproduce D as well as NumDim dimensions can (R's cmdscale).
///
/// B := -J D^2 J / 2, with D^2 the elementwise square and J = I - 1/n the centring matrix
/// (made exactly symmetric); its eigenvalues, decreasing, are cut to the first NumDim and
/// Y(:, i) := sqrt(lambda_i) v_i with v_i the unit eigenvector of lambda_i.
///
/// @param D           n x n distance matrix, symmetric with a zero diagonal (not checked).
/// @param Y           out: n x NumDim coordinates in the precision of D, one row per object; each
///                    column sums to 0. An eigenvector's sign is arbitrary: each column of Y is
///                    signed so that its element of largest magnitude (the first of equal ones)
///                    is positive.
/// @param EigenValues out: the NumDim largest eigenvalues of B, decreasing, in the precision of
///                    D. A negative one (D is not Euclidean) is reported as it is, but its
///                    coordinate column is 0: negative eigenvalues are clipped to 0 in Y, so
///                    the coordinates stay finite (R's cmdscale drops such columns instead).
/// @param NumDim      the number of dimensions, 0 <= NumDim <= n.
///
/// Raises, in this order and before any computation, "MDScaleMetric: D not quadratic",
/// "MDScaleMetric: D.Complex = true" and "MDScaleMetric: (NumDim>D.Cols)"; any error of the
/// computation is raised again as "MDScaleMetric : " + its message (a negative NumDim raises
/// "MDScaleMetric : NumDim < 0"). A NaN or infinite element of D makes Y and EigenValues NaN.
LUMEX_API void MDScaleMetric(const TMtx& D, TMtx& Y, TVec& EigenValues, int NumDim);

/// The stress of a configuration: |D - DHat| / |D| in the Euclidean (Frobenius) norm over all
/// elements, where DHat holds the distances that the configuration reproduces (for example
/// PairwiseDistance of MDScaleMetric's Y). 0 for a perfect reproduction; NaN when D is all
/// zeros or empty; NaN data give NaN. Raises "MDScaleStress: D.Length <> DHat.Length" and, for
/// complex data, "MDScaleStress: complex data not supported".
LUMEX_API double MDScaleStress(const TMtx& D, const TMtx& DHat);

/// Cronbach's alpha, the reliability coefficient of the k items in the columns of X (one row per
/// respondent): k/(k - 1) (1 - sum of the item variances / variance of the total score), from
/// the covariance matrix C of the columns (sum of diag(C) over the sum of all elements of C).
/// Matches the formula applied to R's var. One column divides by k - 1 = 0 and gives a
/// non-finite value; no rows, or constant items summing to a constant total, give NaN; NaN data
/// give NaN. Raises Covariance's "Covariance: X.Complex".
LUMEX_API double CronbachAlpha(const TMtx& X);

// ---- Factor rotation --------------------------------------------------------------------------

/// Named rotations, published for callers that offer a choice; OrthogonalRotation takes the
/// orthomax weight Gamma itself: rotNone (no rotation), rotVarimax (Gamma = 1), rotOrtomax (a
/// caller's Gamma), rotQuartimax (Gamma = 0), rotEquamax (Gamma = m/2 for m factors).
enum TMatrixRotation : std::uint8_t {
  rotNone,
  rotVarimax,
  rotOrtomax,
  rotQuartimax,
  rotEquamax
};

/// Orthogonal rotation of a p x m loading matrix X (variables in rows, factors in columns) that
/// maximises the orthomax criterion sum_j [sum_i b_ij^4 - (Gamma/p) (sum_i b_ij^2)^2] of the
/// rotated loadings b (Gamma = 1 varimax, 0 quartimax, m/2 equamax).
///
/// @param X         p x m loadings, real; not modified.
/// @param Rotated   out: p x m rotated loadings in the precision of X; Rotated = X * Rotation,
///                  with the row sums of squares (communalities) of X.
/// @param Rotation  out: m x m orthogonal rotation in the precision of X (of the normalised
///                  loadings when Normalize is set, which is the same rotation).
/// @param Gamma     the orthomax weight. 0 <= Gamma <= 1: all columns are updated at once, each
///                  iteration taking Rotation = U V^T from the SVD U S V^T of A^T G, A the
///                  (normalised) loadings and G = p B^3 - Gamma B diag(column sums of B^2) the
///                  gradient of the criterion, until the sum of the singular values changes by
///                  less than Tolerance relatively. Otherwise (also for a NaN Gamma) Kaiser's
///                  planar rotations of each pair of columns in turn, sweep after sweep, until
///                  the largest angle of a sweep is below Tolerance (radians).
/// @param Normalize Kaiser normalisation: rotate the rows scaled to unit length, then scale
///                  back. A row of zeros then gives NaN loadings.
/// @param Tolerance the convergence threshold above.
/// @param MaxIter   the largest number of iterations (sweeps); 0 or less returns X unrotated,
///                  Rotation the identity and false.
/// @return true when the convergence test was met, false when MaxIter rounds ended without it
///         (Rotated and Rotation are then the last ones) or the iteration met a NaN: NaN
///         loadings make Rotated and Rotation NaN, and a NaN Gamma, whose angles are NaN, leaves
///         X unrotated with Rotation the identity.
///
/// With Gamma = 1 and Normalize set this is R's varimax (which stops on a relative change
/// below its eps, 1e-5 by default). With a single factor the pairwise scheme has no pair to
/// rotate and converges at once with Rotation = [1]; an X without rows or columns is returned
/// as it is with Rotation the m x m identity and true. Raises "OrthogonalRotation: X.Complex".
LUMEX_API bool OrthogonalRotation(const TMtx& X, TMtx& Rotated, TMtx& Rotation, double Gamma,
                                  bool Normalize, double Tolerance, int MaxIter);

// ---- Designs and data utilities ---------------------------------------------------------------

/// Whether LatinHyperCubeDesign keeps its first sample (lhcImproveNone) or the one with the
/// largest minimum distance between its points among several (lhcImproveMinDist, maximin).
enum TLHCImprove : std::uint8_t { lhcImproveNone, lhcImproveMinDist };

/// The two-level full factorial design of n factors: 2^n runs (rows) coding the levels 0 and 1,
/// in standard order read from the right: row r holds the binary digits of r with column 0 the
/// most significant, so column n - 1 alternates fastest (0,1,0,1,...) and column 0 is 0 in the
/// first half of the rows.
///
/// @param n              number of factors, 0 <= n <= 26 (n = 0 gives one run and no column).
/// @param Design         out: 2^n x n in the precision FloatPrecision.
/// @param FloatPrecision fpSingle or fpDouble.
/// @param MulVec         may be null; when given, its n elements scale the columns, element j
///                       scaling column n - 1 - j (so MulVec lists the factors from the
///                       fastest-alternating one).
///
/// Raises "FullFactDesign: n < 0", "FullFactDesign: n > 26" (the design would exceed the
/// largest matrix) and "FullFactDesign: unknown FloatPrecision" before sizing Design, then
/// "FullFactDesign : MulVec.Length <> n" and "FullFactDesign: MulVec.Complex" (Design is then
/// already sized and zero). "FullFactDesign: n too large" when the 2^n x n design exceeds
/// AllocationLimit (n = 26 needs 14 GB in double precision).
LUMEX_API void FullFactDesign(int n, TMtx& Design, TMtxFloatPrecision FloatPrecision,
                              const TVec* MulVec);

/// The mixed-level full factorial design: one run for every combination of the levels 1..L_j of
/// the factors, L_j = Levels[j] rounded; N = product of the L_j rows, one column per factor.
/// Column 0 cycles fastest (1, 2, ..., L_0, 1, 2, ...) and the last column slowest, the order of
/// R's expand.grid. Design takes the precision of Levels; an empty Levels gives one run and no
/// column. Raises "FullFactDesign: Levels.Complex", "FullFactDesign: Levels[j] < 1" with j the
/// index of the first level that rounds below 1 or is NaN (for example "FullFactDesign:
/// Levels[1] < 1"), "FullFactDesign: too many runs" (more than 2^31 - 1 elements) and
/// "FullFactDesign: Levels too large" (past AllocationLimit), all before Design is sized.
LUMEX_API void FullFactDesign(const TVec& Levels, TMtx& Design);

/// A Latin hypercube sample of NumPoints points in NumVars dimensions, values in (0, 1]: every
/// column holds exactly one value in each stratum ((k - 1)/n, k/n], k = 1..n (n = NumPoints).
/// Column by column, the ranks of n uniform numbers give a random permutation of the strata;
/// with Randomize each point is then drawn uniformly inside its stratum, (rank - u)/n with u
/// uniform on [0, 1), otherwise it is the stratum's centre (rank - 0.5)/n.
///
/// The uniform numbers come from the core's default source (RandUniform: RandSeed makes a
/// design reproducible). With Improve = lhcImproveMinDist, Iterations independent samples are
/// drawn and the one with the largest minimum Euclidean distance between two of its points is
/// kept (the earlier one on ties): a maximin design. The work is Iterations * n^2 * NumVars.
///
/// Design: out, n x NumVars in the precision FloatPrecision (single-precision values are kept
/// inside their strata). Fewer than two points: one point (no improvement is possible) or an
/// empty design; a NumPoints or NumVars of 0 or less gives no rows or no columns. Raises
/// "LatinHyperCubeDesign: unknown FloatPrecision" and "LatinHyperCubeDesign: NumPoints *
/// NumVars too large" (more than 2^31 - 1 elements, or past AllocationLimit) before anything is
/// drawn. An Improve value other than lhcImproveMinDist keeps the first sample.
LUMEX_API void LatinHyperCubeDesign(TMtx& Design, int NumPoints, int NumVars,
                                    TMtxFloatPrecision FloatPrecision, bool Randomize,
                                    TLHCImprove Improve, int Iterations);

/// Dst := Src without row Index (Rows - 1 rows), in the storage kind of Src (all four kinds);
/// Dst may be Src itself. Raises "RemoveRow: Index>Src.Rows-1", then any error of the copying
/// as "RemoveRow : " + its message; a negative Index raises "RemoveRow : Index < 0".
LUMEX_API void RemoveRow(const TMtx& Src, TMtx& Dst, int Index);

/// Dst := Src without column Index (Cols - 1 columns), as RemoveRow. Raises
/// "RemoveColumn: Index>Src.Cols-1", then "RemoveColumn : " + the message of an error of the
/// copying ("RemoveColumn : Index < 0" for a negative Index).
LUMEX_API void RemoveColumn(const TMtx& Src, TMtx& Dst, int Index);

}  // namespace lumex
