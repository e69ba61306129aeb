// Maximum-likelihood fits: optima against R's, Wald intervals, the objectives' contracts and the
// degenerate inputs.
#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "Statistics/fitting.h"
#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using detail::GammaLike;
using detail::WeibullLike;
using test::Near;

constexpr int kMaxIter = 20000;
constexpr double kTol = test::kTolRef;

// Beta, gamma, Weibull and Cauchy samples of 20, 200 and 5000 values: the optimum agrees with
// R's to 1e-5, and the Wald intervals are est -+ z se with se the outer-product standard error
// (checked against R's analytic scores; the forward differences cost a few digits).
TEST(FitLikelihood, OptimaAndStandardErrorsAgreeWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/fit_likelihood_data.txt");
  const test::TRefTable t = test::ReadRefTable("Statistics/fit_likelihood.txt");
  ASSERT_EQ(t.rows.size(), 12u);
  const double alpha = 0.05;
  const double z = NormalCDFInv(1.0 - 0.5 * alpha);
  test::TWorst worstEst{"likelihood fit estimates"}, worstSe{"likelihood fit standard errors"};
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    const std::string& law = t.names[r];
    const std::vector<double>& row = t.rows[r];
    const TVec& x = samples.at(static_cast<int>(row[1]));
    double a = NaN, b = NaN;
    TTwoElmReal ca, cb;
    if (law == "beta") {
      BetaFit(x, a, b, ca, cb, kMaxIter, kTol, alpha);
    } else if (law == "gamma") {
      GammaFit(x, a, b, ca, cb, kMaxIter, kTol, alpha);
    } else if (law == "weibull") {
      WeibullFit(x, a, b, ca, cb, kMaxIter, kTol, alpha);
    } else {
      CauchyFit(x, a, b, ca, cb, kMaxIter, kTol, alpha);
    }
    EXPECT_TRUE(Near(row[3], a, 1e-5)) << law << " n=" << row[2];
    EXPECT_TRUE(Near(row[4], b, 1e-5)) << law << " n=" << row[2];
    worstEst.See(row[3], a);
    worstEst.See(row[4], b);
    const double sa = (ca[1] - ca[0]) / (2 * z), sb = (cb[1] - cb[0]) / (2 * z);
    EXPECT_TRUE(Near(0.5 * (ca[0] + ca[1]), a, test::kTolSummed));
    EXPECT_TRUE(Near(0.5 * (cb[0] + cb[1]), b, test::kTolSummed));
    EXPECT_TRUE(Near(row[5], sa, 1e-4)) << law << " n=" << row[2];
    EXPECT_TRUE(Near(row[6], sb, 1e-4)) << law << " n=" << row[2];
    worstSe.See(row[5], sa);
    worstSe.See(row[6], sb);
    // The point overloads give the same optimum.
    double a2, b2;
    if (law == "gamma") {
      GammaFit(x, a2, b2, kMaxIter, kTol);
      EXPECT_EQ(a, a2);
      EXPECT_EQ(b, b2);
    }
  }
}

// GammaFit and WeibullFit evaluate their likelihoods through sufficient statistics, moments and
// vectorised passes on positive double samples; the point they return must still minimise the
// objectives as written (GammaLike, WeibullLike with its 2^-52), and agree with the fit of the
// same sample in single precision, which minimises those objectives directly. The samples of
// 5000 values cross the blocks of the passes; an outlier on each side puts values deep in the
// tails of the Weibull law, where its objective is summed point by point.
using TPointFit = void (*)(const TVec&, double&, double&, int, double);
using TObjective = double (*)(const TVec&, const TVec*, const TObjConsts&);

TEST(FitLikelihood, FastObjectivesMinimiseTheWrittenOnes) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/fit_likelihood_data.txt");
  for (int k : {3, 4, 5, 6, 7, 8, 14, 17}) {  // gamma, Weibull: 20, 200, 5000; 200 with outliers
    const bool outliers = k > 11;
    TVec x;
    Copy(x, samples.at(outliers ? k - 10 : k));
    if (outliers) {
      x[0] *= 1e3;
      x[1] *= 1e-4;
    }
    const bool gamma = k % 10 < 6;
    const TPointFit fit =
        gamma ? static_cast<TPointFit>(GammaFit) : static_cast<TPointFit>(WeibullFit);
    const TObjective like =
        gamma ? static_cast<TObjective>(GammaLike) : static_cast<TObjective>(WeibullLike);
    double a, b;
    fit(x, a, b, kMaxIter, kTol);
    TVec W, pars{a, b};
    const TObjConsts objs{&x, &W};
    const double f0 = like(pars, nullptr, objs);
    for (int i = 0; i < 2; ++i) {
      for (double step : {-1e-4, 1e-4}) {
        TVec moved{a, b};
        moved[i] *= 1.0 + step;
        EXPECT_GT(like(moved, nullptr, objs), f0 - 1e-9 * std::fabs(f0)) << k << " " << i;
      }
    }
    if (outliers) continue;  // single-precision densities of the outliers underflow
    // The direct form: a single-precision sample takes the written objective.
    TVec xs;
    Convert(xs, x, fpSingle);
    TVec xd;
    Convert(xd, xs, fpDouble);
    double ad, bd, as, bs;
    fit(xd, ad, bd, kMaxIter, kTol);
    fit(xs, as, bs, kMaxIter, 1e-6);
    // Single-precision densities resolve the objective to about 1e-7 relative, so the optimum
    // only to about its square root.
    EXPECT_TRUE(Near(ad, as, 2e-3)) << k;
    EXPECT_TRUE(Near(bd, bs, 2e-3)) << k;
  }
}

// The shape of a gamma fit does not depend on the unit of the data, even at the ends of the
// double range, where the sums of ln x must keep their binary exponents apart (to the accuracy of
// the optimiser: the objective itself is not scale invariant). The 5000 values cross the blocks
// of that pass. (A Weibull fit is not scale invariant at such units: the 2^-52 its objective
// adds to every density dominates densities of order 1e-151.)
TEST(FitLikelihood, ShapeIsScaleInvariant) {
  const std::vector<TVec> samples{TVec{0.8, 1.3, 2.1, 2.9, 3.4, 4.4, 5.0, 6.3, 1.1, 0.4, 2.2, 7.5},
                                  test::ReadSamples("Statistics/fit_likelihood_data.txt").at(5)};
  for (const TVec& x : samples) {
    double a0, b0;
    GammaFit(x, a0, b0, kMaxIter, kTol);
    for (double unit : {1e151, 1e-151}) {  // beyond 2^+-500, where the moments still exist
      TVec y;
      Copy(y, x);
      Mul(y, unit);
      double a, b;
      GammaFit(y, a, b, kMaxIter, kTol);
      EXPECT_TRUE(Near(a0, a, 1e-5)) << x.Length() << " " << unit;
      EXPECT_TRUE(Near(b0 * unit, b, 1e-5)) << x.Length() << " " << unit;
    }
  }
}

// The exported BetaLike returns minus the log-likelihood and leaves the densities in W; the
// standard-error form returns the same value and leaves Pars as it found it.
TEST(FitLikelihood, BetaLikeContract) {
  const TVec x{0.1, 0.35, 0.5, 0.72, 0.9};
  TVec W, pars{2.0, 3.0};
  const TObjConsts objs{const_cast<TVec*>(&x), &W};
  const double f = BetaLike(pars, nullptr, objs);
  double expect = 0.0;
  for (int i = 0; i < x.Length(); ++i) expect -= std::log(BetaPDF(x[i], 2.0, 3.0));
  EXPECT_TRUE(Near(expect, f, test::kTolExact));
  ASSERT_EQ(W.Length(), 5);
  // The densities were logged in place: W holds ln f.
  EXPECT_TRUE(Near(std::log(BetaPDF(0.5, 2.0, 3.0)), W[2], test::kTolExact));
  TTwoElmReal se{};
  EXPECT_EQ(BetaLike(pars, nullptr, objs, se), f);
  EXPECT_EQ(pars.ToString(), "[2, 3]");
  EXPECT_GT(se[0], 0.0);
  EXPECT_GT(se[1], 0.0);
  TVec notEnough;
  EXPECT_LUMEX_ERROR(BetaLike(pars, nullptr, TObjConsts{&notEnough}),
                     "BetaLike: ObjConsts must hold the sample and a work vector");
}

// Weibull adds 2^-52 to each density: a point far beyond the fitted law costs ln(2^-52), not Inf.
TEST(FitLikelihood, WeibullObjectiveIsFiniteFarInTheTail) {
  const TVec x{1.0, 1e6};
  TVec W, pars{1.0, 2.0};
  const double f = WeibullLike(pars, nullptr, TObjConsts{const_cast<TVec*>(&x), &W});
  EXPECT_TRUE(std::isfinite(f));
}

TEST(FitLikelihood, StudentAndFStartsAndBounds) {
  // Variance below 1: 2v/(v - 1) is negative, the start is 2 and the upper bound 4.
  int nu = -1;
  StudentFit(TVec{-0.5, 0.1, 0.4, -0.2, 0.3, 0.0}, nu, 500, 1e-8);
  EXPECT_GE(nu, 1);
  EXPECT_LE(nu, 4);
  // MaxIter = 0 never converges: the moment start is returned.
  StudentFit(TVec{-3, -1, 0, 1, 3, 0.5, -0.5}, nu, 0, 1e-8);
  const double v =
      StdDev(TVec{-3, -1, 0, 1, 3, 0.5, -0.5}) * StdDev(TVec{-3, -1, 0, 1, 3, 0.5, -0.5});
  EXPECT_EQ(nu, static_cast<int>(std::max(2.0, std::trunc(2 * v / (v - 1)))));
  int nu1 = -1, nu2 = -1;
  const TVec fx{0.6, 0.9, 1.1, 1.4, 0.8, 1.9, 0.7, 1.2, 2.5, 0.95};
  FFit(fx, nu1, nu2, 0, 1e-8);
  const double m = Mean(fx);
  EXPECT_EQ(nu2, static_cast<int>(std::nearbyint(std::max(2 * m / (m - 1), 2.0))));
  FFit(fx, nu1, nu2, 2000, 1e-8);
  EXPECT_GE(nu1, 1);
  EXPECT_GE(nu2, 1);
}

TEST(FitLikelihood, TriangularStaysInsideTheSampleRange) {
  const TVec x{1.2, 2.0, 2.4, 3.1, 3.3, 4.0, 4.8, 5.5};
  double a, b, c;
  TriangularFit(x, a, b, c, 2000, 1e-10);
  EXPECT_GE(a, 1.2);
  EXPECT_LE(b, 5.5);
  EXPECT_GE(c, 1.2);
  EXPECT_LE(c, 5.5);
}

TEST(FitLikelihood, Messages) {
  TVec z;
  z.Size(3, fpDouble, true);
  double a, b, c;
  int k1, k2;
  TTwoElmReal ca, cb;
  EXPECT_LUMEX_ERROR(BetaFit(z, a, b, 10, 1e-8), "BetaFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(BetaFit(z, a, b, ca, cb, 10, 1e-8, 0.05), "BetaFit: X.Complex = True");
  EXPECT_LUMEX_ERROR(GammaFit(z, a, b, 10, 1e-8), "GammaFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(GammaFit(z, a, b, ca, cb, 10, 1e-8, 0.05), "GammaFit : X.Complex = True");
  EXPECT_LUMEX_ERROR(WeibullFit(z, a, b, 10, 1e-8), "WeibullFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(WeibullFit(z, a, b, ca, cb, 10, 1e-8, 0.05), "WeibullFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(CauchyFit(z, a, b, 10, 1e-8), "CauchyFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(CauchyFit(z, a, b, ca, cb, 10, 1e-8, 0.05), "CauchyFit: X.Complex = True");
  EXPECT_LUMEX_ERROR(FFit(z, k1, k2, 10, 1e-8), "FFit: X.Complex = True");
  EXPECT_LUMEX_ERROR(StudentFit(z, k1, 10, 1e-8), "StudentFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(TriangularFit(z, a, b, c, 10, 1e-8), "TriangularFit: X.Complex=True");
}

}  // namespace
}  // namespace lumex
