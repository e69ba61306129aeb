// Distances, classical scaling, Cronbach's alpha and orthomax rotations against R (dist,
// cmdscale, varimax and the formulas of distances_designs.R), full factorial designs against
// expand.grid, and the stratification and maximin property of Latin hypercube designs.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "lumex/Statistics.h"
#include "lumex/core/linalg.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

constexpr double kTolIter = 1e-10;  // through a decomposition or an iteration

// The reference values by (what, set) as matrices (missing cells NaN).
std::map<std::pair<std::string, int>, TMtx> ReadReference() {
  const test::TRefTable t = test::ReadRefTable("Statistics/distances_designs.txt");
  std::map<std::pair<std::string, int>, std::vector<std::array<double, 3>>> cells;
  for (std::size_t r = 0; r < t.rows.size(); ++r) {
    const auto& row = t.rows[r];
    cells[{t.names[r], static_cast<int>(row[1])}].push_back({row[2], row[3], row[4]});
  }
  std::map<std::pair<std::string, int>, TMtx> ref;
  for (const auto& [key, c] : cells) {
    int rows = 0, cols = 0;
    for (const auto& e : c) {
      rows = std::max(rows, static_cast<int>(e[0]) + 1);
      cols = std::max(cols, static_cast<int>(e[1]) + 1);
    }
    TMtx& m = ref[key];
    m.Size(rows, cols);
    m.SetVal(NaN);
    for (const auto& e : c) m(static_cast<int>(e[0]), static_cast<int>(e[1])) = e[2];
  }
  return ref;
}

const std::map<int, TMtx>& Sets() {
  static const auto sets = test::ReadSampleMatrices("Statistics/distances_designs_data.txt");
  return sets;
}
const std::map<std::pair<std::string, int>, TMtx>& Reference() {
  static const auto ref = ReadReference();
  return ref;
}

// Compares every cell of `expected` with `got` at `rel`, with an absolute floor of rel times
// the largest magnitude of the column; with bySign, each column of `got` may have the opposite
// sign (eigenvectors and rotated factors are defined up to sign).
void ExpectMatrix(const TMtx& expected, const TMtx& got, double rel, bool bySign,
                  const std::string& what) {
  ASSERT_EQ(expected.Rows(), got.Rows()) << what;
  ASSERT_EQ(expected.Cols(), got.Cols()) << what;
  for (int j = 0; j < got.Cols(); ++j) {
    double scale = 0.0, dot = 0.0;
    for (int i = 0; i < got.Rows(); ++i) {
      scale = std::max(scale, std::fabs(expected(i, j)));
      dot += expected(i, j) * got.Value(i * got.Cols() + j);
    }
    const double sign = bySign && dot < 0.0 ? -1.0 : 1.0;
    for (int i = 0; i < got.Rows(); ++i) {
      EXPECT_TRUE(Near(expected(i, j), sign * got.Value(i * got.Cols() + j), rel, rel * scale))
          << what << " (" << i << ", " << j << ")";
    }
  }
}

TMtx Complex(int rows, int cols) {
  TMtx m;
  m.Size(rows, cols, fpDouble, true);
  m.SetZero();
  return m;
}

// ---- Distances ------------------------------------------------------------------------------

TEST(PairwiseDistance, AgreesWithRsDistForEveryMethodAndColumnCount) {
  const std::pair<const char*, TPWDistMethod> methods[] = {
      {"euclidean", pwdistEuclidian}, {"manhattan", pwdistCityBlock}, {"maximum", pwdistChebychev}};
  for (int set = 0; set < 3; ++set) {
    const TMtx& x = Sets().at(set);
    for (const int numCols : {x.Cols() + 3, 2}) {
      for (const auto& [name, method] : methods) {
        const TMtx& ref = Reference().at({name, numCols == 2 ? set + 100 : set});
        TMtx d;
        PairwiseDistance(x, d, numCols, method);
        ASSERT_EQ(d.Rows(), x.Rows());
        ASSERT_EQ(d.Cols(), x.Rows());
        for (int i = 0; i < x.Rows(); ++i) {
          EXPECT_EQ(d(i, i), 0.0);
          for (int j = i + 1; j < x.Rows(); ++j) {
            EXPECT_TRUE(Near(ref(i, j), d(i, j), test::kTolRef))
                << name << " set " << set << " columns " << numCols << " (" << i << ", " << j
                << ")";
            EXPECT_EQ(d(i, j), d(j, i));
          }
        }
      }
    }
  }
  // Rows 3 and 14 of set 1 are equal, at 1e4 from the origin: exactly 0, not a rounding residue.
  TMtx d;
  PairwiseDistance(Sets().at(1), d, 6, pwdistEuclidian);
  EXPECT_EQ(d(3, 14), 0.0);
}

TEST(PairwiseDistance, SmallCasesNonFiniteDataAndMessages) {
  const TMtx x{{0, 0}, {3, 4}};
  struct TCase {
    TPWDistMethod method;
    int numCols;
    double expected;
  };
  for (const TCase& c : {TCase{pwdistEuclidian, 2, 5}, TCase{pwdistCityBlock, 5, 7},
                         TCase{pwdistChebychev, 2, 4}, TCase{pwdistEuclidian, 1, 3},
                         TCase{pwdistCityBlock, 1, 3}, TCase{pwdistChebychev, 0, 0},
                         TCase{pwdistEuclidian, -4, 0}}) {
    TMtx d;
    PairwiseDistance(x, d, c.numCols, c.method);
    EXPECT_EQ(d.ToString(), TMtx({{0, c.expected}, {c.expected, 0}}).ToString())
        << int{c.method} << " " << c.numCols;
  }
  // A NaN row is NaN against every row; an infinite one is infinitely far; the others are
  // untouched. Single precision input gives single precision distances.
  const TMtx y{{0, 0}, {NaN, 1}, {3, 4}, {Inf, 0}};
  for (const TPWDistMethod m : {pwdistEuclidian, pwdistCityBlock, pwdistChebychev}) {
    TMtx d;
    PairwiseDistance(y, d, 2, m);
    for (int j = 0; j < 4; ++j) EXPECT_TRUE(std::isnan(d(1, j)) && std::isnan(d(j, 1)));
    EXPECT_EQ(d(0, 2), m == pwdistEuclidian ? 5.0 : m == pwdistCityBlock ? 7.0 : 4.0);
    EXPECT_EQ(d(0, 3), Inf);
    EXPECT_EQ(d(2, 3), Inf);
  }
  TMtx xs, d;
  PairwiseDistance(TMtx{{1e200, 0}, {-1e200, 1}}, d, 2, pwdistEuclidian);  // overflow: Inf
  EXPECT_EQ(d(0, 1), Inf);
  xs.Size(2, 2, fpSingle);
  xs.SetZero();
  xs.SetValue(2, 3);
  xs.SetValue(3, 4);
  PairwiseDistance(xs, d, 2, pwdistEuclidian);
  EXPECT_EQ(d.FloatPrecision(), fpSingle);
  EXPECT_EQ(d.Value(1), 5.0);
  PairwiseDistance(TMtx(0, 3), d, 3, pwdistEuclidian);
  EXPECT_EQ(d.Rows(), 0);
  PairwiseDistance(TMtx(300, 3), d, 0, pwdistEuclidian);  // no column: all at distance 0
  EXPECT_EQ(Max(d), 0.0);
  PairwiseDistance(TMtx{{1, 2, 3}}, d, 3, pwdistChebychev);  // one row
  EXPECT_EQ(d.ToString(), TMtx{{0}}.ToString());

  EXPECT_LUMEX_ERROR(PairwiseDistance(x, d, 2, pwdistCustom),
                     "PairwiseDistance: pwdistCustom is not supported");
  EXPECT_EQ(d.Rows(), 2);  // sized before the refusal
  EXPECT_LUMEX_ERROR(PairwiseDistance(x, d, 2, static_cast<TPWDistMethod>(4)),
                     "PairwiseDistance: unknown Method");
  EXPECT_LUMEX_ERROR(PairwiseDistance(Complex(2, 2), d, 2, pwdistEuclidian),
                     "PairwiseDistance: complex data not supported");
}

// ---- Scaling and stress ---------------------------------------------------------------------

TEST(MDScaleMetric, AgreesWithRsCmdscale) {
  for (int set = 0; set < 3; ++set) {
    for (const bool manhattan : {false, true}) {
      const int key = manhattan ? set + 100 : set;
      const TMtx& points = Reference().at({"mds_points", key});
      const TMtx& eig = Reference().at({"mds_eig", key});
      TMtx d, y;
      TVec ev;
      PairwiseDistance(Sets().at(set), d, 100, manhattan ? pwdistCityBlock : pwdistEuclidian);
      MDScaleMetric(d, y, ev, points.Cols());
      const std::string what = "set " + std::to_string(key);
      ASSERT_EQ(ev.Length(), points.Cols());
      for (int c = 0; c < ev.Length(); ++c) EXPECT_TRUE(Near(eig(c, 0), ev[c], kTolIter)) << what;
      ExpectMatrix(points, y, kTolIter, true, what);
    }
  }
}

TEST(MDScaleMetric, ClipsNegativeEigenvaluesAndRaisesItsMessagesInOrder) {
  // Three "distances" that break the triangle inequality: B has a negative eigenvalue, which is
  // reported but gives a zero coordinate column instead of NaN.
  const TMtx d{{0, 1, 5}, {1, 0, 1}, {5, 1, 0}};
  TMtx y;
  TVec ev;
  MDScaleMetric(d, y, ev, 3);
  EXPECT_GT(ev[0], ev[1]);
  EXPECT_LT(ev[2], 0.0);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(y(i, 2), 0.0);
    EXPECT_TRUE(std::isfinite(y(i, 0)) && std::isfinite(y(i, 1)));
  }
  MDScaleMetric(TMtx{{0, NaN}, {NaN, 0}}, y, ev, 1);
  EXPECT_TRUE(std::isnan(ev[0]) && std::isnan(y(0, 0)));
  MDScaleMetric(TMtx{{0}}, y, ev, 1);  // one object
  EXPECT_EQ(y.ToString(), TMtx{{0}}.ToString());
  MDScaleMetric(TMtx(0, 0), y, ev, 0);
  EXPECT_EQ(y.Rows(), 0);
  EXPECT_EQ(ev.Length(), 0);

  EXPECT_LUMEX_ERROR(MDScaleMetric(Complex(2, 3), y, ev, 1), "MDScaleMetric: D not quadratic");
  EXPECT_LUMEX_ERROR(MDScaleMetric(Complex(2, 2), y, ev, 3), "MDScaleMetric: D.Complex = true");
  EXPECT_LUMEX_ERROR(MDScaleMetric(d, y, ev, 4), "MDScaleMetric: (NumDim>D.Cols)");
  EXPECT_LUMEX_ERROR(MDScaleMetric(d, y, ev, -1), "MDScaleMetric : NumDim < 0");

  EXPECT_EQ(MDScaleStress(d, d), 0.0);
  EXPECT_EQ(MDScaleStress(d, TMtx(3, 3)), 1.0);
  EXPECT_TRUE(std::isnan(MDScaleStress(TMtx(0, 0), TMtx(0, 0))));
  EXPECT_LUMEX_ERROR(MDScaleStress(d, TMtx(2, 2)), "MDScaleStress: D.Length <> DHat.Length");
}

// ---- Reliability ----------------------------------------------------------------------------

TEST(CronbachAlpha, AgreesWithTheFormulaAndItsLimits) {
  for (int set = 0; set < 3; ++set) {
    EXPECT_TRUE(Near(Reference().at({"alpha", set})(0, 0), CronbachAlpha(Sets().at(set)),
                     test::kTolRef))
        << set;
  }
  // k identical items are perfectly reliable; one item divides by k - 1 = 0.
  EXPECT_TRUE(Near(1.0, CronbachAlpha(TMtx{{1, 1, 1}, {2, 2, 2}, {4, 4, 4}}), test::kTolExact));
  EXPECT_FALSE(std::isfinite(CronbachAlpha(TMtx{{1}, {2}, {4}})));
  EXPECT_TRUE(std::isnan(CronbachAlpha(TMtx{{1, NaN}, {2, 3}, {4, 1}})));
  EXPECT_TRUE(std::isnan(CronbachAlpha(TMtx(0, 3))));
  EXPECT_TRUE(std::isnan(CronbachAlpha(TMtx{{1, 2, 4}})));  // one respondent: 0/0
  EXPECT_LUMEX_ERROR(CronbachAlpha(Complex(3, 2)), "Covariance: X.Complex");
}

// ---- Rotation -------------------------------------------------------------------------------

TEST(OrthogonalRotation, AgreesWithRsVarimaxAndTheOrthomaxFormulas) {
  struct TCase {
    const char* loadings;
    const char* rotation;
    double gamma;  // < 0: m / 2, equamax
    bool normalize;
  };
  const TCase cases[] = {{"varimax_N", "rotmat_N", 1, true},
                         {"varimax_R", "rotmat_R", 1, false},
                         {"quartimax_N", "quartrot_N", 0, true},
                         {"equamax_N", "equarot_N", -1, true}};
  for (const int set : {10, 11}) {
    const TMtx& x = Sets().at(set);
    for (const TCase& c : cases) {
      const auto it = Reference().find({c.loadings, set});
      if (it == Reference().end()) continue;  // equamax needs three factors
      TMtx rotated, rotation;
      // The simultaneous update runs all 1000 iterations as the reference does (a tolerance of
      // -1 is never met); the pairwise sweeps stop on the reference's angle.
      const bool pairwise = c.gamma < 0;
      const bool converged =
          OrthogonalRotation(x, rotated, rotation, pairwise ? x.Cols() / 2.0 : c.gamma,
                             c.normalize, pairwise ? 1e-13 : -1.0, 1000);
      EXPECT_EQ(converged, pairwise);
      const std::string what = std::string(c.loadings) + " set " + std::to_string(set);
      ExpectMatrix(it->second, rotated, kTolIter, true, what);
      ExpectMatrix(Reference().at({c.rotation, set}), rotation, kTolIter, true, what);
    }
  }
}

// Whatever the scheme, weight and normalisation: Rotation is orthogonal, Rotated = X Rotation,
// the communalities are kept, and a loose tolerance is met.
TEST(OrthogonalRotation, RotatesOrthogonallyAndKeepsCommunalities) {
  const TMtx& x = Sets().at(11);
  for (const double gamma : {1.0, 0.0, 0.5, 1.5, -0.5}) {
    for (const bool normalize : {true, false}) {
      TMtx rotated, rotation, product, gram;
      EXPECT_TRUE(OrthogonalRotation(x, rotated, rotation, gamma, normalize, 1e-8, 500))
          << gamma << " " << normalize;
      Mul(gram, rotation, rotation, opTrans, opNone);
      Mul(product, x, rotation);
      ExpectMatrix(TMtx({{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}), gram, 1e-13, false, "R'R");
      ExpectMatrix(product, rotated, 1e-13, false, "X R");
      for (int i = 0; i < x.Rows(); ++i) {
        double before = 0.0, after = 0.0;
        for (int j = 0; j < 3; ++j) before += x(i, j) * x(i, j), after += rotated(i, j) * rotated(i, j);
        EXPECT_TRUE(Near(before, after, 1e-13));
      }
    }
  }
}

TEST(OrthogonalRotation, DegenerateInputs) {
  TMtx rotated, rotation;
  // One factor and the pairwise scheme: no pair, converged at once.
  EXPECT_TRUE(OrthogonalRotation(TMtx{{0.5}, {0.7}}, rotated, rotation, 2.0, true, 1e-6, 10));
  EXPECT_EQ(rotation.ToString(), TMtx{{1}}.ToString());
  // No iteration: X unrotated, the identity, false.
  const TMtx x{{0.8, 0.3}, {0.6, -0.4}, {0.1, 0.9}};
  EXPECT_FALSE(OrthogonalRotation(x, rotated, rotation, 1.0, true, 1e-6, 0));
  EXPECT_EQ(rotation.ToString(), TMtx({{1, 0}, {0, 1}}).ToString());
  ExpectMatrix(x, rotated, test::kTolExact, false, "unrotated");
  // A zero row under Kaiser normalisation: NaN loadings, no fault, not converged.
  for (const double gamma : {1.0, 3.0}) {
    EXPECT_FALSE(OrthogonalRotation(TMtx{{0, 0}, {0.6, -0.4}, {0.1, 0.9}}, rotated, rotation,
                                    gamma, true, 1e-6, 1'000'000'000));
    EXPECT_TRUE(std::isnan(rotated(0, 0)));
  }
  // A NaN weight gives NaN angles: X comes back unrotated.
  EXPECT_FALSE(OrthogonalRotation(x, rotated, rotation, NaN, true, 1e-6, 10));
  EXPECT_EQ(rotation.ToString(), TMtx({{1, 0}, {0, 1}}).ToString());
  EXPECT_TRUE(OrthogonalRotation(TMtx(0, 2), rotated, rotation, 1.0, true, 1e-6, 10));
  EXPECT_EQ(rotation.ToString(), TMtx({{1, 0}, {0, 1}}).ToString());
  EXPECT_LUMEX_ERROR(OrthogonalRotation(Complex(3, 2), rotated, rotation, 1.0, true, 1e-6, 10),
                     "OrthogonalRotation: X.Complex");
}

// ---- Designs --------------------------------------------------------------------------------

TEST(FullFactDesign, ReproducesThePublishedTables) {
  TMtx d;
  for (int n = 1; n <= 5; ++n) {
    FullFactDesign(n, d, fpDouble, nullptr);
    EXPECT_EQ(d.ToString(), Reference().at({"ff2", n}).ToString()) << n;
  }
  const TVec mul{10, 20};
  FullFactDesign(2, d, fpSingle, &mul);
  EXPECT_EQ(d.FloatPrecision(), fpSingle);
  EXPECT_EQ(d.ToString(), TMtx({{0, 0}, {0, 10}, {20, 0}, {20, 10}}).ToString());
  FullFactDesign(0, d, fpDouble, nullptr);
  EXPECT_EQ(d.Rows(), 1);
  EXPECT_EQ(d.Cols(), 0);

  const TVec levels[] = {TVec{2, 3}, TVec{3, 2, 4}, TVec{5}};
  for (int k = 0; k < 3; ++k) {
    FullFactDesign(levels[k], d);
    EXPECT_EQ(d.ToString(), Reference().at({"ffm", k}).ToString()) << k;
  }
  FullFactDesign(TVec{2.4, 1.6}, d);  // levels are rounded
  EXPECT_EQ(d.ToString(), TMtx({{1, 1}, {2, 1}, {1, 2}, {2, 2}}).ToString());
  FullFactDesign(TVec{}, d);
  EXPECT_EQ(d.Rows(), 1);

  EXPECT_LUMEX_ERROR(FullFactDesign(-1, d, fpDouble, nullptr), "FullFactDesign: n < 0");
  EXPECT_LUMEX_ERROR(FullFactDesign(27, d, fpDouble, nullptr), "FullFactDesign: n > 26");
  EXPECT_LUMEX_ERROR(FullFactDesign(2, d, static_cast<TMtxFloatPrecision>(2), nullptr),
                     "FullFactDesign: unknown FloatPrecision");
  EXPECT_LUMEX_ERROR(FullFactDesign(3, d, fpDouble, &mul), "FullFactDesign : MulVec.Length <> n");
  EXPECT_EQ(d.Rows(), 8);  // sized and zeroed before the check
  EXPECT_LUMEX_ERROR(FullFactDesign(TVec{2, 0, NaN}, d), "FullFactDesign: Levels[1] < 1");
  EXPECT_LUMEX_ERROR(FullFactDesign(TVec{2, NaN}, d), "FullFactDesign: Levels[1] < 1");
  EXPECT_LUMEX_ERROR(FullFactDesign(TVec{1e5, 1e5}, d), "FullFactDesign: too many runs");
}

// The stratum of a value v of an n-point design, 1..n.
int Stratum(double v, int n) { return static_cast<int>(std::ceil(v * n)); }

TEST(LatinHyperCubeDesign, HasOnePointPerStratumInEveryColumnForEverySeed) {
  for (int seed = 0; seed < 300; ++seed) {
    const int n = 1 + seed % 23, p = 1 + seed % 4;
    const bool randomize = seed % 2 == 0;
    const TMtxFloatPrecision precision = seed % 3 == 0 ? fpSingle : fpDouble;
    RandSeed(static_cast<std::uint64_t>(seed));
    TMtx d;
    const TLHCImprove improve = seed % 5 == 0 ? lhcImproveMinDist : lhcImproveNone;
    LatinHyperCubeDesign(d, n, p, precision, randomize, improve, 3);
    ASSERT_EQ(d.Rows(), n);
    ASSERT_EQ(d.Cols(), p);
    ASSERT_EQ(d.FloatPrecision(), precision);
    for (int c = 0; c < p; ++c) {
      std::vector<int> seen(n + 1, 0);
      for (int i = 0; i < n; ++i) {
        const double v = d.Value(i * p + c);
        ASSERT_TRUE(v > 0.0 && v <= 1.0) << v;
        ++seen[Stratum(v, n)];
        if (!randomize && precision == fpDouble) EXPECT_EQ(v, (Stratum(v, n) - 0.5) / n);
      }
      EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), n) << "seed " << seed;
    }
  }
}

double MinDistance(const TMtx& design) {
  TMtx d;
  PairwiseDistance(design, d, design.Cols(), pwdistEuclidian);
  double best = Inf;
  for (int i = 0; i < d.Rows(); ++i) {
    for (int j = i + 1; j < d.Cols(); ++j) best = std::min(best, d(i, j));
  }
  return best;
}

// The improved design starts from the same first sample (same seed) and replaces it only by a
// strictly better one.
TEST(LatinHyperCubeDesign, MaximinImprovementNeverLowersTheMinimumDistance) {
  int improved = 0;
  for (int seed = 0; seed < 60; ++seed) {
    TMtx first, best, again;
    RandSeed(static_cast<std::uint64_t>(seed));
    LatinHyperCubeDesign(first, 12, 3, fpDouble, seed % 2 == 0, lhcImproveNone, 30);
    RandSeed(static_cast<std::uint64_t>(seed));
    LatinHyperCubeDesign(best, 12, 3, fpDouble, seed % 2 == 0, lhcImproveMinDist, 30);
    RandSeed(static_cast<std::uint64_t>(seed));
    LatinHyperCubeDesign(again, 12, 3, fpDouble, seed % 2 == 0, lhcImproveMinDist, 1);
    EXPECT_EQ(again.ToString(), first.ToString());
    EXPECT_GE(MinDistance(best), MinDistance(first)) << seed;
    improved += MinDistance(best) > MinDistance(first);
  }
  EXPECT_GT(improved, 30);
}

TEST(LatinHyperCubeDesign, FewerThanTwoPointsAndMessages) {
  TMtx d;
  LatinHyperCubeDesign(d, 1, 3, fpDouble, false, lhcImproveMinDist, 5);
  EXPECT_EQ(d.ToString(), TMtx({{0.5, 0.5, 0.5}}).ToString());
  const std::pair<int, int> shapes[] = {{0, 3}, {-2, 3}, {4, 0}, {4, -1}};
  for (const auto& [n, p] : shapes) {
    LatinHyperCubeDesign(d, n, p, fpDouble, true, lhcImproveMinDist, 5);
    EXPECT_EQ(d.Rows(), std::max(n, 0));
    EXPECT_EQ(d.Cols(), std::max(p, 0));
  }
  EXPECT_LUMEX_ERROR(LatinHyperCubeDesign(d, 2, 2, static_cast<TMtxFloatPrecision>(7), true,
                                          lhcImproveNone, 1),
                     "LatinHyperCubeDesign: unknown FloatPrecision");
  EXPECT_LUMEX_ERROR(LatinHyperCubeDesign(d, 100000, 100000, fpDouble, true, lhcImproveNone, 1),
                     "LatinHyperCubeDesign: NumPoints * NumVars too large");
}

// ---- Row and column removal -----------------------------------------------------------------

TEST(RemoveRowAndColumn, CloseTheGapInEveryStorageKind) {
  const TMtx src{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 10, 11, 12}};
  TMtx d;
  RemoveRow(src, d, 0);
  EXPECT_EQ(d.ToString(), TMtx({{5, 6, 7, 8}, {9, 10, 11, 12}}).ToString());
  RemoveRow(src, d, 2);
  EXPECT_EQ(d.ToString(), TMtx({{1, 2, 3, 4}, {5, 6, 7, 8}}).ToString());
  RemoveColumn(src, d, 1);
  EXPECT_EQ(d.ToString(), TMtx({{1, 3, 4}, {5, 7, 8}, {9, 11, 12}}).ToString());
  RemoveColumn(src, d, 3);
  EXPECT_EQ(d.ToString(), TMtx({{1, 2, 3}, {5, 6, 7}, {9, 10, 11}}).ToString());
  TMtx same(src);  // Dst may be Src
  RemoveRow(same, same, 1);
  RemoveColumn(same, same, 0);
  EXPECT_EQ(same.ToString(), TMtx({{2, 3, 4}, {10, 11, 12}}).ToString());
  TMtx z = Complex(2, 3);
  z.Data<std::complex<double>>()[4] = {1, 2};
  RemoveColumn(z, d, 0);
  ASSERT_TRUE(d.Complex());
  EXPECT_EQ(d.Data<std::complex<double>>()[2], std::complex<double>(1, 2));
  RemoveRow(TMtx{{1, 2}}, d, 0);
  EXPECT_EQ(d.Rows(), 0);
  EXPECT_EQ(d.Cols(), 2);
  RemoveRow(TMtx(2, 0), d, 1);  // rows without columns: nothing to copy, no buffer to copy from
  EXPECT_EQ(d.Rows(), 1);
  EXPECT_EQ(d.Cols(), 0);

  EXPECT_LUMEX_ERROR(RemoveRow(src, d, 3), "RemoveRow: Index>Src.Rows-1");
  EXPECT_LUMEX_ERROR(RemoveRow(src, d, -1), "RemoveRow : Index < 0");
  EXPECT_LUMEX_ERROR(RemoveRow(TMtx(0, 2), d, 0), "RemoveRow: Index>Src.Rows-1");
  EXPECT_LUMEX_ERROR(RemoveColumn(src, d, 4), "RemoveColumn: Index>Src.Cols-1");
  EXPECT_LUMEX_ERROR(RemoveColumn(src, d, -3), "RemoveColumn : Index < 0");
}

}  // namespace
}  // namespace lumex
