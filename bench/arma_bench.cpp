// ARMA estimation and forecasting: the maximum-likelihood fit of an ARMA(2,1) on 5000 points,
// the exact likelihood and the forecasts at growing lengths. bench/arma_compare.py times the same
// work in R (arima, predict) and statsmodels (ARIMA).
//
// The series is the ARMA(2,1) process x_t = 0.5 x_{t-1} + 0.3 x_{t-2} + e_t - 0.4 e_{t-1} + 10
// driven by e_t = sqrt(12) (u_t - 1/2), u_t the splitmix64 uniforms of bench_data.h (unit
// variance), started from zero; the peers rebuild it exactly.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_data.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace {

lumex::TVec Series(int n) {
  lumex::TVec v(n);
  double x1 = 0.0, x2 = 0.0, e1 = 0.0;
  for (int t = 0; t < n; ++t) {
    const double e = std::sqrt(12.0) * (lumex::bench::Uniform(static_cast<std::uint64_t>(t)) - 0.5);
    const double x = 0.5 * x1 + 0.3 * x2 + e - 0.4 * e1;
    v[t] = x + 10.0;
    x2 = x1;
    x1 = x;
    e1 = e;
  }
  return v;
}

const lumex::TVec kPhi{0.5, 0.3};
const lumex::TVec kTheta{-0.4};

// Hannan-Rissanen start (on the centred series), then the maximum-likelihood simplex, as arima
// and statsmodels start from preliminary estimates of their own.
void BM_ARMAMLE(benchmark::State& state) {
  const lumex::TVec x = Series(static_cast<int>(state.range(0)));
  lumex::TVec centred, phi(2), theta(1), resid;
  double sigma2 = 0.0, fMin = 0.0;
  int iterations = 0;
  for (auto _ : state) {
    lumex::Copy(centred, x);
    lumex::Sub(centred, lumex::Mean(x));
    lumex::ARMAHannahFit(centred, phi, theta, sigma2);
    iterations = lumex::ARMAMLE(x, phi, theta, resid, fMin);
    benchmark::DoNotOptimize(fMin);
  }
  state.SetLabel("simplex iterations " + std::to_string(iterations));
}

void BM_ARMALogLike(benchmark::State& state) {
  const lumex::TVec x = Series(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(lumex::ARMALogLike(x, kPhi, kTheta));
}

// 20 forecasts with their standard errors.
void BM_ARMAForecast(benchmark::State& state) {
  const lumex::TVec x = Series(static_cast<int>(state.range(0)));
  lumex::TVec yhat, se;
  for (auto _ : state) {
    lumex::ARMAForecast(x, kPhi, kTheta, 20, yhat, se);
    benchmark::DoNotOptimize(se.Data<double>());
  }
}

}  // namespace

BENCHMARK(BM_ARMAMLE)->Arg(5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARMALogLike)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARMAForecast)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
