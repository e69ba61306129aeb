// The equal-width histogram kernels: bin rule, limits, index ranges, storage precision.
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "lumex/core/histogram.h"
#include "lumex/core/types.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using TCounts = std::vector<std::int32_t>;

// Lengths around the kernel's block of 512 values, so the vector loop and its tail both run.
// The data sit at offset 3 of their buffer and the counts at offset 2 of theirs, on top of
// earlier counts, with values outside [0, 10], NaN and infinities mixed in.
class KernelAgreesWithDirectCount : public ::testing::TestWithParam<int> {};

TEST_P(KernelAgreesWithDirectCount, InBothPrecisions) {
  const int n = GetParam();
  const int numBins = 13;
  const double w = 10.0 / numBins;
  std::mt19937_64 gen(static_cast<unsigned>(n));
  std::uniform_real_distribution<double> u(-3.0, 13.0);
  std::vector<double> xd(static_cast<std::size_t>(n) + 3, 5.0);  // 3 values before the range
  for (std::size_t i = 3; i < xd.size(); ++i) xd[i] = i % 101 == 0 ? NaN : i % 103 == 0 ? Inf : u(gen);
  const std::vector<float> xf(xd.begin(), xd.end());
  TCounts expectD(numBins + 4, 1), expectF(numBins + 4, 1);
  for (std::size_t i = 3; i < xd.size(); ++i) {
    const double f = xf[i];
    if (xd[i] >= 0.0 && xd[i] < 10.0) ++expectD[2 + static_cast<int>(std::floor(xd[i] / w))];
    if (f >= 0.0 && f < 10.0) ++expectF[2 + static_cast<int>(std::floor(f / w))];
  }
  TCounts cd(numBins + 4, 1), cf(numBins + 4, 1);
  HistogramCount_Idx(xd.data(), 3, 1.0 / w, 0.0, cd.data(), 2, numBins, n);
  sHistogramCount_Idx(xf.data(), 3, static_cast<float>(1.0 / w), 0.0F, cf.data(), 2, numBins, n);
  EXPECT_EQ(cd, expectD);
  EXPECT_EQ(cf, expectF);
}

INSTANTIATE_TEST_SUITE_P(Lengths, KernelAgreesWithDirectCount,
                         ::testing::Values(0, 1, 511, 512, 513, 5000));

// A value equal to Max must reach the last bin whatever rounding the width and its reciprocal
// suffered.
TEST(HistogramKernels, ValueEqualToMaxIsCountedInTheLastBin) {
  std::mt19937_64 gen(11);
  std::uniform_real_distribution<double> u(-1e3, 1e3);
  int missed = 0;
  for (int trial = 0; trial < 20000; ++trial) {
    const int numBins = 1 + trial % 97;
    const float a = static_cast<float>(u(gen));
    const float b = a + static_cast<float>(std::fabs(u(gen))) + 1e-3F;
    const double wd = (static_cast<double>(b) - a) / numBins;
    const double bd = b;
    TCounts cd(numBins, 0), cf(numBins, 0);
    HistogramCount_Idx(&bd, 0, 1.0 / wd, a, cd.data(), 0, numBins, 1);
    sHistogramCount_Idx(&b, 0, static_cast<float>(1.0 / wd), a, cf.data(), 0, numBins, 1);
    missed += (cd[numBins - 1] != 1) + (cf[numBins - 1] != 1);
  }
  EXPECT_EQ(missed, 0);
}

// Values where the float and the double evaluation of (x - Min) * InvWidth fall in different
// bins: the single kernel must follow float.
TEST(HistogramKernels, SingleKernelComputesInSinglePrecision) {
  const float min = 0.1F;
  const float invWidth = 3.3F;
  const int numBins = 40;
  int checked = 0;
  for (int k = 1; k < numBins; ++k) {
    float x = static_cast<float>(min + k / static_cast<double>(invWidth));
    for (int s = 0; s < 64; ++s) x = std::nextafter(x, 0.0F);
    for (int s = 0; s < 128; ++s, x = std::nextafter(x, 100.0F)) {
      const float tf = (x - min) * invWidth;
      if (std::floor(tf) == std::floor((static_cast<double>(x) - min) * invWidth)) continue;
      TCounts c(numBins, 0);
      sHistogramCount_Idx(&x, 0, invWidth, min, c.data(), 0, numBins, 1);
      EXPECT_EQ(c[static_cast<int>(std::floor(tf))], 1) << "x = " << x;
      ++checked;
    }
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace lumex
