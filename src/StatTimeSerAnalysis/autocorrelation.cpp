// Second-order tools of a series: sample autocovariance and autocorrelation, partial
// autocorrelation by the Durbin-Levinson recursion, Yule-Walker and Burg AR fits with asymptotic
// standard errors, and the Ljung-Box statistic.
#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include <unsupported/Eigen/FFT>

#include "core/dispatch.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace lumex {

namespace {

std::size_t Idx(int i) { return static_cast<std::size_t>(i); }

// Length of the zero-padded transform for n values and lags lags: a power of two of at least
// n + lags - 1 points, so that no circular term reaches the lags asked for.
std::size_t FFTLength(int n, int lags) {
  std::size_t len = 1;
  while (len < static_cast<std::size_t>(n) + static_cast<std::size_t>(lags)) len <<= 1;
  return len;
}

// Direct sums cost about n*lags multiply-adds; the FFT route three transforms of N points,
// measured here at about 30 N log2 N multiply-add equivalents (10^6 points: direct sums are
// faster up to about 1200 lags).
bool UseFFT(int n, int lags) {
  const double N = static_cast<double>(FFTLength(n, lags));
  return static_cast<double>(lags) * n > 30.0 * N * std::log2(N);
}

// Biased autocorrelation of the centred series y by the Wiener-Khinchin route: |FFT(y)|^2
// transformed back on FFTLength points. dst[k] for k < lags (lags <= n).
void AutoCorrBiasedFFT(const double* y, int n, int lags, double* dst) {
  const std::size_t len = FFTLength(n, lags);
  std::vector<double> padded(len, 0.0);
  std::copy(y, y + n, padded.begin());
  std::vector<std::complex<double>> spectrum;
  Eigen::FFT<double> fft;
  fft.SetFlag(Eigen::FFT<double>::HalfSpectrum);
  fft.fwd(spectrum, padded);
  for (auto& c : spectrum) c = std::norm(c);
  fft.inv(padded, spectrum, len);
  for (int k = 0; k < lags; ++k) dst[k] = padded[static_cast<std::size_t>(k)] / n;
}

// Biased autocorrelation of y by direct sums, dst[k] for k < lags (lags <= n). The series is
// walked once in blocks that stay in the first-level cache while every lag takes its share of
// the block, instead of once per lag; four partial sums per lag keep the multiply-adds
// independent. Blocked partial sums are also a little more accurate than one running sum.
void AutoCorrBiasedDirect(const double* y, int n, int lags, double* dst) {
  constexpr int kBlock = 1024;
  std::fill(dst, dst + lags, 0.0);
  for (int t0 = 0; t0 < n; t0 += kBlock) {
    const int t1 = std::min(n, t0 + kBlock);
    for (int k = 0; k < lags; ++k) {
      const int end = std::min(t1, n - k);
      const double* a = y + k;
      double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
      int t = t0;
      for (; t + 4 <= end; t += 4) {
        s0 += y[t] * a[t];
        s1 += y[t + 1] * a[t + 1];
        s2 += y[t + 2] * a[t + 2];
        s3 += y[t + 3] * a[t + 3];
      }
      for (; t < end; ++t) s0 += y[t] * a[t];
      dst[k] += (s0 + s1) + (s2 + s3);
    }
  }
  for (int k = 0; k < lags; ++k) dst[k] /= n;
}

// The autocovariances of Data (real, checked by the caller) in double: lags 0 .. NumLags-1 with
// NumLags already resolved and >= 0; lags at or beyond n are 0.
void AutoCovDouble(const TVec& Data, TVec& Dst, int NumLags) {
  const int n = Data.Length();
  const int L = std::min(NumLags, n);
  auto y = CreateIt<TVec>();
  Convert(*y, Data, fpDouble);
  // Two passes: x - mean is exact for values near the mean, and the mean of those deviations
  // removes the rounding error of the first mean, which otherwise leaks into every lag of a
  // series with a large offset (NIST NumAcc4: values 1e7 + 0.1 .. 0.3).
  Sub(*y, Mean(*y));
  Sub(*y, Mean(*y));
  Dst.Size(L);
  if (UseFFT(n, L)) {
    AutoCorrBiasedFFT(y->Data<double>(), n, L, Dst.Data<double>());
  } else {
    AutoCorrBiasedDirect(y->Data<double>(), n, L, Dst.Data<double>());
  }
  if (NumLags > L) Dst.Resize(NumLags, true);
}

int ResolveLags(int NumLags, int n) {
  if (NumLags >= 0) return NumLags;
  return static_cast<int>(std::ceil(10.0 * std::log10(static_cast<double>(n))));
}

// Writes the double values of src into dst in the given precision.
void StoreAs(TVec& dst, const TVec& src, TMtxFloatPrecision precision) {
  if (precision == fpDouble) {
    Copy(dst, src);
  } else {
    Convert(dst, src, fpSingle);
  }
}

void AutoCovImpl(const TVec& Data, TVec& Dst, int NumLags, bool normalise) {
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  const int n = Data.Length();
  if (n == 0) {
    Dst.Size(0, precision);
    return;
  }
  auto g = CreateIt<TVec>();
  AutoCovDouble(Data, *g, ResolveLags(NumLags, n));
  if (normalise && g->Length() >= 1) {
    // Dividing (rather than multiplying by 1/g0) makes lag 0 exactly 1 and every lag correctly
    // rounded; a constant series gives 0/0 = NaN.
    Divide(*g, (*g)[0]);
  }
  StoreAs(Dst, *g, precision);
}

// The Durbin-Levinson recursion in the scalar type T. gamma[0 .. m] are the autocovariances (or
// autocorrelations); phi (length >= m) receives the AR(m) coefficients; pac[k], when given, the
// partial autocorrelation at lag k+1; var[k], when given, v_k for k = 0 .. m (v_0 = gamma[0]).
// Each order forms all new coefficients from the old ones (a copy in work) before storing any.
template <class T>
T Levinson(const T* gamma, int m, T* phi, T* pac, T* var, std::vector<T>& work) {
  T v = gamma[0];
  if (var != nullptr) var[0] = v;
  work.resize(static_cast<std::size_t>(std::max(m, 0)));
  for (int k = 1; k <= m; ++k) {
    T s = T(0);
    for (int j = 1; j < k; ++j) s += phi[j - 1] * gamma[k - j];
    const T a = (gamma[k] - s) / v;
    std::copy(phi, phi + (k - 1), work.begin());
    for (int j = 1; j < k; ++j) phi[j - 1] = work[Idx(j - 1)] - a * work[Idx(k - j - 1)];
    phi[k - 1] = a;
    if (pac != nullptr) pac[k - 1] = a;
    v = v * (T(1) - a * a);
    if (var != nullptr) var[k] = v;
  }
  return v;
}

// Asymptotic standard errors of AR coefficients: sqrt(sigma2/n * diag(Gamma_p^-1)), Gamma_p the
// Toeplitz matrix of the autocovariances g[0 .. p-1]. A degenerate g (zero or non-finite
// variance, or an exactly singular matrix) gives NaN.
void ARStdErrors(const TVec& gDouble, int p, double sigma2, int n, TVec& PhiStdErr,
                 TMtxFloatPrecision precision) {
  auto [g, G, d] = CreateIt<TVec, TMtx, TVec>();
  g->Size(p).SetZero();
  Copy(*g, gDouble, 0, 0, std::min(p, gDouble.Length()));
  PhiStdErr.Size(p, precision);
  const double g0 = (*g)[0];
  bool ok = std::isfinite(g0) && g0 > 0.0;
  if (ok) {
    Toeplitz(*G, *g);
    try {
      Inv(*G);
    } catch (const ELumexError&) {
      ok = false;
    }
  }
  for (int j = 0; j < p; ++j) {
    PhiStdErr.SetValue(j, ok ? std::sqrt(sigma2 / n * (*G)(j, j)) : NaN);
  }
}

}  // namespace

void AutoCov(const TVec& Data, TVec& Dst, int NumLags) {
  if (Data.Complex()) ERaise("AutoCov: Data.Complex = true");
  detail::CheckAllocation("AutoCov", "NumLags", NumLags);
  AutoCovImpl(Data, Dst, NumLags, false);
}

void ACF(const TVec& Data, TVec& Dst, int NumLags) {
  if (Data.Complex()) ERaise("ACF: Data.Complex = true");
  detail::CheckAllocation("ACF", "NumLags", NumLags);
  AutoCovImpl(Data, Dst, NumLags, true);
}

void PACF(const TVec& RhoIn, TVec& Phi, TVec& Results, TVec& Variances) {
  TVec copy;
  const TVec& Rho = detail::Unaliased(RhoIn, copy, {&Phi, &Results, &Variances});
  if (Rho.Complex()) ERaise("PACF: Rho.Complex = true");
  if (Rho.Length() < 2) ERaise("PACF: Rho.Length < 2");
  const int m = Rho.Length() - 1;
  const TMtxFloatPrecision precision = Rho.FloatPrecision();
  auto run = [&]<class T>(const T* rho) {
    Phi.Size(m, precision);
    Results.Size(m, precision);
    auto var = CreateIt<TVec>();
    var->Size(m + 1, precision);
    std::vector<T> work;
    T* phi = Phi.Data<T>();
    std::fill(phi, phi + m, T(0));
    Levinson<T>(rho, m, phi, Results.Data<T>(), var->Data<T>(), work);
    // Variances[k] is the prediction variance of order k, k = 0 .. m-1.
    Variances.Size(m, precision);
    Copy(Variances, *var, 0, 0, m);
  };
  if (Rho.IsDouble()) {
    run(Rho.Data<double>());
  } else {
    run(Rho.Data<float>());
  }
}

void PACF(const TVec& Rho, TVec& Results) {
  if (Rho.Complex()) ERaise("PACF: Rho.Complex = true");
  if (Rho.Length() < 2) {
    Results.Size(0, Rho.FloatPrecision());
    return;
  }
  auto [phi, var] = CreateIt<TVec, TVec>();
  PACF(Rho, *phi, Results, *var);
}

void DurbinLevinson(const TVec& gammaIn, TVec& Phi, double& sigma2, int NumEvals,
                    TVec* Variances) {
  TVec copy;
  const TVec& gamma = detail::Unaliased(gammaIn, copy, {&Phi, Variances});
  if (gamma.Length() == 0) ERaise("DurbinLevinson: gamma.Length = 0");
  if (Phi.Length() == 0 || Phi.Complex()) ERaise("DurbinLevinson: (Phi.Length=0) or (Phi.Complex)");
  if (NumEvals > gamma.Length()) ERaise("DurbinLevinson: NumEvals > gamma.Length");
  if (gamma.Complex()) ERaise("DurbinLevinson: gamma.Complex = true");
  if (NumEvals - 1 > Phi.Length()) ERaise("DurbinLevinson: Phi.Length < NumEvals-1");
  const int len = Phi.Length();
  const int m = std::max(NumEvals - 1, 0);
  const TMtxFloatPrecision precision = gamma.FloatPrecision();
  auto run = [&]<class T>(const T* g) {
    // Phi keeps its length and takes the precision of gamma.
    Phi.Size(len, precision);
    Phi.SetZero();
    auto var = CreateIt<TVec>();
    var->Size(m + 1, precision);
    std::vector<T> work;
    sigma2 = static_cast<double>(Levinson<T>(g, m, Phi.Data<T>(), nullptr, var->Data<T>(), work));
    if (Variances != nullptr) {
      Variances->Size(len, precision);
      Variances->SetZero();
      // Variances[k-1] = v_k, the innovation variance of order k.
      if (m > 0) Copy(*Variances, *var, 1, 0, m);
    }
  };
  if (gamma.IsDouble()) {
    run(gamma.Data<double>());
  } else {
    run(gamma.Data<float>());
  }
}

void ARYuleWalkerFit(const TVec& Data, TVec& Phi, double& sigma2, TVec* PhiStdErr) {
  sigma2 = 0.0;
  if (Data.Length() == 0 || Data.Complex()) {
    ERaise("ARYuleWalker: (Data.Length=0) or (Data.Complex)");
  }
  if (Phi.Length() == 0) ERaise("Phi.Length = 0");
  const int p = Phi.Length();
  const int n = Data.Length();
  auto [g, gDouble] = CreateIt<TVec, TVec>();
  AutoCov(Data, *g, p + 1);
  DurbinLevinson(*g, Phi, sigma2, p + 1, PhiStdErr);
  if (PhiStdErr != nullptr) {
    Convert(*gDouble, *g, fpDouble);
    ARStdErrors(*gDouble, p, sigma2, n, *PhiStdErr, Data.FloatPrecision());
  }
}

void ARBurgFit(const TVec& Data, TVec& Phi, double& sigma2, TVec& PhiStdErr) {
  sigma2 = 0.0;
  if (Data.Length() == 0 || Data.Complex()) ERaise("ARBurg: (Data.Length=0) or (Data.Complex)");
  if (Phi.Length() == 0) ERaise("Phi.Length = 0");
  const int p = Phi.Length();
  const int n = Data.Length();
  const TMtxFloatPrecision precision = Data.FloatPrecision();

  // u: backward errors, v: forward errors, both starting as the series reversed. After order k,
  // u[t] and v[t] for t = k .. n-1 hold the errors of the order-k predictors.
  std::vector<double> u(static_cast<std::size_t>(n));
  for (int t = 0; t < n; ++t) u[static_cast<std::size_t>(t)] = Data.Value(n - 1 - t);
  std::vector<double> v = u;
  std::vector<double> prev(static_cast<std::size_t>(p), 0.0);
  std::vector<double> coef(static_cast<std::size_t>(p), 0.0);
  std::vector<double> var(static_cast<std::size_t>(p), 0.0);
  auto sumSq = [](const std::vector<double>& x, int from, int to) {  // sum of x[from .. to-1]^2
    double s = 0.0;
    for (int t = from; t < to; ++t) s += x[static_cast<std::size_t>(t)] * x[static_cast<std::size_t>(t)];
    return s;
  };
  for (int k = 1; k <= p; ++k) {
    double num = 0.0;
    for (int t = k; t < n; ++t) {
      num += u[static_cast<std::size_t>(t - 1)] * v[static_cast<std::size_t>(t)];
    }
    const double den = sumSq(u, k - 1, n - 1) + sumSq(v, k, n);
    const double a = 2.0 * num / den;
    // Levinson update of the coefficients: order k from order k-1.
    prev = coef;
    coef[static_cast<std::size_t>(k - 1)] = a;
    for (int j = 1; j < k; ++j) {
      coef[static_cast<std::size_t>(j - 1)] =
          prev[static_cast<std::size_t>(j - 1)] - a * prev[static_cast<std::size_t>(k - j - 1)];
    }
    // New errors from the old ones; going down in t lets u[t-1] still be the old value.
    for (int t = n - 1; t >= k; --t) {
      const double uOld = u[static_cast<std::size_t>(t - 1)];
      const double vOld = v[static_cast<std::size_t>(t)];
      u[static_cast<std::size_t>(t)] = uOld - a * vOld;
      v[static_cast<std::size_t>(t)] = vOld - a * uOld;
    }
    // No error is left to average once the order reaches the length of the series.
    var[static_cast<std::size_t>(k - 1)] =
        n > k ? (sumSq(v, k, n) + sumSq(u, k, n)) / (2.0 * static_cast<double>(n - k)) : NaN;
  }
  Phi.Size(p, Phi.FloatPrecision());
  for (int j = 0; j < p; ++j) Phi.SetValue(j, coef[static_cast<std::size_t>(j)]);
  sigma2 = var[static_cast<std::size_t>(p - 1)];

  auto g = CreateIt<TVec>();
  AutoCovDouble(Data, *g, p);
  ARStdErrors(*g, p, sigma2, n, PhiStdErr, precision);
}

double BoxLjung(const TVec& X, int h) {
  if (X.Complex()) ERaise("BoxLjung : X.Complex = true");
  if (h > X.Length() - 1) ERaise("BoxLjung : h > X.Length-1");
  if (h <= 0) return 0.0;
  const int n = X.Length();
  auto r = CreateIt<TVec>();
  AutoCovImpl(X, *r, h + 1, true);
  const double dn = n;
  double sum = 0.0;
  for (int k = 1; k <= h; ++k) {
    const double rk = r->Value(k);
    sum += rk * rk / (dn - k);
  }
  return dn * (dn + 2.0) * sum;
}

}  // namespace lumex
