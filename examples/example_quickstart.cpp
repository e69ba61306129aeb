// The first program of the manual's front page: a one-sample t-test.
// [quickstart]
#include <cstdio>
#include <lumex/Statistics.h>

int main() {
  lumex::TVec x{5.1, 4.9, 5.3, 5.0, 4.8, 5.2};
  lumex::THypothesisResult hRes;
  double signif;
  lumex::TTwoElmReal ci;
  double t = lumex::tTest(x, 0.0, hRes, signif, ci, lumex::htTwoTailed, 0.05);
  std::printf("t = %g, p = %g, 95%% CI [%g, %g], reject: %d\n", t, signif, ci[0], ci[1],
              hRes == lumex::hrReject);
}
// [quickstart]
