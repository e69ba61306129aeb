/// @file
/// The StatProbPlots module: coordinates of probability plots.
///
/// Each function returns the n points of a plot, XDraw (the data sorted ascending) against YDraw
/// (theoretical quantiles, or the sorted second sample), and the ends (MinX, MinY) and
/// (MaxX, MaxY) of a reference line through the points of the lower and upper quartiles. Points
/// that follow the line say that the data follow the plot's distribution up to location and
/// scale (the line's intercept and slope estimate them).
///
/// Common rules:
/// - Plotting positions (Hazen): p_i = (i + 0.5)/n for the i-th smallest value, i = 0..n-1, as
///   R's ppoints(n, a = 1/2).
/// - Sorted = true says that Data are already in ascending order and they are taken as given
///   (MinX and MaxX are then the first and last values, whatever they are); otherwise a sorted
///   copy is used. Data are never changed.
/// - The reference line: with qx1, qx3 the pctMethodNPlus quartiles of XDraw and qy1, qy3 those
///   of YDraw, slope = (qy3 - qy1)/(qx3 - qx1) and the line passes through their midpoint; MinX
///   and MaxX are XDraw's first and last values and MinY, MaxY the line's heights there. Equal
///   quartiles (one value, or a quarter of the data tied) give a non-finite line, not an error.
/// - XDraw, YDraw and the band take the storage precision of the data.
#pragma once

#include "lumex/core/core.h"

namespace lumex {

/// @name Probability plots
/// @{

/// Normal probability plot: the sorted data against the standard normal quantiles.
///
/// YDraw[i] = Phi^-1(p_i). Band[i] is the standard error, in data units, of the i-th order
/// statistic about the reference line, sqrt(p_i (1 - p_i) / n) / (phi(YDraw[i]) * slope), phi
/// the standard normal density: a band of +-2 Band[i] about the line holds the points of a
/// normal sample with about 95% probability each.
/// @param Data        the sample, at least one value; not changed.
/// @param[out] XDraw  the n sorted data.
/// @param[out] YDraw  the n normal quantiles Phi^-1(p_i).
/// @param[out] MinX, MaxX  the first and last values of XDraw.
/// @param[out] MinY, MaxY  the reference line's heights at MinX and MaxX.
/// @param[out] Band   may be null: the n standard errors above.
/// @param Sorted      true when Data are already ascending (taken as given).
/// @throws ELumexError "StatNormalPlot: (Data.Complex)", then
///         "StatNormalPlot: Data.Length < 1".
///
/// NaN/Inf: equal quartiles give a non-finite line (and band); no error.
LUMEX_API void StatNormalPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX,
                              double& MaxX, double& MinY, double& MaxY, TVec* Band, bool Sorted);

/// Quantile-quantile plot of two samples of equal length.
///
/// XDraw = XData sorted (unless XSorted), YDraw = YData sorted (unless YSorted). The four line
/// ends are first set to 0.
/// @param XData, YData  the two samples, equal lengths, at least one value each.
/// @param[out] XDraw, YDraw  the n sorted values of each sample.
/// @param[out] MinX, MaxX, MinY, MaxY  the ends of the reference line.
/// @param XSorted, YSorted  true when that sample is already ascending.
/// @throws ELumexError "StatQQPlot: (XData.Complex) or YData.Complex",
///         "StatQQPlot: (XData.Length <> YData.Length" and "StatQQPlot: XData.Length < 1" (the
///         texts as published, unbalanced brackets included), in this order; any later error
///         is raised again as "StatQQPlot : " followed by its message.
///
/// NaN/Inf: equal quartiles give a non-finite line; no error.
LUMEX_API void StatQQPlot(const TVec& XData, const TVec& YData, TVec& XDraw, TVec& YDraw,
                          double& MinX, double& MaxX, double& MinY, double& MaxY, bool XSorted,
                          bool YSorted);
/// One-sample form of StatQQPlot: Data against the standard normal quantiles Phi^-1(p_i).
///
/// The two-sample form with those quantiles as YData, so its points are those of
/// StatNormalPlot and its messages those of the two-sample form.
/// @param Data  the sample.
/// @param[out] XDraw, YDraw  the sorted data and the normal quantiles.
/// @param[out] MinX, MaxX, MinY, MaxY  the ends of the reference line.
/// @param Sorted  true when Data are already ascending.
LUMEX_API void StatQQPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                          double& MinY, double& MaxY, bool Sorted);

/// Weibull plot: the data, on a logarithmic x axis, against ln(-ln(1 - p_i)).
///
/// XDraw holds the sorted data themselves, YDraw[i] = ln(-ln(1 - p_i)). The reference line is
/// straight on the logarithmic axis: with the x quartiles taken on the log scale,
/// slope = (qy3 - qy1)/(ln qx3 - ln qx1) (an estimate of the Weibull shape),
/// MinY = qy1 + slope (ln MinX - ln qx1), MaxY likewise. The four line ends are first set to 0.
/// @param Data  the sample, positive values, at least one.
/// @param[out] XDraw, YDraw  the n sorted data and the Weibull quantiles.
/// @param[out] MinX, MaxX, MinY, MaxY  the ends of the reference line.
/// @param Sorted  true when Data are already ascending.
/// @throws ELumexError "StatWeibullPlot: (Data.Complex)", then
///         "StatWeibullPlot: Data.Length < 1".
///
/// NaN/Inf: zero or negative values give non-finite line ends, not an error.
LUMEX_API void StatWeibullPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX,
                               double& MaxX, double& MinY, double& MaxY, bool Sorted);

/// Exponential plot: the sorted data against the standard exponential quantiles.
///
/// YDraw[i] = -ln(1 - p_i); the line's slope estimates 1/scale. The four line ends are first
/// set to 0.
/// @param Data  the sample, at least one value.
/// @param[out] XDraw, YDraw  the n sorted data and the exponential quantiles.
/// @param[out] MinX, MaxX, MinY, MaxY  the ends of the reference line.
/// @param Sorted  true when Data are already ascending.
/// @throws ELumexError "StatExpPlot: (Data.Complex)", then "StatExpPlot: Data.Length < 1".
///
/// NaN/Inf: equal quartiles give a non-finite line; no error.
LUMEX_API void StatExpPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                           double& MinY, double& MaxY, bool Sorted);

/// @}

}  // namespace lumex
