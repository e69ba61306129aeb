// Fuzz target: the core (containers, operations, linear algebra, optimisers, random streams,
// polynomials, series). One row per exported overload (see fuzz_table.h).
#include "fuzz_table.h"
#include "lumex/core/core.h"

#include <vector>

namespace {

using namespace lumex;
using lumex::fuzz::TFingerprint;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

// The histogram kernels take raw buffers whose lengths the caller guarantees; the row keeps that
// contract and fuzzes the values, the bin count and the offsets.
template <class T>
void HistogramKernel(TFuzzInput& in, TFingerprint& print) {
  const TVec values = in.Vec();
  std::vector<T> data(static_cast<std::size_t>(values.Length()));
  for (std::size_t i = 0; i < data.size(); ++i) {
    data[i] = static_cast<T>(values.Value(static_cast<int>(i)));
  }
  const int numBins = 1 + in.Byte();
  std::vector<std::int32_t> counts(static_cast<std::size_t>(numBins));
  const T invWidth = static_cast<T>(in.Value());
  const T min = static_cast<T>(in.Value());
  if constexpr (std::is_same_v<T, double>)
    HistogramCount_Idx(data.data(), 0, invWidth, min, counts.data(), 0, numBins, values.Length());
  else
    sHistogramCount_Idx(data.data(), 0, invWidth, min, counts.data(), 0, numBins, values.Length());
  for (const std::int32_t count : counts) print.Fold(count);
}

// Sizes near 2^31 - 1 where the caller chooses them: each call must raise a clear error before it
// allocates (the harness lowers the allocation limit to 1 GiB, and libFuzzer reports a larger
// allocation as a finding).
void HugeSizeRow(TFuzzInput& in, TFingerprint& print) {
  const int n = in.HugeSize();
  const TVec x = in.Vec();
  TMtxFloatPrecision precision;
  bool complex;
  in.Kind(precision, complex);
  TVec v;
  TMtx m;
  TVecInt k;
  switch (in.Byte() % 10) {
    case 0: v = TVec(n); break;
    case 1: m = TMtx(n, 1 + in.Byte() % 3); break;
    case 2: k = TVecInt(n); break;
    case 3: v.Size(n, precision, complex); break;
    case 4: k.Resize(n); break;
    case 5: Eye(m, n); break;
    case 6: VanderMonde(m, x, n); break;
    case 7: AutoCorrBiased(v, x, n); break;
    case 8: CrossCorr(v, x, x, n); break;
    default: m.Size(n, 1 + in.Byte() % 3, precision, complex); break;
  }
  print.Fold(v);
  print.Fold(m);
  print.Fold(k);
}

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(CacheIdleCount, int()),
    LUMEX_FUZZ(SignificanceByTail, double(double, double, THypothesisType)),
    LUMEX_FUZZ(Decide, THypothesisResult(double, double, bool, double)),
    LUMEX_FUZZ(QuietLevelCheck, bool(double, THypothesisResult&, double&, TTwoElmReal*)),
    LUMEX_FUZZ(CriticalProbability, double(double, THypothesisType)),
    LUMEX_FUZZ(SymmetricConfInt, TTwoElmReal(double, double, THypothesisType)),
    LUMEX_FUZZ(ModuleStartup, void(TLumexModule)),
    LUMEX_FUZZ(ModuleShutdown, void(TLumexModule)),
    LUMEX_FUZZ(ModuleInitCounter, int(TLumexModule)),
    LUMEX_FUZZ(Mul, void(TMtx&, const TMtx&, const TMtx&, TMtxOperation, TMtxOperation)),
    LUMEX_FUZZ(TensorProd, void(TVec&, const TMtx&, const TVec&, TMtxOperation)),
    LUMEX_FUZZ(Transp, void(TMtx&, const TMtx&)),
    LUMEX_FUZZ(Transp, void(TMtx&)),
    LUMEX_FUZZ_CAPPED(1024, Eye, void(TMtx&, int)),
    LUMEX_FUZZ(Diag, void(TMtx&, const TVec&)),
    LUMEX_FUZZ(Diag, void(TVec&, const TMtx&)),
    LUMEX_FUZZ(GetCol, void(TVec&, const TMtx&, int)),
    LUMEX_FUZZ(SetCol, void(TMtx&, const TVec&, int)),
    LUMEX_FUZZ(GetRow, void(TVec&, const TMtx&, int)),
    LUMEX_FUZZ(SetRow, void(TMtx&, const TVec&, int)),
    LUMEX_FUZZ_CAPPED(1024, Toeplitz, void(TMtx&, const TVec&)),
    LUMEX_FUZZ_CAPPED(256, VanderMonde, void(TMtx&, const TVec&, int)),
    LUMEX_FUZZ(Inv, void(TMtx&)),
    LUMEX_FUZZ(Inv, void(TMtx&, const TMtx&)),
    LUMEX_FUZZ(Determinant, double(const TMtx&)),
    LUMEX_FUZZ(Trace, double(const TMtx&)),
    LUMEX_FUZZ(Cholesky, bool(TMtx&, const TMtx&)),
    LUMEX_FUZZ(LUSolve, void(TVec&, const TMtx&, const TVec&)),
    LUMEX_FUZZ(LUSolve, void(TMtx&, const TMtx&, const TMtx&)),
    LUMEX_FUZZ(LQRSolve, void(TVec&, const TMtx&, const TVec&)),
    LUMEX_FUZZ(LQR, void(const TMtx&, TMtx&, TMtx&)),
    LUMEX_FUZZ(SVD, void(const TMtx&, TMtx&, TVec&, TMtx&, bool)),
    LUMEX_FUZZ(SVD, void(const TMtx&, TVec&)),
    LUMEX_FUZZ(SVDSolve, void(TVec&, const TMtx&, const TVec&, double)),
    LUMEX_FUZZ(Eig, void(const TMtx&, TVec&, TMtx*)),
    LUMEX_FUZZ(EigSym, void(const TMtx&, TVec&, TMtx*)),
    LUMEX_FUZZ(Copy, void(TVec&, const TDenseLumex&)),
    LUMEX_FUZZ(Copy, void(TMtx&, const TMtx&)),
    LUMEX_FUZZ(Copy, void(TDenseLumex&, const TDenseLumex&, int, int, int)),
    LUMEX_FUZZ(Convert, void(TVec&, const TVec&, TMtxFloatPrecision)),
    LUMEX_FUZZ(CopyTo, void(TVecInt&, const TDenseLumex&)),
    LUMEX_FUZZ(CopyFrom, void(TVec&, const TVecInt&, TMtxFloatPrecision)),
    LUMEX_FUZZ(Concat, void(TVec&, const TVec&, const TVec&)),
    LUMEX_FUZZ(Ramp, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ(Reverse, void(TDenseLumex&)),
    LUMEX_FUZZ(Rotate, void(TDenseLumex&, int)),
    LUMEX_FUZZ(PrecisionEPS, double(const TDenseLumex&)),
    LUMEX_FUZZ(PrecisionSqrtEPS, double(const TDenseLumex&)),
    LUMEX_FUZZ(Add, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Sub, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Mul, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Divide, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Add, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Sub, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(MulElem, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Divide, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Add, void(TDenseLumex&, const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Sub, void(TDenseLumex&, const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(MulElem, void(TDenseLumex&, const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Divide, void(TDenseLumex&, const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(AddScaled, void(TDenseLumex&, const TDenseLumex&, double)),
    LUMEX_FUZZ(DivideBy, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Sqr, void(TDenseLumex&)),
    LUMEX_FUZZ(Sqrt, void(TDenseLumex&)),
    LUMEX_FUZZ(Abs, void(TDenseLumex&)),
    LUMEX_FUZZ(Ln, void(TDenseLumex&)),
    LUMEX_FUZZ(Log10, void(TDenseLumex&)),
    LUMEX_FUZZ(Exp, void(TDenseLumex&)),
    LUMEX_FUZZ(Floor, void(TDenseLumex&)),
    LUMEX_FUZZ(Ceil, void(TDenseLumex&)),
    LUMEX_FUZZ(Power, void(TDenseLumex&, double)),
    LUMEX_FUZZ(IntPower, void(TDenseLumex&, int)),
    LUMEX_FUZZ(InvElem, void(TDenseLumex&)),
    LUMEX_FUZZ(Sign, void(TDenseLumex&)),
    LUMEX_FUZZ(Normalize, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ(ZScore, void(TDenseLumex&)),
    LUMEX_FUZZ(ThreshBottom, void(TDenseLumex&, double)),
    LUMEX_FUZZ(ThreshTop, void(TDenseLumex&, double)),
    LUMEX_FUZZ(Sqr, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Sqrt, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Abs, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Ln, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Exp, void(TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Sum, double(const TDenseLumex&)),
    LUMEX_FUZZ(Sum, double(const TDenseLumex&, int, int)),
    LUMEX_FUZZ(CSum, std::complex<double>(const TDenseLumex&)),
    LUMEX_FUZZ(Mean, double(const TDenseLumex&)),
    LUMEX_FUZZ(StdDev, double(const TDenseLumex&)),
    LUMEX_FUZZ(StdDev, double(const TDenseLumex&, double)),
    LUMEX_FUZZ(SumOfSquares, double(const TDenseLumex&)),
    LUMEX_FUZZ(SumOfSquares, double(const TDenseLumex&, int, int)),
    LUMEX_FUZZ(Product, double(const TDenseLumex&)),
    LUMEX_FUZZ(DotProd, double(const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Max, double(const TDenseLumex&)),
    LUMEX_FUZZ(Min, double(const TDenseLumex&)),
    LUMEX_FUZZ(Max, double(const TDenseLumex&, int&)),
    LUMEX_FUZZ(Min, double(const TDenseLumex&, int&)),
    LUMEX_FUZZ(MaxMin, void(const TDenseLumex&, double&, double&)),
    LUMEX_FUZZ(MaxMin, void(const TDenseLumex&, int, int, double&, double&)),
    LUMEX_FUZZ(Median, double(const TDenseLumex&)),
    LUMEX_FUZZ(NormL1, double(const TDenseLumex&)),
    LUMEX_FUZZ(NormL2, double(const TDenseLumex&)),
    LUMEX_FUZZ(NormC, double(const TDenseLumex&)),
    LUMEX_FUZZ(NormL2, double(const TDenseLumex&, const TDenseLumex&)),
    LUMEX_FUZZ(Sum, long long(const TVecInt&)),
    LUMEX_FUZZ(Max, int(const TVecInt&, int&)),
    LUMEX_FUZZ(SortAscend, void(TDenseLumex&)),
    LUMEX_FUZZ(SortAscend, void(TDenseLumex&, TVecInt&)),
    LUMEX_FUZZ(SortDescend, void(TDenseLumex&)),
    LUMEX_FUZZ(SortDescend, void(TDenseLumex&, TVecInt&)),
    LUMEX_FUZZ(SortAscend, void(TMtx&, int)),
    LUMEX_FUZZ(SortAscend, void(TVecInt&)),
    LUMEX_FUZZ(Find, int(const TDenseLumex&, double)),
    LUMEX_FUZZ(FindIndexes, void(TVecInt&, const TDenseLumex&, const std::string&, double)),
    LUMEX_FUZZ(FindMask, void(TVecInt&, const TDenseLumex&, const std::string&, double)),
    LUMEX_FUZZ(FindAndGather, void(TVec&, const TDenseLumex&, const std::string&, double)),
    LUMEX_FUZZ(GatherByIndex, void(TVec&, const TDenseLumex&, const TVecInt&)),
    LUMEX_FUZZ(Replace, void(TDenseLumex&, double, double, double)),
    LUMEX_FUZZ(CumSum, void(TVec&, const TVec&)),
    LUMEX_FUZZ(Difference, void(TVec&, const TVec&, int)),
    LUMEX_FUZZ(MeanCols, void(TVec&, const TMtx&)),
    LUMEX_FUZZ_CAPPED(12, Simplex, int(const TRealFunction&, std::span<double>, const TVec*, const TObjConsts&, double&, TOptStopReason&, TMtxFloatPrecision, int, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, Simplex, int(const TRealFunction&, std::span<double>, std::span<const double>, std::span<const double>, const TVec*, const TObjConsts&, double&, TOptStopReason&, TMtxFloatPrecision, int, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, Marquardt, int(const TRealFunction&, const TCurvatureFunction&, std::span<double>, const TVec*, const TObjConsts&, double&, TMtx*, TOptStopReason&, TMtxFloatPrecision, int, double, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, BFGS, int(const TRealFunction&, const TGradientFunction&, std::span<double>, const TVec*, const TObjConsts&, double&, TMtx*, TOptStopReason&, TMtxFloatPrecision, bool, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, ConjGrad, int(const TRealFunction&, const TGradientFunction&, std::span<double>, const TVec*, const TObjConsts&, double&, TOptStopReason&, TMtxFloatPrecision, bool, bool, int, double, double, std::vector<std::string>*)),
    LUMEX_FUZZ_CAPPED(12, NumericGradient, void(const TRealFunction&, const TVec&, const TVec*, const TObjConsts&, TVec&)),
    LUMEX_FUZZ(OptStopReasonText, std::string(TOptStopReason)),
    LUMEX_FUZZ_CAPPED(64, PolyRoots, void(TVec&, const TVec&)),
    LUMEX_FUZZ(Linear1D, void(const TVec&, const TVec&, TPiecePoly&)),
    LUMEX_FUZZ(RandSeed, void(std::uint64_t)),
    LUMEX_FUZZ(RandUniform, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ(RandUniform, double()),
    LUMEX_FUZZ(RandGauss, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ(FreshSeed, int()),
    LUMEX_FUZZ_CAPPED(4096, AutoCorrBiased, void(TVec&, const TVec&, int)),
    LUMEX_FUZZ_CAPPED(4096, CrossCorr, void(TVec&, const TVec&, const TVec&, int)),
    LUMEX_FUZZ_CAPPED(512, Convolve, void(TVec&, const TVec&, const TVec&)),
    LUMEX_FUZZ_CAPPED(512, Integrate, void(TVec&, const TVec&, const TVec&)),
    LUMEX_FUZZ(ERaise, void(const std::string&)),
    {"HistogramCount_Idx", HistogramKernel<double>},
    {"sHistogramCount_Idx", HistogramKernel<float>},
    {"HugeSizes", HugeSizeRow},
    LUMEX_FUZZ_METHOD(TRngStream, RandomUniform, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomGaussian, void(TDenseLumex&, double, double, TGaussRandMethod)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomExponential, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomGamma, void(TDenseLumex&, double, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomBeta, void(TDenseLumex&, double, double, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomCauchy, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomGumbel, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomLaplace, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomRayleigh, void(TDenseLumex&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomWeibull, void(TDenseLumex&, double, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomPoisson, void(TLumexInt&, double, TPoissonRandMethod)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomBinomial, void(TLumexInt&, int, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomNegbinomial, void(TLumexInt&, double, double)),
    LUMEX_FUZZ_METHOD(TRngStream, RandomHypergeometric, void(TLumexInt&, int, int, int)),
    LUMEX_FUZZ_METHOD(TPiecePoly, Evaluate, double(double) const),
    LUMEX_FUZZ_METHOD(TPiecePoly, Evaluate, void(const TDenseLumex&, TVec&) const),
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
