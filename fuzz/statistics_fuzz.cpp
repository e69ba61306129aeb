// Fuzz target: the Statistics module. One row per exported overload (see fuzz_table.h).
#include <algorithm>
#include <cmath>

#include "fuzz_table.h"
#include "lumex/Statistics.h"

namespace {

using namespace lumex;
using lumex::fuzz::TFingerprint;
using lumex::fuzz::TFuzzInput;
using lumex::fuzz::TFuzzRow;

// The Monte Carlo tolerance of GOFLillieTest sets how many samples it simulates (until the
// variance of the estimate is below it): the row draws it from values that stay cheap, or that
// are unusable.
void LillieRow(TFuzzInput& in, TFingerprint& print) {
  static constexpr double kTolerances[] = {1e-3, 1e-4, 0.5, 1.0, 2.0, 0.0, -1.0, NaN, Inf};
  const TVec data = in.Vec();
  const double alpha = in.Level();
  const double tolerance = kTolerances[in.Byte() % 9];
  THypothesisResult hRes;
  double signif = NaN;
  GOFLillieTest(data, hRes, signif, alpha, tolerance);
  print.Fold(hRes);
  print.Fold(signif);
}

// The mixed-level factorial has the product of its levels as rows: the row skips level sets
// whose design would pass 2^20 elements (the function itself only refuses 2^31).
void FullFactLevelsRow(TFuzzInput& in, TFingerprint& print) {
  const TVec levels = in.Vec();
  if (!levels.Complex()) {
    double elements = std::max(levels.Length(), 1);
    for (int j = 0; j < levels.Length(); ++j) elements *= std::round(levels.Value(j));
    if (elements > 1048576.0) return;  // NaN and levels below 1 still reach the function
  }
  TMtx design;
  FullFactDesign(levels, design);
  print.Fold(design);
}

// Bin counts and design sizes near 2^31 - 1: a clear error before anything is allocated (see
// HugeSizeRow of core_fuzz.cpp).
void HugeSizeRow(TFuzzInput& in, TFingerprint& print) {
  const int n = in.HugeSize();
  const TVec x = in.Vec();
  TVecInt counts;
  TVec results, bins;
  TMtx design;
  THypothesisResult hRes = hrNan;
  double signif = 0.0;
  switch (in.Byte() % 6) {
    case 0: Histogram(x, n, counts, bins, in.Bool()); break;
    case 1: Histogram(x, n, results, bins, in.Bool(), in.Value(), in.Value()); break;
    case 2: CumulativeHist(x, n, results, bins, in.Bool()); break;
    case 3: GOFChi2Test(x, distNormal, n, hRes, signif, htTwoTailed, 0.05); break;
    case 4: LatinHyperCubeDesign(design, n, 1 + in.Byte() % 4, fpDouble, false, lhcImproveNone, 1);
      break;
    default: FullFactDesign(26, design, in.Bool() ? fpDouble : fpSingle, nullptr); break;
  }
  print.Fold(counts);
  print.Fold(results);
  print.Fold(design);
}

const TFuzzRow kRows[] = {
    LUMEX_FUZZ(MeanG, double(const TVec&)),
    LUMEX_FUZZ(MeanH, double(const TVec&)),
    LUMEX_FUZZ(MeanT, double(const TVec&, double)),
    LUMEX_FUZZ(Mode, double(const TVec&)),
    LUMEX_FUZZ(Mode, double(const TVec&, int, int)),
    LUMEX_FUZZ(Moment, double(const TVec&, double, int)),
    LUMEX_FUZZ(Percentile, double(const TVec&, double, TPercentileMethod)),
    LUMEX_FUZZ(Percentile, void(const TVec&, std::span<const double>, std::span<double>, TPercentileMethod)),
    LUMEX_FUZZ(SortedPercentile, double(const TVec&, double, TPercentileMethod)),
    LUMEX_FUZZ(InterQuartile, double(const TVec&, TPercentileMethod)),
    LUMEX_FUZZ(Ranks, void(TVec&, TVec&)),
    LUMEX_FUZZ(TiedRanks, void(const TVec&, TVec&, double&)),
    LUMEX_FUZZ(RangeRows, void(const TMtx&, TVec&)),
    LUMEX_FUZZ(RangeCols, void(const TMtx&, TVec&)),
    LUMEX_FUZZ(Unique, void(const TDenseLumex&, TVec&, TVecInt*)),
    LUMEX_FUZZ_CAPPED(65536, Histogram, void(const TVec&, int, TVecInt&, TVec&, bool, double, double)),
    LUMEX_FUZZ_CAPPED(65536, Histogram, void(const TVec&, int, TVecInt&, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(65536, Histogram, void(const TVec&, int, TVec&, TVec&, bool, double, double)),
    LUMEX_FUZZ_CAPPED(65536, Histogram, void(const TVec&, int, TVec&, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(65536, Histogram, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ_CAPPED(65536, CumulativeHist, void(const TVec&, int, TVec&, TVec&, bool)),
    LUMEX_FUZZ_CAPPED(65536, CumulativeHist, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(EmpiricalCDF, void(const TVec&, TVec&, TVec&)),
    LUMEX_FUZZ(Covariance, void(const TVec&, double&, bool)),
    LUMEX_FUZZ(Covariance, void(const TDenseLumex&, const TDenseLumex&, TMtx&, bool)),
    LUMEX_FUZZ(Covariance, void(const TMtx&, TMtx&, bool)),
    LUMEX_FUZZ(CorrCoef, void(const TDenseLumex&, const TDenseLumex&, TMtx&)),
    LUMEX_FUZZ(CorrCoef, void(const TDenseLumex&, const TDenseLumex&, TMtx&, double&)),
    LUMEX_FUZZ(CorrCoef, void(const TMtx&, TMtx&)),
    LUMEX_FUZZ(NormalFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(NormalFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, double)),
    LUMEX_FUZZ(LogNormalFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(LogNormalFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, double)),
    LUMEX_FUZZ(ExponentFit, void(const TVec&, double&)),
    LUMEX_FUZZ(ExponentFit, void(const TVec&, double&, TTwoElmReal&, double)),
    LUMEX_FUZZ(PoissonFit, void(const TVec&, double&)),
    LUMEX_FUZZ(PoissonFit, void(const TVec&, double&, TTwoElmReal&, double)),
    LUMEX_FUZZ(UniformFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(UniformFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, double)),
    LUMEX_FUZZ(UniformDFit, void(const TVec&, int&)),
    LUMEX_FUZZ(UniformDFit, void(const TVec&, int&, TTwoElmReal&, double)),
    LUMEX_FUZZ(GeometricFit, void(const TVec&, double&)),
    LUMEX_FUZZ(GeometricFit, void(const TVec&, double&, TTwoElmReal&, double)),
    LUMEX_FUZZ(RayleighFit, void(const TVec&, double&)),
    LUMEX_FUZZ(RayleighFit, void(const TVec&, double&, TTwoElmReal&, double)),
    LUMEX_FUZZ(InverseGaussianFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(InverseGaussianFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, double)),
    LUMEX_FUZZ(MaxwellFit, void(const TVec&, double&)),
    LUMEX_FUZZ(LaplaceFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(LogisticFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(ChiSquareFit, void(const TVec&, int&)),
    LUMEX_FUZZ(ErlangFit, void(const TVec&, int&, double&)),
    LUMEX_FUZZ(NegBinomFit, void(const TVec&, double&, double&)),
    LUMEX_FUZZ(BinomFit, void(const TVec&, double, TVec&)),
    LUMEX_FUZZ(BinomFit, void(const TVec&, const TVec&, TVec&)),
    LUMEX_FUZZ(BinomFit, void(const TVec&, double, TVec&, TVec&, TVec&, double)),
    LUMEX_FUZZ(BinomFit, void(const TVec&, int&, double&)),
    LUMEX_FUZZ_CAPPED(256, BetaFit, void(const TVec&, double&, double&, int, double)),
    LUMEX_FUZZ_CAPPED(256, BetaFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, int, double, double)),
    LUMEX_FUZZ_CAPPED(256, GammaFit, void(const TVec&, double&, double&, int, double)),
    LUMEX_FUZZ_CAPPED(256, GammaFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, int, double, double)),
    LUMEX_FUZZ_CAPPED(256, WeibullFit, void(const TVec&, double&, double&, int, double)),
    LUMEX_FUZZ_CAPPED(256, WeibullFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, int, double, double)),
    LUMEX_FUZZ_CAPPED(256, CauchyFit, void(const TVec&, double&, double&, int, double)),
    LUMEX_FUZZ_CAPPED(256, CauchyFit, void(const TVec&, double&, double&, TTwoElmReal&, TTwoElmReal&, int, double, double)),
    LUMEX_FUZZ_CAPPED(256, FFit, void(const TVec&, int&, int&, int, double)),
    LUMEX_FUZZ_CAPPED(256, StudentFit, void(const TVec&, int&, int, double)),
    LUMEX_FUZZ_CAPPED(256, TriangularFit, void(const TVec&, double&, double&, double&, int, double)),
    LUMEX_FUZZ_CAPPED(256, BetaLike, double(const TVec&, const TVec*, const TObjConsts&)),
    LUMEX_FUZZ_CAPPED(256, BetaLike, double(const TVec&, const TVec*, const TObjConsts&, TTwoElmReal&)),
    LUMEX_FUZZ(GOFKolmogorov, double(const TVec&, THypothesisResult&, double&, const TVec*, const TVec*, THypothesisType, double)),
    LUMEX_FUZZ(GOFKolmogorov, double(const TVec&, const TVec&, THypothesisResult&, double&, THypothesisType, double)),
    LUMEX_FUZZ_CAPPED(256, GOFChi2Test, void(const TVec&, const TVec&, int, int, THypothesisResult&, double&, THypothesisType, double)),
    LUMEX_FUZZ_CAPPED(256, GOFChi2Test, void(const TVec&, TDistribution, int, THypothesisResult&, double&, THypothesisType, double)),
    {"GOFLillieTest", LillieRow, 16},
    LUMEX_FUZZ_CAPPED(256, AndersonDarling, double(const TVec&, TDistribution, THypothesisResult&, double&, double)),
    LUMEX_FUZZ(GOFBeraJarqueTest, double(const TVec&, THypothesisResult&, double&, double)),
    LUMEX_FUZZ(tTest, double(const TVec&, double, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(tTest, double(const TVec&, const TVec&, THypothesisResult&, double&, TTwoElmReal&, bool, THypothesisType, double)),
    LUMEX_FUZZ(ZTest, double(const TVec&, double, double, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(ChiSquareTest, void(const TVec&, double, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(FTest, double(const TVec&, const TVec&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(GrubbsTest, double(const TVec&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(SignTest, double(const TVec&, double, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(SignTest, double(const TVec&, const TVec&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(WilcoxonSign, double(const TVec&, double, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(WilcoxonSign, double(const TVec&, const TVec&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ_CAPPED(64, MannWhitneyTest, double(const TVec&, const TVec&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double, bool)),
    LUMEX_FUZZ_CAPPED(64, MannWCDF1, double(int, int, double)),
    LUMEX_FUZZ(SpearmanRankCorr, void(const TVec&, const TVec&, double&, THypothesisResult&, double&, TTwoElmReal&, THypothesisType, double)),
    LUMEX_FUZZ(ShapiroWilks, double(const TVec&, THypothesisResult&, double&, THypothesisType, double)),
    LUMEX_FUZZ(ShapiroFrancia, double(const TVec&, THypothesisResult&, double&, THypothesisType, double)),
    // Principal components and multivariate tests.
    LUMEX_FUZZ(PCA, void(const TMtx&, TMtx&, TVec&, TVec*)),
    LUMEX_FUZZ(PCA, void(const TMtx&, TMtx&, TMtx&, TVec&, TVec*, TPCAMode)),
    LUMEX_FUZZ(PCAResiduals, void(const TMtx&, int, TMtx&)),
    LUMEX_FUZZ(HotellingT2One, double(const TMtx&, const TVec*, double&, THypothesisResult&, double)),
    LUMEX_FUZZ(HotellingT2Two, double(const TMtx&, const TMtx&, double&, THypothesisResult&, double&, const TVec*, bool, double)),
    LUMEX_FUZZ(MBoxTest, double(const TMtx&, const TMtx&, double&, THypothesisResult&, int&, int&, double)),
    LUMEX_FUZZ(BartlettTest, void(const TMtx&, int&, TVec&, double)),
    // Distances, scaling, reliability, rotation and designs.
    LUMEX_FUZZ(PairwiseDistance, void(const TMtx&, TMtx&, int, TPWDistMethod)),
    LUMEX_FUZZ(MDScaleMetric, void(const TMtx&, TMtx&, TVec&, int)),
    LUMEX_FUZZ(MDScaleStress, double(const TMtx&, const TMtx&)),
    LUMEX_FUZZ(CronbachAlpha, double(const TMtx&)),
    LUMEX_FUZZ_CAPPED(64, OrthogonalRotation, bool(const TMtx&, TMtx&, TMtx&, double, bool, double, int)),
    LUMEX_FUZZ_CAPPED(16, FullFactDesign, void(int, TMtx&, TMtxFloatPrecision, const TVec*)),
    {"FullFactDesign", FullFactLevelsRow},
    LUMEX_FUZZ_CAPPED(64, LatinHyperCubeDesign, void(TMtx&, int, int, TMtxFloatPrecision, bool, TLHCImprove, int)),
    LUMEX_FUZZ(RemoveRow, void(const TMtx&, TMtx&, int)),
    LUMEX_FUZZ(RemoveColumn, void(const TMtx&, TMtx&, int)),
    {"HugeSizes", HugeSizeRow},
};

}  // namespace

LUMEX_FUZZ_TARGET(kRows)
