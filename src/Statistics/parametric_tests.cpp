// Parametric tests of location and scale.
#include <cmath>

#include "lumex/Statistics.h"

namespace lumex {

double tTest(const TVec& Data, double Mean, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("tTest", "hType", hType, 3);
  if (Data.Complex()) ERaise("tTest: Data.Complex = true");
  if (QuietLevelCheck(Alpha, hRes, Signif, &ConfInt)) return NaN;

  const double n = Data.Length();
  const double xbar = lumex::Mean(Data);
  const double se = StdDev(Data, xbar) / std::sqrt(n);
  const double t = (xbar - Mean) / se;
  const double df = n - 1.0;

  Signif = SignificanceByTail(StudentCDF(t, df), StudentCDFUpper(t, df), hType);
  const double halfWidth = StudentCDFInv(CriticalProbability(Alpha, hType), df) * se;
  ConfInt = SymmetricConfInt(xbar, halfWidth, hType);
  hRes = Decide(Signif, Alpha, true, t);
  return t;
}

double tTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, bool Paired, THypothesisType hType, double Alpha) {
  detail::CheckEnum("tTest", "hType", hType, 3);
  if (Data1.Complex() || Data2.Complex()) ERaise("tTest: vectors must be real");
  if (Paired) {
    if (Data1.Length() != Data2.Length()) ERaise("tTest: Data1.Length <> Data2.Length");
    if (Data1.FloatPrecision() != Data2.FloatPrecision()) {
      ERaise("tTest: Data1.FloatPrecision <> Data2.FloatPrecision");
    }
  }
  if (QuietLevelCheck(Alpha, hRes, Signif, &ConfInt)) return NaN;

  if (Paired) {
    auto d = CreateIt<TVec>();
    Sub(*d, Data1, Data2);
    return tTest(*d, 0.0, hRes, Signif, ConfInt, hType, Alpha);
  }

  // Pooled variance: both samples are taken to share one variance, estimated on
  // N1 + N2 - 2 degrees of freedom.
  const double n1 = Data1.Length();
  const double n2 = Data2.Length();
  const double delta = Mean(Data1) - Mean(Data2);
  const double s1 = StdDev(Data1);
  const double s2 = StdDev(Data2);
  const double df = n1 + n2 - 2.0;
  const double se =
      std::sqrt(((n1 - 1.0) * s1 * s1 + (n2 - 1.0) * s2 * s2) * (1.0 / n1 + 1.0 / n2) / df);
  const double t = delta / se;

  Signif = SignificanceByTail(StudentCDF(t, df), StudentCDFUpper(t, df), hType);
  const double halfWidth = StudentCDFInv(CriticalProbability(Alpha, hType), df) * se;
  ConfInt = SymmetricConfInt(delta, halfWidth, hType);
  hRes = Decide(Signif, Alpha, true, t);
  return t;
}

double ZTest(const TVec& Data, double Mean, double Sigma, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("ZTest", "hType", hType, 3);
  if (Data.Complex()) ERaise("ZTest: Data.Complex = true");
  // A known standard deviation of 0 leaves nothing to test: no decision, like a bad level.
  if (QuietLevelCheck(Sigma == 0.0 ? 0.0 : Alpha, hRes, Signif, &ConfInt)) return NaN;

  const double xbar = lumex::Mean(Data);
  const double se = Sigma / std::sqrt(static_cast<double>(Data.Length()));
  const double z = (xbar - Mean) / se;
  Signif = SignificanceByTail(NormalCDF(z), NormalCDFUpper(z), hType);
  ConfInt = SymmetricConfInt(xbar, NormalCDFInv(CriticalProbability(Alpha, hType)) * se, hType);
  hRes = Decide(Signif, Alpha, true, z);
  return z;
}

void ChiSquareTest(const TVec& Data, double Sigma, THypothesisResult& hRes, double& Signif,
                   TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("ChiSquareTest", "hType", hType, 3);
  if (Data.Complex()) ERaise("Chi2Test: Data.Complex = true");
  if (QuietLevelCheck(Alpha, hRes, Signif, &ConfInt)) return;

  const double df = Data.Length() - 1.0;
  const double s = StdDev(Data);
  const double q = df * s * s;  // the sum of squared deviations
  const double chi2 = q / (Sigma * Sigma);
  Signif = SignificanceByTail(ChiSquareCDF(chi2, df), ChiSquareCDFUpper(chi2, df), hType);
  // The standard deviation sigma satisfies Q / sigma^2 ~ chi2(df), so a quantile c of that law
  // maps to the bound sqrt(Q / c).
  const auto bound = [&](double p) { return std::sqrt(q / ChiSquareCDFInv(p, df)); };
  switch (hType) {
    case htRightTailed:
      ConfInt = {0.0, bound(1.0 - Alpha)};
      break;
    case htLeftTailed:
      ConfInt = {bound(Alpha), Inf};
      break;
    case htTwoTailed:
    default:
      ConfInt = {bound(1.0 - 0.5 * Alpha), bound(0.5 * Alpha)};
      break;
  }
  hRes = Decide(Signif, Alpha);
}

double FTest(const TVec& Data1, const TVec& Data2, THypothesisResult& hRes, double& Signif,
             TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("FTest", "hType", hType, 3);
  if (Data1.Complex() || Data2.Complex()) ERaise("FTest: (Data1.Complex) or (Data2.Complex)");
  if (Data1.Length() < 2 || Data2.Length() < 2) {
    ERaise("FTest: (Data1.Length<2) or (Data2.Length<2)");
  }
  if (QuietLevelCheck(Alpha, hRes, Signif, &ConfInt)) return NaN;

  const double s1 = StdDev(Data1);
  const double s2 = StdDev(Data2);
  const double f = (s2 * s2) / (s1 * s1);
  const double df1 = Data2.Length() - 1.0;
  const double df2 = Data1.Length() - 1.0;
  Signif = SignificanceByTail(FCDF(f, df1, df2), FCDFUpper(f, df1, df2), hType);
  const auto scaled = [&](double p) { return f * FCDFInv(p, df1, df2); };
  switch (hType) {
    case htLeftTailed:
      ConfInt = {scaled(1.0 - Alpha), Inf};
      break;
    case htRightTailed:
      ConfInt = {0.0, scaled(Alpha)};
      break;
    case htTwoTailed:
    default:
      ConfInt = {scaled(0.5 * Alpha), scaled(1.0 - 0.5 * Alpha)};
      break;
  }
  hRes = Decide(Signif, Alpha, true, f);
  return f;
}

double GrubbsTest(const TVec& Data, THypothesisResult& hRes, double& Signif,
                  TTwoElmReal& ConfInt, THypothesisType hType, double Alpha) {
  detail::CheckEnum("GrubbsTest", "hType", hType, 3);
  if (Data.Complex()) ERaise("GrubbsTest: Data.Complex");
  const double n = Data.Length();
  const double xbar = Mean(Data);

  double g = NaN;
  double a = Alpha / n;  // Bonferroni share of the level for one extreme value
  if (hType == htTwoTailed) {
    auto z = CreateIt<TVec>();
    Copy(*z, Data);
    ZScore(*z);
    Abs(*z);
    g = Max(*z);
    a = 0.5 * Alpha / n;
  } else {
    const double s = StdDev(Data, xbar);
    g = hType == htRightTailed ? (Max(Data) - xbar) / s : (xbar - Min(Data)) / s;
  }

  const double df = n - 2.0;
  const double tc = StudentCDFInv(1.0 - a, df);
  const double gCrit = (n - 1.0) * std::sqrt(tc * tc / (n * (df + tc * tc)));
  // G maps back to the t statistic of the suspected value against the others.
  const double tG = std::sqrt(g * g * n * df / ((n - 1.0) * (n - 1.0) - n * g * g));
  Signif = 2.0 * n * StudentCDF(-tG, df);
  ConfInt = {xbar - gCrit, xbar + gCrit};

  hRes = hrNotReject;
  if (IsNanInf(g)) {
    hRes = hrNan;
  } else if (g > gCrit) {
    hRes = hrReject;
  }
  return g;
}

}  // namespace lumex
