/// @file
/// Operations on series: biased autocorrelation, cross-correlation, convolution and the
/// integration that undoes differencing.
///
/// Inputs are real vectors of either precision (complex storage raises "<Function>: complex
/// vector not supported"); sums are accumulated in double and the output takes the precision of
/// the first input. An output may be the same object as an input. NaN and Inf propagate
/// through the sums into every output whose terms include them (Inf * 0 gives NaN).
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

/// The biased autocorrelation (autocovariance without mean removal) of y at lags 0 .. lags-1.
///
///     dst[k] = (1/n) * sum_{t=0}^{n-1-k} y[t] * y[t+k]
///
/// with the same divisor n at every lag, which keeps the sequence positive semi-definite.
/// @param[out] dst  sized to `lags` elements, real, in the precision of y; lags at or beyond
///                  n = y.Length() are 0.
/// @param y         the series.
/// @param lags      number of lags computed, lag 0 included.
/// @throws ELumexError "AutoCorrBiased: complex vector not supported",
///   "AutoCorrBiased: lags < 0", then "AutoCorrBiased: lags too large" (past AllocationLimit,
///   before anything is allocated).
LUMEX_API void AutoCorrBiased(TVec& dst, const TVec& y, int lags);

/// The unnormalised cross-correlation of a and b at lags 0 .. lags-1.
///
///     dst[k] = sum_j a[j] * b[j+k]
///
/// over the j with j < a.Length and j + k < b.Length (0 when there is none).
/// @param[out] dst  sized to `lags` elements, real, in the precision of a.
/// @param a, b      the series.
/// @param lags      number of lags computed, lag 0 included.
/// @throws ELumexError "CrossCorr: complex vector not supported" (a, then b),
///   "CrossCorr: lags < 0", then "CrossCorr: lags too large" (past AllocationLimit, before
///   anything is allocated).
LUMEX_API void CrossCorr(TVec& dst, const TVec& a, const TVec& b, int lags);

/// The full linear convolution, dst[i] = sum_j a[j] * b[i-j].
///
/// It is the product of the polynomials whose coefficients are a and b.
/// @param[out] dst  sized to a.Length + b.Length - 1 elements (empty when either input is
///                  empty), real, in the precision of a.
/// @param a, b      the sequences.
/// @throws ELumexError "Convolve: complex vector not supported" (a, then b),
///   "Convolve: result too long" past 2^31 - 1 elements, then "Size: length too large" (past
///   AllocationLimit).
LUMEX_API void Convolve(TVec& dst, const TVec& a, const TVec& b);

/// Undoes lag-1 differencing applied d = init.Length times.
///
/// Each of the d passes prepends the first value of the series one difference lower and takes
/// running sums. With d = 0 dst is a copy of y.
/// @param[out] dst  the original series, sized to y.Length + d elements, real, in the
///                  precision of y.
/// @param y         the d-times differenced series.
/// @param init      init[k] is the first value of the series differenced k times,
///                  k = 0 .. d-1.
/// @throws ELumexError "Integrate: complex vector not supported" (y, then init),
///   "Integrate: result too long" past 2^31 - 1 elements, then "Size: length too large" (past
///   AllocationLimit).
///
/// NaN/Inf: a non-finite value makes every later value of the running sums non-finite.
LUMEX_API void Integrate(TVec& dst, const TVec& y, const TVec& init);

}  // namespace lumex
