// The StatControlCharts module: Shewhart charts of variables and attributes, the EWMA and CUSUM
// charts, capability indexes and the Westgard rules. The functions compute what a chart draws
// (points, centre line, limits); plotting is left to the application.
#include <cmath>
#include <cstdio>

#include "lumex/StatControlCharts.h"
#include "lumex/StatRandom.h"

namespace {

// 25 subgroups of 5 measurements of a shaft diameter (mm), simulated: on target 10.0 with
// standard deviation 0.02 for 20 subgroups, then shifted up by 0.03.
lumex::TMtx Diameters() {
  lumex::TMtx d(25, 5);
  lumex::RandomNormal(10.0, 0.02, d, 7);  // seeded: the same numbers on every run
  for (int i = 20; i < 25; ++i) {
    for (int j = 0; j < 5; ++j) d(i, j) += 0.03;
  }
  return d;
}

// The sample numbers whose points lie outside [lcl, ucl].
void PrintOutside(const lumex::TVec& points, double lcl, double ucl) {
  std::printf("  outside the limits:");
  for (int i = 0; i < points.Length(); ++i) {
    if (points[i] < lcl || points[i] > ucl) std::printf(" %d", i + 1);
  }
  std::printf("\n");
}

void Shewhart(const lumex::TMtx& data) {
  std::printf("== Shewhart charts of variables: subgroup means and ranges, 3-sigma limits\n");
  // [shewhart]
  // Variable charts take a two-sided coverage: 2 Phi(3) - 1 gives the usual 3-sigma limits.
  const double threeSigma = 2.0 * lumex::NormalCDF(3.0) - 1.0;
  lumex::TVec means, ranges;
  double cl, ucl, lcl;
  lumex::QCXChart(data, means, cl, ucl, lcl, threeSigma);  // rows are the subgroups
  std::printf("x-bar chart: CL %.4f, UCL %.4f, LCL %.4f\n", cl, ucl, lcl);
  PrintOutside(means, lcl, ucl);
  lumex::QCRChart(data, ranges, cl, ucl, lcl, threeSigma);
  std::printf("R chart:     CL %.4f, UCL %.4f, LCL %.4f\n", cl, ucl, lcl);
  PrintOutside(ranges, lcl, ucl);
  // [shewhart]
}

void Attributes() {
  std::printf("\n== p chart: defectives in 12 lots of 200 items\n");
  // [attributes]
  const lumex::TVec defectives{8, 11, 6, 9, 12, 7, 10, 9, 23, 8, 6, 10};
  // Attribute charts take a one-sided probability: Phi(3) gives 3-sigma limits.
  const double threeSigma = lumex::NormalCDF(3.0);
  lumex::TVec proportions;
  double cl, ucl, lcl;
  lumex::QCPChart(defectives, 200, proportions, cl, ucl, lcl, threeSigma);
  std::printf("CL %.4f, UCL %.4f, LCL %.4f\n", cl, ucl, lcl);
  PrintOutside(proportions, lcl, ucl);
  // [attributes]
}

void Accumulating(const lumex::TMtx& data) {
  std::printf("\n== EWMA and CUSUM charts: small shifts accumulate\n");
  // [ewma cusum]
  lumex::TVec ewma, ucl, lcl;
  double cl;
  // Lambda = 0.2; exact limits for each sample (they widen towards the asymptotic ones).
  lumex::EWMAChart(data, ewma, cl, ucl, lcl, 0.2, lumex::NormalCDF(3.0));
  std::printf("EWMA: CL %.4f, last limits [%.4f, %.4f]\n", cl, lcl[24], ucl[24]);
  std::printf("  first sample above its upper limit:");
  for (int i = 0; i < ewma.Length(); ++i) {
    if (ewma[i] > ucl[i]) {
      std::printf(" %d", i + 1);
      break;
    }
  }
  std::printf("\n");
  // Tabular CUSUM of the subgroup means about the target 10.0, in units of their standard
  // error se = sigma / sqrt(5): the reference value K = se/2 tunes it to shifts of one standard
  // error, and C+ or C- above the decision interval H = 4 se signals.
  const double target = 10.0, se = 0.02 / std::sqrt(5.0);
  lumex::TVec cusum, upper, lower;
  lumex::QCCumSumChart(data, cusum, se / 2, 4 * se, target, se, &upper, &lower, 0.99);
  std::printf("CUSUM: first sample with C+ above H:");
  for (int i = 0; i < upper.Length(); ++i) {
    if (upper[i] > 4 * se) {
      std::printf(" %d", i + 1);
      break;
    }
  }
  std::printf("\n");
  // [ewma cusum]
}

void Capability(const lumex::TMtx& data) {
  std::printf("\n== Capability of the first 20 subgroups against the tolerance 10.00 +- 0.07 mm\n");
  // [capability]
  lumex::TVec x(100);
  for (int i = 0; i < 100; ++i) x[i] = data(i / 5, i % 5);
  double outOfSpec, cp, cpk;
  lumex::TTwoElmReal cpCI, cpkCI;  // 95% intervals
  lumex::QCCapIndexes(x, 9.93, 10.07, outOfSpec, cp, cpk, cpCI, cpkCI, 0.05);
  std::printf("Cp %.3f [%.3f, %.3f], Cpk %.3f [%.3f, %.3f], expected out of tolerance %.2g\n", cp,
              cpCI[0], cpCI[1], cpk, cpkCI[0], cpkCI[1], outOfSpec);
  // [capability]
}

void Westgard() {
  std::printf("\n== Westgard rules: a control material of target 100, sigma 2\n");
  // [westgard]
  const lumex::TVec control{101, 99, 103, 98, 100, 104.5, 104.8, 97, 101, 93};
  lumex::TVec codes;  // per measurement, the sum of the codes of the rules it violates
  lumex::QCWestgardRules(control, codes, 100.0, 2.0);
  for (int i = 0; i < control.Length(); ++i) {
    if (codes[i] != 0) std::printf("run %d: value %g, rule code %g\n", i + 1, control[i], codes[i]);
  }
  // [westgard]
}

}  // namespace

int main() {
  const lumex::TMtx data = Diameters();
  Shewhart(data);
  Attributes();
  Accumulating(data);
  Capability(data);
  Westgard();
}
