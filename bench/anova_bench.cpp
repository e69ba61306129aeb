// One-way analysis of variance, indexed form, on 10^6 observations in 10 groups.
// bench/anova_compare.py times scipy.stats.f_oneway on the same data.
//
// The data come from splitmix64, which both sides compute identically: observation i has
// z = splitmix64(i), group z mod 10 and value group / 10 + (z >> 11) 2^-53 (a uniform offset),
// so the groups differ a little in their means and the F test has work to do.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Regress.h"

namespace {

constexpr int kLength = 1'000'000;
constexpr int kGroups = 10;

using lumex::bench::SplitMix64;

struct TData {
  lumex::TVec x;
  lumex::TVecInt group;
};

const TData& Data() {
  static const TData data = [] {
    TData d{lumex::TVec(kLength), lumex::TVecInt(kLength)};
    for (int i = 0; i < kLength; ++i) {
      const std::uint64_t z = SplitMix64(static_cast<std::uint64_t>(i));
      const int g = static_cast<int>(z % kGroups);
      d.group[i] = g;
      d.x[i] = g / 10.0 + static_cast<double>(z >> 11) * 0x1.0p-53;
    }
    return d;
  }();
  return data;
}

void BM_ANOVA1Indexed(benchmark::State& state) {
  const TData& d = Data();
  double signif = 0.0;
  for (auto _ : state) {
    lumex::TANOVA1Result r = lumex::ANOVA1(d.x, d.group, signif, 0.05);
    benchmark::DoNotOptimize(r);
    benchmark::DoNotOptimize(signif);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
  // The statistic, for anova_compare.py to set beside SciPy's.
  const double f = lumex::ANOVA1(d.x, d.group, signif, 0.05).FDist;
  char label[32];
  std::snprintf(label, sizeof label, "F=%.15g", f);
  state.SetLabel(label);
}
BENCHMARK(BM_ANOVA1Indexed)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
