// Goodness-of-fit tests: Kolmogorov-Smirnov (one and two samples), chi-square on binned counts,
// Lilliefors, Anderson-Darling and Jarque-Bera.
#include <algorithm>
#include <array>
#include <cmath>

#include "Statistics/fitting.h"
#include "Statistics/histograms.h"
#include "lumex/StatRandom.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// ---- Kolmogorov ---------------------------------------------------------------------------------

// Asymptotic significance of D for the effective sample size ne, with Stephens' finite-sample
// scaling lambda = (sqrt ne + 0.11/sqrt ne + 0.12) D: exp(-2 lambda^2) for one tail, the
// alternating Kolmogorov series (51 terms, clamped to [0, 1]) for two.
double KolmogorovSignif(double D, double ne, THypothesisType hType) {
  const double root = std::sqrt(ne);
  const double scaled = (root + 0.11 / root + 0.12) * D;
  if (std::isnan(scaled)) return NaN;
  const double lambda = scaled > 0.0 ? scaled : 0.0;
  const double q = lambda * lambda;
  if (hType != htTwoTailed) return std::exp(-2.0 * q);
  double s = 0.0;
  for (int j = 1; j <= 51; ++j) {
    const double term = std::exp(-2.0 * j * j * q);
    s += (j % 2 == 1) ? term : -term;
  }
  return std::clamp(2.0 * s, 0.0, 1.0);
}

// Critical values of the one-sample statistic at the levels 0.005, 0.01, 0.025, 0.05, 0.1 for
// n = 1 .. 20.
constexpr std::array<double, 5> kKSLevels{0.005, 0.01, 0.025, 0.05, 0.1};
constexpr double kKSTable[20][5] = {
    {0.995, 0.99, 0.975, 0.95, 0.9},
    {0.92929, 0.9, 0.84189, 0.77639, 0.68377},
    {0.829, 0.78456, 0.7076, 0.63604, 0.56481},
    {0.73424, 0.68887, 0.62394, 0.56522, 0.49265},
    {0.66853, 0.62718, 0.56328, 0.50945, 0.44698},
    {0.61661, 0.57741, 0.51926, 0.46799, 0.41037},
    {0.57581, 0.53844, 0.48342, 0.43607, 0.38148},
    {0.54179, 0.50654, 0.45427, 0.40962, 0.35831},
    {0.51332, 0.4796, 0.43001, 0.38746, 0.3391},
    {0.48893, 0.45662, 0.40925, 0.36866, 0.3226},
    {0.4677, 0.4367, 0.39122, 0.35242, 0.30829},
    {0.44905, 0.41918, 0.37543, 0.33815, 0.29577},
    {0.43247, 0.40362, 0.36143, 0.32549, 0.2847},
    {0.41762, 0.3897, 0.3489, 0.31417, 0.27481},
    {0.4042, 0.37713, 0.3376, 0.30397, 0.26588},
    {0.39201, 0.36571, 0.32733, 0.29472, 0.25778},
    {0.38086, 0.35528, 0.31796, 0.28627, 0.25039},
    {0.37062, 0.34569, 0.30936, 0.27851, 0.2436},
    {0.36117, 0.33685, 0.30143, 0.27136, 0.23735},
    {0.35241, 0.32866, 0.29408, 0.26473, 0.23156},
};

// Critical value of the one-sample statistic at level a in [0.005, 0.1]: linear interpolation
// in the table over the levels for n <= 20, and above it the asymptotic quantile
// sqrt(-ln(a)/(2n)) with its finite-sample corrections, capped at 1 - a.
double KolmogorovCritical(int n, double a) {
  if (n <= 20) {
    const double* row = kKSTable[n - 1];
    std::size_t k = 0;
    while (k + 2 < kKSLevels.size() && a > kKSLevels[k + 1]) ++k;
    const double t = (a - kKSLevels[k]) / (kKSLevels[k + 1] - kKSLevels[k]);
    return row[k] + t * (row[k + 1] - row[k]);
  }
  const double nn = n;
  const double L = std::log10(a);
  const double d = std::sqrt(-0.5 * std::log(a) / nn) - 0.16693 / nn -
                   std::pow(nn, -1.5) * (-0.09037 * L * std::sqrt(-L) + 0.01515 * L * L -
                                         0.08467 * a - 0.11143);
  return std::min(1.0 - a, d);
}

// Largest of |F[i] - C[i]| and |F[i + 1] - C[i]|: Kolmogorov's distance between a step function
// with values F on the distinct points and a continuous one with values C there.
template <class T>
double TwoSidedDistance(const T* F, const TVec& C) {
  double D = 0.0;
  for (int i = 0; i < C.Length(); ++i) {
    const double c = C.Value(i);
    const double d = std::max(std::fabs(F[i] - c), std::fabs(F[i + 1] - c));
    if (!(d <= D)) D = d;  // a NaN distance is kept
  }
  return D;
}

double Distance(const TVec& F, const TVec& C) {
  if (F.IsDouble()) return TwoSidedDistance(F.Data<double>(), C);
  return TwoSidedDistance(F.Data<float>(), C);
}

// ---- Lilliefors simulation ---------------------------------------------------------------------

// One standard normal sample for the simulation, with a fresh seed each time (drawn from the
// default source, so RandSeed makes a run repeatable).
void DrawStandardNormal(TVec& z) { RandomNormal(0.0, 1.0, z, -1); }

// Lilliefors' statistic of a normal sample z (sorted in place): the distance between the
// steps g_i = i/n and the normal law with z's own mean and standard deviation.
double SimulatedLillie(TVec& z, TVec& c) {
  const int n = z.Length();
  const double mu = Mean(z);
  const double sigma = StdDev(z, mu);
  SortAscend(z);
  NormalCDF(z, mu, sigma, c);
  double D = 0.0;
  for (int i = 0; i < n; ++i) {
    const double ci = c.Value(i);
    D = std::max(D, std::max(std::fabs(i / static_cast<double>(n) - ci),
                             std::fabs((i + 1) / static_cast<double>(n) - ci)));
  }
  return D;
}

// ---- Anderson-Darling ---------------------------------------------------------------------------

// Cumulants of sum_j lambda_j chi2_1, lambda_j = 1/(j(j+1)), at t, summed over j = 1 .. 50
// until all three change by less than 1e-5 relative in one step.
struct TCumulants {
  double K, K1, K2;
};

TCumulants ADCumulants(double t) {
  if (std::isnan(t)) return {NaN, NaN, NaN};
  double K = 0.0, K1 = 0.0, K2 = 0.0;
  for (int j = 1; j <= 50; ++j) {
    const double lambda = 1.0 / (static_cast<double>(j) * (j + 1));
    const double r = lambda / (1.0 - 2.0 * lambda * t);
    const double dK = -0.5 * std::log(1.0 - 2.0 * lambda * t);
    const double dK1 = r;
    const double dK2 = 2.0 * r * r;
    K += dK;
    K1 += dK1;
    K2 += dK2;
    if (std::fabs(dK) < 1e-5 * std::fabs(K) && std::fabs(dK1) < 1e-5 * std::fabs(K1) &&
        std::fabs(dK2) < 1e-5 * std::fabs(K2)) {
      break;
    }
  }
  return {K, K1, K2};
}

// Significance of the Anderson-Darling statistic of an exponential sample (scale estimated by
// the mean). Stephens' modification A^2 (1 + 0.6/n) has percentage points that hardly depend on
// n (0.736, 0.916, 1.062, 1.321, 1.591, 1.959 at 25, 15, 10, 5, 2.5 and 1%); the logistic
// curve ln(1/p - 1) = 0.35149 + 1.50338 ln A + 1.64790 A passes through all six within 1% of p.
// A is our statistic with the factor (1 + 0.2/sqrt n), which is undone first.
double ADExponentialSignif(double A, double n) {
  const double A2 = A / (1.0 + 0.2 / std::sqrt(n));
  const double As = A2 * (1.0 + 0.6 / n);
  if (!(As > 0.0)) return std::isnan(As) ? NaN : 1.0;
  return 1.0 / (1.0 + std::exp(0.35148918 + 1.50338307 * std::log(As) + 1.64790407 * As));
}

// Significance of the Anderson-Darling statistic A = A^2 (1 + 0.2/sqrt n) of a Weibull sample
// with both parameters estimated by maximum likelihood: the published logistic approximation
// 1 / (1 + exp(-0.1 + 1.24 ln A + 4.48 A)), which reproduces Stephens' percentage points
// (0.637, 0.757, 0.877, 1.038 at 10, 5, 2.5 and 1%).
double ADWeibullSignif(double A) {
  if (!(A > 0.0)) return std::isnan(A) ? NaN : 1.0;
  return 1.0 / (1.0 + std::exp(-0.1 + 1.24 * std::log(A) + 4.48 * A));
}

// ---- Chi-square on a sample ---------------------------------------------------------------------

// A law of the chi-square test's table with its parameters fitted to a sample.
struct TFittedLaw {
  TDistribution dist;
  double a = NaN, b = NaN;
  int k = 0;  // the number of fitted parameters
};

// Fits Dist to Data; false for a law outside the table.
bool FitLaw(const TVec& Data, TDistribution Dist, TFittedLaw& law) {
  law.dist = Dist;
  int i = 0;
  switch (Dist) {
    case distBeta: BetaFit(Data, law.a, law.b, 500, 1e-8); law.k = 2; return true;
    case distChiSquare: ChiSquareFit(Data, i); law.a = i; law.k = 1; return true;
    case distErlang: ErlangFit(Data, i, law.b); law.a = i; law.k = 2; return true;
    case distExponential: ExponentFit(Data, law.a); law.k = 1; return true;
    case distGamma: GammaFit(Data, law.a, law.b, 500, 1e-8); law.k = 2; return true;
    case distLaplace: LaplaceFit(Data, law.a, law.b); law.k = 2; return true;
    case distLogNormal: LogNormalFit(Data, law.a, law.b); law.k = 2; return true;
    case distMaxwell: MaxwellFit(Data, law.a); law.k = 1; return true;
    case distNormal: NormalFit(Data, law.a, law.b); law.k = 2; return true;
    case distRayleigh: RayleighFit(Data, law.a); law.k = 1; return true;
    case distUniform: UniformFit(Data, law.a, law.b); law.k = 2; return true;
    case distWeibull: WeibullFit(Data, law.a, law.b, 500, 1e-8); law.k = 2; return true;
    default: return false;
  }
}

// The fitted distribution function at every point of x.
void LawCDF(const TFittedLaw& law, const TVec& x, TVec& dst) {
  switch (law.dist) {
    case distBeta: BetaCDF(x, law.a, law.b, dst); return;
    case distChiSquare: ChiSquareCDF(x, law.a, dst); return;
    case distErlang: ErlangCDF(x, law.a, law.b, dst); return;
    case distExponential: ExpCDF(x, law.a, dst); return;
    case distGamma: GammaCDF(x, law.a, law.b, dst); return;
    case distLaplace: LaplaceCDF(x, law.a, law.b, dst); return;
    case distLogNormal: LogNormalCDF(x, law.a, law.b, dst); return;
    case distMaxwell: MaxwellCDF(x, law.a, dst); return;
    case distNormal: NormalCDF(x, law.a, law.b, dst); return;
    case distRayleigh: RayleighCDF(x, law.a, dst); return;
    case distUniform: UniformCDF(x, law.a, law.b, dst); return;
    case distWeibull: WeibullCDF(x, law.a, law.b, dst); return;
    default: dst.Size(x.Length(), x); dst.SetVal(NaN); return;
  }
}

}  // namespace

// ---- Kolmogorov-Smirnov -------------------------------------------------------------------------

double GOFKolmogorov(const TVec& Data, THypothesisResult& hRes, double& Signif, const TVec* CDFx,
                     const TVec* CDFy, THypothesisType hType, double Alpha) {
  detail::CheckEnum("GOFKolmogorov", "hType", hType, 3);
  if (Data.Complex()) ERaise("GOFKolmogorov: Data.Complex");
  const int n = Data.Length();
  if (n == 0) ERaise("GOFKolmogorov: Data.Length=0");
  auto [s, x, F, C] = CreateIt<TVec, TVec, TVec, TVec>();
  Copy(*s, Data);
  SortAscend(*s);
  EmpiricalCDF(*s, *x, *F);
  if (CDFx == nullptr || CDFy == nullptr) {
    NormalCDF(*x, 0.0, 1.0, *C);
  } else {
    if (CDFx->Length() != CDFy->Length()) ERaise("GOFKolmogorov: CDFx.Length <> CDFy.Length");
    if (CDFx->Length() > x->Length()) {
      ERaise("GOFKolmogorov: CDFx.Length > number of distinct values of Data");
    }
    // The piecewise-linear function through (CDFx, CDFy), evaluated at its own sorted nodes,
    // is CDFy in the order of ascending CDFx.
    auto [xs, perm] = CreateIt<TVec, TVecInt>();
    Copy(*xs, *CDFx);
    SortAscend(*xs, *perm);
    C->Size(perm->Length());
    for (int i = 0; i < perm->Length(); ++i) C->SetValue(i, CDFy->Value((*perm)[i]));
  }
  // d- = F[i] - C[i] (just below the i-th point), d+ = F[i + 1] - C[i] (at it); the left tail
  // measures C - F.
  const double sign = hType == htLeftTailed ? -1.0 : 1.0;
  double D = -Inf;
  bool nan = false;
  for (int i = 0; i < C->Length(); ++i) {
    const double c = C->Value(i);
    double dm = sign * (F->Value(i) - c);
    double dp = sign * (F->Value(i + 1) - c);
    if (hType == htTwoTailed) {
      dm = std::fabs(dm);
      dp = std::fabs(dp);
    }
    if (std::isnan(dm) || std::isnan(dp)) nan = true;
    D = std::max(D, std::max(dm, dp));
  }
  if (nan) D = NaN;
  Signif = KolmogorovSignif(D, n, hType);
  const double a = hType == htTwoTailed ? 0.5 * Alpha : Alpha;
  if (a >= 0.005 && a <= 0.1) {
    hRes = D > KolmogorovCritical(n, a) ? hrReject : hrNotReject;
  } else {
    hRes = Alpha >= Signif ? hrReject : hrNotReject;
  }
  return D;
}

double GOFKolmogorov(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                     double& Signif, THypothesisType hType, double Alpha) {
  detail::CheckEnum("GOFKolmogorov", "hType", hType, 3);
  if (Data1.Complex() || Data2.Complex()) ERaise("GOFKolmogorov: Data1.Complex or Data2.Complex");
  if (Data1.FloatPrecision() != Data2.FloatPrecision()) {
    ERaise("GOFKolmogorov: Data1.FloatPrecision <> Data2.FloatPrecision");
  }
  const int n1 = Data1.Length();
  const int n2 = Data2.Length();
  double D = NaN;
  if (n1 > 0 && n2 > 0 && !std::isnan(Sum(Data1)) && !std::isnan(Sum(Data2))) {
    auto [edges, inf, C1, C2] = CreateIt<TVec, TVec, TVecInt, TVecInt>();
    inf->Size(1, Data1);
    inf->SetValue(0, -Inf);
    Concat(*edges, *inf, Data1);
    Concat(*edges, TVec(*edges), Data2);
    inf->SetValue(0, Inf);
    Concat(*edges, TVec(*edges), *inf);
    SortAscend(*edges);
    const int m = edges->Length();
    C1->Size(m);
    C1->SetZero();
    C2->Size(m);
    C2->SetZero();
    detail::CountInBins(Data1, *edges, *C1);
    detail::CountInBins(Data2, *edges, *C2);
    // Running fractions of each sample up to each edge; the comparison runs over the first
    // n1 + n2 + 1 of them.
    double s1 = 0.0, s2 = 0.0;
    D = -Inf;
    for (int i = 0; i < m - 1; ++i) {
      s1 += (*C1)[i];
      s2 += (*C2)[i];
      const double f1 = s1 / n1;
      const double f2 = s2 / n2;
      const double d = hType == htTwoTailed    ? std::fabs(f1 - f2)
                       : hType == htRightTailed ? f2 - f1
                                                : f1 - f2;
      D = std::max(D, d);
    }
  }
  const double ne = static_cast<double>(n1) * n2 / (static_cast<double>(n1) + n2);
  Signif = KolmogorovSignif(D, ne, hType);
  hRes = Decide(Signif, Alpha, true, D);
  return D;
}

// ---- Chi-square ---------------------------------------------------------------------------------

void GOFChi2Test(const TVec& O, const TVec& E, int, int DF, THypothesisResult& hRes,
                 double& Signif, THypothesisType hType, double Alpha) {
  detail::CheckEnum("GOFChi2Test", "hType", hType, 3);
  if (O.Length() != E.Length()) ERaise("GOFChi2Test: O.Length <> E.Length");
  if (O.Complex() || E.Complex()) ERaise("GOFChi2Test: O.Complex or E.Complex");
  // A zero expected count with a non-zero observed one gives +Inf and counts 0; 0/0 stays NaN.
  double chi2 = 0.0;
  for (int i = 0; i < O.Length(); ++i) {
    const double d = O.Value(i) - E.Value(i);
    const double t = d * d / E.Value(i);
    if (t != Inf) chi2 += t;
  }
  Signif = SignificanceByTail(ChiSquareCDF(chi2, DF), ChiSquareCDFUpper(chi2, DF), hType);
  hRes = Decide(Signif, Alpha);
}

void GOFChi2Test(const TVec& Data, TDistribution Dist, int NumBins, THypothesisResult& hRes,
                 double& Signif, THypothesisType hType, double Alpha) {
  detail::CheckEnum("GOFChi2Test", "hType", hType, 3);
  detail::CheckAllocation("GOFChi2Test", "NumBins", NumBins + 1LL);
  if (Data.Complex()) ERaise("GOFChi2Test: Data.Complex");
  TFittedLaw law;
  if (!FitLaw(Data, Dist, law)) ERaise("GOFChi2Test: unsupported distribution");
  auto [O, X, E] = CreateIt<TVec, TVec, TVec>();
  Histogram(Data, NumBins, *O, *X, false);
  LawCDF(law, *X, *E);
  auto expected = CreateIt<TVec>();
  Difference(*expected, *E, 1);
  Mul(*expected, static_cast<double>(Data.Length()));
  GOFChi2Test(*O, *expected, Data.Length(), O->Length() - law.k - 1, hRes, Signif, hType, Alpha);
}

// ---- Lilliefors ---------------------------------------------------------------------------------

void detail::LillieMonteCarlo(double D, int n, double& Crit, double& Signif, double Alpha,
                              double MCTol, TMtxFloatPrecision Precision) {
  Crit = 0.0;
  Signif = 0.0;
  double total = 0.0;
  double v = 1.0;
  double target = 1000.0;
  const double pCrit = 1.0 - Alpha;
  auto [z, c, sims] = CreateIt<TVec, TVec, TVec>();
  z->Size(n, Precision);
  // A NaN or huge target (MCTol NaN or 0) cannot be met; the loop is bounded by the count an
  // int can hold and a NaN tolerance runs no simulation.
  while (v > MCTol) {
    const double prev = total;
    const double want = std::ceil(target - prev);
    if (!(want >= 1.0) || want > 1e9) break;
    const int m = static_cast<int>(want);
    sims->Size(m);
    int above = 0;
    for (int s = 0; s < m; ++s) {
      DrawStandardNormal(*z);
      const double d = SimulatedLillie(*z, *c);
      (*sims)[s] = d;
      if (d > D) ++above;
    }
    const double crit = (pCrit >= 0.0 && pCrit <= 1.0)
                            ? Percentile(*sims, pCrit, pctMethodNPlus)
                            : NaN;
    const double p = static_cast<double>(above) / m;
    total = prev + m;
    Crit = (Crit * prev + crit * m) / total;
    Signif = (Signif * prev + p * m) / total;
    v = std::max(Signif * (1.0 - Signif) / total, 1.0 / (total * total));
    if (v < MCTol) break;
    target = total * v * 1.2 / MCTol;
  }
}

double GOFLillieTest(const TVec& Data, THypothesisResult& hRes, double& Signif, double Alpha,
                     double MCTol) {
  if (Data.Complex()) ERaise("GOFLillieTest: Data.Complex");
  const int n = Data.Length();
  if (n < 4) ERaise("GOFLillieTest: Data.Length<4");
  auto [s, x, F, C] = CreateIt<TVec, TVec, TVec, TVec>();
  Copy(*s, Data);
  SortAscend(*s);
  EmpiricalCDF(*s, *x, *F);
  const double mu = Mean(Data);
  const double sigma = StdDev(Data, mu);
  NormalCDF(*x, mu, sigma, *C);
  // A normal law needs a positive standard deviation: a constant sample has no statistic.
  const double D = sigma > 0.0 ? Distance(*F, *C) : NaN;
  double crit = NaN;
  detail::LillieMonteCarlo(D, n, crit, Signif, Alpha, MCTol, Data.FloatPrecision());
  if (std::isnan(D)) Signif = NaN;
  hRes = Decide(Signif, Alpha);
  return D;
}

// ---- Anderson-Darling ---------------------------------------------------------------------------

double detail::ADNormalCDF(double x) {
  if (!std::isfinite(x)) return NaN;
  if (x == 0.0) return 0.0;
  // Saddle point: K1(t) = x by Newton from t = 1 - 0.5/x. The cumulant generating function
  // exists for t < 1/(2 lambda_1) = 1; a step that would leave that range goes halfway to
  // the boundary instead, which changes nothing where plain Newton stays inside.
  double t = 1.0 - 0.5 / x;
  for (int step = 0; step < 101; ++step) {
    const TCumulants c = ADCumulants(t);
    double next = t - (c.K1 - x) / c.K2;
    if (next >= 1.0) next = 0.5 * (t + 1.0);
    const double change = std::fabs(next - t);
    t = next;
    if (!(change >= 1e-5 * std::fabs(t))) break;
  }
  const TCumulants c = ADCumulants(t);
  const double u = t * std::sqrt(c.K2);
  const double w = (t > 0.0 ? 1.0 : (t < 0.0 ? -1.0 : 0.0)) * std::sqrt(2.0 * (t * x - c.K));
  const double phi = std::exp(-0.5 * w * w) / SQRT2PI;
  return 0.5 + 0.5 * Erf(w / SQRT2) - phi * (1.0 / u - 1.0 / w);
}

// S = sum_{i=1}^{n} (1 - 2i) (ln p_i + ln(1 - p_{n+1-i})), p = Phi(z). Both logarithms of
// each z come from one complementary error function: with q = Phi(-|z|) = erfc(|z|/sqrt 2)/2,
// the smaller tail is q and the larger 1 - q, whose logarithm log1p(-q) keeps the digits that
// ln(1 - p) would lose for p near 1. lnLo[i] = ln Phi(z_i), lnUp[i] = ln(1 - Phi(z_i)).
double detail::ADNormalStatistic(const TVec& Sorted) {
  const int n = Sorted.Length();
  auto [z, lnLo, lnUp] = CreateIt<TVec, TVec, TVec>();
  Copy(*z, Sorted);
  ZScore(*z);
  lnLo->Size(n);
  lnUp->Size(n);
  double* lo = lnLo->Data<double>();
  double* up = lnUp->Data<double>();
  for (int i = 0; i < n; ++i) {
    const double zi = z->Value(i);
    const double q = 0.5 * std::erfc(std::fabs(zi) / SQRT2);
    const double lnSmall = std::log(q);
    const double lnLarge = std::log1p(-q);
    lo[i] = zi >= 0.0 ? lnLarge : lnSmall;
    up[i] = zi >= 0.0 ? lnSmall : lnLarge;
    if (std::isnan(zi)) lo[i] = up[i] = NaN;
  }
  double S = 0.0;
  for (int i = 0; i < n; ++i) S += (1.0 - 2.0 * (i + 1)) * (lo[i] + up[n - 1 - i]);
  const double nn = n;
  const double A2 = S / nn - nn;
  return A2 * (1.0 + 0.75 / nn + 2.25 / (nn * nn));
}

// y = (x/a)^b: S = sum (1 - 2i) (ln(1 - exp(-y_i)) - y_{n+1-i}), ln(1 - exp(-y)) taken as
// log(-expm1(-y)) to keep small y accurate.
double detail::ADWeibullStatistic(const TVec& Sorted, double a, double b) {
  const int n = Sorted.Length();
  double S = 0.0;
  for (int i = 0; i < n; ++i) {
    const double yi = std::pow(Sorted.Value(i) / a, b);
    const double yr = std::pow(Sorted.Value(n - 1 - i) / a, b);
    S += (1.0 - 2.0 * (i + 1)) * (std::log(-std::expm1(-yi)) - yr);
  }
  const double nn = n;
  return (S / nn - nn) * (1.0 + 0.2 / std::sqrt(nn));
}

double AndersonDarling(const TVec& Data, TDistribution Dist, THypothesisResult& hRes,
                       double& Signif, double Alpha) {
  Signif = 0.0;
  double A = NaN;
  if (Data.Complex()) ERaise("AndersonDarling: Data.Complex");
  const double n = Data.Length();
  auto s = CreateIt<TVec>();
  switch (Dist) {
    case distNormal:
    case distLogNormal:
      if (Dist == distLogNormal) {
        Ln(*s, Data);
      } else {
        Copy(*s, Data);
      }
      SortAscend(*s);
      A = detail::ADNormalStatistic(*s);
      Signif = std::min(1.0, 1.0 - detail::ADNormalCDF(A));
      break;
    case distExponential:
      Copy(*s, Data);
      SortAscend(*s);
      A = detail::ADWeibullStatistic(*s, Mean(Data), 1.0);
      Signif = ADExponentialSignif(A, n);
      break;
    case distWeibull: {
      // Fitted to the sorted sample, so that the optimiser sums in the same order for every
      // ordering of the data and the statistic does not depend on it.
      double a = NaN, b = NaN;
      Copy(*s, Data);
      SortAscend(*s);
      WeibullFit(*s, a, b, 500, 1e-8);
      A = detail::ADWeibullStatistic(*s, a, b);
      Signif = ADWeibullSignif(A);
      break;
    }
    default: break;  // not a law of this test: A stays NaN
  }
  hRes = Decide(Signif, Alpha, true, A);
  return A;
}

// ---- Jarque-Bera --------------------------------------------------------------------------------

double GOFBeraJarqueTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                         double Alpha) {
  if (Data.Complex()) ERaise("GOFBeraJarqueTest: Data.Complex");
  const int n = Data.Length();
  if (n == 0) ERaise("GOFBeraJarqueTest: Data.Length = 0");
  auto z = CreateIt<TVec>();
  Copy(*z, Data);
  ZScore(*z);
  double s3 = 0.0, s4 = 0.0;
  for (int i = 0; i < n; ++i) {
    const double v = z->Value(i);
    s3 += v * v * v;
    s4 += v * v * v * v;
  }
  const double S = s3 / n;
  const double K = s4 / n - 3.0;
  const double JB = n * (S * S / 6.0 + K * K / 24.0);
  Signif = ChiSquareCDFUpper(JB, 2.0);
  hRes = Decide(Signif, Alpha, true, JB);
  return JB;
}

}  // namespace lumex
