// EWMA and CUSUM charts against references computed in R from their recursions, and the
// properties that tie them to the Shewhart chart of means.
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "lumex/StatControlCharts.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

const double kZ3One = NormalCDF(3.0);

// Reference groups of chart_points.txt for one chart: (set, par1, par2) -> rows.
std::map<std::tuple<int, double, double>, std::vector<std::vector<double>>> Groups(
    const std::string& chart) {
  static const test::TRefTable t = test::ReadRefTable("StatControlCharts/chart_points.txt");
  std::map<std::tuple<int, double, double>, std::vector<std::vector<double>>> g;
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    if (t.names[r] != chart) continue;
    const auto& row = t.rows[r];
    g[{static_cast<int>(row[1]), row[2], row[3]}].push_back(row);
  }
  return g;
}

TEST(EWMAChart, BothFormsAgreeWithReference) {
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
  const auto constant = Groups("EWMA");
  const auto perSample = Groups("EWMAVar");
  ASSERT_EQ(constant.size(), perSample.size());
  test::TWorst worst{"EWMAChart"};
  for (const auto& [key, rows] : constant) {
    const auto [set, lambda, conf] = key;
    TVec draw, draw2, ucl, lcl;
    double cl = NaN, cl2 = NaN, u = NaN, l = NaN;
    EWMAChart(sets.at(set), draw, cl, u, l, lambda, conf);
    EWMAChart(sets.at(set), draw2, cl2, ucl, lcl, lambda, conf);
    EXPECT_EQ(cl, cl2);
    const auto& var = perSample.at(key);
    ASSERT_EQ(static_cast<int>(rows.size()), draw.Length());
    // Limits that pass near 0 (a centre line close to a half-width) are compared to the scale
    // of the chart.
    const double floor = 1e-12 * std::fabs(rows[0][7] - rows[0][6]);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& r = rows[i];
      const auto& v = var[i];
      const int k = static_cast<int>(i);
      const double expected[6] = {r[5], r[6], r[7], r[8], v[7], v[8]};
      const double computed[6] = {draw[k], cl, u, l, ucl[k], lcl[k]};
      for (int c = 0; c < 6; ++c) {
        worst.See(expected[c], computed[c]);
        EXPECT_TRUE(Near(expected[c], computed[c], test::kTolRef, floor))
            << "set " << set << " lambda " << lambda << " point " << i << " output " << c;
      }
      EXPECT_EQ(draw[k], draw2[k]);
    }
  }
}

TEST(EWMAChart, LambdaOneIsTheChartOfMeansWithOneSidedZ) {
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
  const TMtx& data = sets.at(0);
  TVec ewma, means;
  double cl, ucl, lcl, xcl, xucl, xlcl;
  EWMAChart(data, ewma, cl, ucl, lcl, 1.0, kZ3One);
  QCXChart(data, means, xcl, xucl, xlcl, 2.0 * kZ3One - 1.0);
  EXPECT_EQ(means.ToString(), ewma.ToString());
  EXPECT_TRUE(Near(xucl - xcl, ucl - cl, test::kTolRef));
  EXPECT_TRUE(Near(xlcl, lcl, test::kTolRounding));
}

TEST(EWMAChart, ExactLimitsStartAtLambdaAndRiseToTheAsymptoticOnes) {
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
  const TMtx& data = sets.at(2);
  const double lambda = 0.2;
  TVec draw, ucl, lcl;
  double cl, acl, aucl, alcl;
  EWMAChart(data, draw, cl, ucl, lcl, lambda, kZ3One);
  EWMAChart(data, draw, acl, aucl, alcl, lambda, kZ3One);
  const double asymptotic = std::sqrt(lambda / (2 - lambda));
  const double w = (aucl - acl) / asymptotic;  // z s-bar / (sqrt(n) c4)
  EXPECT_TRUE(Near(lambda * w, ucl[0] - cl, test::kTolSummed));
  for (int i = 1; i < ucl.Length(); ++i) {
    EXPECT_GT(ucl[i], ucl[i - 1]);
    EXPECT_TRUE(Near(ucl[i] - cl, cl - lcl[i], test::kTolRef));
  }
  EXPECT_LT(ucl[ucl.Length() - 1], aucl);
  EXPECT_TRUE(Near(aucl, ucl[ucl.Length() - 1], test::kTolConverged));
  // A tiny weight keeps its digits: f_1 = Lambda exactly in the limit.
  EWMAChart(data, draw, cl, ucl, lcl, 1e-9, kZ3One);
  EXPECT_TRUE(Near(1e-9 * w, ucl[0] - cl, test::kTolConverged));
}

TEST(EWMAChart, SubgroupsOfOneGiveInfiniteLimits) {
  const TMtx data{{1}, {3}, {2}};
  TVec draw, ucl, lcl;
  double cl, u, l;
  EWMAChart(data, draw, cl, u, l, 0.5, kZ3One);
  EXPECT_EQ(Inf, u);
  EXPECT_EQ(-Inf, l);
  // Means 1, 3, 2 around CL = 2: 1.5, 2.25, 2.125.
  EXPECT_EQ("[1.5, 2.25, 2.125]", draw.ToString());
  EWMAChart(data, draw, cl, ucl, lcl, 0.5, kZ3One);
  ASSERT_EQ(3, ucl.Length());
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Inf, ucl[i]);
    EXPECT_EQ(-Inf, lcl[i]);
  }
}

TEST(EWMAChart, SinglePrecisionRecursionRunsInSinglePrecision) {
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
  const TMtx& m = sets.at(4);  // means near 1e6
  TMtx single;
  single.Size(m.Rows(), m.Cols(), fpSingle);
  for (int i = 0; i < m.Length(); ++i) single.SetValue(i, m.Value(i));
  TVec draw, means;
  double cl, u, l, xcl, xu, xl;
  EWMAChart(single, draw, cl, u, l, 0.3, kZ3One);
  QCXChart(single, means, xcl, xu, xl, 0.9);
  ASSERT_EQ(fpSingle, draw.FloatPrecision());
  const float* x = means.Data<float>();
  float e = static_cast<float>(cl);
  for (int i = 0; i < draw.Length(); ++i) {
    e = 0.3f * x[i] + static_cast<float>(1.0 - 0.3) * e;
    EXPECT_EQ(e, draw.Data<float>()[i]) << i;
  }
}

TEST(QCCumSumChart, AgreesWithReference) {
  const auto sets = test::ReadSampleMatrices("StatControlCharts/subgroups.txt");
  test::TWorst worst{"QCCumSumChart"};
  int seen = 0;
  for (const auto& [key, rows] : Groups("CUSUM")) {
    const auto [set, k, target] = key;
    const double sigma = rows[0][6];
    TVec draw, cplus, cminus;
    QCCumSumChart(sets.at(set), draw, k, 5.0, target, sigma, &cplus, &cminus, 0.99);
    ASSERT_EQ(static_cast<int>(rows.size()), draw.Length());
    // Sums that pass through 0 are compared to the scale of the chart.
    const double floor = 1e-12 * std::fabs(rows.back()[5]);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const int j = static_cast<int>(i);
      const double expected[3] = {rows[i][5], rows[i][7], rows[i][8]};
      const double computed[3] = {draw[j], cplus[j], cminus[j]};
      for (int c = 0; c < 3; ++c) {
        worst.See(expected[c], computed[c]);
        EXPECT_TRUE(Near(expected[c], computed[c], test::kTolRef, floor * (c == 0 ? 1 : sigma)))
            << "set " << set << " K " << k << " point " << i << " output " << c;
      }
    }
    ++seen;
  }
  EXPECT_GT(seen, 0);
}

TEST(QCCumSumChart, OnTargetEverySumIsZeroAndOneTabularSumAloneIsNotWritten) {
  const TMtx data{{1, 3}, {2, 2}, {0, 4}};
  TVec draw, cplus{7, 7}, cminus;
  QCCumSumChart(data, draw, 0.5, 4.0, 2.0, 1.0, &cplus, &cminus, 0.99);
  EXPECT_EQ("[0, 0, 0]", draw.ToString());
  EXPECT_EQ("[0, 0, 0]", cplus.ToString());
  EXPECT_EQ("[0, 0, 0]", cminus.ToString());
  TVec untouched{7, 7};
  QCCumSumChart(data, draw, 0.5, 4.0, 1.0, 0.5, &untouched, nullptr, 0.99);
  EXPECT_EQ("[2, 4, 6]", draw.ToString());
  EXPECT_EQ("[7, 7]", untouched.ToString());
  // A NaN mean makes the sums NaN from there on rather than restarting them at 0.
  QCCumSumChart(TMtx{{1, 3}, {NaN, 2}, {0, 4}}, draw, 0.0, 4.0, 1.0, 1.0, &cplus, &cminus, 0.9);
  for (const TVec* v : {&draw, &cplus}) {
    EXPECT_EQ(1.0, (*v)[0]);
    EXPECT_TRUE(std::isnan((*v)[1]) && std::isnan((*v)[2]));
  }
}

TEST(AccumulatingCharts, RaiseOnComplexData) {
  TMtx z;
  z.Size(2, 2, fpDouble, true);
  z.SetZero();
  TVec draw, u, l;
  double cl, ucl, lcl;
  EXPECT_LUMEX_ERROR(EWMAChart(z, draw, cl, ucl, lcl, 0.2, 0.99), "EWMAChart: (Data.Complex)");
  EXPECT_LUMEX_ERROR(EWMAChart(z, draw, cl, u, l, 0.2, 0.99), "EWMAChart: (Data.Complex)");
  EXPECT_LUMEX_ERROR(QCCumSumChart(z, draw, 0.5, 4, 0, 1, nullptr, nullptr, 0.99),
                     "QCCumSumChart: (Data.Complex)");
}

}  // namespace
}  // namespace lumex
