// Variances, covariance and correlation matrices against R's var, cov, cor and cor.test.
#include <cmath>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

TVec Column(const TMtx& m, int j) {
  TVec v(m.Rows());
  for (int i = 0; i < m.Rows(); ++i) v[i] = m(i, j);
  return v;
}

// Everything the library computes for one reference row, keyed by (what, set).
struct TComputed {
  std::map<std::string, TMtx> matrices;
  std::map<std::string, std::vector<double>> vectors;
  double t = NaN;
};

TComputed ComputeAll(const TMtx& x) {
  TComputed c;
  Covariance(x, c.matrices["cov"], false);
  Covariance(x, c.matrices["covb"], true);
  CorrCoef(x, c.matrices["cor"]);
  for (int j = 0; j < x.Cols(); ++j) {
    double v;
    Covariance(Column(x, j), v, false);
    c.vectors["var"].push_back(v);
    Covariance(Column(x, j), v, true);
    c.vectors["varb"].push_back(v);
  }
  const TVec a = Column(x, 0);
  const TVec b = Column(x, 1);
  Covariance(a, b, c.matrices["pcov"], false);
  Covariance(a, b, c.matrices["pcovb"], true);
  CorrCoef(a, b, c.matrices["pcor"], c.t);
  TMtx plain;
  CorrCoef(a, b, plain);
  EXPECT_EQ(plain.ToString(), c.matrices["pcor"].ToString());
  return c;
}

// Off-diagonal elements near zero are compared on the scale of their row and column:
// |error| <= tol * sqrt(C(i, i) C(j, j)), as a correlation would be.
TEST(CovarianceAndCorrelation, AgreeWithR) {
  const auto sets = test::ReadSampleMatrices("Statistics/covariance_data.txt");
  ASSERT_EQ(sets.size(), 5U);
  std::map<int, TComputed> computed;
  for (const auto& [k, x] : sets) computed.emplace(k, ComputeAll(x));

  const test::TRefTable ref = test::ReadRefTable("Statistics/covariance.txt");
  ASSERT_EQ(ref.rows.size(), 416U);
  test::TWorst worst{"covariance and correlation"};
  for (std::size_t r = 0; r < ref.rows.size(); ++r) {
    const std::string& what = ref.names[r];
    const auto& row = ref.rows[r];
    const int set = static_cast<int>(row[ref.Col("set")]);
    const int i = static_cast<int>(row[ref.Col("i")]);
    const int j = static_cast<int>(row[ref.Col("j")]);
    const double expected = row[ref.Col("value")];
    SCOPED_TRACE(::testing::Message() << what << " set " << set << " (" << i << ", " << j << ")");
    const TComputed& c = computed.at(set);
    double got;
    double scale = std::fabs(expected);
    if (what == "t") {
      got = c.t;
    } else if (what == "var" || what == "varb") {
      got = c.vectors.at(what)[i];
    } else {
      const TMtx& m = c.matrices.at(what);
      got = m(i, j);
      scale = std::sqrt(std::fabs(m(i, i) * m(j, j)));
    }
    // The t statistic of a correlation near 1 magnifies the error of 1 - r^2.
    const double tol = what == "t" ? test::kTolIterated : test::kTolRef;
    EXPECT_TRUE(Near(expected, got, tol, tol * scale));
    if (what == "cor" && i == j) EXPECT_EQ(got, 1.0);
    worst.See(expected, got);
  }
}

// A sample with itself and with its negation: exact +-1 and an infinite t.
TEST(CovarianceAndCorrelation, PerfectRelationsAreExact) {
  const TVec x{0.3, 1.7, -2.2, 4.1, 0.0, 9.5};
  TVec negated(x);
  Sign(negated);
  double v;
  Covariance(x, v, false);
  TMtx m;
  Covariance(x, x, m, false);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(Near(v, m.Value(k), test::kTolExact));
  double t;
  CorrCoef(x, x, m, t);
  EXPECT_EQ(m.ToString(), "[1, 1, 1, 1]");
  EXPECT_EQ(t, Inf);
  CorrCoef(x, negated, m, t);
  EXPECT_EQ(m.ToString(), "[1, -1, -1, 1]");
  EXPECT_EQ(t, -Inf);
}

// A matrix passed to the two-sample form is one sample of all its elements, and the divisor is
// its number of rows.
TEST(CovarianceAndCorrelation, TwoSampleFormOfMatricesDividesByRows) {
  const TMtx x{{1.0, 2.0}, {4.0, 7.0}};
  const TMtx y{{0.0, 1.0}, {1.0, 5.0}};
  TMtx c;
  Covariance(x, y, c, false);
  // Means 3.5 and 1.75; sums of products of deviations over the four elements.
  EXPECT_DOUBLE_EQ(c(0, 0), 21.0 / 1);
  EXPECT_DOUBLE_EQ(c(0, 1), 16.5 / 1);
  EXPECT_DOUBLE_EQ(c(1, 1), 14.75 / 1);
  Covariance(x, y, c, true);
  EXPECT_DOUBLE_EQ(c(0, 1), 16.5 / 2);
}

TEST(CovarianceAndCorrelation, MessagesInTheirOrder) {
  TVec cv;
  cv.Size(2, fpDouble, true);
  TMtx cm;
  cm.Size(2, 1, fpDouble, true);
  const TVec v2{1.0, 2.0};
  const TVec v3{1.0, 2.0, 3.0};
  const TMtx m2{{1.0}, {2.0}};
  TMtx r;
  double var = 7.0;
  double t;
  EXPECT_LUMEX_ERROR(Covariance(cv, var, false), "Covariance: X.Complex");
  EXPECT_EQ(var, 0.0);
  EXPECT_LUMEX_ERROR(Covariance(cm, r, false), "Covariance: X.Complex");
  EXPECT_LUMEX_ERROR(CorrCoef(cm, r), "Covariance: X.Complex");
  // Lengths first, then complexity, then vector against matrix.
  EXPECT_LUMEX_ERROR(Covariance(cv, v3, r, false), "Covariance: X.Length <> Y.Length");
  EXPECT_LUMEX_ERROR(Covariance(v2, cv, r, false), "Covariance: X.Complex or Y.Complex");
  EXPECT_LUMEX_ERROR(Covariance(cm, v2, r, true), "Covariance: X.Complex or Y.Complex");
  EXPECT_LUMEX_ERROR(Covariance(v2, m2, r, false), "Covariance: X.LumexType <> Y.LumexType");
  EXPECT_LUMEX_ERROR(CorrCoef(v2, v3, r), "Covariance: X.Length <> Y.Length");
  EXPECT_LUMEX_ERROR(CorrCoef(m2, v2, r, t), "Covariance: X.LumexType <> Y.LumexType");
}

}  // namespace
}  // namespace lumex
