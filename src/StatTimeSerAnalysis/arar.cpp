// The ARAR forecasting method (memory shortening, a subset AR(4) of the shortened series, forecasts
// through the combined filter) and the Box-Cox power transform with its inverse.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include <Eigen/Dense>

#include "lumex/StatTimeSerAnalysis.h"

namespace lumex {

namespace {

using TSeries = std::vector<double>;

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// The largest forecast horizon: two outputs of this many doubles take 1 GiB.
constexpr int kMaxHorizon = 1 << 26;

// The starting value of the residual variance search: no candidate has been accepted yet.
constexpr double kNoFit = 1.797693134862315e308;

TSeries ToDouble(const TVec& v) {
  if (v.Length() == 0) return {};
  if (v.IsDouble()) {
    const double* p = v.Data<double>();
    return TSeries(p, p + v.Length());
  }
  TSeries out(Idx(v.Length()));
  for (int i = 0; i < v.Length(); ++i) out[Idx(i)] = v.Value(i);
  return out;
}

void Store(TVec& dst, const TSeries& src, TMtxFloatPrecision precision) {
  dst.Size(static_cast<int>(src.size()), precision);
  if (src.empty()) return;
  if (precision == fpDouble) {
    std::copy(src.begin(), src.end(), dst.Data<double>());
    return;
  }
  for (std::size_t i = 0; i < src.size(); ++i) dst.SetValue(static_cast<int>(i), src[i]);
}

// The product of two polynomials in the backshift operator (coefficient j multiplies B^j).
TSeries PolyMul(const TSeries& a, const TSeries& b) {
  TSeries c(a.size() + b.size() - 1, 0.0);
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (std::size_t j = 0; j < b.size(); ++j) c[i + j] += a[i] * b[j];
  }
  return c;
}

// The sums of cur*lag, lag^2 and cur^2 over m terms, in four interleaved partial sums each so that
// the additions do not wait on one another.
struct TLagSums {
  double sxy, sxx, syy;
};
TLagSums LagSums(const double* cur, const double* lag, int m) {
  double xy[4] = {0, 0, 0, 0}, xx[4] = {0, 0, 0, 0}, yy[4] = {0, 0, 0, 0};
  int t = 0;
  for (; t + 4 <= m; t += 4) {
    for (int k = 0; k < 4; ++k) {
      xy[k] += cur[t + k] * lag[t + k];
      xx[k] += lag[t + k] * lag[t + k];
      yy[k] += cur[t + k] * cur[t + k];
    }
  }
  for (; t < m; ++t) {
    xy[0] += cur[t] * lag[t];
    xx[0] += lag[t] * lag[t];
    yy[0] += cur[t] * cur[t];
  }
  return {(xy[0] + xy[1]) + (xy[2] + xy[3]), (xx[0] + xx[1]) + (xx[2] + xx[3]),
          (yy[0] + yy[1]) + (yy[2] + yy[3])};
}

// sum (cur - phi lag)^2 over m terms, four partial sums.
double ResidualSumSq(const double* cur, const double* lag, int m, double phi) {
  double s[4] = {0, 0, 0, 0};
  int t = 0;
  for (; t + 4 <= m; t += 4) {
    for (int k = 0; k < 4; ++k) {
      const double e = cur[t + k] - phi * lag[t + k];
      s[k] += e * e;
    }
  }
  for (; t < m; ++t) {
    const double e = cur[t] - phi * lag[t];
    s[0] += e * e;
  }
  return (s[0] + s[1]) + (s[2] + s[3]);
}

// One memory-shortening pass on y. Returns 'L', 'M' or 'S'; for 'L' and 'M' `out` receives the
// shortened series and `filter` the pass's polynomial psi(B) with psi_0 = 1.
//
// The coefficient phi(tau) minimising sum (y_t - phi y_{t-tau})^2 is the least-squares ratio
// sum y_t y_{t-tau} / sum y_{t-tau}^2, taken in closed form: it is the point a Nelder-Mead search
// of that quadratic converges to. The error itself is summed from the residuals rather than from
// the identity Syy - Sxy^2/Sxx, whose cancellation would put noise of order 1e-16 on an exactly
// periodic series, where several lags reach an error of exactly 0 and the first must win.
char ShortenPass(const TSeries& y, int maxTau, TSeries& out, TSeries& filter) {
  const int n = static_cast<int>(y.size());
  double bestErr = kNoFit, bestPhi = 0.0;
  int bestTau = 0;
  for (int tau = 1; tau <= maxTau; ++tau) {
    const double* cur = y.data() + tau;  // y_t, t = tau .. n-1
    const double* lag = y.data();        // y_{t-tau}
    const int m = n - tau;
    const TLagSums sums = LagSums(cur, lag, m);
    // A zero lagged part leaves phi free: 0 is the minimiser of smallest size.
    const double phi = sums.sxx > 0.0 ? sums.sxy / sums.sxx : 0.0;
    const double err = ResidualSumSq(cur, lag, m, phi) / sums.syy;  // 0/0 is NaN: never chosen
    if (err < bestErr) {
      bestErr = err;
      bestPhi = phi;
      bestTau = tau;
    }
  }
  if (bestTau == 0) return 'S';
  const bool longMemory = bestErr <= 8.0 / n || (bestPhi >= 0.93 && bestTau >= 3);
  if (longMemory) {
    out.resize(Idx(n - bestTau));
    for (int t = bestTau; t < n; ++t) {
      out[Idx(t - bestTau)] = y[Idx(t)] - bestPhi * y[Idx(t - bestTau)];
    }
    filter.assign(Idx(bestTau + 1), 0.0);
    filter[0] = 1.0;
    filter[Idx(bestTau)] = -bestPhi;
    return 'L';
  }
  if (!(bestPhi >= 0.93)) return 'S';
  // Moderately long memory: the least-squares AR(2) without intercept, from its 2-by-2 normal
  // equations. Collinear lags (a geometric series) leave the system singular; the lag-1
  // coefficient alone then fits.
  double a11 = 0.0, a12 = 0.0, a22 = 0.0, b1 = 0.0, b2 = 0.0;
  for (int t = 2; t < n; ++t) {
    const double x1 = y[Idx(t - 1)], x2 = y[Idx(t - 2)], cur = y[Idx(t)];
    a11 += x1 * x1;
    a12 += x1 * x2;
    a22 += x2 * x2;
    b1 += x1 * cur;
    b2 += x2 * cur;
  }
  const double det = a11 * a22 - a12 * a12;
  double phi1 = 0.0, phi2 = 0.0;
  if (det > 1e-14 * a11 * a22) {
    phi1 = (a22 * b1 - a12 * b2) / det;
    phi2 = (a11 * b2 - a12 * b1) / det;
  } else if (a11 > 0.0) {
    phi1 = b1 / a11;
  }
  out.resize(Idx(n - 2));
  for (int t = 2; t < n; ++t) {
    out[Idx(t - 2)] = y[Idx(t)] - phi1 * y[Idx(t - 1)] - phi2 * y[Idx(t - 2)];
  }
  filter = {1.0, -phi1, -phi2};
  return 'M';
}

}  // namespace

void ShortenFilter(const TVec& Data, TVec& Dst, int& Tau, TVec* Filter, int MaxTau) {
  if (MaxTau > Data.Length()) ERaise("MaxTau > Data.Length");
  if (Data.Complex()) ERaise("ShortenFilter: Data.Complex = true");
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  TSeries cur = ToDouble(Data), next, passFilter;
  TSeries psi{1.0};
  for (int pass = 0; pass < 3; ++pass) {
    if (ShortenPass(cur, MaxTau, next, passFilter) == 'S') break;
    psi = PolyMul(psi, passFilter);
    cur.swap(next);
    if (static_cast<int>(cur.size()) < MaxTau) break;
  }
  // Every pass shortens the series by the span of its filter, so Dst[t] = psi(B) Data at time
  // t + Tau exactly.
  Tau = static_cast<int>(psi.size()) - 1;
  Store(Dst, cur, precision);
  if (Filter != nullptr) Store(*Filter, psi, precision);
}

void ARARFit(const TVec& Data, TVec& Phi, int& L1, int& L2, int& L3, double& Sigma2, int MaxLag) {
  if (Data.Complex()) ERaise("ARARFit: Data.Complex = true");
  if (MaxLag > Data.Length()) ERaise("ARARFit: MaxLag > Data.Length");
  // The autocovariances first: Phi may be the same object as Data.
  auto g = CreateIt<TVec>();
  if (MaxLag >= 4) AutoCov(Data, *g, MaxLag + 1);
  Phi.Size(4, Data.FloatPrecision());
  Phi.SetVal(NaN);
  Sigma2 = kNoFit;
  L1 = 2;
  L2 = 3;
  L3 = 4;
  if (MaxLag < 4) return;
  const double g0 = g->Value(0);
  std::vector<double> rho(Idx(MaxLag + 1));
  for (int k = 0; k <= MaxLag; ++k) rho[Idx(k)] = g->Value(k) / g0;
  const auto r = [&rho](int k) { return rho[Idx(k)]; };
  Eigen::Matrix4d R;
  Eigen::Vector4d rhs, best = Eigen::Vector4d::Constant(NaN);
  for (int i = 2; i <= MaxLag - 2; ++i) {
    for (int j = i + 1; j <= MaxLag - 1; ++j) {
      for (int k = j + 1; k <= MaxLag; ++k) {
        // The Yule-Walker equations of X_t on X_{t-1}, X_{t-i}, X_{t-j}, X_{t-k}.
        R << 1.0, r(i - 1), r(j - 1), r(k - 1),
             r(i - 1), 1.0, r(j - i), r(k - i),
             r(j - 1), r(j - i), 1.0, r(k - j),
             r(k - 1), r(k - i), r(k - j), 1.0;
        rhs << r(1), r(i), r(j), r(k);
        const Eigen::Vector4d phi = R.partialPivLu().solve(rhs);
        // A singular system gives a non-finite s2, which never compares smaller.
        const double s2 = g0 * (1.0 - phi.dot(rhs));
        if (s2 < Sigma2) {
          Sigma2 = s2;
          L1 = i;
          L2 = j;
          L3 = k;
          best = phi;
        }
      }
    }
  }
  for (int m = 0; m < 4; ++m) Phi.SetValue(m, best(m));
}

void ARARForecast(const TVec& Data, const TVec& Phi, const TVec& Filter, int Tau, int L1, int L2,
                  int L3, double SMean, int T, TVec& YHat, TVec& StdErr, double& SigmaScale) {
  if (Filter.Length() == 0) ERaise("ARARForecast: Filter.Length = 0!");
  if (Data.Complex() || Phi.Complex() || Filter.Complex()) {
    ERaise("ARARForecast: (Data.Complex) or (Phi.Complex) or (Filter.Complex)");
  }
  if (Phi.Length() < 4) ERaise("ARARForecast: Phi.Length < 4");
  if (!(1 < L1 && L1 < L2 && L2 < L3)) ERaise("ARARForecast: not 1 < L1 < L2 < L3");
  if (Tau < 0) ERaise("ARARForecast: Tau < 0");
  if (T < 0) ERaise("ARARForecast: T < 0");
  if (T > kMaxHorizon) ERaise("ARARForecast: T too large");
  const int n = Data.Length();
  if (static_cast<long long>(Tau) + L3 > n) ERaise("ARARForecast: Data.Length < Tau+L3");
  const TMtxFloatPrecision precision = Data.FloatPrecision();

  // The combined filter xi(B) = psi(B) a(B), a(B) = 1 - phi_1 B - phi_2 B^L1 - ... B^L3, with its
  // constant c = a(1) * SMean: the model xi(B) Y_t = c + Z_t. Only xi_0 .. xi_K, K = Tau + L3,
  // enter; coefficients beyond the filter supplied count as 0.
  TSeries a(Idx(L3 + 1), 0.0);
  a[0] = 1.0;
  a[1] = -Phi.Value(0);
  a[Idx(L1)] = -Phi.Value(1);
  a[Idx(L2)] = -Phi.Value(2);
  a[Idx(L3)] = -Phi.Value(3);
  const double c = (1.0 - (Phi.Value(0) + Phi.Value(1) + Phi.Value(2) + Phi.Value(3))) * SMean;
  const int K = Tau + L3;
  TSeries xi = PolyMul(ToDouble(Filter), a);
  xi.resize(Idx(K + 1), 0.0);

  // The series extended by T forecasts: y[t] = c - sum_{k=1..K} xi_k y[t-k].
  TSeries y = ToDouble(Data);
  y.resize(Idx(n) + Idx(T));
  const auto filtered = [&](int t) {  // sum_{k=1..K} xi_k y[t-k]
    double s = 0.0;
    for (int k = 1; k <= K; ++k) s += xi[Idx(k)] * y[Idx(t - k)];
    return s;
  };
  // The scale: the root mean square of the one-step residuals xi(B) Y_t - c over the times that
  // have all K past values (NaN when there is none). The residuals are accumulated lag by lag,
  // a loop over t that vectorises, instead of one dot product per time.
  TSeries e(Idx(n - K), -c);
  for (int k = 0; k <= K; ++k) {
    const double x = xi[Idx(k)];
    const double* src = y.data() + (K - k);
    for (int t = 0; t < n - K; ++t) e[Idx(t)] += x * src[t];
  }
  double sse = 0.0;
  for (const double v : e) sse += v * v;
  SigmaScale = n > K ? std::sqrt(sse / (n - K)) : NaN;
  for (int t = n; t < n + T; ++t) y[Idx(t)] = c - filtered(t);
  YHat.Size(T, precision);
  for (int h = 0; h < T; ++h) YHat.SetValue(h, y[Idx(n + h)]);

  // Forecast errors: psi weights w of 1/xi(z), w_0 = 1, w_i = -sum_{j<i} w_j xi_{i-j}; the h-step
  // error variance is sigma^2 (w_0^2 + ... + w_{h-1}^2).
  StdErr.Size(T, precision);
  TSeries w(Idx(T), 0.0);
  double sumSq = 0.0;
  for (int i = 0; i < T; ++i) {
    double wi = i == 0 ? 1.0 : 0.0;
    for (int j = std::max(0, i - K); j < i; ++j) wi -= w[Idx(j)] * xi[Idx(i - j)];
    w[Idx(i)] = wi;
    sumSq += wi * wi;
    StdErr.SetValue(i, std::sqrt(sumSq) * SigmaScale);
  }
}

void BoxCox(const TVec& Data, TVec& Dst, double Lambda) {
  if (Lambda < 0) ERaise("BoxCox : Lambda<0");
  if (Data.Complex()) ERaise("BoxCox : Data.Complex = true");
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  const TSeries x = ToDouble(Data);  // a copy, so that Dst may be Data
  TSeries out;
  out.reserve(x.size());
  for (const double v : x) {
    if (Lambda == 0.0) {
      if (v > 0.0) out.push_back(std::log(v));
    } else if (v >= 0.0) {
      // (v^lambda - 1)/lambda. Near v^lambda = 1 the subtraction cancels, and expm1 of
      // lambda ln v keeps the digits (lambda = 1e-10 would otherwise keep six); far from 1 the
      // power is the more accurate, since ln v carries an absolute error that exp magnifies.
      const double u = Lambda * std::log(v);
      out.push_back(Lambda == 1.0       ? v - 1.0
                    : std::fabs(u) < 1.0 ? std::expm1(u) / Lambda
                                         : (std::pow(v, Lambda) - 1.0) / Lambda);
    }
  }
  Store(Dst, out, precision);
}

void BoxCoxInv(const TVec& Data, TVec& Dst, double Lambda) {
  if (Lambda < 0) ERaise("BoxCoxInv : Lambda<0");
  if (Data.Complex()) ERaise("BoxCoxInv : Data.Complex = true");
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  TSeries x = ToDouble(Data);
  for (double& v : x) {
    // (lambda v + 1)^(1/lambda): for small lambda v, 1 + lambda v loses the low digits of
    // lambda v before the power raises them to 1/lambda, and exp(log1p(lambda v)/lambda) does
    // not.
    const double u = Lambda * v;
    v = Lambda == 0.0          ? std::exp(v)
        : Lambda == 1.0        ? v + 1.0
        : std::fabs(u) < 1.0   ? std::exp(std::log1p(u) / Lambda)
                               : std::pow(u + 1.0, 1.0 / Lambda);
  }
  Store(Dst, x, precision);
}

}  // namespace lumex
