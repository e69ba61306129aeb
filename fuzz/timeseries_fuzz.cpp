// Fuzz target: the StatTimeSerAnalysis module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFingerprint;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

// Lag counts and horizons near 2^31 - 1: a clear error before anything is allocated (see
// HugeSizeRow of core_fuzz.cpp).
void HugeSizeRow(TFuzzInput& in, TFingerprint& print) {
  const int n = in.HugeSize();
  const TVec y = in.Vec();
  TVec out;
  switch (in.Byte() % 5) {
    case 0: AutoCov(y, out, n); break;
    case 1: ACF(y, out, n); break;
    case 2: SingleExpForecast(y, out, 0.5, n, 0); break;
    case 3: DoubleExpForecast(y, out, 0.5, 0.5, n, 0); break;
    default: TripleExpForecast(y, out, 0.5, 0.5, 0.5, n, 1 + in.Byte() % 4); break;
  }
  print.Fold(out);
}

const TFuzzRow kRows[] = {
    LUMEX_FUZZ_CAPPED(4096, AutoCov, void(const TVec&, TVec&, int)),
    LUMEX_FUZZ_CAPPED(4096, ACF, void(const TVec&, TVec&, int)),
    LUMEX_FUZZ_CAPPED(128, PACF, void(const TVec&, TVec&, TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(128, PACF, void(const TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(128, DurbinLevinson, void(const TVec&, TVec&, double&, int, TVec*)),
    LUMEX_FUZZ_CAPPED(128, ARYuleWalkerFit, void(const TVec&, TVec&, double&, TVec*)),
    LUMEX_FUZZ_CAPPED(128, ARBurgFit, void(const TVec&, TVec&, double&, TVec&)),
    LUMEX_FUZZ_CAPPED(4096, BoxLjung, double(const TVec&, int)),
    LUMEX_FUZZ_CAPPED(64, SingleExpSmooth, void(const TVec&, TVec&, double, double&, int)),
    LUMEX_FUZZ_CAPPED(64, SingleExpSmooth, double(const TVec&, TVec&, double&, int)),
    LUMEX_FUZZ_CAPPED(64, SingleExpForecast, void(const TVec&, TVec&, double, int, int)),
    LUMEX_FUZZ_CAPPED(64, SingleExpForecast, void(const TVec&, TVec&, double&, int, double&, int)),
    LUMEX_FUZZ_CAPPED(64, DoubleExpSmooth, void(const TVec&, TVec&, TVec&, double, double, double&, int)),
    LUMEX_FUZZ_CAPPED(64, DoubleExpSmooth, double(const TVec&, TVec&, TVec&, double&, double&, int)),
    LUMEX_FUZZ_CAPPED(64, DoubleExpForecast, void(const TVec&, TVec&, double, double, int, int)),
    LUMEX_FUZZ_CAPPED(64, DoubleExpForecast, void(const TVec&, TVec&, double&, double&, int, double&, int)),
    LUMEX_FUZZ_CAPPED(64, TripleExpSmooth, void(const TVec&, TVec&, TVec&, TVec&, double, double, double, double&, int)),
    LUMEX_FUZZ_CAPPED(64, TripleExpSmooth, double(const TVec&, TVec&, TVec&, TVec&, double&, double&, double&, int)),
    LUMEX_FUZZ_CAPPED(64, TripleExpForecast, void(const TVec&, TVec&, double, double, double, int, int)),
    LUMEX_FUZZ_CAPPED(64, TripleExpForecast, void(const TVec&, TVec&, double&, double&, double&, int, double&, int)),
    LUMEX_FUZZ(MovingAverage, double(const TVec&, int, TVec&, int&, bool)),
    {"HugeSizes", HugeSizeRow},
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
