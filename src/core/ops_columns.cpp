// Column-wise reductions of matrices.
#include "lumex/core/ops_columns.h"

#include <vector>

#include "core/corrected_mean.h"
#include "core/dispatch.h"

namespace lumex {

void MeanCols(TVec& dst, const TMtx& src) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  std::vector<double> mean(static_cast<std::size_t>(cols), NaN);
  if (rows > 0) {
    detail::DispatchReal(src, "MeanCols", [&](const auto* p) {
      detail::CorrectedColumnMeans(p, static_cast<std::size_t>(rows),
                                   static_cast<std::size_t>(cols), mean.data());
    });
  } else if (src.Complex()) {
    detail::RaiseComplex("MeanCols");
  }
  dst.Size(cols, src.FloatPrecision());
  for (int j = 0; j < cols; ++j) dst.SetValue(j, mean[j]);
}

}  // namespace lumex
