// Regression statistics (RegressTest), the straight-line fit (LinRegress) and R2.
//
// Sums run in double whatever the storage precision, in blocks so that the rounding error
// grows with n / kBlock + kBlock rather than with n.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/Regress.h"

namespace lumex {

namespace {

constexpr int kBlock = 256;

// Adds term(i) for i in [0, n) block by block.
template <class F>
double BlockedSum(int n, F&& term) {
  double total = 0.0;
  for (int start = 0; start < n; start += kBlock) {
    const int end = std::min(n, start + kBlock);
    double s = 0.0;
    for (int i = start; i < end; ++i) s += term(i);
    total += s;
  }
  return total;
}

// Runs f(py, pc, pw) with the typed storage of Y, YCalc and (possibly null) Weights, all of one
// precision (checked by the caller).
template <class F>
void WithTriple(const TVec& Y, const TVec& YCalc, const TVec* Weights, const char* fn, F&& f) {
  detail::DispatchReal(Y, fn, [&](const auto* py) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(py)>>;
    if (YCalc.Complex() || (Weights != nullptr && Weights->Complex())) detail::RaiseComplex(fn);
    const T* pw = Weights != nullptr ? Weights->Data<T>() : nullptr;
    f(py, YCalc.Data<T>(), pw);
  });
}

}  // namespace

void RegressTest(const TVec& Y, const TVec& YCalc, int ParamCount, TRegStats& RegStats,
                 bool Constant, const TVec* Weights) {
  if (Y.Length() != YCalc.Length()) ERaise("RegressTest: Y.Length <> YCalc.Length");
  if (Y.FloatPrecision() != YCalc.FloatPrecision()) {
    ERaise("RegressTest: Y.FloatPrecision <> YCalc.FloatPrecision");
  }
  if (Weights != nullptr) {
    if (Weights->Length() != Y.Length()) ERaise("RegressTest: Weights.Length <> Y.Length");
    if (Weights->FloatPrecision() != Y.FloatPrecision()) {
      ERaise("RegressTest: Weights.FloatPrecision <> Y.FloatPrecision");
    }
  }
  // A negative count has no meaning, and would overflow the 32-bit degrees of freedom.
  if (ParamCount < 0) ERaise("RegressTest: ParamCount < 0");
  const int n = Y.Length();
  const int p = ParamCount;
  // Sums of squares below the resolution of the data's own storage are rounding noise.
  const double eps = Y.IsDouble() ? EPS_DOUBLE : EPS_SINGLE;

  double sst = 0.0;
  double sse = 0.0;
  WithTriple(Y, YCalc, Weights, "RegressTest", [&](const auto* py, const auto* pc, const auto* pw) {
    auto y = [py](int i) { return static_cast<double>(py[i]); };
    auto yc = [pc](int i) { return static_cast<double>(pc[i]); };
    if (pw == nullptr) {
      double m = 0.0;
      if (Constant) m = Mean(Y);
      sst = BlockedSum(n, [&](int i) { const double d = y(i) - m; return d * d; });
      sse = BlockedSum(n, [&](int i) { const double d = y(i) - yc(i); return d * d; });
    } else {
      auto w = [pw](int i) { return static_cast<double>(pw[i]); };
      double m = 0.0;
      if (Constant) {
        const double sw = BlockedSum(n, w);
        m = BlockedSum(n, [&](int i) { return w(i) * y(i); }) / sw;
        // One correction step: the weighted mean of the deviations from the first estimate,
        // which recovers the digits lost when the data sit far from zero.
        m += BlockedSum(n, [&](int i) { return w(i) * (y(i) - m); }) / sw;
      }
      sst = BlockedSum(n, [&](int i) { const double d = y(i) - m; return w(i) * d * d; });
      sse = BlockedSum(n, [&](int i) { const double d = yc(i) - y(i); return w(i) * d * d; });
    }
  });
  double ssr = sst - sse;  // from the values before the threshold is applied
  if (std::fabs(sst) < eps) sst = 0.0;
  if (std::fabs(sse) < eps) sse = 0.0;
  if (std::fabs(ssr) < eps) ssr = 0.0;

  // The degrees of freedom do not depend on Constant: dFR is always ParamCount - 1.
  const std::int32_t dfR = p - 1;
  const std::int32_t dfE = n - p;
  const std::int32_t dfT = n - 1;
  const double f = (ssr / sse) * (static_cast<double>(dfE) / static_cast<double>(dfR));

  RegStats.SSE = sse;
  RegStats.SST = sst;
  RegStats.SSR = ssr;
  RegStats.ResidualVar = sse / dfE;
  RegStats.R2 = 1.0 - sse / sst;
  RegStats.AdjustedR2 = 1.0 - (sse / sst) * (static_cast<double>(dfT) / dfE);
  RegStats.dfE = dfE;
  RegStats.dfT = dfT;
  RegStats.StdError = std::sqrt(sse / dfE);
  RegStats.FStats.SSE = sse;
  RegStats.FStats.SSR = ssr;
  RegStats.FStats.dFE = dfE;
  RegStats.FStats.dFR = dfR;
  RegStats.FStats.F = f;
  // The upper tail directly, so that a very significant regression keeps its digits.
  RegStats.FStats.Signif = FCDFUpper(f, dfR, dfE);
}

void RegressTest(const TVec& Y, const TVec& YCalc, const TMtx& V, TRegStats& RegStats,
                 TVec& Residuals, TVec& BStdErr, bool Constant, const TVec* Weights) {
  RegressTest(Y, YCalc, V.Cols(), RegStats, Constant, Weights);
  if (V.Rows() < V.Cols()) ERaise("RegressTest: V.Rows < V.Cols");
  const int n = Y.Length();
  const int p = V.Cols();
  // Residuals may be the same object as Y or YCalc: the elementwise difference is safe in place.
  Residuals.Size(n, Y);
  for (int i = 0; i < n; ++i) Residuals.SetValue(i, Y.Value(i) - YCalc.Value(i));
  // Standard errors of the coefficients: the diagonal of V scaled by the residual variance.
  const double s2 = RegStats.ResidualVar;
  BStdErr.Size(p, Y);
  for (int j = 0; j < p; ++j) BStdErr.SetValue(j, std::sqrt(V.Value(j * p + j) * s2));
}

void LinRegress(const TVec& X, const TVec& Y, TVec& b, bool Constant, const TVec* Weights,
                TVec* YCalc, TMtx* V) {
  if (X.Length() != Y.Length()) ERaise("LinRegress : X.Length <> Y.Length");
  if (X.FloatPrecision() != Y.FloatPrecision()) {
    ERaise("LinRegress : X.FloatPrecision <> Y.FloatPrecision");
  }
  if (X.Complex() || Y.Complex()) ERaise("LinRegress : X.Complex or Y.Complex");
  if (Weights != nullptr) {
    if (Weights->Length() != X.Length()) ERaise("LinRegress : (Weights.Length <> X.Length)");
    if (Weights->FloatPrecision() != X.FloatPrecision()) {
      ERaise("LinRegress : (Weights.FloatPrecision <> X.FloatPrecision)");
    }
  }
  const int n = X.Length();

  // The normal equations of the line in moment form, S = sum w, Sx = sum w x, Sxx = sum w x^2:
  //   D = S Sxx - Sx^2, (X'WX)^-1 = [[Sxx, -Sx], [-Sx, S]] / D.
  // D loses every digit to cancellation when the x sit far from zero, so the same quantities
  // are formed from deviations about the weighted means xm, ym:
  //   Cxx = sum w (x - xm)^2 = D / S, Cxy = sum w (x - xm)(y - ym),
  //   slope = Cxy / Cxx, intercept = ym - slope xm,
  //   c11 = 1 / Cxx, c01 = -xm / Cxx, c00 = 1 / S + xm^2 / Cxx,
  // which are the moment-form values, computed accurately.
  double s = 0.0, xm = 0.0, ym = 0.0, cxx = 0.0, cxy = 0.0, sxx = 0.0, sxy = 0.0;
  detail::DispatchReal(X, "LinRegress", [&](const auto* px) {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(px)>>;
    const T* py = Y.Data<T>();
    const T* pw = Weights != nullptr ? Weights->Data<T>() : nullptr;
    auto x = [px](int i) { return static_cast<double>(px[i]); };
    auto y = [py](int i) { return static_cast<double>(py[i]); };
    auto w = [pw](int i) { return pw == nullptr ? 1.0 : static_cast<double>(pw[i]); };
    s = pw == nullptr ? static_cast<double>(n) : BlockedSum(n, w);
    xm = BlockedSum(n, [&](int i) { return w(i) * x(i); }) / s;
    ym = BlockedSum(n, [&](int i) { return w(i) * y(i); }) / s;
    xm += BlockedSum(n, [&](int i) { return w(i) * (x(i) - xm); }) / s;
    ym += BlockedSum(n, [&](int i) { return w(i) * (y(i) - ym); }) / s;
    cxx = BlockedSum(n, [&](int i) { const double d = x(i) - xm; return w(i) * d * d; });
    cxy = BlockedSum(n, [&](int i) { return w(i) * (x(i) - xm) * (y(i) - ym); });
    if (!Constant) {
      sxx = BlockedSum(n, [&](int i) { return w(i) * x(i) * x(i); });
      sxy = BlockedSum(n, [&](int i) { return w(i) * x(i) * y(i); });
    }
  });
  const double c11 = 1.0 / cxx;
  const double c01 = -xm / cxx;
  const double c00 = 1.0 / s + xm * xm / cxx;
  double b0, b1 = 0.0;
  if (Constant) {
    b1 = cxy / cxx;
    b0 = ym - b1 * xm;
  } else {
    b0 = sxy / sxx;  // the line through the origin
  }

  // Outputs last, after every read of X, so that YCalc or b may be the same object as X.
  if (YCalc != nullptr) {
    auto xs = CreateIt<TVec>();
    if (YCalc == &X) {
      *xs = X;
    }
    const TVec& src = YCalc == &X ? *xs : X;
    YCalc->Size(n, X);
    for (int i = 0; i < n; ++i) {
      const double xi = src.Value(i);
      YCalc->SetValue(i, Constant ? b0 + b1 * xi : b0 * xi);
    }
  }
  if (V != nullptr) {
    V->Size(2, 2, X);
    V->SetValue(0, c00);
    V->SetValue(1, c01);
    V->SetValue(2, c01);
    V->SetValue(3, c11);
  }
  const TMtxFloatPrecision prec = X.FloatPrecision();
  b.Size(Constant ? 2 : 1, prec);
  b.SetValue(0, b0);
  if (Constant) b.SetValue(1, b1);
}

double R2(const TVec& Y, const TVec& YCalc) {
  if (Y.Length() != YCalc.Length()) ERaise("R2: Y.Length <> YCalc.Length");
  const int n = Y.Length();
  const double m = Mean(Y);
  double sst = 0.0, sse = 0.0;
  detail::DispatchReal(Y, "R2", [&](const auto* py) {
    detail::DispatchReal(YCalc, "R2", [&](const auto* pc) {
      sst = BlockedSum(n, [&](int i) {
        const double d = static_cast<double>(py[i]) - m;
        return d * d;
      });
      sse = BlockedSum(n, [&](int i) {
        const double d = static_cast<double>(pc[i]) - static_cast<double>(py[i]);
        return d * d;
      });
    });
  });
  return 1.0 - sse / sst;
}

}  // namespace lumex
