// Euclidean distances between the rows of a 2000 x 50 matrix.
// bench/distances_compare.py times scipy.spatial.distance.pdist + squareform on the same data.
//
// The data come from splitmix64, which both sides compute identically: element k (row-major) is
// (splitmix64(k) >> 11) 2^-53, uniform on [0, 1). The output matrix is reused between
// iterations, as a caller that calls repeatedly would; SciPy returns a fresh array every time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Statistics.h"

namespace {

constexpr int kRows = 2000;
constexpr int kCols = 50;

using lumex::bench::SplitMix64;

const lumex::TMtx& Data() {
  static const lumex::TMtx data = [] {
    lumex::TMtx x(kRows, kCols);
    for (int k = 0; k < kRows * kCols; ++k) {
      x[k] = static_cast<double>(SplitMix64(static_cast<std::uint64_t>(k)) >> 11) * 0x1.0p-53;
    }
    return x;
  }();
  return data;
}

void BM_PairwiseDistanceEuclidean(benchmark::State& state) {
  const lumex::TMtx& x = Data();
  lumex::TMtx d;
  for (auto _ : state) {
    lumex::PairwiseDistance(x, d, kCols, lumex::pwdistEuclidian);
    benchmark::DoNotOptimize(d.Data<double>());
  }
  state.SetItemsProcessed(state.iterations() * kRows * (kRows - 1) / 2);
  // The sum of all distances, for distances_compare.py to set beside SciPy's.
  char label[40];
  std::snprintf(label, sizeof label, "S=%.15g", lumex::Sum(d));
  state.SetLabel(label);
}
BENCHMARK(BM_PairwiseDistanceEuclidean)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
