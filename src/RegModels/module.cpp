// Load and unload of the RegModels module: the module's only state is its load counter.
#include "lumex/core/frame.h"

namespace {
struct TModuleLife {
  TModuleLife() noexcept { lumex::ModuleStartup(lumex::lmRegModels); }
  ~TModuleLife() { lumex::ModuleShutdown(lumex::lmRegModels); }
  TModuleLife(const TModuleLife&) = delete;
  TModuleLife& operator=(const TModuleLife&) = delete;
};
const TModuleLife gLife;
}  // namespace
