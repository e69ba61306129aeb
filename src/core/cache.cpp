// Per-thread pools behind CreateIt.
#include "lumex/core/cache.h"

#include <vector>

namespace lumex {

namespace {

// Objects kept idle per type and thread; beyond this they are freed when given back.
constexpr std::size_t kMaxIdle = 64;

template <class T>
std::vector<std::unique_ptr<T>>& Pool() {
  thread_local std::vector<std::unique_ptr<T>> pool;
  return pool;
}

void MakeEmpty(TVec& v) { v.Size(0); }
void MakeEmpty(TMtx& m) { m.Size(0, 0); }
void MakeEmpty(TVecInt& v) { v.Size(0); }

}  // namespace

template <class T>
std::unique_ptr<T> CacheTake() {
  auto& pool = Pool<T>();
  if (pool.empty()) return std::make_unique<T>();
  std::unique_ptr<T> obj = std::move(pool.back());
  pool.pop_back();
  return obj;
}

template <class T>
void CacheGive(std::unique_ptr<T> obj) noexcept {
  MakeEmpty(*obj);  // keeps the capacity; cannot throw for a length of 0
  auto& pool = Pool<T>();
  if (pool.size() >= kMaxIdle) return;  // obj is freed here
  try {
    pool.push_back(std::move(obj));
  } catch (...) {
    // No room to keep it: the object is simply freed.
  }
}

template std::unique_ptr<TVec> CacheTake<TVec>();
template std::unique_ptr<TMtx> CacheTake<TMtx>();
template std::unique_ptr<TVecInt> CacheTake<TVecInt>();
template void CacheGive<TVec>(std::unique_ptr<TVec>) noexcept;
template void CacheGive<TMtx>(std::unique_ptr<TMtx>) noexcept;
template void CacheGive<TVecInt>(std::unique_ptr<TVecInt>) noexcept;

int CacheIdleCount() {
  return static_cast<int>(Pool<TVec>().size() + Pool<TMtx>().size() +
                          Pool<TVecInt>().size());
}

}  // namespace lumex
