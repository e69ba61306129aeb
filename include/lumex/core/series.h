// Operations on series: biased autocorrelation, cross-correlation, convolution and the
// integration that undoes differencing.
//
// Inputs are real vectors of either precision (complex storage raises "<Function>: complex vector
// not supported"); sums are accumulated in double and the output takes the precision of the first
// input. An output may be the same object as an input.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

// The biased autocorrelation (autocovariance without mean removal) of y at lags 0 .. lags-1:
//   dst[k] = (1/n) * sum_{t=0}^{n-1-k} y[t] * y[t+k],
// with the same divisor n at every lag, which keeps the sequence positive semi-definite. Lags at
// or beyond n are 0. Raises "AutoCorrBiased: lags < 0" and "AutoCorrBiased: lags too large"
// (past AllocationLimit of types.h, before anything is allocated; CrossCorr likewise).
LUMEX_API void AutoCorrBiased(TVec& dst, const TVec& y, int lags);

// The unnormalised cross-correlation of a and b at lags 0 .. lags-1:
//   dst[k] = sum_j a[j] * b[j+k],
// over the j with j < a.Length and j + k < b.Length. Raises "CrossCorr: lags < 0".
LUMEX_API void CrossCorr(TVec& dst, const TVec& a, const TVec& b, int lags);

// The full linear convolution, dst[i] = sum_j a[j] * b[i-j], of length a.Length + b.Length - 1
// (empty when either input is empty). It is the product of the polynomials whose coefficients
// are a and b.
LUMEX_API void Convolve(TVec& dst, const TVec& a, const TVec& b);

// Undoes lag-1 differencing applied d = init.Length times. y is the d-times differenced series
// and init[k] the first value of the series differenced k times (k = 0 .. d-1); dst is the
// original series, of length y.Length + d. With d = 0 dst is a copy of y.
LUMEX_API void Integrate(TVec& dst, const TVec& y, const TVec& init);

}  // namespace lumex
