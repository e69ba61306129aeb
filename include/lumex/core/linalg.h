// Matrix algebra of the core layer: products, transposes and structured matrices, the
// decompositions (LU, Cholesky, QR, SVD, eigen) and the solvers built on them.
//
// Conventions:
// - Free functions; the destination comes first (the decompositions LQR and SVD take their input
//   first) and every output is sized by the callee.
// - Products, transposes, diagonals, rows, columns and Toeplitz matrices work on all four storage
//   kinds. Decompositions, solvers, Determinant, Trace and VanderMonde take real data of either
//   precision, compute in double and write their outputs in the precision of the (first) matrix;
//   complex data raise "<Function>: complex matrix not supported" (or "complex vector").
// - Argument errors raise ELumexError with "<Function>: <condition>"; the shape checks come
//   first. A non-finite input is not an error: when any element of a matrix or right-hand side
//   is NaN, +Inf or -Inf, Inv, Determinant, LUSolve, LQRSolve, LQR, SVD, SVDSolve, Eig and EigSym
//   write NaN in every element of outputs of the proper shape (Determinant returns NaN, Cholesky
//   returns false), without the singularity or rank checks: pivoting on an infinite element
//   would otherwise give plausible finite numbers. Products, transposes and Trace follow IEEE
//   arithmetic (Inf * 0 is NaN).
// - An output may be the same object as an input; the result is then as if it were distinct.
#pragma once

#include <cstdint>

#include "lumex/core/containers.h"

namespace lumex {

// How a matrix operand enters a product: as it is, transposed, or conjugate transposed
// (the same as transposed for real data).
enum TMtxOperation : std::uint8_t { opNone, opTrans, opHerm };

// ---- Products ---------------------------------------------------------------------------------

// dst := op(a) * op(b). Raises "Mul: inner dimensions differ" when the columns of op(a) differ
// from the rows of op(b), and "Mul: unknown opA" ("opB") for a value outside TMtxOperation. Two single-precision operands multiply in single precision; operands of
// different storage kinds multiply in double (complex if either is) and dst takes the precision
// of a, complex when either operand is.
LUMEX_API void Mul(TMtx& dst, const TMtx& a, const TMtx& b, TMtxOperation opA = opNone,
                   TMtxOperation opB = opNone);

// dst := op(a) * x, the matrix-vector product; storage kinds combine as in Mul. Raises
// "TensorProd: inner dimensions differ" and "TensorProd: unknown opA".
LUMEX_API void TensorProd(TVec& dst, const TMtx& a, const TVec& x, TMtxOperation opA = opNone);

// ---- Shape and structure ----------------------------------------------------------------------

// dst := a^T (no conjugation of complex values); the one-argument form transposes in place.
LUMEX_API void Transp(TMtx& dst, const TMtx& a);
LUMEX_API void Transp(TMtx& a);
// The n x n identity, real double. Raises "Eye: n < 0" and "Eye: n too large" (n^2 past
// AllocationLimit of types.h or 2^31 - 1, before anything is allocated).
LUMEX_API void Eye(TMtx& a, int n);
// The square diagonal matrix with d on its main diagonal.
LUMEX_API void Diag(TMtx& dst, const TVec& d);
// The main diagonal of a, min(Rows, Cols) values.
LUMEX_API void Diag(TVec& dst, const TMtx& a);
// Column `col` / row `row` of a, copied out of or into the matrix. SetCol and SetRow convert the
// vector to the matrix's precision; the vector's length must equal the matrix's rows (SetCol) or
// columns (SetRow).
LUMEX_API void GetCol(TVec& dst, const TMtx& a, int col);
LUMEX_API void SetCol(TMtx& a, const TVec& v, int col);
LUMEX_API void GetRow(TVec& dst, const TMtx& a, int row);
LUMEX_API void SetRow(TMtx& a, const TVec& v, int row);
// The symmetric Toeplitz matrix of c: n x n with dst(i, j) = c[|i - j|].
LUMEX_API void Toeplitz(TMtx& dst, const TVec& c);
// The Vandermonde matrix of x: x.Length rows and `order` columns, column j holding
// x^(order - 1 - j), so the last column is all ones and order 2 gives the columns x and 1
// (the design matrix of a straight-line fit). Raises "VanderMonde: order < 0" and
// "VanderMonde: order too large" (x.Length * order past AllocationLimit or 2^31 - 1).
LUMEX_API void VanderMonde(TMtx& dst, const TVec& x, int order);

// ---- Inverse, determinant, trace --------------------------------------------------------------

// The matrix inverse, by LU decomposition with partial pivoting. Raises "Inv: matrix is not
// square", and "Inv: matrix is singular" when a pivot is exactly zero; a nearly singular matrix
// gives a large, inaccurate inverse without warning (SVD shows the condition).
LUMEX_API void Inv(TMtx& a);
LUMEX_API void Inv(TMtx& dst, const TMtx& a);
// The determinant (by LU; 1 for a 0 x 0 matrix) and the trace (0 for 0 x 0) of a square matrix.
LUMEX_API double Determinant(const TMtx& a);
LUMEX_API double Trace(const TMtx& a);

// ---- Decompositions and solvers ---------------------------------------------------------------

// The Cholesky factor: lower-triangular dst (zeros above the diagonal) with a = dst * dst^T.
// Only the lower triangle of a enters the factorisation: a is taken to be symmetric. Returns
// false, with dst all NaN of a's shape, when a is not positive definite or holds a NaN or
// infinite element.
LUMEX_API bool Cholesky(TMtx& dst, const TMtx& a);

// Solves a * x = b by LU decomposition with partial pivoting; b a vector or a matrix of
// right-hand sides (one per column). Raises "LUSolve: matrix is not square", "LUSolve:
// right-hand side rows differ from matrix rows" and "LUSolve: matrix is singular" (a pivot
// exactly zero).
LUMEX_API void LUSolve(TVec& x, const TMtx& a, const TVec& b);
LUMEX_API void LUSolve(TMtx& x, const TMtx& a, const TMtx& b);

// The least-squares solution of a * x = b (a with at least as many rows as columns) by QR with
// column pivoting. Raises "LQRSolve: matrix is rank deficient" when the columns of a are
// linearly dependent to within the QR's default rank threshold (use SVDSolve for the
// minimum-norm solution of such a system).
LUMEX_API void LQRSolve(TVec& x, const TMtx& a, const TVec& b);
// The thin QR decomposition a = q * r by Householder reflections, without pivoting: with
// k = min(Rows, Cols), q is Rows x k with orthonormal columns and r is k x Cols, upper
// triangular. The signs of r's diagonal are those the reflections give (not made positive).
LUMEX_API void LQR(const TMtx& a, TMtx& q, TMtx& r);

// The singular value decomposition a = u * diag(s) * v^T, singular values decreasing. Thin:
// u is Rows x k and v is Cols x k, k = min(Rows, Cols); full: u and v are square orthogonal.
LUMEX_API void SVD(const TMtx& a, TMtx& u, TVec& s, TMtx& v, bool thin = true);
// The singular values only, decreasing.
LUMEX_API void SVD(const TMtx& a, TVec& s);
// The minimum-norm least-squares solution of a * x = b through the SVD: singular values below
// threshold * (largest singular value) count as zero. Raises "SVDSolve: threshold is negative
// or NaN".
LUMEX_API void SVDSolve(TVec& x, const TMtx& a, const TVec& b,
                        double threshold = 2.220446049250313e-16);

// Eigenvalues of a general real square matrix, complex (storage precision of a), in the order
// the real Schur form gives them (not sorted; a complex pair is adjacent, positive imaginary
// part first). With vectors, column j of *vectors is a complex eigenvector of unit norm for
// values[j].
LUMEX_API void Eig(const TMtx& a, TVec& values, TMtx* vectors = nullptr);
// Eigenvalues of a real symmetric matrix, real and ascending; with vectors, column j of
// *vectors is the orthonormal eigenvector of values[j]. Only the lower triangle of a enters the
// decomposition.
LUMEX_API void EigSym(const TMtx& a, TVec& values, TMtx* vectors = nullptr);

}  // namespace lumex
