// The distinct values of a vector or matrix, in ascending order, with their counts.
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

// Equality of two stored values: exact, in the storage precision, with every NaN equal to every
// other so that the NaNs (sorted last) form one distinct value.
template <class T>
bool Equal(T a, T b) {
  return a == b || (std::isnan(a) && std::isnan(b));
}

}  // namespace

void Unique(const TDenseLumex& Src, TVec& Dst, TVecInt* Counts) {
  if (Src.Complex()) ERaise("Unique: Src.Complex");
  const int n = Src.Length();
  // The sorted copy is taken before Dst is sized, so Dst may be Src itself.
  auto s = CreateIt<TVec>();
  Copy(*s, Src);
  SortAscend(*s);
  Dst.Size(n, Src);
  if (Counts != nullptr) Counts->Size(n);

  int distinct = 0;
  detail::DispatchReal(Dst, "Unique", [&](auto* d) {
    using T = std::remove_pointer_t<decltype(d)>;
    const T* x = s->Data<T>();
    std::int32_t* c = Counts != nullptr ? Counts->Data() : nullptr;
    int first = 0;  // start of the current run of equal values
    for (int i = 1; i <= n; ++i) {
      if (i < n && Equal(x[i], x[i - 1])) continue;
      d[distinct] = x[first];
      if (c != nullptr) c[distinct] = i - first;
      ++distinct;
      first = i;
    }
  });
  Dst.Resize(distinct);
  if (Counts != nullptr) Counts->Resize(distinct);
}

}  // namespace lumex
