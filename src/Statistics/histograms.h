// Internal routines of the histogram family shared with other families of the module.
#pragma once

#include "lumex/core/containers.h"

namespace lumex::detail {

// Adds to Counts the number of values of Data in each bin of the ascending Edges (m values):
// bin i holds Edges[i] <= x < Edges[i + 1] (the last such i when edges repeat), and a value
// equal to Edges[m - 1] goes to bin m - 1. Values below Edges[0], above Edges[m - 1] and NaN are
// not counted. Comparisons are made in the storage precision of Data (Edges are rounded to it).
// Counts must have at least m elements; the caller sets them to zero, or keeps earlier counts to
// accumulate. Raises "CountInBins: Counts.Length < Edges.Length".
void CountInBins(const TVec& Data, const TVec& Edges, TVecInt& Counts);

}  // namespace lumex::detail
