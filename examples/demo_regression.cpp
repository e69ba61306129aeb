// Demo section: a straight line through Longley's employment data, a one-way analysis of
// variance of Dobson's plant weights and a two-way analysis of Tippett's warp breaks.
#include <iomanip>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "demo.h"
#include "lumex/Regress.h"

namespace demo {

namespace {

// Integer codes 0, 1, ... for the distinct labels, in order of first appearance.
lumex::TVecInt Codes(const std::vector<std::string>& labels, std::vector<std::string>& levels) {
  std::map<std::string, int> code;
  lumex::TVecInt k(static_cast<int>(labels.size()));
  for (std::size_t i = 0; i < labels.size(); ++i) {
    auto [it, added] = code.emplace(labels[i], static_cast<int>(code.size()));
    if (added) levels.push_back(labels[i]);
    k[static_cast<int>(i)] = it->second;
  }
  return k;
}

void AnovaRow(const char* source, double ss, double df, double ms, double f, double p) {
  std::cout << std::left << std::setw(14) << source << std::right << std::setw(4) << df
            << std::setw(12) << Fixed(ss, 3);
  if (ms == ms) std::cout << std::setw(11) << Fixed(ms, 3);
  if (f == f) {
    std::cout << std::setw(9) << Fixed(f, 3) << std::setw(11) << Fixed(p, 5);
  }
  std::cout << "\n";
}

void StraightLine(const std::string& dataDir) {
  Heading("Straight line: US employment against GNP, 1947-1962 (Longley 1967)");
  const TTable longley = ReadCsv(dataDir + "/longley.csv");
  const lumex::TVec gnp = longley.Numbers("GNP");
  const lumex::TVec employed = longley.Numbers("Employed");
  lumex::TVec b, fitted, residuals, se;
  lumex::TMtx v;
  lumex::LinRegress(gnp, employed, b, true, nullptr, &fitted, &v);
  lumex::TRegStats stats;
  lumex::RegressTest(employed, fitted, v, stats, residuals, se, true, nullptr);
  std::cout << "Employed = " << Fixed(b[0]) << " + " << Fixed(b[1], 6)
            << " GNP   (millions, GNP in billions of 1954 dollars)\n"
            << "standard errors " << Fixed(se[0]) << " and " << Fixed(se[1], 6)
            << "; residual standard deviation " << Fixed(stats.StdError) << " on " << stats.dfE
            << " df\n"
            << "R^2 = " << Fixed(stats.R2, 5) << ", adjusted " << Fixed(stats.AdjustedR2, 5)
            << "; F(" << stats.FStats.dFR << ", " << stats.FStats.dFE
            << ") = " << Fixed(stats.FStats.F, 2) << ", p = " << stats.FStats.Signif << "\n";
}

void OneWay(const std::string& dataDir) {
  Heading("One-way analysis of variance: dried plant weight by treatment (Dobson 1983)");
  const TTable plants = ReadCsv(dataDir + "/plant_growth.csv");
  const lumex::TVec weight = plants.Numbers("weight");
  std::vector<std::string> levels;
  const lumex::TVecInt group = Codes(plants.Texts("group"), levels);
  double signif;
  const lumex::TANOVA1Result r = lumex::ANOVA1(weight, group, signif, 0.05);
  std::cout << weight.Length() << " plants in " << levels.size() << " groups\n\n"
            << "source          df   sum of sq   mean sq        F    p-value\n";
  AnovaRow("treatment", r.SS1, r.Deg1, r.MS1, r.FDist, signif);
  AnovaRow("residual", r.SS2, r.Deg2, r.MS2, lumex::NaN, lumex::NaN);
  AnovaRow("total", r.SSTotal, r.DegTotal, lumex::NaN, lumex::NaN, lumex::NaN);
  std::cout << "critical F at 5%: " << Fixed(r.FCrit, 3) << " -> treatment effect "
            << (signif <= 0.05 ? "significant" : "not significant") << " at the 5% level\n";
}

void TwoWay(const std::string& dataDir) {
  Heading("Two-way analysis of variance: warp breaks by tension and wool (Tippett 1950)");
  const TTable warp = ReadCsv(dataDir + "/warpbreaks.csv");
  const lumex::TVec breaks = warp.Numbers("breaks");
  std::vector<std::string> wools, tensions;
  const lumex::TVecInt wool = Codes(warp.Texts("wool"), wools);
  const lumex::TVecInt tension = Codes(warp.Texts("tension"), tensions);
  // Rows: the tension levels, each a block of its replications; columns: the wool types.
  const int a = static_cast<int>(tensions.size());
  const int b = static_cast<int>(wools.size());
  const int reps = breaks.Length() / (a * b);
  lumex::TMtx data(a * reps, b);
  std::vector<int> filled(static_cast<std::size_t>(a * b), 0);
  for (int i = 0; i < breaks.Length(); ++i) {
    const int cell = tension[i] * b + wool[i];
    data(tension[i] * reps + filled[static_cast<std::size_t>(cell)]++, wool[i]) = breaks[i];
  }
  double pRows, pCols, pInter;
  const lumex::TANOVA2Result r = lumex::ANOVA2(data, pRows, pCols, pInter, reps, 0.05);
  std::cout << breaks.Length() << " looms: " << a << " tensions x " << b << " wools, " << reps
            << " per cell\n\n"
            << "source          df   sum of sq   mean sq        F    p-value\n";
  AnovaRow("tension", r.SS1, r.Deg1, r.MS1, r.FDist1, pRows);
  AnovaRow("wool", r.SS2, r.Deg2, r.MS2, r.FDist2, pCols);
  AnovaRow("interaction", r.SS3, r.Deg3, r.MS3, r.FDist3, pInter);
  AnovaRow("residual", r.SS4, r.Deg4, r.MS4, lumex::NaN, lumex::NaN);
  AnovaRow("total", r.SSTotal, r.DegTotal, lumex::NaN, lumex::NaN, lumex::NaN);
  std::cout << "the effect of tension depends on the wool: interaction p = " << Fixed(pInter, 4)
            << "\n";
}

void RegressionSection(const std::string& dataDir) {
  StraightLine(dataDir);
  OneWay(dataDir);
  TwoWay(dataDir);
}

const TSection kSection(70, "Regression and analysis of variance", RegressionSection);

}  // namespace

}  // namespace demo
