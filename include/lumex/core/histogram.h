/// @file
/// Histogram counting kernels: equal-width bins over raw storage, in the precision of the data.
///
/// Both kernels add to Counts[CountsIndex + k], k = 0 .. NumBins - 1, the number of values
/// x = Data[DataIndex + i], i = 0 .. DataLength - 1, that fall in bin
/// k = floor((x - Min) * InvWidth), InvWidth being the reciprocal of the bin width, so the bins
/// cover [Min, Max] with Max = Min + NumBins / InvWidth. The arithmetic is done in the storage
/// precision (the single kernel takes Min and InvWidth rounded to single precision).
///
/// - A value equal to Max is counted in the last bin. Because Max is only known through the
///   rounded reciprocal width, "equal" means (x - Min) * InvWidth <= NumBins * (1 + 4 eps) with
///   eps the epsilon of the storage precision: the few rounding errors of forming the width and
///   its reciprocal. A value above Max by less than that also lands in the last bin.
/// - Values below Min or above Max, and NaN, are not counted. Counts are added to, not set, so a
///   caller can accumulate several blocks of data.
/// - Nothing is done when NumBins or DataLength is not positive. The caller guarantees that the
///   index ranges lie inside the buffers; the kernels do not check them.
/// - In single precision a bin index is only resolved up to 2^24 bins.
#pragma once

#include "lumex/core/export.h"

#include <cstdint>

namespace lumex {

/// Adds the equal-width bin counts of double-precision data to Counts (see the file overview).
/// @param Data         the values; Data[DataIndex .. DataIndex + DataLength - 1] are read.
/// @param DataIndex    offset of the first value.
/// @param InvWidth     reciprocal of the bin width, NumBins / (Max - Min).
/// @param Min          lower edge of the first bin.
/// @param[in,out] Counts  bin counts, Counts[CountsIndex + k] incremented for bin k; not
///                     cleared first.
/// @param CountsIndex  offset of bin 0 in Counts.
/// @param NumBins      number of bins (nothing is done when not positive).
/// @param DataLength   number of values (nothing is done when not positive).
///
/// NaN/Inf: NaN and +-Inf values are not counted.
LUMEX_API void HistogramCount_Idx(const double* Data, int DataIndex, double InvWidth, double Min,
                                  std::int32_t* Counts, int CountsIndex, int NumBins,
                                  int DataLength);

/// Single-precision form of HistogramCount_Idx; the arithmetic is done in float.
/// @param Data         the values; Data[DataIndex .. DataIndex + DataLength - 1] are read.
/// @param DataIndex    offset of the first value.
/// @param InvWidth     reciprocal of the bin width, in single precision.
/// @param Min          lower edge of the first bin, in single precision.
/// @param[in,out] Counts  bin counts, Counts[CountsIndex + k] incremented for bin k; not
///                     cleared first.
/// @param CountsIndex  offset of bin 0 in Counts.
/// @param NumBins      number of bins (nothing is done when not positive; bin indexes are
///                     resolved up to 2^24).
/// @param DataLength   number of values (nothing is done when not positive).
///
/// NaN/Inf: NaN and +-Inf values are not counted.
LUMEX_API void sHistogramCount_Idx(const float* Data, int DataIndex, float InvWidth, float Min,
                                   std::int32_t* Counts, int CountsIndex, int NumBins,
                                   int DataLength);

}  // namespace lumex
