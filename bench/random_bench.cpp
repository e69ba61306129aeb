// Random variate generators filling 10^7 values into a preallocated object, as an application
// that reuses its output does. bench/random_compare.py times NumPy's Generator on the same laws
// and parameters.
#include <benchmark/benchmark.h>

#include "lumex/StatRandom.h"

namespace {

constexpr int kLength = 10'000'000;
constexpr int kSeed = 20240611;

void BM_RandomNormal(benchmark::State& state) {
  lumex::TVec dst(kLength);
  for (auto _ : state) {
    lumex::RandomNormal(0.0, 1.0, dst, kSeed);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

void BM_RandomUniform(benchmark::State& state) {
  lumex::TVec dst(kLength);
  for (auto _ : state) {
    lumex::RandomUniform(0.0, 1.0, dst, kSeed);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Shape and scale from the benchmark's arguments, in tenths.
void BM_RandomGamma(benchmark::State& state) {
  const double shape = static_cast<double>(state.range(0)) / 10.0;
  lumex::TVec dst(kLength);
  for (auto _ : state) {
    lumex::RandomGamma(shape, 1.0, dst, kSeed);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Trials and the success probability in thousandths.
void BM_RandomBinom(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const double p = static_cast<double>(state.range(1)) / 1000.0;
  lumex::TVecInt dst(kLength);
  for (auto _ : state) {
    lumex::RandomBinom(n, p, dst, kSeed);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

// The mean in tenths.
void BM_RandomPoisson(benchmark::State& state) {
  const double lambda = static_cast<double>(state.range(0)) / 10.0;
  lumex::TVecInt dst(kLength);
  for (auto _ : state) {
    lumex::RandomPoisson(lambda, dst, kSeed);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

}  // namespace

BENCHMARK(BM_RandomNormal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomUniform)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomGamma)->Arg(5)->Arg(25)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomBinom)->Args({20, 100})->Args({1000, 300})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomPoisson)->Arg(30)->Arg(200)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
