// Binomial logistic and Poisson regression by IRLS, with fitted values and standard errors, on
// 10^5 rows and 10 columns (an intercept and nine covariates). bench/glm_compare.py times
// statsmodels' GLM and R's glm.fit on the same data.
//
// The data come from splitmix64 (u(k) its k-th uniform number) through additions,
// multiplications and comparisons only, so that NumPy computes exactly the same numbers:
// A(i, 0) = 1 and A(i, j) = u(10 i + j) for j = 1 .. 9; s_i = sum_j (j / 100) (A(i, j) - 0.5),
// summed in order of j; the binomial response counts, out of 10 trials, the k < 10 with
// u(10 n + 10 i + k) < 0.5 + s_i; the count response counts the k < 20 with
// u(20 n + 20 i + k) < (1 + 4 s_i) 3 / 20 (a binomial count that a Poisson model fits well).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Regress.h"

namespace {

constexpr int kRows = 100'000;
constexpr int kCols = 10;
// An absolute change of the deviance, as statsmodels' default; R's glm stops on a relative change
// of 1e-8, which is looser for a deviance of this size.
constexpr double kTolerance = 1e-8;

using lumex::bench::Uniform;

struct TData {
  lumex::TMtx A;
  lumex::TVec successes, trials, counts;
};

const TData& Data() {
  static const TData data = [] {
    TData d{lumex::TMtx(kRows, kCols), lumex::TVec(kRows), lumex::TVec(kRows),
            lumex::TVec(kRows)};
    const auto n = static_cast<std::uint64_t>(kRows);
    for (int i = 0; i < kRows; ++i) {
      const auto r = static_cast<std::uint64_t>(i);
      d.A(i, 0) = 1.0;
      double s = 0.0;
      for (int j = 1; j < kCols; ++j) {
        d.A(i, j) = Uniform(r * kCols + j);
        s += (j / 100.0) * (d.A(i, j) - 0.5);
      }
      int y = 0;
      for (std::uint64_t k = 0; k < 10; ++k) y += Uniform(10 * n + 10 * r + k) < 0.5 + s ? 1 : 0;
      d.successes[i] = y;
      d.trials[i] = 10.0;
      int c = 0;
      for (std::uint64_t k = 0; k < 20; ++k) {
        c += Uniform(20 * n + 20 * r + k) < (1.0 + 4.0 * s) * 3.0 / 20.0 ? 1 : 0;
      }
      d.counts[i] = c;
    }
    return d;
  }();
  return data;
}

void BM_LogisticRegress(benchmark::State& state) {
  const TData& d = Data();
  lumex::TVec b, fit, se;
  for (auto _ : state) {
    lumex::LogisticRegress(d.successes, d.trials, b, &d.A, 0.0, &fit, &se, kTolerance);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(fit);
    benchmark::DoNotOptimize(se);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  // The last slope and its standard error, for glm_compare.py to set beside the peers'.
  char label[64];
  std::snprintf(label, sizeof label, "%.15g %.15g", b[kCols - 1], se[kCols - 1]);
  state.SetLabel(label);
}
BENCHMARK(BM_LogisticRegress)->Unit(benchmark::kMillisecond);

void BM_PoissonRegress(benchmark::State& state) {
  const TData& d = Data();
  lumex::TVec b, fit, se;
  double deviance = 0.0;
  int dfE = 0, passes = 0;
  for (auto _ : state) {
    passes = lumex::PoissonRegress(d.counts, d.A, b, se, deviance, dfE, 0.0, &fit, kTolerance, 0);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(fit);
    benchmark::DoNotOptimize(se);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  char label[80];
  std::snprintf(label, sizeof label, "%.15g %.15g %d", b[kCols - 1], se[kCols - 1], passes);
  state.SetLabel(label);
}
BENCHMARK(BM_PoissonRegress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
