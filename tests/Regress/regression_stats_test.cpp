// RegressTest, LinRegress and R2 against R's lm and summary.lm, and the straight line against
// the certified values of NIST StRD Norris.
#include <cmath>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "lumex/Regress.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using test::kTolRef;

// One lm fit of tests/reference/Regress/regression_stats.R: observations, R's fitted values,
// weights, the unscaled covariance matrix and the expected statistics.
struct TRegCase {
  TVec y, ycalc, w;
  TMtx v;
  std::map<std::string, double> want;
};

std::map<std::string, TRegCase> ReadRegCases() {
  std::map<std::string, TRegCase> cases;
  const test::TRefTable stats = test::ReadRefTable("Regress/regression_stats.txt");
  for (std::size_t r = 0; r < stats.rows.size(); ++r) {
    TRegCase& c = cases[stats.names[r]];
    for (std::size_t k = 1; k < stats.columns.size(); ++k) c.want[stats.columns[k]] = stats.rows[r][k];
    const int p = static_cast<int>(c.want["p"]);
    c.v.Size(p, p);
  }
  std::map<std::string, std::vector<double>> y, yc, w;
  const test::TRefTable data = test::ReadRefTable("Regress/regression_data.txt");
  for (std::size_t r = 0; r < data.rows.size(); ++r) {
    y[data.names[r]].push_back(data.rows[r][2]);
    yc[data.names[r]].push_back(data.rows[r][3]);
    w[data.names[r]].push_back(data.rows[r][4]);
  }
  for (auto& [name, c] : cases) {
    c.y = TVec(y[name]);
    c.ycalc = TVec(yc[name]);
    c.w = TVec(w[name]);
  }
  const test::TRefTable v = test::ReadRefTable("Regress/regression_v.txt");
  for (std::size_t r = 0; r < v.rows.size(); ++r) {
    cases[v.names[r]].v(static_cast<int>(v.rows[r][1]), static_cast<int>(v.rows[r][2])) =
        v.rows[r][3];
  }
  return cases;
}

const std::map<std::string, TRegCase>& RegCases() {
  static const std::map<std::string, TRegCase> cases = ReadRegCases();
  return cases;
}

void ExpectStatsEqual(const TRegStats& a, const TRegStats& b) {
  test::ExpectAllNear({{"SSE", a.SSE, b.SSE}, {"SST", a.SST, b.SST}, {"R2", a.R2, b.R2}},
                      test::kTolSummed);
  EXPECT_TRUE(Near(a.FStats.F, b.FStats.F, test::kTolCertified13));
  EXPECT_EQ(a.dfE, b.dfE);
}

class RegressTestAgainstR : public ::testing::TestWithParam<std::string> {};

TEST_P(RegressTestAgainstR, MatchesLmAndSummaryLm) {
  const TRegCase& c = RegCases().at(GetParam());
  const bool constant = c.want.at("constant") != 0;
  const bool weighted = c.want.at("weighted") != 0;
  TRegStats s;
  TVec residuals, se;
  RegressTest(c.y, c.ycalc, c.v, s, residuals, se, constant, weighted ? &c.w : nullptr);

  const auto& w = c.want;
  test::ExpectAllNear({{"SSE", w.at("SSE"), s.SSE}, {"SST", w.at("SST"), s.SST},
                       {"SSR", w.at("SSR"), s.SSR}, 
                       {"ResidualVar", w.at("ResidualVar"), s.ResidualVar},
                       {"R2", w.at("R2"), s.R2}, 
                       {"AdjustedR2", w.at("AdjustedR2"), s.AdjustedR2},
                       {"StdError", w.at("StdError"), s.StdError}, {"F", w.at("F"), s.FStats.F},
                       {"Signif", w.at("Signif"), s.FStats.Signif}},
                      kTolRef);
  test::ExpectAllEqual({{"dfE", w.at("dfE"), double(s.dfE)}, {"dfT", w.at("dfT"), double(s.dfT)},
                        {"FStats.SSE", s.SSE, s.FStats.SSE}, {"FStats.SSR", s.SSR, s.FStats.SSR},
                        {"FStats.dFE", double(s.dfE), double(s.FStats.dFE)},
                        {"FStats.dFR", w.at("p") - 1, double(s.FStats.dFR)}});

  const int p = c.v.Cols();
  ASSERT_EQ(se.Length(), p);
  for (int j = 0; j < p; ++j) {
    EXPECT_TRUE(Near(c.want.at("se" + std::to_string(j)), se[j], kTolRef)) << "coefficient " << j;
  }
  ASSERT_EQ(residuals.Length(), c.y.Length());
  for (int i = 0; i < c.y.Length(); ++i) EXPECT_EQ(residuals[i], c.y[i] - c.ycalc[i]);

  // The first overload with ParamCount = V.Cols gives the same record; so do unit weights.
  TRegStats first;
  RegressTest(c.y, c.ycalc, p, first, constant, weighted ? &c.w : nullptr);
  ExpectStatsEqual(s, first);
  if (!weighted) {
    const TVec ones(std::vector<double>(static_cast<std::size_t>(c.y.Length()), 1.0));
    TRegStats unit;
    RegressTest(c.y, c.ycalc, p, unit, constant, &ones);
    ExpectStatsEqual(s, unit);
  }
}

INSTANTIATE_TEST_SUITE_P(Fits, RegressTestAgainstR,
                         ::testing::Values("cars_line", "cars_line_w", "cars_quad_origin",
                                           "cars_quad_origin_w", "trees_w", "trees_origin",
                                           "stackloss"));

TEST(RegressTest, DegreesOfFreedomComeFromParamCountAlone) {
  const TVec y{1, 3, 2, 5, 4, 6};
  const TVec yc{1.5, 2.5, 2.5, 4.5, 4.5, 5.5};
  for (bool constant : {true, false}) {
    TRegStats s;
    RegressTest(y, yc, 3, s, constant, nullptr);
    test::ExpectAllEqual({{"dfE", 3, double(s.dfE)}, {"dfT", 5, double(s.dfT)},
                          {"dFR", 2, double(s.FStats.dFR)}, {"dFE", 3, double(s.FStats.dFE)}});
    // Without a constant the total is about zero: sum y^2.
    EXPECT_EQ(s.SST, constant ? 17.5 : 91.0);
  }
  // A one-parameter model without a constant has dFR = 0: F is infinite and its law undefined.
  TRegStats s;
  RegressTest(y, yc, 1, s, false, nullptr);
  EXPECT_EQ(s.FStats.dFR, 0);
  EXPECT_EQ(s.FStats.F, Inf);
  EXPECT_TRUE(std::isnan(s.FStats.Signif));
}

TEST(RegressTest, PerfectFitHasExactlyZeroResidual) {
  const TVec y{0.1, 0.7, 0.2, 0.9};
  TRegStats s;
  TVec res, se;
  RegressTest(y, y, TMtx{{1, 0}, {0, 1}}, s, res, se, true, nullptr);
  test::ExpectAllEqual({{"SSE", 0, s.SSE}, {"SSR", s.SST, s.SSR}, {"R2", 1, s.R2},
                        {"StdError", 0, s.StdError}, {"se", 0, se[0]}, {"F", Inf, s.FStats.F},
                        {"Signif", 0, s.FStats.Signif}});
}

// Each sum of squares whose magnitude is below the epsilon of Y's storage is stored as 0; one
// equal to it is kept.
TEST(RegressTest, SumsBelowTheStorageEpsilonAreZero) {
  const double h = std::ldexp(1.0, -26);  // h^2 = 2^-52, the double epsilon
  TRegStats s;
  RegressTest(TVec{0.0, h}, TVec{0.0, h}, 1, s, false, nullptr);
  test::ExpectAllEqual({{"SST", EPS_DOUBLE, s.SST}, {"SSR", EPS_DOUBLE, s.SSR}, {"SSE", 0, s.SSE}});

  const double below = h * (1.0 - std::ldexp(1.0, -20));
  RegressTest(TVec{0.0, below}, TVec{0.0, 0.0}, 1, s, false, nullptr);
  test::ExpectAllEqual({{"SST", 0, s.SST}, {"SSE", 0, s.SSE}, {"SSR", 0, s.SSR},
                        {"R2", NaN, s.R2}});


  // Single-precision data use the single epsilon 2^-23: 1e-8 is noise there.
  RegressTest(test::ToSingle(TVec{0.0, 1e-4}), test::Zeros(2, fpSingle), 1, s, false, nullptr);
  EXPECT_EQ(s.SST, 0.0);
  EXPECT_EQ(s.SSE, 0.0);
  RegressTest(TVec{0.0, 1e-4}, TVec{0.0, 0.0}, 1, s, false, nullptr);
  EXPECT_GT(s.SST, 0.0);
}

// ---- Messages, in order -----------------------------------------------------------------------

struct TMessageCase {
  const char* name;
  std::function<void()> call;
  const char* message;
};

TVec Single(int n) { return test::Zeros(n, fpSingle); }
TVec Complex(int n) { return test::Zeros(n, fpDouble, true); }

TEST(RegressionMessages, EachCheckRaisesItsMessageInOrder) {
  const TVec y3{1, 2, 3}, y2{1, 2};
  const TVec s3 = Single(3), c3 = Complex(3), c2 = Complex(2);
  TRegStats st;
  TVec b, res, se;
  const std::vector<TMessageCase> cases = {
      {"length before precision", [&] { RegressTest(y3, Single(2), 1, st, true, nullptr); },
       "RegressTest: Y.Length <> YCalc.Length"},
      {"precision", [&] { RegressTest(y3, s3, 1, st, true, nullptr); },
       "RegressTest: Y.FloatPrecision <> YCalc.FloatPrecision"},
      {"weights length before precision",
       [&] {
         const TVec w = Single(2);
         RegressTest(y3, y3, 1, st, true, &w);
       },
       "RegressTest: Weights.Length <> Y.Length"},
      {"weights precision", [&] { RegressTest(y3, y3, 1, st, true, &s3); },
       "RegressTest: Weights.FloatPrecision <> Y.FloatPrecision"},
      {"negative parameter count", [&] { RegressTest(y3, y3, -2147483647 - 1, st, true, nullptr); },
       "RegressTest: ParamCount < 0"},
      {"second overload",
       [&] { RegressTest(y3, y2, TMtx(2, 2), st, res, se, true, nullptr); },
       "RegressTest: Y.Length <> YCalc.Length"},
      {"V without its diagonal",
       [&] { RegressTest(y3, y3, TMtx(1, 2), st, res, se, true, nullptr); },
       "RegressTest: V.Rows < V.Cols"},
      {"line: length first", [&] { LinRegress(c3, Single(2), b, true, nullptr, nullptr, nullptr); },
       "LinRegress : X.Length <> Y.Length"},
      {"line: precision before complex",
       [&] { LinRegress(c3, s3, b, true, nullptr, nullptr, nullptr); },
       "LinRegress : X.FloatPrecision <> Y.FloatPrecision"},
      {"line: complex", [&] { LinRegress(y3, c3, b, true, nullptr, nullptr, nullptr); },
       "LinRegress : X.Complex or Y.Complex"},
      {"line: weights length",
       [&] { LinRegress(y3, y3, b, true, &y2, nullptr, nullptr); },
       "LinRegress : (Weights.Length <> X.Length)"},
      {"line: weights precision", [&] { LinRegress(y3, y3, b, true, &s3, nullptr, nullptr); },
       "LinRegress : (Weights.FloatPrecision <> X.FloatPrecision)"},
      {"R2 lengths", [&] { R2(y3, y2); }, "R2: Y.Length <> YCalc.Length"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_LUMEX_ERROR(c.call(), c.message);
  }
}

// ---- The straight line ------------------------------------------------------------------------

struct TLineData {
  TVec x, y, w;
};

TLineData ReadLineData() {
  const test::TRefTable t = test::ReadRefTable("Regress/line_data.txt");
  std::vector<double> x, y, w;
  for (const auto& r : t.rows) {
    x.push_back(r[1]);
    y.push_back(r[2]);
    w.push_back(r[3]);
  }
  return {TVec(x), TVec(y), TVec(w)};
}

TEST(LinRegress, MatchesLmWithAndWithoutConstantAndWeights) {
  const TLineData d = ReadLineData();
  const test::TRefTable t = test::ReadRefTable("Regress/lines.txt");
  ASSERT_EQ(t.rows.size(), 4u);
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    SCOPED_TRACE(t.names[r]);
    const auto& want = t.rows[r];
    const bool constant = want[t.Col("constant")] != 0;
    const bool weighted = want[t.Col("weighted")] != 0;
    TVec b, ycalc;
    TMtx v;
    LinRegress(d.x, d.y, b, constant, weighted ? &d.w : nullptr, &ycalc, &v);
    ASSERT_EQ(b.Length(), constant ? 2 : 1);
    EXPECT_TRUE(Near(want[t.Col("b0")], b[0], kTolRef));
    if (constant) {
      EXPECT_TRUE(Near(want[t.Col("b1")], b[1], kTolRef));
    }
    // V is the with-intercept matrix in both forms.
    ASSERT_EQ(v.Rows(), 2);
    ASSERT_EQ(v.Cols(), 2);
    test::ExpectAllNear({{"v00", want[t.Col("v00")], v(0, 0)}, {"v01", want[t.Col("v01")], v(0, 1)},
                         {"v11", want[t.Col("v11")], v(1, 1)}},
                        kTolRef);
    EXPECT_EQ(v(0, 1), v(1, 0));
    for (int i = 0; i < d.x.Length(); i += 7) {
      const double fit = constant ? b[0] + b[1] * d.x[i] : b[0] * d.x[i];
      EXPECT_TRUE(Near(fit, ycalc[i], kTolRef));
    }
  }
}

TEST(LinRegress, ConstantXGivesAnUndefinedLineWithoutRaising) {
  const TVec x{2, 2, 2}, y{1, 2, 3};
  TVec b;
  TMtx v;
  LinRegress(x, y, b, true, nullptr, nullptr, &v);
  test::ExpectAllEqual({{"b0", NaN, b[0]}, {"b1", NaN, b[1]}});
  EXPECT_TRUE(IsNanInf(v(1, 1)));
  // Through the origin the slope still exists: Sxy / Sxx.
  LinRegress(x, y, b, false, nullptr, nullptr, nullptr);
  EXPECT_EQ(b[0], 1.0);
}

TEST(LinRegress, FittedValuesMayOverwriteX) {
  TVec x{1, 2, 3, 4}, b;
  const TVec y{2, 4, 5, 9};
  const TVec x0 = x;
  LinRegress(x, y, b, true, nullptr, &x, nullptr);
  for (int i = 0; i < 4; ++i) EXPECT_DOUBLE_EQ(x[i], b[0] + b[1] * x0[i]);
}

// ---- NIST StRD Norris: certified to 15 digits; we ask for 12 -----------------------------------

TEST(LinRegress, ReproducesNistNorris) {
  LUMEX_REQUIRE_NIST();
  const test::TNistRegression n = test::ReadNistRegression("Norris");
  ASSERT_EQ(n.x.size(), 36U);
  const TVec x(n.x), y(n.y);
  TVec b, ycalc, res, se;
  TMtx v;
  LinRegress(x, y, b, true, nullptr, &ycalc, &v);
  TRegStats s;
  RegressTest(y, ycalc, v, s, res, se, true, nullptr);
  test::ExpectAllNear({{"b0", -0.262323073774029, b[0]}, {"b1", 1.00211681802045, b[1]},
                       {"se0", 0.232818234301152, se[0]}, {"se1", 0.429796848199937e-03, se[1]},
                       {"StdError", 0.884796396144373, s.StdError}, {"R2", 0.999993745883712, s.R2},
                       {"SSR", 4255954.13232369, s.SSR}, {"SSE", 26.6173985294224, s.SSE},
                       {"ResidualVar", 0.782864662630069, s.ResidualVar},
                       {"F", 5436385.54079785, s.FStats.F}},
                      kTolRef);
  EXPECT_EQ(s.FStats.dFR, 1);
  EXPECT_EQ(s.FStats.dFE, 34);
}

// ---- R2 ---------------------------------------------------------------------------------------

TEST(R2, IsTheUnweightedCentredCoefficient) {
  const TRegCase& c = RegCases().at("cars_line_w");
  // No weights and always about the mean, whatever the fit was.
  TRegStats s;
  RegressTest(c.y, c.ycalc, 2, s, true, nullptr);
  EXPECT_TRUE(Near(s.R2, R2(c.y, c.ycalc), test::kTolSummed));
  const TRegCase& o = RegCases().at("trees_origin");
  RegressTest(o.y, o.ycalc, 2, s, true, nullptr);
  EXPECT_TRUE(Near(s.R2, R2(o.y, o.ycalc), test::kTolSummed));
  // A constant Y has no spread to explain.
  EXPECT_EQ(R2(TVec{2, 2, 2}, TVec{1, 2, 3}), -Inf);
  EXPECT_TRUE(std::isnan(R2(TVec{2, 2}, TVec{2, 2})));
}

}  // namespace
}  // namespace lumex
