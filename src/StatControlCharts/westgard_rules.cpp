// The Westgard multi-rule evaluation of a series of control measurements.
#include <cmath>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/StatControlCharts.h"

namespace lumex {

namespace {

// Rule codes, added in this order.
enum : int {
  kRule13s = 1,   // one value beyond 3 sigma
  kRule12s = 2,   // one value beyond 2 sigma (the warning rule)
  kRule22s = 4,   // two successive values beyond 2 sigma on the same side
  kRuleTwo2s = 8, // two successive values beyond 2 sigma, either side
  kRule41s = 16,  // four successive values beyond 1 sigma on the same side
  kRule10x = 32   // ten successive values on the same side of the mean
};

// Codes of the n values x, computed in T: for single-precision data the target and sigma are
// rounded to single precision, and so are the deviations and limits compared.
template <class T>
void Codes(const T* x, T* code, int n, T m, T s) {
  const T s2 = T(2) * s;
  const T s3 = T(3) * s;
  // Lengths of the current runs of values above / below the mean and beyond +-1 sigma.
  int above = 0, below = 0, high1 = 0, low1 = 0;
  for (int i = 0; i < n; ++i) {
    const T d = x[i] - m;
    above = x[i] > m ? above + 1 : 0;
    below = x[i] < m ? below + 1 : 0;
    high1 = d > s ? high1 + 1 : 0;
    low1 = -d > s ? low1 + 1 : 0;
    int c = 0;
    if (std::fabs(d) > s3) c += kRule13s;
    if (std::fabs(d) > s2) c += kRule12s;
    if (i >= 1) {
      const T dp = x[i - 1] - m;
      if ((d > s2 && dp > s2) || (-d > s2 && -dp > s2)) c += kRule22s;
      if (std::fabs(d) > s2 && std::fabs(dp) > s2) c += kRuleTwo2s;
    }
    if (high1 >= 4 || low1 >= 4) c += kRule41s;
    if (above >= 10 || below >= 10) c += kRule10x;
    code[i] = static_cast<T>(c);
  }
}

}  // namespace

void QCWestgardRules(const TVec& DataIn, TVec& Results, double Mean, double Sigma) {
  TVec copy;
  const TVec& Data = detail::Unaliased(DataIn, copy, {&Results});
  if (Data.Complex()) ERaise("QCWestgardRules: (Data.Complex)");
  Results.Size(Data.Length(), Data.FloatPrecision());
  Results.SetZero();
  detail::DispatchReal(Data, "QCWestgardRules", [&](const auto* x) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(x)>>;
    Codes(x, Results.Data<T>(), Data.Length(), static_cast<T>(Mean), static_cast<T>(Sigma));
  });
}

}  // namespace lumex
