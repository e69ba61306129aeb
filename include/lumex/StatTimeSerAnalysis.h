/// @file
/// The StatTimeSerAnalysis module: time-series analysis: autocorrelation, AR estimation,
/// exponential smoothing and its forecasts, moving averages, ARMA/ARIMA estimation, forecasting
/// and simulation, the ARAR method and the Box-Cox transform.
///
/// A series is a real TVec, element t the observation at time t. Every function checks its
/// arguments and raises ELumexError with a fixed message when one is unusable; numerically
/// undefined results (a constant series, a model order beyond the data) come out as NaN or
/// infinite values. Vector outputs are sized by the function in the storage precision of the
/// main input unless a comment says otherwise. An output may be the same object as an input:
/// the result is that of distinct objects. A lag count or horizon whose output cannot be served
/// (past AllocationLimit of lumex/core/types.h, or 2^31 - 1 values) raises
/// "<Function>: <Parameter> too large" before anything is allocated:
/// "AutoCov: NumLags too large", "ACF: NumLags too large", "SingleExpForecast: T too large",
/// "DoubleExpForecast: T too large", "TripleExpForecast: T too large".
#pragma once

#include "lumex/core/core.h"

namespace lumex {

/// @name Autocorrelation and autoregressive estimation
/// Autocovariances and autocorrelations are indexed by lag (element k holds lag k). AR
/// coefficients Phi hold phi_1 .. phi_p of X_t = phi_1 X_{t-1} + ... + phi_p X_{t-p} + Z_t;
/// the caller chooses the order p by Phi.Length, which the fits never change.
/// @{

/// Sample autocovariance with divisor n at every lag (R's acf(type = "covariance")).
///
/// Dst[k] = (1/n) * sum_{t=0}^{n-1-k} (x_t - mean)(x_{t+k} - mean), k = 0 .. NumLags-1.
/// Long lag ranges are computed through the FFT, short ones directly; both agree to rounding.
/// @param Data      the series.
/// @param[out] Dst  NumLags values (lags at or beyond n are 0); empty for an empty Data.
/// @param NumLags   the number of lags; < 0 asks for ceil(10 * log10(n)).
/// @throws ELumexError "AutoCov: Data.Complex = true", "AutoCov: NumLags too large".
///
/// NaN/Inf: a non-finite value makes every lag NaN.
LUMEX_API void AutoCov(const TVec& Data, TVec& Dst, int NumLags);

/// Sample autocorrelation (R's acf): AutoCov scaled by 1/Dst[0], so Dst[0] = 1.
///
/// @param Data      the series.
/// @param[out] Dst  NumLags values, as in AutoCov.
/// @param NumLags   the number of lags; < 0 asks for ceil(10 * log10(n)).
/// @throws ELumexError "ACF: Data.Complex = true", "ACF: NumLags too large".
///
/// NaN/Inf: a constant series gives NaN values (0/0).
LUMEX_API void ACF(const TVec& Data, TVec& Dst, int NumLags);

/// Partial autocorrelations by the Durbin-Levinson recursion, with the AR coefficients and the
/// prediction variances.
///
/// Rho is an autocorrelation (or autocovariance) sequence of lags 0 .. m, m = Rho.Length - 1.
/// @param Rho              the sequence of lags 0 .. m, at least 2 values.
/// @param[out] Phi         m values: the AR(m) coefficients.
/// @param[out] Results     m values: Results[k] is the partial autocorrelation at lag k+1.
/// @param[out] Variances   m values: Variances[k] is the one-step prediction variance of the
///                         order-k predictor (Variances[0] = Rho[0]; relative to 1 for
///                         autocorrelations).
/// @throws ELumexError "PACF: Rho.Complex = true", then "PACF: Rho.Length < 2".
LUMEX_API void PACF(const TVec& Rho, TVec& Phi, TVec& Results, TVec& Variances);
/// The partial autocorrelations only (R's pacf): the four-argument PACF without its other
/// outputs.
///
/// @param Rho           the sequence of lags 0 .. m.
/// @param[out] Results  m values; empty for an Rho shorter than 2.
/// @throws ELumexError "PACF: Rho.Complex = true".
LUMEX_API void PACF(const TVec& Rho, TVec& Results);

/// The Durbin-Levinson recursion on autocovariances gamma[0 .. NumEvals-1].
///
/// Single-precision gamma runs the whole recursion in single precision and stores Phi and
/// Variances in single precision; otherwise everything is double.
/// @param gamma            the autocovariances, at least NumEvals values.
/// @param[in,out] Phi      length kept, at least NumEvals-1 elements: receives the coefficients
///                         of the AR model of order NumEvals-1, padded with zeros.
/// @param[out] sigma2      its innovation variance (gamma[0] when NumEvals <= 1).
/// @param NumEvals         the number of autocovariances used (the order plus one).
/// @param[out] Variances   may be null: sized like Phi, Variances[k-1] the innovation variance
///                         of order k.
/// @throws ELumexError in this order: "DurbinLevinson: gamma.Length = 0",
///         "DurbinLevinson: (Phi.Length=0) or (Phi.Complex)",
///         "DurbinLevinson: NumEvals > gamma.Length", "DurbinLevinson: gamma.Complex = true",
///         "DurbinLevinson: Phi.Length < NumEvals-1".
LUMEX_API void DurbinLevinson(const TVec& gamma, TVec& Phi, double& sigma2, int NumEvals,
                              TVec* Variances = nullptr);

/// Yule-Walker AR(p) fit, p = Phi.Length, on the mean-corrected series.
///
/// The Durbin-Levinson recursion on AutoCov lags 0 .. p. sigma2 is the innovation variance v_p
/// of the recursion, that is gamma(0) * prod (1 - phi_kk^2) with divisor n (R's ar.yw
/// multiplies this by n/(n - p - 1)).
/// @param Data            the series.
/// @param[in,out] Phi     in: its length p sets the order; out: phi_1 .. phi_p.
/// @param[out] sigma2     the innovation variance; set to 0 before any check.
/// @param[out] PhiStdErr  may be null: the asymptotic standard errors
///                        sqrt(sigma2/n * (Gamma_p^-1)[j][j]), Gamma_p the Toeplitz matrix of
///                        lags 0 .. p-1.
/// @throws ELumexError "ARYuleWalker: (Data.Length=0) or (Data.Complex)", then
///         "Phi.Length = 0".
///
/// NaN/Inf: a constant series gives NaN coefficients.
LUMEX_API void ARYuleWalkerFit(const TVec& Data, TVec& Phi, double& sigma2,
                               TVec* PhiStdErr = nullptr);

/// Burg AR(p) fit, p = Phi.Length; the mean is NOT subtracted.
///
/// Centre the series first when it has a non-zero mean. The reflection coefficient of order k
/// is 2 * sum(f b) / (sum f^2 + sum b^2) over the forward and backward prediction errors, and
/// sigma2 is the mean of the squared forward and backward errors of order p.
/// @param Data            the series.
/// @param[in,out] Phi     in: its length p sets the order; out: phi_1 .. phi_p.
/// @param[out] sigma2     the innovation variance; set to 0 before any check.
/// @param[out] PhiStdErr  the standard errors of ARYuleWalkerFit's form, from the
///                        mean-corrected autocovariances.
/// @throws ELumexError "ARBurg: (Data.Length=0) or (Data.Complex)", then "Phi.Length = 0".
///
/// NaN/Inf: a series of p values or fewer gives NaN results.
LUMEX_API void ARBurgFit(const TVec& Data, TVec& Phi, double& sigma2, TVec& PhiStdErr);

/// Ljung-Box portmanteau statistic Q = n(n+2) * sum_{k=1}^{h} r_k^2 / (n-k).
///
/// r_k are the sample autocorrelations of X. Under white noise Q is approximately chi-square
/// with h degrees of freedom (h - p - q for ARMA residuals); no significance is formed here.
/// @param X  the series (often the residuals of a fitted model).
/// @param h  the number of lags; h <= 0 gives 0.
/// @return Q.
/// @throws ELumexError "BoxLjung : X.Complex = true", then "BoxLjung : h > X.Length-1".
///
/// NaN/Inf: a constant series gives NaN.
LUMEX_API double BoxLjung(const TVec& X, int h);

/// @}

/// @name Exponential smoothing and moving average
/// Each smoother comes in two forms: with the smoothing constants given (each in [0, 1]), and
/// with the constants chosen by minimising the mean squared one-step forecast error MSE with
/// the bounded Nelder-Mead Simplex (at most 500 iterations, tolerance 1e-8). The constants
/// passed in must lie in [0, 1], are the simplex's starting point, and are overwritten by the
/// constants found. These MSE surfaces have local minima, so the minimum found is compared with
/// a grid of 21 values per constant (0, 0.05, ..., 1; 21, 441 or 9261 evaluations), and when a
/// grid point is lower the simplex descends again from the lowest one. The result is never
/// worse than the constants passed in or any grid point. The optimised smoothers return the
/// MSE; the optimised forecasters write it to MSE. Arithmetic runs in the storage precision of
/// Y. A constant outside [0, 1], or NaN, raises "<Function>: (Alpha>1) or (Alpha<0)" (likewise
/// Beta, Gamma).
///
/// InitMethod of single smoothing: 1 starts the level at the mean of Y[0..3], anything else at
/// Y[0]. Of double smoothing: the level starts at Y[0] and the trend at (Y[3] - Y[0])/3 for 1,
/// (Y[n-1] - Y[0])/(n-1) for 2, Y[1] - Y[0] otherwise.
///
/// Series too short for their start raise "<Function>: Y.Length < 2",
/// "<Function>: (InitMethod = 1) and (Y.Length < 4)" (single and double smoothing) and
/// "<Function>: Period < 1", "<Function>: Y.Length < 2*Period" (triple smoothing).
/// @{

/// Single exponential smoothing with a given constant.
///
/// Level[0] as InitMethod says, Level[t] = Level[t-1] + Alpha (Y[t] - Level[t-1]) for
/// t = 1 .. n-2, so Level holds the one-step forecasts of Y[1 .. n-1] and
/// MSE = mean of (Y[t+1] - Level[t])^2.
/// @param Y            the series, at least 2 values (4 for InitMethod 1).
/// @param[out] Level   n-1 values: the one-step forecasts.
/// @param Alpha        the smoothing constant, in [0, 1].
/// @param[out] MSE     the mean squared one-step forecast error.
/// @param InitMethod   the start of the level (see the family's introduction).
/// @throws ELumexError in this order: "SingleExpSmooth: (Alpha>1) or (Alpha<0)",
///         "SingleExpSmooth: Y.Complex = true", "SingleExpSmooth: Y.Length < 2",
///         "SingleExpSmooth: (InitMethod = 1) and (Y.Length < 4)".
///
/// NaN/Inf: a NaN value makes the later levels and the MSE NaN.
LUMEX_API void SingleExpSmooth(const TVec& Y, TVec& Level, double Alpha, double& MSE,
                               int InitMethod);
/// Single exponential smoothing with the constant that minimises the MSE.
///
/// @param Y               the series.
/// @param[out] Level      n-1 values, at the constant found.
/// @param[in,out] Alpha   in: the start, in [0, 1]; out: the constant found.
/// @param InitMethod      the start of the level.
/// @return the MSE at the constant found.
/// @throws ELumexError the messages of the given-constant form.
LUMEX_API double SingleExpSmooth(const TVec& Y, TVec& Level, double& Alpha, int InitMethod);

/// Forecasts of single smoothing with a given constant.
///
/// The one-step forecasts of single smoothing for times 1 .. n-1, continued flat up to time
/// T-1 (the last level repeated past the data).
/// @param Y           the series.
/// @param[out] YHat   T-1 values: YHat[i] stands for time i+1.
/// @param Alpha       the smoothing constant (not checked).
/// @param T           one past the last time forecast, >= 1.
/// @param InitMethod  the start of the level.
/// @throws ELumexError in this order: "SingleExpForecast: Y.Complex = true",
///         "SingleExpForecast: T<1", "SingleExpForecast: T too large", then the length
///         messages under the name SingleExpForecast.
LUMEX_API void SingleExpForecast(const TVec& Y, TVec& YHat, double Alpha, int T, int InitMethod);
/// Forecasts of single smoothing with the constant that minimises the MSE.
///
/// @param Y               the series.
/// @param[out] YHat       T-1 values, as in the given-constant form.
/// @param[in,out] Alpha   in: the start, in [0, 1]; out: the constant found.
/// @param T               one past the last time forecast, >= 1.
/// @param[out] MSE        the MSE at the constant found.
/// @param InitMethod      the start of the level.
/// @throws ELumexError "SingleExpForecast: T too large", then the messages of the optimised
///         SingleExpSmooth (which name SingleExpSmooth), then "SingleExpForecast: T<1".
LUMEX_API void SingleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, int T, double& MSE,
                                 int InitMethod);

/// Double (Holt) exponential smoothing with given constants.
///
/// Level S and trend B over all n values:
/// S[t] = Alpha Y[t] + (1-Alpha)(S[t-1] + B[t-1]), B[t] = Gamma (S[t] - S[t-1]) +
/// (1-Gamma) B[t-1]; MSE = sum_{i<n-1} (S[i] + B[i] - Y[i+1])^2 / (n-1).
/// @param Y             the series, at least 2 values (4 for InitMethod 1).
/// @param[out] Level, Trend  n values each.
/// @param Alpha, Gamma  the level and trend constants, in [0, 1].
/// @param[out] MSE      the mean squared one-step forecast error; set to 0 before the checks.
/// @param InitMethod    the start of level and trend (see the family's introduction).
/// @throws ELumexError in this order: "DoubleExpSmooth: (Alpha>1) or (Alpha<0)",
///         "DoubleExpSmooth: (Gamma>1) or (Gamma<0)", "DoubleExpSmooth: Y.Complex = true",
///         then the length messages under the name DoubleExpSmooth.
LUMEX_API void DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double Alpha, double Gamma,
                               double& MSE, int InitMethod);
/// Double (Holt) exponential smoothing with the constants that minimise the MSE.
///
/// @param Y                     the series.
/// @param[out] Level, Trend     n values each, at the constants found.
/// @param[in,out] Alpha, Gamma  in: the start, in [0, 1]; out: the constants found.
/// @param InitMethod            the start of level and trend.
/// @return the MSE at the constants found.
/// @throws ELumexError the messages of the given-constant form.
LUMEX_API double DoubleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, double& Alpha,
                                 double& Gamma, int InitMethod);

/// Holt forecasts with given constants.
///
/// YHat[i] (time i+1) = S[i] + B[i] inside the data, then the last level plus (steps ahead)
/// times the last trend, up to time T-1.
/// @param Y             the series.
/// @param[out] YHat     T-1 values.
/// @param Alpha, Gamma  the level and trend constants, in [0, 1].
/// @param T             one past the last time forecast, >= 1.
/// @param InitMethod    the start of level and trend.
/// @throws ELumexError in this order: the constant and complex messages of DoubleExpSmooth
///         under the name DoubleExpForecast, "DoubleExpForecast: T<1",
///         "DoubleExpForecast: T too large", then the length messages.
LUMEX_API void DoubleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Gamma, int T,
                                 int InitMethod);
/// Holt forecasts with the constants that minimise the MSE.
///
/// @param Y                     the series.
/// @param[out] YHat             T-1 values.
/// @param[in,out] Alpha, Gamma  in: the start, in [0, 1]; out: the constants found.
/// @param T                     one past the last time forecast, >= 1.
/// @param[out] MSE              the MSE at the constants found.
/// @param InitMethod            the start of level and trend.
/// @throws ELumexError the messages of the given-constant form.
LUMEX_API void DoubleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Gamma, int T,
                                 double& MSE, int InitMethod);

/// Triple (Holt-Winters, multiplicative season) smoothing with given constants.
///
/// Season length L = Period. The start uses the N = n/L complete seasons: the trend is the
/// mean seasonal difference of the first two seasons divided by L, the seasonal indexes the
/// mean over seasons of Y divided by its season's mean, the level the mean of the first
/// season. Then for t = 1 .. n-L-1 with y = Y[t+L-1]:
///
///     S[t] = Alpha y / I[t-1] + (1-Alpha)(S[t-1] + B[t-1]),
///     I[t+L-1] = Beta y / S[t] + (1-Beta) I[t-1],
///     B[t] = Gamma (S[t] - S[t-1]) + (1-Gamma) B[t-1],
///
/// and MSE = mean of ((S[i] + B[i]) I[i] - Y[L+i])^2, i = 0 .. n-L-1. Note the lagged indexes
/// of this scheme: S[t] is the level at time t+L-1, and it is deflated by the index I[t-1],
/// one season plus one step back.
/// @param Y                   the series, a whole number of seasons, at least two.
/// @param[out] Level, Trend   n-L values each.
/// @param[out] Season         n values; Season[n-1] is not reached by the recursion and is 0.
/// @param Alpha, Beta, Gamma  the level, seasonal and trend constants, in [0, 1].
/// @param[out] MSE            the mean squared one-step forecast error.
/// @param Period              the season length L.
/// @throws ELumexError in this order: "TripleExpSmooth: (Alpha>1) or (Alpha<0)",
///         "TripleExpSmooth: (Beta>1) or (Beta<0)", "TripleExpSmooth: (Gamma>1) or (Gamma<0)",
///         "TripleExpSmooth: Y.Complex = true", "TripleExpSmooth: Period < 1",
///         "TripleExpSmooth: (Y.Length mod Period <> 0)", "TripleExpSmooth: Y.Length < 2*Period".
///
/// NaN/Inf: a zero level or seasonal index gives infinite or NaN values.
LUMEX_API void TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season, double Alpha,
                               double Beta, double Gamma, double& MSE, int Period);
/// Triple (Holt-Winters) smoothing with the constants that minimise the MSE.
///
/// @param Y                            the series.
/// @param[out] Level, Trend, Season    as in the given-constant form, at the constants found.
/// @param[in,out] Alpha, Beta, Gamma   in: the start, in [0, 1]; out: the constants found.
/// @param Period                       the season length L.
/// @return the MSE at the constants found.
/// @throws ELumexError the messages of the given-constant form.
LUMEX_API double TripleExpSmooth(const TVec& Y, TVec& Level, TVec& Trend, TVec& Season,
                                 double& Alpha, double& Beta, double& Gamma, int Period);

/// Holt-Winters forecasts with given constants.
///
/// YHat[i] stands for time i+L: (S[i] + B[i]) I[i] inside the data, then
/// (last level + h * last trend) times the seasonal index of the last complete season, up to
/// time T-1.
/// @param Y                   the series.
/// @param[out] YHat           T-L values.
/// @param Alpha, Beta, Gamma  the level, seasonal and trend constants, in [0, 1].
/// @param T                   one past the last time forecast, >= Period.
/// @param Period              the season length L.
/// @throws ELumexError in this order: the constant, complex, "Period < 1" and "mod" messages
///         of TripleExpSmooth under the name TripleExpForecast, "TripleExpForecast: T<Period",
///         "TripleExpForecast: T too large", "TripleExpForecast: Y.Length < 2*Period".
LUMEX_API void TripleExpForecast(const TVec& Y, TVec& YHat, double Alpha, double Beta, double Gamma,
                                 int T, int Period);
/// Holt-Winters forecasts with the constants that minimise the MSE.
///
/// @param Y                           the series.
/// @param[out] YHat                   T-L values.
/// @param[in,out] Alpha, Beta, Gamma  in: the start, in [0, 1]; out: the constants found.
/// @param T                           one past the last time forecast, >= Period.
/// @param[out] MSE                    the MSE at the constants found.
/// @param Period                      the season length L.
/// @throws ELumexError the messages of the given-constant form.
LUMEX_API void TripleExpForecast(const TVec& Y, TVec& YHat, double& Alpha, double& Beta,
                                 double& Gamma, int T, double& MSE, int Period);

/// Moving average of window N, trailing or centred.
///
/// Not centred: MovAve[i] = mean of Y[i .. i+N-1] and Lag = N-1. Centred: Lag = (N-1) div 2;
/// odd N as before, even N the window-N/2 moving mean taken twice.
/// @param Y            the series, at least N values.
/// @param N            the window, >= 1.
/// @param[out] MovAve  n-N+1 values (n-N+2 for a centred even window); may be Y itself: the
///                     residuals are then taken from Y's values before they were overwritten.
/// @param[out] Lag     the offset of MovAve[0] in Y.
/// @param Centered     centre the window.
/// @return the mean of (Y[Lag+i] - MovAve[i])^2.
/// @throws ELumexError in this order: "SingleMovAve: Y.Complex", "SingleMovAve: N<1",
///         "SingleMovAve: Y.Length<N".
///
/// NaN/Inf: a non-finite value gives non-finite averages in the windows that hold it, and
/// the running sum may carry NaN into some following windows.
LUMEX_API double MovingAverage(const TVec& Y, int N, TVec& MovAve, int& Lag, bool Centered);

/// @}

/// @name ARMA estimation
/// The ARMA(p, q) model X_t - phi_1 X_{t-1} - ... - phi_p X_{t-p} = Z_t + theta_1 Z_{t-1} + ...
/// + theta_q Z_{t-q} (R's sign convention). Phi holds phi_1 .. phi_p and Theta
/// theta_1 .. theta_q; the caller fixes p and q by the lengths, which the estimators keep. A Phi
/// or Theta that may be absent is a pointer: nullptr and an empty vector both mean order 0.
/// Autocovariances are those of the model with unit white-noise variance. Coefficients in
/// complex storage raise "<Function>: (Phi.Complex) or (Theta.Complex)" wherever the messages
/// below do not say otherwise.
/// @{

/// How a set of ARMA coefficients was obtained.
///
/// A label for callers; no function takes it as an argument.
enum TcfInitMethod : std::uint8_t {
  cfInitFixed,  ///< given by the caller
  cfInitYW,     ///< Yule-Walker (ARYuleWalkerFit)
  cfInitBurg,   ///< Burg (ARBurgFit)
  cfInitInno,   ///< the innovations algorithm (ARMAInnovationsFit)
  cfInitHannah  ///< Hannan-Rissanen (ARMAHannahFit)
};

/// Whether an AR part is causal or an MA part invertible: every root of the coefficient
/// polynomial strictly outside the unit circle.
///
/// For IsAR the polynomial is 1 - c_1 z - ... - c_p z^p, otherwise 1 + c_1 z + ... + c_q z^q.
/// Roots come from PolyRoots.
/// @param Coeffs  c_1 .. c_k; empty (the polynomial 1, no roots) gives true.
/// @param IsAR    true for AR coefficients, false for MA coefficients.
/// @return true when all roots lie strictly outside the unit circle; a root on the circle
///         gives false.
/// @throws ELumexError "CheckARMACoeffs: Coeffs.Complex = true".
///
/// NaN/Inf: a NaN or infinite coefficient gives false.
LUMEX_API bool CheckARMACoeffs(const TVec& Coeffs, bool IsAR);
/// Array form of CheckARMACoeffs (the coefficients are copied into a vector).
///
/// @param Coeffs  c_1 .. c_k.
/// @param IsAR    true for AR coefficients, false for MA coefficients.
/// @return true when all roots lie strictly outside the unit circle.
LUMEX_API bool CheckARMACoeffs(std::span<const double> Coeffs, bool IsAR);

/// Theoretical autocovariances gamma(0 .. n) of the ARMA model with unit noise variance.
///
/// gamma(0 .. max(p,q)) from the linear system sum_j a_j gamma(|k-j|) = sum_j b_{j+k} psi_j
/// (a = [1, -phi], b = [1, theta], psi the MA(infinity) weights), solved by LU, later lags by
/// the AR recursion (0 beyond q for a pure MA). The AR part is not checked: a non-causal AR
/// part gives the formal solution of the equations, which need not be an autocovariance.
/// Normalized, these are R's ARMAacf.
/// @param Phi, Theta  the AR and MA coefficients; may be null.
/// @param n           the last lag, >= 1.
/// @param[out] Dst    n+1 values in the precision of Phi (else Theta); empty for p = q = 0.
/// @param Normalize   divide by gamma(0): the autocorrelations.
/// @throws ELumexError in this order: "n <= 0" (n < 1), the complex-coefficient message,
///         "ARMAAcf: n too large" (n > 10^8) and, for AR roots z, w with z w = 1 (a unit root
///         among them), "LUSolve: matrix is singular".
LUMEX_API void ARMAAcf(const TVec* Phi, const TVec* Theta, int n, TVec& Dst, bool Normalize);

/// One element kappa(i, j) of the covariance of the transformed process of Brockwell and
/// Davis (5.3).
///
/// W_t = X_t (t <= m), W_t = phi(B) X_t (t > m), m = max(p, q); with h = |i-j|:
/// GammaX[h] when i, j <= m; GammaX[h] - sum_r phi_r GammaX[|r-h|] when
/// min(i,j) <= m < max(i,j) <= 2m; GammaMA[h] when min(i,j) > m and h < GammaMA.Length - 1;
/// otherwise 0.
/// @param GammaX      the model's autocovariances.
/// @param GammaMA     the autocovariances of its MA part.
/// @param i, j        the element, counted from 1.
/// @param Phi, Theta  the AR and MA coefficients; may be null.
/// @return kappa(i, j).
/// @throws ELumexError "ARMAKappa: (i<1) or (j<1)",
///         "ARMAKappa: (GammaX.Complex) or (GammaMA.Complex)" and "ARMAKappa: GammaX too short"
///         when an element beyond GammaX would be read.
LUMEX_API double ARMAKappa(const TVec& GammaX, const TVec& GammaMA, int i, int j,
                           const TVec* Phi, const TVec* Theta);
/// The N-by-N matrix of kappa(i, j), i, j = 1 .. N (see the element form of ARMAKappa).
///
/// GammaX = ARMAAcf(Phi, Theta, 5m) and GammaMA = ARMAAcf(none, Theta, 2m). A pure AR model
/// takes the MA autocovariance of white noise ([1]), so kappa(i, i) = 1 beyond m.
/// @param Data        only its precision is used: that of Kappa.
/// @param Phi, Theta  the AR and MA coefficients, p + q >= 1; may be null.
/// @param[out] Kappa  N x N.
/// @param N           the order, 0 .. 8192.
/// @throws ELumexError "ARMAKappa: N < 0", "ARMAKappa: N too large" (N > 8192), and for
///         p = q = 0 "n <= 0" from ARMAAcf.
LUMEX_API void ARMAKappa(const TVec& Data, const TVec* Phi, const TVec* Theta, TMtx& Kappa,
                         int N);

/// The innovations algorithm (Brockwell and Davis, 5.2.2) on a covariance.
///
/// K is a vector of autocovariances (K(k, j) = kappa[k-j], a stationary series) or a matrix of
/// kappa(k, j). The recursion skips exact zeros of K below the diagonal, so a banded K
/// (ARMAKappa) costs O(N q^2) besides the O(N^2) output.
/// @param kappa          the covariance: a TVec of lags 0 .. N or an (N+1) x (N+1) TMtx.
/// @param q              not used.
/// @param[out] ThetaM    (N+1) x (N+1): theta_{k,j} in row k, column j (column 0 is 1).
/// @param[out] Variances N+1 values: the one-step mean squared errors v_0 .. v_N.
/// @param NumEvals       N, 0 .. 8191.
/// @throws ELumexError in this order: "Innovations: gamma.Length = 0",
///         "Innovations: kappa.Length < NumEvals", "Innovations: kappa.Rows < NumEvals",
///         "Innovations: kappa.Complex = true", "Innovations: NumEvals < 0",
///         "Innovations: kappa.Length < NumEvals+1" (a vector must hold lags 0 .. N),
///         "Innovations: kappa.Rows < NumEvals+1", "Innovations: kappa.Cols < NumEvals+1" (a
///         matrix must be at least (N+1) x (N+1)), "Innovations: NumEvals too large"
///         (N > 8191); an error of the computation is raised again as "Innovations : " + its
///         message.
///
/// NaN/Inf: a zero variance gives NaN or infinite coefficients, not an error.
LUMEX_API void Innovations(const TDenseLumex& kappa, int q, TMtx& ThetaM, TVec& Variances,
                           int NumEvals);
/// MA(q) coefficients from the innovations algorithm on gamma, q = Theta.Length.
///
/// @param gamma            the covariance, as in the matrix form.
/// @param[in,out] Theta    in: its length q; out: Theta[j-1] = theta_{N,j}.
/// @param[out] sigma2      v_N; set to 0 first.
/// @param NumEvals         N, >= q.
/// @param[out] Variances   may be null: v_1 .. v_q.
/// @param[out] ThetaVar    may be null: q values, sum_{l<j} theta_{N,l}^2 (theta_{N,0} = 1).
/// @throws ELumexError "Innovations: (Theta.Length=0) or (Theta.Complex)", the matrix form's
///         messages and "Innovations: Theta.Length > NumEvals".
LUMEX_API void Innovations(const TDenseLumex& gamma, TVec& Theta, double& sigma2, int NumEvals,
                           TVec* Variances = nullptr, TVec* ThetaVar = nullptr);

/// Preliminary MA(q) fit by the innovations algorithm (Brockwell and Davis, 8.3).
///
/// On the sample autocovariances (AutoCov, mean removed) of lags 0 .. m: Theta = theta_{m,j},
/// sigma2 = v_m and ThetaStdErr[j-1] = sqrt((1 + theta_{m,1}^2 + ... + theta_{m,j-1}^2)/n).
/// @param Data               the series.
/// @param[in,out] Theta      in: its length q; out: the MA coefficients.
/// @param[out] sigma2        the noise variance v_m; set to 0 first.
/// @param[out] ThetaStdErr   may be null: q standard errors, in Data's precision.
/// @param MaxLags            m, at most n-1; ceil(10 log10 n) when negative.
/// @throws ELumexError in this order: "ARMAInnovations: (Data.Length=0) or (Data.Complex)",
///         "ARMAInnovations: (Theta.Length=0) or (Theta.Complex)",
///         "ARMA: MaxLags > Data.Length -1" and "Innovations: Theta.Length > NumEvals" when
///         m < q.
LUMEX_API void ARMAInnovationsFit(const TVec& Data, TVec& Theta, double& sigma2,
                                  TVec* ThetaStdErr, int MaxLags);
/// Preliminary ARMA(p, q) fit by the innovations algorithm (Brockwell and Davis, 8.4).
///
/// The MA(p+q) innovations coefficients w_j = theta_{m,j} of lag m give Phi from
/// sum_k phi_k theta_{m,q+i-k} = theta_{m,q+i}, i = 1 .. p (theta_{m,0} = 1 and 0 below, so
/// p > q works), and Theta[j-1] = psi_j - sum_{k<=min(j,p)} phi_k psi_{j-k} with psi = [1, w].
/// Needs m >= p + q.
/// @param Data               the series.
/// @param[in,out] Phi        in: its length p; out: the AR coefficients.
/// @param[in,out] Theta      in: its length q; out: the MA coefficients.
/// @param[out] sigma2        v_m; set to 0 first.
/// @param[out] PhiStdErr     may be null: p zeros.
/// @param[out] ThetaStdErr   may be null: ThetaStdErr[j-1] = sqrt((psi_0^2 + ... +
///                           psi_{j-1}^2)/n).
/// @param MaxLags            m, at most n-1; ceil(10 log10 n) when negative.
/// @throws ELumexError in this order: "ARMAInnovations: (Data.Length=0) or (Data.Complex)",
///         "ARMAInnovations: (Theta.Length=0) or (Theta.Complex)",
///         "ARMAInnovations: (Phi.Length=0) or (Phi.Complex)",
///         "ARMAInnovations: MaxLags > Data.Length -1", "Innovations: Theta.Length > NumEvals"
///         and, for a singular system, "LUSolve: matrix is singular".
LUMEX_API void ARMAInnovationsFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2,
                                  TVec* PhiStdErr, TVec* ThetaStdErr, int MaxLags);

/// Hannan-Rissanen ARMA(p, q) fit.
///
/// A Yule-Walker AR(m) fit, m = max(p, q) + 1, its residuals e_t = X_t - sum a_j X_{t-j} on the
/// raw series (no mean removed), then the least-squares regression of X_t on X_{t-1..t-p} and
/// e_{t-1..t-q} over t = m+q .. n-1 gives Phi and Theta. The regression has no intercept:
/// centre a series whose mean is not zero first, or the AR coefficients absorb the level
/// (their sum tends to 1), which makes a poor, often non-causal, start for ARMAMLE.
/// @param Data            the series.
/// @param[in,out] Phi     in: its length p; out: the AR coefficients.
/// @param[in,out] Theta   in: its length q; out: the MA coefficients.
/// @param[out] sigma2     the innovation variance of the AR(m) fit.
/// @throws ELumexError in this order: "ARMAHannah: (Data.Length=0) or (Data.Complex)",
///         "ARMAHannah: (Phi.Complex) or (Theta.Complex)", "ARMAHannah: Data.Length < m+p+2q"
///         (fewer rows than coefficients) and, for an exactly collinear regression,
///         "LQRSolve: matrix is rank deficient".
///
/// NaN/Inf: a constant series gives NaN coefficients (its autocorrelations are 0/0).
LUMEX_API void ARMAHannahFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2);

/// The exact Gaussian likelihood criterion of an ARMA model: -2 log-likelihood up to a
/// constant, with the mean and noise variance profiled out.
///
/// n ln(|u|^2 / n) + ln det R, R the correlation matrix of n values of the model, u the
/// whitened residuals L^-1 (x - mu) (R = L L^T) about the GLS mean mu (R's
/// arima(method = "ML", include.mean = TRUE) maximises the same likelihood). Computed in O(n)
/// by the innovations algorithm on the transformed process (ARMAKappa), the determinant as a
/// sum of logarithms, equal to the Cholesky form to rounding. The AR part is not checked.
/// @param Data        the series, at least 2 values.
/// @param Phi, Theta  the AR and MA coefficients.
/// @return the criterion; the largest double 1.7976931348623157e308 when q = 0 (use
///         ARYuleWalkerFit or ARBurgFit for pure AR models), when the MA part is not
///         invertible, or when R is not positive definite.
/// @throws ELumexError "ARMALogLike: (Data.Length<2) or (Data.Complex)".
///
/// NaN/Inf: NaN data give NaN.
LUMEX_API double ARMALogLike(const TVec& Data, const TVec& Phi, const TVec& Theta);

/// Maximum-likelihood ARMA(p, q) fit by the bounded Simplex on the ARMALogLike criterion.
///
/// The Simplex (at most 500 iterations, tolerance 1e-8, in the precision of Data) minimises
/// the criterion from the start [Phi, Theta] within -1 <= phi_j <= 1 (the start is clamped
/// first) and unbounded theta_j. It evaluates once more at the best point, so Residuals belong
/// to the returned model. A pure AR model (q = 0) cannot move (the criterion is the largest
/// double).
/// @param Data            the series.
/// @param[in,out] Phi     in: the start of the AR part; out: the best point.
/// @param[in,out] Theta   in: the start of the MA part; out: the best point.
/// @param[out] Residuals  n values (precision of Data): the whitened residuals at the best
///                        point, NaN when the criterion is the largest double there.
/// @param[out] FMin       the criterion at the best point.
/// @return the Simplex iteration count.
/// @throws ELumexError in this order: "ARIMAMLE: (Data.Length=0) or (Data.Complex)",
///         "ARIMAMLE: (Phi.Complex) or (Theta.Complex)", "ARIMAMLE: Data.Length < 2".
LUMEX_API int ARMAMLE(const TVec& Data, TVec& Phi, TVec& Theta, TVec& Residuals, double& FMin);
/// ARMAMLE within the caller's bounds.
///
/// The start is not clamped by this function (the Simplex projects it into the box).
/// @param Data            the series.
/// @param[in,out] Phi, Theta  in: the start; out: the best point.
/// @param PTLowB, PTUpB   the lower and upper bounds: p AR bounds, then q MA bounds.
/// @param[out] Residuals  n values: the whitened residuals at the best point.
/// @param[out] FMin       the criterion at the best point.
/// @return the Simplex iteration count.
/// @throws ELumexError in this order: "ARIMAMLE: (Data.Length=0) or (Data.Complex)",
///         "PTLowB.Length <> PTUpB.Length", "P.Length + T.Length <> PTLowB.Length",
///         "ARIMAMLE: complex coefficients or bounds", "ARIMAMLE: Data.Length < 2" and the
///         Simplex's "Simplex: LowerBounds[j] > UpperBounds[j]" (j the decimal index).
LUMEX_API int ARMAMLE(const TVec& Data, TVec& Phi, TVec& Theta, const TVec& PTLowB,
                      const TVec& PTUpB, TVec& Residuals, double& FMin);

/// @}

/// @name ARMA/ARIMA forecasting and simulation
/// @{

/// Best linear forecasts of the next T values under an ARMA model, with their covariance.
///
/// Given the observed values about their sample mean mu: YHat = mu + S21 S11^-1 (x - mu) and
/// Cov = S22 - S21 S11^-1 S12, in units of the model's correlation, S the correlation matrix of
/// the n + T values. Computed by the innovations algorithm (Brockwell and Davis, 5.3), equal to
/// the direct solve to rounding, in O(n + T p + T^2) when its coefficients have settled within
/// the data (an invertible MA part and a series longer than its memory) and
/// O(n + T^2 (p+q) + T^3) otherwise.
/// @param Data        the series.
/// @param Phi, Theta  the AR and MA coefficients, not both empty.
/// @param T           the horizon, 0 .. 46340; T = 0 gives empty outputs.
/// @param[out] YHat   T forecasts.
/// @param[out] Cov    T x T: the forecast error covariance in correlation units.
/// @param[out] RMS    the root mean square of x - mu (divisor n), the scale that turns Cov into
///                    data units.
/// @throws ELumexError in this order: "ARMAForecast: (Data.Length=0) or (Data.Complex)",
///         "ARMAForecast: T < 0", "ARMAForecast: T too large" (T > 46340),
///         "ARMAForecast: (Phi.Length=0) and (Theta.Length=0)",
///         "ARMAForecast: correlation matrix not positive definite" (a non-causal AR part,
///         whose formal autocovariances are no covariance).
///
/// NaN/Inf: NaN data give NaN forecasts.
LUMEX_API void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T,
                            TVec& YHat, TMtx& Cov, double& RMS);
/// ARMAForecast with the standard errors in data units instead of the covariance matrix.
///
/// StdErr[i] = sqrt(Cov[i][i]) * RMS, in O(n + T p), or O(n + T^2 (p+q)) when the coefficients
/// have not settled; no T x T matrix is formed.
/// @param Data         the series.
/// @param Phi, Theta   the AR and MA coefficients, not both empty.
/// @param T            the horizon, >= 0.
/// @param[out] YHat    T forecasts.
/// @param[out] StdErr  T standard errors.
/// @throws ELumexError as the full form except "ARMAForecast: T too large".
LUMEX_API void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T,
                            TVec& YHat, TVec& StdErr);

/// ARIMA(p, d, q) forecasts with their standard errors.
///
/// The ARMA forecasts of the series differenced d times about its mean mu, integrated from the
/// last d values of Data (TimeSeriesIntInit, FromEnd). With d >= 1 the mean of the differenced
/// series is added before integrating (a drift for d = 1) and the standard errors are scaled by
/// the RMS of the differenced series, as for d = 0: StdErr[i] = sqrt((L C L^T)[i][i]) * RMS, L
/// the lower-triangular Toeplitz matrix of the integration (ones for d = 1, k+1 on subdiagonal
/// k for d = 2), which is exact for d <= 2; for d >= 3 L stays the matrix of ones, so the
/// standard errors are not the integrated ones.
/// @param Data         the series, more than d values.
/// @param Phi, Theta   the AR and MA coefficients of the differenced series, not both empty.
/// @param d            the number of differences (d <= 0 counts as 0).
/// @param T            the horizon, >= 0.
/// @param[out] YHat    T forecasts (the starting values are not returned).
/// @param[out] StdErr  T standard errors.
/// @throws ELumexError in this order: "ARIMAForecast: (Data.Length<=d) or (Data.Complex)",
///         "ARIMAForecast: T < 0", "ARIMAForecast: (Phi.Length=0) and (Theta.Length=0)",
///         "ARIMAForecast: correlation matrix not positive definite".
LUMEX_API void ARIMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int d, int T,
                             TVec& YHat, TVec& StdErr);

/// One-step predictors over the sample by the innovations algorithm (Brockwell and Davis,
/// 5.3.9).
///
/// XHat[k] predicts Data[k] from Data[0 .. k-1] (XHat[0] = 0, no mean removed); O(n (p + q^2)).
/// @param Data            the series (n values).
/// @param Phi, Theta      the AR and MA coefficients; may be null; p + q >= 1.
/// @param[out] XHat       n+1 values; XHat[n] forecasts the next value.
/// @param[out] Variances  may be null: n+1 one-step mean squared errors for unit noise
///                        variance.
/// @throws ELumexError "ARMAPredictors : Data.Complex"; errors of the computation are raised
///         again as "ARMAPredictors : " + message (p = q = 0 gives "ARMAPredictors : n <= 0").
LUMEX_API void ARMAPredictors(const TVec& Data, const TVec* Phi, const TVec* Theta, TVec& XHat,
                              TVec* Variances = nullptr);

/// Simulates n values of an ARMA model with unit-variance Gaussian noise.
///
/// The noise comes from the default source (RandGauss; seed it with RandSeed); a burn-in from
/// zero starting values of 200 - p steps precedes the values returned.
/// @param Phi, Theta  the AR and MA coefficients.
/// @param n           the number of values, >= 0.
/// @param[out] Dst    n values in the precision of Phi; empty for n = 0.
/// @throws ELumexError "ARMASimulate: n < 0", "ARMASimulate: n too large" (n > 2^30).
LUMEX_API void ARMASimulate(const TVec& Phi, const TVec& Theta, int n, TVec& Dst);
/// Simulates n values of an ARIMA(p, d, q) model: ARMASimulate, then, for d >= 1, integrated.
///
/// @param Phi, Theta  the AR and MA coefficients of the differenced series.
/// @param d           the number of differences.
/// @param ResInit     d starting values for the integration (layout of TimeSeriesIntInit).
/// @param n           the number of values, >= 0.
/// @param[out] Dst    the n values after the d starting values.
/// @throws ELumexError "ARIMASimulate: d <> ResInit.Length" and the messages of ARMASimulate.
LUMEX_API void ARIMASimulate(const TVec& Phi, const TVec& Theta, int d, const TVec& ResInit,
                             int n, TVec& Dst);

/// Starting values for undoing d lag-1 differences.
///
/// ResInit[k] is the first value of the last d values of Data (FromEnd) or of its first d
/// values, differenced k times, k = 0 .. d-1; so Integrate of a continuation with ResInit
/// starts with those d values of Data.
/// @param Data          the series, at least d values.
/// @param[out] ResInit  d values.
/// @param d             the number of differences, >= 0.
/// @param FromEnd       take the last d values (to continue the series) rather than the first.
/// @throws ELumexError "TimeSeriesIntInit: (Data.Length<d) or (Data.Complex)", then
///         "TimeSeriesIntInit: d < 0".
LUMEX_API void TimeSeriesIntInit(const TVec& Data, TVec& ResInit, int d, bool FromEnd);

/// @}

/// @name ARAR forecasting and the Box-Cox transform
/// The ARAR method (Brockwell and Davis, Introduction to Time Series and Forecasting,
/// section 9.1): ShortenFilter removes long memory with a filter psi(B); ARARFit fits a subset
/// AR(4) on lags 1, L1, L2, L3 to the shortened series; ARARForecast forecasts the series
/// through the combined filter xi(B) = psi(B) phi(B). The typical call sequence, with
/// MaxTau = 15 and MaxLag = 26:
///
///     ShortenFilter(Y, S, Tau, &Filter, 15);  ARARFit(S, Phi, L1, L2, L3, Sigma2, 26);
///     ARARForecast(Y, Phi, Filter, Tau, L1, L2, L3, Mean(S), h, YHat, StdErr, SigmaScale);
/// @{

/// Memory shortening of the ARAR method, in at most three passes.
///
/// Each pass finds, for tau = 1 .. MaxTau, the least-squares phi(tau) of Y_t on Y_{t-tau} and
/// its relative error Err(tau) = sum (Y_t - phi Y_{t-tau})^2 / sum Y_t^2 (t = tau .. m-1, m the
/// pass's length), and takes the first tau of smallest error. It then declares the series
/// - 'L' (long memory) when Err <= 8/m, or phi >= 0.93 and tau >= 3: S_t = Y_t - phi Y_{t-tau};
/// - 'M' (moderately long) when phi >= 0.93 and tau <= 2 otherwise: S_t = Y_t - phi_1 Y_{t-1}
///   - phi_2 Y_{t-2}, with the least-squares AR(2) coefficients (no intercept);
/// - 'S' (short memory) otherwise, which ends the passes.
///
/// The passes also stop after the third, or when the shortened series is shorter than MaxTau.
/// phi is the exact least-squares coefficient (the minimum a numerical search would approach).
/// @param Data         the series.
/// @param[out] Dst     the shortened series: Data.Length - Tau values, Dst[t] = psi(B) Y at time
///                     t + Tau, in Data's precision.
/// @param[out] Tau     the span of the combined filter.
/// @param[out] Filter  may be null: the product of all passes' filters, psi_0 = 1 .. psi_Tau
///                     (Tau + 1 values): the passes compose exactly, so Tau = Filter.Length - 1
///                     also after an 'M' pass or several passes.
/// @param MaxTau       the largest lag tried, at most Data.Length (15 in Brockwell and Davis).
/// @throws ELumexError "MaxTau > Data.Length", then "ShortenFilter: Data.Complex = true".
///
/// NaN/Inf: a series without a usable error (too short, all zeros, NaN or infinite values) ends
/// in 'S': Dst = Data, Tau = 0, Filter = [1].
LUMEX_API void ShortenFilter(const TVec& Data, TVec& Dst, int& Tau, TVec* Filter, int MaxTau);

/// Best subset AR(4) of the ARAR method,
/// X_t = phi_1 X_{t-1} + phi_2 X_{t-L1} + phi_3 X_{t-L2} + phi_4 X_{t-L3} + Z_t.
///
/// Fitted to the mean-corrected series Data (the shortened series) by the Yule-Walker
/// equations with the autocovariances of AutoCov: over 1 < L1 < L2 < L3 <= MaxLag, the lags
/// whose white-noise variance Sigma2 = gamma(0) (1 - phi . (rho(1), rho(L1), rho(L2), rho(L3)))
/// is smallest (the first such triple in lexicographic order).
/// @param Data            the shortened series.
/// @param[out] Phi        4 values (Data's precision): phi_1 .. phi_4.
/// @param[out] L1, L2, L3 the selected lags.
/// @param[out] Sigma2     the white-noise variance of the selected model.
/// @param MaxLag          the largest lag tried, at most Data.Length (26 in Brockwell and
///                        Davis).
/// @throws ELumexError "ARARFit: Data.Complex = true", then "ARARFit: MaxLag > Data.Length".
///
/// NaN/Inf: when no candidate is found (MaxLag < 4, or a constant series whose
/// autocorrelations are NaN) the lags stay 2, 3, 4, Sigma2 is 1.797693134862315e308 and Phi is
/// NaN.
LUMEX_API void ARARFit(const TVec& Data, TVec& Phi, int& L1, int& L2, int& L3, double& Sigma2,
                       int MaxLag);

/// T forecasts of a series by the ARAR model, with their standard errors.
///
/// The model is xi(B) Y_t = c + Z_t, xi = Filter * (1 - Phi[0] B - Phi[1] B^L1 - Phi[2] B^L2 -
/// Phi[3] B^L3) and c = (1 - sum of Phi) SMean: YHat[h-1] (h steps ahead) continues
/// Y_t = c - sum_{k=1..K} xi_k Y_{t-k}, K = Tau + L3 (coefficients beyond Filter count as 0, and
/// only xi_0 .. xi_K enter). StdErr[h-1] = SigmaScale sqrt(w_0^2 + ... + w_{h-1}^2), w the
/// coefficients of 1/xi(z): the h-step forecast standard errors. Matches the ARAR forecasts of
/// Brockwell and Davis.
/// @param Data             the original series (not the shortened one), at least Tau + L3
///                         values.
/// @param Phi              the subset AR coefficients of ARARFit, at least 4.
/// @param Filter           the memory-shortening filter of ShortenFilter, psi_0 .. psi_Tau.
/// @param Tau              the filter's span, >= 0.
/// @param L1, L2, L3       the lags of ARARFit, 1 < L1 < L2 < L3.
/// @param SMean            the mean of the shortened series.
/// @param T                the horizon, 0 .. 2^26; T = 0 gives empty outputs.
/// @param[out] YHat        T forecasts in Data's precision.
/// @param[out] StdErr      T standard errors in Data's precision.
/// @param[out] SigmaScale  the root mean square of the one-step residuals xi(B) Y_t - c over
///                         t = K .. n-1.
/// @throws ELumexError in this order: "ARARForecast: Filter.Length = 0!",
///         "ARARForecast: (Data.Complex) or (Phi.Complex) or (Filter.Complex)",
///         "ARARForecast: Phi.Length < 4", "ARARForecast: not 1 < L1 < L2 < L3",
///         "ARARForecast: Tau < 0", "ARARForecast: T < 0", "ARARForecast: T too large"
///         (T > 2^26), "ARARForecast: Data.Length < Tau+L3".
///
/// NaN/Inf: SigmaScale is NaN when Data.Length = K, and so are the standard errors.
LUMEX_API void ARARForecast(const TVec& Data, const TVec& Phi, const TVec& Filter, int Tau, int L1,
                            int L2, int L3, double SMean, int T, TVec& YHat, TVec& StdErr,
                            double& SigmaScale);

/// The Box-Cox transform: ln x for Lambda = 0, (x^Lambda - 1)/Lambda otherwise.
///
/// Over the elements x > 0 for Lambda = 0 and x >= 0 otherwise; other elements are dropped.
/// Accurate to a few units in the last place for every Lambda, also where x^Lambda is near 1.
/// @param Data      the values.
/// @param[out] Dst  the transformed kept elements, in Data's precision (can be shorter than
///                  Data); may be Data.
/// @param Lambda    the power, >= 0.
/// @throws ELumexError "BoxCox : Lambda<0", then "BoxCox : Data.Complex = true".
///
/// NaN/Inf: NaN elements are dropped.
LUMEX_API void BoxCox(const TVec& Data, TVec& Dst, double Lambda);

/// The inverse Box-Cox transform, element by element: exp(x) for Lambda = 0, otherwise
/// (Lambda x + 1)^(1/Lambda).
///
/// Accurate to a few units in the last place times 1 + |ln Dst[i]| (the exponential of a
/// rounded argument).
/// @param Data      the transformed values.
/// @param[out] Dst  Data's length and precision; may be Data.
/// @param Lambda    the power, >= 0.
/// @throws ELumexError "BoxCoxInv : Lambda<0", then "BoxCoxInv : Data.Complex = true".
///
/// NaN/Inf: below x = -1/Lambda the power of a negative base is NaN unless 1/Lambda is an
/// integer.
LUMEX_API void BoxCoxInv(const TVec& Data, TVec& Dst, double Lambda);

/// @}

}  // namespace lumex
