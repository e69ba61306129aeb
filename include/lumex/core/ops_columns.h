// Column-wise reductions of matrices.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

// dst[j] := the mean of column j of src (src.Cols values, in the storage precision of src).
// Computed in double as a compensated sum, so columns far from zero keep their digits. A matrix with no rows gives NaN means. Complex data raise
// "MeanCols: complex data not supported".
LUMEX_API void MeanCols(TVec& dst, const TMtx& src);

}  // namespace lumex
