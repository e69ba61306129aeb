#include "fuzz_input.h"

#include <bit>
#include <complex>
#include <limits>

namespace lumex::fuzz {

namespace {

constexpr double kSpecialValues[] = {
    0.0,  -0.0, 1.0,    -1.0,    0.5,     2.0,     NaN, Inf, -Inf, 4.9406564584124654e-324,
    1e308, -1e308, 1e-300, 2.2250738585072014e-308, 1e-8, 1e8};

// Where 1/a overflows (below 5.6e-309), a^2 under- or overflows (1e-162, 1.4e154), Gamma(a)
// overflows (171.7) and the largest double.
constexpr double kThresholds[] = {5.5e-309, 1e-162,  1.4e154, 171.62437695630271,
                                  171.7,    1e-310,  1.7976931348623157e308, 1e-200};

constexpr double kNonFinite[] = {Inf, -Inf, NaN};

constexpr int kSpecialInts[] = {0,    1,       2,     3,
                                -1,   -2,      4,     5,
                                10,   100,     1000,  1 << 20,
                                -1000, std::numeric_limits<int>::max(),
                                std::numeric_limits<int>::min(), 7};

}  // namespace

std::uint8_t TFuzzInput::Byte() {
  if (fSize == 0) return 0;
  --fSize;
  return *fData++;
}

std::uint16_t TFuzzInput::Word() {
  return static_cast<std::uint16_t>(Byte() | (Byte() << 8));
}

std::uint64_t TFuzzInput::Raw64() {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(Byte()) << (8 * i);
  return v;
}

int TFuzzInput::Length() {
  const std::uint8_t b = Byte();
  switch (b % 8) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 2;
    case 6: return Capped(20 + Byte() * 4);  // up to about a thousand
    case 7: return Capped(b >= 128 ? 1000 + Word() % 4000 : 3 + Byte() % 30);
    default: return Capped(3 + Byte() % 14);
  }
}

int TFuzzInput::HugeSize() {
  const std::uint8_t b = Byte();
  switch (b % 4) {
    case 0: return std::numeric_limits<int>::max() - b / 4 % 8;
    case 1: return (1 << 30) + b;
    case 2: return 300000000 + 1000 * b;
    default: return std::numeric_limits<int>::max() / 2 + b;
  }
}

int TFuzzInput::Dimension() {
  const std::uint8_t b = Byte();
  switch (b % 8) {
    case 0: return 0;
    case 1: return 1;
    case 7: return Capped(b >= 192 ? 13 + Byte() % 108 : 2);
    default: return Capped(2 + Byte() % 11);
  }
}

int TFuzzInput::Int() {
  const std::uint8_t b = Byte();
  if (b < 128) return Capped(b % 12);
  if (b < 224) return Capped(kSpecialInts[b % 16]);
  return Capped(static_cast<int>(static_cast<std::uint32_t>(Raw64())));
}

double TFuzzInput::Value() {
  const std::uint8_t b = Byte();
  if (b < 144) return (static_cast<int>(Word()) - 32768) / 1024.0;  // ordinary, some ties
  if (b < 208) return kSpecialValues[b % 16];
  if (b < 240) return static_cast<double>(static_cast<int>(Byte()) - 128);
  if (b < 244) {  // a subnormal of either sign
    const std::uint64_t bits = Raw64();
    return std::bit_cast<double>(bits & 0x800FFFFFFFFFFFFFull);
  }
  if (b < 248) return kThresholds[Byte() % 8];
  return std::bit_cast<double>(Raw64());
}

double TFuzzInput::Level() {
  const std::uint8_t b = Byte();
  switch (b % 8) {
    case 0: return 0.0;
    case 1: return 1.0;
    case 2: return NaN;
    case 3: return b < 128 ? -0.5 : 1.5;
    case 4: return 0.05;
    default: return (Byte() + 0.5) / 256.0;
  }
}

std::uint8_t TFuzzInput::Enumerator(int count) {
  const std::uint8_t b = Byte();
  if (b >= 250) return static_cast<std::uint8_t>(count + b % 3);  // past the last enumerator
  return static_cast<std::uint8_t>(b % count);
}

void TFuzzInput::Kind(TMtxFloatPrecision& precision, bool& complex) {
  const std::uint8_t b = Byte();
  precision = (b % 8 == 1 || b % 8 == 3) ? fpSingle : fpDouble;
  complex = b % 8 >= 2 && b % 8 <= 3;
}

void TFuzzInput::Fill(TDenseLumex& dst) {
  const std::uint8_t pattern = Byte() % 7;
  const double base = Value();
  const int n = dst.Length() * (dst.Complex() ? 2 : 1);
  auto valueAt = [&](int i) -> double {
    switch (pattern) {
      case 0: return base;                                   // constant
      case 1: return base + i;                               // sorted ramp
      case 2: return static_cast<double>(Byte() % 4);        // heavy ties
      case 3: return (Byte() + 1) / 32.0;                    // positive
      case 4: return (Byte() + 0.5) / 256.0;                 // inside (0, 1)
      case 6: return base + i * 0.25;                        // ramp; one entry made non-finite
      default: return Value();                               // anything
    }
  };
  auto fill = [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    for (int i = 0; i < n; ++i) p[i] = static_cast<T>(valueAt(i));
  };
  if (!dst.Complex()) {
    if (dst.IsDouble()) fill(dst.Data<double>());
    else fill(dst.Data<float>());
  } else if (dst.IsDouble()) {
    fill(reinterpret_cast<double*>(dst.Data<std::complex<double>>()));
  } else {
    fill(reinterpret_cast<float*>(dst.Data<std::complex<float>>()));
  }
  if (pattern == 6 && n > 0) {
    // One infinite or NaN entry among finite ones: what a decomposition must not pivot on.
    const int at = Byte() % n;
    const double bad = kNonFinite[Byte() % 3];
    if (!dst.Complex() && dst.IsDouble()) dst.Data<double>()[at] = bad;
    else if (!dst.Complex()) dst.Data<float>()[at] = static_cast<float>(bad);
    else if (dst.IsDouble()) reinterpret_cast<double*>(dst.Data<std::complex<double>>())[at] = bad;
    else reinterpret_cast<float*>(dst.Data<std::complex<float>>())[at] = static_cast<float>(bad);
  }
}

TVec TFuzzInput::Vec() {
  TMtxFloatPrecision precision;
  bool complex;
  Kind(precision, complex);
  TVec v;
  v.Size(Length(), precision, complex);
  Fill(v);
  return v;
}

TMtx TFuzzInput::Mtx() {
  TMtxFloatPrecision precision;
  bool complex;
  Kind(precision, complex);
  const int rows = Dimension();
  const int cols = Dimension();
  TMtx m;
  m.Size(rows, cols, precision, complex);
  Fill(m);
  return m;
}

TVecInt TFuzzInput::VecInt() {
  TVecInt v(Length());
  const std::uint8_t pattern = Byte() % 3;
  for (int i = 0; i < v.Length(); ++i)
    v[i] = pattern == 0 ? Byte() % 4 : pattern == 1 ? i : Int();
  return v;
}

}  // namespace lumex::fuzz
