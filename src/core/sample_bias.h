// Internal: the bias factor c4 of the sample standard deviation, which the control charts use.
#pragma once

#include "lumex/core/probability.h"
#include "lumex/core/types.h"

namespace lumex::detail {

// c4(n) = sqrt(2/(n-1)) Gamma(n/2) / Gamma((n-1)/2), so that E s = c4 sigma for n normal
// observations; NaN for n < 2. The gamma ratio is sqrt((n-1) pi) times the density at 0 of
// Student's t law with n - 1 degrees of freedom, so c4(n) = sqrt(2 pi) f(0; n - 1): the core
// evaluates that density through the beta function as one quantity, which neither overflows nor
// loses digits for large n (where c4 -> 1 - 1/(4n)).
inline double C4(int n) { return n < 2 ? NaN : SQRT2PI * StudentPDF(0.0, n - 1.0); }

}  // namespace lumex::detail
