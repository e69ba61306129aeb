// Fuzz target: the StatTimeSerAnalysis module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(AutoCov, void(const TVec&, TVec&, int)),
    LUMEX_FUZZ(ACF, void(const TVec&, TVec&, int)),
    LUMEX_FUZZ(PACF, void(const TVec&, TVec&, TVec&, TVec&)),
    LUMEX_FUZZ(PACF, void(const TVec&, TVec&)),
    LUMEX_FUZZ(DurbinLevinson, void(const TVec&, TVec&, double&, int, TVec*)),
    LUMEX_FUZZ(ARYuleWalkerFit, void(const TVec&, TVec&, double&, TVec*)),
    LUMEX_FUZZ(ARBurgFit, void(const TVec&, TVec&, double&, TVec&)),
    LUMEX_FUZZ(BoxLjung, double(const TVec&, int)),
    LUMEX_FUZZ(SingleExpSmooth, void(const TVec&, TVec&, double, double&, int)),
    LUMEX_FUZZ(SingleExpSmooth, double(const TVec&, TVec&, double&, int)),
    LUMEX_FUZZ(SingleExpForecast, void(const TVec&, TVec&, double, int, int)),
    LUMEX_FUZZ(SingleExpForecast, void(const TVec&, TVec&, double&, int, double&, int)),
    LUMEX_FUZZ(DoubleExpSmooth, void(const TVec&, TVec&, TVec&, double, double, double&, int)),
    LUMEX_FUZZ(DoubleExpSmooth, double(const TVec&, TVec&, TVec&, double&, double&, int)),
    LUMEX_FUZZ(DoubleExpForecast, void(const TVec&, TVec&, double, double, int, int)),
    LUMEX_FUZZ(DoubleExpForecast, void(const TVec&, TVec&, double&, double&, int, double&, int)),
    LUMEX_FUZZ(TripleExpSmooth, void(const TVec&, TVec&, TVec&, TVec&, double, double, double, double&, int)),
    LUMEX_FUZZ(TripleExpSmooth, double(const TVec&, TVec&, TVec&, TVec&, double&, double&, double&, int)),
    LUMEX_FUZZ(TripleExpForecast, void(const TVec&, TVec&, double, double, double, int, int)),
    LUMEX_FUZZ(TripleExpForecast, void(const TVec&, TVec&, double&, double&, double&, int, double&, int)),
    LUMEX_FUZZ(MovingAverage, double(const TVec&, int, TVec&, int&, bool)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
