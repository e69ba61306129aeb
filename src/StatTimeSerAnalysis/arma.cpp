// ARMA estimation: the model's autocovariances, the causality/invertibility check, the
// innovations algorithm (general and banded), the innovations and Hannan-Rissanen preliminary
// fits, and the exact Gaussian likelihood with its maximisation.
//
// The likelihood is evaluated in linear time. With W = T X the transformed process (T unit lower
// triangular with the AR filter in its rows from m on), the covariance of W is kappa and the
// innovations algorithm factors it as Theta V Theta^T. So the Cholesky factor of the covariance
// of X is T^-1 Theta V^(1/2): its diagonal is sqrt(v_k), and L^-1 x = V^(-1/2) Theta^-1 T x are
// the innovations of W scaled. Everything the cubic form needs comes out of one banded pass.
#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "StatTimeSerAnalysis/arma_internal.h"
#include "core/dispatch.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace lumex {

namespace detail {

namespace {
std::size_t Ix(int i) { return static_cast<std::size_t>(i); }
}  // namespace

std::vector<double> ArmaCoeffs(const TVec* v, const char* fn) {
  std::vector<double> out;
  if (v == nullptr) return out;
  if (v->Complex()) ERaise(std::string(fn) + ": (Phi.Complex) or (Theta.Complex)");
  out.resize(Ix(v->Length()));
  for (int i = 0; i < v->Length(); ++i) out[Ix(i)] = v->Value(i);
  return out;
}

void ArmaAcfDouble(const std::vector<double>& phi, const std::vector<double>& theta, int n,
                   std::vector<double>& gamma) {
  if (n < 1) ERaise("n <= 0");
  const int p = static_cast<int>(phi.size());
  const int q = static_cast<int>(theta.size());
  gamma.clear();
  if (p == 0 && q == 0) return;
  const int r = std::max(p, q) + 1;
  std::vector<double> a(Ix(r), 0.0), b(Ix(r), 0.0), psi(Ix(r), 0.0);
  a[0] = 1.0;
  b[0] = 1.0;
  for (int j = 1; j <= p; ++j) a[Ix(j)] = -phi[Ix(j - 1)];
  for (int j = 1; j <= q; ++j) b[Ix(j)] = theta[Ix(j - 1)];
  // Row i of the system: sum_j a_j gamma(|i-j|) = sum_j b_{j+i} psi_j.
  auto [M, rhs, sol] = CreateIt<TMtx, TVec, TVec>();
  M->Size(r, r).SetZero();
  for (int i = 0; i < r; ++i) {
    for (int k = 0; k < r; ++k) {
      double v = 0.0;
      if (k >= 1 && k <= i) v += a[Ix(i - k)];
      if (i + k <= r - 1) v += a[Ix(i + k)];
      (*M)(i, k) = v;
    }
  }
  psi[0] = 1.0;
  for (int k = 1; k < r; ++k) {
    double s = b[Ix(k)];
    for (int j = 0; j < k; ++j) s -= a[Ix(k - j)] * psi[Ix(j)];
    psi[Ix(k)] = s;
  }
  rhs->Size(r);
  for (int k = 0; k < r; ++k) {
    double s = 0.0;
    for (int j = 0; j + k < r; ++j) s += b[Ix(j + k)] * psi[Ix(j)];
    (*rhs)[k] = s;
  }
  LUSolve(*sol, *M, *rhs);
  // One step of iterative refinement: the residual in double, its correction by a second solve.
  {
    auto [res, corr] = CreateIt<TVec, TVec>();
    res->Size(r);
    for (int i = 0; i < r; ++i) {
      double s = (*rhs)[i];
      for (int k = 0; k < r; ++k) s -= (*M)(i, k) * (*sol)[k];
      (*res)[i] = s;
    }
    LUSolve(*corr, *M, *res);
    if (std::isfinite(NormL2(*corr))) Add(*sol, *corr);
  }
  gamma.assign(Ix(n + 1), 0.0);
  for (int k = 0; k < std::min(r, n + 1); ++k) gamma[Ix(k)] = (*sol)[k];
  if (r <= n && p >= 1) {
    for (int k = r; k <= n; ++k) {
      double s = 0.0;
      for (int j = 1; j <= p; ++j) s += phi[Ix(j - 1)] * gamma[Ix(k - j)];
      gamma[Ix(k)] = s;
    }
  }
}

void TArmaInnovations::Init(const std::vector<double>& phi, const std::vector<double>& theta) {
  fPhi = phi;
  fP = static_cast<int>(phi.size());
  fQ = static_cast<int>(theta.size());
  fM = std::max(fP, fQ);
  ArmaAcfDouble(phi, theta, 5 * fM, fGx);
  if (fQ > 0) {
    ArmaAcfDouble({}, theta, 2 * fM, fGma);
  } else {
    fGma.assign(Ix(2 * fM + 1), 0.0);
    fGma[0] = 1.0;
  }
  fStored = 0;
}

double TArmaInnovations::Kappa(int k, int j) const {
  const int lo = std::min(k, j);
  const int hi = std::max(k, j);
  const int h = hi - lo;
  if (hi < fM) return fGx[Ix(h)];
  if (lo < fM) {
    if (hi >= 2 * fM) return 0.0;
    double s = fGx[Ix(h)];
    for (int r = 1; r <= fP; ++r) s -= fPhi[Ix(r - 1)] * fGx[Ix(std::abs(r - h))];
    return s;
  }
  return h < static_cast<int>(fGma.size()) - 1 ? fGma[Ix(h)] : 0.0;
}

bool TArmaInnovations::Run(int N, bool stopOnFailure) {
  fTheta.clear();
  fOffset.clear();
  fV.clear();
  fStored = 0;
  bool ok = true;
  int equalRows = 0;
  for (int k = 0; k < N; ++k) {
    const int lo = Lo(k);
    const std::size_t off = fTheta.size();
    fOffset.push_back(off);
    fTheta.resize(off + Ix(k - lo));
    double* row = fTheta.data() + off;  // row[s-1] = theta_{k,s}
    for (int j = lo; j < k; ++j) {
      const double* rowJ = fTheta.data() + fOffset[Ix(j)];
      double s = 0.0;
      for (int l = std::max(lo, Lo(j)); l < j; ++l) {
        s += rowJ[j - l - 1] * row[k - l - 1] * fV[Ix(l)];
      }
      row[k - j - 1] = (Kappa(k, j) - s) / fV[Ix(j)];
    }
    double v = Kappa(k, k);
    for (int l = lo; l < k; ++l) v -= row[k - l - 1] * row[k - l - 1] * fV[Ix(l)];
    fV.push_back(v);
    ++fStored;
    if (!(v > 0.0 && v < Inf)) {
      ok = false;
      if (stopOnFailure) return false;
    }
    // Stationary part: rows of width q whose kappa entries all come from the MA part.
    if (k - fQ >= fM && k >= 1 && ok) {
      const double* prev = fTheta.data() + fOffset[Ix(k - 1)];
      const bool same = fV[Ix(k - 1)] == v &&
                        std::equal(row, row + fQ, prev);
      equalRows = same ? equalRows + 1 : 0;
      if (equalRows >= fQ) break;
    }
  }
  return ok;
}

double ArmaCriterion(const double* x, int n, const std::vector<double>& phi,
                     const std::vector<double>& theta, double* resid) {
  constexpr double kWorst = std::numeric_limits<double>::max();
  const int q = static_cast<int>(theta.size());
  if (q < 1 || !CheckARMACoeffs(std::span<const double>(theta), false)) return kWorst;
  thread_local TArmaInnovations inn;
  try {
    inn.Init(phi, theta);
  } catch (const ELumexError&) {
    return kWorst;
  }
  const double g0 = inn.Gamma0();
  if (!(g0 > 0.0 && g0 < Inf)) return kWorst;
  if (!inn.Run(n, true)) return kWorst;

  // The criterion is invariant to a shift of the series (the GLS mean absorbs it), so the series
  // is centred first: the residual sum of squares is then formed without cancellation.
  double c = 0.0;
  for (int k = 0; k < n; ++k) c += x[k];
  c /= n;
  const int p = inn.P();
  const int m = inn.M();
  const double* ph = phi.data();
  // One pass over the series: the innovations ey of the centred series and e1 of the column of
  // ones, the last few kept in rings; their weighted sums give the GLS mean and the residual
  // sum of squares. The whitened residuals need the mean first, so that path keeps both series.
  int ring = 1;
  while (ring < m + 1) ring <<= 1;
  const int mask = ring - 1;
  thread_local std::vector<double> ry, r1, ex, eo;
  ry.assign(Ix(ring), 0.0);
  r1.assign(Ix(ring), 0.0);
  if (resid != nullptr) {
    ex.resize(Ix(n));
    eo.resize(Ix(n));
  }
  const int stored = std::min(inn.Stored(), n);
  double syy = 0.0, sy1 = 0.0, s11 = 0.0, logDet = 0.0;
  for (int k = 0; k < stored; ++k) {
    double wy = x[k] - c, w1 = 1.0;
    if (k >= m) {
      for (int j = 1; j <= p; ++j) {
        wy -= ph[j - 1] * (x[k - j] - c);
        w1 -= ph[j - 1];
      }
    }
    const double* row = inn.Row(k);
    const int width = k - inn.Lo(k);
    for (int s = 1; s <= width; ++s) {
      wy -= row[s - 1] * ry[Ix((k - s) & mask)];
      w1 -= row[s - 1] * r1[Ix((k - s) & mask)];
    }
    ry[Ix(k & mask)] = wy;
    r1[Ix(k & mask)] = w1;
    if (resid != nullptr) {
      ex[Ix(k)] = wy;
      eo[Ix(k)] = w1;
    }
    const double vr = inn.V(k) / g0;
    syy += wy * wy / vr;
    sy1 += wy * w1 / vr;
    s11 += w1 * w1 / vr;
    logDet += std::log(vr);
  }
  if (stored < n) {
    // Every later row is the last one stored: fixed coefficients and variance, m <= k.
    const double* row = inn.Row(stored - 1);
    double w1Const = 1.0;
    for (int j = 0; j < p; ++j) w1Const -= ph[j];
    double a = 0.0, b = 0.0, d = 0.0;
    for (int k = stored; k < n; ++k) {
      double wy = x[k] - c, w1 = w1Const;
      for (int j = 1; j <= p; ++j) wy -= ph[j - 1] * (x[k - j] - c);
      for (int s = 1; s <= q; ++s) {
        wy -= row[s - 1] * ry[Ix((k - s) & mask)];
        w1 -= row[s - 1] * r1[Ix((k - s) & mask)];
      }
      ry[Ix(k & mask)] = wy;
      r1[Ix(k & mask)] = w1;
      if (resid != nullptr) {
        ex[Ix(k)] = wy;
        eo[Ix(k)] = w1;
      }
      a += wy * wy;
      b += wy * w1;
      d += w1 * w1;
    }
    const double vr = inn.V(stored - 1) / g0;
    syy += a / vr;
    sy1 += b / vr;
    s11 += d / vr;
    logDet += (n - stored) * std::log(vr);
  }
  const double mu = sy1 / s11;
  const double rss = std::max(syy - mu * sy1, 0.0);
  if (resid != nullptr) {
    for (int k = 0; k < n; ++k) {
      resid[k] = (ex[Ix(k)] - mu * eo[Ix(k)]) / std::sqrt(inn.V(k) / g0);
    }
  }
  return n * std::log(rss / n) + logDet;
}

}  // namespace detail

namespace {

using detail::ArmaCoeffs;
std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// Writes the double values into dst, sized n, in the given precision.
void StoreValues(TVec& dst, const double* values, int n, TMtxFloatPrecision precision) {
  dst.Size(n, precision);
  for (int i = 0; i < n; ++i) dst.SetValue(i, values[i]);
}

// Reads element (k, j) of the covariance given as autocovariances or as a matrix.
struct TCovariance {
  const TDenseLumex& K;
  bool isVec;
  double operator()(int k, int j) const {
    return isVec ? K.Value(std::abs(k - j)) : K.Value(k * K.Cols() + j);
  }
};

// The innovations algorithm on K: theta (N+1 x N+1, row-major) and v (N+1). The sums skip the
// exact zeros of K below the diagonal (and the coefficients they force to zero) as long as the
// variances met are finite and non-zero; the skipped products are then exact zeros.
void InnovationsDense(const TCovariance& K, int N, std::vector<double>& th,
                      std::vector<double>& v) {
  const std::size_t w = Ix(N + 1);
  th.assign(w * w, 0.0);
  v.assign(w, 0.0);
  std::vector<int> lo(w, 0);
  for (std::size_t k = 0; k < w; ++k) th[k * w] = 1.0;
  v[0] = K(0, 0);
  bool clean = std::isfinite(v[0]) && v[0] != 0.0;
  auto T = [&](int r, int c) -> double& { return th[Ix(r) * w + Ix(c)]; };
  for (int k = 1; k <= N; ++k) {
    int first = 0;
    if (clean) {
      while (first < k && K(k, first) == 0.0) ++first;
    }
    lo[Ix(k)] = first;
    for (int j = 0; j < k; ++j) {
      if (j < first) continue;  // theta_{k,k-j} = 0
      double s = 0.0;
      for (int l = clean ? std::max(first, lo[Ix(j)]) : 0; l < j; ++l) {
        s += T(j, j - l) * T(k, k - l) * v[Ix(l)];
      }
      T(k, k - j) = (K(k, j) - s) / v[Ix(j)];
    }
    double s = K(k, k);
    for (int l = clean ? first : 0; l < k; ++l) s -= T(k, k - l) * T(k, k - l) * v[Ix(l)];
    v[Ix(k)] = s;
    if (!(std::isfinite(s) && s != 0.0)) clean = false;
    for (int j = 1; j <= k && clean; ++j) clean = std::isfinite(T(k, j));
  }
}

void CheckInnovationsArgs(const TDenseLumex& kappa, int NumEvals) {
  const bool isVec = kappa.LumexType() == ltVec;
  if (kappa.Length() == 0) ERaise("Innovations: gamma.Length = 0");
  if (isVec && kappa.Length() < NumEvals) ERaise("Innovations: kappa.Length < NumEvals");
  if (!isVec && kappa.Rows() < NumEvals) ERaise("Innovations: kappa.Rows < NumEvals");
  if (kappa.Complex()) ERaise("Innovations: kappa.Complex = true");
  if (NumEvals < 0) ERaise("Innovations: NumEvals < 0");
  if (isVec && kappa.Length() < NumEvals + 1) ERaise("Innovations: kappa.Length < NumEvals+1");
  if (!isVec && kappa.Rows() < NumEvals + 1) ERaise("Innovations: kappa.Rows < NumEvals+1");
  if (!isVec && kappa.Cols() < NumEvals + 1) ERaise("Innovations: kappa.Cols < NumEvals+1");
  if (NumEvals > 8191) ERaise("Innovations: NumEvals too large");
}

// The innovations algorithm with the checks and the wrapping of the matrix form.
void InnovationsCore(const TDenseLumex& kappa, int N, std::vector<double>& th,
                     std::vector<double>& v) {
  CheckInnovationsArgs(kappa, N);
  try {
    InnovationsDense(TCovariance{kappa, kappa.LumexType() == ltVec}, N, th, v);
  } catch (const std::exception& e) {
    ERaise(std::string("Innovations : ") + e.what());
  }
}

// The autocovariances of Data, lags 0 .. m, in double.
std::vector<double> SampleAutoCov(const TVec& Data, int m) {
  auto g = CreateIt<TVec>();
  AutoCov(Data, *g, m + 1);
  std::vector<double> out(Ix(m + 1));
  for (int k = 0; k <= m; ++k) out[Ix(k)] = g->Value(k);
  return out;
}

int ResolveMaxLags(int MaxLags, int n) {
  return MaxLags >= 0 ? MaxLags : static_cast<int>(std::ceil(10.0 * std::log10(double(n))));
}

// theta_{N,1 .. count} and v_N of the innovations algorithm on the autocovariances g (lags 0 ..
// N), with the sums sum_{l<j} theta_{N,l}^2 in thetaVar.
void InnovationsMA(const std::vector<double>& g, int N, int count, std::vector<double>& coef,
                   double& sigma2, std::vector<double>& thetaVar, std::vector<double>* var) {
  if (count > N) ERaise("Innovations: Theta.Length > NumEvals");
  TVec gv(g);
  std::vector<double> th, v;
  InnovationsCore(gv, N, th, v);
  const std::size_t w = Ix(N + 1);
  coef.resize(Ix(count));
  thetaVar.resize(Ix(count));
  double acc = 0.0;
  for (int j = 1; j <= count; ++j) {
    const double t = th[Ix(N) * w + Ix(j - 1)];
    acc += t * t;
    thetaVar[Ix(j - 1)] = acc;
    coef[Ix(j - 1)] = th[Ix(N) * w + Ix(j)];
  }
  sigma2 = v[Ix(N)];
  if (var != nullptr) var->assign(v.begin() + 1, v.begin() + 1 + count);
}

constexpr double kWorst = std::numeric_limits<double>::max();

}  // namespace

bool CheckARMACoeffs(const TVec& Coeffs, bool IsAR) {
  if (Coeffs.Complex()) ERaise("CheckARMACoeffs: Coeffs.Complex = true");
  const int k = Coeffs.Length();
  if (k == 0) return true;
  auto [c, roots] = CreateIt<TVec, TVec>();
  c->Size(k + 1);
  // Highest power first: c_k z^k + ... + c_1 z + 1 (negated coefficients for the AR part).
  for (int i = 0; i < k; ++i) (*c)[i] = (IsAR ? -1.0 : 1.0) * Coeffs.Value(k - 1 - i);
  (*c)[k] = 1.0;
  PolyRoots(*roots, *c);
  if (roots->Length() == 0) return true;  // all coefficients zero
  double smallest = Inf;
  const auto* z = roots->Data<std::complex<double>>();
  for (int i = 0; i < roots->Length(); ++i) {
    const double a = std::abs(z[i]);
    if (!(a >= 0.0)) return false;  // NaN roots
    smallest = std::min(smallest, a);
  }
  return smallest > 1.0;
}

bool CheckARMACoeffs(std::span<const double> Coeffs, bool IsAR) {
  auto v = CreateIt<TVec>();
  v->Size(static_cast<int>(Coeffs.size()));
  std::copy(Coeffs.begin(), Coeffs.end(), v->Data<double>());
  return CheckARMACoeffs(*v, IsAR);
}

void ARMAAcf(const TVec* Phi, const TVec* Theta, int n, TVec& Dst, bool Normalize) {
  if (n < 1) ERaise("n <= 0");
  const std::vector<double> phi = ArmaCoeffs(Phi, "ARMAAcf");
  const std::vector<double> theta = ArmaCoeffs(Theta, "ARMAAcf");
  const TMtxFloatPrecision precision =
      Phi != nullptr && Phi->Length() > 0
          ? Phi->FloatPrecision()
          : (Theta != nullptr && Theta->Length() > 0 ? Theta->FloatPrecision() : fpDouble);
  if (n > 100000000) ERaise("ARMAAcf: n too large");
  std::vector<double> g;
  detail::ArmaAcfDouble(phi, theta, n, g);
  if (Normalize && !g.empty()) {
    const double g0 = g[0];
    for (double& x : g) x /= g0;
  }
  StoreValues(Dst, g.data(), static_cast<int>(g.size()), precision);
}

double ARMAKappa(const TVec& GammaX, const TVec& GammaMA, int i, int j, const TVec* Phi,
                 const TVec* Theta) {
  if (i < 1 || j < 1) ERaise("ARMAKappa: (i<1) or (j<1)");
  const std::vector<double> phi = ArmaCoeffs(Phi, "ARMAKappa");
  const std::vector<double> theta = ArmaCoeffs(Theta, "ARMAKappa");
  if (GammaX.Complex() || GammaMA.Complex()) {
    ERaise("ARMAKappa: (GammaX.Complex) or (GammaMA.Complex)");
  }
  const int p = static_cast<int>(phi.size());
  const int m = std::max(p, static_cast<int>(theta.size()));
  const int h = std::abs(i - j);
  auto gx = [&](int lag) {
    if (lag >= GammaX.Length()) ERaise("ARMAKappa: GammaX too short");
    return GammaX.Value(lag);
  };
  const int lo = std::min(i, j);
  const int hi = std::max(i, j);
  if (hi <= m) return gx(h);
  if (lo <= m && hi <= 2 * m) {
    double s = gx(h);
    for (int r = 1; r <= p; ++r) s -= phi[Ix(r - 1)] * gx(std::abs(r - h));
    return s;
  }
  if (lo > m && h < GammaMA.Length() - 1) return GammaMA.Value(h);
  return 0.0;
}

void ARMAKappa(const TVec& Data, const TVec* Phi, const TVec* Theta, TMtx& Kappa, int N) {
  if (N < 0) ERaise("ARMAKappa: N < 0");
  if (N > 8192) ERaise("ARMAKappa: N too large");
  detail::TArmaInnovations inn;
  inn.Init(ArmaCoeffs(Phi, "ARMAKappa"), ArmaCoeffs(Theta, "ARMAKappa"));
  Kappa.Size(N, N, Data.FloatPrecision());
  for (int i = 0; i < N; ++i) {
    for (int j = 0; j < N; ++j) Kappa.SetValue(i * N + j, inn.Kappa(i, j));
  }
}

void Innovations(const TDenseLumex& kappa, int q, TMtx& ThetaM, TVec& Variances, int NumEvals) {
  (void)q;
  std::vector<double> th, v;
  InnovationsCore(kappa, NumEvals, th, v);
  const int w = NumEvals + 1;
  ThetaM.Size(w, w, kappa.FloatPrecision());
  for (int i = 0; i < w * w; ++i) ThetaM.SetValue(i, th[Ix(i)]);
  StoreValues(Variances, v.data(), w, kappa.FloatPrecision());
}

void Innovations(const TDenseLumex& gamma, TVec& Theta, double& sigma2, int NumEvals,
                 TVec* Variances, TVec* ThetaVar) {
  sigma2 = 0.0;
  if (Theta.Length() == 0 || Theta.Complex()) {
    ERaise("Innovations: (Theta.Length=0) or (Theta.Complex)");
  }
  const int q = Theta.Length();
  CheckInnovationsArgs(gamma, NumEvals);
  if (q > NumEvals) ERaise("Innovations: Theta.Length > NumEvals");
  std::vector<double> th, v;
  InnovationsCore(gamma, NumEvals, th, v);
  const std::size_t w = Ix(NumEvals + 1);
  const std::size_t rowN = Ix(NumEvals) * w;
  for (int j = 1; j <= q; ++j) Theta.SetValue(j - 1, th[rowN + Ix(j)]);
  sigma2 = v[Ix(NumEvals)];
  const TMtxFloatPrecision precision = gamma.FloatPrecision();
  if (Variances != nullptr) StoreValues(*Variances, v.data() + 1, q, precision);
  if (ThetaVar != nullptr) {
    ThetaVar->Size(q, precision);
    double acc = 0.0;
    for (int j = 1; j <= q; ++j) {
      acc += th[rowN + Ix(j - 1)] * th[rowN + Ix(j - 1)];
      ThetaVar->SetValue(j - 1, acc);
    }
  }
}

void ARMAInnovationsFit(const TVec& Data, TVec& Theta, double& sigma2, TVec* ThetaStdErr,
                        int MaxLags) {
  sigma2 = 0.0;
  if (Data.Length() == 0 || Data.Complex()) {
    ERaise("ARMAInnovations: (Data.Length=0) or (Data.Complex)");
  }
  if (Theta.Length() == 0 || Theta.Complex()) {
    ERaise("ARMAInnovations: (Theta.Length=0) or (Theta.Complex)");
  }
  const int n = Data.Length();
  if (MaxLags > n - 1) ERaise("ARMA: MaxLags > Data.Length -1");
  const int m = ResolveMaxLags(MaxLags, n);
  const int q = Theta.Length();
  std::vector<double> coef, thetaVar;
  InnovationsMA(SampleAutoCov(Data, m), m, q, coef, sigma2, thetaVar, nullptr);
  for (int j = 0; j < q; ++j) Theta.SetValue(j, coef[Ix(j)]);
  if (ThetaStdErr != nullptr) {
    ThetaStdErr->Size(q, Data.FloatPrecision());
    for (int j = 0; j < q; ++j) ThetaStdErr->SetValue(j, std::sqrt(thetaVar[Ix(j)] / n));
  }
}

void ARMAInnovationsFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2,
                        TVec* PhiStdErr, TVec* ThetaStdErr, int MaxLags) {
  sigma2 = 0.0;
  if (Data.Length() == 0 || Data.Complex()) {
    ERaise("ARMAInnovations: (Data.Length=0) or (Data.Complex)");
  }
  if (Theta.Length() == 0 || Theta.Complex()) {
    ERaise("ARMAInnovations: (Theta.Length=0) or (Theta.Complex)");
  }
  if (Phi.Length() == 0 || Phi.Complex()) {
    ERaise("ARMAInnovations: (Phi.Length=0) or (Phi.Complex)");
  }
  const int n = Data.Length();
  if (MaxLags > n - 1) ERaise("ARMAInnovations: MaxLags > Data.Length -1");
  const int m = ResolveMaxLags(MaxLags, n);
  const int p = Phi.Length();
  const int q = Theta.Length();
  std::vector<double> w, thetaVar;
  InnovationsMA(SampleAutoCov(Data, m), m, p + q, w, sigma2, thetaVar, nullptr);
  // theta_{m,j} with theta_{m,0} = 1 and 0 for negative j.
  auto tm = [&](int j) { return j == 0 ? 1.0 : (j < 0 ? 0.0 : w[Ix(j - 1)]); };
  auto [A, rhs, phi] = CreateIt<TMtx, TVec, TVec>();
  A->Size(p, p);
  rhs->Size(p);
  for (int i = 0; i < p; ++i) {
    for (int k = 0; k < p; ++k) (*A)(i, k) = tm(q + i - k);
    (*rhs)[i] = tm(q + i + 1);
  }
  LUSolve(*phi, *A, *rhs);
  for (int k = 0; k < p; ++k) Phi.SetValue(k, (*phi)[k]);
  if (PhiStdErr != nullptr) PhiStdErr->Size(p, Data.FloatPrecision()).SetZero();
  std::vector<double> psi(Ix(p + q + 1));
  psi[0] = 1.0;
  for (int j = 1; j <= p + q; ++j) psi[Ix(j)] = w[Ix(j - 1)];
  for (int j = 1; j <= q; ++j) {
    double s = psi[Ix(j)];
    for (int k = 1; k <= std::min(j, p); ++k) s -= (*phi)[k - 1] * psi[Ix(j - k)];
    Theta.SetValue(j - 1, s);
  }
  if (ThetaStdErr != nullptr) {
    ThetaStdErr->Size(q, Data.FloatPrecision());
    double acc = 0.0;
    for (int j = 1; j <= q; ++j) {
      acc += psi[Ix(j - 1)] * psi[Ix(j - 1)];
      ThetaStdErr->SetValue(j - 1, std::sqrt(acc / n));
    }
  }
}

void ARMAHannahFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2) {
  if (Data.Length() == 0 || Data.Complex()) ERaise("ARMAHannah: (Data.Length=0) or (Data.Complex)");
  if (Phi.Complex() || Theta.Complex()) ERaise("ARMAHannah: (Phi.Complex) or (Theta.Complex)");
  const int n = Data.Length();
  const int p = Phi.Length();
  const int q = Theta.Length();
  const int m = std::max(p, q) + 1;
  if (n < m + p + 2 * q) ERaise("ARMAHannah: Data.Length < m+p+2q");
  auto a = CreateIt<TVec>();
  a->Size(m);
  ARYuleWalkerFit(Data, *a, sigma2);
  if (p + q == 0) return;
  std::vector<double> x(Ix(n));
  for (int t = 0; t < n; ++t) x[Ix(t)] = Data.Value(t);
  // e[t-m] is the AR(m) residual at time t, t = m .. n-1.
  std::vector<double> e(Ix(n - m));
  for (int t = m; t < n; ++t) {
    double s = x[Ix(t)];
    for (int j = 1; j <= m; ++j) s -= a->Value(j - 1) * x[Ix(t - j)];
    e[Ix(t - m)] = s;
  }
  const int rows = n - m - q;
  auto [Z, y, b] = CreateIt<TMtx, TVec, TVec>();
  Z->Size(rows, p + q);
  y->Size(rows);
  for (int r = 0; r < rows; ++r) {
    const int t = m + q + r;
    (*y)[r] = x[Ix(t)];
    for (int k = 0; k < p; ++k) (*Z)(r, k) = x[Ix(t - k - 1)];
    for (int k = 0; k < q; ++k) (*Z)(r, p + k) = e[Ix(t - k - 1 - m)];
  }
  LQRSolve(*b, *Z, *y);
  for (int k = 0; k < p; ++k) Phi.SetValue(k, (*b)[k]);
  for (int k = 0; k < q; ++k) Theta.SetValue(k, (*b)[p + k]);
}

double ARMALogLike(const TVec& Data, const TVec& Phi, const TVec& Theta) {
  if (Data.Length() < 2 || Data.Complex()) ERaise("ARMALogLike: (Data.Length<2) or (Data.Complex)");
  const std::vector<double> phi = ArmaCoeffs(&Phi, "ARMALogLike");
  const std::vector<double> theta = ArmaCoeffs(&Theta, "ARMALogLike");
  auto x = CreateIt<TVec>();
  Convert(*x, Data, fpDouble);
  return detail::ArmaCriterion(x->Data<double>(), Data.Length(), phi, theta, nullptr);
}

namespace {

int MLE(const TVec& Data, TVec& Phi, TVec& Theta, std::span<const double> lower,
        std::span<const double> upper, std::vector<double>& pars, TVec& Residuals,
        double& FMin) {
  const int n = Data.Length();
  if (n < 2) ERaise("ARIMAMLE: Data.Length < 2");
  const int p = Phi.Length();
  const int q = Theta.Length();
  auto x = CreateIt<TVec>();
  Convert(*x, Data, fpDouble);
  const double* xd = x->Data<double>();
  std::vector<double> phi(Ix(p)), theta(Ix(q));
  auto split = [&](const TVec& par) {
    for (int j = 0; j < p; ++j) phi[Ix(j)] = par.Value(j);
    for (int j = 0; j < q; ++j) theta[Ix(j)] = par.Value(p + j);
  };
  const TRealFunction fun = [&](const TVec& par, const TVec*, const TObjConsts&) {
    split(par);
    return detail::ArmaCriterion(xd, n, phi, theta, nullptr);
  };
  TOptStopReason reason = osrNone;
  const int result = Simplex(fun, std::span<double>(pars), lower, upper, nullptr, TObjConsts{},
                             FMin, reason, Data.FloatPrecision(), 500, 1e-8);
  for (int j = 0; j < p; ++j) Phi.SetValue(j, pars[Ix(j)]);
  for (int j = 0; j < q; ++j) Theta.SetValue(j, pars[Ix(p + j)]);
  // The residuals of the returned model (one more evaluation at the best point).
  for (int j = 0; j < p; ++j) phi[Ix(j)] = Phi.Value(j);
  for (int j = 0; j < q; ++j) theta[Ix(j)] = Theta.Value(j);
  std::vector<double> res(Ix(n), NaN);
  detail::ArmaCriterion(xd, n, phi, theta, res.data());
  StoreValues(Residuals, res.data(), n, Data.FloatPrecision());
  return result;
}

}  // namespace

int ARMAMLE(const TVec& Input, TVec& Phi, TVec& Theta, TVec& Residuals, double& FMin) {
  TVec copy;  // the coefficients and residuals are written while the series is still read
  const TVec& Data = detail::Unaliased(Input, copy, {&Phi, &Theta, &Residuals});
  if (Data.Length() == 0 || Data.Complex()) ERaise("ARIMAMLE: (Data.Length=0) or (Data.Complex)");
  if (Phi.Complex() || Theta.Complex()) ERaise("ARIMAMLE: (Phi.Complex) or (Theta.Complex)");
  const int p = Phi.Length();
  const int q = Theta.Length();
  std::vector<double> lower(Ix(p + q), -Inf), upper(Ix(p + q), Inf), pars(Ix(p + q));
  for (int j = 0; j < p; ++j) {
    lower[Ix(j)] = -1.0;
    upper[Ix(j)] = 1.0;
    Phi.SetValue(j, std::clamp(Phi.Value(j), -1.0, 1.0));
    pars[Ix(j)] = Phi.Value(j);
  }
  for (int j = 0; j < q; ++j) pars[Ix(p + j)] = Theta.Value(j);
  return MLE(Data, Phi, Theta, lower, upper, pars, Residuals, FMin);
}

int ARMAMLE(const TVec& Input, TVec& Phi, TVec& Theta, const TVec& PTLowB, const TVec& PTUpB,
            TVec& Residuals, double& FMin) {
  TVec copy;
  const TVec& Data = detail::Unaliased(Input, copy, {&Phi, &Theta, &Residuals});
  if (Data.Length() == 0 || Data.Complex()) ERaise("ARIMAMLE: (Data.Length=0) or (Data.Complex)");
  if (PTLowB.Length() != PTUpB.Length()) ERaise("PTLowB.Length <> PTUpB.Length");
  if (Phi.Length() + Theta.Length() != PTLowB.Length()) {
    ERaise("P.Length + T.Length <> PTLowB.Length");
  }
  if (Phi.Complex() || Theta.Complex() || PTLowB.Complex() || PTUpB.Complex()) {
    ERaise("ARIMAMLE: complex coefficients or bounds");
  }
  const int p = Phi.Length();
  const int q = Theta.Length();
  std::vector<double> lower(Ix(p + q)), upper(Ix(p + q)), pars(Ix(p + q));
  for (int j = 0; j < p + q; ++j) {
    lower[Ix(j)] = PTLowB.Value(j);
    upper[Ix(j)] = PTUpB.Value(j);
    pars[Ix(j)] = j < p ? Phi.Value(j) : Theta.Value(j - p);
  }
  return MLE(Data, Phi, Theta, lower, upper, pars, Residuals, FMin);
}

}  // namespace lumex
