// Internal: statistics of the subgroups (rows) of a data matrix, shared by the Shewhart, EWMA and
// CUSUM charts, and the bias factor c4 of the sample standard deviation.
#pragma once

#include "lumex/core/containers.h"

namespace lumex::detail {

// dst[i] := the mean of row i of Data, computed in double and stored in the precision of Data
// (dst has Data.Rows elements). A matrix without columns gives NaN means. Complex data raise
// "<fn>: complex data not supported".
void RowMeans(const TMtx& Data, TVec& dst, const char* fn);

// dst[i] := the sample standard deviation (divisor n - 1) of row i, by the corrected two-pass
// method in double; NaN for rows of fewer than two values.
void RowStdDevs(const TMtx& Data, TVec& dst, const char* fn);

// c4(n) = sqrt(2/(n-1)) Gamma(n/2) / Gamma((n-1)/2), so that E s = c4 sigma for n normal
// observations. The gamma ratio is taken as one quantity, so it neither overflows nor loses
// digits for large n (where c4 -> 1 - 1/(4n)); NaN for n < 2.
double C4(int n);

}  // namespace lumex::detail
