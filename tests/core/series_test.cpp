// Series operations against hand-summed values, and integration as the inverse of differencing.
#include <cstddef>
#include <tuple>
#include <vector>

#include "lumex/core/series.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

void ExpectValues(const std::vector<double>& expected, const TVec& computed, double tol = 1e-15) {
  ASSERT_EQ(static_cast<int>(expected.size()), computed.Length());
  for (int i = 0; i < computed.Length(); ++i) {
    EXPECT_TRUE(Near(expected[i], computed.Value(i), tol, tol)) << "element " << i;
  }
}

TVec Single(const TVec& v) {
  TVec s;
  s.Size(v.Length(), fpSingle);
  for (int i = 0; i < v.Length(); ++i) s.SetValue(i, v[i]);
  return s;
}

struct LagCase {
  int lags;
  std::vector<double> expected;
};

class SeriesAutoCorrBiased : public ::testing::TestWithParam<LagCase> {};

// y = (1, 2, 3, 4): lag sums 30, 20, 11, 4, each divided by n = 4; lags past n - 1 are 0.
TEST_P(SeriesAutoCorrBiased, DividesEveryLagByN) {
  TVec r;
  AutoCorrBiased(r, TVec{1, 2, 3, 4}, GetParam().lags);
  ExpectValues(GetParam().expected, r);
}

INSTANTIATE_TEST_SUITE_P(, SeriesAutoCorrBiased,
                         ::testing::Values(LagCase{0, {}}, LagCase{1, {7.5}},
                                           LagCase{3, {7.5, 5.0, 2.75}},
                                           LagCase{6, {7.5, 5.0, 2.75, 1.0, 0.0, 0.0}}));

class SeriesCrossCorr : public ::testing::TestWithParam<std::tuple<TVec, TVec, LagCase>> {};

TEST_P(SeriesCrossCorr, SumsOverlappingProducts) {
  const auto& [a, b, c] = GetParam();
  TVec r;
  CrossCorr(r, a, b, c.lags);
  ExpectValues(c.expected, r);
}

INSTANTIATE_TEST_SUITE_P(, SeriesCrossCorr,
    ::testing::Values(
        // b longer: k = 0: 4 + 10 + 18; k = 1: 5 + 12 + 21; k = 2: 6 + 14; k = 3: 7.
        std::tuple{TVec{1, 2, 3}, TVec{4, 5, 6, 7}, LagCase{5, {32, 38, 20, 7, 0}}},
        // a longer: only a[0], a[1] meet b at lag 0, a[0] at lag 1.
        std::tuple{TVec{1, 2, 3, 4}, TVec{1, 1}, LagCase{3, {3, 1, 0}}},
        std::tuple{TVec{}, TVec{1, 2}, LagCase{2, {0, 0}}},
        std::tuple{TVec{1, 2}, TVec{}, LagCase{3, {0, 0, 0}}}));

TEST(SeriesConvolve, MultipliesPolynomials) {
  TVec c;
  Convolve(c, TVec{1, 2}, TVec{1, 1, 1});  // (1 + 2x)(1 + x + x^2)
  ExpectValues({1, 3, 3, 2}, c);
  Convolve(c, TVec{1, 1, 1}, TVec{1, 2});
  ExpectValues({1, 3, 3, 2}, c);
  Convolve(c, TVec{0.5, -1, 4}, TVec{1});
  ExpectValues({0.5, -1, 4}, c);
  Convolve(c, TVec{}, TVec{1, 2});
  EXPECT_EQ(c.Length(), 0);
  Convolve(c, TVec{1, 2}, TVec{});
  EXPECT_EQ(c.Length(), 0);
}

class SeriesIntegrate : public ::testing::TestWithParam<int> {};

// Differencing d times and keeping each stage's first value, then integrating, returns the
// series; exact here since every intermediate is a small integer or half-integer.
TEST_P(SeriesIntegrate, InvertsRepeatedDifferencing) {
  const int d = GetParam();
  const std::vector<double> x{3, -1, 4, 1.5, -5, 9, 2, 6};
  std::vector<double> diff = x;
  TVec init(d);
  for (int k = 0; k < d; ++k) {
    init[k] = diff[0];
    for (std::size_t t = 0; t + 1 < diff.size(); ++t) diff[t] = diff[t + 1] - diff[t];
    diff.pop_back();
  }
  TVec y(diff);
  TVec out;
  Integrate(out, y, init);
  ExpectValues(x, out, 0.0);
  Integrate(y, y, init);  // over its own input
  ExpectValues(x, y, 0.0);
}

INSTANTIATE_TEST_SUITE_P(, SeriesIntegrate, ::testing::Values(0, 1, 2, 3, 7));

TEST(SeriesStorage, OutputsMayOverwriteInputsAndKeepSinglePrecision) {
  TVec y{1, 2, 3, 4};
  AutoCorrBiased(y, y, 3);
  ExpectValues({7.5, 5.0, 2.75}, y);
  TVec a{1, 2};
  Convolve(a, a, TVec{1, 1, 1});
  ExpectValues({1, 3, 3, 2}, a);

  TVec r;
  AutoCorrBiased(r, Single(TVec{1, 2, 3, 4}), 2);
  EXPECT_EQ(r.FloatPrecision(), fpSingle);
  ExpectValues({7.5, 5.0}, r);
  CrossCorr(r, Single(TVec{1, 2, 3}), TVec{4, 5, 6, 7}, 2);
  EXPECT_EQ(r.FloatPrecision(), fpSingle);
  ExpectValues({32, 38}, r);
  Convolve(r, Single(TVec{0.1, 0.2}), TVec{1, 1});
  EXPECT_EQ(r.FloatPrecision(), fpSingle);
  ExpectValues({0.1, 0.3, 0.2}, r, test::kTolSingle);
  Integrate(r, Single(TVec{1, 1}), TVec{0.5});
  EXPECT_EQ(r.FloatPrecision(), fpSingle);
  ExpectValues({0.5, 1.5, 2.5}, r);
}

TEST(SeriesArguments, RaiseOnNegativeLagsAndComplexData) {
  TVec r, z;
  z.Size(3, fpDouble, true);
  EXPECT_LUMEX_ERROR(AutoCorrBiased(r, TVec{1, 2}, -1), "AutoCorrBiased: lags < 0");
  EXPECT_LUMEX_ERROR(CrossCorr(r, TVec{1}, TVec{1}, -2), "CrossCorr: lags < 0");
  EXPECT_LUMEX_ERROR(AutoCorrBiased(r, z, 1), "AutoCorrBiased: complex vector not supported");
  EXPECT_LUMEX_ERROR(Convolve(r, TVec{1}, z), "Convolve: complex vector not supported");
  EXPECT_LUMEX_ERROR(Integrate(r, TVec{1}, z), "Integrate: complex vector not supported");
}

}  // namespace
}  // namespace lumex
