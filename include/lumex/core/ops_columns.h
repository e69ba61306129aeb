/// @file
/// Column-wise reductions of matrices.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

/// dst[j] := the mean of column j of src.
///
/// Computed in double as a compensated sum, so columns far from zero keep their digits (n equal
/// values give exactly their value).
/// @param[out] dst  sized to src.Cols() elements, real, in the storage precision of src.
/// @param src       real matrix of either precision.
/// @throws ELumexError "MeanCols: complex data not supported".
///
/// NaN/Inf: a column holding NaN, or infinities of both signs, gives NaN; infinities of one
/// sign give that infinity. A matrix with no rows gives NaN means.
LUMEX_API void MeanCols(TVec& dst, const TMtx& src);

}  // namespace lumex
