// Principal components of a 10^5 x 50 data matrix by the covariance path of PCA (components,
// variances, variance shares and the 10^5 x 50 scores).
// bench/multivariate_compare.py times numpy.linalg.svd of the centred data and numpy.linalg.eigh
// of np.cov on the same matrix.
//
// The data come from splitmix64, which both sides compute identically: with u(k) the uniform
// (splitmix64(k) >> 11) 2^-53, element (i, j) is u(50 i + j) (1 + j / 10) + u(50 i), a row
// factor shared by all columns plus noise of growing spread, so the components are distinct.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Statistics.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kCols = 50;

using lumex::bench::SplitMix64;
using lumex::bench::Uniform;

const lumex::TMtx& Data() {
  static const lumex::TMtx data = [] {
    lumex::TMtx m(kRows, kCols);
    for (int i = 0; i < kRows; ++i) {
      const std::uint64_t base = static_cast<std::uint64_t>(i) * kCols;
      const double shared = Uniform(base);
      for (int j = 0; j < kCols; ++j) m(i, j) = Uniform(base + j) * (1.0 + j / 10.0) + shared;
    }
    return m;
  }();
  return data;
}

// The outputs are reused between iterations, as a caller that repeats the analysis would.
void BM_PCACovariance(benchmark::State& state) {
  const lumex::TMtx& x = Data();
  lumex::TMtx pc, scores;
  lumex::TVec values, percent;
  for (auto _ : state) {
    lumex::PCA(x, pc, scores, values, &percent, lumex::PCACovMat);
    benchmark::DoNotOptimize(scores.Data<double>());
  }
  state.SetItemsProcessed(state.iterations() * kRows * kCols);
  // The largest and smallest variances, for multivariate_compare.py to set beside NumPy's.
  char label[64];
  std::snprintf(label, sizeof label, "max=%.15g min=%.15g", values[0], values[kCols - 1]);
  state.SetLabel(label);
}
BENCHMARK(BM_PCACovariance)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
