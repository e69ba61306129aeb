// Internal: calls a generic kernel with the typed storage of a dense object, and tells whether
// the processor runs the AVX2 copies of the loops compiled twice.
#pragma once

#include <complex>
#include <initializer_list>
#include <string>

#include "lumex/core/containers.h"

namespace lumex::detail {

// A few hot loops are compiled twice on x86-64 with GCC or Clang: for the baseline instruction
// set and, through the target attribute, for AVX2 without fused multiply-add, so that both give
// the same bits. The copy is chosen by this plain test, not by a load-time resolver, which the
// thread sanitizer's runtime would not survive. True where the processor and the operating
// system support AVX2.
#if defined(__x86_64__) && defined(__GNUC__)
#define LUMEX_AVX2_COPIES
inline bool HasAvx2() {
  static const bool has = (__builtin_cpu_init(), __builtin_cpu_supports("avx2") != 0);
  return has;
}
#endif

[[noreturn]] inline void RaiseComplex(const char* fn) {
  ERaise(std::string(fn) + ": complex data not supported");
}

// f(T* data) with T = double or float; complex storage raises "<fn>: complex data not supported".
template <class Obj, class F>
decltype(auto) DispatchReal(Obj& x, const char* fn, F&& f) {
  if (x.Complex()) RaiseComplex(fn);
  if (x.IsDouble()) return f(x.template Data<double>());
  return f(x.template Data<float>());
}

// f(T* data) for all four storage kinds.
template <class Obj, class F>
decltype(auto) DispatchAny(Obj& x, F&& f) {
  if (x.Complex()) {
    if (x.IsDouble()) return f(x.template Data<std::complex<double>>());
    return f(x.template Data<std::complex<float>>());
  }
  if (x.IsDouble()) return f(x.template Data<double>());
  return f(x.template Data<float>());
}

// Raises unless a and b have equal length and storage kind.
inline void CheckSameKind(const TDenseLumex& a, const TDenseLumex& b, const char* fn) {
  if (a.Length() != b.Length()) ERaise(std::string(fn) + ": lengths differ");
  if (a.Complex() != b.Complex() || a.FloatPrecision() != b.FloatPrecision()) {
    ERaise(std::string(fn) + ": storage kinds differ");
  }
}

// Raises unless [index, index + len) lies inside an object of `length` elements.
inline void CheckRange(int length, int index, int len, const char* fn) {
  if (index < 0 || len < 0 || index > length - len) {
    ERaise(std::string(fn) + ": index range out of bounds");
  }
}

// The input itself, or a copy of it held in `copy` when one of `outputs` is the same object: a
// routine that sizes or writes an output before it has read all of its input then reads the
// copy, so that an output passed as the input gives what distinct objects give.
template <class T>
const T& Unaliased(const T& input, T& copy, std::initializer_list<const void*> outputs) {
  for (const void* o : outputs) {
    if (o == &input) {
      copy = input;
      return copy;
    }
  }
  return input;
}

// Sizes dst like src: a matrix keeps the shape of a matrix source, a vector takes its length.
void SizeLike(TDenseLumex& dst, const TDenseLumex& src);

}  // namespace lumex::detail
