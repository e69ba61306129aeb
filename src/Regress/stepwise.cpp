// Stepwise model selection: forward, backward and exhaustive searches over the subsets of the
// candidate variables of a linear model with a constant term, and the scoring of one subset.
//
// Every subset is the same least-squares problem on some columns of the design
// D = [1 | x_0 .. x_m-1 | y]. With D = Q R (Householder QR, R of order m + 2), the columns of R
// keep all inner products of the columns of D, so the fit of y on the columns S solves
// R_S b = R_y in the least-squares sense, with the same solution, the same (X_S'X_S)^-1 and the
// same residual norm as the n-row problem, in exact arithmetic. D is factorised once; each subset
// then costs a column-pivoted QR of an (m + 2) x (k + 1) matrix instead of one of n x (k + 1).
// The fitted values and the statistics still come from the data (RegressTest on X_S b), so that a
// subset scores exactly as a direct MulLinRegress + RegressTest fit does, to rounding.
//
// A subset that is rank-deficient on the small factor, data that are not all finite or not all
// in double precision go through the direct fit instead, which raises the wrapped
// "MulLinRegress : ..." errors or gives the NaN results of MulLinRegress.
#include <Eigen/Core>
#include <Eigen/QR>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

#include "Regress/linear_models.h"
#include "lumex/Regress.h"
#include "lumex/core/probability.h"

namespace lumex {

namespace {

using detail::UnitScale;
using TColMat = Eigen::MatrixXd;

constexpr int kMaxExhaustive = 15;

// The bit set of m candidates: ceil(m / 32) words, bits at m and above cleared.
int MaskWords(int bits) { return (bits + 31) / 32; }

void SetMaskBitCount(TVecInt& mask, int bits) {
  mask.Resize(MaskWords(bits));
  for (int k = bits; k < 32 * mask.Length(); ++k) mask.SetBits(k, false);
}

// One fitted subset.
struct TSubsetFit {
  TRegStats Stat{};
  TVec b;  // intercept, then one slope per included candidate
  TVec t;  // b / standard errors
};

class TSubsetFitter {
public:
  TSubsetFitter(const TVecList& list, int m) : fList(list), fM(m), fY(list[m]) {
    for (int j = 0; j < m; ++j) {
      if (list[j].Length() != fY.Length()) {
        ERaise("StepwiseRegression: aList[" + std::to_string(j) + "].Length <> y.Length");
      }
    }
    const int n = fY.Length();
    bool useFactor = true;
    for (int j = 0; j <= m; ++j) useFactor = useFactor && list[j].IsDouble() && !list[j].Complex();
    if (!useFactor || n == 0) return;
    fX.resize(n, m);
    for (int j = 0; j < m; ++j) {
      fX.col(j) = Eigen::Map<const Eigen::VectorXd>(list[j].Data<double>(), n);
    }
    TColMat D(n, m + 2);
    D.col(0).setOnes();
    D.middleCols(1, m) = fX;
    D.col(m + 1) = Eigen::Map<const Eigen::VectorXd>(fY.Data<double>(), n);
    if (!D.allFinite()) return;
    const Eigen::HouseholderQR<TColMat> qr(D);
    const auto r = std::min<Eigen::Index>(n, m + 2);
    fR = qr.matrixQR().topRows(r).triangularView<Eigen::Upper>();
    fFactored = true;
  }

  // Fits y on the candidates whose flag is non-zero.
  void Fit(const std::vector<int>& flags, TSubsetFit& fit) {
    std::vector<int> cols;
    for (int j = 0; j < fM; ++j) {
      if (flags[j] != 0) cols.push_back(j);
    }
    if (!fFactored || !FitOnFactor(cols, fit)) FitDirect(cols, fit);
  }

private:
  // The subset fit from the data: MulLinRegress with a constant by Householder QR, then
  // RegressTest for the statistics and the standard errors.
  void FitDirect(const std::vector<int>& cols, TSubsetFit& fit) {
    const int n = fY.Length();
    const auto k = static_cast<int>(cols.size());
    fA.Size(n, k, fList[0].FloatPrecision());
    for (int c = 0; c < k; ++c) {
      const TVec& x = fList[cols[static_cast<std::size_t>(c)]];
      for (int i = 0; i < n; ++i) fA.SetValue(i * k + c, x.Value(i));
    }
    MulLinRegress(fY, fA, fit.b, true, &fYCalc, &fV, regSolveLQR);
    RegressTest(fY, fYCalc, fV, fit.Stat, fResid, fStdErr, true, nullptr);
    fit.t.Size(fit.b.Length(), fit.b);
    for (int j = 0; j < fit.b.Length(); ++j) {
      fit.t.SetValue(j, fit.b.Value(j) / fStdErr.Value(j));
    }
  }

  // The same fit solved on the columns of the triangular factor of the whole design. Returns
  // false, having written nothing, when the subset is rank-deficient there.
  bool FitOnFactor(const std::vector<int>& cols, TSubsetFit& fit) {
    const auto q = static_cast<Eigen::Index>(cols.size()) + 1;
    if (fR.rows() < q) return false;
    TColMat M(fR.rows(), q);
    M.col(0) = fR.col(0);
    for (Eigen::Index c = 1; c < q; ++c) M.col(c) = fR.col(cols[static_cast<std::size_t>(c - 1)] + 1);
    const Eigen::VectorXd D = UnitScale(M);
    M = M * D.asDiagonal();
    const Eigen::ColPivHouseholderQR<TColMat> qr(M);
    if (qr.rank() < q) return false;
    const Eigen::VectorXd b = D.asDiagonal() * qr.solve(Eigen::VectorXd(fR.col(fM + 1)));

    // Fitted values and statistics from the data, as the direct fit computes them.
    const int n = fY.Length();
    fYCalc.Size(n);
    Eigen::Map<Eigen::VectorXd> yc(fYCalc.Data<double>(), n);
    yc.setConstant(b[0]);
    for (Eigen::Index c = 1; c < q; ++c) yc += b[c] * fX.col(cols[static_cast<std::size_t>(c - 1)]);
    RegressTest(fY, fYCalc, static_cast<int>(q), fit.Stat, true, nullptr);

    // diag (X_S'X_S)^-1 = diag (D P R^-1 R^-T P' D): squared row norms of R^-1, permuted.
    const TColMat Rinv = qr.matrixR()
                             .topLeftCorner(q, q)
                             .triangularView<Eigen::Upper>()
                             .solve(TColMat::Identity(q, q));
    const Eigen::VectorXd rowsq = Rinv.rowwise().squaredNorm();
    fit.b.Size(static_cast<int>(q));
    fit.t.Size(static_cast<int>(q));
    for (Eigen::Index j = 0; j < q; ++j) {
      const Eigen::Index jp = qr.colsPermutation().indices()[j];
      const double se = std::sqrt(D[jp] * D[jp] * rowsq[j] * fit.Stat.ResidualVar);
      fit.b[static_cast<int>(jp)] = b[jp];
      fit.t[static_cast<int>(jp)] = b[jp] / se;
    }
    return true;
  }

  const TVecList& fList;
  int fM;
  const TVec& fY;
  bool fFactored = false;
  TColMat fX;  // the candidates, column by column
  TColMat fR;  // triangular factor of [1 | X | y]
  TMtx fA, fV;
  TVec fYCalc, fResid, fStdErr;
};

// The search state shared by every method: the fitter, the scoring and the two tables, kept
// as row-major arrays whose row capacity doubles as forward and backward search need it.
class TStepwiseSearch {
public:
  TStepwiseSearch(const TVecList& list, const TVec& stdDevA, int m,
                  const TStepwiseQualityCriteria& criteria, void* owner)
      : fFitter(list, m), fStd(stdDevA), fM(m), fN(list[m].Length()), fCriteria(criteria),
        fOwner(owner) {}

  void SizeTables(int rows) {
    fCapacity = rows;
    fResults.assign(static_cast<std::size_t>(rows) * ResultCols(), 0.0);
    fDetails.assign(static_cast<std::size_t>(rows) * fM * 6, 0.0);
  }
  int Capacity() const { return fCapacity; }
  void DoubleTables() {
    fCapacity *= 2;
    fResults.resize(static_cast<std::size_t>(fCapacity) * ResultCols(), 0.0);
    fDetails.resize(static_cast<std::size_t>(fCapacity) * fM * 6, 0.0);
  }

  // Fits and scores the subset of the flags, recording nothing.
  double Score(const std::vector<int>& flags) {
    fFitter.Fit(flags, fFit);
    if (!fCriteria) return fFit.Stat.StdError;
    fMask.Size(fM);
    for (int j = 0; j < fM; ++j) fMask[j] = flags[static_cast<std::size_t>(j)];
    return fCriteria(fFit.Stat, fFit.b, fFit.t, fMask, fOwner);
  }

  // Model evaluation: scores the subset and records it as model r.
  double Evaluate(int r, const std::vector<int>& flags) {
    const double q = Score(flags);
    const TRegStats& s = fFit.Stat;
    double* row = &fResults[static_cast<std::size_t>(r) * ResultCols()];
    row[0] = r;
    for (int j = 0; j < fM; ++j) row[1 + j] = flags[static_cast<std::size_t>(j)];
    const double tail[7] = {q, s.SSE, s.SSR, s.SST, s.R2, s.AdjustedR2, s.ResidualVar};
    std::copy(tail, tail + 7, row + fM + 1);

    int k = 0;
    for (int f : flags) k += f != 0 ? 1 : 0;
    const double df = static_cast<double>(fN) - k - 1;
    const double sy = fStd.Value(fM);
    int c = 1;  // b[0] is the intercept, left out of the table
    for (int j = 0; j < fM; ++j) {
      double* d = &fDetails[(static_cast<std::size_t>(r) * fM + j) * 6];
      const bool in = flags[static_cast<std::size_t>(j)] != 0;
      const double b = in ? fFit.b.Value(c) : 0.0;
      const double t = in ? fFit.t.Value(c) : 0.0;
      if (in) ++c;
      d[0] = r;
      d[1] = j;
      d[2] = in ? 1.0 : 0.0;
      d[3] = b * fStd.Value(j) / sy;
      d[4] = t;
      d[5] = 2.0 * StudentCDF(-std::fabs(t), df);
    }
    return q;
  }

  // Writes the first `rows` models into the tables, in stdDevA's precision; `order` (when not
  // empty) gives the model of each row of Results.
  void Store(int rows, TMtx& Results, TMtx& Details, const std::vector<int>& order = {}) const {
    const int rc = ResultCols();
    Results.Size(rows, rc, fStd.FloatPrecision());
    for (int i = 0; i < rows; ++i) {
      const int src = order.empty() ? i : order[static_cast<std::size_t>(i)];
      for (int j = 0; j < rc; ++j) {
        Results.SetValue(i * rc + j, fResults[static_cast<std::size_t>(src) * rc + j]);
      }
    }
    Details.Size(rows * fM, 6, fStd.FloatPrecision());
    for (int i = 0; i < rows * fM * 6; ++i) Details.SetValue(i, fDetails[static_cast<std::size_t>(i)]);
  }

  // Model numbers ordered by ascending quality (a NaN quality last), ties in model order.
  std::vector<int> OrderByQuality(int rows) const {
    std::vector<int> order(static_cast<std::size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    auto quality = [&](int r) {
      return fResults[static_cast<std::size_t>(r) * ResultCols() + fM + 1];
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
      const double qa = quality(a);
      const double qb = quality(b);
      if (std::isnan(qb)) return !std::isnan(qa);
      return qa < qb;
    });
    return order;
  }

private:
  int ResultCols() const { return fM + 8; }

  TSubsetFitter fFitter;
  const TVec& fStd;
  int fM;
  int fN;
  const TStepwiseQualityCriteria& fCriteria;
  void* fOwner;
  TSubsetFit fFit;
  TVecInt fMask;
  int fCapacity = 0;
  std::vector<double> fResults, fDetails;
};

std::vector<int> MaskFlags(const TVecInt& mask, int m) {
  std::vector<int> flags(static_cast<std::size_t>(m));
  for (int j = 0; j < m; ++j) flags[static_cast<std::size_t>(j)] = mask.Bits(j) ? 1 : 0;
  return flags;
}

void Exhaustive(TStepwiseSearch& search, TVecInt& mask, int m, TMtx& Results, TMtx& Details) {
  const int models = 1 << m;
  search.SizeTables(models);
  // The mask counts down from all bits set: model r holds the digits of 2^m - 1 - r.
  std::uint32_t value = static_cast<std::uint32_t>(models) - 1U;
  std::vector<int> flags(static_cast<std::size_t>(m));
  for (int r = 0; r < models; ++r, --value) {
    for (int j = 0; j < m; ++j) flags[static_cast<std::size_t>(j)] = static_cast<int>((value >> j) & 1U);
    search.Evaluate(r, flags);
  }
  for (int j = 0; j < m; ++j) mask.SetBits(j, true);
  search.Store(models, Results, Details, search.OrderByQuality(models));
}

// Forward (adding = true) or backward search from the model in `mask`.
void Greedy(TStepwiseSearch& search, TVecInt& mask, int m, bool adding, int MaxIter,
            TMtx& Results, TMtx& Details) {
  search.SizeTables(100);
  std::vector<int> flags = MaskFlags(mask, m);
  double current = search.Evaluate(0, flags);
  int r = 1;
  std::vector<int> candidates;
  while (r < MaxIter) {
    // A candidate is a variable outside the model (forward) or inside it (backward).
    candidates.clear();
    for (int j = 0; j < m; ++j) {
      if ((flags[static_cast<std::size_t>(j)] != 0) != adding) candidates.push_back(j);
    }
    if (candidates.empty()) break;
    double best = 0.0;
    int winner = -1;
    for (const int j : candidates) {
      flags[static_cast<std::size_t>(j)] = adding ? 1 : 0;
      const double q = search.Score(flags);
      flags[static_cast<std::size_t>(j)] = adding ? 0 : 1;
      if (winner < 0 || q < best) {
        best = q;
        winner = j;
      }
    }
    // Only a strict improvement moves the search: a tie keeps the current model.
    if (!(current > best)) break;
    current = best;
    if (r == search.Capacity()) search.DoubleTables();
    mask.SetBits(winner, adding);
    flags[static_cast<std::size_t>(winner)] = adding ? 1 : 0;
    search.Evaluate(r, flags);
    ++r;
  }
  search.Store(r, Results, Details);
  if (r == MaxIter) ERaise("Maximum allowed iteration count exceeded " + std::to_string(MaxIter));
}

}  // namespace

void StepwiseRegression(const TVecList& aList, const TVec& stdDevA, TStepwiseMethod Method,
                        TVecInt& VariableMask, TMtx& Results, TMtx& Details, int MaxIter,
                        bool InitializeMask, const TStepwiseQualityCriteria& Criteria,
                        void* aOwner) {
  const int m = aList.Count() - 1;
  SetMaskBitCount(VariableMask, std::max(m, 0));
  if (stdDevA.Length() != aList.Count()) {
    ERaise("Need stddev for all independent and the dependent variable: stdDevA.Length <> "
           "aList.Count");
  }
  for (int i = 0; i < aList.Count(); ++i) {
    if (aList[i].FloatPrecision() != stdDevA.FloatPrecision()) {
      ERaise("aList[" + std::to_string(i) + "].FloatPrecision <> stdDevA.FloatPrecision");
    }
  }
  // Without y there is nothing to regress (and no last item to read).
  if (aList.Count() == 0) ERaise("StepwiseRegression: aList.Count = 0");
  detail::CheckEnum("StepwiseRegression", "Method", Method, swStepwise + 1);

  switch (Method) {
    case swExhaustive: {
      for (int j = 0; j < m; ++j) VariableMask.SetBits(j, true);
      if (m > kMaxExhaustive) {
        ERaise("Maximum supported variable count for exhaustive regression search is 15. "
               "Requested was " + std::to_string(m) + ".");
      }
      TStepwiseSearch search(aList, stdDevA, m, Criteria, aOwner);
      Exhaustive(search, VariableMask, m, Results, Details);
      break;
    }
    case swForward:
    case swBackward: {
      const bool adding = Method == swForward;
      if (InitializeMask) {
        for (int j = 0; j < m; ++j) VariableMask.SetBits(j, !adding);
      }
      TStepwiseSearch search(aList, stdDevA, m, Criteria, aOwner);
      Greedy(search, VariableMask, m, adding, MaxIter, Results, Details);
      break;
    }
    case swStepwise: {
      if (InitializeMask) {
        ERaise("Stepwise method requires that VariableMask parameter is initialized by the user!");
      }
      // The size was set above, so this holds; kept as the documented check.
      if (VariableMask.Length() != MaskWords(m)) ERaise("VariableMask.BitCount <> (aList.Count - 1)");
      TStepwiseSearch search(aList, stdDevA, m, Criteria, aOwner);
      search.SizeTables(1);
      search.Evaluate(0, MaskFlags(VariableMask, m));
      search.Store(1, Results, Details);
      break;
    }
    default:
      break;
  }
}

}  // namespace lumex
