// The object cache: temporaries lent to a computation and given back automatically.
//
//   auto [work, sorted] = CreateIt<TVec, TVec>();   // two empty real double vectors
//   auto m = CreateIt<TMtx>();                       // one lease; use *m or m->
//
// Each thread has its own pool, so leases need no locking. An object comes out empty (length
// 0, real, double precision) but keeps the capacity it had, so a loop that leases the same
// temporaries on every call allocates nothing after the first. The lease's destructor gives
// the object back on every exit, exceptions included.
#pragma once

#include <memory>
#include <tuple>
#include <utility>

#include "lumex/core/containers.h"

namespace lumex {

// Pool operations of the calling thread's cache, one pool per object type (TVec, TMtx and
// TVecInt). TLease calls them; they are exported because its inline members are compiled into
// the caller.
template <class T>
LUMEX_API std::unique_ptr<T> CacheTake();
template <class T>
LUMEX_API void CacheGive(std::unique_ptr<T> obj) noexcept;

extern template LUMEX_API std::unique_ptr<TVec> CacheTake<TVec>();
extern template LUMEX_API std::unique_ptr<TMtx> CacheTake<TMtx>();
extern template LUMEX_API std::unique_ptr<TVecInt> CacheTake<TVecInt>();
extern template LUMEX_API void CacheGive<TVec>(std::unique_ptr<TVec>) noexcept;
extern template LUMEX_API void CacheGive<TMtx>(std::unique_ptr<TMtx>) noexcept;
extern template LUMEX_API void CacheGive<TVecInt>(std::unique_ptr<TVecInt>) noexcept;

// A temporary borrowed from the calling thread's cache; returned when the lease ends.
template <class T>
class TLease {
public:
  TLease() : fObj(CacheTake<T>()) {}
  TLease(const TLease&) = delete;
  TLease& operator=(const TLease&) = delete;
  TLease(TLease&& o) noexcept = default;
  TLease& operator=(TLease&& o) noexcept {
    if (this != &o) {
      Release();
      fObj = std::move(o.fObj);
    }
    return *this;
  }
  ~TLease() { Release(); }

  T& operator*() const noexcept { return *fObj; }
  T* operator->() const noexcept { return fObj.get(); }
  T* get() const noexcept { return fObj.get(); }
  operator T&() const noexcept { return *fObj; }  // NOLINT: a lease stands for its object

private:
  void Release() noexcept {
    if (fObj) CacheGive<T>(std::move(fObj));
  }
  std::unique_ptr<T> fObj;
};

// Lends one temporary (a TLease) or several (a tuple of leases, for structured bindings).
template <class T>
TLease<T> CreateIt() {
  return TLease<T>();
}

template <class T1, class T2, class... Rest>
std::tuple<TLease<T1>, TLease<T2>, TLease<Rest>...> CreateIt() {
  return {TLease<T1>(), TLease<T2>(), TLease<Rest>()...};
}

// Number of objects of each type resting in the calling thread's cache (for tests).
LUMEX_API int CacheIdleCount();

}  // namespace lumex
