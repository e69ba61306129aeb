// LogisticRegress (binomial and ordinal) and PoissonRegress against R's glm and MASS::polr
// (tests/reference/Regress/logistic_poisson.R), the pass counts of the IRLS loops, and the data
// that defeat a fit: each must end, within its pass cap, in a result or a clear error.
#include <chrono>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "lumex/Regress.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

// The fits stop on an absolute deviance change far below the 1e-8 asked of them, and above the
// rounding noise of a deviance near 100.
constexpr double kIrlsTol = 1e-12;
constexpr double kGlmRel = 1e-8;
constexpr double kPolrRel = 1e-6;

const std::map<int, TMtx>& Sets() {
  static const auto sets = test::ReadSampleMatrices("Regress/logistic_poisson_data.txt");
  return sets;
}
const std::map<std::string, TVec>& Ref() {
  static const auto ref = test::ReadSeries("Regress/logistic_poisson.txt");
  return ref;
}
const TVec& RefOf(int set, const std::string& what) {
  return Ref().at("set" + std::to_string(set) + "_" + what);
}

// Column j of a data set, and its design (columns 2 ..).
TVec Column(const TMtx& m, int j) {
  TVec v(m.Rows());
  for (int i = 0; i < m.Rows(); ++i) v[i] = m(i, j);
  return v;
}
TMtx Design(const TMtx& m) {
  TMtx A(m.Rows(), m.Cols() - 2);
  for (int i = 0; i < m.Rows(); ++i) {
    for (int j = 0; j < A.Cols(); ++j) A(i, j) = m(i, j + 2);
  }
  return A;
}

void ExpectVecNear(const TVec& want, const TVec& got, double rel, const std::string& what) {
  ASSERT_EQ(want.Length(), got.Length()) << what;
  for (int i = 0; i < want.Length(); ++i) {
    EXPECT_TRUE(Near(want[i], got.Value(i), rel)) << what << "[" << i << "]";
  }
}

// ---- Against glm --------------------------------------------------------------------------------

struct TGlmCase {
  int set;
  bool poisson;
  bool design;  // false: the binomial intercept-only form (A null)
};

class GlmReference : public ::testing::TestWithParam<TGlmCase> {};

TEST_P(GlmReference, CoefficientsStdErrorsDevianceAndMeansMatchR) {
  const TGlmCase c = GetParam();
  const TMtx& data = Sets().at(c.set);
  const TVec y = Column(data, 0);
  const TMtx A = Design(data);
  const double offset = RefOf(c.set, "offset")[0];
  TVec b, se, mu;
  double deviance = NaN;
  if (c.poisson) {
    int dfE = -1;
    const int passes =
        PoissonRegress(y, A, b, se, deviance, dfE, offset, &mu, kIrlsTol, 0);
    EXPECT_LT(passes, 30);
    EXPECT_EQ(dfE, static_cast<int>(RefOf(c.set, "dfE")[0]));
  } else {
    const TVec n = Column(data, 1);
    LogisticRegress(y, n, b, c.design ? &A : nullptr, offset, &mu, &se, kIrlsTol);
    // The deviance of the means the loop ended on.
    deviance = 0.0;
    for (int i = 0; i < y.Length(); ++i) {
      const double f = n[i] - y[i];
      deviance += (y[i] > 0 ? y[i] * std::log(y[i] / mu[i]) : 0.0) +
                  (f > 0 ? f * std::log(f / (n[i] - mu[i])) : 0.0);
    }
    deviance *= 2.0;
  }
  ExpectVecNear(RefOf(c.set, "b"), b, kGlmRel, "b");
  ExpectVecNear(RefOf(c.set, "se"), se, kGlmRel, "BStdErr");
  ExpectVecNear(RefOf(c.set, "fitted"), mu, kGlmRel, "YCalc");
  EXPECT_TRUE(Near(RefOf(c.set, "deviance")[0], deviance, kGlmRel)) << "deviance";
}

INSTANTIATE_TEST_SUITE_P(Sets, GlmReference,
                         ::testing::Values(TGlmCase{1, false, true}, TGlmCase{2, false, true},
                                           TGlmCase{3, false, false}, TGlmCase{4, true, true},
                                           TGlmCase{5, true, true}),
                         [](const auto& info) { return "Set" + std::to_string(info.param.set); });

// ---- Against polr -------------------------------------------------------------------------------

class PolrReference : public ::testing::TestWithParam<int> {};

TEST_P(PolrReference, ThresholdsSlopesAndStdErrorsMatchPolr) {
  const TMtx& data = Sets().at(GetParam());
  const TMtx rows = Design(data);
  // Each data row stands for its frequency (column 1) of observations.
  std::vector<double> yv;
  std::vector<int> from;
  for (int i = 0; i < data.Rows(); ++i) {
    for (int k = 0; k < static_cast<int>(data(i, 1)); ++k) {
      yv.push_back(data(i, 0));
      from.push_back(i);
    }
  }
  const TVec y(yv);
  TMtx A(y.Length(), rows.Cols());
  for (int i = 0; i < y.Length(); ++i) {
    for (int j = 0; j < A.Cols(); ++j) A(i, j) = rows(from[i], j);
  }
  const TVec& wantTheta = RefOf(GetParam(), "theta");
  const TVec& wantB = RefOf(GetParam(), "b");
  // From the automatic start, and from the caller's start near the answer.
  for (const bool autoInit : {true, false}) {
    TVec b, theta, se;
    if (!autoInit) {
      theta = wantTheta;
      b = wantB;
      for (int j = 0; j < b.Length(); ++j) b[j] *= 1.1;
    }
    double deviance = NaN;
    TOptStopReason stop = osrNone;
    LogisticRegress(y, A, b, theta, se, deviance, stop, 200, 1e-10, autoInit);
    const std::string what = autoInit ? " (AutoInit)" : " (caller's start)";
    EXPECT_TRUE(stop == osrConverged || stop == osrGradTol) << what << OptStopReasonText(stop);
    ExpectVecNear(wantTheta, theta, kPolrRel, "Theta" + what);
    ExpectVecNear(wantB, b, kPolrRel, "b" + what);
    ExpectVecNear(RefOf(GetParam(), "se"), se, kPolrRel, "BStdErr" + what);
    EXPECT_TRUE(Near(RefOf(GetParam(), "deviance")[0], deviance, kGlmRel)) << what;
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, PolrReference, ::testing::Values(6, 7));

// ---- The IRLS loops' pass counts ----------------------------------------------------------------

TEST(LogisticRegress, ToleranceOfOneRunsNoPassAndLeavesOutputsUntouched) {
  const TMtx& data = Sets().at(2);
  const TMtx A = Design(data);
  TVec b{7.0}, mu{7.0}, se{7.0};
  LogisticRegress(Column(data, 0), Column(data, 1), b, &A, 0.0, &mu, &se, 1.0);
  test::ExpectAllEqual({LUMEX_VALUE(1, b.Length()), LUMEX_VALUE(7.0, b[0]),
                        LUMEX_VALUE(7.0, mu[0]), LUMEX_VALUE(7.0, se[0])});
}

TEST(PoissonRegress, MinIterForcesPassesAndThePassCapHolds) {
  const TMtx& data = Sets().at(5);
  const TVec y = Column(data, 0);
  const TMtx A = Design(data);
  TVec b, se;
  double deviance = NaN;
  int dfE = 0;
  const int settled = PoissonRegress(y, A, b, se, deviance, dfE, 1.2, nullptr, kIrlsTol, 0);
  EXPECT_EQ(PoissonRegress(y, A, b, se, deviance, dfE, 1.2, nullptr, 1e300, 5), 5);
  EXPECT_EQ(PoissonRegress(y, A, b, se, deviance, dfE, 1.2, nullptr, kIrlsTol, settled + 4),
            settled + 4);
  ExpectVecNear(RefOf(5, "b"), b, kGlmRel, "b after forced passes");
  EXPECT_EQ(PoissonRegress(y, A, b, se, deviance, dfE, 1.2, nullptr, kIrlsTol, 5000), 1000);
}

TEST(LogisticRegress, SinglePrecisionDataGiveSinglePrecisionResults) {
  const TMtx& data = Sets().at(2);
  const TMtx A = Design(data);
  TMtx As;
  As.Size(A.Rows(), A.Cols(), fpSingle);
  for (int i = 0; i < A.Length(); ++i) As.SetValue(i, A.Value(i));
  TVec b, se;
  LogisticRegress(test::ToSingle(Column(data, 0)), test::ToSingle(Column(data, 1)), b, &As, 0.4,
                  nullptr, &se, 1e-4);
  EXPECT_EQ(b.FloatPrecision(), fpSingle);
  ExpectVecNear(RefOf(2, "b"), b, 1e-5, "b");
  ExpectVecNear(RefOf(2, "se"), se, 1e-5, "BStdErr");
}

// With no Marquardt step the fit returns its start: the logits of the cumulative proportions and
// b = 0, where the model reproduces the category proportions p_c, so the deviance is
// -2 sum n_c ln p_c (the top and bottom categories through their one-sided probabilities).
TEST(LogisticRegress, OrdinalStartIsTheCumulativeLogitsOfTheProportions) {
  const TVec y{1, 2, 3, 3, 2, 3, 1, 3};  // proportions 2/8, 2/8, 4/8
  TMtx A(8, 1);
  for (int i = 0; i < 8; ++i) A(i, 0) = i % 3;
  TVec b, theta, se;
  double deviance = NaN;
  TOptStopReason stop = osrNone;
  EXPECT_EQ(LogisticRegress(y, A, b, theta, se, deviance, stop, 0, 1e-10, true), 0);
  test::ExpectAllNear({LUMEX_VALUE(std::log(1.0 / 3.0), theta[0]),
                       LUMEX_VALUE(0.0, theta[1]), LUMEX_VALUE(0.0, b[0]),
                       LUMEX_VALUE(-2 * (4 * std::log(0.25) + 4 * std::log(0.5)), deviance)},
                      test::kTolSummed, 1e-15);
  EXPECT_EQ(stop, osrMaxIter);
}

// ---- Data that defeat a fit ---------------------------------------------------------------------

// What a degenerate fit must end in: a result holding a NaN, a finite result, or a clear error
// with this exact message ("" when no error is allowed).
struct TDegenerate {
  const char* name;
  int form;  // 0 binomial, 1 Poisson, 2 ordinal
  std::vector<double> y, n;
  std::vector<std::vector<double>> A;
  const char* error;
  bool nanResult;
};

class Degenerate : public ::testing::TestWithParam<TDegenerate> {};

TEST_P(Degenerate, EndsInBoundedTimeWithTheExpectedOutcome) {
  const TDegenerate& c = GetParam();
  TMtx A(static_cast<int>(c.A.size()), c.A.empty() ? 0 : static_cast<int>(c.A[0].size()));
  for (int i = 0; i < A.Rows(); ++i) {
    for (int j = 0; j < A.Cols(); ++j) A(i, j) = c.A[i][j];
  }
  const TVec y(c.y);
  TVec b, se, theta;
  double deviance = NaN;
  const auto start = std::chrono::steady_clock::now();
  const auto run = [&] {
    if (c.form == 0) {
      LogisticRegress(y, TVec(c.n), b, &A, 0.0, nullptr, &se, 1e-10);
    } else if (c.form == 1) {
      int dfE = 0;
      PoissonRegress(y, A, b, se, deviance, dfE, 0.0, nullptr, 1e-10, 0);
    } else {
      TOptStopReason stop = osrNone;
      LogisticRegress(y, A, b, theta, se, deviance, stop, 200, 1e-10, true);
    }
  };
  if (*c.error != '\0') {
    EXPECT_LUMEX_ERROR(run(), c.error);
  } else {
    run();
    bool anyNaN = std::isnan(deviance) && c.form != 0;
    for (int j = 0; j < b.Length(); ++j) anyNaN = anyNaN || std::isnan(b[j]);
    EXPECT_EQ(anyNaN, c.nanResult) << "b = " << b.ToString() << ", deviance " << deviance;
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

const std::vector<std::vector<double>> kLine{{1, -2}, {1, -1}, {1, 0}, {1, 1}, {1, 2}, {1, 3}};

INSTANTIATE_TEST_SUITE_P(
    Cases, Degenerate,
    ::testing::Values(
        // Successes exactly where x > 0: the slope grows until the deviance settles near 0
        // (as in R's glm, which warns of fitted probabilities 0 or 1).
        TDegenerate{"SeparatedBinomial", 0, {0, 0, 0, 4, 4, 4}, {4, 4, 4, 4, 4, 4}, kLine, "",
                    false},
        TDegenerate{"ZeroSuccesses", 0, {0, 0, 0, 0, 0, 0}, {4, 4, 4, 4, 4, 4}, kLine, "",
                    false},
        TDegenerate{"ZeroCounts", 1, {0, 0, 0, 0, 0, 0}, {}, kLine, "", false},
        TDegenerate{"SingularBinomial", 0, {1, 2, 0, 3, 1, 2}, {4, 4, 4, 4, 4, 4},
                    {{1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}},
                    "LQRSolve: matrix is rank deficient", false},
        TDegenerate{"SingularPoisson", 1, {1, 2, 0, 3, 1, 2}, {},
                    {{1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}, {1, 2}},
                    "LUSolve: matrix is singular", false},
        TDegenerate{"NaNBinomial", 0, {1, NaN, 0, 3, 1, 2}, {4, 4, 4, 4, 4, 4}, kLine, "", true},
        TDegenerate{"InfTrials", 0, {1, 2, 0, 3, 1, 2}, {4, 4, Inf, 4, 4, 4}, kLine, "", true},
        TDegenerate{"InfPoisson", 1, {1, 2, 0, Inf, 1, 2}, {}, kLine, "", true},
        TDegenerate{"NaNDesignPoisson", 1, {1, 2, 0, 3, 1, 2}, {},
                    {{1, -2}, {1, -1}, {1, NaN}, {1, 1}, {1, 2}, {1, 3}}, "", true},
        TDegenerate{"NaNOrdinal", 2, {1, 2, 3, 1, 2, 3}, {}, {{0.5}, {NaN}, {2}, {1}, {3}, {2}},
                    "", true},
        TDegenerate{"SeparatedOrdinal", 2, {1, 1, 2, 2, 3, 3}, {}, {{1}, {2}, {3}, {4}, {5}, {6}},
                    "", false},
        TDegenerate{"OneCategoryOrdinal", 2, {2, 2, 2}, {}, {{1}, {2}, {4}}, "", false},
        TDegenerate{"NonIntegerExtremeOrdinal", 2, {0.6, 2, 3}, {}, {{1}, {2}, {4}},
                    "LogisticRegress: Min(y) or Max(y) is not an integer category", false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Argument checks ----------------------------------------------------------------------------

TEST(LogisticPoisson, ArgumentChecksRaiseTheirMessagesInOrder) {
  const TVec y{1, 2}, n{3, 3};
  TVec yc, b, se, theta;
  yc.Size(2, fpDouble, true);
  const TMtx A2(2, 1), A3(3, 1);
  TMtx As;
  As.Size(2, 1, fpSingle);
  double dev = 0.0;
  int dfE = 0;
  TOptStopReason stop = osrNone;
  EXPECT_LUMEX_ERROR(LogisticRegress(yc, n, b, &A3, 0, nullptr, nullptr, 1e-8),
                     "LogisticRegress: (y.Complex) or (n.Complex)");
  EXPECT_LUMEX_ERROR(LogisticRegress(y, yc, b, &A3, 0, nullptr, nullptr, 1e-8),
                     "LogisticRegress: (y.Complex) or (n.Complex)");
  EXPECT_LUMEX_ERROR(LogisticRegress(y, n, b, &A3, 0, nullptr, nullptr, 1e-8),
                     "LogisticRegress: A.Rows <> y.Length");
  EXPECT_LUMEX_ERROR(LogisticRegress(y, n, b, &As, 0, nullptr, nullptr, 1e-8),
                     "LogisticRegress: A.FloatPrecision <> y.FloatPrecision");
  EXPECT_LUMEX_ERROR(LogisticRegress(y, TVec{3}, b, &A2, 0, nullptr, nullptr, 1e-8),
                     "LogisticRegress: n.Length <> y.Length");
  EXPECT_LUMEX_ERROR(LogisticRegress(y, A3, b, theta, se, dev, stop, 10, 1e-8, true),
                     "LogisticRegress: y.Length <> A.Rows");
  theta = TVec{0.0, 1.0};
  EXPECT_LUMEX_ERROR(LogisticRegress(y, A2, b, theta, se, dev, stop, 10, 1e-8, false),
                     "LogisticRegress: Theta.Length <> number of category boundaries in y");
  theta = TVec{0.0};
  EXPECT_LUMEX_ERROR(LogisticRegress(y, A2, b, theta, se, dev, stop, 10, 1e-8, false),
                     "LogisticRegress: b.Length <> A.Cols");
  EXPECT_LUMEX_ERROR(PoissonRegress(y, A3, b, se, dev, dfE, 0, nullptr, 1e-8, 0),
                     "PoissonRegress: Y.Length <> A.Rows");
}

}  // namespace
}  // namespace lumex
