// Discrete variates of a stream: Poisson and binomial (Boost.Random), negative binomial as a
// gamma mixture of Poisson variates, and table inversion for the hypergeometric law and the
// second Poisson method.
#include <boost/random/binomial_distribution.hpp>
#include <boost/random/poisson_distribution.hpp>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <vector>

#include "core/random_engine.h"
#include "lumex/core/random.h"

namespace lumex {

namespace {

using detail::RaiseParam;

// The largest mean whose values stay inside 32-bit integers with overwhelming probability: at
// lambda = 1e9 the standard deviation is about 3.2e4, while 2^31 - 1 lies 3.5e4 deviations up.
constexpr double kMaxMean = 1e9;

// A discrete law over the integers lo .. hi tabulated for inversion. The masses are built from
// the mode outwards by the ratios of neighbouring masses (no factorials, no overflow) and the
// table stops where a mass falls below 1e-20 of the mode's: for these log-concave laws the mass
// left out is far below the resolution 2^-53 of the uniform that is inverted. A guide table
// (Chen and Asau) points each of G equal slices of [0, 1) at the first entry that can hold its
// uniforms, so a search takes O(1) steps on average.
class TDiscreteTable {
public:
  // up(k) = P(k + 1)/P(k), down(k) = P(k - 1)/P(k).
  template <class Up, class Down>
  TDiscreteTable(std::int64_t lo, std::int64_t hi, std::int64_t mode, Up up, Down down) {
    constexpr double kCut = 1e-20;
    std::vector<double> below;  // masses at mode - 1, mode - 2, ...
    double w = 1.0;
    for (std::int64_t k = mode; k > lo; --k) {
      w *= down(k);
      if (w < kCut) break;
      below.push_back(w);
    }
    fLo = mode - static_cast<std::int64_t>(below.size());
    fCdf.assign(below.rbegin(), below.rend());
    fCdf.push_back(1.0);
    w = 1.0;
    for (std::int64_t k = mode; k < hi; ++k) {
      w *= up(k);
      if (w < kCut) break;
      fCdf.push_back(w);
    }
    // Masses to distribution function; the last entry is exactly 1 so that every u < 1 is found.
    double total = 0.0;
    for (double& c : fCdf) {
      total += c;
      c = total;
    }
    for (double& c : fCdf) c /= total;
    fCdf.back() = 1.0;
    const std::size_t g = fCdf.size();
    fGuide.resize(g);
    std::size_t i = 0;
    for (std::size_t j = 0; j < g; ++j) {
      const double edge = static_cast<double>(j) / static_cast<double>(g);
      while (fCdf[i] <= edge) ++i;
      fGuide[j] = static_cast<std::uint32_t>(i);
    }
  }

  template <class Eng>
  std::int32_t operator()(Eng& eng) const {
    const double u = detail::Uniform01(eng);
    std::size_t i = fGuide[static_cast<std::size_t>(u * static_cast<double>(fGuide.size()))];
    while (fCdf[i] <= u) ++i;
    return static_cast<std::int32_t>(fLo + static_cast<std::int64_t>(i));
  }

private:
  std::int64_t fLo = 0;
  std::vector<double> fCdf;
  std::vector<std::uint32_t> fGuide;
};

void FillConstant(TRngStream& s, TLumexInt& dst, const char* method, std::int32_t value) {
  detail::FillInt(s, dst, method, [value](auto&) { return value; });
}

}  // namespace

void TRngStream::RandomPoisson(TLumexInt& dst, double lambda, TPoissonRandMethod method) {
  if (!std::isfinite(lambda)) RaiseParam("RandomPoisson", "lambda not finite");
  if (lambda < 0) RaiseParam("RandomPoisson", "lambda < 0");
  if (lambda > kMaxMean) RaiseParam("RandomPoisson", "lambda > 1e9");
  if (method != prmPTRS && method != prmInversion) {
    RaiseParam("RandomPoisson", "unknown method");
  }
  if (lambda == 0) {
    FillConstant(*this, dst, "RandomPoisson", 0);
  } else if (method == prmPTRS) {
    boost::random::poisson_distribution<std::int32_t, double> poisson(lambda);
    detail::FillInt(*this, dst, "RandomPoisson", [&](auto& eng) { return poisson(eng); });
  } else {
    const auto mode = static_cast<std::int64_t>(std::floor(lambda));
    const TDiscreteTable table(
        0, static_cast<std::int64_t>(kMaxMean * 3), mode,
        [lambda](std::int64_t k) { return lambda / static_cast<double>(k + 1); },
        [lambda](std::int64_t k) { return static_cast<double>(k) / lambda; });
    detail::FillInt(*this, dst, "RandomPoisson", [&](auto& eng) { return table(eng); });
  }
}

void TRngStream::RandomBinomial(TLumexInt& dst, int n, double p) {
  if (n < 0) RaiseParam("RandomBinomial", "n < 0");
  // The sampler works with n + 1, which must stay a 32-bit integer.
  if (n == std::numeric_limits<int>::max()) RaiseParam("RandomBinomial", "n = 2147483647");
  if (!(p >= 0 && p <= 1)) RaiseParam("RandomBinomial", "(p < 0) or (p > 1)");
  if (n == 0 || p == 0) {
    FillConstant(*this, dst, "RandomBinomial", 0);
  } else if (p == 1) {
    FillConstant(*this, dst, "RandomBinomial", n);
  } else {
    boost::random::binomial_distribution<std::int32_t, double> binomial(n, p);
    detail::FillInt(*this, dst, "RandomBinomial", [&](auto& eng) { return binomial(eng); });
  }
}

void TRngStream::RandomNegbinomial(TLumexInt& dst, double r, double p) {
  if (!std::isfinite(r) || !std::isfinite(p)) {
    RaiseParam("RandomNegbinomial", "parameters not finite");
  }
  if (r <= 0) RaiseParam("RandomNegbinomial", "r <= 0");
  if (!(p > 0 && p <= 1)) RaiseParam("RandomNegbinomial", "(p <= 0) or (p > 1)");
  if (p == 1) {
    FillConstant(*this, dst, "RandomNegbinomial", 0);
    return;
  }
  // Given a gamma(r, (1 - p)/p) mean, the count is Poisson: integrating the mean out gives the
  // negative binomial law for any real r > 0.
  const double scale = (1.0 - p) / p;
  const detail::TGammaSampler gamma(r);
  detail::FillInt(*this, dst, "RandomNegbinomial", [&](auto& eng) -> std::int32_t {
    const double lambda = scale * gamma(eng);
    if (lambda > kMaxMean) RaiseParam("RandomNegbinomial", "value out of the 32-bit range");
    if (!(lambda > 0)) return 0;
    return boost::random::poisson_distribution<std::int32_t, double>(lambda)(eng);
  });
}

void TRngStream::RandomHypergeometric(TLumexInt& dst, int m, int k, int n) {
  if (m < 0 || k < 0 || n < 0) {
    RaiseParam("RandomHypergeometric", "(m < 0) or (k < 0) or (n < 0)");
  }
  if (k > m || n > m) RaiseParam("RandomHypergeometric", "(k > m) or (n > m)");
  const double M = m;
  const double K = k;
  const double N = n;
  const std::int64_t lo = std::max<std::int64_t>(0, std::int64_t(n) + k - m);
  const std::int64_t hi = std::min(n, k);
  const auto mode = std::clamp(
      static_cast<std::int64_t>(std::floor((N + 1.0) * (K + 1.0) / (M + 2.0))), lo, hi);
  // P(x + 1)/P(x) = (K - x)(N - x) / ((x + 1)(M - K - N + x + 1)).
  const TDiscreteTable table(
      lo, hi, mode,
      [=](std::int64_t x) {
        const double X = static_cast<double>(x);
        return (K - X) * (N - X) / ((X + 1.0) * (M - K - N + X + 1.0));
      },
      [=](std::int64_t x) {
        const double X = static_cast<double>(x);
        return X * (M - K - N + X) / ((K - X + 1.0) * (N - X + 1.0));
      });
  detail::FillInt(*this, dst, "RandomHypergeometric", [&](auto& eng) { return table(eng); });
}

}  // namespace lumex
