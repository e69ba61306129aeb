// Charts that accumulate information over subgroups: the exponentially weighted moving average
// of the subgroup means, with asymptotic or exact limits, and the cumulative sum chart with its
// tabular upper and lower sums.
#include <cmath>
#include <type_traits>

#include "StatControlCharts/subgroup_stats.h"
#include "core/dispatch.h"
#include "core/sample_bias.h"
#include "lumex/StatControlCharts.h"

namespace lumex {

namespace {

using detail::DispatchReal;

// The part both EWMA forms share: DrawVec := the EWMA of the subgroup means started at their
// grand mean CL; SigmaHat := s-bar / c4(n), the unbiased estimate of the process sigma (NaN for
// n < 2).
void EWMAPoints(const TMtx& Data, TVec& DrawVec, double& CL, double Lambda, double& SigmaHat) {
  if (Data.Complex()) ERaise("EWMAChart: (Data.Complex)");
  const int n = Data.Cols();
  SigmaHat = NaN;
  if (n >= 2) {
    detail::RowStdDevs(Data, DrawVec, "EWMAChart");
    SigmaHat = Mean(DrawVec) / detail::C4(n);
  }
  detail::RowMeans(Data, DrawVec, "EWMAChart");
  CL = Mean(DrawVec);
  // In the storage precision of Data, as the means are stored.
  DispatchReal(DrawVec, "EWMAChart", [&](auto* e) {
    using T = std::remove_pointer_t<decltype(e)>;
    const T lambda = static_cast<T>(Lambda);
    const T keep = static_cast<T>(1.0 - Lambda);
    T prev = static_cast<T>(CL);
    for (int i = 0; i < DrawVec.Length(); ++i) {
      e[i] = lambda * e[i] + keep * prev;
      prev = e[i];
    }
  });
}

}  // namespace

void EWMAChart(const TMtx& Data, TVec& DrawVec, double& CL, double& UCL, double& LCL,
               double Lambda, double Confidence) {
  double sigmaHat = NaN;
  EWMAPoints(Data, DrawVec, CL, Lambda, sigmaHat);
  const int n = Data.Cols();
  if (n < 2) {
    UCL = Inf;
    LCL = -Inf;
    return;
  }
  // Var(EWMA) -> sigma^2/n * Lambda/(2 - Lambda) as the number of subgroups grows.
  const double z = NormalCDFInv(Confidence, 0.0, 1.0);
  const double w = z * sigmaHat * std::sqrt(Lambda / ((2.0 - Lambda) * n));
  UCL = CL + w;
  LCL = CL - w;
}

void EWMAChart(const TMtx& Data, TVec& DrawVec, double& CL, TVec& UCL, TVec& LCL,
               double Lambda, double Confidence) {
  double sigmaHat = NaN;
  EWMAPoints(Data, DrawVec, CL, Lambda, sigmaHat);
  const int n = Data.Cols();
  const int k = Data.Rows();
  UCL.Size(k, Data.FloatPrecision());
  LCL.Size(k, Data.FloatPrecision());
  if (n < 2) {
    UCL.SetVal(Inf);
    LCL.SetVal(-Inf);
    return;
  }
  const double z = NormalCDFInv(Confidence, 0.0, 1.0);
  const double w = z * sigmaHat / std::sqrt(static_cast<double>(n));
  const double ratio = Lambda / (2.0 - Lambda);
  // 1 - (1 - Lambda)^(2i) as -expm1(2i ln(1 - Lambda)): no cancellation for small Lambda.
  const double lnKeep = std::log1p(-Lambda);
  DispatchReal(UCL, "EWMAChart", [&](auto* up) {
    using T = std::remove_pointer_t<decltype(up)>;
    T* lo = LCL.Data<T>();
    for (int i = 1; i <= k; ++i) {
      const double f = std::sqrt(ratio * -std::expm1(2.0 * i * lnKeep));
      up[i - 1] = static_cast<T>(CL + w * f);
      lo[i - 1] = static_cast<T>(CL - w * f);
    }
  });
}

void QCCumSumChart(const TMtx& Data, TVec& DrawVec, double K, double H, double Target,
                   double Sigma, TVec* CPlus, TVec* CMinus, double Confidence) {
  if (Data.Complex()) ERaise("QCCumSumChart: (Data.Complex)");
  // H and Confidence belong to the chart the caller draws (the decision interval), not to the
  // sums.
  static_cast<void>(H);
  static_cast<void>(Confidence);
  const int k = Data.Rows();
  detail::RowMeans(Data, DrawVec, "QCCumSumChart");
  const bool tabular = CPlus != nullptr && CMinus != nullptr;
  if (tabular) {
    CPlus->Size(k, Data.FloatPrecision());
    CMinus->Size(k, Data.FloatPrecision());
  }
  DispatchReal(DrawVec, "QCCumSumChart", [&](auto* x) {
    using T = std::remove_pointer_t<decltype(x)>;
    T* up = tabular ? CPlus->Data<T>() : nullptr;
    T* down = tabular ? CMinus->Data<T>() : nullptr;
    double sum = 0.0;
    double hi = 0.0;
    double lo = 0.0;
    for (int i = 0; i < k; ++i) {
      const double d = static_cast<double>(x[i]) - Target;
      sum += d;
      x[i] = static_cast<T>(sum / Sigma);
      if (tabular) {
        // fmax would turn a NaN sum into 0: a NaN mean keeps the sums NaN from there on.
        hi = hi + d - K;
        lo = lo - K - d;
        hi = hi < 0.0 ? 0.0 : hi;
        lo = lo < 0.0 ? 0.0 : lo;
        up[i] = static_cast<T>(hi);
        down[i] = static_cast<T>(lo);
      }
    }
  });
}

}  // namespace lumex
