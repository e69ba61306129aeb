// Rank and sign tests: the sign test, the Wilcoxon signed-rank test, the Mann-Whitney U test
// with its exact null distributions, and Spearman's rank correlation.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "Statistics/rank_tests.h"
#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// Nearest integer, halves to the even neighbour (the rounding mode in force is to-nearest).
double Nint(double x) { return std::nearbyint(x); }

// d := a - b in the storage precision of a (b is converted first when its precision differs).
void Difference(TVec& d, const TVec& a, const TVec& b) {
  if (a.FloatPrecision() == b.FloatPrecision()) {
    Sub(d, a, b);
  } else {
    auto converted = CreateIt<TVec>();
    Convert(*converted, b, a.FloatPrecision());
    Sub(d, a, *converted);
  }
}

double SignTestOf(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                  THypothesisType hType, double Alpha) {
  auto d = CreateIt<TVec>();
  Copy(*d, Data);
  Sub(*d, Median);
  // Counted in the storage precision of d: a difference that rounds to zero there is a tie.
  int n = d->Length();
  int nPlus = 0;
  detail::DispatchReal(*d, "SignTest", [&](const auto* x) {
    for (int i = 0; i < d->Length(); ++i) {
      if (x[i] > 0) {
        ++nPlus;
      } else if (x[i] == 0) {
        --n;
      }
    }
  });
  const int nMinus = n - nPlus;
  const double m = std::min(nMinus, nPlus);

  if (n == 0) {
    Signif = NaN;  // no non-zero difference: nothing to test
  } else if (n < 20) {
    // Exact: n+ is binomial(n, 1/2) under H0.
    switch (hType) {
      case htRightTailed:
        Signif = BinomCDFUpper(nPlus, n, 0.5);
        break;
      case htTwoTailed:
        Signif = 2.0 * BinomCDF(Nint(m), n, 0.5);
        break;
      case htLeftTailed:
      default:
        Signif = BinomCDF(nPlus, n, 0.5);
        break;
    }
  } else {
    const double rootN = std::sqrt(static_cast<double>(n));
    if (hType == htTwoTailed) {
      // Continuity correction: the difference n+ - n- moves one step toward 0.
      int k = nPlus - nMinus;
      k -= (k > 0) - (k < 0);
      Signif = 2.0 * NormalCDF(-std::abs(k) / rootN);
    } else {
      const double z = (2.0 * nPlus - n) / rootN;
      Signif = hType == htRightTailed ? NormalCDFUpper(z) : NormalCDF(z);
    }
  }
  if (Signif > 1.0) Signif = 1.0;
  hRes = Decide(Signif, Alpha, true, m);
  return m;
}

double WilcoxonSignOf(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                      TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  auto [d, g, r] = CreateIt<TVec, TVec, TVec>();
  Copy(*d, Data);
  Sub(*d, Median);
  FindAndGather(*g, *d, "<>", 0.0);
  const int n = g->Length();
  Abs(*d, *g);
  r->Size(0, *d);
  double tieCorrection = 0.0;
  TiedRanks(*d, *r, tieCorrection);

  double wPlus = 0.0;
  double wMinus = 0.0;
  for (int i = 0; i < n; ++i) {
    const double gi = g->Value(i);
    if (gi > 0) {
      wPlus += r->Value(i);
    } else if (gi < 0) {
      wMinus += r->Value(i);
    }
  }
  const double t = std::min(wPlus, wMinus);
  const double nd = n;
  const double mu = nd * (nd + 1.0) / 4.0;

  if (n == 0) {
    Signif = NaN;  // all differences are zero: nothing to test
  } else if (n < 15) {
    const double p = detail::WilcoxonExactCDF(*r, t, tieCorrection != 0.0);
    Signif = hType == htRightTailed ? 1.0 - p : hType == htTwoTailed ? 2.0 * p : p;
  } else {
    // n(n+1)(2n+1) in 32-bit arithmetic, wrapping around as that arithmetic does; computed
    // modulo 2^64 and truncated, which is the same residue without overflowing a signed type.
    const auto un = static_cast<std::uint64_t>(n);
    const auto wrapped =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(un * (un + 1) * (2 * un + 1)));
    const double denom = std::sqrt(static_cast<double>(wrapped) - tieCorrection);
    if (hType == htTwoTailed) {
      Signif = 2.0 * NormalCDF((t - mu) * std::sqrt(24.0) / denom);
    } else {
      const double z = (wPlus - mu) * std::sqrt(24.0) / denom;
      Signif = hType == htRightTailed ? NormalCDFUpper(z) : NormalCDF(z);
    }
  }
  if (Signif > 1.0) Signif = 1.0;

  // Acceptance range of the rank sum at level Alpha, widened by a half and rounded outward.
  const double s = std::sqrt(nd * (nd + 1.0) * (2.0 * nd + 1.0) / 24.0);
  ConfInt = {Nint(mu + s * NormalCDFInv(0.5 * Alpha) - 0.5),
             Nint(mu + s * NormalCDFInv(1.0 - 0.5 * Alpha) + 0.5)};
  hRes = Decide(Signif, Alpha, true, t);
  return t;
}

// Counts of the Mann-Whitney statistic over all arrangements of a values of one sample among
// a + b: the coefficients of the Gaussian binomial [a+b choose a](q) = prod_{i=1..a}
// (1 - q^(b+i)) / (1 - q^i), degree a*b. Integers, exact while they stay below 2^53.
std::vector<double> MannWhitneyCounts(int a, int b) {
  const std::size_t top = static_cast<std::size_t>(a) * b;
  std::vector<double> c(top + a + 1, 0.0);
  c[0] = 1.0;
  std::size_t degree = 0;
  for (int i = 1; i <= a; ++i) {
    const std::size_t up = static_cast<std::size_t>(b) + i;
    for (std::size_t j = degree + up; j >= up; --j) c[j] -= c[j - up];
    degree += up;
    const std::size_t down = static_cast<std::size_t>(i);
    for (std::size_t j = down; j <= degree; ++j) c[j] += c[j - down];  // exact division
    degree -= down;
  }
  c.resize(top + 1);
  return c;
}

}  // namespace

double detail::WilcoxonExactCDF(const TVec& Ranks, double T, bool HasTies) {
  if (std::isnan(T)) return NaN;
  auto c = CreateIt<TVec>();
  Copy(*c, Ranks);
  SortAscend(*c);
  const std::int64_t n = c->Length();
  const std::int64_t s = n * (n + 1) / 2;
  if (T > static_cast<double>(s / 2)) T = static_cast<double>(s) - T;

  double k = Nint(T);
  if (HasTies) {
    // Mid-ranks are multiples of 1/2: doubled they become whole numbers.
    k = Nint(2.0 * T);
    Mul(*c, 2.0);
  }
  if (k < 0.0) return 0.0;

  // P[v] counts the sign patterns whose positive ranks sum to v, for v = 0 .. K.
  const auto kk = static_cast<std::size_t>(k);
  std::vector<double> p(kk + 1, 0.0);
  p[0] = 1.0;
  std::size_t top = 1;  // P[top ..] are still zero
  for (int i = 0; i < n; ++i) {
    const double v = HasTies ? Nint(c->Value(i)) : c->Value(i);
    if (v < 0.0) return NaN;
    if (!(v <= k)) continue;  // too large to enter any sum <= K (or NaN)
    const auto rank = static_cast<std::size_t>(Nint(v));
    const std::size_t hi = std::min(kk + 1, top + rank);
    const std::size_t lo = std::min(kk + 1, rank);
    // P[lo + j] += P[j] with the values before this rank was added: run downward.
    for (std::size_t j = hi - lo; j-- > 0;) p[lo + j] += p[j];
    top = hi;
  }
  double total = 0.0;
  for (const double x : p) total += x;
  return std::ldexp(total, -static_cast<int>(std::min<std::int64_t>(n, 100000)));
}

double detail::MannWhitneyExactCDF(int N1, int N2, double U, TMtxFloatPrecision Precision) {
  if (N1 < 0 || N2 < 0) return NaN;
  const std::int64_t m = static_cast<std::int64_t>(N1) * N2;
  if (!(static_cast<double>(m) >= U)) return NaN;
  if (m >= std::numeric_limits<int>::max() - 2) return NaN;
  const double u = Nint(U);
  if (u < 0.0) return 0.0;

  const int a = std::min(N1, N2);
  const int b = std::max(N1, N2);
  auto fv = CreateIt<TVec>(), wv = CreateIt<TVec>();
  fv->Size(static_cast<int>(m + 1), Precision);
  fv->SetZero();
  // Work vector of floor((m + 2)/2 + a) entries: it carries the running differences of the
  // frequency vector over one half of its (symmetric) range.
  wv->Size(static_cast<int>((m + 2) / 2 + a), Precision);
  wv->SetZero();
  return detail::DispatchReal(*fv, "MannWhitneyExactCDF", [&](auto* f) {
    using T = std::remove_pointer_t<decltype(f)>;
    T* w = wv->Data<T>();
    // One value in the smaller sample: U is uniform on 0 .. b.
    for (std::int64_t i = 0; i <= std::min<std::int64_t>(b, m); ++i) f[i] = 1;
    // Add the values of the smaller sample one at a time (AS 62). The entry W[j-1] is cleared
    // at each step: it holds a difference of the previous step otherwise.
    std::int64_t mu = b;
    for (int j = 2; j <= a; ++j) {
      w[j - 1] = 0;
      mu += b;
      std::int64_t wi = mu + 2;
      const std::int64_t len = mu / 2 + 1;
      std::int64_t k = j;
      for (std::int64_t i = 1; i <= len; ++i) {
        ++k;
        --wi;
        const T s = f[i - 1] + w[i - 1];
        f[i - 1] = s;
        w[k - 1] = s - f[wi - 1];
        f[wi - 1] = s;
      }
    }
    T total = 0;
    for (std::int64_t i = 0; i <= m; ++i) total += f[i];
    T cumulative = 0;
    const auto last = static_cast<std::int64_t>(u);
    for (std::int64_t i = 0; i <= last; ++i) cumulative += f[i] / total;
    return static_cast<double>(cumulative);
  });
}

double MannWCDF1(int N1, int N2, double U) {
  if (N1 < 0 || N2 < 0 || (N1 == 0 && N2 == 0)) return NaN;
  const std::int64_t m = static_cast<std::int64_t>(N1) * N2;
  if (!(static_cast<double>(m) >= U)) return NaN;
  if (m >= std::numeric_limits<int>::max() - 2) return NaN;
  const double u = Nint(U);
  if (u < 0.0) return 0.0;
  const std::vector<double> counts = MannWhitneyCounts(std::min(N1, N2), std::max(N1, N2));
  double total = 0.0;
  for (const double c : counts) total += c;
  double cumulative = 0.0;
  for (std::int64_t k = 0; k <= static_cast<std::int64_t>(u); ++k) cumulative += counts[k];
  return cumulative / total;
}

double SignTest(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                TTwoElmReal& /*ConfInt*/, THypothesisType hType, double Alpha) {
  detail::CheckEnum("SignTest", "hType", hType, 3);
  if (Data.Complex()) ERaise("SignTest: Data.Complex = true");
  if (AlphaOutOfRange(Alpha)) ERaise("SignTest: (Alpha<=0) or (Alpha>=1)");
  return SignTestOf(Data, Median, hRes, Signif, hType, Alpha);
}

double SignTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes, double& Signif,
                TTwoElmReal& /*ConfInt*/, THypothesisType hType, double Alpha) {
  detail::CheckEnum("SignTest", "hType", hType, 3);
  if (Data1.Length() != Data2.Length()) ERaise("SignTest: (Data1.Length <> Data2.Length)");
  if (Data1.Complex() || Data2.Complex()) ERaise("SignTest: vectors must be real");
  if (AlphaOutOfRange(Alpha)) ERaise("SignTest :(Alpha<=0) or (Alpha>=1)");
  auto d = CreateIt<TVec>();
  Difference(*d, Data1, Data2);
  return SignTestOf(*d, 0.0, hRes, Signif, hType, Alpha);
}

double WilcoxonSign(const TVec& Data, double Median, THypothesisResult& hRes, double& Signif,
                    TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("WilcoxonSign", "hType", hType, 3);
  if (Data.Complex()) ERaise("WilcoxonSign: Data.Complex = true");
  if (QuietLevelCheck(Alpha, hRes, Signif, nullptr)) return NaN;
  return WilcoxonSignOf(Data, Median, hRes, Signif, ConfInt, hType, Alpha);
}

double WilcoxonSign(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                    double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("WilcoxonSign", "hType", hType, 3);
  if (Data1.Length() != Data2.Length()) ERaise("WilcoxonSign: (Data1.Length <> Data2.Length)");
  if (Data1.Complex() || Data2.Complex()) ERaise("WilcoxonSign: vectors must be real");
  if (AlphaOutOfRange(Alpha)) ERaise("WilcoxonSign :(Alpha<=0) or (Alpha>=1)");
  auto d = CreateIt<TVec>();
  Difference(*d, Data1, Data2);
  return WilcoxonSignOf(*d, 0.0, hRes, Signif, ConfInt, hType, Alpha);
}

double MannWhitneyTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes,
                       double& Signif, TTwoElmReal& /*ConfInt*/, THypothesisType hType,
                       double Alpha, bool NormalApprox) {
  detail::CheckEnum("MannWhitneyTest", "hType", hType, 3);
  hRes = hrNotReject;
  Signif = 1.0;
  if (Data1.Complex() || Data2.Complex()) ERaise("MannWhitneyTest: vectors must be real");
  if (AlphaOutOfRange(Alpha)) ERaise("MannWhitneyTest :(Alpha<=0) or (Alpha>=1)");

  const int n1 = Data1.Length();
  const int n2 = Data2.Length();
  auto v = CreateIt<TVec>(), r = CreateIt<TVec>();
  auto perm = CreateIt<TVecInt>();
  if (Data1.FloatPrecision() == Data2.FloatPrecision()) {
    Concat(*v, Data1, Data2);
  } else {
    Convert(*r, Data2, Data1.FloatPrecision());
    Concat(*v, Data1, *r);
  }
  SortAscend(*v, *perm);
  r->Size(0, *v);
  double tieCorrection = 0.0;  // the U statistic needs no tie correction
  TiedRanks(*v, *r, tieCorrection);

  // Rank sum of the first sample: sorted positions whose original index lies in Data1.
  double r1 = 0.0;
  const std::int32_t* p = perm->Data();
  detail::DispatchReal(*r, "MannWhitneyTest", [&](const auto* rank) {
    for (int i = 0; i < v->Length(); ++i) {
      if (p[i] < n1) r1 += static_cast<double>(rank[i]);
    }
  });
  const double nn = static_cast<double>(n1) * n2;
  const double u1 = nn + 0.5 * n1 * (n1 + 1.0) - r1;
  const double u = std::min(u1, nn - u1);

  double p0 = NaN;
  if (NormalApprox) {
    p0 = NormalCDF((u - 0.5 * nn) / std::sqrt(nn * (n1 + n2 + 1.0) / 12.0));
  } else if (n1 > 7 || n2 > 7) {
    p0 = detail::MannWhitneyExactCDF(n1, n2, u, v->FloatPrecision());
  } else {
    p0 = MannWCDF1(n1, n2, u);
  }
  Signif = hType == htRightTailed ? 1.0 - p0 : hType == htTwoTailed ? 2.0 * p0 : p0;
  hRes = Decide(Signif, Alpha, true, u);
  return u;
}

void SpearmanRankCorr(const TVec& X, const TVec& Y, double& Rho, THypothesisResult& hRes,
                      double& Signif, TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("SpearmanRankCorr", "hType", hType, 3);
  if (X.Complex() || Y.Complex()) ERaise("SpearmanRankCorr: (X.Complex) or (Y.Complex)");
  if (X.Length() != Y.Length()) ERaise("SpearmanRankCorr: X.Length <> Y.Length");

  const double n = X.Length();
  auto [rx, ry] = CreateIt<TVec, TVec>();
  rx->Size(0, X);
  ry->Size(0, Y);
  double tx = 0.0;
  double ty = 0.0;
  TiedRanks(X, *rx, tx);
  TiedRanks(Y, *ry, ty);
  Difference(*rx, *rx, *ry);
  const double s = SumOfSquares(*rx);

  // Sum of squared rank deviations of each variable: (n^3 - n)/12 - T/6; A/2 - T/3 is twice it.
  const double a = (n * n * n - n) / 3.0;
  Rho = ((a - (tx + ty) / 3.0) * 0.5 - s) /
        (std::sqrt(n - 1.0) * std::sqrt((a / 2.0 - tx / 3.0) * (a / 2.0 - ty / 3.0) / (n - 1.0)));

  const double df = n - 2.0;
  const double t = Rho * std::sqrt(df / (1.0 - Rho * Rho));
  Signif = SignificanceByTail(StudentCDF(t, df), StudentCDFUpper(t, df), hType);

  // Fisher's z with the normal quantile at 1 - Alpha, sqrt(2) erfinv(1 - 2 Alpha).
  const double z = 0.5 * std::log((1.0 + Rho) / (1.0 - Rho));
  const double h = SQRT2 * ErfInv(1.0 - 2.0 * Alpha) / std::sqrt(n - 3.0);
  ConfInt = {std::tanh(z - h), std::tanh(z + h)};
  hRes = Decide(Signif, Alpha);
}

}  // namespace lumex
