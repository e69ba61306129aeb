// Benchmarks of the hypothesis tests whose cost grows with the data: Shapiro-Wilk at its
// largest size, the Mann-Whitney normal approximation and its exact null distribution,
// Spearman's rank correlation, and the tied ranks they all stand on.
// The data are splitmix64 uniforms (bench/tests_compare.py builds the same numbers for SciPy).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>

#include "lumex/Statistics.h"

namespace {

// Uniform [0, 1) from splitmix64 of seed + i, the top 53 bits.
lumex::TVec Uniforms(std::uint64_t seed, int n) {
  lumex::TVec v(n);
  for (int i = 0; i < n; ++i) {
    std::uint64_t z = (static_cast<std::uint64_t>(i) + seed) * 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    z ^= z >> 31;
    v[i] = static_cast<double>(z >> 11) * 0x1.0p-53;
  }
  return v;
}

void BM_ShapiroWilks5000(benchmark::State& state) {
  lumex::TVec x = Uniforms(1, 5000);
  lumex::NormalCDFInv(lumex::TVec(x), 0.0, 1.0, x);
  lumex::THypothesisResult h;
  double p;
  for (auto _ : state) {
    benchmark::DoNotOptimize(lumex::ShapiroWilks(x, h, p, lumex::htRightTailed, 0.05));
  }
}

// Mann-Whitney on n uniforms (seed) against n uniforms (seed + 1) shifted by `shift`.
void MannWhitney(benchmark::State& state, int n, std::uint64_t seed, double shift,
                 bool normalApprox) {
  const lumex::TVec a = Uniforms(seed, n);
  lumex::TVec b = Uniforms(seed + 1, n);
  lumex::Add(b, shift);
  lumex::THypothesisResult h;
  double p;
  lumex::TTwoElmReal ci;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        lumex::MannWhitneyTest(a, b, h, p, ci, lumex::htTwoTailed, 0.05, normalApprox));
  }
}

void BM_MannWhitneyNormal1e5(benchmark::State& state) {
  MannWhitney(state, 100000, 2, 0.001, true);
}

// Two samples of 40: small enough for the exact distribution of U.
void BM_MannWhitneyExact40(benchmark::State& state) { MannWhitney(state, 40, 6, 0.1, false); }

// 10^6 values on a grid of 1000 (uniforms rounded down to three decimals): about 1000 ties each.
void BM_TiedRanks1e6(benchmark::State& state) {
  lumex::TVec x = Uniforms(8, 1000000);
  for (int i = 0; i < x.Length(); ++i) x[i] = std::floor(x[i] * 1000.0) / 1000.0;
  lumex::TVec ranks;
  double tieCorrection;
  for (auto _ : state) {
    lumex::TiedRanks(x, ranks, tieCorrection);
    benchmark::DoNotOptimize(tieCorrection);
  }
}

void BM_SpearmanRankCorr1e6(benchmark::State& state) {
  const lumex::TVec x = Uniforms(4, 1000000);
  lumex::TVec y = Uniforms(5, 1000000);
  lumex::Add(y, x);
  lumex::THypothesisResult h;
  double rho, p;
  lumex::TTwoElmReal ci;
  for (auto _ : state) {
    lumex::SpearmanRankCorr(x, y, rho, h, p, ci, lumex::htTwoTailed, 0.05);
    benchmark::DoNotOptimize(rho);
  }
}

}  // namespace

BENCHMARK(BM_ShapiroWilks5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MannWhitneyNormal1e5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MannWhitneyExact40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TiedRanks1e6)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SpearmanRankCorr1e6)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
