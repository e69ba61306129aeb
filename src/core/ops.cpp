// Sizing, copying, elementwise arithmetic, reductions, ordering and selection.
#include "lumex/core/ops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/corrected_mean.h"
#include "core/dispatch.h"
#include "core/radix_sort.h"
#include "lumex/core/cache.h"

namespace lumex {

using detail::CheckRange;
using detail::CheckSameKind;
using detail::DispatchAny;
using detail::DispatchReal;

namespace detail {

void SizeLike(TDenseLumex& dst, const TDenseLumex& src) {
  if (&dst == &src) return;
  if (auto* m = dynamic_cast<TMtx*>(&dst)) {
    if (src.LumexType() == ltMtx) {
      m->Size(src.Rows(), src.Cols(), src);
    } else {
      m->Size(src.Length(), 1, src);
    }
  } else {
    static_cast<TVec&>(dst).Size(src.Length(), src);
  }
}

}  // namespace detail

namespace {

// The real type behind a storage type: double for std::complex<double>, and so on.
template <class T>
struct TRealOf {
  using type = T;
};
template <class T>
struct TRealOf<std::complex<T>> {
  using type = T;
};
template <class T>
using Real = typename TRealOf<T>::type;

// Pairwise summation over blocks, eight running sums per block. The rounding error grows with
// log(n) rather than n, and the independent sums keep the loop at memory speed.
constexpr std::size_t kBlock = 256;

template <class T, class F>
double BlockSum(const T* p, std::size_t n, F&& term) {
  if (n <= kBlock) {
    double a[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
      for (std::size_t k = 0; k < 8; ++k) a[k] += term(static_cast<double>(p[i + k]));
    }
    double s = ((a[0] + a[1]) + (a[2] + a[3])) + ((a[4] + a[5]) + (a[6] + a[7]));
    for (; i < n; ++i) s += term(static_cast<double>(p[i]));
    return s;
  }
  const std::size_t half = (n / 2 + 7) / 8 * 8;
  return BlockSum(p, half, term) + BlockSum(p + half, n - half, term);
}

struct TIdentity {
  double operator()(double x) const { return x; }
};

template <class T>
double SumOf(const T* p, std::size_t n) {
  return BlockSum(p, n, TIdentity{});
}

// Sum of (x - m)^2 with the same pairwise scheme.
template <class T>
double SumSqDev(const T* p, std::size_t n, double m) {
  return BlockSum(p, n, [m](double x) {
    const double d = x - m;
    return d * d;
  });
}

std::size_t Len(const TDenseLumex& x) { return static_cast<std::size_t>(x.Length()); }

#ifdef LUMEX_AVX2_COPIES
template <class T>
[[gnu::target("avx2")]] double MeanAvx2(const T* p, std::size_t n) {
  return detail::MeanOfSum(detail::CompensatedSum<detail::TLaneFour>(p, n, detail::TUnitStride{}),
                           n);
}
#endif

// Mean of a contiguous run: the core's compensated mean, read once. Processors with AVX2 run its
// eight lanes as two four-wide vectors instead of four two-wide ones, which keeps the sum at the
// speed of the memory; the lanes and the order in which they are merged are the same, so both
// give the same bits.
template <class T>
double ContiguousMean(const T* p, std::size_t n) {
#ifdef LUMEX_AVX2_COPIES
  if (detail::HasAvx2()) return MeanAvx2(p, n);
#endif
  return detail::CorrectedMean(p, n);
}

// Applies f to every element in place (real storage).
template <class F>
void ApplyReal(TDenseLumex& x, const char* fn, F&& f) {
  DispatchReal(x, fn, [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    const std::size_t n = Len(x);
    for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<T>(f(static_cast<double>(p[i])));
  });
}

// dst := src, then f in place.
template <class F>
void ApplyRealInto(TDenseLumex& dst, const TDenseLumex& src, const char* fn, F&& f) {
  if (src.Complex()) detail::RaiseComplex(fn);
  if (&dst != &src) {
    detail::SizeLike(dst, src);
    Copy(dst, src, 0, 0, src.Length());
  }
  ApplyReal(dst, fn, f);
}

// Elementwise x op= y for all storage kinds.
template <class Op>
void CombineInPlace(TDenseLumex& x, const TDenseLumex& y, const char* fn, Op op) {
  CheckSameKind(x, y, fn);
  DispatchAny(x, [&](auto* px) {
    using T = std::remove_pointer_t<decltype(px)>;
    const T* py = y.Data<T>();
    const std::size_t n = Len(x);
    for (std::size_t i = 0; i < n; ++i) px[i] = op(px[i], py[i]);
  });
}

// dst := a op b for all storage kinds; dst may be a or b.
template <class Op>
void CombineInto(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b, const char* fn,
                 Op op) {
  CheckSameKind(a, b, fn);
  if (&dst == &b && &dst != &a) {
    // dst aliases b only: combine in b's storage without overwriting b's values first. It takes
    // a's shape, as a distinct dst would; the length and storage kind are b's already, so the
    // reshaping keeps the buffer and its values.
    detail::SizeLike(dst, a);
    DispatchAny(dst, [&](auto* pd) {
      using T = std::remove_pointer_t<decltype(pd)>;
      const T* pa = a.Data<T>();
      const std::size_t n = Len(a);
      for (std::size_t i = 0; i < n; ++i) pd[i] = op(pa[i], pd[i]);
    });
    return;
  }
  if (&dst != &a) {
    detail::SizeLike(dst, a);
    Copy(dst, a, 0, 0, a.Length());
  }
  CombineInPlace(dst, b, fn, op);
}

// x := op(x, v) for all storage kinds.
template <class Op>
void ScalarInPlace(TDenseLumex& x, double v, Op op) {
  DispatchAny(x, [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    const auto s = static_cast<Real<T>>(v);
    const std::size_t n = Len(x);
    for (std::size_t i = 0; i < n; ++i) p[i] = op(p[i], s);
  });
}

bool Compare(double a, const std::string& op, double b) {
  if (op == "=") return a == b || (std::isnan(a) && std::isnan(b));
  if (op == "<>") return !(a == b || (std::isnan(a) && std::isnan(b)));
  if (op == "<") return a < b;
  if (op == "<=") return a <= b;
  if (op == ">") return a > b;
  if (op == ">=") return a >= b;
  ERaise("Find: unknown comparison \"" + op + "\"");
}

void CheckOperator(const std::string& op) { (void)Compare(0.0, op, 0.0); }

// Stable ascending order of the elements, NaNs last in their original order.
// The keys are sorted together with their positions: comparing through an index array costs a
// cache miss per comparison on large data. Equal keys are ordered by position, which is the
// stable order.
template <class T>
void StableOrder(const T* p, std::size_t n, std::vector<std::int32_t>& idx) {
  std::vector<std::pair<T, std::int32_t>> keyed;
  keyed.reserve(n);
  idx.resize(n);
  std::size_t nans = 0;
  for (std::size_t i = 0; i < n; ++i) {
    if (std::isnan(p[i])) {
      idx[nans++] = static_cast<std::int32_t>(i);  // kept aside, in order
    } else {
      keyed.emplace_back(p[i], static_cast<std::int32_t>(i));
    }
  }
  std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
    return a.first < b.first || (!(b.first < a.first) && a.second < b.second);
  });
  std::copy_backward(idx.begin(), idx.begin() + static_cast<std::ptrdiff_t>(nans), idx.end());
  for (std::size_t j = 0; j < keyed.size(); ++j) idx[j] = keyed[j].second;
}

template <class T>
void SortValues(T* p, std::size_t n, bool descend) {
  T* nanStart = std::partition(p, p + n, [](T v) { return !std::isnan(v); });
  detail::SortFloats(p, static_cast<std::size_t>(nanStart - p));
  if (descend) std::reverse(p, nanStart);
}

void SortWithPermutation(TDenseLumex& x, TVecInt& perm, bool descend, const char* fn) {
  DispatchReal(x, fn, [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    const std::size_t n = Len(x);
    std::vector<std::int32_t> idx;
    if (descend) {
      // Stable descending order: ascending order of the negated values keeps ties in place.
      std::vector<T> neg(p, p + n);
      for (auto& v : neg) v = -v;
      StableOrder(neg.data(), n, idx);
    } else {
      StableOrder(p, n, idx);
    }
    std::vector<T> sorted(n);
    for (std::size_t j = 0; j < n; ++j) sorted[j] = p[idx[j]];
    std::copy(sorted.begin(), sorted.end(), p);
    perm.Size(static_cast<int>(n));
    std::copy(idx.begin(), idx.end(), perm.Data());
  });
}

}  // namespace

// ---- Sizing and copying ------------------------------------------------------------------------

void Copy(TVec& dst, const TDenseLumex& src) {
  if (&dst == &src) return;
  dst.Size(src.Length(), src);
  Copy(dst, src, 0, 0, src.Length());
}

void Copy(TMtx& dst, const TMtx& src) { dst = src; }

void Copy(TDenseLumex& dst, const TDenseLumex& src, int srcIndex, int dstIndex, int len) {
  if (dst.Complex() != src.Complex() || dst.FloatPrecision() != src.FloatPrecision()) {
    ERaise("Copy: storage kinds differ");
  }
  CheckRange(src.Length(), srcIndex, len, "Copy");
  CheckRange(dst.Length(), dstIndex, len, "Copy");
  if (len == 0) return;
  DispatchAny(dst, [&](auto* pd) {
    using T = std::remove_pointer_t<decltype(pd)>;
    std::memmove(pd + dstIndex, src.Data<T>() + srcIndex, static_cast<std::size_t>(len) * sizeof(T));
  });
}

void Convert(TVec& dst, const TVec& src, TMtxFloatPrecision precision) {
  detail::CheckEnum("Convert", "precision", precision, 2);
  if (&dst == &src && precision == src.FloatPrecision()) return;
  const TVec copy = (&dst == &src) ? src : TVec();
  const TVec& s = (&dst == &src) ? copy : src;
  dst.Size(s.Length(), precision, s.Complex());
  DispatchAny(dst, [&](auto* pd) {
    DispatchAny(s, [&](const auto* ps) {
      using D = std::remove_pointer_t<decltype(pd)>;
      using S = std::remove_cv_t<std::remove_pointer_t<decltype(ps)>>;
      constexpr bool kComplexD = !std::is_floating_point_v<D>;
      constexpr bool kComplexS = !std::is_floating_point_v<S>;
      if constexpr (kComplexD == kComplexS) {
        for (int i = 0; i < s.Length(); ++i) pd[i] = static_cast<D>(ps[i]);
      }
    });
  });
}

void CopyTo(TVecInt& dst, const TDenseLumex& src) {
  DispatchReal(src, "CopyTo", [&](const auto* p) {
    const int n = src.Length();
    dst.Size(n);
    for (int i = 0; i < n; ++i) {
      const double r = std::nearbyint(static_cast<double>(p[i]));
      if (!(r >= std::numeric_limits<std::int32_t>::min() &&
            r <= std::numeric_limits<std::int32_t>::max())) {
        ERaise("CopyTo: value outside the 32-bit integer range");
      }
      dst.Data()[i] = static_cast<std::int32_t>(r);
    }
  });
}

void CopyFrom(TVec& dst, const TVecInt& src, TMtxFloatPrecision precision) {
  detail::CheckEnum("CopyFrom", "precision", precision, 2);
  const int n = src.Length();
  dst.Size(n, precision);
  DispatchReal(dst, "CopyFrom", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    for (int i = 0; i < n; ++i) p[i] = static_cast<T>(src.Data()[i]);
  });
}

void Concat(TVec& dst, const TVec& a, const TVec& b) {
  if (a.Complex() != b.Complex() || a.FloatPrecision() != b.FloatPrecision()) {
    ERaise("Concat: storage kinds differ");
  }
  if (static_cast<long long>(a.Length()) + b.Length() > std::numeric_limits<int>::max()) {
    ERaise("Concat: too many elements");
  }
  const TVec ca = (&dst == &a || &dst == &b) ? a : TVec();
  const TVec cb = (&dst == &a || &dst == &b) ? b : TVec();
  const bool aliased = &dst == &a || &dst == &b;
  const TVec& sa = aliased ? ca : a;
  const TVec& sb = aliased ? cb : b;
  dst.Size(sa.Length() + sb.Length(), sa);
  Copy(dst, sa, 0, 0, sa.Length());
  Copy(dst, sb, 0, sa.Length(), sb.Length());
}

void Ramp(TDenseLumex& x, double offset, double step) {
  DispatchReal(x, "Ramp", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    const std::size_t n = Len(x);
    for (std::size_t i = 0; i < n; ++i) p[i] = static_cast<T>(offset + static_cast<double>(i) * step);
  });
}

void Reverse(TDenseLumex& x) {
  DispatchAny(x, [&](auto* p) { std::reverse(p, p + Len(x)); });
}

void Rotate(TDenseLumex& x, int shift) {
  const int n = x.Length();
  if (n == 0) return;
  const int s = ((shift % n) + n) % n;
  DispatchAny(x, [&](auto* p) { std::rotate(p, p + (n - s), p + n); });
}

double PrecisionEPS(const TDenseLumex& x) { return x.IsDouble() ? EPS_DOUBLE : EPS_SINGLE; }

double PrecisionSqrtEPS(const TDenseLumex& x) {
  return x.IsDouble() ? SQRTEPS_DOUBLE : SQRTEPS_SINGLE;
}

// ---- Elementwise arithmetic --------------------------------------------------------------------

void Add(TDenseLumex& x, double v) { ScalarInPlace(x, v, [](auto a, auto s) { return a + s; }); }
void Sub(TDenseLumex& x, double v) { ScalarInPlace(x, v, [](auto a, auto s) { return a - s; }); }
void Mul(TDenseLumex& x, double v) { ScalarInPlace(x, v, [](auto a, auto s) { return a * s; }); }
void Divide(TDenseLumex& x, double v) {
  ScalarInPlace(x, v, [](auto a, auto s) { return a / s; });
}

void Add(TDenseLumex& x, const TDenseLumex& y) {
  CombineInPlace(x, y, "Add", [](auto a, auto b) { return a + b; });
}
void Sub(TDenseLumex& x, const TDenseLumex& y) {
  CombineInPlace(x, y, "Sub", [](auto a, auto b) { return a - b; });
}
void MulElem(TDenseLumex& x, const TDenseLumex& y) {
  CombineInPlace(x, y, "Mul", [](auto a, auto b) { return a * b; });
}
void Divide(TDenseLumex& x, const TDenseLumex& y) {
  CombineInPlace(x, y, "Divide", [](auto a, auto b) { return a / b; });
}

void Add(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b) {
  CombineInto(dst, a, b, "Add", [](auto u, auto v) { return u + v; });
}
void Sub(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b) {
  CombineInto(dst, a, b, "Sub", [](auto u, auto v) { return u - v; });
}
void MulElem(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b) {
  CombineInto(dst, a, b, "Mul", [](auto u, auto v) { return u * v; });
}
void Divide(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b) {
  CombineInto(dst, a, b, "Divide", [](auto u, auto v) { return u / v; });
}

void AddScaled(TDenseLumex& x, const TDenseLumex& y, double scale) {
  CheckSameKind(x, y, "AddScaled");
  DispatchAny(x, [&](auto* px) {
    using T = std::remove_pointer_t<decltype(px)>;
    const T* py = y.Data<T>();
    const auto s = static_cast<Real<T>>(scale);
    const std::size_t n = Len(x);
    for (std::size_t i = 0; i < n; ++i) px[i] += s * py[i];
  });
}

void DivideBy(TDenseLumex& x, double v) {
  ScalarInPlace(x, v, [](auto a, auto s) { return decltype(a)(s) / a; });
}

void Sqr(TDenseLumex& x) { ApplyReal(x, "Sqr", [](double v) { return v * v; }); }
void Sqrt(TDenseLumex& x) { ApplyReal(x, "Sqrt", [](double v) { return std::sqrt(v); }); }
void Abs(TDenseLumex& x) { ApplyReal(x, "Abs", [](double v) { return std::fabs(v); }); }
void Ln(TDenseLumex& x) { ApplyReal(x, "Ln", [](double v) { return std::log(v); }); }
void Log10(TDenseLumex& x) { ApplyReal(x, "Log10", [](double v) { return std::log10(v); }); }
void Exp(TDenseLumex& x) { ApplyReal(x, "Exp", [](double v) { return std::exp(v); }); }
void Floor(TDenseLumex& x) { ApplyReal(x, "Floor", [](double v) { return std::floor(v); }); }
void Ceil(TDenseLumex& x) { ApplyReal(x, "Ceil", [](double v) { return std::ceil(v); }); }
void Power(TDenseLumex& x, double p) {
  ApplyReal(x, "Power", [p](double v) { return std::pow(v, p); });
}
void IntPower(TDenseLumex& x, int p) {
  ApplyReal(x, "IntPower", [p](double v) {
    // Repeated squaring: exact for small integer powers, as a textbook x^p is read.
    double result = 1.0;
    double base = v;
    long long e = p < 0 ? -static_cast<long long>(p) : p;
    while (e > 0) {
      if (e & 1) result *= base;
      base *= base;
      e >>= 1;
    }
    return p < 0 ? 1.0 / result : result;
  });
}
void InvElem(TDenseLumex& x) { ApplyReal(x, "Inv", [](double v) { return 1.0 / v; }); }
void Sign(TDenseLumex& x) { ScalarInPlace(x, -1.0, [](auto a, auto s) { return a * s; }); }
void Normalize(TDenseLumex& x, double a, double b) {
  ApplyReal(x, "Normalize", [a, b](double v) { return (v - a) / b; });
}
void ZScore(TDenseLumex& x) {
  const double m = Mean(x);
  const double s = StdDev(x, m);
  Normalize(x, m, s);
}
void ThreshBottom(TDenseLumex& x, double bottom) {
  ApplyReal(x, "ThreshBottom", [bottom](double v) { return v < bottom ? bottom : v; });
}
void ThreshTop(TDenseLumex& x, double top) {
  ApplyReal(x, "ThreshTop", [top](double v) { return v > top ? top : v; });
}

void Sqr(TDenseLumex& dst, const TDenseLumex& src) {
  ApplyRealInto(dst, src, "Sqr", [](double v) { return v * v; });
}
void Sqrt(TDenseLumex& dst, const TDenseLumex& src) {
  ApplyRealInto(dst, src, "Sqrt", [](double v) { return std::sqrt(v); });
}
void Abs(TDenseLumex& dst, const TDenseLumex& src) {
  ApplyRealInto(dst, src, "Abs", [](double v) { return std::fabs(v); });
}
void Ln(TDenseLumex& dst, const TDenseLumex& src) {
  ApplyRealInto(dst, src, "Ln", [](double v) { return std::log(v); });
}
void Exp(TDenseLumex& dst, const TDenseLumex& src) {
  ApplyRealInto(dst, src, "Exp", [](double v) { return std::exp(v); });
}

// ---- Reductions -------------------------------------------------------------------------------

double Sum(const TDenseLumex& x) {
  return DispatchReal(x, "Sum", [&](const auto* p) { return SumOf(p, Len(x)); });
}

double Sum(const TDenseLumex& x, int index, int len) {
  CheckRange(x.Length(), index, len, "Sum");
  return DispatchReal(x, "Sum", [&](const auto* p) {
    return SumOf(p + index, static_cast<std::size_t>(len));
  });
}

std::complex<double> CSum(const TDenseLumex& x) {
  return DispatchAny(x, [&](const auto* p) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(p)>>;
    if constexpr (std::is_floating_point_v<T>) {
      return std::complex<double>(SumOf(p, Len(x)), 0.0);
    } else {
      std::complex<double> s = 0;
      for (std::size_t i = 0; i < Len(x); ++i) s += std::complex<double>(p[i]);
      return s;
    }
  });
}

double Mean(const TDenseLumex& x) {
  if (x.Length() == 0) return NaN;
  return DispatchReal(x, "Mean", [&](const auto* p) { return ContiguousMean(p, Len(x)); });
}

double StdDev(const TDenseLumex& x) {
  if (x.Length() < 2) return NaN;
  double ss = 0.0;
  DispatchReal(x, "StdDev", [&](const auto* p) { detail::CorrectedMean(p, Len(x), 1, &ss); });
  return std::sqrt(ss / (x.Length() - 1));
}

double StdDev(const TDenseLumex& x, double mean) {
  if (x.Length() < 2) return NaN;  // also keeps an empty x from giving sqrt(0 / -1) = -0
  const double ss =
      DispatchReal(x, "StdDev", [&](const auto* p) { return SumSqDev(p, Len(x), mean); });
  return std::sqrt(ss / (x.Length() - 1));
}

double SumOfSquares(const TDenseLumex& x) {
  return DispatchReal(x, "SumOfSquares", [&](const auto* p) { return SumSqDev(p, Len(x), 0.0); });
}

double SumOfSquares(const TDenseLumex& x, int index, int len) {
  CheckRange(x.Length(), index, len, "SumOfSquares");
  return DispatchReal(x, "SumOfSquares", [&](const auto* p) {
    return SumSqDev(p + index, static_cast<std::size_t>(len), 0.0);
  });
}

double Product(const TDenseLumex& x) {
  return DispatchReal(x, "Product", [&](const auto* p) {
    double r = 1.0;
    for (std::size_t i = 0; i < Len(x); ++i) r *= static_cast<double>(p[i]);
    return r;
  });
}

double DotProd(const TDenseLumex& a, const TDenseLumex& b) {
  CheckSameKind(a, b, "DotProd");
  return DispatchReal(a, "DotProd", [&](const auto* pa) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
    const T* pb = b.Data<T>();
    double s[4] = {0, 0, 0, 0};
    const std::size_t n = Len(a);
    std::size_t i = 0;
    for (; i + 4 <= n; i += 4) {
      for (std::size_t k = 0; k < 4; ++k) {
        s[k] += static_cast<double>(pa[i + k]) * static_cast<double>(pb[i + k]);
      }
    }
    double r = (s[0] + s[1]) + (s[2] + s[3]);
    for (; i < n; ++i) r += static_cast<double>(pa[i]) * static_cast<double>(pb[i]);
    return r;
  });
}

namespace {

// Largest (sign = 1) or smallest (sign = -1) element and its first index; NaN propagates
// (index of the first NaN). An empty range gives NaN and index -1.
double Extreme(const TDenseLumex& x, int index, int len, int sign, int& at, const char* fn) {
  return DispatchReal(x, fn, [&](const auto* p) {
    at = -1;
    double best = NaN;
    for (int i = index; i < index + len; ++i) {
      const double v = static_cast<double>(p[i]);
      if (std::isnan(v)) {
        at = i;
        return NaN;
      }
      if (at < 0 || (sign > 0 ? v > best : v < best)) {
        best = v;
        at = i;
      }
    }
    return best;
  });
}

}  // namespace

double Max(const TDenseLumex& x) {
  int at = 0;
  return Extreme(x, 0, x.Length(), 1, at, "Max");
}

double Min(const TDenseLumex& x) {
  int at = 0;
  return Extreme(x, 0, x.Length(), -1, at, "Min");
}

double Max(const TDenseLumex& x, int& index) { return Extreme(x, 0, x.Length(), 1, index, "Max"); }

double Min(const TDenseLumex& x, int& index) {
  return Extreme(x, 0, x.Length(), -1, index, "Min");
}

void MaxMin(const TDenseLumex& x, double& max, double& min) { MaxMin(x, 0, x.Length(), max, min); }

void MaxMin(const TDenseLumex& x, int index, int len, double& max, double& min) {
  CheckRange(x.Length(), index, len, "MaxMin");
  DispatchReal(x, "MaxMin", [&](const auto* p) {
    double hi = NaN;
    double lo = NaN;
    if (len > 0) hi = lo = static_cast<double>(p[index]);
    for (int i = index; i < index + len; ++i) {
      const double v = static_cast<double>(p[i]);
      if (std::isnan(v)) {
        hi = lo = NaN;
        break;
      }
      hi = v > hi ? v : hi;
      lo = v < lo ? v : lo;
    }
    max = hi;
    min = lo;
  });
}

double Median(const TDenseLumex& x) {
  const std::size_t n = Len(x);
  if (n == 0) return NaN;
  // Selection on a cached copy: O(n) and no allocation once the cache holds a large buffer.
  auto work = CreateIt<TVec>();
  work->Size(x.Length(), x);
  Copy(*work, x, 0, 0, x.Length());
  return DispatchReal(*work, "Median", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    for (std::size_t i = 0; i < n; ++i) {
      if (std::isnan(p[i])) return NaN;
    }
    T* mid = p + n / 2;
    std::nth_element(p, mid, p + n);
    const double upper = static_cast<double>(*mid);
    if (n % 2 == 1) return upper;
    const double lower = static_cast<double>(*std::max_element(p, mid));
    return 0.5 * (lower + upper);
  });
}

double NormL1(const TDenseLumex& x) {
  return DispatchReal(x, "NormL1", [&](const auto* p) {
    return BlockSum(p, Len(x), [](double v) { return std::fabs(v); });
  });
}

double NormL2(const TDenseLumex& x) { return std::sqrt(SumOfSquares(x)); }

double NormC(const TDenseLumex& x) {
  return DispatchReal(x, "NormC", [&](const auto* p) {
    double m = 0.0;
    for (std::size_t i = 0; i < Len(x); ++i) {
      const double v = std::fabs(static_cast<double>(p[i]));
      if (std::isnan(v)) return NaN;
      m = v > m ? v : m;
    }
    return m;
  });
}

double NormL2(const TDenseLumex& a, const TDenseLumex& b) {
  CheckSameKind(a, b, "NormL2");
  return DispatchReal(a, "NormL2", [&](const auto* pa) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(pa)>>;
    const T* pb = b.Data<T>();
    double s = 0.0;
    for (std::size_t i = 0; i < Len(a); ++i) {
      const double d = static_cast<double>(pa[i]) - static_cast<double>(pb[i]);
      s += d * d;
    }
    return std::sqrt(s);
  });
}

long long Sum(const TVecInt& x) {
  long long s = 0;
  for (int i = 0; i < x.Length(); ++i) s += x.Data()[i];
  return s;
}

int Max(const TVecInt& x, int& index) {
  if (x.Length() == 0) ERaise("Max: empty vector");
  const std::int32_t* p = x.Data();
  index = static_cast<int>(std::max_element(p, p + x.Length()) - p);
  return p[index];
}

// ---- Ordering and selection -------------------------------------------------------------------

void SortAscend(TDenseLumex& x) {
  DispatchReal(x, "SortAscend", [&](auto* p) { SortValues(p, Len(x), false); });
}

void SortDescend(TDenseLumex& x) {
  DispatchReal(x, "SortDescend", [&](auto* p) { SortValues(p, Len(x), true); });
}

void SortAscend(TDenseLumex& x, TVecInt& perm) { SortWithPermutation(x, perm, false, "SortAscend"); }

void SortDescend(TDenseLumex& x, TVecInt& perm) {
  SortWithPermutation(x, perm, true, "SortDescend");
}

void SortAscend(TMtx& m, int col) {
  if (col < 0 || col >= m.Cols()) ERaise("SortAscend: column index out of range");
  DispatchReal(m, "SortAscend", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    const std::size_t rows = static_cast<std::size_t>(m.Rows());
    const std::size_t cols = static_cast<std::size_t>(m.Cols());
    std::vector<T> key(rows);
    for (std::size_t i = 0; i < rows; ++i) key[i] = p[i * cols + col];
    std::vector<std::int32_t> idx;
    StableOrder(key.data(), rows, idx);
    std::vector<T> sorted(rows * cols);
    for (std::size_t i = 0; i < rows; ++i) {
      std::copy_n(p + idx[i] * cols, cols, sorted.data() + i * cols);
    }
    std::copy(sorted.begin(), sorted.end(), p);
  });
}

void SortAscend(TVecInt& x) { std::sort(x.Data(), x.Data() + x.Length()); }

int Find(const TDenseLumex& x, double value) {
  return DispatchReal(x, "Find", [&](const auto* p) {
    for (int i = 0; i < x.Length(); ++i) {
      const double v = static_cast<double>(p[i]);
      if (v == value || (std::isnan(v) && std::isnan(value))) return i;
    }
    return -1;
  });
}

void FindIndexes(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value) {
  CheckOperator(op);
  DispatchReal(src, "FindIndexes", [&](const auto* p) {
    int count = 0;
    for (int i = 0; i < src.Length(); ++i) count += Compare(static_cast<double>(p[i]), op, value);
    dst.Size(count);
    int k = 0;
    for (int i = 0; i < src.Length(); ++i) {
      if (Compare(static_cast<double>(p[i]), op, value)) dst.Data()[k++] = i;
    }
  });
}

void FindMask(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value) {
  CheckOperator(op);
  DispatchReal(src, "FindMask", [&](const auto* p) {
    dst.Size(src.Length());
    for (int i = 0; i < src.Length(); ++i) dst.Data()[i] = Compare(static_cast<double>(p[i]), op, value);
  });
}

void FindAndGather(TVec& dst, const TDenseLumex& src, const std::string& op, double value) {
  auto idx = CreateIt<TVecInt>();
  FindIndexes(*idx, src, op, value);
  GatherByIndex(dst, src, *idx);
}

void GatherByIndex(TVec& dst, const TDenseLumex& src, const TVecInt& index) {
  for (int k = 0; k < index.Length(); ++k) {
    if (index.Data()[k] < 0 || index.Data()[k] >= src.Length()) {
      ERaise("GatherByIndex: index out of range");
    }
  }
  if (&dst == &src) {
    const TVec copy(static_cast<const TVec&>(src));
    GatherByIndex(dst, copy, index);
    return;
  }
  dst.Size(index.Length(), src);
  DispatchAny(dst, [&](auto* pd) {
    using T = std::remove_pointer_t<decltype(pd)>;
    const T* ps = src.Data<T>();
    for (int k = 0; k < index.Length(); ++k) pd[k] = ps[index.Data()[k]];
  });
}

void Replace(TDenseLumex& x, double value, double replacement, double tolerance) {
  const double band = value == 0.0 ? tolerance : tolerance * std::fabs(value);
  ApplyReal(x, "Replace", [=](double v) {
    const bool match = std::isinf(value) ? v == value : std::fabs(v - value) <= band;
    return match ? replacement : v;
  });
}

// ---- Running sums and differences -------------------------------------------------------------

void CumSum(TVec& dst, const TVec& x) {
  if (&dst != &x) Copy(dst, x);
  DispatchReal(dst, "CumSum", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    double s = 0.0;
    for (int i = 0; i < dst.Length(); ++i) {
      s += static_cast<double>(p[i]);
      p[i] = static_cast<T>(s);
    }
  });
}

void Difference(TVec& dst, const TVec& x, int lag) {
  if (lag < 1) ERaise("Difference: lag < 1");
  const int n = std::max(0, x.Length() - lag);
  if (&dst != &x) Copy(dst, x);
  DispatchReal(dst, "Difference", [&](auto* p) {
    for (int i = 0; i < n; ++i) p[i] = p[i + lag] - p[i];
  });
  dst.Resize(n);
}

}  // namespace lumex
