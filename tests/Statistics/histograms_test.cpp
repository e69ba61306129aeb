// Histograms against NumPy's counts, the centre form, the cumulative form, the empirical
// distribution function and the internal CountInBins.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "Statistics/histograms.h"
#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using detail::CountInBins;
using test::Near;
using TRow = std::vector<double>;

// The reference samples, in single precision when `dbl` is false.
TVec Sample(int k, bool dbl) {
  static const test::TRefTable t = test::ReadRefTable("Statistics/histograms_data.txt");
  TRow values;
  for (const auto& row : t.rows) {
    if (row[0] == k) values.push_back(row[1]);
  }
  TVec x(values);
  if (!dbl) Convert(x, x, fpSingle);
  return x;
}

// Reference rows grouped by their first column (the case).
std::map<int, std::vector<TRow>> Cases(const test::TRefTable& t) {
  std::map<int, std::vector<TRow>> cases;
  for (const auto& r : t.rows) cases[static_cast<int>(r[0])].push_back(r);
  return cases;
}

TEST(Histogram, EqualBinsAgreeWithNumPy) {
  const test::TRefTable t = test::ReadRefTable("Statistics/histograms.txt");
  const auto cases = Cases(t);
  ASSERT_EQ(cases.size(), 18U);
  for (const auto& [id, rows] : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << id);
    const TRow& r0 = rows[0];
    const bool dbl = r0[t.Col("precision")] == 1.0;
    const TVec x = Sample(static_cast<int>(r0[t.Col("sample")]), dbl);
    const int nb = static_cast<int>(r0[t.Col("numbins")]);
    const double min = r0[t.Col("min")], max = r0[t.Col("max")];
    const double tol = dbl ? test::kTolRounding : test::kTolSingle;
    const double floor = tol * (max - min);
    TVecInt counts;
    TVec edges, centres, results, cumulative;
    if (r0[t.Col("limits")] == 1.0) {
      Histogram(x, nb, counts, edges, false, max, min);
      Histogram(x, nb, results, centres, true, max, min);
    } else {
      Histogram(x, nb, counts, edges, false);
      Histogram(x, nb, results, centres, true);
      CumulativeHist(x, nb, cumulative, centres, true);
      EXPECT_EQ(cumulative.Value(nb - 1), 1.0);
    }
    ASSERT_EQ(counts.Length(), nb);
    ASSERT_EQ(edges.Length(), nb + 1);
    EXPECT_EQ(results.FloatPrecision(), x.FloatPrecision());
    EXPECT_EQ(edges.FloatPrecision(), x.FloatPrecision());
    double total = 0.0;
    for (int k = 0; k < nb; ++k) total += rows[k][t.Col("count")];
    double running = 0.0;
    for (int k = 0; k <= nb; ++k) {
      EXPECT_TRUE(Near(rows[k][t.Col("edge")], edges.Value(k), tol, floor));
      if (k == nb) break;
      const double expected = rows[k][t.Col("count")];
      running += expected;
      EXPECT_EQ(counts[k], expected) << "bin " << k;
      EXPECT_EQ(results.Value(k), expected) << "bin " << k;
      EXPECT_TRUE(Near(rows[k][t.Col("centre")], centres.Value(k), tol, floor));
      if (cumulative.Length() > 0) EXPECT_TRUE(Near(running / total, cumulative.Value(k), tol));
    }
  }
}

TEST(Histogram, CentredBinsAgreeWithNumPy) {
  const test::TRefTable t = test::ReadRefTable("Statistics/histograms_centres.txt");
  const auto cases = Cases(t);
  ASSERT_EQ(cases.size(), 9U);
  for (const auto& [id, rows] : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << id);
    const TVec x = Sample(static_cast<int>(rows[0][t.Col("sample")]),
                          rows[0][t.Col("precision")] == 1.0);
    const int m = static_cast<int>(rows.size());
    TVec centres(m), results, cumulative;
    for (int k = 0; k < m; ++k) centres[k] = rows[k][t.Col("centre")];
    Histogram(x, centres, results);
    CumulativeHist(x, centres, cumulative);
    ASSERT_EQ(results.Length(), m);
    for (int k = 0; k < m; ++k) EXPECT_EQ(results.Value(k), rows[k][t.Col("count")]) << k;
    EXPECT_EQ(cumulative.Value(m - 1), 1.0);
  }
}

TEST(Histogram, ConstantSampleGetsUnitBinsAboutItsValue) {
  const TVec x{5.0, 5.0, 5.0};
  TVecInt counts;
  TVec edges, results;
  Histogram(x, 3, counts, edges, false);  // limits 5 - 1 - 0.5 and 5 + 2 + 0.5
  EXPECT_EQ(edges.ToString(), TVec({3.5, 3.5 + 4.0 / 3, 3.5 + 8.0 / 3, 7.5}).ToString());
  EXPECT_EQ(counts.ToString(), "[0, 3, 0]");
  Histogram(TVec{1.0, 2.0}, 2, counts, edges, false, 2.0, 2.0);  // given equal limits
  EXPECT_EQ(edges.ToString(), "[0.5, 2, 3.5]");
  EXPECT_EQ(counts.ToString(), "[1, 1]");
  Histogram(x, TVec{1.0, 4.0, 9.0}, results);
  EXPECT_EQ(results.ToString(), "[0, 3, 0]");
}

TEST(Histogram, EmptyDataGiveZeroCountsOrNaN) {
  const TVec empty;
  TVecInt counts;
  TVec bins, results, x, f;
  Histogram(empty, 3, counts, bins, false, 3.0, 0.0);
  EXPECT_EQ(counts.ToString(), "[0, 0, 0]");
  Histogram(empty, 2, results, bins, true);  // no extremes: NaN limits
  EXPECT_EQ(results.ToString() + bins.ToString(), "[0, 0][NAN, NAN]");
  CumulativeHist(empty, TVec{1.0, 2.0}, results);
  EXPECT_EQ(results.ToString(), "[NAN, NAN]");
  EmpiricalCDF(empty, x, f);
  EXPECT_EQ(x.ToString() + f.ToString(), "[][0]");
}

TEST(Histogram, MessagesNameTheFormAndComplexComesFirst) {
  TVec complex;
  complex.Size(3, fpDouble, true);
  const TVec x{1.0, 2.0};
  TVecInt counts;
  TVec bins, results;
  EXPECT_LUMEX_ERROR(Histogram(complex, 0, counts, bins, false, 1.0, 0.0),
                     "Histogram: Data.Complex = true");
  EXPECT_LUMEX_ERROR(Histogram(complex, 2, counts, bins, true), "Histogram: Data.Complex = true");
  EXPECT_LUMEX_ERROR(Histogram(x, 0, counts, bins, false, 1.0, 0.0), "Histogram: NumBins <= 0");
  EXPECT_LUMEX_ERROR(Histogram(x, -2, counts, bins, true), "Histogram: NumBins <= 0");
  EXPECT_LUMEX_ERROR(Histogram(x, 2147483647, counts, bins, false), "Histogram: NumBins too large");
  EXPECT_LUMEX_ERROR(Histogram(complex, 0, results, bins, false, 1.0, 0.0),
                     "Histogram : Data.Complex = true");
  EXPECT_LUMEX_ERROR(Histogram(x, 0, results, bins, true), "Histogram : NumBins <= 0");
  EXPECT_LUMEX_ERROR(Histogram(complex, TVec(), results), "Histogram : Data.Complex = true");
  EXPECT_LUMEX_ERROR(Histogram(x, TVec(), results), "Histogram : Bins.Length < 1");
  EXPECT_LUMEX_ERROR(CumulativeHist(x, 0, results, bins, true), "Histogram : NumBins <= 0");
  TVecInt shortCounts(2);
  EXPECT_LUMEX_ERROR(CountInBins(x, TVec{0.0, 1.0, 2.0}, shortCounts),
                     "CountInBins: Counts.Length < Edges.Length");
}

struct TEcdfCase {
  TVec data;
  const char* x;
  const char* f;
};

class EmpiricalCDFCases : public ::testing::TestWithParam<TEcdfCase> {};

TEST_P(EmpiricalCDFCases, GivesDistinctValuesAndFractionsAtOrBelow) {
  TVec x, f;
  EmpiricalCDF(GetParam().data, x, f);
  EXPECT_EQ(x.ToString(), GetParam().x);
  EXPECT_EQ(f.ToString(), GetParam().f);
}

INSTANTIATE_TEST_SUITE_P(
    Samples, EmpiricalCDFCases,
    ::testing::Values(TEcdfCase{TVec{1.0, 2.0, 2.0, 3.0}, "[1, 2, 3]", "[0, 0.25, 0.75, 1]"},
                      TEcdfCase{TVec{2.0, 2.0, 2.0}, "[2]", "[0, 1]"},
                      TEcdfCase{TVec{-Inf, -Inf, 0.0, Inf}, "[-INF, 0, INF]", "[0, 0.5, 0.75, 1]"}));

// ---- CountInBins ------------------------------------------------------------------------------

std::vector<std::int32_t> Counted(const TVec& data, const TVec& edges) {
  TVecInt c(edges.Length());
  CountInBins(data, edges, c);
  return {c.Data(), c.Data() + c.Length()};
}

TEST(CountInBins, BinRules) {
  // Repeated edges: a value at 1 goes to the last bin starting at 1 (index 3); a value equal to
  // the last edge goes to bin m - 1; values outside and NaN are dropped.
  EXPECT_EQ(Counted(TVec{0.0, 0.999, 1.0, 1.5, 2.0, 3.9, 4.0, 4.1, -0.1, NaN, Inf},
                    TVec{0.0, 1.0, 1.0, 1.0, 2.0, 4.0}),
            (std::vector<std::int32_t>{2, 0, 0, 2, 2, 1}));
  EXPECT_EQ(Counted(TVec{-1e300, 0.0, 5.0, Inf}, TVec{-Inf, 0.0, Inf}),
            (std::vector<std::int32_t>{1, 2, 1}));
  EXPECT_EQ(Counted(TVec{2.0, 3.0}, TVec{2.0}), (std::vector<std::int32_t>{1}));
  // Single-precision data compare in single precision: an edge one double ulp above 0.1f
  // rounds to 0.1f.
  const double edge = std::nextafter(static_cast<double>(0.1F), 1.0);
  TVec xs{static_cast<double>(0.1F)};
  EXPECT_EQ(Counted(xs, TVec{0.0, edge, 1.0}), (std::vector<std::int32_t>{1, 0, 0}));
  Convert(xs, xs, fpSingle);
  EXPECT_EQ(Counted(xs, TVec{0.0, edge, 1.0}), (std::vector<std::int32_t>{0, 1, 0}));
}

// Agreement with a plain binary search over uneven, partly repeated edges, with finite ends
// (the search starts from the interpolated guess) and infinite ones (from the middle).
TEST(CountInBins, AgreesWithBinarySearch) {
  std::mt19937_64 gen(5);
  std::exponential_distribution<double> gap(1.0);
  std::normal_distribution<double> z(0.0, 30.0);
  for (const bool infiniteEnds : {false, true}) {
    std::vector<double> e{-40.0};
    for (int i = 0; i < 300; ++i) e.push_back(e.back() + (i % 17 == 0 ? 0.0 : 0.3 * gap(gen)));
    if (infiniteEnds) e.front() = -Inf, e.back() = Inf;
    std::vector<double> data(4000);
    for (double& v : data) v = z(gen);
    std::vector<std::int32_t> expected(e.size(), 0);
    for (const double v : data) {
      if (!(v >= e.front() && v <= e.back())) continue;
      const long k = std::upper_bound(e.begin(), e.end(), v) - e.begin() - 1;
      ++expected[static_cast<std::size_t>(std::min(k, static_cast<long>(e.size()) - 1))];
    }
    EXPECT_EQ(Counted(TVec(data), TVec(e)), expected) << "infinite ends " << infiniteEnds;
  }
}

}  // namespace
}  // namespace lumex
