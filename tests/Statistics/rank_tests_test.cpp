// Rank and sign tests against R (psignrank, pwilcox, wilcox.test and the library's formulas on
// R's quantities), and the behaviours of their exact distributions and checks.
#include <map>
#include <string>

#include "Statistics/rank_tests.h"
#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using detail::MannWhitneyExactCDF;
using detail::WilcoxonExactCDF;
using test::Near;

TVec RampVec(int n) {
  TVec r(n);
  Ramp(r, 1.0, 1.0);
  return r;
}

TEST(WilcoxonExactCDF, AgreesWithPsignrankAndTieCounts) {
  const auto tieRanks = test::ReadSamples("Statistics/rank_tests_signrank_ranks.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/rank_tests_signrank.txt");
  ASSERT_EQ(ref.rows.size(), 2800U);
  for (const auto& r : ref.rows) {
    const int tieCase = static_cast<int>(r[ref.Col("case")]);
    const int n = static_cast<int>(r[ref.Col("n")]);
    const TVec ranks = tieCase >= 0 ? tieRanks.at(tieCase) : RampVec(n);
    const double t = r[ref.Col("T")];
    SCOPED_TRACE(::testing::Message() << "case " << tieCase << " n " << n << " T " << t);
    EXPECT_TRUE(Near(r[ref.Col("p")], WilcoxonExactCDF(ranks, t, r[ref.Col("hasties")] != 0),
                     test::kTolSummed, 1e-16));
  }
}

TEST(WilcoxonExactCDF, IgnoresTheOrderOfTheRanksAndRejectsNonsense) {
  const TVec ranks{5, 1, 4, 2, 3};
  EXPECT_EQ(WilcoxonExactCDF(ranks, 3, false), WilcoxonExactCDF(RampVec(5), 3, false));
  EXPECT_TRUE(std::isnan(WilcoxonExactCDF(ranks, NaN, false)));
  EXPECT_EQ(WilcoxonExactCDF(ranks, -1, false), 0.0);
  EXPECT_TRUE(std::isnan(WilcoxonExactCDF(TVec{-1, 2}, 1, false)));
}

// Both exact Mann-Whitney paths against pwilcox for every U; the enumeration sizes (up to 7
// and 7) cover the case where both paths apply, and they must agree there.
TEST(MannWhitneyExact, BothPathsAgreeWithPwilcox) {
  const test::TRefTable ref = test::ReadRefTable("Statistics/rank_tests_mannwhitney.txt");
  ASSERT_EQ(ref.rows.size(), 5028U);
  for (const auto& r : ref.rows) {
    const int n1 = static_cast<int>(r[0]);
    const int n2 = static_cast<int>(r[1]);
    const double u = r[2];
    SCOPED_TRACE(::testing::Message() << n1 << " x " << n2 << " U " << u);
    const double recursion = MannWhitneyExactCDF(n1, n2, u, fpDouble);
    EXPECT_TRUE(Near(r[3], recursion, test::kTolCertified13));
    if (n1 * n2 <= 300) {
      EXPECT_TRUE(Near(r[3], MannWhitneyExactCDF(n1, n2, u, fpSingle), 1e-5));
    }
    const double counted = MannWCDF1(n1, n2, u);
    EXPECT_TRUE(Near(r[3], counted, test::kTolCertified13));  // counts pass 2^53 at 50 x 50
    if (n1 <= 7 && n2 <= 7) {
      EXPECT_TRUE(Near(recursion, counted, test::kTolSummed));
    }
  }
}

TEST(MannWhitneyExact, EdgesOfTheRange) {
  EXPECT_TRUE(Near(1.0 / 6.0, MannWCDF1(2, 2, 0), test::kTolExact));
  for (auto cdf : {+[](int a, int b, double u) { return MannWCDF1(a, b, u); },
                   +[](int a, int b, double u) { return MannWhitneyExactCDF(a, b, u, fpDouble); }}) {
    EXPECT_TRUE(std::isnan(cdf(3, 4, 12.5)));  // U beyond N1 N2
    EXPECT_TRUE(std::isnan(cdf(3, 4, NaN)));
    EXPECT_TRUE(std::isnan(cdf(-1, 4, 0)));
    EXPECT_EQ(cdf(3, 4, -2), 0.0);
    EXPECT_TRUE(Near(1.0, cdf(3, 4, 12), test::kTolRounding));
    EXPECT_TRUE(Near(cdf(3, 4, 4), cdf(3, 4, 4.5), 0.0));  // halves round to even
    EXPECT_EQ(cdf(0, 9, 0), 1.0);                            // one arrangement only
  }
  EXPECT_TRUE(std::isnan(MannWCDF1(0, 0, 0)));
  EXPECT_TRUE(std::isnan(MannWCDF1(2147483647, 10, 5)));  // too many arrangements to count
}

enum TRankTest { rtSign, rtWilcoxon, rtMannWhitneyExact, rtMannWhitneyNormal, rtSpearman };

TEST(RankTests, AgreeWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/rank_tests_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/rank_tests.txt");
  ASSERT_EQ(ref.rows.size(), 264U);
  for (const auto& r : ref.rows) {
    const auto which = static_cast<TRankTest>(r[ref.Col("test")]);
    const TVec& a = samples.at(static_cast<int>(r[ref.Col("a")]));
    const int bId = static_cast<int>(r[ref.Col("b")]);
    const auto hType = static_cast<THypothesisType>(r[ref.Col("htype")]);
    const double alpha = r[ref.Col("alpha")];
    const double mu = r[ref.Col("mu")];
    SCOPED_TRACE(::testing::Message() << "test " << which << " samples " << r[1] << ", " << bId
                                      << " alpha " << alpha << " tail " << hType);
    THypothesisResult hRes = hrNan;
    double signif = NaN;
    TTwoElmReal ci{NaN, NaN};
    double stat = NaN;
    switch (which) {
      case rtSign:
        stat = bId >= 0 ? SignTest(a, samples.at(bId), hRes, signif, ci, hType, alpha)
                        : SignTest(a, mu, hRes, signif, ci, hType, alpha);
        break;
      case rtWilcoxon:
        stat = bId >= 0 ? WilcoxonSign(a, samples.at(bId), hRes, signif, ci, hType, alpha)
                        : WilcoxonSign(a, mu, hRes, signif, ci, hType, alpha);
        EXPECT_EQ(r[ref.Col("lower")], ci[0]);
        EXPECT_EQ(r[ref.Col("upper")], ci[1]);
        break;
      case rtMannWhitneyExact:
      case rtMannWhitneyNormal:
        stat = MannWhitneyTest(a, samples.at(bId), hRes, signif, ci, hType, alpha,
                               which == rtMannWhitneyNormal);
        break;
      case rtSpearman: {
        // mu holds the common length: the longer sample is cut to it.
        const int n = static_cast<int>(mu);
        TVec x(n), y(n);
        Copy(x, a, 0, 0, n);
        Copy(y, samples.at(bId), 0, 0, n);
        SpearmanRankCorr(x, y, stat, hRes, signif, ci, hType, alpha);
        EXPECT_TRUE(Near(r[ref.Col("lower")], ci[0], test::kTolRef));
        EXPECT_TRUE(Near(r[ref.Col("upper")], ci[1], test::kTolRef));
        break;
      }
    }
    EXPECT_TRUE(Near(r[ref.Col("stat")], stat, test::kTolCertified13));
    EXPECT_TRUE(Near(r[ref.Col("signif")], signif, 1e-11, test::kTolSummed));
    EXPECT_EQ(hRes, alpha >= signif ? hrReject : hrNotReject);
  }
}

TEST(SignTest, DropsZeroDifferencesAndSwitchesToNormalAt20) {
  THypothesisResult h;
  double p;
  TTwoElmReal ci{7.0, 8.0};
  EXPECT_EQ(SignTest(TVec{1, 2, 3, -1, 0}, 0.0, h, p, ci, htLeftTailed, 0.05), 1.0);
  EXPECT_TRUE(Near(BinomCDF(3, 4, 0.5), p, test::kTolExact));
  EXPECT_EQ(ci, (TTwoElmReal{7.0, 8.0}));  // not written
  // 19 and 20 non-zero differences (plus a zero): exact below, normal approximation from 20.
  for (const int n : {19, 20}) {
    TVec x(n + 1);
    Ramp(x, -5.0, 1.0);  // -5 .. n - 5, one zero
    SignTest(x, 0.0, h, p, ci, htLeftTailed, 0.05);
    const double nPlus = n - 5;
    const double expected =
        n < 20 ? BinomCDF(nPlus, n, 0.5) : NormalCDF((2 * nPlus - n) / std::sqrt(1.0 * n));
    EXPECT_TRUE(Near(expected, p, test::kTolExact)) << n;
  }
}

TEST(WilcoxonSign, SwitchesToNormalAt15WithTieCorrection) {
  THypothesisResult h;
  double p;
  TTwoElmReal ci;
  for (const int n : {14, 15}) {
    TVec x(n);
    Ramp(x, -3.0, 1.0);
    x[n - 1] = x[n - 2];  // one tie among the positive differences, and one zero
    const double t = WilcoxonSign(x, 0.0, h, p, ci, htTwoTailed, 0.05);
    TVec g, absg, r;
    FindAndGather(g, x, "<>", 0.0);
    Abs(absg, g);
    double tc = 0.0;
    TiedRanks(absg, r, tc);
    const int m = g.Length();
    const double expected =
        m < 15 ? 2.0 * WilcoxonExactCDF(r, t, true)
               : 2.0 * NormalCDF((t - m * (m + 1) / 4.0) * std::sqrt(24.0) /
                                 std::sqrt(m * (m + 1.0) * (2 * m + 1) - tc));
    EXPECT_TRUE(Near(expected, p, test::kTolExact)) << n;
  }
}

// The variance term n(n+1)(2n+1) of the approximation is a 32-bit integer product: exact up to
// n = 1023, wrapped around (here to a negative number, so no decision) from n = 1024 on.
TEST(WilcoxonSign, VarianceTermIsA32BitProduct) {
  THypothesisResult h;
  double p;
  TTwoElmReal ci;
  for (const int n : {1023, 1100}) {
    TVec x(n);
    Ramp(x, 1.0, 1.0);
    x[0] = -1.5;
    WilcoxonSign(x, 0.0, h, p, ci, htRightTailed, 0.05);
    EXPECT_EQ(h, n <= 1023 ? hrReject : hrNan) << n;
  }
}

TEST(RankTests, DegenerateSamplesGiveNoDecision) {
  THypothesisResult h;
  double p;
  TTwoElmReal ci;
  const TVec zeros{2.0, 2.0, 2.0};
  for (const TVec& x : {TVec(), zeros}) {
    SignTest(x, 2.0, h, p, ci, htRightTailed, 0.05);
    EXPECT_EQ(h, hrNan);
    WilcoxonSign(x, 2.0, h, p, ci, htRightTailed, 0.05);
    EXPECT_EQ(h, hrNan);
    WilcoxonSign(x, x, h, p, ci, htTwoTailed, 0.05);
    EXPECT_EQ(h, hrNan);
  }
  double rho = 0.0;
  SpearmanRankCorr(zeros, TVec{1, 2, 3}, rho, h, p, ci, htTwoTailed, 0.05);
  EXPECT_TRUE(std::isnan(rho));
  EXPECT_EQ(h, hrNan);
  SpearmanRankCorr(TVec(), TVec(), rho, h, p, ci, htTwoTailed, 0.05);
  EXPECT_EQ(h, hrNan);
  // Two empty samples: U = 0 and a 0/0 normal statistic.
  MannWhitneyTest(TVec(), TVec(), h, p, ci, htTwoTailed, 0.05, true);
  EXPECT_EQ(h, hrNan);
  // NaNs rank last and are counted; nothing crashes and the statistic stays finite.
  const TVec withNan{1.0, NaN, -2.0, 3.0};
  EXPECT_TRUE(std::isfinite(MannWhitneyTest(withNan, zeros, h, p, ci, htTwoTailed, 0.05, false)));
  EXPECT_TRUE(std::isfinite(WilcoxonSign(withNan, 0.0, h, p, ci, htTwoTailed, 0.05)));
  EXPECT_TRUE(std::isfinite(SignTest(withNan, 0.0, h, p, ci, htTwoTailed, 0.05)));
}

TEST(RankTests, MessagesInTheirOrder) {
  TVec c;
  c.Size(2, fpDouble, true);
  c.SetZero();
  const TVec a{1, 2}, b{1, 2, 3};
  THypothesisResult h = hrReject;
  double p = 0.0;
  TTwoElmReal ci;
  double rho;
  EXPECT_LUMEX_ERROR(SignTest(c, 0.0, h, p, ci, htTwoTailed, 0.0), "SignTest: Data.Complex = true");
  EXPECT_LUMEX_ERROR(SignTest(a, 0.0, h, p, ci, htTwoTailed, 1.0),
                     "SignTest: (Alpha<=0) or (Alpha>=1)");
  EXPECT_LUMEX_ERROR(SignTest(c, b, h, p, ci, htTwoTailed, 0.0),
                     "SignTest: (Data1.Length <> Data2.Length)");
  EXPECT_LUMEX_ERROR(SignTest(a, c, h, p, ci, htTwoTailed, 0.0), "SignTest: vectors must be real");
  EXPECT_LUMEX_ERROR(SignTest(a, a, h, p, ci, htTwoTailed, 0.0),
                     "SignTest :(Alpha<=0) or (Alpha>=1)");
  EXPECT_LUMEX_ERROR(WilcoxonSign(c, 0.0, h, p, ci, htTwoTailed, 0.0),
                     "WilcoxonSign: Data.Complex = true");
  EXPECT_LUMEX_ERROR(WilcoxonSign(c, b, h, p, ci, htTwoTailed, 0.0),
                     "WilcoxonSign: (Data1.Length <> Data2.Length)");
  EXPECT_LUMEX_ERROR(WilcoxonSign(c, a, h, p, ci, htTwoTailed, 0.0),
                     "WilcoxonSign: vectors must be real");
  EXPECT_LUMEX_ERROR(WilcoxonSign(a, a, h, p, ci, htTwoTailed, 1.5),
                     "WilcoxonSign :(Alpha<=0) or (Alpha>=1)");
  EXPECT_LUMEX_ERROR(SpearmanRankCorr(c, b, rho, h, p, ci, htTwoTailed, 0.05),
                     "SpearmanRankCorr: (X.Complex) or (Y.Complex)");
  EXPECT_LUMEX_ERROR(SpearmanRankCorr(a, b, rho, h, p, ci, htTwoTailed, 0.05),
                     "SpearmanRankCorr: X.Length <> Y.Length");
  // MannWhitneyTest writes its neutral outputs before it checks anything.
  EXPECT_LUMEX_ERROR(MannWhitneyTest(a, c, h, p, ci, htTwoTailed, 0.0, true),
                     "MannWhitneyTest: vectors must be real");
  EXPECT_EQ(h, hrNotReject);
  EXPECT_EQ(p, 1.0);
  h = hrReject, p = 0.0;
  EXPECT_LUMEX_ERROR(MannWhitneyTest(a, b, h, p, ci, htTwoTailed, 0.0, true),
                     "MannWhitneyTest :(Alpha<=0) or (Alpha>=1)");
  EXPECT_EQ(h, hrNotReject);
  EXPECT_EQ(p, 1.0);
}

TEST(WilcoxonSign, OneSampleLevelCheckIsQuietAndKeepsTheInterval) {
  THypothesisResult h = hrReject;
  double p = 0.0;
  TTwoElmReal ci{3.0, 4.0};
  EXPECT_TRUE(std::isnan(WilcoxonSign(TVec{1, 2, -3}, 0.0, h, p, ci, htTwoTailed, 1.0)));
  EXPECT_EQ(h, hrNan);
  EXPECT_TRUE(std::isnan(p));
  EXPECT_EQ(ci, (TTwoElmReal{3.0, 4.0}));
}

TEST(SpearmanRankCorr, OneTailedSignificancesAddUpToOne) {
  const TVec x{1.0, 2.5, 2.5, 4.0, 3.0, 7.0, 6.5, 8.0};
  const TVec y{2.0, 1.0, 3.0, 3.0, 5.0, 4.0, 8.0, 7.5};
  THypothesisResult h;
  double rho, pr, pl;
  TTwoElmReal ci;
  SpearmanRankCorr(x, y, rho, h, pr, ci, htRightTailed, 0.05);
  SpearmanRankCorr(x, y, rho, h, pl, ci, htLeftTailed, 0.05);
  EXPECT_TRUE(Near(1.0, pr + pl, test::kTolExact));
}

TEST(RankTests, SinglePrecisionDataGiveTheSameStatistics) {
  const TVec xd{0.5, 1.25, -2.0, 3.5, 1.25, -0.75, 4.0, 2.5};
  const TVec yd{1.0, 0.25, -1.0, 2.5, 2.0, 0.75, 3.0, 3.5};
  TVec xs, ys;
  Convert(xs, xd, fpSingle);
  Convert(ys, yd, fpSingle);
  THypothesisResult h1, h2;
  double p1, p2;
  TTwoElmReal c1, c2;
  EXPECT_EQ(WilcoxonSign(xd, yd, h1, p1, c1, htTwoTailed, 0.05),
            WilcoxonSign(xs, yd, h2, p2, c2, htTwoTailed, 0.05));  // mixed precisions too
  EXPECT_EQ(p1, p2);
  EXPECT_EQ(MannWhitneyTest(xd, yd, h1, p1, c1, htTwoTailed, 0.05, false),
            MannWhitneyTest(xs, ys, h2, p2, c2, htTwoTailed, 0.05, false));
  EXPECT_TRUE(Near(p1, p2, test::kTolConverged));  // the exact recursion runs in single precision
  double r1, r2;
  SpearmanRankCorr(xd, yd, r1, h1, p1, c1, htTwoTailed, 0.05);
  SpearmanRankCorr(xs, yd, r2, h2, p2, c2, htTwoTailed, 0.05);
  EXPECT_EQ(r1, r2);
}

}  // namespace
}  // namespace lumex
