// Shapiro-Wilk and Shapiro-Francia tests of normality with Royston's normalising
// transformations.
#include <algorithm>
#include <cmath>

#include "lumex/Statistics.h"

namespace lumex {

namespace {

// Sorted copy of Data (in double) and the expected normal scores
// m_i = Phi^-1((i - 0.375)/(n + 0.25)), i = 1 .. n. The scores are antisymmetric,
// m_(n+1-i) = -m_i, so only the lower half is evaluated and mirrored; the middle score of an
// odd n is 0.
void SortedAndScores(const TVec& Data, TVec& x, TVec& m) {
  Convert(x, Data, fpDouble);
  SortAscend(x);
  const int n = x.Length();
  const int half = n / 2;
  auto [p, q] = CreateIt<TVec, TVec>();
  p->Size(half);
  Ramp(*p, 1.0 - 0.375, 1.0);
  Divide(*p, n + 0.25);
  NormalCDFInv(*p, 0.0, 1.0, *q);
  m.Size(n);
  double* mm = m.Data<double>();
  const double* lower = q->Data<double>();
  for (int i = 0; i < half; ++i) {
    mm[i] = lower[i];
    mm[n - 1 - i] = -lower[i];
  }
  if (n % 2 == 1) mm[half] = 0.0;
}

// Sum of squared deviations from the mean of the sorted sample.
double SumOfSquaredDeviations(const TVec& x) {
  const double mean = Mean(x);
  double ss = 0.0;
  const double* p = x.Data<double>();
  for (int i = 0; i < x.Length(); ++i) ss += (p[i] - mean) * (p[i] - mean);
  return ss;
}

// Significance of a normal deviate z whose lower tail Phi(z) is the probability of a statistic
// at least as close to 1 as the observed one. The two-tailed value is the smaller tail, not
// doubled.
double ShapiroSignificance(double z, THypothesisType hType) {
  const double lower = NormalCDF(z);
  const double upper = NormalCDFUpper(z);
  return hType == htTwoTailed ? std::min(lower, upper) : SignificanceByTail(lower, upper, hType);
}

double Poly(double u, const double (&c)[6]) {
  double r = c[5];
  for (int k = 4; k >= 0; --k) r = r * u + c[k];
  return r;
}

}  // namespace

double ShapiroWilks(const TVec& Data, THypothesisResult& hRes, double& Signif,
                    THypothesisType hType, double Alpha) {
  detail::CheckEnum("ShapiroWilks", "hType", hType, 3);
  if (Data.Complex()) ERaise("ShapiroWilks: Data.Complex");
  const int n = Data.Length();
  if (n < 3 || n > 5000) ERaise("ShapiroWilks: (Data.Length<3) or (Data.Length>5000)");

  auto [x, m, a] = CreateIt<TVec, TVec, TVec>();
  SortedAndScores(Data, *x, *m);
  a->Size(n);
  double* ai = a->Data<double>();
  const double* mi = m->Data<double>();
  if (n == 3) {
    // The exact coefficients of three order statistics.
    ai[0] = -std::sqrt(0.5);
    ai[1] = 0.0;
    ai[2] = std::sqrt(0.5);
  } else {
    // Royston's AS R94: the two outermost coefficients from polynomials in 1/sqrt(n), the inner
    // ones proportional to the scores, scaled so that the vector has unit length.
    static constexpr double kC1[6] = {0.0, 0.221157, -0.147981, -2.071190, 4.434685, -2.706056};
    static constexpr double kC2[6] = {0.0, 0.042981, -0.293762, -1.752461, 5.682633, -3.582633};
    const double s2 = DotProd(*m, *m);
    const double rootS2 = std::sqrt(s2);
    const double u = 1.0 / std::sqrt(static_cast<double>(n));
    const double an = mi[n - 1] / rootS2 + Poly(u, kC1);
    const double an1 = mi[n - 2] / rootS2 + Poly(u, kC2);
    const double phi =
        std::max(2.220446049250313e-16,
                 (s2 - 2.0 * mi[n - 1] * mi[n - 1] - 2.0 * mi[n - 2] * mi[n - 2]) /
                     (1.0 - 2.0 * an * an - 2.0 * an1 * an1));
    const double scale = 1.0 / std::sqrt(phi);
    for (int i = 2; i < n - 2; ++i) ai[i] = mi[i] * scale;
    ai[n - 1] = an;
    ai[n - 2] = an1;
    ai[0] = -an;
    ai[1] = -an1;
  }
  const double b = DotProd(*a, *x);
  const double w = b * b / SumOfSquaredDeviations(*x);

  const double l = std::log(static_cast<double>(n));
  double y, mu, sigma;
  if (n >= 4 && n <= 11) {
    const double gamma = -2.273 + 0.459 * l;
    y = -std::log(gamma - std::log1p(-w));
    mu = 0.544 - 0.39978 * l + 0.025054 * l * l - 0.0006714 * l * l * l;
    sigma = std::exp(1.3822 - 0.77857 * l + 0.062767 * l * l - 0.0020322 * l * l * l);
  } else {
    y = std::log1p(-w);
    mu = -1.5861 - 0.31082 * l - 0.083751 * l * l + 0.0038915 * l * l * l;
    sigma = std::exp(-0.4803 - 0.082676 * l + 0.0030302 * l * l);
  }
  Signif = ShapiroSignificance((y - mu) / sigma, hType);
  hRes = Decide(Signif, Alpha, true, w);
  return w;
}

double ShapiroFrancia(const TVec& Data, THypothesisResult& hRes, double& Signif,
                      THypothesisType hType, double Alpha) {
  detail::CheckEnum("ShapiroFrancia", "hType", hType, 3);
  if (Data.Complex()) ERaise("ShapiroFrancia: Data.Complex");
  auto [x, m] = CreateIt<TVec, TVec>();
  SortedAndScores(Data, *x, *m);
  // W' is the squared correlation of the ordered sample with the scores (which sum to 0).
  const double b = DotProd(*m, *x);
  const double w = b * b / (DotProd(*m, *m) * SumOfSquaredDeviations(*x));

  const double l = std::log(static_cast<double>(Data.Length()));
  const double ll = std::log(l);
  const double mu = 1.0521 * (ll - l) - 1.2725;
  const double sigma = 1.0308 - 0.026758 * (ll + 2.0 / l);
  Signif = ShapiroSignificance((std::log1p(-w) - mu) / sigma, hType);
  hRes = Decide(Signif, Alpha, true, w);
  return w;
}

}  // namespace lumex
