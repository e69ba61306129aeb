// Rank transforms: plain ranks (ties in their original order) and ranks with ties averaged,
// with the tie correction the rank tests apply to the variance of their statistics.
#include <cstdint>
#include <type_traits>

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

void TiedRanks(const TVec& Data, TVec& Results, double& TieCorrection) {
  TieCorrection = 0.0;
  const int n = Data.Length();
  if (n == 0) return;

  auto s = CreateIt<TVec>();
  auto perm = CreateIt<TVecInt>();
  Copy(*s, Data);
  SortAscend(*s, *perm);
  Results.Size(n, Data);
  const std::int32_t* p = perm->Data();
  double correction = 0.0;
  detail::DispatchReal(Results, "TiedRanks", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    const T* x = s->Data<T>();
    // Runs of exactly equal values (compared in the storage precision; NaN equals nothing).
    // The run at sorted positions first..last shares the mean of the ranks first+1 .. last+1,
    // written as (first + last + 2) / 2, which is exact.
    int first = 0;
    for (int i = 1; i <= n; ++i) {
      if (i < n && x[i] == x[i - 1]) continue;
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
