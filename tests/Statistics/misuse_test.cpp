// Arguments users pass by mistake: sizes that cannot be served, enumeration values outside their
// enumerators and whole-number estimates past the 32-bit range. One table per kind of misuse.
#include <cstdint>
#include <limits>
#include <span>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

constexpr int kMax = std::numeric_limits<int>::max();

TEST(Misuse, SizesPastTheAllocationLimitRaiseBeforeAllocating) {
  const test::TAllocationLimit limit;  // 1 GiB
  const TVec x{1, 2, 3, 4, 5};
  TVecInt counts;
  TVec results, bins;
  TMtx design;
  THypothesisResult hRes = hrNan;
  double signif = 0.0;
  test::ExpectMessages({
      {[&] { Histogram(x, kMax, counts, bins, false); }, "Histogram: NumBins too large"},
      {[&] { Histogram(x, 300000000, counts, bins, false, 5, 1); }, "Histogram: NumBins too large"},
      {[&] { Histogram(x, 300000000, results, bins, true); }, "Histogram: NumBins too large"},
      {[&] { CumulativeHist(x, 300000000, results, bins, true); },
       "CumulativeHist: NumBins too large"},
      {[&] { GOFChi2Test(x, distNormal, kMax, hRes, signif, htTwoTailed, 0.05); },
       "GOFChi2Test: NumBins too large"},
      {[&] { FullFactDesign(26, design, fpDouble, nullptr); }, "FullFactDesign: n too large"},
      {[&] { FullFactDesign(TVec{30000, 30000}, design); }, "FullFactDesign: Levels too large"},
      {[&] { LatinHyperCubeDesign(design, 100000, 100000, fpDouble, false, lhcImproveNone, 1); },
       "LatinHyperCubeDesign: NumPoints * NumVars too large"},
  });
}

// Where a function's outcome for other values is not defined, an enumeration value outside its
// enumerators raises "<Function>: unknown <Parameter>".
TEST(Misuse, EnumerationsOutOfRangeRaise) {
  const TVec x{3, 1, 4, 1, 5, 9, 2, 6};
  const TVec y{2, 7, 1, 8, 2, 8, 1, 8};
  const TMtx m{{1, 2}, {3, 4}};
  const auto pct = static_cast<TPercentileMethod>(99);
  const auto tail = static_cast<THypothesisType>(99);
  const double p[1] = {0.5};
  double q[1] = {0.0};
  THypothesisResult h = hrNan;
  double sig = 0.0, rho = 0.0;
  TTwoElmReal ci{};
  TMtx out;
  test::ExpectMessages({
      {[&] { Percentile(x, 0.5, pct); }, "Percentile: unknown Method"},
      {[&] { Percentile(x, p, q, pct); }, "Percentile: unknown Method"},
      {[&] { SortedPercentile(x, 0.5, pct); }, "SortedPercentile: unknown Method"},
      {[&] { InterQuartile(x, pct); }, "InterQuartile: unknown Method"},
      {[&] { PairwiseDistance(m, out, 2, static_cast<TPWDistMethod>(99)); },
       "PairwiseDistance: unknown Method"},
      {[&] { FullFactDesign(2, out, static_cast<TMtxFloatPrecision>(9), nullptr); },
       "FullFactDesign: unknown FloatPrecision"},
      {[&] {
         LatinHyperCubeDesign(out, 4, 2, static_cast<TMtxFloatPrecision>(9), false,
                              lhcImproveNone, 1);
       },
       "LatinHyperCubeDesign: unknown FloatPrecision"},
      {[&] { GOFKolmogorov(x, h, sig, nullptr, nullptr, tail, 0.05); },
       "GOFKolmogorov: unknown hType"},
      {[&] { GOFKolmogorov(x, y, h, sig, tail, 0.05); }, "GOFKolmogorov: unknown hType"},
      {[&] { GOFChi2Test(x, y, 8, 7, h, sig, tail, 0.05); }, "GOFChi2Test: unknown hType"},
      {[&] { GOFChi2Test(x, distNormal, 3, h, sig, tail, 0.05); }, "GOFChi2Test: unknown hType"},
      {[&] { tTest(x, 0.0, h, sig, ci, tail, 0.05); }, "tTest: unknown hType"},
      {[&] { tTest(x, y, h, sig, ci, false, tail, 0.05); }, "tTest: unknown hType"},
      {[&] { ZTest(x, 0.0, 1.0, h, sig, ci, tail, 0.05); }, "ZTest: unknown hType"},
      {[&] { ChiSquareTest(x, 1.0, h, sig, ci, tail, 0.05); }, "ChiSquareTest: unknown hType"},
      {[&] { FTest(x, y, h, sig, ci, tail, 0.05); }, "FTest: unknown hType"},
      {[&] { GrubbsTest(x, h, sig, ci, tail, 0.05); }, "GrubbsTest: unknown hType"},
      {[&] { SignTest(x, 0.0, h, sig, ci, tail, 0.05); }, "SignTest: unknown hType"},
      {[&] { SignTest(x, y, h, sig, ci, tail, 0.05); }, "SignTest: unknown hType"},
      {[&] { WilcoxonSign(x, 0.0, h, sig, ci, tail, 0.05); }, "WilcoxonSign: unknown hType"},
      {[&] { WilcoxonSign(x, y, h, sig, ci, tail, 0.05); }, "WilcoxonSign: unknown hType"},
      {[&] { MannWhitneyTest(x, y, h, sig, ci, tail, 0.05, false); },
       "MannWhitneyTest: unknown hType"},
      {[&] { SpearmanRankCorr(x, y, rho, h, sig, ci, tail, 0.05); },
       "SpearmanRankCorr: unknown hType"},
      {[&] { ShapiroWilks(x, h, sig, tail, 0.05); }, "ShapiroWilks: unknown hType"},
      {[&] { ShapiroFrancia(x, h, sig, tail, 0.05); }, "ShapiroFrancia: unknown hType"},
  });
}

// Whole-number estimates of data near 1e308 saturate instead of wrapping to 0.
TEST(Misuse, WholeNumberEstimatesSaturateOnHugeData) {
  const TVec huge{1e308, 5e307};
  const TVec negative{-1e308, -5e307};
  int n = 0;
  TTwoElmReal ci{};
  UniformDFit(huge, n);
  EXPECT_EQ(n, kMax);
  UniformDFit(negative, n);
  EXPECT_EQ(n, std::numeric_limits<int>::min());
  UniformDFit(huge, n, ci, 0.05);
  EXPECT_EQ(n, kMax);
  EXPECT_GT(ci[0], 1e307);  // from ceil(max) in double, not from the saturated N
  ChiSquareFit(huge, n);
  EXPECT_EQ(n, kMax);
  ChiSquareFit(TVec{NaN, 1}, n);
  EXPECT_EQ(n, 0);
}

}  // namespace
}  // namespace lumex
