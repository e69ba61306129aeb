// Closed-form parameter estimates: moment and maximum-likelihood estimators that need no
// iteration, with their confidence intervals.
#include <cmath>
#include <limits>

#include "Statistics/fitting.h"
#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

using detail::RoundEvenSaturated;

// The two-sided interval [q(Alpha/2), q(1 - Alpha/2)] of a quantile function q.
template <class Quantile>
TTwoElmReal TwoSided(double Alpha, Quantile q) {
  return {q(0.5 * Alpha), q(1.0 - 0.5 * Alpha)};
}

// Mean and standard deviation with their normal-theory intervals: Student's t for the mean,
// the chi-square pivot (n - 1) s^2 / sigma^2 for the standard deviation.
void NormalIntervals(double n, double Mu, double Sigma, TTwoElmReal& MuConfInt,
                     TTwoElmReal& SigmaConfInt, double Alpha) {
  const double df = n - 1.0;
  const double se = Sigma / std::sqrt(n);
  MuConfInt = TwoSided(Alpha, [&](double p) { return Mu + StudentCDFInv(p, df) * se; });
  const double c0 = ChiSquareCDFInv(0.5 * Alpha, df);
  const double c1 = ChiSquareCDFInv(1.0 - 0.5 * Alpha, df);
  SigmaConfInt = {Sigma * std::sqrt(df / c1), Sigma * std::sqrt(df / c0)};
}

// Mean and variance (divisor n - 1) of X.
void MeanVar(const TVec& X, double& mean, double& var) {
  mean = Mean(X);
  const double s = StdDev(X, mean);
  var = s * s;
}

}  // namespace

// ---- Normal and log-normal ----------------------------------------------------------------------

void NormalFit(const TVec& X, double& Mu, double& Sigma) {
  if (X.Complex()) ERaise("NormalFit: X.Complex=True");
  Mu = Mean(X);
  Sigma = StdDev(X, Mu);
}

void NormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
               TTwoElmReal& SigmaConfInt, double Alpha) {
  if (X.Complex()) ERaise("NormalFit: X.Complex=True");
  NormalFit(X, Mu, Sigma);
  NormalIntervals(X.Length(), Mu, Sigma, MuConfInt, SigmaConfInt, Alpha);
}

void LogNormalFit(const TVec& X, double& Mu, double& Sigma) {
  if (X.Complex()) ERaise("LogNormalFit: X.Complex=True");
  auto logs = CreateIt<TVec>();
  Ln(*logs, X);
  Mu = Mean(*logs);
  Sigma = StdDev(*logs, Mu);
}

void LogNormalFit(const TVec& X, double& Mu, double& Sigma, TTwoElmReal& MuConfInt,
                  TTwoElmReal& SigmaConfInt, double Alpha) {
  if (X.Complex()) ERaise("LogNormalFit: X.Complex=True");
  LogNormalFit(X, Mu, Sigma);
  NormalIntervals(X.Length(), Mu, Sigma, MuConfInt, SigmaConfInt, Alpha);
}

// ---- Exponential, Poisson, Rayleigh, inverse Gaussian -------------------------------------------

void ExponentFit(const TVec& X, double& Mu) {
  if (X.Complex()) ERaise("ExponentFit: X.Complex=True");
  Mu = Mean(X);
}

// n * mean is a sum of n exponentials of mean Mu, a gamma law of shape n: the interval is exact.
void ExponentFit(const TVec& X, double& Mu, TTwoElmReal& MuConfInt, double Alpha) {
  if (X.Complex()) ERaise("ExponentFit: A.Complex = True");
  ExponentFit(X, Mu);
  const double n = X.Length();
  MuConfInt = TwoSided(Alpha, [&](double p) { return GammaCDFInv(p, n, Mu / n); });
}

void PoissonFit(const TVec& X, double& Lambda) {
  if (X.Complex()) ERaise("PoissonFit: X.Complex=True");
  Lambda = Mean(X);
}

// The total S = n * Lambda is Poisson(n lambda); its quantiles, or their normal approximation
// once S reaches 100, divided by n.
void PoissonFit(const TVec& X, double& Lambda, TTwoElmReal& LambdaConfInt, double Alpha) {
  if (X.Complex()) ERaise("PoissonFit: X.Complex=True");
  PoissonFit(X, Lambda);
  const double n = X.Length();
  const double S = n * Lambda;
  if (S < 100.0) {
    LambdaConfInt = TwoSided(Alpha, [&](double p) { return PoissonCDFInv(p, S) / n; });
  } else {
    const double sd = std::sqrt(S);
    LambdaConfInt = TwoSided(Alpha, [&](double p) { return NormalCDFInv(p, S, sd) / n; });
  }
}

void RayleighFit(const TVec& X, double& B) {
  if (X.Complex()) ERaise("RayleighFit: X.Complex=True");
  B = std::sqrt(0.5 * SumOfSquares(X) / X.Length());
}

// sum x^2 / b^2 is chi-square with 2n degrees of freedom, so 2n B^2 / b^2 is a pivot.
void RayleighFit(const TVec& X, double& B, TTwoElmReal& BConfInt, double Alpha) {
  if (X.Complex()) ERaise("RayleighFit: X.Complex=True");
  RayleighFit(X, B);
  const double m = 2.0 * X.Length();
  BConfInt = {B * std::sqrt(m / ChiSquareCDFInv(1.0 - 0.5 * Alpha, m)),
              B * std::sqrt(m / ChiSquareCDFInv(0.5 * Alpha, m))};
}

void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda) {
  if (X.Complex()) ERaise("InverseGaussianFit: X.Complex=True");
  const double n = X.Length();
  Mu = Mean(X);
  auto inv = CreateIt<TVec>();
  Copy(*inv, X);
  InvElem(*inv);
  Lambda = n / (Sum(*inv) - n / Mu);
}

// n Lambda / Lambda-hat is exactly chi-square with n - 1 degrees of freedom; the mean has no
// such pivot free of lambda, so it takes the Wald interval with var(mean) = mu^3 / (lambda n).
void InverseGaussianFit(const TVec& X, double& Mu, double& Lambda, TTwoElmReal& MuConfInt,
                        TTwoElmReal& LambdaConfInt, double Alpha) {
  if (X.Complex()) ERaise("InverseGaussianFit: X.Complex=True");
  InverseGaussianFit(X, Mu, Lambda);
  const double n = X.Length();
  LambdaConfInt =
      TwoSided(Alpha, [&](double p) { return Lambda * ChiSquareCDFInv(p, n - 1.0) / n; });
  const double se = std::sqrt(Mu * Mu * Mu / (Lambda * n));
  MuConfInt = TwoSided(Alpha, [&](double p) { return NormalCDFInv(p, Mu, se); });
}

// ---- Uniform laws -------------------------------------------------------------------------------

void UniformFit(const TVec& X, double& Low, double& High) {
  if (X.Complex()) ERaise("UniformFit: X.Complex=True");
  Low = Min(X);
  High = Max(X);
}

// The range R of n uniform values satisfies P(R/(b - a) >= Alpha^(1/n)) ~ 1 - Alpha; each end
// extends the sample range outwards by (High - Low)(1/Alpha^(1/n) - 1).
void UniformFit(const TVec& X, double& Low, double& High, TTwoElmReal& LowConfInt,
                TTwoElmReal& HighConfInt, double Alpha) {
  UniformFit(X, Low, High);
  const double q = std::pow(Alpha, 1.0 / X.Length());
  const double d = (High - Low) / q;
  LowConfInt = {High - d, Low};
  HighConfInt = {High, Low + d};
}

void UniformDFit(const TVec& X, int& N) {
  if (X.Complex()) ERaise("UniformDFit: X.Complex = True");
  N = RoundEvenSaturated(std::ceil(Max(X)));
}

void UniformDFit(const TVec& X, int& N, TTwoElmReal& NConfInt, double Alpha) {
  UniformDFit(X, N);
  const double n = X.Length();
  // The interval scales the estimate before saturation, so it stays right past 2^31 - 1.
  const double estimate = std::ceil(Max(X));
  NConfInt = {estimate / std::pow(1.0 - Alpha, 1.0 / n), estimate / std::pow(Alpha, 1.0 / n)};
}

// ---- Geometric ----------------------------------------------------------------------------------

void GeometricFit(const TVec& X, double& P) {
  if (X.Complex()) ERaise("GeometricFit: X.Complex=True");
  P = 1.0 / (Mean(X) + 1.0);
}

// Observed information of the negative binomial log-likelihood in (r, p) at r = 1:
//   I = [[-J, -n/p], [-n/p, n/p^2 + S/(1-p)^2]],  J = sum (trigamma(x + 1) - trigamma(1)),
// and the standard error of p is sqrt(|(I^-1)[1,1]|) = sqrt(|I[0,0] / det I|). The 2 x 2
// inverse is written out, so a singular matrix gives an infinite or NaN error, not a raise.
void GeometricFit(const TVec& X, double& P, TTwoElmReal& PConfInt, double Alpha) {
  if (X.Complex()) ERaise("GeometricFit: X.Complex=True");
  GeometricFit(X, P);
  const int n = X.Length();
  const double S = Sum(X);
  const double tri1 = trigamma(1.0);
  double J = 0.0;
  for (int i = 0; i < n; ++i) J += trigamma(X.Value(i) + 1.0) - tri1;
  const double i00 = -J;
  const double i01 = -n / P;
  const double i11 = n / (P * P) + S / ((1.0 - P) * (1.0 - P));
  const double c11 = i00 / (i00 * i11 - i01 * i01);
  const double se = std::sqrt(std::fabs(c11));
  PConfInt = TwoSided(Alpha, [&](double p) { return NormalCDFInv(p, P, se); });
}

// ---- Fits without an interval overload ----------------------------------------------------------

void MaxwellFit(const TVec& X, double& A) {
  if (X.Complex()) ERaise("MaxwellFit: X.Complex=True");
  A = std::sqrt(SumOfSquares(X) / X.Length() / 3.0);
}

void LaplaceFit(const TVec& X, double& Mu, double& B) {
  if (X.Complex()) ERaise("LaplaceFit: X.Complex=True");
  Mu = Median(X);
  auto dev = CreateIt<TVec>();
  Copy(*dev, X);
  Sub(*dev, Mu);
  Abs(*dev);
  B = Mean(*dev);
}

void LogisticFit(const TVec& X, double& Mu, double& S) {
  if (X.Complex()) ERaise("LogisticFit: X.Complex=True");
  Mu = Mean(X);
  S = StdDev(X, Mu) * std::sqrt(3.0) / PI;
}

void ChiSquareFit(const TVec& X, int& Nu) {
  if (X.Complex()) ERaise("ChiSquareFit: X.Complex=True");
  Nu = RoundEvenSaturated(Mean(X));
}

void ErlangFit(const TVec& X, int& K, double& Lambda) {
  if (X.Complex()) ERaise("ErlangFit: X.Complex=True");
  double mean, var;
  MeanVar(X, mean, var);
  Lambda = mean / var;
  K = RoundEvenSaturated(mean * Lambda);
}

void NegBinomFit(const TVec& X, double& R, double& P) {
  if (X.Complex()) ERaise("NegBinomFit: X.Complex=True");
  double mean, var;
  MeanVar(X, mean, var);
  P = mean / var;
  R = P * mean / (1.0 - P);
}

// ---- Binomial -----------------------------------------------------------------------------------

void BinomFit(const TVec& X, double n, TVec& P) {
  if (n == 0.0) ERaise("BinomFit: n cannot be zero!");
  if (X.Complex()) ERaise("BinomFit: X.Complex = True");
  Copy(P, X);
  Divide(P, n);
}

void BinomFit(const TVec& XIn, const TVec& nIn, TVec& P) {
  TVec xCopy, nCopy;
  const TVec& X = detail::Unaliased(XIn, xCopy, {&P});
  const TVec& n = detail::Unaliased(nIn, nCopy, {&P});
  if (X.Length() != n.Length() || X.Complex() || n.Complex()) {
    ERaise("BinomFit: X and n must match in size!");
  }
  // Divide needs equal storage kinds; a mixed-precision pair is divided element by element.
  if (X.FloatPrecision() == n.FloatPrecision()) {
    Divide(P, X, n);
    return;
  }
  P.Size(X.Length(), X);
  for (int i = 0; i < X.Length(); ++i) P.SetValue(i, X.Value(i) / n.Value(i));
}

// Clopper-Pearson through the F law: with x successes in n trials, the lower bound is
// v1 F / (v2 + v1 F) at v1 = 2x, v2 = 2(n - x + 1), F its Alpha/2 quantile, and the upper one the
// same at v1 = 2(x + 1), v2 = 2(n - x), F its 1 - Alpha/2 quantile. Degrees of freedom are
// rounded to whole numbers (halves to even); a zero one (x = 0 or x = n) gives a NaN bound.
void BinomFit(const TVec& XIn, double n, TVec& P, TVec& PLow, TVec& PHigh, double Alpha) {
  TVec copy;
  const TVec& X = detail::Unaliased(XIn, copy, {&P, &PLow, &PHigh});
  if (X.Complex()) ERaise("BinomFit: X.Complex=True");
  BinomFit(X, n, P);
  const int len = X.Length();
  PLow.Size(len, X);
  PHigh.Size(len, X);
  auto bound = [](double p, double v1, double v2) {
    v1 = std::nearbyint(v1);
    v2 = std::nearbyint(v2);
    const double F = FCDFInv(p, v1, v2);
    return v1 * F / (v2 + v1 * F);
  };
  for (int i = 0; i < len; ++i) {
    const double x = X.Value(i);
    const double v1 = 2.0 * x;
    const double v2 = 2.0 * (n - x + 1.0);
    PLow.SetValue(i, bound(0.5 * Alpha, v1, v2));
    PHigh.SetValue(i, bound(1.0 - 0.5 * Alpha, v1 + 2.0, v2 - 2.0));
  }
}

void BinomFit(const TVec& X, int& n, double& P) {
  if (X.Complex()) ERaise("BinomFit: X.Complex=True");
  double mean, var;
  MeanVar(X, mean, var);
  P = 1.0 - var / mean;
  n = RoundEvenSaturated(mean / P);
}

}  // namespace lumex
