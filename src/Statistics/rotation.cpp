// Orthogonal rotation of factor loadings by the orthomax family (varimax, quartimax, equamax).
//
// Two schemes. For 0 <= gamma <= 1 the whole rotation is updated at once: the criterion's
// gradient G at the current loadings is projected on the orthogonal matrices by the polar factor
// U V^T of A^T G (the update of R's varimax and of Jennrich's gradient projection), which
// increases the criterion monotonically when it is convex in the loadings, i.e. for gamma in
// [0, 1]. Outside that range the criterion is not convex and the update can oscillate, so
// Kaiser's original scheme takes over: one planar rotation per pair of columns, by the angle that
// maximises the criterion in that plane exactly (a closed form in the fourth-order moments of
// the pair). Everything is computed in double and written in the precision of X.
#include <algorithm>
#include <cmath>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"

namespace lumex {

namespace {

// m x m identity in double.
void Identity(TMtx& a, int m) {
  a.Size(m, m);
  a.SetZero();
  for (int i = 0; i < m; ++i) a(i, i) = 1.0;
}

// dst := the double matrix src in the given precision (dst may not be src).
void StoreAs(TMtx& dst, const TMtx& src, TMtxFloatPrecision precision) {
  dst.Size(src.Rows(), src.Cols(), precision);
  for (int i = 0; i < src.Length(); ++i) dst.SetValue(i, src.Value(i));
}

// All columns at once; returns whether the relative change of the sum of singular values fell
// below the tolerance.
bool RotateBySVD(const TMtx& a, TMtx& rotated, TMtx& rotation, double gamma, double tolerance,
                 int maxIter) {
  const int p = a.Rows();
  const int m = a.Cols();
  auto [g, w, u, v] = CreateIt<TMtx, TMtx, TMtx, TMtx>();
  auto s = CreateIt<TVec>();
  std::vector<double> colSq(static_cast<std::size_t>(m));
  g->Size(p, m);
  double d = 0.0;
  for (int iter = 0; iter < maxIter; ++iter) {
    const double dOld = d;
    std::fill(colSq.begin(), colSq.end(), 0.0);
    for (int i = 0; i < p; ++i) {
      for (int j = 0; j < m; ++j) colSq[j] += rotated(i, j) * rotated(i, j);
    }
    // The gradient of the criterion, times p: p b^3 - gamma b (column sum of b^2).
    for (int i = 0; i < p; ++i) {
      for (int j = 0; j < m; ++j) {
        const double b = rotated(i, j);
        (*g)(i, j) = p * b * b * b - gamma * b * colSq[j];
      }
    }
    Mul(*w, a, *g, opTrans, opNone);
    SVD(*w, *u, *s, *v);
    Mul(rotation, *u, *v, opNone, opTrans);
    d = Sum(*s);
    Mul(rotated, a, rotation);
    if (std::isnan(d)) return false;  // NaN loadings: no later iteration can recover
    if (std::fabs(dOld - d) / d < tolerance) return true;
  }
  return false;
}

// Kaiser's sweeps of planar rotations; returns whether a sweep's largest angle fell below the
// tolerance.
bool RotateByPairs(TMtx& rotated, TMtx& rotation, double gamma, double tolerance, int maxIter) {
  const int p = rotated.Rows();
  const int m = rotated.Cols();
  std::vector<double> u(static_cast<std::size_t>(p)), v(static_cast<std::size_t>(p));
  for (int sweep = 0; sweep < maxIter; ++sweep) {
    double phiMax = 0.0;
    for (int i = 0; i < m - 1; ++i) {
      for (int j = i + 1; j < m; ++j) {
        double a = 0.0, b = 0.0, uv = 0.0, uu = 0.0, vv = 0.0;
        for (int r = 0; r < p; ++r) {
          const double x = rotated(r, i), y = rotated(r, j);
          u[r] = x * x - y * y;
          v[r] = 2.0 * x * y;
          a += u[r];
          b += v[r];
          uv += u[r] * v[r];
          uu += u[r] * u[r];
          vv += v[r] * v[r];
        }
        const double num = 2.0 * (uv - gamma * a * b / p);
        const double den = (uu - vv) - gamma * (a * a - b * b) / p;
        const double phi = std::atan2(num, den) / 4.0;
        if (std::isnan(phi)) return false;  // NaN loadings stay NaN in every later sweep
        phiMax = std::max(phiMax, std::fabs(phi));
        const double c = std::cos(phi), sn = std::sin(phi);
        // [x y] := [x y] [[c, -s], [s, c]], on the loadings and on the rotation.
        for (int r = 0; r < p; ++r) {
          const double x = rotated(r, i), y = rotated(r, j);
          rotated(r, i) = x * c + y * sn;
          rotated(r, j) = -x * sn + y * c;
        }
        for (int r = 0; r < m; ++r) {
          const double x = rotation(r, i), y = rotation(r, j);
          rotation(r, i) = x * c + y * sn;
          rotation(r, j) = -x * sn + y * c;
        }
      }
    }
    if (tolerance > phiMax) return true;
  }
  return false;
}

}  // namespace

bool OrthogonalRotation(const TMtx& X, TMtx& Rotated, TMtx& Rotation, double Gamma,
                        bool Normalize, double Tolerance, int MaxIter) {
  if (X.Complex()) ERaise("OrthogonalRotation: X.Complex");
  const int p = X.Rows();
  const int m = X.Cols();
  const TMtxFloatPrecision precision = X.FloatPrecision();
  auto [a, rotated, rotation] = CreateIt<TMtx, TMtx, TMtx>();
  a->Size(p, m);
  for (int i = 0; i < X.Length(); ++i) a->SetValue(i, X.Value(i));
  Identity(*rotation, m);
  if (p == 0 || m == 0) {  // nothing to rotate
    StoreAs(Rotated, *a, precision);
    StoreAs(Rotation, *rotation, precision);
    return true;
  }
  std::vector<double> h(static_cast<std::size_t>(p), 1.0);
  if (Normalize) {
    for (int i = 0; i < p; ++i) {
      h[i] = std::sqrt(SumOfSquares(*a, i * m, m));
      for (int j = 0; j < m; ++j) (*a)(i, j) /= h[i];
    }
  }
  Copy(*rotated, *a);
  const bool converged = (Gamma >= 0.0 && Gamma <= 1.0)
                             ? RotateBySVD(*a, *rotated, *rotation, Gamma, Tolerance, MaxIter)
                             : RotateByPairs(*rotated, *rotation, Gamma, Tolerance, MaxIter);
  for (int i = 0; i < p; ++i) {
    for (int j = 0; j < m; ++j) (*rotated)(i, j) *= h[i];
  }
  StoreAs(Rotated, *rotated, precision);
  StoreAs(Rotation, *rotation, precision);
  return converged;
}

}  // namespace lumex
