// Histograms over equal bins or about given centres, cumulative histograms and the empirical
// distribution function.
#include "Statistics/histograms.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// ---- Counting into ascending edges ------------------------------------------------------------

// The bin of x, given Edges[0] <= x < Edges[m - 1]: the largest i <= m - 2 with Edges[i] <= x.
// The search starts from `guess`, gallops outwards until it brackets x and then bisects, so
// evenly spread edges cost a few comparisons per value and any edges at most 2 log2(m).
// Only comparisons move the bracket, so edges out of order give a wrong bin but never leave
// [0, m - 2].
template <class T>
int BinOf(const T* e, int m, T x, int guess) {
  int lo;
  int hi;  // invariant: e[lo] <= x < e[hi]
  if (e[guess] <= x) {
    lo = guess;
    hi = guess + 1;
    for (int step = 1; hi < m - 1 && e[hi] <= x; step *= 2) {
      lo = hi;
      hi = std::min(lo + step, m - 1);
    }
  } else {
    hi = guess;
    lo = guess - 1;
    for (int step = 1; lo > 0 && e[lo] > x; step *= 2) {
      hi = lo;
      lo = std::max(hi - step, 0);
    }
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (e[mid] <= x) {
      lo = mid;
    } else {
      hi = mid;
    }
  }
  return lo;
}

template <class T>
void CountInEdges(const T* x, int n, const T* e, int m, std::int32_t* counts) {
  const T first = e[0];
  const T last = e[m - 1];
  // Start of the search: where x would fall if the edges were evenly spread between two finite
  // ends; the middle otherwise (the ends are often -Inf and +Inf).
  const bool interpolate = std::isfinite(first) && std::isfinite(last) && last > first;
  const double scale =
      interpolate ? (m - 1) / (static_cast<double>(last) - static_cast<double>(first)) : 0.0;
  const int middle = (m - 1) / 2;
  for (int i = 0; i < n; ++i) {
    const T v = x[i];
    if (!(v >= first && v <= last)) continue;  // outside, or NaN
    if (v == last) {
      ++counts[m - 1];
      continue;
    }
    int guess = middle;
    if (interpolate) {
      const double g = (static_cast<double>(v) - static_cast<double>(first)) * scale;
      guess = static_cast<int>(std::clamp(g, 0.0, static_cast<double>(m - 2)));
    }
    ++counts[BinOf(e, m, v, std::min(guess, m - 2))];
  }
}

// ---- Equal bins -------------------------------------------------------------------------------

// The integer-count histogram once the arguments are checked.
void CountEqualBins(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins, bool CentreBins,
                    double Max, double Min) {
  // NumBins + 1 edges: the largest output.
  detail::CheckAllocation("Histogram", "NumBins", NumBins + 1LL);
  if (Min == Max) {
    // A constant sample: bins of width 1 about its value.
    Min = Min - std::floor(0.5 * NumBins) - 0.5;
    Max = Max + std::ceil(0.5 * NumBins) + 0.5;
  }
  const double w = (Max - Min) / NumBins;

  Counts.Size(NumBins);
  Counts.SetZero();
  if (Data.Length() > 0) {
    if (Data.IsDouble()) {
      HistogramCount_Idx(Data.Data<double>(), 0, 1.0 / w, Min, Counts.Data(), 0, Counts.Length(),
                         Data.Length());
    } else {
      sHistogramCount_Idx(Data.Data<float>(), 0, static_cast<float>(1.0 / w),
                          static_cast<float>(Min), Counts.Data(), 0, Counts.Length(),
                          Data.Length());
    }
  }

  // Written after counting, so that Bins may be the Data object itself.
  if (CentreBins) {
    Bins.Size(NumBins, Data);
    Ramp(Bins, Min + 0.5 * w, w);
  } else {
    Bins.Size(NumBins + 1, Data);
    Ramp(Bins, Min, w);
    Bins.SetValue(NumBins, Max);  // the last edge exactly, not Min + NumBins * w
  }
}

// Smallest and largest value of Data, NaNs skipped (both NaN when no value is a number).
void RangeIgnoringNaN(const TVec& Data, double& lo, double& hi) {
  lo = NaN;
  hi = NaN;
  detail::DispatchReal(Data, "Histogram", [&](const auto* p) {
    for (int i = 0; i < Data.Length(); ++i) {
      const double v = static_cast<double>(p[i]);
      if (std::isnan(v)) continue;
      if (!(v >= lo)) lo = v;  // also the first number, while lo is NaN
      if (!(v <= hi)) hi = v;
    }
  });
}

// Rounds x to the storage precision `precision`.
double ToPrecision(double x, TMtxFloatPrecision precision) {
  return precision == fpDouble ? x : static_cast<double>(static_cast<float>(x));
}

}  // namespace

// ---- CountInBins ------------------------------------------------------------------------------

void detail::CountInBins(const TVec& Data, const TVec& Edges, TVecInt& Counts) {
  const int m = Edges.Length();
  if (Counts.Length() < m) ERaise("CountInBins: Counts.Length < Edges.Length");
  if (m == 0 || Data.Length() == 0) return;
  detail::DispatchReal(Data, "CountInBins", [&](const auto* x) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(x)>>;
    if (Edges.Holds<T>()) {
      CountInEdges(x, Data.Length(), Edges.Data<T>(), m, Counts.Data());
    } else {
      auto edges = CreateIt<TVec>();
      Convert(*edges, Edges, Data.FloatPrecision());
      CountInEdges(x, Data.Length(), edges->template Data<T>(), m, Counts.Data());
    }
  });
}

// ---- Histogram --------------------------------------------------------------------------------

void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins, bool CentreBins,
               double Max, double Min) {
  if (Data.Complex()) ERaise("Histogram: Data.Complex = true");
  if (NumBins <= 0) ERaise("Histogram: NumBins <= 0");
  CountEqualBins(Data, NumBins, Counts, Bins, CentreBins, Max, Min);
}

void Histogram(const TVec& Data, int NumBins, TVecInt& Counts, TVec& Bins, bool CentreBins) {
  if (Data.Complex()) ERaise("Histogram: Data.Complex = true");
  if (NumBins <= 0) ERaise("Histogram: NumBins <= 0");
  double max;
  double min;
  MaxMin(Data, max, min);
  CountEqualBins(Data, NumBins, Counts, Bins, CentreBins, max, min);
}

void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins,
               double Max, double Min) {
  if (Data.Complex()) ERaise("Histogram : Data.Complex = true");
  if (NumBins <= 0) ERaise("Histogram : NumBins <= 0");
  auto counts = CreateIt<TVecInt>();
  CountEqualBins(Data, NumBins, *counts, Bins, CentreBins, Max, Min);
  CopyFrom(Results, *counts, Data.FloatPrecision());
}

void Histogram(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins) {
  if (Data.Complex()) ERaise("Histogram : Data.Complex = true");
  if (NumBins <= 0) ERaise("Histogram : NumBins <= 0");
  double max;
  double min;
  MaxMin(Data, max, min);
  auto counts = CreateIt<TVecInt>();
  CountEqualBins(Data, NumBins, *counts, Bins, CentreBins, max, min);
  CopyFrom(Results, *counts, Data.FloatPrecision());
}

void Histogram(const TVec& Data, const TVec& Bins, TVec& Results) {
  if (Data.Complex()) ERaise("Histogram : Data.Complex = true");
  const int m = Bins.Length();
  if (m < 1) ERaise("Histogram : Bins.Length < 1");

  double lo;
  double hi;
  RangeIgnoringNaN(Data, lo, hi);
  if (lo == hi) {
    lo = lo - std::floor(0.5 * m) - 0.5;
    hi = hi + std::ceil(0.5 * m) + 0.5;
  }

  // m + 2 edges: -Inf, the lower end of the first bin, the points halfway between neighbouring
  // centres, and the last centre. The first and last bins are widened to reach the smallest and
  // largest value, so that only values outside the outer edges fall in the end counts.
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  auto [edges, counts] = CreateIt<TVec, TVecInt>();
  edges->Size(m + 2, precision);
  const double halfGap0 = m > 1 ? 0.5 * (Bins.Value(1) - Bins.Value(0)) : 0.0;
  edges->SetValue(0, -Inf);
  edges->SetValue(1, Bins.Value(0) - halfGap0);
  for (int i = 0; i < m; ++i) {
    const double halfGap = i < m - 1 ? 0.5 * (Bins.Value(i + 1) - Bins.Value(i)) : 0.0;
    edges->SetValue(i + 2, Bins.Value(i) + halfGap);
  }
  if (lo < edges->Value(1)) edges->SetValue(1, lo);
  if (hi > edges->Value(m + 1)) edges->SetValue(m + 1, hi);

  // Each edge is moved up by at least one unit in the last place of the data's precision, so a
  // value equal to an edge is counted in the bin below it.
  const double eps = precision == fpDouble ? EPS_DOUBLE : EPS_SINGLE;
  for (int i = 1; i < m + 2; ++i) {
    const double e = ToPrecision(edges->Value(i), precision);
    edges->SetValue(i, e + std::max(eps, eps * std::fabs(e)));
  }

  counts->Size(m + 2);
  counts->SetZero();
  detail::CountInBins(Data, *edges, *counts);

  const std::int32_t* c = counts->Data();
  Results.Size(m, Bins.FloatPrecision());
  for (int i = 0; i < m; ++i) Results.SetValue(i, c[i + 1]);
  Results.SetValue(0, Results.Value(0) + c[0]);
  Results.SetValue(m - 1, Results.Value(m - 1) + c[m + 1]);
}

// ---- CumulativeHist ---------------------------------------------------------------------------

namespace {

// Running sums divided by their total. Counts are whole numbers, so the sums are exact and the
// division leaves the last element exactly 1 (multiplying by 1/total would not always).
void ToCumulative(TVec& Results) {
  const double total = Sum(Results);
  CumSum(Results, Results);
  Divide(Results, total);
}

}  // namespace

void CumulativeHist(const TVec& Data, int NumBins, TVec& Results, TVec& Bins, bool CentreBins) {
  detail::CheckAllocation("CumulativeHist", "NumBins", NumBins + 1LL);
  Histogram(Data, NumBins, Results, Bins, CentreBins);
  ToCumulative(Results);
}

void CumulativeHist(const TVec& Data, const TVec& Bins, TVec& Results) {
  Histogram(Data, Bins, Results);
  ToCumulative(Results);
}

// ---- EmpiricalCDF -----------------------------------------------------------------------------

void EmpiricalCDF(const TVec& Data, TVec& X, TVec& F) {
  if (&X == &Data || &F == &Data) {
    auto copy = CreateIt<TVec>();
    Copy(*copy, Data);
    EmpiricalCDF(*copy, X, F);
    return;
  }
  const int n = Data.Length();
  detail::DispatchReal(Data, "EmpiricalCDF", [&](const auto* x) {
    using T = std::remove_cv_t<std::remove_pointer_t<decltype(x)>>;
    // The last position of each run of equal values: where the next value is larger, and the
    // final position.
    const auto runEnds = [&](int i) { return i == n - 1 || x[i] < x[i + 1]; };
    int k = 0;
    for (int i = 0; i < n; ++i) k += runEnds(i) ? 1 : 0;
    X.Size(k, Data);
    F.Size(k + 1, Data);
    T* px = X.template Data<T>();
    T* pf = F.template Data<T>();
    pf[0] = T(0);
    int j = 0;
    for (int i = 0; i < n; ++i) {
      if (!runEnds(i)) continue;
      px[j] = x[i];
      // (i + 1) / n directly rather than accumulated steps of 1/n: exact at 1 and rounded once.
      pf[j + 1] = static_cast<T>(static_cast<double>(i + 1) / n);
      ++j;
    }
  });
}

}  // namespace lumex
