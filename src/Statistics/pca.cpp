// Principal components of a covariance matrix or of a data matrix, and the residuals of a data
// matrix after its leading components.
//
// The data-matrix form works in double on a centred copy of the data. Its components are the
// eigenvectors of the p x p covariance (or correlation) matrix from the symmetric eigen solver:
// for the tall matrices of principal-component work (n much larger than p) forming the p x p
// cross-product is one matrix product, several times cheaper than a singular value decomposition
// of the n x p data, and it gives the same components to rounding. The eigenvalues lose relative
// accuracy only when they span more than about eight orders of magnitude, far beyond the point
// where a component carries any information.
#include <algorithm>
#include <cmath>
#include <cstddef>

#include <Eigen/Core>

#include "Statistics/multivariate.h"
#include "core/dispatch.h"
#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"
#include "lumex/core/ops_columns.h"

namespace lumex {

using detail::ToDouble;

namespace {

// A := Data in double with its column means (returned in `means`, double) subtracted. Double
// data have their means taken where they lie and are copied once; single data are widened first.
void CentreInDouble(const TMtx& Data, TMtx& A, TVec& means) {
  const int rows = Data.Rows();
  const int cols = Data.Cols();
  const std::size_t total = static_cast<std::size_t>(rows) * cols;
  A.Size(rows, cols);
  double* pa = A.Data<double>();
  if (Data.IsDouble() && !Data.Complex()) {
    MeanCols(means, Data);
    const double* px = Data.Data<double>();
    const double* m = means.Data<double>();
    for (std::size_t k = 0; k < total; k += cols) {
      for (int j = 0; j < cols; ++j) pa[k + j] = px[k + j] - m[j];
    }
    return;
  }
  detail::DispatchReal(Data, "PCA", [&](const auto* px) {
    for (std::size_t k = 0; k < total; ++k) pa[k] = static_cast<double>(px[k]);
  });
  MeanCols(means, A);
  const double* m = means.Data<double>();
  for (std::size_t k = 0; k < total; k += cols) {
    for (int j = 0; j < cols; ++j) pa[k + j] -= m[j];
  }
}

// S := A^T A / divisor in its lower triangle (the upper one is left unspecified), by a
// symmetric rank-n update: half the work of the general product.
void CrossProduct(const TMtx& A, double divisor, TMtx& S) {
  using TRowMajor = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
  const int cols = A.Cols();
  S.Size(cols, cols);
  Eigen::Map<TRowMajor> s(S.Data<double>(), cols, cols);
  s.setZero();
  if (A.Rows() == 0) return;
  const Eigen::Map<const TRowMajor> a(A.Data<double>(), A.Rows(), cols);
  s.selfadjointView<Eigen::Lower>().rankUpdate(a.transpose(), 1.0 / divisor);
}

// Fixes the arbitrary sign of each column of V (double): its element of largest magnitude, the
// first on a tie, becomes positive.
void FixSigns(TMtx& V) {
  const int p = V.Rows();
  const int k = V.Cols();
  double* v = V.Data<double>();
  for (int j = 0; j < k; ++j) {
    int big = 0;
    for (int i = 1; i < p; ++i) {
      if (std::fabs(v[i * k + j]) > std::fabs(v[big * k + j])) big = i;
    }
    if (p > 0 && v[big * k + j] < 0.0) {
      for (int i = 0; i < p; ++i) v[i * k + j] = -v[i * k + j];
    }
  }
}

// The eigenvalues of the symmetric positive semi-definite S (double), decreasing, into lambda,
// and their eigenvectors as the columns of V (double, signs fixed). Rounding can leave the
// eigenvalues of a singular matrix slightly below zero, where the variance they stand for is 0.
void EigenDecreasing(const TMtx& S, TVec& lambda, TMtx& V) {
  auto [ascending, vectors] = CreateIt<TVec, TMtx>();
  EigSym(S, *ascending, vectors.get());
  const int p = S.Rows();
  lambda.Size(p);
  V.Size(p, p);
  const double* a = ascending->Data<double>();
  const double* w = vectors->Data<double>();
  double* l = lambda.Data<double>();
  double* v = V.Data<double>();
  for (int j = 0; j < p; ++j) {
    const int from = p - 1 - j;
    l[j] = a[from] < 0.0 ? 0.0 : a[from];
    for (int i = 0; i < p; ++i) v[i * p + j] = w[i * p + from];
  }
  FixSigns(V);
}

// dst := the double matrix src in storage precision `precision`.
void StoreAs(TMtx& dst, const TMtx& src, TMtxFloatPrecision precision) {
  if (precision == fpDouble) {
    Copy(dst, src);
    return;
  }
  dst.Size(src.Rows(), src.Cols(), fpSingle);
  float* d = dst.Data<float>();
  const double* s = src.Data<double>();
  for (int k = 0; k < src.Length(); ++k) d[k] = static_cast<float>(s[k]);
}

void StoreAs(TVec& dst, const TVec& src, TMtxFloatPrecision precision) {
  dst.Size(src.Length(), precision);
  for (int k = 0; k < src.Length(); ++k) dst.SetValue(k, src[k]);
}

// VarPercent := 100 lambda / sum(lambda), when requested.
void WritePercent(TVec* VarPercent, const TVec& lambda, TMtxFloatPrecision precision) {
  if (VarPercent == nullptr) return;
  const double scale = 100.0 / Sum(lambda);
  VarPercent->Size(lambda.Length(), precision);
  for (int k = 0; k < lambda.Length(); ++k) VarPercent->SetValue(k, lambda[k] * scale);
}

// The components of the correlation matrix of Data: eigenvalues lambda and vectors V (double),
// the column z-scores Z (centred, divided by the standard deviations, divisor n - 1), and the
// column means and standard deviations. Complex data raise through CorrCoef.
void CorrelationComponents(const TMtx& Data, TVec& lambda, TMtx& V, TMtx& Z, TVec& means,
                           TVec& sd) {
  auto R = CreateIt<TMtx>();
  CorrCoef(Data, *R);
  ToDouble(*R);  // the decomposition and the sign rule work on double
  EigenDecreasing(*R, lambda, V);
  CentreInDouble(Data, Z, means);
  const int rows = Z.Rows();
  const int cols = Z.Cols();
  double* z = Z.Data<double>();
  sd.Size(cols);
  sd.SetZero();
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) sd[j] += z[static_cast<std::size_t>(i) * cols + j] *
                                            z[static_cast<std::size_t>(i) * cols + j];
  }
  for (int j = 0; j < cols; ++j) sd[j] = std::sqrt(sd[j] / (rows - 1.0));
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) z[static_cast<std::size_t>(i) * cols + j] /= sd[j];
  }
}

}  // namespace

void PCA(const TMtx& CovMat, TMtx& PC, TVec& EigenValues, TVec* VarPercent) {
  auto [u, s, v] = CreateIt<TMtx, TVec, TMtx>();
  SVD(CovMat, *u, *s, *v, true);  // raises "SVD: complex matrix not supported"
  const TMtxFloatPrecision precision = CovMat.FloatPrecision();
  ToDouble(*v);
  FixSigns(*v);
  StoreAs(PC, *v, precision);
  auto lambda = CreateIt<TVec>();
  lambda->Size(s->Length());
  for (int k = 0; k < s->Length(); ++k) (*lambda)[k] = s->Value(k);
  StoreAs(EigenValues, *lambda, precision);
  WritePercent(VarPercent, *lambda, precision);
}

void PCA(const TMtx& Data, TMtx& PC, TMtx& ZScores, TVec& EigenValues, TVec* VarPercent,
         TPCAMode Mode) {
  const TMtxFloatPrecision precision = Data.FloatPrecision();
  auto [A, V, lambda, means] = CreateIt<TMtx, TMtx, TVec, TVec>();
  if (Mode == PCACovMat) {
    if (Data.Complex()) ERaise("SVD: complex matrix not supported");
    CentreInDouble(Data, *A, *means);
    auto S = CreateIt<TMtx>();
    CrossProduct(*A, Data.Rows() - 1.0, *S);
    EigenDecreasing(*S, *lambda, *V);
  } else {
    auto sd = CreateIt<TVec>();
    CorrelationComponents(Data, *lambda, *V, *A, *means, *sd);
  }
  if (precision == fpDouble) {
    Mul(ZScores, *A, *V);
  } else {
    auto Z = CreateIt<TMtx>();
    Mul(*Z, *A, *V);
    StoreAs(ZScores, *Z, precision);
  }
  StoreAs(PC, *V, precision);
  StoreAs(EigenValues, *lambda, precision);
  WritePercent(VarPercent, *lambda, precision);
}

void PCAResiduals(const TMtx& Data, int NumPC, TMtx& Residuals) {
  const int p = Data.Cols();
  if (NumPC >= p) ERaise("PCAResiduals: NumPC >= Data.Cols");
  const int n = Data.Rows();
  const int k = std::max(NumPC, 0);
  auto [Z, V, lambda, means] = CreateIt<TMtx, TMtx, TVec, TVec>();
  auto [sd, R, scores] = CreateIt<TVec, TMtx, TMtx>();
  CorrelationComponents(Data, *lambda, *V, *Z, *means, *sd);
  Mul(*scores, *Z, *V);
  // R := scores_k V_k^T over the first k components, summed term by term in double.
  R->Size(n, p);
  R->SetZero();
  const double* z = scores->Data<double>();
  const double* v = V->Data<double>();
  double* r = R->Data<double>();
  for (int i = 0; i < n; ++i) {
    const double* zi = z + static_cast<std::size_t>(i) * p;
    double* ri = r + static_cast<std::size_t>(i) * p;
    for (int c = 0; c < k; ++c) {
      for (int j = 0; j < p; ++j) ri[j] += zi[c] * v[j * p + c];
    }
  }
  // Residual = data - (reconstruction in z units times sd + mean), elementwise in double.
  const double* m = means->Data<double>();
  const double* s = sd->Data<double>();
  for (int i = 0; i < n; ++i) {
    double* ri = r + static_cast<std::size_t>(i) * p;
    for (int j = 0; j < p; ++j) {
      ri[j] = Data.Value(i * p + j) - (ri[j] * s[j] + m[j]);
    }
  }
  StoreAs(Residuals, *R, Data.FloatPrecision());
}

}  // namespace lumex
