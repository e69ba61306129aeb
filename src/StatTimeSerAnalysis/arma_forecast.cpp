// ARMA and ARIMA forecasting, one-step predictors and simulation.
//
// The forecasts are the best linear predictors given the observed values, S21 S11^-1 y, with
// the error covariance S22 - S21 S11^-1 S12. Both come from the innovations algorithm run over
// the n observed and h future times of the transformed process: the observed innovations give
// the predictions of the future W values, the AR filter turns them into predictions of X, and
// the error covariance of the future block is L22 V2 L22^T with L22 = T22^-1 Theta22, the
// future block of the unit lower-triangular factor T^-1 Theta of the joint covariance. Cost
// O(n + h^2 (p + q)) instead of a solve with the n-square correlation matrix.
#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "StatTimeSerAnalysis/arma_internal.h"
#include "core/dispatch.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace lumex {

namespace {

using detail::ArmaCoeffs;
std::size_t Ix(int i) { return static_cast<std::size_t>(i); }

// The forecast deviations f (about the sample mean mu of x) and the forecast error variances,
// relative to gamma(0), of the series x[0 .. n-1] integrated `cumsums` times (0 for the ARMA
// forecasts; the error of a sum of forecasts is the sum of their errors). With wantFull the
// factor M (lower triangular, covariance M M^T; cumsums = 0 only) is kept: in full (h x h,
// row-major), or as its first column when it is Toeplitz.
struct TForecast {
  std::vector<double> f, var, full, first;
  double mu = 0.0, rms = 0.0;
  bool toeplitz = false;  // M is lower-triangular Toeplitz with first column `first`
};

void ForecastCore(const std::string& fn, const double* x, int n, const std::vector<double>& phi,
                  const std::vector<double>& theta, int h, int cumsums, bool wantFull,
                  TForecast& out) {
  if (phi.empty() && theta.empty()) ERaise(fn + ": (Phi.Length=0) and (Theta.Length=0)");
  double mu = 0.0;
  for (int k = 0; k < n; ++k) mu += x[k];
  mu /= n;
  out.mu = mu;
  detail::TArmaInnovations inn;
  inn.Init(phi, theta);
  if (!inn.Run(n + h, true)) ERaise(fn + ": correlation matrix not positive definite");
  const double g0 = inn.Gamma0();
  const int p = inn.P();
  const int m = inn.M();

  // One pass over the observed deviations y = x - mu: their innovations, of which the forecasts
  // need only the last m (kept in a ring), and the sum of squares.
  int ring = 1;
  while (ring < m + 1) ring <<= 1;
  const int mask = ring - 1;
  std::vector<double> e(Ix(ring), 0.0);
  double ss = 0.0;
  for (int k = 0; k < n; ++k) {
    double w = x[k] - mu;
    ss += w * w;
    if (k >= m) {
      for (int j = 1; j <= p; ++j) w -= phi[Ix(j - 1)] * (x[k - j] - mu);
    }
    const int width = k - inn.Lo(k);
    const double* row = inn.Row(k);
    for (int s = 1; s <= width; ++s) w -= row[s - 1] * e[Ix((k - s) & mask)];
    e[Ix(k & mask)] = w;
  }
  out.rms = std::sqrt(ss / n);

  // Predictions of the future W from the observed innovations, then of X through the AR filter.
  // y(t) is the deviation at time t: observed below n, predicted from n on.
  std::vector<double> future(Ix(h));
  auto y = [&](int t) { return t < n ? x[t] - mu : future[Ix(t - n)]; };
  out.f.assign(Ix(h), 0.0);
  for (int i = 0; i < h; ++i) {
    const int k = n + i;
    const int width = k - inn.Lo(k);
    const double* row = inn.Row(k);
    double s = 0.0;
    for (int sLag = i + 1; sLag <= width; ++sLag) s += row[sLag - 1] * e[Ix((k - sLag) & mask)];
    if (k >= m) {
      for (int j = 1; j <= p; ++j) s += phi[Ix(j - 1)] * y(k - j);
    }
    future[Ix(i)] = s;
    out.f[Ix(i)] = s;
  }

  // Column j of L22 = T22^-1 Theta22 by forward substitution, scaled by sqrt(v_{n+j}/gamma0).
  // When every future row is past the point where the recursion settled (and the AR filter
  // applies from the first future time on), L22 is a Toeplitz matrix: each column is the first
  // one moved down, so the first column alone gives every variance as a running sum, O(h p).
  out.var.assign(Ix(h), 0.0);
  out.toeplitz = n >= inn.Stored() && n >= m;
  const int columns = out.toeplitz ? std::min(h, 1) : h;
  if (wantFull && !out.toeplitz) out.full.assign(Ix(h) * Ix(h), 0.0);
  std::vector<double> c(Ix(h));
  for (int j = 0; j < columns; ++j) {
    const double sd = std::sqrt(inn.V(n + j) / g0);
    for (int i = j; i < h; ++i) {
      const int k = n + i;
      double v = 0.0;
      if (i == j) {
        v = 1.0;
      } else if (i - j <= k - inn.Lo(k)) {
        v = inn.Row(k)[i - j - 1];
      }
      if (k >= m) {
        for (int r = 1; r <= std::min(p, i - j); ++r) v += phi[Ix(r - 1)] * c[Ix(i - r)];
      }
      c[Ix(i)] = v;
    }
    for (int pass = 0; pass < cumsums; ++pass) {
      for (int i = j + 1; i < h; ++i) c[Ix(i)] += c[Ix(i - 1)];
    }
    if (out.toeplitz) {
      out.first.resize(Ix(h));
      double acc = 0.0;
      for (int i = 0; i < h; ++i) {
        out.first[Ix(i)] = c[Ix(i)] * sd;
        acc += out.first[Ix(i)] * out.first[Ix(i)];
        out.var[Ix(i)] = acc;
      }
      break;
    }
    for (int i = j; i < h; ++i) {
      const double a = c[Ix(i)] * sd;
      out.var[Ix(i)] += a * a;
      if (wantFull) out.full[Ix(i) * Ix(h) + Ix(j)] = a;
    }
  }
}

void ForecastChecks(const std::string& fn, const TVec& Data, int T) {
  if (Data.Length() == 0 || Data.Complex()) ERaise(fn + ": (Data.Length=0) or (Data.Complex)");
  if (T < 0) ERaise(fn + ": T < 0");
}

// The values of a real vector as doubles: its own storage when it is double, else a converted
// copy held in `copy`.
const double* AsDouble(const TVec& v, TVec& copy) {
  if (v.IsDouble()) return v.Data<double>();
  Convert(copy, v, fpDouble);
  return copy.Data<double>();
}

std::vector<double> ToDouble(const TVec& v) {
  std::vector<double> out(Ix(v.Length()));
  for (int i = 0; i < v.Length(); ++i) out[Ix(i)] = v.Value(i);
  return out;
}

void Store(TVec& dst, const std::vector<double>& values, TMtxFloatPrecision precision) {
  dst.Size(static_cast<int>(values.size()), precision);
  for (int i = 0; i < dst.Length(); ++i) dst.SetValue(i, values[Ix(i)]);
}

}  // namespace

void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T, TVec& YHat,
                  TMtx& Cov, double& RMS) {
  const std::string fn = "ARMAForecast";
  ForecastChecks(fn, Data, T);
  if (T > 46340) ERaise("ARMAForecast: T too large");
  auto copy = CreateIt<TVec>();
  TForecast fc;
  ForecastCore(fn, AsDouble(Data, *copy), Data.Length(), ArmaCoeffs(&Phi, "ARMAForecast"),
               ArmaCoeffs(&Theta, "ARMAForecast"), T, 0, true, fc);
  for (double& v : fc.f) v += fc.mu;
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  Store(YHat, fc.f, precision);
  RMS = fc.rms;
  Cov.Size(T, T, precision);
  if (fc.toeplitz) {
    // M(i, j) = a[i-j]: Cov(i, j) = Cov(i-1, j-1) + a[i] a[j].
    const std::vector<double>& a = fc.first;
    std::vector<double> prev(Ix(T)), cur(Ix(T));  // rows i-1 and i, columns 0 .. i
    for (int i = 0; i < T; ++i) {
      for (int j = 0; j <= i; ++j) {
        cur[Ix(j)] = (j > 0 ? prev[Ix(j - 1)] : 0.0) + a[Ix(i)] * a[Ix(j)];
        Cov.SetValue(i * T + j, cur[Ix(j)]);
        Cov.SetValue(j * T + i, cur[Ix(j)]);
      }
      std::swap(prev, cur);
    }
    return;
  }
  // Cov = M M^T with M lower triangular: element (i, j), i >= j, sums over k <= j.
  for (int i = 0; i < T; ++i) {
    const double* mi = fc.full.data() + Ix(i) * Ix(T);
    for (int j = 0; j <= i; ++j) {
      const double* mj = fc.full.data() + Ix(j) * Ix(T);
      double s = 0.0;
      for (int k = 0; k <= j; ++k) s += mi[k] * mj[k];
      Cov.SetValue(i * T + j, s);
      Cov.SetValue(j * T + i, s);
    }
  }
}

void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T, TVec& YHat,
                  TVec& StdErr) {
  const std::string fn = "ARMAForecast";
  ForecastChecks(fn, Data, T);
  auto copy = CreateIt<TVec>();
  TForecast fc;
  ForecastCore(fn, AsDouble(Data, *copy), Data.Length(), ArmaCoeffs(&Phi, "ARMAForecast"),
               ArmaCoeffs(&Theta, "ARMAForecast"), T, 0, false, fc);
  for (double& v : fc.f) v += fc.mu;
  for (double& v : fc.var) v = std::sqrt(v) * fc.rms;
  Store(YHat, fc.f, Data.FloatPrecision());
  Store(StdErr, fc.var, Data.FloatPrecision());
}

void ARIMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int d, int T,
                   TVec& YHat, TVec& StdErr) {
  const std::string fn = "ARIMAForecast";
  d = std::max(d, 0);
  if (Data.Length() <= d || Data.Complex()) ERaise("ARIMAForecast: (Data.Length<=d) or (Data.Complex)");
  if (T < 0) ERaise("ARIMAForecast: T < 0");
  auto [y, work] = CreateIt<TVec, TVec>();
  Convert(*y, Data, fpDouble);
  for (int k = 0; k < d; ++k) {
    Difference(*work, *y, 1);
    Copy(*y, *work);
  }
  TForecast fc;
  ForecastCore(fn, y->Data<double>(), y->Length(), ArmaCoeffs(&Phi, fn.c_str()),
               ArmaCoeffs(&Theta, fn.c_str()), T, d == 0 ? 0 : (d == 2 ? 2 : 1), false, fc);
  for (double& v : fc.f) v += fc.mu;
  for (double& v : fc.var) v = std::sqrt(v) * fc.rms;
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  Store(StdErr, fc.var, precision);
  if (d == 0) {
    Store(YHat, fc.f, precision);
    return;
  }
  auto [init, f, integrated, xd] = CreateIt<TVec, TVec, TVec, TVec>();
  Convert(*xd, Data, fpDouble);
  TimeSeriesIntInit(*xd, *init, d, true);
  f->Size(T);
  for (int i = 0; i < T; ++i) (*f)[i] = fc.f[Ix(i)];
  Integrate(*integrated, *f, *init);
  YHat.Size(T, precision);
  for (int i = 0; i < T; ++i) YHat.SetValue(i, integrated->Value(d + i));
}

void ARMAPredictors(const TVec& Data, const TVec* Phi, const TVec* Theta, TVec& XHat,
                    TVec* Variances) {
  if (Data.Complex()) ERaise("ARMAPredictors : Data.Complex");
  const int n = Data.Length();
  std::vector<double> xhat, var;
  try {
    const std::vector<double> phi = ArmaCoeffs(Phi, "ARMAKappa");
    const std::vector<double> theta = ArmaCoeffs(Theta, "ARMAKappa");
    const std::vector<double> x = ToDouble(Data);
    detail::TArmaInnovations inn;
    inn.Init(phi, theta);
    inn.Run(n + 1, false);
    const int p = inn.P();
    const int m = inn.M();
    xhat.assign(Ix(n + 1), 0.0);
    for (int k = 1; k <= n; ++k) {
      double s = 0.0;
      if (k >= m) {
        for (int j = 1; j <= p; ++j) s += phi[Ix(j - 1)] * x[Ix(k - j)];
      }
      const int width = k - inn.Lo(k);
      const double* row = inn.Row(k);
      for (int j = 1; j <= width; ++j) s += row[j - 1] * (x[Ix(k - j)] - xhat[Ix(k - j)]);
      xhat[Ix(k)] = s;
    }
    var.resize(Ix(n + 1));
    for (int k = 0; k <= n; ++k) var[Ix(k)] = inn.V(k);
  } catch (const std::exception& e) {
    ERaise(std::string("ARMAPredictors : ") + e.what());
  }
  Store(XHat, xhat, Data.FloatPrecision());
  if (Variances != nullptr) Store(*Variances, var, Data.FloatPrecision());
}

void ARMASimulate(const TVec& Phi, const TVec& Theta, int n, TVec& Dst) {
  if (n < 0) ERaise("ARMASimulate: n < 0");
  if (n > (1 << 30)) ERaise("ARMASimulate: n too large");
  const std::vector<double> phi = ArmaCoeffs(&Phi, "ARMASimulate");
  const std::vector<double> theta = ArmaCoeffs(&Theta, "ARMASimulate");
  const int p = static_cast<int>(phi.size());
  const int q = static_cast<int>(theta.size());
  const TMtxFloatPrecision precision =
      Phi.Length() > 0 ? Phi.FloatPrecision()
                       : (Theta.Length() > 0 ? Theta.FloatPrecision() : fpDouble);
  const int N = 200 + n;
  auto [ev, xv] = CreateIt<TVec, TVec>();
  ev->Size(N + q);
  RandGauss(*ev, 0.0, 1.0);
  const double* e = ev->Data<double>();
  double* x = xv->Size(N + p).Data<double>();
  for (int j = 0; j < p; ++j) x[j] = 0.0;
  for (int t = 0; t < N; ++t) {
    double ar = 0.0;
    for (int j = 1; j <= p; ++j) ar += phi[Ix(j - 1)] * x[t + p - j];
    double ma = e[t + q];
    for (int j = 1; j <= q; ++j) ma += theta[Ix(j - 1)] * e[t + q - j];
    x[t + p] = ar - ma;
  }
  Dst.Size(n, precision);
  for (int i = 0; i < n; ++i) Dst.SetValue(i, x[200 + i]);
}

void ARIMASimulate(const TVec& Phi, const TVec& Theta, int d, const TVec& ResInit, int n,
                   TVec& Dst) {
  if (d != ResInit.Length()) ERaise("ARIMASimulate: d <> ResInit.Length");
  auto [sim, integrated] = CreateIt<TVec, TVec>();
  ARMASimulate(Phi, Theta, n, *sim);
  if (d < 1) {
    Copy(Dst, *sim);
    return;
  }
  Integrate(*integrated, *sim, ResInit);
  Dst.Size(n, sim->FloatPrecision());
  for (int i = 0; i < n; ++i) Dst.SetValue(i, integrated->Value(d + i));
}

void TimeSeriesIntInit(const TVec& Input, TVec& ResInit, int d, bool FromEnd) {
  TVec copy;  // ResInit is sized before the series is read
  const TVec& Data = detail::Unaliased(Input, copy, {&ResInit});
  const int n = Data.Length();
  if (n < d || Data.Complex()) ERaise("TimeSeriesIntInit: (Data.Length<d) or (Data.Complex)");
  if (d < 0) ERaise("TimeSeriesIntInit: d < 0");
  ResInit.Size(d, Data.FloatPrecision());
  if (d == 0) return;
  ResInit.SetValue(0, FromEnd ? Data.Value(n - d) : Data.Value(d - 1));
  if (d < 2) return;
  std::vector<double> w(Ix(d));
  for (int i = 0; i < d; ++i) w[Ix(i)] = Data.Value(FromEnd ? n - d + i : i);
  double s = 0.0;
  for (int k = 2; k <= d; ++k) {
    for (std::size_t i = 0; i + 1 < w.size(); ++i) w[i] = w[i + 1] - w[i];
    w.pop_back();
    ResInit.SetValue(k - 1, w[0]);
    if (k == 2) {
      for (double v : w) s -= v;
    }
  }
  if (!FromEnd) ResInit.SetValue(0, ResInit.Value(0) + s);
}

}  // namespace lumex
