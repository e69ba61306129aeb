// Reductions, sorting, the median, the normal distribution function and normal variates of the
// core layer on 10^7 doubles. bench/core_compare.py times the same work in NumPy and SciPy.
//
// Every run sees the same data: standard normal values from a fixed-seed mt19937_64. Output
// objects are made before the timed loops, so the loops themselves allocate nothing, except what
// Median needs internally (it leaves its argument unchanged, as np.median does).
#include <benchmark/benchmark.h>

#include <random>

#include "lumex/core/containers.h"
#include "lumex/core/ops.h"
#include "lumex/core/probability.h"
#include "lumex/core/random.h"

namespace {

constexpr int kLength = 10'000'000;

const lumex::TVec& Data() {
  static const lumex::TVec data = [] {
    lumex::TVec v(kLength);
    std::mt19937_64 engine(20240611);
    std::normal_distribution<double> normal(0.0, 1.0);
    for (int i = 0; i < kLength; ++i) v[i] = normal(engine);
    return v;
  }();
  return data;
}

void BM_Mean(benchmark::State& state) {
  const lumex::TVec& x = Data();
  for (auto _ : state) benchmark::DoNotOptimize(lumex::Mean(x));
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Sample standard deviation about the data's own mean, like np.std(ddof=1).
void BM_StdDev(benchmark::State& state) {
  const lumex::TVec& x = Data();
  for (auto _ : state) benchmark::DoNotOptimize(lumex::StdDev(x));
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Sorts a fresh copy of the unsorted data each iteration. The copy into the preallocated work
// vector is not timed; core_compare.py leaves the copy out of the NumPy time in the same way.
void BM_SortAscend(benchmark::State& state) {
  const lumex::TVec& x = Data();
  lumex::TVec work(kLength);
  for (auto _ : state) {
    state.PauseTiming();
    lumex::Copy(work, x);
    state.ResumeTiming();
    lumex::SortAscend(work);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

void BM_Median(benchmark::State& state) {
  const lumex::TVec& x = Data();
  for (auto _ : state) benchmark::DoNotOptimize(lumex::Median(x));
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Phi(x) for every element, into a preallocated vector, like scipy.special.ndtr(a, out=w).
void BM_NormalCDF(benchmark::State& state) {
  const lumex::TVec& x = Data();
  lumex::TVec dst(kLength);
  for (auto _ : state) {
    lumex::NormalCDF(x, 0.0, 1.0, dst);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

// Fills a preallocated vector with standard normal variates from the library's default stream
// kind, like Generator.standard_normal(out=w).
void BM_RandomGaussian(benchmark::State& state) {
  lumex::TRandomGenerator generator;
  generator.Init(lumex::brgXoshiro256, 20240611);
  lumex::TRngStream& stream = generator.GetStream(0);
  lumex::TVec dst(kLength);
  for (auto _ : state) {
    stream.RandomGaussian(dst);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

}  // namespace

BENCHMARK(BM_Mean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdDev)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAscend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Median)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalCDF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomGaussian)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
