// Shewhart charts of variables (subgroup means, standard deviations, ranges, individual values
// with moving ranges) and of attributes (proportion and number defective, defects per unit and
// defect count), and the process capability indexes Cp and Cpk.
#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>

#include "StatControlCharts/subgroup_stats.h"
#include "core/dispatch.h"
#include "core/sample_bias.h"
#include "lumex/StatControlCharts.h"
#include "lumex/Statistics.h"

namespace lumex {

namespace {

using detail::DispatchReal;

// Limit quantiles. Variable charts read Confidence as a two-sided coverage, attribute charts as
// a one-sided probability: 2 Phi(3) - 1 and Phi(3) both give z = 3.
double TwoSidedZ(double Confidence) { return NormalCDFInv(Confidence * 0.5 + 0.5, 0.0, 1.0); }
double OneSidedZ(double Confidence) { return NormalCDFInv(Confidence, 0.0, 1.0); }

// dst[i] := value(i), i < n, in the storage precision of `model` (computed in double).
template <class F>
void FillLike(TVec& dst, const TVec& model, int n, F&& value) {
  dst.Size(n, model.FloatPrecision());
  DispatchReal(dst, "FillLike", [&](auto* p) {
    using T = std::remove_pointer_t<decltype(p)>;
    for (int i = 0; i < n; ++i) p[i] = static_cast<T>(value(i));
  });
}

// The checks of the attribute charts with a size per sample. Their texts name the p chart, and
// the np and u charts raise the same texts.
void CheckPerSampleComplex(const TVec& Data, const TVec& SampleSize) {
  if (Data.Complex() || SampleSize.Complex()) {
    ERaise("QCPChart: (Data.Complex) or (SampleSize.Complex)");
  }
}
void CheckPerSamplePrecision(const TVec& Data, const TVec& SampleSize) {
  if (Data.FloatPrecision() != SampleSize.FloatPrecision()) {
    ERaise("QCPChart: Data.FloatPrecision <> SampleSize.FloatPrecision");
  }
}
// p and np charts: complex, length, precision.
void CheckPerSample(const TVec& Data, const TVec& SampleSize) {
  CheckPerSampleComplex(Data, SampleSize);
  if (Data.Length() != SampleSize.Length()) ERaise("QCPChart: Data.Length <> SampleSize.Length");
  CheckPerSamplePrecision(Data, SampleSize);
}

}  // namespace

// ---- Variables ----------------------------------------------------------------------------------

void QCXChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
              double Confidence) {
  const double z = TwoSidedZ(Confidence);
  const int n = Data.Cols();
  detail::RowStdDevs(Data, DrawVec, "QCXChart");
  const double sbar = Mean(DrawVec);
  // s-bar / c4 estimates sigma without bias; the means have standard error sigma / sqrt(n).
  const double w = z * sbar / (std::sqrt(static_cast<double>(n)) * detail::C4(n));
  detail::RowMeans(Data, DrawVec, "QCXChart");
  CL = Mean(DrawVec);
  UCL = CL + w;
  LCL = CL - w;
}

void QCSChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
              double Confidence) {
  const double z = TwoSidedZ(Confidence);
  const double c4 = detail::C4(Data.Cols());
  detail::RowStdDevs(Data, DrawVec, "QCSChart");
  CL = Mean(DrawVec);
  // The standard deviation of s is sigma sqrt(1 - c4^2), sigma estimated by s-bar / c4.
  const double w = z * std::sqrt(1.0 - c4 * c4) * CL / c4;
  UCL = CL + w;
  // A standard deviation cannot be negative, so a negative lower limit is reported as 0
  // (NaN stays NaN).
  LCL = CL - w < 0.0 ? 0.0 : CL - w;
}

void QCRChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
              double Confidence) {
  const double z = TwoSidedZ(Confidence);
  const double n = Data.Cols();
  RangeRows(Data, DrawVec);
  CL = Mean(DrawVec);
  // R-bar/2 sqrt(n ln 2 / ((n-1) ln n)) stands for the standard deviation of the range,
  // R-bar d3/d2: 0.367 R-bar against 0.371 at n = 5, 0.707 against 0.756 at n = 2 and 0.289
  // against 0.259 at n = 10.
  const double w = z * 0.5 * CL * std::sqrt(n * LN2 / ((n - 1.0) * std::log(n)));
  UCL = CL + w;
  LCL = CL - w;
}

void QCMRChart(const TVec& Data, double& CL, double& UCL, double& LCL, double Confidence) {
  if (Data.Complex()) ERaise("QCMRChart: (Data.Complex)");
  const double z = TwoSidedZ(Confidence);
  CL = Mean(Data);
  auto mr = CreateIt<TVec>();
  Difference(*mr, Data, 1);
  Abs(*mr);
  // MR-bar / d2(2), d2(2) = 2/sqrt(pi) = 1.128, estimates sigma from successive values.
  const double w = z * Mean(*mr) / 1.128;
  UCL = CL + w;
  LCL = CL - w;
}

// ---- Attributes ---------------------------------------------------------------------------------

void QCPChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
              double& LCL, double Confidence) {
  const double z = OneSidedZ(Confidence);
  const double m = SampleSize;
  Copy(DrawVec, Data);
  Divide(DrawVec, m);
  CL = Mean(DrawVec);
  const double w = z * std::sqrt(CL * (1.0 - CL) / m);
  UCL = CL + w;
  LCL = CL - w;
}

void QCPChart(const TVec& DataIn, const TVec& SampleSizeIn, TVec& DrawVec, double& CL,
              TVec& UCL, TVec& LCL, double Confidence) {
  TVec dataCopy, sizeCopy;
  const TVec& Data = detail::Unaliased(DataIn, dataCopy, {&DrawVec, &UCL, &LCL});
  const TVec& SampleSize = detail::Unaliased(SampleSizeIn, sizeCopy, {&DrawVec, &UCL, &LCL});
  CheckPerSample(Data, SampleSize);
  const double z = OneSidedZ(Confidence);
  const int k = Data.Length();
  FillLike(DrawVec, Data, k, [&](int i) { return Data.Value(i) / SampleSize.Value(i); });
  const double p = Sum(Data) / Sum(SampleSize);
  CL = p;
  auto w = [&](int i) { return std::sqrt(p * (1.0 - p) * z * z / SampleSize.Value(i)); };
  FillLike(UCL, Data, k, [&](int i) { return p + w(i); });
  FillLike(LCL, Data, k, [&](int i) { return p - w(i); });
}

void QCNPChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
               double& LCL, double Confidence) {
  const double z = OneSidedZ(Confidence);
  const double m = SampleSize;
  Copy(DrawVec, Data);
  CL = Mean(DrawVec);
  const double p = CL / m;
  const double w = z * std::sqrt(m * p * (1.0 - p));
  UCL = CL + w;
  LCL = CL - w;
}

void QCNPChart(const TVec& DataIn, const TVec& SampleSizeIn, TVec& DrawVec, TVec& CL,
               TVec& UCL, TVec& LCL, double Confidence) {
  TVec dataCopy, sizeCopy;
  const TVec& Data = detail::Unaliased(DataIn, dataCopy, {&DrawVec, &CL, &UCL, &LCL});
  const TVec& SampleSize =
      detail::Unaliased(SampleSizeIn, sizeCopy, {&DrawVec, &CL, &UCL, &LCL});
  CheckPerSample(Data, SampleSize);
  const double z = OneSidedZ(Confidence);
  const int k = Data.Length();
  const double p = Sum(Data) / Sum(SampleSize);
  const double sd1 = z * std::sqrt(p * (1.0 - p));  // z times the standard deviation per item
  Copy(DrawVec, Data);
  FillLike(CL, Data, k, [&](int i) { return SampleSize.Value(i) * p; });
  FillLike(UCL, Data, k, [&](int i) {
    return SampleSize.Value(i) * p + sd1 * std::sqrt(SampleSize.Value(i));
  });
  FillLike(LCL, Data, k, [&](int i) {
    return SampleSize.Value(i) * p - sd1 * std::sqrt(SampleSize.Value(i));
  });
}

void QCUChart(const TVec& Data, int SampleSize, TVec& DrawVec, double& CL, double& UCL,
              double& LCL, double Confidence) {
  const double z = OneSidedZ(Confidence);
  const double m = SampleSize;
  Copy(DrawVec, Data);
  Divide(DrawVec, m);
  CL = Mean(DrawVec);
  const double w = z * std::sqrt(CL / m);
  UCL = CL + w;
  LCL = CL - w;
}

void QCUChart(const TVec& DataIn, const TVec& SampleSizeIn, TVec& DrawVec, double& CL,
              TVec& UCL, TVec& LCL, double Confidence) {
  TVec dataCopy, sizeCopy;
  const TVec& Data = detail::Unaliased(DataIn, dataCopy, {&DrawVec, &UCL, &LCL});
  const TVec& SampleSize = detail::Unaliased(SampleSizeIn, sizeCopy, {&DrawVec, &UCL, &LCL});
  CheckPerSampleComplex(Data, SampleSize);
  CheckPerSamplePrecision(Data, SampleSize);
  // Not a check of the p chart's: it keeps the reads of SampleSize inside the vector.
  if (Data.Length() != SampleSize.Length()) ERaise("QCUChart: Data.Length <> SampleSize.Length");
  const double z = OneSidedZ(Confidence);
  const int k = Data.Length();
  FillLike(DrawVec, Data, k, [&](int i) { return Data.Value(i) / SampleSize.Value(i); });
  const double u = Sum(Data) / Sum(SampleSize);
  CL = u;
  auto w = [&](int i) { return std::sqrt(u * z * z / SampleSize.Value(i)); };
  FillLike(UCL, Data, k, [&](int i) { return u + w(i); });
  FillLike(LCL, Data, k, [&](int i) { return u - w(i); });
}

void QCCChart(const TVec& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
              double Confidence) {
  const double z = OneSidedZ(Confidence);
  Copy(DrawVec, Data);
  CL = Mean(DrawVec);
  // Poisson counts: the variance equals the mean.
  const double w = z * std::sqrt(CL);
  UCL = CL + w;
  LCL = CL - w;
}

// ---- Capability ---------------------------------------------------------------------------------

void QCCapIndexes(const TVec& Data, double LSL, double USL, double& OutOfSpec, double& Cp,
                  double& Cpk, TTwoElmReal& CpCI, TTwoElmReal& CpkCI, double Alpha) {
  const double N = Data.Length();
  const double mu = Mean(Data);
  const double sigma = StdDev(Data, mu);
  Cp = NaN;
  Cpk = NaN;
  if (std::isinf(LSL)) {
    OutOfSpec = NormalCDFUpper(USL, mu, sigma);
    return;
  }
  if (std::isinf(USL)) {
    OutOfSpec = NormalCDF(LSL, mu, sigma);
    return;
  }
  // 1 - (Phi(USL) - Phi(LSL)) as the sum of the two tails, each computed directly, so that a
  // fraction of 1e-12 outside the limits is not lost to cancellation.
  OutOfSpec = NormalCDF(LSL, mu, sigma) + NormalCDFUpper(USL, mu, sigma);
  Cpk = std::min(mu - LSL, USL - mu) / (3.0 * sigma);
  Cp = (USL - LSL) / (6.0 * sigma);
  const double a = Alpha * 0.5;
  // Cp is proportional to 1/sigma and (N-1) s^2 / sigma^2 is chi-square with N-1 degrees of
  // freedom, which gives the exact interval.
  CpCI[0] = Cp * std::sqrt(ChiSquareCDFInv(a, N - 1.0) / (N - 1.0));
  CpCI[1] = Cp * std::sqrt(ChiSquareCDFInv(1.0 - a, N - 1.0) / (N - 1.0));
  // Cpk: normal approximation with Bissell's standard error.
  const double z = NormalCDFInv(1.0 - a, 0.0, 1.0);
  const double se = std::sqrt((N - 1.0) / (9.0 * N * N - 1.0) +
                              Cpk * Cpk / (2.0 * N - 6.0) * (6.0 / (N - 1.0) + 1.0));
  CpkCI[0] = Cpk - z * se;
  CpkCI[1] = Cpk + z * se;
}

}  // namespace lumex
