// The call frame: significance by tail, the decision rule, level checks and interval ends.
#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex {
namespace {

#define V LUMEX_VALUE  // a table entry named by its expression

TEST(Frame, SignificanceByTail) {
  test::ExpectAllEqual({V(0.4, SignificanceByTail(0.2, 0.8, htTwoTailed)),
                        V(0.2, SignificanceByTail(0.9, 0.1, htTwoTailed)),
                        V(0.8, SignificanceByTail(0.2, 0.8, htRightTailed)),
                        V(0.2, SignificanceByTail(0.2, 0.8, htLeftTailed)),
                        V(NaN, SignificanceByTail(0.2, 0.8, static_cast<THypothesisType>(9)))});
}

TEST(Frame, DecisionRejectsAtEqualityAndReportsNonFinite) {
  test::ExpectAllEqual({V(hrReject, Decide(0.05, 0.05)), V(hrNotReject, Decide(0.0500001, 0.05)),
                        V(hrNan, Decide(NaN, 0.05)), V(hrNan, Decide(Inf, 0.05)),
                        V(hrNan, Decide(0.01, 0.05, true, -Inf)),
                        V(hrReject, Decide(0.01, 0.05, false, NaN)),
                        V(hrNotReject, Decide(0.01, NaN)),
                        // a level of 0 rejects only a significance of 0
                        V(hrReject, Decide(0.0, 0.0))});
}

TEST(Frame, QuietLevelCheck) {
  THypothesisResult h = hrReject;
  double s = 0.5;
  TTwoElmReal ci{1.0, 2.0};
  EXPECT_FALSE(QuietLevelCheck(0.05, h, s, &ci));
  EXPECT_FALSE(QuietLevelCheck(NaN, h, s, &ci));
  EXPECT_EQ(h, hrReject);
  EXPECT_TRUE(QuietLevelCheck(1.0, h, s, &ci));
  test::ExpectAllEqual({V(hrNan, h), V(NaN, s), V(NaN, ci[0]), V(NaN, ci[1])});
  EXPECT_TRUE(QuietLevelCheck(0.0, h, s, nullptr));
}

TEST(Frame, IntervalEndsByTail) {
  EXPECT_EQ(CriticalProbability(0.1, htTwoTailed), 0.95);
  EXPECT_EQ(CriticalProbability(0.1, htLeftTailed), 0.9);
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htTwoTailed), (TTwoElmReal{4.0, 6.0}));
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htRightTailed), (TTwoElmReal{-Inf, 6.0}));
  EXPECT_EQ(SymmetricConfInt(5.0, 1.0, htLeftTailed), (TTwoElmReal{4.0, Inf}));
  EXPECT_TRUE(IsNanInf(NaN) && IsNanInf(-Inf));
  EXPECT_FALSE(IsNanInf(1e308) || IsNanInf(0.0));
}

#undef V

}  // namespace
}  // namespace lumex
