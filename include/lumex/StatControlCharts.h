/// @file
/// The StatControlCharts module: quality-control charts and capability indexes.
///
/// The functions draw nothing: they fill the statistic to plot (DrawVec), the centre line (CL)
/// and the upper and lower control limits (UCL, LCL) that a charting front end draws. Subgrouped
/// variable data are the rows of a TMtx (k = Rows subgroups of n = Cols observations); attribute
/// data are a TVec of counts, one per sample. Vector outputs are sized by the function and take
/// the storage precision of Data; scalars are computed in double.
///
/// The limit quantile z comes from Confidence in one of two ways:
/// - variable charts (QCXChart, QCSChart, QCRChart, QCMRChart): z = Phi^-1(Confidence/2 + 1/2),
///   a two-sided coverage: Confidence = 2 Phi(3) - 1 = 0.9973... gives z = 3;
/// - attribute charts (QCPChart, QCNPChart, QCUChart, QCCChart) and EWMAChart:
///   z = Phi^-1(Confidence), a one-sided probability: Confidence = Phi(3) = 0.99865... gives 3.
///
/// c4(n) = sqrt(2/(n-1)) Gamma(n/2) / Gamma((n-1)/2) is the bias factor of the sample standard
/// deviation of n normal observations (E s = c4 sigma); it is computed for every n (NaN for
/// n < 2), not read from a table.
///
/// Only the checks named below raise. Degenerate data flow into the arithmetic and give
/// non-finite results: one observation per subgroup makes c4 and every standard deviation NaN,
/// so the limits are NaN; empty data give NaN centre lines. Complex data in a function without
/// its own complex check raise the message of the core operation that meets them.
#pragma once

#include "lumex/core/core.h"

namespace lumex {

/// @name Shewhart charts of variables
/// @{

/// Chart of subgroup means (x-bar chart) with limits from the mean standard deviation.
///
/// DrawVec := the k row means; CL := their mean (the grand mean);
/// UCL, LCL := CL +- z s-bar / (sqrt(n) c4(n)), s-bar the mean of the row standard deviations
/// (divisor n-1). z is two-sided (see the file overview).
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k subgroup means.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the two-sided coverage of the limits (0.9973 for 3-sigma limits).
/// @throws ELumexError "QCXChart: complex data not supported" for complex Data.
///
/// NaN/Inf: n = 1 gives NaN limits; a NaN value makes its subgroup's point, CL and the limits
/// NaN.
LUMEX_API void QCXChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
                        double Confidence);

/// Chart of subgroup standard deviations (s chart).
///
/// DrawVec := the row standard deviations (divisor n-1); CL := s-bar, their mean;
/// UCL := CL + w, LCL := max(CL - w, 0), w = z sqrt(1 - c4^2) s-bar / c4. The lower limit is
/// the only one of the module clipped at 0.
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k subgroup standard deviations.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the two-sided coverage of the limits.
/// @throws ELumexError "QCSChart: complex data not supported" for complex Data.
///
/// NaN/Inf: n = 1 gives NaN points and limits (a NaN LCL stays NaN, it is not clipped).
LUMEX_API void QCSChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
                        double Confidence);

/// Chart of subgroup ranges (R chart).
///
/// DrawVec := the row ranges (RangeRows); CL := R-bar, their mean; UCL, LCL := CL +- w,
/// w = z R-bar/2 sqrt(n ln 2 / ((n-1) ln n)). This half-width approximates the textbook
/// z R-bar d3/d2 closely at n = 5 (1.10 R-bar against 1.11 for z = 3), less so for other sizes
/// (2.12 against 2.27 at n = 2, 0.87 against 0.78 at n = 10); compute limits from d3/d2 tables
/// if those are required. LCL is reported as computed, negative for small subgroups (clip it
/// at 0 for display).
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k subgroup ranges.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the two-sided coverage of the limits.
/// @throws ELumexError the message of RangeRows for complex Data.
///
/// NaN/Inf: n = 1 gives NaN limits.
LUMEX_API void QCRChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
                        double Confidence);

/// Chart of individual values with the moving-range estimate of sigma.
///
/// CL := the mean of Data; UCL, LCL := CL +- z MR-bar / 1.128, MR-bar the mean of
/// |x[i+1] - x[i]| over the N-1 successive pairs (1.128 = d2(2)). The values themselves are
/// the points to plot, so there is no DrawVec.
/// @param Data        the N individual values.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the two-sided coverage of the limits.
/// @throws ELumexError "QCMRChart: (Data.Complex)".
///
/// NaN/Inf: one value gives NaN limits.
LUMEX_API void QCMRChart(const TVec& Data, double& CL, double& UCL, double& LCL, double Confidence);

/// @}

/// @name Shewhart charts of attributes
/// Data holds counts (defectives for the p and np charts, defects for the u and c charts). In
/// the forms with one SampleSize every sample has SampleSize items (units); in the forms with a
/// SampleSize vector, sample i has SampleSize[i] = m_i and the limits vary with it. No limit is
/// clipped at 0: a negative LCL means that no count can fall below it. z is one-sided (see the
/// file overview).
/// @{

/// Proportion defective (p chart), all samples of one size m.
///
/// DrawVec := Data / m; CL := p-bar, the mean proportion; UCL, LCL := CL +- z
/// sqrt(p-bar (1 - p-bar) / m).
/// @param Data        the k counts of defectives.
/// @param SampleSize  m, the items per sample.
/// @param[out] DrawVec  the k proportions.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the one-sided probability of the limits (0.99865 for 3-sigma limits).
///
/// NaN/Inf: empty Data give NaN; SampleSize = 0 gives infinite or NaN values.
LUMEX_API void QCPChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
                        double& LCL, double Confidence);
/// Proportion defective with a size per sample: QCPChart with limits that vary with m_i.
///
/// DrawVec[i] := Data[i] / m_i; CL := p = sum(Data) / sum(SampleSize), the pooled proportion;
/// UCL[i], LCL[i] := p +- z sqrt(p (1 - p) / m_i).
/// @param Data        the k counts of defectives.
/// @param SampleSize  the k sample sizes m_i.
/// @param[out] DrawVec, UCL, LCL  k values each.
/// @param[out] CL     the pooled proportion.
/// @param Confidence  the one-sided probability of the limits.
/// @throws ELumexError "QCPChart: (Data.Complex) or (SampleSize.Complex)",
///         "QCPChart: Data.Length <> SampleSize.Length" and
///         "QCPChart: Data.FloatPrecision <> SampleSize.FloatPrecision", in this order.
LUMEX_API void QCPChart(const TVec& Data, const TVec& SampleSize, TVec& DrawVec, double& CL,
                        TVec& UCL, TVec& LCL, double Confidence);

/// Number defective (np chart), all samples of one size m.
///
/// DrawVec := Data (the counts); CL := their mean; with p = CL / m,
/// UCL, LCL := CL +- z sqrt(m p (1 - p)).
/// @param Data        the k counts of defectives.
/// @param SampleSize  m, the items per sample.
/// @param[out] DrawVec  a copy of the counts.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the one-sided probability of the limits.
///
/// NaN/Inf: empty Data give NaN; SampleSize = 0 gives NaN limits.
LUMEX_API void QCNPChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
                         double& LCL, double Confidence);
/// Number defective with a size per sample: QCNPChart with a centre line per sample.
///
/// With p = sum(Data) / sum(SampleSize): CL[i] := m_i p; UCL[i], LCL[i] := CL[i] +-
/// z sqrt(p (1 - p)) sqrt(m_i). DrawVec := Data (the counts), as in the one-size form.
/// @param Data        the k counts of defectives.
/// @param SampleSize  the k sample sizes m_i.
/// @param[out] DrawVec, CL, UCL, LCL  k values each.
/// @param Confidence  the one-sided probability of the limits.
/// @throws ELumexError the three messages of QCPChart with sizes per sample, which name
///         QCPChart, in the same order.
LUMEX_API void QCNPChart(const TVec& Data, const TVec& SampleSize, TVec& DrawVec, TVec& CL,
                         TVec& UCL, TVec& LCL, double Confidence);

/// Defects per unit (u chart), all samples of m units.
///
/// DrawVec := Data / m; CL := u-bar, their mean; UCL, LCL := CL +- z sqrt(u-bar / m).
/// @param Data        the k defect counts.
/// @param SampleSize  m, the units per sample.
/// @param[out] DrawVec  the k defects per unit.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the one-sided probability of the limits.
///
/// NaN/Inf: empty Data give NaN; SampleSize = 0 gives infinite or NaN values.
LUMEX_API void QCUChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
                        double& LCL, double Confidence);
/// Defects per unit with the units per sample: QCUChart with limits that vary with m_i.
///
/// DrawVec[i] := Data[i] / m_i (m_i may be fractional: units inspected); CL := u =
/// sum(Data) / sum(SampleSize); UCL[i], LCL[i] := u +- z sqrt(u / m_i).
/// @param Data        the k defect counts.
/// @param SampleSize  the k numbers of units m_i.
/// @param[out] DrawVec, UCL, LCL  k values each.
/// @param[out] CL     u, the pooled defects per unit.
/// @param Confidence  the one-sided probability of the limits.
/// @throws ELumexError "QCPChart: (Data.Complex) or (SampleSize.Complex)" and
///         "QCPChart: Data.FloatPrecision <> SampleSize.FloatPrecision" (the texts of the p
///         chart), then "QCUChart: Data.Length <> SampleSize.Length".
LUMEX_API void QCUChart(const TVec& Data, const TVec& SampleSize, TVec& DrawVec, double& CL,
                        TVec& UCL, TVec& LCL, double Confidence);

/// Defect count (c chart): Poisson counts, whose variance is their mean.
///
/// DrawVec := Data; CL := c-bar, the mean count; UCL, LCL := CL +- z sqrt(c-bar).
/// @param Data        the k defect counts.
/// @param[out] DrawVec  a copy of the counts.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Confidence  the one-sided probability of the limits.
///
/// NaN/Inf: empty Data give NaN; a negative mean gives NaN limits.
LUMEX_API void QCCChart(const TVec& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
                        double Confidence);

/// @}

/// @name Capability
/// @{

/// Normal-theory capability of a process against its tolerance limits [LSL, USL].
///
/// From the mean mu and the sample standard deviation sigma of Data (N values). Cp and Cpk
/// are first set to NaN. Then:
/// - LSL infinite (upper limit only): OutOfSpec := P(X > USL), X ~ N(mu, sigma); nothing else
///   is written (CpCI and CpkCI are left as they were);
/// - USL infinite (lower limit only): OutOfSpec := P(X < LSL); nothing else is written;
/// - both finite: OutOfSpec := P(X < LSL) + P(X > USL) (each tail computed directly, so small
///   fractions keep their digits); Cp := (USL - LSL) / (6 sigma);
///   Cpk := min(mu - LSL, USL - mu) / (3 sigma);
///   CpCI := Cp sqrt(chi2_{a}(N-1) / (N-1)), Cp sqrt(chi2_{1-a}(N-1) / (N-1)), a = Alpha/2,
///   the exact interval; CpkCI := Cpk -+ z se, z = Phi^-1(1 - a),
///   se = sqrt((N-1)/(9N^2 - 1) + Cpk^2/(2N - 6) (6/(N-1) + 1)) (Bissell's approximation:
///   meaningful for N > 3; N = 3 gives infinite ends).
/// @param Data          the N process measurements.
/// @param LSL, USL      the lower and upper limits a product must meet (either may be infinite).
/// @param[out] OutOfSpec  the fraction of a normal process outside the limits.
/// @param[out] Cp, Cpk  the capability indexes (NaN unless both limits are finite).
/// @param[out] CpCI, CpkCI  the (lower, upper) confidence intervals of Cp and Cpk.
/// @param Alpha         1 - the confidence level of the intervals (0.05 for 95%).
///
/// NaN/Inf: nothing is checked; a non-finite Alpha or too few values give NaN intervals.
LUMEX_API void QCCapIndexes(const TVec& Data, double LSL, double USL, double& OutOfSpec, double& Cp,
                            double& Cpk, TTwoElmReal& CpCI, TTwoElmReal& CpkCI, double Alpha);

/// @}

/// @name Charts that accumulate over samples
/// @{

/// Exponentially weighted moving average of the subgroup means, with constant (asymptotic)
/// limits.
///
/// CL := the grand mean; DrawVec[0] := Lambda x-bar_0 + (1 - Lambda) CL and
/// DrawVec[i] := Lambda x-bar_i + (1 - Lambda) DrawVec[i-1] (in single precision for
/// single-precision Data). With n >= 2: UCL, LCL := CL +- z (s-bar / c4(n))
/// sqrt(Lambda / ((2 - Lambda) n)), the asymptotic limits, z one-sided. Lambda = 1 plots the
/// means themselves.
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k EWMA points.
/// @param[out] CL, UCL, LCL  the centre line and the control limits.
/// @param Lambda      the weight of the newest mean, in (0, 1] (not checked).
/// @param Confidence  the one-sided probability of the limits.
/// @throws ELumexError "EWMAChart: (Data.Complex)".
///
/// NaN/Inf: with n < 2, UCL = +Inf and LCL = -Inf (no within-subgroup spread to estimate
/// sigma from).
LUMEX_API void EWMAChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
                         double Lambda, double Confidence);
/// EWMAChart with the exact limits of each sample.
///
/// UCL[i-1], LCL[i-1] := CL +- w f_i, w = z s-bar / (sqrt(n) c4(n)),
/// f_i = sqrt(Lambda/(2 - Lambda) (1 - (1 - Lambda)^(2i))), i = 1..k: f_1 = Lambda, rising
/// towards the asymptotic sqrt(Lambda/(2 - Lambda)).
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k EWMA points, as in the constant-limit form.
/// @param[out] CL     the grand mean.
/// @param[out] UCL, LCL  k limits each.
/// @param Lambda      the weight of the newest mean, in (0, 1] (not checked).
/// @param Confidence  the one-sided probability of the limits.
/// @throws ELumexError "EWMAChart: (Data.Complex)".
LUMEX_API void EWMAChart(const TMtx& Data, TVec& DrawVec, double& CL, TVec& UCL, TVec& LCL,
                         double Lambda, double Confidence);

/// Cumulative sum (CUSUM) of the deviations of the subgroup means from Target.
///
/// With d_i = x-bar_i - Target: DrawVec[i] := (d_0 + ... + d_i) / Sigma. When both CPlus and
/// CMinus are given they receive the tabular CUSUM in data units:
/// CPlus[i] := max(0, CPlus[i-1] + d_i - K), CMinus[i] := max(0, CMinus[i-1] - K - d_i), from 0.
/// @param Data        k x n: one subgroup per row.
/// @param[out] DrawVec  the k standardised cumulative sums.
/// @param K           the reference value (allowance) of the tabular CUSUM, in data units.
/// @param H           the decision interval (a signal when CPlus or CMinus exceeds H); kept for
///                    the caller's chart, not used in the computation.
/// @param Target      the target mean.
/// @param Sigma       the process standard deviation that scales DrawVec.
/// @param[out] CPlus, CMinus  may be null (when either is, neither is written): k values each.
/// @param Confidence  kept for the caller's chart, not used in the computation.
/// @throws ELumexError "QCCumSumChart: (Data.Complex)".
///
/// NaN/Inf: Sigma = 0 gives infinite or NaN points.
LUMEX_API void QCCumSumChart(const TMtx& Data, TVec& DrawVec, double K, double H, double Target,
                             double Sigma, TVec* CPlus, TVec* CMinus, double Confidence);

/// Westgard multi-rule evaluation of control measurements with target Mean and standard
/// deviation Sigma.
///
/// Results[i] := the sum of the codes of the rules that measurement i violates (0..63), with
/// d_j = Data[j] - Mean:
///
///      1  1-3s          |d_i| > 3 Sigma
///      2  1-2s          |d_i| > 2 Sigma
///      4  2-2s          d_i and d_{i-1} both > 2 Sigma, or both < -2 Sigma     (i >= 1)
///      8  two beyond 2s |d_i| > 2 Sigma and |d_{i-1}| > 2 Sigma, either side    (i >= 1)
///     16  4-1s          d_{i-3..i} all > Sigma, or all < -Sigma                 (i >= 3)
///     32  10-mean       Data[i-9..i] all > Mean, or all < Mean                  (i >= 9)
///
/// All comparisons are strict: a value exactly on a limit violates nothing. For
/// single-precision Data, Mean and Sigma are rounded to single precision and the comparisons
/// made there.
/// @param Data         the control measurements in time order.
/// @param[out] Results  one code sum per measurement, in the precision of Data.
/// @param Mean, Sigma  the target mean and standard deviation of the control material.
/// @throws ELumexError "QCWestgardRules: (Data.Complex)".
///
/// NaN/Inf: a NaN measurement violates nothing.
LUMEX_API void QCWestgardRules(const TVec& Data, TVec& Results, double Mean, double Sigma);

/// @}

}  // namespace lumex
