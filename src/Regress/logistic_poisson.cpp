// Generalised linear models: binomial logistic and Poisson regression by iteratively reweighted
// least squares (IRLS), and ordinal (cumulative-logit, proportional-odds) logistic regression by
// Levenberg-Marquardt on the deviance.
//
// The IRLS loop reads the design once per pass, in blocks of rows that stay in cache: for each
// block it forms the linear predictor, the means, the deviance terms, the working weights and
// responses, and adds the block's share of X'WX and X'Wr. The deviances are written so that no
// logarithm of a mean is taken: with eta the linear predictor,
//   binomial  y ln(y'/mu) + (n - y) ln((n - y'')/(n - mu))
//               = y ln(y'/n) + (n - y) ln((n - y'')/n) - y eta + n ln(1 + e^eta),
//   Poisson   y ln(y'/mu) - (y - mu) = y ln y' - y eta - y + mu,
// whose first parts do not change between passes. Besides saving a logarithm per observation,
// the binomial form stays finite where a fitted probability rounds to 0 or 1.
//
// The ordinal form never builds the N x K category indicator matrices: each observation has at
// most one boundary below and one above its category, so the indicators are kept as two column
// indices per row, and the likelihood, gradient and curvature are accumulated row by row.
#include <Eigen/Core>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "core/dispatch.h"
#include "lumex/Regress.h"
#include "lumex/Statistics.h"
#include "lumex/core/cache.h"
#include "lumex/core/linalg.h"
#include "lumex/core/optimize.h"

namespace lumex {

namespace {

using TRowMat = Eigen::Matrix<double, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>;
using TConstRowMap = Eigen::Map<const TRowMat>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The IRLS loops converge in tens of passes; this bound keeps data that never settle (complete
// separation, counts that drift to zero) from holding the caller.
constexpr int kMaxPasses = 1000;
// Rows per block of the IRLS pass: a block of a 20-column design and its weighted copy fit in
// L2.
constexpr int kBlock = 256;

// The values of a real vector in double.
Eigen::VectorXd Values(const TVec& v, const char* fn) {
  Eigen::VectorXd out(v.Length());
  detail::DispatchReal(v, fn, [&](const auto* p) {
    for (int i = 0; i < v.Length(); ++i) out[i] = static_cast<double>(p[i]);
  });
  return out;
}

void Store(TVec& dst, const Eigen::VectorXd& v, TMtxFloatPrecision precision) {
  dst.Size(static_cast<int>(v.size()), precision);
  for (int i = 0; i < dst.Length(); ++i) dst.SetValue(i, v[i]);
}

// A design matrix as a double row-major map: the caller's storage when it is double, else a
// double copy held in `copy`.
TConstRowMap DesignMap(const TMtx& A, TRowMat& copy, const char* fn) {
  return detail::DispatchReal(A, fn, [&](const auto* a) -> TConstRowMap {
    using T = std::remove_const_t<std::remove_pointer_t<decltype(a)>>;
    if constexpr (std::is_same_v<T, double>) {
      return TConstRowMap(a, A.Rows(), A.Cols());
    } else {
      copy = Eigen::Map<const Eigen::Matrix<T, Eigen::Dynamic, Eigen::Dynamic, Eigen::RowMajor>>(
                 a, A.Rows(), A.Cols())
                 .template cast<double>();
      return TConstRowMap(copy.data(), A.Rows(), A.Cols());
    }
  });
}

// What one IRLS pass leaves: the means of the pass and the weighted cross-product X'WX it
// formed, and the coefficients solved from it.
struct TIrlsResult {
  int passes = 0;
  double deviance = 0.0;
  Eigen::VectorXd b, mu;
  TMtx XtWX;
};

// The IRLS loop shared by both families. family.Row(i, eta, mu, w, dev) gives observation i's
// mean, working weight and deviance term at linear predictor eta; the working response is
// z + (y - mu) / w with z = eta - offset, entered as w z + (y - mu), which stays finite where a
// weight is 0. The first pass takes its predictor from z0, later ones
// from X b. The loop runs while the deviance changes by more than tol or fewer than minIter
// passes have run, and at most kMaxPasses times; a NaN change ends it. solve(XtWX, rhs, b)
// solves the normal equations (the core's solvers, whose errors pass through).
template <class Family, class Solve>
void Irls(const TConstRowMap& X, const Eigen::VectorXd& z0, double offset, double deviance0,
          double tol, int minIter, const Family& family, Solve&& solve, TIrlsResult& out) {
  const Eigen::Index n = X.rows();
  const Eigen::Index p = X.cols();
  out.deviance = deviance0;
  out.passes = 0;
  out.mu.resize(n);
  double devOld = deviance0 + 1.0;
  Eigen::MatrixXd XtWX(p, p);
  Eigen::VectorXd rhs(p), b, eta, w, wr;
  TRowMat WX;
  auto [M, rhsV, bV] = CreateIt<TMtx, TVec, TVec>();
  while ((std::fabs(devOld - out.deviance) > tol || out.passes < minIter) &&
         out.passes < kMaxPasses) {
    ++out.passes;
    devOld = out.deviance;
    double dev = 0.0;
    XtWX.setZero();
    rhs.setZero();
    for (Eigen::Index r0 = 0; r0 < n; r0 += kBlock) {
      const Eigen::Index rows = std::min<Eigen::Index>(kBlock, n - r0);
      const auto Xb = X.middleRows(r0, rows);
      if (out.passes == 1) {
        eta = z0.segment(r0, rows).array() + offset;
      } else if (p > 0) {
        eta.noalias() = Xb * b;
        eta.array() += offset;
      } else {
        eta.setConstant(rows, offset);
      }
      w.resize(rows);
      wr.resize(rows);
      for (Eigen::Index i = 0; i < rows; ++i) {
        double mu, wi, di;
        family.Row(r0 + i, eta[i], mu, wi, di);
        out.mu[r0 + i] = mu;
        dev += di;
        w[i] = wi;
        // w r = w z + (y - mu): the working response times its weight.
        wr[i] = wi * (eta[i] - offset) + (family.y[r0 + i] - mu);
      }
      if (p > 0) {
        WX.noalias() = w.asDiagonal() * Xb;
        XtWX.noalias() += Xb.transpose() * WX;
        rhs.noalias() += Xb.transpose() * wr;
      }
    }
    out.deviance = 2.0 * dev;
    M->Size(static_cast<int>(p), static_cast<int>(p));
    Eigen::Map<TRowMat>(M->Data<double>(), p, p) = XtWX;
    Store(*rhsV, rhs, fpDouble);
    solve(*M, *rhsV, *bV);
    b = Eigen::Map<const Eigen::VectorXd>(bV->Data<double>(), p);
  }
  if (out.passes > 0) {
    out.b = b;
    out.XtWX = *M;
  }
}

// sqrt(diag(W^-1)) in the given precision.
void StdErrFromCrossProduct(const TMtx& W, TVec& BStdErr, TMtxFloatPrecision precision) {
  auto inv = CreateIt<TMtx>();
  Inv(*inv, W);
  BStdErr.Size(W.Rows(), precision);
  for (int j = 0; j < W.Rows(); ++j) BStdErr.SetValue(j, std::sqrt((*inv)(j, j)));
}

struct TBinomialFamily {
  const Eigen::VectorXd& y;
  const Eigen::VectorXd& n;
  Eigen::VectorXd c;  // y ln(y'/n) + (n - y) ln((n - y'')/n): the deviance terms free of mu

  TBinomialFamily(const Eigen::VectorXd& y_, const Eigen::VectorXd& n_) : y(y_), n(n_) {
    c.resize(y.size());
    for (Eigen::Index i = 0; i < y.size(); ++i) {
      // The safe copies keep the logarithms finite at y = 0 and y = n; their terms vanish there.
      const double y1 = y[i] == 0.0 ? 0.5 : y[i];
      const double y2 = y[i] == n[i] ? y[i] - 0.5 : y[i];
      c[i] = y[i] * std::log(y1 / n[i]) + (n[i] - y[i]) * std::log((n[i] - y2) / n[i]);
    }
  }
  void Row(Eigen::Index i, double eta, double& mu, double& w, double& dev) const {
    // One exponential serves the probability and ln(1 + e^eta), without overflow either way.
    const double t = std::exp(-std::fabs(eta));
    const double pi = eta >= 0.0 ? 1.0 / (1.0 + t) : t / (1.0 + t);
    mu = n[i] * pi;
    w = mu * (n[i] - mu) / n[i];
    dev = c[i] - y[i] * eta + n[i] * (std::max(eta, 0.0) + std::log1p(t));
  }
};

struct TPoissonFamily {
  const Eigen::VectorXd& y;
  Eigen::VectorXd c;  // y ln y' - y, y' = y with zeros replaced by 0.5

  explicit TPoissonFamily(const Eigen::VectorXd& y_) : y(y_) {
    c.resize(y.size());
    for (Eigen::Index i = 0; i < y.size(); ++i) {
      c[i] = y[i] * std::log(y[i] == 0.0 ? 0.5 : y[i]) - y[i];
    }
  }
  void Row(Eigen::Index i, double eta, double& mu, double& w, double& dev) const {
    mu = std::exp(eta);
    w = mu;
    dev = c[i] - y[i] * eta + mu;
  }
};

// ---- Ordinal logistic regression --------------------------------------------------------------

// The data of the proportional-odds likelihood. Row i has the boundary column lo[i] of its own
// category (the cut point above it, -1 for the top category) and hi[i] of the category below
// (the cut point below it, -1 for the bottom category); Z holds the predictors scaled to unit
// standard deviation and negated, so that the linear predictors are theta + Z b.
struct TOrdinal {
  std::vector<int> lo, hi;
  std::vector<char> top, bottom;  // the clamps: y = ymax, y <= ymin
  TRowMat Z;
  int K = 0;  // cut points
  // From the last objective evaluation.
  Eigen::VectorXd g1, g2, P;

  double Deviance(const TVec& pars) {
    const auto N = static_cast<Eigen::Index>(lo.size());
    const Eigen::Index p = Z.cols();
    Eigen::VectorXd beta(pars.Length());
    for (int j = 0; j < pars.Length(); ++j) beta[j] = pars.Value(j);
    g1.resize(N);
    g2.resize(N);
    P.resize(N);
    Eigen::VectorXd zb = Eigen::VectorXd::Zero(N);
    if (p > 0 && N > 0) zb.noalias() = Z * beta.tail(p);
    double sum = 0.0;
    for (Eigen::Index i = 0; i < N; ++i) {
      const double e1 = (lo[i] >= 0 ? beta[lo[i]] : 0.0) + zb[i];
      const double e2 = (hi[i] >= 0 ? beta[hi[i]] : 0.0) + zb[i];
      g1[i] = top[i] ? 1.0 : 1.0 / (1.0 + std::exp(-e1));
      g2[i] = bottom[i] ? 0.0 : 1.0 / (1.0 + std::exp(-e2));
      P[i] = g1[i] - g2[i];
      sum += std::log(P[i]);
    }
    return -2.0 * sum;
  }

  // The gradient G and curvature H of the log-likelihood at the point of the last Deviance
  // call: with u1 = g1 (1 - g1) / P, u2 = g2 (1 - g2) / P, row i of the Jacobian J is
  // u1 d1_i - u2 d2_i (d1, d2 the rows of the two linear predictors' designs), G = sum of J's
  // rows and H = sum q1 d1 d1' - J'J - sum q2 d2 d2' with q = (1 - 2g) u.
  void Curvature(TVec& G, TMtx& H) const {
    const auto N = static_cast<Eigen::Index>(lo.size());
    const Eigen::Index p = Z.cols();
    const Eigen::Index m = K + p;
    Eigen::VectorXd g = Eigen::VectorXd::Zero(m);
    Eigen::MatrixXd h = Eigen::MatrixXd::Zero(m, m);
    // The b-block is sum_i v_i Z_i Z_i' and the cross block sum_i Z_i' times a theta
    // combination, so both are gathered as weighted sums first.
    Eigen::VectorXd v(N);
    for (Eigen::Index i = 0; i < N; ++i) {
      const double u1 = g1[i] * (1.0 - g1[i]) / P[i];
      const double u2 = g2[i] * (1.0 - g2[i]) / P[i];
      const double q1 = (1.0 - 2.0 * g1[i]) * u1;
      const double q2 = (1.0 - 2.0 * g2[i]) * u2;
      const double ub = u1 - u2;
      const int c1 = lo[i];
      const int c2 = hi[i];
      // Row of J: theta part u1 e_c1 - u2 e_c2, b part ub Z_i.
      if (c1 >= 0) g[c1] += u1;
      if (c2 >= 0) g[c2] -= u2;
      if (p > 0) g.tail(p) += ub * Z.row(i).transpose();
      if (c1 >= 0) h(c1, c1) += q1 - u1 * u1;
      if (c2 >= 0) h(c2, c2) += -q2 - u2 * u2;
      if (c1 >= 0 && c2 >= 0) {
        h(c1, c2) += u1 * u2;
        h(c2, c1) += u1 * u2;
      }
      if (p > 0) {
        // Cross terms theta_c x b: q1 d1 d1' gives q1 Z_i at c1, -q2 d2 d2' gives -q2 Z_i at
        // c2, and -J'J gives -(u1 at c1, -u2 at c2) ub Z_i.
        if (c1 >= 0) h.row(c1).tail(p) += (q1 - u1 * ub) * Z.row(i);
        if (c2 >= 0) h.row(c2).tail(p) += (-q2 + u2 * ub) * Z.row(i);
      }
      v[i] = q1 - ub * ub - q2;
    }
    if (p > 0 && N > 0) {
      h.bottomRightCorner(p, p).noalias() = Z.transpose() * v.asDiagonal() * Z;
      h.bottomLeftCorner(p, K) = h.topRightCorner(K, p).transpose();
    }
    for (Eigen::Index j = 0; j < m; ++j) {
      G.SetValue(static_cast<int>(j), g[j]);
      for (Eigen::Index k = 0; k < m; ++k) {
        H.SetValue(static_cast<int>(j * m + k), h(j, k));
      }
    }
  }
};

}  // namespace

// ---- Binomial logistic regression ---------------------------------------------------------------

void LogisticRegress(const TVec& y, const TVec& n, TVec& b, const TMtx* A, double Offset,
                     TVec* YCalc, TVec* BStdErr, double Tolerance) {
  if (y.Complex() || n.Complex()) ERaise("LogisticRegress: (y.Complex) or (n.Complex)");
  if (A != nullptr) {
    if (A->Rows() != y.Length()) ERaise("LogisticRegress: A.Rows <> y.Length");
    if (A->FloatPrecision() != y.FloatPrecision()) {
      ERaise("LogisticRegress: A.FloatPrecision <> y.FloatPrecision");
    }
  }
  if (n.Length() != y.Length()) ERaise("LogisticRegress: n.Length <> y.Length");
  const int N = y.Length();
  TRowMat copy;
  if (A == nullptr) copy = TRowMat::Ones(N, 1);
  const TConstRowMap X = A != nullptr ? DesignMap(*A, copy, "LogisticRegress")
                                      : TConstRowMap(copy.data(), N, 1);
  const Eigen::VectorXd yv = Values(y, "LogisticRegress");
  const Eigen::VectorXd nv = Values(n, "LogisticRegress");
  // Start from the empirical logits, less the offset.
  const Eigen::VectorXd z0 =
      (((yv.array() + 0.5) / (nv.array() - yv.array() + 0.5)).log() - Offset).matrix();
  const TBinomialFamily family(yv, nv);
  TIrlsResult fit;
  Irls(X, z0, Offset, 1'000'000.0, Tolerance, 0, family,
       [](const TMtx& M, const TVec& rhs, TVec& x) { LQRSolve(x, M, rhs); }, fit);
  if (fit.passes == 0) return;
  const TMtxFloatPrecision precision = y.FloatPrecision();
  Store(b, fit.b, precision);
  if (YCalc != nullptr) Store(*YCalc, fit.mu, precision);
  if (BStdErr != nullptr) StdErrFromCrossProduct(fit.XtWX, *BStdErr, precision);
}

// ---- Ordinal logistic regression ----------------------------------------------------------------

int LogisticRegress(const TVec& y, const TMtx& A, TVec& b, TVec& Theta, TVec& BStdErr,
                    double& Deviance, TOptStopReason& StopReason, int MaxIter, double Tolerance,
                    bool AutoInit) {
  if (y.Length() != A.Rows()) ERaise("LogisticRegress: y.Length <> A.Rows");
  const int N = y.Length();
  const int p = A.Cols();
  const TMtxFloatPrecision precision = A.FloatPrecision();
  const Eigen::VectorXd yv = Values(y, "LogisticRegress");
  TRowMat copy;
  const TConstRowMap Av = DesignMap(A, copy, "LogisticRegress");

  // Categories: the integers between the rounded extremes of y. The cut point of the row's own
  // category is the column of the categories present in [ymin, ymax - 1], that of the category
  // below it the column of those present in [ymin + 1, ymax]: a category absent from y has no
  // column, as no observation pins its cut point.
  double ymin = INFINITY, ymax = -INFINITY;
  for (int i = 0; i < N; ++i) {
    ymin = std::min(ymin, yv[i]);  // NaN is skipped: the comparison fails
    ymax = std::max(ymax, yv[i]);
  }
  ymin = std::round(ymin);
  ymax = std::round(ymax);
  std::vector<double> loCats, hiCats;
  for (int i = 0; i < N; ++i) {
    if (yv[i] != std::round(yv[i])) continue;
    if (yv[i] >= ymin && yv[i] <= ymax - 1) loCats.push_back(yv[i]);
    if (yv[i] >= ymin + 1 && yv[i] <= ymax) hiCats.push_back(yv[i]);
  }
  for (auto* cats : {&loCats, &hiCats}) {
    std::sort(cats->begin(), cats->end());
    cats->erase(std::unique(cats->begin(), cats->end()), cats->end());
  }
  const int K = static_cast<int>(loCats.size());
  if (static_cast<int>(hiCats.size()) != K) {
    ERaise("LogisticRegress: Min(y) or Max(y) is not an integer category");
  }
  const auto column = [](const std::vector<double>& cats, double v) {
    const auto at = std::lower_bound(cats.begin(), cats.end(), v);
    return at != cats.end() && *at == v ? static_cast<int>(at - cats.begin()) : -1;
  };

  TOrdinal ord;
  ord.K = K;
  ord.lo.resize(static_cast<std::size_t>(N));
  ord.hi.resize(static_cast<std::size_t>(N));
  ord.top.resize(static_cast<std::size_t>(N));
  ord.bottom.resize(static_cast<std::size_t>(N));
  std::vector<double> counts(static_cast<std::size_t>(K), 0.0);
  for (int i = 0; i < N; ++i) {
    const auto u = static_cast<std::size_t>(i);
    ord.lo[u] = column(loCats, yv[i]);
    ord.hi[u] = column(hiCats, yv[i]);
    if (ord.lo[u] >= 0) counts[static_cast<std::size_t>(ord.lo[u])] += 1.0;
    ord.top[u] = yv[i] == ymax ? 1 : 0;
    ord.bottom[u] = yv[i] <= ymin ? 1 : 0;
  }

  // Predictors scaled to unit standard deviation and negated: theta_c - x b = theta_c + z (s b).
  // (Without rows the standard deviations are NaN; the empty design is then not touched.)
  Eigen::VectorXd s = Eigen::VectorXd::Constant(p, kNaN);
  ord.Z.resize(N, p);
  for (int j = 0; j < p && N > 0; ++j) {
    const double mean = Av.col(j).mean();
    s[j] = std::sqrt((Av.col(j).array() - mean).square().sum() / (N - 1));
    ord.Z.col(j) = -Av.col(j) / s[j];
  }
  if (precision == fpSingle) ord.Z = ord.Z.cast<float>().cast<double>();

  std::vector<double> beta(static_cast<std::size_t>(K + p));
  if (AutoInit) {
    Theta.Size(K, precision);
    double cum = 0.0;
    for (int k = 0; k < K; ++k) {
      cum += counts[static_cast<std::size_t>(k)];
      const double F = cum / N;
      Theta.SetValue(k, std::log(F / (1.0 - F)));
    }
    b.Size(p, precision);
    b.SetZero();
  } else {
    if (Theta.Length() != K) {
      ERaise("LogisticRegress: Theta.Length <> number of category boundaries in y");
    }
    if (b.Length() != p) ERaise("LogisticRegress: b.Length <> A.Cols");
  }
  for (int k = 0; k < K; ++k) beta[static_cast<std::size_t>(k)] = Theta.Value(k);
  for (int j = 0; j < p; ++j) {
    beta[static_cast<std::size_t>(K + j)] = AutoInit ? 0.0 : b.Value(j) * s[j];
  }

  const TRealFunction fun = [&ord](const TVec& pars, const TVec*, const TObjConsts&) {
    return ord.Deviance(pars);
  };
  const TCurvatureFunction curv = [&ord](const TRealFunction&, const TVec&, const TVec*,
                                         const TObjConsts&, TVec& G, TMtx& H) {
    ord.Curvature(G, H);
  };
  auto cov = CreateIt<TMtx>();
  const int result = Marquardt(fun, curv, std::span<double>(beta), nullptr, TObjConsts{},
                               Deviance, cov.get(), StopReason, precision, MaxIter, Tolerance,
                               Tolerance, 0.1);

  Theta.Size(K, precision);
  for (int k = 0; k < K; ++k) Theta.SetValue(k, beta[static_cast<std::size_t>(k)]);
  b.Size(p, precision);
  for (int j = 0; j < p; ++j) b.SetValue(j, beta[static_cast<std::size_t>(K + j)] / s[j]);
  // Marquardt's covariance output is the inverse of the log-likelihood's curvature, minus the
  // asymptotic covariance of the estimates.
  BStdErr.Size(K + p, precision);
  for (int j = 0; j < K + p; ++j) {
    const double se = std::sqrt(-(*cov)(j, j));
    BStdErr.SetValue(j, j < K ? se : se / s[j - K]);
  }
  return result;
}

// ---- Poisson regression -------------------------------------------------------------------------

int PoissonRegress(const TVec& Y, const TMtx& A, TVec& b, TVec& BStdErr, double& Deviance,
                   int& dfE, double Offset, TVec* YCalc, double Tolerance, int MinIter) {
  if (Y.Length() != A.Rows()) ERaise("PoissonRegress: Y.Length <> A.Rows");
  const int N = Y.Length();
  const int p = A.Cols();
  TRowMat copy;
  const TConstRowMap X = DesignMap(A, copy, "PoissonRegress");
  const Eigen::VectorXd yv = Values(Y, "PoissonRegress");
  const Eigen::VectorXd z0 = ((yv.array() + 0.5).log() - Offset).matrix();
  const TPoissonFamily family(yv);
  TIrlsResult fit;
  Irls(X, z0, Offset, Y.IsDouble() ? 1e-5 : 1e-3, Tolerance, MinIter, family,
       [](const TMtx& M, const TVec& rhs, TVec& x) { LUSolve(x, M, rhs); }, fit);
  Deviance = fit.deviance;
  dfE = N - p;
  if (fit.passes == 0) return 0;
  const TMtxFloatPrecision precision = Y.FloatPrecision();
  Store(b, fit.b, precision);
  StdErrFromCrossProduct(fit.XtWX, BStdErr, precision);
  if (YCalc != nullptr) Store(*YCalc, fit.mu, precision);
  return fit.passes;
}

}  // namespace lumex
