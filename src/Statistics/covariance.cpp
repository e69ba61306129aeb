// Variance, covariance matrices and correlation matrices.
//
// Everything is computed in double precision from deviations about accurately computed means
// (two passes, never the one-pass sum of squares minus n times the squared mean, which loses
// every digit when the mean is large against the spread). Matrix results are written in the
// storage precision of X at the end, so a result may be the same object as an input.
#include <algorithm>
#include <cmath>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"

namespace lumex {

namespace {

// Sums of products of deviations are added in blocks of this many terms, then the block sums
// are added: the rounding error grows with n / kBlock + kBlock rather than with n.
constexpr int kBlock = 128;

double Divisor(double n, bool biased) { return biased ? n : n - 1.0; }

// s[0] = sum dx^2, s[1] = sum dx dy, s[2] = sum dy^2 over the deviations from the means.
template <class TX, class TY>
void SumsOfProducts(const TX* x, const TY* y, int n, double mx, double my, double s[3]) {
  s[0] = s[1] = s[2] = 0.0;
  for (int start = 0; start < n; start += kBlock) {
    const int end = std::min(n, start + kBlock);
    double bxx = 0.0, bxy = 0.0, byy = 0.0;
    for (int i = start; i < end; ++i) {
      const double dx = static_cast<double>(x[i]) - mx;
      const double dy = static_cast<double>(y[i]) - my;
      bxx += dx * dx;
      bxy += dx * dy;
      byy += dy * dy;
    }
    s[0] += bxx;
    s[1] += bxy;
    s[2] += byy;
  }
}

// The 2 x 2 covariance of two samples, row-major, in double; arguments already checked.
void CovarianceOfPair(const TDenseLumex& X, const TDenseLumex& Y, bool Biased, double c[4]) {
  const int len = X.Length();
  // A matrix is one sample of all its elements, but the divisor counts its rows.
  const double n = X.LumexType() == ltMtx ? X.Rows() : len;
  if (len == 0 || n == 0) {
    std::fill(c, c + 4, NaN);
    return;
  }
  const double mx = Mean(X);
  const double my = Mean(Y);
  double s[3];
  detail::DispatchReal(X, "Covariance", [&](const auto* px) {
    detail::DispatchReal(Y, "Covariance", [&](const auto* py) {
      SumsOfProducts(px, py, len, mx, my, s);
    });
  });
  const double d = Divisor(n, Biased);
  c[0] = s[0] / d;
  c[1] = c[2] = s[1] / d;
  c[3] = s[2] / d;
}

// The covariance matrix of the columns of X, in double; X already checked.
void CovarianceOfColumns(const TMtx& X, bool Biased, TMtx& C) {
  const int rows = X.Rows();
  const int cols = X.Cols();
  if (rows == 0) {
    C.Size(cols, cols);
    C.SetVal(NaN);
    return;
  }
  auto [centred, means] = CreateIt<TMtx, TVec>();
  centred->Size(rows, cols);
  double* pc = centred->Data<double>();
  detail::DispatchReal(X, "Covariance", [&](const auto* px) {
    const std::size_t total = static_cast<std::size_t>(rows) * cols;
    for (std::size_t k = 0; k < total; ++k) pc[k] = static_cast<double>(px[k]);
  });
  MeanCols(*means, *centred);
  const double* m = means->Data<double>();
  for (int i = 0; i < rows; ++i) {
    double* row = pc + static_cast<std::size_t>(i) * cols;
    for (int j = 0; j < cols; ++j) row[j] -= m[j];
  }
  Mul(C, *centred, *centred, opTrans, opNone);
  const double d = Divisor(rows, Biased);
  double* p = C.Data<double>();
  // The product's blocking may round (i, j) and (j, i) differently; keep the result symmetric.
  for (int i = 0; i < cols; ++i) {
    for (int j = 0; j <= i; ++j) {
      p[i * cols + j] = p[j * cols + i] = p[j * cols + i] / d;
    }
  }
}

// C(i, j) / sqrt(C(i, i) C(j, j)) in place. Dividing by the root of the product (rather than
// multiplying by reciprocals) makes the diagonal exactly 1 and a perfect linear relation exactly
// +-1. A zero variance gives 0/0 = NaN.
void ToCorrelation(double* c, int p) {
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < p; ++j) {
      if (i == j) continue;
      const double vi = c[i * p + i];
      const double vj = c[j * p + j];
      const double prod = vi * vj;
      if (prod > 0.0 && std::isfinite(prod)) {
        c[i * p + j] /= std::sqrt(prod);
      } else if (vi > 0.0 && vj > 0.0) {  // the product under- or overflowed
        c[i * p + j] = c[i * p + j] / std::sqrt(vi) / std::sqrt(vj);
      } else {
        c[i * p + j] /= std::sqrt(prod);
      }
    }
  }
  for (int i = 0; i < p; ++i) c[i * p + i] /= c[i * p + i];
}

// Results := the p x p values c, in the given precision.
void Store(TMtx& Results, const double* c, int p, TMtxFloatPrecision precision) {
  Results.Size(p, p, precision);
  detail::DispatchReal(Results, "Covariance", [&](auto* r) {
    using T = std::remove_pointer_t<decltype(r)>;
    for (int k = 0; k < p * p; ++k) r[k] = static_cast<T>(c[k]);
  });
}

void CheckPair(const TDenseLumex& X, const TDenseLumex& Y) {
  if (X.Length() != Y.Length()) ERaise("Covariance: X.Length <> Y.Length");
  if (X.Complex() || Y.Complex()) ERaise("Covariance: X.Complex or Y.Complex");
  if (X.LumexType() != Y.LumexType()) ERaise("Covariance: X.LumexType <> Y.LumexType");
}

}  // namespace

// ---- Covariance -------------------------------------------------------------------------------

void Covariance(const TVec& X, double& Var, bool Biased) {
  Var = 0.0;
  if (X.Complex()) ERaise("Covariance: X.Complex");
  const int n = X.Length();
  if (n == 0) {
    Var = NaN;
    return;
  }
  const double mean = Mean(X);
  double s[3];
  detail::DispatchReal(X, "Covariance", [&](const auto* p) {
    SumsOfProducts(p, p, n, mean, mean, s);
  });
  Var = s[0] / Divisor(n, Biased);
}

void Covariance(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, bool Biased) {
  CheckPair(X, Y);
  double c[4];
  CovarianceOfPair(X, Y, Biased, c);
  Store(Results, c, 2, X.FloatPrecision());
}

void Covariance(const TMtx& X, TMtx& Results, bool Biased) {
  if (X.Complex()) ERaise("Covariance: X.Complex");
  auto c = CreateIt<TMtx>();
  CovarianceOfColumns(X, Biased, *c);
  Store(Results, c->Data<double>(), X.Cols(), X.FloatPrecision());
}

// ---- CorrCoef ---------------------------------------------------------------------------------

void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results) {
  double T;
  CorrCoef(X, Y, Results, T);
}

void CorrCoef(const TDenseLumex& X, const TDenseLumex& Y, TMtx& Results, double& T) {
  CheckPair(X, Y);
  double c[4];
  CovarianceOfPair(X, Y, false, c);
  ToCorrelation(c, 2);
  // From the double r, before any rounding to the storage precision of Results.
  const double r = c[1];
  const double n = X.Length();
  T = r * std::sqrt((n - 2.0) / (1.0 - r * r));
  Store(Results, c, 2, X.FloatPrecision());
}

void CorrCoef(const TMtx& X, TMtx& Results) {
  if (X.Complex()) ERaise("Covariance: X.Complex");
  auto c = CreateIt<TMtx>();
  CovarianceOfColumns(X, false, *c);
  ToCorrelation(c->Data<double>(), X.Cols());
  Store(Results, c->Data<double>(), X.Cols(), X.FloatPrecision());
}

}  // namespace lumex
