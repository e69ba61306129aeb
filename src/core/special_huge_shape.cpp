// The incomplete gamma and beta functions at shapes of kHugeShape and more: Temme's uniform
// asymptotic form and the saddlepoint form of Lugannani and Rice, each with its inverse.
#include "core/special_huge_shape.h"

#include <boost/math/special_functions/log1p.hpp>
#include <cmath>

#include "core/math_policy.h"
#include "lumex/core/probability.h"

namespace lumex::detail {

// Temme's uniform asymptotic form of the incomplete gamma function, truncated after its first
// correction. With e = (z - a)/a and eta = sign(e) sqrt(2 (e - ln(1 + e))), w = eta sqrt(a):
//   Q(a, z) = Phi(-w) + phi(w) c0(eta) / sqrt(a),   P(a, z) = Phi(w) - phi(w) c0(eta) / sqrt(a),
// with c0(eta) = 1/e - 1/eta (the Lugannani-Rice form of the gamma law). The next term is c1/a
// times the last one, below 1e-19 absolute from a shape of 1e10 on. Near eta = 0 the two terms
// of c0 cancel; there its Taylor series is used, whose first five terms leave an error below
// 2e-14 * 1e-5 in the probability for |eta| < 0.01. e is formed from z - a, exact within a
// factor of two of a, and e - ln(1 + e) by log1pmx, so the deviance keeps its digits.
double HugeShapeGamma(double z, double a, bool upper) {
  if (z <= 0.0) return upper ? 1.0 : 0.0;
  if (z == Inf) return upper ? 0.0 : 1.0;
  const double e = (z - a) / a;
  const double eta = std::copysign(std::sqrt(-2.0 * boost::math::log1pmx(e, TMathPolicy())), e);
  const double w = eta * std::sqrt(a);
  double c0;
  if (std::fabs(eta) < 0.01) {
    c0 = -1.0 / 3 + eta * (1.0 / 12 + eta * (-2.0 / 135 + eta * (1.0 / 864 + eta / 2835)));
  } else {
    c0 = 1.0 / e - 1.0 / eta;
  }
  const double correction = NormalPDF(w) * c0 / std::sqrt(a);
  return upper ? NormalCDFUpper(w) + correction : NormalCDF(w) - correction;
}

namespace {
// The point in [lo, hi] where tail(x, upper) (the lower tail when !upper, rising in x; the upper
// one falling) equals p, by bisection down to adjacent doubles. The smaller tail is matched, so
// that probabilities near 1 keep their complements. The saddlepoint forms cost a few logarithms,
// and halving (0, 1) takes at most about 1100 steps.
template <class Tail>
double BisectTail(double p, bool upper, double lo, double hi, Tail&& tail) {
  if (p > 0.5) {
    p = 1.0 - p;
    upper = !upper;
  }
  for (int i = 0; i < 2000; ++i) {
    const double mid = 0.5 * (lo + hi);
    if (mid <= lo || mid >= hi) break;
    const double q = tail(mid, upper);
    if (upper ? q > p : q < p) lo = mid;
    else hi = mid;
  }
  return 0.5 * (lo + hi);
}
}  // namespace

// At shapes of 1e10 and more every quantile of a positive p lies within a (1 +- 1e-3) (|w| <= 39
// there): about 45 halvings.
double HugeShapeGammaInv(double p, double a, bool upper) {
  return BisectTail(p, upper, a * (1.0 - 1e-3), a * (1.0 + 1e-3),
                    [a](double z, bool up) { return HugeShapeGamma(z, a, up); });
}

// The saddlepoint approximation of Lugannani and Rice, accurate to O((a + b)^-3/2), below 1e-15
// for shapes of kHugeShape and more. X <= x exactly when Y = (1 - x) G_a - x G_b <= 0, G_a and
// G_b independent gamma variates, and the cumulant generating function of Y has its saddlepoint
// in closed form. With n = a + b, mu = a / n, s = sqrt(mu (1 - mu)) and t = x - mu:
//   eta = sign(t) sqrt(2 [mu g(t / mu) + (1 - mu) g(-t / (1 - mu))]),  g(e) = e - ln(1 + e),
//   w = eta sqrt(n),  C = 1/eta - s/t  (that is, sqrt(n) (1/w - 1/u) with u = sqrt(n) t / s),
//   I_x(a, b) = Phi(w) + phi(w) C / sqrt(n),  1 - I_x(a, b) = Phi(-w) - phi(w) C / sqrt(n).
// Written with g, the deviance keeps its digits where a ln(mu/x) and b ln((1-mu)/(1-x)) would
// cancel. Near t = 0 the two terms of C cancel (3e-14 was lost at a = b = 1e10); there, with
// eta = (t / s) h and h^2 = 1 + 2 (t / s) S,
//   C = -2 S / ((1 + h) h),
//   S = s^3 sum over k >= 3 of t^(k-3) [(-1)^k mu^(1-k) + (1-mu)^(1-k)] / k,
// the series of the deviance with its first term taken out, whose ratios t/mu and t/(1-mu) stay
// below 0.1 there, so that 18 terms reach 1e-18.
double HugeShapeBeta(double x, double a, double b, bool upper) {
  const double n = a + b;
  const double mu = a / n;
  // x - mu as (n x - a) / n with one rounding: the rounding of mu itself would otherwise be a
  // relative error of eps mu / |x - mu| in t, 1e-9 at shapes of 1e13.
  const double t = std::fma(x, n, -a) / n;
  auto g = [](double e) { return -boost::math::log1pmx(e, TMathPolicy()); };
  const double eta =
      std::copysign(std::sqrt(2.0 * (mu * g(t / mu) + (1.0 - mu) * g(-t / (1.0 - mu)))), t);
  const double w = eta * std::sqrt(n);
  const double s = std::sqrt(mu * (1.0 - mu));
  double c;
  if (std::fabs(t) < 0.1 * std::fmin(mu, 1.0 - mu)) {
    double alpha = -(1.0 - mu) * std::sqrt((1.0 - mu) / mu);  // s^3 (-1)^k mu^(1-k), k = 3
    double beta = mu * std::sqrt(mu / (1.0 - mu));            // s^3 (1-mu)^(1-k)
    double sum = 0.0;
    for (int k = 3; k < 21; ++k) {
      sum += (alpha + beta) / k;
      alpha *= -t / mu;
      beta *= t / (1.0 - mu);
    }
    const double h = std::sqrt(1.0 + 2.0 * (t / s) * sum);
    c = -2.0 * sum / ((1.0 + h) * h);
  } else {
    c = 1.0 / eta - s / t;
  }
  const double correction = NormalPDF(w) * c / std::sqrt(n);
  return upper ? NormalCDFUpper(w) - correction : NormalCDF(w) + correction;
}

// Bisection over (0, 1), in far fewer steps than the bound away from 0.
double HugeShapeBetaInv(double p, double a, double b) {
  return BisectTail(p, false, 0.0, 1.0,
                    [a, b](double x, bool up) { return HugeShapeBeta(x, a, b, up); });
}

}  // namespace lumex::detail
