// Multiple linear regression (plain and weighted), ridge regression, principal-component
// regression and the PRESS statistic.
//
// Every fit is a least-squares solve on a factorisation of the design matrix X, never on the
// normal equations X'X b = X'y, which square the condition number: the degree-10 polynomial of
// NIST Filip (condition about 1e15 in X) keeps seven digits through a QR factorisation and none
// through X'X.
//
// The QR path works on the design in row blocks: each block of rows of [X | y] is appended under
// the running triangular factor and reduced by Householder reflections (a tall-skinny QR), so the
// n x p design is read once, in cache-sized pieces, and never copied whole. The orthogonal
// reductions leave the least-squares problem and the column norms unchanged, so the final
// column-pivoted QR of the small p x p factor takes the same pivots and the same rank decision as
// one of X itself. V = (X'X)^-1 = P R^-1 R^-T P' then comes from that triangular factor.
//
// Two further steps make the certified digits of NIST StRD: the columns are scaled by powers of
// two to unit length (exact, and it makes pivoting and rank decision independent of units), and
// designs factorised whole are refined through the augmented system with long double residuals,
// which removes the cond^2 term that a large residual brings (Wampler4 and 5 from 8 and 6 correct
// digits to 13 and more).
#include "Regress/linear_models.h"
#include "core/dispatch.h"

#include <Eigen/Core>
#include <Eigen/QR>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <exception>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "core/dispatch.h"
#include "lumex/core/cache.h"
#include "lumex/core/linalg.h"
#include "lumex/core/optimize.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

using TColMat = Eigen::MatrixXd;
using TRowMat = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Rows per block of the tall-skinny QR: [R; block] of a 20-column design fits in L2.
constexpr int kQRBlock = 512;
// Designs up to this many rows are factorised whole.
constexpr int kDirectRows = 4 * kQRBlock;

// The design X of a fit without copying it: the rows of A, with a leading column of ones when
// `constant`, each row i multiplied by scale[i] when scale is not null.
struct TDesign {
  const TMtx& A;
  bool constant;
  const double* scale;
  int Rows() const { return A.Rows(); }
  int Cols() const { return A.Cols() + (constant ? 1 : 0); }
};

const char* SolverName(TRegSolveMethod method) {
  switch (method) {
    case regSolveSVD: return "SVDSolve";
    case regSolveLU: return "LUSolve";
    default: return "LQRSolve";
  }
}

// Rows [r0, r0 + dst.rows()) of the design into dst (column-major), and of y into column `ycol`
// of dst when ycol >= 0.
void FillRows(const TDesign& d, const Eigen::VectorXd& y, int r0, Eigen::Ref<TColMat> dst,
              int ycol) {
  const int acols = d.A.Cols();
  const int c0 = d.constant ? 1 : 0;
  const auto rows = static_cast<int>(dst.rows());
  detail::DispatchReal(d.A, SolverName(regSolveLQR), [&](const auto* a) {
    for (int i = 0; i < rows; ++i) {
      const int r = r0 + i;
      const double s = d.scale != nullptr ? d.scale[r] : 1.0;
      const auto* ar = a + static_cast<std::size_t>(r) * acols;
      if (c0 == 1) dst(i, 0) = s;
      for (int j = 0; j < acols; ++j) dst(i, j + c0) = s * static_cast<double>(ar[j]);
      if (ycol >= 0) dst(i, ycol) = y[r];
    }
  });
}

// The whole design, row-major, in double.
void DesignMatrix(const TDesign& d, TMtx& X) {
  X.Size(d.Rows(), d.Cols());
  if (d.Rows() == 0 || d.Cols() == 0) return;
  TColMat cm(d.Rows(), d.Cols());
  FillRows(d, Eigen::VectorXd(), 0, cm, -1);
  Eigen::Map<TRowMat>(X.Data<double>(), d.Rows(), d.Cols()) = cm;
}

// Iterative refinement of the least-squares solution u of M u = z through the augmented system
// [I M; M' 0] [r; u] = [z; 0] (Bjorck 1967): the residuals f = z - r - M u and g = -M' r are
// accumulated in long double and the corrections solved with the factorisation by
// correct(f, g, dr, du). Refining r together with u recovers the digits that a large residual
// and an ill-conditioned design cost a plain solve (the cond^2 term of least squares).
template <class Correct>
void RefineAugmented(const TColMat& M, const Eigen::VectorXd& z, Eigen::VectorXd& u,
                     int iterations, Correct&& correct) {
  const Eigen::Index n = M.rows();
  const Eigen::Index q = M.cols();
  Eigen::VectorXd r = z - M * u;
  Eigen::VectorXd f(n), g(q), dr, du;
  for (int it = 0; it < iterations; ++it) {
    std::vector<long double> gl(static_cast<std::size_t>(q), 0.0L);
    for (Eigen::Index i = 0; i < n; ++i) {
      long double acc = static_cast<long double>(z[i]) - r[i];
      for (Eigen::Index j = 0; j < q; ++j) {
        acc -= static_cast<long double>(M(i, j)) * u[j];
        gl[j] -= static_cast<long double>(M(i, j)) * r[i];
      }
      f[i] = static_cast<double>(acc);
    }
    for (Eigen::Index j = 0; j < q; ++j) g[j] = static_cast<double>(gl[j]);
    correct(f, g, dr, du);
    r += dr;
    u += du;
  }
}

constexpr int kRefinements = 3;

// The least-squares problem M u = z that the QR solves, with M = X D: X itself for designs up
// to kDirectRows rows, otherwise the triangular factor of its row-block reduction (with z the
// reduced right-hand side). D holds the column scales. Returns false when X or y holds a NaN or
// infinite value.
bool ReducedProblem(const TDesign& d, const Eigen::VectorXd& y, TColMat& M, Eigen::VectorXd& z,
                    Eigen::VectorXd& D) {
  const int n = d.Rows();
  const int q = d.Cols();
  if (n <= kDirectRows) {
    M.resize(n, q);
    FillRows(d, y, 0, M, -1);
    if (!M.allFinite() || !y.allFinite()) return false;
    z = y;
  } else {
    // W holds the running (q + 1) x (q + 1) factor of [X | y] in its top rows and the next
    // block of rows below it; each reduction leaves the new factor in place.
    TColMat W(kQRBlock + q + 1, q + 1);
    int top = 0;
    for (int r0 = 0; r0 < n; r0 += kQRBlock) {
      const int rows = std::min(kQRBlock, n - r0);
      auto block = W.block(top, 0, rows, q + 1);
      FillRows(d, y, r0, block, q);
      if (!block.allFinite()) return false;
      const int m = top + rows;
      Eigen::Ref<TColMat> active = W.topRows(m);
      const Eigen::HouseholderQR<Eigen::Ref<TColMat>> hqr(active);
      top = std::min(m, q + 1);
      W.topRows(top).triangularView<Eigen::StrictlyLower>().setZero();
    }
    const int k = std::min(top, q);
    M = TColMat::Zero(q, q);
    M.topRows(k) = W.topLeftCorner(k, q);
    z = Eigen::VectorXd::Zero(q);
    z.head(k) = W.col(q).head(k);
  }
  D = detail::UnitScale(M);
  M = M * D.asDiagonal();
  return true;
}

// V := P R^-1 R^-T P' from a full-rank column-pivoted QR.
void CovarianceFromQR(const Eigen::ColPivHouseholderQR<TColMat>& qr, TColMat& V) {
  const auto q = qr.cols();
  const TColMat Rinv = qr.matrixR()
                           .topLeftCorner(q, q)
                           .triangularView<Eigen::Upper>()
                           .solve(TColMat::Identity(q, q));
  const TColMat W = Rinv * Rinv.transpose();
  V = qr.colsPermutation() * W * qr.colsPermutation().transpose();
}

void StoreVec(TVec& dst, const Eigen::VectorXd& v, TMtxFloatPrecision precision) {
  dst.Size(static_cast<int>(v.size()), precision);
  for (int i = 0; i < dst.Length(); ++i) dst.SetValue(i, v[i]);
}

void StoreMtx(TMtx& dst, const TColMat& m, TMtxFloatPrecision precision) {
  const auto rows = static_cast<int>(m.rows());
  const auto cols = static_cast<int>(m.cols());
  dst.Size(rows, cols, precision);
  if (precision == fpDouble) {
    Eigen::Map<TRowMat>(dst.Data<double>(), rows, cols) = m;
  } else {
    Eigen::Map<Eigen::Matrix<float, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
        dst.Data<float>(), rows, cols) = m.cast<float>();
  }
}

Eigen::VectorXd ToEigen(const TVec& v, const double* scale = nullptr) {
  Eigen::VectorXd out(v.Length());
  detail::DispatchReal(v, "MulLinRegress", [&](const auto* p) {
    for (int i = 0; i < v.Length(); ++i) {
      out[i] = static_cast<double>(p[i]) * (scale != nullptr ? scale[i] : 1.0);
    }
  });
  return out;
}

// YCalc := X b for the unscaled rows of the design (b in double).
void FittedValues(const TDesign& d, const Eigen::VectorXd& b, TVec& YCalc) {
  const int n = d.Rows();
  const int acols = d.A.Cols();
  const double b0 = d.constant ? b[0] : 0.0;
  Eigen::VectorXd fit(n);
  if (n > 0) {
    const Eigen::VectorXd slopes = b.tail(acols);
    detail::DispatchReal(d.A, "MulLinRegress", [&](const auto* a) {
      using T = std::remove_const_t<std::remove_pointer_t<decltype(a)>>;
      using TMap = Eigen::Map<const Eigen::Matrix<T, Eigen::Dynamic, Eigen::Dynamic,
                                                  Eigen::RowMajor>>;
      const TMap A(a, n, acols);
      if constexpr (std::is_same_v<T, double>) {
        fit.noalias() = A * slopes;
      } else {
        fit.noalias() = A.template cast<double>() * slopes;
      }
    });
    fit.array() += b0;
  }
  StoreVec(YCalc, fit, d.A.FloatPrecision());
}

// The solver switch on a design that may carry a constant column and row weights. The weights
// scale the rows that are solved; YCalc is always X b of the unscaled rows.
void SolveDesign(const TDesign& d, const TVec& y, const double* scale, TVec& b, TVec* YCalc,
                 TMtx* V, TRegSolveMethod Method) {
  const char* solver = SolverName(Method);
  if (d.A.Complex()) ERaise(std::string(solver) + ": complex matrix not supported");
  if (y.Complex()) ERaise(std::string(solver) + ": complex vector not supported");
  if (y.Length() != d.Rows()) {
    ERaise(std::string(solver) + ": right-hand side rows differ from matrix rows");
  }
  const int n = d.Rows();
  const int q = d.Cols();
  const TMtxFloatPrecision precision = d.A.FloatPrecision();
  const Eigen::VectorXd yd = ToEigen(y, scale);

  Eigen::VectorXd coef;
  TColMat cov;
  if (Method == regSolveSVD || Method == regSolveLU) {
    auto [X, U, W, s, x] = CreateIt<TMtx, TMtx, TMtx, TVec, TVec>();
    DesignMatrix(d, *X);
    if (Method == regSolveLU) {
      auto yv = CreateIt<TVec>();
      yv->Size(n);
      for (int i = 0; i < n; ++i) (*yv)[i] = yd[i];
      LUSolve(*x, *X, *yv);  // raises for a non-square or singular design
      coef = Eigen::Map<const Eigen::VectorXd>(x->Data<double>(), q);
      if (V != nullptr) {
        Inv(*W, *X);  // X^-1, so that (X'X)^-1 = X^-1 X^-T
        const Eigen::Map<const TRowMat> Xi(W->Data<double>(), q, q);
        cov = Xi * Xi.transpose();
      }
    } else {
      // The rank is decided on the singular values of X itself (absolute threshold 1e-9); the
      // solve works on X D with unit-length columns, whose condition is far smaller for
      // designs with columns of very different scales, and is refined once or twice.
      SVD(*X, *s);
      int k = 0;
      bool finite = true;
      for (int j = 0; j < s->Length(); ++j) {
        finite = finite && !std::isnan((*s)[j]);
        if ((*s)[j] >= 1e-9) ++k;
      }
      TColMat M(n, q);
      if (n > 0 && q > 0) M = Eigen::Map<const TRowMat>(X->Data<double>(), n, q);
      const Eigen::VectorXd D = detail::UnitScale(M);
      M = M * D.asDiagonal();
      TMtx& Xs = *X;
      if (n > 0 && q > 0) Eigen::Map<TRowMat>(Xs.Data<double>(), n, q) = M;
      SVD(Xs, *U, *s, *W, true);
      const Eigen::Map<const TRowMat> Um(U->Data<double>(), n, s->Length());
      const Eigen::Map<const TRowMat> Wm(W->Data<double>(), q, s->Length());
      k = std::min(k, s->Length());
      Eigen::VectorXd inv(k);
      for (int j = 0; j < k; ++j) inv[j] = 1.0 / (*s)[j];
      auto pinv = [&](const Eigen::VectorXd& r) -> Eigen::VectorXd {
        return Wm.leftCols(k) * (inv.asDiagonal() * (Um.leftCols(k).transpose() * r));
      };
      Eigen::VectorXd u = pinv(yd);
      if (finite) {
        // With X = U S W' over the kept components: a = S^-1 W' g, du = W S^-1 (U'f - a),
        // dr = U a + (f - U U'f).
        const auto Uk = Um.leftCols(k);
        const auto Wk = Wm.leftCols(k);
        RefineAugmented(M, yd, u, kRefinements,
                        [&](const Eigen::VectorXd& f, const Eigen::VectorXd& g,
                            Eigen::VectorXd& dr, Eigen::VectorXd& du) {
                          const Eigen::VectorXd a = inv.asDiagonal() * (Wk.transpose() * g);
                          const Eigen::VectorXd uf = Uk.transpose() * f;
                          du = Wk * (inv.asDiagonal() * (uf - a));
                          dr = Uk * (a - uf) + f;
                        });
      }
      coef = finite ? Eigen::VectorXd(D.asDiagonal() * u) : Eigen::VectorXd::Constant(q, kNaN);
      if (V != nullptr) {
        cov = D.asDiagonal() * Wm.leftCols(k) * inv.array().square().matrix().asDiagonal() *
              Wm.leftCols(k).transpose() * D.asDiagonal();
        if (!finite) cov = TColMat::Constant(q, q, kNaN);
      }
    }
  } else {
    if (q > 0 && n < q) ERaise("LQRSolve: matrix is rank deficient");
    TColMat M;
    Eigen::VectorXd z, D;
    const bool finite = q == 0 || ReducedProblem(d, yd, M, z, D);
    if (!finite) {
      coef = Eigen::VectorXd::Constant(q, kNaN);
      cov = TColMat::Constant(q, q, kNaN);
    } else if (q > 0) {
      const Eigen::ColPivHouseholderQR<TColMat> qr(M);
      if (qr.rank() < q) ERaise("LQRSolve: matrix is rank deficient");
      Eigen::VectorXd u = qr.solve(z);
      if (n <= kDirectRows) {
        // With X P = Q R: h = R^-T P' g, d = Q' f, du = P R^-1 (d1 - h), dr = Q [h; d2].
        const auto R = qr.matrixR().topLeftCorner(q, q).triangularView<Eigen::Upper>();
        RefineAugmented(M, z, u, kRefinements,
                        [&](const Eigen::VectorXd& f, const Eigen::VectorXd& g,
                            Eigen::VectorXd& dr, Eigen::VectorXd& du) {
                          const Eigen::VectorXd h =
                              R.transpose().solve(qr.colsPermutation().transpose() * g);
                          Eigen::VectorXd dq = qr.householderQ().adjoint() * f;
                          du = qr.colsPermutation() * R.solve(dq.head(q) - h);
                          dq.head(q) = h;
                          dr = qr.householderQ() * dq;
                        });
      }
      coef = D.asDiagonal() * u;
      if (V != nullptr) {
        CovarianceFromQR(qr, cov);
        cov = D.asDiagonal() * cov * D.asDiagonal();
      }
    }
  }
  if (Method == regSolveLQR || Method == regSolveSVD || Method == regSolveLU) {
    StoreVec(b, coef, precision);
  } else if (YCalc != nullptr) {
    // No solver: b keeps what it holds, and YCalc describes that b.
    if (b.Length() != q) ERaise("TensorProd: inner dimensions differ");
    coef = ToEigen(b);
  }
  if (YCalc != nullptr) FittedValues(d, coef, *YCalc);
  if (V != nullptr) StoreMtx(*V, cov, precision);
}

// s_i = sqrt(w_i / sum w), in double.
std::vector<double> RowScale(const TVec& Weights) {
  const int n = Weights.Length();
  std::vector<double> s(static_cast<std::size_t>(n));
  double sw = 0.0;
  for (int i = 0; i < n; ++i) sw += Weights.Value(i);
  for (int i = 0; i < n; ++i) s[i] = std::sqrt(Weights.Value(i) / sw);
  return s;
}

double WeightSum(const TVec& Weights) {
  double sw = 0.0;
  for (int i = 0; i < Weights.Length(); ++i) sw += Weights.Value(i);
  return sw;
}

// Column means and standard deviations (divisor n - 1) of A, two passes in double.
void ColumnMoments(const TMtx& A, std::vector<double>& mean, std::vector<double>& sd) {
  const int n = A.Rows();
  const int p = A.Cols();
  mean.assign(static_cast<std::size_t>(p), 0.0);
  sd.assign(static_cast<std::size_t>(p), 0.0);
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < p; ++j) mean[j] += A.Value(i * p + j);
  }
  for (int j = 0; j < p; ++j) mean[j] /= n;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < p; ++j) {
      const double e = A.Value(i * p + j) - mean[j];
      sd[j] += e * e;
    }
  }
  for (int j = 0; j < p; ++j) sd[j] = std::sqrt(sd[j] / (n - 1.0));
}

double MeanOf(const TVec& y) {
  double s = 0.0;
  for (int i = 0; i < y.Length(); ++i) s += y.Value(i);
  return s / y.Length();
}

}  // namespace

namespace detail {

Eigen::VectorXd UnitScale(const Eigen::MatrixXd& M) {
  Eigen::VectorXd d(M.cols());
  for (Eigen::Index j = 0; j < M.cols(); ++j) {
    const double norm = M.col(j).norm();
    int e = 0;
    std::frexp(norm, &e);
    d[j] = norm > 0.0 && std::isfinite(norm) ? std::ldexp(1.0, -e) : 1.0;
  }
  return d;
}

void MulLinSolve(const TVec& y, const TMtx& X, TVec& b, TVec* YCalc, TMtx* V,
                 TRegSolveMethod Method) {
  SolveDesign(TDesign{X, false, nullptr}, y, nullptr, b, YCalc, V, Method);
}

void PCSolve(const TVec& y, const TMtx& A, TVec& b, TVec* BStdErr, TVec* YCalc, int OmitCount) {
  const int n = A.Rows();
  const int p = A.Cols();
  const TMtxFloatPrecision precision = y.FloatPrecision();
  auto [PC, Z, lambda, c] = CreateIt<TMtx, TMtx, TVec, TVec>();
  PCA(A, *PC, *Z, *lambda, nullptr, PCACorrMat);
  MulLinSolve(y, *Z, *c, nullptr, nullptr, regSolveLQR);
  const int omit = std::clamp(OmitCount, 0, p);
  for (int j = p - omit; j < p; ++j) c->SetValue(j, 0.0);

  std::vector<double> mean, sd;
  ColumnMoments(A, mean, sd);
  // Slopes of the standardised columns PC c, then in the units of A.
  std::vector<double> coef(static_cast<std::size_t>(p) + 1);
  coef[0] = MeanOf(y);
  for (int j = 0; j < p; ++j) {
    double bj = 0.0;
    for (int m = 0; m < p; ++m) bj += PC->Value(j * p + m) * c->Value(m);
    bj /= sd[j];
    coef[j + 1] = bj;
    coef[0] -= bj * mean[j];
  }
  double s2 = 1.0;
  if (YCalc != nullptr) {
    std::vector<double> fit(static_cast<std::size_t>(n));
    double sse = 0.0;
    for (int i = 0; i < n; ++i) {
      double f = coef[0];
      for (int j = 0; j < p; ++j) f += A.Value(i * p + j) * coef[j + 1];
      fit[i] = f;
      const double e = y.Value(i) - f;
      sse += e * e;
    }
    s2 = sse / n;
    YCalc->Size(n, precision);
    for (int i = 0; i < n; ++i) YCalc->SetValue(i, fit[i]);
  }
  if (BStdErr != nullptr) {
    // Var(b_j) = s2 sum_m PC(j, m)^2 / lambda_m over every component, in standardised units.
    BStdErr->Size(p, precision);
    for (int j = 0; j < p; ++j) {
      double v = 0.0;
      for (int m = 0; m < p; ++m) {
        const double l = PC->Value(j * p + m);
        v += l * l * (s2 / lambda->Value(m));
      }
      BStdErr->SetValue(j, std::sqrt(v) / sd[j]);
    }
  }
  b.Size(p + 1, precision);
  for (int j = 0; j <= p; ++j) b.SetValue(j, coef[j]);
}

}  // namespace detail

void MulLinRegress(const TVec& yIn, const TMtx& A, TVec& b, bool Constant, TVec* YCalc, TMtx* V,
                   TRegSolveMethod Method) {
  TVec copy;  // b or YCalc may be y itself, written before y is read for the last time
  const TVec& y = detail::Unaliased(yIn, copy, {&b, YCalc});
  if (y.FloatPrecision() != A.FloatPrecision()) {
    ERaise("MulLinRegress: y.FloatPrecision <> A.FloatPrecision");
  }
  if (y.Length() != A.Rows()) ERaise("MulLinRegress: y.Length <> A.Rows");
  try {
    // The constant column is part of the design view, not a copy of A.
    SolveDesign(TDesign{A, Constant, nullptr}, y, nullptr, b, YCalc, V, Method);
  } catch (const std::exception& e) {
    ERaise(std::string("MulLinRegress : ") + e.what());
  }
}

void MulLinRegress(const TVec& YIn, const TMtx& A, TVec& b, const TVec& WeightsIn,
                   bool Constant, TVec* YCalc, TMtx* V, TRegSolveMethod Method) {
  TVec yCopy, wCopy;  // outputs may be inputs, written before the inputs are read for the last time
  const TVec& Y = detail::Unaliased(YIn, yCopy, {&b, YCalc});
  const TVec& Weights = detail::Unaliased(WeightsIn, wCopy, {&b, YCalc});
  if (Y.Complex() || A.Complex()) ERaise("MulLinRegress: Y.Complex or A.Complex");
  if (Y.FloatPrecision() != Weights.FloatPrecision()) {
    ERaise("MulLinRegress: Y.FloatPrecision <> Weights.FloatPrecision");
  }
  if (Y.Length() != A.Rows()) ERaise("MulLinRegress: Y.Length <> A.Rows");
  if (Weights.Length() != Y.Length()) ERaise("MulLinRegress: Weights.Length <> Y.Length");
  if (Weights.Complex()) ERaise("MulLinRegress: Weights.Complex");
  const std::vector<double> s = RowScale(Weights);
  const TDesign d{A, Constant, s.data()};
  SolveDesign(d, Y, s.data(), b, YCalc, V, Method);
  if (V != nullptr) {
    // The scaled rows give (X'WX / sum w)^-1.
    const double sw = WeightSum(Weights);
    for (int k = 0; k < V->Length(); ++k) V->SetValue(k, V->Value(k) / sw);
  }
}

void RidgeRegress(const TVec& y, const TMtx& A, double k, TVec& b, bool Standardized) {
  if (y.Complex() || A.Complex()) ERaise("RidgeRegress: (y.Complex) or (A.Complex)");
  if (y.FloatPrecision() != A.FloatPrecision()) {
    ERaise("RidgeRegress: (y.FloatPrecision <> A.FloatPrecision)");
  }
  if (y.Length() != A.Rows()) ERaise("RidgeRegress: y.Length <> A.Rows");
  const int n = A.Rows();
  const int p = A.Cols();
  std::vector<double> mean, sd;
  ColumnMoments(A, mean, sd);
  // A column without spread keeps its scale: its standardised values are all zero.
  const double tiny = A.IsDouble() ? 1.4901161194e-8 : SQRTEPS_SINGLE;
  for (double& d : sd) {
    if (std::fabs(d) < tiny) d = 1.0;
  }
  // The penalised problem as ordinary least squares: [Z; sqrt(k) I] b = [y; 0].
  auto [M, v, x] = CreateIt<TMtx, TVec, TVec>();
  M->Size(n + p, p);
  M->SetZero();
  v->Size(n + p);
  v->SetZero();
  double* m = M->Data<double>();
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < p; ++j) m[i * p + j] = (A.Value(i * p + j) - mean[j]) / sd[j];
    (*v)[i] = y.Value(i);
  }
  const double rk = std::sqrt(k);
  for (int j = 0; j < p; ++j) m[(n + j) * p + j] = rk;
  LQRSolve(*x, *M, *v);
  const TMtxFloatPrecision precision = y.FloatPrecision();
  if (Standardized) {
    b.Size(p, precision);
    for (int j = 0; j < p; ++j) b.SetValue(j, (*x)[j]);
    return;
  }
  double b0 = MeanOf(y);
  b.Size(p + 1, precision);
  for (int j = 0; j < p; ++j) {
    const double bj = (*x)[j] / sd[j];
    b0 -= mean[j] * bj;
    b.SetValue(j + 1, bj);
  }
  b.SetValue(0, b0);
}

void RidgeOptimalk(const TVec& y, const TMtx& A, double& k) {
  auto lease = CreateIt<TVec>();
  TVec& coef = *lease;
  const int n = A.Rows();
  const int p = A.Cols();
  // The in-sample squared error per coefficient of the ridge fit with parameter k.
  const TRealFunction objective = [&](const TVec& pars, const TVec*, const TObjConsts&) {
    RidgeRegress(y, A, pars.Value(0), coef, false);
    double sse = 0.0;
    for (int i = 0; i < n; ++i) {
      double f = coef.Value(0);
      for (int j = 0; j < p; ++j) f += A.Value(i * p + j) * coef.Value(j + 1);
      const double e = f - y.Value(i);
      sse += e * e;
    }
    return sse / coef.Length();
  };
  const bool isDouble = y.IsDouble();
  double pars[1] = {1e-6};
  const double lower[1] = {isDouble ? EPS_DOUBLE : EPS_SINGLE};
  const double upper[1] = {Inf};
  double fmin = 0.0;
  TOptStopReason reason = osrNone;
  Simplex(objective, pars, lower, upper, nullptr, TObjConsts{}, fmin, reason,
          isDouble ? fpDouble : fpSingle, 500, 1e-8);
  k = pars[0];
}

void PCRegress(const TVec& y, const TMtx& A, TVec& b, TVec* YCalc, TVec* BStdErr,
               int OmitCount) {
  if (y.Complex() || A.Complex()) ERaise("PCRegress: y.Complex or A.Complex");
  if (y.FloatPrecision() != A.FloatPrecision()) {
    ERaise("PCRegress: y.FloatPrecision <> A.FloatPrecision");
  }
  if (y.Length() != A.Rows()) ERaise("PCRegress: y.Length <> A.Rows");
  detail::PCSolve(y, A, b, BStdErr, YCalc, OmitCount);
}

void PCRegress(const TVec& Y, const TMtx& A, TVec& b, const TVec& Weights, TVec& YCalc,
               TVec* BStdErr, int OmitCount) {
  if (Y.Complex() || A.Complex()) ERaise("PCRegress: Y.Complex or A.Complex");
  if (Y.FloatPrecision() != A.FloatPrecision()) {
    ERaise("PCRegress: y.FloatPrecision <> A.FloatPrecision");
  }
  if (Y.Length() != Weights.Length()) ERaise("PCRegress: Y.Length<>Weights.Length");
  if (Y.Length() != A.Rows()) ERaise("PCRegress: Y.Length <> A.Rows");
  if (Weights.Complex()) ERaise("PCRegress: Weights.Complex");
  const int n = A.Rows();
  const int p = A.Cols();
  const std::vector<double> s = RowScale(Weights);
  auto [Yw, Aw] = CreateIt<TVec, TMtx>();
  Yw->Size(n, Y);
  Aw->Size(n, p, A);
  for (int i = 0; i < n; ++i) {
    Yw->SetValue(i, Y.Value(i) * s[i]);
    for (int j = 0; j < p; ++j) Aw->SetValue(i * p + j, A.Value(i * p + j) * s[i]);
  }
  detail::PCSolve(*Yw, *Aw, b, BStdErr, &YCalc, OmitCount);
  for (int i = 0; i < n; ++i) YCalc.SetValue(i, YCalc.Value(i) / s[i]);
}

double PRESS(const TMtx& A, const TVec& y) {
  auto [b, fit, V] = CreateIt<TVec, TVec, TMtx>();
  MulLinRegress(y, A, *b, true, fit.get(), V.get(), regSolveLQR);
  const int n = A.Rows();
  const int p = A.Cols();
  const int q = p + 1;
  std::vector<double> x(static_cast<std::size_t>(q));
  double press = 0.0;
  for (int i = 0; i < n; ++i) {
    // The leverage h_i = x_i' V x_i of row x_i = [1, a_i].
    x[0] = 1.0;
    for (int j = 0; j < p; ++j) x[j + 1] = A.Value(i * p + j);
    double h = 0.0;
    for (int r = 0; r < q; ++r) {
      double vx = 0.0;
      for (int c = 0; c < q; ++c) vx += V->Value(r * q + c) * x[c];
      h += x[r] * vx;
    }
    const double e = (y.Value(i) - fit->Value(i)) / (1.0 - h);
    press += e * e;
  }
  return press;
}

}  // namespace lumex
