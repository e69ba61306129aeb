// The StatTimeSerAnalysis module: time-series analysis: autocorrelation, AR estimation,
// exponential smoothing and its forecasts, moving averages.
//
// A series is a real TVec, element t the observation at time t. Every function checks its
// arguments and raises ELumexError with a fixed message when one is unusable; numerically
// undefined results (a constant series, a model order beyond the data) come out as NaN or
// infinite values. Vector outputs are sized by the function in the storage precision of the
// main input unless a comment says otherwise. An output may be the same object as an input: the
// result is that of distinct objects. A lag count or horizon whose output cannot be served
// (past AllocationLimit of lumex/core/types.h, or 2^31 - 1 values) raises "<Function>:
// <Parameter> too large" before anything is allocated: "AutoCov: NumLags too large",
// "ACF: NumLags too large", "SingleExpForecast: T too large", "DoubleExpForecast: T too
// large", "TripleExpForecast: T too large".
#pragma once

#include "lumex/core/core.h"

namespace lumex {

// ---- Autocorrelation and autoregressive estimation ---------------------------------------------
//
// Autocovariances and autocorrelations are indexed by lag (element k holds lag k). AR
// coefficients Phi hold phi_1 .. phi_p of X_t = phi_1 X_{t-1} + ... + phi_p X_{t-p} + Z_t; the
// caller chooses the order p by Phi.Length, which the fits never change.

// Sample autocovariance with divisor n at every lag (R's acf(type = "covariance")):
//   Dst[k] = (1/n) * sum_{t=0}^{n-1-k} (x_t - mean)(x_{t+k} - mean),  k = 0 .. NumLags-1.
// NumLags < 0 asks for ceil(10 * log10(n)) lags; lags at or beyond n are 0. An empty Data gives
// an empty Dst. Long lag ranges are computed through the FFT, short ones directly; both agree to
// rounding. Raises "AutoCov: Data.Complex = true".
LUMEX_API void AutoCov(const TVec& Data, TVec& Dst, int NumLags);

// Sample autocorrelation: AutoCov scaled by 1/Dst[0], so Dst[0] = 1 (R's acf). A constant series
// gives NaN values (0/0). Raises "ACF: Data.Complex = true".
LUMEX_API void ACF(const TVec& Data, TVec& Dst, int NumLags);

// Partial autocorrelations by the Durbin-Levinson recursion on an autocorrelation (or
// autocovariance) sequence Rho of lags 0 .. m. With m = Rho.Length - 1: Results[k] is the
// partial autocorrelation at lag k+1, Phi the AR(m) coefficients and Variances[k] the one-step
// prediction variance of the order-k predictor, k = 0 .. m-1 (Variances[0] = Rho[0]; relative
// to 1 for autocorrelations). All three are sized to m. Raises "PACF: Rho.Complex = true" and
// "PACF: Rho.Length < 2".
LUMEX_API void PACF(const TVec& Rho, TVec& Phi, TVec& Results, TVec& Variances);
// The partial autocorrelations only (R's pacf); an Rho shorter than 2 gives an empty Results.
// Raises "PACF: Rho.Complex = true".
LUMEX_API void PACF(const TVec& Rho, TVec& Results);

// The Durbin-Levinson recursion on autocovariances gamma[0 .. NumEvals-1]: Phi (whose length is
// kept and which must hold at least NumEvals-1 elements) receives the coefficients of the AR
// model of order NumEvals-1 padded with zeros, sigma2 its innovation variance (gamma[0] when
// NumEvals <= 1), and Variances, when given, is sized like Phi with Variances[k-1] the
// innovation variance of order k. Single-precision gamma runs the whole recursion in single
// precision and stores Phi and Variances in single precision; otherwise everything is double.
// Raises "DurbinLevinson: gamma.Length = 0", "DurbinLevinson: (Phi.Length=0) or (Phi.Complex)",
// "DurbinLevinson: NumEvals > gamma.Length", "DurbinLevinson: gamma.Complex = true" and
// "DurbinLevinson: Phi.Length < NumEvals-1".
LUMEX_API void DurbinLevinson(const TVec& gamma, TVec& Phi, double& sigma2, int NumEvals,
                              TVec* Variances = nullptr);

// Yule-Walker AR(p) fit, p = Phi.Length, on the mean-corrected series: the Durbin-Levinson
// recursion on AutoCov lags 0 .. p. sigma2 is the innovation variance v_p of the recursion, that
// is gamma(0) * prod (1 - phi_kk^2) with divisor n (R's ar.yw multiplies this by n/(n - p - 1)).
// PhiStdErr, when given, receives the asymptotic standard errors
// sqrt(sigma2/n * (Gamma_p^-1)[j][j]), Gamma_p the Toeplitz matrix of lags 0 .. p-1.
// sigma2 is set to 0 before any check. Raises "ARYuleWalker: (Data.Length=0) or (Data.Complex)"
// and "Phi.Length = 0".
LUMEX_API void ARYuleWalkerFit(const TVec& Data, TVec& Phi, double& sigma2,
                               TVec* PhiStdErr = nullptr);

// Burg AR(p) fit, p = Phi.Length. The mean is NOT subtracted: centre the series first when it has
// a non-zero mean. The reflection coefficient of order k is 2 * sum(f b) / (sum f^2 + sum b^2)
// over the forward and backward prediction errors, and sigma2 is the mean of the squared forward
// and backward errors of order p. PhiStdErr receives the standard errors of ARYuleWalkerFit's
// form from the mean-corrected autocovariances. A series of p values or fewer gives NaN results.
// sigma2 is set to 0 before any check. Raises "ARBurg: (Data.Length=0) or (Data.Complex)" and
// "Phi.Length = 0".
LUMEX_API void ARBurgFit(const TVec& Data, TVec& Phi, double& sigma2, TVec& PhiStdErr);

// Ljung-Box portmanteau statistic Q = n(n+2) * sum_{k=1}^{h} r_k^2 / (n-k) from the sample
// autocorrelations r_k. Under white noise Q is approximately chi-square with h degrees of freedom
// (h - p - q for ARMA residuals); no significance is formed here. h <= 0 gives 0. Raises
// "BoxLjung : X.Complex = true" and "BoxLjung : h > X.Length-1".
LUMEX_API double BoxLjung(const TVec& X, int h);

// ---- Exponential smoothing and moving average --------------------------------------------------
//
// Each smoother comes in two forms: with the smoothing constants given (each in [0, 1]), and with
// the constants chosen by minimising the mean squared one-step forecast error MSE with the bounded
// Nelder-Mead Simplex (at most 500 iterations, tolerance 1e-8). The constants passed in must lie
// in [0, 1], are the simplex's starting point, and are overwritten by the constants found. These
// MSE surfaces have local minima, so the minimum found is compared with a grid of 21 values per
// constant (0, 0.05, ..., 1; 21, 441 or 9261 evaluations), and when a grid point is lower the
// simplex descends again from the lowest one. The result is never worse than the constants passed
// in or any grid point. The optimised smoothers return the MSE; the optimised forecasters write it
// to MSE. Arithmetic runs in the storage precision of Y.
//
// InitMethod of single smoothing: 1 starts the level at the mean of Y[0..3], anything else at
// Y[0]. Of double smoothing: the level starts at Y[0] and the trend at (Y[3] - Y[0])/3 for 1,
// (Y[n-1] - Y[0])/(n-1) for 2, Y[1] - Y[0] otherwise.
//
// Series too short for their start raise "<Function>: Y.Length < 2",
// "<Function>: (InitMethod = 1) and (Y.Length < 4)" (single and double smoothing) and
// "<Function>: Period < 1", "<Function>: Y.Length < 2*Period" (triple smoothing).

// Single smoothing: Level[0] as InitMethod says, Level[t] = Level[t-1] + Alpha (Y[t] - Level[t-1])
// for t = 1 .. n-2, so Level (n-1 values) holds the one-step forecasts of Y[1 .. n-1] and
// MSE = mean of (Y[t+1] - Level[t])^2. Raises "SingleExpSmooth: (Alpha>1) or (Alpha<0)" and
// "SingleExpSmooth: Y.Complex = true".
LUMEX_API void SingleExpSmooth(const TVec& Y, TVec& Level, double Alpha, double& MSE,
                               int InitMethod);
LUMEX_API double SingleExpSmooth(const TVec& Y, TVec& Level, double& Alpha, int InitMethod);

// The one-step forecasts of single smoothing for times 1 .. n-1, continued flat up to time T-1:
// YHat has T-1 values (the last level repeated past the data). Raises
// "SingleExpForecast: Y.Complex = true" and "SingleExpForecast: T<1"; the constant is not
// checked.
LUMEX_API void SingleExpForecast(const TVec& Y, TVec& YHat, double Alpha, int T, int InitMethod);
LUMEX_API void SingleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, int T, double& MSE,
                                 int InitMethod);

// Double (Holt) smoothing with level S and trend B over all n values:
//   S[t] = Alpha Y[t] + (1-Alpha)(S[t-1] + B[t-1]),  B[t] = Gamma (S[t] - S[t-1]) + (1-Gamma) B[t-1],
// MSE = sum_{i<n-1} (S[i] + B[i] - Y[i+1])^2 / (n-1). The given-constant form sets MSE to 0
// before its checks. Raises "DoubleExpSmooth: (Alpha>1) or (Alpha<0)",
// "DoubleExpSmooth: (Gamma>1) or (Gamma<0)" and "DoubleExpSmooth: Y.Complex = true".
LUMEX_API void DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double Alpha, double Gamma,
                               double& MSE, int InitMethod);
LUMEX_API double DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double& Alpha,
                                 double& Gamma, int InitMethod);

// Holt forecasts: YHat[i] (time i+1) = S[i] + B[i] inside the data, then the last level plus
// (steps ahead) times the last trend, up to time T-1 (T-1 values). Raises the messages of
// DoubleExpSmooth under the name DoubleExpForecast, then "DoubleExpForecast: T<1".
LUMEX_API void DoubleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Gamma, int T,
                                 int InitMethod);
LUMEX_API void DoubleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Gamma, int T,
                                 double& MSE, int InitMethod);

// Triple (Holt-Winters, multiplicative season) smoothing with season length L = Period. Level and
// Trend have n-L values, Season n. The start uses the N = n/L complete seasons: the trend is the
// mean seasonal difference of the first two seasons divided by L, the seasonal indexes the mean
// over seasons of Y divided by its season's mean, the level the mean of the first season. Then
// for t = 1 .. n-L-1 with y = Y[t+L-1]:
//   S[t] = Alpha y / I[t-1] + (1-Alpha)(S[t-1] + B[t-1]),
//   I[t+L-1] = Beta y / S[t] + (1-Beta) I[t-1],
//   B[t] = Gamma (S[t] - S[t-1]) + (1-Gamma) B[t-1],
// and MSE = mean of ((S[i] + B[i]) I[i] - Y[L+i])^2, i = 0 .. n-L-1. Season[n-1] is not reached
// by the recursion and is 0. Note the lagged indexes of
// this scheme: S[t] is the level at time t+L-1, and it is deflated by the index I[t-1], one
// season plus one step back. Raises "TripleExpSmooth: (Alpha>1) or (Alpha<0)",
// "TripleExpSmooth: (Beta>1) or (Beta<0)", "TripleExpSmooth: (Gamma>1) or (Gamma<0)",
// "TripleExpSmooth: Y.Complex = true", "TripleExpSmooth: Period < 1",
// "TripleExpSmooth: (Y.Length mod Period <> 0)" and "TripleExpSmooth: Y.Length < 2*Period".
LUMEX_API void TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season, double Alpha,
                               double Beta, double Gamma, double& MSE, int Period);
LUMEX_API double TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season,
                                 double& Alpha, double& Beta, double& Gamma, int Period);

// Holt-Winters forecasts: YHat[i] stands for time i+L; (S[i] + B[i]) I[i] inside the data, then
// (last level + h * last trend) times the seasonal index of the last complete season, up to time
// T-1 (T-L values). Raises the messages of TripleExpSmooth under the name TripleExpForecast, then
// "TripleExpForecast: T<Period".
LUMEX_API void TripleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Beta, double Gamma,
                                 int T, int Period);
LUMEX_API void TripleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Beta,
                                 double& Gamma, int T, double& MSE, int Period);

// Moving average of window N. Not centred: MovAve[i] = mean of Y[i .. i+N-1] (n-N+1 values) and
// Lag = N-1. Centred: Lag = (N-1) div 2; odd N as before, even N the window-N/2 moving mean taken
// twice (n-N+2 values). Returns the mean of (Y[Lag+i] - MovAve[i])^2. Raises
// "SingleMovAve: Y.Complex", "SingleMovAve: N<1" and "SingleMovAve: Y.Length<N". MovAve may be
// Y itself: the residuals are then taken from Y's values before they were overwritten.
LUMEX_API double MovingAverage(const TVec& Y, int N, TVec& MovAve, int& Lag, bool Centered);

}  // namespace lumex
