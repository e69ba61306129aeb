// Subgroup means and standard deviations of the rows of a matrix.
#include "StatControlCharts/subgroup_stats.h"

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "core/dispatch.h"

namespace lumex::detail {

namespace {

// Mean of n values by the corrected two-pass method (the first-pass mean plus the mean of the
// deviations from it, which recovers the rounding error of the first sum: subgroups far from
// zero keep their digits), and when wanted the sum of squared deviations about it.
template <class T>
double RowMean(const T* p, int n, double* sumSq) {
  double s = 0.0;
  for (int j = 0; j < n; ++j) s += static_cast<double>(p[j]);
  const double m1 = s / n;
  double d1 = 0.0;
  double d2 = 0.0;
  for (int j = 0; j < n; ++j) {
    const double d = static_cast<double>(p[j]) - m1;
    d1 += d;
    d2 += d * d;
  }
  if (sumSq != nullptr) *sumSq = d2 - d1 * d1 / n;
  return std::isfinite(m1) ? m1 + d1 / n : m1;
}

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
    return n == 0 ? NaN : RowMean(p, n, nullptr);
  });
}

void RowStdDevs(const TMtx& Data, TVec& dst, const char* fn) {
  ForEachRow(Data, dst, fn, [](const auto* p, int n) {
    if (n < 2) return NaN;
    double ss = 0.0;
    RowMean(p, n, &ss);
    if (std::isnan(ss)) return NaN;  // a NaN or infinite value in the row
    return std::sqrt(std::fmax(ss, 0.0) / (n - 1));
  });
}

}  // namespace lumex::detail
