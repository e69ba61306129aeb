// The built-in regression models: evaluation against the formulas, derivatives against the
// formulas and NumericDerive, the linearising fits against R's lm on the transformed data.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumex/RegModels.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

// ---- Evaluation -------------------------------------------------------------------------------

TEST(RegModelsEval, PointValuesFollowTheFormulas) {
  const std::vector<double> b{2, 3};
  const std::vector<double> frac{1, 2, 3}, mul{1, 2, 3}, logistic{NaN, 5, 1.5, 2};
  const TVec x9{9, 4, 5};
  test::ExpectAllNear(
      {LUMEX_VALUE(5.0, LineEval(b, 1.0)), LUMEX_VALUE(2.0, PowerEval(b, 1.0)),
       LUMEX_VALUE(2.0 * std::exp(3.0), ExpEval(b, 1.0)), LUMEX_VALUE(2.0, LnEval(b, 1.0)),
       LUMEX_VALUE(5.0 / 7.0, FracEval(frac, 2.0, 1, true)),
       LUMEX_VALUE(5.0 / 7.0, FracEval(TVec{1, 2, 3}, 2.0, 1, false)),
       LUMEX_VALUE((1 + 2 * 2 + 3 * 4) / 1.0, FracEval(frac, 2.0, 2, true)),
       LUMEX_VALUE(1 / (1 + 2 * 2 + 3 * 4.0), FracEval(frac, 2.0, 0, true)),
       LUMEX_VALUE(24.0, MulLinEval(mul, x9, true)), LUMEX_VALUE(23.0, MulLinEval(mul, x9, false)),
       // FourParam false does not read B[0] (NaN here)
       LUMEX_VALUE(5.0 / (1 + std::exp(2 - 1.5 * 0.7)), LogisticEval(logistic, 0.7, false)),
       LUMEX_VALUE(1 + 4.0 / (1 + std::exp(2 - 1.5 * 0.7)),
                   LogisticEval(std::vector<double>{1, 5, 1.5, 2}, 0.7, true))},
      test::kTolRounding);
}

// The vector forms give the point values, for both coefficient forms and in X's precision.
TEST(RegModelsEval, VectorFormsMatchPointForms) {
  const TVec x{0.25, 1.0, 2.5, 7.0};
  const std::vector<double> b2{1.5, -0.7}, b4{0.5, 3.0, 1.2, 0.8}, bf{1.0, 0.5, -0.2, 0.1};
  using TPoint = std::function<double(double)>;
  using TVector = std::function<void(const TVec&, TVec&)>;
  struct TCase {
    const char* name;
    TPoint point;
    TVector span, vec;
  };
  const TVec tb2(b2), tb4(b4), tbf(bf);
  const std::vector<TCase> cases = {
      {"Line", [&](double v) { return LineEval(b2, v); },
       [&](const TVec& a, TVec& y) { LineEval(b2, a, y); },
       [&](const TVec& a, TVec& y) { LineEval(tb2, a, y); }},
      {"Power", [&](double v) { return PowerEval(b2, v); },
       [&](const TVec& a, TVec& y) { PowerEval(b2, a, y); },
       [&](const TVec& a, TVec& y) { PowerEval(tb2, a, y); }},
      {"Exp", [&](double v) { return ExpEval(b2, v); },
       [&](const TVec& a, TVec& y) { ExpEval(b2, a, y); },
       [&](const TVec& a, TVec& y) { ExpEval(tb2, a, y); }},
      {"Ln", [&](double v) { return LnEval(b2, v); },
       [&](const TVec& a, TVec& y) { LnEval(b2, a, y); },
       [&](const TVec& a, TVec& y) { LnEval(tb2, a, y); }},
      {"Logistic", [&](double v) { return LogisticEval(b4, v, true); },
       [&](const TVec& a, TVec& y) { LogisticEval(b4, a, y, true); },
       [&](const TVec& a, TVec& y) { LogisticEval(tb4, a, y, true); }},
      {"Frac", [&](double v) { return FracEval(bf, v, 1, true); },
       [&](const TVec& a, TVec& y) { FracEval(bf, a, y, 1, true); },
       [&](const TVec& a, TVec& y) { FracEval(tbf, a, y, 1, true); }},
  };
  for (const TCase& c : cases) {
    TVec ys, yv, ysingle;
    c.span(x, ys);
    c.vec(x, yv);
    c.vec(test::ToSingle(x), ysingle);
    ASSERT_EQ(ys.Length(), x.Length()) << c.name;
    EXPECT_EQ(ysingle.FloatPrecision(), fpSingle) << c.name;
    for (int i = 0; i < x.Length(); ++i) {
      EXPECT_EQ(c.point(x[i]), ys[i]) << c.name;
      EXPECT_EQ(c.point(x[i]), yv[i]) << c.name;
      EXPECT_TRUE(Near(c.point(x[i]), ysingle.Value(i), test::kTolSingle)) << c.name;
    }
  }
  // Matrix form of the multiple linear model: one row per observation, with and without [1 |.
  const TMtx a{{1, 2}, {3, 4}, {-1, 0.5}};
  const std::vector<double> b3{0.5, 2, -1};
  TVec y;
  MulLinEval(b3, a, y, true);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(0.5 + 2 * a(i, 0) - a(i, 1), y[i]);
  MulLinEval(std::vector<double>{2, -1}, a, y, false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(2 * a(i, 0) - a(i, 1), y[i]);
}

TEST(RegModelsEval, TooFewCoefficientsRaise) {
  const std::vector<double> one{1};
  TVec y;
  EXPECT_LUMEX_ERROR(LineEval(one, 1.0), "LineEval: B.Length < 2");
  EXPECT_LUMEX_ERROR(PowerEval(one, TVec{1}, y), "PowerEval: B.Length < 2");
  EXPECT_LUMEX_ERROR(LogisticEval(TVec{1, 2, 3}, TVec{1}, y, false), "LogisticEval: B.Length < 4");
  EXPECT_LUMEX_ERROR(FracEval(one, 1.0, 1, true), "FracEval: NumDegree > B.Length - 1");
  EXPECT_LUMEX_ERROR(FracEval(one, 1.0, -1, true), "FracEval: NumDegree < 0");
  EXPECT_LUMEX_ERROR(MulLinEval(std::vector<double>{1, 2, 3}, TVec{1, 2}, true),
                     "MulLinEval: X.Length < B.Length");
  EXPECT_LUMEX_ERROR(MulLinEval(one, TMtx{{1, 2}}, y, true), "MulLinEval: B.Length <> X.Cols + 1");
  EXPECT_LUMEX_ERROR(MulLinEval(one, TMtx{{1, 2}}, y, false), "MulLinEval: B.Length <> X.Cols");
}

// ---- Derivatives ------------------------------------------------------------------------------

// Each derivative against its formula and against NumericDerive of the model.
TEST(RegModelsDeriv, MatchFormulasAndNumericDerivatives) {
  struct TCase {
    const char* name;
    TRegressFun model;
    std::function<void(double x, double y, std::span<const double> b, TVec& g)> deriv;
  };
  const std::vector<TCase> cases = {
      {"Line", [](const TVec& b, double x) { return LineEval(b.Span<double>(), x); },
       [](double x, double y, std::span<const double> b, TVec& g) {
         LineDeriv(nullptr, x, y, b, g, fpDouble);
       }},
      {"Exp", [](const TVec& b, double x) { return ExpEval(b.Span<double>(), x); },
       [](double x, double y, std::span<const double> b, TVec& g) {
         ExpDeriv(nullptr, x, y, b, g, fpDouble);
       }},
      {"Power", [](const TVec& b, double x) { return PowerEval(b.Span<double>(), x); },
       [](double x, double y, std::span<const double> b, TVec& g) {
         PowerDeriv(nullptr, x, y, b, g);
       }},
  };
  const std::vector<double> b{1.7, -0.6};
  for (const TCase& c : cases) {
    for (double x : {0.3, 1.0, 2.5}) {
      const double y = c.model(TVec(b), x);
      TVec g, numeric(2);
      c.deriv(x, y, b, g);
      NumericDerive(c.model, x, y, TVec(b), numeric);
      ASSERT_EQ(g.Length(), 2);
      const std::string name = c.name;
      const double formula[2] = {name == "Line" ? 1.0 : y / b[0], name == "Line" ? x
                                                                  : name == "Exp"
                                                                      ? y * x
                                                                      : y * std::log(x)};
      for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(formula[k], g[k]) << c.name << " x " << x << " k " << k;
        EXPECT_TRUE(Near(numeric[k], g[k], 1e-9)) << c.name << " x " << x << " k " << k;
      }
    }
  }
  TVec g;
  LineDeriv(nullptr, 2.0, 0.0, {}, g, fpSingle);
  EXPECT_EQ(g.FloatPrecision(), fpSingle);
  g = test::ToSingle(TVec{0, 0, 0});
  PowerDeriv(nullptr, 2.0, 3.0, b, g);  // keeps Grad's precision
  EXPECT_EQ(g.FloatPrecision(), fpSingle);
  EXPECT_EQ(g.Length(), 2);
  EXPECT_LUMEX_ERROR(ExpDeriv(nullptr, 2.0, 3.0, {}, g, fpDouble), "ExpDeriv: Pars.Length < 1");
}

// ---- Fits against R -----------------------------------------------------------------------------

struct TFitData {
  TVec x, y, w, ylog;
  TMtx x12;  // x and x2 as the columns of a design
};

TFitData ReadFitData() {
  const test::TRefTable t = test::ReadRefTable("RegModels/models_data.txt");
  std::vector<double> x, y, w, ylog;
  TFitData d;
  d.x12.Size(static_cast<int>(t.rows.size()), 2);
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    const auto& r = t.rows[i];
    x.push_back(r[0]);
    y.push_back(r[1]);
    w.push_back(r[2]);
    ylog.push_back(r[3]);
    d.x12(static_cast<int>(i), 0) = r[0];
    d.x12(static_cast<int>(i), 1) = r[4];
  }
  d.x = TVec(x);
  d.y = TVec(y);
  d.w = TVec(w);
  d.ylog = TVec(ylog);
  return d;
}

TEST(RegModelsFit, MatchRLmOnTheTransformedData) {
  const TFitData d = ReadFitData();
  const test::TRefTable ref = test::ReadRefTable("RegModels/models.txt");
  std::map<std::string, std::vector<double>> expected;
  for (std::size_t i = 0; i < ref.rows.size(); ++i)
    expected[ref.names[i]].push_back(ref.rows[i][2]);
  const std::map<std::string, std::function<void(TVec&)>> fits = {
      {"LineFit", [&](TVec& b) { LineFit(b, d.x, d.y, nullptr); }},
      {"LineFitW", [&](TVec& b) { LineFit(b, d.x, d.y, &d.w); }},
      {"PowerFit", [&](TVec& b) { PowerFit(b, d.x, d.y, nullptr); }},
      {"PowerFitW", [&](TVec& b) { PowerFit(b, d.x, d.y, &d.w); }},
      {"ExpFit", [&](TVec& b) { ExpFit(b, d.x, d.y, nullptr); }},
      {"ExpFitW", [&](TVec& b) { ExpFit(b, d.x, d.y, &d.w); }},
      {"LnFit", [&](TVec& b) { LnFit(b, d.x, d.y, nullptr); }},
      {"LnFitW", [&](TVec& b) { LnFit(b, d.x, d.y, &d.w); }},
      {"LogisticFit4", [&](TVec& b) { LogisticFit(b, d.x, d.ylog, true, nullptr); }},
      {"LogisticFit2", [&](TVec& b) { LogisticFit(b, d.x, d.ylog, false, nullptr); }},
      {"LogisticFit4W", [&](TVec& b) { LogisticFit(b, d.x, d.ylog, true, &d.w); }},
      {"FracFit", [&](TVec& b) { FracFit(b, d.x, d.y, 2, 1, true, nullptr); }},
      {"FracFitW", [&](TVec& b) { FracFit(b, d.x, d.y, 2, 1, true, &d.w); }},
      {"FracFitNoConst", [&](TVec& b) { FracFit(b, d.x, d.y, 2, 1, false, nullptr); }},
      {"MulLinFit", [&](TVec& b) { MulLinFit(b, d.x12, d.y, true, nullptr); }},
      {"MulLinFitW", [&](TVec& b) { MulLinFit(b, d.x12, d.y, true, &d.w); }},
      {"MulLinFitNoConst", [&](TVec& b) { MulLinFit(b, d.x12, d.y, false, nullptr); }},
  };
  ASSERT_EQ(fits.size(), expected.size());
  test::TWorst worst{"linearising fits vs R lm"};
  for (const auto& [name, fit] : fits) {
    TVec b;
    fit(b);
    const std::vector<double>& e = expected.at(name);
    ASSERT_EQ(b.Length(), static_cast<int>(e.size())) << name;
    for (int k = 0; k < b.Length(); ++k) {
      worst.See(e[static_cast<std::size_t>(k)], b[k]);
      EXPECT_TRUE(Near(e[static_cast<std::size_t>(k)], b[k], test::kTolRef, 1e-15))
          << name << " b" << k;
    }
  }
  // The rational fit's coefficients are in the layout FracEval reads.
  TVec b, yhat;
  FracFit(b, d.x, d.y, 2, 1, false, nullptr);
  FracEval(b, d.x, yhat, 2, false);
  EXPECT_TRUE(Near(b[0] + b[1] * d.x[3] + b[2] * d.x[3] * d.x[3], yhat[3] * (1 + b[3] * d.x[3]),
                   test::kTolSummed));
}

// The log fits leave B alone when no point qualifies; the checks raise their exact messages,
// PowerFit's as a plain std::runtime_error; degenerate data give NaN or a clear error.
TEST(RegModelsFit, ChecksAndDegenerateData) {
  const TVec x{1, 2, 3, 4}, yneg{-1, 0, -2, -3}, x3{1, 2, 3};
  TVec b{7, 8};
  ExpFit(b, x, yneg, nullptr);
  PowerFit(b, x, yneg, nullptr);
  LnFit(b, yneg, x, nullptr);
  EXPECT_EQ(b[0], 7);
  EXPECT_EQ(b[1], 8);
  try {
    PowerFit(b, x3, x, nullptr);
    ADD_FAILURE() << "no exception";
  } catch (const ELumexError&) {
    ADD_FAILURE() << "PowerFit raises a plain std::runtime_error";
  } catch (const std::runtime_error& e) {
    EXPECT_EQ(std::string(e.what()), "X.Lenght <> Y.Length");
  }
  EXPECT_THROW(PowerFit(b, x, test::ToSingle(x), nullptr), std::runtime_error);
  EXPECT_LUMEX_ERROR(ExpFit(b, x3, x, nullptr), "X.Length <> Y.Length");
  EXPECT_LUMEX_ERROR(LnFit(b, x3, x, nullptr), "X.Lenght <> Y.Length");
  EXPECT_LUMEX_ERROR(LogisticFit(b, x3, x, true, nullptr), "LogisticFit: X.Length <> Y.Length");
  EXPECT_LUMEX_ERROR(LogisticFit(b, x, test::ToSingle(x), true, nullptr),
                     "LogisticFit: X.FloatPrecision <> Y.FloatPrecision");
  EXPECT_LUMEX_ERROR(LogisticFit(b, TVec{1, 2}, TVec{1, 2}, true, nullptr),
                     "LogisticFit: X.Length < 3");
  EXPECT_LUMEX_ERROR(FracFit(b, x3, x, 1, 1, true, nullptr), "FracFit: X.Lenght <> Y.Length");
  EXPECT_LUMEX_ERROR(FracFit(b, x, test::ToSingle(x), 1, 1, true, nullptr),
                     "FracFit: X.FloatPrecision <> Y.FloatPrecision");
  EXPECT_LUMEX_ERROR(FracFit(b, x, x, -1, 1, true, nullptr), "FracFit: NumDegree < 0");
  // A singular design: y = x makes the column -x y equal to -x^2.
  EXPECT_LUMEX_ERROR(FracFit(b, x, x, 2, 1, true, nullptr),
                     "MulLinRegress : LQRSolve: matrix is rank deficient");
  EXPECT_LUMEX_ERROR(MulLinFit(b, TMtx{{1, 2}, {2, 4}, {3, 6}}, x3, true, nullptr),
                     "MulLinRegress : LQRSolve: matrix is rank deficient");
  // NaN and infinite data: NaN coefficients, no error.
  TVec ynan{1, NaN, 3, 4}, xinf{1, Inf, 3, 4};
  LineFit(b, x, ynan, nullptr);
  EXPECT_TRUE(std::isnan(b[0]) && std::isnan(b[1]));
  ExpFit(b, xinf, x, nullptr);
  EXPECT_TRUE(std::isnan(b[0]) || std::isnan(b[1]));
}

}  // namespace
}  // namespace lumex
