// Shewhart charts and capability indexes against references computed in R from the charts'
// formulas, their textbook cases, degenerate inputs and messages.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "StatControlCharts/subgroup_stats.h"
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
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
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
  const auto sets = test::ReadSamples("StatControlCharts/individuals.txt", "value");
  CheckAgainstReference("MR", 1e-300, [&](int set, double conf, double) {
    TChartOut o;
    QCMRChart(sets.at(set), o.cl, o.ucl, o.lcl, conf);
    return o;
  });
}

TEST(AttributeCharts, AgreeWithReference) {
  const auto counts = test::ReadSamples("StatControlCharts/attributes.txt", "count");
  const auto sizes = test::ReadSamples("StatControlCharts/attributes.txt", "size");
  using TFill = std::function<void(const TVec&, const TVec&, int, double, TChartOut&)>;
  // The constant-size charts take the size m from the reference; a constant centre line is
  // spread over the points for the charts whose limits vary.
  const std::vector<std::tuple<const char*, double, TFill>> charts = {
      {"P", 1e-15, [](auto& d, auto&, int m, double c, auto& o) {
         QCPChart(d, m, o.draw, o.cl, o.ucl, o.lcl, c);
       }},
      {"NP", 1e-13, [](auto& d, auto&, int m, double c, auto& o) {
         QCNPChart(d, m, o.draw, o.cl, o.ucl, o.lcl, c);
       }},
      {"U", 1e-15, [](auto& d, auto&, int m, double c, auto& o) {
         QCUChart(d, m, o.draw, o.cl, o.ucl, o.lcl, c);
       }},
      {"C", 1e-13, [](auto& d, auto&, int, double c, auto& o) {
         QCCChart(d, o.draw, o.cl, o.ucl, o.lcl, c);
       }},
      {"PVar", 1e-15, [](auto& d, auto& n, int, double c, auto& o) {
         QCPChart(d, n, o.draw, o.cl, o.uclv, o.lclv, c);
         o.clv.Size(o.draw.Length());
         o.clv.SetVal(o.cl);
       }},
      {"NPVar", 1e-13, [](auto& d, auto& n, int, double c, auto& o) {
         QCNPChart(d, n, o.draw, o.clv, o.uclv, o.lclv, c);
       }},
      {"UVar", 1e-15, [](auto& d, auto& n, int, double c, auto& o) {
         QCUChart(d, n, o.draw, o.cl, o.uclv, o.lclv, c);
         o.clv.Size(o.draw.Length());
         o.clv.SetVal(o.cl);
       }},
  };
  for (const auto& [name, floor, fill] : charts) {
    CheckAgainstReference(name, floor, [&, &fill = fill](int set, double conf, double m) {
      TChartOut o;
      fill(counts.at(set), sizes.at(set), static_cast<int>(m), conf, o);
      return o;
    });
  }
}

TEST(QCCapIndexes, AgreesWithReference) {
  const auto sets = test::ReadSamples("StatControlCharts/individuals.txt", "value");
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
      EXPECT_TRUE(Near(expected[k], computed[k], test::kTolRef, test::kTiny))
          << "set " << r[0] << " LSL " << r[1] << " USL " << r[2] << " output " << k;
    }
  }
}

// ---- textbook cases -----------------------------------------------------------------------------

TEST(C4, IsTheGammaRatioForEverySubgroupSize) {
  // Closed forms for small n, and the asymptotic series where Gamma itself would overflow.
  test::ExpectAllNear({LUMEX_VALUE(std::sqrt(2.0 / PI), detail::C4(2)),
                       LUMEX_VALUE(std::sqrt(PI) / 2.0, detail::C4(3)),
                       LUMEX_VALUE(std::sqrt(2.0 / 3.0) * 2.0 / std::sqrt(PI), detail::C4(4)),
                       LUMEX_VALUE(0.75 * std::sqrt(PI / 2.0), detail::C4(5))},
                      test::kTolExact);
  for (const int n : {100000, 10000000}) {
    const double x = n;
    const double series = 1.0 - 1.0 / (4 * x) - 7.0 / (32 * x * x) - 19.0 / (128 * x * x * x);
    EXPECT_TRUE(Near(series, detail::C4(n), test::kTolRounding)) << n;
  }
  EXPECT_TRUE(std::isnan(detail::C4(1)) && std::isnan(detail::C4(0)));
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
  EXPECT_TRUE(Near(3.0 * sbar / (std::sqrt(5.0) * detail::C4(5)), ucl - cl, test::kTolSummed));
  EXPECT_TRUE(Near(cl - lcl, ucl - cl, test::kTolRounding));
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
  EXPECT_TRUE(Near(cl + w, ucl, test::kTolRounding));
}

TEST(QCRChart, LowerLimitIsNotClipped) {
  const TMtx data{{1, 2, 4, 7, 6}, {3, 3, 5, 2, 2}, {8, 6, 7, 5, 4}};
  TVec draw;
  double cl, ucl, lcl;
  QCRChart(data, draw, cl, ucl, lcl, kZ3Two);
  EXPECT_EQ("[6, 3, 4]", draw.ToString());
  EXPECT_EQ(13.0 / 3.0, cl);
  // Half-width about 1.10 R-bar at n = 5, so LCL < 0. (The quantile of the rounded coverage is
  // 3 - 2e-15, and the normal quantile is good to a few units in the last place.)
  EXPECT_TRUE(Near(1.5 * std::sqrt(5.0 * LN2 / (4.0 * std::log(5.0))), (ucl - cl) / cl,
                   test::kTolSummed));
  // lcl = cl - w and ucl - cl = (cl + w) - cl differ by the rounding of cl + w: an error
  // relative to cl, not to the small lcl.
  EXPECT_TRUE(Near(cl - (ucl - cl), lcl, test::kTolRounding, test::kTolRounding * cl));
  EXPECT_LT(lcl, 0.0);
}

TEST(QCCapIndexes, CentredProcessHasCpkEqualToCp) {
  const TVec x{4.5, 5, 5.5, 5, 4.5, 5, 5.5, 5, 4.5, 5.5};
  double out, cp, cpk;
  TTwoElmReal cpci{}, cpkci{};
  QCCapIndexes(x, 3.5, 6.5, out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(cp, cpk, test::kTolRounding));
  EXPECT_LT(cpci[0], cp);
  EXPECT_GT(cpci[1], cp);
  EXPECT_TRUE(Near(cpk - cpkci[0], cpkci[1] - cpk, test::kTolSummed));
  // Only an upper limit: the fraction above it, Cp and Cpk NaN, intervals untouched.
  cpci = {1.0, 2.0};
  QCCapIndexes(x, -Inf, 6.0, out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(NormalCDFUpper(6.0, 5.0, StdDev(x)), out, test::kTolRounding));
  test::ExpectAllEqual({{"Cp", NaN, cp}, {"Cpk", NaN, cpk}, {"CpCI", 1.0, cpci[0]}});
  // A fraction of about 1e-40 outside the limits keeps its digits.
  QCCapIndexes(x, -Inf, 5.0 + 13.3 * StdDev(x), out, cp, cpk, cpci, cpkci, 0.05);
  EXPECT_TRUE(Near(NormalCDFUpper(13.3), out, test::kTolCertified13));
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
  test::ExpectAllEqual({{"CL", 2.5, cl}, {"UCL", 2.5, ucl}, {"LCL", 2.5, lcl}});
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
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
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

TEST(ControlCharts, RaiseTheirMessagesInOrder) {
  const TVec z = test::Zeros(3, fpDouble, true), single = test::Zeros(3, fpSingle);
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
  EXPECT_LUMEX_ERROR(QCUChart(d3, test::Zeros(2, fpSingle), draw, cl, u, l, 0.9), kPrecision);
  EXPECT_LUMEX_ERROR(QCUChart(d3, TVec{5, 5}, draw, cl, u, l, 0.9),
                     "QCUChart: Data.Length <> SampleSize.Length");
}

}  // namespace
}  // namespace lumex
