// Multiple linear regression with a constant, fitted values and the unscaled covariance matrix
// (X'X)^-1 on 10^6 rows and 20 columns. bench/linear_models_compare.py times numpy.linalg.lstsq
// (with X b and the inverse of X'X) and R's lm.fit (with chol2inv of its R factor) on the same
// data.
//
// The data come from splitmix64, which both sides compute identically: with u(k) =
// (splitmix64(k) >> 11) 2^-53, A(i, j) = u(20 i + j) and y(i) = sum_j (j + 1) A(i, j) / 10 +
// u(20 n + i), so the fit has signal and noise.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Regress.h"

namespace {

constexpr int kRows = 1'000'000;
constexpr int kCols = 20;

using lumex::bench::SplitMix64;
using lumex::bench::Uniform;

struct TData {
  lumex::TVec y;
  lumex::TMtx A;
};

const TData& Data() {
  static const TData data = [] {
    TData d{lumex::TVec(kRows), lumex::TMtx(kRows, kCols)};
    for (int i = 0; i < kRows; ++i) {
      double s = 0.0;
      for (int j = 0; j < kCols; ++j) {
        const double a = Uniform(static_cast<std::uint64_t>(i) * kCols + j);
        d.A(i, j) = a;
        s += (j + 1) * a / 10.0;
      }
      d.y[i] = s + Uniform(static_cast<std::uint64_t>(kRows) * kCols + i);
    }
    return d;
  }();
  return data;
}

void BM_MulLinRegress(benchmark::State& state) {
  const TData& d = Data();
  lumex::TVec b, fit;
  lumex::TMtx V;
  for (auto _ : state) {
    lumex::MulLinRegress(d.y, d.A, b, true, &fit, &V, lumex::regSolveLQR);
    benchmark::DoNotOptimize(b);
    benchmark::DoNotOptimize(fit);
    benchmark::DoNotOptimize(V);
  }
  state.SetItemsProcessed(state.iterations() * kRows);
  // The last slope and its unscaled variance, for linear_models_compare.py to set beside NumPy's.
  char label[64];
  std::snprintf(label, sizeof label, "%.15g %.15g", b[kCols], V(kCols, kCols));
  state.SetLabel(label);
}
BENCHMARK(BM_MulLinRegress)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
