// Fuzz target: the StatProbPlots module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/StatProbPlots.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(StatNormalPlot, void(const TVec&, TVec&, TVec&, double&, double&, double&, double&, TVec*, bool)),
    LUMEX_FUZZ(StatQQPlot, void(const TVec&, const TVec&, TVec&, TVec&, double&, double&, double&, double&, bool, bool)),
    LUMEX_FUZZ(StatQQPlot, void(const TVec&, TVec&, TVec&, double&, double&, double&, double&, bool)),
    LUMEX_FUZZ(StatWeibullPlot, void(const TVec&, TVec&, TVec&, double&, double&, double&, double&, bool)),
    LUMEX_FUZZ(StatExpPlot, void(const TVec&, TVec&, TVec&, double&, double&, double&, double&, bool)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
