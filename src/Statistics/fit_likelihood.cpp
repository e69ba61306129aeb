// Maximum-likelihood fits by Nelder-Mead: the negative log-likelihoods, their outer-product
// standard errors, and the fits with their Wald intervals.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <string>

#include "Statistics/fitting.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// The sample and the work vector of an objective's ObjConsts.
struct TLikeData {
  const TVec& x;
  TVec& w;
};

TLikeData Unpack(const TObjConsts& ObjConsts, const char* name) {
  TVec* x = ObjConsts.size() >= 2 ? dynamic_cast<TVec*>(ObjConsts[0]) : nullptr;
  TVec* w = x != nullptr ? dynamic_cast<TVec*>(ObjConsts[1]) : nullptr;
  if (w == nullptr) {
    ERaise(std::string(name) + ": ObjConsts must hold the sample and a work vector");
  }
  return {*x, *w};
}

// The density of `kind` at every x into dst, parameters read from Pars (the degrees of freedom
// of F and Student rounded to whole numbers, as their objectives define them).
void Density(TDistribution kind, const TVec& Pars, const TVec& x, TVec& dst) {
  auto p = [&Pars](int i) { return i < Pars.Length() ? Pars.Value(i) : NaN; };
  switch (kind) {
    case distBeta: BetaPDF(x, p(0), p(1), dst); return;
    case distCauchy: CauchyPDF(x, p(0), p(1), dst); return;
    case distGamma: GammaPDF(x, p(0), p(1), dst); return;
    case distWeibull: WeibullPDF(x, p(0), p(1), dst); return;
    case distF: FPDF(x, std::nearbyint(p(0)), std::nearbyint(p(1)), dst); return;
    case distStudent: StudentPDF(x, std::nearbyint(p(0)), dst); return;
    case distTriangular: TriangularPDF(x, p(0), p(1), p(2), dst); return;
    default: dst.Size(x.Length(), x); dst.SetVal(NaN); return;
  }
}

// -sum ln f(x): the densities are left in the work vector, their logarithms replacing them.
// Weibull adds 2^-52 to each density so that a point far in the tail costs a large but finite
// amount instead of +Inf.
double NegLogLike(TDistribution kind, const TVec& Pars, const TObjConsts& ObjConsts,
                  const char* name) {
  const TLikeData d = Unpack(ObjConsts, name);
  Density(kind, Pars, d.x, d.w);
  if (kind == distWeibull) Add(d.w, 2.220446049250313e-16);
  Ln(d.w);
  return -Sum(d.w);
}

// a := z(1 - Alpha/2) Wald interval of an estimate with standard error se.
TTwoElmReal Wald(double estimate, double se, double Alpha) {
  return {NormalCDFInv(0.5 * Alpha, estimate, se), NormalCDFInv(1.0 - 0.5 * Alpha, estimate, se)};
}

// The fits keep one work vector for the whole optimisation, handed to the objective.
TObjConsts Objects(const TVec& X, TVec& W) {
  return TObjConsts{const_cast<TVec*>(&X), &W};  // the objectives only read the sample
}

// Nelder-Mead on `like`, unbounded or inside [lower, upper]; returns the stop reason.
TOptStopReason Minimise(const TRealFunction& like, const TVec& X, std::span<double> pars,
                        std::span<const double> lower,
                        std::span<const double> upper, int MaxIter, double Tolerance) {
  auto W = CreateIt<TVec>();
  const TObjConsts objects = Objects(X, *W);
  double fmin = NaN;
  TOptStopReason reason = osrNone;
  if (lower.empty()) {
    Simplex(like, pars, nullptr, objects, fmin, reason, X.FloatPrecision(), MaxIter, Tolerance);
  } else {
    Simplex(like, pars, lower, upper, nullptr, objects, fmin, reason, X.FloatPrecision(),
            MaxIter, Tolerance);
  }
  return reason;
}

// The same for an objective named by its function: the overloaded likelihoods resolve to their
// three-argument form here.
using TLikeFn = double (*)(const TVec&, const TVec*, const TObjConsts&);
TOptStopReason Minimise(TLikeFn like, const TVec& X, std::span<double> pars,
                        std::span<const double> lower, std::span<const double> upper,
                        int MaxIter, double Tolerance) {
  return Minimise(TRealFunction(like), X, pars, lower, upper, MaxIter, Tolerance);
}

// Standard errors at the fitted (A, B) through the standard-error form of a likelihood, and the
// two Wald intervals.
void WaldIntervals(double (*like)(const TVec&, const TVec*, const TObjConsts&, TTwoElmReal&),
                   const TVec& X, double A, double B, TTwoElmReal& AConfInt,
                   TTwoElmReal& BConfInt, double Alpha) {
  auto [pars, W] = CreateIt<TVec, TVec>();
  pars->Size(2, X);
  pars->SetValue(0, A);
  pars->SetValue(1, B);
  TTwoElmReal se{NaN, NaN};
  like(*pars, nullptr, Objects(X, *W), se);
  AConfInt = Wald(A, se[0], Alpha);
  BConfInt = Wald(B, se[1], Alpha);
}


// The negative log-likelihood, with the standard errors of the parameters at Pars in StdErr.
double LikeWithStdErr(TDistribution kind, const TVec& Pars, const TVec* Consts,
                      const TObjConsts& ObjConsts, TTwoElmReal& StdErr, const char* fn) {
  const double f = NegLogLike(kind, Pars, ObjConsts, fn);
  detail::LikeStdErr(Pars, Consts, ObjConsts, kind, StdErr);
  return f;
}

}  // namespace

// ---- Objectives ---------------------------------------------------------------------------------

double BetaLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distBeta, Pars, ObjConsts, "BetaLike");
}
double BetaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                TTwoElmReal& StdErr) {
  return LikeWithStdErr(distBeta, Pars, Consts, ObjConsts, StdErr, "BetaLike");
}
double detail::CauchyLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distCauchy, Pars, ObjConsts, "CauchyLike");
}
double detail::CauchyLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                  TTwoElmReal& StdErr) {
  return LikeWithStdErr(distCauchy, Pars, Consts, ObjConsts, StdErr, "CauchyLike");
}
double detail::GammaLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distGamma, Pars, ObjConsts, "GammaLike");
}
double detail::GammaLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                 TTwoElmReal& StdErr) {
  return LikeWithStdErr(distGamma, Pars, Consts, ObjConsts, StdErr, "GammaLike");
}
double detail::WeibullLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distWeibull, Pars, ObjConsts, "WeibullLike");
}
double detail::WeibullLike(const TVec& Pars, const TVec* Consts, const TObjConsts& ObjConsts,
                   TTwoElmReal& StdErr) {
  return LikeWithStdErr(distWeibull, Pars, Consts, ObjConsts, StdErr, "WeibullLike");
}
double detail::FLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distF, Pars, ObjConsts, "FLike");
}
double detail::StudentLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distStudent, Pars, ObjConsts, "StudentLike");
}
double detail::TriangularLike(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts) {
  return NegLogLike(distTriangular, Pars, ObjConsts, "TriangularLike");
}

// Row i of the score matrix is the forward difference (ln f(x; theta) - ln f(x; theta + h e_i))/h
// of -ln f, with an absolute step h = sqrt(eps): the scores of all N observations. The
// outer-product covariance (J^T J)^-1 is formed as R^-1 R^-T from the thin QR factor of J (N x p),
// which keeps the digits that forming J^T J would square away.
void detail::LikeStdErr(const TVec& Pars, const TVec*, const TObjConsts& ObjConsts,
                        TDistribution Kind, TTwoElmReal& StdErr) {
  StdErr = {NaN, NaN};
  const TLikeData d = Unpack(ObjConsts, "LikeStdErr");
  const int p = Pars.Length();
  const int N = d.x.Length();
  if (p < 2 || N < p) return;  // fewer observations than parameters: no covariance
  auto [theta, f0, f1, J, Q, R] = CreateIt<TVec, TVec, TVec, TMtx, TMtx, TMtx>();
  Copy(*theta, Pars);
  const double h = PrecisionSqrtEPS(Pars);
  Density(Kind, *theta, d.x, *f0);
  Ln(*f0);
  J->Size(N, p);
  for (int i = 0; i < p; ++i) {
    const double v = theta->Value(i);
    theta->SetValue(i, v + h);
    Density(Kind, *theta, d.x, *f1);
    theta->SetValue(i, v);
    Ln(*f1);
    for (int k = 0; k < N; ++k) (*J)(k, i) = (f0->Value(k) - f1->Value(k)) / h;
  }
  LQR(*J, *Q, *R);
  // C = R^-1 (upper triangular, by back substitution: a zero pivot gives Inf or NaN, no raise);
  // V = C C^T, of which only the first two diagonal elements are wanted.
  auto C = CreateIt<TMtx>();
  C->Size(p, p);
  for (int col = 0; col < p; ++col) {
    for (int row = p - 1; row >= 0; --row) {
      double s = (row == col) ? 1.0 : 0.0;
      for (int k = row + 1; k < p; ++k) s -= (*R)(row, k) * (*C)(k, col);
      (*C)(row, col) = s / (*R)(row, row);
    }
  }
  for (int i = 0; i < 2; ++i) {
    double v = 0.0;
    for (int k = 0; k < p; ++k) v += (*C)(i, k) * (*C)(i, k);
    StdErr[static_cast<std::size_t>(i)] = std::sqrt(v);
  }
}

// ---- Fits ---------------------------------------------------------------------------------------

// Start from the geometric means of x and 1 - x (the moment-like start of the beta law's
// sufficient statistics).
void BetaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("BetaFit: X.Complex=True");
  const double n = X.Length();
  auto W = CreateIt<TVec>();
  Copy(*W, X);
  Normalize(*W, 1.0, -1.0);
  Power(*W, 1.0 / n);
  const double G2 = Product(*W);
  Copy(*W, X);
  Power(*W, 1.0 / n);
  const double G1 = Product(*W);
  const double d = 1.0 - G1 - G2;
  std::array<double, 2> pars{0.5 * (1.0 - G2) / d, 0.5 * (1.0 - G1) / d};
  Minimise(BetaLike, X, pars, {}, {}, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
}

void BetaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
             int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("BetaFit: X.Complex = True");
  BetaFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(BetaLike, X, A, B, AConfInt, BConfInt, Alpha);
}

namespace {

// The two O(n) kernels of the gamma and Weibull objectives are compiled twice on x86-64: for the
// baseline instruction set and for AVX2 with FMA, chosen once at load time. Both loops are
// written without branches and with independent running sums, so that either build runs them
// vectorised. Under ThreadSanitizer the loader would run the choice before the sanitizer's
// runtime is up, which crashes, so that build keeps the baseline only.
#if defined(__SANITIZE_THREAD__)
#define LUMEX_FIT_NO_CLONES
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LUMEX_FIT_NO_CLONES
#endif
#endif
#if defined(__x86_64__) && defined(__has_attribute) && !defined(LUMEX_FIT_NO_CLONES)
#if __has_attribute(target_clones)
#define LUMEX_FIT_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
#endif
#ifndef LUMEX_FIT_CLONES
#define LUMEX_FIT_CLONES
#endif

constexpr std::uint64_t kMantissaBits = 0x000F'FFFF'FFFF'FFFFULL;
constexpr std::uint64_t kExponentOne = 0x3FF0'0000'0000'0000ULL;

// Four doubles, or four 64-bit words, handled as one value (the compiler's vector extension:
// one AVX2 register, or two SSE2 registers in the baseline build).
using TFour = double __attribute__((vector_size(32)));
using TFourBits = std::uint64_t __attribute__((vector_size(32)));

// exp(y) for y in [-708, 709] (nothing is checked), within one unit in the last place: y = k ln 2
// + r with |r| <= ln 2 / 2 (ln 2 in two parts, the first exact in k ln 2), exp(r) by its Taylor
// polynomial of degree 13 (truncation below 2e-17), and 2^k added to the exponent bits. k comes
// from the low bits of y / ln 2 + 1.5 2^52, rounded there to the nearest integer. T is double
// (TBits std::uint64_t) or TFour (TFourBits), replaced in place (a TFour is not passed by value,
// which would pass differently with and without AVX).
template <class T, class TBits>
[[gnu::always_inline]] inline void ExpInPlace(T& y) {
  constexpr double kShift = 0x1.8p52;
  const T shifted = y * 1.4426950408889634 + kShift;
  const T k = shifted - kShift;
  const T r = (y - k * 0x1.62e42feep-1) - k * 0x1.a39ef35793c76p-33;
  T p = r * (1.0 / 6227020800.0) + 1.0 / 479001600.0;
  p = p * r + 1.0 / 39916800.0;
  p = p * r + 1.0 / 3628800.0;
  p = p * r + 1.0 / 362880.0;
  p = p * r + 1.0 / 40320.0;
  p = p * r + 1.0 / 5040.0;
  p = p * r + 1.0 / 720.0;
  p = p * r + 1.0 / 120.0;
  p = p * r + 1.0 / 24.0;
  p = p * r + 1.0 / 6.0;
  p = p * r + 0.5;
  p = p * r + 1.0;
  p = p * r + 1.0;
  y = __builtin_bit_cast(T,
                         __builtin_bit_cast(TBits, p) + (__builtin_bit_cast(TBits, shifted) << 52));
}

// Sum over i of (shape - 1) d_i - exp(shape d_i), d_i = u_i - lnScale: the Weibull
// log-density less its constant, where shape d_i lies in [-708, 709].
LUMEX_FIT_CLONES double WeibullTerms(const double* u, int n, double lnScale, double shape) {
  double acc[4] = {0.0, 0.0, 0.0, 0.0};
  const double s1 = shape - 1.0;
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    for (int j = 0; j < 4; ++j) {
      const double d = u[i + j] - lnScale;
      double z = shape * d;
      ExpInPlace<double, std::uint64_t>(z);
      acc[j] += s1 * d - z;
    }
  }
  double total = (acc[0] + acc[1]) + (acc[2] + acc[3]);
  for (; i < n; ++i) {
    const double d = u[i] - lnScale;
    double z = shape * d;
    ExpInPlace<double, std::uint64_t>(z);
    total += s1 * d - z;
  }
  return total;
}

// The moments M_k = sum_i v_i^k exp(b v_i), k = 0 ... kMoments - 1, of v_i = u_i - centre, where
// b v_i lies in [-708, 709]. Near b they give sum_i exp(b' v_i) for any b' as the series
// sum_k (b' - b)^k M_k / k!.
constexpr int kMoments = 13;

LUMEX_FIT_CLONES void ExpMoments(const double* u, int n, double centre, double b, double* M) {
  TFour acc[kMoments] = {};
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    TFour v;
    std::memcpy(&v, u + i, sizeof v);
    v -= centre;
    TFour p = b * v;
    ExpInPlace<TFour, TFourBits>(p);
    for (TFour& a : acc) {
      a += p;
      p *= v;
    }
  }
  for (int k = 0; k < kMoments; ++k) M[k] = (acc[k][0] + acc[k][1]) + (acc[k][2] + acc[k][3]);
  for (; i < n; ++i) {
    const double v = u[i] - centre;
    double p = b * v;
    ExpInPlace<double, std::uint64_t>(p);
    for (int k = 0; k < kMoments; ++k) {
      M[k] += p;
      p *= v;
    }
  }
}

// sum ln x and sum x over a sample of positive normal doubles, taken apart into binary
// exponents (summed as integers) and mantissas in [1, 2) (multiplied in eight running
// products, folded into one every 512 values, before they could overflow). One multiplication
// per value instead of a logarithm; the product's relative error of about n eps is an absolute
// error of n eps in the sum, as summing n logarithms has. False when an element is zero,
// subnormal, negative, infinite or NaN: its biased exponent e (with the sign bit) is then
// outside [1, 0x7FE], which sets a bit above the eleventh in e + 1 or e - 1.
LUMEX_FIT_CLONES bool LnSumNormal(const double* x, int n, double& sumLn, double& sum) {
  constexpr int kRun = 512;
  TFour s0 = {0.0, 0.0, 0.0, 0.0}, s1 = s0;
  TFourBits flags = {0, 0, 0, 0};
  double mantissa = 1.0;  // in [1, 2) between runs
  std::int64_t exponents = 0;
  int i = 0;
  while (i + 8 <= n) {
    const int end = n - i >= kRun ? i + kRun : n;
    TFour m0 = {1.0, 1.0, 1.0, 1.0}, m1 = m0;
    TFourBits e = {0, 0, 0, 0};
    for (; i + 8 <= end; i += 8) {
      TFour v0, v1;
      std::memcpy(&v0, x + i, sizeof v0);
      std::memcpy(&v1, x + i + 4, sizeof v1);
      const TFourBits b0 = __builtin_bit_cast(TFourBits, v0);
      const TFourBits b1 = __builtin_bit_cast(TFourBits, v1);
      const TFourBits e0 = b0 >> 52, e1 = b1 >> 52;
      flags |= (e0 + 1) | (e0 - 1) | (e1 + 1) | (e1 - 1);
      e += e0 + e1;
      m0 *= __builtin_bit_cast(TFour, (b0 & kMantissaBits) | kExponentOne);
      m1 *= __builtin_bit_cast(TFour, (b1 & kMantissaBits) | kExponentOne);
      s0 += v0;
      s1 += v1;
    }
    for (int j = 0; j < 4; ++j) {
      exponents += static_cast<std::int64_t>(e[j]);
      int k = 0;
      mantissa = std::frexp(mantissa * m0[j], &k) * 2.0;
      exponents += k - 1;
      mantissa = std::frexp(mantissa * m1[j], &k) * 2.0;
      exponents += k - 1;
    }
  }
  std::uint64_t bad = (flags[0] | flags[1]) | (flags[2] | flags[3]);
  double rest = 0.0;
  for (; i < n; ++i) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x[i]);
    const std::uint64_t biased = bits >> 52;
    bad |= (biased + 1) | (biased - 1);
    exponents += static_cast<std::int64_t>(biased);
    const double factor = std::bit_cast<double>((bits & kMantissaBits) | kExponentOne);
    int k = 0;
    mantissa = std::frexp(mantissa * factor, &k) * 2.0;
    exponents += k - 1;
    rest += x[i];
  }
  if ((bad & ~std::uint64_t{0x7FF}) != 0) return false;
  sumLn = std::log(mantissa) +
          static_cast<double>(exponents - 1023 * static_cast<std::int64_t>(n)) * LN2;
  const TFour s = s0 + s1;
  sum = ((s[0] + s[1]) + (s[2] + s[3])) + rest;
  return true;
}

// True when every element of a double-precision X is finite and positive: the gamma
// log-likelihood then depends on the sample only through n, sum ln x and sum x. Samples with
// subnormal values take the careful loop below.
bool PositiveDoubleSample(const TVec& X, double& sumLn, double& sum) {
  if (!X.IsDouble()) return false;
  const double* x = X.Data<double>();
  const int n = X.Length();
  if (LnSumNormal(x, n, sumLn, sum)) return true;
  // The same sums, with frexp: four running products (independent, so they pipeline), each
  // brought back into [0.5, 1) when it leaves [2^-400, 2^400], with the binary exponents
  // counted apart; a factor outside [2^-500, 2^500] is split the same way first, so no product
  // can overflow or underflow.
  double m[4] = {1.0, 1.0, 1.0, 1.0};
  long long e = 0;
  double s = 0.0;
  auto split = [&e](double& v) {
    int k = 0;
    v = std::frexp(v, &k);
    e += k;
  };
  auto factor = [&split](double v) {
    if (!(v < 0x1p500 && v > 0x1p-500)) split(v);
    return v;
  };
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    for (int j = 0; j < 4; ++j) {
      const double v = x[i + j];
      if (!(v > 0.0 && v < Inf)) return false;  // a NaN fails v > 0
      m[j] *= factor(v);
      s += v;
      if (!(m[j] < 0x1p400 && m[j] > 0x1p-400)) split(m[j]);
    }
  }
  for (; i < n; ++i) {
    const double v = x[i];
    if (!(v > 0.0 && v < Inf)) return false;
    m[0] *= factor(v);
    s += v;
    if (!(m[0] < 0x1p400 && m[0] > 0x1p-400)) split(m[0]);
  }
  for (double& mj : m) split(mj);
  sumLn = std::log(m[0] * m[1] * m[2] * m[3]) + static_cast<double>(e) * LN2;
  sum = s;
  return true;
}

}  // namespace

// Start from the moments (shape mean^2/var, scale var/mean). On a positive double sample the
// objective is GammaLike written through the sufficient statistics,
//   -l(a, b) = n ln Gamma(a) + n a ln b - (a - 1) sum ln x + sum x / b,
// which equals -sum ln GammaPDF(x; a, b) to rounding at the cost of one ln Gamma per
// evaluation instead of n densities; otherwise (zeros, negative or non-finite values, single
// precision) GammaLike itself is minimised.
void GammaFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("GammaFit: X.Complex=True");
  double sumLn = 0.0, sum = 0.0;
  const bool positive = PositiveDoubleSample(X, sumLn, sum);
  const double n = X.Length();
  // A positive sample has no cancellation in its sum: the pass that sums ln x gives the mean.
  const double mean = positive && n > 0 ? sum / n : Mean(X);
  const double sd = StdDev(X, mean);
  const double scale = sd * sd / mean;
  std::array<double, 2> pars{mean / scale, scale};
  if (positive) {
    const TRealFunction like = [n, sumLn, sum](const TVec& p, const TVec*, const TObjConsts&) {
      const double a = p.Value(0), b = p.Value(1);
      if (!(a > 0.0 && b > 0.0 && a < Inf && b < Inf)) return NaN;
      return n * LnGamma(a) + n * a * std::log(b) - (a - 1.0) * sumLn + sum / b;
    };
    Minimise(like, X, pars, {}, {}, MaxIter, Tolerance);
  } else {
    Minimise(detail::GammaLike, X, pars, {}, {}, MaxIter, Tolerance);
  }
  A = pars[0];
  B = pars[1];
}

void GammaFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
              int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("GammaFit : X.Complex = True");
  GammaFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(detail::GammaLike, X, A, B, AConfInt, BConfInt, Alpha);
}

// Start from the Weibull plot: with plotting positions p_i = (i + 0.5)/n, the points
// (ln x(i), ln(-ln(1 - p_i))) lie near the line y = b (u - ln a). Its least-squares slope is the
// shape and exp(-intercept/slope) the scale. The line is fitted in closed form, so a constant
// sample gives a NaN start (and NaN estimates) instead of a rank-deficiency error.
void WeibullFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("WeibullFit: X.Complex=True");
  const int n = X.Length();
  auto [u, y] = CreateIt<TVec, TVec>();
  Ln(*u, X);
  SortAscend(*u);
  y->Size(n);
  double* py = y->Data<double>();
  double su = 0.0, sy = 0.0;
  for (int i = 0; i < n; ++i) {
    py[i] = std::log(-std::log1p(-(i + 0.5) / n));
    su += u->Value(i);
    sy += py[i];
  }
  const double ubar = su / n, ybar = sy / n;
  double suu = 0.0, suy = 0.0;
  for (int i = 0; i < n; ++i) {
    const double du = u->Value(i) - ubar;
    suu += du * du;
    suy += du * (py[i] - ybar);
  }
  const double c0 = suy / suu;
  const double c1 = ybar - c0 * ubar;
  std::array<double, 2> pars{std::exp(-c1 / c0), c0};
  // Sorted with NaN last: finite ends mean a positive, finite sample.
  if (X.IsDouble() && n > 0 && std::isfinite(u->Value(0)) && std::isfinite(u->Value(n - 1))) {
    // WeibullLike on a positive double sample, written through u = ln x. With d = u - ln A:
    // z = (x/A)^B = exp(B d) and ln f = ln B - ln A + (B - 1) d - z. The 2^-52 that WeibullLike
    // adds changes ln f by log1p(2^-52 / f) < 2e-12 where f > e^-9, below the rounding of the
    // sum; below that the density is formed and the 2^-52 added exactly. ln f is concave in u,
    // so on the sorted u the values at or below -9 form a prefix and a suffix: these are taken
    // one by one from the ends.
    //
    // Over the whole sample, sum ln f = n (ln B - ln A) + (B - 1) sum d - exp(B (ubar - ln A))
    // sum exp(B v), v = u - ubar, and only the last sum needs a pass over the data: it comes
    // from the moments of exp(B0 v) at a shape B0 near B (|B - B0| max|v| <= 1/4, where 13 terms
    // of the series leave a relative error below 1e-17), and the moments are taken again at B
    // when B leaves that range. Once the simplex has closed in on the shape, an evaluation
    // costs O(1) instead of n exponentials. The tail values are replaced in that sum (which
    // would lose digits to a very low one; then, and where the series cannot be formed, the
    // values between the tails are summed directly).
    const double* lnx = u->Data<double>();
    double sv = 0.0;
    for (int i = 0; i < n; ++i) sv += lnx[i] - ubar;
    const double vmax = std::max(ubar - lnx[0], lnx[n - 1] - ubar);
    double b0 = NaN;
    std::array<double, kMoments> M{};
    const TRealFunction like = [&](const TVec& p, const TVec*, const TObjConsts&) {
      const double scale = p.Value(0), shape = p.Value(1);
      if (!(scale > 0.0 && shape > 0.0 && scale < Inf && shape < Inf)) return NaN;
      const double lnA = std::log(scale);
      const double c = std::log(shape) - lnA;
      auto lnf = [&](int i) {
        const double d = lnx[i] - lnA;
        return c + (shape - 1.0) * d - std::exp(shape * d);
      };
      auto withEps = [](double v) { return std::log(std::exp(v) + 2.220446049250313e-16); };
      double tails = 0.0, tailsLnf = 0.0, lowest = 0.0;
      auto takeTail = [&](double v) {
        tails += withEps(v);
        tailsLnf += v;
        lowest = std::min(lowest, v);
      };
      int hi = n;
      for (; hi > 0; --hi) {
        const double v = lnf(hi - 1);
        if (v > -9.0) break;
        takeTail(v);
      }
      int lo = 0;
      for (; lo < hi; ++lo) {
        const double v = lnf(lo);
        if (v > -9.0) break;
        takeTail(v);
      }
      if (lo == hi) return -tails;
      if (lowest > -1e3 && shape * vmax <= 700.0) {
        if (!(std::fabs(shape - b0) * vmax <= 0.25)) {
          ExpMoments(lnx, n, ubar, shape, M.data());
          b0 = shape;
        }
        const double db = shape - b0;
        double series = M[kMoments - 1];
        for (int k = kMoments - 2; k >= 0; --k) series = M[k] + db * series / (k + 1);
        const double sumZ = std::exp(shape * (ubar - lnA)) * series;
        if (sumZ < Inf) {
          const double all = n * c + (shape - 1.0) * (n * (ubar - lnA) + sv) - sumZ;
          return -((all - tailsLnf) + tails);
        }
      }
      double total = tails;
      if (shape * (lnx[lo] - lnA) >= -708.0 && shape * (lnx[hi - 1] - lnA) <= 709.0) {
        total += (hi - lo) * c + WeibullTerms(lnx + lo, hi - lo, lnA, shape);
      } else {
        for (int i = lo; i < hi; ++i) total += lnf(i);
      }
      return -total;
    };
    Minimise(like, X, pars, {}, {}, MaxIter, Tolerance);
  } else {
    Minimise(detail::WeibullLike, X, pars, {}, {}, MaxIter, Tolerance);
  }
  A = pars[0];
  B = pars[1];
}

void WeibullFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt,
                TTwoElmReal& BConfInt, int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("WeibullFit: X.Complex=True");
  WeibullFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(detail::WeibullLike, X, A, B, AConfInt, BConfInt, Alpha);
}

void CauchyFit(const TVec& X, double& A, double& B, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("CauchyFit: X.Complex=True");
  const double sd = StdDev(X);
  std::array<double, 2> pars{Median(X), 0.1 * sd > 0.2 ? 0.1 * sd : 0.2};
  const std::array<double, 2> lower{-Inf, PrecisionEPS(X)};
  const std::array<double, 2> upper{Inf, Inf};
  Minimise(detail::CauchyLike, X, pars, lower, upper, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
}

void CauchyFit(const TVec& X, double& A, double& B, TTwoElmReal& AConfInt, TTwoElmReal& BConfInt,
               int MaxIter, double Tolerance, double Alpha) {
  if (X.Complex()) ERaise("CauchyFit: X.Complex = True");
  CauchyFit(X, A, B, MaxIter, Tolerance);
  WaldIntervals(detail::CauchyLike, X, A, B, AConfInt, BConfInt, Alpha);
}

// Moment start: the F mean nu2/(nu2 - 2) gives nu2, then the variance
// 2 nu2^2 (nu1 + nu2 - 2) / (nu1 (nu2 - 2)^2 (nu2 - 4)) gives nu1. The optimised degrees of
// freedom replace the start only when Simplex converged.
void FFit(const TVec& X, int& Nu1, int& Nu2, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("FFit: X.Complex = True");
  const double m = Mean(X);
  const double r2 = 2.0 * m / (m - 1.0);
  const double d2 = r2 > 2.0 ? r2 : 2.0;
  Nu2 = detail::RoundEvenSaturated(d2);
  const double sd = StdDev(X, m);
  const double nu2 = Nu2;
  const double t = sd * sd * (nu2 - 4.0) * (nu2 - 2.0) * (nu2 - 2.0) * 0.5 / (nu2 * nu2);
  const double r1 = (nu2 - 2.0) / (t - 1.0);
  const double d1 = r1 > 4.0 ? r1 : 4.0;
  Nu1 = detail::RoundEvenSaturated(d1);
  std::array<double, 2> pars{d1, d2};
  const std::array<double, 2> lower{1.0, 1.0};
  const std::array<double, 2> upper{Nu1 + 2.0, Nu2 + 2.0};
  if (Minimise(detail::FLike, X, pars, lower, upper, MaxIter, Tolerance) == osrConverged) {
    Nu1 = detail::RoundEvenSaturated(pars[0]);
    Nu2 = detail::RoundEvenSaturated(pars[1]);
  }
}

// Start from the variance nu/(nu - 2) of the t law, at least 2; the truncation is made in double
// and capped, so a variance just above 1 cannot overflow the integer.
void StudentFit(const TVec& X, int& Nu, int MaxIter, double Tolerance) {
  if (X.Complex()) ERaise("StudentFit: X.Complex=True");
  const double sd = StdDev(X);
  const double v = sd * sd;
  double start = std::trunc(2.0 * v / (v - 1.0));
  if (!(start > 2.0)) start = 2.0;
  if (start > 1e8) start = 1e8;
  Nu = static_cast<int>(start);
  std::array<double, 1> pars{start};
  const std::array<double, 1> lower{1.0};
  const std::array<double, 1> upper{2.0 * start};
  if (Minimise(detail::StudentLike, X, pars, lower, upper, MaxIter, Tolerance) == osrConverged) {
    Nu = detail::RoundEvenSaturated(pars[0]);
  }
}

// Every parameter is held between the sample's extremes. The maximum-likelihood limits of the
// triangular law lie outside the sample range, and a limit on a sample extreme makes the
// density there 0: the objective is then +Inf at most trial points and Simplex keeps the start.
void TriangularFit(const TVec& X, double& A, double& B, double& C, int MaxIter,
                   double Tolerance) {
  if (X.Complex()) ERaise("TriangularFit: X.Complex=True");
  const double lo = Min(X);
  const double hi = Max(X);
  std::array<double, 3> pars{lo, hi, 3.0 * Mean(X) - lo - hi};
  const std::array<double, 3> lower{lo, lo, lo};
  const std::array<double, 3> upper{hi, hi, hi};
  // An empty or NaN box cannot be searched: the start is the answer.
  if (lo <= hi) Minimise(detail::TriangularLike, X, pars, lower, upper, MaxIter, Tolerance);
  A = pars[0];
  B = pars[1];
  C = pars[2];
}

}  // namespace lumex
