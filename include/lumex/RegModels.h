/// @file
/// The RegModels module: ready-made regression models.
///
/// For each model shape it evaluates the model (at one point, or elementwise over a vector),
/// for some shapes gives the derivatives with respect to the parameters, and fits the
/// parameters in closed form by transforming the data into a straight-line or multiple-linear
/// problem (LinRegress, MulLinRegress). The fits are least squares on the transformed scale,
/// not on the original one: use them directly or as starting values for NLinRegress.
///
/// Coefficients B come as a span of doubles or as a TVec; element i is B[i] either way. The
/// evaluation and derivative functions compute the formulas below and check only that B (or X)
/// has the elements they read: a non-positive x in the power and logarithmic models or a zero
/// denominator of the rational model give the floating-point result (NaN, +-Inf).
///
///     line              y = B[0] + B[1] x
///     power             y = B[0] x^B[1]
///     exponential       y = B[0] exp(B[1] x)
///     logarithmic       y = B[0] + B[1] ln x
///     logistic          y = B[0] + (B[1] - B[0]) / (1 + exp(B[3] - B[2] x))   (FourParam true)
///                       y = B[1] / (1 + exp(B[3] - B[2] x))                    (FourParam false)
///     rational          y = (B[0] + B[1] x + .. + B[k] x^k) / (1 + B[k+1] x + .. + B[m] x^(m-k)),
///                       k = NumDegree, m the last index of B
///     multiple linear   y = (B[0] if Constant, else 0) + sum_{i>=1} B[i] X[i]
///
/// The vector forms size Y like X, in X's storage precision (the formula is evaluated in
/// double, so the scalar and vector forms agree); X and Y may be the same object.
#pragma once

#include <cstdint>
#include <span>

#include "lumex/Regress.h"
#include "lumex/core/core.h"

namespace lumex {

/// The model shapes of this module.
///
/// No function takes this enumeration: it names the shapes for applications.
enum TRegressionModel : std::uint8_t {
  rmLine,      ///< straight line (LineEval, LineFit)
  rmPower,     ///< power (PowerEval, PowerFit)
  rmPoly,      ///< polynomial (no functions in this module)
  rmExp,       ///< exponential (ExpEval, ExpFit)
  rmMulLi,     ///< multiple linear (MulLinEval, MulLinFit)
  rmLogistic,  ///< logistic curve (LogisticEval, LogisticFit)
  rmFrac,      ///< rational function (FracEval, FracFit)
  rmLn         ///< logarithmic (LnEval, LnFit)
};

/// @name Evaluation
/// Each raises "<Name>: B.Length < <count>" (for example "LineEval: B.Length < 2") when B has
/// fewer coefficients than the model reads.
/// @{

/// Straight line B[0] + B[1] x at one point.
///
/// @param B  the coefficients (intercept, slope), at least 2.
/// @param X  the point.
/// @return the model value.
/// @throws ELumexError "LineEval: B.Length < 2".
LUMEX_API double LineEval(std::span<const double> B, double X);
/// Vector form of LineEval: the straight line at every element of X.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void LineEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Vector form of LineEval with the coefficients in a TVec.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void LineEval(const TVec& B, const TVec& X, TVec& Y);

/// Power model B[0] x^B[1] at one point.
///
/// Computed with std::pow: a negative x with a non-integer exponent is NaN.
/// @param B  the coefficients (scale, exponent), at least 2.
/// @param X  the point.
/// @return the model value.
/// @throws ELumexError "PowerEval: B.Length < 2".
LUMEX_API double PowerEval(std::span<const double> B, double X);
/// Vector form of PowerEval: the power model at every element of X.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void PowerEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Vector form of PowerEval with the coefficients in a TVec.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void PowerEval(const TVec& B, const TVec& X, TVec& Y);

/// Exponential model B[0] exp(B[1] x) at one point.
///
/// @param B  the coefficients (scale, rate), at least 2.
/// @param X  the point.
/// @return the model value (+Inf on overflow).
/// @throws ELumexError "ExpEval: B.Length < 2".
LUMEX_API double ExpEval(std::span<const double> B, double X);
/// Vector form of ExpEval: the exponential model at every element of X.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void ExpEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Vector form of ExpEval with the coefficients in a TVec.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void ExpEval(const TVec& B, const TVec& X, TVec& Y);

/// Logarithmic model B[0] + B[1] ln x at one point.
///
/// @param B  the coefficients (intercept, slope on ln x), at least 2.
/// @param X  the point, > 0 (x <= 0 gives NaN or -Inf terms).
/// @return the model value.
/// @throws ELumexError "LnEval: B.Length < 2".
LUMEX_API double LnEval(std::span<const double> B, double X);
/// Vector form of LnEval: the logarithmic model at every element of X.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void LnEval(std::span<const double> B, const TVec& X, TVec& Y);
/// Vector form of LnEval with the coefficients in a TVec.
///
/// @param B       the coefficients, at least 2.
/// @param X       the points.
/// @param[out] Y  the model values, sized like X.
LUMEX_API void LnEval(const TVec& B, const TVec& X, TVec& Y);

/// Logistic curve at one point.
///
/// Four parameters: lower asymptote B[0], upper B[1], rate B[2], location B[3] / B[2].
/// @param B          the coefficients, at least 4 (also with FourParam false, where B[0] is
///                   not read).
/// @param X          the point.
/// @param FourParam  true: the four-parameter curve; false: the lower asymptote is 0.
/// @return the model value.
/// @throws ELumexError "LogisticEval: B.Length < 4".
LUMEX_API double LogisticEval(std::span<const double> B, double X, bool FourParam);
/// Vector form of LogisticEval: the logistic curve at every element of X.
///
/// @param B          the coefficients, at least 4.
/// @param X          the points.
/// @param[out] Y     the model values, sized like X.
/// @param FourParam  true: the four-parameter curve; false: the lower asymptote is 0.
LUMEX_API void LogisticEval(std::span<const double> B, const TVec& X, TVec& Y, bool FourParam);
/// Vector form of LogisticEval with the coefficients in a TVec.
///
/// @param B          the coefficients, at least 4.
/// @param X          the points.
/// @param[out] Y     the model values, sized like X.
/// @param FourParam  true: the four-parameter curve; false: the lower asymptote is 0.
LUMEX_API void LogisticEval(const TVec& B, const TVec& X, TVec& Y, bool FourParam);

/// Rational function at one point.
///
/// Numerator B[0..k] by Horner (k = NumDegree), denominator 1 + B[k+1] x + .. + B[m] x^(m-k),
/// the layout of FracFit (which always puts the numerator's constant term first).
/// @param B          the coefficients: numerator, then denominator.
/// @param X          the point.
/// @param NumDegree  k, the numerator degree, 0 .. B.Length - 1.
/// @param Constant   not read.
/// @return the model value; a zero denominator gives +-Inf or NaN.
/// @throws ELumexError "FracEval: NumDegree < 0", then "FracEval: NumDegree > B.Length - 1".
LUMEX_API double FracEval(std::span<const double> B, double X, int NumDegree, bool Constant);
/// FracEval at one point with the coefficients in a TVec (of either precision).
///
/// @param B          the coefficients: numerator, then denominator.
/// @param X          the point.
/// @param NumDegree  k, the numerator degree.
/// @param Constant   not read.
/// @return the model value.
LUMEX_API double FracEval(const TVec& B, double X, int NumDegree, bool Constant);
/// Vector form of FracEval: the rational function at every element of X.
///
/// @param B          the coefficients: numerator, then denominator.
/// @param X          the points.
/// @param[out] Y     the model values, sized like X.
/// @param NumDegree  k, the numerator degree.
/// @param Constant   not read.
LUMEX_API void FracEval(std::span<const double> B, const TVec& X, TVec& Y, int NumDegree,
                        bool Constant);
/// Vector form of FracEval with the coefficients in a TVec.
///
/// @param B          the coefficients: numerator, then denominator.
/// @param X          the points.
/// @param[out] Y     the model values, sized like X.
/// @param NumDegree  k, the numerator degree.
/// @param Constant   not read.
LUMEX_API void FracEval(const TVec& B, const TVec& X, TVec& Y, int NumDegree, bool Constant);

/// Multiple linear model for one observation: (B[0] if Constant, else 0) + sum_{i=1..m}
/// B[i] X[i], m the last index of B.
///
/// @param B         the coefficients.
/// @param X         the observation, indexed like B (X[0] is never read), at least B.Length
///                  elements.
/// @param Constant  whether B[0] is an intercept.
/// @return the model value.
/// @throws ELumexError "MulLinEval: X.Length < B.Length".
LUMEX_API double MulLinEval(std::span<const double> B, const TVec& X, bool Constant);
/// Multiple linear model for every row of X: Y = D B, D being [1 | X] with Constant and X
/// without.
///
/// @param B         the coefficients: X.Cols + 1 with Constant (intercept first), else X.Cols.
/// @param X         one observation per row.
/// @param[out] Y    X.Rows values in X's precision.
/// @param Constant  whether B[0] is an intercept.
/// @throws ELumexError "MulLinEval: B.Length <> X.Cols + 1" (Constant) or
///         "MulLinEval: B.Length <> X.Cols".
LUMEX_API void MulLinEval(std::span<const double> B, const TMtx& X, TVec& Y, bool Constant);

/// @}

/// @name Derivatives with respect to the parameters
/// Grad is sized to 2 elements. Y is the model value at X for Pars (the derivatives of these
/// shapes are expressed through it); RegressFun is not called and may be empty. To use them as
/// a TDeriveProc of NLinRegress, wrap them in a lambda that passes the TVec's values as the
/// span.
/// @{

/// Parameter derivatives of the straight line: Grad = (1, X).
///
/// @param RegressFun      not called.
/// @param X               the point.
/// @param Y               not used.
/// @param Pars            not read.
/// @param[out] Grad       2 values.
/// @param FloatPrecision  the precision Grad is sized in.
LUMEX_API void LineDeriv(const TRegressFun& RegressFun, double X, double Y,
                         std::span<const double> Pars, TVec& Grad,
                         TMtxFloatPrecision FloatPrecision);
/// Parameter derivatives of the exponential model: Grad = (Y / Pars[0], Y X).
///
/// @param RegressFun      not called.
/// @param X               the point.
/// @param Y               the model value at X for Pars.
/// @param Pars            the coefficients (scale, rate), at least 1.
/// @param[out] Grad       2 values.
/// @param FloatPrecision  the precision Grad is sized in.
/// @throws ELumexError "ExpDeriv: Pars.Length < 1".
///
/// NaN/Inf: Pars[0] = 0 gives a NaN or infinite first element.
LUMEX_API void ExpDeriv(const TRegressFun& RegressFun, double X, double Y,
                        std::span<const double> Pars, TVec& Grad,
                        TMtxFloatPrecision FloatPrecision);
/// Parameter derivatives of the power model: Grad = (Y / Pars[0], Y ln X).
///
/// Grad keeps its own precision.
/// @param RegressFun  not called.
/// @param X           the point (X <= 0 gives a NaN or infinite second element).
/// @param Y           the model value at X for Pars.
/// @param Pars        the coefficients (scale, exponent), at least 1.
/// @param[out] Grad   2 values.
/// @throws ELumexError "PowerDeriv: Pars.Length < 1".
LUMEX_API void PowerDeriv(const TRegressFun& RegressFun, double X, double Y,
                          std::span<const double> Pars, TVec& Grad);

/// @}

/// @name Linearising fits
/// B is the output (sized by the fit, in X's precision); Weights may be null, otherwise one
/// weight per observation. Errors of LinRegress and MulLinRegress pass through unchanged.
/// @{

/// Straight line y = B[0] + B[1] x by (weighted) least squares: LinRegress with a constant.
///
/// @param[out] B  2 values: intercept, slope.
/// @param X, Y    the observations.
/// @param Weights may be null: one weight per observation.
/// @throws ELumexError the messages of LinRegress.
LUMEX_API void LineFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Power model y = B[0] x^B[1] from the straight line ln y = ln B[0] + B[1] ln x.
///
/// The line runs through the points with x > 0 and y > 0; B[0] is exp of its intercept.
/// Without Weights the line is unweighted; with Weights its weights are Weights y^2, which
/// makes the log-scale residuals approximate the weighted residuals of the original scale.
/// @param[in,out] B  2 values; left as it was when no point is selected.
/// @param X, Y       the observations.
/// @param Weights    may be null: one weight per observation.
/// @throws std::runtime_error (not ELumexError) "X.Lenght <> Y.Length" and
///         "X.Lenght <> Y.FloatPrecision" (spelled so), checked first.
/// @throws ELumexError "PowerFit: Weights.Length <> X.Length", then those of LinRegress.
LUMEX_API void PowerFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Exponential model y = B[0] exp(B[1] x) from the straight line ln y = ln B[0] + B[1] x.
///
/// The line runs through the points with y > 0; with Weights, its weights are Weights y^2.
/// @param[in,out] B  2 values; left as it was when no y > 0.
/// @param X, Y       the observations.
/// @param Weights    may be null: one weight per observation.
/// @throws ELumexError "X.Length <> Y.Length", then "ExpFit: Weights.Length <> Y.Length".
LUMEX_API void ExpFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Logarithmic model y = B[0] + B[1] ln x: the straight line of y on ln x.
///
/// The line runs through the points with x > 0, with the selected Weights as they are (y is
/// not transformed, so no y^2 factor).
/// @param[in,out] B  2 values; left as it was when no x > 0.
/// @param X, Y       the observations.
/// @param Weights    may be null: one weight per observation.
/// @throws ELumexError "X.Lenght <> Y.Length" (spelled so), then
///         "LnFit: Weights.Length <> X.Length".
LUMEX_API void LnFit(TVec& B, const TVec& X, const TVec& Y, const TVec* Weights);

/// Logistic curve from its asymptotes and the straight line of the logit.
///
/// The first and last observations fix the asymptotes (B[0] = Y[0] with FourParam, else 0;
/// B[1] = Y[n-1]), so Y must run from one asymptote to the other in the order of X. The inner
/// observations 1 .. n-2 give the line z = B[3] - B[2] x of z = ln(R / (y - B[0]) - 1),
/// R = B[1] - B[0], weighted by Weights ((y - B[0])(y - B[1]) / R)^2 when Weights is given.
/// @param[out] B      4 values in X's precision: the layout of LogisticEval.
/// @param X, Y        the observations, at least 3, equal lengths and precision.
/// @param FourParam   true: fit the lower asymptote; false: it is 0.
/// @param Weights     may be null: one weight per observation.
/// @throws ELumexError in this order: "LogisticFit: X.Length <> Y.Length",
///         "LogisticFit: X.FloatPrecision <> Y.FloatPrecision", "LogisticFit: X.Length < 3",
///         "LogisticFit: Weights.Length <> X.Length".
///
/// NaN/Inf: inner responses outside the band between the asymptotes make z NaN (no check),
/// and the coefficients NaN.
LUMEX_API void LogisticFit(TVec& B, const TVec& X, const TVec& Y, bool FourParam,
                           const TVec* Weights);

/// Rational function from the linearisation y = c0 + sum c_i x^i - y sum d_j x^j.
///
/// Solved by MulLinRegress (regSolveLQR) on the columns x .. x^p, -x y .. -x^q y, so the
/// residuals minimised are those of y times the denominator, not of y.
/// @param[out] B      (c0, c1 .. c_p, d1 .. d_q), the layout FracEval reads with NumDegree = p;
///                    with Constant false c0 is not fitted and B[0] = 0.
/// @param X, Y        the observations, equal lengths and precision.
/// @param NumDegree   p, the numerator degree, >= 0.
/// @param DenDegree   q, the denominator degree, >= 0.
/// @param Constant    fit the numerator's constant term c0.
/// @param Weights     may be null: one weight per observation.
/// @throws ELumexError in this order: "FracFit: X.Lenght <> Y.Length" (spelled so),
///         "FracFit: X.FloatPrecision <> Y.FloatPrecision", "FracFit: NumDegree < 0",
///         "FracFit: DenDegree < 0"; MulLinRegress's errors then pass, for example
///         "MulLinRegress : LQRSolve: matrix is rank deficient" (unweighted) for too few
///         points.
LUMEX_API void FracFit(TVec& B, const TVec& X, const TVec& Y, int NumDegree, int DenDegree,
                       bool Constant, const TVec* Weights);

/// Multiple linear model: MulLinRegress(Y, X, B, [Weights,] Constant) with regSolveLQR; R's
/// lm(Y ~ X).
///
/// @param[out] B    the intercept first when Constant, then one coefficient per column of X.
/// @param X         one regressor per column.
/// @param Y         the responses, X.Rows values.
/// @param Constant  fit an intercept.
/// @param Weights   may be null: one weight per observation.
/// @throws ELumexError the messages of the matching MulLinRegress form.
LUMEX_API void MulLinFit(TVec& B, const TMtx& X, const TVec& Y, bool Constant,
                         const TVec* Weights);

/// @}

}  // namespace lumex
