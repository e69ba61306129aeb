// Distances between observations, classical multidimensional scaling, stress and Cronbach's
// alpha.
//
// Everything is computed in double precision and written in the storage precision of the input
// at the end.
#include <Eigen/Core>

#include <algorithm>
#include <cmath>
#include <exception>
#include <string>
#include <vector>

#include "core/dispatch.h"
#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"

namespace lumex {

namespace {

using TMatD = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
using TMapD = Eigen::Map<TMatD>;

// The first k columns of X as an n x k double matrix, row-major.
void FirstColumns(const TMtx& X, int k, std::vector<double>& z) {
  const int n = X.Rows();
  const int p = X.Cols();
  z.resize(static_cast<std::size_t>(n) * k);
  detail::DispatchReal(X, "PairwiseDistance", [&](const auto* px) {
    for (int i = 0; i < n; ++i) {
      for (int c = 0; c < k; ++c) {
        z[static_cast<std::size_t>(i) * k + c] =
            static_cast<double>(px[static_cast<std::size_t>(i) * p + c]);
      }
    }
  });
}

bool RowFinite(const double* row, int k) {
  for (int c = 0; c < k; ++c) {
    if (!std::isfinite(row[c])) return false;
  }
  return true;
}

// The distance of two rows by a direct pass over their k differences.
double DirectDistance(const double* a, const double* b, int k, TPWDistMethod method) {
  double acc = 0.0;
  for (int c = 0; c < k; ++c) {
    const double d = a[c] - b[c];
    switch (method) {
      case pwdistEuclidian: acc += d * d; break;
      case pwdistCityBlock: acc += std::fabs(d); break;
      default: {  // Chebychev; a NaN difference must survive the maximum
        const double ad = std::fabs(d);
        if (std::isnan(ad)) return ad;
        if (ad > acc) acc = ad;
        break;
      }
    }
  }
  return method == pwdistEuclidian ? std::sqrt(acc) : acc;
}

// Below this ratio of the squared distance to |z_i|^2 + |z_j|^2 the Gram form has lost more
// than about three digits to cancellation, and the distance is recomputed from the differences.
constexpr double kCancellation = 1e-3;

// Euclidean distances of the rows of the n x k matrix z into the n x n matrix d, from the Gram
// matrix: d_ij^2 = g_i + g_j - 2 z_i.z_j with g_i = |z_i|^2, over the upper triangle, then
// mirrored. The columns are first shifted by the mean of their finite values, which leaves the
// distances as they are and makes |z_i|^2 small against d_ij^2 when the data sit far from the
// origin. The few pairs that are still close against their distance from the centroid (among
// them identical rows, which must give exactly 0), and rows holding a NaN or an infinity, are
// computed directly from the original values.
void EuclideanByGram(std::vector<double>& z, int n, int k, double* d) {
  const std::vector<double> original = z;
  std::vector<char> finite(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) finite[i] = RowFinite(z.data() + static_cast<std::size_t>(i) * k, k);
  for (int c = 0; c < k; ++c) {
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < n; ++i) {
      const double v = z[static_cast<std::size_t>(i) * k + c];
      if (std::isfinite(v)) {
        sum += v;
        ++count;
      }
    }
    const double shift = count > 0 ? sum / count : 0.0;
    for (int i = 0; i < n; ++i) {
      double& v = z[static_cast<std::size_t>(i) * k + c];
      // A row with a non-finite value is computed directly: zero it here, so that the product
      // stays free of NaN.
      v = finite[i] ? v - shift : 0.0;
    }
  }
  TMapD D(d, n, n);
  const Eigen::Map<const TMatD> Z(z.data(), n, k);
  // Row by row: Eigen's triangular views walk a row-major matrix down its columns.
  for (int i = 0; i < n; ++i) {
    std::fill(d + static_cast<std::size_t>(i) * n + i, d + static_cast<std::size_t>(i + 1) * n,
              0.0);
  }
  // The upper triangle of -2 Z Z^T (Eigen's blocking divides by the depth, and reads through
  // the data pointer: neither exists for k = 0 or n = 0).
  if (k > 0 && n > 0) D.selfadjointView<Eigen::Upper>().rankUpdate(Z, -2.0);
  std::vector<double> g(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) g[i] = -0.5 * D(i, i);
  auto direct = [&](int i, int j) {
    return DirectDistance(original.data() + static_cast<std::size_t>(i) * k,
                          original.data() + static_cast<std::size_t>(j) * k, k, pwdistEuclidian);
  };
  const bool allFinite = std::all_of(finite.begin(), finite.end(), [](char f) { return f != 0; });
  std::vector<double> squares(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) {
    double* row = d + static_cast<std::size_t>(i) * n;
    if (!finite[i]) {
      for (int j = i; j < n; ++j) row[j] = direct(i, j);
      continue;
    }
    row[i] = 0.0;
    // The squared distances of the row's stretch right of the diagonal, in loops simple enough
    // to vectorise; the rare close pairs are flagged and recomputed afterwards.
    const int len = n - i - 1;
    double* r = row + i + 1;
    const double* gj = g.data() + i + 1;
    const double gi = g[i];
    int close = 0;
    for (int j = 0; j < len; ++j) {
      const double sq = r[j] + gi + gj[j];
      squares[j] = sq;
      // Also true for a NaN, which overflow of huge values can leave in the product form.
      close |= !(sq >= kCancellation * (gi + gj[j]));
    }
    Eigen::Map<Eigen::ArrayXd>(r, len) =
        Eigen::Map<Eigen::ArrayXd>(squares.data(), len).max(0.0).sqrt();
    if (close != 0 || !allFinite) {
      for (int j = 0; j < len; ++j) {
        if (!(squares[j] >= kCancellation * (gi + gj[j])) || !finite[i + 1 + j]) {
          r[j] = direct(i, i + 1 + j);
        }
      }
    }
  }
  // Mirror the upper triangle in small tiles, whose rows and columns both stay in cache.
  constexpr int kTile = 16;
  for (int i0 = 0; i0 < n; i0 += kTile) {
    for (int j0 = i0; j0 < n; j0 += kTile) {
      const int iEnd = std::min(n, i0 + kTile), jEnd = std::min(n, j0 + kTile);
      for (int j = j0; j < jEnd; ++j) {
        double* lower = d + static_cast<std::size_t>(j) * n;
        for (int i = i0; i < std::min(iEnd, j); ++i) {
          lower[i] = d[static_cast<std::size_t>(i) * n + j];
        }
      }
    }
  }
}

// City-block and Chebychev distances of the rows of z (n x k) by a loop over the pairs.
void DistancesByPairs(const std::vector<double>& z, int n, int k, TPWDistMethod method,
                      double* d) {
  // Row i of z; data() rather than z[i * k], which has no element to refer to when k is 0.
  const auto row = [&](int i) { return z.data() + static_cast<std::size_t>(i) * k; };
  for (int i = 0; i < n; ++i) {
    d[static_cast<std::size_t>(i) * n + i] = DirectDistance(row(i), row(i), k, method);
    for (int j = i + 1; j < n; ++j) {
      const double v = DirectDistance(row(i), row(j), k, method);
      d[static_cast<std::size_t>(i) * n + j] = v;
      d[static_cast<std::size_t>(j) * n + i] = v;
    }
  }
}

// dst := the n x m double values of src, in the given precision.
void StoreMatrix(TMtx& dst, const double* src, int rows, int cols, TMtxFloatPrecision precision) {
  dst.Size(rows, cols, precision);
  const std::size_t len = static_cast<std::size_t>(rows) * cols;
  if (precision == fpDouble) {
    std::copy(src, src + len, dst.Data<double>());
  } else {
    float* out = dst.Data<float>();
    for (std::size_t i = 0; i < len; ++i) out[i] = static_cast<float>(src[i]);
  }
}

}  // namespace

void PairwiseDistance(const TMtx& X, TMtx& D, int NumCols, TPWDistMethod Method) {
  if (X.Complex()) detail::RaiseComplex("PairwiseDistance");
  const int n = X.Rows();
  const int k = std::max(0, std::min(NumCols, X.Cols()));
  const TMtxFloatPrecision precision = X.FloatPrecision();
  if (Method == pwdistCustom) {
    D.Size(n, n, precision);
    ERaise("PairwiseDistance: pwdistCustom is not supported");
  }
  detail::CheckEnum("PairwiseDistance", "Method", Method, pwdistCustom + 1);
  std::vector<double> z;
  FirstColumns(X, k, z);
  // Double results are written straight into D (X may be D itself: z already holds its data).
  std::vector<double> work;
  double* d;
  if (precision == fpDouble) {
    D.Size(n, n, fpDouble);
    d = D.Data<double>();
  } else {
    work.resize(static_cast<std::size_t>(n) * n);
    d = work.data();
  }
  if (Method == pwdistEuclidian) {
    EuclideanByGram(z, n, k, d);
  } else {
    DistancesByPairs(z, n, k, Method, d);
  }
  if (precision != fpDouble) StoreMatrix(D, work.data(), n, n, precision);
}

void MDScaleMetric(const TMtx& D, TMtx& Y, TVec& EigenValues, int NumDim) {
  if (D.Rows() != D.Cols()) ERaise("MDScaleMetric: D not quadratic");
  if (D.Complex()) ERaise("MDScaleMetric: D.Complex = true");
  if (NumDim > D.Cols()) ERaise("MDScaleMetric: (NumDim>D.Cols)");
  try {
    if (NumDim < 0) ERaise("NumDim < 0");
    const int n = D.Rows();
    const TMtxFloatPrecision precision = D.FloatPrecision();
    // B = J A J with A = -D^2/2, by double centring: subtract the row and column means of A and
    // add back its grand mean (the same matrix as the product, at O(n^2) cost).
    auto [b, vectors] = CreateIt<TMtx, TMtx>();
    auto values = CreateIt<TVec>();
    b->Size(n, n);
    std::vector<double> rowMean(static_cast<std::size_t>(n), 0.0);
    double grand = 0.0;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) {
        const double dij = D.Value(i * n + j);
        const double a = -0.5 * dij * dij;
        (*b)(i, j) = a;
        rowMean[i] += a;
      }
      rowMean[i] /= n;
      grand += rowMean[i];
    }
    grand /= n;
    std::vector<double> colMean(static_cast<std::size_t>(n), 0.0);
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) colMean[j] += (*b)(i, j);
    }
    for (double& m : colMean) m /= n;
    for (int i = 0; i < n; ++i) {
      for (int j = 0; j < n; ++j) (*b)(i, j) += grand - rowMean[i] - colMean[j];
    }
    for (int i = 0; i < n; ++i) {
      for (int j = i + 1; j < n; ++j) {
        const double s = 0.5 * ((*b)(i, j) + (*b)(j, i));
        (*b)(i, j) = s;
        (*b)(j, i) = s;
      }
    }
    // Symmetric eigenproblem: real eigenvalues, ascending, orthonormal vectors.
    EigSym(*b, *values, vectors.get());
    std::vector<double> y(static_cast<std::size_t>(n) * NumDim);
    EigenValues.Size(NumDim, precision);
    for (int c = 0; c < NumDim; ++c) {
      const int src = n - 1 - c;  // the c-th largest eigenvalue
      const double lambda = values->Value(src);
      EigenValues.SetValue(c, lambda);
      // A negative eigenvalue (a non-Euclidean D) contributes no coordinate.
      const double scale = std::sqrt(lambda > 0.0 ? lambda : 0.0);
      // The sign of an eigenvector is arbitrary: make the largest element positive.
      int big = 0;
      for (int i = 1; i < n; ++i) {
        if (std::fabs((*vectors)(i, src)) > std::fabs((*vectors)(big, src))) big = i;
      }
      const double sign = n > 0 && (*vectors)(big, src) < 0.0 ? -1.0 : 1.0;
      for (int i = 0; i < n; ++i) {
        y[static_cast<std::size_t>(i) * NumDim + c] = sign * scale * (*vectors)(i, src);
      }
    }
    StoreMatrix(Y, y.data(), n, NumDim, precision);
  } catch (const std::exception& e) {
    ERaise(std::string("MDScaleMetric : ") + e.what());
  }
}

double MDScaleStress(const TMtx& D, const TMtx& DHat) {
  if (D.Complex() || DHat.Complex()) detail::RaiseComplex("MDScaleStress");
  if (D.Length() != DHat.Length()) ERaise("MDScaleStress: D.Length <> DHat.Length");
  double diff = 0.0;
  double norm = 0.0;
  for (int i = 0; i < D.Length(); ++i) {
    const double a = D.Value(i);
    const double e = a - DHat.Value(i);
    diff += e * e;
    norm += a * a;
  }
  return std::sqrt(diff) / std::sqrt(norm);
}

double CronbachAlpha(const TMtx& X) {
  auto c = CreateIt<TMtx>();
  // The divisor of the covariance cancels in the ratio.
  Covariance(X, *c, true);
  const int k = X.Cols();
  double items = 0.0;
  double total = 0.0;
  for (int i = 0; i < k; ++i) {
    items += c->Value(i * k + i);
    for (int j = 0; j < k; ++j) total += c->Value(i * k + j);
  }
  return (1.0 - items / total) * k / (k - 1.0);
}

}  // namespace lumex
