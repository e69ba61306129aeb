// Internal: what the probability families share: parameter checks, the vector forms and the
// search that turns a discrete law's continuous-quantile estimate into R's quantile.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "core/dispatch.h"
#include "core/math_policy.h"
#include "core/prob_kernels.h"
#include "core/special_huge_shape.h"
#include "lumex/core/containers.h"
#include "lumex/core/types.h"

namespace lumex::detail {

// NaN-safe domain tests: each is false for NaN.
inline bool IsPositive(double v) { return v > 0.0 && v < Inf; }
inline bool IsNonNegative(double v) { return v >= 0.0 && v < Inf; }
inline bool IsReal(double v) { return std::isfinite(v); }
inline bool IsProbability(double p) { return p >= 0.0 && p <= 1.0; }
inline bool IsWhole(double v) { return std::isfinite(v) && v == std::floor(v); }

// Runs f(policy) under the promoted policy when `promote` holds, else under the plain one.
// The incomplete gamma and beta functions of Boost 1.74 evaluated in double lose digits as
// their shape parameters grow (1e-13 relative near 1e3, 5e-11 at 5e5, checked against
// 256-bit references); in long double they keep them, at ten to fifteen times the cost. The
// families that call them therefore promote only above a shape of kPromoteShape.
inline constexpr double kPromoteShape = 100.0;

// Below this shape the gamma, chi-square, beta and negative binomial laws take their limiting
// forms as the shape goes to 0 (Gamma(a) = 1/a and a^a = 1 to double precision: the relative
// corrections are of order a ln(1/x) < 1e-97), where Boost's routines return NaN, 0 or noise.
inline constexpr double kTinyShape = 1e-100;

// The gamma quantile of shape a and scale 1 for the lower tail, or the upper tail when upper.
double GammaQuantile(double p, double a, bool upper);

// A beta or F law with one shape at least kAstronomicalShape and the other below kHugeShape:
// the small-shape gamma variate G_s divided by the other one, G_L + G_s, is G_s / L to double
// precision (the relative difference, (G_L - L + G_s) / L, is below 40/sqrt(L) + 1e-27 <= 1.3e-17),
// and Boost's incomplete-beta inverse returns NaN or never returns there.
inline constexpr double kAstronomicalShape = 1e37;
inline bool OneAstronomicalShape(double big, double small) {
  return big >= kAstronomicalShape && small < kHugeShape;
}

// The gamma law of shape a and scale b (the chi-square and Erlang laws too), with what depends
// only on the parameters computed once: the vector forms build one per call, the scalar forms
// one per point. Each member gives the scalar form's value, NaN and the edges included.
class TGammaLaw {
 public:
  TGammaLaw(double a, double b);
  double Pdf(double x) const;
  double Cdf(double x, bool upper) const;
  // out[i] = Cdf(x[i], upper), the kernel taking the points together (TailsMany).
  void CdfMany(const double* x, int n, bool upper, double* out) const;
  double Inv(double p) const;

 private:
  double CdfBeyondKernel(double z, bool upper) const;  // where the kernel does not apply

  double a_, b_;
  bool valid_;
  TGammaKernel kernel_;
};

template <class F>
double WithPolicy(bool promote, F&& f) {
  return promote ? f(TMathPolicyPromoted()) : f(TMathPolicy());
}

// What every vector form shares: src must be real, dst is sized like src (it may be src), and
// body(ps, pd, n) runs on their storage of one type T, double or float.
template <class Body>
void ForRealStorage(const TVec& src, TVec& dst, const char* fn, Body&& body) {
  if (src.Complex()) RaiseComplex(fn);
  if (&dst != &src) dst.Size(src.Length(), src);
  DispatchReal(dst, fn, [&](auto* pd) {
    using T = std::remove_pointer_t<decltype(pd)>;
    body(src.Data<T>(), pd, src.Length());
  });
}

// Applies a scalar function to every element of a real vector; dst is sized like src.
template <class F>
void VectorForm(const TVec& src, TVec& dst, const char* fn, F&& f) {
  ForRealStorage(src, dst, fn, [&](const auto* ps, auto* pd, int n) {
    using T = std::remove_pointer_t<decltype(pd)>;
    for (int i = 0; i < n; ++i) pd[i] = static_cast<T>(f(static_cast<double>(ps[i])));
  });
}

// ---- Loops over a branch-free kernel ------------------------------------------------------------
//
// dst[i] = fast(src[i]) for a kernel free of branches, a loop the compiler vectorises: two
// doubles to a vector register in the baseline instruction set, four in the AVX2 copy (see
// HasAvx2), which gives the same bits. Every kernel passed in must inline into the loop (they
// are forced inline), or the wide copy would call the baseline one element at a time.
template <class T, class Fast>
[[gnu::always_inline]] inline void FastLoop(const T* ps, T* pd, int n, const Fast& fast) {
  for (int i = 0; i < n; ++i) pd[i] = static_cast<T>(fast(static_cast<double>(ps[i])));
}

#ifdef LUMEX_AVX2_COPIES
template <class T, class Fast>
[[gnu::target("avx2")]] void FastLoopAvx2(const T* ps, T* pd, int n, const Fast& fast) {
  FastLoop(ps, pd, n, fast);
}
#endif

template <class T, class Fast>
void MapFast(const T* ps, T* pd, int n, const Fast& fast) {
#ifdef LUMEX_AVX2_COPIES
  if (HasAvx2()) return FastLoopAvx2(ps, pd, n, fast);
#endif
  FastLoop(ps, pd, n, fast);
}

// VectorForm for a law with a branch-free kernel. Blocks of points that all satisfy `inside` go
// through `fast` (MapFast). In a block with other points (NaN, an infinity, a point off the
// support or outside the kernel's domain, or a share of every sample, like the tails of the
// normal quantile) those are first set aside, then the whole block goes through `fast`, and
// then `slow`, the scalar form, replaces its values at them. fast and slow agree wherever inside
// holds; fast must be plain arithmetic, whose value outside is discarded.
template <class In, class Fast, class Slow>
void BlockVectorForm(const TVec& src, TVec& dst, const char* fn, In&& inside, Fast&& fast,
                     Slow&& slow) {
  ForRealStorage(src, dst, fn, [&](const auto* ps, auto* pd, int n) {
    using T = std::remove_pointer_t<decltype(pd)>;
    constexpr int kBlock = 256;
    for (int i0 = 0; i0 < n; i0 += kBlock) {
      const int i1 = std::min(n, i0 + kBlock);
      bool all = true;
      for (int i = i0; i < i1; ++i) all &= inside(static_cast<double>(ps[i]));
      if (all) {
        MapFast(ps + i0, pd + i0, i1 - i0, fast);
        continue;
      }
      // The points outside, kept before dst (which may be src) is written: every point is
      // stored, and the count moves past those outside, with no branch to mispredict.
      double outside[kBlock];
      int at[kBlock];
      int m = 0;
      for (int i = i0; i < i1; ++i) {
        const double v = static_cast<double>(ps[i]);
        outside[m] = v;
        at[m] = i;
        m += !inside(v);
      }
      MapFast(ps + i0, pd + i0, i1 - i0, fast);
      for (int k = 0; k < m; ++k) pd[at[k]] = static_cast<T>(slow(outside[k]));
    }
  });
}

// VectorForm for a law that takes a block of points at once: batch(in, n, out) with n <= 256
// values in double, in and out.
template <class Batch>
void BatchVectorForm(const TVec& src, TVec& dst, const char* fn, Batch&& batch) {
  ForRealStorage(src, dst, fn, [&](const auto* ps, auto* pd, int n) {
    using T = std::remove_pointer_t<decltype(pd)>;
    constexpr int kBlock = 256;
    double in[kBlock], out[kBlock];
    for (int i0 = 0; i0 < n; i0 += kBlock) {
      const int m = std::min(kBlock, n - i0);
      for (int i = 0; i < m; ++i) in[i] = static_cast<double>(ps[i0 + i]);
      batch(in, m, out);
      for (int i = 0; i < m; ++i) pd[i0 + i] = static_cast<T>(out[i]);
    }
  });
}

// The same with two integer parameter vectors taken element by element.
template <class F>
void VectorForm2(const TVec& src, const TVecInt& a, const TVecInt& b, TVec& dst, const char* fn,
                 F&& f) {
  if (src.Complex()) RaiseComplex(fn);
  if (a.Length() != src.Length() || b.Length() != src.Length()) {
    ERaise(std::string(fn) + ": lengths differ");
  }
  if (&dst != &src) dst.Size(src.Length(), src);
  DispatchReal(dst, fn, [&](auto* pd) {
    using T = std::remove_pointer_t<decltype(pd)>;
    const T* ps = src.Data<T>();
    const std::int32_t* pa = a.Data();
    const std::int32_t* pb = b.Data();
    const int n = src.Length();
    for (int i = 0; i < n; ++i) {
      pd[i] = static_cast<T>(f(static_cast<double>(ps[i]), static_cast<double>(pa[i]),
                               static_cast<double>(pb[i])));
    }
  });
}

// R's left-continuity fuzz for discrete quantiles: p is lowered by 64 machine epsilons
// (relative) so that a p computed as CDF(k) maps back to k despite rounding in either CDF.
inline double DiscreteQuantileTarget(double p) {
  return p * (1.0 - 64.0 * std::numeric_limits<double>::epsilon());
}

// Least integer k in [lo, hi] with cdf(k) >= target (hi when there is none), starting from an
// estimate. The estimate comes from Boost's quantile, so the answer is usually a step or two
// away; the search guards against off-by-one answers where Boost's own comparison falls on the
// other side of a rounding. From a poor estimate (a far tail, or none) the steps double until
// they bracket the answer, which bisection then finds: O(log distance) evaluations, and no
// endless walk where k + 1 == k beyond 2^53.
template <class Cdf>
double DiscreteQuantileSearch(double target, double estimate, double lo, double hi, Cdf&& cdf) {
  double k = std::isnan(estimate) ? lo : std::floor(estimate);
  if (k < lo) k = lo;
  if (k > hi) k = hi;
  // Invariant: the answer lies in (a, b]; a is below the support or cdf(a) < target.
  double a, b;
  if (cdf(k) < target) {
    a = k;
    b = k < hi ? k + 1.0 : hi;
    for (double step = 2.0; b < hi && cdf(b) < target; step *= 2.0) {
      a = b;
      b = std::min(hi, k + step);
    }
  } else {
    b = k;
    // Beyond 2^53 a short step rounds back to b and is lengthened; lo - 1 may round to lo,
    // which then ends the search at b = lo.
    for (double step = 1.0;; step *= 2.0) {
      a = std::max(lo - 1.0, k - step);
      if (a < b) {
        if (a < lo || cdf(a) < target) break;
        b = a;
      } else if (k - step <= lo - 1.0) {
        break;
      }
    }
  }
  while (b - a > 1.0) {
    const double m = std::floor(a + 0.5 * (b - a));
    if (m <= a || m >= b) break;  // no integer between them is representable
    if (cdf(m) >= target) b = m;
    else a = m;
  }
  return b;
}

// Newton's method on ln F(x) = ln p against ln x, for quantiles in a far lower tail where
// F(x) behaves like C x^a: there the iteration is nearly exact from any start. It repairs
// Boost's incomplete-beta inverse (F and beta quantiles), which stalls near 3e-50 for p below
// about 1e-100.
template <class Cdf, class Pdf>
double PolishLowerTail(double p, double x, Cdf&& cdfAt, Pdf&& pdfAt) {
  if (!(x > 0.0) || !std::isfinite(x)) return x;
  for (int i = 0; i < 60; ++i) {
    const double F = cdfAt(x);
    const double f = pdfAt(x);
    if (!(F > 0.0) || !(f > 0.0)) break;
    const double step = (std::log(F) - std::log(p)) / (x * f / F);  // x f / F = d ln F / d ln x
    x *= std::exp(-step);
    if (std::fabs(step) < 1e-15) break;
  }
  return x;
}

}  // namespace lumex::detail
