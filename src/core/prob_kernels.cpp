// The incomplete beta and gamma kernels for moderate shapes, and the normal quantile.
#include "core/prob_kernels.h"

#include <boost/math/special_functions/beta.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <boost/math/special_functions/gamma.hpp>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/dispatch.h"
#include "core/math_policy.h"

namespace lumex::detail {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kMaxTerms = 400;   // continued-fraction and series terms before giving up
constexpr int kMaxSteps = 40;    // quantile iterations before giving up
constexpr double kSettled = 2.2e-16;  // relative change of a converging sum or fraction

bool InKernelRange(double s) { return s >= kKernelMinShape && s <= kKernelMaxShape; }

// Convergents grow or shrink geometrically; they are rescaled only when they leave
// [1/bound, bound] (bound kRescaleAbove unless said), so that no division sits in the chain of
// the recurrence.
constexpr double kRescaleAbove = 1e200;

void Rescale(double& A2, double& B2, double& A1, double& B1, double bound = kRescaleAbove) {
  const double m = std::fabs(B1);
  if (m > bound || m < 1.0 / bound) {
    const double inv = 1.0 / m;
    A2 *= inv, B2 *= inv, A1 *= inv, B1 *= inv;
  }
}

// The continued fraction of I_x(a, b) (Abramowitz and Stegun 26.5.8),
//   I_x(a, b) = x^a y^b / (a B(a, b)) / (1 + d1 / (1 + d2 / (1 + ...))),
//   d(2m+1) = -(a + m)(a + b + m) x / ((a + 2m)(a + 2m + 1)),
//   d(2m)   = m (b - m) x / ((a + 2m - 1)(a + 2m)),
// by the forward recurrence of its convergents. It settles in O(sqrt(max(a, b))) terms for x
// below (a + 1)/(a + b + 2). NaN when it does not settle.
double BetaFraction(double x, double a, double b) {
  // Convergents A/B of 1 / (1 + d1 / (1 + ...)): (A, B) at the last two orders.
  double A2 = 0.0, B2 = 1.0, A1 = 1.0, B1 = 1.0;
  double h = 1.0;
  for (int m = 0; m < kMaxTerms; ++m) {
    // one division for both coefficients: the denominators share a + 2m + 1
    const double am = a + m, a2m = a + 2.0 * m, m1 = m + 1.0;
    const double inv = x / (a2m * (a2m + 1.0) * (a2m + 2.0));
    const double dOdd = -(am * (am + b)) * (a2m + 2.0) * inv;
    const double dEven = m1 * (b - m1) * a2m * inv;
    double A = A1 + dOdd * A2, B = B1 + dOdd * B2;
    A2 = A1, B2 = B1, A1 = A, B1 = B;
    A = A1 + dEven * A2, B = B1 + dEven * B2;
    A2 = A1, B2 = B1, A1 = A, B1 = B;
    const double next = A1 / B1;
    if (!std::isfinite(next)) return std::numeric_limits<double>::quiet_NaN();
    if (std::fabs(next - h) <= kSettled * std::fabs(next)) return next;
    h = next;
    Rescale(A2, B2, A1, B1);
  }
  return std::numeric_limits<double>::quiet_NaN();
}

// sum_n z^n / ((a + 1)...(a + n)), the series of P(a, z) = z^a e^-z / Gamma(a + 1) * sum, two
// terms a step: the step's factors are formed beside the recurrence, which is then one product
// (and the sum one addition) long.
double GammaSeries(double z, double a) {
  double term = 1.0, sum = 1.0;
  for (int n = 1; n < kMaxTerms; n += 2) {
    const double an = a + n;
    const double r = z / (an * (an + 1.0));
    const double first = (an + 1.0) * r;  // z / (a + n)
    const double second = first * (an * r);  // z^2 / ((a + n)(a + n + 1))
    const double t1 = term * first;
    term *= second;
    sum += t1 + term;
    if (term <= kSettled * sum) return sum;
  }
  return std::numeric_limits<double>::quiet_NaN();
}

// Legendre's continued fraction Q(a, z) = z^a e^-z / Gamma(a) * h,
//   h = 1 / (b0 + a1 / (b1 + a2 / (b2 + ...))),  b_j = z + 2j + 1 - a,  a_j = -j (j - a),
// which settles quickly for z >= a + 1 (there every b_j > 0). Its convergents A_j / B_j follow
// A_j = b_j A_(j-1) + a_j A_(j-2); two such steps, with A_(j-2) eliminated, give
//   A_(j+1) = P_j A_(j-1) + R_j A_(j-3),
//   P_j = b_(j+1) b_j + a_(j+1) + b_(j+1) a_j / b_(j-1),  R_j = -b_(j+1) a_j a_(j-1) / b_(j-1),
// one product and one sum of it per two terms. The convergents are kept scaled by
// S_(j+1) = b_(j-1) S_(j-1), which clears the division from both coefficients (R picks up the
// previous step's b_(j-1), the ratio S_(j-1) / S_(j-3)), and two of them are compared by cross
// products, so that no step divides; they are renormalised when they leave [1e-100, 1e100],
// where the cross products cannot overflow.
// a_j of Legendre's fraction, and the bound beyond which its convergents are renormalised.
inline double FractionA(double j, double a) { return -j * (j - a); }
constexpr double kFractionRescale = 1e100;

double GammaFraction(double z, double a) {
  const auto b = [&](double j) { return z + 2.0 * j + 1.0 - a; };
  const auto an = [&](double j) { return FractionA(j, a); };
  // A_(-1)/B_(-1) = 0/1, A_0/B_0 = 1/b0, then A_1/B_1 by one plain step.
  double A3 = 0.0, B3 = 1.0;
  double A1 = b(1.0), B1 = b(1.0) * b(0.0) + an(1.0);
  double bmPrev = 1.0;
  for (int j = 2; j < kMaxTerms; j += 2) {
    const double bm = b(j - 1.0), b0 = b(j), bp = b(j + 1.0);
    const double bpaj = bp * an(j);
    const double P = bm * (bp * b0 + an(j + 1.0)) + bpaj;
    const double R = -bpaj * an(j - 1.0) * bmPrev;
    const double A = P * A1 + R * A3, B = P * B1 + R * B3;
    A3 = A1, B3 = B1, A1 = A, B1 = B;
    // A1/B1 and A3/B3 agree to kSettled: |A1 B3 - A3 B1| <= kSettled |A1 B3|
    const double cross = A1 * B3;
    if (!std::isfinite(cross)) return std::numeric_limits<double>::quiet_NaN();
    if (std::fabs(cross - A3 * B1) <= kSettled * std::fabs(cross)) return A1 / B1;
    bmPrev = bm;
    Rescale(A3, B3, A1, B1, kFractionRescale);
  }
  return std::numeric_limits<double>::quiet_NaN();
}

#ifdef LUMEX_AVX2_COPIES
// GammaSeries and GammaFraction at four points side by side, one lane each, compiled for AVX2:
// every lane runs the scalar routine's operations in the same order and keeps the value of the
// step at which its own test is met, so that each result has the scalar routine's bits; the
// loop runs until the last lane settles.
using TLanes = double __attribute__((vector_size(32)));
using TLaneMask = std::int64_t __attribute__((vector_size(32)));

[[gnu::target("avx2"), gnu::always_inline]] inline TLanes LaneAbs(TLanes v) {
  return v < 0.0 ? -v : v;
}
[[gnu::target("avx2"), gnu::always_inline]] inline bool AnyLane(TLaneMask m) {
  return (m[0] | m[1] | m[2] | m[3]) != 0;
}

[[gnu::target("avx2"), gnu::always_inline]] inline TLanes GammaSeriesLanes(TLanes z, double a) {
  TLanes term = {1.0, 1.0, 1.0, 1.0}, sum = term;
  TLanes result = {kNaN, kNaN, kNaN, kNaN};
  TLaneMask active = {-1, -1, -1, -1};
  for (int n = 1; n < kMaxTerms && AnyLane(active); n += 2) {
    const double an = a + n;
    const TLanes r = z / (an * (an + 1.0));
    const TLanes first = (an + 1.0) * r;
    const TLanes second = first * (an * r);
    const TLanes t1 = term * first;
    term *= second;
    sum += t1 + term;
    const TLaneMask settled = active & (term <= kSettled * sum);
    result = settled ? sum : result;
    active &= ~settled;
  }
  return result;
}

// b_j of Legendre's fraction, as GammaFraction forms it.
[[gnu::target("avx2"), gnu::always_inline]] inline TLanes FractionB(TLanes z, double j,
                                                                    double a) {
  return z + 2.0 * j + 1.0 - a;
}
[[gnu::target("avx2"), gnu::always_inline]] inline TLanes GammaFractionLanes(TLanes z, double a) {
  TLanes A3 = {0.0, 0.0, 0.0, 0.0}, B3 = {1.0, 1.0, 1.0, 1.0};
  TLanes A1 = FractionB(z, 1.0, a), B1 = FractionB(z, 1.0, a) * FractionB(z, 0.0, a) +
                                         FractionA(1.0, a);
  TLanes bmPrev = {1.0, 1.0, 1.0, 1.0};
  TLanes result = {kNaN, kNaN, kNaN, kNaN};
  TLaneMask active = {-1, -1, -1, -1};
  for (int j = 2; j < kMaxTerms && AnyLane(active); j += 2) {
    const TLanes bm = FractionB(z, j - 1.0, a), b0 = FractionB(z, j, a),
                 bp = FractionB(z, j + 1.0, a);
    const TLanes bpaj = bp * FractionA(j, a);
    const TLanes P = bm * (bp * b0 + FractionA(j + 1.0, a)) + bpaj;
    const TLanes R = -bpaj * FractionA(j - 1.0, a) * bmPrev;
    const TLanes A = P * A1 + R * A3, B = P * B1 + R * B3;
    A3 = A1, B3 = B1, A1 = A, B1 = B;
    const TLanes cross = A1 * B3;
    const TLaneMask finite = (cross - cross) == 0.0;
    const TLaneMask settled = finite & (LaneAbs(cross - A3 * B1) <= kSettled * LaneAbs(cross));
    const TLanes nan = {kNaN, kNaN, kNaN, kNaN};
    result = (active & settled) ? A1 / B1 : (active & ~finite) ? nan : result;
    active &= finite & ~settled;
    bmPrev = bm;
    // Rescale, lane by lane: a factor of 1 leaves the others unchanged
    const TLanes m = LaneAbs(B1);
    const TLanes one = {1.0, 1.0, 1.0, 1.0};
    const TLaneMask far = (m > kFractionRescale) | (m < 1.0 / kFractionRescale);
    const TLanes inv = far ? one / m : one;
    A3 *= inv, B3 *= inv, A1 *= inv, B1 *= inv;
  }
  return result;
}

// out[i] = GammaSeries(z[i], a), or GammaFraction, four points at a time (the last group
// padded with its first point).
template <bool kSeries>
[[gnu::target("avx2")]] void GammaLanesMany(const double* z, int n, double a, double* out) {
  for (int i = 0; i < n; i += 4) {
    const int k = std::min(4, n - i);
    TLanes v;
    for (int l = 0; l < 4; ++l) v[l] = z[i + (l < k ? l : 0)];
    const TLanes r = kSeries ? GammaSeriesLanes(v, a) : GammaFractionLanes(v, a);
    for (int l = 0; l < k; ++l) out[i + l] = r[l];
  }
}
#endif

// One safeguarded Halley step for g(v) = 0 inside the bracket (lo, hi), from g, its derivative
// dg and the ratio g''/g'. A step that moves v by little enough relative to `scale` (v, or its
// distance to the upper end of a bounded support) ends the iteration (`done`): the error left
// after a Halley step of relative size s is of order s^3 (times the square of the shapes at
// most), after a Newton step s^2, so 1e-6 and 1e-11 leave it below the rounding of the tail.
// A step leaving the bracket bisects it instead (geometrically when its ends are far apart).
double HalleyStep(double v, double g, double dg, double curvature, double lo, double hi,
                  double scale, bool& done) {
  double step = g / dg;
  const double damp = 1.0 - 0.5 * step * curvature;
  const bool halley = damp > 0.5 && damp < 2.0;  // else Newton's step: Halley's is unreliable
  if (halley) step /= damp;
  double next = v - step;
  done = std::fabs(step) <= (halley ? 1e-6 : 1e-11) * scale;
  if (next > lo && next < hi) return next;
  if (done) return v;  // a last correction across an end of the bracket: v is closer
  if (hi == kInf) return 2.0 * std::fmax(v, lo);
  if (lo > 0.0 && hi > 4.0 * lo) return std::sqrt(lo * hi);
  if (lo == 0.0) return 0.25 * v;
  return 0.5 * (lo + hi);
}

}  // namespace

TBetaPoint BetaPointFromRatio(double ph, double pl, double q) {
  const double s = ph + q;
  const double bv = s - ph;
  const double e = ((ph - (s - bv)) + (q - bv)) + pl;  // s + e = ph + pl + q
  const double x = ph / s;
  const double y = q / s;
  const double rx = std::fma(-x, s, ph);  // x s + rx = ph exactly
  const double ry = std::fma(-y, s, q);
  const double es = e / s;
  return {x, y, ph != 0.0 ? (rx + pl) / ph - es : 0.0, ry / q - es};
}

TBetaPoint BetaPointFromX(double x) {
  const double y = 1.0 - x;
  const double err = -x - (y - 1.0);  // exact: 1 - x = y + err
  return {x, y, 0.0, y > 0.0 ? err / y : 0.0};
}

// ---- Beta ---------------------------------------------------------------------------------------

constexpr int kBinomialTerms = 40;

// The large-shape expansion serves one shape from kExpansionLarge on with the other in
// [kKernelMinShape, 1], where the fraction on the large shape's side needs up to a hundred
// terms, for u = -ln w up to kExpansionMaxU (beyond, the fraction is the cheaper).
constexpr double kExpansionLarge = 15.0;
constexpr double kExpansionMaxU = 0.35;

bool UsesExpansion(double large, double small) {
  return large >= kExpansionLarge && small <= 1.0 && InKernelRange(large) && InKernelRange(small);
}

TBetaKernel::TBetaKernel(double a, double b) : a_(a), b_(b), powA_(a), powB_(b) {
  if (!InKernelRange(a) || !InKernelRange(b)) return;
  invBeta_ = 1.0 / boost::math::beta(a, b, TMathPolicy());
  switch_ = (a + 1.0) / (a + b + 2.0);
  usable_ = std::isfinite(invBeta_) && invBeta_ > 0.0;
  if (a == std::floor(a) && b == std::floor(b) && a + b - 1.0 <= kBinomialTerms) {
    binomialN_ = static_cast<int>(a + b - 1.0);
    powN_ = TPower(binomialN_);
  }
  if (UsesExpansion(b, a)) expansionSide_ = 1;
  if (UsesExpansion(a, b)) expansionSide_ = -1;
}

// 1 / (4^k (2k + 1)!), the coefficients of sinh(v/2)/(v/2) in powers of v^2, and 1/n.
constexpr auto kSinhCoefficients = [] {
  std::array<double, 16> g{};
  double f = 1.0;
  for (int k = 0; k < 16; ++k) {
    if (k > 0) f *= 4.0 * (2.0 * k) * (2.0 * k + 1.0);
    g[k] = 1.0 / f;
  }
  return g;
}();
constexpr auto kInverse = [] {
  std::array<double, 16> r{};
  for (int k = 1; k < 16; ++k) r[k] = 1.0 / k;
  return r;
}();

// With t = e^-v and T = L + (s - 1)/2, t^(L-1) (1 - t)^(s-1) dt = e^(-T v) v^(s-1) g(v)^(s-1) dv,
// g(v) = sinh(v/2)/(v/2), so that
//   I_w(L, s) = 1/B(L, s) int_u^Inf e^(-T v) v^(s-1) sum_n p_n v^(2n) dv
//             = Gamma(L + s)/(Gamma(L) T^s) sum_n p_n (s)_(2n) T^(-2n) Q(s + 2n, T u),
// p_n the coefficients of g^(s-1) in powers of v^2 (J. C. P. Miller's recurrence for the power
// of a series), and Gamma(L + s)/Gamma(L) = Gamma(s)/B(L, s). g has its nearest zeros at
// v = +-2 pi i, so p_n falls like (2 pi)^(-2n), and the terms like (2n)^(2n) / (2 pi T)^(2n):
// for T >= 14.75 and u up to kExpansionMaxU nine terms reach 1e-17.
TBetaKernel::TExpansion::TExpansion(double large, double small, double invBeta)
    : s(small), T(large + 0.5 * (small - 1.0)), gamma(small) {
  K = invBeta / (gamma.InvGamma() * TPower(s)(T));
  std::array<double, kExpansionTerms> p{};
  p[0] = 1.0;
  c[0] = 1.0;
  double poch = 1.0, t2 = 1.0;  // (s)_(2n) and T^(-2n)
  const double invT2 = 1.0 / (T * T);
  for (int n = 1; n < kExpansionTerms; ++n) {
    double sum = 0.0;
    for (int k = 1; k <= n; ++k) sum += (s * k - n) * kSinhCoefficients[k] * p[n - k];
    p[n] = sum * kInverse[n];
    poch *= (s + 2.0 * n - 2.0) * (s + 2.0 * n - 1.0);
    t2 *= invT2;
    c[n] = p[n] * poch * t2;
  }
  for (int k = 0; k < 2 * kExpansionTerms; ++k) invShape[k] = 1.0 / (s + k);
}

// For whole shapes, with n = a + b - 1 and t_j = C(n, j) x^j y^(n - j):
// I_x(a, b) = sum_{j >= a} t_j and 1 - I_x(a, b) = sum_{j < a} t_j, each a sum of positive
// terms. The terms are generated from the end whose term is at least 2^-n (x^n or y^n, by
// TPower) by their ratio; the corrections of x and y enter as t_j (1 + j cx + (n - j) cy). The
// prefactor x^a y^b / B(a, b) is a y t_a, since 1 / B(a, b) = a C(n, a).
bool TBetaKernel::BinomialTails(const TBetaPoint& pt, TKernelTails& out) const {
  const int n = binomialN_, ia = static_cast<int>(a_);
  const bool fromLow = pt.x <= 0.5;
  double t = powN_(fromLow ? pt.y : pt.x);
  const double ratio = fromLow ? pt.x / pt.y : pt.y / pt.x;
  double lo = 0.0, loJ = 0.0, hi = 0.0, hiJ = 0.0, ta = 0.0;
  for (int i = 0; i <= n; ++i) {
    const int j = fromLow ? i : n - i;
    if (j < ia) lo += t, loJ += j * t;
    else hi += t, hiJ += j * t;
    if (j == ia) ta = t;
    t *= fromLow ? ratio * (n - j) / (j + 1) : ratio * j / (n - j + 1);
  }
  // The corrected terms sum to (x (1 + cx) + y (1 + cy))^n = 1 up to second order; dividing by
  // their computed sum removes the error of the first term (TPower's few units in the last
  // place), which every term carries, and makes the tails sum to 1.
  const double cy = pt.cy, cxy = pt.cx - pt.cy;
  const double upper = lo * (1.0 + n * cy) + cxy * loJ;
  const double lower = hi * (1.0 + n * cy) + cxy * hiJ;
  const double norm = 1.0 / (upper + lower);
  out.upper = upper * norm;
  out.lower = lower * norm;
  out.pre = a_ * pt.y * ta * (1.0 + ia * pt.cx + (n - ia + 1) * cy) * norm;
  return out.upper >= kKernelTiny && out.lower >= kKernelTiny && out.pre >= kKernelTiny;
}

bool TBetaKernel::Prefactor(const TBetaPoint& pt, double& pre) const {
  if (!usable_ || !(pt.x > 0.0) || !(pt.y > 0.0)) return false;
  const double px = powA_(pt.x);
  const double py = powB_(pt.y);
  if (!(px >= kKernelTiny) || !(py >= kKernelTiny)) return false;
  pre = px * invBeta_ * py * (1.0 + a_ * pt.cx + b_ * pt.cy);
  return pre >= kKernelTiny;
}

bool TBetaKernel::Density(const TBetaPoint& pt, double& density) const {
  if (!usable_ || !(pt.x > 0.0) || !(pt.y > 0.0)) return false;
  const double px = std::pow(pt.x, a_ - 1.0);
  const double py = std::pow(pt.y, b_ - 1.0);
  if (!(px >= kKernelTiny) || !(py >= kKernelTiny) || !(px < kInf) || !(py < kInf)) return false;
  density = px * invBeta_ * py * (1.0 + (a_ - 1.0) * pt.cx + (b_ - 1.0) * pt.cy);
  return density >= kKernelTiny && density < kInf;
}

// Q(s + 2n, z) = Q(s, z) + sum_{k < 2n} r_k with r_k = z^(s+k) e^-z / Gamma(s + k + 1), a
// recurrence of positive terms; r_0 is the gamma prefactor over s.
bool TBetaKernel::ExpansionTail(double v, double cv, double& tail) const {
  const double u = v * cv / (1.0 - v) - std::log1p(-v);  // -ln(1 - v (1 + cv))
  if (!(u <= kExpansionMaxU)) return false;
  if (!expansion_) expansion_.emplace(std::fmax(a_, b_), std::fmin(a_, b_), invBeta_);
  const TExpansion& e = *expansion_;
  const double z = e.T * u;
  TKernelTails g;
  if (!e.gamma.Tails(z, g)) return false;
  double q = g.upper, r = g.pre * e.invShape[0], sum = q;
  for (int n = 1; n < kExpansionTerms; ++n) {
    q += r;
    r *= z * e.invShape[2 * n - 1];
    q += r;
    r *= z * e.invShape[2 * n];
    const double term = e.c[n] * q;
    sum += term;
    if (std::fabs(term) <= kSettled * sum) {
      tail = e.K * sum;
      return true;
    }
  }
  return false;
}

bool TBetaKernel::SideTail(bool lower, const TBetaPoint& pt, double pre, double& tail) const {
  if (expansionSide_ == (lower ? -1 : 1) &&
      ExpansionTail(lower ? pt.y : pt.x, lower ? pt.cy : pt.cx, tail)) {
    return true;
  }
  const double h = lower ? BetaFraction(pt.x, a_, b_) : BetaFraction(pt.y, b_, a_);
  tail = pre * h / (lower ? a_ : b_);
  return !std::isnan(h);
}

bool TBetaKernel::Tails(const TBetaPoint& pt, TKernelTails& out) const {
  if (binomialN_ > 0 && pt.x > 0.0 && pt.y > 0.0 && BinomialTails(pt, out)) return true;
  double pre;
  if (!Prefactor(pt, pre)) return false;
  out.pre = pre;
  if (pt.x < switch_) {
    if (!SideTail(true, pt, pre, out.lower)) return false;
    out.upper = 1.0 - out.lower;
  } else {
    if (!SideTail(false, pt, pre, out.upper)) return false;
    out.lower = 1.0 - out.upper;
  }
  return true;
}

bool TBetaKernel::Quantile(double p, bool upper, double start, double& x) const {
  if (!usable_ || !(p > 0.0 && p <= 0.5)) return false;
  const double a = a_, b = b_;
  double v = start;
  if (!(v > 0.0 && v < 1.0)) {
    // First guesses (Abramowitz and Stegun 26.5.22 for shapes from 1 on; the power laws of
    // the two ends otherwise, and in far tails).
    const double z = upper ? -StdNormalQuantile(p) : StdNormalQuantile(p);
    if (a >= 1.0 && b >= 1.0) {
      const double lam = (z * z - 3.0) / 6.0;
      const double h = 2.0 / (1.0 / (2.0 * a - 1.0) + 1.0 / (2.0 * b - 1.0));
      const double w = z * std::sqrt(h + lam) / h -
                       (1.0 / (2.0 * b - 1.0) - 1.0 / (2.0 * a - 1.0)) *
                           (lam + 5.0 / 6.0 - 2.0 / (3.0 * h));
      v = a / (a + b * std::exp(2.0 * w));
    } else {
      const double t = std::exp(a * std::log(a / (a + b))) / a;
      const double u = std::exp(b * std::log(b / (a + b))) / b;
      const double w = t + u;
      const double lowerP = upper ? 1.0 - p : p;
      v = lowerP < t / w ? std::pow(a * w * lowerP, 1.0 / a)
                         : 1.0 - std::pow(b * w * (upper ? p : 1.0 - p), 1.0 / b);
    }
    // Far tails: I_x(a, b) ~ x^a / (a B(a, b)) near 0 and 1 - I ~ y^b / (b B) near 1.
    if (p < 1e-8) {
      v = upper ? 1.0 - std::pow(p * b / invBeta_, 1.0 / b) : std::pow(p * a / invBeta_, 1.0 / a);
    }
    if (!(v > 0.0 && v < 1.0)) v = 0.5;
  }
  double lo = 0.0, hi = 1.0;
  for (int i = 0; i < kMaxSteps; ++i) {
    TKernelTails t;
    const TBetaPoint pt = BetaPointFromX(v);
    if (!Tails(pt, t)) return false;
    const double g = (upper ? t.upper : t.lower) - p;
    if (g == 0.0) {
      x = v;
      return x >= kKernelTiny;
    }
    if ((g > 0.0) != upper) hi = v; else lo = v;
    const double density = t.pre / (pt.x * pt.y);
    const double curvature = (a - 1.0) / pt.x - (b - 1.0) / pt.y;
    bool done;
    const double next = HalleyStep(v, g, upper ? -density : density, curvature, lo, hi,
                                   std::fmin(pt.x, pt.y), done);
    v = next;
    if (done) {
      x = v;
      return x >= kKernelTiny;
    }
    if (hi - lo <= 4.0 * std::numeric_limits<double>::epsilon() * std::fmin(v, 1.0 - v)) break;
  }
  return false;  // not settled: the answer may lie between adjacent doubles at an end
}

// ---- Gamma --------------------------------------------------------------------------------------

// 1/k and 1/(k + 1/2) for the closed forms of the incomplete gamma function.
constexpr int kClosedShape = 40;
constexpr auto kInverseWhole = [] {
  std::array<double, kClosedShape + 1> r{};
  for (int k = 1; k <= kClosedShape; ++k) r[k] = 1.0 / k;
  return r;
}();
constexpr auto kInverseHalf = [] {
  std::array<double, kClosedShape + 1> r{};
  for (int k = 0; k <= kClosedShape; ++k) r[k] = 1.0 / (k + 0.5);
  return r;
}();

TGammaKernel::TGammaKernel(double a) : a_(a), powA_(a) {
  if (!InKernelRange(a)) return;
  invGamma_ = 1.0 / boost::math::tgamma(a, TMathPolicy());
  invGammaA1_ = invGamma_ / a;
  usable_ = std::isfinite(invGamma_) && invGamma_ > 0.0;
  if (a <= kClosedShape && a == std::floor(a)) whole_ = static_cast<int>(a);
  if (a <= kClosedShape && a - 0.5 == std::floor(a - 0.5)) half_ = static_cast<int>(a - 0.5);
}

// Q(n, z) = e^-z sum_{k<n} z^k / k!, and
// Q(n + 1/2, z) = erfc(sqrt z) + e^-z sum_{k=1}^{n} z^(k - 1/2) / Gamma(k + 1/2),
// both sums of positive terms by Horner's rule. sqrt z carries its rounding r = z - u^2 (exact)
// into erfc by its derivative -2 e^-z / sqrt(pi): at large z erfc(u) would otherwise lose z eps.
double TGammaKernel::ClosedUpper(double z, double ez) const {
  if (whole_ > 0) {
    double s = 1.0;
    for (int k = whole_ - 1; k >= 1; --k) s = 1.0 + s * z * kInverseWhole[k];
    return ez * s;
  }
  constexpr double kInvSqrtPi = 0.564189583547756286948079451560772586;
  const double u = std::sqrt(z);
  const double r = std::fma(-u, u, z);
  double q = boost::math::erfc(u, TMathPolicy()) - r * ez * kInvSqrtPi / u;
  if (half_ > 0) {
    double h = 1.0;
    for (int k = half_ - 1; k >= 1; --k) h = 1.0 + h * z * kInverseHalf[k];
    q += ez * (2.0 * kInvSqrtPi) * (u + 0.5 * r / u) * h;
  }
  return q;
}

bool TGammaKernel::Prefactor(double z, double& pre) const {
  if (!usable_ || !(z > 0.0) || !(z < 700.0)) return false;
  pre = powA_(z) * std::exp(-z) * invGamma_;
  return pre >= kKernelTiny && pre < kInf;
}

TGammaKernel::TRoute TGammaKernel::Start(double z, TKernelTails& out, bool withPre) const {
  if (!usable_ || !(z > 0.0) || !(z < 700.0)) return TRoute::kNone;
  const double ez = std::exp(-z);
  if ((whole_ > 0 || half_ >= 0) && z >= a_) {
    // e^-z >= 1e-304 here, and Q >= e^-z: nothing underflows
    out.pre = withPre ? powA_(z) * ez * invGamma_ : std::numeric_limits<double>::quiet_NaN();
    out.upper = ClosedUpper(z, ez);
    out.lower = 1.0 - out.upper;
    return TRoute::kDone;
  }
  const double pre = powA_(z) * ez * invGamma_;
  if (!(pre >= kKernelTiny && pre < kInf)) return TRoute::kNone;
  out.pre = pre;
  return z < a_ + 1.0 ? TRoute::kSeries : TRoute::kFraction;
}

bool TGammaKernel::Finish(TRoute route, double value, TKernelTails& out) const {
  if (std::isnan(value)) return false;
  if (route == TRoute::kSeries) {
    out.lower = out.pre * value / a_;
    out.upper = 1.0 - out.lower;
  } else {
    out.upper = out.pre * value;
    out.lower = 1.0 - out.upper;
  }
  return true;
}

bool TGammaKernel::Tails(double z, TKernelTails& out, bool withPre) const {
  const TRoute route = Start(z, out, withPre);
  switch (route) {
    case TRoute::kNone: return false;
    case TRoute::kDone: return true;
    case TRoute::kSeries: return Finish(route, GammaSeries(z, a_), out);
    case TRoute::kFraction: return Finish(route, GammaFraction(z, a_), out);
  }
  return false;
}

void TGammaKernel::TailsMany(const double* z, int n, TKernelTails* out, bool* ok) const {
#ifdef LUMEX_AVX2_COPIES
  if (HasAvx2() && n <= kManyPoints) {
    // Each point's route, then the series and the fractions of the points that need them, four
    // at a time, then their tails.
    double zs[kManyPoints] = {}, zf[kManyPoints] = {}, vs[kManyPoints], vf[kManyPoints];
    int is[kManyPoints], jf[kManyPoints];
    int ns = 0, nf = 0;
    for (int i = 0; i < n; ++i) {
      const TRoute route = Start(z[i], out[i], false);
      ok[i] = route == TRoute::kDone;
      if (route == TRoute::kSeries) zs[ns] = z[i], is[ns++] = i;
      if (route == TRoute::kFraction) zf[nf] = z[i], jf[nf++] = i;
    }
    GammaLanesMany<true>(zs, ns, a_, vs);
    GammaLanesMany<false>(zf, nf, a_, vf);
    for (int k = 0; k < ns; ++k) ok[is[k]] = Finish(TRoute::kSeries, vs[k], out[is[k]]);
    for (int k = 0; k < nf; ++k) ok[jf[k]] = Finish(TRoute::kFraction, vf[k], out[jf[k]]);
    return;
  }
#endif
  for (int i = 0; i < n; ++i) ok[i] = Tails(z[i], out[i], false);
}

bool TGammaKernel::Quantile(double p, bool upper, double& z) const {
  if (!usable_ || !(p > 0.0 && p <= 0.5)) return false;
  const double a = a_;
  // Wilson and Hilferty's cube-root normal approximation; in the lower tail of small shapes
  // the power law P(a, z) ~ z^a / Gamma(a + 1) instead.
  const double zn = upper ? -StdNormalQuantile(p) : StdNormalQuantile(p);
  const double c = 1.0 / (9.0 * a);
  const double r = 1.0 - c + zn * std::sqrt(c);
  double v = a * r * r * r;
  if (!upper) {
    const double small = std::pow(p / invGammaA1_, 1.0 / a);
    if (!(v > 0.0) || small < 0.3 * (a + 1.0)) v = small;
  }
  if (!(v > 0.0) || !std::isfinite(v)) v = a;
  double lo = 0.0, hi = kInf;
  for (int i = 0; i < kMaxSteps; ++i) {
    TKernelTails t;
    if (!Tails(v, t)) return false;
    const double g = (upper ? t.upper : t.lower) - p;
    if (g == 0.0) {
      z = v;
      return z >= kKernelTiny;
    }
    if ((g > 0.0) != upper) hi = v; else lo = v;
    const double density = t.pre / v;
    bool done;
    const double next =
        HalleyStep(v, g, upper ? -density : density, (a - 1.0) / v - 1.0, lo, hi, v, done);
    v = next;
    if (done) {
      z = v;
      return z >= kKernelTiny;
    }
    if (hi - lo <= 4.0 * std::numeric_limits<double>::epsilon() * v) break;
  }
  return false;
}

// ---- The normal quantile ------------------------------------------------------------------------
//
// Wichura, M. J. (1988), Algorithm AS 241: the percentage points of the normal distribution,
// Applied Statistics 37, 477-484. Three rational functions: |q| <= 0.425 with q = p - 1/2, then
// r = sqrt(-ln min(p, 1 - p)) up to 5 and beyond.

double StdNormalQuantile(double p) {
  const double q = p - 0.5;
  if (std::fabs(q) <= kNormalCentral) return StdNormalQuantileCentral(q);
  double r = q < 0.0 ? p : 1.0 - p;
  if (!(r > 0.0)) return q < 0.0 ? -kInf : kInf;
  r = std::sqrt(-std::log(r));
  double x;
  if (r <= 5.0) {
    r -= 1.6;
    x = (((((((7.7454501427834140764e-4 * r + 0.0227238449892691845833) * r +
              0.24178072517745061177) * r + 1.27045825245236838258) * r +
            3.64784832476320460504) * r + 5.7694972214606914055) * r +
          4.6303378461565452959) * r + 1.42343711074968357734) /
        (((((((1.05075007164441684324e-9 * r + 5.475938084995344946e-4) * r +
              0.0151986665636164571966) * r + 0.14810397642748007459) * r +
            0.68976733498510000455) * r + 1.6763848301838038494) * r +
          2.05319162663775882187) * r + 1.0);
  } else {
    r -= 5.0;
    x = (((((((2.01033439929228813265e-7 * r + 2.71155556874348757815e-5) * r +
              0.0012426609473880784386) * r + 0.026532189526576123093) * r +
            0.29656057182850489123) * r + 1.7848265399172913358) * r +
          5.4637849111641143699) * r + 6.6579046435011037772) /
        (((((((2.04426310338993978564e-15 * r + 1.4215117583164458887e-7) * r +
              1.8463183175100546818e-5) * r + 7.868691311456132591e-4) * r +
            0.0148753612908506148525) * r + 0.13692988092273580531) * r +
          0.59983220655588793769) * r + 1.0);
  }
  return q < 0.0 ? -x : x;
}

}  // namespace lumex::detail
