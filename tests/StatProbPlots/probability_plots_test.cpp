// Probability plot coordinates and reference lines against R (ppoints with a = 1/2, qnorm,
// quantile type 6), textbook cases, the Sorted flag, degenerate samples and messages.
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "lumex/StatProbPlots.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::TRefTable;

// The samples of the reference: "x" the plotted ones, "y" the second samples of the q-q plot.
std::map<std::pair<std::string, int>, TVec> Samples() {
  const TRefTable t = test::ReadRefTable("StatProbPlots/samples.txt");
  std::map<std::pair<std::string, int>, std::vector<double>> v;
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    v[{t.names[r], static_cast<int>(t.rows[r][1])}].push_back(t.rows[r][3]);
  }
  std::map<std::pair<std::string, int>, TVec> s;
  for (const auto& [key, x] : v) s.emplace(key, TVec(x));
  return s;
}

struct TPlot {
  TVec x, y, band;
  double minx = NaN, maxx = NaN, miny = NaN, maxy = NaN;
};

using TPlotFn = std::function<TPlot(const TVec& x, const TVec& y, bool sorted)>;

const std::map<std::string, TPlotFn>& PlotFunctions() {
  static const std::map<std::string, TPlotFn> fns{
      {"normal",
       [](const TVec& x, const TVec&, bool sorted) {
         TPlot p;
         StatNormalPlot(x, p.x, p.y, p.minx, p.maxx, p.miny, p.maxy, &p.band, sorted);
         return p;
       }},
      {"qq",
       [](const TVec& x, const TVec& y, bool sorted) {
         TPlot p;
         StatQQPlot(x, y, p.x, p.y, p.minx, p.maxx, p.miny, p.maxy, sorted, false);
         return p;
       }},
      {"exp",
       [](const TVec& x, const TVec&, bool sorted) {
         TPlot p;
         StatExpPlot(x, p.x, p.y, p.minx, p.maxx, p.miny, p.maxy, sorted);
         return p;
       }},
      {"weibull", [](const TVec& x, const TVec&, bool sorted) {
         TPlot p;
         StatWeibullPlot(x, p.x, p.y, p.minx, p.maxx, p.miny, p.maxy, sorted);
         return p;
       }}};
  return fns;
}

class ProbabilityPlot : public ::testing::TestWithParam<std::string> {};

TEST_P(ProbabilityPlot, AgreesWithR) {
  const std::string name = GetParam();
  const auto samples = Samples();
  const TRefTable points = test::ReadRefTable("StatProbPlots/plots.txt");
  const TRefTable lines = test::ReadRefTable("StatProbPlots/lines.txt");
  std::map<int, std::vector<std::vector<double>>> bySet;
  for (std::size_t r = 0; r < points.rows.size(); ++r) {
    if (points.names[r] == name) {
      bySet[static_cast<int>(points.rows[r][1])].push_back(points.rows[r]);
    }
  }
  test::TWorst worst{name.c_str()};
  auto check = [&](double expected, double computed, const std::string& what) {
    worst.See(expected, computed);
    EXPECT_TRUE(Near(expected, computed, test::kTolRef, test::kTiny)) << what;
  };
  int seen = 0;
  for (std::size_t r = 0; r < lines.rows.size(); ++r) {
    if (lines.names[r] != name) continue;
    const int set = static_cast<int>(lines.rows[r][1]);
    const TPlot p = PlotFunctions().at(name)(samples.at({"x", set}), samples.at({"y", set}), false);
    const std::string what = name + " set " + std::to_string(set);
    const auto& rows = bySet.at(set);
    ASSERT_EQ(static_cast<int>(rows.size()), p.x.Length()) << what;
    ASSERT_EQ(p.x.Length(), p.y.Length()) << what;
    for (const auto& row : rows) {
      const int i = static_cast<int>(row[2]);
      check(row[3], p.x[i], what + " x " + std::to_string(i));
      check(row[4], p.y[i], what + " y " + std::to_string(i));
      if (name == "normal") check(row[5], p.band[i], what + " band " + std::to_string(i));
    }
    check(lines.rows[r][2], p.minx, what + " MinX");
    check(lines.rows[r][3], p.maxx, what + " MaxX");
    check(lines.rows[r][4], p.miny, what + " MinY");
    check(lines.rows[r][5], p.maxy, what + " MaxY");
    ++seen;
  }
  EXPECT_GE(seen, 9);
}

// Sorted data with Sorted = true give exactly the points of the unsorted data with false.
TEST_P(ProbabilityPlot, SortedFlagSkipsOnlyTheSort) {
  const auto samples = Samples();
  const auto& fn = PlotFunctions().at(GetParam());
  for (const int set : {0, 1, 8}) {
    const TVec& x = samples.at({"x", set});
    const TVec& y = samples.at({"y", set});
    TVec xs = x;
    SortAscend(xs);
    const TPlot a = fn(x, y, false);
    const TPlot b = fn(xs, y, true);
    EXPECT_EQ(a.x.ToString(), b.x.ToString());
    EXPECT_EQ(a.y.ToString(), b.y.ToString());
    EXPECT_EQ(a.miny, b.miny);
    EXPECT_EQ(a.maxy, b.maxy);
  }
}

INSTANTIATE_TEST_SUITE_P(Plots, ProbabilityPlot,
                         ::testing::Values("normal", "qq", "exp", "weibull"),
                         [](const auto& info) { return info.param; });

TEST(ProbabilityPlots, SortedTrueTakesTheDataAsGiven) {
  const TVec data{5, 1, 3};
  TVec x, y;
  double minx, maxx, miny, maxy;
  StatNormalPlot(data, x, y, minx, maxx, miny, maxy, nullptr, true);
  EXPECT_EQ("[5, 1, 3]", x.ToString());
  EXPECT_EQ(5.0, minx);
  EXPECT_EQ(3.0, maxx);
  EXPECT_LT(y[0], y[1]);  // the positions still ascend
  StatWeibullPlot(data, x, y, minx, maxx, miny, maxy, true);
  EXPECT_EQ(5.0, minx);
}

TEST(ProbabilityPlots, OneValueGivesAPointAndNoFiniteLine) {
  TVec x, y, band;
  double minx, maxx, miny, maxy;
  StatNormalPlot(TVec{2.0}, x, y, minx, maxx, miny, maxy, &band, false);
  EXPECT_EQ("[0]", y.ToString());
  EXPECT_EQ(2.0, minx);
  EXPECT_EQ(2.0, maxx);
  EXPECT_FALSE(std::isfinite(miny));
  EXPECT_FALSE(std::isfinite(band[0]));
  StatExpPlot(TVec{2.0}, x, y, minx, maxx, miny, maxy, false);
  EXPECT_TRUE(Near(std::log(2.0), y[0], test::kTolExact));
  EXPECT_FALSE(std::isfinite(maxy));
  StatQQPlot(TVec{2.0}, TVec{1.0}, x, y, minx, maxx, miny, maxy, false, false);
  EXPECT_FALSE(std::isfinite(miny));
}

TEST(StatWeibullPlot, NonPositiveDataGiveNonFiniteLineEnds) {
  TVec x, y;
  double minx, maxx, miny, maxy;
  StatWeibullPlot(TVec{-1, 0, 2, 3, 5}, x, y, minx, maxx, miny, maxy, false);
  EXPECT_EQ(-1.0, minx);
  EXPECT_FALSE(std::isfinite(miny));
  EXPECT_EQ(5, y.Length());
}

TEST(ProbabilityPlots, SinglePrecisionDataGiveSinglePrecisionPoints) {
  TVec single;
  single.Size(4, fpSingle);
  for (int i = 0; i < 4; ++i) single.SetValue(i, 4.0 - i);
  TVec x, y, band;
  double minx, maxx, miny, maxy;
  StatNormalPlot(single, x, y, minx, maxx, miny, maxy, &band, false);
  EXPECT_EQ(fpSingle, x.FloatPrecision());
  EXPECT_EQ(fpSingle, y.FloatPrecision());
  EXPECT_EQ(fpSingle, band.FloatPrecision());
  EXPECT_TRUE(Near(NormalCDFInv(0.125), y.Value(0), test::kTolSingle));
  StatQQPlot(single, x, y, minx, maxx, miny, maxy, false);
  EXPECT_EQ(fpSingle, y.FloatPrecision());
}

TEST(ProbabilityPlots, RaiseTheirMessages) {
  TVec z;
  z.Size(3, fpDouble, true);
  z.SetZero();
  const TVec empty;
  TVec x, y;
  double a = 1, b = 1, c = 1, d = 1;
  EXPECT_LUMEX_ERROR(StatNormalPlot(z, x, y, a, b, c, d, nullptr, false),
                     "StatNormalPlot: (Data.Complex)");
  EXPECT_LUMEX_ERROR(StatNormalPlot(empty, x, y, a, b, c, d, nullptr, false),
                     "StatNormalPlot: Data.Length < 1");
  EXPECT_LUMEX_ERROR(StatWeibullPlot(z, x, y, a, b, c, d, false),
                     "StatWeibullPlot: (Data.Complex)");
  EXPECT_LUMEX_ERROR(StatWeibullPlot(empty, x, y, a, b, c, d, false),
                     "StatWeibullPlot: Data.Length < 1");
  EXPECT_LUMEX_ERROR(StatExpPlot(z, x, y, a, b, c, d, false), "StatExpPlot: (Data.Complex)");
  EXPECT_LUMEX_ERROR(StatExpPlot(empty, x, y, a, b, c, d, false), "StatExpPlot: Data.Length < 1");
  EXPECT_LUMEX_ERROR(StatQQPlot(TVec{1, 2, 3}, z, x, y, a, b, c, d, false, false),
                     "StatQQPlot: (XData.Complex) or YData.Complex");
  EXPECT_LUMEX_ERROR(StatQQPlot(TVec{1, 2, 3}, TVec{1, 2, 3, 4}, x, y, a, b, c, d, false, false),
                     "StatQQPlot: (XData.Length <> YData.Length");
  EXPECT_LUMEX_ERROR(StatQQPlot(empty, empty, x, y, a, b, c, d, false, false),
                     "StatQQPlot: XData.Length < 1");
  // The one-sample form raises the two-sample texts; the line ends were set to 0 first.
  EXPECT_LUMEX_ERROR(StatQQPlot(z, x, y, a, b, c, d, false),
                     "StatQQPlot: (XData.Complex) or YData.Complex");
  EXPECT_EQ(0.0, a + b + c + d);
  EXPECT_LUMEX_ERROR(StatQQPlot(empty, x, y, a, b, c, d, false), "StatQQPlot: XData.Length < 1");
}

}  // namespace
}  // namespace lumex
