// The Statistics module: descriptive statistics, a two-sample t-test, a rank test, a normality
// test and the fit of a Weibull distribution.
#include <cstdio>

#include "lumex/Statistics.h"

namespace {

// [plant data]
// Dried weight of plants (g) grown under control conditions and under a second treatment
// (Dobson 1983, the PlantGrowth data of R).
const lumex::TVec kControl{4.17, 5.58, 5.18, 6.11, 4.50, 4.61, 5.17, 4.53, 5.33, 5.14};
const lumex::TVec kTreated{6.31, 5.12, 5.54, 5.50, 5.37, 5.29, 4.92, 6.15, 5.80, 5.26};
// [plant data]

const char* Decision(lumex::THypothesisResult h) {
  return h == lumex::hrReject ? "reject H0" : h == lumex::hrNotReject ? "keep H0" : "undefined";
}

void Descriptive() {
  std::printf("== Descriptive statistics of the control weights\n");
  // [descriptive]
  const lumex::TVec& x = kControl;
  std::printf("n = %d, mean %.6g, standard deviation %.6g, median %.6g\n", x.Length(),
              lumex::Mean(x), lumex::StdDev(x), lumex::Median(x));
  std::printf("quartiles %.6g and %.6g (R's type 6 quantiles)\n",
              lumex::Percentile(x, 0.25, lumex::pctMethodNPlus),
              lumex::Percentile(x, 0.75, lumex::pctMethodNPlus));
  // [descriptive]
}

void TwoSampleTTest() {
  std::printf("\n== Two-sample t-test: do the mean weights differ?\n");
  // [two-sample t-test]
  lumex::THypothesisResult h;
  double p;
  lumex::TTwoElmReal ci;  // confidence interval for mean(control) - mean(treated)
  const bool paired = false;  // independent samples, pooled variance
  const double t = lumex::tTest(kControl, kTreated, h, p, ci, paired, lumex::htTwoTailed, 0.05);
  std::printf("t = %.6g, p = %.6g, 95%% interval for the difference [%.6g, %.6g]: %s\n", t, p,
              ci[0], ci[1], Decision(h));
  // [two-sample t-test]
}

void RankTest() {
  std::printf("\n== Rank test: Mann-Whitney U, without assuming normal data\n");
  // [rank test]
  lumex::THypothesisResult h;
  double p;
  lumex::TTwoElmReal ci;
  const bool normalApprox = false;  // exact distribution of U (no ties here)
  const double u = lumex::MannWhitneyTest(kControl, kTreated, h, p, ci, lumex::htTwoTailed, 0.05,
                                          normalApprox);
  std::printf("U = %.6g, p = %.6g: %s\n", u, p, Decision(h));
  // [rank test]
}

void NormalityTest() {
  std::printf("\n== Normality test: Shapiro-Wilk on the control weights\n");
  // [normality test]
  lumex::THypothesisResult h;
  double p;
  const double w = lumex::ShapiroWilks(kControl, h, p, lumex::htRightTailed, 0.05);
  std::printf("W = %.6g, p = %.6g: %s (H0: the weights are normal)\n", w, p, Decision(h));
  // [normality test]
}

void WeibullFit() {
  std::printf("\n== Fitting a Weibull distribution: ball bearing lifetimes\n");
  // [weibull fit]
  // Millions of revolutions to failure of 23 ball bearings (Lieblein and Zelen 1956).
  const lumex::TVec life{17.88, 28.92, 33.00, 41.52, 42.12, 45.60, 48.48, 51.84,
                         51.96, 54.12, 55.56, 67.80, 68.64, 68.64, 68.88, 84.12,
                         93.12, 98.64, 105.12, 105.84, 127.92, 128.04, 173.40};
  double scale, shape;
  lumex::TTwoElmReal scaleCI, shapeCI;  // 95% Wald intervals
  lumex::WeibullFit(life, scale, shape, scaleCI, shapeCI, 500, 1e-8, 0.05);
  std::printf("maximum likelihood: scale %.5g [%.5g, %.5g], shape %.5g [%.5g, %.5g]\n", scale,
              scaleCI[0], scaleCI[1], shape, shapeCI[0], shapeCI[1]);
  // The fitted law: the fraction of bearings expected to fail before 50 million revolutions.
  std::printf("P(life <= 50) = %.4f\n", lumex::WeibullCDF(50.0, scale, shape));
  // Does a Weibull law fit? Anderson-Darling against the Weibull with estimated parameters.
  lumex::THypothesisResult h;
  double p;
  const double a2 = lumex::AndersonDarling(life, lumex::distWeibull, h, p, 0.05);
  std::printf("Anderson-Darling A2 = %.4f, p = %.4f: %s\n", a2, p, Decision(h));
  // [weibull fit]
}

}  // namespace

int main() {
  Descriptive();
  TwoSampleTTest();
  RankTest();
  NormalityTest();
  WeibullFit();
}
