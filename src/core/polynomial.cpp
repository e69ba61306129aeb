// Roots of real polynomials and piecewise polynomials.
#include "lumex/core/polynomial.h"

#include <Eigen/Core>
#include <unsupported/Eigen/Polynomials>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <utility>
#include <vector>

namespace lumex {

namespace {

template <class C>
void WriteRoots(TVec& roots, const std::vector<std::complex<double>>& values) {
  const auto n = static_cast<int>(values.size());
  for (int i = 0; i < n; ++i) {
    roots.Data<C>()[i] = C(values[static_cast<std::size_t>(i)]);
  }
}

}  // namespace

void PolyRoots(TVec& roots, const TVec& coefficients) {
  if (coefficients.Complex()) ERaise("PolyRoots: complex coefficients not supported");
  const TMtxFloatPrecision precision = coefficients.FloatPrecision();
  const int len = coefficients.Length();
  // Leading zeros do not count towards the degree.
  int first = 0;
  while (first < len && coefficients.Value(first) == 0.0) ++first;
  const int degree = std::max(0, len - first - 1);
  std::vector<std::complex<double>> values;
  values.reserve(static_cast<std::size_t>(degree));

  bool finite = true;
  for (int i = first; i < len; ++i) finite = finite && std::isfinite(coefficients.Value(i));
  if (!finite) {
    values.assign(static_cast<std::size_t>(degree), std::complex<double>(NaN, NaN));
  } else if (degree > 0) {
    // Trailing zeros are factors x: exact roots 0, which the eigenvalue solver would only
    // approximate.
    int last = len - 1;
    while (coefficients.Value(last) == 0.0) --last;
    const int zeros = len - 1 - last;
    const int reduced = last - first;  // degree after removing the factors x
    if (reduced == 1) {
      values.emplace_back(-coefficients.Value(last) / coefficients.Value(first), 0.0);
    } else if (reduced > 1) {
      // Eigen's solver takes the coefficients lowest power first; it forms the companion
      // matrix of the monic polynomial, balances it and takes its eigenvalues, then turns a
      // root real when dropping its tiny imaginary part does not make |p| larger.
      Eigen::VectorXd poly(reduced + 1);
      for (int i = 0; i <= reduced; ++i) poly[i] = coefficients.Value(last - i);
      Eigen::PolynomialSolver<double, Eigen::Dynamic> solver(poly);
      const auto& r = solver.roots();
      for (Eigen::Index i = 0; i < r.size(); ++i) values.push_back(r[i]);
    }
    values.insert(values.end(), static_cast<std::size_t>(zeros), std::complex<double>(0.0, 0.0));
  }

  roots.Size(static_cast<int>(values.size()), precision, true);
  if (precision == fpDouble) {
    WriteRoots<std::complex<double>>(roots, values);
  } else {
    WriteRoots<std::complex<float>>(roots, values);
  }
}

// ---- TPiecePoly --------------------------------------------------------------------------------

void TPiecePoly::Set(TVec breaks, TMtx coefficients, double lastValue) {
  fBreaks = std::move(breaks);
  fCoefficients = std::move(coefficients);
  fLastValue = lastValue;
}

// The piece for x: the last j with Breaks[j] <= x, kept inside 0 .. Pieces()-1. With a hint
// (the previous point's piece) the search walks forward from it.
int TPiecePoly::FindPiece(double x, int hint) const {
  const int pieces = Pieces();
  const double* b = fBreaks.Data<double>();
  if (hint >= 0 && (hint == 0 || b[hint] <= x)) {
    int j = hint;
    while (j + 1 < pieces && b[j + 1] <= x) ++j;
    return j;
  }
  return static_cast<int>(std::upper_bound(b + 1, b + pieces, x) - (b + 1));
}

double TPiecePoly::Evaluate(double x) const {
  if (Pieces() == 0) ERaise("Evaluate: empty polynomial");
  if (std::isnan(x)) return NaN;
  if (x == fBreaks[Pieces()]) return fLastValue;
  const int j = FindPiece(x, -1);
  const double t = x - fBreaks[j];
  const double* c = fCoefficients.Data<double>() + static_cast<std::ptrdiff_t>(j) * Order();
  double v = c[0];
  for (int i = 1; i < Order(); ++i) v = v * t + c[i];
  return v;
}

void TPiecePoly::Evaluate(const TDenseLumex& x, TVec& y) const {
  if (x.Complex()) ERaise("Evaluate: complex data not supported");
  if (Pieces() == 0) ERaise("Evaluate: empty polynomial");
  const int n = x.Length();
  const int order = Order();
  const double* b = fBreaks.Data<double>();
  const double* coef = fCoefficients.Data<double>();
  const double lastBreak = b[Pieces()];
  // Computed into a local buffer first: y may be the same object as x.
  std::vector<double> out(static_cast<std::size_t>(n));
  int hint = 0;
  for (int i = 0; i < n; ++i) {
    const double xi = x.Value(i);
    double v;
    if (std::isnan(xi)) {
      v = NaN;
    } else if (xi == lastBreak) {
      v = fLastValue;
    } else {
      const int j = FindPiece(xi, fValuesSorted ? hint : -1);
      hint = j;
      const double t = xi - b[j];
      const double* c = coef + static_cast<std::ptrdiff_t>(j) * order;
      v = c[0];
      for (int k = 1; k < order; ++k) v = v * t + c[k];
    }
    out[static_cast<std::size_t>(i)] = v;
  }
  y.Size(n, x.FloatPrecision());
  for (int i = 0; i < n; ++i) y.SetValue(i, out[static_cast<std::size_t>(i)]);
}

void Linear1D(const TVec& x, const TVec& y, TPiecePoly& pp) {
  if (x.Complex() || y.Complex()) ERaise("Linear1D: complex data not supported");
  if (x.Length() != y.Length()) ERaise("Linear1D: x and y lengths differ");
  const int n = x.Length();
  if (n == 0) ERaise("Linear1D: no points");
  for (int i = 0; i < n; ++i) {
    if (!std::isfinite(x.Value(i)) || !std::isfinite(y.Value(i))) {
      ERaise("Linear1D: x or y not finite");
    }
  }
  for (int i = 1; i < n; ++i) {
    if (x.Value(i) < x.Value(i - 1)) ERaise("Linear1D: x is not ascending");
  }
  const int pieces = std::max(1, n - 1);
  TVec breaks(pieces + 1);
  TMtx coefficients(pieces, 2);
  if (n == 1) {
    breaks[0] = breaks[1] = x.Value(0);
    coefficients(0, 1) = y.Value(0);
  } else {
    for (int i = 0; i < n; ++i) breaks[i] = x.Value(i);
    for (int j = 0; j < pieces; ++j) {
      const double dx = x.Value(j + 1) - x.Value(j);
      if (dx > 0) {
        // Written as y[j] + slope (x - x[j]), so the value at x[j] is y[j] exactly.
        coefficients(j, 0) = (y.Value(j + 1) - y.Value(j)) / dx;
        coefficients(j, 1) = y.Value(j);
      } else {
        // A piece of width zero is a jump. It is never chosen inside the range (the next piece
        // starts at the same break), only when it is the last piece, for points above the last
        // break: there it continues the last value.
        coefficients(j, 0) = 0.0;
        coefficients(j, 1) = y.Value(j + 1);
      }
    }
  }
  pp.Set(std::move(breaks), std::move(coefficients), y.Value(n - 1));
}

}  // namespace lumex
