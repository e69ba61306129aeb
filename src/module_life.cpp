// Load and unload of the seven modules of the stats library. A module's only state is its load
// counter: loading the library counts every module in, unloading it counts them out again.
#include "lumex/core/frame.h"

namespace {

constexpr lumex::TLumexModule kModules[] = {
    lumex::lmStatistics,       lumex::lmStatRandom,          lumex::lmRegress,
    lumex::lmRegModels,        lumex::lmStatTimeSerAnalysis, lumex::lmStatProbPlots,
    lumex::lmStatControlCharts};

struct TModulesLife {
  TModulesLife() noexcept {
    for (const auto m : kModules) lumex::ModuleStartup(m);
  }
  ~TModulesLife() {
    for (const auto m : kModules) lumex::ModuleShutdown(m);
  }
  TModulesLife(const TModulesLife&) = delete;
  TModulesLife& operator=(const TModulesLife&) = delete;
};
const TModulesLife gLife;

}  // namespace
