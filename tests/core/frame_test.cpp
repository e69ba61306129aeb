// The call frame: significance by tail, the decision rule, level checks and interval ends.
#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex {
namespace {

TEST(Frame, SignificanceByTail) {
  EXPECT_EQ(SignificanceByTail(0.2, 0.8, htTwoTailed), 0.4);
  EXPECT_EQ(SignificanceByTail(0.9, 0.1, htTwoTailed), 0.2);
  EXPECT_EQ(SignificanceByTail(0.2, 0.8, htRightTailed), 0.8);
  EXPECT_EQ(SignificanceByTail(0.2, 0.8, htLeftTailed), 0.2);
  EXPECT_TRUE(std::isnan(SignificanceByTail(0.2, 0.8, static_cast<THypothesisType>(9))));
}

TEST(Frame, DecisionRejectsAtEqualityAndReportsNonFinite) {
  EXPECT_EQ(Decide(0.05, 0.05), hrReject);
  EXPECT_EQ(Decide(0.0500001, 0.05), hrNotReject);
  EXPECT_EQ(Decide(NaN, 0.05), hrNan);
  EXPECT_EQ(Decide(Inf, 0.05), hrNan);
  EXPECT_EQ(Decide(0.01, 0.05, true, -Inf), hrNan);
  EXPECT_EQ(Decide(0.01, 0.05, false, NaN), hrReject);
  EXPECT_EQ(Decide(0.01, NaN), hrNotReject);
  EXPECT_EQ(Decide(0.0, 0.0), hrReject);  // a level of 0 rejects only a significance of 0
}

TEST(Frame, QuietLevelCheck) {
  THypothesisResult h = hrReject;
  double s = 0.5;
  TTwoElmReal ci{1.0, 2.0};
  EXPECT_FALSE(QuietLevelCheck(0.05, h, s, &ci));
  EXPECT_FALSE(QuietLevelCheck(NaN, h, s, &ci));
  EXPECT_EQ(h, hrReject);
  EXPECT_TRUE(QuietLevelCheck(1.0, h, s, &ci));
  EXPECT_EQ(h, hrNan);
  EXPECT_TRUE(std::isnan(s) && std::isnan(ci[0]) && std::isnan(ci[1]));
  TTwoElmReal kept{1.0, 2.0};
  EXPECT_TRUE(QuietLevelCheck(0.0, h, s, nullptr));
  EXPECT_EQ(kept[0], 1.0);
}

TEST(Frame, IntervalEndsByTail) {
  EXPECT_EQ(CriticalProbability(0.1, htTwoTailed), 0.95);
  EXPECT_EQ(CriticalProbability(0.1, htLeftTailed), 0.9);
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htTwoTailed), (TTwoElmReal{4.0, 6.0}));
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htRightTailed), (TTwoElmReal{-Inf, 6.0}));
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htLeftTailed), (TTwoElmReal{4.0, Inf}));
}

TEST(Frame, IsNanInf) {
  EXPECT_TRUE(IsNanInf(NaN));
  EXPECT_TRUE(IsNanInf(-Inf));
  EXPECT_FALSE(IsNanInf(1e308));
  EXPECT_FALSE(IsNanInf(0.0));
}

}  // namespace
}  // namespace lumex
