// Random numbers: seedable generators with independent streams, the variate methods of a
// stream, and the default source behind RandUniform and RandGauss.
//
// Reproducibility. A generator initialised with a kind and a seed produces the same numbers on
// every run, in every thread and with every compiler: the engines are fixed algorithms
// (Boost.Random's Mersenne twisters, and xoshiro256++ written here), the normal, exponential,
// Poisson and binomial variates come from Boost.Random's distributions (never from std::
// distributions, whose algorithms differ between standard libraries), and everything else is
// written here on top of them. Transforms that call log, exp, pow or tan inherit the last-bit
// behaviour of the C math library.
//
// Conventions of the stream methods:
// - A real destination (TDenseLumex: vector or matrix, single or double precision) is filled as
//   it is sized: every element is overwritten, nothing is resized. Variates are computed in
//   double; a single-precision destination receives them rounded to float, so the same seed
//   gives the float rounding of the double output. Complex storage raises
//   "<Method>: complex data not supported".
// - An integer destination (TLumexInt, i.e. a TVecInt) is filled likewise with 32-bit integers;
//   an integer object of another type raises "<Method>: integer vector expected".
// - Parameters are checked before anything is drawn or written; a bad one raises ELumexError
//   with "<Method>: <condition>". Parameters must be finite. A scale of 0 is accepted wherever a
//   scale appears and gives the point mass at the location.
// - A stream is not safe for concurrent use; distinct streams and generators are independent
//   objects that may be used from different threads at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lumex/core/containers.h"

namespace lumex {

// The engine behind a generator's streams.
enum TBasicRandomGenerator : std::uint8_t {
  // Boost's mt19937: the 32-bit Mersenne twister (period 2^19937 - 1). Stream 0 seeded with s
  // is the reference sequence of MT19937 for the seed s.
  brgMersenneTwister,
  // Boost's mt19937_64: the 64-bit Mersenne twister.
  brgMersenneTwister64,
  // xoshiro256++ (Blackman and Vigna, 2019): 256 bits of state, period 2^256 - 1, passes
  // BigCrush and PractRand, and is the fastest of the three (about twice the speed of the
  // Mersenne twisters here, which decides the speed of uniform and normal fills). Boost 1.74
  // has no engine of this class, so the library has its own. The state is filled from the
  // seed by SplitMix64; stream i starts 2^128 * i steps further along the same sequence (the
  // jump polynomial), so streams never overlap. This is the kind the StatRandom generators use.
  brgXoshiro256,
};

// Algorithms of RandomGaussian.
enum TGaussRandMethod : std::uint8_t {
  // Boost's ziggurat (Marsaglia and Tsang 2000, with Boost's exact tail and wedge tests): one
  // engine draw for about 99% of the variates.
  grmZiggurat,
  // Box-Muller: sqrt(-2 ln u1) (cos 2 pi u2, sin 2 pi u2), two variates per pair of uniforms.
  grmBoxMuller,
};

// Algorithms of RandomPoisson.
enum TPoissonRandMethod : std::uint8_t {
  // Boost's: inversion for lambda < 10, Hormann's transformed rejection with squeeze (PTRS)
  // above.
  prmPTRS,
  // Inversion of the distribution function tabulated once per call (from the mode outwards,
  // to the point where the remaining mass is below 1e-20), searched through a guide table:
  // O(1) per variate after a set-up of O(sqrt(lambda)), and monotone in the uniform it inverts.
  prmInversion,
};

// One stream of random numbers. Obtained from TRandomGenerator::GetStream; it lives as long as
// its generator (or until the generator's next SetStreamCount).
class LUMEX_API TRngStream {
public:
  TRngStream();
  ~TRngStream();
  TRngStream(const TRngStream&) = delete;
  TRngStream& operator=(const TRngStream&) = delete;

  // ---- Continuous laws, real destination ------------------------------------------------------

  // Uniform on [a, b): a + (b - a) u with u a multiple of 2^-53 in [0, 1). a = b gives all a.
  // Raises "RandomUniform: a > b" and "RandomUniform: a, b or b - a not finite".
  void RandomUniform(TDenseLumex& dst, double a = 0.0, double b = 1.0);

  // Normal with mean mu and standard deviation sigma >= 0.
  // Raises "RandomGaussian: sigma < 0", "RandomGaussian: mu or sigma not finite",
  // "RandomGaussian: unknown method".
  void RandomGaussian(TDenseLumex& dst, double mu = 0.0, double sigma = 1.0,
                      TGaussRandMethod method = grmZiggurat);

  // Exponential on [displacement, Inf) with mean `mean` above the displacement (scale, not
  // rate): P(X <= x) = 1 - exp(-(x - displacement)/mean). Boost's ziggurat.
  // Raises "RandomExponential: mean < 0" and "RandomExponential: parameters not finite".
  void RandomExponential(TDenseLumex& dst, double displacement, double mean);

  // Gamma with shape a > 0, displacement and scale >= 0: X = displacement + scale * G, G with
  // density g^(a-1) e^(-g) / Gamma(a). Marsaglia-Tsang squeeze on the engine's normal and
  // uniform variates; for a < 1, G(a) = G(a + 1) U^(1/a).
  // Raises "RandomGamma: shape <= 0", "RandomGamma: scale < 0",
  // "RandomGamma: parameters not finite".
  void RandomGamma(TDenseLumex& dst, double shape, double displacement, double scale);

  // Beta with shapes a > 0 and b > 0 on [displacement, displacement + scale]: X = displacement
  // + scale * G1/(G1 + G2), G1 ~ Gamma(a), G2 ~ Gamma(b); when a shape is below 1 the ratio is
  // formed from the logarithms of the gamma variates, which would otherwise underflow.
  // Raises "RandomBeta: (a <= 0) or (b <= 0)", "RandomBeta: scale < 0",
  // "RandomBeta: parameters not finite".
  void RandomBeta(TDenseLumex& dst, double a, double b, double displacement, double scale);

  // Cauchy with location mu and scale b >= 0: mu + b tan(pi (u - 1/2)), u in (0, 1).
  // Raises "RandomCauchy: b < 0" and "RandomCauchy: parameters not finite".
  void RandomCauchy(TDenseLumex& dst, double mu, double b);

  // Gumbel of the largest extreme value, location mu and scale beta >= 0:
  // P(X <= x) = exp(-exp(-(x - mu)/beta)); mu - beta ln(-ln u), u in (0, 1).
  // Raises "RandomGumbel: beta < 0" and "RandomGumbel: parameters not finite".
  void RandomGumbel(TDenseLumex& dst, double mu, double beta);

  // Laplace with location mu and scale b >= 0: density exp(-|x - mu|/b)/(2b), by inversion.
  // Raises "RandomLaplace: b < 0" and "RandomLaplace: parameters not finite".
  void RandomLaplace(TDenseLumex& dst, double mu, double b);

  // Rayleigh on [displacement, Inf) with scale >= 0: P(X <= x) = 1 - exp(-((x -
  // displacement)/scale)^2), the Weibull law of shape 2. In the usual form with parameter
  // sigma, P(X <= x) = 1 - exp(-x^2/(2 sigma^2)), the scale is sqrt(2) sigma.
  // Raises "RandomRayleigh: scale < 0" and "RandomRayleigh: parameters not finite".
  void RandomRayleigh(TDenseLumex& dst, double displacement, double scale);

  // Weibull with shape > 0 on [displacement, Inf) with scale >= 0:
  // P(X <= x) = 1 - exp(-((x - displacement)/scale)^shape); by inversion.
  // Raises "RandomWeibull: shape <= 0", "RandomWeibull: scale < 0",
  // "RandomWeibull: parameters not finite".
  void RandomWeibull(TDenseLumex& dst, double shape, double displacement, double scale);

  // ---- Discrete laws, integer destination -----------------------------------------------------

  // Poisson with mean 0 <= lambda <= 1e9 (the bound keeps every value inside 32 bits).
  // Raises "RandomPoisson: lambda < 0", "RandomPoisson: lambda > 1e9",
  // "RandomPoisson: lambda not finite", "RandomPoisson: unknown method".
  void RandomPoisson(TLumexInt& dst, double lambda, TPoissonRandMethod method = prmPTRS);

  // Binomial: successes in n >= 0 trials of probability 0 <= p <= 1 (Boost's BTRD algorithm).
  // Raises "RandomBinomial: n < 0" and "RandomBinomial: (p < 0) or (p > 1)".
  void RandomBinomial(TLumexInt& dst, int n, double p);

  // Negative binomial: failures before the r-th success, r > 0 real, success probability
  // 0 < p <= 1; P(X = k) = Gamma(r + k)/(Gamma(r) k!) p^r (1 - p)^k. Drawn as a Poisson variate
  // whose mean is a gamma variate of shape r and scale (1 - p)/p.
  // Raises "RandomNegbinomial: r <= 0", "RandomNegbinomial: (p <= 0) or (p > 1)",
  // "RandomNegbinomial: parameters not finite", and, when a gamma mean exceeds 1e9 (so that the
  // value could leave 32 bits), "RandomNegbinomial: value out of the 32-bit range".
  void RandomNegbinomial(TLumexInt& dst, double r, double p);

  // Hypergeometric: successes among n draws without replacement from m items of which k are
  // successes; support max(0, n + k - m) .. min(n, k). Inversion of the tabulated
  // distribution function, as prmInversion.
  // Raises "RandomHypergeometric: (m < 0) or (k < 0) or (n < 0)" and
  // "RandomHypergeometric: (k > m) or (n > m)".
  void RandomHypergeometric(TLumexInt& dst, int m, int k, int n);

  // ---- Raw output -------------------------------------------------------------------------------

  // The next output of the engine, widened to 64 bits (a 32-bit engine gives values < 2^32).
  std::uint64_t NextRaw();

  // Internal state; defined in random.cpp.
  struct TImpl;
  TImpl& Impl() { return *fImpl; }

private:
  std::unique_ptr<TImpl> fImpl;
};

// A generator: a set of streams of one engine kind, seeded together. Made without arguments it
// has one stream of kind brgXoshiro256 with seed 0. Every stream of a generator is independent of
// the others; equal kind, seed and stream index give equal output.
class LUMEX_API TRandomGenerator {
public:
  TRandomGenerator();
  // The generator that Init(kind, seed) and SetStreamCount(streamCount) would make, seeded once.
  // Raises "Init: unknown generator kind" and "SetStreamCount: count < 1".
  TRandomGenerator(TBasicRandomGenerator kind, int seed, int streamCount = 1);
  ~TRandomGenerator();
  TRandomGenerator(const TRandomGenerator&) = delete;
  TRandomGenerator& operator=(const TRandomGenerator&) = delete;

  // Sets the number of streams (>= 1) and reseeds all of them with the current kind and seed.
  // References to earlier streams become invalid. Raises "SetStreamCount: count < 1".
  void SetStreamCount(int count);
  int StreamCount() const noexcept { return static_cast<int>(fStreams.size()); }

  // Reseeds every stream: stream i becomes stream i of `kind` for `seed`. All 2^32 values of
  // the seed are distinct seeds (-1 among them). The int overload takes the kind's ordinal and
  // raises "Init: unknown generator kind".
  void Init(TBasicRandomGenerator kind, int seed);
  void Init(int kind, int seed);

  TBasicRandomGenerator Kind() const noexcept { return fKind; }
  int Seed() const noexcept { return fSeed; }

  // Stream `index`, 0 <= index < StreamCount(). Raises "GetStream: index out of range".
  TRngStream& GetStream(int index);

private:
  void Reseed();
  std::vector<std::unique_ptr<TRngStream>> fStreams;
  TBasicRandomGenerator fKind = brgXoshiro256;
  int fSeed = 0;
};

// ---- The default source ------------------------------------------------------------------------
//
// Every thread draws from its own xoshiro256++ engine, so the functions below are thread-safe
// without locks on the drawing path. The engines are seeded from one global seed: RandSeed(s)
// makes the calling thread's engine the first stream of s, and every other thread, at its next
// draw, takes the next unused stream of s (streams 2^128 steps apart, handed out in the order in
// which the threads come to draw). Until RandSeed is called the global seed is 0: the default
// source is deterministic, and a program that wants different numbers on every run seeds it
// itself (for example from std::random_device).

// Reseeds the default source, as described above. For seed < 2^32 the calling thread then
// draws exactly what stream 0 of a brgXoshiro256 generator initialised with that seed gives.
LUMEX_API void RandSeed(std::uint64_t seed);

// Fills dst (vector or matrix, single or double precision) with uniform numbers on [a, b) from
// the default source; rules and messages as TRngStream::RandomUniform with "RandUniform".
LUMEX_API void RandUniform(TDenseLumex& dst, double a = 0.0, double b = 1.0);

// One uniform number on [0, 1) from the default source.
LUMEX_API double RandUniform();

// Fills dst with normal numbers of mean mu and standard deviation sigma (ziggurat) from the
// default source; rules and messages as TRngStream::RandomGaussian with "RandGauss".
LUMEX_API void RandGauss(TDenseLumex& dst, double mu = 0.0, double sigma = 1.0);

// A fresh seed for a generator that was asked for one: a uniform number u on [0, 1) from the
// default source, round(u * 4294967295) (halves away from zero) taken as a signed 32-bit
// integer (values from 2^31 on wrap to negative ones).
LUMEX_API int FreshSeed();

}  // namespace lumex
