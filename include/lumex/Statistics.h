// The Statistics module: descriptive statistics, hypothesis tests, distribution fitting,
// multivariate analysis and designs.
//
// Every function checks its arguments and raises ELumexError with a fixed message when one is
// unusable; numerically undefined results are NaN or infinite, and a test reports them as hrNan.
// Outputs are sized by the function.
#pragma once

#include "lumex/core/core.h"

namespace lumex {

// ---- Parametric tests -------------------------------------------------------------------------

// One-sample t-test of H0: the mean of Data equals Mean. Returns the t statistic
// (mean(Data) - Mean) / (s / sqrt(n)) with n - 1 degrees of freedom; writes the decision at
// level Alpha, the significance for the tail hType, and the confidence interval for the
// population mean around the sample mean (two-sided, or open towards -Inf for htRightTailed
// and towards +Inf for htLeftTailed).
// A complex Data raises "tTest: Data.Complex = true". Alpha outside (0, 1) is not an error:
// hRes = hrNan, Signif and both interval ends NaN, and the result is NaN. A non-finite t or
// significance gives hrNan.
double tTest(const TVec& Data, double Mean, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, THypothesisType hType, double Alpha);

}  // namespace lumex
