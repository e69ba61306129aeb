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
void Copy(TVec& dst, const TDenseLumex& src);
void Copy(TMtx& dst, const TMtx& src);
// dst[dstIndex .. dstIndex+len-1] := src[srcIndex .. srcIndex+len-1]; no resizing; both objects
// must hold the same storage kind.
void Copy(TDenseLumex& dst, const TDenseLumex& src, int srcIndex, int dstIndex, int len);
// dst := src converted to the given precision (real or complex as src).
void Convert(TVec& dst, const TVec& src, TMtxFloatPrecision precision);
// dst := the elements of src rounded to the nearest integer (halves to even); raises for
// non-finite values or values outside the 32-bit range.
void CopyTo(TVecInt& dst, const TDenseLumex& src);
// dst := the integers of src as real values of the given precision.
void CopyFrom(TVec& dst, const TVecInt& src, TMtxFloatPrecision precision = fpDouble);
// dst := [a, b] (same storage kind).
void Concat(TVec& dst, const TVec& a, const TVec& b);
// x[i] := offset + i * step.
void Ramp(TDenseLumex& x, double offset, double step);
// Reverses the order of the elements.
void Reverse(TDenseLumex& x);
// Cyclic rotation by `shift` places: Rotate(x, 1) moves the last element first.
void Rotate(TDenseLumex& x, int shift);
// The epsilon of the storage precision of x (2^-52 or 2^-23) and its square root.
double PrecisionEPS(const TDenseLumex& x);
double PrecisionSqrtEPS(const TDenseLumex& x);

// ---- Elementwise arithmetic --------------------------------------------------------------------

// In place with a scalar: x + v, x - v, x * v, x / v.
void Add(TDenseLumex& x, double v);
void Sub(TDenseLumex& x, double v);
void Mul(TDenseLumex& x, double v);
void Divide(TDenseLumex& x, double v);
// In place with an object of the same length and kind: x + y, x - y, x * y, x / y.
void Add(TDenseLumex& x, const TDenseLumex& y);
void Sub(TDenseLumex& x, const TDenseLumex& y);
void MulElem(TDenseLumex& x, const TDenseLumex& y);
void Divide(TDenseLumex& x, const TDenseLumex& y);
// Into dst: a + b, a - b, a * b, a / b (dst sized like a).
void Add(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
void Sub(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
void MulElem(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
void Divide(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
// Vectors multiply elementwise under the name Mul (matrices multiply as matrices; see linalg.h).
inline void Mul(TVec& x, const TVec& y) { MulElem(x, y); }
inline void Mul(TVec& dst, const TVec& a, const TVec& b) { MulElem(dst, a, b); }
// x := x + scale * y.
void AddScaled(TDenseLumex& x, const TDenseLumex& y, double scale);
// x[i] := v / x[i].
void DivideBy(TDenseLumex& x, double v);

// Real elementwise functions, in place. Inv takes reciprocals of vectors (for matrices see the
// matrix inverse in linalg.h; InvElem works on both), Sign negates, Normalize gives (x - a) / b.
void Sqr(TDenseLumex& x);
void Sqrt(TDenseLumex& x);
void Abs(TDenseLumex& x);
void Ln(TDenseLumex& x);
void Log10(TDenseLumex& x);
void Exp(TDenseLumex& x);
void Floor(TDenseLumex& x);
void Ceil(TDenseLumex& x);
void Power(TDenseLumex& x, double p);
void IntPower(TDenseLumex& x, int p);
void InvElem(TDenseLumex& x);
inline void Inv(TVec& x) { InvElem(x); }
void Sign(TDenseLumex& x);
void Normalize(TDenseLumex& x, double a, double b);
// ZScore: (x - mean) / standard deviation of x itself.
void ZScore(TDenseLumex& x);
// Elementwise limits: values below `bottom` become `bottom`, values above `top` become `top`.
void ThreshBottom(TDenseLumex& x, double bottom);
void ThreshTop(TDenseLumex& x, double top);
// Same functions into a destination sized like src.
void Sqr(TDenseLumex& dst, const TDenseLumex& src);
void Sqrt(TDenseLumex& dst, const TDenseLumex& src);
void Abs(TDenseLumex& dst, const TDenseLumex& src);
void Ln(TDenseLumex& dst, const TDenseLumex& src);
void Exp(TDenseLumex& dst, const TDenseLumex& src);

// ---- Reductions -------------------------------------------------------------------------------

double Sum(const TDenseLumex& x);
double Sum(const TDenseLumex& x, int index, int len);
std::complex<double> CSum(const TDenseLumex& x);  // complex or real storage
double Mean(const TDenseLumex& x);
// Sample standard deviation (divisor n - 1) about the object's own mean; NaN below two values.
double StdDev(const TDenseLumex& x);
// Sample standard deviation (divisor n - 1) about the given mean: sqrt(sum (x - mean)^2 / (n - 1));
// NaN below two values.
double StdDev(const TDenseLumex& x, double mean);
double SumOfSquares(const TDenseLumex& x);
double SumOfSquares(const TDenseLumex& x, int index, int len);
double Product(const TDenseLumex& x);
double DotProd(const TDenseLumex& a, const TDenseLumex& b);
double Max(const TDenseLumex& x);
double Min(const TDenseLumex& x);
// Maximum and minimum with the index of their first occurrence (-1 for an empty object).
double Max(const TDenseLumex& x, int& index);
double Min(const TDenseLumex& x, int& index);
void MaxMin(const TDenseLumex& x, double& max, double& min);
void MaxMin(const TDenseLumex& x, int index, int len, double& max, double& min);
// Median; the mean of the two middle values for an even count. x is not changed.
double Median(const TDenseLumex& x);
// Norms: sum of |x|, Euclidean, largest |x|; the two-object forms measure a - b.
double NormL1(const TDenseLumex& x);
double NormL2(const TDenseLumex& x);
double NormC(const TDenseLumex& x);
double NormL2(const TDenseLumex& a, const TDenseLumex& b);
// Integer reductions.
long long Sum(const TVecInt& x);
int Max(const TVecInt& x, int& index);  // first index of the largest value; raises when empty

// ---- Ordering and selection -------------------------------------------------------------------

// Sorts ascending in place. NaNs go to the end, in their original order. The permutation form
// writes perm[j] = the former position of the j-th smallest element (a stable sort).
void SortAscend(TDenseLumex& x);
void SortAscend(TDenseLumex& x, TVecInt& perm);
void SortDescend(TDenseLumex& x);
void SortDescend(TDenseLumex& x, TVecInt& perm);
// Orders the rows of a matrix by the values of column `col` (stable, NaNs last).
void SortAscend(TMtx& m, int col);
void SortAscend(TVecInt& x);

// The first index i with x[i] equal to value (NaN finds the first NaN), or -1.
int Find(const TDenseLumex& x, double value);
// Comparison text for the find family: "=", "<>", "<", "<=", ">", ">=". Any other text raises.
// The indexes of the elements of src satisfying the comparison, in order.
void FindIndexes(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value);
// A mask: dst[i] = 1 where src[i] satisfies the comparison, else 0.
void FindMask(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value);
// The elements of src satisfying the comparison, in order (same storage kind as src).
void FindAndGather(TVec& dst, const TDenseLumex& src, const std::string& op, double value);
// dst[k] := src[index[k]]; every index is checked.
void GatherByIndex(TVec& dst, const TDenseLumex& src, const TVecInt& index);
// Elements equal to `value` within `tolerance` (relative to |value|, absolute for 0) become
// `replacement`; infinities are matched exactly.
void Replace(TDenseLumex& x, double value, double replacement, double tolerance = 0.0);

// ---- Running sums and differences -------------------------------------------------------------

// dst[i] := x[0] + ... + x[i].
void CumSum(TVec& dst, const TVec& x);
// dst[i] := x[i + lag] - x[i]; Length - lag elements (none when lag >= Length); lag >= 1.
void Difference(TVec& dst, const TVec& x, int lag = 1);

}  // namespace lumex
