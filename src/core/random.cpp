// Generators and streams: seeding of the three engine kinds, the uniform and normal variates,
// and the thread-safe default source.
#include "lumex/core/random.h"

#include <boost/random/normal_distribution.hpp>
#include <boost/random/seed_seq.hpp>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <string>

#include "core/random_engine.h"

namespace lumex {

namespace detail {

void RaiseParam(const char* method, const char* condition) {
  ERaise(std::string(method) + ": " + condition);
}

TVecInt& IntDestination(TLumexInt& dst, const char* method) {
  auto* v = dynamic_cast<TVecInt*>(&dst);
  if (v == nullptr) RaiseParam(method, "integer vector expected");
  return *v;
}

void CheckUniform(double a, double b, const char* method) {
  if (!std::isfinite(a) || !std::isfinite(b) || !std::isfinite(b - a)) {
    RaiseParam(method, "a, b or b - a not finite");
  }
  if (a > b) RaiseParam(method, "a > b");
}

void CheckGauss(double mu, double sigma, const char* method) {
  if (!std::isfinite(mu) || !std::isfinite(sigma)) RaiseParam(method, "mu or sigma not finite");
  if (sigma < 0) RaiseParam(method, "sigma < 0");
}

}  // namespace detail

namespace {

using detail::TXoshiro256;

// Uniform on [a, b) into a real destination. a + (b - a) u can round up to b (for instance
// 1 + (1 - 2^-53) is 2 under round-to-even), and so can its float rounding: such values become
// the largest number of the destination's precision below b, which keeps the interval half-open
// for callers that take ln(u) or ceil(u N).
template <class Eng>
void UniformKernel(Eng& eng, TDenseLumex& dst, double a, double b, const char* method) {
  if (dst.Complex()) detail::RaiseParam(method, "complex data not supported");
  const int n = dst.Length();
  const double width = b - a;
  if (dst.IsDouble()) {
    double* p = dst.Data<double>();
    if (width == 0.0) {
      for (int i = 0; i < n; ++i) p[i] = a;
      return;
    }
    const double below = std::nextafter(b, -Inf);
    for (int i = 0; i < n; ++i) {
      const double x = a + width * detail::Uniform01(eng);
      p[i] = x < b ? x : below;
    }
  } else {
    float* p = dst.Data<float>();
    if (width == 0.0) {
      for (int i = 0; i < n; ++i) p[i] = static_cast<float>(a);
      return;
    }
    float below = static_cast<float>(b);
    if (below >= b) below = std::nextafter(below, -std::numeric_limits<float>::infinity());
    for (int i = 0; i < n; ++i) {
      const float x = static_cast<float>(a + width * detail::Uniform01(eng));
      p[i] = x < b ? x : below;
    }
  }
}

template <class Eng>
void GaussKernel(Eng& eng, TDenseLumex& dst, double mu, double sigma, TGaussRandMethod m,
                 const char* method) {
  if (m == grmZiggurat) {
    boost::random::normal_distribution<double> normal(mu, sigma);
    detail::FillRealWith(eng, dst, method, [&](auto& e) { return normal(e); });
  } else {
    // Each pair of uniforms gives two variates; the second is kept for the next element.
    bool spare = false;
    double second = 0.0;
    detail::FillRealWith(eng, dst, method, [&](auto& e) {
      if (spare) {
        spare = false;
        return mu + sigma * second;
      }
      const double r = std::sqrt(-2.0 * std::log(detail::UniformOpen(e)));
      const double t = 2.0 * PI * detail::Uniform01(e);
      second = r * std::sin(t);
      spare = true;
      return mu + sigma * (r * std::cos(t));
    });
  }
}

void CheckKind(TBasicRandomGenerator kind) {
  if (kind != brgMersenneTwister && kind != brgMersenneTwister64 && kind != brgXoshiro256) {
    ERaise("Init: unknown generator kind");
  }
}

// ---- The default source ------------------------------------------------------------------------

// The next stream to hand out (held as its engine state, so that handing one out costs one
// jump however many threads came before) and an epoch counter that RandSeed advances. A thread
// compares its engine's epoch with the global one on every call (one atomic load) and takes a
// new stream under the lock only when they differ.
std::mutex gSourceMutex;
TXoshiro256 gNextStream(0);
std::atomic<std::uint64_t> gEpoch{0};

struct TThreadSource {
  TXoshiro256 engine;
  std::uint64_t epoch = std::numeric_limits<std::uint64_t>::max();
};

thread_local TThreadSource tSource;

TXoshiro256& ThreadEngine() {
  TThreadSource& source = tSource;
  if (source.epoch != gEpoch.load(std::memory_order_acquire)) {
    std::lock_guard<std::mutex> lock(gSourceMutex);
    source.engine = gNextStream;
    gNextStream.Jump();
    source.epoch = gEpoch.load(std::memory_order_relaxed);
  }
  return source.engine;
}

}  // namespace

// ---- TRngStream --------------------------------------------------------------------------------

TRngStream::TRngStream() : fImpl(std::make_unique<TImpl>()) {}
TRngStream::~TRngStream() = default;

std::uint64_t TRngStream::NextRaw() {
  return std::visit([](auto& eng) { return static_cast<std::uint64_t>(eng()); }, fImpl->engine);
}

void TRngStream::RandomUniform(TDenseLumex& dst, double a, double b) {
  detail::CheckUniform(a, b, "RandomUniform");
  std::visit([&](auto& eng) { UniformKernel(eng, dst, a, b, "RandomUniform"); }, fImpl->engine);
}

void TRngStream::RandomGaussian(TDenseLumex& dst, double mu, double sigma,
                                TGaussRandMethod method) {
  detail::CheckGauss(mu, sigma, "RandomGaussian");
  if (method != grmZiggurat && method != grmBoxMuller) {
    detail::RaiseParam("RandomGaussian", "unknown method");
  }
  std::visit([&](auto& eng) { GaussKernel(eng, dst, mu, sigma, method, "RandomGaussian"); },
             fImpl->engine);
}

// ---- TRandomGenerator --------------------------------------------------------------------------

TRandomGenerator::TRandomGenerator() : TRandomGenerator(brgXoshiro256, 0) {}

TRandomGenerator::TRandomGenerator(TBasicRandomGenerator kind, int seed, int streamCount) {
  CheckKind(kind);
  if (streamCount < 1) ERaise("SetStreamCount: count < 1");
  fKind = kind;
  fSeed = seed;
  for (int i = 0; i < streamCount; ++i) fStreams.push_back(std::make_unique<TRngStream>());
  Reseed();
}

TRandomGenerator::~TRandomGenerator() = default;

void TRandomGenerator::SetStreamCount(int count) {
  if (count < 1) ERaise("SetStreamCount: count < 1");
  fStreams.clear();
  for (int i = 0; i < count; ++i) fStreams.push_back(std::make_unique<TRngStream>());
  Reseed();
}

void TRandomGenerator::Init(TBasicRandomGenerator kind, int seed) {
  CheckKind(kind);
  fKind = kind;
  fSeed = seed;
  Reseed();
}

void TRandomGenerator::Init(int kind, int seed) {
  if (kind < brgMersenneTwister || kind > brgXoshiro256) ERaise("Init: unknown generator kind");
  Init(static_cast<TBasicRandomGenerator>(kind), seed);
}

TRngStream& TRandomGenerator::GetStream(int index) {
  if (index < 0 || index >= StreamCount()) ERaise("GetStream: index out of range");
  return *fStreams[static_cast<std::size_t>(index)];
}

// Stream 0 of a Mersenne twister is the engine seeded with the seed itself (the reference
// initialisation, so that its output can be checked against published values); stream i > 0 is
// seeded through Boost's seed_seq from (seed, i), which spreads both words over the whole state.
// The xoshiro streams are jumps of 2^128 along one sequence.
void TRandomGenerator::Reseed() {
  const auto bits = static_cast<std::uint32_t>(fSeed);
  TXoshiro256 xo(bits);
  for (std::size_t i = 0; i < fStreams.size(); ++i) {
    detail::TEngine& engine = fStreams[i]->Impl().engine;
    const auto index = static_cast<std::uint32_t>(i);
    switch (fKind) {
      case brgMersenneTwister: {
        boost::random::mt19937 mt(bits);
        if (i > 0) {
          boost::random::seed_seq seq{bits, index};
          mt.seed(seq);
        }
        engine = mt;
        break;
      }
      case brgMersenneTwister64: {
        boost::random::mt19937_64 mt(static_cast<std::uint64_t>(bits));
        if (i > 0) {
          boost::random::seed_seq seq{bits, index};
          mt.seed(seq);
        }
        engine = mt;
        break;
      }
      case brgXoshiro256:
        if (i > 0) xo.Jump();
        engine = xo;
        break;
    }
  }
}

// ---- Default source ----------------------------------------------------------------------------

void RandSeed(std::uint64_t seed) {
  std::lock_guard<std::mutex> lock(gSourceMutex);
  tSource.engine = TXoshiro256(seed);
  gNextStream = tSource.engine;
  gNextStream.Jump();
  tSource.epoch = gEpoch.fetch_add(1, std::memory_order_release) + 1;
}

void RandUniform(TDenseLumex& dst, double a, double b) {
  detail::CheckUniform(a, b, "RandUniform");
  UniformKernel(ThreadEngine(), dst, a, b, "RandUniform");
}

double RandUniform() { return detail::Uniform01(ThreadEngine()); }

void RandGauss(TDenseLumex& dst, double mu, double sigma) {
  detail::CheckGauss(mu, sigma, "RandGauss");
  GaussKernel(ThreadEngine(), dst, mu, sigma, grmZiggurat, "RandGauss");
}

int FreshSeed() {
  const long long k = std::llround(RandUniform() * 4294967295.0);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(k));
}

}  // namespace lumex
