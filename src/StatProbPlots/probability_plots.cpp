// Coordinates of probability plots: normal, quantile-quantile (two samples, or one against the
// normal law), Weibull and exponential, each with a reference line through the quartiles.
#include <array>
#include <cmath>
#include <exception>
#include <new>
#include <string>
#include <type_traits>

#include "core/dispatch.h"
#include "lumex/StatProbPlots.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

using detail::DispatchReal;

// Hazen plotting position of the i-th smallest of n values, (i + 0.5)/n, written so that it is
// the same double as R's ppoints(n, a = 1/2).
double Position(int i, int n) { return (i + 0.5) / n; }

// XDraw := Data, sorted ascending unless the caller says it already is.
void SortedPoints(const TVec& Data, bool Sorted, TVec& XDraw) {
  Copy(XDraw, Data);
  if (!Sorted) SortAscend(XDraw);
}

// YDraw[i] := quantile(p_i) for the n points, in the storage precision of XDraw.
template <class Q>
void TheoreticalQuantiles(const TVec& XDraw, TVec& YDraw, Q&& quantile) {
  const int n = XDraw.Length();
  YDraw.Size(n, XDraw.FloatPrecision());
  DispatchReal(YDraw, "TheoreticalQuantiles", [&](auto* y) {
    using T = std::remove_pointer_t<decltype(y)>;
    for (int i = 0; i < n; ++i) y[i] = static_cast<T>(quantile(Position(i, n)));
  });
}

// Lower and upper quartiles (pctMethodNPlus) of v.
std::array<double, 2> Quartiles(const TVec& v) {
  static constexpr std::array<double, 2> kP{0.25, 0.75};
  std::array<double, 2> q{};
  Percentile(v, kP, q, pctMethodNPlus);
  return q;
}

// The line through the quartile points, evaluated at the first and last x; returns its slope.
double ReferenceLine(const TVec& XDraw, const TVec& YDraw, double& MinX, double& MaxX,
                     double& MinY, double& MaxY) {
  const auto [qx1, qx3] = Quartiles(XDraw);
  const auto [qy1, qy3] = Quartiles(YDraw);
  const double slope = (qy3 - qy1) / (qx3 - qx1);
  const double mx = (qx1 + qx3) * 0.5;
  const double my = (qy1 + qy3) * 0.5;
  MinX = XDraw.Value(0);
  MaxX = XDraw.Value(XDraw.Length() - 1);
  MinY = my + slope * (MinX - mx);
  MaxY = my + slope * (MaxX - mx);
  return slope;
}

void CheckOneSample(const TVec& Data, const std::string& fn) {
  if (Data.Complex()) ERaise(fn + ": (Data.Complex)");
  if (Data.Length() < 1) ERaise(fn + ": Data.Length < 1");
}

}  // namespace

void StatNormalPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                    double& MinY, double& MaxY, TVec* Band, bool Sorted) {
  CheckOneSample(Data, "StatNormalPlot");
  SortedPoints(Data, Sorted, XDraw);
  TheoreticalQuantiles(XDraw, YDraw, [](double p) { return NormalCDFInv(p, 0.0, 1.0); });
  const double slope = ReferenceLine(XDraw, YDraw, MinX, MaxX, MinY, MaxY);
  if (Band == nullptr) return;
  // Var(p-hat_i) = p(1 - p)/n on the probability scale; through the density of the fitted normal
  // law in data units, phi(z) * slope, it becomes the variance of the i-th order statistic.
  const int n = XDraw.Length();
  Band->Size(n, XDraw.FloatPrecision());
  DispatchReal(*Band, "StatNormalPlot", [&](auto* b) {
    using T = std::remove_pointer_t<decltype(b)>;
    for (int i = 0; i < n; ++i) {
      const double p = Position(i, n);
      const double density = NormalPDF(YDraw.Value(i), 0.0, 1.0) * slope;
      b[i] = static_cast<T>(std::sqrt(p * (1.0 - p) / n) / density);
    }
  });
}

void StatQQPlot(const TVec& XData, const TVec& YData, TVec& XDraw, TVec& YDraw, double& MinX,
                double& MaxX, double& MinY, double& MaxY, bool XSorted, bool YSorted) {
  MinX = MaxX = MinY = MaxY = 0.0;
  if (XData.Complex() || YData.Complex()) ERaise("StatQQPlot: (XData.Complex) or YData.Complex");
  if (XData.Length() != YData.Length()) ERaise("StatQQPlot: (XData.Length <> YData.Length");
  if (XData.Length() < 1) ERaise("StatQQPlot: XData.Length < 1");
  try {
    TVec copy;  // YData is read after XDraw is written
    const TVec& y = detail::Unaliased(YData, copy, {&XDraw});
    SortedPoints(XData, XSorted, XDraw);
    SortedPoints(y, YSorted, YDraw);
    ReferenceLine(XDraw, YDraw, MinX, MaxX, MinY, MaxY);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& e) {
    ERaise(std::string("StatQQPlot : ") + e.what());
  }
}

void StatQQPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                double& MinY, double& MaxY, bool Sorted) {
  // The normal quantiles in descending order, z(1 - p_i) = z(p_{n-1-i}) (the same doubles as the
  // ascending positions), sorted by the two-sample form.
  const int n = Data.Length();
  auto q = CreateIt<TVec>();
  q->Size(n, Data.FloatPrecision());
  DispatchReal(*q, "StatQQPlot", [&](auto* z) {
    using T = std::remove_pointer_t<decltype(z)>;
    for (int i = 0; i < n; ++i) z[i] = static_cast<T>(NormalCDFInv(Position(n - 1 - i, n)));
  });
  StatQQPlot(Data, *q, XDraw, YDraw, MinX, MaxX, MinY, MaxY, Sorted, false);
}

void StatWeibullPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                     double& MinY, double& MaxY, bool Sorted) {
  MinX = MaxX = MinY = MaxY = 0.0;
  CheckOneSample(Data, "StatWeibullPlot");
  SortedPoints(Data, Sorted, XDraw);
  // ln(-ln(1 - p)): the Weibull distribution function 1 - exp(-(x/b)^c) linearised in ln x.
  TheoreticalQuantiles(XDraw, YDraw, [](double p) { return std::log(-std::log1p(-p)); });
  const auto [qx1, qx3] = Quartiles(XDraw);
  const auto [qy1, qy3] = Quartiles(YDraw);
  const double lnq1 = std::log(qx1);
  const double slope = (qy3 - qy1) / (std::log(qx3) - lnq1);
  MinX = XDraw.Value(0);
  MaxX = XDraw.Value(XDraw.Length() - 1);
  MinY = slope * (std::log(MinX) - lnq1) + qy1;
  MaxY = slope * (std::log(MaxX) - lnq1) + qy1;
}

void StatExpPlot(const TVec& Data, TVec& XDraw, TVec& YDraw, double& MinX, double& MaxX,
                 double& MinY, double& MaxY, bool Sorted) {
  MinX = MaxX = MinY = MaxY = 0.0;
  CheckOneSample(Data, "StatExpPlot");
  SortedPoints(Data, Sorted, XDraw);
  TheoreticalQuantiles(XDraw, YDraw, [](double p) { return -std::log1p(-p); });
  ReferenceLine(XDraw, YDraw, MinX, MaxX, MinY, MaxY);
}

}  // namespace lumex
