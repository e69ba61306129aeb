// Polynomial roots recovered from polynomials built from chosen roots, the degree rules of the
// coefficient vector, and piecewise-linear interpolation.
#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "lumex/core/polynomial.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using cdouble = std::complex<double>;
using cld = std::complex<long double>;

// Coefficients, highest power first, of the monic polynomial with the given roots (conjugate
// pairs give real coefficients); expanded in long double.
TVec FromRoots(const std::vector<cdouble>& roots) {
  std::vector<cld> c{1.0L};
  for (const cdouble& r : roots) {
    c.push_back(0.0L);
    for (std::size_t i = c.size() - 1; i > 0; --i) c[i] -= cld(r) * c[i - 1];
  }
  TVec v(static_cast<int>(c.size()));
  for (std::size_t i = 0; i < c.size(); ++i) v[static_cast<int>(i)] = double(c[i].real());
  return v;
}

std::vector<cdouble> Roots(const TVec& roots) {
  EXPECT_TRUE(roots.Complex());
  const cdouble* p = roots.Data<cdouble>();
  return std::vector<cdouble>(p, p + roots.Length());
}

// Pairs every expected root with a distinct computed one, nearest first, and checks their
// distance relative to the root (absolute for a root 0).
void ExpectSameRoots(std::vector<cdouble> expected, std::vector<cdouble> computed, double rel) {
  ASSERT_EQ(expected.size(), computed.size());
  for (const cdouble& e : expected) {
    auto nearest = std::min_element(computed.begin(), computed.end(), [&](cdouble a, cdouble b) {
      return std::abs(a - e) < std::abs(b - e);
    });
    EXPECT_LE(std::abs(*nearest - e), rel * (e == 0.0 ? 1.0 : std::abs(e)))
        << "root " << e << ", nearest computed " << *nearest;
    computed.erase(nearest);
  }
}

struct TRootCase {
  std::string name;
  std::vector<cdouble> roots;
  double tolerance;
};

void PrintTo(const TRootCase& c, std::ostream* os) { *os << c.name; }

class PolyRootsFromChosenRoots : public ::testing::TestWithParam<TRootCase> {};

TEST_P(PolyRootsFromChosenRoots, GivesThemBack) {
  const TRootCase& c = GetParam();
  TVec roots;
  PolyRoots(roots, FromRoots(c.roots));
  ExpectSameRoots(c.roots, Roots(roots), c.tolerance);
}

std::vector<TRootCase> RootCases() {
  const cdouble i(0, 1);
  std::vector<TRootCase> cases = {
      {"Cubic", {1, 2, 3}, 1e-13},
      {"ConjugatePair", {-1.5, 0.25 + 2.0 * i, 0.25 - 2.0 * i, 4}, 1e-13},
      {"PurelyImaginary", {3.0 * i, -3.0 * i}, 1e-14},
      // Balancing keeps the small roots' relative accuracy against the large ones: without it
      // the companion matrix loses the 1e-6 root to the rounding of the 1e6 one (about 1e-8).
      {"TwelveDecades", {1e-6, 1e-3, 1, 1e3, 1e6}, 1e-10},
      {"DoubleRoot", {2, 2, -1}, 1e-7},
      {"Wilkinson10", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, 1e-9},
  };
  TRootCase unity{"RootsOfUnity12", {}, 1e-13};
  for (int k = 0; k < 12; ++k) unity.roots.push_back(std::polar(1.0, 2 * PI * k / 12));
  cases.push_back(unity);
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Cases, PolyRootsFromChosenRoots, ::testing::ValuesIn(RootCases()),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST(PolyRoots, LeadingZerosLowerTheDegreeAndTrailingZerosAreExactRoots) {
  TVec roots;
  PolyRoots(roots, TVec{0, 0, 1, -3, 2});
  ExpectSameRoots({1, 2}, Roots(roots), 1e-14);
  PolyRoots(roots, TVec{1, -1, 0, 0});
  const auto r = Roots(roots);
  ASSERT_EQ(r.size(), 3u);
  EXPECT_EQ(std::count(r.begin(), r.end(), cdouble(0, 0)), 2);
  ExpectSameRoots({1, 0, 0}, r, 1e-15);
  PolyRoots(roots, TVec{2, -3});
  ASSERT_EQ(roots.Length(), 1);
  EXPECT_EQ(Roots(roots)[0], cdouble(1.5, 0));
}

TEST(PolyRoots, ConstantsHaveNoRoots) {
  TVec roots;
  for (const TVec& c : {TVec{5}, TVec{0, 0, 0}, TVec{}, TVec{0, 3}}) {
    roots.Size(4);
    PolyRoots(roots, c);
    EXPECT_EQ(roots.Length(), 0) << c.ToString();
    EXPECT_TRUE(roots.Complex());
  }
}

TEST(PolyRoots, NonFiniteCoefficientsGiveNaNRoots) {
  TVec roots;
  PolyRoots(roots, TVec{1, NaN, 2, 1});
  ASSERT_EQ(roots.Length(), 3);
  for (const cdouble& r : Roots(roots)) EXPECT_TRUE(std::isnan(r.real()) && std::isnan(r.imag()));
  PolyRoots(roots, TVec{0, Inf, 1});
  EXPECT_EQ(roots.Length(), 1);
}

TEST(PolyRoots, ComplexCoefficientsRaise) {
  TVec c;
  c.Size(3, fpDouble, true);
  TVec roots;
  EXPECT_LUMEX_ERROR(PolyRoots(roots, c), "PolyRoots: complex coefficients not supported");
}

// ---- Piecewise-linear interpolation -------------------------------------------------------------

TPiecePoly Through(const TVec& x, const TVec& y) {
  TPiecePoly pp;
  Linear1D(x, y, pp);
  return pp;
}

TEST(Linear1D, InterpolatesBetweenAndExtendsBeyondThePoints) {
  const TPiecePoly pp = Through(TVec{0, 1, 3, 4}, TVec{1, 3, -1, -1});
  EXPECT_EQ(pp.Pieces(), 3);
  EXPECT_EQ(pp.Order(), 2);
  const std::vector<std::pair<double, double>> expected = {
      {0, 1},    {1, 3},  {3, -1}, {4, -1},  // the points themselves, exactly
      {0.5, 2},  {2, 1},  {3.5, -1},         // inside the pieces
      {-1, -1},  {6, -1},                    // the end pieces extended
  };
  for (const auto& [x, y] : expected) EXPECT_EQ(pp.Evaluate(x), y) << "x = " << x;
  EXPECT_TRUE(std::isnan(pp.Evaluate(NaN)));
}

TEST(Linear1D, TakesTheDataValuesExactlyAtTheBreaks) {
  // Values whose slopes do not divide evenly: y[j] + s (x[j+1] - x[j]) need not round back to
  // y[j+1], so the nodes are where a careless form would be off by an ulp.
  TVec x(50);
  TVec y(50);
  for (int i = 0; i < 50; ++i) {
    x[i] = std::sqrt(i + 0.3) * 1.7;
    y[i] = std::sin(0.37 * i) / 3.0;
  }
  const TPiecePoly pp = Through(x, y);
  TVec v;
  pp.Evaluate(x, v);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(v[i], y[i]) << i;
}

TEST(Linear1D, RepeatedAbscissaJumpsAndKeepsTheLastValue) {
  const TPiecePoly pp = Through(TVec{0, 1, 1, 1, 2}, TVec{0, 0.5, 0.6, 0.8, 1});
  EXPECT_EQ(pp.Evaluate(1.0), 0.8);
  EXPECT_NEAR(pp.Evaluate(0.5), 0.25, test::kTolRounding);
  EXPECT_NEAR(pp.Evaluate(1.5), 0.9, test::kTolRounding);
  const TPiecePoly tail = Through(TVec{0, 1, 1}, TVec{0, 0.5, 0.9});
  EXPECT_EQ(tail.Evaluate(1.0), 0.9);
  EXPECT_EQ(tail.Evaluate(3.0), 0.9);
  EXPECT_NEAR(tail.Evaluate(0.5), 0.25, test::kTolRounding);
}

TEST(Linear1D, OnePointIsAConstant) {
  const TPiecePoly pp = Through(TVec{2}, TVec{7});
  for (double x : {-5.0, 2.0, 2.5, 100.0}) EXPECT_EQ(pp.Evaluate(x), 7.0);
}

TEST(Linear1D, SortedHintGivesTheSameValuesInAnyOrder) {
  TVec x(40);
  TVec y(40);
  for (int i = 0; i < 40; ++i) {
    x[i] = i * i * 0.1;
    y[i] = std::cos(0.3 * i);
  }
  TPiecePoly pp = Through(x, y);
  TVec ascending(500);
  TVec shuffled(500);
  for (int i = 0; i < 500; ++i) {
    ascending[i] = -10 + i * 0.35;                    // covers both extensions
    shuffled[i] = -10 + ((i * 263) % 500) * 0.35;     // a permutation of the same points
  }
  for (const TVec* points : {&ascending, &shuffled}) {
    TVec plain;
    TVec hinted;
    pp.SetValuesSorted(false);
    pp.Evaluate(*points, plain);
    pp.SetValuesSorted(true);
    pp.Evaluate(*points, hinted);
    for (int i = 0; i < 500; ++i) {
      ASSERT_EQ(hinted[i], plain[i]) << i;
      ASSERT_EQ(plain[i], pp.Evaluate((*points)[i])) << i;
    }
  }
}

TEST(Linear1D, EvaluatesSinglePrecisionAndInPlace) {
  const TPiecePoly pp = Through(TVec{0, 2}, TVec{0, 1});
  TVec xs;
  xs.Size(3, fpSingle);
  for (int i = 0; i < 3; ++i) xs.SetValue(i, i);
  TVec ys;
  pp.Evaluate(xs, ys);
  EXPECT_EQ(ys.FloatPrecision(), fpSingle);
  EXPECT_EQ(ys.ToString(), "[0, 0.5, 1]");
  TVec v{0.5, 1.5};
  pp.Evaluate(v, v);
  EXPECT_EQ(v.ToString(), "[0.25, 0.75]");
}

TEST(Linear1D, BadArgumentsRaiseTheirMessages) {
  TPiecePoly pp;
  TVec c;
  c.Size(2, fpDouble, true);
  EXPECT_LUMEX_ERROR(Linear1D(TVec{1, 2}, TVec{1}, pp), "Linear1D: x and y lengths differ");
  EXPECT_LUMEX_ERROR(Linear1D(TVec{}, TVec{}, pp), "Linear1D: no points");
  EXPECT_LUMEX_ERROR(Linear1D(TVec{1, 0}, TVec{1, 2}, pp), "Linear1D: x is not ascending");
  EXPECT_LUMEX_ERROR(Linear1D(TVec{0, NaN}, TVec{1, 2}, pp), "Linear1D: x or y not finite");
  EXPECT_LUMEX_ERROR(Linear1D(c, c, pp), "Linear1D: complex data not supported");
  TVec out;
  EXPECT_LUMEX_ERROR(pp.Evaluate(TVec{1}, out), "Evaluate: empty polynomial");
  EXPECT_LUMEX_ERROR(pp.Evaluate(1.0), "Evaluate: empty polynomial");
  pp = Through(TVec{0, 1}, TVec{0, 1});
  EXPECT_LUMEX_ERROR(pp.Evaluate(c, out), "Evaluate: complex data not supported");
}

}  // namespace
}  // namespace lumex
