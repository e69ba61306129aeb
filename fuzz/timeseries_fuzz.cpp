// Fuzz target: the StatTimeSerAnalysis module. One row per exported overload (see fuzz_table.h).
#include <algorithm>

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
    // ARMA estimation, forecasting and simulation.
    LUMEX_FUZZ_CAPPED(64, CheckARMACoeffs, bool(const TVec&, bool)),
    LUMEX_FUZZ_CAPPED(64, CheckARMACoeffs, bool(std::span<const double>, bool)),
    LUMEX_FUZZ_CAPPED(256, ARMAAcf, void(const TVec*, const TVec*, int, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(64, ARMAKappa, double(const TVec&, const TVec&, int, int, const TVec*, const TVec*)),
    LUMEX_FUZZ_CAPPED(128, ARMAKappa, void(const TVec&, const TVec*, const TVec*, TMtx&, int)),
    LUMEX_FUZZ_CAPPED(128, Innovations, void(const TDenseLumex&, int, TMtx&, TVec&, int)),
    LUMEX_FUZZ_CAPPED(128, Innovations, void(const TDenseLumex&, TVec&, double&, int, TVec*, TVec*)),
    LUMEX_FUZZ_CAPPED(128, ARMAInnovationsFit, void(const TVec&, TVec&, double&, TVec*, int)),
    LUMEX_FUZZ_CAPPED(128, ARMAInnovationsFit, void(const TVec&, TVec&, TVec&, double&, TVec*, TVec*, int)),
    LUMEX_FUZZ_CAPPED(128, ARMAHannahFit, void(const TVec&, TVec&, TVec&, double&)),
    LUMEX_FUZZ_CAPPED(64, ARMALogLike, double(const TVec&, const TVec&, const TVec&)),
    LUMEX_FUZZ_CAPPED(2, ARMAMLE, int(const TVec&, TVec&, TVec&, TVec&, double&)),
    LUMEX_FUZZ_CAPPED(2, ARMAMLE, int(const TVec&, TVec&, TVec&, const TVec&, const TVec&, TVec&, double&)),
    LUMEX_FUZZ_CAPPED(256, ARMAForecast, void(const TVec&, const TVec&, const TVec&, int, TVec&, TMtx&, double&)),
    LUMEX_FUZZ_CAPPED(256, ARMAForecast, void(const TVec&, const TVec&, const TVec&, int, TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(256, ARIMAForecast, void(const TVec&, const TVec&, const TVec&, int, int, TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(256, ARMAPredictors, void(const TVec&, const TVec*, const TVec*, TVec&, TVec*)),
    LUMEX_FUZZ_CAPPED(4096, ARMASimulate, void(const TVec&, const TVec&, int, TVec&)),
    LUMEX_FUZZ_CAPPED(4096, ARIMASimulate, void(const TVec&, const TVec&, int, const TVec&, int, TVec&)),
    LUMEX_FUZZ_CAPPED(4096, TimeSeriesIntInit, void(const TVec&, TVec&, int, bool)),
    // ARAR and Box-Cox. Memory shortening costs MaxTau * n per pass and the subset search
    // MaxLag^3/6 solves of 4-by-4 systems (40 us each under the sanitizers), hence the caps;
    // the pipeline row feeds each step the previous one's outputs, which random lags and
    // filters rarely reach.
    LUMEX_FUZZ_CAPPED(1024, ShortenFilter, void(const TVec&, TVec&, int&, TVec*, int)),
    LUMEX_FUZZ_CAPPED(32, ARARFit, void(const TVec&, TVec&, int&, int&, int&, double&, int)),
    LUMEX_FUZZ_CAPPED(4096, ARARForecast, void(const TVec&, const TVec&, const TVec&, int, int, int,
                                               int, double, int, TVec&, TVec&, double&)),
    LUMEX_FUZZ(BoxCox, void(const TVec&, TVec&, double)),
    LUMEX_FUZZ(BoxCoxInv, void(const TVec&, TVec&, double)),
    {"ARARPipeline",
     [](TFuzzInput& in, lumex::fuzz::TFingerprint& print) {
       const TVec data = in.Vec();
       TVec s, filter, phi, yhat, se;
       int tau = 0, l1 = 0, l2 = 0, l3 = 0;
       double sigma2 = 0.0, scale = 0.0;
       ShortenFilter(data, s, tau, &filter, std::min(in.Int(), data.Length()));
       ARARFit(s, phi, l1, l2, l3, sigma2, std::min(in.Int(), s.Length()));
       print.Fold(s);
       print.Fold(sigma2);
       const double smean = s.Length() > 0 ? Mean(s) : 0.0;
       ARARForecast(data, phi, filter, tau, l1, l2, l3, smean, in.Int(), yhat, se, scale);
       print.Fold(yhat);
       print.Fold(se);
       print.Fold(scale);
     },
     32},
    {"HugeSizes", HugeSizeRow},
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
