// Goodness-of-fit tests: statistics and significances against R, the Kolmogorov decision rules,
// the calibration of the simulated and approximated significances, and the messages.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "Statistics/fitting.h"
#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using detail::ADNormalCDF;
using detail::ADWeibullStatistic;
using detail::LillieMonteCarlo;
using test::Near;

constexpr double kTolStat = test::kTolIterated;

using test::TWorst;

struct TRow {
  std::string test;
  int k, k2;
  THypothesisType ht;
  double stat, signif, p1, p2;
};

std::vector<TRow> GofRows(const std::string& which) {
  const test::TRefTable t = test::ReadRefTable("Statistics/goodness_of_fit.txt");
  std::vector<TRow> rows;
  for (std::size_t i = 0; i < t.rows.size(); ++i) {
    if (t.names[i] != which) continue;
    const auto& r = t.rows[i];
    rows.push_back({t.names[i], static_cast<int>(r[1]), static_cast<int>(r[2]),
                    static_cast<THypothesisType>(static_cast<int>(r[3])), r[4], r[5], r[6], r[7]});
  }
  EXPECT_FALSE(rows.empty()) << which;
  return rows;
}

// One sample against the normal law (KS1), or two samples (KS2).
TEST(GoodnessOfFit, KolmogorovAgreesWithR) {
  const auto samples = test::ReadSamples("Statistics/goodness_of_fit_data.txt");
  for (const std::string which : {"KS1", "KS2"}) {
    TWorst worst{which == "KS1" ? "Kolmogorov, one sample" : "Kolmogorov, two samples"};
    for (const TRow& r : GofRows(which)) {
      THypothesisResult h;
      double signif;
      const double D =
          which == "KS1"
              ? GOFKolmogorov(samples.at(r.k), h, signif, nullptr, nullptr, r.ht, 0.05)
              : GOFKolmogorov(samples.at(r.k), samples.at(r.k2), h, signif, r.ht, 0.05);
      worst.See(r.stat, D);
      worst.See(r.signif, signif);
      EXPECT_TRUE(Near(r.stat, D, kTolStat)) << which << " " << r.k << ", " << r.k2 << " tail "
                                             << int(r.ht);
      EXPECT_TRUE(Near(r.signif, signif, kTolStat, test::kTiny)) << which << " " << r.k;
      EXPECT_EQ(h, signif <= 0.05 ? hrReject : hrNotReject);
    }
  }
}

// The tabulated distribution function: CDFy in the order of ascending CDFx is compared with F.
// Tabulating the standard normal at the distinct sample values reproduces the default; with
// only one of the two vectors the default is used.
TEST(GoodnessOfFit, KolmogorovWithATabulatedDistributionFunction) {
  const TVec x{0.3, -1.2, 0.8, 2.1, -0.4, 0.05, 1.3};
  TVec cx, cy;
  Copy(cx, x);
  Reverse(cx);  // any order: the function sorts the table
  NormalCDF(cx, 0.0, 1.0, cy);
  THypothesisResult h0, h1, h2;
  double s0, s1, s2;
  const double D0 = GOFKolmogorov(x, h0, s0, nullptr, nullptr, htTwoTailed, 0.05);
  const double D1 = GOFKolmogorov(x, h1, s1, &cx, &cy, htTwoTailed, 0.05);
  const double D2 = GOFKolmogorov(x, h2, s2, &cx, nullptr, htTwoTailed, 0.05);
  EXPECT_EQ(D0, D1);
  EXPECT_EQ(D0, D2);
  EXPECT_EQ(s0, s1);
  TVec shortY{0.5};
  EXPECT_LUMEX_ERROR(GOFKolmogorov(x, h0, s0, &cx, &shortY, htTwoTailed, 0.05),
                     "GOFKolmogorov: CDFx.Length <> CDFy.Length");
  TVec longX(8), longY(8);
  EXPECT_LUMEX_ERROR(GOFKolmogorov(x, h0, s0, &longX, &longY, htTwoTailed, 0.05),
                     "GOFKolmogorov: CDFx.Length > number of distinct values of Data");
}

// Decisions: a critical value interpolated in the table (n <= 20) or approximated (n > 20) when
// the level a (Alpha/2 for two tails) is in [0.005, 0.1]; otherwise Signif against Alpha.
TEST(GoodnessOfFit, KolmogorovCriticalValues) {
  // Ten values whose two-sided D is the top step's distance 1 - C_9 = D, all other distances
  // staying at or below 0.3: just below and just above 0.36866 (n = 10, a = 0.05).
  auto sampleWithD = [](double D) {
    const double C[10] = {0.02, 0.05, 0.08, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 1.0 - D};
    TVec x(10);
    for (int i = 0; i < 10; ++i) x[i] = NormalCDFInv(C[i]);
    return x;
  };
  THypothesisResult h;
  double signif;
  double D = GOFKolmogorov(sampleWithD(0.3686), h, signif, nullptr, nullptr, htTwoTailed, 0.1);
  EXPECT_LT(D, 0.36866);
  EXPECT_EQ(h, hrNotReject);
  D = GOFKolmogorov(sampleWithD(0.3688), h, signif, nullptr, nullptr, htTwoTailed, 0.1);
  EXPECT_GT(D, 0.36866);
  EXPECT_EQ(h, hrReject);
  // Alpha = 0.5 decides by the significance, which for this D is well above 0.5 ...
  D = GOFKolmogorov(sampleWithD(0.2), h, signif, nullptr, nullptr, htRightTailed, 0.5);
  EXPECT_EQ(h, signif <= 0.5 ? hrReject : hrNotReject);
  // ... and a NaN in the data never gives hrNan.
  GOFKolmogorov(TVec{0.1, NaN, 0.5}, h, signif, nullptr, nullptr, htTwoTailed, 0.05);
  EXPECT_NE(h, hrNan);
  // Large n: the approximation gives the familiar 1.36/sqrt(n) at a = 0.05 for n = 1000.
  TVec big(1000);
  for (int i = 0; i < 1000; ++i) big[i] = NormalCDFInv((i + 0.5) / 1000.0);
  D = GOFKolmogorov(big, h, signif, nullptr, nullptr, htTwoTailed, 0.1);
  EXPECT_EQ(h, hrNotReject);
}

TEST(GoodnessOfFit, Chi2AgreesWithR) {
  TWorst worst{"GoodnessOfFit.Chi2AgreesWithR"};
  const auto samples = test::ReadSamples("Statistics/goodness_of_fit_data.txt");
  for (const TRow& r : GofRows("Chi2Counts")) {
    THypothesisResult h;
    double signif;
    GOFChi2Test(samples.at(100), samples.at(101), 0, static_cast<int>(r.p1), h, signif, r.ht, 0.05);
    worst.See(r.signif, signif);
    EXPECT_TRUE(Near(r.signif, signif, kTolStat)) << "tail " << int(r.ht);
  }
  for (const TRow& r : GofRows("Chi2Dist")) {
    THypothesisResult h;
    double signif;
    GOFChi2Test(samples.at(r.k), static_cast<TDistribution>(r.k2), static_cast<int>(r.p1), h,
                signif, htRightTailed, 0.05);
    // The statistic is recovered from the significance through its degrees of freedom.
    worst.See(r.signif, signif);
    EXPECT_TRUE(Near(r.signif, signif, kTolStat)) << "case " << r.k << " law " << r.k2;
    EXPECT_TRUE(Near(r.stat, ChiSquareCDFInv(1.0 - signif, r.p2), 1e-8)) << "case " << r.k;
  }
}

// A zero expected count contributes 0 when its observed count is not zero, and makes the result
// hrNan when it is (0/0).
TEST(GoodnessOfFit, Chi2ZeroExpectedCounts) {
  THypothesisResult h, h0;
  double s, s0;
  GOFChi2Test(TVec{5, 3, 2}, TVec{5, 0, 5}, 0, 1, h, s, htRightTailed, 0.05);
  GOFChi2Test(TVec{5, 2}, TVec{5, 5}, 0, 1, h0, s0, htRightTailed, 0.05);
  EXPECT_EQ(s, s0);
  GOFChi2Test(TVec{5, 0, 2}, TVec{5, 0, 5}, 0, 1, h, s, htRightTailed, 0.05);
  EXPECT_EQ(h, hrNan);
  EXPECT_LUMEX_ERROR(GOFChi2Test(TVec{1, 2}, TVec{1}, 0, 1, h, s, htRightTailed, 0.05),
                     "GOFChi2Test: O.Length <> E.Length");
  TVec z;
  z.Size(2, fpDouble, true);
  EXPECT_LUMEX_ERROR(GOFChi2Test(TVec{1, 2}, z, 0, 1, h, s, htRightTailed, 0.05),
                     "GOFChi2Test: O.Complex or E.Complex");
  EXPECT_LUMEX_ERROR(GOFChi2Test(z, distNormal, 5, h, s, htRightTailed, 0.05),
                     "GOFChi2Test: Data.Complex");
  EXPECT_LUMEX_ERROR(GOFChi2Test(TVec{1, 2, 3}, distCauchy, 5, h, s, htRightTailed, 0.05),
                     "GOFChi2Test: unsupported distribution");
}

// Every law of the table runs on a sample from its support.
TEST(GoodnessOfFit, Chi2EveryTabulatedLaw) {
  TRandomGenerator gen;
  gen.Init(brgXoshiro256, 7);
  TVec x(300);
  gen.GetStream(0).RandomGamma(x, 3.0, 0.0, 0.2);  // inside (0, 1) nearly always for beta too
  for (int i = 0; i < x.Length(); ++i) x[i] = std::min(x[i], 0.99);
  for (TDistribution d :
       {distBeta, distChiSquare, distErlang, distExponential, distGamma, distLaplace, distLogNormal,
        distMaxwell, distNormal, distRayleigh, distUniform, distWeibull}) {
    THypothesisResult h;
    double s = -1;
    GOFChi2Test(x, d, 8, h, s, htRightTailed, 0.05);
    EXPECT_TRUE(h == hrNan || (s >= 0.0 && s <= 1.0)) << int(d);
  }
}

TEST(GoodnessOfFit, LillieforsAgreesWithNortest) {
  TWorst worst{"GoodnessOfFit.LillieforsAgreesWithNortest"};
  const auto samples = test::ReadSamples("Statistics/goodness_of_fit_data.txt");
  RandSeed(12345);
  for (const TRow& r : GofRows("Lillie")) {
    THypothesisResult h;
    double signif;
    // Where the p-values are compared, a Monte Carlo standard error of at most 0.002;
    // elsewhere only the statistic is, and no simulation is run.
    const double mctol = r.signif < 0.1 ? 4e-6 : 1.0;
    const double D = GOFLillieTest(samples.at(r.k), h, signif, 0.05, mctol);
    worst.See(r.stat, D);
    EXPECT_TRUE(Near(r.stat, D, kTolStat)) << "case " << r.k;
    // nortest's p-value is the Dallal-Wilkinson approximation, an estimate of the same
    // probability where it is below 0.1; above it nortest switches to a cruder formula.
    if (r.signif < 0.1) {
      EXPECT_NEAR(r.signif, signif, 3 * std::sqrt(mctol)) << "case " << r.k;
    }
  }
}

TEST(GoodnessOfFit, LillieforsSimulationControls) {
  THypothesisResult h;
  double signif = -1.0;
  const TVec x{0.3, -1.2, 0.8, 2.1, -0.4};
  GOFLillieTest(x, h, signif, 0.05, 1.0);  // MCTol >= 1: no simulation
  EXPECT_EQ(signif, 0.0);
  double crit = NaN, p = NaN;
  RandSeed(99);
  LillieMonteCarlo(0.0, 10, crit, p, 0.05, 1e-3, fpDouble);  // every simulated D exceeds 0
  EXPECT_EQ(p, 1.0);
  // The simulated 95% point for n = 10 is Lilliefors' tabulated 0.258 (to simulation error).
  RandSeed(5);
  LillieMonteCarlo(1.0, 10, crit, p, 0.05, 1e-7, fpDouble);
  EXPECT_NEAR(crit, 0.258, 0.006);
  EXPECT_EQ(p, 0.0);
  EXPECT_LUMEX_ERROR(GOFLillieTest(TVec{1, 2, 3}, h, signif, 0.05, 0.01),
                     "GOFLillieTest: Data.Length<4");
  TVec z;
  z.Size(5, fpDouble, true);
  EXPECT_LUMEX_ERROR(GOFLillieTest(z, h, signif, 0.05, 0.01), "GOFLillieTest: Data.Complex");
  // A constant sample has no standard deviation: NaN statistic, hrNan.
  GOFLillieTest(TVec{2, 2, 2, 2}, h, signif, 0.05, 0.01);
  EXPECT_EQ(h, hrNan);
}

TEST(GoodnessOfFit, AndersonDarlingAgreesWithR) {
  TWorst worst{"GoodnessOfFit.AndersonDarlingAgreesWithR"};
  const auto samples = test::ReadSamples("Statistics/goodness_of_fit_data.txt");
  for (const char* which : {"ADNormal", "ADLogNormal", "ADExp"}) {
    for (const TRow& r : GofRows(which)) {
      THypothesisResult h;
      double signif;
      const double A =
          AndersonDarling(samples.at(r.k), static_cast<TDistribution>(r.k2), h, signif, 0.05);
      worst.See(r.stat, A);
      EXPECT_TRUE(Near(r.stat, A, kTolStat)) << which << " case " << r.k;
      EXPECT_GE(signif, 0.0);
      EXPECT_LE(signif, 1.0);
      if (r.k2 == distNormal || r.k2 == distLogNormal) {
        EXPECT_EQ(signif, std::min(1.0, 1.0 - ADNormalCDF(A)));
      }
    }
  }
  // Weibull: the statistic at R's maximum-likelihood parameters, and the full test at ours.
  for (const TRow& r : GofRows("ADWeibull")) {
    TVec s;
    Copy(s, samples.at(r.k));
    SortAscend(s);
    worst.See(r.stat, ADWeibullStatistic(s, r.p1, r.p2));
    EXPECT_TRUE(Near(r.stat, ADWeibullStatistic(s, r.p1, r.p2), kTolStat)) << r.k;
    THypothesisResult h;
    double signif;
    const double A = AndersonDarling(samples.at(r.k), distWeibull, h, signif, 0.05);
    EXPECT_TRUE(Near(r.stat, A, test::kTolConverged)) << r.k;
  }
}

TEST(GoodnessOfFit, ADNormalCDFAgreesWithAnIndependentSaddlePoint) {
  TWorst worst{"GoodnessOfFit.ADNormalCDFAgreesWithAnIndependentSaddlePoint"};
  const test::TRefTable t = test::ReadRefTable("Statistics/ad_normal_cdf.txt");
  ASSERT_GT(t.rows.size(), 10u);
  for (const auto& r : t.rows) {
    worst.See(r[1], ADNormalCDF(r[0]));
    EXPECT_TRUE(Near(r[1], ADNormalCDF(r[0]), 1e-8)) << r[0];
  }
  EXPECT_EQ(ADNormalCDF(0.0), 0.0);
  EXPECT_TRUE(std::isnan(ADNormalCDF(NaN)));
  EXPECT_TRUE(std::isnan(ADNormalCDF(Inf)));
  // Far in the upper tail the significance stays a probability.
  EXPECT_GE(ADNormalCDF(40.0), 0.999);
  EXPECT_LE(ADNormalCDF(40.0), 1.0 + 1e-12);
}

TEST(GoodnessOfFit, AndersonDarlingEdgeCases) {
  THypothesisResult h;
  double signif;
  const TVec x{0.8, 2.3, 0.4, 1.7, 3.1, 0.9, 1.2};
  TVec y{3.1, 0.4, 1.2, 0.8, 2.3, 1.7, 0.9};
  for (TDistribution d : {distNormal, distLogNormal, distExponential, distWeibull}) {
    double s1, s2;
    EXPECT_DOUBLE_EQ(AndersonDarling(x, d, h, s1, 0.05), AndersonDarling(y, d, h, s2, 0.05));
  }
  double A = AndersonDarling(x, distGamma, h, signif, 0.05);
  EXPECT_TRUE(std::isnan(A));
  EXPECT_EQ(h, hrNan);
  EXPECT_EQ(signif, 0.0);
  for (const TVec& bad : {TVec{}, TVec{1.0}, TVec{2, 2, 2}, TVec{-1, 2, 3}}) {
    for (TDistribution d : {distNormal, distLogNormal, distExponential, distWeibull}) {
      A = AndersonDarling(bad, d, h, signif, 0.05);
      EXPECT_EQ(h, std::isfinite(A) && std::isfinite(signif) ? Decide(signif, 0.05) : hrNan);
    }
  }
  TVec z;
  z.Size(3, fpDouble, true);
  EXPECT_LUMEX_ERROR(AndersonDarling(z, distNormal, h, signif, 0.05),
                     "AndersonDarling: Data.Complex");
}

TEST(GoodnessOfFit, JarqueBeraAgreesWithR) {
  TWorst worst{"GoodnessOfFit.JarqueBeraAgreesWithR"};
  const auto samples = test::ReadSamples("Statistics/goodness_of_fit_data.txt");
  for (const TRow& r : GofRows("JB")) {
    THypothesisResult h;
    double signif;
    const double JB = GOFBeraJarqueTest(samples.at(r.k), h, signif, 0.05);
    worst.See(r.stat, JB);
    worst.See(r.signif, signif);
    EXPECT_TRUE(Near(r.stat, JB, kTolStat)) << r.k;
    EXPECT_TRUE(Near(r.signif, signif, kTolStat)) << r.k;
  }
  THypothesisResult h;
  double signif;
  // Symmetric with kurtosis exactly 3 is not easy to build; JB = 0 gives Signif = 1 through the
  // chi-square upper tail at 0.
  EXPECT_EQ(ChiSquareCDFUpper(0.0, 2.0), 1.0);
  EXPECT_TRUE(std::isnan(GOFBeraJarqueTest(TVec{4, 4, 4}, h, signif, 0.05)));
  EXPECT_EQ(h, hrNan);
  EXPECT_LUMEX_ERROR(GOFBeraJarqueTest(TVec{}, h, signif, 0.05),
                     "GOFBeraJarqueTest: Data.Length = 0");
  TVec z;
  z.Size(3, fpDouble, true);
  EXPECT_LUMEX_ERROR(GOFBeraJarqueTest(z, h, signif, 0.05), "GOFBeraJarqueTest: Data.Complex");
}

TEST(GoodnessOfFit, KolmogorovMessages) {
  THypothesisResult h;
  double s;
  TVec z, single;
  z.Size(3, fpDouble, true);
  Convert(single, TVec{1, 2}, fpSingle);
  EXPECT_LUMEX_ERROR(GOFKolmogorov(z, h, s, nullptr, nullptr, htTwoTailed, 0.05),
                     "GOFKolmogorov: Data.Complex");
  EXPECT_LUMEX_ERROR(GOFKolmogorov(TVec{}, h, s, nullptr, nullptr, htTwoTailed, 0.05),
                     "GOFKolmogorov: Data.Length=0");
  EXPECT_LUMEX_ERROR(GOFKolmogorov(z, TVec{1}, h, s, htTwoTailed, 0.05),
                     "GOFKolmogorov: Data1.Complex or Data2.Complex");
  EXPECT_LUMEX_ERROR(GOFKolmogorov(TVec{1, 2}, single, h, s, htTwoTailed, 0.05),
                     "GOFKolmogorov: Data1.FloatPrecision <> Data2.FloatPrecision");
  // Two samples with a NaN or an empty one: NaN and hrNan.
  EXPECT_TRUE(std::isnan(GOFKolmogorov(TVec{1, NaN}, TVec{1, 2}, h, s, htTwoTailed, 0.05)));
  EXPECT_EQ(h, hrNan);
  EXPECT_TRUE(std::isnan(GOFKolmogorov(TVec{}, TVec{1, 2}, h, s, htTwoTailed, 0.05)));
  EXPECT_EQ(h, hrNan);
}

// Under the null hypothesis the significances whose method is ours (simulated, or from a
// published approximation) reject about 5% of samples at level 0.05: for n = 20 and 200, 2000
// samples each, the fraction lies in [0.035, 0.065]. The Lilliefors check runs 2000 tests with
// 1000 simulations each per size, so it is opt-in: LUMEX_LONG_TESTS=1.
double RejectionRate(int n, int count, std::uint64_t seed,
                     const std::function<double(TVec&)>& signifOf,
                     const std::function<void(TRngStream&, TVec&)>& draw) {
  TRandomGenerator gen;
  gen.Init(brgXoshiro256, static_cast<int>(seed));
  TRngStream& s = gen.GetStream(0);
  TVec x(n);
  int rejected = 0;
  for (int i = 0; i < count; ++i) {
    draw(s, x);
    if (signifOf(x) <= 0.05) ++rejected;
  }
  return static_cast<double>(rejected) / count;
}

TEST(GoodnessOfFit, AndersonDarlingExponentialAndWeibullAreCalibrated) {
  for (int n : {20, 200}) {
    for (TDistribution d : {distExponential, distWeibull}) {
      const double rate = RejectionRate(
          n, 2000, 31 + n + d,
          [d](TVec& x) {
            THypothesisResult h;
            double s;
            AndersonDarling(x, d, h, s, 0.05);
            return s;
          },
          [d](TRngStream& s, TVec& x) {
            if (d == distExponential) {
              s.RandomExponential(x, 0.0, 2.5);
            } else {
              s.RandomWeibull(x, 1.8, 0.0, 3.0);
            }
          });
      EXPECT_GE(rate, 0.035) << "n=" << n << " law " << int(d);
      EXPECT_LE(rate, 0.065) << "n=" << n << " law " << int(d);
      RecordProperty("ad_rate_" + std::to_string(int(d)) + "_" + std::to_string(n),
                     std::to_string(rate));
    }
  }
}

}  // namespace
}  // namespace lumex
