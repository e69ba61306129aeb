// Reductions, sorting, the median, quantiles, a histogram, the normal distribution function and
// normal variates on 10^7 doubles. bench/core_compare.py times the same work in NumPy and SciPy.
// A floor row times the least any reduction can cost: one plain pass over the same data.
//
// Every run sees the same data: standard normal values from a fixed-seed mt19937_64. Output
// objects are made before the timed loops, so the loops themselves allocate nothing, except what
// Median needs internally (it leaves its argument unchanged, as np.median does).
#include <benchmark/benchmark.h>

#include <cstddef>
#include <random>

#include "lumex/core/containers.h"
#include "lumex/core/ops.h"
#include "lumex/core/probability.h"
#include "lumex/core/random.h"
#include "lumex/Statistics.h"

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

// The floor: one plain read pass, eight independent sums that the compiler keeps in vector
// registers, no compensation. Mean should cost about one of these and StdDev about two.
double PlainSum(const double* p, std::size_t n) {
  double a[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  const std::size_t whole = n / 8 * 8;
  for (std::size_t i = 0; i < whole; i += 8) {
    for (std::size_t k = 0; k < 8; ++k) a[k] += p[i + k];
  }
  double s = ((a[0] + a[1]) + (a[2] + a[3])) + ((a[4] + a[5]) + (a[6] + a[7]));
  for (std::size_t i = whole; i < n; ++i) s += p[i];
  return s;
}

void BM_Floor(benchmark::State& state) {
  const lumex::TVec& x = Data();
  for (auto _ : state) benchmark::DoNotOptimize(PlainSum(x.Data<double>(), kLength));
  state.SetItemsProcessed(state.iterations() * kLength);
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

// Five quantiles at once with linear interpolation between order statistics (R's type 7, the
// default of np.percentile). Both sides work on an internal copy and leave the data unchanged.
void BM_Percentile5(benchmark::State& state) {
  const lumex::TVec& x = Data();
  const double p[5] = {0.05, 0.25, 0.5, 0.75, 0.95};
  double q[5];
  for (auto _ : state) {
    lumex::Percentile(x, p, q, lumex::pctMethodNMinus);
    benchmark::DoNotOptimize(q);
  }
  state.SetItemsProcessed(state.iterations() * kLength);
}

// 100 equal bins between the smallest and largest value, like np.histogram(a, bins=100).
void BM_Histogram100(benchmark::State& state) {
  const lumex::TVec& x = Data();
  lumex::TVecInt counts;
  lumex::TVec edges;
  for (auto _ : state) {
    lumex::Histogram(x, 100, counts, edges, false);
    benchmark::ClobberMemory();
  }
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

BENCHMARK(BM_Floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Mean)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdDev)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortAscend)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Median)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Percentile5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Histogram100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NormalCDF)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RandomGaussian)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
