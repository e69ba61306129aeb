// Maximum-likelihood fits and the Anderson-Darling normality statistic.
// bench/fit_compare.py times SciPy's gamma.fit, weibull_min.fit and anderson on the same data.
//
// The data come from splitmix64, which both sides compute identically: value i is the inverse
// distribution function at u_i = ((splitmix64(i) >> 11) + 0.5) 2^-53 of gamma(shape 2.5,
// scale 1.5) and Weibull(scale 3, shape 1.7) for 10^4 values, and of the standard normal for
// 10^5 values.
//
// The fits run at Simplex tolerance 1e-8 (as AndersonDarling calls them; estimates within about
// 1e-8 of the maximum) and 1e-5 (within a few 1e-6, about SciPy's accuracy with a fixed
// location, whose Nelder-Mead stops at xtol = ftol = 1e-4): the argument is the exponent.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "bench_data.h"
#include "lumex/Statistics.h"

namespace {

constexpr int kFitLength = 10'000;
constexpr int kADLength = 100'000;

using lumex::bench::SplitMix64;

double Uniform(int i) {
  return (static_cast<double>(SplitMix64(static_cast<std::uint64_t>(i)) >> 11) + 0.5) * 0x1.0p-53;
}

const lumex::TVec& GammaData() {
  static const lumex::TVec x = [] {
    lumex::TVec v(kFitLength);
    for (int i = 0; i < kFitLength; ++i) v[i] = lumex::GammaCDFInv(Uniform(i), 2.5, 1.5);
    return v;
  }();
  return x;
}

const lumex::TVec& WeibullData() {
  static const lumex::TVec x = [] {
    lumex::TVec v(kFitLength);
    for (int i = 0; i < kFitLength; ++i) v[i] = 3.0 * std::pow(-std::log1p(-Uniform(i)), 1 / 1.7);
    return v;
  }();
  return x;
}

const lumex::TVec& NormalData() {
  static const lumex::TVec x = [] {
    lumex::TVec v(kADLength);
    for (int i = 0; i < kADLength; ++i) v[i] = lumex::NormalCDFInv(Uniform(i));
    return v;
  }();
  return x;
}

void Label(benchmark::State& state, const char* fmt, double a, double b) {
  char label[64];
  std::snprintf(label, sizeof label, fmt, a, b);
  state.SetLabel(label);
}

void BM_GammaFit(benchmark::State& state) {
  const lumex::TVec& x = GammaData();
  const double tolerance = std::pow(10.0, -static_cast<double>(state.range(0)));
  double a = 0, b = 0;
  for (auto _ : state) {
    lumex::GammaFit(x, a, b, 500, tolerance);
    benchmark::DoNotOptimize(a);
  }
  state.SetItemsProcessed(state.iterations() * kFitLength);
  Label(state, "a=%.10g b=%.10g", a, b);
}
BENCHMARK(BM_GammaFit)->Arg(8)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_WeibullFit(benchmark::State& state) {
  const lumex::TVec& x = WeibullData();
  const double tolerance = std::pow(10.0, -static_cast<double>(state.range(0)));
  double a = 0, b = 0;
  for (auto _ : state) {
    lumex::WeibullFit(x, a, b, 500, tolerance);
    benchmark::DoNotOptimize(a);
  }
  state.SetItemsProcessed(state.iterations() * kFitLength);
  Label(state, "a=%.10g b=%.10g", a, b);
}
BENCHMARK(BM_WeibullFit)->Arg(8)->Arg(5)->Unit(benchmark::kMillisecond);

void BM_AndersonDarlingNormal(benchmark::State& state) {
  const lumex::TVec& x = NormalData();
  lumex::THypothesisResult h;
  double signif = 0, A = 0;
  for (auto _ : state) {
    A = lumex::AndersonDarling(x, lumex::distNormal, h, signif, 0.05);
    benchmark::DoNotOptimize(A);
  }
  state.SetItemsProcessed(state.iterations() * kADLength);
  // SciPy's anderson reports A^2 without the small-sample factor; the label gives A^2.
  const double n = kADLength;
  Label(state, "A2=%.12g p=%.3g", A / (1 + 0.75 / n + 2.25 / (n * n)), signif);
}
BENCHMARK(BM_AndersonDarlingNormal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
