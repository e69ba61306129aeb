/// @file
/// The object cache: temporaries lent to a computation and given back automatically.
///
///     auto [work, sorted] = CreateIt<TVec, TVec>();   // two empty real double vectors
///     auto m = CreateIt<TMtx>();                       // one lease; use *m or m->
///
/// Each thread has its own pool, so leases need no locking. An object comes out empty (length
/// 0, real, double precision) but keeps the capacity it had, so a loop that leases the same
/// temporaries on every call allocates nothing after the first. The lease's destructor gives
/// the object back on every exit, exceptions included.
#pragma once

#include <memory>
#include <tuple>
#include <utility>

#include "lumex/core/containers.h"

namespace lumex {

/// @name Pool operations
/// Pool operations of the calling thread's cache, one pool per object type (TVec, TMtx and
/// TVecInt). TLease calls them; they are exported because its inline members are compiled into
/// the caller.
/// @{

/// Takes an idle object of type T from the calling thread's pool, or makes a new one.
/// @tparam T  TVec, TMtx or TVecInt.
/// @return    an empty object (length 0, real, double precision) that may keep a capacity.
template <class T>
LUMEX_API std::unique_ptr<T> CacheTake();
/// Gives an object back to the calling thread's pool.
///
/// The object is emptied (its capacity kept) and kept idle, or freed when the pool already
/// holds 64 objects of its type or cannot grow.
/// @tparam T    TVec, TMtx or TVecInt.
/// @param obj   the object returned (not null).
template <class T>
LUMEX_API void CacheGive(std::unique_ptr<T> obj) noexcept;

/// CacheTake for vectors.
/// @return an empty vector.
extern template LUMEX_API std::unique_ptr<TVec> CacheTake<TVec>();
/// CacheTake for matrices.
/// @return an empty matrix.
extern template LUMEX_API std::unique_ptr<TMtx> CacheTake<TMtx>();
/// CacheTake for integer vectors.
/// @return an empty integer vector.
extern template LUMEX_API std::unique_ptr<TVecInt> CacheTake<TVecInt>();
/// CacheGive for vectors.
extern template LUMEX_API void CacheGive<TVec>(std::unique_ptr<TVec>) noexcept;
/// CacheGive for matrices.
extern template LUMEX_API void CacheGive<TMtx>(std::unique_ptr<TMtx>) noexcept;
/// CacheGive for integer vectors.
extern template LUMEX_API void CacheGive<TVecInt>(std::unique_ptr<TVecInt>) noexcept;

/// @}

/// A temporary borrowed from the calling thread's cache; returned when the lease ends.
///
/// The lease owns the object and stands for it: *lease, lease-> and the implicit conversion to
/// T& give the object. It can be moved but not copied.
/// @tparam T  TVec, TMtx or TVecInt.
template <class T>
class TLease {
public:
  /// Borrows an empty object from the calling thread's pool.
  TLease() : fObj(CacheTake<T>()) {}
  /// Not copyable: a lease is the only owner of its object.
  TLease(const TLease&) = delete;
  /// Not copyable: a lease is the only owner of its object.
  TLease& operator=(const TLease&) = delete;
  /// Takes over the object of `o`, which then holds none.
  /// @param o  the lease moved from.
  TLease(TLease&& o) noexcept = default;
  /// Gives back this lease's object, then takes over that of `o`.
  /// @param o  the lease moved from.
  /// @return   this lease.
  TLease& operator=(TLease&& o) noexcept {
    if (this != &o) {
      Release();
      fObj = std::move(o.fObj);
    }
    return *this;
  }
  /// Gives the object back to the cache.
  ~TLease() { Release(); }

  /// The leased object.
  /// @return a reference to it (undefined after the lease was moved from).
  T& operator*() const noexcept { return *fObj; }
  /// Member access to the leased object.
  /// @return a pointer to it (null after the lease was moved from).
  T* operator->() const noexcept { return fObj.get(); }
  /// The leased object.
  /// @return a pointer to it (null after the lease was moved from).
  T* get() const noexcept { return fObj.get(); }
  /// A lease stands for its object, so it can be passed where a T& is expected.
  /// @return a reference to the leased object.
  operator T&() const noexcept { return *fObj; }  // NOLINT: a lease stands for its object

private:
  void Release() noexcept {
    if (fObj) CacheGive<T>(std::move(fObj));
  }
  std::unique_ptr<T> fObj;
};

/// Lends one temporary.
/// @tparam T  TVec, TMtx or TVecInt.
/// @return    a lease on an empty object.
template <class T>
TLease<T> CreateIt() {
  return TLease<T>();
}

/// Lends several temporaries, as a tuple of leases for structured bindings.
/// @tparam T1, T2, Rest  each TVec, TMtx or TVecInt.
/// @return               one lease per type, in the order given.
template <class T1, class T2, class... Rest>
std::tuple<TLease<T1>, TLease<T2>, TLease<Rest>...> CreateIt() {
  return {TLease<T1>(), TLease<T2>(), TLease<Rest>()...};
}

/// Number of objects resting in the calling thread's cache, all three types together (for
/// tests).
/// @return the idle TVec, TMtx and TVecInt objects of this thread's pools.
LUMEX_API int CacheIdleCount();

}  // namespace lumex
