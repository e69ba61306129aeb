// Rank transforms: plain ranks (ties in their original order) and ranks with ties averaged,
// with the tie correction the rank tests apply to the variance of their statistics.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <tuple>
#include <type_traits>
#include <utility>

#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

void Ranks(TVec& Data, TVec& Results) {
  auto perm = CreateIt<TVecInt>();
  // The sort is stable, so equal values keep their original order and take consecutive ranks.
  SortAscend(Data, *perm);
  const int n = Data.Length();
  Results.Size(n, Data);
  const std::int32_t* p = perm->Data();
  detail::DispatchReal(Results, "Ranks", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    for (int j = 0; j < n; ++j) r[p[j]] = static_cast<T>(j + 1);
  });
}

namespace {

// The unsigned integer of the width of T, and the order-preserving map of a number's bits onto
// it: negative numbers have all bits flipped, the others the sign bit set, so that the keys
// compare as the numbers do (with -0 just below +0, which compare equal as numbers).
template <class T>
using TBits = std::conditional_t<sizeof(T) == 8, std::uint64_t, std::uint32_t>;

template <class T>
TBits<T> OrderKey(T v) {
  using U = TBits<T>;
  constexpr unsigned kTop = sizeof(U) * 8 - 1;
  const U bits = std::bit_cast<U>(v);
  const U flip = static_cast<U>(U(0) - (bits >> kTop)) | static_cast<U>(U(1) << kTop);
  return bits ^ flip;
}

// Sorts the m numbers x (no NaN) ascending and carries their positions idx along: a least
// significant digit radix sort, one byte per pass, stable, in O(m) per pass where a comparison
// sort of value-position pairs takes O(m log m) with a slow comparison. A byte that is the same
// in every key (the exponent bytes of data in a narrow range, the low bytes of rounded data)
// costs no pass. xTmp and idxTmp are work space of m elements. Returns where the sorted numbers
// and their positions ended up: in x and idx, or in the work space after an odd number of passes.
template <class T>
std::pair<T*, std::int32_t*> RadixSortWithPositions(T* x, std::int32_t* idx, T* xTmp,
                                                    std::int32_t* idxTmp, std::size_t m) {
  constexpr std::size_t kBytes = sizeof(T);
  std::array<std::array<std::uint32_t, 256>, kBytes> count{};
  for (std::size_t i = 0; i < m; ++i) {
    const auto key = OrderKey(x[i]);
    for (std::size_t b = 0; b < kBytes; ++b) ++count[b][(key >> (8 * b)) & 0xFF];
  }
  for (std::size_t b = 0; b < kBytes; ++b) {
    auto& c = count[b];
    if (std::find(c.begin(), c.end(), m) != c.end()) continue;  // one value of this byte
    std::uint32_t start = 0;
    for (auto& slot : c) start += std::exchange(slot, start);
    for (std::size_t i = 0; i < m; ++i) {
      const std::uint32_t to = c[(OrderKey(x[i]) >> (8 * b)) & 0xFF]++;
      xTmp[to] = x[i];
      idxTmp[to] = idx[i];
    }
    std::swap(x, xTmp);
    std::swap(idx, idxTmp);
  }
  return {x, idx};
}

}  // namespace

void TiedRanks(const TVec& Data, TVec& Results, double& TieCorrection) {
  TieCorrection = 0.0;
  const int n = Data.Length();
  if (n == 0) return;

  // Separate leases rather than structured bindings, which clang 14 cannot capture in a lambda.
  auto s = CreateIt<TVec>();
  auto sTmp = CreateIt<TVec>();
  auto perm = CreateIt<TVecInt>();
  auto permTmp = CreateIt<TVecInt>();
  s->Size(n, Data);
  sTmp->Size(n, Data);
  perm->Size(n);
  permTmp->Size(n);
  Results.Size(n, Data);
  double correction = 0.0;
  detail::DispatchReal(Results, "TiedRanks", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    const T* data = Data.Data<T>();
    // The numbers with their positions, then the NaNs, which rank last in their original order.
    T* x = s->Data<T>();
    std::int32_t* p = perm->Data();
    int numbers = 0;
    for (int i = 0; i < n; ++i) {
      if (std::isnan(data[i])) continue;
      x[numbers] = data[i];
      p[numbers++] = i;
    }
    for (int i = 0, k = numbers; i < n; ++i) {
      if (std::isnan(data[i])) p[k++] = i;
    }
    std::tie(x, p) = RadixSortWithPositions(x, p, sTmp->Data<T>(), permTmp->Data(),
                                            static_cast<std::size_t>(numbers));
    if (p != perm->Data()) std::copy(perm->Data() + numbers, perm->Data() + n, p + numbers);
    // Runs of exactly equal values (compared in the storage precision; each NaN is a run of
    // its own). The run at sorted positions first..last shares the mean of the ranks first+1 ..
    // last+1, written as (first + last + 2) / 2, which is exact.
    int first = 0;
    for (int i = 1; i <= n; ++i) {
      if (i < numbers && x[i] == x[i - 1]) continue;
      const int last = i - 1;
      const T rank = static_cast<T>(0.5 * (static_cast<double>(first) + last + 2.0));
      for (int k = first; k <= last; ++k) r[p[k]] = rank;
      // t^3 - t in double: exact up to t of about 2e5, and never wraps around as a 32-bit
      // product would for groups of more than 1290 equal values.
      const double t = static_cast<double>(last - first + 1);
      correction += 0.5 * t * (t * t - 1.0);
      first = i;
    }
  });
  TieCorrection = correction;
}

}  // namespace lumex
