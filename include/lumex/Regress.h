// The Regress module: regression statistics of a fit, the least-squares straight line, the
// coefficient of determination and analysis of variance.
//
// Every function checks its arguments and raises ELumexError with a fixed message when one is
// unusable; numerically undefined results (a zero residual sum of squares, a zero total sum of
// squares, zero degrees of freedom) are not errors and come out as NaN or infinite values.
// Output objects are sized by the function.
//
// Coefficient vectors: when a model has a constant term it stands first (b[0] the intercept,
// then the slopes in column order). V is the unscaled covariance matrix (X'WX)^-1 of the
// coefficients; V times ResidualVar is their covariance matrix.
#pragma once

#include <cstdint>

#include "lumex/core/core.h"

namespace lumex {

// ---- Regression statistics and the straight-line fit ------------------------------------------

// The overall F test of a regression.
struct TFStats {
  double SSE;         // residual sum of squares
  double SSR;         // regression sum of squares
  std::int32_t dFE;   // residual degrees of freedom
  std::int32_t dFR;   // regression degrees of freedom
  double F;           // (SSR / dFR) / (SSE / dFE)
  double Signif;      // P(F(dFR, dFE) > F)
};

// The quality of one regression.
struct TRegStats {
  double SSE;          // residual sum of squares
  double SST;          // total sum of squares, about the mean (about zero without a constant)
  double SSR;          // SST - SSE
  double ResidualVar;  // SSE / dfE
  double R2;           // 1 - SSE / SST
  double AdjustedR2;   // 1 - (SSE / SST) (dfT / dfE)
  std::int32_t dfE;    // n - ParamCount
  std::int32_t dfT;    // n - 1
  double StdError;     // sqrt(SSE / dfE)
  TFStats FStats;
};

// Scores fitted values YCalc against observations Y for a model of ParamCount estimated
// parameters (the constant term included when Constant is true). Weights, when not null, holds
// one weight per observation: SST = sum w (y - m)^2 with m the weighted mean, SSE =
// sum w (yhat - y)^2. Without a constant the total sum of squares is taken about zero.
// Each of SST, SSE and SSR that is smaller in magnitude than the machine epsilon of Y's storage
// (2^-52 for double, 2^-23 for single) is stored as exactly 0.
// Degrees of freedom: dfE = n - ParamCount, dfT = n - 1, dFR = ParamCount - 1, whatever
// Constant says. Note that a model without a constant therefore reports one regression degree
// of freedom fewer than R's summary.lm (whose F uses ParamCount) and an AdjustedR2 scaled by
// (n - 1) / dfE rather than n / dfE; compute those from SSR, SSE and the counts when R's
// convention is wanted.
// Raises, in this order: "RegressTest: Y.Length <> YCalc.Length",
// "RegressTest: Y.FloatPrecision <> YCalc.FloatPrecision", and with weights
// "RegressTest: Weights.Length <> Y.Length", "RegressTest: Weights.FloatPrecision <> Y.FloatPrecision",
// then "RegressTest: ParamCount < 0".
LUMEX_API void RegressTest(const TVec& Y, const TVec& YCalc, int ParamCount, TRegStats& RegStats,
                           bool Constant, const TVec* Weights);
// The same statistics with ParamCount = V.Cols; then Residuals := Y - YCalc (unweighted, in
// Y's precision) and BStdErr[j] := sqrt(V(j, j) ResidualVar), one per column of V, in Y's
// precision. Also raises "RegressTest: V.Rows < V.Cols" when V has too few rows for its
// diagonal.
LUMEX_API void RegressTest(const TVec& Y, const TVec& YCalc, const TMtx& V, TRegStats& RegStats,
                           TVec& Residuals, TVec& BStdErr, bool Constant, const TVec* Weights);

// Least-squares straight line: y = b[0] + b[1] x (Constant true) or y = b[0] x (Constant
// false), weighted when Weights is not null. b is written in X's precision. YCalc, when not
// null, receives the fitted values. V, when not null, receives the 2 x 2 unscaled covariance
// matrix of (intercept, slope) of the line WITH a constant term, also when Constant is false
// (b then has one element and V does not describe it; its slope variance is 1 / sum w x^2).
// A constant X leaves the line undefined: b and V are then NaN or infinite.
// Raises, in this order: "LinRegress : X.Length <> Y.Length",
// "LinRegress : X.FloatPrecision <> Y.FloatPrecision", "LinRegress : X.Complex or Y.Complex",
// and with weights "LinRegress : (Weights.Length <> X.Length)",
// "LinRegress : (Weights.FloatPrecision <> X.FloatPrecision)".
LUMEX_API void LinRegress(const TVec& X, const TVec& Y, TVec& b, bool Constant, const TVec* Weights,
                          TVec* YCalc, TMtx* V);

// Coefficient of determination 1 - sum (yhat - y)^2 / sum (y - mean(y))^2: always about the
// mean, unweighted and without the zero threshold of RegressTest (a constant Y gives -Inf or
// NaN). Raises "R2: Y.Length <> YCalc.Length" rather than reading past the shorter vector.
LUMEX_API double R2(const TVec& Y, const TVec& YCalc);

// ---- Analysis of variance ---------------------------------------------------------------------
//
// The F tests are exact comparisons: an effect whose sum of squares is exactly 0 has F = 0 and
// significance 1; otherwise a residual sum of squares of exactly 0 gives F = +Inf and
// significance 0. Zero degrees of freedom (one group, one observation per group) leave the mean
// squares and the critical values NaN or infinite. Sums of squares are computed from deviations
// about accurately computed means, so data that are constant within each group give a residual
// sum of squares of exactly 0.

// One-way analysis of variance. MSi = SSi / Degi; FCrit = the (1 - Alpha) quantile of
// F(Deg1, Deg2).
struct TANOVA1Result {
  double SS1;       // between groups
  double SS2;       // within groups
  double SSTotal;   // about the grand mean
  double Deg1;
  double Deg2;
  double DegTotal;  // Deg1 + Deg2
  double MS1;
  double MS2;
  double FDist;     // F statistic
  double FCrit;     // critical F at level Alpha
};

// Two-way analysis of variance with an equal number of replications per cell. Index 1 is the
// row factor, 2 the column factor, 3 the interaction, 4 the error. FCrit<i> is the (1 - Alpha)
// quantile of F(Deg<i>, Deg4).
struct TANOVA2Result {
  double SS1;
  double SS2;
  double SS3;
  double SS4;
  double SSTotal;
  double Deg1;
  double Deg2;
  double Deg3;
  double Deg4;
  double DegTotal;
  double MS1;
  double MS2;
  double MS3;
  double MS4;
  double FDist1;
  double FDist2;
  double FDist3;
  double FCrit1;
  double FCrit2;
  double FCrit3;
};

// One-way analysis of variance of equal groups, one group per column of Data.
// Deg1 = Cols - 1, Deg2 = Cols (Rows - 1). Signif = P(F(Deg1, Deg2) > FDist).
// Raises "ANOVA1: Data.Complex".
LUMEX_API TANOVA1Result ANOVA1(const TMtx& Data, double& Signif, double Alpha);
// One-way analysis of variance with GroupIndex[i] (from 0) the group of Data[i]; the groups are
// 0 .. G with G the largest index, so Deg1 = G and Deg2 = n - G - 1. Groups may differ in size;
// a group number without observations makes SS1, SS2 and F undefined (NaN).
// Raises, in this order, "ANOVA1: Data.Complex or GroupIndex.Complex",
// "ANOVA1: Data.Length <> GroupIndex.Length", then "ANOVA1: Data.Length = 0" and
// "ANOVA1: GroupIndex contains negative values" (which would otherwise have no group to go to).
LUMEX_API TANOVA1Result ANOVA1(const TVec& Data, const TVecInt& GroupIndex, double& Signif,
                               double Alpha);

// Two-way analysis of variance. Data has a * Replications rows and b columns: the columns are
// the levels of the column factor, and rows come in a blocks of Replications consecutive rows,
// block i holding the replications of row level i. With Replications = 1 the interaction is the
// residual: SS3, Deg3, MS3, FDist3 and FCrit3 are NaN and SignifInter is 0.
// Raises, in this order, "ANOVA2: (Data.Rows mod Replications) <> 0" (only for a non-zero
// Replications), "ANOVA2: Replications <= 0", "ANOVA2: Data.Complex = true"; SignifInter is set
// to 0 before the checks.
LUMEX_API TANOVA2Result ANOVA2(const TMtx& Data, double& SignifRows, double& SignifCols,
                               double& SignifInter, int Replications, double Alpha);

}  // namespace lumex
