// The built-in regression models: evaluation, parameter derivatives and the linearising fits.
//
// The vector forms evaluate the scalar formula element by element in double and store the
// result in X's precision, so the scalar and vector forms agree to the last bit in double.
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "lumex/RegModels.h"
#include "lumex/Regress.h"
#include "lumex/core/cache.h"
#include "core/dispatch.h"

namespace lumex {

namespace {

void NeedCoefficients(std::size_t length, std::size_t count, const char* fn) {
  if (length < count) {
    ERaise(std::string(fn) + ": B.Length < " + std::to_string(count));
  }
}

// The coefficients of a TVec as doubles.
std::vector<double> Coefficients(const TVec& B) {
  std::vector<double> b(static_cast<std::size_t>(B.Length()));
  for (int i = 0; i < B.Length(); ++i) b[static_cast<std::size_t>(i)] = B.Value(i);
  return b;
}

// Y := f(x) for every element x of X, Y sized like X in X's precision.
template <class F>
void Elementwise(const TVec& X, TVec& Y, F&& f) {
  const int n = X.Length();
  auto x = CreateIt<TVec>();
  *x = X;  // X and Y may be the same object
  Y.Size(n, X.FloatPrecision());
  for (int i = 0; i < n; ++i) Y.SetValue(i, f(x->Value(i)));
}

double Line(const double* b, double x) { return x * b[1] + b[0]; }
double Power(const double* b, double x) { return std::pow(x, b[1]) * b[0]; }
double Exponential(const double* b, double x) { return std::exp(x * b[1]) * b[0]; }
double Logarithmic(const double* b, double x) { return std::log(x) * b[1] + b[0]; }
double Logistic(const double* b, double x, bool fourParam) {
  const double d = std::exp(x * -b[2] + b[3]) + 1.0;
  return fourParam ? (b[1] - b[0]) / d + b[0] : b[1] / d;
}
// Numerator of degree k by Horner, denominator 1 + B[k+1] x + .. + B[m] x^(m-k).
double Rational(std::span<const double> b, double x, int k) {
  const int m = static_cast<int>(b.size()) - 1;
  double num = b[static_cast<std::size_t>(k)];
  for (int i = k - 1; i >= 0; --i) num = num * x + b[static_cast<std::size_t>(i)];
  double den = 0.0;
  for (int i = m; i > k; --i) den = (den + b[static_cast<std::size_t>(i)]) * x;
  return num / (den + 1.0);
}

void CheckDegree(std::size_t length, int k) {
  if (k < 0) ERaise("FracEval: NumDegree < 0");
  if (static_cast<std::size_t>(k) + 1 > length) ERaise("FracEval: NumDegree > B.Length - 1");
}

// Indexes of the observations that `keep` accepts.
template <class Keep>
std::vector<int> Select(int n, Keep&& keep) {
  std::vector<int> idx;
  for (int i = 0; i < n; ++i) {
    if (keep(i)) idx.push_back(i);
  }
  return idx;
}

// f(i) for the selected i, in the given precision.
template <class F>
void Gathered(const std::vector<int>& idx, TMtxFloatPrecision precision, TVec& out, F&& f) {
  out.Size(static_cast<int>(idx.size()), precision);
  for (std::size_t j = 0; j < idx.size(); ++j) out.SetValue(static_cast<int>(j), f(idx[j]));
}

}  // namespace

// ---- Evaluation -------------------------------------------------------------------------------

double LineEval(std::span<const double> B, double X) {
  NeedCoefficients(B.size(), 2, "LineEval");
  return Line(B.data(), X);
}
void LineEval(std::span<const double> B, const TVec& X, TVec& Y) {
  NeedCoefficients(B.size(), 2, "LineEval");
  Elementwise(X, Y, [&](double x) { return Line(B.data(), x); });
}
void LineEval(const TVec& B, const TVec& X, TVec& Y) { LineEval(Coefficients(B), X, Y); }

double PowerEval(std::span<const double> B, double X) {
  NeedCoefficients(B.size(), 2, "PowerEval");
  return Power(B.data(), X);
}
void PowerEval(std::span<const double> B, const TVec& X, TVec& Y) {
  NeedCoefficients(B.size(), 2, "PowerEval");
  Elementwise(X, Y, [&](double x) { return Power(B.data(), x); });
}
void PowerEval(const TVec& B, const TVec& X, TVec& Y) { PowerEval(Coefficients(B), X, Y); }

double ExpEval(std::span<const double> B, double X) {
  NeedCoefficients(B.size(), 2, "ExpEval");
  return Exponential(B.data(), X);
}
void ExpEval(std::span<const double> B, const TVec& X, TVec& Y) {
  NeedCoefficients(B.size(), 2, "ExpEval");
  Elementwise(X, Y, [&](double x) { return Exponential(B.data(), x); });
}
void ExpEval(const TVec& B, const TVec& X, TVec& Y) { ExpEval(Coefficients(B), X, Y); }

double LnEval(std::span<const double> B, double X) {
  NeedCoefficients(B.size(), 2, "LnEval");
  return Logarithmic(B.data(), X);
}
void LnEval(std::span<const double> B, const TVec& X, TVec& Y) {
  NeedCoefficients(B.size(), 2, "LnEval");
  Elementwise(X, Y, [&](double x) { return Logarithmic(B.data(), x); });
}
void LnEval(const TVec& B, const TVec& X, TVec& Y) { LnEval(Coefficients(B), X, Y); }

double LogisticEval(std::span<const double> B, double X, bool FourParam) {
  NeedCoefficients(B.size(), 4, "LogisticEval");
  return Logistic(B.data(), X, FourParam);
}
void LogisticEval(std::span<const double> B, const TVec& X, TVec& Y, bool FourParam) {
  NeedCoefficients(B.size(), 4, "LogisticEval");
  Elementwise(X, Y, [&](double x) { return Logistic(B.data(), x, FourParam); });
}
void LogisticEval(const TVec& B, const TVec& X, TVec& Y, bool FourParam) {
  LogisticEval(Coefficients(B), X, Y, FourParam);
}

double FracEval(std::span<const double> B, double X, int NumDegree, bool /*Constant*/) {
  CheckDegree(B.size(), NumDegree);
  return Rational(B, X, NumDegree);
}
double FracEval(const TVec& B, double X, int NumDegree, bool Constant) {
  return FracEval(Coefficients(B), X, NumDegree, Constant);
}
void FracEval(std::span<const double> B, const TVec& X, TVec& Y, int NumDegree, bool /*Constant*/) {
  CheckDegree(B.size(), NumDegree);
  Elementwise(X, Y, [&](double x) { return Rational(B, x, NumDegree); });
}
void FracEval(const TVec& B, const TVec& X, TVec& Y, int NumDegree, bool Constant) {
  FracEval(Coefficients(B), X, Y, NumDegree, Constant);
}

double MulLinEval(std::span<const double> B, const TVec& X, bool Constant) {
  if (static_cast<std::size_t>(X.Length()) < B.size()) ERaise("MulLinEval: X.Length < B.Length");
  double y = Constant && !B.empty() ? B[0] : 0.0;
  for (std::size_t i = 1; i < B.size(); ++i) y += B[i] * X.Value(static_cast<int>(i));
  return y;
}

void MulLinEval(std::span<const double> B, const TMtx& X, TVec& Y, bool Constant) {
  const int c0 = Constant ? 1 : 0;
  const int cols = X.Cols();
  if (B.size() != static_cast<std::size_t>(cols + c0)) {
    ERaise(Constant ? "MulLinEval: B.Length <> X.Cols + 1" : "MulLinEval: B.Length <> X.Cols");
  }
  const int rows = X.Rows();
  std::vector<double> y(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    double s = Constant ? B[0] : 0.0;
    for (int j = 0; j < cols; ++j) {
      s += X.Value(i * cols + j) * B[static_cast<std::size_t>(j + c0)];
    }
    y[static_cast<std::size_t>(i)] = s;
  }
  Y.Size(rows, X.FloatPrecision());
  for (int i = 0; i < rows; ++i) Y.SetValue(i, y[static_cast<std::size_t>(i)]);
}

// ---- Derivatives ------------------------------------------------------------------------------

void LineDeriv(const TRegressFun& /*RegressFun*/, double X, double /*Y*/,
               std::span<const double> /*Pars*/, TVec& Grad, TMtxFloatPrecision FloatPrecision) {
  Grad.Size(2, FloatPrecision);
  Grad.SetValue(0, 1.0);
  Grad.SetValue(1, X);
}

void ExpDeriv(const TRegressFun& /*RegressFun*/, double X, double Y, std::span<const double> Pars,
              TVec& Grad, TMtxFloatPrecision FloatPrecision) {
  if (Pars.empty()) ERaise("ExpDeriv: Pars.Length < 1");
  Grad.Size(2, FloatPrecision);
  Grad.SetValue(0, Y / Pars[0]);
  Grad.SetValue(1, Y * X);
}

void PowerDeriv(const TRegressFun& /*RegressFun*/, double X, double Y, std::span<const double> Pars,
                TVec& Grad) {
  if (Pars.empty()) ERaise("PowerDeriv: Pars.Length < 1");
  Grad.Size(2, Grad.FloatPrecision());
  Grad.SetValue(0, Y / Pars[0]);
  Grad.SetValue(1, Y * std::log(X));
}

// ---- Fits -------------------------------------------------------------------------------------

void LineFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights) {
  LinRegress(X, Y, B, true, Weights, nullptr, nullptr);
}

void PowerFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights) {
  if (X.Length() != Y.Length()) throw std::runtime_error("X.Lenght <> Y.Length");
  if (X.FloatPrecision() != Y.FloatPrecision()) {
    throw std::runtime_error("X.Lenght <> Y.FloatPrecision");
  }
  if (Weights != nullptr && Weights->Length() != X.Length()) {
    ERaise("PowerFit: Weights.Length <> X.Length");
  }
  const std::vector<int> idx =
      Select(X.Length(), [&](int i) { return X.Value(i) > 0.0 && Y.Value(i) > 0.0; });
  if (idx.empty()) return;
  auto [lx, ly, w] = CreateIt<TVec, TVec, TVec>();
  const TMtxFloatPrecision prec = X.FloatPrecision();
  Gathered(idx, prec, lx, [&](int i) { return std::log(X.Value(i)); });
  Gathered(idx, prec, ly, [&](int i) { return std::log(Y.Value(i)); });
  if (Weights != nullptr) {
    Gathered(idx, prec, w, [&](int i) { return Y.Value(i) * Y.Value(i) * Weights->Value(i); });
  }
  LinRegress(lx, ly, B, true, Weights != nullptr ? w.get() : nullptr, nullptr, nullptr);
  B.SetValue(0, std::exp(B.Value(0)));
}

void ExpFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights) {
  if (X.Length() != Y.Length()) ERaise("X.Length <> Y.Length");
  if (Weights != nullptr && Weights->Length() != Y.Length()) {
    ERaise("ExpFit: Weights.Length <> Y.Length");
  }
  const std::vector<int> idx = Select(Y.Length(), [&](int i) { return Y.Value(i) > 0.0; });
  if (idx.empty()) return;
  auto [xs, ly, w] = CreateIt<TVec, TVec, TVec>();
  Gathered(idx, X.FloatPrecision(), xs, [&](int i) { return X.Value(i); });
  Gathered(idx, Y.FloatPrecision(), ly, [&](int i) { return std::log(Y.Value(i)); });
  if (Weights != nullptr) {
    Gathered(idx, X.FloatPrecision(), w,
             [&](int i) { return Weights->Value(i) * Y.Value(i) * Y.Value(i); });
  }
  LinRegress(xs, ly, B, true, Weights != nullptr ? w.get() : nullptr, nullptr, nullptr);
  B.SetValue(0, std::exp(B.Value(0)));
}

void LnFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights) {
  if (X.Length() != Y.Length()) ERaise("X.Lenght <> Y.Length");
  if (Weights != nullptr && Weights->Length() != X.Length()) {
    ERaise("LnFit: Weights.Length <> X.Length");
  }
  const std::vector<int> idx = Select(X.Length(), [&](int i) { return X.Value(i) > 0.0; });
  if (idx.empty()) return;
  auto [lx, ys, w] = CreateIt<TVec, TVec, TVec>();
  Gathered(idx, X.FloatPrecision(), lx, [&](int i) { return std::log(X.Value(i)); });
  Gathered(idx, Y.FloatPrecision(), ys, [&](int i) { return Y.Value(i); });
  if (Weights != nullptr) {
    Gathered(idx, X.FloatPrecision(), w, [&](int i) { return Weights->Value(i); });
  }
  LinRegress(lx, ys, B, true, Weights != nullptr ? w.get() : nullptr, nullptr, nullptr);
}

void LogisticFit(TVec& B, const TVec& XIn, const TVec& YIn, bool FourParam,
                 const TVec* WeightsIn) {
  TVec xCopy, yCopy, wCopy;  // B is sized before the data are read
  const TVec& X = detail::Unaliased(XIn, xCopy, {&B});
  const TVec& Y = detail::Unaliased(YIn, yCopy, {&B});
  const TVec* Weights =
      WeightsIn != nullptr ? &detail::Unaliased(*WeightsIn, wCopy, {&B}) : nullptr;
  if (X.Length() != Y.Length()) ERaise("LogisticFit: X.Length <> Y.Length");
  if (X.FloatPrecision() != Y.FloatPrecision()) {
    ERaise("LogisticFit: X.FloatPrecision <> Y.FloatPrecision");
  }
  const int n = X.Length();
  if (n < 3) ERaise("LogisticFit: X.Length < 3");
  if (Weights != nullptr && Weights->Length() != n) {
    ERaise("LogisticFit: Weights.Length <> X.Length");
  }
  const TMtxFloatPrecision prec = X.FloatPrecision();
  B.Size(4, prec);
  B.SetValue(0, FourParam ? Y.Value(0) : 0.0);
  B.SetValue(1, Y.Value(n - 1));
  const double lower = B.Value(0), upper = B.Value(1), range = upper - lower;
  // The inner observations: z = ln(R / (y - lower) - 1) = B[3] - B[2] x under the model.
  const std::vector<int> inner = Select(n, [n](int i) { return i > 0 && i < n - 1; });
  auto [xs, z, w, line] = CreateIt<TVec, TVec, TVec, TVec>();
  Gathered(inner, prec, xs, [&](int i) { return X.Value(i); });
  Gathered(inner, prec, z, [&](int i) { return std::log(range / (Y.Value(i) - lower) - 1.0); });
  if (Weights != nullptr) {
    // dz/dy = -R / ((y - lower)(y - upper)): the weights that carry y's variance over to z.
    Gathered(inner, prec, w, [&](int i) {
      const double y = Y.Value(i);
      const double f = (y - lower) * (y - upper) / range;
      return Weights->Value(i) * f * f;
    });
  }
  LineFit(line, xs, z, Weights != nullptr ? w.get() : nullptr);
  B.SetValue(2, -line->Value(1));
  B.SetValue(3, line->Value(0));
}

void FracFit(TVec& B, const TVec& X, const TVec& Y, int NumDegree, int DenDegree, bool Constant,
             const TVec* Weights) {
  if (X.Length() != Y.Length()) ERaise("FracFit: X.Lenght <> Y.Length");
  if (X.FloatPrecision() != Y.FloatPrecision()) {
    ERaise("FracFit: X.FloatPrecision <> Y.FloatPrecision");
  }
  if (NumDegree < 0) ERaise("FracFit: NumDegree < 0");
  if (DenDegree < 0) ERaise("FracFit: DenDegree < 0");
  const int n = X.Length(), p = NumDegree, q = DenDegree;
  const bool single = !X.IsDouble();
  // Each column is the previous one times x, rounded to the data's precision at every step.
  auto stored = [single](double v) {
    return single ? static_cast<double>(static_cast<float>(v)) : v;
  };
  auto m = CreateIt<TMtx>();
  m->Size(n, p + q, X.FloatPrecision());
  for (int i = 0; i < n; ++i) {
    const double x = X.Value(i);
    double v = 1.0;
    for (int j = 0; j < p; ++j) {
      v = stored(v * x);
      m->SetValue(i * (p + q) + j, v);
    }
    v = -Y.Value(i);
    for (int j = 0; j < q; ++j) {
      v = stored(v * x);
      m->SetValue(i * (p + q) + p + j, v);
    }
  }
  auto fit = CreateIt<TVec>();
  if (Weights != nullptr) {
    MulLinRegress(Y, *m, *fit, *Weights, Constant, nullptr, nullptr, regSolveLQR);
  } else {
    MulLinRegress(Y, *m, *fit, Constant, nullptr, nullptr, regSolveLQR);
  }
  // Without a constant the numerator's c0 is 0: put it in front, where FracEval reads it.
  const int c0 = Constant ? 0 : 1;
  B.Size(fit->Length() + c0, X.FloatPrecision());
  if (c0 == 1) B.SetValue(0, 0.0);
  for (int k = 0; k < fit->Length(); ++k) B.SetValue(k + c0, fit->Value(k));
}

void MulLinFit(TVec& B, const TMtx& X, const TVec& Y, bool Constant, const TVec* Weights) {
  if (Weights != nullptr) {
    MulLinRegress(Y, X, B, *Weights, Constant, nullptr, nullptr, regSolveLQR);
  } else {
    MulLinRegress(Y, X, B, Constant, nullptr, nullptr, regSolveLQR);
  }
}

}  // namespace lumex
