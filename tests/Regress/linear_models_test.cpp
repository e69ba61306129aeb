// MulLinRegress, RidgeRegress, RidgeOptimalk, PCRegress and PRESS: the NIST StRD linear least
// squares sets through MulLinRegress + RegressTest (digits per set and solver), R's lm, ridge
// closed form, principal-component regression and PRESS, and the behaviours that catch faults.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "Regress/linear_models.h"
#include "lumex/Regress.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::kTolRef;
using test::Near;

std::vector<double> Values(const TDenseLumex& x) {
  std::vector<double> v(static_cast<std::size_t>(x.Length()));
  for (int i = 0; i < x.Length(); ++i) v[i] = x.Value(i);
  return v;
}

void ExpectVecNear(const std::vector<double>& want, const std::vector<double>& got, double rel,
                   const std::string& what, double absFloor = 0.0) {
  ASSERT_EQ(want.size(), got.size()) << what;
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_TRUE(Near(want[i], got[i], rel, absFloor)) << what << "[" << i << "]";
  }
}

// ---- NIST StRD linear least squares -------------------------------------------------------------

// A StRD linear file: the certified coefficients and their standard deviations, the residual
// standard deviation and R squared (NaN where the file gives none), and the rows "y x..." that
// follow the line "Data: y ...".
struct TNistLinear {
  std::vector<double> b, sd;
  double residSD = NaN, r2 = NaN;
  std::vector<std::vector<double>> rows;
};

// The numbers that follow `key` on `line` (separated by blanks or commas, up to the first token
// that is not a number or ends in ';').
std::vector<double> NumbersAfter(const std::string& line, const std::string& key) {
  std::vector<double> out;
  const std::size_t at = line.find(key);
  if (at == std::string::npos) return out;
  const char* p = line.c_str() + at + key.size();
  while (true) {
    while (*p == ' ' || *p == ',') ++p;
    char* end = nullptr;
    const double v = std::strtod(p, &end);
    if (end == p) break;
    out.push_back(v);
    p = end;
    if (*p == ';') break;
  }
  return out;
}

TNistLinear ReadNistLinear(const std::string& name) {
  TNistLinear c;
  std::ifstream in(test::NistDir() + "/" + name + ".dat");
  bool data = false;
  for (std::string line; std::getline(in, line);) {
    std::istringstream ls(line);
    std::string first, second;
    double est, sd;
    if (data) {
      std::vector<double> r;
      while (ls >> est) r.push_back(est);
      if (!r.empty() && (c.rows.empty() || r.size() == c.rows[0].size())) c.rows.push_back(r);
    } else if ((ls >> first) && first == "Data:") {
      data = (ls >> second) && second == "y";
    } else if (first.size() >= 2 && first[0] == 'B' &&
               std::isdigit(static_cast<unsigned char>(first[1])) && (ls >> est >> sd)) {
      c.b.push_back(est);
      c.sd.push_back(sd);
    }
    if (data) continue;
    if (auto v = NumbersAfter(line, "Standard Deviation"); !v.empty()) c.residSD = v[0];
    if (auto v = NumbersAfter(line, "R-Squared"); !v.empty()) c.r2 = v[0];
    for (const char* key : {"Residual Mean Square", "residual mean square"}) {
      if (auto v = NumbersAfter(line, key); !v.empty()) c.residSD = std::sqrt(v[0]);
    }
    // The Wampler files state their certified values in one sentence.
    if (auto v = NumbersAfter(line, "B0..B5 ="); !v.empty()) c.b = v;
    if (auto v = NumbersAfter(line, "SD ="); !v.empty()) c.sd = v;
    if (line.find("standard deviations 0") != std::string::npos) c.sd = {0.0}, c.residSD = 0.0;
  }
  return c;
}

// Log relative error: the number of correct significant digits, at most 15; for a certified
// zero, -log10 of the absolute error.
double Digits(double certified, double computed) {
  const double err = certified == 0.0 ? std::fabs(computed)
                                      : std::fabs(computed - certified) / std::fabs(certified);
  if (!(err == err)) return 0.0;
  return err == 0.0 ? 15.0 : std::clamp(-std::log10(err), 0.0, 15.0);
}

struct TNistCase {
  const char* name;
  int degree;        // polynomial degree in x; 0 for Longley's six columns
  double qrDigits;   // the SVD solver must give 7 everywhere
};

class NistLinear : public ::testing::TestWithParam<std::tuple<TNistCase, TRegSolveMethod>> {};

TEST_P(NistLinear, CertifiedDigitsThroughRegressTest) {
  LUMEX_REQUIRE_NIST();
  const auto& [tc, method] = GetParam();
  TNistLinear cert = ReadNistLinear(tc.name);
  const int n = static_cast<int>(cert.rows.size());
  const int p = tc.degree == 0 ? static_cast<int>(cert.rows.at(0).size()) - 1 : tc.degree;
  TVec y(n);
  TMtx A(n, p);
  for (int i = 0; i < n; ++i) {
    y[i] = cert.rows[i][0];
    double power = 1.0;
    for (int j = 0; j < p; ++j) A(i, j) = tc.degree == 0 ? cert.rows[i][j + 1] : (power *= cert.rows[i][1]);
  }
  for (auto* v : {&cert.b, &cert.sd}) {
    if (v->size() == 1) v->assign(static_cast<std::size_t>(p + 1), v->at(0));
    ASSERT_EQ(v->size(), static_cast<std::size_t>(p + 1));
  }
  TVec b, fit, resid, se;
  TMtx V;
  TRegStats st{};
  MulLinRegress(y, A, b, true, &fit, &V, method);
  RegressTest(y, fit, V, st, resid, se, true, nullptr);
  double digits = std::min(std::isnan(cert.residSD) ? 15 : Digits(cert.residSD, st.StdError),
                           std::isnan(cert.r2) ? 15 : Digits(cert.r2, st.R2));
  for (int j = 0; j <= p; ++j) {
    digits = std::min({digits, Digits(cert.b[j], b[j]), Digits(cert.sd[j], se[j])});
  }
  EXPECT_GE(digits, method == regSolveLQR ? tc.qrDigits : 7.0);
}

INSTANTIATE_TEST_SUITE_P(
    StRD, NistLinear,
    ::testing::Combine(::testing::Values(TNistCase{"Norris", 1, 10}, TNistCase{"Longley", 0, 10},
                                         TNistCase{"Filip", 10, 7}, TNistCase{"Wampler1", 5, 10},
                                         TNistCase{"Wampler2", 5, 10}, TNistCase{"Wampler3", 5, 10},
                                         TNistCase{"Wampler4", 5, 10}, TNistCase{"Wampler5", 5, 10}),
                       ::testing::Values(regSolveLQR, regSolveSVD)));

// ---- R references -----------------------------------------------------------------------------

struct TCars {
  TVec y, w;
  TMtx A;
};

TCars ReadCars() {
  const test::TRefTable t = test::ReadRefTable("Regress/linear_models_data.txt");
  const int n = static_cast<int>(t.rows.size());
  TCars c{TVec(n), TVec(n), TMtx(n, 4)};
  for (int i = 0; i < n; ++i) {
    c.y[i] = t.rows[i][1];
    for (int j = 0; j < 4; ++j) c.A(i, j) = t.rows[i][2 + j];
    c.w[i] = t.rows[i][6];
  }
  return c;
}

TEST(LinearModels, MatchRReferences) {
  const TCars d = ReadCars();
  std::map<std::string, std::vector<double>> want;
  const test::TRefTable ref = test::ReadRefTable("Regress/linear_models.txt");
  for (std::size_t r = 0; r < ref.rows.size(); ++r) want[ref.names[r]].push_back(ref.rows[r][2]);

  std::map<std::string, std::vector<double>> got;
  TVec b, fit, se;
  TMtx V;
  for (TRegSolveMethod m : {regSolveLQR, regSolveSVD}) {
    const std::string tag = m == regSolveLQR ? "" : " (SVD)";
    MulLinRegress(d.y, d.A, b, true, &fit, &V, m);
    got["lm_b" + tag] = Values(b), got["lm_fit" + tag] = Values(fit), got["lm_V" + tag] = Values(V);
    MulLinRegress(d.y, d.A, b, false, nullptr, &V, m);
    got["lm0_b" + tag] = Values(b), got["lm0_V" + tag] = Values(V);
    MulLinRegress(d.y, d.A, b, d.w, true, &fit, &V, m);
    got["wlm_b" + tag] = Values(b), got["wlm_fit" + tag] = Values(fit), got["wlm_V" + tag] = Values(V);
  }
  RidgeRegress(d.y, d.A, 0.7, b, true);
  got["ridge_std"] = Values(b);
  RidgeRegress(d.y, d.A, 0.7, b, false);
  got["ridge_raw"] = Values(b);
  PCRegress(d.y, d.A, b, &fit, &se, 1);
  got["pcr1_b"] = Values(b), got["pcr1_fit"] = Values(fit), got["pcr1_se"] = Values(se);
  PCRegress(d.y, d.A, b, d.w, fit, &se, 2);
  got["wpcr2_b"] = Values(b), got["wpcr2_fit"] = Values(fit), got["wpcr2_se"] = Values(se);
  got["press"] = {PRESS(d.A, d.y)};

  for (const auto& [name, values] : got) {
    const std::string key = name.substr(0, name.find(' '));
    ASSERT_TRUE(want.count(key)) << name;
    // Off-diagonal elements of V and PCR coefficients may be near zero: an absolute floor at the
    // scale of the largest element.
    double scale = 0.0;
    for (double v : want[key]) scale = std::max(scale, std::fabs(v));
    ExpectVecNear(want[key], values, kTolRef, name, kTolRef * scale * 1e-2);
  }
}

// ---- Behaviours -------------------------------------------------------------------------------

// A small well-conditioned design: 12 rows, 3 columns.
TCars Small() {
  TCars c{TVec(12), TVec(12), TMtx(12, 3)};
  for (int i = 0; i < 12; ++i) {
    c.A(i, 0) = i;
    c.A(i, 1) = std::sin(1.3 * i);
    c.A(i, 2) = std::cos(0.7 * i) + 0.1 * i * i;
    c.y[i] = 2.0 + 0.5 * i - 1.5 * c.A(i, 1) + 0.25 * c.A(i, 2) + 0.1 * std::sin(5.0 * i);
    c.w[i] = 2.5;
  }
  return c;
}

TMtx WithColumn(const TMtx& A, const std::function<double(int)>& col) {
  TMtx B(A.Rows(), A.Cols() + 1);
  for (int i = 0; i < A.Rows(); ++i) {
    for (int j = 0; j < A.Cols(); ++j) B(i, j) = A(i, j);
    B(i, A.Cols()) = col(i);
  }
  return B;
}

TEST(LinearModels, ErrorsInOrderWithExactMessages) {
  const TCars d = Small();
  TVec b, fit, ys = test::ToSingle(d.y), yc = test::Zeros(12, fpDouble, true), y11(11);
  TMtx V, Ac;
  Ac.Size(12, 3, fpDouble, true);
  const TMtx dup = WithColumn(d.A, [&](int i) { return d.A(i, 0); });
  const TMtx cst = WithColumn(d.A, [](int) { return 3.0; });
  struct TCase {
    std::function<void()> call;
    const char* message;
  };
  const TCase cases[] = {
      {[&] { MulLinRegress(ys, d.A, b, true, &fit, &V, regSolveLQR); },
       "MulLinRegress: y.FloatPrecision <> A.FloatPrecision"},
      {[&] { MulLinRegress(y11, d.A, b, true, &fit, &V, regSolveLQR); },
       "MulLinRegress: y.Length <> A.Rows"},
      {[&] { MulLinRegress(d.y, dup, b, true, &fit, &V, regSolveLQR); },
       "MulLinRegress : LQRSolve: matrix is rank deficient"},
      {[&] { MulLinRegress(d.y, cst, b, true, &fit, &V, regSolveLQR); },
       "MulLinRegress : LQRSolve: matrix is rank deficient"},
      {[&] { MulLinRegress(d.y, d.A, b, true, &fit, &V, regSolveLU); },
       "MulLinRegress : LUSolve: matrix is not square"},
      {[&] { MulLinRegress(d.y, Ac, b, true, &fit, &V, regSolveLQR); },
       "MulLinRegress : LQRSolve: complex matrix not supported"},
      {[&] { MulLinRegress(yc, d.A, b, d.w, true, &fit, &V, regSolveLQR); },
       "MulLinRegress: Y.Complex or A.Complex"},
      {[&] { MulLinRegress(ys, d.A, b, d.w, true, &fit, &V, regSolveLQR); },
       "MulLinRegress: Y.FloatPrecision <> Weights.FloatPrecision"},
      {[&] { MulLinRegress(d.y, d.A, b, y11, true, &fit, &V, regSolveLQR); },
       "MulLinRegress: Weights.Length <> Y.Length"},
      {[&] { MulLinRegress(d.y, dup, b, d.w, true, &fit, &V, regSolveLQR); },
       "LQRSolve: matrix is rank deficient"},
      {[&] { RidgeRegress(yc, d.A, 1.0, b, true); }, "RidgeRegress: (y.Complex) or (A.Complex)"},
      {[&] { RidgeRegress(ys, d.A, 1.0, b, true); },
       "RidgeRegress: (y.FloatPrecision <> A.FloatPrecision)"},
      {[&] { RidgeRegress(y11, d.A, 1.0, b, true); }, "RidgeRegress: y.Length <> A.Rows"},
      {[&] { RidgeRegress(d.y, cst, 0.0, b, true); }, "LQRSolve: matrix is rank deficient"},
      {[&] { PCRegress(yc, d.A, b, &fit, nullptr, 0); }, "PCRegress: y.Complex or A.Complex"},
      {[&] { PCRegress(ys, d.A, b, &fit, nullptr, 0); },
       "PCRegress: y.FloatPrecision <> A.FloatPrecision"},
      {[&] { PCRegress(y11, d.A, b, &fit, nullptr, 0); }, "PCRegress: y.Length <> A.Rows"},
      {[&] { PCRegress(yc, d.A, b, d.w, fit, nullptr, 0); }, "PCRegress: Y.Complex or A.Complex"},
      {[&] { PCRegress(ys, d.A, b, d.w, fit, nullptr, 0); },
       "PCRegress: y.FloatPrecision <> A.FloatPrecision"},
      {[&] { PCRegress(d.y, d.A, b, y11, fit, nullptr, 0); }, "PCRegress: Y.Length<>Weights.Length"},
      {[&] { PRESS(dup, d.y); }, "MulLinRegress : LQRSolve: matrix is rank deficient"},
  };
  for (const TCase& c : cases) EXPECT_LUMEX_ERROR(c.call(), c.message);
}

// Single-precision data are computed in double and written in single; the three solvers agree on
// a square system, where the fit interpolates; the tall-matrix (blocked) QR path agrees with the
// SVD on 5000 rows; a Method outside the enumeration leaves b alone and fits it.
TEST(LinearModels, SolversAgreeAndUnknownMethodKeepsB) {
  const TCars d = Small();
  TMtx As;
  As.Size(12, 3, fpSingle);
  for (int k = 0; k < 36; ++k) As.SetValue(k, d.A.Value(k));
  TVec bq, bs, bl, fq, fl;
  TMtx Vq, Vs, Vl;
  MulLinRegress(d.y, d.A, bq, true, &fq, &Vq, regSolveLQR);
  MulLinRegress(test::ToSingle(d.y), As, bs, true, &fl, &Vs, regSolveLQR);
  EXPECT_EQ(fpSingle, bs.FloatPrecision());
  ExpectVecNear(Values(fq), Values(fl), 1e-5, "single YCalc");
  // Equal weights c give the unweighted b and YCalc, and V / c (the weights enter X'WX).
  TVec bw, fw;
  TMtx Vw;
  MulLinRegress(d.y, d.A, bw, TVec(std::vector<double>(12, 2.5)), true, &fw, &Vw, regSolveLQR);
  ExpectVecNear(Values(bq), Values(bw), 1e-13, "equal-weight b");
  ExpectVecNear(Values(fq), Values(fw), 1e-13, "equal-weight YCalc");
  std::vector<double> scaled = Values(Vq);
  for (double& v : scaled) v /= 2.5;
  ExpectVecNear(scaled, Values(Vw), 1e-13, "equal-weight V", 1e-16);

  TMtx Sq(4, 3);
  TVec ysq{1.0, -2.0, 0.5, 3.0};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 3; ++j) Sq(i, j) = std::cos(i * 1.7 + j * 0.9) + (i == j ? 2.0 : 0.0);
  }
  MulLinRegress(ysq, Sq, bq, true, &fq, &Vq, regSolveLQR);
  MulLinRegress(ysq, Sq, bl, true, &fl, &Vl, regSolveLU);
  ExpectVecNear(Values(bq), Values(bl), 1e-13, "LU b");
  ExpectVecNear(Values(Vq), Values(Vl), 1e-12, "LU V");
  ExpectVecNear(Values(ysq), Values(fl), 1e-13, "LU interpolates");
  TVec keep{1.0, 2.0, 3.0, 4.0};
  MulLinRegress(ysq, Sq, keep, true, &fl, &Vl, static_cast<TRegSolveMethod>(7));
  ExpectVecNear({1.0, 2.0, 3.0, 4.0}, Values(keep), 0.0, "b untouched");
  for (int i = 0; i < 4; ++i) {
    EXPECT_TRUE(Near(1.0 + 2.0 * Sq(i, 0) + 3.0 * Sq(i, 1) + 4.0 * Sq(i, 2), fl[i], 1e-14));
  }
  ExpectVecNear(Values(Vq), Values(Vl), 1e-12, "V of X");

  const int n = 5000;
  TMtx A(n, 3);
  TVec y(n);
  for (int i = 0; i < n; ++i) {
    A(i, 0) = std::sin(0.01 * i);
    A(i, 1) = std::cos(0.037 * i) * 10.0;
    A(i, 2) = 1e-3 * i;
    y[i] = 1.0 + 2.0 * A(i, 0) - A(i, 1) + 0.5 * A(i, 2) + std::sin(3.1 * i);
  }
  MulLinRegress(y, A, bq, true, &fq, &Vq, regSolveLQR);
  MulLinRegress(y, A, bs, true, nullptr, &Vs, regSolveSVD);
  ExpectVecNear(Values(bs), Values(bq), 1e-12, "tall b");
  ExpectVecNear(Values(Vs), Values(Vq), 1e-12, "tall V", 1e-18);
}

// The SVD solver gives the minimum-norm solution of a design with a repeated column: the
// coefficient is shared equally, where QR refuses the design.
TEST(LinearModels, SvdSharesCoefficientOfRepeatedColumn) {
  const TCars d = Small();
  const TMtx dup = WithColumn(d.A, [&](int i) { return d.A(i, 1); });
  TVec b, b1;
  MulLinRegress(d.y, d.A, b1, true, nullptr, nullptr, regSolveLQR);
  MulLinRegress(d.y, dup, b, true, nullptr, nullptr, regSolveSVD);
  EXPECT_TRUE(Near(b1[2] / 2, b[2], 1e-10));
  EXPECT_TRUE(Near(b1[2] / 2, b[4], 1e-10));
}

TEST(LinearModels, RidgeAndPCRegressionLimits) {
  const TCars d = Small();
  TVec ols, b, fit, se, se1;
  MulLinRegress(d.y, d.A, ols, true, nullptr, nullptr, regSolveLQR);
  RidgeRegress(d.y, d.A, 0.0, b, false);
  ExpectVecNear(Values(ols), Values(b), 1e-12, "ridge k = 0");
  PCRegress(d.y, d.A, b, &fit, &se, 0);
  ExpectVecNear(Values(ols), Values(b), 1e-12, "PCR OmitCount 0");
  // Without YCalc the standard errors take s2 = 1: the ratio is the residual rms.
  PCRegress(d.y, d.A, b, nullptr, &se1, 0);
  double sse = 0.0;
  for (int i = 0; i < 12; ++i) sse += (d.y[i] - fit[i]) * (d.y[i] - fit[i]);
  for (int j = 0; j < 3; ++j) EXPECT_TRUE(Near(se1[j] * std::sqrt(sse / 12), se[j], 1e-13));
  PCRegress(d.y, d.A, b, &fit, nullptr, 3);
  ExpectVecNear({Mean(d.y), 0.0, 0.0, 0.0}, Values(b), 1e-14, "PCR OmitCount p", 1e-15);
  // A constant column: its standardised values are zero, so its ridge coefficient is 0.
  const TMtx cst = WithColumn(d.A, [](int) { return 3.0; });
  RidgeRegress(d.y, cst, 0.5, b, true);
  EXPECT_EQ(0.0, b[3]);
  // The in-sample error decreases towards k = 0, so the search ends near its lower bound.
  double k = -1.0;
  RidgeOptimalk(d.y, d.A, k);
  EXPECT_GE(k, EPS_DOUBLE);
  EXPECT_LE(k, 1e-6);
}

// NaN or infinite data give NaN results, never a crash or a garbage rank decision.
TEST(LinearModels, NonFiniteDataGiveNaN) {
  TCars d = Small();
  for (double bad : {NaN, Inf}) {
    TVec yb = d.y;
    yb[4] = bad;
    TMtx Ab = d.A;
    Ab(6, 1) = bad;
    for (TRegSolveMethod m : {regSolveLQR, regSolveSVD}) {
      for (const auto& [y, A] : {std::pair<const TVec&, const TMtx&>{yb, d.A}, {d.y, Ab}}) {
        TVec b, fit;
        TMtx V;
        MulLinRegress(y, A, b, true, &fit, &V, m);
        EXPECT_TRUE(std::isnan(b[0]) && std::isnan(fit[0])) << m;
        if (&A == &Ab) EXPECT_TRUE(std::isnan(V.Value(0))) << m;
      }
    }
    TVec b;
    RidgeRegress(yb, d.A, 0.5, b, false);
    EXPECT_TRUE(std::isnan(b[1]));
    EXPECT_FALSE(std::isfinite(PRESS(Ab, d.y)));
  }
  // A tall design (the blocked QR) with one NaN row.
  TMtx A(3000, 2);
  TVec y(3000);
  for (int i = 0; i < 3000; ++i) A(i, 0) = i, A(i, 1) = std::sin(i), y[i] = i % 7;
  A(2500, 1) = NaN;
  TVec b;
  MulLinRegress(y, A, b, true, nullptr, nullptr, regSolveLQR);
  EXPECT_TRUE(std::isnan(b[0]));
}

}  // namespace
}  // namespace lumex
