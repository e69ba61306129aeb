// Shewhart charts and capability indexes against references computed in R from the charts'
// formulas, their textbook cases, degenerate inputs and messages.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "StatControlCharts/subgroup_stats.h"
#include "charts_reference.h"
#include "core/sample_bias.h"
#include "lumex/StatControlCharts.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::TRefTable;

const double kZ3Two = 2.0 * NormalCDF(3.0) - 1.0;  // two-sided coverage giving z = 3
const double kZ3One = NormalCDF(3.0);              // one-sided probability giving z = 3

// The plotted points and limits of one chart computation of the reference.
struct TChartOut {
  TVec draw;
  double cl = NaN;
  double ucl = NaN;
  double lcl = NaN;
  TVec clv, uclv, lclv;  // limits per sample, when the chart has them
};

using TKey = std::tuple<std::string, int, double, double>;

// Rows of chart_points.txt grouped by chart, set and parameters.
std::map<TKey, std::vector<std::vector<double>>> PointsByChart() {
  static const TRefTable t = test::ReadRefTable("StatControlCharts/chart_points.txt");
  std::map<TKey, std::vector<std::vector<double>>> m;
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    const auto& row = t.rows[r];
    m[{t.names[r], static_cast<int>(row[1]), row[2], row[3]}].push_back(row);
  }
  return m;
}

// Compares a chart's points (and per-sample limits, where given) with the reference rows;
// `floor` is the absolute tolerance for values near 0, scaled to the data.
void ComparePoints(const std::vector<std::vector<double>>& rows, const TChartOut& out,
                   double floor, test::TWorst& worst, const std::string& what) {
  ASSERT_EQ(static_cast<int>(rows.size()), out.draw.Length()) << what;
  for (const auto& r : rows) {
    const int i = static_cast<int>(r[4]);
    worst.See(r[5], out.draw.Value(i));
    EXPECT_TRUE(Near(r[5], out.draw.Value(i), test::kTolRef, floor)) << what << " point " << i;
    const std::vector<std::pair<const TVec*, double>> limits{
        {&out.clv, r[6]}, {&out.uclv, r[7]}, {&out.lclv, r[8]}};
    for (const auto& [v, expected] : limits) {
      if (v->Length() == 0) continue;
      worst.See(expected, v->Value(i));
      EXPECT_TRUE(Near(expected, v->Value(i), test::kTolRef, floor)) << what << " limit " << i;
    }
  }
}

// Runs `chart` for every line of charts.txt named `name` (and for the points-only charts, every
// group of chart_points.txt), comparing limits and points with the reference.
void CheckAgainstReference(const std::string& name, double floor,
                           const std::function<TChartOut(int, double, double)>& chart) {
  static const TRefTable t = test::ReadRefTable("StatControlCharts/charts.txt");
  const auto points = PointsByChart();
  test::TWorst worst{name.c_str()};
  int seen = 0;
  for (const auto& [key, rows] : points) {
    if (std::get<0>(key) != name) continue;
    const auto [chartName, set, par1, par2] = key;
    const TChartOut out = chart(set, par1, par2);
    const std::string what = name + " set " + std::to_string(set) + " par " +
                             std::to_string(par1) + " " + std::to_string(par2);
    ComparePoints(rows, out, floor, worst, what);
    ++seen;
  }
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    if (t.names[r] != name) continue;
    const auto& row = t.rows[r];
    const TChartOut out = chart(static_cast<int>(row[1]), row[2], row[3]);
    const std::string what = name + " set " + std::to_string(static_cast<int>(row[1]));
    const double expected[3] = {row[4], row[5], row[6]};
    const double computed[3] = {out.cl, out.ucl, out.lcl};
    for (int k = 0; k < 3; ++k) {
      worst.See(expected[k], computed[k]);
      EXPECT_TRUE(Near(expected[k], computed[k], test::kTolRef, floor)) << what << " limit " << k;
    }
    ++seen;
  }
  EXPECT_GT(seen, 0) << "no reference lines for " << name;
}

using TVarChart = void (*)(const TMtx&, TVec&, double&, double&, double&, double);

class VariableChart : public ::testing::TestWithParam<std::pair<const char*, TVarChart>> {};

TEST_P(VariableChart, AgreesWithReference) {
  const auto sets = test::ReadSubgroups();
  const auto [name, fn] = GetParam();
  CheckAgainstReference(name, 1e-300, [&](int set, double conf, double) {
    TChartOut o;
    fn(sets.at(set), o.draw, o.cl, o.ucl, o.lcl, conf);
    return o;
  });
}

INSTANTIATE_TEST_SUITE_P(Shewhart, VariableChart,
                         ::testing::Values(std::make_pair("X", &QCXChart),
                                           std::make_pair("S", &QCSChart),
                                           std::make_pair("R", &QCRChart)),
                         [](const auto& info) { return std::string(info.param.first); });

TEST(QCMRChart, AgreesWithReference) {
  const auto sets = test::ReadSetVectors("StatControlCharts/individuals.txt", "value");
  CheckAgainstReference("MR", 1e-300, [&](int set, double conf, double) {
    TChartOut o;
    QCMRChart(sets.at(set), o.cl, o.ucl, o.lcl, conf);
    return o;
  });
}

TEST(AttributeCharts, AgreeWithReference) {
  const auto counts = test::ReadSetVectors("StatControlCharts/attributes.txt", "count");
  const auto sizes = test::ReadSetVectors("StatControlCharts/attributes.txt", "size");
  auto m1 = [](double m) { return static_cast<int>(m); };
  CheckAgainstReference("P", 1e-15, [&](int set, double conf, double m) {
    TChartOut o;
    QCPChart(counts.at(set), m1(m), o.draw, o.cl, o.ucl, o.lcl, conf);
    return o;
  });
  CheckAgainstReference("NP", 1e-13, [&](int set, double conf, double m) {
    TChartOut o;
    QCNPChart(counts.at(set), m1(m), o.draw, o.cl, o.ucl, o.lcl, conf);
    return o;
  });
  CheckAgainstReference("U", 1e-15, [&](int set, double conf, double m) {
    TChartOut o;
    QCUChart(counts.at(set), m1(m), o.draw, o.cl, o.ucl, o.lcl, conf);
    return o;
  });
  CheckAgainstReference("C", 1e-13, [&](int set, double conf, double) {
    TChartOut o;
    QCCChart(counts.at(set), o.draw, o.cl, o.ucl, o.lcl, conf);
    return o;
  });
  CheckAgainstReference("PVar", 1e-15, [&](int set, double conf, double) {
    TChartOut o;
    QCPChart(counts.at(set), sizes.at(set), o.draw, o.cl, o.uclv, o.lclv, conf);
    o.clv.Size(o.draw.Length());
    o.clv.SetVal(o.cl);
    return o;
  });
  CheckAgainstReference("NPVar", 1e-13, [&](int set, double conf, double) {
    TChartOut o;
    QCNPChart(counts.at(set), sizes.at(set), o.draw, o.clv, o.uclv, o.lclv, conf);
    return o;
  });
  CheckAgainstReference("UVar", 1e-15, [&](int set, double conf, double) {
    TChartOut o;
    QCUChart(counts.at(set), sizes.at(set), o.draw, o.cl, o.uclv, o.lclv, conf);
    o.clv.Size(o.draw.Length());
    o.clv.SetVal(o.cl);
    return o;
  });
}

TEST(QCCapIndexes, AgreesWithReference) {
  const auto sets = test::ReadSetVectors("StatControlCharts/individuals.txt", "value");
  const TRefTable t = test::ReadRefTable("StatControlCharts/capability.txt");
  ASSERT_GT(t.rows.size(), 90U);
  test::TWorst worst{"QCCapIndexes"};
  for (const auto& r : t.rows) {
    double out = -1.0, cp = -1.0, cpk = -1.0;
    TTwoElmReal cpci{-7.0, -7.0};
    TTwoElmReal cpkci{-7.0, -7.0};
    QCCapIndexes(sets.at(static_cast<int>(r[0])), r[1], r[2], out, cp, cpk, cpci, cpkci, r[3]);
    const bool twoSided = std::isfinite(r[1]) && std::isfinite(r[2]);
    const double expected[7] = {r[4], r[5], r[6], r[7], r[8], r[9], r[10]};
    // The one-sided cases leave the intervals as they were.
    const double computed[7] = {out, cp, cpk,
                                twoSided ? cpci[0] : NaN, twoSided ? cpci[1] : NaN,
                                twoSided ? cpkci[0] : NaN, twoSided ? cpkci[1] : NaN};
    if (!twoSided) EXPECT_EQ(cpci[0], -7.0);
    for (int k = 0; k < 7; ++k) {
      worst.See(expected[k], computed[k]);
      EXPECT_TRUE(Near(expected[k], computed[k], test::kTolRef, 1e-300))
          << "set " << r[0] << " LSL " << r[1] << " USL " << r[2] << " output " << k;
    }
  }
}

// ---- textbook cases -----------------------------------------------------------------------------

TEST(C4, IsTheGammaRatioForEverySubgroupSize) {
  // Closed forms for small n, and the asymptotic series where Gamma itself would overflow.
  EXPECT_TRUE(Near(std::sqrt(2.0 / PI), detail::C4(2), test::kTolExact));
  EXPECT_TRUE(Near(std::sqrt(PI) / 2.0, detail::C4(3), test::kTolExact));
  EXPECT_TRUE(Near(std::sqrt(2.0 / 3.0) * 2.0 / std::sqrt(PI), detail::C4(4), test::kTolExact));
  EXPECT_TRUE(Near(0.75 * std::sqrt(PI / 2.0), detail::C4(5), test::kTolExact));
  for (const int n : {100000, 10000000}) {
    const double x = n;
    const double series = 1.0 - 1.0 / (4 * x) - 7.0 / (32 * x * x) - 19.0 / (128 * x * x * x);
    EXPECT_TRUE(Near(series, detail::C4(n), 1e-15)) << n;
  }
  EXPECT_TRUE(std::isnan(detail::C4(1)));
  EXPECT_TRUE(std::isnan(detail::C4(0)));
}

TEST(QCXChart, TwoSidedConfidenceOfThreeSigmaGivesZ3) {
  const TMtx data{{1, 2, 4, 7, 6}, {3, 3, 5, 2, 2}, {8, 6, 7, 5, 4}};
  TVec draw;
  double cl, ucl, lcl;
  QCXChart(data, draw, cl, ucl, lcl, kZ3Two);
  const double sbar = (StdDev(TVec{1, 2, 4, 7, 6}) + StdDev(TVec{3, 3, 5, 2, 2}) +
                       StdDev(TVec{8, 6, 7, 5, 4})) / 3.0;
  EXPECT_EQ("[4, 3, 6]", draw.ToString());
  EXPECT_TRUE(Near(13.0 / 3.0, cl, test::kTolExact));
  EXPECT_TRUE(Near(3.0 * sbar / (std::sqrt(5.0) * detail::C4(5)), ucl - cl, 1e-14));
  EXPECT_TRUE(Near(cl - lcl, ucl - cl, 1e-15));
}

TEST(QCSChart, NegativeLowerLimitIsReportedAsZero) {
  const TMtx data{{1, 2, 4, 7, 6}, {3, 3, 5, 2, 2}, {8, 6, 7, 5, 4}};
  TVec draw;
  double cl, ucl, lcl;
  QCSChart(data, draw, cl, ucl, lcl, kZ3Two);
  const double c4 = detail::C4(5);
  const double w = 3.0 * std::sqrt(1.0 - c4 * c4) * cl / c4;
  ASSERT_LT(cl - w, 0.0);
  EXPECT_EQ(0.0, lcl);
  EXPECT_TRUE(Near(cl + w, ucl, 1e-15));
}

TEST(QCRChart, LowerLimitIsNotClipped) {
  const TMtx data{{1, 2, 4, 7, 6}, {3, 3, 5, 2, 2}, {8, 6, 7, 5, 4}};
  TVec draw;
  double cl, ucl, lcl;
  QCRChart(data, draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ("[6, 3, 4]", draw.ToString());
  EXPECT_EQ(13.0 / 3.0, cl);
  // Half-width about 1.10 R-bar at n = 5, so LCL < 0.
  EXPECT_TRUE(Near(1.5 * std::sqrt(5.0 * LN2 / (4.0 * std::log(5.0))), (ucl - cl) / cl, 1e-15));
  EXPECT_TRUE(Near(cl - (ucl - cl), lcl, 1e-15));
  EXPECT_LT(lcl, 0.0);
}

TEST(QCMRChart, TextbookSeries) {
  double cl, ucl, lcl;
  QCMRChart(TVec{1, 3, 2}, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(2.0, cl);
  EXPECT_TRUE(Near(2.0 + 3.0 * 1.5 / 1.128, ucl, 1e-14));
  EXPECT_TRUE(Near(2.0 - 3.0 * 1.5 / 1.128, lcl, 1e-14));
}

TEST(QCCapIndexes, CentredProcessHasCpkEqualToCp) {
  const TVec x{4.5, 5, 5.5, 5, 4.5, 5, 5.5, 5, 4.5, 5.5};
  double out, cp, cpk;
  TTwoElmReal cpci{}, cpkci{};
  QCCapIndexes(x, 3.5, 6.5, out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(cp, cpk, 1e-15));
  EXPECT_LT(cpci[0], cp);
  EXPECT_GT(cpci[1], cp);
  EXPECT_TRUE(Near(cpk - cpkci[0], cpkci[1] - cpk, 1e-14));
  // Only an upper limit: the fraction above it, Cp and Cpk NaN, intervals untouched.
  cpci = {1.0, 2.0};
  QCCapIndexes(x, -Inf, 6.0, out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(NormalCDFUpper(6.0, 5.0, StdDev(x)), out, 1e-15));
  EXPECT_TRUE(std::isnan(cp));
  EXPECT_TRUE(std::isnan(cpk));
  EXPECT_EQ(1.0, cpci[0]);
  // A fraction of about 1e-40 outside the limits keeps its digits.
  QCCapIndexes(x, -Inf, 5.0 + 13.3 * StdDev(x), out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(NormalCDFUpper(13.3), out, 1e-13));
}

// ---- degenerate inputs --------------------------------------------------------------------------

TEST(VariableCharts, SubgroupsOfOneGiveNaNLimits) {
  const TMtx data{{1}, {2}, {4}};
  for (const TVarChart fn : {&QCXChart, &QCSChart, &QCRChart}) {
    TVec draw;
    double cl = 0, ucl = 0, lcl = 0;
    fn(data, draw, cl, ucl, lcl, kZ3Two);
    EXPECT_EQ(3, draw.Length());
    EXPECT_TRUE(std::isnan(ucl));
    EXPECT_TRUE(std::isnan(lcl));
  }
}

TEST(VariableCharts, ZeroSpreadGivesLimitsOnTheCentreLine) {
  const TMtx data{{2, 2, 2}, {3, 3, 3}};
  TVec draw;
  double cl, ucl, lcl;
  QCXChart(data, draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(2.5, cl);
  EXPECT_EQ(2.5, ucl);
  EXPECT_EQ(2.5, lcl);
  QCSChart(data, draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(0.0, cl + ucl + lcl);
  QCRChart(data, draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(0.0, cl + ucl + lcl);
}

TEST(ControlCharts, EmptyDataGiveNaNCentreLines) {
  TVec draw;
  double cl = 0, ucl = 0, lcl = 0;
  QCXChart(TMtx(), draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(0, draw.Length());
  EXPECT_TRUE(std::isnan(cl));
  QCMRChart(TVec(), cl, ucl, lcl, kZ3Two);
  EXPECT_TRUE(std::isnan(cl));
  QCMRChart(TVec{5}, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ(5.0, cl);
  EXPECT_TRUE(std::isnan(ucl));
  QCCChart(TVec(), draw, cl, ucl, lcl, kZ3One);
  EXPECT_TRUE(std::isnan(cl));
  TVec u, l;
  QCPChart(TVec(), TVec(), draw, cl, u, l, kZ3One);
  EXPECT_TRUE(std::isnan(cl));
  EXPECT_EQ(0, u.Length());
  // A sample of size 0 gives infinite or NaN values, not a failure.
  QCPChart(TVec{1, 2}, TVec{0, 10}, draw, cl, u, l, kZ3One);
  EXPECT_TRUE(std::isinf(draw[0]));
  EXPECT_TRUE(std::isinf(u[0]));
  QCPChart(TVec{1, 2}, 0, draw, cl, ucl, lcl, kZ3One);
  EXPECT_FALSE(std::isfinite(cl));
}

TEST(ControlCharts, SinglePrecisionDataGiveSinglePrecisionPoints) {
  const auto sets = test::ReadSubgroups();
  TMtx single;
  const TMtx& m = sets.at(0);
  single.Size(m.Rows(), m.Cols(), fpSingle);
  for (int i = 0; i < m.Length(); ++i) single.SetValue(i, m.Value(i));
  for (const TVarChart fn : {&QCXChart, &QCSChart, &QCRChart}) {
    TVec d1, d2;
    double cl1, u1, l1, cl2, u2, l2;
    fn(m, d1, cl1, u1, l1, kZ3Two);
    fn(single, d2, cl2, u2, l2, kZ3Two);
    EXPECT_EQ(fpSingle, d2.FloatPrecision());
    // The data are 74 +- 0.01 in 3 decimals: single precision keeps about 5 digits of the spread.
    EXPECT_TRUE(Near(u1 - cl1, u2 - cl2, 1e-3));
    EXPECT_TRUE(Near(cl1, cl2, 1e-3));
  }
}

// ---- messages -----------------------------------------------------------------------------------

TVec ComplexVec() {
  TVec v;
  v.Size(3, fpDouble, true);
  v.SetZero();
  return v;
}

TEST(ControlCharts, RaiseTheirMessagesInOrder) {
  const TVec z = ComplexVec();
  TVec single;
  single.Size(3, fpSingle);
  single.SetZero();
  const TVec d3{1, 2, 3};
  TVec draw, u, l, c;
  double cl, ucl, lcl;
  EXPECT_LUMEX_ERROR(QCMRChart(z, cl, ucl, lcl, 0.9), "QCMRChart: (Data.Complex)");
  const char* kComplex = "QCPChart: (Data.Complex) or (SampleSize.Complex)";
  const char* kLength = "QCPChart: Data.Length <> SampleSize.Length";
  const char* kPrecision = "QCPChart: Data.FloatPrecision <> SampleSize.FloatPrecision";
  // Complex before length, length before precision.
  EXPECT_LUMEX_ERROR(QCPChart(z, TVec{1, 2}, draw, cl, u, l, 0.9), kComplex);
  EXPECT_LUMEX_ERROR(QCPChart(d3, z, draw, cl, u, l, 0.9), kComplex);
  EXPECT_LUMEX_ERROR(QCPChart(d3, TVec{5, 5}, draw, cl, u, l, 0.9), kLength);
  EXPECT_LUMEX_ERROR(QCPChart(d3, single, draw, cl, u, l, 0.9), kPrecision);
  EXPECT_LUMEX_ERROR(QCNPChart(z, TVec{1, 2}, draw, c, u, l, 0.9), kComplex);
  EXPECT_LUMEX_ERROR(QCNPChart(d3, TVec{5, 5}, draw, c, u, l, 0.9), kLength);
  EXPECT_LUMEX_ERROR(QCNPChart(d3, single, draw, c, u, l, 0.9), kPrecision);
  // The u chart: complex, then precision, then its own length check.
  EXPECT_LUMEX_ERROR(QCUChart(d3, z, draw, cl, u, l, 0.9), kComplex);
  TVec single2;
  single2.Size(2, fpSingle);
  EXPECT_LUMEX_ERROR(QCUChart(d3, single2, draw, cl, u, l, 0.9), kPrecision);
  EXPECT_LUMEX_ERROR(QCUChart(d3, TVec{5, 5}, draw, cl, u, l, 0.9),
                     "QCUChart: Data.Length <> SampleSize.Length");
}

}  // namespace
}  // namespace lumex
