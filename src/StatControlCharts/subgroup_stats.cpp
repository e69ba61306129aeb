// Subgroup means and standard deviations of the rows of a matrix.
#include "StatControlCharts/subgroup_stats.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "core/corrected_mean.h"
#include "core/dispatch.h"

namespace lumex::detail {

namespace {

template <class F>
void ForEachRow(const TMtx& Data, TVec& dst, const char* fn, F&& rowStat) {
  dst.Size(Data.Rows(), Data.FloatPrecision());
  DispatchReal(Data, fn, [&](const auto* x) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(x)>>;
    T* out = dst.Data<T>();
    const int n = Data.Cols();
    for (int i = 0; i < Data.Rows(); ++i) {
      out[i] = static_cast<T>(rowStat(x + static_cast<std::ptrdiff_t>(i) * n, n));
    }
  });
}

}  // namespace

void RowMeans(const TMtx& Data, TVec& dst, const char* fn) {
  ForEachRow(Data, dst, fn, [](const auto* p, int n) {
    return CorrectedMean(p, static_cast<std::size_t>(n));
  });
}

void RowStdDevs(const TMtx& Data, TVec& dst, const char* fn) {
  ForEachRow(Data, dst, fn, [](const auto* p, int n) {
    if (n < 2) return NaN;
    double ss = 0.0;
    CorrectedMean(p, static_cast<std::size_t>(n), 1, &ss);
    if (std::isnan(ss)) return NaN;  // a NaN or infinite value in the row
    return std::sqrt(std::fmax(ss, 0.0) / (n - 1));
  });
}

}  // namespace lumex::detail
