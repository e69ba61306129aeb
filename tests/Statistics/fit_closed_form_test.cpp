// Closed-form distribution fits: estimates and intervals against R, the messages, and the
// degenerate samples that must give NaN rather than an exception.
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

// Every row of the reference table: the estimates e1, e2 and the intervals [lo1, hi1], [lo2, hi2]
// of one fit on one sample at one level (NaN where the fit has no such output).
TEST(FitClosedForm, AgreesWithR) {
  const std::map<int, TVec> samples = test::ReadSamples("Statistics/fit_closed_form_data.txt");
  const test::TRefTable t = test::ReadRefTable("Statistics/fit_closed_form.txt");
  ASSERT_GT(t.rows.size(), 60u);
  test::TWorst worst{"closed-form fits"};
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    const std::string& fn = t.names[r];
    const std::vector<double>& row = t.rows[r];
    const TVec& x = samples.at(static_cast<int>(row[1]));
    const double alpha = row[2];
    double e1 = NaN, e2 = NaN;
    TTwoElmReal c1{NaN, NaN}, c2{NaN, NaN};
    int k = 0;
    if (fn == "NormalFit") {
      NormalFit(x, e1, e2, c1, c2, alpha);
    } else if (fn == "LogNormalFit") {
      LogNormalFit(x, e1, e2, c1, c2, alpha);
    } else if (fn == "ExponentFit") {
      ExponentFit(x, e1, c1, alpha);
    } else if (fn == "PoissonFit") {
      PoissonFit(x, e1, c1, alpha);
    } else if (fn == "UniformFit") {
      UniformFit(x, e1, e2, c1, c2, alpha);
    } else if (fn == "UniformDFit") {
      UniformDFit(x, k, c1, alpha);
      e1 = k;
    } else if (fn == "GeometricFit") {
      GeometricFit(x, e1, c1, alpha);
    } else if (fn == "RayleighFit") {
      RayleighFit(x, e1, c1, alpha);
    } else if (fn == "InverseGaussianFit") {
      InverseGaussianFit(x, e1, e2, c1, c2, alpha);
    } else if (fn == "MaxwellFit") {
      MaxwellFit(x, e1);
    } else if (fn == "LaplaceFit") {
      LaplaceFit(x, e1, e2);
    } else if (fn == "LogisticFit") {
      LogisticFit(x, e1, e2);
    } else if (fn == "ChiSquareFit") {
      ChiSquareFit(x, k);
      e1 = k;
    } else if (fn == "ErlangFit") {
      ErlangFit(x, k, e2);
      e1 = k;
    } else if (fn == "NegBinomFit") {
      NegBinomFit(x, e1, e2);
    } else if (fn == "BinomFitInt") {
      BinomFit(x, k, e2);
      e1 = k;
    } else if (fn == "BinomFitCI") {
      TVec P, lo, hi;
      BinomFit(x, 20.0, P, lo, hi, alpha);
      const int i = static_cast<int>(row[4]);  // e2 holds the element's index
      e1 = P[i];
      e2 = i;
      c1 = {lo[i], hi[i]};
    } else {
      ADD_FAILURE() << "unknown function " << fn;
      continue;
    }
    const double got[] = {e1, e2, c1[0], c1[1], c2[0], c2[1]};
    for (int j = 0; j < 6; ++j) {
      const double want = row[static_cast<std::size_t>(3 + j)];
      EXPECT_TRUE(Near(want, got[j], test::kTolRef)) << fn << " row " << r << " column " << j;
      worst.See(want, got[j]);
    }
  }
}

TEST(FitClosedForm, BinomialVectorFormsDivideElementwise) {
  const TVec x{3, 0, 7, 20};
  TVec P;
  BinomFit(x, 20.0, P);
  EXPECT_EQ(P.ToString(), "[0.15, 0, 0.35, 1]");
  const TVec n{6, 4, 14, 40};
  BinomFit(x, n, P);
  EXPECT_EQ(P.ToString(), "[0.5, 0, 0.5, 0.5]");
  // Single-precision counts keep their precision.
  TVec xs;
  Convert(xs, x, fpSingle);
  BinomFit(xs, 20.0, P);
  EXPECT_EQ(P.FloatPrecision(), fpSingle);
}

TEST(FitClosedForm, ClopperPearsonEndsWithAZeroDegreeOfFreedomAreNaN) {
  TVec P, lo, hi;
  BinomFit(TVec{0, 20}, 20.0, P, lo, hi, 0.05);
  EXPECT_TRUE(std::isnan(lo[0]));
  EXPECT_TRUE(std::isnan(hi[1]));
  EXPECT_GT(hi[0], 0.0);
  EXPECT_LT(lo[1], 1.0);
}

TEST(FitClosedForm, IntervalShapes) {
  const TVec x{1, 2, 3, 4, 5};
  double mu, sigma;
  TTwoElmReal mci, sci;
  NormalFit(x, mu, sigma, mci, sci, 0.05);
  EXPECT_DOUBLE_EQ(mu, 3.0);
  EXPECT_TRUE(Near(mu - mci[0], mci[1] - mu, test::kTolExact));
  EXPECT_TRUE(Near(mci[1] - mu, StudentCDFInv(0.975, 4) * sigma / std::sqrt(5.0), test::kTolExact));
  EXPECT_LT(sci[0], sigma);
  EXPECT_GT(sci[1], sigma);

  double lo, hi;
  TTwoElmReal lci, hci;
  UniformFit(x, lo, hi, lci, hci, 0.1);
  EXPECT_EQ(lci[1], lo);
  EXPECT_EQ(hci[0], hi);
  const double ext = (hi - lo) * (1.0 / std::pow(0.1, 1.0 / 5) - 1.0);
  EXPECT_TRUE(Near(lo - lci[0], ext, test::kTolSummed));
  EXPECT_TRUE(Near(hci[1] - hi, ext, test::kTolSummed));

  double b;
  TTwoElmReal bci;
  RayleighFit(x, b, bci, 0.05);
  EXPECT_LT(bci[0], b);
  EXPECT_GT(bci[1], b);
}

// n * lambda = 99.9 takes the Poisson quantiles (whole numbers over n); 100 the normal ones.
TEST(FitClosedForm, PoissonIntervalSwitchesToNormalAt100) {
  double lambda;
  TTwoElmReal ci;
  TVec x(10);
  x.SetVal(9.99);
  PoissonFit(x, lambda, ci, 0.05);
  EXPECT_TRUE(Near(ci[0], PoissonCDFInv(0.025, 99.9) / 10, test::kTolExact));
  x.SetVal(10.0);
  PoissonFit(x, lambda, ci, 0.05);
  EXPECT_TRUE(Near(ci[0], NormalCDFInv(0.025, 100.0, 10.0) / 10, test::kTolExact));
}

TEST(FitClosedForm, IntegerEstimatesRoundHalvesToEven) {
  int n;
  UniformDFit(TVec{0.2, 3.1}, n);
  EXPECT_EQ(n, 4);
  ChiSquareFit(TVec{2, 3}, n);  // mean 2.5
  EXPECT_EQ(n, 2);
  ChiSquareFit(TVec{3, 4}, n);  // mean 3.5
  EXPECT_EQ(n, 4);
}

TEST(FitClosedForm, NegBinomWithoutOverdispersionGivesPAboveOne) {
  double r, p;
  NegBinomFit(TVec{2, 3, 4, 3, 2, 4}, r, p);  // variance 0.8 < mean 3
  EXPECT_GT(p, 1.0);
  EXPECT_LT(r, 0.0);
  NegBinomFit(TVec{0, 1, 2}, r, p);  // variance 1 = mean 1
  EXPECT_EQ(p, 1.0);
  EXPECT_TRUE(std::isinf(r));
}

// Empty, one-element, constant and out-of-support samples: NaN or infinite estimates, never an
// exception; integer estimates of an undefined mean are 0.
TEST(FitClosedForm, DegenerateSamplesGiveNaNNotErrors) {
  const TVec empty, one{2.0}, constant{3, 3, 3}, negative{-1, 2, 3};
  double a, b;
  TTwoElmReal c1, c2;
  int k;
  for (const TVec* x : {&empty, &one}) {
    NormalFit(*x, a, b, c1, c2, 0.05);
    EXPECT_TRUE(std::isnan(x->Length() == 0 ? a : b));
    EXPECT_TRUE(std::isnan(c1[0]));
    ExponentFit(*x, a, c1, 0.05);
    PoissonFit(*x, a, c1, 0.05);
    GeometricFit(*x, a, c1, 0.05);
    RayleighFit(*x, a, c1, 0.05);
    InverseGaussianFit(*x, a, b, c1, c2, 0.05);
    UniformFit(*x, a, b, c1, c2, 0.05);
    UniformDFit(*x, k, c1, 0.05);
    ChiSquareFit(*x, k);
    ErlangFit(*x, k, a);
    EXPECT_EQ(k, 0);
    BinomFit(*x, k, a);
    NegBinomFit(*x, a, b);
    LaplaceFit(*x, a, b);
  }
  ChiSquareFit(empty, k);
  EXPECT_EQ(k, 0);
  InverseGaussianFit(constant, a, b, c1, c2, 0.05);
  EXPECT_TRUE(std::isinf(b));
  LogNormalFit(negative, a, b, c1, c2, 0.05);
  EXPECT_TRUE(std::isnan(a));
  GeometricFit(TVec{0, 0, 0}, a, c1, 0.05);  // P = 1: the information is singular
  EXPECT_EQ(a, 1.0);
}

TEST(FitClosedForm, Messages) {
  TVec z;
  z.Size(3, fpDouble, true);
  double a, b;
  int k;
  TTwoElmReal c1, c2;
  TVec P, lo, hi;
  EXPECT_LUMEX_ERROR(NormalFit(z, a, b), "NormalFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(NormalFit(z, a, b, c1, c2, 0.05), "NormalFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(LogNormalFit(z, a, b, c1, c2, 0.05), "LogNormalFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(ExponentFit(z, a), "ExponentFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(ExponentFit(z, a, c1, 0.05), "ExponentFit: A.Complex = True");
  EXPECT_LUMEX_ERROR(PoissonFit(z, a, c1, 0.05), "PoissonFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(UniformFit(z, a, b, c1, c2, 0.05), "UniformFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(UniformDFit(z, k, c1, 0.05), "UniformDFit: X.Complex = True");
  EXPECT_LUMEX_ERROR(GeometricFit(z, a, c1, 0.05), "GeometricFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(RayleighFit(z, a, c1, 0.05), "RayleighFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(InverseGaussianFit(z, a, b, c1, c2, 0.05),
                     "InverseGaussianFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(MaxwellFit(z, a), "MaxwellFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(LaplaceFit(z, a, b), "LaplaceFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(LogisticFit(z, a, b), "LogisticFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(ChiSquareFit(z, k), "ChiSquareFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(ErlangFit(z, k, a), "ErlangFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(NegBinomFit(z, a, b), "NegBinomFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(BinomFit(z, k, a), "BinomFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(BinomFit(z, 0.0, P), "BinomFit: n cannot be zero!");
  EXPECT_LUMEX_ERROR(BinomFit(z, 5.0, P), "BinomFit: X.Complex = True");
  EXPECT_LUMEX_ERROR(BinomFit(z, 5.0, P, lo, hi, 0.05), "BinomFit: X.Complex=True");
  EXPECT_LUMEX_ERROR(BinomFit(TVec{1}, 0.0, P, lo, hi, 0.05), "BinomFit: n cannot be zero!");
  EXPECT_LUMEX_ERROR(BinomFit(TVec{1, 2}, TVec{3}, P), "BinomFit: X and n must match in size!");
  EXPECT_LUMEX_ERROR(BinomFit(TVec{1, 2, 3}, z, P), "BinomFit: X and n must match in size!");
  // A NaN number of trials passes the zero check.
  BinomFit(TVec{1}, NaN, P);
  EXPECT_TRUE(std::isnan(P[0]));
}

}  // namespace
}  // namespace lumex
