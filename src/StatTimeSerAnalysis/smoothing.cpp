// Exponential smoothing of a series (single, Holt's double and Holt-Winters' multiplicative
// triple), with given or optimised constants and the forecasts that continue them, and the simple
// and centred moving average.
//
// Each method has one recursion (its objective), shared by the given-constant smoother, the
// optimised smoother and the forecaster: it fills the smoothed series and returns the mean
// squared one-step error. The recursions run in the storage precision of Y; squared errors are
// summed in double.
#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <span>
#include <string>

#include "core/dispatch.h"
#include "lumex/StatTimeSerAnalysis.h"

namespace lumex {

namespace {

// ---- The three recursions ----------------------------------------------------------------------

// Single smoothing over y[0 .. n-1] (n >= 2; n >= 4 for InitMethod 1); level has n-1 elements.
template <class T>
double SingleRecursion(const T* y, int n, T alpha, int initMethod, T* level) {
  level[0] = initMethod == 1 ? (y[0] + y[1] + y[2] + y[3]) / T(4) : y[0];
  for (int t = 1; t <= n - 2; ++t) level[t] = level[t - 1] + alpha * (y[t] - level[t - 1]);
  double sse = 0.0;
  for (int i = 0; i <= n - 2; ++i) {
    const double e = static_cast<double>(y[i + 1]) - static_cast<double>(level[i]);
    sse += e * e;
  }
  return sse / (n - 1);
}

// Double smoothing over the first m values of level and trend (m <= n, n >= 2; n >= 4 for
// InitMethod 1). The divisor of the MSE is n-1 whatever m.
template <class T>
double DoubleRecursion(const T* y, int n, int m, T alpha, T gamma, int initMethod, T* level,
                       T* trend) {
  level[0] = y[0];
  if (initMethod == 1) {
    trend[0] = (y[3] - y[0]) / T(3);
  } else if (initMethod == 2) {
    trend[0] = (y[n - 1] - y[0]) / static_cast<T>(n - 1);
  } else {
    trend[0] = y[1] - y[0];
  }
  for (int t = 1; t < m; ++t) {
    level[t] = alpha * y[t] + (T(1) - alpha) * (level[t - 1] + trend[t - 1]);
    trend[t] = gamma * (level[t] - level[t - 1]) + (T(1) - gamma) * trend[t - 1];
  }
  double sse = 0.0;
  for (int i = 0; i <= m - 2; ++i) {
    const double e = static_cast<double>(level[i] + trend[i]) - static_cast<double>(y[i + 1]);
    sse += e * e;
  }
  return sse / (n - 1);
}

// Multiplicative Holt-Winters over y[0 .. n-1] with season L (L >= 1, n a multiple of L and
// n >= 2L); level and trend have n-L elements, season n.
template <class T>
double TripleRecursion(const T* y, int n, int L, T alpha, T beta, T gamma, T* level, T* trend,
                       T* season) {
  const int seasons = n / L;
  const T dL = static_cast<T>(L);
  // The recursion fills season[L .. n-2]; the last index is never reached and stays 0.
  std::fill(season, season + n, T(0));
  // Season indexes: each value over the mean of its season, averaged over the seasons.
  for (int j = 0; j < seasons; ++j) {
    T a = T(0);
    for (int i = 0; i < L; ++i) a += y[j * L + i];
    a /= dL;
    for (int i = 0; i < L; ++i) season[i] += y[j * L + i] / a;
  }
  for (int i = 0; i < L; ++i) season[i] /= static_cast<T>(seasons);
  T b = T(0);
  for (int i = 0; i < L; ++i) b += y[L + i] - y[i];
  trend[0] = b / (dL * dL);
  T s = T(0);
  for (int i = 0; i < L; ++i) s += y[i];
  level[0] = s / dL;
  for (int t = 1; t <= n - L - 1; ++t) {
    const T yt = y[t + L - 1];
    level[t] = alpha * yt / season[t - 1] + (T(1) - alpha) * (level[t - 1] + trend[t - 1]);
    season[t + L - 1] = beta * yt / level[t] + (T(1) - beta) * season[t - 1];
    trend[t] = gamma * (level[t] - level[t - 1]) + (T(1) - gamma) * trend[t - 1];
  }
  double sse = 0.0;
  for (int i = 0; i <= n - L - 1; ++i) {
    const double e =
        static_cast<double>((level[i] + trend[i]) * season[i]) - static_cast<double>(y[L + i]);
    sse += e * e;
  }
  return sse / (n - L);
}

// ---- Argument checks ---------------------------------------------------------------------------

void CheckConstant(double c, const char* fn, const char* name) {
  // NaN fails both comparisons of the message, so it is tested for explicitly.
  if (!(c >= 0.0 && c <= 1.0)) {
    ERaise(std::string(fn) + ": (" + name + ">1) or (" + name + "<0)");
  }
}

void CheckReal(const TVec& Y, const char* fn) {
  if (Y.Complex()) ERaise(std::string(fn) + ": Y.Complex = true");
}

// The starts of single and double smoothing read Y[1] (or Y[n-1]) and, for InitMethod 1, Y[3].
void CheckStartLength(const TVec& Y, int initMethod, const char* fn) {
  if (Y.Length() < 2) ERaise(std::string(fn) + ": Y.Length < 2");
  if (initMethod == 1 && Y.Length() < 4) {
    ERaise(std::string(fn) + ": (InitMethod = 1) and (Y.Length < 4)");
  }
}

void CheckPeriod(const TVec& Y, int period, const char* fn) {
  if (period < 1) ERaise(std::string(fn) + ": Period < 1");
  if (Y.Length() % period != 0) ERaise(std::string(fn) + ": (Y.Length mod Period <> 0)");
}

// The start of triple smoothing reads the second season.
void CheckTwoSeasons(const TVec& Y, int period, const char* fn) {
  if (Y.Length() < 2 * period) ERaise(std::string(fn) + ": Y.Length < 2*Period");
}

// Runs f with the typed storage of the real vector Y.
template <class F>
decltype(auto) WithTyped(const TVec& Y, F&& f) {
  if (Y.IsDouble()) return f(Y.Data<double>());
  return f(Y.Data<float>());
}

// ---- The objectives in the form of the optimiser -----------------------------------------------

double SingleObjective(const TVec& Input, TVec& Level, double alpha, int initMethod) {
  TVec copy;
  const TVec& Y = detail::Unaliased(Input, copy, {&Level});
  return WithTyped(Y, [&]<class T>(const T* y) {
    Level.Size(Y.Length() - 1, Y.FloatPrecision());
    return SingleRecursion<T>(y, Y.Length(), static_cast<T>(alpha), initMethod, Level.Data<T>());
  });
}

double DoubleObjective(const TVec& Input, TVec& Level, TVec& Trend, int m, double alpha,
                       double gamma, int initMethod) {
  TVec copy;
  const TVec& Y = detail::Unaliased(Input, copy, {&Level, &Trend});
  return WithTyped(Y, [&]<class T>(const T* y) {
    Level.Size(m, Y.FloatPrecision());
    Trend.Size(m, Y.FloatPrecision());
    return DoubleRecursion<T>(y, Y.Length(), m, static_cast<T>(alpha), static_cast<T>(gamma),
                              initMethod, Level.Data<T>(), Trend.Data<T>());
  });
}

double TripleObjective(const TVec& Input, TVec& Level, TVec& Trend, TVec& Season, double alpha,
                       double beta, double gamma, int period) {
  TVec copy;
  const TVec& Y = detail::Unaliased(Input, copy, {&Level, &Trend, &Season});
  return WithTyped(Y, [&]<class T>(const T* y) {
    const int n = Y.Length();
    Level.Size(n - period, Y.FloatPrecision());
    Trend.Size(n - period, Y.FloatPrecision());
    Season.Size(n, Y.FloatPrecision());
    return TripleRecursion<T>(y, n, period, static_cast<T>(alpha), static_cast<T>(beta),
                              static_cast<T>(gamma), Level.Data<T>(), Trend.Data<T>(),
                              Season.Data<T>());
  });
}

// Minimises the MSE over constants in [0, 1] and writes the constants found into pars, which
// hold the caller's start on entry. The bounded simplex descends from that start first. The MSE
// surfaces of these recursions have several local minima (Holt-Winters on a trending seasonal
// series especially), and Nelder-Mead only descends into the basin it starts in; so the minimum
// found is compared with a grid of 21 points per constant (0, 0.05, ..., 1), and if a grid point
// is lower the simplex descends once more from the lowest of them. The result is never worse than
// the caller's start or any grid point, and equals the plain descent whenever that one is not
// beaten by the grid. The caller evaluates the objective once more at the constants found.
template <std::size_t N>
void MinimiseMSE(const TVec& Y, std::array<double, N>& pars,
                 const std::function<double(const TVec&)>& mse) {
  constexpr int kGrid = 21;
  auto trial = CreateIt<TVec>();
  trial->Size(static_cast<int>(N), Y.FloatPrecision());
  auto value = [&](const std::array<double, N>& c) {
    for (std::size_t j = 0; j < N; ++j) trial->SetValue(static_cast<int>(j), c[j]);
    const double v = mse(*trial);
    return std::isnan(v) ? Inf : v;
  };
  std::array<double, N> lower{};
  std::array<double, N> upper{};
  upper.fill(1.0);
  const TRealFunction fun = [&mse](const TVec& p, const TVec*, const TObjConsts&) {
    return mse(p);
  };
  // Descends from c, leaving the constants found in c; returns their MSE (NaN counts as +Inf).
  auto descend = [&](std::array<double, N>& c) {
    double fMin = 0.0;
    TOptStopReason reason = osrNone;
    Simplex(fun, std::span<double>(c), std::span<const double>(lower),
            std::span<const double>(upper), nullptr, TObjConsts{}, fMin, reason,
            Y.FloatPrecision(), 500, 1e-8);
    return value(c);
  };
  const double descended = descend(pars);

  std::array<double, N> best{};
  double bestValue = Inf;
  int points = 1;
  for (std::size_t j = 0; j < N; ++j) points *= kGrid;
  std::array<double, N> c{};
  for (int code = 0; code < points; ++code) {
    int rest = code;
    for (std::size_t j = 0; j < N; ++j) {
      c[j] = (rest % kGrid) / static_cast<double>(kGrid - 1);
      rest /= kGrid;
    }
    const double v = value(c);
    if (v < bestValue) {
      bestValue = v;
      best = c;
    }
  }
  if (bestValue < descended && descend(best) < descended) pars = best;
}

// Continues the forecast YHat[M .. K-1] (K = YHat.Length) by f(i) in the precision of YHat.
template <class F>
void ExtendForecast(TVec& YHat, int M, F&& f) {
  for (int i = M; i < YHat.Length(); ++i) YHat.SetValue(i, f(i));
}

}  // namespace

// ---- Single smoothing --------------------------------------------------------------------------

void SingleExpSmooth(const TVec& Y, TVec& Level, double Alpha, double& MSE, int InitMethod) {
  constexpr const char* fn = "SingleExpSmooth";
  CheckConstant(Alpha, fn, "Alpha");
  CheckReal(Y, fn);
  CheckStartLength(Y, InitMethod, fn);
  MSE = SingleObjective(Y, Level, Alpha, InitMethod);
}

double SingleExpSmooth(const TVec& Y, TVec& Level, double& Alpha, int InitMethod) {
  constexpr const char* fn = "SingleExpSmooth";
  CheckConstant(Alpha, fn, "Alpha");
  CheckReal(Y, fn);
  CheckStartLength(Y, InitMethod, fn);
  std::array<double, 1> pars{Alpha};
  auto work = CreateIt<TVec>();
  MinimiseMSE<1>(Y, pars, [&](const TVec& p) {
    return SingleObjective(Y, *work, p.Value(0), InitMethod);
  });
  Alpha = pars[0];
  return SingleObjective(Y, Level, Alpha, InitMethod);
}

void SingleExpForecast(const TVec& Y, TVec& YHat, double Alpha, int T, int InitMethod) {
  constexpr const char* fn = "SingleExpForecast";
  CheckReal(Y, fn);
  if (T < 1) ERaise("SingleExpForecast: T<1");
  detail::CheckAllocation(fn, "T", T - 1);
  CheckStartLength(Y, InitMethod, fn);
  auto level = CreateIt<TVec>();
  SingleObjective(Y, *level, Alpha, InitMethod);
  const int K = T - 1;
  const int M = std::min(K, Y.Length() - 1);
  YHat.Size(K, Y.FloatPrecision());
  if (M > 0) Copy(YHat, *level, 0, 0, M);
  ExtendForecast(YHat, M, [&](int) { return YHat.Value(M - 1); });
}

void SingleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, int T, double& MSE,
                       int InitMethod) {
  detail::CheckAllocation("SingleExpForecast", "T", T - 1);
  auto level = CreateIt<TVec>();
  MSE = SingleExpSmooth(Y, *level, Alpha, InitMethod);
  SingleExpForecast(Y, YHat, Alpha, T, InitMethod);
}

// ---- Double smoothing --------------------------------------------------------------------------

void DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double Alpha, double Gamma,
                     double& MSE, int InitMethod) {
  constexpr const char* fn = "DoubleExpSmooth";
  MSE = 0.0;
  CheckConstant(Alpha, fn, "Alpha");
  CheckConstant(Gamma, fn, "Gamma");
  CheckReal(Y, fn);
  CheckStartLength(Y, InitMethod, fn);
  MSE = DoubleObjective(Y, Level, Trend, Y.Length(), Alpha, Gamma, InitMethod);
}

double DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double& Alpha, double& Gamma,
                       int InitMethod) {
  constexpr const char* fn = "DoubleExpSmooth";
  CheckConstant(Alpha, fn, "Alpha");
  CheckConstant(Gamma, fn, "Gamma");
  CheckReal(Y, fn);
  CheckStartLength(Y, InitMethod, fn);
  const int n = Y.Length();
  std::array<double, 2> pars{Alpha, Gamma};
  auto level = CreateIt<TVec>(), trend = CreateIt<TVec>();
  MinimiseMSE<2>(Y, pars, [&](const TVec& p) {
    return DoubleObjective(Y, *level, *trend, n, p.Value(0), p.Value(1), InitMethod);
  });
  Alpha = pars[0];
  Gamma = pars[1];
  return DoubleObjective(Y, Level, Trend, n, Alpha, Gamma, InitMethod);
}

void DoubleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Gamma, int T,
                       int InitMethod) {
  constexpr const char* fn = "DoubleExpForecast";
  CheckConstant(Alpha, fn, "Alpha");
  CheckConstant(Gamma, fn, "Gamma");
  CheckReal(Y, fn);
  if (T < 1) ERaise("DoubleExpForecast: T<1");
  detail::CheckAllocation(fn, "T", T - 1);
  CheckStartLength(Y, InitMethod, fn);
  const int n = Y.Length();
  auto [level, trend] = CreateIt<TVec, TVec>();
  DoubleObjective(Y, *level, *trend, n - 1, Alpha, Gamma, InitMethod);
  const int K = T - 1;
  const int M = std::min(K, n - 1);
  YHat.Size(K, Y.FloatPrecision());
  for (int i = 0; i < M; ++i) YHat.SetValue(i, level->Value(i) + trend->Value(i));
  if (M > 0) {
    const double lastLevel = level->Value(M - 1);
    const double lastTrend = trend->Value(M - 1);
    ExtendForecast(YHat, M, [&](int i) { return lastLevel + (i - M + 2) * lastTrend; });
  }
}

void DoubleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Gamma, int T,
                       double& MSE, int InitMethod) {
  constexpr const char* fn = "DoubleExpForecast";
  CheckConstant(Alpha, fn, "Alpha");
  CheckConstant(Gamma, fn, "Gamma");
  CheckReal(Y, fn);
  if (T < 1) ERaise("DoubleExpForecast: T<1");
  detail::CheckAllocation(fn, "T", T - 1);
  CheckStartLength(Y, InitMethod, fn);
  auto [level, trend] = CreateIt<TVec, TVec>();
  MSE = DoubleExpSmooth(Y, *level, *trend, Alpha, Gamma, InitMethod);
  DoubleExpForecast(Y, YHat, Alpha, Gamma, T, InitMethod);
}

// ---- Triple smoothing --------------------------------------------------------------------------

namespace {

void CheckTriple(const TVec& Y, double Alpha, double Beta, double Gamma, int Period,
                 const char* fn, const int* T) {
  CheckConstant(Alpha, fn, "Alpha");
  CheckConstant(Beta, fn, "Beta");
  CheckConstant(Gamma, fn, "Gamma");
  CheckReal(Y, fn);
  CheckPeriod(Y, Period, fn);
  if (T != nullptr && *T < Period) ERaise(std::string(fn) + ": T<Period");
  if (T != nullptr) detail::CheckAllocation(fn, "T", static_cast<long long>(*T) - Period);
  CheckTwoSeasons(Y, Period, fn);
}

}  // namespace

void TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season, double Alpha,
                     double Beta, double Gamma, double& MSE, int Period) {
  CheckTriple(Y, Alpha, Beta, Gamma, Period, "TripleExpSmooth", nullptr);
  MSE = TripleObjective(Y, Level, Trend, Season, Alpha, Beta, Gamma, Period);
}

double TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season, double& Alpha,
                       double& Beta, double& Gamma, int Period) {
  CheckTriple(Y, Alpha, Beta, Gamma, Period, "TripleExpSmooth", nullptr);
  std::array<double, 3> pars{Alpha, Beta, Gamma};
  auto level = CreateIt<TVec>(), trend = CreateIt<TVec>(), season = CreateIt<TVec>();
  MinimiseMSE<3>(Y, pars, [&](const TVec& p) {
    return TripleObjective(Y, *level, *trend, *season, p.Value(0), p.Value(1), p.Value(2),
                           Period);
  });
  Alpha = pars[0];
  Beta = pars[1];
  Gamma = pars[2];
  return TripleObjective(Y, Level, Trend, Season, Alpha, Beta, Gamma, Period);
}

void TripleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Beta, double Gamma, int T,
                       int Period) {
  CheckTriple(Y, Alpha, Beta, Gamma, Period, "TripleExpForecast", &T);
  const int n = Y.Length();
  const int L = Period;
  auto level = CreateIt<TVec>(), trend = CreateIt<TVec>(), season = CreateIt<TVec>();
  TripleObjective(Y, *level, *trend, *season, Alpha, Beta, Gamma, L);
  const int K = T - L;
  const int M = std::min(K, n - L);
  YHat.Size(K, Y.FloatPrecision());
  for (int i = 0; i < M; ++i) {
    YHat.SetValue(i, (level->Value(i) + trend->Value(i)) * season->Value(i));
  }
  if (M > 0) {
    // Past the data M = n-L >= L, so the indexes of the last complete season are in range.
    const double lastLevel = level->Value(M - 1);
    const double lastTrend = trend->Value(M - 1);
    ExtendForecast(YHat, M, [&](int i) {
      return (lastLevel + (i - M + 1) * lastTrend) * season->Value(M - L + (i - M) % L);
    });
  }
}

void TripleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Beta, double& Gamma,
                       int T, double& MSE, int Period) {
  CheckTriple(Y, Alpha, Beta, Gamma, Period, "TripleExpForecast", &T);
  auto [level, trend, season] = CreateIt<TVec, TVec, TVec>();
  MSE = TripleExpSmooth(Y, *level, *trend, *season, Alpha, Beta, Gamma, Period);
  TripleExpForecast(Y, YHat, Alpha, Beta, Gamma, T, Period);
}

// ---- Moving average ----------------------------------------------------------------------------

namespace {

// dst[i] = mean of src[i .. i+w-1], i = 0 .. len-w (len >= w >= 1). A running sum, restarted
// from a fresh sum every w steps so that its rounding error cannot grow with the length.
void MovingMean(const double* src, int len, int w, double* dst) {
  const int count = len - w + 1;
  double sum = 0.0;
  for (int i = 0; i < count; ++i) {
    if (i % w == 0) {
      sum = 0.0;
      for (int j = 0; j < w; ++j) sum += src[i + j];
    } else {
      sum += src[i + w - 1] - src[i - 1];
    }
    dst[i] = sum / w;
  }
}

}  // namespace

double MovingAverage(const TVec& Y, int N, TVec& MovAve, int& Lag, bool Centered) {
  if (Y.Complex()) ERaise("SingleMovAve: Y.Complex");
  if (N < 1) ERaise("SingleMovAve: N<1");
  if (Y.Length() < N) ERaise("SingleMovAve: Y.Length<N");
  const int n = Y.Length();
  auto [y, once, twice] = CreateIt<TVec, TVec, TVec>();
  Convert(*y, Y, fpDouble);
  const TVec* result = nullptr;
  if (!Centered || N % 2 == 1) {
    Lag = Centered ? (N - 1) / 2 : N - 1;
    once->Size(n - N + 1);
    MovingMean(y->Data<double>(), n, N, once->Data<double>());
    result = &*once;
  } else {
    Lag = (N - 1) / 2;
    const int h = N / 2;
    once->Size(n - h + 1);
    MovingMean(y->Data<double>(), n, h, once->Data<double>());
    twice->Size(n - N + 2);
    MovingMean(once->Data<double>(), n - h + 1, h, twice->Data<double>());
    result = &*twice;
  }
  if (Y.IsDouble()) {
    Copy(MovAve, *result);
  } else {
    Convert(MovAve, *result, fpSingle);
  }
  // The residuals read the double copy of Y: MovAve may be Y itself, now overwritten.
  const double* yd = y->Data<double>();
  double sse = 0.0;
  const int m = MovAve.Length();
  for (int i = 0; i < m; ++i) {
    const double e = yd[Lag + i] - MovAve.Value(i);
    sse += e * e;
  }
  return sse / m;
}

}  // namespace lumex
