/// @file
/// The Regress module: regression statistics of a fit, the least-squares straight line, the
/// coefficient of determination, multiple linear, ridge and principal-component regression,
/// stepwise selection, nonlinear least squares with numeric derivatives, logistic (binomial and
/// ordinal) and Poisson regression, and analysis of variance.
///
/// Every function checks its arguments and raises ELumexError with a fixed message when one is
/// unusable; numerically undefined results (a zero residual sum of squares, a zero total sum of
/// squares, zero degrees of freedom) are not errors and come out as NaN or infinite values.
/// Output objects are sized by the function.
///
/// Coefficient vectors: when a model has a constant term it stands first (b[0] the intercept,
/// then the slopes in column order). V is the unscaled covariance matrix (X'WX)^-1 of the
/// coefficients; V times ResidualVar is their covariance matrix.
#pragma once

#include <cstdint>
#include <functional>

#include "lumex/core/core.h"

namespace lumex {

/// @name Regression statistics and the straight-line fit
/// @{

/// The overall F test of a regression.
struct TFStats {
  double SSE;         ///< residual sum of squares
  double SSR;         ///< regression sum of squares
  std::int32_t dFE;   ///< residual degrees of freedom
  std::int32_t dFR;   ///< regression degrees of freedom
  double F;           ///< (SSR / dFR) / (SSE / dFE)
  double Signif;      ///< P(F(dFR, dFE) > F)
};

/// The quality of one regression (filled by RegressTest).
struct TRegStats {
  double SSE;          ///< residual sum of squares
  double SST;          ///< total sum of squares, about the mean (about zero without a constant)
  double SSR;          ///< SST - SSE
  double ResidualVar;  ///< SSE / dfE
  double R2;           ///< 1 - SSE / SST
  double AdjustedR2;   ///< 1 - (SSE / SST) (dfT / dfE)
  std::int32_t dfE;    ///< n - ParamCount
  std::int32_t dfT;    ///< n - 1
  double StdError;     ///< sqrt(SSE / dfE)
  TFStats FStats;      ///< the overall F test
};

/// Scores fitted values YCalc against observations Y for a model of ParamCount estimated
/// parameters.
///
/// SST = sum w (y - m)^2 with m the weighted mean, SSE = sum w (yhat - y)^2 (w = 1 without
/// weights); without a constant the total sum of squares is taken about zero. Each of SST, SSE
/// and SSR that is smaller in magnitude than the machine epsilon of Y's storage (2^-52 for
/// double, 2^-23 for single) is stored as exactly 0. Degrees of freedom: dfE = n - ParamCount,
/// dfT = n - 1, dFR = ParamCount - 1, whatever Constant says. Note that a model without a
/// constant therefore reports one regression degree of freedom fewer than R's summary.lm (whose
/// F uses ParamCount) and an AdjustedR2 scaled by (n - 1) / dfE rather than n / dfE; compute
/// those from SSR, SSE and the counts when R's convention is wanted.
/// @param Y              the n observations.
/// @param YCalc          the n fitted values, in Y's precision.
/// @param ParamCount     the number of estimated parameters, the constant term included, >= 0.
/// @param[out] RegStats  the statistics.
/// @param Constant       whether the model has a constant term.
/// @param Weights        may be null: one weight per observation, in Y's precision.
/// @throws ELumexError in this order: "RegressTest: Y.Length <> YCalc.Length",
///         "RegressTest: Y.FloatPrecision <> YCalc.FloatPrecision", and with weights
///         "RegressTest: Weights.Length <> Y.Length",
///         "RegressTest: Weights.FloatPrecision <> Y.FloatPrecision", then
///         "RegressTest: ParamCount < 0".
///
/// NaN/Inf: a zero SSE gives F = +Inf (NaN when SSR is 0 too), a zero SST gives R2 = -Inf
/// or NaN, and zero degrees of freedom give NaN or infinite ratios.
LUMEX_API void RegressTest(const TVec& Y, const TVec& YCalc, int ParamCount, TRegStats& RegStats,
                           bool Constant, const TVec* Weights);
/// RegressTest with ParamCount = V.Cols, also giving the residuals and the coefficients'
/// standard errors.
///
/// @param Y               the n observations.
/// @param YCalc           the n fitted values.
/// @param V               the unscaled covariance matrix of the coefficients (of a fit).
/// @param[out] RegStats   the statistics.
/// @param[out] Residuals  Y - YCalc (unweighted), n values in Y's precision.
/// @param[out] BStdErr    sqrt(V(j, j) ResidualVar), one per column of V, in Y's precision.
/// @param Constant        whether the model has a constant term.
/// @param Weights         may be null: one weight per observation.
/// @throws ELumexError the messages of the first form, and "RegressTest: V.Rows < V.Cols"
///         when V has too few rows for its diagonal.
LUMEX_API void RegressTest(const TVec& Y, const TVec& YCalc, const TMtx& V, TRegStats& RegStats,
                           TVec& Residuals, TVec& BStdErr, bool Constant, const TVec* Weights);

/// Least-squares straight line: y = b[0] + b[1] x (Constant true) or y = b[0] x (Constant
/// false), weighted when Weights is not null.
///
/// @param X, Y         the n observations.
/// @param[out] b       2 coefficients (Constant) or 1, in X's precision.
/// @param Constant     whether the line has an intercept.
/// @param Weights      may be null: one weight per observation.
/// @param[out] YCalc   may be null: the fitted values.
/// @param[out] V       may be null: the 2 x 2 unscaled covariance matrix of (intercept, slope)
///                     of the line WITH a constant term, also when Constant is false (b then
///                     has one element and V does not describe it; its slope variance is
///                     1 / sum w x^2).
/// @throws ELumexError in this order: "LinRegress : X.Length <> Y.Length",
///         "LinRegress : X.FloatPrecision <> Y.FloatPrecision",
///         "LinRegress : X.Complex or Y.Complex", and with weights
///         "LinRegress : (Weights.Length <> X.Length)",
///         "LinRegress : (Weights.FloatPrecision <> X.FloatPrecision)".
///
/// NaN/Inf: a constant X leaves the line undefined: b and V are then NaN or infinite.
LUMEX_API void LinRegress(const TVec& X, const TVec& Y, TVec& b, bool Constant, const TVec* Weights,
                          TVec* YCalc, TMtx* V);

/// Coefficient of determination 1 - sum (yhat - y)^2 / sum (y - mean(y))^2.
///
/// Always about the mean, unweighted and without the zero threshold of RegressTest.
/// @param Y      the observations.
/// @param YCalc  the fitted values, as many.
/// @return R^2.
/// @throws ELumexError "R2: Y.Length <> YCalc.Length" rather than reading past the shorter
///         vector.
///
/// NaN/Inf: a constant Y gives -Inf or NaN.
LUMEX_API double R2(const TVec& Y, const TVec& YCalc);

/// @}

/// @name Multiple linear, ridge and principal-component regression
/// The fits solve least-squares problems on a factorisation of the design matrix (Householder
/// QR with column pivoting, a singular value decomposition or LU), never on the normal
/// equations, so ill-conditioned designs such as high-degree polynomials keep their digits.
/// They compute in double and write their outputs in the storage precision of the design matrix
/// A. Pass YCalc and V of a fit to the second RegressTest overload for R2, the residual
/// variance and the standard errors of the coefficients.
/// @{

/// How MulLinRegress solves its least-squares problem.
///
/// Any other value solves nothing (see MulLinRegress).
enum TRegSolveMethod : std::uint8_t {
  /// Householder QR with column pivoting (LAPACK's dgeqp3, R's lm with LAPACK); a
  /// rank-deficient design (columns dependent within the QR's rank threshold, or fewer rows
  /// than columns) raises "LQRSolve: matrix is rank deficient".
  regSolveLQR,
  /// The singular value decomposition; singular values of X below 1e-9 (an absolute threshold)
  /// count as zero, giving a minimum-norm solution of a rank-deficient design (minimum norm
  /// after the columns are scaled to about unit length by powers of two). A well-posed design
  /// whose columns are all on a tiny scale (singular values below 1e-9) loses those components:
  /// rescale its columns first.
  regSolveSVD,
  /// LU decomposition with partial pivoting of a square design (as many rows as columns, an
  /// interpolation); raises "LUSolve: matrix is not square" otherwise, and
  /// "LUSolve: matrix is singular" for an exactly singular one.
  regSolveLU
};

/// Multiple linear regression y = X b + e by least squares, X = [1 | A] with Constant or
/// X = A without.
///
/// Matches R's lm(y ~ A) (coef, fitted, summary's cov.unscaled) and lm(y ~ A - 1).
/// @param y         the n responses.
/// @param A         the n x p matrix of regressors, one column per variable; not modified.
/// @param[out] b    p + 1 (Constant: the intercept, then one coefficient per column of A) or p
///                  coefficients.
/// @param Constant  whether the model has an intercept.
/// @param[out] YCalc  may be null: the n fitted values X b.
/// @param[out] V    may be null: (X'X)^-1, the unscaled covariance matrix of b, computed from
///                  the triangular factor of X (R^-1 R^-T with the column permutation; for
///                  regSolveSVD the pseudo-inverse over the kept singular values, for
///                  regSolveLU X^-1 X^-T).
/// @param Method    the solver, see TRegSolveMethod. A value outside the enumeration leaves b
///                  as it is and still writes YCalc = X b and V from that b and X (an empty or
///                  wrongly sized b then raises through the error wrapping below).
/// @throws ELumexError in this order: "MulLinRegress: y.FloatPrecision <> A.FloatPrecision",
///         "MulLinRegress: y.Length <> A.Rows". Every error of the computation (a
///         rank-deficient, singular or non-square design, complex data) is raised again as
///         "MulLinRegress : " followed by its message, for example
///         "MulLinRegress : LQRSolve: matrix is rank deficient".
///
/// NaN/Inf: NaN or infinite data give NaN coefficients, fitted values and V.
LUMEX_API void MulLinRegress(const TVec& y, const TMtx& A, TVec& b, bool Constant, TVec* YCalc,
                             TMtx* V, TRegSolveMethod Method);

/// Weighted MulLinRegress: minimises sum w_i (y_i - x_i b)^2.
///
/// Solves the rows scaled by s_i = sqrt(w_i / sum w). R's lm(Y ~ A, weights = Weights).
/// @param Y         the n responses.
/// @param A         the n x p matrix of regressors.
/// @param[out] b    the coefficients, as in the unweighted form.
/// @param Weights   one non-negative weight per observation.
/// @param Constant  whether the model has an intercept.
/// @param[out] YCalc  may be null: the fitted values X b of the unweighted rows (also for rows
///                  of weight zero).
/// @param[out] V    may be null: (X'WX)^-1, W the diagonal matrix of the raw weights (R's
///                  summary(fit)$cov.unscaled); weights all equal to c give the unweighted
///                  V / c.
/// @param Method    the solver, see TRegSolveMethod.
/// @throws ELumexError in this order: "MulLinRegress: Y.Complex or A.Complex",
///         "MulLinRegress: Y.FloatPrecision <> Weights.FloatPrecision", then, rather than
///         reading out of bounds, "MulLinRegress: Y.Length <> A.Rows" and
///         "MulLinRegress: Weights.Length <> Y.Length", then
///         "MulLinRegress: Weights.Complex". Errors of the solver pass unchanged (no
///         "MulLinRegress : " prefix here).
///
/// NaN/Inf: a zero weight sum or negative weights give NaN results.
LUMEX_API void MulLinRegress(const TVec& Y, const TMtx& A, TVec& b, const TVec& Weights,
                             bool Constant, TVec* YCalc, TMtx* V, TRegSolveMethod Method);

/// Ridge regression on standardised columns.
///
/// With z_ij = (a_ij - m_j) / d_j (column means m and standard deviations d, divisor n - 1; a
/// d below 1.4901161194e-8, or sqrt of the single epsilon for single data, counts as 1, so a
/// constant column gets coefficient 0 for k > 0), b minimises ||Z b - y||^2 + k ||b||^2, solved
/// as the least-squares problem [Z; sqrt(k) I] b = [y; 0] by Householder QR (no cross-product
/// matrix is formed). The closed form is b = (Z'Z + k I)^-1 Z'y. R's MASS::lm.ridge scales by
/// the divisor n instead, so its lambda corresponds to k (n - 1) / n here.
/// @param y             the n responses.
/// @param A             the n x p matrix of regressors.
/// @param k             the ridge parameter, >= 0 (k = 0 is least squares).
/// @param[out] b        Standardized true: p coefficients of the standardised columns, no
///                      intercept. false: p + 1 coefficients, b[0] = mean(y) - sum m_j b_j and
///                      the slopes b_j / d_j in the units of A. In y's precision.
/// @param Standardized  return the coefficients of the standardised columns.
/// @throws ELumexError in this order: "RidgeRegress: (y.Complex) or (A.Complex)",
///         "RidgeRegress: (y.FloatPrecision <> A.FloatPrecision)",
///         "RidgeRegress: y.Length <> A.Rows"; k = 0 with a constant column (or fewer rows than
///         columns) passes the solver's "LQRSolve: matrix is rank deficient".
///
/// NaN/Inf: a negative k gives NaN coefficients.
LUMEX_API void RidgeRegress(const TVec& y, const TMtx& A, double k, TVec& b, bool Standardized);

/// A ridge parameter k that minimises the in-sample squared error per coefficient of
/// RidgeRegress.
///
/// Bounded Nelder-Mead (start 1e-6, k >= 2^-52, or the single epsilon for single y, at most
/// 500 iterations, tolerance 1e-8) minimising the in-sample squared error of
/// RidgeRegress(y, A, k, b, false) divided by the number of coefficients p + 1. Note: the
/// in-sample error decreases towards k = 0, so the result is usually the lower bound or close
/// to it; this is not a cross-validated choice (for one, compare PRESS-like out-of-sample
/// errors over a grid of k with RidgeRegress).
/// @param y       the n responses.
/// @param A       the n x p matrix of regressors.
/// @param[out] k  the ridge parameter found.
/// @throws ELumexError the messages of RidgeRegress, unchanged.
LUMEX_API void RidgeOptimalk(const TVec& y, const TMtx& A, double& k);

/// Principal-component regression.
///
/// y is regressed (without a constant) on the scores of the correlation-matrix components of A
/// (PCA with PCACorrMat), the OmitCount components of least variance are dropped, and the score
/// coefficients c are turned back into coefficients of A: slopes b[1..p] = (PC c)_j / sd_j,
/// intercept b[0] = mean(y) - sum b_j mean_j (columns' means and standard deviations, divisor
/// n - 1).
/// @param y             the n responses.
/// @param A             the n x p matrix of regressors.
/// @param[out] b        p + 1 coefficients, intercept first. OmitCount 0 gives the ordinary
///                      least-squares coefficients; OmitCount = p gives zero slopes and
///                      b[0] = mean(y).
/// @param[out] YCalc    may be null: the n fitted values.
/// @param[out] BStdErr  may be null: p standard errors of the slopes,
///                      sqrt((PC o PC) (s2 / lambda))_j / sd_j over all p components (the
///                      omitted ones included), s2 = sum (y - yhat)^2 / n (divisor n) when
///                      YCalc is given and s2 = 1 when it is null.
/// @param OmitCount     components dropped; values below 0 count as 0 and above p as p.
/// @throws ELumexError in this order: "PCRegress: y.Complex or A.Complex",
///         "PCRegress: y.FloatPrecision <> A.FloatPrecision", "PCRegress: y.Length <> A.Rows";
///         exactly collinear columns (a zero component variance) raise
///         "LQRSolve: matrix is rank deficient".
///
/// NaN/Inf: a constant column (zero standard deviation) gives NaN results.
LUMEX_API void PCRegress(const TVec& y, const TMtx& A, TVec& b, TVec* YCalc, TVec* BStdErr,
                         int OmitCount);

/// Weighted PCRegress: the unweighted form applied to the rows of Y and A scaled by
/// s_i = sqrt(w_i / sum w).
///
/// The intercept and the column means and standard deviations that convert the coefficients
/// are those of the scaled data, so this is not R's weighted regression: weights all equal give
/// the unweighted slopes and fitted values but the intercept times 1 / sqrt(n).
/// @param Y             the n responses.
/// @param A             the n x p matrix of regressors.
/// @param[out] b        p + 1 coefficients, intercept first.
/// @param Weights       one weight per observation.
/// @param[out] YCalc    required here: the n fitted values of the scaled rows divided by s.
/// @param[out] BStdErr  may be null: p standard errors of the slopes.
/// @param OmitCount     components dropped.
/// @throws ELumexError in this order: "PCRegress: Y.Complex or A.Complex",
///         "PCRegress: y.FloatPrecision <> A.FloatPrecision",
///         "PCRegress: Y.Length<>Weights.Length", "PCRegress: Y.Length <> A.Rows", then
///         "PCRegress: Weights.Complex".
LUMEX_API void PCRegress(const TVec& Y, const TMtx& A, TVec& b, const TVec& Weights,
                         TVec& YCalc, TVec* BStdErr, int OmitCount);

/// The prediction sum of squares of the least-squares fit of y on [1 | A].
///
/// sum (e_i / (1 - h_i))^2, e the residuals and h_i the leverages (the diagonal of the hat
/// matrix X (X'X)^-1 X'): the sum of the squared leave-one-out prediction errors. Matches R's
/// sum((residuals(fit) / (1 - hatvalues(fit)))^2).
/// @param A  the n x p matrix of regressors.
/// @param y  the n responses.
/// @return the PRESS statistic.
/// @throws ELumexError those of MulLinRegress (with its "MulLinRegress : " prefix for the
///         solver's).
///
/// NaN/Inf: a point of leverage 1 gives +Inf or NaN.
LUMEX_API double PRESS(const TMtx& A, const TVec& y);

/// @}

/// @name Stepwise model selection
/// @{

/// The search of StepwiseRegression.
enum TStepwiseMethod : std::uint8_t {
  /// Start from a model (empty, or the caller's) and add, one at a time, the candidate whose
  /// model scores best, while that strictly improves the score.
  swForward,
  /// The same from the full (or the caller's) model, removing one candidate a step.
  swBackward,
  /// Fit and score every one of the 2^m subsets (m <= 15).
  swExhaustive,
  /// Score the one subset the caller gives in VariableMask.
  swStepwise
};

/// Quality of a fitted subset; smaller is better. An empty function means "the standard error
/// of the regression".
///
/// Its arguments: Stat, the statistics of the fit (RegressTest with a constant); b, the
/// intercept, then one coefficient per included candidate in candidate order; t, b divided by
/// its standard errors, same layout; ParamMask, one element per candidate, 1 when included, 0
/// when not; aOwner, the pointer given to StepwiseRegression, untouched.
using TStepwiseQualityCriteria = std::function<double(
    const TRegStats& Stat, const TVec& b, const TVec& t, const TVecInt& ParamMask, void* aOwner)>;

/// Selects among the least-squares models with a constant term y = b0 + sum b_j x_j of y on
/// subsets of m candidate variables.
///
/// Each model is scored by Criteria (default: its StdError). Every fit is the least-squares
/// fit of MulLinRegress with regSolveLQR, scored by RegressTest. Rather than refit each subset
/// from the data, the design [1 | x_0 .. x_m-1 | y] is reduced once to its triangular factor of
/// order m + 2 and each subset is solved on the columns of that factor (the same least-squares
/// problem: equal to a direct fit to rounding); the statistics still come from the data. A step
/// is taken only when the best candidate scores strictly better than the current model, so a
/// tie ends the search. The tables are written in stdDevA's precision.
/// @param aList         m + 1 vectors of one length: the candidates x_0 .. x_m-1, then y.
/// @param stdDevA       the standard deviation of every item of aList (y's last); used only to
///                      standardise the coefficients in Details.
/// @param Method        the search, see TStepwiseMethod; a value outside it raises.
/// @param[in,out] VariableMask  bit set of the m candidates (bit j: x_j in the model). Its size
///                      is set to m bits first (bits past m are cleared). In: the starting
///                      model of forward and backward search when InitializeMask is false, the
///                      model of swStepwise. Out: the selected model (all m bits set after
///                      swExhaustive).
/// @param[out] Results  (models) x (m + 8), one row per evaluated model: model number, m
///                      inclusion flags (0/1), quality, SSE, SSR, SST, R2, AdjustedR2,
///                      ResidualVar. swExhaustive sorts its 2^m rows by quality (ascending);
///                      model r of it holds the candidates of the binary digits of
///                      2^m - 1 - r (model 0 all, model 2^m - 1 the intercept alone).
/// @param[out] Details  (models * m) x 6, row r*m + j for candidate j of model r (in model
///                      order): model number, j, flag, standardised coefficient b_j s_j / s_y,
///                      t value, two-sided p value 2 StudentCDF(-|t|, n - k - 1) with k
///                      candidates in the model. A candidate outside the model has coefficient
///                      0, t 0 and p 1.
/// @param MaxIter       forward and backward: the largest number of models evaluated.
/// @param InitializeMask  forward: start from the empty model; backward: from the full model;
///                      swStepwise requires false.
/// @param Criteria      the quality of a subset (see TStepwiseQualityCriteria); empty for
///                      StdError.
/// @param aOwner        handed to Criteria untouched.
/// @throws ELumexError in this order: "Need stddev for all independent and the dependent
///         variable: stdDevA.Length <> aList.Count", "aList[i].FloatPrecision <>
///         stdDevA.FloatPrecision" (i the decimal index of the first item that differs),
///         "StepwiseRegression: aList.Count = 0", "StepwiseRegression: unknown Method" (a value
///         outside TStepwiseMethod); then swExhaustive: "Maximum supported variable count for
///         exhaustive regression search is 15. Requested was m." (m in decimal); swStepwise:
///         "Stepwise method requires that VariableMask parameter is initialized by the user!"
///         and "VariableMask.BitCount <> (aList.Count - 1)" (which cannot fire, as the size is
///         set first). Forward and backward search raise "Maximum allowed iteration count
///         exceeded " + MaxIter when MaxIter models have been evaluated; the tables and
///         VariableMask then hold the models reached. A candidate of another length than y
///         raises "StepwiseRegression: aList[j].Length <> y.Length" (j in decimal) before the
///         first fit. Errors of a fit arrive as "MulLinRegress : " + message, for example
///         "MulLinRegress : LQRSolve: matrix is rank deficient" for a subset with dependent
///         columns.
///
/// NaN/Inf: NaN or infinite data give NaN statistics.
LUMEX_API void StepwiseRegression(const TVecList& aList, const TVec& stdDevA,
                                  TStepwiseMethod Method, TVecInt& VariableMask, TMtx& Results,
                                  TMtx& Details, int MaxIter, bool InitializeMask,
                                  const TStepwiseQualityCriteria& Criteria, void* aOwner);

/// @}

/// @name Analysis of variance
/// The F tests are exact comparisons: an effect whose sum of squares is exactly 0 has F = 0 and
/// significance 1; otherwise a residual sum of squares of exactly 0 gives F = +Inf and
/// significance 0. Zero degrees of freedom (one group, one observation per group) leave the
/// mean squares and the critical values NaN or infinite. Sums of squares are computed from
/// deviations about accurately computed means, so data that are constant within each group give
/// a residual sum of squares of exactly 0.
/// @{

/// The table of a one-way analysis of variance. MSi = SSi / Degi.
struct TANOVA1Result {
  double SS1;       ///< sum of squares between groups
  double SS2;       ///< sum of squares within groups
  double SSTotal;   ///< total sum of squares, about the grand mean
  double Deg1;      ///< degrees of freedom between groups
  double Deg2;      ///< degrees of freedom within groups
  double DegTotal;  ///< Deg1 + Deg2
  double MS1;       ///< mean square between groups, SS1 / Deg1
  double MS2;       ///< mean square within groups, SS2 / Deg2
  double FDist;     ///< F statistic, MS1 / MS2
  double FCrit;     ///< critical F at level Alpha: the (1 - Alpha) quantile of F(Deg1, Deg2)
};

/// The table of a two-way analysis of variance with an equal number of replications per cell.
///
/// Index 1 is the row factor, 2 the column factor, 3 the interaction, 4 the error. MSi =
/// SSi / Degi, FDisti = MSi / MS4, and FCriti is the (1 - Alpha) quantile of F(Degi, Deg4).
struct TANOVA2Result {
  double SS1;       ///< sum of squares of the row factor
  double SS2;       ///< sum of squares of the column factor
  double SS3;       ///< sum of squares of the interaction (NaN with one replication)
  double SS4;       ///< error sum of squares
  double SSTotal;   ///< total sum of squares, about the grand mean
  double Deg1;      ///< degrees of freedom of the row factor
  double Deg2;      ///< degrees of freedom of the column factor
  double Deg3;      ///< degrees of freedom of the interaction (NaN with one replication)
  double Deg4;      ///< error degrees of freedom
  double DegTotal;  ///< total degrees of freedom, Data.Rows * Data.Cols - 1
  double MS1;       ///< mean square of the row factor
  double MS2;       ///< mean square of the column factor
  double MS3;       ///< mean square of the interaction (NaN with one replication)
  double MS4;       ///< error mean square
  double FDist1;    ///< F statistic of the row factor
  double FDist2;    ///< F statistic of the column factor
  double FDist3;    ///< F statistic of the interaction (NaN with one replication)
  double FCrit1;    ///< critical F of the row factor at level Alpha
  double FCrit2;    ///< critical F of the column factor at level Alpha
  double FCrit3;    ///< critical F of the interaction at level Alpha (NaN with one replication)
};

/// One-way analysis of variance of equal groups, one group per column of Data.
///
/// Deg1 = Cols - 1, Deg2 = Cols (Rows - 1).
/// @param Data         one group per column.
/// @param[out] Signif  P(F(Deg1, Deg2) > FDist).
/// @param Alpha        the level of FCrit.
/// @return the analysis-of-variance table.
/// @throws ELumexError "ANOVA1: Data.Complex".
///
/// NaN/Inf: see the family's introduction.
LUMEX_API TANOVA1Result ANOVA1(const TMtx& Data, double& Signif, double Alpha);
/// One-way analysis of variance of groups of any size, given by an index per observation.
///
/// The groups are 0 .. G with G the largest index, so Deg1 = G and Deg2 = n - G - 1.
/// @param Data         the n observations.
/// @param GroupIndex   the group of each observation, from 0.
/// @param[out] Signif  P(F(Deg1, Deg2) > FDist).
/// @param Alpha        the level of FCrit.
/// @return the analysis-of-variance table.
/// @throws ELumexError in this order: "ANOVA1: Data.Complex or GroupIndex.Complex",
///         "ANOVA1: Data.Length <> GroupIndex.Length", then "ANOVA1: Data.Length = 0" and
///         "ANOVA1: GroupIndex contains negative values" (which would otherwise have no group
///         to go to).
///
/// NaN/Inf: a group number without observations makes SS1, SS2 and F undefined (NaN).
LUMEX_API TANOVA1Result ANOVA1(const TVec& Data, const TVecInt& GroupIndex, double& Signif,
                               double Alpha);

/// Two-way analysis of variance with Replications observations per cell.
///
/// Data has a * Replications rows and b columns: the columns are the levels of the column
/// factor, and rows come in a blocks of Replications consecutive rows, block i holding the
/// replications of row level i.
/// @param Data              a * Replications rows, b columns.
/// @param[out] SignifRows   the significance of the row factor.
/// @param[out] SignifCols   the significance of the column factor.
/// @param[out] SignifInter  the significance of the interaction; set to 0 before the checks.
/// @param Replications      the observations per cell, >= 1.
/// @param Alpha             the level of the critical values.
/// @return the analysis-of-variance table.
/// @throws ELumexError in this order: "ANOVA2: (Data.Rows mod Replications) <> 0" (only for
///         a non-zero Replications), "ANOVA2: Replications <= 0", "ANOVA2: Data.Complex = true".
///
/// NaN/Inf: with Replications = 1 the interaction is the residual: SS3, Deg3, MS3, FDist3 and
/// FCrit3 are NaN and SignifInter is 0.
LUMEX_API TANOVA2Result ANOVA2(const TMtx& Data, double& SignifRows, double& SignifCols,
                               double& SignifInter, int Replications, double Alpha);

/// @}

/// @name Nonlinear least squares and numeric derivatives
/// NLinRegress fits a caller's model by minimising the residual sum of squares
/// S(b) = sum w_i (y_i - f(b, x_i))^2 (w_i = 1 without weights) with one of the core's
/// optimisers (lumex/core/optimize.h). The model comes in two shapes: one real variable,
/// evaluated point by point (TRegressFun), or several variables, evaluated for all
/// observations at once (TMultiRegressFun). Derivatives with respect to the parameters come
/// from the caller's procedure or, when it is empty, from numeric central differences:
/// NumericDerive / MultiNumericDerive, except that Marquardt searches with the plain central
/// difference at NumericDerive's base step and switches to NumericDerive / MultiNumericDerive
/// for its final refinement.
///
/// Standard errors are not returned: at the fitted b, form the n x p Jacobian J of the model
/// values (the derivative procedure gives its rows or columns), take V = (J'WJ)^-1 (for example
/// MulLinRegress of the residuals on J without a constant, which computes V from a QR
/// factorisation of J) and multiply it by S(b) / (n - p), or pass J, YCalc and V to
/// RegressTest for the standard errors directly.
/// @{

/// A model of one variable: the model value at the point X for the parameters B.
using TRegressFun = std::function<double(const TVec& B, double X)>;
/// A model of several variables: writes into Y the model values of all observations for the
/// parameters B.
///
/// X holds one vector per independent variable, each as long as the observations. Y arrives
/// sized like the observations (in their precision) and must keep that length.
using TMultiRegressFun = std::function<void(const TVec& B, const TVecList& X, TVec& Y)>;
/// Parameter derivatives of a TRegressFun: writes into Grad the partial derivatives of
/// RegressFun with respect to each parameter at the point X.
///
/// Y is the model value at X for Pars (so that an analytic derivative may reuse it). Grad
/// arrives sized to Pars.Length.
using TDeriveProc = std::function<void(const TRegressFun& RegressFun, double X, double Y,
                                       const TVec& Pars, TVec& Grad)>;
/// Parameter derivatives of a TMultiRegressFun: writes into Grad[k] the partial derivatives of
/// the model values with respect to parameter k, one element per observation.
///
/// Y holds the model values for Pars. Grad arrives with Pars.Length vectors, each sized like Y.
using TMultiDeriveProc = std::function<void(const TMultiRegressFun& RegressFun, const TVecList& X,
                                            const TVec& Y, const TVec& Pars, TVecList& Grad)>;

/// Nonlinear least squares for a model of one variable: minimises
/// sum w_i (Y_i - RegressFun(Pars, X_i))^2 over Pars.
///
/// The optimiser works in X's storage precision.
/// @param X, Y          the n observations (equal lengths and storage precision).
/// @param RegressFun    the model.
/// @param DeriveProc    its parameter derivatives; empty selects numeric differences
///                      (NumericDerive; see above for Marquardt).
/// @param[in,out] Pars  in: the starting values; out: the best point the optimiser found
///                      (unchanged when no optimiser ran or an error was raised; after
///                      Marquardt's refinement S may exceed the lowest value found by at most
///                      the rounding bound given under Method).
/// @param Method        the optimiser, by ordinal: optSimplex (Nelder-Mead; MaxIter and
///                      Tolerance), optMarquardt (Levenberg-Marquardt on the Gauss-Newton
///                      curvature J'WJ with initial damping 0.01; in double precision each
///                      damped step v gets the geodesic acceleration a/2 of Transtrum and
///                      Sethna, a = -(J'WJ + lambda D)^-1 J'W m''(v) with m''(v) estimated
///                      from one more model evaluation at Pars + v/10, dropped when
///                      2 |a|_D > 0.75 |v|_D or a model value there is not finite; where it
///                      stops with osrConverged, osrPrecisionLimit or osrNoDecrease,
///                      Gauss-Newton steps follow while each makes the next at most half as
///                      long and raises S by at most 8 eps sum w_i |r_i| (|y_i| + |f_i|)),
///                      optBFGS, optDFP
///                      (quasi-Newton with SearchFlag), optConjGradFR, optConjGradPR
///                      (conjugate gradients with SearchFlag). Any other value runs nothing
///                      and returns 0.
/// @param[out] StopReason  why the optimiser stopped (see TOptStopReason); osrNone when none
///                      ran.
/// @param Weights       may be null: one weight per observation.
/// @param[out] YCalc    may be null: the model values of the optimiser's last evaluation,
///                      which is made at the returned Pars; when no optimiser ran, the model
///                      values at the unchanged Pars. In Y's precision.
/// @param SearchFlag    accurate (true) or economical (false) line searches of BFGS, DFP and
///                      conjugate gradients.
/// @param MaxIter, Tolerance, GradTolerance  the optimiser's limits (see optimize.h); for
///                      Marquardt the iterations count trial steps, refinement steps
///                      included, and it stops when the
///                      Gauss-Newton step is below Tolerance relative to Pars.
/// @param[out] Verbose  may be null: receives the optimiser's progress lines.
/// @return the optimiser's result (its iteration count), 0 when none ran.
/// @throws ELumexError in this order: "NLinRegress: X.Length <> Y.Length",
///         "NLinRegress: X.FloatPrecision <> Y.FloatPrecision", with weights
///         "NLinRegress: Weights.Length <> Y.Length", then "NLinRegress: RegressFun is null"
///         for an empty model. A model value NaN raises at once "The target function for
///         optimization returned NAN for Pars = [..], and for Const = [..]. The target
///         function needs to check internally for occurance of the NAN value! This error is
///         frequently an indication that the model is not applicable to the data." with the
///         trial parameters and X (spelling as the interface fixes it); Pars then keep their
///         starting values. A derivative procedure that leaves Grad shorter than Pars
///         raises "NLinRegress: DeriveProc output length <> Pars.Length". Errors of the
///         optimiser and of the callbacks pass unchanged.
///
/// NaN/Inf: an infinite model value is not an error: the objective is infinite there and the
/// optimiser avoids it (at the start it stops with osrNotFinite).
LUMEX_API int NLinRegress(const TVec& X, const TVec& Y, const TRegressFun& RegressFun,
                          const TDeriveProc& DeriveProc, TVec& Pars, TOptMethod Method,
                          TOptStopReason& StopReason, const TVec* Weights, TVec* YCalc,
                          bool SearchFlag, int MaxIter, double Tolerance, double GradTolerance,
                          std::vector<std::string>* Verbose = nullptr);

/// NLinRegress of one variable inside the box LowerBounds[j] <= Pars[j] <= UpperBounds[j]
/// (infinite bounds allowed), by the bounded Nelder-Mead simplex.
///
/// Only Method = optSimplex runs (with MaxIter and Tolerance); any other Method runs nothing
/// and returns 0, leaving Pars unchanged. SearchFlag, GradTolerance and DeriveProc have no
/// effect. The start is clamped into the box.
/// @param X, Y          the n observations.
/// @param RegressFun    the model.
/// @param DeriveProc    no effect.
/// @param[in,out] Pars  in: the start; out: the best point found.
/// @param LowerBounds, UpperBounds  the box, one bound of each per parameter.
/// @param Method        optSimplex; anything else runs nothing.
/// @param[out] StopReason  why the simplex stopped; osrNone when it did not run.
/// @param Weights       may be null: one weight per observation.
/// @param[out] YCalc    may be null: the model values at the returned Pars.
/// @param SearchFlag    no effect.
/// @param MaxIter, Tolerance  the simplex's limits.
/// @param GradTolerance no effect.
/// @param[out] Verbose  may be null: receives the optimiser's progress lines.
/// @return the simplex's iteration count, 0 when it did not run.
/// @throws ELumexError the messages of the unbounded form, then the bounded Simplex's
///         "Simplex: LowerBounds.Length <> Pars.Length",
///         "Simplex: UpperBounds.Length <> Pars.Length" and
///         "Simplex: LowerBounds[j] > UpperBounds[j]" (j the decimal index).
LUMEX_API int NLinRegress(const TVec& X, const TVec& Y, const TRegressFun& RegressFun,
                          const TDeriveProc& DeriveProc, TVec& Pars, const TVec& LowerBounds,
                          const TVec& UpperBounds, TOptMethod Method, TOptStopReason& StopReason,
                          const TVec* Weights, TVec* YCalc, bool SearchFlag, int MaxIter,
                          double Tolerance, double GradTolerance,
                          std::vector<std::string>* Verbose = nullptr);

/// Nonlinear least squares for a model of several variables.
///
/// X holds one vector per variable, RegressFun computes all n model values at once and
/// DeriveProc all their derivatives. The optimiser works in Y's storage precision.
/// @param X             one vector per variable, each as long as Y.
/// @param Y             the n observations.
/// @param RegressFun    the model.
/// @param DeriveProc    its parameter derivatives; empty selects numeric differences
///                      (MultiNumericDerive; see above for Marquardt).
/// @param[in,out] Pars  in: the starting values; out: the best point found.
/// @param Method        the optimiser, as in the single-variable form.
/// @param[out] StopReason  why the optimiser stopped; osrNone when none ran.
/// @param Weights       may be null: one weight per observation.
/// @param[out] YCalc    may be null: the model values at the returned Pars.
/// @param SearchFlag    accurate (true) or economical (false) line searches.
/// @param MaxIter, Tolerance, GradTolerance  the optimiser's limits.
/// @param[out] Verbose  may be null: receives the optimiser's progress lines.
/// @return the optimiser's result (its iteration count), 0 when none ran.
/// @throws ELumexError in this order: "NLinRegress: X.Count = 0", for the first failing i
///         "NLinRegress: X[i].Length <> Y.Length" and
///         "NLinRegress: X[i].FloatPrecision <> Y.FloatPrecision" (a literal letter i), with
///         weights "NLinRegress: Weights.Length <> Y.Length", then
///         "NLinRegress: RegressFun is null". A NaN among the model values raises "The target
///         function for optimization returned NAN for Pars = [..]The target function needs to
///         check internally for occurance of the NAN value! This error is frequently an
///         indication that the model is not applicable to the data." (no X in this message). A
///         model or derivative procedure that changes the length of its output raises
///         "NLinRegress: RegressFun output length <> Y.Length" or
///         "NLinRegress: DeriveProc output length <> Y.Length".
LUMEX_API int NLinRegress(const TVecList& X, const TVec& Y, const TMultiRegressFun& RegressFun,
                          const TMultiDeriveProc& DeriveProc, TVec& Pars, TOptMethod Method,
                          TOptStopReason& StopReason, const TVec* Weights, TVec* YCalc,
                          bool SearchFlag, int MaxIter, double Tolerance, double GradTolerance,
                          std::vector<std::string>* Verbose = nullptr);

/// NLinRegress of several variables inside a box, by the bounded simplex (see the
/// single-variable bounded form).
///
/// @param X             one vector per variable, each as long as Y.
/// @param Y             the n observations.
/// @param RegressFun    the model.
/// @param DeriveProc    no effect.
/// @param[in,out] Pars  in: the start; out: the best point found.
/// @param LowerBounds, UpperBounds  the box, one bound of each per parameter.
/// @param Method        optSimplex; anything else runs nothing.
/// @param[out] StopReason  why the simplex stopped; osrNone when it did not run.
/// @param Weights       may be null: one weight per observation.
/// @param[out] YCalc    may be null: the model values at the returned Pars.
/// @param SearchFlag    no effect.
/// @param MaxIter, Tolerance  the simplex's limits.
/// @param GradTolerance no effect.
/// @param[out] Verbose  may be null: receives the optimiser's progress lines.
/// @return the simplex's iteration count, 0 when it did not run.
/// @throws ELumexError those of the unbounded several-variable form, except that these
///         messages carry the decimal index: "NLinRegress: X[2].Length <> Y.Length",
///         "NLinRegress: X[2].FloatPrecision <> Y.FloatPrecision"; then those of the bounded
///         Simplex.
LUMEX_API int NLinRegress(const TVecList& X, const TVec& Y, const TMultiRegressFun& RegressFun,
                          const TMultiDeriveProc& DeriveProc, TVec& Pars, const TVec& LowerBounds,
                          const TVec& UpperBounds, TOptMethod Method, TOptStopReason& StopReason,
                          const TVec* Weights, TVec* YCalc, bool SearchFlag, int MaxIter,
                          double Tolerance, double GradTolerance,
                          std::vector<std::string>* Verbose = nullptr);

/// Parameter derivatives of a one-variable model at X by central differences, extrapolated
/// twice (Richardson).
///
/// With D(t) = (f(p_i + t) - f(p_i - t)) / (2t) for t = h, 2h, 4h,
/// Grad[i] = (64 D(h) - 20 D(2h) + D(4h)) / 45, whose error is O(h^6). The step is
/// h = s |p_i| (h = s when |p_i| < eps), s = GradStepSize and eps = 2^-52 for double Pars,
/// GradStepSizeSingle and EPS_SINGLE for single Pars; each difference is divided by the step as
/// stored. Six model calls per parameter. A model that is a polynomial of degree six or less in
/// each parameter gets its derivative to rounding.
/// @param RegressFun  the model.
/// @param X           the point.
/// @param Y           not used.
/// @param Pars        the parameters; not changed.
/// @param[out] Grad   must already hold at least Pars.Length elements (it is not resized);
///                    element i receives the derivative with respect to Pars[i].
/// @throws ELumexError "NumericDerive: RegressFun is null"; a Grad too short raises the
///         container's index error.
///
/// NaN/Inf: a NaN model value gives NaN there.
LUMEX_API void NumericDerive(const TRegressFun& RegressFun, double X, double Y, const TVec& Pars,
                             TVec& Grad);

/// NumericDerive for a model of several variables: one vector of derivatives (over the
/// observations) per parameter.
///
/// The steps follow Y's precision.
/// @param RegressFun  the model.
/// @param X           one vector per variable.
/// @param Y           only its length (which sizes the model output) and precision are used.
/// @param Pars        the parameters; not changed.
/// @param[out] Grad   must already hold at least Pars.Length vectors; vector i is replaced by
///                    the derivatives with respect to Pars[i], in Y's precision.
/// @throws ELumexError "MultiNumericDerive: RegressFun is null", then
///         "MultiNumericDerive: Grad.Count < Pars.Length" rather than writing past the list,
///         and "MultiNumericDerive: RegressFun output length <> Y.Length" when the model
///         changes the length of its output.
///
/// NaN/Inf: a NaN model value gives NaN there.
LUMEX_API void MultiNumericDerive(const TMultiRegressFun& RegressFun, const TVecList& X,
                                  const TVec& Y, const TVec& Pars, TVecList& Grad);

/// @}

}  // namespace lumex

namespace lumex {

/// @name Logistic and Poisson regression
/// Generalised linear models on a design matrix A that the caller supplies unchanged: no
/// constant column is added (put a column of ones in A for an intercept). The binomial and
/// Poisson forms fit by iteratively reweighted least squares (IRLS) and stop when the deviance
/// changes by Tolerance or less between passes (an absolute change, unlike R's glm, which
/// divides by the deviance), or after 1000 passes at the latest, which only data that never
/// settle reach (complete separation, counts that drift to zero). Outputs are sized by the
/// functions.
/// @{

/// Binomial logistic regression by IRLS: y_i successes out of n_i trials, with
/// P(success) = 1 / (1 + exp(-eta_i)), eta = A b + Offset.
///
/// Matches R's glm(cbind(y, n - y) ~ A - 1, family = binomial, offset = rep(Offset,
/// length(y))). The first pass starts from the empirical logits ln((y + 0.5) / (n - y + 0.5));
/// the deviance is 2 sum [y ln(y/mu) + (n - y) ln((n - y)/(n - mu))] with 0 ln 0 = 0.
/// Completely separated data are not detected: the coefficients grow (with huge standard
/// errors) until the deviance settles near 0, as in R's glm.
/// @param y             successes, 0 <= y_i <= n_i.
/// @param n             trials, one per observation.
/// @param[out] b        one coefficient per column of A (one, the intercept, without A), in
///                      y's precision. It holds the solution of the last pass, one update
///                      beyond the means whose deviance ended the loop.
/// @param A             the design, y.Length rows; null for an intercept-only model (b[0] is
///                      then logit(sum y / sum n) - Offset).
/// @param Offset        one value added to every linear predictor.
/// @param[out] YCalc    may be null: the expected counts n_i pi_i of the last pass (computed
///                      from the coefficients before its update).
/// @param[out] BStdErr  may be null: the standard errors sqrt(diag((A'WA)^-1)) with the
///                      weights W = n pi (1 - pi) of the last pass.
/// @param Tolerance     the loop runs while the deviance changes by more than this. The start
///                      counts as a change of exactly 1, so Tolerance >= 1 (or NaN) runs no
///                      pass and leaves b, YCalc and BStdErr untouched.
/// @throws ELumexError in this order: "LogisticRegress: (y.Complex) or (n.Complex)", and when
///         A is given "LogisticRegress: A.Rows <> y.Length",
///         "LogisticRegress: A.FloatPrecision <> y.FloatPrecision"; then
///         "LogisticRegress: n.Length <> y.Length" and, for a complex A,
///         "LogisticRegress: complex data not supported". A singular weighted cross-product
///         A'WA (a design with dependent columns, or weights driven to 0 by separated data)
///         raises the solver's "LQRSolve: matrix is rank deficient".
///
/// NaN/Inf: NaN or infinite data, zero trials or y outside [0, n] make the deviance NaN, which
/// ends the loop: b holds the solution of that pass, NaN wherever the NaN reaches it.
LUMEX_API void LogisticRegress(const TVec& y, const TVec& n, TVec& b, const TMtx* A,
                               double Offset, TVec* YCalc, TVec* BStdErr, double Tolerance);

/// Ordinal (cumulative-logit, proportional-odds) logistic regression by maximum likelihood.
///
/// P(Y <= c | x) = 1 / (1 + exp(-(theta_c - x b))) for the categories c of y, the integers
/// from round(Min(y)) to round(Max(y)), and P(Y <= top category) = 1. The parameterisation of
/// R's MASS::polr (logit link): Theta are its zeta, b its coefficients. The deviance
/// -2 sum ln(P(Y <= y_i) - P(Y <= y_i - 1)) is minimised by Marquardt (Levenberg-Marquardt with
/// the analytic gradient and curvature of the log-likelihood, MaxIter trial steps, Tolerance as
/// step and gradient tolerance, initial damping 0.1) on the predictors scaled to unit standard
/// deviation. An observation in the top category contributes ln(1 - P(Y <= top - 1)), one in
/// the bottom category ln P(Y <= bottom); there is no other clamping.
/// @param y               the categories, integers (an observation whose value is not an
///                        integer belongs to no category and makes the deviance infinite).
/// @param A               the predictors, y.Length rows, without a constant column (the cut
///                        points take its place; a constant column has zero standard deviation
///                        and gives NaN results).
/// @param[in,out] b       one slope per column of A, in A's precision. In: the start when
///                        AutoInit is false.
/// @param[in,out] Theta   the cut points, one per boundary between consecutive categories
///                        present in y (a category absent from y has none), increasing. In:
///                        the start when AutoInit is false.
/// @param[out] BStdErr    the standard errors of (Theta, b), in that order, from the inverse of
///                        the log-likelihood's curvature at the optimum (NaN when it is not
///                        definite).
/// @param[out] Deviance   the minimised deviance.
/// @param[out] StopReason why Marquardt stopped (osrConverged, ordinal 8, when it converged).
/// @param MaxIter         the largest number of Marquardt trial steps.
/// @param Tolerance       the step and gradient tolerance of Marquardt.
/// @param AutoInit        true: start from b = 0 and the logits of the cumulative proportions
///                        of the categories; false: from the caller's Theta and b.
/// @return the number of Marquardt iterations (trial steps).
/// @throws ELumexError "LogisticRegress: y.Length <> A.Rows",
///         "LogisticRegress: complex data not supported",
///         "LogisticRegress: Min(y) or Max(y) is not an integer category" (the extremes must be
///         categories for the cut points to pair up), and with AutoInit false
///         "LogisticRegress: Theta.Length <> number of category boundaries in y" and
///         "LogisticRegress: b.Length <> A.Cols".
///
/// NaN/Inf: NaN data give a NaN deviance (StopReason osrNotFinite).
LUMEX_API int LogisticRegress(const TVec& y, const TMtx& A, TVec& b, TVec& Theta, TVec& BStdErr,
                              double& Deviance, TOptStopReason& StopReason, int MaxIter,
                              double Tolerance, bool AutoInit);

/// Poisson regression with a log link by IRLS: Y_i ~ Poisson(exp(A_i b + Offset)).
///
/// Matches R's glm(Y ~ A - 1, family = poisson, offset = rep(Offset, length(Y))). The first
/// pass starts from the means Y + 0.5. The loop runs while the deviance changes by more than
/// Tolerance (the start counts as a change of 1) or fewer than MinIter passes have run; at most
/// 1000 passes run. With no pass b, BStdErr and YCalc are left untouched.
/// @param Y             the counts, Y_i >= 0.
/// @param A             the design, Y.Length rows (no constant column is added).
/// @param[out] b        one coefficient per column of A, in Y's precision (the solution of the
///                      last pass).
/// @param[out] BStdErr  sqrt(diag((A'WA)^-1)) with the weights W = mu of the last pass.
/// @param[out] Deviance 2 sum [Y ln(Y/mu) - (Y - mu)] (0 ln 0 = 0) of the last pass; with no
///                      pass its start value 1e-5 (1e-3 for single-precision Y).
/// @param[out] dfE      Y.Length - A.Cols.
/// @param Offset        one value added to every linear predictor.
/// @param[out] YCalc    may be null: the means mu of the last pass.
/// @param Tolerance     the change of deviance that ends the loop.
/// @param MinIter       the smallest number of passes.
/// @return the number of passes (1000 when the cap stopped the loop).
/// @throws ELumexError "PoissonRegress: Y.Length <> A.Rows",
///         "PoissonRegress: complex data not supported"; a singular A'WA raises the solver's
///         "LUSolve: matrix is singular".
///
/// NaN/Inf: NaN or infinite data, or negative counts, make the deviance NaN, which ends the
/// loop once MinIter passes have run. All-zero counts drive the fitted means towards 0 and the
/// coefficients towards -Inf until the deviance settles.
LUMEX_API int PoissonRegress(const TVec& Y, const TMtx& A, TVec& b, TVec& BStdErr,
                             double& Deviance, int& dfE, double Offset, TVec* YCalc,
                             double Tolerance, int MinIter);

/// @}

}  // namespace lumex
