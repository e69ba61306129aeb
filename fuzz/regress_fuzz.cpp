// Fuzz target: the Regress module. One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/Regress.h"
#include "lumex/RegModels.h"

#include <stdexcept>
#include <string>

namespace {

using namespace lumex;
using lumex::fuzz::TArg;
using lumex::fuzz::TFingerprint;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

// PowerFit raises its two length and precision checks as a plain std::runtime_error, which the
// generic row would report as a finding: this row folds that message like a clear error.
void PowerFitRow(TFuzzInput& in, TFingerprint& print) {
  TArg<TVec&> b(in);
  TArg<const TVec&> x(in), y(in);
  TArg<const TVec*> w(in);
  try {
    PowerFit(b.Get(), x.Get(), y.Get(), w.Get());
  } catch (const ELumexError&) {
    throw;
  } catch (const std::runtime_error& e) {
    print.Fold(std::string(e.what()));
    return;
  }
  print.Fold(b.Get());
}

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(RegressTest, void(const TVec&, const TVec&, int, TRegStats&, bool, const TVec*)),
    LUMEX_FUZZ(RegressTest, void(const TVec&, const TVec&, const TMtx&, TRegStats&, TVec&, TVec&, bool, const TVec*)),
    LUMEX_FUZZ(LinRegress, void(const TVec&, const TVec&, TVec&, bool, const TVec*, TVec*, TMtx*)),
    LUMEX_FUZZ(R2, double(const TVec&, const TVec&)),
    LUMEX_FUZZ(MulLinRegress, void(const TVec&, const TMtx&, TVec&, bool, TVec*, TMtx*, TRegSolveMethod)),
    LUMEX_FUZZ(MulLinRegress, void(const TVec&, const TMtx&, TVec&, const TVec&, bool, TVec*, TMtx*, TRegSolveMethod)),
    LUMEX_FUZZ(RidgeRegress, void(const TVec&, const TMtx&, double, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(8, RidgeOptimalk, void(const TVec&, const TMtx&, double&)),
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
    // Nonlinear least squares: each fit runs an optimiser, so capped like the optimisers.
    LUMEX_FUZZ_CAPPED(12, NLinRegress, int(const TVec&, const TVec&, const TRegressFun&, const TDeriveProc&, TVec&, TOptMethod, TOptStopReason&, const TVec*, TVec*, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, NLinRegress, int(const TVec&, const TVec&, const TRegressFun&, const TDeriveProc&, TVec&, const TVec&, const TVec&, TOptMethod, TOptStopReason&, const TVec*, TVec*, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, NLinRegress, int(const TVecList&, const TVec&, const TMultiRegressFun&, const TMultiDeriveProc&, TVec&, TOptMethod, TOptStopReason&, const TVec*, TVec*, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, NLinRegress, int(const TVecList&, const TVec&, const TMultiRegressFun&, const TMultiDeriveProc&, TVec&, const TVec&, const TVec&, TOptMethod, TOptStopReason&, const TVec*, TVec*, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ(NumericDerive, void(const TRegressFun&, double, double, const TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(64, MultiNumericDerive, void(const TMultiRegressFun&, const TVecList&, const TVec&, const TVec&, TVecList&)),
    // The built-in regression models.
    LUMEX_FUZZ(LineEval, double(std::span<const double>, double)),
    LUMEX_FUZZ(LineEval, void(std::span<const double>, const TVec&, TVec&)),
    LUMEX_FUZZ(LineEval, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(PowerEval, double(std::span<const double>, double)),
    LUMEX_FUZZ(PowerEval, void(std::span<const double>, const TVec&, TVec&)),
    LUMEX_FUZZ(PowerEval, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(ExpEval, double(std::span<const double>, double)),
    LUMEX_FUZZ(ExpEval, void(std::span<const double>, const TVec&, TVec&)),
    LUMEX_FUZZ(ExpEval, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(LnEval, double(std::span<const double>, double)),
    LUMEX_FUZZ(LnEval, void(std::span<const double>, const TVec&, TVec&)),
    LUMEX_FUZZ(LnEval, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(LogisticEval, double(std::span<const double>, double, bool)),
    LUMEX_FUZZ(LogisticEval, void(std::span<const double>, const TVec&, TVec&, bool)),
    LUMEX_FUZZ(LogisticEval, void(const TVec&, const TVec&, TVec&, bool)),
    LUMEX_FUZZ(FracEval, double(std::span<const double>, double, int, bool)),
    LUMEX_FUZZ(FracEval, double(const TVec&, double, int, bool)),
    LUMEX_FUZZ(FracEval, void(std::span<const double>, const TVec&, TVec&, int, bool)),
    LUMEX_FUZZ(FracEval, void(const TVec&, const TVec&, TVec&, int, bool)),
    LUMEX_FUZZ(MulLinEval, double(std::span<const double>, const TVec&, bool)),
    LUMEX_FUZZ(MulLinEval, void(std::span<const double>, const TMtx&, TVec&, bool)),
    LUMEX_FUZZ(LineDeriv, void(const TRegressFun&, double, double, std::span<const double>, TVec&, TMtxFloatPrecision)),
    LUMEX_FUZZ(ExpDeriv, void(const TRegressFun&, double, double, std::span<const double>, TVec&, TMtxFloatPrecision)),
    LUMEX_FUZZ(PowerDeriv, void(const TRegressFun&, double, double, std::span<const double>, TVec&)),
    LUMEX_FUZZ(LineFit, void(TVec&, const TVec&, const TVec&, const TVec*)),
    {"PowerFit", PowerFitRow},
    LUMEX_FUZZ(ExpFit, void(TVec&, const TVec&, const TVec&, const TVec*)),
    LUMEX_FUZZ(LnFit, void(TVec&, const TVec&, const TVec&, const TVec*)),
    LUMEX_FUZZ(LogisticFit, void(TVec&, const TVec&, const TVec&, bool, const TVec*)),
    // The design has NumDegree + DenDegree columns: capped.
    LUMEX_FUZZ_CAPPED(64, FracFit, void(TVec&, const TVec&, const TVec&, int, int, bool, const TVec*)),
    LUMEX_FUZZ(MulLinFit, void(TVec&, const TMtx&, const TVec&, bool, const TVec*)),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
