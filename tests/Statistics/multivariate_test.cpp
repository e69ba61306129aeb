// Principal components and the multivariate tests against R (prcomp, eigen, and the test
// formulas applied to R's cov, solve, det, pf and pchisq) on the US arrests data.
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

// Through a decomposition (eigen, inverse) or not: the two tolerances of the references.
constexpr double kTolDecomp = 1e-10;

TMtx UsArrests() {
  std::ifstream in(std::string(LUMEX_SOURCE_DIR) + "/examples/data/us_arrests.csv");
  std::string line;
  std::getline(in, line);  // header
  std::vector<std::vector<double>> rows;
  while (std::getline(in, line)) {
    std::istringstream ls(line.substr(line.rfind('"') + 2));
    std::vector<double> row;
    std::string cell;
    while (std::getline(ls, cell, ',')) row.push_back(std::stod(cell));
    rows.push_back(row);
  }
  TMtx x(static_cast<int>(rows.size()), 4);
  for (int i = 0; i < x.Rows(); ++i) {
    const auto& row = rows[static_cast<std::size_t>(i)];
    for (int j = 0; j < 4; ++j) x(i, j) = row[static_cast<std::size_t>(j)];
  }
  return x;
}

// Rows first..last (1-based, inclusive) of x, as the reference script names its subsets, and
// its first `cols` columns (all by default).
TMtx Rows(const TMtx& x, int first, int last, int cols = -1) {
  TMtx r(last - first + 1, cols < 0 ? x.Cols() : cols);
  for (int i = 0; i < r.Rows(); ++i) {
    for (int j = 0; j < r.Cols(); ++j) r(i, j) = x(first - 1 + i, j);
  }
  return r;
}

using TKey = std::tuple<std::string, int, int, int>;
const std::map<TKey, double>& Reference() {
  static const std::map<TKey, double> ref = [] {
    std::map<TKey, double> m;
    const test::TRefTable t = test::ReadRefTable("Statistics/multivariate.txt");
    for (std::size_t r = 0; r < t.rows.size(); ++r) {
      const auto& row = t.rows[r];
      m[{t.names[r], static_cast<int>(row[1]), static_cast<int>(row[2]),
         static_cast<int>(row[3])}] = row[4];
    }
    return m;
  }();
  return ref;
}
double Ref(const std::string& what, int k, int i, int j) { return Reference().at({what, k, i, j}); }

// Every element of m against the reference rows (what, k, i, j); elements near 0 are judged on
// the scale of their column.
void ExpectMatrix(const std::string& what, int k, const TMtx& m, double tol) {
  for (int j = 0; j < m.Cols(); ++j) {
    double scale = 0.0;
    for (int i = 0; i < m.Rows(); ++i) scale = std::max(scale, std::fabs(Ref(what, k, i, j)));
    for (int i = 0; i < m.Rows(); ++i) {
      EXPECT_TRUE(Near(Ref(what, k, i, j), m(i, j), tol, tol * scale))
          << what << " " << k << " (" << i << ", " << j << ")";
    }
  }
}
void ExpectVector(const std::string& what, const TVec& v, double tol) {
  for (int i = 0; i < v.Length(); ++i) {
    EXPECT_TRUE(Near(Ref(what, 0, i, 0), v[i], tol)) << what << " " << i;
  }
}

// ---- Principal components -----------------------------------------------------------------------

TEST(PCA, ComponentsVariancesAndScoresAgreeWithPrcomp) {
  const TMtx x = UsArrests();
  struct TCase {
    const char* tag;
    TPCAMode mode;
  };
  for (const TCase& c : {TCase{"cov", PCACovMat}, TCase{"cor", PCACorrMat}, TCase{"cor", PCARawData}}) {
    SCOPED_TRACE(c.tag);
    TMtx pc, scores;
    TVec values, percent;
    PCA(x, pc, scores, values, &percent, c.mode);
    ASSERT_EQ(pc.Rows(), 4);
    ASSERT_EQ(scores.Rows(), 50);
    ExpectVector(std::string(c.tag) + "_values", values, kTolDecomp);
    ExpectVector(std::string(c.tag) + "_percent", percent, kTolDecomp);
    ExpectMatrix(std::string(c.tag) + "_vectors", 0, pc, kTolDecomp);
    ExpectMatrix(std::string(c.tag) + "_scores", 0, scores, kTolDecomp);
  }
  // The matrix form on the covariance matrix: R's eigen(cov(x)).
  TMtx pc, cov;
  Covariance(x, cov, false);
  TVec values, percent;
  PCA(cov, pc, values, &percent);
  ExpectVector("mat_values", values, kTolDecomp);
  ExpectVector("mat_percent", percent, kTolDecomp);
  ExpectMatrix("mat_vectors", 0, pc, kTolDecomp);
}

TEST(PCA, ResidualsAfterKComponentsAgreeWithR) {
  const TMtx x = UsArrests();
  for (int k = 0; k <= 3; ++k) {
    TMtx residuals;
    PCAResiduals(x, k, residuals);
    ExpectMatrix("resid", k, residuals, kTolDecomp);
  }
  TMtx none, zero;
  PCAResiduals(x, -2, none);  // a negative count keeps no component
  PCAResiduals(x, 0, zero);
  EXPECT_EQ(none.ToString(), zero.ToString());
}

// ---- Multivariate tests -------------------------------------------------------------------------

TEST(MultivariateTests, HotellingAndBoxAgreeWithTheirFormulasInR) {
  const TMtx x = UsArrests();
  const TVec mu0{7, 170, 65, 20};
  const TVec dmu{1, 10, -2, 1};
  THypothesisResult h = hrNan;
  double sig = NaN;
  const struct {
    int first, last;
    const TVec* means;
  } one[] = {{1, 50, &mu0}, {1, 20, &mu0}, {1, 50, nullptr}, {1, 20, nullptr}};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(::testing::Message() << "t2one " << k);
    const TMtx xs = Rows(x, one[k].first, one[k].last);
    const double t2 = HotellingT2One(xs, one[k].means, sig, h, 0.05);
    EXPECT_TRUE(Near(Ref("t2one", k, 0, 0), t2, test::kTolRef));
    EXPECT_TRUE(Near(Ref("t2one", k, 0, 1), sig, test::kTolRef));
    EXPECT_EQ(h, sig <= 0.05 ? hrReject : hrNotReject);
  }
  const struct {
    int a1, b1, a2, b2;
    const TVec* diff;
    bool pooled;
  } two[] = {{1, 25, 26, 50, nullptr, true},
             {1, 25, 26, 50, nullptr, false},
             {1, 10, 11, 22, &dmu, true},
             {1, 10, 11, 22, &dmu, false}};
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(::testing::Message() << "t2two " << k);
    double df = NaN;
    const double t2 = HotellingT2Two(Rows(x, two[k].a1, two[k].b1), Rows(x, two[k].a2, two[k].b2),
                                     sig, h, df, two[k].diff, two[k].pooled, 0.05);
    EXPECT_TRUE(Near(Ref("t2two", k, 0, 0), t2, test::kTolRef));
    EXPECT_TRUE(Near(Ref("t2two", k, 0, 1), sig, test::kTolRef));
    EXPECT_TRUE(Near(Ref("t2two", k, 0, 2), df, test::kTolRef));
    EXPECT_EQ(h, hrNotReject);
  }
  // The chi-square form, and the F form with c2 >= c1^2 and (on two variables) c2 < c1^2.
  const int box[][5] = {{1, 25, 26, 50, 4}, {1, 12, 13, 27, 4}, {1, 10, 11, 20, 2}};
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(::testing::Message() << "mbox " << k);
    int df1 = -1, df2 = -1;
    const double M = MBoxTest(Rows(x, box[k][0], box[k][1], box[k][4]),
                              Rows(x, box[k][2], box[k][3], box[k][4]), sig, h, df1, df2, 0.05);
    EXPECT_TRUE(Near(Ref("mbox", k, 0, 0), M, test::kTolRef));
    EXPECT_TRUE(Near(Ref("mbox", k, 0, 1), sig, test::kTolRef));
    EXPECT_EQ(df1, Ref("mbox", k, 0, 2));
    EXPECT_EQ(df2, Ref("mbox", k, 0, 3));
  }
}

TEST(MultivariateTests, BartlettSignificancesAndComponentCountAgreeWithR) {
  const TMtx x = UsArrests();
  int numComp = 0;
  TVec sig;
  BartlettTest(x, numComp, sig, 0.05);
  ASSERT_EQ(sig.Length(), 3);
  ExpectVector("bartlett", sig, kTolDecomp);
  EXPECT_EQ(numComp, Ref("numcomp", 0, 0, 0));
  // The count is the first test that does not reject (-1 for the first one), p if none.
  for (const auto& [alpha, expected] :
       std::vector<std::pair<double, int>>{{1e-10, 2}, {1e-30, 1}, {1e-200, -1}, {0.5, 4}}) {
    BartlettTest(x, numComp, sig, alpha);
    EXPECT_EQ(numComp, expected) << "Alpha " << alpha;
  }
}

// ---- Messages and degenerate data ---------------------------------------------------------------

TMtx ComplexMtx(int rows, int cols) {
  TMtx m;
  m.Size(rows, cols, fpDouble, true);
  return m;
}

TEST(MultivariateTests, RaiseTheirMessagesInOrder) {
  const TMtx x = Rows(UsArrests(), 1, 10);
  const TMtx cx = ComplexMtx(10, 4);
  THypothesisResult h;
  double sig, df;
  int d1 = 7, d2 = 7, nc;
  TMtx o1, o2;
  TVec v1, v2;
  const TVec three{1, 2, 3};
  TVec single;
  single.Size(4, fpSingle);
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { PCAResiduals(x, 4, o1); }, "PCAResiduals: NumPC >= Data.Cols"},
      {[&] { PCAResiduals(cx, 4, o1); }, "PCAResiduals: NumPC >= Data.Cols"},
      {[&] { PCAResiduals(cx, 1, o1); }, "Covariance: X.Complex"},
      {[&] { PCA(cx, o1, o2, v1, &v2, PCACovMat); }, "SVD: complex matrix not supported"},
      {[&] { PCA(cx, o1, o2, v1, &v2, PCACorrMat); }, "Covariance: X.Complex"},
      {[&] { PCA(ComplexMtx(4, 4), o1, v1, &v2); }, "SVD: complex matrix not supported"},
      {[&] { HotellingT2One(Rows(x, 1, 4), &three, sig, h, 0.05); },
       "HotellingT2One : X.Rows<=X.Cols"},
      {[&] { HotellingT2One(x, &three, sig, h, 0.05); }, "HotellingT2One : Means.Length <> X.Cols"},
      {[&] { HotellingT2One(x, &single, sig, h, 0.05); },
       "HotellingT2One : Means.FloatPrecision <> X.FloatPrecision"},
      {[&] { HotellingT2One(cx, nullptr, sig, h, 0.05); }, "Covariance: X.Complex"},
      {[&] { HotellingT2Two(x, o1, sig, h, df, nullptr, true, 0.05); },
       "HotellingT2Two : X1.Cols <> X2.Cols"},
      {[&] { HotellingT2Two(x, x, sig, h, df, &three, true, 0.05); },
       "HotellingT2Two : MeanDiff.Length <> X1.Cols"},
      {[&] { HotellingT2Two(cx, x, sig, h, df, nullptr, false, 0.05); }, "Covariance: X.Complex"},
      {[&] { MBoxTest(x, o1, sig, h, d1, d2, 0.05); }, "MBoxTest : X1.Cols <> X2.Cols"},
      {[&] { MBoxTest(x, cx, sig, h, d1, d2, 0.05); }, "Covariance: X.Complex"},
      {[&] { BartlettTest(cx, nc, v1, 0.05); }, "BartlettTest: Data.Complex = True"},
  };
  for (const auto& [call, message] : cases) EXPECT_LUMEX_ERROR(call(), message);
  EXPECT_EQ(d1, 0);  // MBoxTest clears its degrees of freedom before it checks
  EXPECT_EQ(d2, 0);
}

// NaN or infinite data, one row, more columns than rows and a singular covariance matrix end in
// NaN outputs and hrNan, or in the core's singular-matrix message; never in a fault.
TEST(MultivariateTests, DegenerateDataGiveNaNOrAClearError) {
  const TMtx x = Rows(UsArrests(), 1, 12);
  TMtx withNaN = x, withInf = x, collinear = x;
  withNaN(3, 1) = NaN;
  withInf(5, 2) = std::numeric_limits<double>::infinity();
  for (int i = 0; i < x.Rows(); ++i) collinear(i, 3) = 2.0 * x(i, 0) - x(i, 1);
  const TMtx oneRow = Rows(x, 1, 1);
  const TMtx wide = Rows(x, 1, 3);
  const std::vector<std::pair<const char*, const TMtx*>> data = {
      {"NaN", &withNaN}, {"Inf", &withInf}, {"collinear", &collinear}, {"one row", &oneRow},
      {"wide", &wide}};
  for (const auto& [name, m] : data) {
    SCOPED_TRACE(name);
    const bool finite = m != &withNaN && m != &withInf;
    TMtx pc, scores, residuals;
    TVec values, sig;
    for (TPCAMode mode : {PCACovMat, PCACorrMat}) {
      PCA(*m, pc, scores, values, nullptr, mode);
      EXPECT_EQ(pc.Rows(), 4);
      if (!finite || m == &oneRow) EXPECT_TRUE(std::isnan(values[0]));
    }
    PCAResiduals(*m, 2, residuals);
    EXPECT_EQ(residuals.Rows(), m->Rows());
    int nc = 0;
    BartlettTest(*m, nc, sig, 0.05);
    EXPECT_EQ(sig.Length(), 3);
    // The tests: a NaN statistic or significance is hrNan, an exact zero pivot a clear error.
    auto judge = [&](const std::function<double(double&, THypothesisResult&)>& test) {
      double s = 0.0;
      THypothesisResult h = hrReject;
      try {
        const double stat = test(s, h);
        if (!std::isfinite(stat) || !std::isfinite(s)) {
          EXPECT_EQ(h, hrNan);
        }
        if (!finite) EXPECT_EQ(h, hrNan);
      } catch (const ELumexError& e) {
        EXPECT_EQ(std::string(e.what()), "Inv: matrix is singular");
      }
    };
    double df;
    int d1, d2;
    if (m->Rows() > m->Cols()) {
      judge([&](double& s, THypothesisResult& h) {
        return HotellingT2One(*m, nullptr, s, h, 0.05);
      });
    }
    judge([&](double& s, THypothesisResult& h) {
      return HotellingT2Two(*m, x, s, h, df, nullptr, true, 0.05);
    });
    judge([&](double& s, THypothesisResult& h) {
      return HotellingT2Two(*m, *m, s, h, df, nullptr, false, 0.05);
    });
    judge([&](double& s, THypothesisResult& h) { return MBoxTest(*m, x, s, h, d1, d2, 0.05); });
  }
}

}  // namespace
}  // namespace lumex
