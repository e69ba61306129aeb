// Parametric tests of location and scale.
#include <cmath>

#include "lumex/Statistics.h"

namespace lumex {

double tTest(const TVec& Data, double Mean, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  if (Data.Complex()) ERaise("tTest: Data.Complex = true");
  if (QuietLevelCheck(Alpha, hRes, Signif, &ConfInt)) return NaN;

  const double n = Data.Length();
  const double xbar = lumex::Mean(Data);
  const double se = StdDev(Data, xbar) / std::sqrt(n);
  const double t = (xbar - Mean) / se;
  const double df = n - 1.0;

  Signif = SignificanceByTail(StudentCDF(t, df), StudentCDFUpper(t, df), hType);
  const double halfWidth = StudentCDFInv(CriticalProbability(Alpha, hType), df) * se;
  ConfInt = SymmetricConfInt(xbar, halfWidth, hType);
  hRes = Decide(Signif, Alpha, true, t);
  return t;
}

}  // namespace lumex
