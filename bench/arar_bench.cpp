// The ARAR method on a long series: memory shortening, the subset AR fit and 24 forecasts on
// 10^5 points. bench/arar_compare.py times the same algorithm written in NumPy.
//
// The series is a yearly cycle plus an AR(1) process, y_t = 10 sin(2 pi t/12) + x_t with
// x_t = 0.5 x_{t-1} + u_t - 0.5, u_t the splitmix64 uniforms of bench_data.h.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <numbers>

#include "bench_data.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace {

constexpr int kLength = 100'000;
constexpr int kMaxTau = 15;
constexpr int kMaxLag = 26;
constexpr int kHorizon = 24;

const lumex::TVec& Series() {
  static const lumex::TVec data = [] {
    lumex::TVec v(kLength);
    double x = 0.0;
    for (int t = 0; t < kLength; ++t) {
      x = 0.5 * x + (lumex::bench::Uniform(static_cast<std::uint64_t>(t)) - 0.5);
      v[t] = 10.0 * std::sin(2.0 * std::numbers::pi * t / 12.0) + x;
    }
    return v;
  }();
  return data;
}

struct TState {
  lumex::TVec s, filter, phi, yhat, se;
  int tau = 0, l1 = 0, l2 = 0, l3 = 0;
  double sigma2 = 0.0, scale = 0.0;
  void Shorten() { lumex::ShortenFilter(Series(), s, tau, &filter, kMaxTau); }
  void FitForecast() {
    lumex::ARARFit(s, phi, l1, l2, l3, sigma2, kMaxLag);
    lumex::ARARForecast(Series(), phi, filter, tau, l1, l2, l3, lumex::Mean(s), kHorizon, yhat, se,
                        scale);
  }
  // The last forecast, for the comparison's check that both sides computed the same thing.
  void Label(benchmark::State& state) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "yhat=%.12g", yhat[kHorizon - 1]);
    state.SetLabel(buf);
  }
};

void BM_ShortenFilter(benchmark::State& state) {
  TState w;
  for (auto _ : state) {
    w.Shorten();
    benchmark::DoNotOptimize(w.s.Data<double>());
  }
}

// ARARFit on the shortened series and ARARForecast, 24 steps.
void BM_ARARFitForecast(benchmark::State& state) {
  TState w;
  w.Shorten();
  for (auto _ : state) {
    w.FitForecast();
    benchmark::DoNotOptimize(w.yhat.Data<double>());
  }
  w.Label(state);
}

void BM_ARARPipeline(benchmark::State& state) {
  TState w;
  for (auto _ : state) {
    w.Shorten();
    w.FitForecast();
    benchmark::DoNotOptimize(w.yhat.Data<double>());
  }
  w.Label(state);
}

}  // namespace

BENCHMARK(BM_ShortenFilter)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARARFitForecast)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ARARPipeline)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
