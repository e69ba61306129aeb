/// @file
/// Operations on dense objects: sizing and copying, elementwise arithmetic, reductions, ordering
/// and selection, running sums and differences.
///
/// Conventions:
/// - Functions are free functions; the destination comes first and is sized by the callee in
///   the storage kind of the (first) source, unless a comment says otherwise. An output may be
///   the same object as an input; the result is then that of distinct objects.
/// - Elementwise operations accept vectors and matrices of either precision; the arithmetic
///   ones (Add, Sub, Mul, Divide by scalars or objects) also accept complex storage. Two objects
///   combined elementwise must have the same length and storage kind (their shapes are not
///   compared).
/// - Functions for real data compute in double and round to the storage precision; complex
///   storage raises ELumexError `"<Function>: complex data not supported"`.
/// - Reductions compute in double whatever the storage precision, and take real data. They
///   follow IEEE arithmetic on degenerate input: the mean of nothing is NaN (0/0), the standard
///   deviation of fewer than two values is NaN, and a NaN element makes Max, Min and Median NaN.
/// - Index-range forms take (source, source index, destination index, count) and raise
///   `"<Function>: index range out of bounds"` when an index or the count is negative or the
///   range leaves either object.
#pragma once

#include <complex>
#include <string>

#include "lumex/core/containers.h"

namespace lumex {

/// @name Sizing and copying
/// @{

/// Copies src into the vector dst.
///
/// A matrix source gives its elements in row-major order.
/// @param[out] dst  sized to src.Length() in the storage kind of src.
/// @param src       vector or matrix of any storage kind.
LUMEX_API void Copy(TVec& dst, const TDenseLumex& src);
/// Matrix form of Copy: dst takes the shape, storage kind and values of src.
/// @param[out] dst  sized like src.
/// @param src       matrix of any storage kind.
LUMEX_API void Copy(TMtx& dst, const TMtx& src);
/// Copies len elements of src, from srcIndex on, into dst from dstIndex on.
///
/// dst[dstIndex + k] := src[srcIndex + k] for 0 <= k < len. Nothing is resized. dst may be
/// src; overlapping ranges copy as if through a temporary.
/// @param[in,out] dst  receives the range; any storage kind, the same as src's.
/// @param src          the source object.
/// @param srcIndex     first element read from src (row-major for matrices).
/// @param dstIndex     first element written in dst.
/// @param len          number of elements.
/// @throws ELumexError "Copy: storage kinds differ" when precision or complexity differ;
///   "Copy: index range out of bounds" when an index or len is negative or a range leaves src
///   or dst.
LUMEX_API void Copy(TDenseLumex& dst, const TDenseLumex& src, int srcIndex, int dstIndex, int len);
/// Copies src into dst converted to the given precision, real or complex as src.
///
/// Conversion to single precision rounds to the nearest float (values beyond its range become
/// infinite).
/// @param[out] dst     sized to src.Length() in the given precision.
/// @param src          vector of any storage kind.
/// @param precision    precision of dst.
/// @throws ELumexError "Convert: unknown precision" for a value outside TMtxFloatPrecision.
LUMEX_API void Convert(TVec& dst, const TVec& src, TMtxFloatPrecision precision);
/// Rounds the elements of src to the nearest integers (halves to even) into dst.
/// @param[out] dst  sized to src.Length().
/// @param src       real vector or matrix, either precision.
/// @throws ELumexError "CopyTo: complex data not supported";
///   "CopyTo: value outside the 32-bit integer range" when an element is NaN, infinite or
///   rounds outside [-2^31, 2^31 - 1].
LUMEX_API void CopyTo(TVecInt& dst, const TDenseLumex& src);
/// Copies the integers of src into dst as real values of the given precision.
///
/// Single precision rounds integers above 2^24 in magnitude to the nearest float.
/// @param[out] dst     sized to src.Length(), real, in the given precision.
/// @param src          the integers.
/// @param precision    precision of dst.
/// @throws ELumexError "CopyFrom: unknown precision" for a value outside TMtxFloatPrecision.
LUMEX_API void CopyFrom(TVec& dst, const TVecInt& src, TMtxFloatPrecision precision = fpDouble);
/// Concatenates two vectors: dst := [a, b].
/// @param[out] dst  sized to a.Length() + b.Length() in the storage kind of a.
/// @param a, b      vectors of the same storage kind.
/// @throws ELumexError "Concat: storage kinds differ"; "Concat: too many elements" when the
///   combined length exceeds 2^31 - 1.
LUMEX_API void Concat(TVec& dst, const TVec& a, const TVec& b);
/// Fills x with an arithmetic progression: x[i] := offset + i * step (computed in double).
/// @param[in,out] x  real vector or matrix (row-major order); keeps its size.
/// @param offset     value of x[0].
/// @param step       increment between neighbours.
/// @throws ELumexError "Ramp: complex data not supported".
LUMEX_API void Ramp(TDenseLumex& x, double offset, double step);
/// Reverses the order of the elements (row-major order for matrices); any storage kind.
/// @param[in,out] x  the object reversed in place.
LUMEX_API void Reverse(TDenseLumex& x);
/// Rotates the elements cyclically by `shift` places: Rotate(x, 1) moves the last element first.
///
/// Any storage kind. The shift is taken modulo the length; a negative shift rotates towards
/// the front.
/// @param[in,out] x  the object rotated in place (row-major order for matrices).
/// @param shift      places to move each element towards the end.
LUMEX_API void Rotate(TDenseLumex& x, int shift);
/// The machine epsilon of the storage precision of x: 2^-52 for double, 2^-23 for single.
/// @param x  any dense object; only its precision is read.
/// @return   EPS_DOUBLE or EPS_SINGLE.
LUMEX_API double PrecisionEPS(const TDenseLumex& x);
/// The square root of PrecisionEPS: 2^-26 for double, sqrt(2^-23) for single.
/// @param x  any dense object; only its precision is read.
/// @return   SQRTEPS_DOUBLE or SQRTEPS_SINGLE.
LUMEX_API double PrecisionSqrtEPS(const TDenseLumex& x);

/// @}

/// @name Elementwise arithmetic
/// Every storage kind for the arithmetic forms; real storage for the functions (Sqr to ThreshTop),
/// which raise `"<Function>: complex data not supported"` otherwise. NaN and Inf follow IEEE
/// arithmetic and the C math library (Ln(0) = -Inf, Sqrt(-1) = NaN, x / 0 = +-Inf or NaN).
/// @{

/// Adds a scalar in place: x[i] := x[i] + v (to the real part of complex elements).
///
/// In single precision v is first rounded to float.
/// @param[in,out] x  any storage kind.
/// @param v          the scalar.
LUMEX_API void Add(TDenseLumex& x, double v);
/// Subtracts a scalar in place: x[i] := x[i] - v; as Add.
/// @param[in,out] x  any storage kind.
/// @param v          the scalar.
LUMEX_API void Sub(TDenseLumex& x, double v);
/// Multiplies by a scalar in place: x[i] := x[i] * v; as Add.
/// @param[in,out] x  any storage kind.
/// @param v          the scalar.
LUMEX_API void Mul(TDenseLumex& x, double v);
/// Divides by a scalar in place: x[i] := x[i] / v; as Add.
/// @param[in,out] x  any storage kind.
/// @param v          the divisor.
LUMEX_API void Divide(TDenseLumex& x, double v);
/// Adds an object in place: x[i] := x[i] + y[i].
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @throws ELumexError "Add: lengths differ"; "Add: storage kinds differ".
LUMEX_API void Add(TDenseLumex& x, const TDenseLumex& y);
/// Subtracts an object in place: x[i] := x[i] - y[i].
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @throws ELumexError "Sub: lengths differ"; "Sub: storage kinds differ".
LUMEX_API void Sub(TDenseLumex& x, const TDenseLumex& y);
/// Multiplies elementwise in place: x[i] := x[i] * y[i] (not the matrix product).
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @throws ELumexError "Mul: lengths differ"; "Mul: storage kinds differ".
LUMEX_API void MulElem(TDenseLumex& x, const TDenseLumex& y);
/// Divides elementwise in place: x[i] := x[i] / y[i].
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @throws ELumexError "Divide: lengths differ"; "Divide: storage kinds differ".
LUMEX_API void Divide(TDenseLumex& x, const TDenseLumex& y);
/// Sum into a destination: dst[i] := a[i] + b[i].
/// @param[out] dst  sized like a (a matrix destination of a vector a becomes Length x 1).
/// @param a, b      operands of the same length and storage kind, any kind.
/// @throws ELumexError "Add: lengths differ"; "Add: storage kinds differ".
LUMEX_API void Add(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
/// Difference into a destination: dst[i] := a[i] - b[i]; as the three-argument Add.
/// @param[out] dst  sized like a.
/// @param a, b      operands of the same length and storage kind.
/// @throws ELumexError "Sub: lengths differ"; "Sub: storage kinds differ".
LUMEX_API void Sub(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
/// Elementwise product into a destination: dst[i] := a[i] * b[i]; as the three-argument Add.
/// @param[out] dst  sized like a.
/// @param a, b      operands of the same length and storage kind.
/// @throws ELumexError "Mul: lengths differ"; "Mul: storage kinds differ".
LUMEX_API void MulElem(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
/// Elementwise quotient into a destination: dst[i] := a[i] / b[i]; as the three-argument Add.
/// @param[out] dst  sized like a.
/// @param a, b      operands of the same length and storage kind.
/// @throws ELumexError "Divide: lengths differ"; "Divide: storage kinds differ".
LUMEX_API void Divide(TDenseLumex& dst, const TDenseLumex& a, const TDenseLumex& b);
/// Vector form of MulElem under the name Mul: x[i] := x[i] * y[i].
///
/// Vectors multiply elementwise under the name Mul; matrices multiply as matrices (linalg.h).
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @throws ELumexError "Mul: lengths differ"; "Mul: storage kinds differ".
inline void Mul(TVec& x, const TVec& y) { MulElem(x, y); }
/// Vector form of the three-argument MulElem under the name Mul: dst[i] := a[i] * b[i].
/// @param[out] dst  sized like a.
/// @param a, b      vectors of the same length and storage kind.
/// @throws ELumexError "Mul: lengths differ"; "Mul: storage kinds differ".
inline void Mul(TVec& dst, const TVec& a, const TVec& b) { MulElem(dst, a, b); }
/// Adds a multiple of an object in place: x := x + scale * y.
///
/// In single precision scale is first rounded to float.
/// @param[in,out] x  any storage kind.
/// @param y          same length and storage kind as x.
/// @param scale      the multiplier of y.
/// @throws ELumexError "AddScaled: lengths differ"; "AddScaled: storage kinds differ".
LUMEX_API void AddScaled(TDenseLumex& x, const TDenseLumex& y, double scale);
/// Divides a scalar by each element in place: x[i] := v / x[i].
/// @param[in,out] x  any storage kind.
/// @param v          the dividend.
LUMEX_API void DivideBy(TDenseLumex& x, double v);

/// Squares each element in place: x[i] := x[i]^2.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Sqr: complex data not supported".
LUMEX_API void Sqr(TDenseLumex& x);
/// Square root of each element in place; negative elements give NaN.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Sqrt: complex data not supported".
LUMEX_API void Sqrt(TDenseLumex& x);
/// Absolute value of each element in place.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Abs: complex data not supported".
LUMEX_API void Abs(TDenseLumex& x);
/// Natural logarithm of each element in place; 0 gives -Inf, negative elements NaN.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Ln: complex data not supported".
LUMEX_API void Ln(TDenseLumex& x);
/// Decimal logarithm of each element in place; 0 gives -Inf, negative elements NaN.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Log10: complex data not supported".
LUMEX_API void Log10(TDenseLumex& x);
/// Exponential of each element in place; overflow gives +Inf.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Exp: complex data not supported".
LUMEX_API void Exp(TDenseLumex& x);
/// Rounds each element down to an integer value in place.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Floor: complex data not supported".
LUMEX_API void Floor(TDenseLumex& x);
/// Rounds each element up to an integer value in place.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Ceil: complex data not supported".
LUMEX_API void Ceil(TDenseLumex& x);
/// Raises each element to a real power in place: x[i] := x[i]^p (std::pow).
///
/// A negative element with a non-integer p gives NaN; p = 0 gives 1 for every element.
/// @param[in,out] x  real storage.
/// @param p          the exponent.
/// @throws ELumexError "Power: complex data not supported".
LUMEX_API void Power(TDenseLumex& x, double p);
/// Raises each element to an integer power in place by repeated squaring.
///
/// Exact for small powers of exactly representable results; a negative p gives 1 / x^|p|, and
/// p = 0 gives 1 for every element (NaN included).
/// @param[in,out] x  real storage.
/// @param p          the exponent.
/// @throws ELumexError "IntPower: complex data not supported".
LUMEX_API void IntPower(TDenseLumex& x, int p);
/// Reciprocal of each element in place: x[i] := 1 / x[i], for vectors and matrices alike.
///
/// For the matrix inverse see Inv in linalg.h. 0 gives +-Inf.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Inv: complex data not supported".
LUMEX_API void InvElem(TDenseLumex& x);
/// Vector form of InvElem: x[i] := 1 / x[i].
/// @param[in,out] x  real storage.
/// @throws ELumexError "Inv: complex data not supported".
inline void Inv(TVec& x) { InvElem(x); }
/// Negates each element in place: x[i] := -x[i]; any storage kind.
/// @param[in,out] x  the object negated.
LUMEX_API void Sign(TDenseLumex& x);
/// Shifts and scales each element in place: x[i] := (x[i] - a) / b.
/// @param[in,out] x  real storage.
/// @param a          the shift (a location).
/// @param b          the divisor (a scale); 0 gives +-Inf or NaN.
/// @throws ELumexError "Normalize: complex data not supported".
LUMEX_API void Normalize(TDenseLumex& x, double a, double b);
/// Standardises in place: x[i] := (x[i] - mean) / s, mean and s the Mean and StdDev of x itself.
///
/// NaN/Inf: fewer than two elements, a NaN element or constant data (s = 0) give NaN elements.
/// @param[in,out] x  real storage.
/// @throws ELumexError "Mean: complex data not supported" for complex storage
///   ("Normalize: complex data not supported" when x is empty).
LUMEX_API void ZScore(TDenseLumex& x);
/// Limits from below in place: elements below `bottom` become `bottom`; NaN elements stay NaN.
/// @param[in,out] x  real storage.
/// @param bottom     the lower limit (NaN changes nothing).
/// @throws ELumexError "ThreshBottom: complex data not supported".
LUMEX_API void ThreshBottom(TDenseLumex& x, double bottom);
/// Limits from above in place: elements above `top` become `top`; NaN elements stay NaN.
/// @param[in,out] x  real storage.
/// @param top        the upper limit (NaN changes nothing).
/// @throws ELumexError "ThreshTop: complex data not supported".
LUMEX_API void ThreshTop(TDenseLumex& x, double top);
/// Destination form of Sqr: dst[i] := src[i]^2.
/// @param[out] dst  sized like src (a matrix destination of a vector src becomes Length x 1).
/// @param src       real storage.
/// @throws ELumexError "Sqr: complex data not supported", before dst is changed.
LUMEX_API void Sqr(TDenseLumex& dst, const TDenseLumex& src);
/// Destination form of Sqrt: dst[i] := sqrt(src[i]).
/// @param[out] dst  sized like src.
/// @param src       real storage.
/// @throws ELumexError "Sqrt: complex data not supported", before dst is changed.
LUMEX_API void Sqrt(TDenseLumex& dst, const TDenseLumex& src);
/// Destination form of Abs: dst[i] := |src[i]|.
/// @param[out] dst  sized like src.
/// @param src       real storage.
/// @throws ELumexError "Abs: complex data not supported", before dst is changed.
LUMEX_API void Abs(TDenseLumex& dst, const TDenseLumex& src);
/// Destination form of Ln: dst[i] := ln(src[i]).
/// @param[out] dst  sized like src.
/// @param src       real storage.
/// @throws ELumexError "Ln: complex data not supported", before dst is changed.
LUMEX_API void Ln(TDenseLumex& dst, const TDenseLumex& src);
/// Destination form of Exp: dst[i] := exp(src[i]).
/// @param[out] dst  sized like src.
/// @param src       real storage.
/// @throws ELumexError "Exp: complex data not supported", before dst is changed.
LUMEX_API void Exp(TDenseLumex& dst, const TDenseLumex& src);

/// @}

/// @name Reductions
/// Computed in double whatever the storage precision. Real storage only (except CSum), else
/// `"<Function>: complex data not supported"`; index-range forms check the range first.
/// @{

/// The sum of the elements, by pairwise summation (error growing with log n); 0 when empty.
///
/// NaN/Inf: IEEE arithmetic (a NaN element, or +Inf with -Inf, gives NaN).
/// @param x  real vector or matrix, either precision.
/// @return   the sum.
/// @throws ELumexError "Sum: complex data not supported".
LUMEX_API double Sum(const TDenseLumex& x);
/// Range form of Sum: the sum of the len elements from x[index] on.
/// @param x      real vector or matrix.
/// @param index  first element (row-major for matrices).
/// @param len    number of elements.
/// @return       the sum; 0 for len = 0.
/// @throws ELumexError "Sum: index range out of bounds"; "Sum: complex data not supported".
LUMEX_API double Sum(const TDenseLumex& x, int index, int len);
/// The sum of the elements as a complex number; real storage gives a zero imaginary part.
/// @param x  any storage kind.
/// @return   the sum; 0 when empty.
LUMEX_API std::complex<double> CSum(const TDenseLumex& x);
/// The arithmetic mean, from a compensated sum.
///
/// Data far from zero keep their digits (NIST StRD NumAcc4), and n equal values give exactly
/// their value.
///
/// NaN/Inf: NaN for an empty object (also of complex storage); IEEE arithmetic otherwise.
/// @param x  real vector or matrix.
/// @return   the mean.
/// @throws ELumexError "Mean: complex data not supported".
LUMEX_API double Mean(const TDenseLumex& x);
/// Sample standard deviation (divisor n - 1) about the object's own mean.
///
/// The mean is Mean's; the squared deviations are summed with the corrected two-pass method.
///
/// NaN/Inf: NaN below two values (whatever the storage kind); a NaN or infinite element gives NaN.
/// @param x  real vector or matrix.
/// @return   the standard deviation.
/// @throws ELumexError "StdDev: complex data not supported".
LUMEX_API double StdDev(const TDenseLumex& x);
/// Sample standard deviation about a given mean: sqrt(sum (x - mean)^2 / (n - 1)).
///
/// NaN/Inf: NaN below two values (whatever the storage kind); NaN when mean or an element is NaN.
/// @param x     real vector or matrix.
/// @param mean  the centre.
/// @return      the standard deviation.
/// @throws ELumexError "StdDev: complex data not supported".
LUMEX_API double StdDev(const TDenseLumex& x, double mean);
/// The sum of squares of the elements, by pairwise summation; 0 when empty.
/// @param x  real vector or matrix.
/// @return   sum x[i]^2 (+Inf when it overflows).
/// @throws ELumexError "SumOfSquares: complex data not supported".
LUMEX_API double SumOfSquares(const TDenseLumex& x);
/// Range form of SumOfSquares over the len elements from x[index] on.
/// @param x      real vector or matrix.
/// @param index  first element.
/// @param len    number of elements.
/// @return       the sum of squares; 0 for len = 0.
/// @throws ELumexError "SumOfSquares: index range out of bounds";
///   "SumOfSquares: complex data not supported".
LUMEX_API double SumOfSquares(const TDenseLumex& x, int index, int len);
/// The product of the elements, a running product in double; 1 when empty.
///
/// NaN/Inf: no rescaling, so long products may overflow to +-Inf or underflow to 0.
/// @param x  real vector or matrix.
/// @return   the product.
/// @throws ELumexError "Product: complex data not supported".
LUMEX_API double Product(const TDenseLumex& x);
/// The dot product sum a[i] * b[i]; 0 when empty.
/// @param a, b  real objects of the same length and storage kind.
/// @return      the dot product.
/// @throws ELumexError "DotProd: lengths differ"; "DotProd: storage kinds differ";
///   "DotProd: complex data not supported".
LUMEX_API double DotProd(const TDenseLumex& a, const TDenseLumex& b);
/// The largest element.
///
/// NaN/Inf: NaN when x is empty or holds a NaN.
/// @param x  real vector or matrix.
/// @return   the maximum.
/// @throws ELumexError "Max: complex data not supported".
LUMEX_API double Max(const TDenseLumex& x);
/// The smallest element.
///
/// NaN/Inf: NaN when x is empty or holds a NaN.
/// @param x  real vector or matrix.
/// @return   the minimum.
/// @throws ELumexError "Min: complex data not supported".
LUMEX_API double Min(const TDenseLumex& x);
/// The largest element with the index of its first occurrence.
///
/// NaN/Inf: a NaN element gives NaN with the index of the first NaN; an empty object NaN and -1.
/// @param x           real vector or matrix.
/// @param[out] index  the position (row-major for matrices).
/// @return            the maximum.
/// @throws ELumexError "Max: complex data not supported".
LUMEX_API double Max(const TDenseLumex& x, int& index);
/// The smallest element with the index of its first occurrence; NaN and empty objects as in Max.
/// @param x           real vector or matrix.
/// @param[out] index  the position (row-major for matrices); -1 when empty.
/// @return            the minimum.
/// @throws ELumexError "Min: complex data not supported".
LUMEX_API double Min(const TDenseLumex& x, int& index);
/// The largest and the smallest element in one pass.
///
/// NaN/Inf: both NaN when x is empty or holds a NaN.
/// @param x         real vector or matrix.
/// @param[out] max  the maximum.
/// @param[out] min  the minimum.
/// @throws ELumexError "MaxMin: complex data not supported".
LUMEX_API void MaxMin(const TDenseLumex& x, double& max, double& min);
/// Range form of MaxMin over the len elements from x[index] on; both NaN for len = 0 or a NaN
/// element.
/// @param x         real vector or matrix.
/// @param index     first element.
/// @param len       number of elements.
/// @param[out] max  the maximum.
/// @param[out] min  the minimum.
/// @throws ELumexError "MaxMin: index range out of bounds"; "MaxMin: complex data not supported".
LUMEX_API void MaxMin(const TDenseLumex& x, int index, int len, double& max, double& min);
/// The median: the middle value, or the mean of the two middle values for an even count.
///
/// Selection on a copy, O(n); x is not changed.
///
/// NaN/Inf: NaN when x is empty (also of complex storage) or holds a NaN.
/// @param x  real vector or matrix.
/// @return   the median.
/// @throws ELumexError "Median: complex data not supported".
LUMEX_API double Median(const TDenseLumex& x);
/// The L1 norm sum |x[i]|, by pairwise summation; 0 when empty, NaN with a NaN element.
/// @param x  real vector or matrix.
/// @return   the norm.
/// @throws ELumexError "NormL1: complex data not supported".
LUMEX_API double NormL1(const TDenseLumex& x);
/// The Euclidean norm sqrt(SumOfSquares(x)); 0 when empty.
///
/// The squares are not rescaled: elements beyond about 1e154 give +Inf.
/// @param x  real vector or matrix.
/// @return   the norm.
/// @throws ELumexError "SumOfSquares: complex data not supported".
LUMEX_API double NormL2(const TDenseLumex& x);
/// The maximum norm, the largest |x[i]|; 0 when empty, NaN with a NaN element.
/// @param x  real vector or matrix.
/// @return   the norm.
/// @throws ELumexError "NormC: complex data not supported".
LUMEX_API double NormC(const TDenseLumex& x);
/// The Euclidean distance ||a - b||_2 (squares not rescaled).
/// @param a, b  real objects of the same length and storage kind.
/// @return      the distance; 0 when empty.
/// @throws ELumexError "NormL2: lengths differ"; "NormL2: storage kinds differ";
///   "NormL2: complex data not supported".
LUMEX_API double NormL2(const TDenseLumex& a, const TDenseLumex& b);
/// The exact sum of an integer vector, in 64 bits; 0 when empty.
/// @param x  the integers.
/// @return   the sum.
LUMEX_API long long Sum(const TVecInt& x);
/// The largest integer with the first index at which it occurs.
/// @param x           the integers.
/// @param[out] index  first index of the largest value.
/// @return            the largest value.
/// @throws ELumexError "Max: empty vector" when x is empty.
LUMEX_API int Max(const TVecInt& x, int& index);

/// @}

/// @name Ordering and selection
/// Real storage only (else `"<Function>: complex data not supported"`); values compare in
/// double. NaNs sort to the end, in their original order.
/// @{

/// Sorts ascending in place, NaNs at the end; -0 before +0.
///
/// From 4096 values on, a radix sort of the bit patterns (linear time), which takes a buffer of
/// x.Length() values; without memory for it, a comparison sort.
/// @param[in,out] x  real vector or matrix (row-major order).
/// @throws ELumexError "SortAscend: complex data not supported".
LUMEX_API void SortAscend(TDenseLumex& x);
/// Stable ascending sort with the permutation: perm[j] = the former position of the j-th
/// smallest element; NaNs at the end in their original order.
/// @param[in,out] x   real vector or matrix.
/// @param[out] perm   sized to x.Length().
/// @throws ELumexError "SortAscend: complex data not supported".
LUMEX_API void SortAscend(TDenseLumex& x, TVecInt& perm);
/// Sorts descending in place, NaNs at the end; +0 before -0 (as SortAscend, reversed).
/// @param[in,out] x  real vector or matrix.
/// @throws ELumexError "SortDescend: complex data not supported".
LUMEX_API void SortDescend(TDenseLumex& x);
/// Stable descending sort with the permutation (perm[j] = the former position of the j-th
/// largest element; equal values keep their order); NaNs at the end in their original order.
/// @param[in,out] x   real vector or matrix.
/// @param[out] perm   sized to x.Length().
/// @throws ELumexError "SortDescend: complex data not supported".
LUMEX_API void SortDescend(TDenseLumex& x, TVecInt& perm);
/// Orders the rows of a matrix by the values of column `col` (stable, NaNs last).
/// @param[in,out] m  real matrix.
/// @param col        the key column, 0 <= col < m.Cols().
/// @throws ELumexError "SortAscend: column index out of range";
///   "SortAscend: complex data not supported".
LUMEX_API void SortAscend(TMtx& m, int col);
/// Sorts an integer vector ascending in place.
/// @param[in,out] x  the integers.
LUMEX_API void SortAscend(TVecInt& x);

/// The first index i with x[i] equal to value (NaN finds the first NaN), or -1.
/// @param x      real vector or matrix (row-major index).
/// @param value  the value sought.
/// @return       the index, or -1 when absent.
/// @throws ELumexError "Find: complex data not supported".
LUMEX_API int Find(const TDenseLumex& x, double value);
/// The indexes of the elements of src satisfying `src[i] op value`, in increasing order.
///
/// op is one of "=", "<>", "<", "<=", ">", ">=". "=" also matches NaN to NaN ("<>" is its
/// negation); the order comparisons are false for NaN.
/// @param[out] dst  sized to the number of matches.
/// @param src       real vector or matrix.
/// @param op        the comparison text.
/// @param value     the value compared with.
/// @throws ELumexError `Find: unknown comparison "op"` (with the given text) for any other op;
///   "FindIndexes: complex data not supported".
LUMEX_API void FindIndexes(TVecInt& dst, const TDenseLumex& src, const std::string& op,
                           double value);
/// A mask of the comparison of FindIndexes: dst[i] = 1 where `src[i] op value` holds, else 0.
/// @param[out] dst  sized to src.Length().
/// @param src       real vector or matrix.
/// @param op        the comparison text, as in FindIndexes.
/// @param value     the value compared with.
/// @throws ELumexError `Find: unknown comparison "op"`; "FindMask: complex data not supported".
LUMEX_API void FindMask(TVecInt& dst, const TDenseLumex& src, const std::string& op, double value);
/// The elements of src satisfying the comparison of FindIndexes, in order.
/// @param[out] dst  sized to the number of matches, in the storage kind of src.
/// @param src       real vector or matrix.
/// @param op        the comparison text, as in FindIndexes.
/// @param value     the value compared with.
/// @throws ELumexError `Find: unknown comparison "op"`;
///   "FindIndexes: complex data not supported".
LUMEX_API void FindAndGather(TVec& dst, const TDenseLumex& src, const std::string& op,
                             double value);
/// Gathers elements by index: dst[k] := src[index[k]]; any storage kind.
/// @param[out] dst  sized to index.Length() in the storage kind of src.
/// @param src       vector or matrix (row-major index).
/// @param index     positions into src, each checked before anything is written.
/// @throws ELumexError "GatherByIndex: index out of range" when an index is negative or
///   >= src.Length().
LUMEX_API void GatherByIndex(TVec& dst, const TDenseLumex& src, const TVecInt& index);
/// Replaces the elements equal to `value` within `tolerance` by `replacement`.
///
/// An element matches when |x[i] - value| <= tolerance * |value| (tolerance itself for
/// value = 0); infinities are matched exactly. A NaN value matches nothing, so NaN elements are
/// never replaced.
/// @param[in,out] x     real vector or matrix.
/// @param value         the value replaced.
/// @param replacement   the new value.
/// @param tolerance     relative tolerance (absolute for value = 0); 0 asks for equality.
/// @throws ELumexError "Replace: complex data not supported".
LUMEX_API void Replace(TDenseLumex& x, double value, double replacement, double tolerance = 0.0);

/// @}

/// @name Running sums and differences
/// @{

/// Cumulative sum: dst[i] := x[0] + ... + x[i], accumulated in double.
/// @param[out] dst  sized like x.
/// @param x         real vector.
/// @throws ELumexError "CumSum: complex data not supported".
LUMEX_API void CumSum(TVec& dst, const TVec& x);
/// Lagged differences: dst[i] := x[i + lag] - x[i].
/// @param[out] dst  Length - lag elements (none when lag >= Length), in the storage kind of x.
/// @param x         real vector.
/// @param lag       the lag, >= 1.
/// @throws ELumexError "Difference: lag < 1"; "Difference: complex data not supported".
LUMEX_API void Difference(TVec& dst, const TVec& x, int lag = 1);

/// @}

}  // namespace lumex
