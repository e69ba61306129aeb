// Experimental designs (two-level and mixed-level full factorials, Latin hypercube samples with
// a maximin improvement) and the removal of one row or column of a matrix.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {


// A Latin hypercube sample in double, row-major n x p, and the stratum (1..n) of every value.
// Column by column, the ranks of n uniform numbers are a random permutation of the strata.
void LatinSample(int n, int p, bool randomize, std::vector<double>& x, std::vector<int>& strata) {
  auto [u, column, ranks] = CreateIt<TMtx, TVec, TVec>();
  const std::size_t len = static_cast<std::size_t>(n) * p;
  x.resize(len);
  strata.resize(len);
  u->Size(n, p);
  RandUniform(*u);
  column->Size(n);
  for (int c = 0; c < p; ++c) {
    for (int i = 0; i < n; ++i) (*column)[i] = (*u)(i, c);
    Ranks(*column, *ranks);
    for (int i = 0; i < n; ++i) {
      strata[static_cast<std::size_t>(i) * p + c] = static_cast<int>((*ranks)[i]);
    }
  }
  // One point uniformly inside each stratum, (k - u)/n in ((k - 1)/n, k/n], or its centre.
  if (randomize) RandUniform(*u);
  const double* pu = u->Data<double>();
  for (std::size_t k = 0; k < len; ++k) {
    x[k] = (strata[k] - (randomize ? pu[k] : 0.5)) / n;
  }
}

// The smallest squared Euclidean distance between two rows (Inf for fewer than two rows).
double MinSquaredDistance(const std::vector<double>& x, int n, int p) {
  double best = Inf;
  for (int i = 0; i < n; ++i) {
    const double* a = x.data() + static_cast<std::size_t>(i) * p;
    for (int j = i + 1; j < n; ++j) {
      const double* b = x.data() + static_cast<std::size_t>(j) * p;
      double s = 0.0;
      for (int c = 0; c < p && s < best; ++c) s += (a[c] - b[c]) * (a[c] - b[c]);
      best = std::min(best, s);
    }
  }
  return best;
}

// value rounded to T and moved by a few units in the last place, if rounding took it out of its
// stratum k, so that ceil(value * n) = k holds for the stored value as well.
template <class T>
T InStratum(double value, int k, int n) {
  T v = static_cast<T>(value);
  for (int step = 0; step < 4; ++step) {
    const double s = std::ceil(static_cast<double>(v) * n);
    if (s < k) {
      v = std::nextafter(v, static_cast<T>(2));
    } else if (s > k) {
      v = std::nextafter(v, static_cast<T>(0));
    } else {
      break;
    }
  }
  return v;
}

void StoreLatin(TMtx& design, const std::vector<double>& x, const std::vector<int>& strata,
                int n, int p, TMtxFloatPrecision precision) {
  design.Size(n, p, precision);
  detail::DispatchReal(design, "LatinHyperCubeDesign", [&](auto* out) {
    using T = std::remove_pointer_t<decltype(out)>;
    for (std::size_t k = 0; k < x.size(); ++k) out[k] = InStratum<T>(x[k], strata[k], n);
  });
}

// Dst := Src less the rows [index, index + 1) or the columns, copied in blocks of whole rows
// (or row pieces); Dst may be Src. std::copy_n rather than memcpy: an empty matrix has no
// buffer, and memcpy takes no null pointer even for no bytes.
void RemoveSlice(const TMtx& Src, TMtx& Dst, int Index, bool row) {
  if (Index < 0) ERaise("Index < 0");
  const int rows = Src.Rows();
  const int cols = Src.Cols();
  auto out = CreateIt<TMtx>();
  out->Size(row ? rows - 1 : rows, row ? cols : cols - 1, Src.FloatPrecision(), Src.Complex());
  detail::DispatchAny(Src, [&](const auto* s) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(s)>>;
    T* d = out->template Data<T>();
    if (row) {
      const std::size_t before = static_cast<std::size_t>(Index) * cols;
      const std::size_t after = static_cast<std::size_t>(rows - Index - 1) * cols;
      std::copy_n(s, before, d);
      std::copy_n(s + before + cols, after, d + before);
    } else {
      for (int i = 0; i < rows; ++i) {
        const T* si = s + static_cast<std::size_t>(i) * cols;
        T* di = d + static_cast<std::size_t>(i) * (cols - 1);
        std::copy_n(si, Index, di);
        std::copy_n(si + Index + 1, cols - Index - 1, di + Index);
      }
    }
  });
  std::swap(Dst, *out);
}

}  // namespace

void FullFactDesign(int n, TMtx& Design, TMtxFloatPrecision FloatPrecision, const TVec* MulVec) {
  if (n < 0) ERaise("FullFactDesign: n < 0");
  if (n > 26) ERaise("FullFactDesign: n > 26");
  detail::CheckEnum("FullFactDesign", "FloatPrecision", FloatPrecision, 2);
  const int runs = 1 << n;
  detail::CheckAllocation("FullFactDesign", "n", static_cast<long long>(runs) * n,
                          FloatPrecision == fpDouble ? sizeof(double) : sizeof(float));
  Design.Size(runs, n, FloatPrecision);
  Design.SetZero();
  if (MulVec != nullptr && MulVec->Length() != n) ERaise("FullFactDesign : MulVec.Length <> n");
  if (MulVec != nullptr && MulVec->Complex()) ERaise("FullFactDesign: MulVec.Complex");
  // Column n - 1 - j holds bit j of the run number: blocks of 2^j zeros and 2^j ones.
  for (int j = 0; j < n; ++j) {
    const double scale = MulVec != nullptr ? MulVec->Value(j) : 1.0;
    const int col = n - 1 - j;
    for (int r = 0; r < runs; ++r) {
      Design.SetValue(r * n + col, ((r >> j) & 1) * scale);
    }
  }
}

void FullFactDesign(const TVec& Levels, TMtx& Design) {
  if (Levels.Complex()) ERaise("FullFactDesign: Levels.Complex");
  const int k = Levels.Length();
  std::vector<long long> level(static_cast<std::size_t>(k));
  for (int j = 0; j < k; ++j) {
    const double l = std::round(Levels.Value(j));
    if (!(l >= 1.0)) ERaise("FullFactDesign: Levels[" + std::to_string(j) + "] < 1");
    level[j] = l > static_cast<double>(INT_MAX) ? static_cast<long long>(INT_MAX) + 1
                                                : static_cast<long long>(l);
  }
  long long runs = 1;
  for (int j = 0; j < k; ++j) {
    runs *= level[j];
    if (runs * std::max(k, 1) > INT_MAX) ERaise("FullFactDesign: too many runs");
  }
  detail::CheckAllocation("FullFactDesign", "Levels", runs * k, Levels.ElementSize());
  const int N = static_cast<int>(runs);
  Design.Size(N, k, Levels.FloatPrecision());
  Design.SetZero();
  // Column j: each level repeated over `span` consecutive rows, the cycle 1..L_j repeated
  // `blocks` times; span is the product of the levels of the columns before j.
  int blocks = N;
  for (int j = 0; j < k; ++j) {
    const int l = static_cast<int>(level[j]);
    blocks /= l;
    const int span = N / (blocks * l);
    for (int a = 0; a < blocks; ++a) {
      for (int v = 0; v < l; ++v) {
        const int first = (a * l + v) * span;
        for (int r = first; r < first + span; ++r) Design.SetValue(r * k + j, v + 1.0);
      }
    }
  }
}

void LatinHyperCubeDesign(TMtx& Design, int NumPoints, int NumVars,
                          TMtxFloatPrecision FloatPrecision, bool Randomize, TLHCImprove Improve,
                          int Iterations) {
  detail::CheckEnum("LatinHyperCubeDesign", "FloatPrecision", FloatPrecision, 2);
  const int n = std::max(NumPoints, 0);
  const int p = std::max(NumVars, 0);
  detail::CheckAllocation("LatinHyperCubeDesign", "NumPoints * NumVars",
                          static_cast<long long>(n) * p,
                          FloatPrecision == fpDouble ? sizeof(double) : sizeof(float));
  std::vector<double> best, trial;
  std::vector<int> bestStrata, trialStrata;
  LatinSample(n, p, Randomize, best, bestStrata);
  // With fewer than two points there is no distance to improve.
  if (Improve == lhcImproveMinDist && n >= 2) {
    double bestDist = MinSquaredDistance(best, n, p);
    for (int it = 1; it < Iterations; ++it) {
      LatinSample(n, p, Randomize, trial, trialStrata);
      const double d = MinSquaredDistance(trial, n, p);
      if (d > bestDist) {  // ties keep the earlier design
        bestDist = d;
        std::swap(best, trial);
        std::swap(bestStrata, trialStrata);
      }
    }
  }
  StoreLatin(Design, best, bestStrata, n, p, FloatPrecision);
}

void RemoveRow(const TMtx& Src, TMtx& Dst, int Index) {
  if (Index > Src.Rows() - 1) ERaise("RemoveRow: Index>Src.Rows-1");
  try {
    RemoveSlice(Src, Dst, Index, true);
  } catch (const std::exception& e) {
    ERaise(std::string("RemoveRow : ") + e.what());
  }
}

void RemoveColumn(const TMtx& Src, TMtx& Dst, int Index) {
  if (Index > Src.Cols() - 1) ERaise("RemoveColumn: Index>Src.Cols-1");
  try {
    RemoveSlice(Src, Dst, Index, false);
  } catch (const std::exception& e) {
    ERaise(std::string("RemoveColumn : ") + e.what());
  }
}

}  // namespace lumex
