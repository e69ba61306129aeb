/// @file
/// Random numbers: seedable generators with independent streams, the variate methods of a
/// stream, and the default source behind RandUniform and RandGauss.
///
/// Reproducibility. A generator initialised with a kind and a seed produces the same numbers on
/// every run, in every thread and with every compiler: the engines are fixed algorithms
/// (Boost.Random's Mersenne twisters, and xoshiro256++ written here), the normal, exponential,
/// Poisson and binomial variates come from Boost.Random's distributions (never from std::
/// distributions, whose algorithms differ between standard libraries), and everything else is
/// written here on top of them. Transforms that call log, exp, pow or tan inherit the last-bit
/// behaviour of the C math library.
///
/// Conventions of the stream methods:
/// - A real destination (TDenseLumex: vector or matrix, single or double precision) is filled as
///   it is sized: every element is overwritten, nothing is resized. Variates are computed in
///   double; a single-precision destination receives them rounded to float, so the same seed
///   gives the float rounding of the double output. Complex storage raises
///   `"<Method>: complex data not supported"`, after the parameter checks.
/// - An integer destination (TLumexInt, i.e. a TVecInt) is filled likewise with 32-bit integers;
///   an integer object of another type raises `"<Method>: integer vector expected"`, after the
///   parameter checks.
/// - Parameters are checked before anything is drawn or written; a bad one raises ELumexError
///   with `"<Method>: <condition>"` (the one error raised while drawing is RandomNegbinomial's
///   32-bit range check). Parameters must be finite. A scale of 0 is accepted wherever a
///   scale appears and gives the point mass at the location.
/// - A stream is not safe for concurrent use; distinct streams and generators are independent
///   objects that may be used from different threads at the same time.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "lumex/core/containers.h"

namespace lumex {

/// The engine behind a generator's streams.
enum TBasicRandomGenerator : std::uint8_t {
  /// Boost's mt19937: the 32-bit Mersenne twister (period 2^19937 - 1). Stream 0 seeded with s
  /// is the reference sequence of MT19937 for the seed s.
  brgMersenneTwister,
  /// Boost's mt19937_64: the 64-bit Mersenne twister.
  brgMersenneTwister64,
  /// xoshiro256++ (Blackman and Vigna, 2019): 256 bits of state, period 2^256 - 1, passes
  /// BigCrush and PractRand, and is the fastest of the three (about twice the speed of the
  /// Mersenne twisters here, which decides the speed of uniform and normal fills). Boost 1.74
  /// has no engine of this class, so the library has its own. The state is filled from the
  /// seed by SplitMix64; stream i starts 2^128 * i steps further along the same sequence (the
  /// jump polynomial), so streams never overlap. This is the kind the StatRandom generators use.
  brgXoshiro256,
};

/// Algorithms of RandomGaussian.
enum TGaussRandMethod : std::uint8_t {
  /// Boost's ziggurat (Marsaglia and Tsang 2000, with Boost's exact tail and wedge tests): one
  /// engine draw for about 99% of the variates.
  grmZiggurat,
  /// Box-Muller: sqrt(-2 ln u1) (cos 2 pi u2, sin 2 pi u2), two variates per pair of uniforms.
  grmBoxMuller,
};

/// Algorithms of RandomPoisson.
enum TPoissonRandMethod : std::uint8_t {
  /// Boost's: inversion for lambda < 10, Hormann's transformed rejection with squeeze (PTRS)
  /// above.
  prmPTRS,
  /// Inversion of the distribution function tabulated once per call (from the mode outwards,
  /// to the point where the remaining mass is below 1e-20), searched through a guide table:
  /// O(1) per variate after a set-up of O(sqrt(lambda)), and monotone in the uniform it inverts.
  prmInversion,
};

/// One stream of random numbers, with the variate methods that fill objects from it.
///
/// Obtained from TRandomGenerator::GetStream; it lives as long as its generator (or until the
/// generator's next SetStreamCount). Not safe for concurrent use.
class LUMEX_API TRngStream {
public:
  /// A stream of a brgXoshiro256 engine seeded with 0; streams are normally obtained from a
  /// TRandomGenerator.
  TRngStream();
  /// Releases the engine state.
  ~TRngStream();
  /// Not copyable: a stream is one position in one sequence.
  TRngStream(const TRngStream&) = delete;
  /// Not copyable.
  TRngStream& operator=(const TRngStream&) = delete;

  /// @name Continuous laws, real destination
  /// @{

  /// Fills dst with uniform numbers on [a, b).
  ///
  /// a + (b - a) u with u a multiple of 2^-53 in [0, 1); a value that rounds up to b becomes the
  /// largest number below b in the destination's precision. a = b gives all a.
  /// @param[out] dst  real vector or matrix, filled as sized.
  /// @param a, b      the interval, a <= b.
  /// @throws ELumexError "RandomUniform: a, b or b - a not finite"; "RandomUniform: a > b";
  ///   "RandomUniform: complex data not supported".
  void RandomUniform(TDenseLumex& dst, double a = 0.0, double b = 1.0);

  /// Fills dst with normal variates of mean mu and standard deviation sigma.
  /// @param[out] dst  real vector or matrix, filled as sized.
  /// @param mu        the mean.
  /// @param sigma     the standard deviation, >= 0.
  /// @param method    the algorithm, see TGaussRandMethod.
  /// @throws ELumexError "RandomGaussian: mu or sigma not finite"; "RandomGaussian: sigma < 0";
  ///   "RandomGaussian: unknown method"; "RandomGaussian: complex data not supported".
  void RandomGaussian(TDenseLumex& dst, double mu = 0.0, double sigma = 1.0,
                      TGaussRandMethod method = grmZiggurat);

  /// Fills dst with exponential variates on [displacement, Inf), by Boost's ziggurat.
  ///
  /// P(X <= x) = 1 - exp(-(x - displacement)/mean): `mean` is the mean above the displacement
  /// (a scale, not a rate).
  /// @param[out] dst      real vector or matrix, filled as sized.
  /// @param displacement  the lower end of the support.
  /// @param mean          the scale, >= 0.
  /// @throws ELumexError "RandomExponential: parameters not finite"; "RandomExponential: mean < 0";
  ///   "RandomExponential: complex data not supported".
  void RandomExponential(TDenseLumex& dst, double displacement, double mean);

  /// Fills dst with gamma variates: X = displacement + scale * G.
  ///
  /// G has density g^(a-1) e^(-g) / Gamma(a). Marsaglia-Tsang squeeze on the engine's normal
  /// and uniform variates; for a < 1, G(a) = G(a + 1) U^(1/a).
  /// @param[out] dst      real vector or matrix, filled as sized.
  /// @param shape         the shape a, > 0.
  /// @param displacement  the lower end of the support.
  /// @param scale         the scale, >= 0.
  /// @throws ELumexError "RandomGamma: parameters not finite"; "RandomGamma: shape <= 0";
  ///   "RandomGamma: scale < 0"; "RandomGamma: complex data not supported".
  void RandomGamma(TDenseLumex& dst, double shape, double displacement, double scale);

  /// Fills dst with beta variates on [displacement, displacement + scale].
  ///
  /// X = displacement + scale * G1/(G1 + G2), G1 ~ Gamma(a), G2 ~ Gamma(b); when a shape is
  /// below 1 the ratio is formed from the logarithms of the gamma variates, which would
  /// otherwise underflow.
  /// @param[out] dst      real vector or matrix, filled as sized.
  /// @param a, b          the shapes, > 0.
  /// @param displacement  the lower end of the support.
  /// @param scale         the width of the support, >= 0.
  /// @throws ELumexError "RandomBeta: parameters not finite"; "RandomBeta: (a <= 0) or (b <= 0)";
  ///   "RandomBeta: scale < 0"; "RandomBeta: complex data not supported".
  void RandomBeta(TDenseLumex& dst, double a, double b, double displacement, double scale);

  /// Fills dst with Cauchy variates: mu + b tan(pi (u - 1/2)), u in (0, 1).
  /// @param[out] dst  real vector or matrix, filled as sized.
  /// @param mu        the location (median).
  /// @param b         the scale (half the interquartile range), >= 0.
  /// @throws ELumexError "RandomCauchy: parameters not finite"; "RandomCauchy: b < 0";
  ///   "RandomCauchy: complex data not supported".
  void RandomCauchy(TDenseLumex& dst, double mu, double b);

  /// Fills dst with Gumbel variates of the largest extreme value: mu - beta ln(-ln u).
  ///
  /// P(X <= x) = exp(-exp(-(x - mu)/beta)); u in (0, 1).
  /// @param[out] dst  real vector or matrix, filled as sized.
  /// @param mu        the location (mode).
  /// @param beta      the scale, >= 0.
  /// @throws ELumexError "RandomGumbel: parameters not finite"; "RandomGumbel: beta < 0";
  ///   "RandomGumbel: complex data not supported".
  void RandomGumbel(TDenseLumex& dst, double mu, double beta);

  /// Fills dst with Laplace variates of density exp(-|x - mu|/b)/(2b), by inversion.
  /// @param[out] dst  real vector or matrix, filled as sized.
  /// @param mu        the location.
  /// @param b         the scale, >= 0.
  /// @throws ELumexError "RandomLaplace: parameters not finite"; "RandomLaplace: b < 0";
  ///   "RandomLaplace: complex data not supported".
  void RandomLaplace(TDenseLumex& dst, double mu, double b);

  /// Fills dst with Rayleigh variates on [displacement, Inf), by inversion.
  ///
  /// P(X <= x) = 1 - exp(-((x - displacement)/scale)^2), the Weibull law of shape 2. In the usual
  /// form with parameter sigma, P(X <= x) = 1 - exp(-x^2/(2 sigma^2)), the scale is
  /// sqrt(2) sigma.
  /// @param[out] dst      real vector or matrix, filled as sized.
  /// @param displacement  the lower end of the support.
  /// @param scale         the scale, >= 0.
  /// @throws ELumexError "RandomRayleigh: parameters not finite"; "RandomRayleigh: scale < 0";
  ///   "RandomRayleigh: complex data not supported".
  void RandomRayleigh(TDenseLumex& dst, double displacement, double scale);

  /// Fills dst with Weibull variates on [displacement, Inf), by inversion.
  ///
  /// P(X <= x) = 1 - exp(-((x - displacement)/scale)^shape).
  /// @param[out] dst      real vector or matrix, filled as sized.
  /// @param shape         the shape, > 0.
  /// @param displacement  the lower end of the support.
  /// @param scale         the scale, >= 0.
  /// @throws ELumexError "RandomWeibull: parameters not finite"; "RandomWeibull: shape <= 0";
  ///   "RandomWeibull: scale < 0"; "RandomWeibull: complex data not supported".
  void RandomWeibull(TDenseLumex& dst, double shape, double displacement, double scale);

  /// @}

  /// @name Discrete laws, integer destination
  /// @{

  /// Fills dst with Poisson variates of mean lambda.
  ///
  /// The bound lambda <= 1e9 keeps every value inside 32 bits. lambda = 0 gives all 0.
  /// @param[out] dst  a TVecInt, filled as sized.
  /// @param lambda    the mean, 0 <= lambda <= 1e9.
  /// @param method    the algorithm, see TPoissonRandMethod.
  /// @throws ELumexError "RandomPoisson: lambda not finite"; "RandomPoisson: lambda < 0";
  ///   "RandomPoisson: lambda > 1e9"; "RandomPoisson: unknown method";
  ///   "RandomPoisson: integer vector expected".
  void RandomPoisson(TLumexInt& dst, double lambda, TPoissonRandMethod method = prmPTRS);

  /// Fills dst with binomial variates: successes in n trials of probability p (Boost's BTRD).
  /// @param[out] dst  a TVecInt, filled as sized.
  /// @param n         the number of trials, 0 <= n < 2^31 - 1.
  /// @param p         the success probability, 0 <= p <= 1.
  /// @throws ELumexError "RandomBinomial: n < 0"; "RandomBinomial: n = 2147483647";
  ///   "RandomBinomial: (p < 0) or (p > 1)" (also for a NaN p);
  ///   "RandomBinomial: integer vector expected".
  void RandomBinomial(TLumexInt& dst, int n, double p);

  /// Fills dst with negative binomial variates: failures before the r-th success.
  ///
  /// P(X = k) = Gamma(r + k)/(Gamma(r) k!) p^r (1 - p)^k, for real r > 0. Drawn as a Poisson
  /// variate whose mean is a gamma variate of shape r and scale (1 - p)/p. p = 1 gives all 0.
  /// @param[out] dst  a TVecInt, filled as sized.
  /// @param r         the number of successes, real, > 0.
  /// @param p         the success probability, 0 < p <= 1.
  /// @throws ELumexError "RandomNegbinomial: parameters not finite";
  ///   "RandomNegbinomial: r <= 0"; "RandomNegbinomial: (p <= 0) or (p > 1)";
  ///   "RandomNegbinomial: integer vector expected"; and, while drawing, when a gamma mean
  ///   exceeds 1e9 (so that the value could leave 32 bits),
  ///   "RandomNegbinomial: value out of the 32-bit range" (the elements before it are written).
  void RandomNegbinomial(TLumexInt& dst, double r, double p);

  /// Fills dst with hypergeometric variates: successes among n draws without replacement.
  ///
  /// m items of which k are successes; support max(0, n + k - m) .. min(n, k). Inversion of
  /// the tabulated distribution function, as prmInversion.
  /// @param[out] dst  a TVecInt, filled as sized.
  /// @param m         the population size, >= 0.
  /// @param k         the successes in the population, 0 <= k <= m.
  /// @param n         the draws, 0 <= n <= m.
  /// @throws ELumexError "RandomHypergeometric: (m < 0) or (k < 0) or (n < 0)";
  ///   "RandomHypergeometric: (k > m) or (n > m)";
  ///   "RandomHypergeometric: integer vector expected".
  void RandomHypergeometric(TLumexInt& dst, int m, int k, int n);

  /// @}

  /// The next output of the engine, widened to 64 bits.
  /// @return  the raw output; a 32-bit engine gives values < 2^32.
  std::uint64_t NextRaw();

  /// Internal state; defined in random.cpp.
  struct TImpl;
  /// Internal: the engine state, for the library's own variate code.
  /// @return  the state.
  TImpl& Impl() { return *fImpl; }

private:
  std::unique_ptr<TImpl> fImpl;
};

/// A generator: a set of streams of one engine kind, seeded together.
///
/// Every stream of a generator is independent of the others; equal kind, seed and stream index
/// give equal output. Not safe for concurrent use; its distinct streams may be used from
/// different threads at the same time.
class LUMEX_API TRandomGenerator {
public:
  /// One stream of kind brgXoshiro256 with seed 0.
  TRandomGenerator();
  /// The generator that Init(kind, seed) and SetStreamCount(streamCount) would make, seeded once.
  /// @param kind         the engine kind.
  /// @param seed         the seed (all 2^32 values are distinct seeds).
  /// @param streamCount  the number of streams, >= 1.
  /// @throws ELumexError "Init: unknown generator kind"; "SetStreamCount: count < 1".
  TRandomGenerator(TBasicRandomGenerator kind, int seed, int streamCount = 1);
  /// Releases the streams.
  ~TRandomGenerator();
  /// Not copyable: streams are handed out by reference.
  TRandomGenerator(const TRandomGenerator&) = delete;
  /// Not copyable.
  TRandomGenerator& operator=(const TRandomGenerator&) = delete;

  /// Sets the number of streams and reseeds all of them with the current kind and seed.
  ///
  /// References to earlier streams become invalid.
  /// @param count  the number of streams, >= 1.
  /// @throws ELumexError "SetStreamCount: count < 1".
  void SetStreamCount(int count);
  /// The number of streams.
  /// @return  StreamCount, >= 1.
  int StreamCount() const noexcept { return static_cast<int>(fStreams.size()); }

  /// Reseeds every stream: stream i becomes stream i of `kind` for `seed`.
  ///
  /// All 2^32 values of the seed are distinct seeds (-1 among them). For the Mersenne twisters
  /// stream 0 is the engine seeded with the seed's 32 bits and stream i > 0 is seeded through
  /// Boost's seed_seq from (seed, i); for brgXoshiro256 stream i is 2^128 * i steps along.
  /// @param kind  the engine kind.
  /// @param seed  the seed.
  /// @throws ELumexError "Init: unknown generator kind".
  void Init(TBasicRandomGenerator kind, int seed);
  /// Init with the kind given by its ordinal (0, 1 or 2).
  /// @param kind  the ordinal of a TBasicRandomGenerator.
  /// @param seed  the seed.
  /// @throws ELumexError "Init: unknown generator kind".
  void Init(int kind, int seed);

  /// The engine kind of the streams.
  /// @return  the kind.
  TBasicRandomGenerator Kind() const noexcept { return fKind; }
  /// The seed of the last Init (0 for a default-made generator).
  /// @return  the seed.
  int Seed() const noexcept { return fSeed; }

  /// Stream `index` of the generator.
  /// @param index  0 <= index < StreamCount().
  /// @return       the stream, valid until the next SetStreamCount or the generator's end.
  /// @throws ELumexError "GetStream: index out of range".
  TRngStream& GetStream(int index);

private:
  void Reseed();
  std::vector<std::unique_ptr<TRngStream>> fStreams;
  TBasicRandomGenerator fKind = brgXoshiro256;
  int fSeed = 0;
};

/// @name The default source
/// Every thread draws from its own xoshiro256++ engine, so the functions below are thread-safe
/// without locks on the drawing path. The engines are seeded from one global seed: RandSeed(s)
/// makes the calling thread's engine the first stream of s, and every other thread, at its next
/// draw, takes the next unused stream of s (streams 2^128 steps apart, handed out in the order in
/// which the threads come to draw). Until RandSeed is called the global seed is 0: the default
/// source is deterministic, and a program that wants different numbers on every run seeds it
/// itself (for example from std::random_device).
/// @{

/// Reseeds the default source, as described above.
///
/// For seed < 2^32 the calling thread then draws exactly what stream 0 of a brgXoshiro256
/// generator initialised with that seed gives.
/// @param seed  the global seed.
LUMEX_API void RandSeed(std::uint64_t seed);

/// Fills dst with uniform numbers on [a, b) from the default source.
///
/// Rules as TRngStream::RandomUniform, with messages naming RandUniform.
/// @param[out] dst  real vector or matrix, single or double precision, filled as sized.
/// @param a, b      the interval, a <= b.
/// @throws ELumexError "RandUniform: a, b or b - a not finite"; "RandUniform: a > b";
///   "RandUniform: complex data not supported".
LUMEX_API void RandUniform(TDenseLumex& dst, double a = 0.0, double b = 1.0);

/// One uniform number on [0, 1) from the default source, a multiple of 2^-53.
/// @return  the number.
LUMEX_API double RandUniform();

/// Fills dst with normal numbers (ziggurat) from the default source.
///
/// Rules as TRngStream::RandomGaussian, with messages naming RandGauss.
/// @param[out] dst  real vector or matrix, filled as sized.
/// @param mu        the mean.
/// @param sigma     the standard deviation, >= 0.
/// @throws ELumexError "RandGauss: mu or sigma not finite"; "RandGauss: sigma < 0";
///   "RandGauss: complex data not supported".
LUMEX_API void RandGauss(TDenseLumex& dst, double mu = 0.0, double sigma = 1.0);

/// A fresh seed for a generator that was asked for one (Seed = -1 in the fitting routines).
///
/// A uniform number u on [0, 1) from the default source, round(u * 4294967295) (halves away
/// from zero) taken as a signed 32-bit integer (values from 2^31 on wrap to negative ones).
/// @return  the seed.
LUMEX_API int FreshSeed();

/// @}

}  // namespace lumex
