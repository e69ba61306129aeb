// Special functions over Boost.Math under the library's error policy.
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/trigamma.hpp>
#include <algorithm>
#include <cmath>

#include "core/math_policy.h"
#include "core/prob_internal.h"
#include "lumex/core/probability.h"

namespace lumex {

namespace {

// 0 and the negative integers: the poles of Gamma and of its logarithmic derivatives.
bool IsPole(double x) { return x <= 0.0 && x == std::floor(x); }

// |sin(pi x)| from x - floor(x), which is exact, folded into [0, 1/2].
double AbsSinPi(double x) {
  const double r = x - std::floor(x);
  return std::sin(PI * std::min(r, 1.0 - r));
}

// Boost's reflection for negative arguments converts floor(x) to int, which overflows below
// -2^31. Gamma underflows long before that (|Gamma(x)| < 1e-330 below -200), so it is a signed
// zero there; ln |Gamma| and the trigamma function come from their reflection formulas.
constexpr double kUnderflowBelow = -200.0;
constexpr double kReflectBelow = -1e9;

}  // namespace

double Gamma(double x) {
  if (std::isnan(x) || IsPole(x)) return NaN;
  if (x == Inf) return Inf;
  if (x == -Inf) return NaN;
  // Gamma is positive on (-2k, -2k + 1) and negative on (-2k - 1, -2k).
  if (x < kUnderflowBelow) return std::fmod(std::floor(x), 2.0) == 0.0 ? 0.0 : -0.0;
  return boost::math::tgamma(x, detail::TMathPolicy());
}

double LnGamma(double x) {
  if (std::isnan(x)) return NaN;
  if (IsPole(x) || std::isinf(x)) return Inf;
  if (x < kReflectBelow) {
    // ln |Gamma(x)| = ln(pi / |sin(pi x)|) - ln Gamma(1 - x)
    return std::log(PI / AbsSinPi(x)) - LnGamma(1.0 - x);
  }
  return boost::math::lgamma(x, detail::TMathPolicy());
}

double trigamma(double x) {
  if (std::isnan(x) || x == -Inf) return NaN;
  if (IsPole(x)) return Inf;
  if (x == Inf) return 0.0;
  if (x < kReflectBelow) {
    // psi'(x) = pi^2 / sin^2(pi x) - psi'(1 - x)
    const double s = AbsSinPi(x);
    return PI * PI / (s * s) - trigamma(1.0 - x);
  }
  return boost::math::trigamma(x, detail::TMathPolicy());
}

double Erf(double x) { return boost::math::erf(x, detail::TMathPolicy()); }

double Erfc(double x) { return boost::math::erfc(x, detail::TMathPolicy()); }

double ErfInv(double x) {
  if (!(x >= -1.0 && x <= 1.0)) return NaN;
  if (x == 1.0) return Inf;
  if (x == -1.0) return -Inf;
  return boost::math::erf_inv(x, detail::TMathPolicy());
}

}  // namespace lumex
