/// @file
/// The call frame shared by every hypothesis test: the tail of the alternative, the decision,
/// the level check, the significance by tail and the ends of a confidence interval.
#pragma once

#include <array>
#include <cstdint>

#include "lumex/core/types.h"

namespace lumex {

/// @name Hypotheses and decisions
/// @{

/// The alternative hypothesis.
///
/// Every test of the modules raises "<Test>: unknown hType" for another value; of the routines
/// of this header, SignificanceByTail answers NaN, SymmetricConfInt a NaN interval and
/// CriticalProbability treats it as one-tailed.
enum THypothesisType : std::uint8_t {
  htTwoTailed,    ///< Two-sided: the parameter differs from its null value.
  htRightTailed,  ///< Greater: the upper tail of the statistic.
  htLeftTailed    ///< Less: the lower tail of the statistic.
};

/// The decision at level Alpha.
enum THypothesisResult : std::uint8_t {
  hrNotReject,  ///< The significance exceeds Alpha: the null hypothesis is not rejected.
  hrReject,     ///< Alpha >= significance: the null hypothesis is rejected.
  /// No decision: Alpha is outside (0, 1) in a test that checks it quietly, or the
  /// significance (or the statistic) is NaN or infinite.
  hrNan
};

/// A confidence interval: element 0 the lower bound, element 1 the upper bound.
using TTwoElmReal = std::array<double, 2>;

/// Significance of a statistic from its two tail probabilities under the null hypothesis.
///
///     htTwoTailed   2 * min(lower, upper)
///     htRightTailed upper
///     htLeftTailed  lower
/// @param lower  lower-tail probability, CDF(S).
/// @param upper  upper-tail probability, 1 - CDF(S), computed directly where the caller can,
///               so that small right-tail significances keep their digits.
/// @param hType  the alternative.
/// @return       the significance; NaN for a value outside THypothesisType.
///
/// NaN/Inf: one-tailed types return their tail as given; htTwoTailed takes std::min, so a NaN
/// lower gives NaN but a NaN upper gives 2 * lower.
LUMEX_API double SignificanceByTail(double lower, double upper, THypothesisType hType);

/// The decision rule.
///
/// hrNan when Signif (or, with checkStatistic, the statistic) is NaN or infinite; otherwise
/// hrReject when Alpha >= Signif (a significance equal to Alpha rejects), else hrNotReject.
/// @param Signif          the significance (p-value).
/// @param Alpha           the level.
/// @param checkStatistic  also answer hrNan for a non-finite statistic.
/// @param statistic       the test statistic, read only when checkStatistic is true.
/// @return                the decision.
///
/// NaN/Inf: a NaN Alpha never rejects (hrNotReject for a finite Signif).
LUMEX_API THypothesisResult Decide(double Signif, double Alpha, bool checkStatistic = false,
                                   double statistic = 0.0);

/// True when Alpha lies strictly inside (0, 1); false for NaN as well.
/// @param Alpha  the level.
/// @return       0 < Alpha < 1.
inline bool AlphaInRange(double Alpha) { return Alpha > 0.0 && Alpha < 1.0; }

/// True when Alpha is unusable for the tests that check their level: Alpha <= 0 or Alpha >= 1.
///
/// Not the negation of AlphaInRange: a NaN Alpha passes (each comparison with NaN is false)
/// and later never rejects.
/// @param Alpha  the level.
/// @return       Alpha <= 0 || Alpha >= 1.
inline bool AlphaOutOfRange(double Alpha) { return Alpha <= 0.0 || Alpha >= 1.0; }

/// The quiet level check of the tests that answer "no decision" for an unusable level.
///
/// When AlphaOutOfRange(Alpha), it writes the no-decision outputs (hrNan, NaN significance
/// and, when given, a NaN interval) and returns true, and the test returns at once; otherwise
/// it writes nothing.
/// @param Alpha         the level.
/// @param[out] hRes     hrNan when the level is out of range.
/// @param[out] Signif   NaN when the level is out of range.
/// @param[out] ConfInt  {NaN, NaN} when the level is out of range; may be null.
/// @return              true when the level is out of range.
///
/// NaN/Inf: a NaN Alpha is not out of range (false, outputs untouched).
LUMEX_API bool QuietLevelCheck(double Alpha, THypothesisResult& hRes, double& Signif,
                               TTwoElmReal* ConfInt);

/// Probability at which the critical quantile of a test with the given tail is taken.
/// @param Alpha  the level.
/// @param hType  the alternative.
/// @return       1 - Alpha/2 for htTwoTailed, 1 - Alpha for the one-tailed types (and for a
///               value outside THypothesisType).
LUMEX_API double CriticalProbability(double Alpha, THypothesisType hType);

/// Interval for a location with a symmetric statistic.
///
/// estimate -+ halfWidth for htTwoTailed, (-Inf, estimate + halfWidth] for htRightTailed,
/// [estimate - halfWidth, +Inf) for htLeftTailed.
/// @param estimate   the point estimate.
/// @param halfWidth  critical value times standard error.
/// @param hType      the alternative.
/// @return           {lower, upper}; {NaN, NaN} for a value outside THypothesisType.
LUMEX_API TTwoElmReal SymmetricConfInt(double estimate, double halfWidth, THypothesisType hType);

/// @}

/// @name Module load counters
/// The stats library counts its seven modules in when it is loaded and out when it is unloaded.
/// Each module decrements its counter when it is loaded and increments it when it is unloaded,
/// so a loaded module reads -1 (or less when loaded more than once).
/// @{

/// The modules that keep a load counter.
enum TLumexModule : std::uint8_t {
  lmStatistics,           ///< Statistics: descriptive statistics, fitting and tests.
  lmStatRandom,           ///< StatRandom: random variate generators.
  lmRegress,              ///< Regress: regression fits and analysis of variance.
  lmRegModels,            ///< RegModels: ready-made regression models.
  lmStatTimeSerAnalysis,  ///< StatTimeSerAnalysis: time-series analysis and forecasting.
  lmStatProbPlots,        ///< StatProbPlots: coordinates of probability plots.
  lmStatControlCharts     ///< StatControlCharts: control charts and capability indexes.
};
/// Records that `module` was loaded (decrements its counter). Thread-safe.
/// @param module  the module; a value outside TLumexModule is ignored.
LUMEX_API void ModuleStartup(TLumexModule module) noexcept;
/// Records that `module` was unloaded (increments its counter). Thread-safe.
/// @param module  the module; a value outside TLumexModule is ignored.
LUMEX_API void ModuleShutdown(TLumexModule module) noexcept;
/// The load counter of `module`.
/// @param module  the module.
/// @return        -1 per load not yet unloaded, 0 for a module never loaded and for a value
///                outside TLumexModule.
LUMEX_API int ModuleInitCounter(TLumexModule module) noexcept;

/// @}

}  // namespace lumex
