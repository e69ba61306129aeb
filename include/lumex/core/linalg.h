/// @file
/// Matrix algebra of the core layer: products, transposes and structured matrices, the
/// decompositions (LU, Cholesky, QR, SVD, eigen) and the solvers built on them.
///
/// Conventions:
/// - Free functions; the destination comes first (the decompositions LQR and SVD take their input
///   first) and every output is sized by the callee.
/// - Products, transposes, diagonals, rows, columns and Toeplitz matrices work on all four storage
///   kinds. Decompositions, solvers, Determinant, Trace and VanderMonde take real data of either
///   precision, compute in double (through Eigen) and write their outputs in the precision of the
///   (first) matrix; complex data raise `"<Function>: complex matrix not supported"` (or
///   `"<Function>: complex vector not supported"`).
/// - Argument errors raise ELumexError with `"<Function>: <condition>"`; the shape checks come
///   first. A non-finite input is not an error: when any element of a matrix or right-hand side
///   is NaN, +Inf or -Inf, Inv, Determinant, LUSolve, LQRSolve, LQR, SVD, SVDSolve, Eig and EigSym
///   write NaN in every element of outputs of the proper shape (Determinant returns NaN, Cholesky
///   returns false), without the singularity or rank checks: pivoting on an infinite element
///   would otherwise give plausible finite numbers. Products, transposes and Trace follow IEEE
///   arithmetic (Inf * 0 is NaN).
/// - An output may be the same object as an input; the result is then as if it were distinct.
#pragma once

#include <cstdint>

#include "lumex/core/containers.h"

namespace lumex {

/// How a matrix operand enters a product.
enum TMtxOperation : std::uint8_t {
  opNone,   ///< As it is.
  opTrans,  ///< Transposed.
  opHerm    ///< Conjugate transposed (the same as transposed for real data).
};

/// @name Products
/// @{

/// The matrix product dst := op(a) * op(b).
///
/// Two operands of the same storage kind multiply in that kind (two single-precision operands
/// in single precision); operands of different kinds multiply in double (complex if either is).
/// dst takes the precision of a, complex when either operand is. NaN/Inf: IEEE arithmetic.
/// @param[out] dst  sized Rows(op(a)) x Cols(op(b)).
/// @param a, b      the operands, any storage kind.
/// @param opA, opB  how a and b enter the product.
/// @throws ELumexError "Mul: unknown opA" and "Mul: unknown opB" for a value outside
///   TMtxOperation; "Mul: inner dimensions differ" when the columns of op(a) differ from the rows
///   of op(b).
LUMEX_API void Mul(TMtx& dst, const TMtx& a, const TMtx& b, TMtxOperation opA = opNone,
                   TMtxOperation opB = opNone);

/// The matrix-vector product dst := op(a) * x; storage kinds combine as in Mul.
/// @param[out] dst  sized to Rows(op(a)).
/// @param a         the matrix, any storage kind.
/// @param x         the vector, any storage kind.
/// @param opA       how a enters the product.
/// @throws ELumexError "TensorProd: unknown opA"; "TensorProd: inner dimensions differ" when
///   the columns of op(a) differ from x.Length().
LUMEX_API void TensorProd(TVec& dst, const TMtx& a, const TVec& x, TMtxOperation opA = opNone);

/// @}

/// @name Shape and structure
/// @{

/// The transpose dst := a^T, without conjugation of complex values; any storage kind.
/// @param[out] dst  sized a.Cols() x a.Rows() in the storage kind of a.
/// @param a         the matrix.
LUMEX_API void Transp(TMtx& dst, const TMtx& a);
/// In-place form of Transp: a := a^T.
/// @param[in,out] a  the matrix, reshaped to Cols x Rows.
LUMEX_API void Transp(TMtx& a);
/// The n x n identity matrix, real double.
/// @param[out] a  sized n x n.
/// @param n       the order, >= 0.
/// @throws ELumexError "Eye: n < 0"; "Eye: n too large" when n^2 elements pass AllocationLimit
///   (types.h) or 2^31 - 1, before anything is allocated.
LUMEX_API void Eye(TMtx& a, int n);
/// The square diagonal matrix with d on its main diagonal and zeros elsewhere.
/// @param[out] dst  sized d.Length() x d.Length() in the storage kind of d.
/// @param d         the diagonal, any storage kind.
LUMEX_API void Diag(TMtx& dst, const TVec& d);
/// The main diagonal of a.
/// @param[out] dst  sized to min(Rows, Cols) in the storage kind of a.
/// @param a         the matrix, any storage kind.
LUMEX_API void Diag(TVec& dst, const TMtx& a);
/// Copies column `col` of a out of the matrix.
/// @param[out] dst  sized to a.Rows() in the storage kind of a.
/// @param a         the matrix, any storage kind.
/// @param col       the column, 0 <= col < a.Cols().
/// @throws ELumexError "GetCol: column index out of range".
LUMEX_API void GetCol(TVec& dst, const TMtx& a, int col);
/// Copies a vector into column `col` of a, converted to the matrix's storage kind.
/// @param[in,out] a  the matrix, any storage kind; keeps its size.
/// @param v          the values, v.Length() = a.Rows(); complex only into a complex matrix.
/// @param col        the column, 0 <= col < a.Cols().
/// @throws ELumexError "SetCol: complex vector into real matrix";
///   "SetCol: vector length differs from matrix rows"; "SetCol: column index out of range".
LUMEX_API void SetCol(TMtx& a, const TVec& v, int col);
/// Copies row `row` of a out of the matrix.
/// @param[out] dst  sized to a.Cols() in the storage kind of a.
/// @param a         the matrix, any storage kind.
/// @param row       the row, 0 <= row < a.Rows().
/// @throws ELumexError "GetRow: row index out of range".
LUMEX_API void GetRow(TVec& dst, const TMtx& a, int row);
/// Copies a vector into row `row` of a, converted to the matrix's storage kind.
/// @param[in,out] a  the matrix, any storage kind; keeps its size.
/// @param v          the values, v.Length() = a.Cols(); complex only into a complex matrix.
/// @param row        the row, 0 <= row < a.Rows().
/// @throws ELumexError "SetRow: complex vector into real matrix";
///   "SetRow: vector length differs from matrix columns"; "SetRow: row index out of range".
LUMEX_API void SetRow(TMtx& a, const TVec& v, int row);
/// The symmetric Toeplitz matrix of c: dst(i, j) = c[|i - j|].
/// @param[out] dst  sized n x n, n = c.Length(), in the storage kind of c.
/// @param c         the first row (and column), any storage kind.
LUMEX_API void Toeplitz(TMtx& dst, const TVec& c);
/// The Vandermonde matrix of x: column j holds x^(order - 1 - j).
///
/// The last column is all ones, and order 2 gives the columns x and 1 (the design matrix of a
/// straight-line fit). Powers by repeated multiplication in double.
/// @param[out] dst  sized x.Length() x order in the precision of x.
/// @param x         the abscissae, real.
/// @param order     the number of columns, >= 0.
/// @throws ELumexError "VanderMonde: complex vector not supported"; "VanderMonde: order < 0";
///   "VanderMonde: order too large" when x.Length() * order passes AllocationLimit or 2^31 - 1.
LUMEX_API void VanderMonde(TMtx& dst, const TVec& x, int order);

/// @}

/// @name Inverse, determinant, trace
/// @{

/// The matrix inverse in place, by LU decomposition with partial pivoting.
///
/// A nearly singular matrix gives a large, inaccurate inverse without warning (SVD shows the
/// condition). A 0 x 0 matrix stays empty.
///
/// NaN/Inf: a non-finite element gives an all-NaN result, without the singularity check.
/// @param[in,out] a  the real square matrix, replaced by its inverse.
/// @throws ELumexError "Inv: complex matrix not supported"; "Inv: matrix is not square";
///   "Inv: matrix is singular" when a pivot is exactly zero.
LUMEX_API void Inv(TMtx& a);
/// Destination form of Inv: dst := a^-1.
/// @param[out] dst  sized like a, in the precision of a.
/// @param a         the real square matrix.
/// @throws ELumexError "Inv: complex matrix not supported"; "Inv: matrix is not square";
///   "Inv: matrix is singular".
LUMEX_API void Inv(TMtx& dst, const TMtx& a);
/// The determinant of a square matrix, by LU decomposition with partial pivoting.
///
/// NaN/Inf: NaN when an element is not finite.
/// @param a  the real square matrix.
/// @return   the determinant; 1 for a 0 x 0 matrix, 0 for an exactly singular one.
/// @throws ELumexError "Determinant: complex matrix not supported";
///   "Determinant: matrix is not square".
LUMEX_API double Determinant(const TMtx& a);
/// The trace (sum of the diagonal, in double) of a square matrix; IEEE arithmetic.
/// @param a  the real square matrix.
/// @return   the trace; 0 for a 0 x 0 matrix.
/// @throws ELumexError "Trace: complex matrix not supported"; "Trace: matrix is not square".
LUMEX_API double Trace(const TMtx& a);

/// @}

/// @name Decompositions and solvers
/// @{

/// The Cholesky factor: lower-triangular dst (zeros above the diagonal) with a = dst * dst^T.
///
/// Only the lower triangle of a enters the factorisation: a is taken to be symmetric.
///
/// NaN/Inf: a NaN or infinite element gives false (checked first: the factorisation alone
/// would let a NaN diagonal through).
/// @param[out] dst  sized like a, in the precision of a; all NaN when false is returned.
/// @param a         the real symmetric matrix.
/// @return          true on success; false when a is not positive definite or not finite.
/// @throws ELumexError "Cholesky: complex matrix not supported"; "Cholesky: matrix is not square".
LUMEX_API bool Cholesky(TMtx& dst, const TMtx& a);

/// Solves a * x = b by LU decomposition with partial pivoting.
///
/// NaN/Inf: a non-finite element of a or b gives an all-NaN x, without the singularity check.
/// @param[out] x  sized to a.Rows() in the precision of a.
/// @param a       the real square matrix.
/// @param b       the real right-hand side, b.Length() = a.Rows().
/// @throws ELumexError "LUSolve: complex matrix not supported";
///   "LUSolve: complex vector not supported"; "LUSolve: matrix is not square";
///   "LUSolve: right-hand side rows differ from matrix rows"; "LUSolve: matrix is singular"
///   (a pivot exactly zero).
LUMEX_API void LUSolve(TVec& x, const TMtx& a, const TVec& b);
/// Matrix form of LUSolve: one right-hand side per column of b.
/// @param[out] x  sized a.Rows() x b.Cols() in the precision of a.
/// @param a       the real square matrix.
/// @param b       the real right-hand sides, b.Rows() = a.Rows().
/// @throws ELumexError "LUSolve: complex matrix not supported" (a or b);
///   "LUSolve: matrix is not square"; "LUSolve: right-hand side rows differ from matrix rows";
///   "LUSolve: matrix is singular".
LUMEX_API void LUSolve(TMtx& x, const TMtx& a, const TMtx& b);

/// The least-squares solution of a * x = b, by Householder QR with column pivoting.
///
/// a needs at least as many rows as columns. Linearly dependent columns (a diagonal element
/// of R at most min(Rows, Cols) * 2^-52 times the largest pivot counts as zero) raise; use
/// SVDSolve for the minimum-norm solution of such a system. A matrix without columns gives an
/// empty x.
///
/// NaN/Inf: a non-finite element of a or b gives an all-NaN x, without the rank check.
/// @param[out] x  sized to a.Cols() in the precision of a.
/// @param a       the real design matrix.
/// @param b       the real right-hand side, b.Length() = a.Rows().
/// @throws ELumexError "LQRSolve: complex matrix not supported";
///   "LQRSolve: complex vector not supported";
///   "LQRSolve: right-hand side rows differ from matrix rows"; "LQRSolve: matrix is rank
///   deficient" (also for fewer rows than columns, before the finiteness check).
LUMEX_API void LQRSolve(TVec& x, const TMtx& a, const TVec& b);
/// The thin QR decomposition a = q * r by Householder reflections, without pivoting.
///
/// With k = min(Rows, Cols), q is Rows x k with orthonormal columns and r is k x Cols, upper
/// triangular. The signs of r's diagonal are those the reflections give (not made positive).
///
/// NaN/Inf: a non-finite element gives all-NaN q and r.
/// @param a       the real matrix.
/// @param[out] q  sized Rows x k in the precision of a.
/// @param[out] r  sized k x Cols in the precision of a.
/// @throws ELumexError "LQR: complex matrix not supported".
LUMEX_API void LQR(const TMtx& a, TMtx& q, TMtx& r);

/// The singular value decomposition a = u * diag(s) * v^T, singular values decreasing.
///
/// Divide and conquer (Eigen's BDCSVD), with one-sided Jacobi when it reports a numerical
/// issue. For an empty matrix the full factors are identities.
///
/// NaN/Inf: a non-finite element gives all-NaN u, s and v.
/// @param a       the real matrix; k = min(Rows, Cols).
/// @param[out] u  thin: Rows x k; full: Rows x Rows, orthogonal. Precision of a.
/// @param[out] s  the k singular values, decreasing.
/// @param[out] v  thin: Cols x k; full: Cols x Cols, orthogonal.
/// @param thin    true for the thin decomposition, false for the full one.
/// @throws ELumexError "SVD: complex matrix not supported".
LUMEX_API void SVD(const TMtx& a, TMtx& u, TVec& s, TMtx& v, bool thin = true);
/// The singular values only, decreasing; a non-finite element gives NaN values.
/// @param a       the real matrix.
/// @param[out] s  sized to min(Rows, Cols) in the precision of a.
/// @throws ELumexError "SVD: complex matrix not supported".
LUMEX_API void SVD(const TMtx& a, TVec& s);
/// The minimum-norm least-squares solution of a * x = b through the thin SVD.
///
/// Singular values below threshold * (largest singular value) count as zero (and always those
/// below the smallest normal double). No equations or no unknowns give x = 0.
///
/// NaN/Inf: a non-finite element of a or b gives an all-NaN x.
/// @param[out] x     sized to a.Cols() in the precision of a.
/// @param a          the real matrix, any shape.
/// @param b          the real right-hand side, b.Length() = a.Rows().
/// @param threshold  relative cut-off of the singular values, >= 0 (default 2^-52).
/// @throws ELumexError "SVDSolve: complex matrix not supported";
///   "SVDSolve: complex vector not supported";
///   "SVDSolve: right-hand side rows differ from matrix rows";
///   "SVDSolve: threshold is negative or NaN".
LUMEX_API void SVDSolve(TVec& x, const TMtx& a, const TVec& b,
                        double threshold = 2.220446049250313e-16);

/// Eigenvalues (and optionally eigenvectors) of a general real square matrix.
///
/// The values are complex, in the order the real Schur form gives them (not sorted; a complex
/// pair is adjacent, positive imaginary part first).
///
/// NaN/Inf: a non-finite element, or an iteration that does not converge, gives NaN values and
/// vectors. An empty matrix gives empty outputs.
/// @param a             the real square matrix.
/// @param[out] values   sized to a.Rows(), complex, in the precision of a.
/// @param[out] vectors  may be null; else sized n x n, complex, column j an eigenvector of unit
///                      norm for values[j].
/// @throws ELumexError "Eig: complex matrix not supported"; "Eig: matrix is not square".
LUMEX_API void Eig(const TMtx& a, TVec& values, TMtx* vectors = nullptr);
/// Eigenvalues (and optionally eigenvectors) of a real symmetric matrix.
///
/// Only the lower triangle of a enters the decomposition.
///
/// NaN/Inf: a non-finite element, or an iteration that does not converge, gives NaN values and
/// vectors. An empty matrix gives empty outputs.
/// @param a             the real symmetric matrix.
/// @param[out] values   sized to a.Rows(), real and ascending, in the precision of a.
/// @param[out] vectors  may be null; else sized n x n, column j the orthonormal eigenvector of
///                      values[j].
/// @throws ELumexError "EigSym: complex matrix not supported"; "EigSym: matrix is not square".
LUMEX_API void EigSym(const TMtx& a, TVec& values, TMtx* vectors = nullptr);

/// @}

}  // namespace lumex
