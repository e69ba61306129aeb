// Turns the fuzzer's bytes into arguments: lengths, values, containers and the small vocabulary
// types of the library. Every draw consumes bytes from the front; an exhausted input yields
// zeros, so any byte string decodes to some call.
//
// The distributions lean towards the values that break numerical code: lengths 0, 1, 2 and a
// few large ones; values 0, -0, +-1, NaN, +-Inf, denormals, +-1e308, and the points where 1/a,
// a^2 or Gamma(a) under- or overflow; single and complex storage; containers of ordinary values
// with one NaN or infinite entry; enumeration values past the last enumerator; huge and
// negative integers; sizes near 2^31 - 1 for the rows that test them. An input may also ask for
// an output to be the same object as an input (fuzz_table.h, RunAliased).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "lumex/core/core.h"

namespace lumex::fuzz {

class TFuzzInput {
public:
  TFuzzInput(const std::uint8_t* data, std::size_t size) : fData(data), fSize(size) {}

  std::uint8_t Byte();
  std::uint16_t Word();
  std::uint64_t Raw64();
  bool Bool() { return (Byte() & 1) != 0; }

  // Bounds every later length and dimension to [0, cap] and every integer to [-cap, cap];
  // 0 removes the bound.
  void SetCap(int cap) { fCap = cap; }

  // A length for a vector: mostly short, sometimes 0, 1, 2 or up to a few thousand.
  int Length();
  // Rows or columns of a matrix: mostly up to 12, sometimes 0 or up to 120.
  int Dimension();
  // An integer argument (orders, counts, seeds, indexes): small values, boundaries and extremes.
  int Int();
  // A real argument: ordinary values of either sign, special values, subnormals, thresholds of
  // under- and overflow, or arbitrary bit patterns.
  double Value();
  // A size no call may allocate under the fuzzers' allocation limit (1 GiB, whatever the element
  // type): 2^31 - 1 and just below, 2^30 and about 3e8. Not capped.
  int HugeSize();
  // A probability-like level: 0.05-ish values, 0, 1, outside [0, 1] and NaN.
  double Level();
  // A value of an enumeration with `count` enumerators, now and then one past the end.
  std::uint8_t Enumerator(int count);

  TVec Vec();
  TMtx Mtx();
  TVecInt VecInt();
  // Storage precision and complexity: mostly real double, sometimes single or complex.
  void Kind(TMtxFloatPrecision& precision, bool& complex);
  // Fills `dst` (any storage kind) with values of one pattern: ordinary, sorted, ties, special.
  void Fill(TDenseLumex& dst);

private:
  const std::uint8_t* fData;
  std::size_t fSize;
  int fCap = 0;
  int Capped(int v) const {
    if (fCap == 0 || (v <= fCap && v >= -fCap)) return v;
    return v > 0 ? fCap : -fCap;
  }
};

}  // namespace lumex::fuzz
