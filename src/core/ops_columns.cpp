// Column-wise reductions of matrices.
#include "lumex/core/ops_columns.h"

#include <vector>

#include "core/dispatch.h"

namespace lumex {

void MeanCols(TVec& dst, const TMtx& src) {
  const int rows = src.Rows();
  const int cols = src.Cols();
  std::vector<double> mean(static_cast<std::size_t>(cols), rows == 0 ? NaN : 0.0);
  if (rows > 0) {
    detail::DispatchReal(src, "MeanCols", [&](const auto* p) {
      const auto at = [&](int i, int j) {
        return static_cast<double>(p[static_cast<std::size_t>(i) * cols + j]);
      };
      // Row by row, so the inner loop runs along contiguous storage. A first pass gives the
      // plain means; the mean deviation from them, added back, recovers what rounding lost.
      for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) mean[j] += at(i, j);
      }
      for (double& m : mean) m /= rows;
      std::vector<double> correction(static_cast<std::size_t>(cols), 0.0);
      for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) correction[j] += at(i, j) - mean[j];
      }
      for (int j = 0; j < cols; ++j) mean[j] += correction[j] / rows;
    });
  } else if (src.Complex()) {
    detail::RaiseComplex("MeanCols");
  }
  dst.Size(cols, src.FloatPrecision());
  for (int j = 0; j < cols; ++j) dst.SetValue(j, mean[j]);
}

}  // namespace lumex
