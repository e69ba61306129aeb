// Autocorrelation and the Yule-Walker AR fit on 10^6 points. bench/timeseries_compare.py times
// the same work in statsmodels (acf) and R (ar.yw).
//
// The series is the AR(2) process x_t = 0.6 x_{t-1} - 0.3 x_{t-2} + e_t driven by the
// deterministic noise e_t = frac(t * 2654435761 / 2^32) - 0.5, which the peers rebuild exactly.
#include <benchmark/benchmark.h>

#include <cmath>

#include "lumex/StatTimeSerAnalysis.h"

namespace {

constexpr int kLength = 1'000'000;

const lumex::TVec& Series() {
  static const lumex::TVec data = [] {
    lumex::TVec v(kLength);
    double x1 = 0.0, x2 = 0.0;
    for (int t = 0; t < kLength; ++t) {
      const double e = std::fmod(static_cast<double>(t) * 2654435761.0, 4294967296.0) / 4294967296.0 - 0.5;
      const double x = 0.6 * x1 - 0.3 * x2 + e;
      v[t] = x;
      x2 = x1;
      x1 = x;
    }
    return v;
  }();
  return data;
}

// Lags 0 .. 40, as statsmodels' acf(x, nlags=40).
void BM_ACF40(benchmark::State& state) {
  const lumex::TVec& x = Series();
  lumex::TVec r;
  for (auto _ : state) {
    lumex::ACF(x, r, 41);
    benchmark::DoNotOptimize(r.Data<double>());
  }
}

// Order 10 with standard errors, as R's ar.yw(x, aic = FALSE, order.max = 10).
void BM_ARYuleWalker10(benchmark::State& state) {
  const lumex::TVec& x = Series();
  lumex::TVec phi(10), se;
  double sigma2 = 0.0;
  for (auto _ : state) {
    lumex::ARYuleWalkerFit(x, phi, sigma2, &se);
    benchmark::DoNotOptimize(sigma2);
  }
}

// A long lag range (the FFT route): lags 0 .. 999.
void BM_ACF1000(benchmark::State& state) {
  const lumex::TVec& x = Series();
  lumex::TVec r;
  for (auto _ : state) {
    lumex::ACF(x, r, 1000);
    benchmark::DoNotOptimize(r.Data<double>());
  }
}

// Lag counts around the switch from direct sums to the FFT.
void BM_ACFLags(benchmark::State& state) {
  const lumex::TVec& x = Series();
  lumex::TVec r;
  const int lags = static_cast<int>(state.range(0));
  for (auto _ : state) {
    lumex::ACF(x, r, lags);
    benchmark::DoNotOptimize(r.Data<double>());
  }
}

}  // namespace

BENCHMARK(BM_ACFLags)->Arg(11)->Arg(300)->Arg(1200)->Arg(3000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ACF40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARYuleWalker10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ACF1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
