// Operations on dense objects: sizing and copying, elementwise arithmetic, reductions,
// ordering and selection.
//
// Conventions:
// - Functions are free functions; the destination comes first and is sized by the callee in
//   the storage kind of the (first) source, unless a comment says otherwise.
// - Elementwise operations accept vectors and matrices of either precision; the arithmetic
//   ones (Add, Sub, Mul, Divide by scalars or objects) also accept complex storage. Two objects
//   combined elementwise must have the same length and storage kind.
// - Reductions compute in double whatever the storage precision, and take real data. They
//   follow IEEE arithmetic on degenerate input: the mean of nothing is NaN (0/0), the standard
//   deviation of fewer than two values is NaN, and a NaN element makes Max, Min and Median NaN.
// - Index-range forms take (source, source index, destination index, count) and raise when the
//   range leaves either object.
#pragma once

#include <complex>
#include <string>

#include "lumex/core/containers.h"

namespace lumex {

// ---- Sizing and copying ------------------------------------------------------------------------

// dst := src (same shape and storage kind); a vector destination takes the values of a matrix
// in row-major order.
LUMEX_API void Copy(TVec& dst, const TDenseLumex& src);
LUMEX_API void Copy(TMtx& dst, const TMtx& src);
// dst[dstIndex .. dstIndex+len-1] := src[srcIndex .. srcIndex+len-1]; no resizing; both objects
// must hold the same storage kind.
LUMEX_API void Copy(TDenseLumex& dst, const TDenseLumex& src, int srcIndex, int dstIndex, int len);
// dst := src converted to the given precision (real or complex as src). Raises
// "Convert: unknown precision" for a value outside TMtxFloatPrecision (CopyFrom likewise).
LUMEX_API void Convert(TVec& dst, const TVec& src, TMtxFloatPrecision precision);
// dst := the elements of src rounded to the nearest integer (halves to even); raises for
// non-finite values or values outside the 32-bit range.
LUMEX_API void CopyTo(TVecInt& dst, const TDenseLumex& src);
// dst := the integers of src as real values of the given precision.
LUMEX_API void CopyFrom(TVec& dst, const TVecInt& src, TMtxFloatPrecision precision = fpDouble);
// dst := [a, b] (same storage kind).
LUMEX_API void Concat(TVec& dst, const TVec& a, const TVec& b);
// x[i] := offset + i * step.
LUMEX_API void Ramp(TDenseLumex& x, double offset, double step);
// Reverses the order of the elements.
LUMEX_API void Reverse(TDenseLumex& x);
// Cyclic rotation by `shift` places: Rotate(x, 1) moves the last element first.
LUMEX_API void Rotate(TDenseLumex& x, int shift);
// The epsilon of the storage precision of x (2^-52 or 2^-23) and its square root.
LUMEX_API double PrecisionEPS(const TDenseLumex& x);
LUMEX_API double PrecisionSqrtEPS(const TDenseLumex& x);

// ---- Elementwise arithmetic --------------------------------------------------------------------

// In place with a scalar: x + v, x - v, x * v, x / v.
LUMEX_API void Add(TDenseLumex& x, double v);
LUMEX_API void Sub(TDenseLumex& x, double v);
LUMEX_API void Mul(TDenseLumex& x, double v);
LUMEX_API void Divide(TDenseLumex& x, double v);
// In place with an object of the same length and kind: x + y, x - y, x * y, x / y.
LUMEX_API void Add(TDenseLumex& x, const TDenseLumex& y);
LUMEX_API void Sub(TDenseLumex& x, const TDenseLumex& y);
LUMEX_API void MulElem(TDenseLumex& x, const TDenseLumex& y);
LUMEX_API void Divide(TDenseLumex& x, const TDenseLumex& y);
// Into dst: a + b, a - b, a * b, a / b (dst sized like a).
LUMEX_API void Add(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
LUMEX_API void Sub(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
LUMEX_API void MulElem(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
LUMEX_API void Divide(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
// Vectors multiply elementwise under the name Mul (matrices multiply as matrices; see linalg.h).
inline void Mul(TVec& x, const TVec& y) { MulElem(x, y); }
inline void Mul(TVec& dst, const TVec& a, const TVec& b) { MulElem(dst, a, b); }
// x := x + scale * y.
LUMEX_API void AddScaled(TDenseLumex& x, const TDenseLumex& y, double scale);
// x[i] := v / x[i].
LUMEX_API void DivideBy(TDenseLumex& x, double v);

// Real elementwise functions, in place. Inv takes reciprocals of vectors (for matrices see the
// matrix inverse in linalg.h; InvElem works on both), Sign negates, Normalize gives (x - a) / b.
LUMEX_API void Sqr(TDenseLumex& x);
LUMEX_API void Sqrt(TDenseLumex& x);
LUMEX_API void Abs(TDenseLumex& x);
LUMEX_API void Ln(TDenseLumex& x);
LUMEX_API void Log10(TDenseLumex& x);
LUMEX_API void Exp(TDenseLumex& x);
LUMEX_API void Floor(TDenseLumex& x);
LUMEX_API void Ceil(TDenseLumex& x);
LUMEX_API void Power(TDenseLumex& x, double p);
LUMEX_API void IntPower(TDenseLumex& x, int p);
LUMEX_API void InvElem(TDenseLumex& x);
inline void Inv(TVec& x) { InvElem(x); }
LUMEX_API void Sign(TDenseLumex& x);
LUMEX_API void Normalize(TDenseLumex& x, double a, double b);
// ZScore: (x - mean) / standard deviation of x itself.
LUMEX_API void ZScore(TDenseLumex& x);
// Elementwise limits: values below `bottom` become `bottom`, values above `top` become `top`.
LUMEX_API void ThreshBottom(TDenseLumex& x, double bottom);
LUMEX_API void ThreshTop(TDenseLumex& x, double top);
// Same functions into a destination sized like src.
LUMEX_API void Sqr(TDenseLumex& dst, const TDenseLumex& src);
LUMEX_API void Sqrt(TDenseLumex& dst, const TDenseLumex& src);
LUMEX_API void Abs(TDenseLumex& dst, const TDenseLumex& src);
LUMEX_API void Ln(TDenseLumex& dst, const TDenseLumex& src);
LUMEX_API void Exp(TDenseLumex& dst, const TDenseLumex& src);

// ---- Reductions -------------------------------------------------------------------------------

LUMEX_API double Sum(const TDenseLumex& x);
LUMEX_API double Sum(const TDenseLumex& x, int index, int len);
LUMEX_API std::complex<double> CSum(const TDenseLumex& x);  // complex or real storage
// Arithmetic mean from a compensated sum, so data far from zero keep their digits (NIST StRD
// NumAcc4); NaN for an empty object.
LUMEX_API double Mean(const TDenseLumex& x);
// Sample standard deviation (divisor n - 1) about the object's own mean; NaN below two values.
LUMEX_API double StdDev(const TDenseLumex& x);
// Sample standard deviation (divisor n - 1) about the given mean: sqrt(sum (x - mean)^2 / (n - 1));
// NaN below two values.
LUMEX_API double StdDev(const TDenseLumex& x, double mean);
LUMEX_API double SumOfSquares(const TDenseLumex& x);
LUMEX_API double SumOfSquares(const TDenseLumex& x, int index, int len);
LUMEX_API double Product(const TDenseLumex& x);
LUMEX_API double DotProd(const TDenseLumex& a, const TDenseLumex& b);
LUMEX_API double Max(const TDenseLumex& x);
LUMEX_API double Min(const TDenseLumex& x);
// Maximum and minimum with the index of their first occurrence (-1 for an empty object).
LUMEX_API double Max(const TDenseLumex& x, int& index);
LUMEX_API double Min(const TDenseLumex& x, int& index);
LUMEX_API void MaxMin(const TDenseLumex& x, double& max, double& min);
LUMEX_API void MaxMin(const TDenseLumex& x, int index, int len, double& max, double& min);
// Median; the mean of the two middle values for an even count. x is not changed.
LUMEX_API double Median(const TDenseLumex& x);
// Norms: sum of |x|, Euclidean, largest |x|; the two-object forms measure a - b.
LUMEX_API double NormL1(const TDenseLumex& x);
LUMEX_API double NormL2(const TDenseLumex& x);
LUMEX_API double NormC(const TDenseLumex& x);
LUMEX_API double NormL2(const TDenseLumex& a, const TDenseLumex& b);
// Integer reductions.
LUMEX_API long long Sum(const TVecInt& x);
LUMEX_API int Max(const TVecInt& x,
                  int& index);  // first index of the largest value; raises when empty

// ---- Ordering and selection -------------------------------------------------------------------

// Sorts ascending in place. NaNs go to the end, in their original order. The permutation form
// writes perm[j] = the former position of the j-th smallest element (a stable sort).
LUMEX_API void SortAscend(TDenseLumex& x);
LUMEX_API void SortAscend(TDenseLumex& x, TVecInt& perm);
LUMEX_API void SortDescend(TDenseLumex& x);
LUMEX_API void SortDescend(TDenseLumex& x, TVecInt& perm);
// Orders the rows of a matrix by the values of column `col` (stable, NaNs last).
LUMEX_API void SortAscend(TMtx& m, int col);
LUMEX_API void SortAscend(TVecInt& x);

// The first index i with x[i] equal to value (NaN finds the first NaN), or -1.
LUMEX_API int Find(const TDenseLumex& x, double value);
// Comparison text for the find family: "=", "<>", "<", "<=", ">", ">=". Any other text raises.
// The indexes of the elements of src satisfying the comparison, in order.
LUMEX_API void FindIndexes(TVecInt& dst, const TDenseLumex& src, const std::string& op,
                           double value);
// A mask: dst[i] = 1 where src[i] satisfies the comparison, else 0.
LUMEX_API void FindMask(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value);
// The elements of src satisfying the comparison, in order (same storage kind as src).
LUMEX_API void FindAndGather(TVec& dst, const TDenseLumex& src, const std::string& op,
                             double value);
// dst[k] := src[index[k]]; every index is checked.
LUMEX_API void GatherByIndex(TVec& dst, const TDenseLumex& src, const TVecInt& index);
// Elements equal to `value` within `tolerance` (relative to |value|, absolute for 0) become
// `replacement`; infinities are matched exactly.
LUMEX_API void Replace(TDenseLumex& x, double value, double replacement, double tolerance = 0.0);

// ---- Running sums and differences -------------------------------------------------------------

// dst[i] := x[0] + ... + x[i].
LUMEX_API void CumSum(TVec& dst, const TVec& x);
// dst[i] := x[i + lag] - x[i]; Length - lag elements (none when lag >= Length); lag >= 1.
LUMEX_API void Difference(TVec& dst, const TVec& x, int lag = 1);

}  // namespace lumex
