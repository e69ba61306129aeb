// Elementwise arithmetic, reductions, ordering and selection.
#include <cmath>
#include <random>

#include "lumex/core/core.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;

TVec Single(const TVec& x) {
  TVec s;
  Convert(s, x, fpSingle);
  return s;
}

#define V LUMEX_VALUE  // a table entry named by its expression

TEST(Reductions, KnownValues) {
  const TVec x{2.0, 4.0, 4.0, 4.0, 5.0, 5.0, 7.0, 9.0};
  EXPECT_TRUE(Near(std::sqrt(32.0 / 7.0), StdDev(x), test::kTolExact));
  EXPECT_TRUE(Near(std::sqrt(40.0 / 7.0), StdDev(x, 4.0), test::kTolExact));
  double hi, lo;
  MaxMin(x, hi, lo);
  int at1, at2;
  test::ExpectAllEqual({V(40.0, Sum(x)), V(5.0, Mean(x)), V(232.0, SumOfSquares(x)),
                        V(4.5, Median(x)), V(2.0, Median(TVec{3.0, 1.0, 2.0})),
                        V(3.0, NormL1(TVec{-1.0, 2.0})), V(5.0, NormL2(TVec{3.0, -4.0})),
                        V(4.0, NormC(TVec{3.0, -4.0})),
                        V(5.0, NormL2(TVec{1.0, 1.0}, TVec{4.0, 5.0})), 
                        V(32.0, DotProd(TVec{1.0, 2.0, 3.0}, TVec{4.0, 5.0, 6.0})),
                        V(-9.0, Product(TVec{1.5, 2.0, -3.0})), V(12.0, Sum(x, 1, 3)), V(9.0, hi),
                        V(2.0, lo), V(9.0, Max(TVec{1.0, 9.0, 9.0}, at1)),
                        V(1.0, Min(TVec{3.0, 1.0, 1.0}, at2)), V(1, at1), V(1, at2)});
}

TEST(Reductions, SinglePrecisionComputesInDouble) {
  const TVec x{0.1, 0.2, 0.3, 0.4};
  const TVec s = Single(x);
  const double expected = (double(0.1F) + double(0.2F) + double(0.3F) + double(0.4F)) / 4.0;
  EXPECT_TRUE(Near(expected, Mean(s), test::kTolExact));
  EXPECT_EQ(Median(s), (double(0.2F) + double(0.3F)) / 2.0);
}

TEST(Reductions, DegenerateInputsFollowIeee) {
  const TVec empty;
  double hi, lo;
  MaxMin(TVec{1.0, NaN}, hi, lo);
  test::ExpectAllEqual({V(0.0, Sum(empty)), V(NaN, Mean(empty)), V(NaN, StdDev(empty)),
                        V(NaN, StdDev(TVec{1.0})), V(NaN, StdDev(empty, 0.0)),
                        V(NaN, StdDev(TVec{1.0}, 0.0)), V(NaN, Median(empty)), V(NaN, Max(empty)),
                        V(NaN, Median(TVec{1.0, NaN, 3.0})), V(NaN, Max(TVec{1.0, NaN, 3.0})),
                        V(NaN, Min(TVec{NaN})), V(NaN, hi), V(NaN, lo)});
}

TEST(Reductions, LongSumsKeepTheirDigits) {
  // 10^6 copies of 0.1: naive left-to-right summation drifts by about 1e-10 relative.
  TVec x(1000000);
  x.SetVal(0.1);
  EXPECT_TRUE(Near(1e5, Sum(x), test::kTolSummed));
}

TEST(Reductions, ComplexDataRaises) {
  TVec z;
  z.Size(2, fpDouble, true);
  EXPECT_LUMEX_ERROR(Mean(z), "Mean: complex data not supported");
  EXPECT_LUMEX_ERROR(StdDev(z, 0.0), "StdDev: complex data not supported");
  z.SetVal(1.5);
  EXPECT_EQ(CSum(z), std::complex<double>(3.0, 0.0));
}

// NIST StRD univariate sets. The certified values describe the decimal data; NumAcc3 and
// NumAcc4 differ in their ninth digit, which doubles cannot store exactly, so their stored
// values have a standard deviation about 1e-9 (relative) away from the certified 0.1. The
// committed exact statistics of the stored doubles show that nothing is lost beyond that.
class NistUnivariateSets : public ::testing::TestWithParam<const char*> {};

TEST_P(NistUnivariateSets, MeanAndStdDevToThirteenDigits) {
  LUMEX_REQUIRE_NIST();
  const test::TNistUnivariate set = test::ReadNistUnivariate(GetParam());
  ASSERT_FALSE(set.y.empty());
  const test::TRefTable exact = test::ReadRefTable("core/nist_univariate_exact.txt");
  const TVec y(set.y);
  const double mean = Mean(y);
  const double sd = StdDev(y);
  EXPECT_TRUE(Near(set.mean, mean, test::kTolCertified13));
  EXPECT_TRUE(Near(sd, StdDev(y, mean), test::kTolCertified13));
  bool found = false;
  for (std::size_t i = 0; i < exact.rows.size(); ++i) {
    if (exact.names[i] != GetParam()) continue;
    found = true;
    const double storedSd = exact.rows[i][exact.Col("sd")];
    EXPECT_TRUE(Near(storedSd, sd, test::kTolCertified13));
    const double representation = std::fabs(storedSd - set.sd) / set.sd;
    EXPECT_TRUE(Near(set.sd, sd, std::max(test::kTolCertified13, 1.01 * representation)));
  }
  EXPECT_TRUE(found);
}

INSTANTIATE_TEST_SUITE_P(StRD, NistUnivariateSets,
                         ::testing::Values("NumAcc1", "NumAcc2", "NumAcc3", "NumAcc4", "Michelso",
                                           "Lew", "Lottery", "Mavro", "PiDigits"));

TEST(Elementwise, ArithmeticWithScalarsAndObjects) {
  TVec x{1.0, 2.0, 4.0};
  Add(x, 1.0);
  Mul(x, 2.0);
  Sub(x, 1.0);
  Divide(x, 3.0);
  EXPECT_EQ(x.ToString(), "[1, 1.66666666666667, 3]");
  TVec a{1.0, 2.0}, b{3.0, 5.0}, c;
  Add(c, a, b);
  EXPECT_EQ(c.ToString(), "[4, 7]");
  Sub(c, a, b);
  EXPECT_EQ(c.ToString(), "[-2, -3]");
  Mul(c, a, b);
  EXPECT_EQ(c.ToString(), "[3, 10]");
  Divide(b, a, b);  // destination aliases the second operand
  EXPECT_EQ(b.ToString(), "[0.333333333333333, 0.4]");
  AddScaled(a, TVec{1.0, 1.0}, 0.5);
  EXPECT_EQ(a.ToString(), "[1.5, 2.5]");
}

TEST(Elementwise, MismatchedObjectsRaise) {
  TVec a{1.0, 2.0}, c;
  EXPECT_LUMEX_ERROR(Add(c, a, TVec{1.0}), "Add: lengths differ");
  EXPECT_LUMEX_ERROR(Sub(a, Single(a)), "Sub: storage kinds differ");
  EXPECT_LUMEX_ERROR(Copy(c, a, 1, 0, 2), "Copy: index range out of bounds");
}

TEST(Elementwise, ComplexArithmetic) {
  TVec z;
  z.Size(2, fpDouble, true);
  z.Data<std::complex<double>>()[0] = {1.0, 2.0};
  z.Data<std::complex<double>>()[1] = {0.0, -1.0};
  TVec w = z;
  MulElem(w, z);
  EXPECT_EQ(w.Data<std::complex<double>>()[0], std::complex<double>(-3.0, 4.0));
  Mul(w, 0.5);
  EXPECT_EQ(w.Data<std::complex<double>>()[1], std::complex<double>(-0.5, 0.0));
  EXPECT_LUMEX_ERROR(Sqrt(w), "Sqrt: complex data not supported");
}

TEST(Elementwise, DocumentedMeanings) {
  TVec x{1.0, 2.0, 4.0};
  Normalize(x, 1.0, 2.0);
  EXPECT_EQ(x.ToString(), "[0, 0.5, 1.5]");
  Sign(x);
  EXPECT_EQ(x.ToString(), "[-0, -0.5, -1.5]");
  TVec r{2.0, 4.0};
  Inv(r);
  EXPECT_EQ(r.ToString(), "[0.5, 0.25]");
  Ramp(r, 1.0, 3.0);
  EXPECT_EQ(r.ToString(), "[1, 4]");
  TVec d;
  Difference(d, TVec{1.0, 4.0, 9.0, 16.0}, 2);
  EXPECT_EQ(d.ToString(), "[8, 12]");
  Difference(d, TVec{1.0}, 1);
  EXPECT_EQ(d.Length(), 0);
  TVec rot{1.0, 2.0, 3.0};
  Rotate(rot, 1);
  EXPECT_EQ(rot.ToString(), "[3, 1, 2]");
  CumSum(d, TVec{1.0, 2.0, 3.0});
  EXPECT_EQ(d.ToString(), "[1, 3, 6]");
  TVec p{2.0, -3.0};
  IntPower(p, 3);
  EXPECT_EQ(p.ToString(), "[8, -27]");
  TVec cut{-1.0, 0.5, 3.0};
  ThreshBottom(cut, 0.0);
  ThreshTop(cut, 1.0);
  EXPECT_EQ(cut.ToString(), "[0, 0.5, 1]");
  TVec rep{1.0, Inf, 2.0};
  Replace(rep, Inf, 0.0, 1e-4);
  EXPECT_EQ(rep.ToString(), "[1, 0, 2]");
}

TEST(Ordering, SortPutsNanLastAndReturnsThePermutation) {
  TVec x{3.0, NaN, 1.0, 2.0, 1.0};
  TVecInt perm;
  SortAscend(x, perm);
  EXPECT_EQ(x.ToString(), "[1, 1, 2, 3, NAN]");
  EXPECT_EQ(perm.ToString(), "[2, 4, 3, 0, 1]");
  TVec y{3.0, NaN, 1.0, 2.0};
  SortDescend(y);
  EXPECT_EQ(y.ToString(), "[3, 2, 1, NAN]");
  TVec s = Single(TVec{2.0, -1.0});
  SortAscend(s);
  EXPECT_EQ(s.Value(0), -1.0);
}

TEST(Ordering, MatrixRowsByColumn) {
  TMtx m{{3, 30}, {1, 10}, {2, 20}};
  SortAscend(m, 0);
  EXPECT_EQ(m(0, 1), 10.0);
  EXPECT_EQ(m(2, 1), 30.0);
  EXPECT_LUMEX_ERROR(SortAscend(m, 2), "SortAscend: column index out of range");
}

// Beyond a few thousand values the sort is a radix sort of the bit patterns: it must order
// every kind of double and float as std::sort does (-0 before +0, which compare equal), in both
// directions and with the permutation.
TEST(Ordering, SortAgreesWithStdSortOnRandomData) {
  std::mt19937_64 gen(7);
  std::normal_distribution<double> normal;
  std::vector<double> values(10007);
  for (auto& v : values) v = normal(gen);
  const double specials[] = {0.0, -0.0, Inf, -Inf, 5e-324, -5e-324, 1e308, -1e-308, 1.0, 1.0};
  for (std::size_t i = 0; i < std::size(specials); ++i) values[37 * i] = specials[i];
  for (std::size_t i = 1000; i < 3000; ++i) values[i] = std::ldexp(values[i], -1000);
  for (std::size_t i = 3000; i < 4000; ++i) values[i] = std::round(values[i]);
  std::vector<double> sorted = values;
  std::sort(sorted.begin(), sorted.end());
  for (const bool single : {false, true}) {
    TVec x(values), down(values), byPerm(values);
    if (single) {
      x = Single(x);
      down = Single(down);
    }
    SortAscend(x);
    SortDescend(down);
    TVecInt perm;
    SortAscend(byPerm, perm);
    const int n = x.Length();
    for (int i = 0; i < n; ++i) {
      const double v = sorted[static_cast<std::size_t>(i)];
      const double expected = single ? static_cast<double>(static_cast<float>(v)) : v;
      ASSERT_EQ(expected, x.Value(i)) << i;
      ASSERT_EQ(expected, down.Value(n - 1 - i)) << i;
      ASSERT_EQ(v, byPerm[i]) << i;
      if (i > 0 && x.Value(i) == 0.0 && x.Value(i - 1) == 0.0) {
        ASSERT_FALSE(std::signbit(x.Value(i)) && !std::signbit(x.Value(i - 1))) << i;
      }
    }
  }
}

TEST(Selection, FindFamily) {
  const TVec x{1.0, NaN, 3.0, 0.0, 3.0};
  EXPECT_EQ(Find(x, 3.0), 2);
  EXPECT_EQ(Find(x, NaN), 1);
  EXPECT_EQ(Find(x, 7.0), -1);
  TVecInt idx;
  FindIndexes(idx, x, ">", 0.5);
  EXPECT_EQ(idx.ToString(), "[0, 2, 4]");
  FindIndexes(idx, x, "<>", 3.0);
  EXPECT_EQ(idx.ToString(), "[0, 1, 3]");
  FindMask(idx, x, "<=", 1.0);
  EXPECT_EQ(idx.ToString(), "[1, 0, 0, 1, 0]");
  TVec g;
  FindAndGather(g, x, ">=", 1.0);
  EXPECT_EQ(g.ToString(), "[1, 3, 3]");
  FindAndGather(g, x, "=", 0.0);
  EXPECT_EQ(g.ToString(), "[0]");
  EXPECT_LUMEX_ERROR(FindIndexes(idx, x, "=>", 0.0), "Find: unknown comparison \"=>\"");
  EXPECT_LUMEX_ERROR(GatherByIndex(g, x, TVecInt{5}), "GatherByIndex: index out of range");
}

TEST(Copying, ConversionsAndRanges) {
  TVec a{1.0, 2.0, 3.0, 4.0};
  TVec b(4);
  Copy(b, a, 1, 2, 2);
  EXPECT_EQ(b.ToString(), "[0, 0, 2, 3]");
  TVecInt k;
  CopyTo(k, TVec{1.5, 2.5, -0.4});
  EXPECT_EQ(k.ToString(), "[2, 2, 0]");
  EXPECT_LUMEX_ERROR(CopyTo(k, TVec{NaN}), "CopyTo: value outside the 32-bit integer range");
  TVec c;
  Concat(c, a, TVec{9.0});
  EXPECT_EQ(c.ToString(), "[1, 2, 3, 4, 9]");
  Concat(c, c, c);
  EXPECT_EQ(c.Length(), 10);
  EXPECT_EQ(PrecisionEPS(Single(a)), EPS_SINGLE);
  EXPECT_EQ(PrecisionEPS(a), EPS_DOUBLE);
}

#undef V

}  // namespace
}  // namespace lumex
