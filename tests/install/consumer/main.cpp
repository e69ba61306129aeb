// Links against an installed Lumex and checks that a core operation, a test of the Statistics
// module and the library exception all work across the shared-library boundary.
#include <cmath>
#include <cstdio>
#include <string>

#include <lumex/Statistics.h>
#include <lumex/core/ops.h>

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "consumer: FAILED: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  const lumex::TVec x{4.9, 5.1, 5.3, 4.8, 5.2, 5.0};
  const double mean = lumex::Mean(x);
  Check(std::fabs(mean - 5.05) < 1e-12, "Mean");

  lumex::THypothesisResult hRes = lumex::hrNan;
  double signif = lumex::NaN;
  lumex::TTwoElmReal ci{lumex::NaN, lumex::NaN};
  const double t = lumex::tTest(x, 5.0, hRes, signif, ci, lumex::htTwoTailed, 0.05);
  Check(std::isfinite(t) && t > 0.0, "tTest statistic");
  Check(signif > 0.0 && signif < 1.0, "tTest significance");
  Check(hRes == lumex::hrNotReject, "tTest decision");
  Check(ci[0] < mean && mean < ci[1], "tTest interval");

  lumex::TVec complexData;
  complexData.Size(3, lumex::fpDouble, true);
  try {
    lumex::tTest(complexData, 0.0, hRes, signif, ci, lumex::htTwoTailed, 0.05);
    Check(false, "tTest accepted complex data");
  } catch (const lumex::ELumexError& e) {
    Check(std::string(e.what()) == "tTest: Data.Complex = true", "exception message");
  }

  if (failures == 0)
    std::printf("consumer: ok (t = %.6f, p = %.6f)\n", t, signif);
  return failures == 0 ? 0 : 1;
}
