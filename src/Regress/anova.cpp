// One-way and two-way analysis of variance.
//
// Every sum of squares is formed from deviations about accurately computed means rather than as
// a difference of raw sums (sum x^2 - n mean^2) or of other sums of squares, which lose the
// digits of a small within-group spread next to large effects. The decompositions still add up
// (SSTotal = SS1 + SS2, and the two-way terms) to rounding. Means are the core's compensated
// means (core/corrected_mean.h), which give a constant group its value exactly, so a design
// without spread inside its groups has a residual sum of squares of exactly 0 and takes the
// F = +Inf branch.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>
#include <vector>

#include "core/corrected_mean.h"
#include "core/dispatch.h"
#include "lumex/Regress.h"

namespace lumex {

namespace {

using detail::CorrectedMean;

// Sum of (p[i] - c)^2 times `scale`.
double ScaledSquares(const double* p, int n, double c, double scale) {
  double s = 0.0;
  for (int i = 0; i < n; ++i) {
    const double d = p[i] - c;
    s += d * d;
  }
  return s * scale;
}

// F and significance of one effect against the residual. Exact comparisons with 0: an effect
// without any sum of squares is no effect at all (F = 0, significance 1), and an effect
// against an exactly zero residual is certain (F = +Inf, significance 0). The upper tail is
// computed directly, so significances far below the rounding of 1 keep their digits.
void EffectTest(double ss, double deg, double ssErr, double degErr, double& F, double& signif) {
  if (ss == 0.0) {
    F = 0.0;
    signif = 1.0;
  } else if (ssErr == 0.0) {
    F = Inf;
    signif = 0.0;
  } else {
    F = (ss * degErr) / (deg * ssErr);
    signif = FCDFUpper(F, deg, degErr);
  }
}

TANOVA1Result OneWayTable(double ss1, double ss2, double sst, double deg1, double deg2,
                          double Alpha, double& Signif) {
  // SS2 is the part of SSTotal that SS1 leaves: undefined when SS1 is (an empty group, no
  // rows), even though the within-group sum itself was computed directly.
  if (std::isnan(ss1)) ss2 = NaN;
  TANOVA1Result r;
  r.SS1 = ss1;
  r.SS2 = ss2;
  r.SSTotal = sst;
  r.Deg1 = deg1;
  r.Deg2 = deg2;
  r.DegTotal = deg1 + deg2;
  r.MS1 = ss1 / deg1;
  r.MS2 = ss2 / deg2;
  EffectTest(ss1, deg1, ss2, deg2, r.FDist, Signif);
  r.FCrit = FCDFInv(1.0 - Alpha, deg1, deg2);
  return r;
}

// ---- One-way, one group per column -----------------------------------------------------------

// Column means (corrected, in m), and SS2 = sum (x - m_j)^2, SSTotal = sum (x - g)^2 with g
// the mean of the column means.
template <class T>
void ColumnGroups(const T* x, int rows, int cols, double* m, double& g, double& ss2,
                  double& sst) {
  detail::CorrectedColumnMeans(x, static_cast<std::size_t>(rows), static_cast<std::size_t>(cols),
                               m);
  g = CorrectedMean(m, static_cast<std::size_t>(cols));
  ss2 = 0.0;
  sst = 0.0;
  for (int i = 0; i < rows; ++i) {
    const T* row = x + static_cast<std::ptrdiff_t>(i) * cols;
    double w = 0.0, t = 0.0;
    for (int j = 0; j < cols; ++j) {
      const double v = static_cast<double>(row[j]);
      w += (v - m[j]) * (v - m[j]);
      t += (v - g) * (v - g);
    }
    ss2 += w;
    sst += t;
  }
}

// ---- One-way, indexed groups ------------------------------------------------------------------

// Consecutive observations often belong to the same group; spreading the per-group sums over
// a few interleaved copies keeps each update from waiting for the previous one.
constexpr int kLanes = 4;
constexpr int kMaxLaneGroups = 1 << 16;

template <class T>
void IndexedGroups(const T* x, const std::int32_t* idx, int n, int groups,
                   std::vector<double>& count, std::vector<double>& mean, double& g, double& ss2,
                   double& sst) {
  const int lanes = groups <= kMaxLaneGroups ? kLanes : 1;
  const std::size_t G = static_cast<std::size_t>(groups);
  std::vector<detail::TCompensatedSum> acc(G * lanes);
  std::vector<std::int64_t> cnt(G * lanes, 0);

  // Pass 1: counts and compensated sums per group, which give the corrected means of the core.
  int i = 0;
  if (lanes == kLanes) {
    for (; i + kLanes <= n; i += kLanes) {
      for (int l = 0; l < kLanes; ++l) {
        const std::size_t k = static_cast<std::size_t>(idx[i + l]) * kLanes + l;
        acc[k].Add(static_cast<double>(x[i + l]));
        ++cnt[k];
      }
    }
  }
  for (; i < n; ++i) {
    const std::size_t k = static_cast<std::size_t>(idx[i]) * lanes;
    acc[k].Add(static_cast<double>(x[i]));
    ++cnt[k];
  }
  count.assign(G, 0.0);
  mean.assign(G, 0.0);
  for (std::size_t k = 0; k < G; ++k) {
    detail::TCompensatedSum s = acc[k * lanes];
    std::int64_t c = cnt[k * lanes];
    for (int l = 1; l < lanes; ++l) {
      s.Add(acc[k * lanes + l]);
      c += cnt[k * lanes + l];
    }
    count[k] = static_cast<double>(c);
    mean[k] = detail::MeanOfSum(s, static_cast<std::size_t>(c));  // NaN for an empty group
  }
  g = CorrectedMean(x, static_cast<std::size_t>(n));

  // Pass 2: squared deviations about the group means and about the grand mean.
  double w[kLanes] = {0.0, 0.0, 0.0, 0.0};
  double t[kLanes] = {0.0, 0.0, 0.0, 0.0};
  const double* pm = mean.data();
  i = 0;
  for (; i + kLanes <= n; i += kLanes) {
    for (int l = 0; l < kLanes; ++l) {
      const double v = static_cast<double>(x[i + l]);
      const double dw = v - pm[idx[i + l]];
      const double dt = v - g;
      w[l] += dw * dw;
      t[l] += dt * dt;
    }
  }
  for (; i < n; ++i) {
    const double v = static_cast<double>(x[i]);
    const double dw = v - pm[idx[i]];
    const double dt = v - g;
    w[0] += dw * dw;
    t[0] += dt * dt;
  }
  ss2 = (w[0] + w[1]) + (w[2] + w[3]);
  sst = (t[0] + t[1]) + (t[2] + t[3]);
}

// ---- Two-way ----------------------------------------------------------------------------------

struct TTwoWaySums {
  double ssRows, ssCols, ssInter, ssErr, ssTotal;
};

// x: a R rows by b columns, rows in a blocks of R replications. cell: a x b (work, double).
template <class T>
TTwoWaySums TwoWay(const T* x, int a, int b, int R, double* cell, double* rm, double* cm) {
  if (a == 0 || b == 0) return {NaN, NaN, NaN, NaN, NaN};  // no cells: nothing to compare
  const std::ptrdiff_t B = b;
  const auto ua = static_cast<std::size_t>(a);
  const auto ub = static_cast<std::size_t>(b);
  // Cell means over the R replications of each cell (the data themselves when R = 1): the
  // column means of each block of R rows.
  for (int i = 0; i < a; ++i) {
    detail::CorrectedColumnMeans(x + static_cast<std::ptrdiff_t>(i) * R * B,
                                 static_cast<std::size_t>(R), ub, cell + i * B);
  }
  for (int i = 0; i < a; ++i) rm[i] = CorrectedMean(cell + i * B, ub);
  for (int j = 0; j < b; ++j) cm[j] = CorrectedMean(cell + j, ua, B);
  const double g = CorrectedMean(cm, ub);

  TTwoWaySums s;
  s.ssCols = ScaledSquares(cm, b, g, static_cast<double>(a) * R);
  s.ssRows = ScaledSquares(rm, a, g, static_cast<double>(b) * R);
  // Interaction: R times the squared non-additive part of the cell means,
  // cell - row mean - column mean + grand mean.
  double inter = 0.0;
  for (int i = 0; i < a; ++i) {
    double si = 0.0;
    for (int j = 0; j < b; ++j) {
      const double d = cell[i * B + j] - rm[i] - cm[j] + g;
      si += d * d;
    }
    inter += si;
  }
  s.ssInter = inter * R;
  // Total about the grand mean, and the spread of the replications about their cell means.
  double tot = 0.0, err = 0.0;
  const int rows = a * R;
  for (int r = 0; r < rows; ++r) {
    const T* row = x + r * B;
    const double* crow = cell + static_cast<std::ptrdiff_t>(r / R) * B;
    double st = 0.0, se = 0.0;
    for (int j = 0; j < b; ++j) {
      const double v = static_cast<double>(row[j]);
      st += (v - g) * (v - g);
      se += (v - crow[j]) * (v - crow[j]);
    }
    tot += st;
    err += se;
  }
  s.ssTotal = tot;
  // Without replication the interaction is all that is left: it is the residual.
  s.ssErr = R == 1 ? s.ssInter : err;
  return s;
}

}  // namespace

TANOVA1Result ANOVA1(const TMtx& Data, double& Signif, double Alpha) {
  if (Data.Complex()) ERaise("ANOVA1: Data.Complex");
  const int r = Data.Rows();
  const int k = Data.Cols();
  auto means = CreateIt<TVec>();
  means->Size(k);
  double g = 0.0, ss2 = 0.0, sst = 0.0;
  detail::DispatchReal(Data, "ANOVA1", [&](const auto* px) {
    ColumnGroups(px, r, k, means->Data<double>(), g, ss2, sst);
  });
  const double ss1 = ScaledSquares(means->Data<double>(), k, g, r);
  const double deg1 = k - 1.0;
  const double deg2 = static_cast<double>(k) * (r - 1.0);
  return OneWayTable(ss1, ss2, sst, deg1, deg2, Alpha, Signif);
}

TANOVA1Result ANOVA1(const TVec& Data, const TVecInt& GroupIndex, double& Signif,
                     double Alpha) {
  if (Data.Complex()) ERaise("ANOVA1: Data.Complex or GroupIndex.Complex");
  if (Data.Length() != GroupIndex.Length()) ERaise("ANOVA1: Data.Length <> GroupIndex.Length");
  // A TVecInt always holds 32-bit integers, so the group numbers are never of another width.
  const int n = Data.Length();
  if (n == 0) ERaise("ANOVA1: Data.Length = 0");
  const std::int32_t* idx = GroupIndex.Data();
  std::int32_t lo = idx[0], hi = idx[0];
  for (int i = 1; i < n; ++i) {
    lo = std::min(lo, idx[i]);
    hi = std::max(hi, idx[i]);
  }
  if (lo < 0) ERaise("ANOVA1: GroupIndex contains negative values");
  // The groups are 0 .. G, G the largest group number, whether or not each one occurs.
  const int G = hi;
  // With G >= n some group is certainly empty, which leaves SS1 undefined; SS2 and SST only
  // need the groups that occur, so these are numbered densely rather than allocating G + 1
  // groups (up to 2^31 of them).
  const bool someEmpty = G >= n;
  std::vector<std::int32_t> dense;
  int groups = someEmpty ? 0 : G + 1;
  if (someEmpty) {
    std::vector<std::int32_t> labels(idx, idx + n);
    std::sort(labels.begin(), labels.end());
    labels.erase(std::unique(labels.begin(), labels.end()), labels.end());
    dense.resize(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
      dense[i] = static_cast<std::int32_t>(
          std::lower_bound(labels.begin(), labels.end(), idx[i]) - labels.begin());
    }
    idx = dense.data();
    groups = static_cast<int>(labels.size());
  }
  std::vector<double> count, mean;
  double g = 0.0, ss2 = 0.0, sst = 0.0;
  detail::DispatchReal(Data, "ANOVA1", [&](const auto* px) {
    IndexedGroups(px, idx, n, groups, count, mean, g, ss2, sst);
  });
  // A group number without observations has no mean: 0 * NaN makes SS1 undefined.
  double ss1 = someEmpty ? NaN : 0.0;
  for (int k = 0; k < groups; ++k) {
    const double d = mean[k] - g;
    ss1 += count[k] * d * d;
  }
  const double deg1 = G;
  const double deg2 = static_cast<double>(n) - G - 1.0;
  return OneWayTable(ss1, ss2, sst, deg1, deg2, Alpha, Signif);
}

TANOVA2Result ANOVA2(const TMtx& Data, double& SignifRows, double& SignifCols, double& SignifInter,
                     int Replications, double Alpha) {
  SignifInter = 0.0;
  if (Replications != 0 && Data.Rows() % Replications != 0) {
    ERaise("ANOVA2: (Data.Rows mod Replications) <> 0");
  }
  if (Replications <= 0) ERaise("ANOVA2: Replications <= 0");
  if (Data.Complex()) ERaise("ANOVA2: Data.Complex = true");
  const int R = Replications;
  const int a = Data.Rows() / R;
  const int b = Data.Cols();

  auto cell = CreateIt<TMtx>();
  auto rm = CreateIt<TVec>(), cm = CreateIt<TVec>();
  cell->Size(a, b);
  rm->Size(a);
  cm->Size(b);
  TTwoWaySums s{};
  detail::DispatchReal(Data, "ANOVA2", [&](const auto* px) {
    s = TwoWay(px, a, b, R, cell->Data<double>(), rm->Data<double>(), cm->Data<double>());
  });

  const double degRows = a - 1.0;
  const double degCols = b - 1.0;
  const double degInter = R == 1 ? 0.0 : (a - 1.0) * (b - 1.0);
  const double degErr =
      R == 1 ? (a - 1.0) * (b - 1.0) : (R - 1.0) * static_cast<double>(a) * b;

  TANOVA2Result r;
  r.SS1 = s.ssRows;
  r.SS2 = s.ssCols;
  r.SS4 = s.ssErr;
  r.SSTotal = s.ssTotal;
  r.Deg1 = degRows;
  r.Deg2 = degCols;
  r.Deg4 = degErr;
  r.DegTotal = static_cast<double>(Data.Rows()) * Data.Cols() - 1.0;
  r.MS1 = s.ssRows / degRows;
  r.MS2 = s.ssCols / degCols;
  r.MS4 = s.ssErr / degErr;
  EffectTest(s.ssRows, degRows, s.ssErr, degErr, r.FDist1, SignifRows);
  EffectTest(s.ssCols, degCols, s.ssErr, degErr, r.FDist2, SignifCols);
  r.FCrit1 = FCDFInv(1.0 - Alpha, degRows, degErr);
  r.FCrit2 = FCDFInv(1.0 - Alpha, degCols, degErr);
  if (R > 1) {
    r.SS3 = s.ssInter;
    r.Deg3 = degInter;
    r.MS3 = s.ssInter / degInter;
    EffectTest(s.ssInter, degInter, s.ssErr, degErr, r.FDist3, SignifInter);
    r.FCrit3 = FCDFInv(1.0 - Alpha, degInter, degErr);
  } else {
    r.SS3 = r.Deg3 = r.MS3 = r.FDist3 = r.FCrit3 = NaN;
  }
  return r;
}

}  // namespace lumex
