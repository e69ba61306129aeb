// Multivariate tests on data matrices: Hotelling's T^2 for one and two samples, Box's M test of
// equal covariance matrices and Bartlett's test for the number of principal components.
//
// Covariance matrices come from Covariance (divisor n - 1) and are handled in double; the
// quadratic forms d' S^-1 d go through the LU inverse, so an exactly singular matrix raises the
// core's "Inv: matrix is singular" and a nearly singular one gives a large statistic.
#include <climits>
#include <cmath>

#include "Statistics/multivariate.h"
#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"
#include "lumex/core/ops_columns.h"

namespace lumex {

namespace detail {

void ToDouble(TMtx& m) {
  if (m.IsDouble()) return;
  auto single = CreateIt<TMtx>();
  Copy(*single, m);
  m.Size(single->Rows(), single->Cols());
  for (int k = 0; k < single->Length(); ++k) m.SetValue(k, single->Value(k));
}

void ToDouble(TVec& v) {
  if (v.IsDouble()) return;
  auto single = CreateIt<TVec>();
  Copy(*single, v);
  Convert(v, *single, fpDouble);
}

}  // namespace detail

namespace {

using detail::ToDouble;

// S := the sample covariance of X and m := its column means, both in double.
void MomentsInDouble(const TMtx& X, TMtx& S, TVec& m) {
  Covariance(X, S, false);  // raises "Covariance: X.Complex" first
  ToDouble(S);
  MeanCols(m, X);
  ToDouble(m);
}

// d' S^-1 d.
double QuadraticForm(const TMtx& S, const TVec& d) {
  if (d.Length() == 0) return 0.0;
  auto [inverse, t] = CreateIt<TMtx, TVec>();
  Inv(*inverse, S);
  TensorProd(*t, *inverse, d);
  return DotProd(d, *t);
}

// The significance of T^2 on p variables with effective sample size m: the F form
// T^2 (m - p) / ((m - 1) p) on (p, m - p) degrees of freedom below 50, the chi-square
// approximation on p degrees of freedom from 50 on. Upper tails are computed directly.
double T2Significance(double T2, double m, int p) {
  if (std::isnan(m)) return NaN;
  if (m < 50.0) {
    const double F = T2 * (m - p) / ((m - 1.0) * p);
    return FCDFUpper(F, p, m - p);
  }
  return ChiSquareCDFUpper(T2, p);
}

// tr(V^2) + tr(V)^2, the term of the unequal-covariance degrees of freedom.
double TraceTerm(const TMtx& V) {
  auto square = CreateIt<TMtx>();
  Mul(*square, V, V);
  const double t = Trace(V);
  return Trace(*square) + t * t;
}

// ln |S| from the LU determinant; a negative or zero determinant (a singular matrix in rounding)
// gives NaN or -Inf, which end in hrNan.
double LnDet(const TMtx& S) { return std::log(Determinant(S)); }

}  // namespace

// ---- Hotelling's T^2 ----------------------------------------------------------------------------

double HotellingT2One(const TMtx& X, const TVec* Means, double& Signif, THypothesisResult& hRes,
                      double Alpha) {
  const int n = X.Rows();
  const int p = X.Cols();
  if (n <= p) ERaise("HotellingT2One : X.Rows<=X.Cols");
  if (Means != nullptr) {
    if (Means->Length() != p) ERaise("HotellingT2One : Means.Length <> X.Cols");
    if (Means->FloatPrecision() != X.FloatPrecision()) {
      ERaise("HotellingT2One : Means.FloatPrecision <> X.FloatPrecision");
    }
  }
  auto [S, xbar, d] = CreateIt<TMtx, TVec, TVec>();
  MomentsInDouble(X, *S, *xbar);
  double T2;
  int q;
  if (Means != nullptr) {
    d->Size(p);
    for (int j = 0; j < p; ++j) (*d)[j] = (*xbar)[j] - Means->Value(j);
    T2 = n * QuadraticForm(*S, *d);
    q = p;
  } else {
    // Contrasts of successive means: w = C xbar with row i of C being e_i - e_(i+1).
    q = p > 0 ? p - 1 : 0;
    auto [C, CS, CSC] = CreateIt<TMtx, TMtx, TMtx>();
    C->Size(q, p);
    C->SetZero();
    for (int i = 0; i < q; ++i) {
      (*C)(i, i) = 1.0;
      (*C)(i, i + 1) = -1.0;
    }
    TensorProd(*d, *C, *xbar);
    Mul(*CS, *C, *S);
    Mul(*CSC, *CS, *C, opNone, opTrans);
    T2 = n * QuadraticForm(*CSC, *d);
  }
  Signif = T2Significance(T2, n, q);
  hRes = Decide(Signif, Alpha, true, T2);
  return T2;
}

double HotellingT2Two(const TMtx& X1, const TMtx& X2, double& Signif, THypothesisResult& hRes,
                      double& DF, const TVec* MeanDiff, bool EqualCov, double Alpha) {
  if (X1.Cols() != X2.Cols()) ERaise("HotellingT2Two : X1.Cols <> X2.Cols");
  const int p = X1.Cols();
  if (MeanDiff != nullptr && MeanDiff->Length() != p) {
    ERaise("HotellingT2Two : MeanDiff.Length <> X1.Cols");
  }
  const double n1 = X1.Rows();
  const double n2 = X2.Rows();
  auto [S1, S2, m1, m2] = CreateIt<TMtx, TMtx, TVec, TVec>();
  MomentsInDouble(X1, *S1, *m1);
  MomentsInDouble(X2, *S2, *m2);
  auto [d, V] = CreateIt<TVec, TMtx>();
  d->Size(p);
  for (int j = 0; j < p; ++j) {
    (*d)[j] = (*m1)[j] - (*m2)[j] - (MeanDiff != nullptr ? MeanDiff->Value(j) : 0.0);
  }
  double T2;
  double m;
  if (EqualCov) {
    // Pooled covariance ((n1 - 1) S1 + (n2 - 1) S2) / (n1 + n2 - 2).
    Copy(*V, *S1);
    Mul(*V, n1 - 1.0);
    AddScaled(*V, *S2, n2 - 1.0);
    Divide(*V, n1 + n2 - 2.0);
    T2 = n1 * n2 / (n1 + n2) * QuadraticForm(*V, *d);
    DF = n1 + n2 - 2.0;
    m = DF + 1.0;
  } else {
    Mul(*S1, 1.0 / n1);
    Mul(*S2, 1.0 / n2);
    Add(*V, *S1, *S2);
    DF = TraceTerm(*V) / (TraceTerm(*S1) / (n1 - 1.0) + TraceTerm(*S2) / (n2 - 1.0));
    T2 = QuadraticForm(*V, *d);
    m = std::trunc(DF) + 1.0;
  }
  Signif = T2Significance(T2, m, p);
  hRes = Decide(Signif, Alpha, true, T2);
  return T2;
}

// ---- Box's M ------------------------------------------------------------------------------------

double MBoxTest(const TMtx& X1, const TMtx& X2, double& Signif, THypothesisResult& hRes,
                int& DF1, int& DF2, double Alpha) {
  DF1 = 0;
  DF2 = 0;
  if (X1.Cols() != X2.Cols()) ERaise("MBoxTest : X1.Cols <> X2.Cols");
  const int p = X1.Cols();
  const int n1 = X1.Rows();
  const int n2 = X2.Rows();
  const double nu1 = n1 - 1.0;
  const double nu2 = n2 - 1.0;
  const double nu = n1 + n2 - 2.0;
  auto [S1, S2, Sp] = CreateIt<TMtx, TMtx, TMtx>();
  Covariance(X1, *S1, false);
  Covariance(X2, *S2, false);
  ToDouble(*S1);
  ToDouble(*S2);
  Copy(*Sp, *S1);
  Mul(*Sp, nu1);
  AddScaled(*Sp, *S2, nu2);
  Divide(*Sp, nu);
  const double M = nu * LnDet(*Sp) - nu1 * LnDet(*S1) - nu2 * LnDet(*S2);

  const double a = 1.0 / nu1 + 1.0 / nu2;
  const double b = 1.0 / (nu1 * nu1) + 1.0 / (nu2 * nu2);
  const double c1 = (2.0 * p * p + 3.0 * p - 1.0) / (6.0 * (p + 1.0)) * (a - 1.0 / nu);
  DF1 = p * (p + 1) / 2;
  if (n1 > 20 || n2 > 20) {
    Signif = ChiSquareCDFUpper(M * (1.0 - c1), DF1);
  } else {
    // Box's F approximation for small samples.
    const double c2 = (p - 1.0) * (p + 2.0) / 6.0 * (b - 1.0 / (nu * nu));
    const double gap = c2 - c1 * c1;
    const double ratio = (DF1 + 2.0) / std::fabs(gap);
    // c2 = c1^2 (an infinite ratio), a ratio below 1 (DF2 would truncate to 0) or one beyond
    // the integers leave no F approximation: DF2 stays 0 and the significance is NaN.
    if (!(ratio >= 1.0 && ratio <= static_cast<double>(INT_MAX))) {
      Signif = NaN;
    } else {
      DF2 = static_cast<int>(ratio);
      const double f2 = DF2;
      const double F = gap >= 0.0 ? M * (1.0 - c1 - DF1 / f2) / DF1
                                  : f2 * M / (DF1 * (f2 / (1.0 - c1 - 2.0 / f2) - M));
      Signif = FCDFUpper(F, DF1, f2);
    }
  }
  hRes = Decide(Signif, Alpha, true, M);
  return M;
}

// ---- Bartlett's test for the number of components ---------------------------------------------

void BartlettTest(const TMtx& Data, int& NumComp, TVec& Signif, double Alpha) {
  if (Data.Complex()) ERaise("BartlettTest: Data.Complex = True");
  const int n = Data.Rows();
  const int p = Data.Cols();
  auto [S, lambda] = CreateIt<TMtx, TVec>();
  Covariance(Data, *S, false);
  SVD(*S, *lambda);  // the eigenvalues of S, decreasing
  ToDouble(*lambda);
  const int tests = p > 1 ? p - 1 : 0;
  Signif.Size(tests, Data.FloatPrecision());
  // Sums over the q = p - m smallest eigenvalues, accumulated from the smallest up.
  double tailSum = 0.0;
  double tailLog = 0.0;
  auto [sums, logs] = CreateIt<TVec, TVec>();
  sums->Size(p);
  logs->Size(p);
  for (int i = p - 1; i >= 0; --i) {
    tailSum += (*lambda)[i];
    tailLog += std::log((*lambda)[i]);
    (*sums)[i] = tailSum;
    (*logs)[i] = tailLog;
  }
  NumComp = p;
  bool decided = false;
  for (int m = 0; m < tests; ++m) {
    const int q = p - m;
    const double B = (n - 1.0) * (q * std::log((*sums)[m] / q) - (*logs)[m]);
    const int df = (q - 1) * (q + 2) / 2;
    const double s = ChiSquareCDFUpper(B, df);
    Signif.SetValue(m, s);
    if (!decided && s > Alpha) {
      NumComp = m == 0 ? -1 : m;
      decided = true;
    }
  }
}

}  // namespace lumex
