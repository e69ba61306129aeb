// Load and unload of the Statistics module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmStatistics); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmStatistics); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
