// Matrix algebra: products against the definition, decompositions rebuilt from their factors,
// solvers against identities they must satisfy, and the argument sweep.
#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "lumex/core/linalg.h"
#include "lumex_test.h"

namespace lumex {
namespace {

using test::Near;
using cdouble = std::complex<double>;

// A reproducible dense matrix with no structure to hide mistakes behind.
TMtx Filled(int rows, int cols, double seed = 0.0) {
  TMtx m(rows, cols);
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < cols; ++j) m(i, j) = std::sin(1.3 * i + 0.7 * j + seed) + 0.1 * (i == j);
  }
  return m;
}

// a * b^T (or a * b) by the textbook triple loop.
TMtx Naive(const TMtx& a, const TMtx& b, bool transB = false) {
  const int inner = a.Cols();
  const int cols = transB ? b.Rows() : b.Cols();
  TMtx c(a.Rows(), cols);
  for (int i = 0; i < a.Rows(); ++i) {
    for (int j = 0; j < cols; ++j) {
      for (int k = 0; k < inner; ++k) c(i, j) += a(i, k) * (transB ? b(j, k) : b(k, j));
    }
  }
  return c;
}

TMtx Transposed(const TMtx& a) {
  TMtx t;
  Transp(t, a);
  return t;
}

TMtx Identity(int n) {
  TMtx e;
  Eye(e, n);
  return e;
}

::testing::AssertionResult MatrixNear(const TMtx& expected, const TMtx& computed,
                                      double tol = 1e-12) {
  if (expected.Rows() != computed.Rows() || expected.Cols() != computed.Cols()) {
    return ::testing::AssertionFailure() << "shape " << computed.Rows() << "x" << computed.Cols()
                                         << ", expected " << expected.Rows() << "x"
                                         << expected.Cols();
  }
  for (int i = 0; i < expected.Length(); ++i) {
    auto r = Near(expected.Value(i), computed.Value(i), tol, tol);
    if (!r) return r << " at element " << i;
  }
  return ::testing::AssertionSuccess();
}

// ---- Products ---------------------------------------------------------------------------------

class LinalgMulOps
    : public ::testing::TestWithParam<std::tuple<TMtxOperation, TMtxOperation>> {};

TEST_P(LinalgMulOps, MatchesTripleLoop) {
  const auto [opA, opB] = GetParam();
  // Shapes chosen so that only the requested operations make the product conformable.
  const TMtx a = opA == opNone ? Filled(3, 4) : Filled(4, 3);
  const TMtx b = opB == opNone ? Filled(4, 2, 1.0) : Filled(2, 4, 1.0);
  TMtx c;
  Mul(c, a, b, opA, opB);
  const TMtx left = opA == opNone ? a : Transposed(a);
  const TMtx right = opB == opNone ? b : Transposed(b);
  EXPECT_TRUE(MatrixNear(Naive(left, right), c));
}

INSTANTIATE_TEST_SUITE_P(, LinalgMulOps,
                         ::testing::Combine(::testing::Values(opNone, opTrans, opHerm),
                                            ::testing::Values(opNone, opTrans, opHerm)));

TEST(LinalgMul, AliasedDestinationGivesTheSameProduct) {
  const TMtx a = Filled(3, 3);
  const TMtx b = Filled(3, 3, 2.0);
  const TMtx expected = Naive(a, b);
  TMtx left = a;
  Mul(left, left, b);
  EXPECT_TRUE(MatrixNear(expected, left));
  TMtx right = b;
  Mul(right, a, right);
  EXPECT_TRUE(MatrixNear(expected, right));
  TMtx both = a;
  Mul(both, both, both, opNone, opTrans);
  EXPECT_TRUE(MatrixNear(Naive(a, a, true), both));
  TVec x{1.0, -2.0, 0.5};
  TensorProd(x, a, x, opTrans);
  const TMtx col = Naive(Transposed(a), TMtx{{1.0}, {-2.0}, {0.5}});
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(col(i, 0), x[i], test::kTolRef));
}

TEST(LinalgMul, StorageKindsCombine) {
  const TMtx a = Filled(2, 3);
  const TMtx b = Filled(3, 2, 1.0);
  const TMtx expected = Naive(a, b);
  TMtx as, bs, c;
  as.Size(2, 3, fpSingle);
  bs.Size(3, 2, fpSingle);
  for (int i = 0; i < 6; ++i) {
    as.SetValue(i, a.Value(i));
    bs.SetValue(i, b.Value(i));
  }
  Mul(c, as, bs);
  EXPECT_EQ(c.FloatPrecision(), fpSingle);
  EXPECT_TRUE(MatrixNear(expected, c, test::kTolSingle * 8));
  Mul(c, a, bs);  // mixed: double like a
  EXPECT_EQ(c.FloatPrecision(), fpDouble);
  EXPECT_TRUE(MatrixNear(expected, c, test::kTolSingle * 8));

  // Z = (1+i, 2; 0, i): Z^H Z is Hermitian, (0,1) = conj(1+i)*2 = 2-2i, (1,1) = 4 + 1.
  TMtx z;
  z.Size(2, 2, fpDouble, true);
  cdouble* p = z.Data<cdouble>();
  p[0] = {1, 1};
  p[1] = {2, 0};
  p[2] = {0, 0};
  p[3] = {0, 1};
  Mul(c, z, z, opHerm);
  ASSERT_TRUE(c.Complex());
  const cdouble* h = c.Data<cdouble>();
  EXPECT_EQ(h[0], cdouble(2, 0));
  EXPECT_EQ(h[1], cdouble(2, -2));
  EXPECT_EQ(h[2], std::conj(h[1]));
  EXPECT_EQ(h[3], cdouble(5, 0));
}

TEST(LinalgMul, InnerDimensionsMustAgree) {
  TMtx c;
  TVec y;
  EXPECT_LUMEX_ERROR(Mul(c, Filled(2, 3), Filled(2, 3)), "Mul: inner dimensions differ");
  EXPECT_LUMEX_ERROR(TensorProd(y, Filled(2, 3), TVec{1.0, 2.0}),
                     "TensorProd: inner dimensions differ");
  // An empty inner dimension is a sum of nothing: zeros.
  Mul(c, TMtx(2, 0), TMtx(0, 3));
  EXPECT_TRUE(MatrixNear(TMtx(2, 3), c));
}

// ---- Solvers and inverse ----------------------------------------------------------------------

TEST(LinalgLUSolve, SolvesVectorAndMatrixRightHandSides) {
  const TMtx a{{2, 1, 1}, {1, 3, 2}, {1, 0, 0}};
  TVec b{7, 13, 1};  // a * (1, 2, 3)
  TVec x;
  LUSolve(x, a, b);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(i + 1.0, x[i], test::kTolSummed, 1e-14));
  LUSolve(b, a, b);  // solution written over the right-hand side
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(Near(i + 1.0, b[i], test::kTolSummed, 1e-14));

  const TMtx rhs = Filled(3, 2);
  TMtx xs;
  LUSolve(xs, a, rhs);
  EXPECT_TRUE(MatrixNear(rhs, Naive(a, xs)));
  // No right-hand sides: an empty solution (Eigen's solve bound a reference to null).
  LUSolve(xs, a, TMtx(3, 0));
  EXPECT_EQ(xs.Rows(), 3);
  EXPECT_EQ(xs.Cols(), 0);
}

TEST(LinalgLUSolve, RejectsUnusableSystems) {
  TVec x;
  EXPECT_LUMEX_ERROR(LUSolve(x, Filled(2, 3), TVec{1, 2}), "LUSolve: matrix is not square");
  EXPECT_LUMEX_ERROR(LUSolve(x, Filled(2, 2), TVec{1, 2, 3}),
                     "LUSolve: right-hand side rows differ from matrix rows");
  EXPECT_LUMEX_ERROR(LUSolve(x, TMtx{{1, 2}, {2, 4}}, TVec{1, 2}), "LUSolve: matrix is singular");
  TMtx xs;
  EXPECT_LUMEX_ERROR(LUSolve(xs, TMtx{{1, 2}, {2, 4}}, TMtx(2, 0)), "LUSolve: matrix is singular");
}

TEST(LinalgInv, InverseTimesMatrixIsIdentity) {
  const TMtx a = Filled(4, 4);
  TMtx inv, prod;
  Inv(inv, a);
  Mul(prod, inv, a);
  EXPECT_TRUE(MatrixNear(Identity(4), prod, test::kTolRef));
  TMtx inPlace = a;
  Inv(inPlace);
  EXPECT_TRUE(MatrixNear(inv, inPlace, 0.0));
  EXPECT_LUMEX_ERROR(Inv(inv, TMtx{{1, 2}, {2, 4}}), "Inv: matrix is singular");
  EXPECT_LUMEX_ERROR(Inv(inv, Filled(2, 3)), "Inv: matrix is not square");
}

struct DetTraceCase {
  TMtx a;
  double det;
  double trace;
};

class LinalgDetTrace : public ::testing::TestWithParam<DetTraceCase> {};

TEST_P(LinalgDetTrace, KnownValues) {
  EXPECT_TRUE(Near(GetParam().det, Determinant(GetParam().a), test::kTolSummed, 1e-14));
  EXPECT_EQ(GetParam().trace, Trace(GetParam().a));
}

INSTANTIATE_TEST_SUITE_P(, LinalgDetTrace,
    ::testing::Values(DetTraceCase{TMtx{{4, 7}, {2, 6}}, 10, 10},
                      DetTraceCase{TMtx{{2, 5, 1}, {0, 3, 7}, {0, 0, -4}}, -24, 1},
                      DetTraceCase{TMtx{{0, 1, 0}, {1, 0, 0}, {0, 0, 1}}, -1, 1},  // odd swap
                      DetTraceCase{TMtx{{1, 2}, {2, 4}}, 0, 5},
                      DetTraceCase{TMtx(0, 0), 1, 0}));

TEST(LinalgCholesky, FactorIsLowerAndRebuildsTheMatrix) {
  const TMtx m = Filled(4, 4);
  TMtx a = Naive(m, m, true);
  for (int i = 0; i < 4; ++i) a(i, i) += 1.0;
  TMtx l = Filled(4, 4, 5.0);  // stale values above the diagonal must be cleared
  ASSERT_TRUE(Cholesky(l, a));
  for (int i = 0; i < 4; ++i) {
    for (int j = i + 1; j < 4; ++j) EXPECT_EQ(l(i, j), 0.0);
  }
  EXPECT_TRUE(MatrixNear(a, Naive(l, l, true)));
  TMtx inPlace = a;
  ASSERT_TRUE(Cholesky(inPlace, inPlace));
  EXPECT_TRUE(MatrixNear(l, inPlace, test::kTolSummed));
}

TEST(LinalgCholesky, ReportsMatricesWithoutFactor) {
  TMtx l;
  EXPECT_FALSE(Cholesky(l, TMtx{{1, 2}, {2, 1}}));              // indefinite
  EXPECT_FALSE(Cholesky(l, TMtx{{1, 1}, {1, 1}}));              // semi-definite
  EXPECT_FALSE(Cholesky(l, TMtx{{NaN, 0}, {0, 1}}));            // LLT alone lets this through
  EXPECT_FALSE(Cholesky(l, TMtx{{4, 0}, {Inf, 1}}));
  EXPECT_LUMEX_ERROR(Cholesky(l, Filled(2, 3)), "Cholesky: matrix is not square");
}

TEST(LinalgLQRSolve, AgreesWithNormalEquations) {
  TMtx x = Filled(8, 3);
  for (int i = 0; i < 8; ++i) x(i, 0) = 1.0;  // intercept
  const TVec y{1.0, 2.5, 2.0, 4.0, 3.5, 6.0, 5.5, 8.0};
  TVec beta, xty, viaNormal;
  LQRSolve(beta, x, y);
  TMtx xtx;
  Mul(xtx, x, x, opTrans);
  TensorProd(xty, x, y, opTrans);
  LUSolve(viaNormal, xtx, xty);
  for (int j = 0; j < 3; ++j) EXPECT_TRUE(Near(viaNormal[j], beta[j], test::kTolIterated));

  // The same fit through the pseudo-inverse.
  TVec viaSvd;
  SVDSolve(viaSvd, x, y);
  for (int j = 0; j < 3; ++j) EXPECT_TRUE(Near(beta[j], viaSvd[j], test::kTolRef));

  TMtx collinear = x;
  for (int i = 0; i < 8; ++i) collinear(i, 2) = 2.0 * collinear(i, 1) - collinear(i, 0);
  EXPECT_LUMEX_ERROR(LQRSolve(beta, collinear, y), "LQRSolve: matrix is rank deficient");
  EXPECT_LUMEX_ERROR(LQRSolve(beta, Filled(2, 3), TVec{1, 2}),
                     "LQRSolve: matrix is rank deficient");
}

// One dominant entry over 51 equal rows: Eigen 3.4.0's divide and conquer read out of bounds
// after deflating it (under AddressSanitizer), and now hands it to the Jacobi method. Below
// eps * 7e307 the other singular values are rounding, so only the largest is checked.
TEST(LinalgSVD, DeflationCornerFallsBackToJacobi) {
  TMtx a(52, 52);
  for (int i = 0; i < a.Length(); ++i) a.SetValue(i, -32.0);
  a(0, 0) = -7.02223880805592e307;
  a(0, 1) = 4.14439654842371e-317;
  TMtx u, v;
  TVec s, s2, x;
  SVD(a, u, s, v, true);
  SVD(a, s2);
  ASSERT_EQ(s.Length(), 52);
  EXPECT_TRUE(Near(7.02223880805592e307, s[0], test::kTolRounding));
  EXPECT_EQ(s[0], s2[0]);
  for (int i = 1; i < 52; ++i) EXPECT_TRUE(std::isfinite(s[i]) && s[i] >= 0 && s[i] <= s[i - 1]);
  TVec b(52);
  b.SetZero();
  SVDSolve(x, a, b, 1e-12);
  for (int i = 0; i < 52; ++i) EXPECT_EQ(0.0, x[i]);
}

TEST(LinalgSVDSolve, MinimumNormSolutionOfRankDeficientSystem) {
  // Every row says x0 + x1 = 2; of all solutions (1, 1) has the least norm.
  const TMtx a{{1, 1}, {1, 1}, {1, 1}};
  TVec x;
  SVDSolve(x, a, TVec{2, 2, 2});
  EXPECT_TRUE(Near(1.0, x[0], test::kTolSummed));
  EXPECT_TRUE(Near(1.0, x[1], test::kTolSummed));
  // A threshold above the ratio of singular values discards the second direction.
  SVDSolve(x, TMtx{{1, 0}, {0, 1e-3}}, TVec{1, 1}, 1e-2);
  EXPECT_TRUE(Near(1.0, x[0], test::kTolRounding));
  EXPECT_EQ(0.0, x[1]);
  EXPECT_LUMEX_ERROR(SVDSolve(x, a, TVec{1, 1, 1}, -1.0), "SVDSolve: threshold is negative or NaN");
}

// ---- Decompositions ---------------------------------------------------------------------------

class LinalgFactorShapes : public ::testing::TestWithParam<std::tuple<int, int, int>> {
protected:
  // rows x cols of the given rank: a product of two Filled factors.
  TMtx Matrix() const {
    const auto [rows, cols, rank] = GetParam();
    return Naive(Filled(rows, rank), Filled(rank, cols, 3.0));
  }
};

TEST_P(LinalgFactorShapes, SVDRebuildsWithDecreasingValues) {
  const TMtx a = Matrix();
  const int k = std::min(a.Rows(), a.Cols());
  for (const bool thin : {true, false}) {
    TMtx u, v;
    TVec s;
    SVD(a, u, s, v, thin);
    ASSERT_EQ(s.Length(), k);
    EXPECT_EQ(u.Cols(), thin ? k : a.Rows());
    EXPECT_EQ(v.Cols(), thin ? k : a.Cols());
    TMtx us(a.Rows(), k);
    for (int i = 0; i < a.Rows(); ++i) {
      for (int j = 0; j < k; ++j) us(i, j) = u(i, j) * s[j];
    }
    TMtx vk(a.Cols(), k);
    for (int i = 0; i < a.Cols(); ++i) {
      for (int j = 0; j < k; ++j) vk(i, j) = v(i, j);
    }
    EXPECT_TRUE(MatrixNear(a, Naive(us, vk, true)));
    EXPECT_TRUE(MatrixNear(Identity(u.Cols()), Naive(Transposed(u), u)));
    EXPECT_TRUE(MatrixNear(Identity(v.Cols()), Naive(Transposed(v), v)));
    for (int j = 1; j < k; ++j) EXPECT_GE(s[j - 1], s[j]);
    EXPECT_GE(s[k - 1], 0.0);
    TVec values;
    SVD(a, values);
    for (int j = 0; j < k; ++j) EXPECT_TRUE(Near(s[j], values[j], test::kTolCertified13, 1e-13));
  }
}

TEST_P(LinalgFactorShapes, ThinQRHasOrthonormalQAndTriangularR) {
  const TMtx a = Matrix();
  TMtx q, r;
  LQR(a, q, r);
  const int k = std::min(a.Rows(), a.Cols());
  ASSERT_EQ(q.Cols(), k);
  ASSERT_EQ(r.Rows(), k);
  EXPECT_TRUE(MatrixNear(Identity(k), Naive(Transposed(q), q)));
  for (int i = 0; i < k; ++i) {
    for (int j = 0; j < i; ++j) EXPECT_EQ(r(i, j), 0.0);
  }
  EXPECT_TRUE(MatrixNear(a, Naive(q, r)));
}

INSTANTIATE_TEST_SUITE_P(, LinalgFactorShapes,
                         ::testing::Values(std::tuple{5, 3, 3}, std::tuple{3, 5, 3},
                                           std::tuple{4, 4, 4}, std::tuple{5, 4, 2},
                                           std::tuple{1, 1, 1}, std::tuple{6, 1, 1},
                                           std::tuple{40, 30, 30}));  // past the Jacobi cut-over

TEST(LinalgEig, SymmetricValuesAscendWithOrthonormalVectors) {
  // Block diag(2, [[3, 4], [4, 9]]): eigenvalues 2 and 6 -+ 5.
  const TMtx a{{2, 0, 0}, {0, 3, 4}, {0, 4, 9}};
  TVec values;
  TMtx vectors;
  EigSym(a, values, &vectors);
  EXPECT_TRUE(Near(1.0, values[0], test::kTolSummed));
  EXPECT_TRUE(Near(2.0, values[1], test::kTolSummed));
  EXPECT_TRUE(Near(11.0, values[2], test::kTolSummed));
  TMtx scaled = vectors;
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) scaled(i, j) *= values[j];
  }
  EXPECT_TRUE(MatrixNear(scaled, Naive(a, vectors)));
  EXPECT_TRUE(MatrixNear(Identity(3), Naive(Transposed(vectors), vectors)));
}

TEST(LinalgEig, GeneralMatrixGivesComplexPairs) {
  struct Case {
    TMtx a;
    cdouble first, second;  // in either order
  };
  for (const Case& c : {Case{TMtx{{0, 1}, {-2, -3}}, {-1, 0}, {-2, 0}},
                        Case{TMtx{{0, -1}, {1, 0}}, {0, 1}, {0, -1}}}) {
    TVec values;
    TMtx vectors;
    Eig(c.a, values, &vectors);
    ASSERT_TRUE(values.Complex() && vectors.Complex());
    const cdouble* l = values.Data<cdouble>();
    const bool inOrder = std::abs(l[0] - c.first) < 1e-12;
    EXPECT_LT(std::abs(l[inOrder ? 0 : 1] - c.first), 1e-12);
    EXPECT_LT(std::abs(l[inOrder ? 1 : 0] - c.second), 1e-12);
    const cdouble* v = vectors.Data<cdouble>();
    for (int j = 0; j < 2; ++j) {  // a * v_j = lambda_j * v_j
      for (int i = 0; i < 2; ++i) {
        const cdouble av = c.a(i, 0) * v[j] + c.a(i, 1) * v[2 + j];
        EXPECT_LT(std::abs(av - l[j] * v[2 * i + j]), 1e-12);
      }
    }
  }
}

// ---- Structured matrices ----------------------------------------------------------------------

TEST(LinalgStructure, ToeplitzAndVanderMonde) {
  TMtx t;
  Toeplitz(t, TVec{1, 2, 3});
  EXPECT_TRUE(MatrixNear(TMtx{{1, 2, 3}, {2, 1, 2}, {3, 2, 1}}, t, 0.0));
  TMtx v;
  VanderMonde(v, TVec{2, -1, 0.5}, 2);
  EXPECT_TRUE(MatrixNear(TMtx{{2, 1}, {-1, 1}, {0.5, 1}}, v, 0.0));
  VanderMonde(v, TVec{2, 3}, 4);
  EXPECT_TRUE(MatrixNear(TMtx{{8, 4, 2, 1}, {27, 9, 3, 1}}, v, 0.0));
  VanderMonde(v, TVec{2, 3}, 0);
  EXPECT_EQ(v.Rows(), 2);
  EXPECT_EQ(v.Cols(), 0);
  EXPECT_LUMEX_ERROR(VanderMonde(v, TVec{1}, -1), "VanderMonde: order < 0");
}

TEST(LinalgStructure, RowsColumnsAndTransposeInPlace) {
  TMtx a{{1, 2, 3}, {4, 5, 6}};
  SetCol(a, TVec{-1, -2}, 0);
  SetRow(a, TVec{7, 8, 9}, 0);
  Transp(a);  // non-square: the shape changes
  EXPECT_TRUE(MatrixNear(TMtx{{7, -2}, {8, 5}, {9, 6}}, a, 0.0));
  TVec v;
  GetRow(v, a, 2);
  EXPECT_TRUE(v.Length() == 2 && v[0] == 9.0 && v[1] == 6.0);
  GetCol(v, a, 1);
  EXPECT_TRUE(v.Length() == 3 && v[2] == 6.0);
  EXPECT_LUMEX_ERROR(GetCol(v, a, 2), "GetCol: column index out of range");
  EXPECT_LUMEX_ERROR(SetCol(a, TVec{1, 2}, 0), "SetCol: vector length differs from matrix rows");
  // Columns of a matrix without rows are empty (found by the fuzz harness under UBSan).
  TMtx empty(0, 3);
  GetCol(v, empty, 2);
  EXPECT_EQ(v.Length(), 0);
  SetCol(empty, TVec(), 2);
  EXPECT_EQ(empty.Cols(), 3);
}

// ---- Storage kinds, degenerate and non-finite input -------------------------------------------

TEST(LinalgPrecision, SingleInputGivesSingleOutput) {
  TMtx a;
  a.Size(2, 2, fpSingle);
  for (int i = 0; i < 4; ++i) a.SetValue(i, i == 0 ? 4 : i == 3 ? 3 : 2);  // {{4, 2}, {2, 3}}
  TMtx inv, l, u, v;
  TVec x, s;
  Inv(inv, a);
  ASSERT_TRUE(Cholesky(l, a));
  LUSolve(x, a, TVec{6, 5});
  SVD(a, u, s, v);
  for (const TDenseLumex* out : std::initializer_list<const TDenseLumex*>{&inv, &l, &x, &s, &u}) {
    EXPECT_EQ(out->FloatPrecision(), fpSingle);
  }
  test::ExpectAllNear({LUMEX_VALUE(0.375, inv.Value(0)),  // 3 / det 8
                       LUMEX_VALUE(2.0, l.Value(0)), LUMEX_VALUE(1.0, x.Value(0)),
                       LUMEX_VALUE(Trace(a), s.Value(0) + s.Value(1))},  // symmetric PD
                      test::kTolSingle);
}

// NaN in every element (both parts of complex ones) of a rows x cols object.
::testing::AssertionResult AllNaN(const TDenseLumex& x, int rows, int cols) {
  if (x.Rows() != rows || x.Cols() != cols) {
    return ::testing::AssertionFailure() << x.Rows() << "x" << x.Cols() << ", expected " << rows
                                         << "x" << cols;
  }
  for (int i = 0; i < x.Length(); ++i) {
    const bool nan = x.Complex() ? std::isnan(x.Data<cdouble>()[i].real()) &&
                                       std::isnan(x.Data<cdouble>()[i].imag())
                                 : std::isnan(x.Value(i));
    if (!nan) return ::testing::AssertionFailure() << "element " << i << " is a number";
  }
  return ::testing::AssertionSuccess();
}

// Every decomposition and solver of data holding a NaN, +Inf or -Inf (in the matrix or in the
// right-hand side): NaN outputs of the proper shape. Pivoting on an infinite element once gave a
// plausible finite inverse, [0, -0, 0, 1] for [[Inf, 1], [1, 1]].
class LinalgNonFinite : public ::testing::TestWithParam<double> {};

TEST_P(LinalgNonFinite, EveryDecompositionAndSolverGivesNaNOfItsShape) {
  const double bad = GetParam();
  const TMtx a{{bad, 1}, {1, 1}};
  const TMtx tall{{1, 2}, {3, bad}, {5, 6}};
  const TMtx ok{{2, 1}, {1, 1}};
  const TVec b{1, 2};
  const TVec badB{bad, 2};
  TMtx m, q, r, u, v;
  TVec x, s;
  using TShape = std::tuple<const TDenseLumex*, int, int>;
  const std::vector<std::pair<std::function<void()>, std::vector<TShape>>> cases = {
      {[&] { Inv(m, a); }, {{&m, 2, 2}}},
      {[&] { Inv(m = a); }, {{&m, 2, 2}}},
      {[&] { LUSolve(x, a, b); }, {{&x, 2, 1}}},
      {[&] { LUSolve(x, ok, badB); }, {{&x, 2, 1}}},
      {[&] { LUSolve(m, a, TMtx(2, 3)); }, {{&m, 2, 3}}},
      {[&] { LQRSolve(x, tall, TVec{1, 2, 3}); }, {{&x, 2, 1}}},
      {[&] { LQRSolve(x, ok, badB); }, {{&x, 2, 1}}},
      {[&] { LQR(tall, q, r); }, {{&q, 3, 2}, {&r, 2, 2}}},
      {[&] { SVD(tall, u, s, v); }, {{&u, 3, 2}, {&s, 2, 1}, {&v, 2, 2}}},
      {[&] { SVD(tall, u, s, v, false); }, {{&u, 3, 3}, {&s, 2, 1}, {&v, 2, 2}}},
      {[&] { SVD(a, s); }, {{&s, 2, 1}}},
      {[&] { SVDSolve(x, tall, TVec{1, 2, 3}); }, {{&x, 2, 1}}},
      {[&] { SVDSolve(x, ok, badB); }, {{&x, 2, 1}}},
      {[&] { Eig(a, s, &m); }, {{&s, 2, 1}, {&m, 2, 2}}},
      {[&] { EigSym(a, s, &m); }, {{&s, 2, 1}, {&m, 2, 2}}},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    cases[i].first();
    for (const auto& [out, rows, cols] : cases[i].second) {
      EXPECT_TRUE(AllNaN(*out, rows, cols)) << "case " << i;
    }
  }
  EXPECT_TRUE(std::isnan(Determinant(a)));
  EXPECT_FALSE(Cholesky(m, a));
}

INSTANTIATE_TEST_SUITE_P(NaNAndInfinities, LinalgNonFinite, ::testing::Values(NaN, Inf, -Inf));

TEST(LinalgDegenerate, ComplexInputToRealRoutinesRaises) {
  TMtx z, out;
  z.Size(2, 2, fpDouble, true);
  z.SetZero();
  TVec vz, vec;
  vz.Size(2, fpDouble, true);
  const TMtx a{{1, 0}, {0, 1}};
  const std::vector<std::pair<std::function<void()>, std::string>> cases = {
      {[&] { Inv(out, z); }, "Inv: complex matrix not supported"},
      {[&] { Cholesky(out, z); }, "Cholesky: complex matrix not supported"},
      {[&] { LUSolve(vec, a, vz); }, "LUSolve: complex vector not supported"},
      {[&] { LQRSolve(vec, z, vec); }, "LQRSolve: complex matrix not supported"},
      {[&] { SVD(z, vec); }, "SVD: complex matrix not supported"},
      {[&] { Eig(z, vec); }, "Eig: complex matrix not supported"},
      {[&] { Determinant(z); }, "Determinant: complex matrix not supported"},
      {[&] { VanderMonde(out, vz, 2); }, "VanderMonde: complex vector not supported"},
      {[&] { SetRow(out = a, vz, 0); }, "SetRow: complex vector into real matrix"},
  };
  for (const auto& [call, message] : cases) EXPECT_LUMEX_ERROR(call(), message);
}

}  // namespace
}  // namespace lumex
