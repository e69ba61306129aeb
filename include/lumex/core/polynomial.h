/// @file
/// Polynomials: the roots of a real polynomial, and piecewise polynomials with piecewise-linear
/// interpolation.
///
/// Coefficients are listed highest power first throughout: {c0, c1, ..., cn} is
/// c0 x^n + c1 x^(n-1) + ... + cn.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

/// All complex roots of a real polynomial.
///
/// The roots are the eigenvalues of the companion matrix, balanced first (Parlett-Reinsch), so
/// that roots of very different magnitudes keep their relative accuracy. Leading zero
/// coefficients are dropped (they lower the degree), and each trailing zero coefficient gives an
/// exact root 0; a reduced polynomial of degree 1 is solved directly. A root is returned real
/// (imaginary part exactly 0) when the polynomial is no larger there than at the computed
/// complex value.
/// @param[out] roots     a complex vector of the degree's length in the precision of
///                       `coefficients` (a constant or all-zero polynomial gives an empty
///                       vector); the order is that of the eigenvalue solver, not sorted.
/// @param coefficients   real coefficients of either precision, highest power first.
/// @throws ELumexError "PolyRoots: complex coefficients not supported".
///
/// NaN/Inf: a NaN or infinite coefficient (after the leading zeros) gives degree-many NaN
/// roots.
LUMEX_API void PolyRoots(TVec& roots, const TVec& coefficients);

/// A piecewise polynomial.
///
/// Pieces j = 0 .. Pieces()-1 lie on [Breaks[j], Breaks[j+1]), piece j being
/// sum_i Coefficients(j, i) (x - Breaks[j])^(Order()-1-i) (local variable, highest power
/// first). Below the first break the first piece is extended, above the last break the last one.
/// Linear1D builds one.
class LUMEX_API TPiecePoly {
public:
  /// An empty polynomial (no pieces); Evaluate raises until Set or Linear1D fills it.
  TPiecePoly() = default;

  /// Number of pieces.
  /// @return the rows of Coefficients().
  int Pieces() const noexcept { return fCoefficients.Rows(); }
  /// Order of the pieces: the number of coefficients of each, the degree plus one.
  /// @return the columns of Coefficients().
  int Order() const noexcept { return fCoefficients.Cols(); }
  /// The breaks.
  /// @return Pieces() + 1 non-decreasing values (real double).
  const TVec& Breaks() const noexcept { return fBreaks; }
  /// The coefficients of the pieces.
  /// @return a Pieces() x Order() real double matrix, row j the local coefficients of piece j,
  ///         highest power first.
  const TMtx& Coefficients() const noexcept { return fCoefficients; }

  /// A hint that the points given to Evaluate come in ascending order.
  ///
  /// The evaluation then walks the breaks once alongside the points (O(points + pieces))
  /// instead of searching the breaks for each point (O(points log pieces)). The result is the
  /// same either way: a point below its predecessor is simply searched for.
  /// @param sorted  true when the points are expected in ascending order.
  void SetValuesSorted(bool sorted) noexcept { fValuesSorted = sorted; }
  /// Whether the sorted-points hint is set.
  /// @return the value last given to SetValuesSorted (false by default).
  bool ValuesSorted() const noexcept { return fValuesSorted; }

  /// The value at x.
  ///
  /// At a break the piece starting there is used, and at the last break the value is the one
  /// the piecewise function was built to take there (for Linear1D, the last y exactly).
  /// @param x  the point.
  /// @return   the value, by Horner's rule in the local variable of the piece.
  /// @throws ELumexError "Evaluate: empty polynomial".
  ///
  /// NaN/Inf: NaN for NaN x; an infinite x is evaluated on the extended end piece, giving
  /// +-Inf, or NaN where a zero coefficient multiplies it.
  double Evaluate(double x) const;
  /// Vector form of Evaluate: y[i] := the value at x[i], computed in double.
  /// @param x       the points: a real vector or matrix of either precision, read in element
  ///                order.
  /// @param[out] y  sized to x.Length() elements, real, in the precision of x; may be x.
  /// @throws ELumexError "Evaluate: complex data not supported", then
  ///   "Evaluate: empty polynomial".
  ///
  /// NaN/Inf: as the scalar form, element by element.
  void Evaluate(const TDenseLumex& x, TVec& y) const;

  /// Replaces the polynomial; used by the constructors such as Linear1D.
  ///
  /// The arguments are taken as they are (not checked).
  /// @param breaks        Pieces() + 1 non-decreasing values, real double.
  /// @param coefficients  Pieces() x order, real double, highest power first.
  /// @param lastValue     the value at the last break.
  void Set(TVec breaks, TMtx coefficients, double lastValue);

private:
  int FindPiece(double x, int hint) const;
  TVec fBreaks;
  TMtx fCoefficients;
  double fLastValue = NaN;
  bool fValuesSorted = false;
};

/// The piecewise-linear interpolant through the points (x[i], y[i]).
///
/// Piece j joins point j to point j + 1, so the function takes y[i] exactly at x[i]. At a
/// repeated x the function jumps, and takes there the y of the last point with that x (the
/// function is continuous from the right, as a distribution function is). A single point gives
/// the constant y[0]. Outside [x[0], x[n-1]] the end pieces are extended; one of zero width
/// (a repeated end abscissa) extends as a constant.
/// @param x        the abscissae, non-decreasing; a real vector of either precision.
/// @param y        the ordinates, as many as x; a real vector of either precision.
/// @param[out] pp  receives max(1, n - 1) pieces of order 2.
/// @throws ELumexError "Linear1D: complex data not supported",
///   "Linear1D: x and y lengths differ", "Linear1D: no points",
///   "Linear1D: x or y not finite", then "Linear1D: x is not ascending".
LUMEX_API void Linear1D(const TVec& x, const TVec& y, TPiecePoly& pp);

}  // namespace lumex
