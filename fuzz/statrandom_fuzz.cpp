// Fuzz target: the StatRandom module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/StatRandom.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(RandomBeta, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomBinom, void(int, double, TLumexInt&, int)),
    LUMEX_FUZZ(RandomCauchy, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomChiSquare, void(int, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomErlang, void(int, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomExponent, void(double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomF, void(int, int, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomGamma, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomGenPareto, void(double, double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomGeometric, void(double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomGumbel, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomHypGeometric, void(int, int, int, TLumexInt&, int)),
    LUMEX_FUZZ(RandomLaplace, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomLogistic, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomLogNormal, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomMaxwell, void(double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomNegBinom, void(double, double, TLumexInt&, int)),
    LUMEX_FUZZ(RandomNormal, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomPoisson, void(double, TLumexInt&, int)),
    LUMEX_FUZZ(RandomRayleigh, void(double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomStudent, void(int, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomTriangular, void(double, double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomUniform, void(double, double, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomUniformD, void(int, TDenseLumex&, int)),
    LUMEX_FUZZ(RandomWeibull, void(double, double, TDenseLumex&, int)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
