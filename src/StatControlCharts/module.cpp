// Load and unload of the StatControlCharts module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmStatControlCharts); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmStatControlCharts); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
