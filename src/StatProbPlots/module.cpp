// Load and unload of the StatProbPlots module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmStatProbPlots); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmStatProbPlots); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
