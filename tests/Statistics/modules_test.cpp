// Module load counters of the stats library.
#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

TEST(Modules, EachModuleCountsItsLoad) {
  // Referencing a function keeps the library linked in.
  THypothesisResult h;
  double s;
  TTwoElmReal ci;
  tTest(TVec{1.0, 2.0}, 0.0, h, s, ci, htTwoTailed, 0.05);
  for (auto m : {lmStatistics, lmStatRandom, lmRegress, lmRegModels, lmStatTimeSerAnalysis,
                 lmStatProbPlots, lmStatControlCharts}) {
    EXPECT_EQ(ModuleInitCounter(m), -1) << "module " << int(m);
  }
}

}  // namespace
}  // namespace lumex
