// One-sample t-test against R's t.test, and the behaviours of the call frame it shows.
#include <map>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

std::map<int, TVec> ReadSamples() {
  const test::TRefTable data = test::ReadRefTable("Statistics/ttest_one_sample_data.txt");
  std::map<int, std::vector<double>> values;
  for (const auto& row : data.rows) values[static_cast<int>(row[0])].push_back(row[1]);
  std::map<int, TVec> samples;
  for (const auto& [k, v] : values) samples.emplace(k, TVec(v));
  return samples;
}

TEST(TTestOneSample, AgreesWithR) {
  const std::map<int, TVec> samples = ReadSamples();
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
    EXPECT_TRUE(Near(r[ref.Col("t")], t, 1e-12));
    EXPECT_TRUE(Near(r[ref.Col("signif")], signif, 1e-12, 1e-14));
    EXPECT_TRUE(Near(r[ref.Col("lower")], ci[0], 1e-12));
    EXPECT_TRUE(Near(r[ref.Col("upper")], ci[1], 1e-12));
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

TEST(TTestOneSample, ConstantDataGivesInfiniteStatisticAndNoDecision) {
  const TVec x{2.0, 2.0, 2.0, 2.0};
  THypothesisResult hRes = hrReject;
  double signif;
  TTwoElmReal ci;
  const double t = tTest(x, 1.0, hRes, signif, ci, htTwoTailed, 0.05);
  EXPECT_EQ(t, Inf);
  EXPECT_EQ(hRes, hrNan);
  EXPECT_EQ(ci[0], 2.0);
  EXPECT_EQ(ci[1], 2.0);
}

class TTestAlphaOutside : public ::testing::TestWithParam<double> {};

TEST_P(TTestAlphaOutside, GivesNanWithoutRaising) {
  const TVec x{1.0, 2.0, 4.0};
  THypothesisResult hRes = hrReject;
  double signif = 0.0;
  TTwoElmReal ci{0.0, 0.0};
  const double t = tTest(x, 0.0, hRes, signif, ci, htTwoTailed, GetParam());
  EXPECT_TRUE(std::isnan(t));
  EXPECT_EQ(hRes, hrNan);
  EXPECT_TRUE(std::isnan(signif));
  EXPECT_TRUE(std::isnan(ci[0]));
  EXPECT_TRUE(std::isnan(ci[1]));
}

INSTANTIATE_TEST_SUITE_P(Levels, TTestAlphaOutside, ::testing::Values(0.0, 1.0, -0.5, 2.0, Inf));

TEST(TTestOneSample, NanAlphaNeverRejects) {
  const TVec x{1.0, 2.0, 4.0, 8.0};
  THypothesisResult hRes = hrReject;
  double signif;
  TTwoElmReal ci;
  tTest(x, 100.0, hRes, signif, ci, htTwoTailed, NaN);
  EXPECT_EQ(hRes, hrNotReject);
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

TEST(TTestOneSample, DegenerateSizesGiveNoDecision) {
  THypothesisResult hRes;
  double signif;
  TTwoElmReal ci;
  for (const TVec& x : {TVec(), TVec{3.0}, TVec{1.0, NaN, 2.0}}) {
    const double t = tTest(x, 0.0, hRes, signif, ci, htTwoTailed, 0.05);
    EXPECT_TRUE(std::isnan(t));
    EXPECT_EQ(hRes, hrNan);
  }
}

TEST(TTestOneSample, SinglePrecisionDataMatchesDouble) {
  const TVec xd{0.5, 1.25, 2.0, -0.75, 3.5};
  TVec xs;
  Convert(xs, xd, fpSingle);
  THypothesisResult h1, h2;
  double s1, s2;
  TTwoElmReal c1, c2;
  const double t1 = tTest(xd, 0.25, h1, s1, c1, htTwoTailed, 0.05);
  const double t2 = tTest(xs, 0.25, h2, s2, c2, htTwoTailed, 0.05);
  EXPECT_TRUE(Near(t1, t2, 1e-15));  // these values are exact in single precision
  EXPECT_TRUE(Near(s1, s2, 1e-15));
}

}  // namespace
}  // namespace lumex
