// Load and unload of the Regress module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmRegress); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmRegress); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
