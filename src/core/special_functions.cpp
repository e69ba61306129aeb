// Special functions over Boost.Math under the library's error policy.
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <boost/math/special_functions/trigamma.hpp>
#include <cmath>

#include "core/math_policy.h"
#include "core/prob_internal.h"
#include "lumex/core/probability.h"

namespace lumex {

namespace {

// 0 and the negative integers: the poles of Gamma and of its logarithmic derivatives.
bool IsPole(double x) { return x <= 0.0 && x == std::floor(x); }

}  // namespace

double Gamma(double x) {
  if (std::isnan(x) || IsPole(x)) return NaN;
  if (x == Inf) return Inf;
  if (x == -Inf) return NaN;
  return boost::math::tgamma(x, detail::TMathPolicy());
}

double LnGamma(double x) {
  if (std::isnan(x)) return NaN;
  if (IsPole(x) || std::isinf(x)) return Inf;
  return boost::math::lgamma(x, detail::TMathPolicy());
}

double trigamma(double x) {
  if (std::isnan(x) || x == -Inf) return NaN;
  if (IsPole(x)) return Inf;
  if (x == Inf) return 0.0;
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
