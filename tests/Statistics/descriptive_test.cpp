// Means, mode, moments, quantiles and ranges against R, and their behaviour on edge inputs.
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

using test::TWorst;

TEST(Percentile, AgreesWithRForAllMethods) {
  const auto samples = test::ReadSamples("Statistics/descriptive_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/percentile.txt");
  ASSERT_GT(ref.rows.size(), 6000U);
  TWorst worst{"Percentile"};
  for (const auto& r : ref.rows) {
    const TVec& x = samples.at(static_cast<int>(r[0]));
    const double p = r[ref.Col("p")];
    const auto method = static_cast<TPercentileMethod>(r[ref.Col("method")]);
    const double expected = r[ref.Col("value")];
    const double computed = Percentile(x, p, method);
    worst.See(expected, computed);
    EXPECT_TRUE(Near(expected, computed, test::kTolRef, test::kTiny))
        << "case " << r[0] << " n " << x.Length() << " P " << p << " method " << method;
  }
}

// Both forms select only the order statistics they read, which must give exactly what the
// fully sorted data give; in single precision they read the quantile from the single-precision
// order statistics.
TEST(Percentile, SelectionMatchesTheSortedDataAndSinglePrecision) {
  const std::vector<double> p{0.0, 0.05, 0.25, 1.0 / 3.0, 0.5, 0.9, 1.0};
  std::vector<double> out(p.size());
  for (const auto& [id, x] : test::ReadSamples("Statistics/descriptive_data.txt")) {
    const TVec xs = test::ToSingle(x);
    TVec rounded, sorted;
    Convert(rounded, xs, fpDouble);
    Copy(sorted, x);
    SortAscend(sorted);
    for (int m = pctMethodNPlus; m <= pctMethodEDFAve; ++m) {
      const auto method = static_cast<TPercentileMethod>(m);
      Percentile(x, p, out, method);
      for (std::size_t i = 0; i < p.size(); ++i) {
        const double expected = SortedPercentile(sorted, p[i], method);
        EXPECT_EQ(out[i], expected) << "case " << id << " method " << m;
        EXPECT_EQ(Percentile(x, p[i], method), expected) << "case " << id << " method " << m;
        EXPECT_EQ(Percentile(xs, p[i], method), Percentile(rounded, p[i], method));
      }
    }
  }
}

// From 2^20 values on the order statistics come from brackets around a sample's quantiles (the
// infinities fall below and above them); with heavy ties, or at the ends, the brackets miss and
// the selection over all values takes over. Both must give the sorted data's quantiles.
TEST(Percentile, LargeSamplesMatchTheSortedData) {
  const std::vector<double> p{0.01, 0.05, 0.25, 0.5, 0.75, 0.95, 0.99};
  std::vector<double> out(p.size());
  std::mt19937_64 gen(11);
  std::normal_distribution<double> normal;
  std::vector<double> values((1 << 20) + 3);
  for (auto& v : values) v = normal(gen);
  std::vector<double> ties(values.size());
  for (std::size_t i = 0; i < ties.size(); ++i) ties[i] = std::round(values[i]);
  values[5] = -Inf;
  values[77] = Inf;
  for (const auto* data : {&values, &ties}) {
    const TVec x(*data);
    TVec sorted(x);
    SortAscend(sorted);
    for (int m = pctMethodNPlus; m <= pctMethodEDFAve; ++m) {
      const auto method = static_cast<TPercentileMethod>(m);
      Percentile(x, p, out, method);
      for (std::size_t i = 0; i < p.size(); ++i) {
        EXPECT_EQ(out[i], SortedPercentile(sorted, p[i], method))
            << "method " << m << " p " << p[i];
      }
    }
  }
}

struct TQuantileCase {
  std::vector<double> x;
  double p;
  TPercentileMethod method;
  double expected;
};

void PrintTo(const TQuantileCase& c, std::ostream* os) {
  *os << TVec(c.x).ToString() << " P " << c.p << " method " << int(c.method);
}

class PercentileRule : public ::testing::TestWithParam<TQuantileCase> {};

TEST_P(PercentileRule, GivesTheOrderStatisticOfItsDefinition) {
  const TQuantileCase& c = GetParam();
  EXPECT_EQ(Percentile(TVec(c.x), c.p, c.method), c.expected);
}

const std::vector<double> k4{4, 1, 3, 2};
const std::vector<double> k5{5, 3, 1, 4, 2};
const std::vector<double> k10{10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
INSTANTIATE_TEST_SUITE_P(
    Cases, PercentileRule,
    ::testing::Values(
        TQuantileCase{k4, 0.5, pctMethodNPlus, 2.5}, TQuantileCase{k4, 0.5, pctMethodNMinus, 2.5},
        TQuantileCase{k4, 0.5, pctMethodClosestN, 2}, TQuantileCase{k4, 0.5, pctMethodEDF, 2},
        TQuantileCase{k4, 0.5, pctMethodEDFAve, 2},
        // The average is taken where nP is not whole: nP = 2.5 averages x(3) and x(4).
        TQuantileCase{k5, 0.5, pctMethodEDFAve, 3.5}, TQuantileCase{k5, 0.9, pctMethodEDFAve, 5},
        // Halves round to the even neighbour: nP = 2.5 -> x(2), 3.5 -> x(4), 0.5 -> x(0) -> x(1).
        TQuantileCase{k10, 0.25, pctMethodClosestN, 2},
        TQuantileCase{k10, 0.35, pctMethodClosestN, 4},
        TQuantileCase{k10, 0.05, pctMethodClosestN, 1}, TQuantileCase{k10, 0.3, pctMethodEDF, 3},
        TQuantileCase{k10, 0.31, pctMethodEDF, 4}, TQuantileCase{k10, 0.05, pctMethodNPlus, 1},
        TQuantileCase{k10, 0.95, pctMethodNPlus, 10},
        // Equal neighbours return the value itself, so infinities do not turn into NaN.
        TQuantileCase{{1, Inf, Inf}, 0.5, pctMethodNPlus, Inf},
        TQuantileCase{{1, 2, Inf}, 0.5, pctMethodNMinus, 2},
        TQuantileCase{{0.9, 0.9, 0.9}, 0.2, pctMethodNMinus, 0.9}));

TEST(Percentile, ArrayFormClampsProbabilitiesOutsideTheUnitInterval) {
  const TVec x{3, 1, 2};
  const std::vector<double> p{-0.5, 1.5, -Inf, Inf, NaN};
  std::vector<double> out(p.size());
  for (int m = pctMethodNPlus; m <= pctMethodEDFAve; ++m) {
    Percentile(x, p, out, static_cast<TPercentileMethod>(m));
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 3);
    EXPECT_EQ(out[2], 1);
    EXPECT_EQ(out[3], 3);
    EXPECT_TRUE(std::isnan(out[4]));
    // One value: -Inf * (n - 1) would be NaN, not a position.
    Percentile(TVec{7}, p, out, static_cast<TPercentileMethod>(m));
    EXPECT_EQ(out[2], 7);
    EXPECT_EQ(out[3], 7);
  }
}

// Means, trimmed means, mode, moments about R's mean and interquartile ranges.
TEST(Descriptive, AgreesWithR) {
  const auto samples = test::ReadSamples("Statistics/descriptive_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/descriptive.txt");
  ASSERT_EQ(ref.rows.size(), samples.size());
  const char* iqrCols[] = {"iqr0", "iqr1", "iqr2", "iqr3", "iqr4"};
  const std::pair<const char*, double> trims[] = {
      {"meant0", 0.0}, {"meant10", 0.1}, {"meant25", 0.25}, {"meant50", 0.5}, {"meant90", 0.9}};
  TWorst wg{"MeanG"}, wh{"MeanH"}, wt{"MeanT"}, wm{"Moment"}, wi{"InterQuartile"};
  for (const auto& r : ref.rows) {
    const TVec& x = samples.at(static_cast<int>(r[0]));
    SCOPED_TRACE(::testing::Message() << "case " << r[0] << " n " << x.Length());
    auto check = [&](TWorst& w, const char* col, double computed, double absFloor = 0.0) {
      w.See(r[ref.Col(col)], computed);
      EXPECT_TRUE(Near(r[ref.Col(col)], computed, test::kTolRef, absFloor)) << col;
    };
    check(wg, "meang", MeanG(x));
    check(wh, "meanh", MeanH(x));
    for (const auto& [col, percent] : trims) check(wt, col, MeanT(x, percent));
    EXPECT_TRUE(Near(r[ref.Col("mode")], Mode(x), 0.0));
    const double mu = r[ref.Col("mean")];
    const double m2 = r[ref.Col("moment2")];
    check(wm, "moment2", Moment(x, mu, 2));
    // Odd moments cancel: their error is measured against the scale of the data.
    check(wm, "moment3", Moment(x, mu, 3), 1e-12 * std::pow(m2, 1.5));
    check(wm, "moment4", Moment(x, mu, 4));
    for (int m = 0; m < 5; ++m) {
      check(wi, iqrCols[m], InterQuartile(x, static_cast<TPercentileMethod>(m)),
            1e-12 * std::sqrt(m2));
    }
  }
}

TEST(Descriptive, EdgeValuesOfTheRules) {
  const TVec x{4.0, 1.0, 2.0, 8.0};
  EXPECT_EQ(MeanT(x, 0.0), 3.75);  // Percent = 0 keeps everything
  EXPECT_EQ(Moment(x, 123.0, 1), 0.0);
  EXPECT_EQ(Moment(x, 123.0, -3), 0.0);
  EXPECT_TRUE(Near(Moment(x, Mean(x), 2), StdDev(x) * StdDev(x) * 3 / 4, test::kTolExact));
  EXPECT_TRUE(std::isnan(MeanT(x, NaN)));
  EXPECT_TRUE(Near(MeanH(TVec{1.0, 2.0, 4.0}), 12.0 / 7.0, test::kTolExact));
  EXPECT_EQ(MeanH(TVec{1.0, 0.0}), 0.0);
}

TEST(Mode, SmallestOfTheMostFrequentValuesOrNaN) {
  const TVec w{7, 7, 1, 3, 3, 3, 7, 7};
  test::ExpectAllEqual({LUMEX_VALUE(NaN, Mode(TVec{1, 2, 3})),
                        LUMEX_VALUE(2, Mode(TVec{2, 2, 5, 5, 1})),
                        LUMEX_VALUE(5, Mode(TVec{9, 5, 9, 5, 5})), LUMEX_VALUE(7, Mode(w)),
                        LUMEX_VALUE(3, Mode(w, 0, 6)), LUMEX_VALUE(3, Mode(w, 2, 4)),
                        LUMEX_VALUE(NaN, Mode(w, 1, 3)), LUMEX_VALUE(NaN, Mode(w, 8, 0))});
  const char* msg = "Mode: (Index < 0) or (Len < 0) or (Index + Len > Data.Length)";
  EXPECT_LUMEX_ERROR(Mode(w, -1, 2), msg);
  EXPECT_LUMEX_ERROR(Mode(w, 5, 4), msg);
  EXPECT_LUMEX_ERROR(Mode(w, 0, -1), msg);
  // Values equal in single precision are one value there, two in double precision.
  const TVec near{1.0, 1.0 + 1e-9, 2.0};
  EXPECT_TRUE(std::isnan(Mode(near)));
  EXPECT_EQ(Mode(test::ToSingle(near)), 1.0);
}

TEST(Ranges, AgreeWithRAndKeepTheStorageKind) {
  const test::TRefTable data = test::ReadRefTable("Statistics/ranges_data.txt");
  std::map<int, TMtx> mats;
  std::map<int, int> filled;
  for (const auto& r : data.rows) {
    const int id = static_cast<int>(r[0]);
    if (!mats.count(id)) mats[id] = TMtx(static_cast<int>(r[1]), static_cast<int>(r[2]));
    const int k = filled[id]++;
    mats[id](k / mats[id].Cols(), k % mats[id].Cols()) = r[3];
  }
  const test::TRefTable ref = test::ReadRefTable("Statistics/ranges.txt");
  std::map<int, TVec> rows, cols;
  for (auto& [id, m] : mats) {
    RangeRows(m, rows[id]);
    RangeCols(m, cols[id]);
    ASSERT_EQ(rows[id].Length(), m.Rows());
    ASSERT_EQ(cols[id].Length(), m.Cols());
  }
  for (const auto& r : ref.rows) {
    const TVec& got = (r[1] == 1 ? rows : cols)[static_cast<int>(r[0])];
    EXPECT_TRUE(Near(r[3], got[static_cast<int>(r[2])], test::kTolExact));
  }
  // Single precision in, single precision out.
  TMtx s;
  s.Size(2, 2, fpSingle);
  s.Data<float>()[0] = 1.5f, s.Data<float>()[1] = -2.0f, s.Data<float>()[2] = 0.25f,
  s.Data<float>()[3] = NaN;
  TVec r;
  RangeRows(s, r);
  EXPECT_EQ(r.FloatPrecision(), fpSingle);
  test::ExpectAllEqual({{"row 0", 3.5, r.Value(0)}, {"row 1", NaN, r.Value(1)}});
  RangeCols(s, r);
  test::ExpectAllEqual({{"column 0", 1.25, r.Value(0)}, {"column 1", NaN, r.Value(1)}});
  // Lines without values (a 0 x 3 or 3 x 0 matrix) have no range.
  RangeCols(TMtx(0, 3), r);
  ASSERT_EQ(r.Length(), 3);
  EXPECT_TRUE(std::isnan(r[2]));
  RangeRows(TMtx(3, 0), r);
  ASSERT_EQ(r.Length(), 3);
  EXPECT_TRUE(std::isnan(r[0]));
}

TEST(Ranges, ComplexRangeIsLargestMinusSmallestModulus) {
  TMtx m;
  m.Size(2, 3, fpDouble, true);
  auto* z = m.Data<std::complex<double>>();
  z[0] = {3, 4}, z[1] = {0, -1}, z[2] = {-6, 0};  // moduli 5, 1, 6
  z[3] = {1, 1}, z[4] = {0, 2}, z[5] = {-1, -1};  // sqrt 2 twice: the first one counts
  TVec r;
  RangeRows(m, r);
  ASSERT_TRUE(r.Complex());
  EXPECT_EQ(r.Data<std::complex<double>>()[0], std::complex<double>(-6, 1));
  EXPECT_EQ(r.Data<std::complex<double>>()[1], std::complex<double>(-1, 1));
  RangeCols(m, r);
  ASSERT_EQ(r.Length(), 3);
  EXPECT_EQ(r.Data<std::complex<double>>()[0], std::complex<double>(2, 3));
  EXPECT_EQ(r.Data<std::complex<double>>()[2], std::complex<double>(-5, 1));
}

// Every function on complex data raises its own message, before any other check.
TEST(Descriptive, ComplexDataRaisesEachFunctionsMessage) {
  TVec z;
  z.Size(3, fpDouble, true);
  z.SetZero();
  std::vector<double> p(2), out(2), shortOut(1);
  const std::vector<std::pair<std::function<void()>, std::string>> cases{
      {[&] { MeanG(z); }, "MeanG: Data.Complex = true"},
      {[&] { MeanH(z); }, "MeanH: Data.Complex = true"},
      {[&] { MeanT(z, 5.0); }, "MeanTData.Complex = true"},
      {[&] { Mode(z); }, "Mode: Complex = true"},
      {[&] { Mode(z, -1, 9); }, "Mode: Complex = true"},
      {[&] { Moment(z, 0.0, 2); }, "Moment : X.Complex = true"},
      {[&] { Percentile(z, 2.0, pctMethodNPlus); }, "Percentile: X.Complex"},
      {[&] { Percentile(z, p, out, pctMethodNPlus); }, "Percentile: X.Complex"},
      {[&] { InterQuartile(z, pctMethodNPlus); }, "Percentile: X.Complex"},
      // The array form checks its arrays before the data.
      {[&] { Percentile(z, {}, {}, pctMethodNPlus); }, "Percentile: P.Length = 0"},
      {[&] { Percentile(z, p, shortOut, pctMethodNPlus); },
       "Percentile: P.Length <> Percentiles.Length"},
      {[&] { Percentile(TVec{1}, -0.1, pctMethodNPlus); }, "Percentile: (P < 0) or (P > 1)"},
      {[&] { Percentile(TVec{1}, 1.5, pctMethodNPlus); }, "Percentile: (P < 0) or (P > 1)"},
      {[&] { MeanT(TVec{1}, 1.0); }, "MeanT(Percent >= 100) or (Percent < 0)"},
      {[&] { MeanT(TVec{1}, -0.01); }, "MeanT(Percent >= 100) or (Percent < 0)"}};
  for (const auto& [call, message] : cases) EXPECT_LUMEX_ERROR(call(), message);
}

// Empty data give NaN (no quantile, mean or mode exists) or empty ranges, never a read outside.
TEST(Descriptive, EmptyDataGiveNaNOrEmptyResults) {
  const TVec e;
  for (int m = pctMethodNPlus; m <= pctMethodEDFAve; ++m) {
    const auto method = static_cast<TPercentileMethod>(m);
    EXPECT_TRUE(std::isnan(Percentile(e, 0.5, method)));
    EXPECT_TRUE(std::isnan(InterQuartile(e, method)));
    std::vector<double> out(1, 0.0);
    Percentile(e, std::vector<double>{0.3}, out, method);
    EXPECT_TRUE(std::isnan(out[0]));
  }
  for (double v : {MeanG(e), MeanH(e), MeanT(e, 0.2), Mode(e), Moment(e, 0.0, 2)}) {
    EXPECT_TRUE(std::isnan(v));
  }
  TVec r{1.0};
  RangeRows(TMtx(0, 3), r);
  EXPECT_EQ(r.Length(), 0);
  RangeCols(TMtx(0, 3), r);
  ASSERT_EQ(r.Length(), 3);
  EXPECT_TRUE(std::isnan(r[2]));
}

}  // namespace
}  // namespace lumex
