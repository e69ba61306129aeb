// The call frame of the hypothesis tests.
#include "lumex/core/frame.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace lumex {

double SignificanceByTail(double lower, double upper, THypothesisType hType) {
  switch (hType) {
    case htRightTailed:
      return upper;
    case htLeftTailed:
      return lower;
    case htTwoTailed:
      return 2.0 * std::min(lower, upper);
  }
  return NaN;  // not a valid tail
}

THypothesisResult Decide(double Signif, double Alpha, bool checkStatistic, double statistic) {
  if (IsNanInf(Signif) || (checkStatistic && IsNanInf(statistic))) return hrNan;
  return Alpha >= Signif ? hrReject : hrNotReject;
}

bool QuietLevelCheck(double Alpha, THypothesisResult& hRes, double& Signif,
                     TTwoElmReal* ConfInt) {
  if (!AlphaOutOfRange(Alpha)) return false;
  hRes = hrNan;
  Signif = NaN;
  if (ConfInt != nullptr) *ConfInt = {NaN, NaN};
  return true;
}

double CriticalProbability(double Alpha, THypothesisType hType) {
  return hType == htTwoTailed ? 1.0 - 0.5 * Alpha : 1.0 - Alpha;
}

TTwoElmReal SymmetricConfInt(double estimate, double halfWidth, THypothesisType hType) {
  switch (hType) {
    case htRightTailed:
      return {-Inf, estimate + halfWidth};
    case htLeftTailed:
      return {estimate - halfWidth, Inf};
    case htTwoTailed:
      return {estimate - halfWidth, estimate + halfWidth};
  }
  return {NaN, NaN};
}

namespace {
std::atomic<int> gModuleCounters[7];

std::atomic<int>* Counter(TLumexModule module) {
  return module <= lmStatControlCharts ? &gModuleCounters[module] : nullptr;
}
}  // namespace

void ModuleStartup(TLumexModule module) noexcept {
  if (auto* c = Counter(module)) c->fetch_sub(1);
}

void ModuleShutdown(TLumexModule module) noexcept {
  if (auto* c = Counter(module)) c->fetch_add(1);
}

int ModuleInitCounter(TLumexModule module) noexcept {
  const auto* c = Counter(module);
  return c != nullptr ? c->load() : 0;
}

}  // namespace lumex
