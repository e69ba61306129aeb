// The StatTimeSerAnalysis module: time-series analysis: autocorrelation, AR estimation,
// exponential smoothing and its forecasts, moving averages.
//
// A series is a real TVec, element t the observation at time t. Every function checks its
// arguments and raises ELumexError with a fixed message when one is unusable; numerically
// undefined results (a constant series, a model order beyond the data) come out as NaN or
// infinite values. Vector outputs are sized by the function in the storage precision of the
// main input unless a comment says otherwise.
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
// "SingleMovAve: Y.Complex", "SingleMovAve: N<1" and "SingleMovAve: Y.Length<N".
LUMEX_API double MovingAverage(const TVec& Y, int N, TVec& MovAve, int& Lag, bool Centered);

// ---- ARMA estimation ---------------------------------------------------------------------------
//
// The ARMA(p, q) model X_t - phi_1 X_{t-1} - ... - phi_p X_{t-p} = Z_t + theta_1 Z_{t-1} + ...
// + theta_q Z_{t-q} (R's sign convention). Phi holds phi_1 .. phi_p and Theta theta_1 .. theta_q;
// the caller fixes p and q by the lengths, which the estimators keep. A Phi or Theta that "may be
// absent" is a pointer: nullptr and an empty vector both mean order 0. Autocovariances are those
// of the model with unit white-noise variance. Coefficients in complex storage raise
// "<Function>: (Phi.Complex) or (Theta.Complex)" wherever the messages below do not say otherwise.

/// How a set of ARMA coefficients was obtained: given by the caller, Yule-Walker, Burg,
/// innovations or Hannan-Rissanen. A label for callers; no function takes it as an argument.
enum TcfInitMethod : std::uint8_t { cfInitFixed, cfInitYW, cfInitBurg, cfInitInno, cfInitHannah };

/// True when every root of the coefficient polynomial lies strictly outside the unit circle: for
/// IsAR, 1 - c_1 z - ... - c_p z^p (a causal AR part), otherwise 1 + c_1 z + ... + c_q z^q (an
/// invertible MA part). Roots come from PolyRoots; a root on the circle gives false, and so does
/// a NaN or infinite coefficient. Empty Coeffs (the polynomial 1, no roots) gives true.
/// Raises "CheckARMACoeffs: Coeffs.Complex = true".
LUMEX_API bool CheckARMACoeffs(const TVec& Coeffs, bool IsAR);
/// The same for an array of coefficients (copied into a vector).
LUMEX_API bool CheckARMACoeffs(std::span<const double> Coeffs, bool IsAR);

/// Theoretical autocovariances gamma(0 .. n) of the ARMA model with unit noise variance (R's
/// ARMAacf gives the autocorrelations, Normalize = true): gamma(0 .. max(p,q)) from the linear
/// system sum_j a_j gamma(|k-j|) = sum_j b_{j+k} psi_j (a = [1, -phi], b = [1, theta], psi the
/// MA(infinity) weights), solved by LU, later lags by the AR recursion (0 beyond q for a pure MA).
/// Dst has n+1 values in the precision of Phi (else Theta); p = q = 0 gives an empty Dst. The AR
/// part is not checked: a non-causal AR part gives the formal solution of the equations, which
/// need not be an autocovariance. Raises "n <= 0" (n < 1), "ARMAAcf: n too large" (n > 10^8)
/// and, for AR roots z, w with z w = 1 (a unit root among them), "LUSolve: matrix is singular".
LUMEX_API void ARMAAcf(const TVec* Phi, const TVec* Theta, int n, TVec& Dst, bool Normalize);

/// One element kappa(i, j) (i, j counted from 1) of the covariance of the transformed process
/// W_t = X_t (t <= m), W_t = phi(B) X_t (t > m), m = max(p, q) (Brockwell and Davis, 5.3):
/// GammaX[|i-j|] when i, j <= m; GammaX[h] - sum_r phi_r GammaX[|r-h|] when
/// min(i,j) <= m < max(i,j) <= 2m; GammaMA[h] when min(i,j) > m and h < GammaMA.Length - 1;
/// otherwise 0 (h = |i-j|). GammaX are the model's autocovariances, GammaMA those of its MA part.
/// Raises "ARMAKappa: (i<1) or (j<1)", "ARMAKappa: (GammaX.Complex) or (GammaMA.Complex)" and
/// "ARMAKappa: GammaX too short" when an element beyond GammaX would be read.
LUMEX_API double ARMAKappa(const TVec& GammaX, const TVec& GammaMA, int i, int j,
                           const TVec* Phi, const TVec* Theta);
/// The N-by-N matrix of kappa(i, j), i, j = 1 .. N, in the precision of Data (only its
/// precision is used), with GammaX = ARMAAcf(Phi, Theta, 5m) and GammaMA = ARMAAcf(none, Theta,
/// 2m). A pure AR model takes the MA autocovariance of white noise, so kappa(i, i) = 1 beyond m.
/// Needs p + q >= 1 (else "n <= 0" from ARMAAcf). Raises "ARMAKappa: N < 0" and
/// "ARMAKappa: N too large" (N > 8192).
LUMEX_API void ARMAKappa(const TVec& Data, const TVec* Phi, const TVec* Theta, TMtx& Kappa,
                         int N);

/// The innovations algorithm (Brockwell and Davis, 5.2.2) on a covariance K: a vector of
/// autocovariances (K(k, j) = kappa[k-j], a stationary series) or a matrix of kappa(k, j).
/// ThetaM ((N+1) x (N+1), N = NumEvals) receives theta_{k,j} in row k, column j (column 0 is 1),
/// Variances (N+1) the one-step mean squared errors v_0 .. v_N. The recursion skips exact zeros
/// of K below the diagonal, so a banded K (ARMAKappa) costs O(N q^2) besides the O(N^2) output.
/// q is not used. A zero variance gives NaN or infinite coefficients, not an error. Raises
/// "Innovations: gamma.Length = 0", "Innovations: kappa.Length < NumEvals",
/// "Innovations: kappa.Rows < NumEvals", then "Innovations: kappa.Complex = true",
/// "Innovations: NumEvals < 0", "Innovations: kappa.Length < NumEvals+1" (a vector must hold
/// lags 0 .. N), "Innovations: kappa.Rows < NumEvals+1" and "Innovations: kappa.Cols <
/// NumEvals+1" (a matrix must be at least (N+1) x (N+1)) and "Innovations: NumEvals too large"
/// (N > 8191); an error of the computation is raised again as "Innovations : " + its message.
LUMEX_API void Innovations(const TDenseLumex& kappa, int q, TMtx& ThetaM, TVec& Variances,
                           int NumEvals);
/// MA(q) coefficients from the innovations algorithm on gamma, q = Theta.Length:
/// Theta[j-1] = theta_{N,j}, sigma2 = v_N; Variances (when given) v_1 .. v_q and ThetaVar (when
/// given) sum_{l<j} theta_{N,l}^2 (theta_{N,0} = 1), both sized q. sigma2 is set to 0 first.
/// Raises "Innovations: (Theta.Length=0) or (Theta.Complex)", the matrix form's messages and
/// "Innovations: Theta.Length > NumEvals".
LUMEX_API void Innovations(const TDenseLumex& gamma, TVec& Theta, double& sigma2, int NumEvals,
                           TVec* Variances = nullptr, TVec* ThetaVar = nullptr);

/// Preliminary MA(q) fit by the innovations algorithm on the sample autocovariances (AutoCov,
/// mean removed) of lags 0 .. m, m = MaxLags (ceil(10 log10 n) when negative): Theta = theta_{m,j},
/// sigma2 = v_m and ThetaStdErr[j-1] = sqrt((1 + theta_{m,1}^2 + ... + theta_{m,j-1}^2)/n)
/// (Brockwell and Davis, 8.3). sigma2 is set to 0 first. Raises
/// "ARMAInnovations: (Data.Length=0) or (Data.Complex)",
/// "ARMAInnovations: (Theta.Length=0) or (Theta.Complex)", "ARMA: MaxLags > Data.Length -1"
/// and "Innovations: Theta.Length > NumEvals" when m < q.
LUMEX_API void ARMAInnovationsFit(const TVec& Data, TVec& Theta, double& sigma2,
                                  TVec* ThetaStdErr, int MaxLags);
/// Preliminary ARMA(p, q) fit by the innovations algorithm (Brockwell and Davis, 8.4): the
/// MA(p+q) innovations coefficients w_j = theta_{m,j} of lag m give Phi from
/// sum_k phi_k theta_{m,q+i-k} = theta_{m,q+i}, i = 1 .. p (theta_{m,0} = 1 and 0 below, so
/// p > q works), and Theta[j-1] = psi_j - sum_{k<=min(j,p)} phi_k psi_{j-k} with psi = [1, w].
/// sigma2 = v_m; PhiStdErr (when given) is p zeros; ThetaStdErr[j-1] =
/// sqrt((psi_0^2 + ... + psi_{j-1}^2)/n). Needs m >= p + q. sigma2 is set to 0 first. Raises
/// "ARMAInnovations: (Data.Length=0) or (Data.Complex)",
/// "ARMAInnovations: (Theta.Length=0) or (Theta.Complex)",
/// "ARMAInnovations: (Phi.Length=0) or (Phi.Complex)",
/// "ARMAInnovations: MaxLags > Data.Length -1", "Innovations: Theta.Length > NumEvals" and, for
/// a singular system, "LUSolve: matrix is singular".
LUMEX_API void ARMAInnovationsFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2,
                                  TVec* PhiStdErr, TVec* ThetaStdErr, int MaxLags);

/// Hannan-Rissanen ARMA(p, q) fit: a Yule-Walker AR(m) fit, m = max(p, q) + 1 (sigma2 is its
/// innovation variance), its residuals e_t = X_t - sum a_j X_{t-j} on the raw series (no mean
/// removed), then the least-squares regression of X_t on X_{t-1..t-p} and e_{t-1..t-q} over
/// t = m+q .. n-1 gives Phi and Theta. The regression has no intercept: centre a series whose
/// mean is not zero first, or the AR coefficients absorb the level (their sum tends to 1), which
/// makes a poor, often non-causal, start for ARMAMLE. Raises
/// "ARMAHannah: (Data.Length=0) or (Data.Complex)",
/// "ARMAHannah: Data.Length < m+p+2q" (fewer rows than coefficients), "ARMAHannah: (Phi.Complex)
/// or (Theta.Complex)" and, for an exactly collinear regression, "LQRSolve: matrix is rank
/// deficient". A constant series gives NaN coefficients (its autocorrelations are 0/0).
LUMEX_API void ARMAHannahFit(const TVec& Data, TVec& Phi, TVec& Theta, double& sigma2);

/// The exact Gaussian likelihood criterion n ln(|u|^2 / n) + ln det R, R the correlation matrix
/// of n values of the model, u the whitened residuals L^-1 (x - mu) (R = L L^T) about the GLS
/// mean mu: -2 log-likelihood up to a constant, with the mean and noise variance profiled out
/// (R's arima(method = "ML", include.mean = TRUE) maximises the same likelihood). Computed in
/// O(n) by the innovations algorithm on the transformed process (ARMAKappa), the determinant as
/// a sum of logarithms, equal to the Cholesky form to rounding. Returns the largest double
/// 1.7976931348623157e308 when q = 0 (use ARYuleWalkerFit or ARBurgFit for pure AR models),
/// when the MA part is not invertible, or when R is not positive definite; the AR part is not
/// checked. NaN data give NaN. Raises "ARMALogLike: (Data.Length<2) or (Data.Complex)".
LUMEX_API double ARMALogLike(const TVec& Data, const TVec& Phi, const TVec& Theta);

/// Maximum-likelihood ARMA(p, q) fit: the bounded Simplex (at most 500 iterations, tolerance
/// 1e-8, in the precision of Data) minimises the ARMALogLike criterion from the start [Phi,
/// Theta] within -1 <= phi_j <= 1 (the start is clamped first) and unbounded theta_j. Phi and
/// Theta receive the best point, FMin its criterion, Residuals (n values, precision of Data) the
/// whitened residuals at that point (NaN when the criterion is the largest double there), and
/// the result is the Simplex iteration count. A pure AR model (q = 0) cannot move (the criterion
/// is the largest double). Raises "ARIMAMLE: (Data.Length=0) or (Data.Complex)",
/// "ARIMAMLE: (Phi.Complex) or (Theta.Complex)" and "ARIMAMLE: Data.Length < 2".
LUMEX_API int ARMAMLE(const TVec& Data, TVec& Phi, TVec& Theta, TVec& Residuals, double& FMin);
/// The same within the bounds PTLowB, PTUpB (p AR bounds, then q MA bounds); the start is not
/// clamped by this function (the Simplex projects it into the box). Raises
/// "ARIMAMLE: (Data.Length=0) or (Data.Complex)", "PTLowB.Length <> PTUpB.Length",
/// "P.Length + T.Length <> PTLowB.Length", "ARIMAMLE: complex coefficients or bounds",
/// "ARIMAMLE: Data.Length < 2" and the Simplex's "Simplex: LowerBounds[j] > UpperBounds[j]".
LUMEX_API int ARMAMLE(const TVec& Data, TVec& Phi, TVec& Theta, const TVec& PTLowB,
                      const TVec& PTUpB, TVec& Residuals, double& FMin);

// ---- ARMA/ARIMA forecasting and simulation -----------------------------------------------------

/// Best linear forecasts of the next T values of Data under the ARMA model, given the observed
/// values about their sample mean mu: YHat = mu + S21 S11^-1 (x - mu) and Cov (T x T) =
/// S22 - S21 S11^-1 S12, in units of the model's correlation, S the correlation matrix of the
/// n + T values. RMS receives the root mean square of x - mu (divisor n), the scale that turns
/// Cov into data units. Computed by the innovations algorithm (Brockwell and Davis, 5.3), equal
/// to the direct solve to rounding, in O(n + T p + T^2) when its coefficients have settled
/// within the data (an invertible MA part and a series longer than its memory) and
/// O(n + T^2 (p+q) + T^3) otherwise. T = 0 gives empty outputs. NaN data give NaN forecasts.
/// Raises "ARMAForecast: (Data.Length=0) or (Data.Complex)", "ARMAForecast: T < 0",
/// "ARMAForecast: (Phi.Length=0) and (Theta.Length=0)", "ARMAForecast: T too large"
/// (T > 46340) and "ARMAForecast: correlation matrix not positive definite" (a non-causal AR
/// part, whose formal autocovariances are no covariance).
LUMEX_API void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T,
                            TVec& YHat, TMtx& Cov, double& RMS);
/// The forecasts with their standard errors in data units, StdErr[i] = sqrt(Cov[i][i]) * RMS
/// (O(n + T p), or O(n + T^2 (p+q)) when the coefficients have not settled; no T x T matrix).
/// Raises as the full form except "ARMAForecast: T too large".
LUMEX_API void ARMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int T,
                            TVec& YHat, TVec& StdErr);

/// ARIMA(p, d, q) forecasts: the ARMA forecasts of the series differenced d times (d <= 0 as 0)
/// about its mean mu, integrated from the last d values of Data (TimeSeriesIntInit, FromEnd).
/// With d >= 1 the mean of the differenced series is added before integrating (a drift for
/// d = 1) and the standard errors are scaled by the RMS of the differenced series, as for d = 0:
/// StdErr[i] = sqrt((L C L^T)[i][i]) * RMS, L the lower-triangular Toeplitz matrix of the
/// integration (ones for d = 1, k+1 on subdiagonal k for d = 2), which is exact for d <= 2; for
/// d >= 3 L stays the matrix of ones, so the standard errors are not the integrated ones. YHat
/// and StdErr have T values (the starting values are not returned). Raises
/// "ARIMAForecast: (Data.Length<=d) or (Data.Complex)", "ARIMAForecast: T < 0",
/// "ARIMAForecast: (Phi.Length=0) and (Theta.Length=0)" and
/// "ARIMAForecast: correlation matrix not positive definite".
LUMEX_API void ARIMAForecast(const TVec& Data, const TVec& Phi, const TVec& Theta, int d, int T,
                             TVec& YHat, TVec& StdErr);

/// One-step predictors over the sample by the innovations algorithm (Brockwell and Davis,
/// 5.3.9): XHat[k] predicts Data[k] from Data[0 .. k-1] (XHat[0] = 0, XHat[n] forecasts the next
/// value, n+1 values, no mean removed), and Variances (when given, n+1 values) receives the
/// one-step mean squared errors for unit noise variance. O(n (p + q^2)). Raises
/// "ARMAPredictors : Data.Complex"; errors of the computation are raised again as
/// "ARMAPredictors : " + message (p = q = 0 gives "ARMAPredictors : n <= 0").
LUMEX_API void ARMAPredictors(const TVec& Data, const TVec* Phi, const TVec* Theta, TVec& XHat,
                              TVec* Variances = nullptr);

/// n values of the ARMA model with unit-variance Gaussian noise drawn from the default source
/// (RandGauss; seed it with RandSeed), after a burn-in from zero starting values of 200 - p
/// steps. Dst takes the precision of Phi. n = 0 gives an empty Dst. Raises
/// "ARMASimulate: n < 0" and "ARMASimulate: n too large".
LUMEX_API void ARMASimulate(const TVec& Phi, const TVec& Theta, int n, TVec& Dst);
/// ARIMA(p, d, q) simulation: ARMASimulate, then for d >= 1 integrated with the starting values
/// ResInit (layout of TimeSeriesIntInit); Dst holds the n values after the d starting values.
/// Raises "ARIMASimulate: d <> ResInit.Length" and the messages of ARMASimulate.
LUMEX_API void ARIMASimulate(const TVec& Phi, const TVec& Theta, int d, const TVec& ResInit,
                             int n, TVec& Dst);

/// Starting values for undoing d lag-1 differences: ResInit[k] is the first value of the last d
/// values of Data (FromEnd) or of its first d values, differenced k times, k = 0 .. d-1; so
/// Integrate of a continuation with ResInit starts with those d values of Data. Raises
/// "TimeSeriesIntInit: (Data.Length<d) or (Data.Complex)" and "TimeSeriesIntInit: d < 0".
LUMEX_API void TimeSeriesIntInit(const TVec& Data, TVec& ResInit, int d, bool FromEnd);

// ---- ARAR forecasting and the Box-Cox transform -------------------------------------------------
//
// The ARAR method (Brockwell and Davis, Introduction to Time Series and Forecasting, section 9.1):
// ShortenFilter removes long memory with a filter psi(B); ARARFit fits a subset AR(4) on lags 1,
// L1, L2, L3 to the shortened series; ARARForecast forecasts the series through the combined
// filter xi(B) = psi(B) phi(B). The typical call sequence, with MaxTau = 15 and MaxLag = 26:
//   ShortenFilter(Y, S, Tau, &Filter, 15);  ARARFit(S, Phi, L1, L2, L3, Sigma2, 26);
//   ARARForecast(Y, Phi, Filter, Tau, L1, L2, L3, Mean(S), h, YHat, StdErr, SigmaScale);

/// Memory shortening in at most three passes. Each pass finds, for tau = 1 .. MaxTau, the
/// least-squares phi(tau) of Y_t on Y_{t-tau} and its relative error
/// Err(tau) = sum (Y_t - phi Y_{t-tau})^2 / sum Y_t^2 (t = tau .. m-1, m the pass's length), and
/// takes the first tau of smallest error. It then declares the series
///   'L' (long memory) when Err <= 8/m, or phi >= 0.93 and tau >= 3: S_t = Y_t - phi Y_{t-tau};
///   'M' (moderately long) when phi >= 0.93 and tau <= 2 otherwise: S_t = Y_t - phi_1 Y_{t-1} -
///       phi_2 Y_{t-2}, with the least-squares AR(2) coefficients (no intercept);
///   'S' (short memory) otherwise, which ends the passes.
/// The passes also stop after the third, or when the shortened series is shorter than MaxTau.
/// phi is the exact least-squares coefficient (the minimum a numerical search would approach).
/// Outputs: Dst the shortened series (Data.Length - Tau values, Dst[t] = psi(B) Y at time t + Tau,
/// in Data's precision), Tau the span of the combined filter, and Filter (when not null) the
/// product of all passes' filters, psi_0 = 1 .. psi_Tau (Tau + 1 values): the passes compose
/// exactly, so Tau = Filter.Length - 1 also after an 'M' pass or several passes. A series without
/// a usable error (too short, all zeros, NaN or infinite values) ends in 'S': Dst = Data,
/// Tau = 0, Filter = [1]. Raises "MaxTau > Data.Length" and "ShortenFilter: Data.Complex = true".
LUMEX_API void ShortenFilter(const TVec& Data, TVec& Dst, int& Tau, TVec* Filter, int MaxTau);

/// Best subset AR(4) X_t = phi_1 X_{t-1} + phi_2 X_{t-L1} + phi_3 X_{t-L2} + phi_4 X_{t-L3} + Z_t
/// of the mean-corrected series Data (the shortened series) by the Yule-Walker equations: over
/// 1 < L1 < L2 < L3 <= MaxLag, the lags whose white-noise variance
/// Sigma2 = gamma(0) (1 - phi . (rho(1), rho(L1), rho(L2), rho(L3))) is smallest (the first such
/// triple in lexicographic order), with the autocovariances of AutoCov. Phi (4 values, Data's
/// precision) holds phi_1 .. phi_4. When no candidate is found (MaxLag < 4, or a constant series
/// whose autocorrelations are NaN) the lags stay 2, 3, 4, Sigma2 is 1.797693134862315e308 and Phi
/// is NaN. Raises "ARARFit: Data.Complex = true" and "ARARFit: MaxLag > Data.Length".
LUMEX_API void ARARFit(const TVec& Data, TVec& Phi, int& L1, int& L2, int& L3, double& Sigma2,
                       int MaxLag);

/// T forecasts of the series Data (the original series, not the shortened one) by the model
/// xi(B) Y_t = c + Z_t, xi = Filter * (1 - Phi[0] B - Phi[1] B^L1 - Phi[2] B^L2 - Phi[3] B^L3) and
/// c = (1 - sum of Phi) SMean, SMean the mean of the shortened series: YHat[h-1] (h steps ahead)
/// continues Y_t = c - sum_{k=1..K} xi_k Y_{t-k}, K = Tau + L3 (coefficients beyond Filter count
/// as 0, and only xi_0 .. xi_K enter). SigmaScale is the root mean square of the one-step
/// residuals xi(B) Y_t - c over t = K .. n-1 (NaN when Data.Length = K), and StdErr[h-1] =
/// SigmaScale sqrt(w_0^2 + ... + w_{h-1}^2), w the coefficients of 1/xi(z): the h-step forecast
/// standard errors. YHat and StdErr have T values in Data's precision; T = 0 gives them empty.
/// Raises "ARARForecast: Filter.Length = 0!",
/// "ARARForecast: (Data.Complex) or (Phi.Complex) or (Filter.Complex)",
/// "ARARForecast: Phi.Length < 4", "ARARForecast: not 1 < L1 < L2 < L3", "ARARForecast: Tau < 0",
/// "ARARForecast: T < 0", "ARARForecast: T too large" (T > 2^26) and
/// "ARARForecast: Data.Length < Tau+L3". Matches the ARAR forecasts of Brockwell and Davis.
LUMEX_API void ARARForecast(const TVec& Data, const TVec& Phi, const TVec& Filter, int Tau, int L1,
                            int L2, int L3, double SMean, int T, TVec& YHat, TVec& StdErr,
                            double& SigmaScale);

/// The Box-Cox transform: Dst = ln x for Lambda = 0, over the elements x > 0; otherwise
/// (x^Lambda - 1)/Lambda over the elements x >= 0. Other elements (and NaN) are dropped, so Dst
/// can be shorter than Data (Data's precision). Accurate to a few units in the last place for
/// every Lambda, also where x^Lambda is near 1. Dst may be Data. Raises "BoxCox : Lambda<0" and
/// "BoxCox : Data.Complex = true".
LUMEX_API void BoxCox(const TVec& Data, TVec& Dst, double Lambda);

/// The inverse Box-Cox transform, element by element: exp(x) for Lambda = 0, otherwise
/// (Lambda x + 1)^(1/Lambda) (below x = -1/Lambda the power of a negative base: NaN unless
/// 1/Lambda is an integer). Accurate to a few units in the last place times 1 + |ln Dst[i]| (the
/// exponential of a rounded argument). Dst has Data's length and precision and may be Data. Raises
/// "BoxCoxInv : Lambda<0" and "BoxCoxInv : Data.Complex = true".
LUMEX_API void BoxCoxInv(const TVec& Data, TVec& Dst, double Lambda);

}  // namespace lumex
