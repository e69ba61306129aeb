// Load and unload of the StatTimeSerAnalysis module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmStatTimeSerAnalysis); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmStatTimeSerAnalysis); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
