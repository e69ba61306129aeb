// Polynomials: the roots of a real polynomial, and piecewise polynomials with piecewise-linear
// interpolation.
//
// Coefficients are listed highest power first throughout: {c0, c1, ..., cn} is
// c0 x^n + c1 x^(n-1) + ... + cn.
#pragma once

#include "lumex/core/containers.h"

namespace lumex {

// All complex roots of the real polynomial `coefficients` (highest power first), as the
// eigenvalues of its companion matrix, balanced first (Parlett-Reinsch), so that roots of very
// different magnitudes keep their relative accuracy. Leading zero coefficients are dropped (they
// lower the degree), and each trailing zero coefficient gives an exact root 0. A root is
// returned real (imaginary part exactly 0) when the polynomial is no larger there than at the
// computed complex value. `roots` is a complex vector of the degree's length in the precision
// of `coefficients` (a constant or all-zero polynomial gives an empty vector); the order is
// that of the eigenvalue solver, not sorted. A NaN or infinite coefficient gives NaN roots.
// Raises "PolyRoots: complex coefficients not supported".
LUMEX_API void PolyRoots(TVec& roots, const TVec& coefficients);

// A piecewise polynomial: pieces j = 0 .. Pieces()-1 on [Breaks[j], Breaks[j+1]), piece j being
// sum_i Coefficients(j, i) (x - Breaks[j])^(Order()-1-i) (local variable, highest power first).
// Below the first break the first piece is extended, above the last break the last one.
class LUMEX_API TPiecePoly {
public:
  TPiecePoly() = default;

  int Pieces() const noexcept { return fCoefficients.Rows(); }
  int Order() const noexcept { return fCoefficients.Cols(); }
  const TVec& Breaks() const noexcept { return fBreaks; }
  const TMtx& Coefficients() const noexcept { return fCoefficients; }

  // A hint that the points given to Evaluate come in ascending order. The evaluation then
  // walks the breaks once alongside the points (O(points + pieces)) instead of searching the
  // breaks for each point (O(points log pieces)). The result is the same either way: a point
  // below its predecessor is simply searched for.
  void SetValuesSorted(bool sorted) noexcept { fValuesSorted = sorted; }
  bool ValuesSorted() const noexcept { return fValuesSorted; }

  // The value at x; NaN for NaN x. At a break the piece starting there is used, and at the last
  // break the value is the one the piecewise function was built to take there (for Linear1D,
  // the last y exactly).
  double Evaluate(double x) const;
  // y[i] := the value at x[i]; y is sized like x (vector, either real precision, computed in
  // double). Raises "Evaluate: complex data not supported" and "Evaluate: empty polynomial".
  void Evaluate(const TDenseLumex& x, TVec& y) const;

  // Replaces the polynomial. breaks: Pieces() + 1 non-decreasing values; coefficients:
  // Pieces() x order, highest power first; lastValue: the value at the last break. Used by the
  // constructors below.
  void Set(TVec breaks, TMtx coefficients, double lastValue);

private:
  int FindPiece(double x, int hint) const;
  TVec fBreaks;
  TMtx fCoefficients;
  double fLastValue = NaN;
  bool fValuesSorted = false;
};

// The piecewise-linear interpolant through the points (x[i], y[i]): piece j joins point j to
// point j + 1, so the function takes y[i] exactly at x[i]. x must be non-decreasing; at a
// repeated x the function jumps, and takes there the y of the last point with that x (the
// function is continuous from the right, as a distribution function is). A single point gives
// the constant y[0]. x and y are real vectors of either precision.
// Raises "Linear1D: x and y lengths differ", "Linear1D: no points",
// "Linear1D: x is not ascending", "Linear1D: complex data not supported" and
// "Linear1D: x or y not finite".
LUMEX_API void Linear1D(const TVec& x, const TVec& y, TPiecePoly& pp);

}  // namespace lumex
