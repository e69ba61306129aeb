// Location, dispersion and order statistics: geometric, harmonic and trimmed means, the mode,
// central moments, quantiles by five textbook definitions, the interquartile range, and the
// ranges of the rows and columns of a matrix.
#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

using detail::DispatchAny;
using detail::DispatchReal;

// r = k + f with k the integer part of r (truncated toward zero) and f its fractional part, the
// sign of f following r. Kept in double so that any r, however large, is safe.
void TruncAndFrac(double r, double& k, double& f) {
  k = std::trunc(r);
  f = r - k;
}

// The quantile rules on the order statistics x(1) <= ... <= x(n) of n values, x(k) being read
// as at(k). Positions k are whole numbers held in doubles and clamped to [1, n] before any
// element is read, so no P (negative, above 1, infinite) can reach outside the data. Each rule
// reads at most two order statistics, which lets the one-quantile callers select them instead of
// sorting.
constexpr int kPercentileMethods = pctMethodEDFAve + 1;

template <class At>
double Quantile(At&& at, int n, double P, TPercentileMethod Method) {
  if (n == 0 || std::isnan(P)) return NaN;
  const double dn = n;
  // An infinite P is below or above every rule's range (and would make Inf * 0 = NaN in the
  // position P (n - 1) + 1 of a one-element sample).
  if (std::isinf(P)) return P < 0.0 ? at(1.0) : at(dn);
  // x(k) for a whole k, clamped to the first and last order statistic.
  auto clamped = [&](double k) { return k < 1.0 ? at(1.0) : (k > dn ? at(dn) : at(k)); };

  switch (Method) {
    case pctMethodNPlus:
    case pctMethodNMinus: {
      const double r = Method == pctMethodNPlus ? P * (dn + 1.0) : P * (dn - 1.0) + 1.0;
      double k = 0.0;
      double f = 0.0;
      TruncAndFrac(r, k, f);
      if (k < 1.0) return at(1.0);
      if (k > dn - 1.0) return at(dn);
      const double lo = at(k);
      if (f == 0.0) return lo;
      const double hi = at(k + 1.0);
      // Equal neighbours give the value itself: the weighted sum would not always round back to
      // it, and infinite neighbours would make it NaN.
      if (lo == hi) return lo;
      return (1.0 - f) * lo + f * hi;
    }
    case pctMethodClosestN:
      // nearbyint rounds a half to the even neighbour (the default rounding mode).
      return clamped(std::nearbyint(P * dn));
    case pctMethodEDF: {
      const double r = dn * P;
      double k = 0.0;
      double f = 0.0;
      TruncAndFrac(r, k, f);
      return clamped(f != 0.0 ? k + 1.0 : k);
    }
    case pctMethodEDFAve: {
      const double r = dn * P;
      double k = 0.0;
      double f = 0.0;
      TruncAndFrac(r, k, f);
      if (f == 0.0) return clamped(k);
      k = std::ceil(r);
      if (k < 1.0) return at(1.0);
      if (k > dn - 1.0) return at(dn);
      return (at(k) + at(k + 1.0)) * 0.5;
    }
  }
  return 0.0;
}

// x(k) read from data sorted ascending.
template <class T>
struct TSortedAt {
  const T* x;
  double operator()(double k) const {
    return static_cast<double>(x[static_cast<std::ptrdiff_t>(k) - 1]);
  }
};

// Quantiles by selection instead of a full sort: each rule reads at most two order statistics,
// so only those are put in place, by nth_element over nested ranges (O(n log q) for q of them).
// The selected elements are the ones a sort would put there, so the results are the same.
template <class T>
class TSelectedQuantiles {
public:
  // Reorders p[0 .. n-1]. NaNs are first moved behind the numbers, where the sorted order puts
  // them, so that the comparisons of the selection only ever see numbers.
  TSelectedQuantiles(T* p, int n)
      : fP(p), fN(n), fNumbers(std::partition(p, p + n, [](T v) { return !std::isnan(v); }) - p) {}

  // out[i] := the P[i]-quantile by Method.
  void Compute(std::span<const double> P, std::span<double> out, TPercentileMethod Method) {
    // Which order statistics the rules read depends only on the positions, not on the values
    // read, so a first run with a recording reader lists them all.
    std::vector<std::ptrdiff_t> needed;
    const auto record = [&](double k) {
      const auto i = static_cast<std::ptrdiff_t>(k) - 1;
      if (i < fNumbers) needed.push_back(i);
      return 0.0;
    };
    for (const double q : P) (void)Quantile(record, fN, q, Method);
    std::sort(needed.begin(), needed.end());
    needed.erase(std::unique(needed.begin(), needed.end()), needed.end());
    if (!SelectFromBrackets(needed)) {
      Select(0, fNumbers, needed.data(), needed.data() + needed.size());
    }

    const auto read = [&](double k) {
      const auto i = static_cast<std::ptrdiff_t>(k) - 1;
      return i < fNumbers ? static_cast<double>(fP[i]) : NaN;
    };
    for (std::size_t j = 0; j < P.size(); ++j) out[j] = Quantile(read, fN, P[j], Method);
  }

private:
  // From kBracketFrom numbers on, the order statistics come from brackets: a pseudo-random
  // sample of kSampleSize numbers, sorted, gives each needed position i a bracket (lo, hi] of
  // sample values around its rank, five standard deviations of the sample's rank wide; one pass
  // counts the numbers below each bracket and gathers those inside, and where every bracket
  // holds its positions (#{x <= lo} <= i < #{x <= hi}) a selection within the gathered numbers
  // finds them, which are then written at their positions. One pass over the data and
  // selections over a few per cent of it, against log2(q) selections over all of it. False
  // when a bracket misses (an unlucky sample, heavy ties): the caller selects as before.
  static constexpr std::ptrdiff_t kBracketFrom = std::ptrdiff_t{1} << 20;
  static constexpr std::ptrdiff_t kSampleSize = std::ptrdiff_t{1} << 16;
  static constexpr std::size_t kMaxBrackets = 16;

  bool SelectFromBrackets(const std::vector<std::ptrdiff_t>& needed) {
    const std::ptrdiff_t n = fNumbers;
    if (n < kBracketFrom || needed.size() < 2 || needed.size() > kMaxBrackets) return false;
    // the sample, by a 64-bit linear congruential sequence (fixed seed: the same every run)
    std::vector<T> sample(static_cast<std::size_t>(kSampleSize));
    std::uint64_t state = 0x9E3779B97F4A7C15ull;
    for (auto& v : sample) {
      state = state * 6364136223846793005ull + 1442695040888963407ull;
      v = fP[static_cast<std::ptrdiff_t>((state >> 11) % static_cast<std::uint64_t>(n))];
    }
    std::sort(sample.begin(), sample.end());
    // brackets (lo, hi], merged where they overlap; -Inf and +Inf where they reach the ends
    struct TBracket {
      T lo, hi;
      std::size_t first, last;  // the needed positions it holds: needed[first .. last)
    };
    std::vector<TBracket> brackets;
    const double s = static_cast<double>(kSampleSize);
    for (std::size_t j = 0; j < needed.size(); ++j) {
      const double f = (static_cast<double>(needed[j]) + 0.5) / static_cast<double>(n);
      const double half = 5.0 * std::sqrt(s * f * (1.0 - f)) + 8.0;
      const double a = std::floor(f * s - half), b = std::ceil(f * s + half);
      const T lo = a < 0.0 ? -std::numeric_limits<T>::infinity()
                           : sample[static_cast<std::size_t>(a)];
      const T hi =
          b >= s ? std::numeric_limits<T>::infinity() : sample[static_cast<std::size_t>(b)];
      if (!brackets.empty() && lo <= brackets.back().hi) {
        brackets.back().hi = std::max(brackets.back().hi, hi);
        brackets.back().last = j + 1;
      } else {
        brackets.push_back({lo, hi, j, j + 1});
      }
    }
    // One pass: k = the number of brackets wholly below v, counted without branches; below[k]
    // counts the numbers above bracket k - 1 and at or below lo_k (lo_m = +Inf).
    const std::size_t m = brackets.size();
    std::array<T, kMaxBrackets> his;
    std::array<T, kMaxBrackets + 1> los;
    his.fill(std::numeric_limits<T>::infinity());
    los.fill(std::numeric_limits<T>::infinity());
    for (std::size_t k = 0; k < m; ++k) his[k] = brackets[k].hi, los[k] = brackets[k].lo;
    std::vector<std::ptrdiff_t> below(m + 1, 0);
    std::vector<std::vector<T>> inside(m);
    for (std::ptrdiff_t i = 0; i < n; ++i) {
      const T v = fP[i];
      std::size_t k = 0;
      for (std::size_t j = 0; j < kMaxBrackets; ++j) k += v > his[j] ? 1 : 0;
      if (v > los[k]) inside[k].push_back(v);
      else ++below[k];
    }
    // check every bracket, then select within each
    std::vector<std::pair<std::ptrdiff_t, T>> found;
    std::ptrdiff_t atOrBelowLo = 0;
    for (std::size_t k = 0; k < m; ++k) {
      atOrBelowLo += below[k];
      auto& in = inside[k];
      const std::ptrdiff_t size = static_cast<std::ptrdiff_t>(in.size());
      for (std::size_t j = brackets[k].first; j < brackets[k].last; ++j) {
        const std::ptrdiff_t r = needed[j] - atOrBelowLo;
        if (r < 0 || r >= size) return false;
      }
      for (std::size_t j = brackets[k].first; j < brackets[k].last; ++j) {
        const std::ptrdiff_t r = needed[j] - atOrBelowLo;
        std::nth_element(in.begin(), in.begin() + r, in.end());
        found.emplace_back(needed[j], in[static_cast<std::size_t>(r)]);
      }
      atOrBelowLo += size;
    }
    for (const auto& [i, v] : found) fP[i] = v;
    return true;
  }

  // Puts the order statistics at the ascending positions [first, last) in place; every position
  // lies in [lo, hi), a range that holds its own order statistics already.
  void Select(std::ptrdiff_t lo, std::ptrdiff_t hi, const std::ptrdiff_t* first,
              const std::ptrdiff_t* last) {
    while (first != last) {
      const std::ptrdiff_t* mid = first + (last - first) / 2;
      std::nth_element(fP + lo, fP + *mid, fP + hi);
      Select(*mid + 1, hi, mid + 1, last);
      hi = *mid;
      last = mid;
    }
  }

  T* fP;
  int fN;
  std::ptrdiff_t fNumbers;
};

// out[i] := the P[i]-quantile of X by selection on a copy in `work`.
void SelectedQuantiles(TVec& work, const TVec& X, std::span<const double> P,
                       std::span<double> out, TPercentileMethod Method) {
  Copy(work, X);
  DispatchReal(work, "Percentile", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    TSelectedQuantiles<T>(p, work.Length()).Compute(P, out, Method);
  });
}

// Sorted copy of X in its own storage precision, in a lease from the object cache.
void SortedCopy(TVec& sorted, const TVec& X) {
  Copy(sorted, X);
  SortAscend(sorted);
}

// A copy of X in double precision, for the means and moments that transform every value.
void DoubleCopy(TVec& dst, const TVec& X) { Convert(dst, X, fpDouble); }

// Range of n values p[0], p[stride], ... of complex storage: the value of largest modulus minus
// the value of smallest modulus, the first of each on ties; NaN when a value is NaN, and for n = 0.
template <class C>
std::complex<double> ComplexRange(const C* p, int n, std::ptrdiff_t stride) {
  if (n == 0) return {NaN, NaN};
  std::complex<double> zmax(p[0]);
  std::complex<double> zmin = zmax;
  double amax = std::abs(zmax);
  double amin = amax;
  for (int i = 0; i < n; ++i) {
    const std::complex<double> z(p[i * stride]);
    const double a = std::abs(z);
    if (std::isnan(a)) return {NaN, NaN};
    if (a > amax) {
      amax = a;
      zmax = z;
    }
    if (a < amin) {
      amin = a;
      zmin = z;
    }
  }
  return zmax - zmin;
}

// Real range of n values p[0], p[stride], ...: max - min, NaN when a value is NaN or n = 0.
template <class T>
double RealRange(const T* p, int n, std::ptrdiff_t stride) {
  if (n == 0) return NaN;
  double hi = static_cast<double>(p[0]);
  double lo = hi;
  for (int i = 0; i < n; ++i) {
    const double v = static_cast<double>(p[i * stride]);
    if (std::isnan(v)) return NaN;
    hi = v > hi ? v : hi;
    lo = v < lo ? v : lo;
  }
  return hi - lo;
}

// Ranges of `count` lines of `len` values each, line i starting at p + i * lineStep with its
// values `stride` apart (rows: lineStep = cols, stride = 1; columns: lineStep = 1,
// stride = cols). Results is written in the storage kind of the matrix.
void Ranges(const TMtx& Src, TVec& Results, int count, int len, std::ptrdiff_t lineStep,
            std::ptrdiff_t stride) {
  Results.Size(count, Src);
  DispatchAny(Results, [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    const T* p = Src.Data<T>();
    for (int i = 0; i < count; ++i) {
      if (len == 0) {  // lines without values have no range (and no address in an empty buffer)
        r[i] = T(NaN);
      } else if constexpr (std::is_floating_point_v<T>) {
        r[i] = static_cast<T>(RealRange(p + i * lineStep, len, stride));
      } else {
        r[i] = T(ComplexRange(p + i * lineStep, len, stride));
      }
    }
  });
}

// Column ranges of a real matrix in one sweep down the rows, so that the row-major storage is
// read in order however tall the matrix is. A NaN makes its column's maximum and minimum NaN,
// and no later comparison replaces them.
template <class T>
void RealColumnRanges(const T* p, int rows, int cols, double* hi, double* lo, T* r) {
  for (int j = 0; j < cols; ++j) hi[j] = lo[j] = rows > 0 ? static_cast<double>(p[j]) : NaN;
  for (int i = 1; i < rows; ++i) {
    const T* row = p + static_cast<std::ptrdiff_t>(i) * cols;
    for (int j = 0; j < cols; ++j) {
      const double v = static_cast<double>(row[j]);
      if (std::isnan(v)) {
        hi[j] = lo[j] = NaN;
      } else {
        hi[j] = v > hi[j] ? v : hi[j];
        lo[j] = v < lo[j] ? v : lo[j];
      }
    }
  }
  for (int j = 0; j < cols; ++j) r[j] = static_cast<T>(hi[j] - lo[j]);
}

}  // namespace

// ---- Means and moments --------------------------------------------------------------------------

double MeanG(const TVec& Data) {
  if (Data.Complex()) ERaise("MeanG: Data.Complex = true");
  // Through logarithms: the product of many values would overflow or underflow long before
  // their geometric mean does.
  auto t = CreateIt<TVec>();
  DoubleCopy(*t, Data);
  Ln(*t);
  return std::exp(Sum(*t) / Data.Length());
}

double MeanH(const TVec& Data) {
  if (Data.Complex()) ERaise("MeanH: Data.Complex = true");
  auto t = CreateIt<TVec>();
  DoubleCopy(*t, Data);
  Inv(*t);
  return 1.0 / Mean(*t);
}

double MeanT(const TVec& Data, double Percent) {
  if (Data.Complex()) ERaise("MeanTData.Complex = true");
  if (Percent >= 1.0 || Percent < 0.0) ERaise("MeanT(Percent >= 100) or (Percent < 0)");
  const int n = Data.Length();
  if (n == 0 || std::isnan(Percent)) return NaN;

  auto s = CreateIt<TVec>();
  SortedCopy(*s, Data);
  const double lo = SortedPercentile(*s, 0.5 * Percent, pctMethodNPlus);
  const double hi = SortedPercentile(*s, 1.0 - 0.5 * Percent, pctMethodNPlus);
  // The kept values are the run of the sorted data inside [lo, hi].
  int i0 = n - 1;
  int i1 = n - 1;
  DispatchReal(*s, "MeanT", [&](const auto* p) {
    for (int i = 0; i < n; ++i) {
      if (static_cast<double>(p[i]) >= lo) {
        i0 = i;
        break;
      }
    }
    for (int i = i0; i < n; ++i) {
      if (static_cast<double>(p[i]) > hi) {
        i1 = i - 1;
        break;
      }
    }
  });
  if (i0 > i1) return NaN;
  return Sum(*s, i0, i1 - i0 + 1) / (i1 - i0 + 1);
}

double Moment(const TVec& X, double Mu, int Order) {
  if (X.Complex()) ERaise("Moment : X.Complex = true");
  if (Order <= 1) return 0.0;
  auto t = CreateIt<TVec>();
  DoubleCopy(*t, X);
  Sub(*t, Mu);
  IntPower(*t, Order);
  return Mean(*t);
}

// ---- Mode ---------------------------------------------------------------------------------------

double Mode(const TVec& Data) {
  if (Data.Complex()) ERaise("Mode: Complex = true");
  return Mode(Data, 0, Data.Length());
}

double Mode(const TVec& Data, int Index, int Len) {
  if (Data.Complex()) ERaise("Mode: Complex = true");
  if (Index < 0 || Len < 0 || Index > Data.Length() - Len) {
    ERaise("Mode: (Index < 0) or (Len < 0) or (Index + Len > Data.Length)");
  }
  auto [window, values] = CreateIt<TVec, TVec>();
  auto counts = CreateIt<TVecInt>();
  if (Index == 0 && Len == Data.Length()) {
    Unique(Data, *values, counts.get());
  } else {
    window->Size(Len, Data);
    Copy(*window, Data, Index, 0, Len);
    Unique(*window, *values, counts.get());
  }
  if (counts->Length() == 0) return NaN;
  // Max reports the first of equal counts: the smallest of equally frequent values.
  int at = 0;
  if (Max(*counts, at) < 2) return NaN;
  return values->Value(at);
}

// ---- Quantiles ----------------------------------------------------------------------------------

double SortedPercentile(const TVec& Sorted, double P, TPercentileMethod Method) {
  detail::CheckEnum("SortedPercentile", "Method", Method, kPercentileMethods);
  return DispatchReal(Sorted, "SortedPercentile", [&](const auto* x) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(x)>>;
    return Quantile(TSortedAt<T>{x}, Sorted.Length(), P, Method);
  });
}

double Percentile(const TVec& X, double P, TPercentileMethod Method) {
  if (X.Complex()) ERaise("Percentile: X.Complex");
  if (P < 0.0 || P > 1.0) ERaise("Percentile: (P < 0) or (P > 1)");
  detail::CheckEnum("Percentile", "Method", Method, kPercentileMethods);
  auto work = CreateIt<TVec>();
  double q = NaN;
  SelectedQuantiles(*work, X, {&P, 1}, {&q, 1}, Method);
  return q;
}

void Percentile(const TVec& X, std::span<const double> P, std::span<double> Percentiles,
                TPercentileMethod Method) {
  if (P.empty()) ERaise("Percentile: P.Length = 0");
  if (P.size() != Percentiles.size()) ERaise("Percentile: P.Length <> Percentiles.Length");
  if (X.Complex()) ERaise("Percentile: X.Complex");
  detail::CheckEnum("Percentile", "Method", Method, kPercentileMethods);
  auto work = CreateIt<TVec>();
  SelectedQuantiles(*work, X, P, Percentiles, Method);
}

double InterQuartile(const TVec& Data, TPercentileMethod Method) {
  if (Data.Complex()) ERaise("Percentile: X.Complex");
  detail::CheckEnum("InterQuartile", "Method", Method, kPercentileMethods);
  auto work = CreateIt<TVec>();
  const double P[2] = {0.75, 0.25};
  double q[2] = {NaN, NaN};
  SelectedQuantiles(*work, Data, P, q, Method);
  return q[0] - q[1];
}

// ---- Ranges of rows and columns -----------------------------------------------------------------

void RangeRows(const TMtx& Src, TVec& Results) {
  Ranges(Src, Results, Src.Rows(), Src.Cols(), Src.Cols(), 1);
}

void RangeCols(const TMtx& Src, TVec& Results) {
  if (Src.Complex()) {
    Ranges(Src, Results, Src.Cols(), Src.Rows(), 1, Src.Cols());
    return;
  }
  auto hi = CreateIt<TVec>(), lo = CreateIt<TVec>();
  hi->Size(Src.Cols());
  lo->Size(Src.Cols());
  Results.Size(Src.Cols(), Src);
  DispatchReal(Results, "RangeCols", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    RealColumnRanges(Src.Data<T>(), Src.Rows(), Src.Cols(), hi->Data<double>(), lo->Data<double>(),
                     r);
  });
}

}  // namespace lumex
