// Fuzz target: the StatControlCharts module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/StatControlCharts.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(QCXChart, void(const TMtx&, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCSChart, void(const TMtx&, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCRChart, void(const TMtx&, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCMRChart, void(const TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCPChart, void(const TVec&, int, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCPChart, void(const TVec&, const TVec&, TVec&, double&, TVec&, TVec&, double)),
    LUMEX_FUZZ(QCNPChart, void(const TVec&, int, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCNPChart, void(const TVec&, const TVec&, TVec&, TVec&, TVec&, TVec&, double)),
    LUMEX_FUZZ(QCUChart, void(const TVec&, int, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCUChart, void(const TVec&, const TVec&, TVec&, double&, TVec&, TVec&, double)),
    LUMEX_FUZZ(QCCChart, void(const TVec&, TVec&, double&, double&, double&, double)),
    LUMEX_FUZZ(QCCapIndexes, void(const TVec&, double, double, double&, double&, double&, TTwoElmReal&, TTwoElmReal&, double)),
    LUMEX_FUZZ(EWMAChart, void(const TMtx&, TVec&, double&, double&, double&, double, double)),
    LUMEX_FUZZ(EWMAChart, void(const TMtx&, TVec&, double&, TVec&, TVec&, double, double)),
    LUMEX_FUZZ(QCCumSumChart, void(const TMtx&, TVec&, double, double, double, double, TVec*, TVec*, double)),
    LUMEX_FUZZ(QCWestgardRules, void(const TVec&, TVec&, double, double)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
