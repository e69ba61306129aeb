// Shapiro-Wilk and Shapiro-Francia tests against R's shapiro.test and the library's
// transformations applied to R's quantities.
#include <map>
#include <string>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

using TShapiro = double (*)(const TVec&, THypothesisResult&, double&, THypothesisType, double);
constexpr TShapiro kTests[] = {ShapiroWilks, ShapiroFrancia};

TEST(ShapiroTests, AgreeWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/normality_tests_data.txt");
  const test::TRefTable ref = test::ReadRefTable("Statistics/normality_tests.txt");
  ASSERT_EQ(ref.rows.size(), 36U);
  for (const auto& r : ref.rows) {
    const int which = static_cast<int>(r[0]);
    const TVec& x = samples.at(static_cast<int>(r[1]));
    ASSERT_EQ(x.Length(), r[2]);
    for (const THypothesisType ht : {htTwoTailed, htRightTailed, htLeftTailed}) {
      SCOPED_TRACE(::testing::Message() << "test " << which << " n " << r[2] << " tail " << ht);
      THypothesisResult h = hrReject;
      double p = 0.0;
      const double w = kTests[which](x, h, p, ht, 0.05);
      EXPECT_TRUE(Near(r[ref.Col("w")], w, test::kTolCertified13));
      EXPECT_TRUE(Near(r[ref.Col("signif" + std::to_string(ht))], p, test::kTolIterated, 1e-14));
      EXPECT_EQ(h, std::isnan(p) ? hrNan : 0.05 >= p ? hrReject : hrNotReject);
    }
  }
}

class ShapiroInvariance : public ::testing::TestWithParam<TShapiro> {};

// The statistics depend on the ordered, standardised sample only.
TEST_P(ShapiroInvariance, UnderReorderingShiftAndScale) {
  const TVec x{3.1, -0.4, 2.2, 5.7, 0.9, 1.6, 4.4, 2.8, -1.3, 3.3, 0.2, 1.1, 2.5};
  TVec shuffled{2.2, 5.7, 3.1, 1.1, -0.4, 0.9, 2.5, 1.6, 4.4, 2.8, 0.2, -1.3, 3.3};
  TVec scaled;
  Copy(scaled, x);
  Mul(scaled, 7.5);
  Add(scaled, -100.0);
  THypothesisResult h;
  double p0, p1, p2;
  const double w0 = GetParam()(x, h, p0, htRightTailed, 0.05);
  EXPECT_EQ(w0, GetParam()(shuffled, h, p1, htRightTailed, 0.05));
  EXPECT_TRUE(Near(w0, GetParam()(scaled, h, p2, htRightTailed, 0.05), test::kTolSummed));
  EXPECT_TRUE(Near(p0, p2, test::kTolRef));
}

TEST_P(ShapiroInvariance, OneTailedAddUpToOneAndTwoTailedIsTheSmaller) {
  const TVec x{1.0, 1.5, 2.0, 2.0, 3.0, 4.5, 7.0, 11.0, 2.5, 3.5, 1.2, 0.8, 6.0, 2.2};
  THypothesisResult h;
  double right, left, two;
  GetParam()(x, h, right, htRightTailed, 0.05);
  GetParam()(x, h, left, htLeftTailed, 0.05);
  GetParam()(x, h, two, htTwoTailed, 0.05);
  EXPECT_TRUE(Near(1.0, right + left, test::kTolExact));
  EXPECT_EQ(two, std::min(right, left));
  EXPECT_LE(two, 0.5);
}

TEST_P(ShapiroInvariance, SinglePrecisionDataMatchDouble) {
  const TVec xd{0.5, 1.25, 2.0, -0.75, 3.5, 0.25, 1.0, 1.75, -0.5, 2.25, 0.75, 1.5};
  TVec xs;
  Convert(xs, xd, fpSingle);
  THypothesisResult h;
  double pd, ps;
  EXPECT_EQ(GetParam()(xd, h, pd, htRightTailed, 0.05), GetParam()(xs, h, ps, htRightTailed, 0.05));
  EXPECT_EQ(pd, ps);
}

TEST_P(ShapiroInvariance, UndefinedStatisticsGiveNoDecision) {
  THypothesisResult h = hrReject;
  double p = 0.0;
  for (const TVec& x : {TVec{2.0, 2.0, 2.0, 2.0}, TVec{1.0, NaN, 3.0, 4.0}}) {
    EXPECT_TRUE(IsNanInf(GetParam()(x, h, p, htRightTailed, 0.05))) << x.ToString();
    EXPECT_EQ(h, hrNan);
  }
}

INSTANTIATE_TEST_SUITE_P(WilkAndFrancia, ShapiroInvariance,
                         ::testing::Values(ShapiroWilks, ShapiroFrancia));

TEST(ShapiroWilks, SwitchesTransformationBetween11And12) {
  // Twelve values and the first eleven of them: n = 11 takes the polynomials in ln n of the
  // small-sample transformation, n = 12 the large-sample one.
  const TVec x12{0.3, -1.2, 0.8, 1.9, -0.4, 0.1, 2.6, -0.9, 1.1, 0.5, -2.0, 1.4};
  TVec x11(11);
  Copy(x11, x12, 0, 0, 11);
  THypothesisResult h;
  for (const TVec* x : {static_cast<const TVec*>(&x11), &x12}) {
    double p;
    const double w = ShapiroWilks(*x, h, p, htLeftTailed, 0.05);
    const double n = x->Length();
    const double l = std::log(n);
    double z;
    if (n <= 11) {
      const double y = -std::log(-2.273 + 0.459 * l - std::log(1.0 - w));
      z = (y - (0.544 - 0.39978 * l + 0.025054 * l * l - 0.0006714 * l * l * l)) /
          std::exp(1.3822 - 0.77857 * l + 0.062767 * l * l - 0.0020322 * l * l * l);
    } else {
      z = (std::log(1.0 - w) - (-1.5861 - 0.31082 * l - 0.083751 * l * l + 0.0038915 * l * l * l)) /
          std::exp(-0.4803 - 0.082676 * l + 0.0030302 * l * l);
    }
    EXPECT_TRUE(Near(NormalCDF(z), p, test::kTolCertified13)) << n;
  }
}

TEST(ShapiroTests, Messages) {
  TVec c;
  c.Size(4, fpDouble, true);
  c.SetZero();
  THypothesisResult h;
  double p;
  EXPECT_LUMEX_ERROR(ShapiroWilks(c, h, p, htTwoTailed, 0.05), "ShapiroWilks: Data.Complex");
  EXPECT_LUMEX_ERROR(ShapiroFrancia(c, h, p, htTwoTailed, 0.05), "ShapiroFrancia: Data.Complex");
  TVec big(5001);
  Ramp(big, 0.0, 1.0);
  for (const TVec& x : {TVec{1.0, 2.0}, big}) {
    EXPECT_LUMEX_ERROR(ShapiroWilks(x, h, p, htTwoTailed, 0.05),
                       "ShapiroWilks: (Data.Length<3) or (Data.Length>5000)");
  }
  // Shapiro-Francia takes any length; with fewer than two values nothing is defined.
  for (const TVec& x : {TVec(), TVec{1.0}}) {
    ShapiroFrancia(x, h, p, htTwoTailed, 0.05);
    EXPECT_EQ(h, hrNan);
  }
}

}  // namespace
}  // namespace lumex
