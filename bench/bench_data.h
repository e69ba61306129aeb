// The benchmark data: splitmix64, which the Python comparisons compute identically, so that both
// sides of a ratio work on the same numbers without a data file.
#pragma once

#include <cstdint>

namespace lumex::bench {

inline std::uint64_t SplitMix64(std::uint64_t x) {
  std::uint64_t z = x + 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

// The k-th uniform number on [0, 1): the top 53 bits of splitmix64(k).
inline double Uniform(std::uint64_t k) {
  return static_cast<double>(SplitMix64(k) >> 11) * 0x1.0p-53;
}

}  // namespace lumex::bench
