// Internal: the engines behind the random streams, the conversions of engine output to uniform
// numbers, and the fill loops shared by the variate methods.
#pragma once

#include <boost/random/mersenne_twister.hpp>
#include <boost/random/normal_distribution.hpp>

#include <cmath>
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>

#include "lumex/core/containers.h"
#include "lumex/core/random.h"

namespace lumex::detail {

// xoshiro256++ (D. Blackman, S. Vigna, "Scrambled linear pseudorandom number generators",
// ACM TOMS 47, 2021). Satisfies Boost.Random's engine concept, so Boost's distributions take it.
class TXoshiro256 {
public:
  using result_type = std::uint64_t;
  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return ~result_type(0); }

  TXoshiro256() { Seed(0); }
  explicit TXoshiro256(std::uint64_t seed) { Seed(seed); }

  // The state words are four successive outputs of SplitMix64 started at `seed`, the seeding
  // the authors recommend: it never gives the all-zero state, and nearby seeds give unrelated
  // states.
  void Seed(std::uint64_t seed) {
    for (auto& w : fState) w = SplitMix64(seed);
  }
  void SetState(const std::uint64_t (&state)[4]) {
    for (int i = 0; i < 4; ++i) fState[i] = state[i];
  }

  result_type operator()() {
    const std::uint64_t result = Rotl(fState[0] + fState[3], 23) + fState[0];
    const std::uint64_t t = fState[1] << 17;
    fState[2] ^= fState[0];
    fState[3] ^= fState[1];
    fState[1] ^= fState[2];
    fState[0] ^= fState[3];
    fState[2] ^= t;
    fState[3] = Rotl(fState[3], 45);
    return result;
  }

  // Advances the state by 2^128 steps: the streams of one seed are 2^128 apart.
  void Jump() {
    static constexpr std::uint64_t kJump[4] = {0x180ec6d33cfd0abaULL, 0xd5a61266f0c9392cULL,
                                               0xa9582618e03fc9aaULL, 0x39abdc4529b1661cULL};
    std::uint64_t s[4] = {0, 0, 0, 0};
    for (std::uint64_t word : kJump) {
      for (int b = 0; b < 64; ++b) {
        if (word & (std::uint64_t(1) << b)) {
          for (int i = 0; i < 4; ++i) s[i] ^= fState[i];
        }
        (*this)();
      }
    }
    for (int i = 0; i < 4; ++i) fState[i] = s[i];
  }

  static std::uint64_t SplitMix64(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }

private:
  static std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
  std::uint64_t fState[4];
};

using TEngine =
    std::variant<boost::random::mt19937, boost::random::mt19937_64, TXoshiro256>;

// 53 random bits from one 64-bit output, or from two outputs of a 32-bit engine (27 + 26 bits,
// the layout of the MT19937 reference genrand_res53).
template <class Eng>
inline std::uint64_t Bits53(Eng& eng) {
  if constexpr (sizeof(typename Eng::result_type) >= 8) {
    return static_cast<std::uint64_t>(eng()) >> 11;
  } else {
    const std::uint64_t hi = static_cast<std::uint32_t>(eng()) >> 5;
    const std::uint64_t lo = static_cast<std::uint32_t>(eng()) >> 6;
    return (hi << 26) | lo;
  }
}

// Uniform on [0, 1): k 2^-53, k = 0 .. 2^53 - 1.
template <class Eng>
inline double Uniform01(Eng& eng) {
  return static_cast<double>(Bits53(eng)) * 0x1p-53;
}

// Uniform on (0, 1): (k + 1/2) 2^-53, symmetric about 1/2, so that log(u), log(1 - u) and
// tan(pi (u - 1/2)) are always finite.
template <class Eng>
inline double UniformOpen(Eng& eng) {
  return (static_cast<double>(Bits53(eng)) + 0.5) * 0x1p-53;
}

}  // namespace lumex::detail

namespace lumex {

struct TRngStream::TImpl {
  detail::TEngine engine{std::in_place_type<detail::TXoshiro256>};
};

}  // namespace lumex

namespace lumex::detail {

[[noreturn]] void RaiseParam(const char* method, const char* condition);

// Writes draw(eng) into every element of a real destination; the draw is made in double and
// rounded for single storage. `draw` is a generic callable taking the engine.
template <class Eng, class Draw>
void FillRealWith(Eng& eng, TDenseLumex& dst, const char* method, Draw&& draw) {
  if (dst.Complex()) RaiseParam(method, "complex data not supported");
  const int n = dst.Length();
  if (dst.IsDouble()) {
    double* p = dst.Data<double>();
    for (int i = 0; i < n; ++i) p[i] = draw(eng);
  } else {
    float* p = dst.Data<float>();
    for (int i = 0; i < n; ++i) p[i] = static_cast<float>(draw(eng));
  }
}

template <class Draw>
void FillReal(TRngStream& s, TDenseLumex& dst, const char* method, Draw&& draw) {
  std::visit([&](auto& eng) { FillRealWith(eng, dst, method, draw); }, s.Impl().engine);
}

// The TVecInt behind an integer destination; raises for any other integer object.
TVecInt& IntDestination(TLumexInt& dst, const char* method);

template <class Draw>
void FillInt(TRngStream& s, TLumexInt& dst, const char* method, Draw&& draw) {
  TVecInt& v = IntDestination(dst, method);
  std::int32_t* p = v.Data();
  const int n = v.Length();
  std::visit(
      [&](auto& eng) {
        for (int i = 0; i < n; ++i) p[i] = draw(eng);
      },
      s.Impl().engine);
}

// Gamma variates of one shape a > 0 with unit scale, by Marsaglia and Tsang ("A simple method
// for generating gamma variables", ACM TOMS 26, 2000): d = a - 1/3, c = 1/sqrt(9d); with x
// standard normal and v = (1 + c x)^3 > 0, d v is accepted when u < 1 - 0.0331 x^4 (the squeeze,
// about 98% of the time) or when ln u < x^2/2 + d (1 - v + ln v). About 1.05 normal and uniform
// pairs per variate at every shape >= 1. Below shape 1 the variate is G(a + 1) U^(1/a).
class TGammaSampler {
public:
  explicit TGammaSampler(double shape)
      : fBoost(shape < 1.0), fInvShape(1.0 / shape) {
    fD = (fBoost ? shape + 1.0 : shape) - 1.0 / 3.0;
    fC = 1.0 / std::sqrt(9.0 * fD);
  }

  template <class Eng>
  double operator()(Eng& eng) const {
    double g = Core(eng);
    if (fBoost) g *= std::pow(UniformOpen(eng), fInvShape);
    return g;
  }

  // ln G, which stays finite where G(a) for a small shape underflows to 0.
  template <class Eng>
  double Log(Eng& eng) const {
    double lg = std::log(Core(eng));
    if (fBoost) lg += std::log(UniformOpen(eng)) * fInvShape;
    return lg;
  }

private:
  template <class Eng>
  double Core(Eng& eng) const {
    boost::random::normal_distribution<double> normal;
    for (;;) {
      double x;
      double v;
      do {
        x = normal(eng);
        v = 1.0 + fC * x;
      } while (v <= 0.0);
      v = v * v * v;
      const double u = UniformOpen(eng);
      const double x2 = x * x;
      if (u < 1.0 - 0.0331 * x2 * x2) return fD * v;
      if (std::log(u) < 0.5 * x2 + fD * (1.0 - v + std::log(v))) return fD * v;
    }
  }

  bool fBoost;
  double fInvShape;
  double fD = 0.0;
  double fC = 0.0;
};

}  // namespace lumex::detail
