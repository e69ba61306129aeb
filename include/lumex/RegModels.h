// The RegModels module: ready-made regression models. For each model shape it evaluates the
// model (at one point, or elementwise over a vector), for some shapes gives the derivatives
// with respect to the parameters, and fits the parameters in closed form by transforming the
// data into a straight-line or multiple-linear problem (LinRegress, MulLinRegress). The fits
// are least squares on the transformed scale, not on the original one: use them directly or
// as starting values for NLinRegress.
//
// Coefficients B come as a span of doubles or as a TVec; element i is B[i] either way. The
// evaluation and derivative functions compute the formulas below and check only that B (or X)
// has the elements they read: a non-positive x in the power and logarithmic models or a zero
// denominator of the rational model give the floating-point result (NaN, +-Inf).
//
//   line              y = B[0] + B[1] x
//   power             y = B[0] x^B[1]
//   exponential       y = B[0] exp(B[1] x)
//   logarithmic       y = B[0] + B[1] ln x
//   logistic          y = B[0] + (B[1] - B[0]) / (1 + exp(B[3] - B[2] x))   (FourParam true)
//                     y = B[1] / (1 + exp(B[3] - B[2] x))                    (FourParam false)
//   rational          y = (B[0] + B[1] x + .. + B[k] x^k) / (1 + B[k+1] x + .. + B[m] x^(m-k)),
//                     k = NumDegree, m the last index of B
//   multiple linear   y = (B[0] if Constant, else 0) + sum_{i>=1} B[i] X[i]
//
// The vector forms size Y like X, in X's storage precision.
#pragma once

#include <cstdint>
#include <span>

#include "lumex/Regress.h"
#include "lumex/core/core.h"

namespace lumex {

/// The model shapes of this module (rmPoly has no functions here; no function takes this
/// enumeration, it names the shapes for applications).
enum TRegressionModel : std::uint8_t {
  rmLine,
  rmPower,
  rmPoly,
  rmExp,
  rmMulLi,
  rmLogistic,
  rmFrac,
  rmLn
};

// ---- Evaluation -------------------------------------------------------------------------------
// Each raises "<Name>: B.Length < <count>" when B has fewer coefficients than the model reads.

/// Straight line B[0] + B[1] x at one point.
LUMEX_API double LineEval(std::span<const double> B, double X);
/// Straight line at every element of X into Y.
LUMEX_API void LineEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Straight line at every element of X into Y, coefficients in a vector.
LUMEX_API void LineEval(const TVec& B, const TVec& X, TVec& Y);

/// Power B[0] x^B[1] at one point (std::pow: a negative x with a non-integer exponent is NaN).
LUMEX_API double PowerEval(std::span<const double> B, double X);
/// Power model at every element of X into Y.
LUMEX_API void PowerEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Power model at every element of X into Y, coefficients in a vector.
LUMEX_API void PowerEval(const TVec& B, const TVec& X, TVec& Y);

/// Exponential B[0] exp(B[1] x) at one point.
LUMEX_API double ExpEval(std::span<const double> B, double X);
/// Exponential model at every element of X into Y.
LUMEX_API void ExpEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Exponential model at every element of X into Y, coefficients in a vector.
LUMEX_API void ExpEval(const TVec& B, const TVec& X, TVec& Y);

/// Logarithmic B[0] + B[1] ln x at one point (x <= 0 gives NaN or -Inf terms).
LUMEX_API double LnEval(std::span<const double> B, double X);
/// Logarithmic model at every element of X into Y.
LUMEX_API void LnEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Logarithmic model at every element of X into Y, coefficients in a vector.
LUMEX_API void LnEval(const TVec& B, const TVec& X, TVec& Y);

/// Logistic curve at one point: four parameters (lower asymptote B[0], upper B[1], rate B[2],
/// location B[3] / B[2]) when FourParam is true; with FourParam false the lower asymptote is 0
/// and B[0] is not read (B still needs 4 elements).
LUMEX_API double LogisticEval(std::span<const double> B, double X, bool FourParam);
/// Logistic curve at every element of X into Y.
LUMEX_API void LogisticEval(std::span<const double> B, const TVec& X, TVec& Y, bool FourParam);
/// Logistic curve at every element of X into Y, coefficients in a vector.
LUMEX_API void LogisticEval(const TVec& B, const TVec& X, TVec& Y, bool FourParam);

/// Rational function at one point: numerator B[0..k] by Horner (k = NumDegree), denominator
/// 1 + B[k+1] x + .. + B[m] x^(m-k). Constant is not read (FracFit's layout always has the
/// numerator's constant term first). Raises "FracEval: NumDegree < 0" and
/// "FracEval: NumDegree > B.Length - 1".
LUMEX_API double FracEval(std::span<const double> B, double X, int NumDegree, bool Constant);
/// Rational function at one point, coefficients in a vector (of either precision).
LUMEX_API double FracEval(const TVec& B, double X, int NumDegree, bool Constant);
/// Rational function at every element of X into Y.
LUMEX_API void FracEval(std::span<const double> B, const TVec& X, TVec& Y, int NumDegree,
                        bool Constant);
/// Rational function at every element of X into Y, coefficients in a vector.
LUMEX_API void FracEval(const TVec& B, const TVec& X, TVec& Y, int NumDegree, bool Constant);

/// Multiple linear model for one observation: (B[0] if Constant, else 0) + sum_{i=1..m}
/// B[i] X[i], m the last index of B. X is indexed like B, so X[0] is never read.
/// Raises "MulLinEval: X.Length < B.Length".
LUMEX_API double MulLinEval(std::span<const double> B, const TVec& X, bool Constant);
/// Multiple linear model for every row of X: Y = D B, D being [1 | X] with Constant and X
/// without; Y has X.Rows elements in X's precision. Raises "MulLinEval: B.Length <> X.Cols + 1"
/// (Constant) or "MulLinEval: B.Length <> X.Cols".
LUMEX_API void MulLinEval(std::span<const double> B, const TMtx& X, TVec& Y, bool Constant);

// ---- Derivatives with respect to the parameters -----------------------------------------------
// Grad is sized to 2 elements. Y is the model value at X for Pars (the derivatives of these
// shapes are expressed through it); RegressFun is not called and may be empty. To use them as a
// TDeriveProc of NLinRegress, wrap them in a lambda that passes the TVec's values as the span.

/// Line: Grad = (1, X), in FloatPrecision.
LUMEX_API void LineDeriv(const TRegressFun& RegressFun, double X, double Y,
                         std::span<const double> Pars, TVec& Grad,
                         TMtxFloatPrecision FloatPrecision);
/// Exponential: Grad = (Y / Pars[0], Y X), in FloatPrecision. Raises
/// "ExpDeriv: Pars.Length < 1".
LUMEX_API void ExpDeriv(const TRegressFun& RegressFun, double X, double Y,
                        std::span<const double> Pars, TVec& Grad,
                        TMtxFloatPrecision FloatPrecision);
/// Power: Grad = (Y / Pars[0], Y ln X), keeping Grad's own precision. Raises
/// "PowerDeriv: Pars.Length < 1".
LUMEX_API void PowerDeriv(const TRegressFun& RegressFun, double X, double Y,
                          std::span<const double> Pars, TVec& Grad);

// ---- Linearising fits -------------------------------------------------------------------------
// B is the output (sized by the fit, in X's precision); Weights may be null, otherwise one
// weight per observation. Errors of LinRegress and MulLinRegress pass through unchanged.

/// Straight line y = B[0] + B[1] x by (weighted) least squares: LinRegress with a constant.
LUMEX_API void LineFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Power model y = B[0] x^B[1] from the line ln y = ln B[0] + B[1] ln x through the points with
/// x > 0 and y > 0; B[0] is exp of the intercept. Without Weights the line is unweighted; with
/// Weights its weights are Weights y^2, which makes the log-scale residuals approximate the
/// weighted residuals of the original scale. With no point selected, B is left as it was.
/// Raises std::runtime_error (not ELumexError) "X.Lenght <> Y.Length" and
/// "X.Lenght <> Y.FloatPrecision" (spelled so), then "PowerFit: Weights.Length <> X.Length".
LUMEX_API void PowerFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Exponential model y = B[0] exp(B[1] x) from the line ln y = ln B[0] + B[1] x through the
/// points with y > 0; with Weights, the weights Weights y^2. With no y > 0, B is left as it was.
/// Raises "X.Length <> Y.Length", then "ExpFit: Weights.Length <> Y.Length".
LUMEX_API void ExpFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Logarithmic model y = B[0] + B[1] ln x: the line of y on ln x through the points with x > 0,
/// with the selected Weights as they are (y is not transformed, so no y^2 factor). With no
/// x > 0, B is left as it was. Raises "X.Lenght <> Y.Length" (spelled so), then
/// "LnFit: Weights.Length <> X.Length".
LUMEX_API void LnFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Logistic curve: the first and last observations fix the asymptotes (B[0] = Y[0] with
/// FourParam, else 0; B[1] = Y[n-1]), so Y must run from one asymptote to the other in the
/// order of X. The inner observations 1 .. n-2 give the line z = B[3] - B[2] x of
/// z = ln(R / (y - B[0]) - 1), R = B[1] - B[0], weighted by Weights ((y - B[0])(y - B[1]) / R)^2
/// when Weights is given. Inner responses outside the band between the asymptotes make z NaN
/// (no check), and the coefficients NaN. Raises, in this order,
/// "LogisticFit: X.Length <> Y.Length", "LogisticFit: X.FloatPrecision <> Y.FloatPrecision",
/// "LogisticFit: X.Length < 3" and "LogisticFit: Weights.Length <> X.Length".
LUMEX_API void LogisticFit(TVec& B, const TVec& X, const TVec& Y, bool FourParam,
                           const TVec* Weights);

/// Rational function of numerator degree p = NumDegree and denominator degree q = DenDegree
/// from the linearisation y = c0 + sum c_i x^i - y sum d_j x^j, solved by MulLinRegress
/// (regSolveLQR) on the columns x .. x^p, -x y .. -x^q y. B = (c0, c1 .. c_p, d1 .. d_q), the
/// layout FracEval reads with NumDegree = p; with Constant false c0 is not fitted and B[0] = 0.
/// Raises, in this order, "FracFit: X.Lenght <> Y.Length" (spelled so),
/// "FracFit: X.FloatPrecision <> Y.FloatPrecision", "FracFit: NumDegree < 0",
/// "FracFit: DenDegree < 0"; MulLinRegress's errors then pass, for example
/// "MulLinRegress : LQRSolve: matrix is rank deficient" (unweighted) for too few points.
LUMEX_API void FracFit(TVec& B, const TVec& X, const TVec& Y, int NumDegree, int DenDegree,
                       bool Constant, const TVec* Weights);

/// Multiple linear model: MulLinRegress(Y, X, B, [Weights,] Constant) with regSolveLQR; B holds
/// the intercept first when Constant, then one coefficient per column of X. R's lm(Y ~ X).
LUMEX_API void MulLinFit(TVec& B, const TMtx& X, const TVec& Y, bool Constant,
                         const TVec* Weights);

}  // namespace lumex
