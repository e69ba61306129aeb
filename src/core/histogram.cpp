// Equal-width histogram kernels.
//
// The values are processed in blocks. A first loop turns each value into its position
// (x - Min) / w, clamped to the last bin, or -1 when the value is not counted; it has no
// branches, works in the storage precision only and has a fixed trip count, so the compiler
// vectorises it at every optimisation level. A second, scalar loop converts the positions to
// bin indexes and adds them to the counts without branching (a rejected value adds 0 to bin 0).
#include "lumex/core/histogram.h"

#include <algorithm>
#include <limits>

namespace lumex {

namespace {

constexpr int kBlock = 512;

template <class T>
struct TBinning {
  T min;
  T invWidth;
  T top;   // largest position still counted (a value equal to Max)
  T last;  // NumBins - 1
};

// Positions of `len` values (len <= kBlock); a compile-time length lets the loop vectorise.
template <class T, int Len>
void Positions(const T* __restrict x, const TBinning<T>& b, T* __restrict pos) {
  const T min = b.min, invWidth = b.invWidth, top = b.top, last = b.last;
  for (int i = 0; i < Len; ++i) {
    const T t = (x[i] - min) * invWidth;
    const T clamped = t < last ? t : last;
    pos[i] = ((t >= T(0)) & (t <= top)) ? clamped : T(-1);  // NaN fails both tests
  }
}

template <class T>
void PositionsTail(const T* __restrict x, const TBinning<T>& b, T* __restrict pos, int len) {
  for (int i = 0; i < len; ++i) {
    const T t = (x[i] - b.min) * b.invWidth;
    const T clamped = t < b.last ? t : b.last;
    pos[i] = ((t >= T(0)) & (t <= b.top)) ? clamped : T(-1);
  }
}

// `last` bounds the index again in integers: in single precision NumBins - 1 may round up.
template <class T>
void Accumulate(const T* pos, int len, std::int32_t last, std::int32_t* counts) {
  for (int i = 0; i < len; ++i) {
    const std::int32_t k = std::min(static_cast<std::int32_t>(pos[i]), last);  // -1 or a bin
    const std::int32_t rejected = k >> 31;  // -1 when k < 0, else 0
    counts[k & ~rejected] += 1 + rejected;
  }
}

template <class T>
void CountEqualBins(const T* x, T invWidth, T min, std::int32_t* counts, int numBins, int n) {
  if (numBins <= 0 || n <= 0) return;
  // A value equal to Max lands within three roundings of NumBins (the width, its reciprocal
  // and the position are each rounded once), so 4 eps of slack counts it in the last bin. The
  // caps at the largest float below 2^31 keep the conversions to int defined.
  constexpr double kIntCap = 2147483520.0;
  const double top = std::min(
      static_cast<double>(numBins) * (1.0 + 4.0 * std::numeric_limits<T>::epsilon()), kIntCap);
  const double last = std::min(static_cast<double>(numBins - 1), kIntCap);
  const TBinning<T> b{min, invWidth, static_cast<T>(top), static_cast<T>(last)};

  alignas(64) T pos[kBlock];
  int start = 0;
  for (; start + kBlock <= n; start += kBlock) {
    Positions<T, kBlock>(x + start, b, pos);
    Accumulate(pos, kBlock, numBins - 1, counts);
  }
  const int rest = n - start;
  PositionsTail(x + start, b, pos, rest);
  Accumulate(pos, rest, numBins - 1, counts);
}

}  // namespace

void HistogramCount_Idx(const double* Data, int DataIndex, double InvWidth, double Min,
                        std::int32_t* Counts, int CountsIndex, int NumBins, int DataLength) {
  CountEqualBins(Data + DataIndex, InvWidth, Min, Counts + CountsIndex, NumBins, DataLength);
}

void sHistogramCount_Idx(const float* Data, int DataIndex, float InvWidth, float Min,
                         std::int32_t* Counts, int CountsIndex, int NumBins, int DataLength) {
  CountEqualBins(Data + DataIndex, InvWidth, Min, Counts + CountsIndex, NumBins, DataLength);
}

}  // namespace lumex
