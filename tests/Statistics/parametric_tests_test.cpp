// Parametric tests against R (t.test, var.test and the distribution functions behind the Z,
// chi-square and Grubbs tests), and the behaviours of the call frame they show.
#include <map>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

TEST(TTestOneSample, AgreesWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/ttest_one_sample_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/ttest_one_sample.txt");
  ASSERT_EQ(ref.rows.size(), 120U);
  for (const auto& r : ref.rows) {
    const TVec& x = samples.at(static_cast<int>(r[ref.Col("case")]));
    ASSERT_EQ(x.Length(), r[ref.Col("n")]);
    THypothesisResult hRes = hrNan;
    double signif = NaN;
    TTwoElmReal ci{};
    const auto hType = static_cast<THypothesisType>(r[ref.Col("htype")]);
    const double alpha = r[ref.Col("alpha")];
    const double t = tTest(x, r[ref.Col("mu")], hRes, signif, ci, hType, alpha);
    SCOPED_TRACE(::testing::Message() << "case " << r[0] << " alpha " << alpha << " tail " << hType);
    EXPECT_TRUE(Near(r[ref.Col("t")], t, test::kTolRef));
    EXPECT_TRUE(Near(r[ref.Col("signif")], signif, test::kTolRef, 1e-14));
    EXPECT_TRUE(Near(r[ref.Col("lower")], ci[0], test::kTolRef));
    EXPECT_TRUE(Near(r[ref.Col("upper")], ci[1], test::kTolRef));
    EXPECT_EQ(hRes, alpha >= signif ? hrReject : hrNotReject);
  }
}

TEST(TTestOneSample, OneTailedIntervalsAreOpenOnTheRightSide) {
  const TVec x{0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0};
  THypothesisResult hRes;
  double signif;
  TTwoElmReal ci;
  tTest(x, 0.0, hRes, signif, ci, htRightTailed, 0.05);
  EXPECT_EQ(ci[0], -Inf);
  EXPECT_TRUE(std::isfinite(ci[1]));
  tTest(x, 0.0, hRes, signif, ci, htLeftTailed, 0.05);
  EXPECT_TRUE(std::isfinite(ci[0]));
  EXPECT_EQ(ci[1], Inf);
}

// Inputs without a decision: constant data (an infinite statistic and a zero-width interval),
// levels outside (0, 1) (everything NaN, nothing raised), samples too small or holding a NaN.
// A NaN level never rejects. NaN in a column stands for "NaN expected"; kAny for "not checked".
TEST(TTestOneSample, NoDecisionCases) {
  constexpr double kAny = -12345.0;
  struct TCase {
    TVec x;
    double alpha, t;
    THypothesisResult h;
    double signif, lo, hi;
  };
  const TVec x3{1.0, 2.0, 4.0};
  std::vector<TCase> cases = {{TVec{2.0, 2.0, 2.0, 2.0}, 0.05, Inf, hrNan, kAny, 2.0, 2.0},
                              {TVec(), 0.05, NaN, hrNan, kAny, kAny, kAny},
                              {TVec{3.0}, 0.05, NaN, hrNan, kAny, kAny, kAny},
                              {TVec{1.0, NaN, 2.0}, 0.05, NaN, hrNan, kAny, kAny, kAny}};
  for (double alpha : {0.0, 1.0, -0.5, 2.0, Inf}) {
    cases.push_back({x3, alpha, NaN, hrNan, NaN, NaN, NaN});
  }
  for (const TCase& c : cases) {
    THypothesisResult h = hrReject;
    double signif = 0.0;
    TTwoElmReal ci{0.0, 0.0};
    const double t = tTest(c.x, 1.0, h, signif, ci, htTwoTailed, c.alpha);
    SCOPED_TRACE(::testing::Message() << c.x.ToString() << " alpha " << c.alpha);
    EXPECT_EQ(h, c.h);
    for (const auto& [expected, computed] : {std::pair{c.t, t}, {c.signif, signif}, {c.lo, ci[0]},
                                             {c.hi, ci[1]}}) {
      if (expected != kAny) EXPECT_TRUE(test::Near(expected, computed, 0.0));
    }
  }
  THypothesisResult h = hrReject;
  double signif;
  TTwoElmReal ci;
  tTest(TVec{1.0, 2.0, 4.0, 8.0}, 100.0, h, signif, ci, htTwoTailed, NaN);
  EXPECT_EQ(h, hrNotReject);
  EXPECT_LT(signif, 0.01);
}

TEST(TTestOneSample, ComplexDataRaisesBeforeAlphaIsLookedAt) {
  TVec x;
  x.Size(3, fpDouble, true);
  x.SetZero();
  THypothesisResult hRes;
  double signif;
  TTwoElmReal ci;
  EXPECT_LUMEX_ERROR(tTest(x, 0.0, hRes, signif, ci, htTwoTailed, 0.05),
                     "tTest: Data.Complex = true");
  EXPECT_LUMEX_ERROR(tTest(x, 0.0, hRes, signif, ci, htTwoTailed, 7.0),
                     "tTest: Data.Complex = true");
}

// ---- Two-sample t, Z, chi-square, F and Grubbs tests against R --------------------------------

enum TParamTest { ptTwoSampleT, ptZ, ptChiSquare, ptF, ptGrubbs };

TEST(ParametricTests, AgreeWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/parametric_tests_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/parametric_tests.txt");
  ASSERT_EQ(ref.rows.size(), 270U);
  for (const auto& r : ref.rows) {
    const auto which = static_cast<TParamTest>(r[ref.Col("test")]);
    const TVec& a = samples.at(static_cast<int>(r[ref.Col("a")]));
    const int bId = static_cast<int>(r[ref.Col("b")]);
    const TVec& b = bId >= 0 ? samples.at(bId) : a;
    const auto hType = static_cast<THypothesisType>(r[ref.Col("htype")]);
    const double alpha = r[ref.Col("alpha")];
    const double param = r[ref.Col("param")];
    SCOPED_TRACE(::testing::Message() << "test " << which << " samples " << r[1] << ", " << bId
                                      << " alpha " << alpha << " tail " << hType);
    THypothesisResult hRes = hrNan;
    double signif = NaN;
    TTwoElmReal ci{NaN, NaN};
    double stat = NaN;
    switch (which) {
      case ptTwoSampleT:
        stat = tTest(a, b, hRes, signif, ci, param != 0.0, hType, alpha);
        break;
      case ptZ:
        stat = ZTest(a, param, r[ref.Col("param2")], hRes, signif, ci, hType, alpha);
        break;
      case ptChiSquare:
        ChiSquareTest(a, param, hRes, signif, ci, hType, alpha);
        stat = r[ref.Col("stat")];  // no statistic returned
        break;
      case ptF:
        stat = FTest(a, b, hRes, signif, ci, hType, alpha);
        break;
      case ptGrubbs:
        stat = GrubbsTest(a, hRes, signif, ci, hType, alpha);
        break;
    }
    EXPECT_TRUE(Near(r[ref.Col("stat")], stat, test::kTolRef));
    EXPECT_TRUE(Near(r[ref.Col("signif")], signif, 1e-11, test::kTolSummed));
    EXPECT_TRUE(Near(r[ref.Col("lower")], ci[0], test::kTolRef, 1e-14));
    EXPECT_TRUE(Near(r[ref.Col("upper")], ci[1], test::kTolRef, 1e-14));
    if (which != ptGrubbs) {
      EXPECT_EQ(hRes, alpha >= signif ? hrReject : hrNotReject);
    }
  }
}

TEST(TTestTwoSample, PairedEqualsOneSampleOfDifferences) {
  const TVec x{0.7, -1.6, -0.2, -1.2, -0.1, 3.4, 3.7, 0.8, 0.0, 2.0};
  const TVec y{1.9, 0.8, 1.1, 0.1, -0.1, 4.4, 5.5, 1.6, 4.6, 3.4};
  TVec d;
  Sub(d, x, y);
  for (const THypothesisType ht : {htTwoTailed, htRightTailed, htLeftTailed}) {
    THypothesisResult h1, h2;
    double s1, s2;
    TTwoElmReal c1, c2;
    const double t1 = tTest(x, y, h1, s1, c1, true, ht, 0.05);
    const double t2 = tTest(d, 0.0, h2, s2, c2, ht, 0.05);
    EXPECT_EQ(t1, t2);
    EXPECT_EQ(s1, s2);
    EXPECT_EQ(c1, c2);
    EXPECT_EQ(h1, h2);
  }
}

TEST(TTestTwoSample, PooledExampleAndUnequalLengths) {
  THypothesisResult hRes;
  double signif;
  TTwoElmReal ci;
  const double t = tTest(TVec{1, 2, 3}, TVec{4, 5, 6}, hRes, signif, ci, false, htTwoTailed, 0.05);
  EXPECT_TRUE(Near(-3.0 / std::sqrt(2.0 / 3.0), t, test::kTolExact));
  EXPECT_TRUE(std::isfinite(tTest(TVec{1, 2, 3}, TVec{4, 5}, hRes, signif, ci, false,
                                  htTwoTailed, 0.05)));
}

TEST(TwoSampleTests, MessagesInTheirOrder) {
  TVec c;
  c.Size(3, fpDouble, true);
  c.SetZero();
  TVec s;
  Convert(s, TVec{1, 2, 3}, fpSingle);
  const TVec a{1, 2, 3}, b{1, 2};
  THypothesisResult hRes;
  double signif;
  TTwoElmReal ci;
  // Complex data is rejected before lengths, lengths before precision, all before the level.
  EXPECT_LUMEX_ERROR(tTest(a, c, hRes, signif, ci, true, htTwoTailed, 5.0),
                     "tTest: vectors must be real");
  EXPECT_LUMEX_ERROR(tTest(b, s, hRes, signif, ci, true, htTwoTailed, 5.0),
                     "tTest: Data1.Length <> Data2.Length");
  EXPECT_LUMEX_ERROR(tTest(a, s, hRes, signif, ci, true, htTwoTailed, 5.0),
                     "tTest: Data1.FloatPrecision <> Data2.FloatPrecision");
  EXPECT_LUMEX_ERROR(ZTest(c, 0, 1, hRes, signif, ci, htTwoTailed, 5.0),
                     "ZTest: Data.Complex = true");
  EXPECT_LUMEX_ERROR(ChiSquareTest(c, 1, hRes, signif, ci, htTwoTailed, 5.0),
                     "Chi2Test: Data.Complex = true");
  EXPECT_LUMEX_ERROR(FTest(b, c, hRes, signif, ci, htTwoTailed, 5.0),
                     "FTest: (Data1.Complex) or (Data2.Complex)");
  EXPECT_LUMEX_ERROR(FTest(a, TVec{1}, hRes, signif, ci, htTwoTailed, 5.0),
                     "FTest: (Data1.Length<2) or (Data2.Length<2)");
  EXPECT_LUMEX_ERROR(GrubbsTest(c, hRes, signif, ci, htTwoTailed, 0.05),
                     "GrubbsTest: Data.Complex");
}

// The tests with a quiet level check write the no-decision outputs for a level outside (0, 1),
// and the Z-test does so for a known standard deviation of 0 as well.
TEST(ParametricTests, QuietNoDecisionOutputs) {
  const TVec a{1.0, 2.5, 4.0, 3.0}, b{2.0, 0.5, 1.0};
  for (const double alpha : {0.0, 1.0, -1.0}) {
    THypothesisResult h = hrReject;
    double p = 0.0;
    TTwoElmReal ci{0.0, 0.0};
    auto expectNan = [&](double result) {
      EXPECT_TRUE(std::isnan(result));
      EXPECT_EQ(h, hrNan);
      EXPECT_TRUE(std::isnan(p) && std::isnan(ci[0]) && std::isnan(ci[1]));
      h = hrReject, p = 0.0, ci = {0.0, 0.0};
    };
    expectNan(tTest(a, b, h, p, ci, false, htTwoTailed, alpha));
    expectNan(ZTest(a, 0.0, 1.0, h, p, ci, htLeftTailed, alpha));
    ChiSquareTest(a, 1.0, h, p, ci, htRightTailed, alpha);
    expectNan(NaN);
    expectNan(FTest(a, b, h, p, ci, htTwoTailed, alpha));
    expectNan(ZTest(a, 0.0, 0.0, h, p, ci, htTwoTailed, 0.5));
  }
}

TEST(ParametricTests, DegenerateDataGivesNoDecision) {
  THypothesisResult h;
  double p;
  TTwoElmReal ci;
  const TVec constant{2.0, 2.0, 2.0};
  EXPECT_TRUE(std::isnan(tTest(constant, constant, h, p, ci, false, htTwoTailed, 0.05)));
  EXPECT_EQ(h, hrNan);
  // Equal variances 0 / 0: F is NaN, and so is the decision.
  EXPECT_TRUE(std::isnan(FTest(constant, constant, h, p, ci, htTwoTailed, 0.05)));
  EXPECT_EQ(h, hrNan);
  // A NaN in the data spreads to the statistic.
  EXPECT_TRUE(std::isnan(ZTest(TVec{1.0, NaN}, 0.0, 1.0, h, p, ci, htTwoTailed, 0.05)));
  EXPECT_EQ(h, hrNan);
  ChiSquareTest(TVec{1.0}, 1.0, h, p, ci, htTwoTailed, 0.05);
  EXPECT_EQ(h, hrNan);
  for (const TVec& x : {TVec(), TVec{1.0}, TVec{1.0, 2.0}, constant, TVec{1.0, NaN, 3.0}}) {
    const double g = GrubbsTest(x, h, p, ci, htTwoTailed, 0.05);
    EXPECT_EQ(h, IsNanInf(g) ? hrNan : hrNotReject) << x.ToString();
  }
}

TEST(GrubbsTest, RejectsOnlyAboveTheCriticalValue) {
  const TVec x{2.1, 2.3, 1.9, 2.0, 2.2, 2.05, 3.9};
  THypothesisResult h;
  double p;
  TTwoElmReal ci;
  const double g = GrubbsTest(x, h, p, ci, htRightTailed, 0.05);
  const double gCrit = ci[1] - Mean(x);
  EXPECT_GT(g, gCrit);
  EXPECT_EQ(h, hrReject);
  // The left tail looks at the smallest value, which is no outlier; Signif still comes out.
  const double gLow = GrubbsTest(x, h, p, ci, htLeftTailed, 0.05);
  EXPECT_LT(gLow, ci[1] - Mean(x));
  EXPECT_EQ(h, hrNotReject);
  EXPECT_GT(p, 1.0);  // the Bonferroni bound is not limited to 1
}

}  // namespace
}  // namespace lumex
