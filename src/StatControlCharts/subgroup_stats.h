// Internal: statistics of the subgroups (rows) of a data matrix, shared by the Shewhart, EWMA and
// CUSUM charts.
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

}  // namespace lumex::detail
