// Fuzz target: the Regress module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/Regress.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(RegressTest, void(const TVec&, const TVec&, int, TRegStats&, bool, const TVec*)),
    LUMEX_FUZZ(RegressTest, void(const TVec&, const TVec&, const TMtx&, TRegStats&, TVec&, TVec&, bool, const TVec*)),
    LUMEX_FUZZ(LinRegress, void(const TVec&, const TVec&, TVec&, bool, const TVec*, TVec*, TMtx*)),
    LUMEX_FUZZ(R2, double(const TVec&, const TVec&)),
    LUMEX_FUZZ(MulLinRegress, void(const TVec&, const TMtx&, TVec&, bool, TVec*, TMtx*, TRegSolveMethod)),
    LUMEX_FUZZ(MulLinRegress, void(const TVec&, const TMtx&, TVec&, const TVec&, bool, TVec*, TMtx*, TRegSolveMethod)),
    LUMEX_FUZZ(RidgeRegress, void(const TVec&, const TMtx&, double, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(16, RidgeOptimalk, void(const TVec&, const TMtx&, double&)),
    LUMEX_FUZZ(PCRegress, void(const TVec&, const TMtx&, TVec&, TVec*, TVec*, int)),
    LUMEX_FUZZ(PCRegress, void(const TVec&, const TMtx&, TVec&, const TVec&, TVec&, TVec*, int)),
    LUMEX_FUZZ(PRESS, double(const TMtx&, const TVec&)),
    // Exhaustive search is exponential in the candidates: capped.
    LUMEX_FUZZ_CAPPED(16, StepwiseRegression, void(const TVecList&, const TVec&, TStepwiseMethod, TVecInt&, TMtx&, TMtx&, int, bool, const TStepwiseQualityCriteria&, void*)),
    LUMEX_FUZZ(ANOVA1, TANOVA1Result(const TMtx&, double&, double)),
    LUMEX_FUZZ(ANOVA1, TANOVA1Result(const TVec&, const TVecInt&, double&, double)),
    LUMEX_FUZZ(ANOVA2, TANOVA2Result(const TMtx&, double&, double&, double&, int, double)),
    // IRLS runs up to 1000 passes and the ordinal fit up to MaxIter Marquardt steps: capped.
    LUMEX_FUZZ_CAPPED(16, LogisticRegress, void(const TVec&, const TVec&, TVec&, const TMtx*, double, TVec*, TVec*, double)),
    LUMEX_FUZZ_CAPPED(16, LogisticRegress, int(const TVec&, const TMtx&, TVec&, TVec&, TVec&, double&, TOptStopReason&, int, double, bool)),
    LUMEX_FUZZ_CAPPED(16, PoissonRegress, int(const TVec&, const TMtx&, TVec&, TVec&, double&, int&, double, TVec*, double, int)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
