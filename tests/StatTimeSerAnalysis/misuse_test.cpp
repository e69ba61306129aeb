// Arguments users pass by mistake: lag counts and horizons that cannot be served raise one
// message naming the function and the parameter before anything is allocated.
#include <limits>

#include "lumex/StatTimeSerAnalysis.h"
#include "lumex_test.h"

namespace lumex {
namespace {

constexpr int kMax = std::numeric_limits<int>::max();

TEST(Misuse, SizesPastTheAllocationLimitRaiseBeforeAllocating) {
  const test::TAllocationLimit limit;  // 1 GiB
  const TVec y{1, 3, 2, 5, 4, 6, 5, 8};
  TVec out;
  double alpha = 0.5, gamma = 0.5, beta = 0.5, mse = 0.0;
  test::ExpectMessages({
      {[&] { AutoCov(y, out, kMax); }, "AutoCov: NumLags too large"},
      {[&] { ACF(y, out, 300000000); }, "ACF: NumLags too large"},
      {[&] { SingleExpForecast(y, out, 0.5, kMax, 0); }, "SingleExpForecast: T too large"},
      {[&] { SingleExpForecast(y, out, alpha, kMax, mse, 0); }, "SingleExpForecast: T too large"},
      {[&] { DoubleExpForecast(y, out, 0.5, 0.5, kMax, 0); }, "DoubleExpForecast: T too large"},
      {[&] { DoubleExpForecast(y, out, alpha, gamma, kMax, mse, 0); },
       "DoubleExpForecast: T too large"},
      {[&] { TripleExpForecast(y, out, 0.5, 0.5, 0.5, kMax, 2); },
       "TripleExpForecast: T too large"},
      {[&] { TripleExpForecast(y, out, alpha, beta, gamma, kMax, mse, 2); },
       "TripleExpForecast: T too large"},
  });
}

// The moving average written over its own input gives what a distinct output gives (it once
// read the input after overwriting it and raised "Index out of range").
TEST(Misuse, MovingAverageOverItsOwnInput) {
  const TVec y{1, 3, 2, 5, 4, 6, 5, 8};
  for (const bool centred : {false, true}) {
    TVec distinct, same = y;
    int lag = 0, sameLag = 0;
    const double mse = MovingAverage(y, 4, distinct, lag, centred);
    EXPECT_EQ(MovingAverage(same, 4, same, sameLag, centred), mse);
    EXPECT_EQ(sameLag, lag);
    ASSERT_EQ(same.Length(), distinct.Length());
    for (int i = 0; i < same.Length(); ++i) EXPECT_EQ(same[i], distinct[i]) << i;
  }
}

}  // namespace
}  // namespace lumex
