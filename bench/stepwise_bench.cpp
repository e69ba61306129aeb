// Exhaustive stepwise regression: all 4096 subsets of 12 candidate variables on 10^4 rows, each
// fitted with a constant and scored by the standard error of the regression.
// bench/stepwise_compare.py times a NumPy loop of numpy.linalg.lstsq over the same subsets.
//
// The data come from splitmix64, which both sides compute identically: with u(k) =
// (splitmix64(k) >> 11) 2^-53, x_j(i) = u(12 i + j) and y(i) = sum_j (j + 1) x_j(i) / 10 +
// u(12 n + i).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Regress.h"

namespace {

constexpr int kRows = 10'000;
constexpr int kCandidates = 12;

using lumex::bench::SplitMix64;
using lumex::bench::Uniform;

struct TData {
  lumex::TVecList list;
  lumex::TVec sd;
};

const TData& Data() {
  static const TData data = [] {
    TData d;
    d.list.SetCount(kCandidates + 1);
    for (int j = 0; j <= kCandidates; ++j) d.list[j].Size(kRows);
    lumex::TVec& y = d.list[kCandidates];
    for (int i = 0; i < kRows; ++i) {
      double s = 0.0;
      for (int j = 0; j < kCandidates; ++j) {
        const double x = Uniform(static_cast<std::uint64_t>(i) * kCandidates + j);
        d.list[j][i] = x;
        s += (j + 1) * x / 10.0;
      }
      y[i] = s + Uniform(static_cast<std::uint64_t>(kRows) * kCandidates + i);
    }
    d.sd.Size(kCandidates + 1);
    for (int j = 0; j <= kCandidates; ++j) d.sd[j] = lumex::StdDev(d.list[j]);
    return d;
  }();
  return data;
}

void BM_StepwiseExhaustive(benchmark::State& state) {
  const TData& d = Data();
  lumex::TVecInt mask;
  lumex::TMtx results, details;
  for (auto _ : state) {
    lumex::StepwiseRegression(d.list, d.sd, lumex::swExhaustive, mask, results, details, 0, false,
                              nullptr, nullptr);
    benchmark::DoNotOptimize(results);
    benchmark::DoNotOptimize(details);
  }
  state.SetItemsProcessed(state.iterations() * (1 << kCandidates));
  // The best and the worst standard error, for stepwise_compare.py to set beside NumPy's.
  char label[64];
  std::snprintf(label, sizeof label, "%.15g %.15g", results(0, kCandidates + 1),
                results(results.Rows() - 1, kCandidates + 1));
  state.SetLabel(label);
}
BENCHMARK(BM_StepwiseExhaustive)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
