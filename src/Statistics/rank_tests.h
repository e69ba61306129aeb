// Internal routines of the rank tests: the exact null distributions of the signed-rank and
// Mann-Whitney statistics.
#pragma once

#include "lumex/core/containers.h"

namespace lumex::detail {

// P(W <= T) for the signed-rank sum W of the given ranks (one per non-zero difference), every
// sign being equally likely: the number of sign patterns whose positive ranks sum to at most T,
// times 2^-n. T is first reflected to the lower half (S - T when T > S div 2, S = n(n+1)/2), so
// the result is the lower tail of the smaller sum. With HasTies the ranks and T are doubled
// and rounded, which makes mid-ranks whole. NaN for a NaN T or a negative rank; 0 for T < 0.
// Ranks are not changed.
double WilcoxonExactCDF(const TVec& Ranks, double T, bool HasTies);

// P(U' <= U) for the Mann-Whitney U of samples of N1 and N2 values under the null hypothesis,
// by the frequency recursion of algorithm AS 62 (Dinneen and Blakesley 1973), computed in the
// given storage precision. U is rounded to the nearest integer (halves to even). NaN when
// N1 * N2 < U, U is NaN, a size is negative or N1 * N2 exceeds what a vector can index; 0 when U
// rounds below 0.
double MannWhitneyExactCDF(int N1, int N2, double U, TMtxFloatPrecision Precision);

}  // namespace lumex::detail
