/// @file
/// The Statistics module: descriptive statistics, histograms, covariance and correlation,
/// distribution fitting, and goodness-of-fit, parametric, rank and normality tests, principal
/// components, multivariate tests, distances and scaling, factor rotation and designs.
///
/// Every function checks its arguments and raises ELumexError with a fixed message when one is
/// unusable; numerically undefined results are NaN or infinite, and a test reports them as hrNan.
/// Outputs are sized by the function. Common to every function of the module:
/// - An output may be the same object as an input: the result is that of distinct objects.
/// - An enumeration value outside its enumerators raises "<Function>: unknown <Parameter>"
///   (for example "tTest: unknown hType", checked before anything else) unless the function says
///   what other values do (AndersonDarling, GOFChi2Test, PCA).
/// - A size that cannot be served (NumBins, a design's runs) raises "<Function>: <Parameter> too
///   large" before anything is allocated (AllocationLimit, lumex/core/types.h).
#pragma once

#include "lumex/core/core.h"

namespace lumex {

/// Definition of a sample quantile x_P from the order statistics x(1) <= ... <= x(n).
///
/// Every method clamps k to [1, n]: a P below (above) the range of the rule gives x(1) (x(n)).
enum TPercentileMethod : std::uint8_t {
  /// r = P(n + 1), linear interpolation between x(floor r) and x(floor r + 1) (R's quantile
  /// type 6).
  pctMethodNPlus,
  /// r = P(n - 1) + 1, the same interpolation (R's type 7, NumPy's default).
  pctMethodNMinus,
  /// x(k), k = nP rounded to the nearest integer, halves to the even one (R's type 3).
  pctMethodClosestN,
  /// x(ceil(nP)), the inverse of the empirical distribution function (R's type 1).
  pctMethodEDF,
  /// x(nP) when nP is whole, else the mean of x(ceil nP) and x(ceil nP + 1). Note the order:
  /// the average is taken where nP is NOT whole, the reverse of R's type 2 (use pctMethodEDF
  /// for the plain inverse EDF).
  pctMethodEDFAve
};

/// @name Descriptive statistics
/// Location, dispersion and order statistics of a data vector, rank transforms, row and column
/// ranges, and the distinct values of a vector or matrix. Scalar results are doubles computed in
/// double precision whatever the storage precision; vector results take the storage precision of
/// the main input.
/// @{

/// Geometric mean exp(mean(ln x)), computed through logarithms so that it does not overflow.
///
/// @param Data  the sample, real.
/// @return      the geometric mean; 0 when a value is 0, NaN when a value is negative or Data is
///              empty.
/// @throws ELumexError "MeanG: Data.Complex = true" for complex Data.
///
/// NaN/Inf: a NaN value gives NaN.
LUMEX_API double MeanG(const TVec& Data);

/// Harmonic mean 1 / mean(1 / x).
///
/// @param Data  the sample, real.
/// @return      the harmonic mean; 0 when a value is 0, NaN for an empty Data.
/// @throws ELumexError "MeanH: Data.Complex = true" for complex Data.
///
/// NaN/Inf: a NaN value gives NaN.
LUMEX_API double MeanH(const TVec& Data);

/// Trimmed mean: the mean of the values between the pctMethodNPlus quantiles at Percent/2 and
/// 1 - Percent/2 (ends included).
///
/// @param Data     the sample, real.
/// @param Percent  the fraction trimmed in total, in [0, 1) (despite its name): 0.1 drops about
///                 5% at each end, and 0 gives the plain mean.
/// @return         the trimmed mean; NaN when no value is left, Data is empty or Percent is NaN.
/// @throws ELumexError "MeanTData.Complex = true" for complex Data.
/// @throws ELumexError "MeanT(Percent >= 100) or (Percent < 0)" for Percent outside [0, 1) (the
///         bound is 1: Percent is a fraction).
LUMEX_API double MeanT(const TVec& Data, double Percent);

/// The most frequent value of Data; among equally frequent values the smallest.
///
/// Values are compared exactly, in the storage precision (through Unique: NaNs count as one
/// value).
/// @param Data  the sample, real.
/// @return      the mode; NaN when no value occurs twice (also for an empty Data).
/// @throws ELumexError "Mode: Complex = true" for complex Data.
LUMEX_API double Mode(const TVec& Data);
/// Window form of Mode: the mode of Data[Index .. Index+Len-1].
/// @param Data   the sample, real.
/// @param Index  the first element of the window, >= 0.
/// @param Len    the number of elements, >= 0, with Index + Len <= Data.Length.
/// @return       the mode of the window (NaN as in the main form).
/// @throws ELumexError "Mode: Complex = true" for complex Data.
/// @throws ELumexError "Mode: (Index < 0) or (Len < 0) or (Index + Len > Data.Length)" for a
///         window outside Data.
LUMEX_API double Mode(const TVec& Data, int Index, int Len);

/// Central moment of order Order about Mu: mean((x - Mu)^Order), divisor n.
///
/// @param X      the sample, real.
/// @param Mu     the centre (usually the mean of X).
/// @param Order  the order; Order <= 1 gives 0 whatever Mu and X.
/// @return       the moment; NaN for an empty X (Order >= 2).
/// @throws ELumexError "Moment : X.Complex = true" for complex X.
///
/// NaN/Inf: a NaN value gives NaN (Order >= 2).
LUMEX_API double Moment(const TVec& X, double Mu, int Order);

/// The P-quantile of X by Method (see TPercentileMethod).
///
/// @param X       the sample, real, in any order; not modified.
/// @param P       the probability, 0 <= P <= 1.
/// @param Method  the quantile definition.
/// @return        the quantile; NaN for an empty X or a NaN P.
/// @throws ELumexError "Percentile: X.Complex" for complex X.
/// @throws ELumexError "Percentile: (P < 0) or (P > 1)" for P outside [0, 1].
/// @throws ELumexError "Percentile: unknown Method" for a Method outside TPercentileMethod
///         (the other quantile functions raise it under their own names).
///
/// NaN/Inf: NaNs sort after every number, so an order statistic read among them is NaN.
LUMEX_API double Percentile(const TVec& X, double P, TPercentileMethod Method);
/// Several quantiles of X at once: Percentiles[i] := the P[i]-quantile of X.
///
/// Places by selection only the order statistics the method reads (the results of a full sort,
/// in linear time).
/// @param X                the sample, real; not modified.
/// @param P                the probabilities; not range-checked: values outside [0, 1] give
///                         x(1) or x(n), a NaN gives NaN.
/// @param[out] Percentiles receives the quantiles; must have the length of P.
/// @param Method           the quantile definition.
/// @throws ELumexError "Percentile: P.Length = 0", "Percentile: P.Length <> Percentiles.Length",
///         "Percentile: X.Complex" and "Percentile: unknown Method", in this order.
LUMEX_API void Percentile(const TVec& X, std::span<const double> P, std::span<double> Percentiles,
                          TPercentileMethod Method);
/// The P-quantile of a vector already sorted ascending, without any check of the data.
///
/// Percentile, InterQuartile and MeanT read their quantiles with it.
/// @param Sorted  the sample, sorted ascending (not checked).
/// @param P       the probability (not range-checked: see TPercentileMethod for the clamping).
/// @param Method  the quantile definition.
/// @return        the quantile; NaN when Sorted is empty or P is NaN.
/// @throws ELumexError "SortedPercentile: unknown Method" for a Method outside
///         TPercentileMethod, and "SortedPercentile: complex data not supported".
LUMEX_API double SortedPercentile(const TVec& Sorted, double P, TPercentileMethod Method);

/// The interquartile range Percentile(Data, 0.75, Method) - Percentile(Data, 0.25, Method),
/// from one selection.
///
/// @param Data    the sample, real; not modified.
/// @param Method  the quantile definition.
/// @return        the interquartile range; NaN for an empty Data.
/// @throws ELumexError "Percentile: X.Complex" for complex Data (the name is Percentile's).
/// @throws ELumexError "InterQuartile: unknown Method" for a Method outside TPercentileMethod.
LUMEX_API double InterQuartile(const TVec& Data, TPercentileMethod Method);

/// Ranks of Data, equal values ranked in their original order (R's rank with
/// ties.method = "first"); sorts Data IN PLACE.
///
/// @param[in,out] Data  the sample, real; sorted ascending on return (stable, NaNs last).
/// @param[out] Results  receives, at each value's former position, its rank 1..n; sized to the
///                      length and precision of Data.
/// @throws ELumexError "SortAscend: complex data not supported" for complex Data.
///
/// NaN/Inf: NaNs rank last, in their original order.
LUMEX_API void Ranks(TVec& Data, TVec& Results);

/// Ranks with ties averaged (R's rank with ties.method = "average"), and the tie correction of
/// the rank tests.
///
/// Ties are exact equality in the storage precision.
/// @param Data                the sample, real; not modified.
/// @param[out] Results        receives the mid-ranks, sized to the length and precision of
///                            Data; an empty Data leaves it as it was.
/// @param[out] TieCorrection  receives the sum over the groups of t tied values of
///                            (t^3 - t) / 2, the correction the rank tests apply to the
///                            variance of their statistics; 0 for an empty Data.
/// @throws ELumexError "TiedRanks: complex data not supported" for a non-empty complex Data.
///
/// NaN/Inf: NaNs are all distinct and rank last, in their original order.
LUMEX_API void TiedRanks(const TVec& Data, TVec& Results, double& TieCorrection);

/// Range (max - min) of each row of Src.
///
/// For complex Src the range is the complex difference of the elements of largest and smallest
/// modulus (the first of each when several share it).
/// @param Src           the matrix, any storage kind.
/// @param[out] Results  receives Src.Rows ranges in the storage kind of Src.
///
/// NaN/Inf: a row holding a NaN, or a row without elements, has range NaN.
LUMEX_API void RangeRows(const TMtx& Src, TVec& Results);
/// Column form of RangeRows: the range of each column of Src.
/// @param Src           the matrix, any storage kind.
/// @param[out] Results  receives Src.Cols ranges in the storage kind of Src.
///
/// NaN/Inf: a column holding a NaN, or a column without elements, has range NaN.
LUMEX_API void RangeCols(const TMtx& Src, TVec& Results);

/// The distinct values of Src in ascending order, with their counts.
///
/// Values are compared exactly in the storage precision, so single-precision values that differ
/// only beyond single precision are one value.
/// @param Src         a vector or a matrix (read in row-major order), real.
/// @param[out] Dst    receives the distinct values, in the precision of Src; an empty Src gives
///                    an empty Dst.
/// @param[out] Counts may be null; when given, receives the number of times each value occurs.
/// @throws ELumexError "Unique: Src.Complex" for complex Src.
///
/// NaN/Inf: NaNs count as one value, placed last.
LUMEX_API void Unique(const TDenseLumex& Src, TVec& Dst, TVecInt* Counts = nullptr);

/// @}

/// @name Histograms and empirical distribution
/// Frequency counts over equal-width bins (counted by the kernels of lumex/core/histogram.h in
/// the storage precision of Data) or over bins given by their centres, their cumulative relative
/// form, and the empirical distribution function. Real outputs take the storage precision of Data
/// (of Bins in the centre forms).
/// @{

/// Counts of NumBins equal bins of width w = (Max - Min) / NumBins between given limits.
///
/// A value equal to Max is counted in the last bin; values outside [Min, Max] are not counted
/// (the limits are used as given, not clamped). When Min = Max the limits become
/// Min - floor(NumBins/2) - 0.5 and Max + ceil(NumBins/2) + 0.5, bins of width 1 about the value.
/// @param Data        the sample, real.
/// @param NumBins     the number of bins, > 0.
/// @param[out] Counts receives the NumBins counts; an empty Data gives zero counts.
/// @param[out] Bins   receives, with CentreBins, the NumBins bin centres Min + w/2, Min + 3w/2,
///                    ...; otherwise the NumBins + 1 edges Min, Min + w, ..., Max.
/// @param CentreBins  centres (true) or edges (false) in Bins.
/// @param Max, Min    the upper and lower limits.
/// @throws ELumexError "Histogram: Data.Complex = true" for complex Data.
/// @throws ELumexError "Histogram: NumBins <= 0" for NumBins <= 0.
/// @throws ELumexError "Histogram: NumBins too large" when NumBins + 1 edges exceed
///         AllocationLimit or 2^31 - 1 (every form).
///
/// NaN/Inf: NaN values are not counted.
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins,
                         bool CentreBins, double Max, double Min);
/// Histogram between the smallest and largest value of Data.
/// @param Data        the sample, real.
/// @param NumBins     the number of bins, > 0.
/// @param[out] Counts receives the NumBins counts.
/// @param[out] Bins   receives the centres or edges, as in the main form.
/// @param CentreBins  centres (true) or edges (false) in Bins.
/// @throws ELumexError the messages of the main form.
///
/// NaN/Inf: an empty Data, or one holding a NaN, gives NaN limits and bins and zero counts.
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins,
                         bool CentreBins);
/// Histogram with the counts as reals, between given limits.
/// @param Data         the sample, real.
/// @param NumBins      the number of bins, > 0.
/// @param[out] Results receives the NumBins counts as reals, in the precision of Data.
/// @param[out] Bins    receives the centres or edges, as in the main form.
/// @param CentreBins   centres (true) or edges (false) in Bins.
/// @param Max, Min     the upper and lower limits.
/// @throws ELumexError "Histogram : Data.Complex = true" and "Histogram : NumBins <= 0" (a
///         blank before the colon), and "Histogram: NumBins too large".
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins,
                         double Max, double Min);
/// Histogram with the counts as reals, between the smallest and largest value of Data.
/// @param Data         the sample, real.
/// @param NumBins      the number of bins, > 0.
/// @param[out] Results receives the NumBins counts as reals, in the precision of Data.
/// @param[out] Bins    receives the centres or edges, as in the main form.
/// @param CentreBins   centres (true) or edges (false) in Bins.
/// @throws ELumexError "Histogram : Data.Complex = true", "Histogram : NumBins <= 0" and
///         "Histogram: NumBins too large".
///
/// NaN/Inf: as the integer form between the data's limits.
LUMEX_API void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins);
/// Histogram about m ascending bin centres.
///
/// The bins meet halfway between neighbouring centres; a value on such a boundary is counted in
/// the lower bin. The first bin reaches down to the smallest value and the last up to the
/// largest, so every value but a NaN is counted. When all values are equal the outer limits are
/// moved out by floor(m/2) + 0.5 and ceil(m/2) + 0.5.
/// @param Data         the sample, real.
/// @param Bins         the m bin centres, ascending (not checked), m >= 1.
/// @param[out] Results receives the m counts as reals, in the precision of Bins.
/// @throws ELumexError "Histogram : Data.Complex = true" for complex Data.
/// @throws ELumexError "Histogram : Bins.Length < 1" for an empty Bins.
///
/// NaN/Inf: NaN values are not counted.
LUMEX_API void Histogram(const TVec& Data, const TVec& Bins, TVec& Results);

/// Cumulative relative frequencies over NumBins equal bins between the smallest and largest
/// value: the running sums of the matching real Histogram divided by their total.
///
/// @param Data         the sample, real.
/// @param NumBins      the number of bins, > 0.
/// @param[out] Results receives the NumBins cumulative frequencies; the last is 1 for any
///                     non-empty Data (an empty Data gives NaN, 0/0).
/// @param[out] Bins    receives the centres or edges, as Histogram.
/// @param CentreBins   centres (true) or edges (false) in Bins.
/// @throws ELumexError "CumulativeHist: NumBins too large", then the messages of the real
///         Histogram.
LUMEX_API void CumulativeHist(const TVec& Data, int NumBins, TVec& Results, TVec& Bins,
                              bool CentreBins);
/// Centre form of CumulativeHist: the cumulative relative frequencies about the centres Bins.
/// @param Data         the sample, real.
/// @param Bins         the m bin centres, ascending.
/// @param[out] Results receives the m cumulative frequencies, in the precision of Bins.
/// @throws ELumexError the messages of the centre form of Histogram.
LUMEX_API void CumulativeHist(const TVec& Data, const TVec& Bins, TVec& Results);

/// The empirical distribution function of a sorted sample.
///
/// @param Data     the sample, sorted ascending (not checked; unsorted data give meaningless
///                 runs).
/// @param[out] X   receives the k distinct values in ascending order, in the precision of Data.
/// @param[out] F   receives [0, F1, ..., Fk] (k + 1 values), Fj the fraction of values
///                 <= X[j - 1], in the precision of Data. An empty Data gives an empty X and
///                 F = [0].
/// @throws ELumexError "EmpiricalCDF: complex data not supported" for complex Data.
///
/// NaN/Inf: NaNs, which sort last, do not compare: the largest number and the NaNs after it form
/// one final run, reported in X as NaN with F = 1.
LUMEX_API void EmpiricalCDF(const TVec& Data, TVec& X, TVec& F);

/// @}

/// @name Covariance and correlation
/// Biased true divides sums of squared deviations by the number of observations n, false by
/// n - 1. Computed in double precision; a matrix result takes the storage precision of X. With no
/// observations (n = 0) every result is NaN.
/// @{

/// Variance of a sample.
///
/// @param X          the sample, real.
/// @param[out] Var   receives the variance; set to 0 before the check.
/// @param Biased     divisor n (true) or n - 1 (false).
/// @throws ELumexError "Covariance: X.Complex" for complex X.
///
/// NaN/Inf: a NaN value gives NaN; an empty X gives NaN.
LUMEX_API void Covariance(const TVec& X, double& Var, bool Biased);
/// Pair form of Covariance: the 2 x 2 covariance matrix of the samples X and Y.
///
/// Note: for matrices (taken as one sample of all their elements) the divisor uses X.Rows, not
/// the number of elements, so use vectors for the ordinary covariance of two samples.
/// @param X, Y          the samples: two vectors or two matrices of equal length, real.
/// @param[out] Results  receives the 2 x 2 matrix, in the precision of X.
/// @param Biased        divisor n (true) or n - 1 (false).
/// @throws ELumexError "Covariance: X.Length <> Y.Length", "Covariance: X.Complex or Y.Complex"
///         and "Covariance: X.LumexType <> Y.LumexType" (a vector with a matrix), in this order.
LUMEX_API void Covariance(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, bool Biased);
/// Matrix form of Covariance: the covariance matrix of the columns of X (rows are
/// observations).
/// @param X             the n x p data, real.
/// @param[out] Results  receives the p x p matrix, in the precision of X.
/// @param Biased        divisor n (true) or n - 1 (false).
/// @throws ELumexError "Covariance: X.Complex" for complex X.
LUMEX_API void Covariance(const TMtx& X, TMtx& Results, bool Biased);

/// The 2 x 2 correlation matrix of the samples X and Y (R's cor).
///
/// The covariance (divisor n - 1) with element (i, j) divided by sqrt(C(i, i) * C(j, j)).
/// @param X, Y          the samples, as the pair form of Covariance.
/// @param[out] Results  receives the 2 x 2 matrix, in the precision of X.
/// @throws ELumexError the messages of the pair form of Covariance.
///
/// NaN/Inf: a sample of zero variance gives NaN correlations.
LUMEX_API void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results);
/// CorrCoef with the t statistic of H0: no correlation.
/// @param X, Y          the samples, as the pair form of Covariance.
/// @param[out] Results  receives the 2 x 2 matrix, in the precision of X.
/// @param[out] T        receives r sqrt((n - 2) / (1 - r^2)), r = Results(0, 1) in double,
///                      n = X.Length (n - 2 degrees of freedom); +-Inf when |r| = 1.
/// @throws ELumexError the messages of the pair form of Covariance.
LUMEX_API void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, double& T);
/// Matrix form of CorrCoef: the correlation matrix of the columns of X.
/// @param X             the n x p data, real.
/// @param[out] Results  receives the p x p matrix, in the precision of X.
/// @throws ELumexError "Covariance: X.Complex" for complex X.
///
/// NaN/Inf: a column of zero variance gives NaN correlations.
LUMEX_API void CorrCoef(const TMtx& X, TMtx& Results);

/// @}

/// @name Distribution fitting: closed-form estimates
/// Moment and maximum-likelihood estimates that need no iteration. X is the sample (real, never
/// modified); estimates are written to the reference arguments. Nothing but complex data (and the
/// two BinomFit conditions) is checked: an empty sample, a zero variance or values outside the
/// law's support give NaN or infinite estimates, never an exception, and a NaN in X gives NaN
/// estimates (0 for the whole-number ones). Interval overloads give two-sided intervals of
/// nominal coverage 1 - Alpha; Alpha is not checked.
/// @{

/// Normal fit: Mu = the mean, Sigma = the standard deviation (divisor n - 1).
///
/// @param X           the sample.
/// @param[out] Mu     receives the mean.
/// @param[out] Sigma  receives the standard deviation.
/// @throws ELumexError "NormalFit: X.Complex=True" for complex X.
LUMEX_API void NormalFit(const TVec& X, double& Mu, double& Sigma);
/// NormalFit with intervals: Mu +- t(n-1) Sigma / sqrt(n), and Sigma sqrt((n - 1) / chi2(n-1))
/// at the two chi-square quantiles.
/// @param X                  the sample.
/// @param[out] Mu, Sigma     receive the estimates.
/// @param[out] MuConfInt     receives the interval of the mean.
/// @param[out] SigmaConfInt  receives the interval of the standard deviation.
/// @param Alpha              1 - the coverage.
/// @throws ELumexError "NormalFit: X.Complex=True" for complex X.
LUMEX_API void NormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
                         TTwoElmReal& SigmaConfInt, double Alpha);
/// Log-normal fit: NormalFit of ln x (Mu and Sigma are those of ln X).
/// @param X           the sample, positive.
/// @param[out] Mu     receives the mean of ln x.
/// @param[out] Sigma  receives the standard deviation of ln x.
/// @throws ELumexError "LogNormalFit: X.Complex=True" for complex X.
LUMEX_API void LogNormalFit(const TVec& X, double& Mu, double& Sigma);
/// LogNormalFit with the intervals of NormalFit on ln x.
/// @param X                  the sample, positive.
/// @param[out] Mu, Sigma     receive the estimates.
/// @param[out] MuConfInt     receives the interval of Mu.
/// @param[out] SigmaConfInt  receives the interval of Sigma.
/// @param Alpha              1 - the coverage.
/// @throws ELumexError "LogNormalFit: X.Complex=True" for complex X.
LUMEX_API void LogNormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
                            TTwoElmReal& SigmaConfInt, double Alpha);
/// Exponential fit: the mean Mu = mean(x) (a scale, not a rate).
/// @param X        the sample.
/// @param[out] Mu  receives the mean.
/// @throws ELumexError "ExponentFit: X.Complex=True" for complex X.
LUMEX_API void ExponentFit(const TVec& X, double& Mu);
/// ExponentFit with an exact interval: the gamma(n, Mu/n) quantiles.
/// @param X               the sample.
/// @param[out] Mu         receives the mean.
/// @param[out] MuConfInt  receives the interval.
/// @param Alpha           1 - the coverage.
/// @throws ELumexError "ExponentFit: A.Complex = True" for complex X (this form's own message).
LUMEX_API void ExponentFit(const TVec& X, double& Mu, TTwoElmReal& MuConfInt, double Alpha);
/// Poisson fit: Lambda = mean(x).
/// @param X            the sample (counts).
/// @param[out] Lambda  receives the mean.
/// @throws ELumexError "PoissonFit: X.Complex=True" for complex X.
LUMEX_API void PoissonFit(const TVec& X, double& Lambda);
/// PoissonFit with an interval: with S = n Lambda, [q(Alpha/2), q(1 - Alpha/2)] / n, q the
/// Poisson(S) quantiles for S < 100, else the normal(S, sqrt S) quantiles.
/// @param X                   the sample (counts).
/// @param[out] Lambda         receives the mean.
/// @param[out] LambdaConfInt  receives the interval.
/// @param Alpha               1 - the coverage.
/// @throws ELumexError "PoissonFit: X.Complex=True" for complex X.
LUMEX_API void PoissonFit(const TVec& X, double& Lambda, TTwoElmReal& LambdaConfInt, double Alpha);
/// Continuous uniform fit: Low = min, High = max.
/// @param X           the sample.
/// @param[out] Low    receives the smallest value.
/// @param[out] High   receives the largest value.
/// @throws ELumexError "UniformFit: X.Complex=True" for complex X.
LUMEX_API void UniformFit(const TVec& X, double& Low, double& High);
/// UniformFit with intervals: with d = (High - Low) / Alpha^(1/n), LowConfInt = [High - d, Low]
/// and HighConfInt = [High, Low + d].
/// @param X                 the sample.
/// @param[out] Low, High    receive the estimates.
/// @param[out] LowConfInt   receives the interval of the lower limit.
/// @param[out] HighConfInt  receives the interval of the upper limit.
/// @param Alpha             1 - the coverage.
/// @throws ELumexError "UniformFit: X.Complex=True" for complex X.
LUMEX_API void UniformFit(const TVec& X, double& Low, double& High, TTwoElmReal& LowConfInt,
                          TTwoElmReal& HighConfInt, double Alpha);
/// Discrete uniform fit on 1..N: N = ceil(max).
/// @param X       the sample.
/// @param[out] N  receives the estimate; a maximum past the 32-bit range gives N saturated to
///                2147483647 (-2147483648 below it; 0 for NaN).
/// @throws ELumexError "UniformDFit: X.Complex = True" for complex X.
LUMEX_API void UniformDFit(const TVec& X, int& N);
/// UniformDFit with an interval: NConfInt = [N / (1 - Alpha)^(1/n), N / Alpha^(1/n)], computed
/// from ceil(max) in double, not from the saturated N.
/// @param X              the sample.
/// @param[out] N         receives the estimate.
/// @param[out] NConfInt  receives the interval.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "UniformDFit: X.Complex = True" for complex X.
LUMEX_API void UniformDFit(const TVec& X, int& N, TTwoElmReal& NConfInt, double Alpha);
/// Geometric fit (failures before the first success): P = 1 / (mean + 1).
/// @param X       the sample (counts).
/// @param[out] P  receives the success probability.
/// @throws ELumexError "GeometricFit: X.Complex=True" for complex X.
LUMEX_API void GeometricFit(const TVec& X, double& P);
/// GeometricFit with Wald's interval, the standard error of p taken from the inverse observed
/// information of the negative binomial log-likelihood in (r, p) at r = 1.
/// @param X              the sample (counts).
/// @param[out] P         receives the success probability.
/// @param[out] PConfInt  receives the interval (infinite or NaN ends for a singular
///                       information).
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "GeometricFit: X.Complex=True" for complex X.
LUMEX_API void GeometricFit(const TVec& X, double& P, TTwoElmReal& PConfInt, double Alpha);
/// Rayleigh fit: B = sqrt(mean(x^2) / 2).
/// @param X       the sample.
/// @param[out] B  receives the parameter.
/// @throws ELumexError "RayleighFit: X.Complex=True" for complex X.
LUMEX_API void RayleighFit(const TVec& X, double& B);
/// RayleighFit with the exact interval from the pivot 2n B^2 / b^2 ~ chi2(2n).
/// @param X              the sample.
/// @param[out] B         receives the parameter.
/// @param[out] BConfInt  receives the interval.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "RayleighFit: X.Complex=True" for complex X.
LUMEX_API void RayleighFit(const TVec& X, double& B, TTwoElmReal& BConfInt, double Alpha);
/// Inverse Gaussian fit by maximum likelihood: Mu = mean, Lambda = n / sum(1/x - 1/Mu).
/// @param X            the sample, positive.
/// @param[out] Mu      receives the mean.
/// @param[out] Lambda  receives the shape.
/// @throws ELumexError "InverseGaussianFit: X.Complex=True" for complex X.
LUMEX_API void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda);
/// InverseGaussianFit with intervals: Lambda from the exact pivot n Lambda / Lambda-hat ~
/// chi2(n - 1), i.e. [Lambda chi2(Alpha/2; n-1) / n, Lambda chi2(1 - Alpha/2; n-1) / n]; Mu by
/// Wald with the standard error sqrt(Mu^3 / (Lambda n)).
/// @param X                   the sample, positive.
/// @param[out] Mu, Lambda     receive the estimates.
/// @param[out] MuConfInt      receives the interval of Mu.
/// @param[out] LambdaConfInt  receives the interval of Lambda.
/// @param Alpha               1 - the coverage.
/// @throws ELumexError "InverseGaussianFit: X.Complex=True" for complex X.
LUMEX_API void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda, TTwoElmReal& MuConfInt,
                                  TTwoElmReal& LambdaConfInt, double Alpha);
/// Maxwell fit: A = sqrt(mean(x^2) / 3).
/// @param X       the sample.
/// @param[out] A  receives the scale.
/// @throws ELumexError "MaxwellFit: X.Complex=True" for complex X.
LUMEX_API void MaxwellFit(const TVec& X, double& A);
/// Laplace fit: Mu = the median, B = mean |x - Mu|.
/// @param X        the sample.
/// @param[out] Mu  receives the location.
/// @param[out] B   receives the scale.
/// @throws ELumexError "LaplaceFit: X.Complex=True" for complex X.
LUMEX_API void LaplaceFit(const TVec& X, double& Mu, double& B);
/// Logistic fit by moments: Mu = mean, S = sd sqrt(3) / pi (divisor n - 1).
/// @param X        the sample.
/// @param[out] Mu  receives the location.
/// @param[out] S   receives the scale.
/// @throws ELumexError "LogisticFit: X.Complex=True" for complex X.
LUMEX_API void LogisticFit(const TVec& X, double& Mu, double& S);
/// Chi-square fit: Nu = the mean rounded to the nearest integer (halves to even).
///
/// A mean past the 32-bit range saturates Nu to 2147483647 (-2147483648 below it; 0 for NaN);
/// the other whole-number estimates (ErlangFit K, BinomFit n, FFit, StudentFit) saturate alike.
/// @param X        the sample.
/// @param[out] Nu  receives the degrees of freedom.
/// @throws ELumexError "ChiSquareFit: X.Complex=True" for complex X.
LUMEX_API void ChiSquareFit(const TVec& X, int& Nu);
/// Erlang fit by moments: Lambda = mean / variance, K = mean * Lambda rounded (halves to even).
/// @param X            the sample.
/// @param[out] K       receives the number of phases.
/// @param[out] Lambda  receives the rate.
/// @throws ELumexError "ErlangFit: X.Complex=True" for complex X.
LUMEX_API void ErlangFit(const TVec& X, int& K, double& Lambda);
/// Negative binomial fit by moments: P = mean / variance, R = P mean / (1 - P).
///
/// Data whose variance does not exceed the mean give P >= 1 and a negative or infinite R.
/// @param X       the sample (counts).
/// @param[out] R  receives the number of successes.
/// @param[out] P  receives the success probability.
/// @throws ELumexError "NegBinomFit: X.Complex=True" for complex X.
LUMEX_API void NegBinomFit(const TVec& X, double& R, double& P);
/// Binomial proportions, one per element of X: P = x / n, n trials for every element.
/// @param X       the counts of successes.
/// @param n       the number of trials, not 0.
/// @param[out] P  receives the proportions, sized as X.
/// @throws ELumexError "BinomFit: n cannot be zero!" (checked first) and
///         "BinomFit: X.Complex = True".
LUMEX_API void BinomFit(const TVec& X, double n, TVec& P);
/// BinomFit with one number of trials per element: P[i] = X[i] / n[i].
/// @param X       the counts of successes.
/// @param n       the numbers of trials, of the length of X.
/// @param[out] P  receives the proportions, in the precision of X.
/// @throws ELumexError "BinomFit: X and n must match in size!" for vectors of different lengths
///         or a complex X or n.
LUMEX_API void BinomFit(const TVec& X, const TVec& n, TVec& P);
/// BinomFit with Clopper-Pearson intervals from F quantiles.
///
/// PLow = v1 F / (v2 + v1 F) with v1 = 2x, v2 = 2(n - x + 1), F = F(Alpha/2; v1, v2); PHigh
/// likewise with v1 = 2(x + 1), v2 = 2(n - x) and F(1 - Alpha/2; v1, v2). The degrees of freedom
/// are rounded to whole numbers (halves to even); at x = 0 or x = n a zero degree of freedom
/// gives the bound the F quantile gives (NaN).
/// @param X           the counts of successes.
/// @param n           the number of trials, not 0.
/// @param[out] P      receives the proportions, sized as X.
/// @param[out] PLow   receives the lower bounds, sized as X.
/// @param[out] PHigh  receives the upper bounds, sized as X.
/// @param Alpha       1 - the coverage.
/// @throws ELumexError "BinomFit: X.Complex=True", then the messages of the first form.
LUMEX_API void BinomFit(const TVec& X, double n, TVec& P, TVec& PLow, TVec& PHigh, double Alpha);
/// Binomial fit with an unknown number of trials, by moments: P = 1 - variance/mean,
/// n = mean / P rounded (halves to even; saturated as ChiSquareFit).
/// @param X       the sample (counts).
/// @param[out] n  receives the number of trials.
/// @param[out] P  receives the success probability.
/// @throws ELumexError "BinomFit: X.Complex=True" for complex X.
LUMEX_API void BinomFit(const TVec& X, int& n, double& P);

/// @}

/// @name Distribution fitting: maximum likelihood
/// Each fit starts from a closed-form estimate and minimises the negative log-likelihood with
/// Nelder-Mead (Simplex) under MaxIter and Tolerance, returning the point where Simplex stopped
/// whatever its stop reason. Interval overloads add Wald intervals est -+ z(1 - Alpha/2) se, with
/// se from the outer product of forward-difference scores (absolute step sqrt(eps)). Only complex
/// data raise; data outside the support give infinite objectives and whatever Simplex returns.
/// The negative log-likelihoods take ObjConsts = [X, W]: the sample and a work vector that
/// receives the densities (so one W must not be shared by concurrent optimisations); a wrong
/// object raises "<Name>: ObjConsts must hold the sample and a work vector".
/// @{

/// Beta(A, B) maximum-likelihood fit on (0, 1).
///
/// Started from the geometric means G1 of x and G2 of 1 - x: A = (1 - G2) / (2d),
/// B = (1 - G1) / (2d), d = 1 - G1 - G2.
/// @param X          the sample, in (0, 1).
/// @param[out] A, B  receive the shapes.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "BetaFit: X.Complex=True" for complex X.
LUMEX_API void BetaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
/// BetaFit with Wald intervals.
/// @param X              the sample, in (0, 1).
/// @param[out] A, B      receive the shapes.
/// @param[out] AConfInt  receives the interval of A.
/// @param[out] BConfInt  receives the interval of B.
/// @param MaxIter        the largest number of Simplex iterations.
/// @param Tolerance      the Simplex convergence tolerance.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "BetaFit: X.Complex = True" for complex X (blanks around "=").
LUMEX_API void BetaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                       TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
/// Gamma maximum-likelihood fit with shape A and scale B, started from the moments.
/// @param X          the sample, positive.
/// @param[out] A     receives the shape.
/// @param[out] B     receives the scale.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "GammaFit: X.Complex=True" for complex X.
LUMEX_API void GammaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
/// GammaFit with Wald intervals.
/// @param X              the sample, positive.
/// @param[out] A, B      receive the shape and the scale.
/// @param[out] AConfInt  receives the interval of A.
/// @param[out] BConfInt  receives the interval of B.
/// @param MaxIter        the largest number of Simplex iterations.
/// @param Tolerance      the Simplex convergence tolerance.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "GammaFit : X.Complex = True" for complex X (this form's own message).
LUMEX_API void GammaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                        TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
/// Weibull maximum-likelihood fit with scale A and shape B.
///
/// Started from the least-squares line of the Weibull plot (shape = slope, scale =
/// exp(-intercept/slope)). The objective adds 2^-52 to every density before its logarithm, so a
/// point far in the tail costs a large but finite amount.
/// @param X          the sample, positive.
/// @param[out] A     receives the scale.
/// @param[out] B     receives the shape.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "WeibullFit: X.Complex=True" for complex X.
LUMEX_API void WeibullFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
/// WeibullFit with Wald intervals.
/// @param X              the sample, positive.
/// @param[out] A, B      receive the scale and the shape.
/// @param[out] AConfInt  receives the interval of A.
/// @param[out] BConfInt  receives the interval of B.
/// @param MaxIter        the largest number of Simplex iterations.
/// @param Tolerance      the Simplex convergence tolerance.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "WeibullFit: X.Complex=True" for complex X.
LUMEX_API void WeibullFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                          TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
/// Cauchy maximum-likelihood fit with location A and scale B >= eps, started from the median
/// and max(0.2, sd/10).
/// @param X          the sample.
/// @param[out] A     receives the location.
/// @param[out] B     receives the scale.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "CauchyFit: X.Complex=True" for complex X.
LUMEX_API void CauchyFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance);
/// CauchyFit with Wald intervals.
/// @param X              the sample.
/// @param[out] A, B      receive the location and the scale.
/// @param[out] AConfInt  receives the interval of A.
/// @param[out] BConfInt  receives the interval of B.
/// @param MaxIter        the largest number of Simplex iterations.
/// @param Tolerance      the Simplex convergence tolerance.
/// @param Alpha          1 - the coverage.
/// @throws ELumexError "CauchyFit: X.Complex = True" for complex X (blanks around "=").
LUMEX_API void CauchyFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                         TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha);
/// F maximum-likelihood fit with integer degrees of freedom (the objective rounds them).
///
/// Started from the moments and bounded to [1, start + 2]. The optimum is kept only when
/// Simplex converged (osrConverged); otherwise the rounded moment start is returned.
/// @param X          the sample, positive.
/// @param[out] Nu1   receives the numerator degrees of freedom.
/// @param[out] Nu2   receives the denominator degrees of freedom.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "FFit: X.Complex = True" for complex X.
LUMEX_API void FFit(const TVec& X, int& Nu1, int& Nu2, int MaxIter, double Tolerance);
/// Student's t maximum-likelihood fit with integer degrees of freedom.
///
/// Started from max(2, trunc(2v/(v - 1))) (v the variance) and bounded to [1, 2 start]; kept
/// only when Simplex converged, as FFit.
/// @param X          the sample.
/// @param[out] Nu    receives the degrees of freedom.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "StudentFit: X.Complex=True" for complex X.
LUMEX_API void StudentFit(const TVec& X, int& Nu, int MaxIter, double Tolerance);
/// Triangular maximum-likelihood fit with lower limit A, upper limit B and mode C, every
/// parameter kept within the sample range.
///
/// Note: with the limits held inside the range, the density at the sample's own extremes is 0
/// wherever a limit sits on them, so the likelihood is usually 0 at every trial point and the
/// moment start (A = min, B = max, C = 3 mean - A - B clamped to the range) is returned.
/// @param X          the sample.
/// @param[out] A     receives the lower limit.
/// @param[out] B     receives the upper limit.
/// @param[out] C     receives the mode.
/// @param MaxIter    the largest number of Simplex iterations.
/// @param Tolerance  the Simplex convergence tolerance.
/// @throws ELumexError "TriangularFit: X.Complex=True" for complex X.
LUMEX_API void TriangularFit(const TVec& X, double& A, double& B, double& C, int MaxIter,
                             double Tolerance);
/// The beta negative log-likelihood -sum ln BetaPDF(x; Pars[0], Pars[1]), the objective of
/// BetaFit.
/// @param Pars       the shapes A and B (a missing element counts as NaN).
/// @param Consts     ignored.
/// @param ObjConsts  [X, W]: the sample, and a work vector that receives the densities.
/// @return           the negative log-likelihood; +Inf where a density is 0, NaN for NaN
///                   parameters or data.
/// @throws ELumexError "BetaLike: ObjConsts must hold the sample and a work vector" when
///         ObjConsts does not hold two vectors.
LUMEX_API double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts);
/// BetaLike with the outer-product standard errors of Pars[0] and Pars[1].
/// @param Pars        the shapes A and B.
/// @param Consts      ignored.
/// @param ObjConsts   [X, W], as the first form.
/// @param[out] StdErr receives the standard errors of A and B (NaN when Pars has fewer than two
///                    elements or X fewer values than Pars).
/// @return            the negative log-likelihood.
/// @throws ELumexError "BetaLike: ObjConsts must hold the sample and a work vector".
LUMEX_API double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                          TTwoElmReal& StdErr);

/// @}

/// @name Goodness-of-fit tests
/// None of these tests checks Alpha: a level outside (0, 1) simply decides by the comparison
/// Alpha >= Signif. hType outside THypothesisType raises "<Test>: unknown hType" first, in the
/// tests that take it.
/// @{

/// One-sample Kolmogorov-Smirnov test against the standard normal law or a tabulated
/// distribution function.
///
/// D is D+ (htRightTailed), D- (htLeftTailed) or max(D+, D-) between the empirical distribution
/// function F of Data and the reference. Significance: the asymptotic Kolmogorov law at
/// lambda = (sqrt n + 0.11/sqrt n + 0.12) D, at every n (two-tailed: the alternating series;
/// one-tailed: exp(-2 lambda^2)). The decision compares D with a critical value (tabulated for
/// n <= 20, an approximation above) when the level a (Alpha/2 two-tailed) lies in
/// [0.005, 0.1], else Alpha with Signif; never hrNan.
/// @param Data         the sample, real, not empty.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance.
/// @param CDFx, CDFy   the points and values of the reference distribution function, or null
///                     (either absent: the standard normal). F is compared element by element
///                     with the CDFy values in the order of ascending CDFx, so CDFx is expected
///                     to hold the distinct sample values.
/// @param hType        the alternative.
/// @param Alpha        the significance level.
/// @return             D.
/// @throws ELumexError "GOFKolmogorov: Data.Complex", "GOFKolmogorov: Data.Length=0",
///         "GOFKolmogorov: CDFx.Length <> CDFy.Length" and
///         "GOFKolmogorov: CDFx.Length > number of distinct values of Data", in this order.
///
/// NaN/Inf: a NaN difference makes D and Signif NaN; the decision is then hrNotReject.
LUMEX_API double GOFKolmogorov(const TVec& Data, THypothesisResult& hRes, double& Signif,
                               const TVec* CDFx, const TVec* CDFy, THypothesisType hType,
                               double Alpha);
/// Two-sample Kolmogorov-Smirnov test.
///
/// D from the two empirical distribution functions (|F1 - F2| two-tailed, F2 - F1
/// right-tailed, F1 - F2 left-tailed), asymptotic significance with n = N1 N2 / (N1 + N2).
/// @param Data1, Data2  the samples, real, of one storage precision.
/// @param[out] hRes     receives the decision (hrNan for a NaN or infinite D or Signif).
/// @param[out] Signif   receives the significance.
/// @param hType         the alternative.
/// @param Alpha         the significance level.
/// @return              D.
/// @throws ELumexError "GOFKolmogorov: Data1.Complex or Data2.Complex" and
///         "GOFKolmogorov: Data1.FloatPrecision <> Data2.FloatPrecision".
///
/// NaN/Inf: a NaN in either sample, or an empty sample, gives NaN and hrNan.
LUMEX_API double GOFKolmogorov(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                               double& Signif, THypothesisType hType, double Alpha);
/// Chi-square test of observed counts O against expected counts E.
///
/// The statistic sum (O - E)^2 / E, a term with E = 0 and O <> 0 counting 0; Signif from
/// chi2(DF) by SignificanceByTail (htRightTailed: the upper tail).
/// @param O, E         the observed and expected counts, of equal length.
/// @param NumData      not used.
/// @param DF           the degrees of freedom.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance.
/// @param hType        the alternative.
/// @param Alpha        the significance level.
/// @throws ELumexError "GOFChi2Test: O.Length <> E.Length" and
///         "GOFChi2Test: O.Complex or E.Complex".
///
/// NaN/Inf: a 0/0 term (or a NaN count) makes the significance NaN and the result hrNan.
LUMEX_API void GOFChi2Test(const TVec& O, const TVec& E, int NumData, int DF,
                           THypothesisResult& hRes, double& Signif, THypothesisType hType,
                           double Alpha);
/// Chi-square test of a sample against the law Dist with fitted parameters.
///
/// NumBins equal bins between the sample's minimum and maximum, expected counts
/// n (F(edge[i+1]) - F(edge[i])), NumBins - k - 1 degrees of freedom (k fitted parameters),
/// then the count form above.
/// @param Data         the sample, real.
/// @param Dist         one of distBeta, distChiSquare, distErlang, distExponential, distGamma,
///                     distLaplace, distLogNormal, distMaxwell, distNormal, distRayleigh,
///                     distUniform, distWeibull.
/// @param NumBins      the number of bins, > 0.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance.
/// @param hType        the alternative.
/// @param Alpha        the significance level.
/// @throws ELumexError "GOFChi2Test: NumBins too large", "GOFChi2Test: Data.Complex" and
///         "GOFChi2Test: unsupported distribution" (any Dist outside the list, values past the
///         enumeration included), in this order; then Histogram's "Histogram : NumBins <= 0".
LUMEX_API void GOFChi2Test(const TVec& Data, TDistribution Dist, int NumBins,
                           THypothesisResult& hRes, double& Signif, THypothesisType hType,
                           double Alpha);
/// Lilliefors' test of normality: D of the sample against the normal law with its own mean and
/// standard deviation, with a simulated significance.
///
/// The significance P(D* > D) is estimated by simulating normal samples of the same size,
/// adding simulations (1000 first) until its estimated variance is below MCTol. Each
/// simulation draws from a freshly seeded generator, so the significance varies between calls
/// within its Monte Carlo error (seed the default source with RandSeed to repeat a run).
/// @param Data         the sample, real, at least 4 values.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance; MCTol >= 1 runs no simulation and gives 0.
/// @param Alpha        the significance level.
/// @param MCTol        the target variance of the estimated significance.
/// @return             D.
/// @throws ELumexError "GOFLillieTest: Data.Complex" and "GOFLillieTest: Data.Length<4".
///
/// NaN/Inf: a constant sample, or NaN data, give D and Signif NaN and hrNan.
LUMEX_API double GOFLillieTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                               double Alpha, double MCTol);
/// Anderson-Darling test of a sample against a law with estimated parameters.
///
/// The statistic A^2 for Dist = distNormal (mean and sd estimated; returns
/// A^2 (1 + 0.75/n + 2.25/n^2)), distLogNormal (the same on ln x), distExponential (scale =
/// mean) and distWeibull (WeibullFit(Data, a, b, 500, 1e-8)); the last two return
/// A^2 (1 + 0.2/sqrt n). Significances: normal and log-normal 1 - ADNormalCDF(A), the asymptotic
/// law of the statistic for a FULLY SPECIFIED distribution, which is conservative for estimated
/// parameters (for a calibrated normality test use GOFLillieTest); exponential from Stephens'
/// percentage points of A^2 (1 + 0.6/n) (scale estimated), interpolated by a logistic curve in
/// (ln A, A); Weibull from the published approximation 1 / (1 + exp(-0.1 + 1.24 ln A + 4.48 A)).
/// @param Data         the sample, real.
/// @param Dist         distNormal, distLogNormal, distExponential or distWeibull; any other
///                     value gives NaN and hrNan (Signif 0).
/// @param[out] hRes    receives the decision (hrNan for a NaN or infinite statistic or
///                     significance).
/// @param[out] Signif  receives the significance.
/// @param Alpha        the significance level.
/// @return             the corrected statistic.
/// @throws ELumexError "AndersonDarling: Data.Complex" for complex Data.
///
/// NaN/Inf: NaN data give NaN and hrNan.
LUMEX_API double AndersonDarling(const TVec& Data, TDistribution Dist, THypothesisResult& hRes,
                                 double& Signif, double Alpha);
/// Jarque-Bera test of normality: JB = n (S^2/6 + K^2/24) from the sample skewness S and excess
/// kurtosis K of the z-scores (standard deviation with divisor n - 1).
///
/// @param Data         the sample, real, not empty.
/// @param[out] hRes    receives the decision (hrNan for a NaN or infinite JB or Signif).
/// @param[out] Signif  receives P(chi2(2) > JB).
/// @param Alpha        the significance level.
/// @return             JB.
/// @throws ELumexError "GOFBeraJarqueTest: Data.Complex" and
///         "GOFBeraJarqueTest: Data.Length = 0".
///
/// NaN/Inf: a constant sample or NaN data give NaN and hrNan.
LUMEX_API double GOFBeraJarqueTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                                   double Alpha);

/// @}

/// @name Parametric tests
/// Tests of location and scale under normal theory. hType outside THypothesisType raises
/// "<Test>: unknown hType" first.
/// @{

/// One-sample t-test of H0: the mean of Data equals Mean.
///
/// The statistic (mean(Data) - Mean) / (s / sqrt(n)) with n - 1 degrees of freedom (R's
/// t.test); the interval is for the population mean around the sample mean (two-sided, or open
/// towards -Inf for htRightTailed and towards +Inf for htLeftTailed).
/// @param Data          the sample, real.
/// @param Mean          the hypothesised mean.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives the confidence interval of the mean.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              t.
/// @throws ELumexError "tTest: Data.Complex = true" for complex Data.
///
/// Alpha outside (0, 1) is not an error: hRes = hrNan, Signif and both interval ends NaN, and
/// the result is NaN. NaN/Inf: a non-finite t or significance gives hrNan.
LUMEX_API double tTest(const TVec& Data, double Mean, THypothesisResult& hRes, double& Signif,
                       TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);
/// Two-sample t-test of H0: equal means.
///
/// Paired: the one-sample tTest of Data1 - Data2 against 0, outputs and result alike.
/// Unpaired: pooled variances (R's t.test with var.equal = TRUE),
/// t = (mean1 - mean2) / se with
/// se = sqrt(((N1-1) s1^2 + (N2-1) s2^2) (1/N1 + 1/N2) / (N1 + N2 - 2)), N1 + N2 - 2 degrees of
/// freedom (the lengths may differ); the interval is for mean1 - mean2.
/// @param Data1, Data2  the samples, real.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives the confidence interval of the difference of the means.
/// @param Paired        paired (true) or independent (false) samples.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              t.
/// @throws ELumexError "tTest: vectors must be real", and when Paired
///         "tTest: Data1.Length <> Data2.Length" and
///         "tTest: Data1.FloatPrecision <> Data2.FloatPrecision".
///
/// Alpha outside (0, 1) as the one-sample form: no decision, NaN outputs and result.
///
/// NaN/Inf: a non-finite t or significance gives hrNan.
LUMEX_API double tTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, bool Paired, THypothesisType hType,
                       double Alpha);

/// Z-test of H0: the mean of Data equals Mean, the population standard deviation Sigma being
/// known.
///
/// @param Data          the sample, real.
/// @param Mean          the hypothesised mean.
/// @param Sigma         the known standard deviation.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives the interval of the mean, shaped as in tTest.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              z = (mean - Mean) / (Sigma / sqrt(n)).
/// @throws ELumexError "ZTest: Data.Complex = true" for complex Data.
///
/// Alpha outside (0, 1) or Sigma = 0 give hrNan, NaN significance, interval and result.
///
/// NaN/Inf: a non-finite z or significance gives hrNan.
LUMEX_API double ZTest(const TVec& Data, double Mean, double Sigma, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

/// Chi-square test of H0: the standard deviation of Data equals Sigma, with the statistic
/// (n - 1) s^2 / Sigma^2 on n - 1 degrees of freedom.
///
/// The interval is for the standard deviation, Q = (n - 1) s^2, chi2(p) the chi-square
/// quantile:
/// - htTwoTailed   [sqrt(Q / chi2(1 - Alpha/2)), sqrt(Q / chi2(Alpha/2))]
/// - htRightTailed [0, sqrt(Q / chi2(1 - Alpha))]
/// - htLeftTailed  [sqrt(Q / chi2(Alpha)), +Inf)
///
/// Note that the one-tailed ends are these quantiles as written (the right-tailed upper end is
/// the usual one-sided lower bound); take the two-tailed interval at level 2 Alpha for the
/// conventional one-sided bounds.
/// @param Data          the sample, real.
/// @param Sigma         the hypothesised standard deviation.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives the interval above.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @throws ELumexError "Chi2Test: Data.Complex = true" for complex Data.
///
/// Alpha outside (0, 1): hrNan and NaN outputs. NaN/Inf: a NaN significance gives hrNan.
LUMEX_API void ChiSquareTest(const TVec& Data, double Sigma, THypothesisResult& hRes,
                             double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                             double Alpha);

/// F-test of H0: equal variances, F = var(Data2) / var(Data1) (the SECOND sample's variance
/// over the first's) on df1 = N2 - 1 and df2 = N1 - 1 degrees of freedom.
///
/// The interval multiplies F by F quantiles q of (df1, df2):
/// - htTwoTailed   [F q(Alpha/2), F q(1 - Alpha/2)]
/// - htRightTailed [0, F q(Alpha)]
/// - htLeftTailed  [F q(1 - Alpha), +Inf)
///
/// These are the ends as this test defines them, not R's var.test interval (which divides by
/// the quantiles).
/// @param Data1, Data2  the samples, real, at least 2 values each.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives the interval above.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              F.
/// @throws ELumexError "FTest: (Data1.Complex) or (Data2.Complex)" and
///         "FTest: (Data1.Length<2) or (Data2.Length<2)".
///
/// Alpha outside (0, 1): hrNan and NaN outputs. NaN/Inf: a non-finite F or significance gives
/// hrNan.
LUMEX_API double FTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

/// Grubbs' test of H0: no outlier.
///
/// G = max |x - mean| / s (htTwoTailed), (max - mean) / s (htRightTailed) or (mean - min) / s
/// (htLeftTailed). The decision compares G with the critical value
/// Gcrit = (n-1) sqrt(tc^2 / (n (n - 2 + tc^2))), tc the Student quantile at 1 - a on n - 2
/// degrees of freedom, a = Alpha/(2n) two-tailed and Alpha/n one-tailed: hrReject when
/// G > Gcrit (strictly). Signif is the Bonferroni bound 2 n P(T > tG) for every tail type and
/// may exceed 1.
/// @param Data          the sample, real.
/// @param[out] hRes     receives the decision; Alpha is not checked.
/// @param[out] Signif   receives the significance above.
/// @param[out] ConfInt  receives [mean - Gcrit, mean + Gcrit]: Gcrit is in standard-deviation
///                      units, not multiplied by s.
/// @param hType         the alternative.
/// @param Alpha         the significance level.
/// @return              G.
/// @throws ELumexError "GrubbsTest: Data.Complex" for complex Data.
///
/// NaN/Inf: hrNan when G is not finite.
LUMEX_API double GrubbsTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                            TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

/// @}

/// @name Rank and sign tests
/// Distribution-free tests on ranks from TiedRanks. Exact null distributions for small samples,
/// normal approximations above. Note two departures from the textbook forms, kept on purpose:
/// the one-tailed significances of the exact WilcoxonSign branch and of MannWhitneyTest are
/// taken from the SMALLER statistic, so they do not depend on the direction of the shift (use
/// htTwoTailed, or look at which sum is the smaller, to read a direction); and the exact
/// right tail of SignTest is P(X > n+), not P(X >= n+).
/// A sample without any non-zero difference (also an empty one) gives a NaN significance and
/// hrNan in SignTest and WilcoxonSign. hType outside THypothesisType raises
/// "<Test>: unknown hType" first.
/// @{

/// Sign test of H0: the median of Data equals Median.
///
/// Zero differences are dropped; n counts the others, n+ the positive ones. n < 20: binomial,
/// htLeftTailed P(X <= n+), htRightTailed P(X > n+), htTwoTailed 2 P(X <= M); n >= 20: normal
/// approximation, z = (2 n+ - n)/sqrt(n) one-tailed and, two-tailed, a continuity correction of
/// the difference n+ - n- by one toward 0. Signif is at most 1.
/// @param Data          the sample, real.
/// @param Median        the hypothesised median.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance.
/// @param ConfInt       not written.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              M = min(n+, n-).
/// @throws ELumexError "SignTest: Data.Complex = true" and "SignTest: (Alpha<=0) or (Alpha>=1)".
///
/// NaN/Inf: a NaN difference counts as negative.
LUMEX_API double SignTest(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                          TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);
/// Paired form of SignTest: the one-sample test of Data1 - Data2 against 0 (the difference is
/// taken in the precision of Data1).
/// @param Data1, Data2  the paired samples, real, of equal length.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance.
/// @param ConfInt       not written.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              M = min(n+, n-).
/// @throws ELumexError "SignTest: (Data1.Length <> Data2.Length)",
///         "SignTest: vectors must be real" and "SignTest :(Alpha<=0) or (Alpha>=1)", in this
///         order.
LUMEX_API double SignTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                          double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                          double Alpha);

/// Wilcoxon signed-rank test of H0: the distribution of Data - Median is symmetric about 0.
///
/// T = min(W+, W-), the smaller of the rank sums of the positive and negative non-zero
/// differences (mid-ranks for ties). n < 15: exact, p = P(W <= T) (ties handled exactly),
/// htLeftTailed p, htRightTailed 1 - p, htTwoTailed 2p. n >= 15: normal approximation with the
/// tie-corrected variance, z from W+ one-tailed and from T two-tailed (2 Phi(z)). Note: the
/// variance term n(n+1)(2n+1) is taken in 32-bit integer arithmetic as this test defines it, so
/// for n >= 1024 non-zero differences it wraps around and the approximation is not usable
/// (typically a NaN significance and hrNan). Signif is at most 1.
/// @param Data          the sample, real.
/// @param Median        the hypothesised centre of symmetry.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance.
/// @param[out] ConfInt  receives, for every tail type, the acceptance range of the rank sum in
///                      whole numbers: nint(mu + s z(Alpha/2) - 0.5) and
///                      nint(mu + s z(1 - Alpha/2) + 0.5), mu = n(n+1)/4,
///                      s = sqrt(n(n+1)(2n+1)/24).
/// @param hType         the alternative.
/// @param Alpha         the significance level.
/// @return              T.
/// @throws ELumexError "WilcoxonSign: Data.Complex = true" for complex Data.
///
/// Alpha outside (0, 1): hRes = hrNan, Signif NaN, result NaN, ConfInt left as it was.
LUMEX_API double WilcoxonSign(const TVec& Data, double Median, THypothesisResult& hRes,
                              double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                              double Alpha);
/// Paired form of WilcoxonSign, on Data1 - Data2 against 0.
/// @param Data1, Data2  the paired samples, real, of equal length.
/// @param[out] hRes     receives the decision at level Alpha.
/// @param[out] Signif   receives the significance.
/// @param[out] ConfInt  receives the acceptance range of the rank sum, as the main form.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @return              T.
/// @throws ELumexError "WilcoxonSign: (Data1.Length <> Data2.Length)",
///         "WilcoxonSign: vectors must be real" and "WilcoxonSign :(Alpha<=0) or (Alpha>=1)", in
///         this order (here the level is checked, not quietly).
LUMEX_API double WilcoxonSign(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                              double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                              double Alpha);

/// Mann-Whitney U test of two independent samples.
///
/// U1 from the rank sum of Data1 in the pooled sample (mid-ranks for ties), p = P(U' <= U):
/// with NormalApprox the normal approximation without tie or continuity correction; otherwise
/// exact, by MannWCDF1 when both samples have at most 7 values and by the AS 62 frequency
/// recursion above (its work grows as N1 N2 min(N1, N2); it agrees with R's pwilcox).
/// htLeftTailed p, htRightTailed 1 - p, htTwoTailed 2p (not limited to 1).
/// @param Data1, Data2  the samples, real (a sample of the other precision is converted).
/// @param[out] hRes     receives the decision at level Alpha (hrNan for a non-finite U or
///                      Signif); hrNotReject is written before the checks.
/// @param[out] Signif   receives the significance; 1 is written before the checks.
/// @param ConfInt       not written.
/// @param hType         the alternative.
/// @param Alpha         the significance level, in (0, 1).
/// @param NormalApprox  normal approximation (true) or exact distribution (false).
/// @return              U = min(U1, N1 N2 - U1).
/// @throws ELumexError "MannWhitneyTest: vectors must be real" and
///         "MannWhitneyTest :(Alpha<=0) or (Alpha>=1)" (hRes and Signif then hold hrNotReject
///         and 1).
LUMEX_API double MannWhitneyTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                                 double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                                 double Alpha, bool NormalApprox);

/// The null distribution function P(U' <= U) of the Mann-Whitney statistic for samples of N1
/// and N2 values.
///
/// The fraction of the C(N1 + N2, N1) arrangements whose U is at most nint(U), counted
/// exactly without enumerating them.
/// @param N1, N2  the sample sizes.
/// @param U       the statistic.
/// @return        the probability; 0 when U rounds below 0.
///
/// NaN/Inf: NaN when N1 N2 < U, U is NaN, a size is negative or both are 0.
LUMEX_API double MannWCDF1(int N1, int N2, double U);

/// Spearman's rank correlation with the tie correction (the Pearson correlation of the
/// mid-ranks, R's cor with method "spearman"), with a test of H0: no correlation.
///
/// Significance from t = Rho sqrt((n-2)/(1-Rho^2)) on n - 2 degrees of freedom.
/// @param X, Y          the samples, real, of equal length.
/// @param[out] Rho      receives the rank correlation.
/// @param[out] hRes     receives the decision (hrNan when Signif is not finite); Alpha is not
///                      checked.
/// @param[out] Signif   receives the significance for the tail hType.
/// @param[out] ConfInt  receives, for every tail type, tanh(z -+ z(1 - Alpha) / sqrt(n - 3))
///                      with Fisher's z = atanh(Rho), a two-sided interval of level 1 - 2 Alpha.
/// @param hType         the alternative.
/// @param Alpha         the significance level.
/// @throws ELumexError "SpearmanRankCorr: (X.Complex) or (Y.Complex)" and
///         "SpearmanRankCorr: X.Length <> Y.Length".
LUMEX_API void SpearmanRankCorr(const TVec& X, const TVec& Y, double& Rho, THypothesisResult& hRes,
                                double& Signif, TTwoElmReal& ConfInt, THypothesisType hType,
                                double Alpha);

/// @}

/// @name Shapiro normality tests
/// Both correlate the ordered sample with the expected normal scores
/// m_i = NormalCDFInv((i - 0.375)/(n + 0.25)) and take the significance from Royston's
/// normalising transformation z of ln(1 - W); p = Phi(z). The tails are defined as:
/// htRightTailed 1 - p, htLeftTailed p, htTwoTailed min(p, 1 - p) (NOT doubled, at most 1/2).
/// Since p = Phi(z) is the probability of a W at least as close to 1 as observed, the usual
/// (upper-tail of z) significance of the Shapiro-Wilk test is the htRightTailed one.
/// Alpha is not checked; hrNan when W or Signif is not finite. hType outside THypothesisType
/// raises "<Test>: unknown hType" first.
/// @{

/// Shapiro-Wilk W with the coefficients of Royston's algorithm AS R94.
///
/// For n = 3 the exact coefficients -sqrt(1/2), 0, sqrt(1/2). The transformation of W: for
/// 4 <= n <= 11 y = -ln(gamma - ln(1 - W)) with gamma, mu and sigma polynomials in ln n (R's
/// swilk uses polynomials in n there, so its p-values differ for those sizes; for strongly
/// non-normal small samples gamma - ln(1 - W) <= 0 and the significance is NaN); for n = 3 and
/// n >= 12 y = ln(1 - W).
/// @param Data         the sample, real, 3 to 5000 values.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance for the tail hType.
/// @param hType        the tail (htRightTailed for the usual test).
/// @param Alpha        the significance level.
/// @return             W.
/// @throws ELumexError "ShapiroWilks: Data.Complex" and
///         "ShapiroWilks: (Data.Length<3) or (Data.Length>5000)".
LUMEX_API double ShapiroWilks(const TVec& Data, THypothesisResult& hRes, double& Signif,
                              THypothesisType hType, double Alpha);

/// Shapiro-Francia W' = (sum c_i x(i))^2 / sum (x_i - mean)^2 with c = m / |m|.
///
/// Royston's transformation mu = 1.0521 (ln ln n - ln n) - 1.2725,
/// sigma = 1.0308 - 0.026758 (ln ln n + 2 / ln n) (note 0.026758, which is not the constant of
/// some other implementations).
/// @param Data         the sample, real, any length.
/// @param[out] hRes    receives the decision.
/// @param[out] Signif  receives the significance for the tail hType.
/// @param hType        the tail (htRightTailed for the usual test).
/// @param Alpha        the significance level.
/// @return             W'.
/// @throws ELumexError "ShapiroFrancia: Data.Complex" for complex Data.
///
/// NaN/Inf: an empty or one-value Data gives NaN.
LUMEX_API double ShapiroFrancia(const TVec& Data, THypothesisResult& hRes, double& Signif,
                                THypothesisType hType, double Alpha);

/// @}

/// How the data-matrix PCA scales the data before the decomposition.
enum TPCAMode : std::uint8_t {
  PCACorrMat,  ///< Components of the correlation matrix; scores of the column z-scores.
  PCACovMat,   ///< Components of the covariance matrix (divisor n - 1); scores of the centred
               ///< data.
  PCARawData   ///< The same as PCACorrMat.
};

/// @name Principal components
/// Principal components of a covariance or correlation matrix, or of a data matrix (observations
/// in rows, variables in columns). Components come in order of decreasing variance. The sign of
/// a component is arbitrary; these functions fix it: in every column of PC the element of largest
/// absolute value (the first of them on a tie) is positive, and the scores follow that sign. R's
/// prcomp and eigen may return any column with the opposite sign. Complex data raise the core's
/// "SVD: complex matrix not supported" where the data are decomposed directly (the core
/// decomposes real data only).
/// @{

/// Principal components of a covariance or correlation matrix, by its singular value
/// decomposition, whose singular values are then its eigenvalues.
///
/// Matches R's eigen(CovMat) (and prcomp's rotation and sdev^2 when CovMat is cov(x)). Outputs
/// take the storage precision of CovMat.
/// @param CovMat            the p x p matrix, square, symmetric, positive semi-definite; not
///                          validated (a non-square matrix gives the singular values and right
///                          singular vectors of whatever it holds, an indefinite one the
///                          absolute values of its eigenvalues).
/// @param[out] PC           sized p x p, column j the component (eigenvector) of
///                          EigenValues[j], sign as stated above.
/// @param[out] EigenValues  receives the p eigenvalues, decreasing.
/// @param[out] VarPercent   may be null: each eigenvalue's share of their sum in per cent (sums
///                          to 100); nothing is written when null.
/// @throws ELumexError "SVD: complex matrix not supported" for complex CovMat.
///
/// NaN/Inf: NaN or infinite elements give NaN outputs.
LUMEX_API void PCA(const TMtx& CovMat, TMtx& PC, TVec& EigenValues, TVec* VarPercent);

/// Principal components of a data matrix (n observations in rows, p variables in columns), with
/// the component scores.
///
/// Mode PCACovMat: the eigenvalues of the sample covariance matrix (divisor n - 1), computed
/// through the symmetric eigen decomposition of that matrix, and scores of the centred data:
/// ZScores = (Data - column means) * PC. This is R's prcomp(Data): EigenValues = sdev^2,
/// PC = rotation, ZScores = x (up to column sign).
/// Mode PCACorrMat or PCARawData (and any other value): the eigenvalues of the correlation
/// matrix (they sum to p) and scores of the column z-scores (divisor n - 1): R's
/// prcomp(Data, scale. = TRUE). Outputs take the storage precision of Data.
/// @param Data              the n x p data matrix, not modified.
/// @param[out] PC           p x p, column j the component of EigenValues[j], sign as stated
///                          above.
/// @param[out] ZScores      n x p component scores, column j for component j.
/// @param[out] EigenValues  the p component variances, decreasing (negative rounding residues
///                          of a singular matrix are written as 0).
/// @param[out] VarPercent   may be null: each component's share of the total variance in per
///                          cent (sums to 100); nothing is written when null.
/// @param Mode              the scaling, see TPCAMode.
/// @throws ELumexError "SVD: complex matrix not supported" for complex data in the covariance
///         path, "Covariance: X.Complex" in the correlation path.
///
/// NaN/Inf: one row (n - 1 = 0), NaN or infinite data give NaN outputs; a constant column gives
/// NaN in the correlation path.
LUMEX_API void PCA(const TMtx& Data, TMtx& PC, TMtx& ZScores, TVec& EigenValues, TVec* VarPercent,
                   TPCAMode Mode);

/// Data minus its reconstruction from its first NumPC principal components, in Data's units.
///
/// The components are those of the correlation matrix (PCA with PCACorrMat); the reconstruction
/// from the z-score scores, Z_k V_k^T, is multiplied column by column by the standard deviations
/// (divisor n - 1) and the column means are added:
/// Residuals = Data - (Z_k V_k^T diag(sd) + 1 mean^T). In R:
/// `z <- scale(Data); V <- eigen(cor(Data))$vectors[, 1:k];`
/// `Data - sweep(sweep(z %*% V %*% t(V), 2, sd, "*"), 2, colMeans(Data), "+")`.
/// @param Data            the n x p data matrix, not modified.
/// @param NumPC           k, the number of components kept, k < p; k <= 0 keeps none (the
///                        residuals are then the centred data).
/// @param[out] Residuals  n x p, in the storage precision of Data.
/// @throws ELumexError "PCAResiduals: NumPC >= Data.Cols" first, then "Covariance: X.Complex"
///         for complex data.
///
/// NaN/Inf: NaN data or a constant column give NaN residuals.
LUMEX_API void PCAResiduals(const TMtx& Data, int NumPC, TMtx& Residuals);

/// @}

/// Kinds of Hotelling T^2 test. Published for callers; no function takes it: HotellingT2Two
/// chooses pooled or separate covariances with its EqualCov flag.
enum THotellingT2Type : std::uint8_t {
  htT2OneSample,           ///< One sample against hypothesised means.
  htT2Paired,              ///< Paired samples (the one-sample test of the differences).
  htT2Homoskedasticity,    ///< Two samples with equal covariance matrices (pooled).
  htT2Heteroskedasticity   ///< Two samples with unequal covariance matrices.
};

/// @name Multivariate tests
/// Tests on data matrices (observations in rows, variables in columns), with sample covariance
/// matrices of divisor n - 1. The Hotelling tests share one significance rule for T^2 on p
/// variables and an effective sample size m:
/// - m < 50:  F = T^2 (m - p) / ((m - 1) p),  Signif = P(F(p, m - p) > F)
/// - m >= 50: Signif = P(chi^2(p) > T^2)
///
/// Decision of the tests that return a statistic: hrNan when Signif or the statistic is NaN or
/// infinite, else hrReject when Alpha >= Signif, else hrNotReject. Alpha is not checked. A
/// singular covariance matrix gives what its inverse gives: the core's "Inv: matrix is singular"
/// when a pivot is exactly zero, otherwise large or non-finite values (hrNan for non-finite).
/// @{

/// One-sample Hotelling T^2 test.
///
/// With Means: H0 the mean vector of X equals Means, T^2 = n d' S^-1 d, d = column means -
/// Means, S the sample covariance; significance with m = n and p. Without Means (null): H0 all
/// p variable means are equal, T^2 = n w' (C S C')^-1 w with w = C xbar and C the (p-1) x p
/// matrix of successive differences (row i = e_i - e_(i+1)); significance with m = n and p - 1.
/// (The formula of Johnson and Wichern, Applied Multivariate Statistical Analysis, 5.2 and 6.2;
/// R has no built-in, the references apply it.)
/// @param X            n x p data, n > p.
/// @param Means        the hypothesised means (length p, same storage precision as X), or null.
/// @param[out] Signif  receives the significance (upper tail).
/// @param[out] hRes    receives the decision at Alpha.
/// @param Alpha        the significance level.
/// @return             T^2.
/// @throws ELumexError "HotellingT2One : X.Rows<=X.Cols",
///         "HotellingT2One : Means.Length <> X.Cols" and
///         "HotellingT2One : Means.FloatPrecision <> X.FloatPrecision", in this order, then
///         "Covariance: X.Complex" for complex X.
///
/// NaN/Inf: NaN data give NaN and hrNan.
LUMEX_API double HotellingT2One(const TMtx& X, const TVec* Means, double& Signif,
                                THypothesisResult& hRes, double Alpha);

/// Two-sample Hotelling T^2 test of H0 mean(X1) - mean(X2) = MeanDiff (0 when MeanDiff is null).
///
/// EqualCov true: pooled covariance Sp = ((n1-1) S1 + (n2-1) S2) / (n1+n2-2),
/// T^2 = n1 n2/(n1+n2) d' Sp^-1 d, DF = n1 + n2 - 2, significance with m = DF + 1 (so the F form
/// has p and n1 + n2 - p - 1 degrees of freedom).
/// EqualCov false: V = S1/n1 + S2/n2, T^2 = d' V^-1 d, DF = (tr(V^2) + tr(V)^2) /
/// [(tr(V1^2) + tr(V1)^2)/(n1-1) + (tr(V2^2) + tr(V2)^2)/(n2-1)] (Nel and van der Merwe),
/// significance with m = trunc(DF) + 1 (NaN when DF is not finite).
/// @param X1, X2       the samples, with equal column counts p; row counts are not checked.
/// @param[out] Signif  receives the significance.
/// @param[out] hRes    receives the decision at Alpha.
/// @param[out] DF      receives the degrees of freedom above.
/// @param MeanDiff     the hypothesised difference of the mean vectors (length p), or null.
/// @param EqualCov     pooled (true) or separate (false) covariance matrices.
/// @param Alpha        the significance level.
/// @return             T^2.
/// @throws ELumexError "HotellingT2Two : X1.Cols <> X2.Cols",
///         "HotellingT2Two : MeanDiff.Length <> X1.Cols" (so that a short MeanDiff is never read
///         past its end), then "Covariance: X.Complex" for complex data.
///
/// NaN/Inf: one-row samples and NaN data give NaN and hrNan.
LUMEX_API double HotellingT2Two(const TMtx& X1, const TMtx& X2, double& Signif,
                                THypothesisResult& hRes, double& DF, const TVec* MeanDiff,
                                bool EqualCov, double Alpha);

/// Box's M test of H0: the two samples have equal covariance matrices.
///
/// M = nu ln|Sp| - nu1 ln|S1| - nu2 ln|S2|, nu_i = n_i - 1, nu = n1 + n2 - 2, Sp pooled.
/// With c1 = (2p^2 + 3p - 1)/(6(p+1)) (1/nu1 + 1/nu2 - 1/nu), DF1 = p(p+1)/2:
/// if either sample has more than 20 rows, Signif = P(chi^2(DF1) > M (1 - c1)) and DF2 = 0;
/// otherwise Box's F approximation with c2 = (p-1)(p+2)/6 (1/nu1^2 + 1/nu2^2 - 1/nu^2):
/// DF2 = trunc((DF1 + 2)/|c2 - c1^2|), F = M (1 - c1 - DF1/DF2)/DF1 when c2 >= c1^2, else
/// F = DF2 M / (DF1 (DF2/(1 - c1 - 2/DF2) - M)); Signif = P(F(DF1, DF2) > F). (Box 1949;
/// Rencher, Methods of Multivariate Analysis, 7.3.2.) When c2 = c1^2, or DF2 truncates to 0 or
/// does not fit an integer, DF2 is 0, Signif NaN and hRes hrNan.
/// @param X1, X2       the samples, with equal column counts p.
/// @param[out] Signif  receives the significance.
/// @param[out] hRes    receives the decision at Alpha (hrNan when Signif or M is not finite, as
///                     for a singular covariance matrix).
/// @param[out] DF1     receives p(p+1)/2; set to 0 first.
/// @param[out] DF2     receives the denominator degrees of freedom above; set to 0 first.
/// @param Alpha        the significance level.
/// @return             M.
/// @throws ELumexError "MBoxTest : X1.Cols <> X2.Cols", and "Covariance: X.Complex" for complex
///         data.
LUMEX_API double MBoxTest(const TMtx& X1, const TMtx& X2, double& Signif, THypothesisResult& hRes,
                          int& DF1, int& DF2, double Alpha);

/// Bartlett's test for the number of principal components.
///
/// For m = 0 .. p-2, H0 the q = p - m smallest eigenvalues of the sample covariance matrix are
/// equal, with B(m) = (n - 1) [q ln(mean of those eigenvalues) - sum of their logarithms] on
/// (q - 1)(q + 2)/2 degrees of freedom, Signif[m] = P(chi^2 > B(m)). (Bartlett 1950; Jolliffe,
/// Principal Component Analysis, 6.1.4.)
/// @param Data          the n x p data matrix.
/// @param[out] NumComp  receives the first m whose Signif[m] > Alpha, except that m = 0 gives -1
///                      (the eigenvalues are all equal: no component stands out); p when every
///                      test rejects.
/// @param[out] Signif   receives the p - 1 significances (empty for p <= 1), storage precision
///                      of Data.
/// @param Alpha         the significance level.
/// @throws ELumexError "BartlettTest: Data.Complex = True" for complex Data.
///
/// NaN/Inf: a zero eigenvalue (a singular covariance) makes the tests that include it NaN; NaN
/// data give NaN significances.
LUMEX_API void BartlettTest(const TMtx& Data, int& NumComp, TVec& Signif, double Alpha);

/// @}

/// How PairwiseDistance measures the distance between two rows x and y (over the columns that
/// take part).
enum TPWDistMethod : std::uint8_t {
  pwdistEuclidian,  ///< sqrt(sum (x_c - y_c)^2) (R's dist, method "euclidean").
  pwdistCityBlock,  ///< sum |x_c - y_c| (R's dist, method "manhattan").
  pwdistChebychev,  ///< max |x_c - y_c| (R's dist, method "maximum").
  pwdistCustom      ///< Reserved: PairwiseDistance raises for it.
};

/// @name Distances, scaling and reliability
/// Distances between the rows of a data matrix, classical (metric) multidimensional scaling of a
/// distance matrix, the stress of a configuration, and Cronbach's alpha.
/// @{

/// The matrix of distances between the rows (observations) of X.
///
/// Euclidean distances come from one product of the column-centred data z with its transpose,
/// sqrt(|z_i|^2 + |z_j|^2 - 2 z_i.z_j) (distances do not change under a shift, and centring
/// keeps the cancellation small for data far from the origin). A pair whose squared distance
/// is below 1e-3 (|z_i|^2 + |z_j|^2), where the product form would lose more than three digits,
/// is recomputed from its differences: every distance keeps nearly full relative accuracy,
/// identical rows are at distance exactly 0, and a distance is never NaN from rounding. The
/// city-block and Chebychev distances are summed (maximised) over the differences directly.
/// @param X          n x p data matrix, real, single or double precision; not modified.
/// @param[out] D     sized n x n in the precision of X; D(i, j) = D(j, i) is the distance
///                   between rows i and j, and the diagonal is 0. An empty X gives an empty D.
/// @param NumCols    only the first min(NumCols, p) columns take part (a NumCols of 0 or less
///                   uses none, and every distance is 0).
/// @param Method     the distance (see TPWDistMethod).
/// @throws ELumexError "PairwiseDistance: complex data not supported" for complex X,
///         "PairwiseDistance: pwdistCustom is not supported" (after sizing D) and
///         "PairwiseDistance: unknown Method", in this order.
///
/// NaN/Inf: a row holding a NaN is at distance NaN from every row (itself included); the
/// distances of a row holding an infinity are computed directly, so they are Inf (or NaN where
/// two infinities of one sign meet). R's dist instead drops NaN columns and rescales: the two
/// agree on finite data.
LUMEX_API void PairwiseDistance(const TMtx& X, TMtx& D, int NumCols, TPWDistMethod Method);

/// Classical (metric) multidimensional scaling, Torgerson-Gower: coordinates whose Euclidean
/// distances reproduce D as well as NumDim dimensions can (R's cmdscale).
///
/// B := -J D^2 J / 2, with D^2 the elementwise square and J = I - 1/n the centring matrix
/// (made exactly symmetric); its eigenvalues, decreasing, are cut to the first NumDim and
/// Y(:, i) := sqrt(lambda_i) v_i with v_i the unit eigenvector of lambda_i.
/// @param D                 n x n distance matrix, symmetric with a zero diagonal (not checked).
/// @param[out] Y            n x NumDim coordinates in the precision of D, one row per object;
///                          each column sums to 0. An eigenvector's sign is arbitrary: each
///                          column of Y is signed so that its element of largest magnitude (the
///                          first of equal ones) is positive.
/// @param[out] EigenValues  the NumDim largest eigenvalues of B, decreasing, in the precision of
///                          D. A negative one (D is not Euclidean) is reported as it is, but its
///                          coordinate column is 0: negative eigenvalues are clipped to 0 in Y,
///                          so the coordinates stay finite (R's cmdscale drops such columns
///                          instead).
/// @param NumDim            the number of dimensions, 0 <= NumDim <= n.
/// @throws ELumexError "MDScaleMetric: D not quadratic", "MDScaleMetric: D.Complex = true" and
///         "MDScaleMetric: (NumDim>D.Cols)", in this order and before any computation; any
///         error of the computation is raised again as "MDScaleMetric : " + its message (a
///         negative NumDim raises "MDScaleMetric : NumDim < 0").
///
/// NaN/Inf: a NaN or infinite element of D makes Y and EigenValues NaN.
LUMEX_API void MDScaleMetric(const TMtx& D, TMtx& Y, TVec& EigenValues, int NumDim);

/// The stress of a configuration: |D - DHat| / |D| in the Euclidean (Frobenius) norm over all
/// elements.
///
/// @param D     the distances to reproduce.
/// @param DHat  the distances that the configuration reproduces (for example PairwiseDistance
///              of MDScaleMetric's Y), of the length of D.
/// @return      the stress; 0 for a perfect reproduction, NaN when D is all zeros or empty.
/// @throws ELumexError "MDScaleStress: complex data not supported" for complex data, then
///         "MDScaleStress: D.Length <> DHat.Length".
///
/// NaN/Inf: NaN data give NaN.
LUMEX_API double MDScaleStress(const TMtx& D, const TMtx& DHat);

/// Cronbach's alpha, the reliability coefficient of the k items in the columns of X.
///
/// k/(k - 1) (1 - sum of the item variances / variance of the total score), from the covariance
/// matrix C of the columns (sum of diag(C) over the sum of all elements of C). Matches the
/// formula applied to R's var.
/// @param X  the data, one row per respondent, one column per item.
/// @return   alpha. One column divides by k - 1 = 0 and gives a non-finite value; no rows, or
///           constant items summing to a constant total, give NaN.
/// @throws ELumexError "Covariance: X.Complex" (Covariance's message) for complex X.
///
/// NaN/Inf: NaN data give NaN.
LUMEX_API double CronbachAlpha(const TMtx& X);

/// @}

/// Named rotations, published for callers that offer a choice; OrthogonalRotation takes the
/// orthomax weight Gamma itself.
enum TMatrixRotation : std::uint8_t {
  rotNone,       ///< No rotation.
  rotVarimax,    ///< Varimax, Gamma = 1.
  rotOrtomax,    ///< Orthomax with a caller's Gamma.
  rotQuartimax,  ///< Quartimax, Gamma = 0.
  rotEquamax     ///< Equamax, Gamma = m/2 for m factors.
};

/// @name Factor rotation
/// Orthogonal rotation of a loading matrix by the orthomax family of criteria.
/// @{

/// Orthogonal rotation of a p x m loading matrix X (variables in rows, factors in columns) that
/// maximises the orthomax criterion sum_j [sum_i b_ij^4 - (Gamma/p) (sum_i b_ij^2)^2] of the
/// rotated loadings b (Gamma = 1 varimax, 0 quartimax, m/2 equamax).
///
/// With Gamma = 1 and Normalize set this is R's varimax (which stops on a relative change
/// below its eps, 1e-5 by default). With a single factor the pairwise scheme has no pair to
/// rotate and converges at once with Rotation = [1]; an X without rows or columns is returned
/// as it is with Rotation the m x m identity and true.
/// @param X              p x m loadings, real; not modified.
/// @param[out] Rotated   p x m rotated loadings in the precision of X; Rotated = X * Rotation,
///                       with the row sums of squares (communalities) of X.
/// @param[out] Rotation  m x m orthogonal rotation in the precision of X (of the normalised
///                       loadings when Normalize is set, which is the same rotation).
/// @param Gamma          the orthomax weight. 0 <= Gamma <= 1: all columns are updated at once,
///                       each iteration taking Rotation = U V^T from the SVD U S V^T of A^T G, A
///                       the (normalised) loadings and G = p B^3 - Gamma B diag(column sums of
///                       B^2) the gradient of the criterion, until the sum of the singular values
///                       changes by less than Tolerance relatively. Otherwise (also for a NaN
///                       Gamma) Kaiser's planar rotations of each pair of columns in turn, sweep
///                       after sweep, until the largest angle of a sweep is below Tolerance
///                       (radians).
/// @param Normalize      Kaiser normalisation: rotate the rows scaled to unit length, then scale
///                       back. A row of zeros then gives NaN loadings.
/// @param Tolerance      the convergence threshold above.
/// @param MaxIter        the largest number of iterations (sweeps); 0 or less returns X
///                       unrotated, Rotation the identity and false.
/// @return true when the convergence test was met, false when MaxIter rounds ended without it
///         (Rotated and Rotation are then the last ones) or the iteration met a NaN.
/// @throws ELumexError "OrthogonalRotation: X.Complex" for complex X.
///
/// NaN/Inf: NaN loadings make Rotated and Rotation NaN, and a NaN Gamma, whose angles are NaN,
/// leaves X unrotated with Rotation the identity (both return false).
LUMEX_API bool OrthogonalRotation(const TMtx& X, TMtx& Rotated, TMtx& Rotation, double Gamma,
                                  bool Normalize, double Tolerance, int MaxIter);

/// @}

/// Whether LatinHyperCubeDesign keeps its first sample or the best of several.
enum TLHCImprove : std::uint8_t {
  lhcImproveNone,    ///< Keep the first sample.
  lhcImproveMinDist  ///< Keep the sample with the largest minimum distance between its points
                     ///< (maximin).
};

/// @name Designs and data utilities
/// Full factorial and Latin hypercube designs, and the removal of a row or column of a matrix.
/// @{

/// The two-level full factorial design of n factors: 2^n runs (rows) coding the levels 0 and 1.
///
/// Standard order read from the right: row r holds the binary digits of r with column 0 the
/// most significant, so column n - 1 alternates fastest (0,1,0,1,...) and column 0 is 0 in the
/// first half of the rows.
/// @param n               number of factors, 0 <= n <= 26 (n = 0 gives one run and no column).
/// @param[out] Design     2^n x n in the precision FloatPrecision.
/// @param FloatPrecision  fpSingle or fpDouble.
/// @param MulVec          may be null; when given, its n elements scale the columns, element j
///                        scaling column n - 1 - j (so MulVec lists the factors from the
///                        fastest-alternating one).
/// @throws ELumexError "FullFactDesign: n < 0", "FullFactDesign: n > 26" (the design would
///         exceed the largest matrix), "FullFactDesign: unknown FloatPrecision" and
///         "FullFactDesign: n too large" (the 2^n x n design exceeds AllocationLimit: n = 26
///         needs 14 GB in double precision) before sizing Design, then
///         "FullFactDesign : MulVec.Length <> n" and "FullFactDesign: MulVec.Complex" (Design is
///         then already sized and zero).
LUMEX_API void FullFactDesign(int n, TMtx& Design, TMtxFloatPrecision FloatPrecision,
                              const TVec* MulVec);

/// The mixed-level full factorial design: one run for every combination of the levels 1..L_j of
/// the factors, L_j = Levels[j] rounded.
///
/// Column 0 cycles fastest (1, 2, ..., L_0, 1, 2, ...) and the last column slowest, the order
/// of R's expand.grid.
/// @param Levels       the number of levels of each factor.
/// @param[out] Design  N x k, N = the product of the L_j, one column per factor, in the
///                     precision of Levels; an empty Levels gives one run and no column.
/// @throws ELumexError "FullFactDesign: Levels.Complex", "FullFactDesign: Levels[j] < 1" with j
///         the index of the first level that rounds below 1 or is NaN (for example
///         "FullFactDesign: Levels[1] < 1"), "FullFactDesign: too many runs" (more than
///         2^31 - 1 elements) and "FullFactDesign: Levels too large" (past AllocationLimit),
///         all before Design is sized.
LUMEX_API void FullFactDesign(const TVec& Levels, TMtx& Design);

/// A Latin hypercube sample of NumPoints points in NumVars dimensions, values in (0, 1].
///
/// Every column holds exactly one value in each stratum ((k - 1)/n, k/n], k = 1..n
/// (n = NumPoints). Column by column, the ranks of n uniform numbers give a random permutation
/// of the strata; with Randomize each point is then drawn uniformly inside its stratum,
/// (rank - u)/n with u uniform on [0, 1), otherwise it is the stratum's centre (rank - 0.5)/n.
/// The uniform numbers come from the core's default source (RandUniform: RandSeed makes a
/// design reproducible). The work is Iterations * n^2 * NumVars.
/// @param[out] Design     n x NumVars in the precision FloatPrecision (single-precision values
///                        are kept inside their strata). Fewer than two points: one point (no
///                        improvement is possible) or an empty design; a NumPoints or NumVars
///                        of 0 or less gives no rows or no columns.
/// @param NumPoints       the number of points n.
/// @param NumVars         the number of dimensions.
/// @param FloatPrecision  fpSingle or fpDouble.
/// @param Randomize       draw each point inside its stratum (true) or take the centre (false).
/// @param Improve         lhcImproveMinDist: Iterations independent samples are drawn and the
///                        one with the largest minimum Euclidean distance between two of its
///                        points is kept (the earlier one on ties), a maximin design. Any other
///                        value keeps the first sample.
/// @param Iterations      the number of samples drawn with lhcImproveMinDist.
/// @throws ELumexError "LatinHyperCubeDesign: unknown FloatPrecision" and
///         "LatinHyperCubeDesign: NumPoints * NumVars too large" (more than 2^31 - 1 elements,
///         or past AllocationLimit) before anything is drawn.
LUMEX_API void LatinHyperCubeDesign(TMtx& Design, int NumPoints, int NumVars,
                                    TMtxFloatPrecision FloatPrecision, bool Randomize,
                                    TLHCImprove Improve, int Iterations);

/// Dst := Src without row Index.
///
/// @param Src       the matrix, any storage kind.
/// @param[out] Dst  Rows - 1 rows, in the storage kind of Src; may be Src itself.
/// @param Index     the row to remove, 0 <= Index < Src.Rows.
/// @throws ELumexError "RemoveRow: Index>Src.Rows-1", then any error of the copying as
///         "RemoveRow : " + its message; a negative Index raises "RemoveRow : Index < 0".
LUMEX_API void RemoveRow(const TMtx& Src, TMtx& Dst, int Index);

/// Dst := Src without column Index, as RemoveRow.
///
/// @param Src       the matrix, any storage kind.
/// @param[out] Dst  Cols - 1 columns, in the storage kind of Src; may be Src itself.
/// @param Index     the column to remove, 0 <= Index < Src.Cols.
/// @throws ELumexError "RemoveColumn: Index>Src.Cols-1", then "RemoveColumn : " + the message of
///         an error of the copying ("RemoveColumn : Index < 0" for a negative Index).
LUMEX_API void RemoveColumn(const TMtx& Src, TMtx& Dst, int Index);

/// @}

}  // namespace lumex
