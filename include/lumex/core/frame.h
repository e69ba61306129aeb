// The call frame shared by every hypothesis test: the tail of the alternative, the decision,
// the level check, the significance by tail and the ends of a confidence interval.
#pragma once

#include <array>
#include <cstdint>

#include "lumex/core/types.h"

namespace lumex {

// The alternative hypothesis: two-sided, greater (upper tail of the statistic), less (lower).
// Every test of the modules raises "<Test>: unknown hType" for another value; the routines of
// this header answer NaN (SignificanceByTail) or treat it as one-tailed.
enum THypothesisType : std::uint8_t { htTwoTailed, htRightTailed, htLeftTailed };

// The decision at level Alpha. hrNan: no decision, because Alpha is outside (0, 1) in a test
// that checks it quietly, or because the significance (or the statistic) is NaN or infinite.
enum THypothesisResult : std::uint8_t { hrNotReject, hrReject, hrNan };

// A confidence interval: element 0 the lower bound, element 1 the upper bound.
using TTwoElmReal = std::array<double, 2>;

// Significance of a statistic whose lower-tail probability under the null hypothesis is
// `lower` (= CDF(S)) and upper-tail probability is `upper` (= 1 - CDF(S), computed directly
// where the caller can, so that small right-tail significances keep their digits):
//   htTwoTailed   2 * min(lower, upper)
//   htRightTailed upper
//   htLeftTailed  lower
LUMEX_API double SignificanceByTail(double lower, double upper, THypothesisType hType);

// The decision rule. hrNan when Signif (or, with checkStatistic, the statistic) is NaN or
// infinite; otherwise hrReject when Alpha >= Signif (a significance equal to Alpha rejects),
// else hrNotReject. A NaN Alpha therefore never rejects.
LUMEX_API THypothesisResult Decide(double Signif, double Alpha, bool checkStatistic = false,
                                   double statistic = 0.0);

// True when Alpha lies strictly inside (0, 1); false for NaN as well.
inline bool AlphaInRange(double Alpha) { return Alpha > 0.0 && Alpha < 1.0; }

// True when Alpha is unusable for the tests that check their level: Alpha <= 0 or Alpha >= 1.
// A NaN Alpha passes (each comparison with NaN is false) and later never rejects.
inline bool AlphaOutOfRange(double Alpha) { return Alpha <= 0.0 || Alpha >= 1.0; }

// The quiet level check: when Alpha <= 0 or Alpha >= 1 it writes the no-decision outputs
// (hrNan, NaN significance and, when given, a NaN interval) and returns true, and the test
// returns at once.
LUMEX_API bool QuietLevelCheck(double Alpha, THypothesisResult& hRes, double& Signif,
                               TTwoElmReal* ConfInt);

// Probability at which the critical quantile of a test with the given tail is taken:
// 1 - Alpha/2 for htTwoTailed, 1 - Alpha for the one-tailed types.
LUMEX_API double CriticalProbability(double Alpha, THypothesisType hType);

// Interval for a location with a symmetric statistic: estimate -+ halfWidth for htTwoTailed,
// (-Inf, estimate + halfWidth] for htRightTailed, [estimate - halfWidth, +Inf) for htLeftTailed.
LUMEX_API TTwoElmReal SymmetricConfInt(double estimate, double halfWidth, THypothesisType hType);

// Module load counters. Each module decrements its counter when it is loaded and increments it
// when it is unloaded, so a loaded module reads -1 (or less when loaded more than once).
enum TLumexModule : std::uint8_t {
  lmStatistics,
  lmStatRandom,
  lmRegress,
  lmRegModels,
  lmStatTimeSerAnalysis,
  lmStatProbPlots,
  lmStatControlCharts
};
// A value outside TLumexModule is ignored (the counter reads 0).
LUMEX_API void ModuleStartup(TLumexModule module) noexcept;
LUMEX_API void ModuleShutdown(TLumexModule module) noexcept;
LUMEX_API int ModuleInitCounter(TLumexModule module) noexcept;

}  // namespace lumex
