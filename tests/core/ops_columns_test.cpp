// Column means of matrices.
#include <cmath>

#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex {
namespace {

// A plain sum of values about 1e9 rounds each partial sum to about 1e-7; the corrected second
// pass must recover the mean of the small parts.
TEST(MeanCols, KeepsTheDigitsOfColumnsFarFromZero) {
  const int rows = 1001;
  TMtx m(rows, 2);
  long double exact[2] = {0, 0};
  for (int i = 0; i < rows; ++i) {
    m(i, 0) = 1e9 + std::sin(0.37 * i) * 1e-3;
    m(i, 1) = i;
    for (int j = 0; j < 2; ++j) exact[j] += m(i, j);
  }
  TVec means;
  MeanCols(means, m);
  EXPECT_TRUE(test::Near(static_cast<double>(exact[0] / rows), means[0], test::kTolExact));
  EXPECT_EQ(means[1], 500.0);
  MeanCols(means, TMtx(0, 2));
  EXPECT_EQ(means.ToString(), "[NAN, NAN]");
}

}  // namespace
}  // namespace lumex
