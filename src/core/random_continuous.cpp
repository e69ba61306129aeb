// Continuous variates of a stream other than the uniform and normal ones: exponential (Boost's
// ziggurat), gamma and beta (Marsaglia-Tsang), and the laws drawn by inverting their
// distribution function at an open-interval uniform (Cauchy, Gumbel, Laplace, Rayleigh,
// Weibull). Boost's uniform_01 can return exactly 0, which would send these inversions to
// infinity; UniformOpen never does.
#include <boost/random/exponential_distribution.hpp>

#include <cmath>

#include "core/random_engine.h"
#include "lumex/core/random.h"

namespace lumex {

namespace {

using detail::RaiseParam;
using detail::UniformOpen;

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }
bool Finite(double a, double b, double c) { return Finite(a, b) && std::isfinite(c); }

}  // namespace

void TRngStream::RandomExponential(TDenseLumex& dst, double displacement, double mean) {
  if (!Finite(displacement, mean)) RaiseParam("RandomExponential", "parameters not finite");
  if (mean < 0) RaiseParam("RandomExponential", "mean < 0");
  boost::random::exponential_distribution<double> unit(1.0);
  detail::FillReal(*this, dst, "RandomExponential",
                   [&](auto& eng) { return displacement + mean * unit(eng); });
}

void TRngStream::RandomGamma(TDenseLumex& dst, double shape, double displacement,
                             double scale) {
  if (!Finite(shape, displacement, scale)) RaiseParam("RandomGamma", "parameters not finite");
  if (shape <= 0) RaiseParam("RandomGamma", "shape <= 0");
  if (scale < 0) RaiseParam("RandomGamma", "scale < 0");
  const detail::TGammaSampler gamma(shape);
  detail::FillReal(*this, dst, "RandomGamma",
                   [&](auto& eng) { return displacement + scale * gamma(eng); });
}

void TRngStream::RandomBeta(TDenseLumex& dst, double a, double b, double displacement,
                            double scale) {
  if (!Finite(a, b) || !Finite(displacement, scale)) {
    RaiseParam("RandomBeta", "parameters not finite");
  }
  if (a <= 0 || b <= 0) RaiseParam("RandomBeta", "(a <= 0) or (b <= 0)");
  if (scale < 0) RaiseParam("RandomBeta", "scale < 0");
  const detail::TGammaSampler ga(a);
  const detail::TGammaSampler gb(b);
  if (a >= 1.0 && b >= 1.0) {
    // Gamma variates of shape >= 1 are never 0, so the ratio is always defined.
    detail::FillReal(*this, dst, "RandomBeta", [&](auto& eng) {
      const double x = ga(eng);
      const double y = gb(eng);
      return displacement + scale * (x / (x + y));
    });
  } else {
    // X = 1 / (1 + exp(ln G2 - ln G1)): finite where both G1 and G2 underflow.
    detail::FillReal(*this, dst, "RandomBeta", [&](auto& eng) {
      const double lx = ga.Log(eng);
      const double ly = gb.Log(eng);
      return displacement + scale / (1.0 + std::exp(ly - lx));
    });
  }
}

void TRngStream::RandomCauchy(TDenseLumex& dst, double mu, double b) {
  if (!Finite(mu, b)) RaiseParam("RandomCauchy", "parameters not finite");
  if (b < 0) RaiseParam("RandomCauchy", "b < 0");
  detail::FillReal(*this, dst, "RandomCauchy", [&](auto& eng) {
    return mu + b * std::tan(PI * (UniformOpen(eng) - 0.5));
  });
}

void TRngStream::RandomGumbel(TDenseLumex& dst, double mu, double beta) {
  if (!Finite(mu, beta)) RaiseParam("RandomGumbel", "parameters not finite");
  if (beta < 0) RaiseParam("RandomGumbel", "beta < 0");
  detail::FillReal(*this, dst, "RandomGumbel", [&](auto& eng) {
    return mu - beta * std::log(-std::log(UniformOpen(eng)));
  });
}

void TRngStream::RandomLaplace(TDenseLumex& dst, double mu, double b) {
  if (!Finite(mu, b)) RaiseParam("RandomLaplace", "parameters not finite");
  if (b < 0) RaiseParam("RandomLaplace", "b < 0");
  // Each half of the law is an exponential tail holding mass 1/2; 2u (or 2(1 - u)) is a uniform
  // on (0, 1) for the half that u selects.
  detail::FillReal(*this, dst, "RandomLaplace", [&](auto& eng) {
    const double u = UniformOpen(eng);
    return u < 0.5 ? mu + b * std::log(2.0 * u) : mu - b * std::log(2.0 * (1.0 - u));
  });
}

void TRngStream::RandomRayleigh(TDenseLumex& dst, double displacement, double scale) {
  if (!Finite(displacement, scale)) RaiseParam("RandomRayleigh", "parameters not finite");
  if (scale < 0) RaiseParam("RandomRayleigh", "scale < 0");
  detail::FillReal(*this, dst, "RandomRayleigh", [&](auto& eng) {
    return displacement + scale * std::sqrt(-std::log(UniformOpen(eng)));
  });
}

void TRngStream::RandomWeibull(TDenseLumex& dst, double shape, double displacement,
                               double scale) {
  if (!Finite(shape, displacement, scale)) RaiseParam("RandomWeibull", "parameters not finite");
  if (shape <= 0) RaiseParam("RandomWeibull", "shape <= 0");
  if (scale < 0) RaiseParam("RandomWeibull", "scale < 0");
  const double inv = 1.0 / shape;
  detail::FillReal(*this, dst, "RandomWeibull", [&](auto& eng) {
    return displacement + scale * std::pow(-std::log(UniformOpen(eng)), inv);
  });
}

}  // namespace lumex
