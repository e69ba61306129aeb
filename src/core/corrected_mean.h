// Internal: the accurate mean of a run of values, and the sum of squared deviations about it.
//
// Every mean of the library that must keep its digits when the data sit far from zero comes from
// here: the core reductions, the column means, the analysis of variance and the control-chart
// subgroups. The sum is compensated: the rounding error of each addition is recovered and the
// errors are summed on the side (TCompensatedSum), in eight independent lanes whose additions
// overlap and keep pace with reading the data. When the values sit far from zero (NIST
// NumAcc4, 1e7 +- 0.1) every error is recovered exactly, so the mean is correctly rounded in
// practice and n equal values give exactly their value, which the analysis of variance relies on
// for a residual of exactly 0. Data about zero meet Kahan's bound, as accurate as the corrected
// two-pass mean (whose correction is itself a plain sum) at half the reading.
//
// The sum of squares takes a second pass over the deviations d = x - m from that mean:
// sum d^2 - (sum d)^2 / n, whose second term removes what the rounding of m leaves (the
// corrected two-pass method).
#pragma once

#include <cmath>
#include <cstddef>
#include <limits>
#include <type_traits>
#include <vector>

namespace lumex::detail {

// s + c is the sum of the values added so far: s the rounded running sum, c the sum of the
// rounding errors of the additions.
struct TCompensatedSum {
  double s = 0.0;
  double c = 0.0;

  // t = s + x and its rounding error (s - t) + x (Fast2Sum), which is exact
  // whenever |s| >= |x|: past the first few terms when the values share a sign or sit about a
  // common offset, and always for equal values. Where a small running sum meets a larger value
  // the error term may be off by about eps |s|, so the sum obeys Kahan's bound, an error below
  // 2 eps sum |x| + O(n eps^2) sum |x|. Exact error terms for every order (TwoSum) would take
  // twice the additions, too many to keep pace with the memory.
  void Add(double x) {
    const double t = s + x;
    c += (s - t) + x;
    s = t;
  }
  // Merges another sum, exactly whatever the magnitudes (TwoSum).
  void Add(const TCompensatedSum& other) {
    const double t = s + other.s;
    const double z = t - s;
    c += ((s - (t - z)) + (other.s - z)) + other.c;
    s = t;
  }
};

// (s + c) / n, rounded once in practice: q = s/n is corrected by the remainder s - q n (exact
// through the fused multiply-add) plus c. When s + c is exactly n v (n equal values v), the
// remainder is exactly n (v - q) and the result exactly v. A sum that is not finite (an infinite
// or NaN value, or overflow) gives s / n: its error terms are NaN.
inline double MeanOfSum(const TCompensatedSum& sum, std::size_t n) {
  const double dn = static_cast<double>(n);
  const double q = sum.s / dn;
  if (!std::isfinite(sum.s)) return q;
  return q + (std::fma(-q, dn, sum.s) + sum.c) / dn;
}

// Long contiguous runs are read faster when the loads are requested 4 KiB ahead of use: with
// four additions per value the processor does not run far enough ahead on its own, and without
// the hint it pays for the arithmetic and for the memory one after the other. A hint past the
// end of the data is harmless (it never faults). Always inlined: g++ 12 finds a separate
// function around the hint free of effects and drops the calls to it.
template <class T>
[[gnu::always_inline]] inline void PrefetchAhead(const T* p) {
#if defined(__GNUC__)
  __builtin_prefetch(p + 4096 / sizeof(T));
#else
  (void)p;
#endif
}

using TUnitStride = std::integral_constant<std::size_t, 1>;
template <class Stride>
constexpr bool kContiguous = std::is_same_v<Stride, TUnitStride>;

// Lanes of the running sums as values of the compiler's vector extension: pairs (one SSE2
// register each) in the x86-64 baseline, fours (one AVX register) in code compiled for AVX2.
// Either way there are eight lanes, lane k taking the values k, k + 8, k + 16, ..., and they are
// merged in the same order, so every processor gives the same bits.
using TLanePair = double __attribute__((vector_size(16)));
using TLaneFour = double __attribute__((vector_size(32)));

// x := p[0], p[stride], ... (as many as x has lanes) in double.
template <class TLanes, class T, class Stride>
[[gnu::always_inline]] inline void LoadLanes(TLanes& x, const T* p, Stride stride) {
  constexpr int kWidth = sizeof(TLanes) / sizeof(double);
  for (int j = 0; j < kWidth; ++j) x[j] = static_cast<double>(p[j * stride]);
}

// Compensated sum of p[0], p[stride], ..., p[(n - 1) stride] in eight lanes, each running the
// additions of TCompensatedSum::Add. The stride is a template argument where it is 1.
template <class TLanes, class T, class Stride>
[[gnu::always_inline]] inline TCompensatedSum CompensatedSum(const T* p, std::size_t n,
                                                             Stride stride) {
  constexpr int kWidth = sizeof(TLanes) / sizeof(double);
  constexpr int kVectors = 8 / kWidth;
  TLanes s[kVectors] = {};
  TLanes c[kVectors] = {};
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if constexpr (kContiguous<Stride>) PrefetchAhead(p + i);
    for (int v = 0; v < kVectors; ++v) {
      TLanes x;
      LoadLanes(x, p + (i + v * kWidth) * stride, stride);
      const TLanes t = s[v] + x;
      c[v] += (s[v] - t) + x;
      s[v] = t;
    }
  }
  TCompensatedSum sum;
  for (int v = 0; v < kVectors; ++v) {
    for (int j = 0; j < kWidth; ++j) sum.Add(TCompensatedSum{s[v][j], c[v][j]});
  }
  for (; i < n; ++i) sum.Add(static_cast<double>(p[i * stride]));
  return sum;
}

// Sums of d = x - m and of d^2 over p[0], p[stride], ..., pairwise over blocks of 256 values
// with eight running sums each: the rounding error grows with log n, not n.
template <class T, class Stride>
void DeviationSums(const T* p, std::size_t n, Stride stride, double m, double& sumD,
                   double& sumD2) {
  constexpr std::size_t kBlock = 256;
  if (n > kBlock) {
    const std::size_t half = (n / 2 + 7) / 8 * 8;
    double d1, q1, d2, q2;
    DeviationSums(p, half, stride, m, d1, q1);
    DeviationSums(p + half * stride, n - half, stride, m, d2, q2);
    sumD = d1 + d2;
    sumD2 = q1 + q2;
    return;
  }
  TLanePair a0 = {}, a1 = {}, a2 = {}, a3 = {};
  TLanePair b0 = {}, b1 = {}, b2 = {}, b3 = {};
  const auto add = [m, stride](TLanePair& a, TLanePair& b, const T* q) {
    TLanePair d;
    LoadLanes(d, q, stride);
    d -= m;
    a += d;
    b += d * d;
  };
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    if constexpr (kContiguous<Stride>) PrefetchAhead(p + i);
    const T* q = p + i * stride;
    add(a0, b0, q);
    add(a1, b1, q + 2 * stride);
    add(a2, b2, q + 4 * stride);
    add(a3, b3, q + 6 * stride);
  }
  sumD = ((a0[0] + a0[1]) + (a1[0] + a1[1])) + ((a2[0] + a2[1]) + (a3[0] + a3[1]));
  sumD2 = ((b0[0] + b0[1]) + (b1[0] + b1[1])) + ((b2[0] + b2[1]) + (b3[0] + b3[1]));
  for (; i < n; ++i) {
    const double d = static_cast<double>(p[i * stride]) - m;
    sumD += d;
    sumD2 += d * d;
  }
}

template <class T, class Stride>
double CorrectedMeanStrided(const T* p, std::size_t n, Stride stride, double* sumSq) {
  if (n == 0) {
    if (sumSq != nullptr) *sumSq = std::numeric_limits<double>::quiet_NaN();
    return std::numeric_limits<double>::quiet_NaN();
  }
  const double m = MeanOfSum(CompensatedSum<TLanePair>(p, n, stride), n);
  if (sumSq != nullptr) {
    if (!std::isfinite(m)) {
      *sumSq = std::numeric_limits<double>::quiet_NaN();
    } else {
      double sumD = 0.0;
      double sumD2 = 0.0;
      DeviationSums(p, n, stride, m, sumD, sumD2);
      *sumSq = sumD2 - sumD * sumD / static_cast<double>(n);
    }
  }
  return m;
}

// The mean of the n values p[0], p[stride], ..., p[(n - 1) stride] (T = double or float),
// computed in double; NaN for n = 0. The data are read once. With sumSq, also
// *sumSq := sum (x - mean)^2 from a second pass (NaN when the mean is not finite). With a stride
// of 1 the loads are also requested ahead.
template <class T>
double CorrectedMean(const T* p, std::size_t n, std::ptrdiff_t stride = 1,
                     double* sumSq = nullptr) {
  if (stride == 1) return CorrectedMeanStrided(p, n, TUnitStride{}, sumSq);
  return CorrectedMeanStrided(p, n, static_cast<std::size_t>(stride), sumSq);
}

// mean[j] := the mean of column j of the rows x cols row-major block p, by the same compensated
// sum as CorrectedMean, but walking the rows in storage order (one running sum per column), so
// that a tall matrix is read once and in order. NaN means when rows = 0.
template <class T>
void CorrectedColumnMeans(const T* p, std::size_t rows, std::size_t cols, double* mean) {
  std::vector<TCompensatedSum> sum(cols);
  for (std::size_t i = 0; i < rows; ++i) {
    const T* row = p + i * cols;
    for (std::size_t j = 0; j < cols; ++j) sum[j].Add(static_cast<double>(row[j]));
  }
  for (std::size_t j = 0; j < cols; ++j) {
    mean[j] = rows == 0 ? std::numeric_limits<double>::quiet_NaN() : MeanOfSum(sum[j], rows);
  }
}

}  // namespace lumex::detail
